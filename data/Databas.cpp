// The database connection of each request, table names, the debug echo of
// statements and the last steps of the query pattern.
#include "app/vemlo3f.h"
#include "gateway/HttpEng.h"

namespace {

// The first line of the connection file, without its line end (a UTF-8 byte
// order mark written by an editor is dropped too).
std::string FirstLine(const std::string& path) {
  std::string text;
  if (!ReadFileText(path, text)) throw EInOutError("Cannot open the connection file " + path);
  std::string line = text.substr(0, text.find_first_of("\r\n"));
  if (line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
  return line;
}

}  // namespace

void TForm1::InitieraDatabas() {
  auto& rs = RS();
  rs.AnvandADO = false;
  std::string path;
  if (FileExists("dbconnect.txt"))
    path = "dbconnect.txt";
  else if (FileExists(PosixPath("\\dbconnect.txt")))
    path = PosixPath("\\dbconnect.txt");
  if (path.empty()) throw EInOutError("File not found: dbconnect.txt (neither in the working directory nor in /)");

  std::string line = FirstLine(path);
  const char* property = "DatabaseName";
  if (line.size() >= 5) {
    rs.AnvandADO = true;
    property = "ConnectionString";
  }
  for (TQuery* q : {&q_dbqv, &q_dbqv2, &q_temp, &q_sprk, &q_kund}) q->SetProperty(property, line);
}

// Kept as the module's table-name rule; the statements now name their
// tables through SqlStatement::Table, which follows the same rule.
std::string TForm1::FixaTabellnamn(const std::string& name) { return SqlTableName(name, RS().AnvandADO); }

SqlStatement TForm1::NyFraga(const std::string& kolumner, const std::string& tabell, const std::string& alias) {
  SqlStatement s(RS().AnvandADO);
  s.Line("SELECT ").Text(kolumner);  // one piece of text, as the two are written one after the other
  s.Line("FROM ").Table(tabell, alias);
  return s;
}

void TForm1::VisaSQL(const std::vector<std::string>& lines) {
  HttpWriteLn("<!--");
  // A value in the statement must not be able to end the comment early.
  for (const std::string& line : lines) HttpWriteLn(CommentSafe(line));
  HttpWriteLn("-->");
}

void TForm1::OppnaFraga(TQuery& q, SqlStatement statement) {
  q.Close();
  if (RS().Debug) VisaSQL(statement.Lines(true));
  q.SetStatement(std::move(statement));
  q.Open();
  q.First();
}
