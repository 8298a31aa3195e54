// What a request remembers: look-up texts (Debug off only), and prepared
// statements reused across literals.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include "support/ModuleFixture.h"

namespace {
void Exec(const std::string& db, const std::string& sql) {
  sqlite3* h = nullptr;
  ASSERT_EQ(sqlite3_open(db.c_str(), &h), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(h, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(h);
}
}  // namespace

TEST(LookupMemory, TextsAreRememberedWithinARequestUnlessDebugging) {
  ModuleFixture fx("INSERT INTO Sprk(TextS,TextE) VALUES('personer','people');");
  fx.Language("E");
  EXPECT_EQ(fx.Form().HamtaText("personer"), "people");
  // Within the request the text is not asked again: the query keeps the
  // statement of another look-up.
  fx.Form().HamtaText("rum", 1);
  EXPECT_EQ(fx.Form().HamtaText("personer"), "people");
  EXPECT_EQ(fx.Form().q_sprk.SQL[2], "WHERE TextS = 'rum'");
  // The request ends, the database changes, and the next request sees it.
  EndRequestOnConnections();
  NewRequestForLookups();
  Exec(fx.Site().root + "/www/test.db", "UPDATE Sprk SET TextE='persons'");
  EXPECT_EQ(fx.Form().HamtaText("personer"), "persons");
  // With Debug every statement runs and is shown.
  RS().Debug = true;
  fx.TakeOutput();
  fx.Form().HamtaText("personer");
  fx.Form().HamtaText("personer");
  std::string out = fx.TakeOutput();
  size_t first = out.find("WHERE TextS = 'personer'");
  ASSERT_NE(first, std::string::npos);
  EXPECT_NE(out.find("WHERE TextS = 'personer'", first + 1), std::string::npos);
}

TEST(LookupMemory, CodeNamesAreRememberedPerLanguage) {
  ModuleFixture fx(
      "INSERT INTO Fork(Tabell,Falt,Fork,Forknamn,ForknamnE) VALUES('KUND','Lage','HA','Vid havet','By the sea');");
  EXPECT_EQ(fx.Form().HamtaForknamn1("KUND", "Lage", "ha"), "Vid havet");
  fx.Language("E");
  EXPECT_EQ(fx.Form().HamtaForknamn1("KUND", "Lage", "ha"), "By the sea");
  EXPECT_EQ(fx.Form().HamtaForknamn("KUND", "Lage", "HA", ", "), "By the sea");
}

TEST(StatementReuse, LiteralsOfEveryKindReachTheReusedStatement) {
  ModuleFixture fx(
      "INSERT INTO Kund(Kundid,Ftagnamn,Status,Niva) VALUES('A1','O''Brien','B','1'),('B2','Kvarn','B','1');");
  TQuery& q = fx.Form().q_temp;
  auto names = [&](const std::string& where) {
    q.Close();
    q.SQL.Clear();
    q.SQL.Add("SELECT 'x' AS Fast, Kund.Ftagnamn");
    q.SQL.Add("FROM \"Kund\" Kund");
    q.SQL.Add("WHERE " + where);
    q.SQL.Add("ORDER BY Kund.Ftagnamn");
    q.Open();
    std::string r;
    for (; !q.Eof(); q.Next()) r += q.Text("Fast") + q.Text("Ftagnamn") + ";";
    return r;
  };
  EXPECT_EQ(names("(Kund.Kundid = 'A1')"), "xO'Brien;");
  EXPECT_EQ(names("(Kund.Kundid = 'B2')"), "xKvarn;");
  EXPECT_EQ(names("(Kund.Ftagnamn = 'O''Brien')"), "xO'Brien;");
  EXPECT_EQ(names("(upper(Kund.Ftagnamn) LIKE '%VAR%')"), "xKvarn;");
  EXPECT_EQ(names("(Kund.Kundid = 'A1' OR Kund.Kundid = 'B2')"), "xKvarn;xO'Brien;");
  EXPECT_EQ(names("(Kund.Kundid = 'zz')"), "");
  // Doubled quotes at either end of a literal, and an empty literal.
  EXPECT_EQ(names("(Kund.Ftagnamn = '''' OR Kund.Ftagnamn = 'O''Brien' OR Kund.Kundid = '')"), "xO'Brien;");
  EXPECT_EQ(names("(Kund.Ftagnamn = '''Brien' OR Kund.Ftagnamn = 'O''')"), "");
  // An unterminated literal reaches SQLite as written, which refuses it.
  EXPECT_THROW(names("(Kund.Kundid = 'A1)"), EDatabaseError);
}

TEST(LookupMemory, EveryPartOfTheKeyTellsLookUpsApart) {
  ModuleFixture fx(
      "INSERT INTO Fork(Tabell,Falt,Fork,Forknamn) VALUES('KUND','Lage','HA','Vid havet'),('KUND','Lage','SJ','Sjon');");
  TForm1& f = fx.Form();
  EXPECT_EQ(f.HamtaForknamn("KUND", "Lage", "HASJ", ", "), "Sjon, Vid havet");
  // The same texts split otherwise between the parts, or another separator,
  // are other look-ups.
  EXPECT_EQ(f.HamtaForknamn("KUN", "DLage", "HASJ", ", "), "");
  EXPECT_EQ(f.HamtaForknamn("KUND", "Lag", "eHASJ", ", "), "");
  EXPECT_EQ(f.HamtaForknamn("KUND", "Lage", "HASJ", ","), "Sjon,Vid havet");
  EXPECT_EQ(f.HamtaForknamn("KUND", "Lage", "HASJ", ""), "SjonVid havet");
  EXPECT_EQ(f.HamtaForknamn1("KUND", "Lage", "HA"), "Vid havet");
  EXPECT_EQ(f.HamtaForknamn("KUND", "Lage", "HASJ", ", "), "Sjon, Vid havet");
}

TEST(LookupMemory, ManyLookUpsAreEachAnsweredOnce) {
  ModuleFixture fx;
  TForm1& f = fx.Form();
  int asked = 0;
  // More than the memory keeps at once: it starts again when it is full.
  const int kKeys = 5000;
  auto key = [](int i) { return std::string(static_cast<size_t>(i % 23), 'k') + std::to_string(i); };
  for (int i = 0; i < kKeys; ++i)
    ASSERT_EQ(f.Uppslag(f.q_temp, key(i), [&] { ++asked; return "v" + std::to_string(i); }), "v" + std::to_string(i));
  EXPECT_EQ(asked, kKeys);
  // The latest ones are still known, each with its own answer.
  for (int i = kKeys - 500; i < kKeys; ++i)
    ASSERT_EQ(f.Uppslag(f.q_temp, key(i), [&] { ++asked; return std::string("again"); }), "v" + std::to_string(i));
  EXPECT_EQ(asked, kKeys);
  EXPECT_EQ(f.Uppslag(f.q_temp, "", [&] { ++asked; return std::string("empty"); }), "empty");
  EXPECT_EQ(f.Uppslag(f.q_temp, "", [&] { ++asked; return std::string("again"); }), "empty");
  EXPECT_EQ(asked, kKeys + 1);
}

TEST(StatementReuse, TheSameStatementAgainKeepsOrRestoresItsLines) {
  ModuleFixture fx("INSERT INTO Kund(Kundid,Ftagnamn,Status,Niva) VALUES('A1','Kvarn','B','1');");
  TQuery& q = fx.Form().q_temp;
  auto statement = [](const std::string& kundid) {
    SqlStatement s;
    s.Line("SELECT Ftagnamn FROM ").Table("Kund");
    s.Line("WHERE Kundid = ").Value(kundid);
    return s;
  };
  const std::vector<std::string> lines{"SELECT Ftagnamn FROM \"Kund\"", "WHERE Kundid = 'A1'"};
  q.SetStatement(statement("A1"));
  q.SetStatement(statement("A1"));
  EXPECT_EQ(q.SQL.Items(), lines);
  q.Open();
  EXPECT_EQ(q.Text("Ftagnamn"), "Kvarn");
  // SQL changed in between: the same statement fills it again and runs.
  q.Close();
  q.SQL.Add("AND 1 = 0");
  q.SetStatement(statement("A1"));
  EXPECT_EQ(q.SQL.Items(), lines);
  q.Open();
  EXPECT_EQ(q.Text("Ftagnamn"), "Kvarn");
  // Another value is another statement.
  q.Close();
  q.SetStatement(statement("B2"));
  EXPECT_EQ(q.SQL[1], "WHERE Kundid = 'B2'");
  q.Open();
  EXPECT_TRUE(q.Eof());
}
