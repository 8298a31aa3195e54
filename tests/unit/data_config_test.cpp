// The connection file, table names and the debug echo of statements.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "data/DbBackend.h"
#include "data_testdb.h"
#include "support/EngineHarness.h"

namespace {

// Runs each test in a fresh working directory.
class ConnectionFileTest : public ::testing::Test {
protected:
  void SetUp() override {
    old_ = std::filesystem::current_path();
    char tmpl[] = "/tmp/vemlo_dbconf_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    std::filesystem::current_path(dir_);
    RS() = TRequestState();
    RS().Sprak = "S";
    form_ = std::make_unique<TForm1>(false);
  }
  void TearDown() override {
    form_.reset();
    CloseDatabaseConnections();  // alias connections name files of this folder
    std::filesystem::current_path(old_);
    std::filesystem::remove_all(dir_);
  }

  std::filesystem::path old_, dir_;
  std::unique_ptr<TForm1> form_;
};

TEST_F(ConnectionFileTest, FiveCharactersMakeAConnectionString) {
  ASSERT_TRUE(WriteTextFile("dbconnect.txt", "abcde\r\nignored line\r\n"));
  form_->InitieraDatabas();
  EXPECT_TRUE(RS().AnvandADO);
  for (TQuery* q : {&form_->q_dbqv, &form_->q_dbqv2, &form_->q_temp, &form_->q_sprk, &form_->q_kund}) {
    EXPECT_EQ(q->ConnectionString(), "abcde") << q->Name();
    EXPECT_EQ(q->DatabaseName(), "") << q->Name();
  }
  EXPECT_EQ(form_->FixaTabellnamn("Sprk"), "[Tallbrun].[dbo].[Sprk]");
}

TEST_F(ConnectionFileTest, ShorterLinesAndEmptyFilesAreAliases) {
  RS().AnvandADO = true;  // from an earlier request
  ASSERT_TRUE(WriteTextFile("dbconnect.txt", "abcd\nabcdefgh"));
  form_->InitieraDatabas();
  EXPECT_FALSE(RS().AnvandADO);
  for (TQuery* q : form_->AllQueries) {
    EXPECT_EQ(q->DatabaseName(), "abcd") << q->Name();
    EXPECT_EQ(q->ConnectionString(), "") << q->Name();
  }
  EXPECT_EQ(form_->FixaTabellnamn("Sprk"), "\"Sprk\"");

  ASSERT_TRUE(WriteTextFile("dbconnect.txt", ""));
  form_->InitieraDatabas();
  EXPECT_FALSE(RS().AnvandADO);
  EXPECT_EQ(form_->q_kund.DatabaseName(), "");

  // An editor's byte order mark is not part of the line.
  ASSERT_TRUE(WriteTextFile("dbconnect.txt", "\xEF\xBB\xBFqv\r\n"));
  form_->InitieraDatabas();
  EXPECT_EQ(form_->q_kund.DatabaseName(), "qv");
}

TEST_F(ConnectionFileTest, MissingFileIsAnInputOutputError) {
  if (FileExists("/dbconnect.txt")) GTEST_SKIP() << "/dbconnect.txt exists on this machine";
  EXPECT_THROW(form_->InitieraDatabas(), EInOutError);
}

TEST_F(ConnectionFileTest, ConnectionLineFromTheFileReachesTheDatabase) {
  const TestDb* db = GetTestDb("SQLite");
  ASSERT_TRUE(WriteTextFile("dbconnect.txt", db->line + "\r\n"));
  form_->InitieraDatabas();
  form_->Sok();
  EXPECT_EQ(form_->q_dbqv.RecordCount(), 3);
}

TEST_F(ConnectionFileTest, AliasNamesADatabaseFileOfTheWorkingDirectory) {
  {
    auto conn = OpenConnection("Provider=SQLite;Data Source=qv.db;Mode=ReadWriteCreate", false);
    conn->Execute("CREATE TABLE \"Kund\" (Kundid TEXT, Ftagnamn TEXT, Niva TEXT, Status TEXT);"
                  "INSERT INTO \"Kund\" VALUES ('A1', 'Alias AB', '0', 'B');");
  }
  ASSERT_TRUE(WriteTextFile("dbconnect.txt", "qv"));
  form_->InitieraDatabas();
  form_->Sok();
  EXPECT_EQ(form_->q_dbqv.SQL[1], "FROM \"Kund\" Kund");
  EXPECT_EQ(form_->q_dbqv.Text("Ftagnamn"), "Alias AB");

  ASSERT_TRUE(WriteTextFile("dbconnect.txt", "nix"));
  form_->InitieraDatabas();
  EXPECT_THROW(form_->Sok(), EDatabaseError);  // no nix.db
}

// ---------------------------------------------------------------- debug echo

class DebugEchoTest : public FormDbTest {
protected:
  // What the request wrote after its headers.
  static std::string Body(const std::string& out) {
    size_t p = out.find("\r\n\r\n");
    return p == std::string::npos ? out : out.substr(p + 4);
  }
};

TEST_P(DebugEchoTest, StatementsAreEchoedWhereTheyRun) {
  std::string out;
  {
    RequestScope scope(out);
    RS().Debug = true;
    HttpWrite("before ");
    form_->Sok();
    HttpWrite("after");
    EXPECT_EQ(form_->HamtaText("personer", 5), "personer");  // no statement, no echo
  }
  EXPECT_EQ(Body(out),
            "before <!--\r\n"
            "SELECT Kund.Kundid, Kund.Ftagnamn, Kund.Niva\r\n"
            "FROM [Tallbrun].[dbo].[Kund] Kund\r\n"
            "WHERE (Kund.Status = 'B' OR Kund.Status = 'F' OR Kund.Status = 'P' OR Kund.Status = 'G' OR "
            "Kund.Status = 'A')\r\n"
            "ORDER BY Kund.Ftagnamn\r\n"
            "-->\r\n"
            "after");
}

TEST_P(DebugEchoTest, NoEchoWithoutDebug) {
  std::string out;
  {
    RequestScope scope(out);
    form_->SokKund("K1");
  }
  EXPECT_EQ(Body(out), "");
}

TEST_P(DebugEchoTest, ValuesCannotEndTheComment) {
  std::string out;
  {
    RequestScope scope(out);
    RS().Debug = true;
    RS().Ftagnamn = "X--><script>alert(1)</script>---";
    form_->Sok();
    EXPECT_TRUE(form_->q_dbqv.Eof());
  }
  std::string body = Body(out);
  EXPECT_NE(body.find("LIKE '%X- -&#62;&#60;script&#62;alert(1)&#60;/script&#62;- - -%'"), std::string::npos) << body;
  // The only comment end is the echo's own, at its end.
  EXPECT_EQ(body.find("--"), 2u);  // "<!--"
  EXPECT_EQ(body.find("-->"), body.size() - 5);
  // The statement that ran is the one the application built.
  EXPECT_NE(form_->q_dbqv.SQL[2].find("'%X--><script>alert(1)</script>---%'"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Backends, DebugEchoTest, ::testing::ValuesIn(TestDbKinds()), DbKindName);

}  // namespace
