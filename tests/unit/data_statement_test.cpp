// Statements built piece by piece: the text they show, the shape and values
// each back end gets, and what they select on each back end.
#include <functional>
#include <string>
#include <vector>

#include "data/DbBackend.h"
#include "data/Query.h"
#include "data/SqlStatement.h"
#include "data_testdb.h"

namespace {

using Values = std::vector<std::string>;

std::string Joined(const SqlStatement& s) {
  std::string text;
  for (const auto& l : s.Lines()) text += l + "\r\n";
  return text;
}

TEST(SqlStatementTest, TextQuotesEveryValueAndKeepsLinesApart) {
  SqlStatement s(true);
  s.Line("SELECT *");
  s.Line("FROM ").Table("Kund", "Kund");
  s.Line(" LEFT OUTER JOIN ").Table("Nyka");
  // A value is one piece of its line, whatever it holds.
  s.Line("WHERE (Kund.Kundid = ").Value("K1' OR '1'='1").Text(") AND (x = ").Value(std::string("a\0\r\nb", 5));
  s.Text(")");
  s.Line(" AND ").UpperEquals("Kund.Status", "B").Text(" AND (y LIKE ").Pattern("%a\\b%").Text(")");
  s.Line(" AND d >= ").Date(EncodeDate(2009, 5, 31));
  EXPECT_EQ(s.Lines(), (Values{"SELECT *", "FROM [Tallbrun].[dbo].[Kund] Kund", " LEFT OUTER JOIN [Tallbrun].[dbo].[Nyka]",
                               "WHERE (Kund.Kundid = 'K1'' OR ''1''=''1') AND (x = 'a\r\nb')",
                               " AND upper(Kund.Status) = 'B' AND (y LIKE '%a\\b%')", " AND d >= '05/31/2009'"}));
  // Inside HTML the values cannot end an attribute or open an element;
  // the program's own text is left as it is.
  SqlStatement html;
  html.Line("SELECT \"x\" FROM t WHERE a = ").Value("\"'<b>&").Text(" AND b LIKE ").Pattern("%>%");
  EXPECT_EQ(html.Lines(true), (Values{"SELECT \"x\" FROM t WHERE a = '&#34;''&#60;b&#62;&#38;' AND b LIKE '%&#62;%'"}));

  SqlStatement alias;  // a database alias: the names in double quotes
  alias.Line("FROM ").Table("Sprk");
  EXPECT_EQ(Joined(alias), "FROM \"Sprk\"\r\n");
  EXPECT_EQ(Joined(SqlStatement()), "");
}

TEST(SqlStatementTest, EachBackEndGetsItsShapeAndTheValues) {
  SqlStatement s(true);
  s.Line("SELECT 'J' AS Fast FROM ").Table("Kund", "Kund").Text(", ").Table("Nyka");
  s.Line("WHERE (").UpperEquals("Kund.Status", "b'").Text(") AND (").UpperEquals("Kund.Ftagnamn", "\xC5RE");
  s.Text(") AND (Kund.Ftagnamn LIKE ").Pattern("%O'B%").Text(") AND (d >= ").Date(EncodeDate(2009, 5, 31)).Text(")");

  SqlShape lite = s.Shape(SqlDialect::SQLite);
  EXPECT_EQ(lite.text,
            "SELECT 'J' AS Fast FROM \"Kund\" Kund, \"Nyka\"\r\n"
            "WHERE ((Kund.Status = ?1 COLLATE NOCASE AND upper(Kund.Status) = ?1)) AND (upper(Kund.Ftagnamn) = ?2)"
            " AND (Kund.Ftagnamn LIKE ?3) AND (d >= ?4)\r\n");
  // The values as they are (no quotes doubled); dates as ISO dates.
  EXPECT_EQ(lite.values, (Values{"b'", "\xC5RE", "%O'B%", "2009-05-31"}));

  SqlShape pg = s.Shape(SqlDialect::PostgreSQL);
  EXPECT_EQ(pg.text,
            "SELECT 'J' AS Fast FROM \"dbo\".\"Kund\" Kund, \"dbo\".\"Nyka\" AS nyka\r\n"
            "WHERE (upper(Kund.Status) = $1) AND (upper(Kund.Ftagnamn) = $2)"
            " AND (Kund.Ftagnamn LIKE $3 ESCAPE '') AND (d >= $4)\r\n");
  EXPECT_EQ(pg.values, lite.values);
  EXPECT_EQ(s.Written(SqlDialect::PostgreSQL),
            "SELECT 'J' AS Fast FROM \"dbo\".\"Kund\" Kund, \"dbo\".\"Nyka\" AS nyka\r\n"
            "WHERE (upper(Kund.Status) = 'b''') AND (upper(Kund.Ftagnamn) = '\xC5RE')"
            " AND (Kund.Ftagnamn LIKE '%O''B%' ESCAPE '') AND (d >= '2009-05-31')\r\n");
  // Under a database alias PostgreSQL finds the tables on its search path.
  SqlStatement alias;
  alias.Line("FROM ").Table("Sprk");
  EXPECT_EQ(alias.Shape(SqlDialect::PostgreSQL).text, "FROM \"Sprk\" AS sprk\r\n");
}

// Placeholders past one digit, and lines of very different lengths (the
// text is written into buffers sized beforehand).
TEST(SqlStatementTest, ManyValuesAndLongAndEmptyLines) {
  SqlStatement s;
  s.Line("SELECT ").Text(std::string(300, 'c'));
  s.Line();
  s.Line("WHERE k IN (");
  for (int i = 1; i <= 101; ++i) s.Separator(i > 1 ? ", " : "").Value(std::to_string(i));
  s.Text(") AND ").UpperEquals("u", "v");
  SqlShape lite = s.Shape(SqlDialect::SQLite);
  ASSERT_EQ(lite.values.size(), 102u);
  EXPECT_NE(lite.text.find("?9, ?10, ?11,"), std::string::npos);
  EXPECT_NE(lite.text.find("?99, ?100, ?101) AND (u = ?102 COLLATE NOCASE AND upper(u) = ?102)"), std::string::npos);
  EXPECT_EQ(lite.values[99], "100");
  SqlShape pg = s.Shape(SqlDialect::PostgreSQL);
  EXPECT_NE(pg.text.find("$100, $101) AND upper(u) = $102\r\n"), std::string::npos);
  std::vector<std::string> lines = s.Lines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "SELECT " + std::string(300, 'c'));
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2].substr(0, 20), "WHERE k IN ('1', '2'");
  EXPECT_EQ(lines[2].substr(lines[2].size() - 32), "'100', '101') AND upper(u) = 'v'");
}

// A date is written month/day/year in the text and as an ISO date for the
// back ends, for every date as the date formatter writes it (also a time of
// day, which is left out, and years outside four digits).
TEST(SqlStatementTest, DatesAsTheFormatterWritesThem) {
  std::vector<TDateTime> dates = {EncodeDate(1, 1, 1), EncodeDate(999, 12, 31), EncodeDate(9999, 12, 31),
                                  EncodeDate(1899, 12, 30), EncodeDate(2024, 2, 29) + 0.75, -1.5, 3000000.0};
  for (TDateTime d = EncodeDate(1990, 1, 1); d < EncodeDate(2040, 1, 1); d += 37) dates.push_back(d);
  for (TDateTime d : dates) {
    SqlStatement s;
    s.Line("d = ").Date(d);
    std::string written = FormatDateTime("mm\"/\"dd\"/\"yyyy", d);
    ASSERT_EQ(s.Lines(), (Values{"d = '" + written + "'"})) << d;
    std::string iso = written.size() == 10
                          ? written.substr(6, 4) + "-" + written.substr(0, 2) + "-" + written.substr(3, 2)
                          : written;
    ASSERT_EQ(s.Shape(SqlDialect::SQLite).values, (Values{iso})) << d;
  }
}

TEST(SqlStatementTest, GroupsOfConditionsJoinAsWritten) {
  SqlStatement v;
  for (const char* k : {"A", "B"}) v.Separator(" OR ").Text("(k = ").Value(k).Text(")");
  SqlStatement s;
  s.Line("WHERE ").Text("(").Append(v).Text(") AND ").UpperEquals("c", "x");
  EXPECT_EQ(Joined(s), "WHERE ((k = 'A') OR (k = 'B')) AND upper(c) = 'x'\r\n");
  SqlShape shape = s.Shape(SqlDialect::PostgreSQL);
  EXPECT_EQ(shape.text, "WHERE ((k = $1) OR (k = $2)) AND upper(c) = $3\r\n");
  EXPECT_EQ(shape.values, (Values{"A", "B", "x"}));
  // A group appended after values and lines, twice, and text right after it.
  SqlStatement g;
  g.Text("(a = ").Value(std::string("1\0", 2)).Text(" OR b = ").Date(EncodeDate(2020, 1, 2)).Text(")");
  SqlStatement t;
  t.Line("SELECT x").Line("WHERE ").UpperEquals("c", "y").Text(" AND ").Append(g).Text(" AND ").Append(g).Text(";");
  EXPECT_EQ(t.Lines(), (Values{"SELECT x", "WHERE upper(c) = 'y' AND (a = '1' OR b = '01/02/2020') AND (a = '1' OR b = "
                               "'01/02/2020');"}));
  EXPECT_EQ(t.Shape(SqlDialect::PostgreSQL).values, (Values{"y", "1", "2020-01-02", "1", "2020-01-02"}));
  EXPECT_EQ(g.Lines(), (Values{"(a = '1' OR b = '01/02/2020')"}));  // the group is unchanged
  // The separator stands only between conditions.
  SqlStatement w;
  for (const char* c : {"a", "b", "c"}) w.Separator(" AND ").Text(c);
  EXPECT_EQ(Joined(w), "a AND b AND c\r\n");
}

// On each back end, three rounds (PostgreSQL runs a shape unnamed first and
// prepared from its second run on).
class StatementTest : public DbTest {
protected:
  std::string Names(const std::function<void(SqlStatement&)>& where) {
    SqlStatement s(true);
    s.Line("SELECT 'x' AS Fast, Kund.Ftagnamn");
    s.Line("FROM ").Table("Kund", "Kund");
    s.Line("WHERE ");
    where(s);
    s.Line("ORDER BY Kund.Kundid");
    q_.SetConnectionString(db_->line);
    q_.Close();
    q_.SetStatement(std::move(s));
    q_.Open();
    std::string r;
    for (; !q_.Eof(); q_.Next()) r += q_.Text("Fast") + q_.Text("Ftagnamn") + ";";
    return r;
  }
  TQuery q_{"q_temp"};
};

TEST_P(StatementTest, ValuesOfEveryKindReachTheReusedShape) {
  auto kund = [](const char* id) { return [id](SqlStatement& s) { s.Text("Kund.Kundid = ").Value(id); }; };
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    EXPECT_EQ(Names(kund("K3")), "xO'Learys;");
    EXPECT_EQ(Names(kund("K1' OR '1'='1")), "");
    EXPECT_EQ(Names(kund("")), "");
    EXPECT_EQ(Names([](SqlStatement& s) { s.Text("Kund.Ftagnamn = ").Value("O'Learys"); }), "xO'Learys;");
    EXPECT_EQ(Names([](SqlStatement& s) { s.Text("upper(Kund.Ftagnamn) LIKE ").Pattern("%\xC4NGS%"); }),
              "x\xC4ngsg\xE5rden;x\xC4ngsbacken;");
    // The backslash is no escape character.
    EXPECT_EQ(Names([](SqlStatement& s) { s.Text("Kund.Ftagnamn LIKE ").Pattern("%\\%"); }), "");
    // An ASCII value and one with Swedish letters, compared in upper case.
    EXPECT_EQ(Names([](SqlStatement& s) { s.UpperEquals("Kund.Avtal", "ab"); }), "");
    EXPECT_EQ(Names([](SqlStatement& s) { s.UpperEquals("Kund.Avtal", "AB"); }), "xSj\xF6hotellet;");
    EXPECT_EQ(Names([](SqlStatement& s) { s.UpperEquals("Kund.Ftagnamn", "\xC4NGSBACKEN"); }), "x\xC4ngsbacken;");
    EXPECT_EQ(Names([](SqlStatement& s) { s.Text("Kund.BestTom = ").Date(EncodeDate(2024, 3, 5)); }),
              "x\xC4ngsg\xE5rden;");
  }
  // Changed behind the statement's back, the query runs the text it holds.
  q_.SQL.Clear();
  q_.SQL.Add("SELECT 'y' AS Fast, Ftagnamn FROM [Tallbrun].[dbo].[Kund] WHERE Kundid = 'K3'");
  q_.Open();
  EXPECT_EQ(q_.Text("Fast") + q_.Text("Ftagnamn"), "yO'Learys");
  // So also when another list is assigned to SQL, even one that has seen
  // exactly as many changes as SQL had when the statement filled it.
  EXPECT_EQ(Names(kund("K3")), "xO'Learys;");
  TStringList other;
  while (other.Changes() < q_.SQL.Changes()) other.Clear();
  other.Add("SELECT 'z' AS Fast, Ftagnamn FROM [Tallbrun].[dbo].[Kund] WHERE Kundid = 'K3'");
  uint64_t before = q_.SQL.Changes();
  q_.SQL = other;
  EXPECT_NE(q_.SQL.Changes(), before);
  q_.Open();
  EXPECT_EQ(q_.Text("Fast") + q_.Text("Ftagnamn"), "zO'Learys");
}

// Whoever filled a list tells from its count of changes that nobody changed
// it since: every change counts, also one that leaves the same entries.
TEST(StringListChangesTest, EveryChangeCounts) {
  TStringList l;
  uint64_t last = l.Changes();
  auto changed = [&] {
    bool c = l.Changes() != last;
    last = l.Changes();
    return c;
  };
  l.Add("a");
  EXPECT_TRUE(changed());
  l.Insert(0, "b");
  EXPECT_TRUE(changed());
  l.Delete(0);
  EXPECT_TRUE(changed());
  l.Delete(5);  // nothing there: counted all the same
  EXPECT_TRUE(changed());
  l.SetText("x\r\ny");
  EXPECT_TRUE(changed());
  l.Assign({"p", "q"});
  EXPECT_TRUE(changed());
  EXPECT_EQ(l.Items(), (std::vector<std::string>{"p", "q"}));
  l.Clear();
  EXPECT_TRUE(changed());
  TStringList copy = l;
  l = copy;
  EXPECT_TRUE(changed());
  l = std::move(copy);
  EXPECT_TRUE(changed());
  (void)l.Text();
  (void)l.IndexOf("p");
  EXPECT_FALSE(changed());
  // A sorted list sorts what it is given.
  TStringList sorted(true);
  sorted.Assign({"b=1", "A=2", "c=3", "a=2"});
  EXPECT_EQ(sorted.Items(), (std::vector<std::string>{"A=2", "b=1", "c=3"}));
}

TEST_P(StatementTest, AShapeThatTakesNoParametersRunsWritten) {
  // PostgreSQL cannot tell the type of a parameter that stands alone before
  // IS NOT NULL; the statement then runs with its values written in.
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    EXPECT_EQ(Names([](SqlStatement& s) { s.Value("a").Text(" IS NOT NULL AND Kund.Kundid = ").Value("K3"); }),
              "xO'Learys;");
  }
  EXPECT_THROW(Names([](SqlStatement& s) { s.Text("Kund.Saknas = ").Value("K3"); }), EDatabaseError);
}

INSTANTIATE_TEST_SUITE_P(Backends, StatementTest, ::testing::ValuesIn(TestDbKinds()), DbKindName);

}  // namespace
