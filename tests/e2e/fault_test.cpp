// Faults around the program: a missing, locked or broken database, a missing
// or unreadable template, a log folder that cannot be written or a full
// file-size quota, a client that has gone away; and request values that the
// web server in front normally refuses (NUL, line breaks) or a content
// length that lies. Each ends in the expected page (or none, for a gone
// client) without a crash, a hang or a damaged file.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <netinet/in.h>
#include <sqlite3.h>
#include <sys/socket.h>
#include <unistd.h>

#include "support/Site.h"

namespace fs = std::filesystem;

namespace {
const char* kRows = "INSERT INTO Kund(Kundid,Ftagnamn,Status,Niva) VALUES('A1','Alfa','B','1');";
const char* kFacts = "<html><body><!--START--><h1><!--NAMN--></h1><!--SLUT--></body></html>\r\n";

bool IsErrorPage(const CgiResult& r) { return r.out.find("<h2>Fel i programmet</h2>") != std::string::npos; }

// A site with one customer on SQLite (the faults below are SQLite's files).
struct FaultSite : TestSite {
  FaultSite() {
    UseSqlite(kRows);
    WriteFile("www/kund/facts.htm", kFacts);
  }
  std::string Db() const { return root + "/www/test.db"; }
};

// The page without its comments (the echoed statements, the error message).
std::string WithoutComments(std::string page) {
  for (size_t b; (b = page.find("<!--")) != std::string::npos;) {
    size_t e = page.find("-->", b + 4);
    page.erase(b, e == std::string::npos ? std::string::npos : e + 3 - b);
  }
  return page;
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}
}  // namespace

TEST(Fault, TheSiteAnswersNormally) {
  FaultSite site;
  CgiResult r = site.Get("kundid=a1");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_NE(r.out.find("<h1>Alfa</h1>"), std::string::npos) << r.out;
}

TEST(Fault, MissingDatabaseFileIsNotCreated) {
  FaultSite site;
  site.WriteFile("www/cgi-win/dbconnect.txt", "Provider=SQLite;Data Source=../gone.db\r\n");
  CgiResult r = site.Get("kundid=a1");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(IsErrorPage(r)) << r.out;
  EXPECT_FALSE(fs::exists(site.root + "/www/gone.db"));
  auto logs = site.LogFiles();
  ASSERT_EQ(logs.size(), 1u);
  EXPECT_EQ(site.ReadFile(logs[0]).find("[STATUS]"), std::string::npos);
}

TEST(Fault, BrokenDatabaseFileEndsInTheErrorPageAndStaysAsItWas) {
  FaultSite site;
  std::string junk(4096, '\x5a');
  site.WriteFile("www/test.db", junk);
  CgiResult r = site.Get("kundid=a1");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(IsErrorPage(r)) << r.out;
  EXPECT_EQ(site.ReadFile(site.Db()), junk);
}

TEST(Fault, LockedDatabaseEndsInTheErrorPageWithoutHanging) {
  FaultSite site;
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(site.Db().c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "BEGIN EXCLUSIVE; UPDATE Kund SET Ftagnamn='Beta';", nullptr, nullptr, nullptr), SQLITE_OK);
  auto start = std::chrono::steady_clock::now();
  CgiResult r = site.Get("kundid=a1");
  double took = Seconds(start);
  sqlite3_exec(db, "ROLLBACK;", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_LT(took, 30.0);
  EXPECT_TRUE(IsErrorPage(r)) << r.out;
  EXPECT_EQ(r.out.find("Beta"), std::string::npos);
  auto logs = site.LogFiles();
  ASSERT_EQ(logs.size(), 1u);
  EXPECT_EQ(site.ReadFile(logs[0]).find("[STATUS]"), std::string::npos);
  // The lock gone, the same site answers with the unchanged data.
  EXPECT_NE(site.Get("kundid=a1").out.find("<h1>Alfa</h1>"), std::string::npos);
}

TEST(Fault, UnreachableDatabaseServerEndsInTheErrorPageWithoutHanging) {
  FaultSite site;
  // A loopback port that nobody listens on: a PostgreSQL server that is down.
  int s = socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_GE(s, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  ASSERT_EQ(bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
  ASSERT_EQ(getsockname(s, reinterpret_cast<sockaddr*>(&a), &len), 0);
  close(s);
  site.WriteFile("www/cgi-win/dbconnect.txt", "Provider=PostgreSQL;host=127.0.0.1;port=" +
                                                  std::to_string(ntohs(a.sin_port)) + ";dbname=Tallbrun;user=x\r\n");
  auto start = std::chrono::steady_clock::now();
  CgiResult r = site.Get("kundid=a1");
  EXPECT_LT(Seconds(start), 30.0);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(IsErrorPage(r)) << r.out;
  for (const auto& f : site.LogFiles()) EXPECT_EQ(site.ReadFile(f).find("[STATUS]"), std::string::npos);
}

TEST(Fault, MissingTemplateEndsInTheErrorPage) {
  FaultSite site;
  CgiResult r = site.Get("kundid=a1&mall=nosuch");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(IsErrorPage(r)) << r.out;
  auto logs = site.LogFiles();
  ASSERT_EQ(logs.size(), 1u);
  EXPECT_EQ(site.ReadFile(logs[0]).find("[STATUS]"), std::string::npos);
}

TEST(Fault, UnreadableTemplateEndsInTheErrorPage) {
  FaultSite site;
  fs::create_directories(site.kund + "/katalog.htm");  // opens, but cannot be read
  CgiResult r = site.Get("kundid=a1&mall=katalog");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(IsErrorPage(r)) << r.out;
}

TEST(Fault, LogFolderThatIsAFileEndsInTheErrorPage) {
  FaultSite site;
  fs::remove_all(site.cgilog);
  site.WriteFile("cgilog", "not a folder\n");
  CgiResult r = site.Get("kundid=a1");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(IsErrorPage(r)) << r.out;
  EXPECT_EQ(site.ReadFile(site.cgilog), "not a folder\n");
}

TEST(Fault, FullFileQuotaEndsInTheErrorPageNotInASignal) {
  FaultSite site;
  CgiRequest req;
  req.env = site.Env("GET", "kundid=a1");
  req.cwd = site.cgiwin;
  req.fileSizeLimit = 0;  // every write to a file fails, as on a full disk
  CgiResult r = RunCgi(req);
  EXPECT_EQ(r.exitCode, 0) << "killed by a signal?";
  EXPECT_TRUE(IsErrorPage(r)) << r.out;
  EXPECT_NE(r.out.find("I/O error writing"), std::string::npos) << r.out;
  for (const auto& f : site.LogFiles()) EXPECT_EQ(site.ReadFile(f).find("[STATUS]"), std::string::npos);
}

TEST(Fault, ClientGoneBeforeTheAnswerEndsQuietly) {
  FaultSite site;
  for (const char* q : {"kundid=a1", "", "kundid=a1&mall=nosuch"}) {
    CgiRequest req;
    req.env = site.Env("GET", q);
    req.cwd = site.cgiwin;
    req.closeOutput = true;
    auto start = std::chrono::steady_clock::now();
    CgiResult r = RunCgi(req);
    EXPECT_LT(Seconds(start), 20.0) << q;
    EXPECT_LT(r.exitCode, 128) << q << ": killed by a signal";
  }
  // Every log is whole as far as it goes: it begins with its [ID] section.
  auto logs = site.LogFiles();
  EXPECT_EQ(logs.size(), 3u);
  for (const auto& f : logs) EXPECT_EQ(site.ReadFile(f).substr(0, 6), "[ID]\r\n") << f;
}

// Values that lighttpd refuses before they reach the program, sent directly.
TEST(HostileCgi, NulAndLineBreaksInEveryValue) {
  FaultSite site;
  const char* names[] = {"Vad", "Funktion", "Mall", "Ftagnamn", "Avtal", "AnvKat", "Kedja", "Background",
                         "Antal", "Status", "Niva", "XKntKundId", "Stylesheet", "Visasida", "Debug",
                         "Kundid", "Omrade", "Kommun", "ArMan", "Sprak"};
  for (const char* n : names) {
    for (const char* v : {"%00", "a1%00%27", "..%2F..%2Fkund%00", "x%0D%0ASet-Cookie:%20ZQX=1", "%0D%0A%0D%0A<b>"}) {
      std::string q = std::string("kundid=a1&Debug=J&") + n + "=" + v;
      CgiResult r = site.Get(q);
      EXPECT_EQ(r.exitCode, 0) << q;
      Response resp = SplitResponse(r.out);
      EXPECT_EQ(resp.headers.substr(0, 17), "HTTP/1.1 200 OK\r\n") << q;
      EXPECT_EQ(resp.headers.find("Set-Cookie"), std::string::npos) << q;
      EXPECT_EQ(WithoutComments(resp.body).find("<b>"), std::string::npos) << q;
    }
  }
}

TEST(HostileCgi, LyingContentLengths) {
  FaultSite site;
  for (const char* len : {"99999999999", "2147483647", "-1", "-2147483648", "abc", "1e9", "4294967296", "100"}) {
    CgiRequest req;
    req.env = site.Env("POST", "", {std::string("CONTENT_LENGTH=") + len, "CGI_READ_TIMEOUT=2"});
    req.body = "kundid=a1";
    req.cwd = site.cgiwin;
    auto start = std::chrono::steady_clock::now();
    CgiResult r = RunCgi(req);
    EXPECT_LT(Seconds(start), 20.0) << len;
    EXPECT_EQ(r.exitCode, 0) << len;
    EXPECT_EQ(r.out.substr(0, 17), "HTTP/1.1 200 OK\r\n") << len << ": " << r.out;
  }
}

// A standard CGI server passes a query string without "=" as the command
// line (Apache does: /cgi-win/vemlo3.exe?/etc/passwd). The argument names a
// file, but the program must not take it for a Windows CGI profile: the
// request is an ordinary one with that query string, and nothing the
// "profile" names is read or written.
TEST(HostileCgi, IsindexArgumentNamingAFileIsNotReadAsAProfile) {
  FaultSite site;
  const std::string leak = site.root + "/leak.out";
  site.WriteFile("www/cgi-win/req.ini", "[System]\r\nOutput File=" + leak + "\r\n[Form Literal]\r\nkundid=a1\r\n");
  for (const char* arg : {"/etc/passwd", "../cgi-win/dbconnect.txt", "dbconnect.txt", "req.ini"}) {
    CgiRequest req;
    req.env = site.Env("GET", arg);
    req.cwd = site.cgiwin;
    req.args = {arg};
    CgiResult r = RunCgi(req);
    EXPECT_EQ(r.exitCode, 0) << arg;
    // The answer is on standard output (not in a profile's output file),
    // and shows nothing of the named file.
    EXPECT_EQ(r.out.substr(0, 17), "HTTP/1.1 200 OK\r\n") << arg << ": " << r.out;
    EXPECT_EQ(r.out.find("root:x:0:"), std::string::npos) << arg;
    EXPECT_EQ(r.out.find("Provider="), std::string::npos) << arg;
    EXPECT_EQ(r.out.find("<h1>Alfa</h1>"), std::string::npos) << arg;
    EXPECT_FALSE(fs::exists(leak)) << arg;
  }
}
