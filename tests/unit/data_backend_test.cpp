// The query component on each back end: reading fields, errors, connections.
#include <thread>

#include "data/DbBackend.h"
#include "data/Query.h"
#include "data_testdb.h"

namespace {

class QueryTest : public DbTest {
protected:
  void Run(TQuery& q, std::initializer_list<std::string> lines) {
    q.SetConnectionString(db_->line);
    q.Close();
    q.SQL.Clear();
    for (const auto& l : lines) q.SQL.Add(l);
    q.Open();
  }
};

TEST_P(QueryTest, FieldTextOfNumbersDatesAndNull) {
  TQuery q("q_kund");
  Run(q, {"SELECT *", "FROM [Tallbrun].[dbo].[Kund] Kund",
          " LEFT OUTER JOIN [Tallbrun].[dbo].[Konf] Konf", " ON  (Kund.Kundid = Konf.Kundid)",
          "WHERE Kund.KundId = 'K1'"});
  ASSERT_EQ(q.RecordCount(), 1);
  EXPECT_EQ(q.Text("AntBio1"), "120");
  EXPECT_EQ(q.FieldByName("AntBio1").AsInteger(), 120);
  EXPECT_EQ(q.Text("PrisDagMin"), "450,5");
  EXPECT_DOUBLE_EQ(q.FieldByName("PrisDagMin").AsFloat(), 450.5);
  EXPECT_EQ(q.Text("PrisDagMax"), "500");
  EXPECT_EQ(q.Text("Ftagnamn"), "Sj\xF6hotellet");
  // A midnight date-time shows only its date.
  EXPECT_EQ(q.Text("UppdateradKfak"), "2009-05-24");
  // NULL: empty text, zero numbers, the zero date.
  TField besttom = q.FieldByName("BestTom");
  EXPECT_TRUE(besttom.IsNull());
  EXPECT_EQ(besttom.AsString(), "");
  EXPECT_EQ(besttom.AsDateTime(), 0.0);
  EXPECT_EQ(q.FieldByName("AntSkol1").AsInteger(), 0);
  EXPECT_EQ(q.FieldByName("PrisDygnMin").AsFloat(), 0.0);
  EXPECT_EQ(q.Text("KonfEgenTextEng"), "");

  Run(q, {"SELECT BestTom, UppdateradKfak", "FROM [Tallbrun].[dbo].[Kund] Kund", "WHERE Kund.KundId = 'K2'"});
  EXPECT_EQ(q.Text("BestTom"), "2024-03-05");  // a date column: no time
  EXPECT_EQ(q.FieldByName("besttom").AsDateTime(), EncodeDate(2024, 3, 5));
  EXPECT_EQ(q.Text("UPPDATERADKFAK"), "2024-03-05 13:45:10");
}

TEST_P(QueryTest, RowsAndEndOfData) {
  TQuery q("q_temp");
  Run(q, {"SELECT Kommnamn", "FROM [Tallbrun].[dbo].[Komm] Komm", "ORDER BY Kommnamn"});
  EXPECT_EQ(q.RecordCount(), 3);
  std::vector<std::string> names;
  for (q.First(); !q.Eof(); q.Next()) names.push_back(q.Text("Kommnamn"));
  EXPECT_EQ(names, (std::vector<std::string>{"G\xF6teborg", "H\xE5" "bo", "Stockholm"}));
  q.Next();  // past the end stays at the end
  EXPECT_TRUE(q.Eof());

  // An empty result reads every field as NULL.
  Run(q, {"SELECT Kommnamn, Budget", "FROM [Tallbrun].[dbo].[Komm] Komm", "WHERE Lankod = 'XX'"});
  EXPECT_TRUE(q.Eof());
  EXPECT_EQ(q.RecordCount(), 0);
  EXPECT_EQ(q.Text("Kommnamn"), "");
  EXPECT_EQ(q.FieldByName("Budget").AsFloat(), 0.0);
}

TEST_P(QueryTest, FirstColumnOfARepeatedNameWins) {
  // K2 has no offer rows: every joined Kundid is NULL except the customer's.
  TQuery q("q_kund");
  Run(q, {"SELECT *", "FROM [Tallbrun].[dbo].[Kund] Kund", " LEFT OUTER JOIN [Tallbrun].[dbo].[Konf] Konf",
          " ON  (Kund.Kundid = Konf.Kundid)", " LEFT OUTER JOIN [Tallbrun].[dbo].[Logi] Logi",
          " ON  (Kund.Kundid = Logi.Kundid)", "WHERE Kund.KundId = 'K2'"});
  ASSERT_EQ(q.RecordCount(), 1);
  EXPECT_EQ(q.Text("kundid"), "K2");
  EXPECT_EQ(q.Text("KundId"), "K2");
  // "Logi" is both a flag of the customer and a table: the flag is a column.
  EXPECT_EQ(q.Text("Logi"), "N");
}

TEST_P(QueryTest, ErrorsNameTheFieldOrCarryTheDatabaseMessage) {
  TQuery q("q_kund");
  Run(q, {"SELECT Kundid", "FROM [Tallbrun].[dbo].[Kund] Kund"});
  try {
    q.FieldByName("xyz");
    FAIL() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message, "q_kund: Field 'xyz' not found");
  }
  try {
    Run(q, {"SELECT *", "FROM [Tallbrun].[dbo].[Nix]"});
    FAIL() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_NE(e.Message.find("Nix"), std::string::npos) << e.Message;
  }
  EXPECT_FALSE(q.Active());
  EXPECT_THROW(Run(q, {"SELECT Kundid FROM [Tallbrun].[dbo].[Kund] WHERE"}), EDatabaseError);
  EXPECT_THROW(q.FieldByName("Kundid"), EDatabaseError);  // closed after the failure
  // One statement at a time: a second one is refused, not run.
  EXPECT_THROW(Run(q, {"SELECT 1 AS a; DELETE FROM [Tallbrun].[dbo].[Kund]"}), EDatabaseError);
  Run(q, {"SELECT COUNT(*) AS n FROM [Tallbrun].[dbo].[Kund]"});
  EXPECT_EQ(q.FieldByName("n").AsInteger(), 4);
}

TEST_P(QueryTest, SwedishUpperCase) {
  TQuery q("q_temp");
  Run(q, {"SELECT upper(Ftagnamn) AS u", "FROM [Tallbrun].[dbo].[Kund] Kund", "WHERE Kundid = 'K2'"});
  EXPECT_EQ(q.Text("u"), "\xC4NGSG\xC5RDEN");
  Run(q, {"SELECT upper('\xE5\xE4\xF6\xE9\xFC\xE6\xF8 abc') AS u"});
  EXPECT_EQ(q.Text("u"), "\xC5\xC4\xD6\xC9\xDC\xC6\xD8 ABC");
}

TEST_P(QueryTest, UsDateLiteralsCompareWithStoredDates) {
  TQuery q("q_temp");
  Run(q, {"SELECT Datum", "FROM [Tallbrun].[dbo].[Kfak] Kfak",
          "WHERE (Kfak.Datum >= '06/01/2009') AND (Kfak.Datum <= '06/15/2009') AND (Kfak.KundId = 'K1')",
          "ORDER BY Kfak.Datum"});
  std::vector<std::string> days;
  for (; !q.Eof(); q.Next()) days.push_back(q.Text("Datum"));
  EXPECT_EQ(days, (std::vector<std::string>{"2009-06-01", "2009-06-05", "2009-06-10", "2009-06-15"}));
}

INSTANTIATE_TEST_SUITE_P(Backends, QueryTest, ::testing::ValuesIn(TestDbKinds()), DbKindName);

// ---------------------------------------------------------------- connections

TEST(DbConnectionTest, AssigningDoesNotConnectTheFirstStatementDoes) {
  TQuery q("q_dbqv");
  q.SetConnectionString("Provider=SQLite;Data Source=/nonexistent/dir/x.db");
  q.SQL.Add("SELECT 1");
  try {
    q.Open();
    FAIL() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_NE(e.Message.find("/nonexistent/dir/x.db"), std::string::npos) << e.Message;
  }
}

TEST(DbConnectionTest, BadConnectionLines) {
  for (const char* line : {"Provider=SQLOLEDB.1;Data Source=server", "Provider=SQLite", "Provider=SQLite;garbage",
                           "Provider=SQLite;Data Source=\"x.db"}) {
    TQuery q("q_dbqv");
    q.SetConnectionString(line);
    q.SQL.Add("SELECT 1");
    EXPECT_THROW(q.Open(), EDatabaseError) << line;
  }
  TQuery q("q_dbqv");
  EXPECT_THROW(q.SetProperty("Connection", "x"), EDatabaseError);
  q.SetDatabaseName("");
  q.SQL.Add("SELECT 1");
  EXPECT_THROW(q.Open(), EDatabaseError);
}

TEST(DbConnectionTest, UnreachablePostgresServerIsADatabaseError) {
  // Port 1 on the loopback refuses at once; without libpq the load fails.
  TQuery q("q_dbqv");
  q.SetConnectionString("Provider=PostgreSQL;host=127.0.0.1;port=1;user=nobody;connect_timeout=3");
  q.SQL.Add("SELECT 1");
  EXPECT_THROW(q.Open(), EDatabaseError);
}

TEST(DbConnectionTest, OneConnectionPerLineAndThread) {
  const TestDb* db = GetTestDb("SQLite");
  DbConnection* a = &ThreadConnection(db->line, false);
  EXPECT_EQ(a, &ThreadConnection(db->line, false));
  EXPECT_NE(a, &ThreadConnection(db->line + ";", false));
  DbConnection* other = nullptr;
  std::thread([&] { other = &ThreadConnection(db->line, false); }).join();
  EXPECT_NE(other, nullptr);
  EXPECT_NE(other, a);
  // Closed connections open again with the next statement.
  CloseDatabaseConnections();
  TQuery q("q_temp");
  q.SetConnectionString(db->line);
  q.SQL.Add("SELECT COUNT(*) AS n FROM [Tallbrun].[dbo].[Komm]");
  q.Open();
  EXPECT_EQ(q.Text("n"), "3");
}

TEST(DbConnectionTest, QueriesOnSeveralThreads) {
  const TestDb* db = GetTestDb("SQLite");
  std::vector<std::thread> threads;
  std::vector<int> counts(4, -1);
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&, t] {
      TQuery q("q_temp");
      q.SetConnectionString(db->line);
      q.SQL.Add("SELECT Kundid FROM [Tallbrun].[dbo].[Kfak]");
      for (int i = 0; i < 20; ++i) q.Open();
      counts[static_cast<size_t>(t)] = q.RecordCount();
    });
  for (auto& th : threads) th.join();
  EXPECT_EQ(counts, std::vector<int>(4, 8));
}

TEST(SqlQuoteTest, DoublesSingleQuotes) {
  EXPECT_EQ(SqlQuote("O'Learys"), "O''Learys");
  EXPECT_EQ(SqlQuote("''"), "''''");
  EXPECT_EQ(SqlQuote(""), "");
  EXPECT_EQ(SqlQuote(std::string("a\0b", 3)), "ab");
  // Quotes and NULs at either end and next to each other.
  EXPECT_EQ(SqlQuote(std::string("'\0'x\0", 5)), "''''x");
  EXPECT_EQ(SqlQuote("x'"), "x''");
  std::string out = "pre ";
  AppendSqlQuoted(out, "it's");
  EXPECT_EQ(out, "pre it''s");
}

}  // namespace

// The column index: ASCII letters alike in either case, at every length
// that the hash takes in pieces of eight; nothing else alike.
TEST(ColumnIndex, LettersMatchInEitherCaseAndNothingElseDoes) {
  DbColumns c;
  c.names = {"Kundid", "Ftagnamn", "KonfAntalRum", "A_B", "Lank\xE5" "d", "Kundid", "x"};
  c.BuildIndex();
  EXPECT_EQ(c.Find("KUNDID"), 0);  // the first of a repeated name
  EXPECT_EQ(c.Find("ftagNAMN"), 1);
  EXPECT_EQ(c.Find("konfantalrum"), 2);
  EXPECT_EQ(c.Find("a_b"), 3);
  EXPECT_EQ(c.Find("A\x7F" "B"), -1);  // the same hash as "A_B", not the same name
  EXPECT_EQ(c.Find("LANK\xE5" "D"), 4);
  EXPECT_EQ(c.Find("LANK\xC5" "D"), -1);  // only ASCII letters fold
  EXPECT_EQ(c.Find("X"), 6);
  EXPECT_EQ(c.Find("Kundi"), -1);
  EXPECT_EQ(c.Find(""), -1);
}

// Names of every length up to three pieces of eight, each byte of each name
// told apart (a name read in overlapping pieces still differs in any one of
// its bytes), in a column set as large as a customer's record.
TEST(ColumnIndex, EveryLengthAndEveryByteInALargeSet) {
  DbColumns c;
  for (int i = 0; i < 440; ++i) c.names.push_back("Falt" + std::to_string(i));
  for (size_t len = 1; len <= 24; ++len) {
    std::string name;
    for (size_t k = 0; k < len; ++k) name += static_cast<char>(k % 2 ? 'a' + k : 'A' + k);
    c.names.push_back(name);
  }
  c.BuildIndex();
  for (int i = 0; i < 440; ++i) EXPECT_EQ(c.Find("FALT" + std::to_string(i)), i);
  for (size_t len = 1; len <= 24; ++len) {
    const int column = 440 + static_cast<int>(len) - 1;
    std::string name = c.names[static_cast<size_t>(column)];
    std::string other = name;
    for (auto& ch : other) ch = static_cast<char>(ch ^ 0x20);  // every letter in the other case
    EXPECT_EQ(c.Find(name), column) << name;
    EXPECT_EQ(c.Find(other), column) << other;
    for (size_t k = 0; k < len; ++k) {
      std::string changed = name;
      changed[k] = '_';
      EXPECT_EQ(c.Find(changed), -1) << changed;
    }
    EXPECT_EQ(c.Find(name + "!"), -1);
    EXPECT_EQ(c.Find(name.substr(1)), -1);
  }
}
