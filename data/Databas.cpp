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

// The echo stands wherever the statement runs, which may be inside a tag's
// attribute, where a comment is no comment: inside the quoted literals (the
// only place a request value can be) the characters that end an attribute or
// open an element are written as character references. `inLiteral` carries
// over from one line of the statement to the next.
std::string EchoLine(const std::string& line, bool& inLiteral) {
  std::string r;
  r.reserve(line.size());
  for (char c : line) {
    if (c == '\'') inLiteral = !inLiteral;
    const char* ref = nullptr;
    if (inLiteral) {
      switch (c) {
        case '"': ref = "&#34;"; break;
        case '&': ref = "&#38;"; break;
        case '<': ref = "&#60;"; break;
        case '>': ref = "&#62;"; break;
        default: break;
      }
    }
    if (ref)
      r += ref;
    else
      r += c;
  }
  return r;
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

std::string TForm1::FixaTabellnamn(const std::string& name) { return SqlTableName(name, RS().AnvandADO); }

SqlStatement TForm1::NyFraga() { return SqlStatement(RS().AnvandADO); }

void TForm1::VisaSQL(const TStringList& lines) {
  HttpWriteLn("<!--");
  // A value in the statement must not be able to end the comment early.
  bool inLiteral = false;
  for (const std::string& line : lines.Items()) HttpWriteLn(CommentSafe(EchoLine(line, inLiteral)));
  HttpWriteLn("-->");
}

void TForm1::OppnaFraga(TQuery& q) {
  if (RS().Debug) VisaSQL(q.SQL);
  q.Open();
  q.First();
}

void TForm1::OppnaFraga(TQuery& q, SqlStatement statement) {
  q.Close();
  q.SetStatement(std::move(statement));
  OppnaFraga(q);
}
