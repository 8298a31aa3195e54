// What a resident worker keeps warm between requests, and that every change
// of its sources is seen with the next request: templates, the settings
// file, look-up texts (SQLite data version, PostgreSQL time to live), the
// connection line, a replaced SQLite file, a restarted PostgreSQL server, a
// statement that failed; the Debug echo with warm caches; and many worker
// threads at once.
#include <gtest/gtest.h>

#include <sqlite3.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "app/Config.h"
#include "data/DbBackend.h"
#include "support/ModuleFixture.h"

namespace fs = std::filesystem;

namespace {
const char* kRader =
    "INSERT INTO Kund(Kundid,Ftagnamn,Status,Niva) VALUES('A1','Alfa','B','1');"
    "INSERT INTO Sprk(TextS,TextE) VALUES('personer','people');";
const char* kMall = "<html><!--START--><!--HAMTATEXT(personer)-->|<!--NAMN-->|<!--SLUT--></html>\r\n";

void Exec(const std::string& db, const std::string& sql) {
  sqlite3* h = nullptr;
  ASSERT_EQ(sqlite3_open(db.c_str(), &h), SQLITE_OK);
  sqlite3_busy_timeout(h, 10000);  // readers may hold the file for a moment
  char* err = nullptr;
  EXPECT_EQ(sqlite3_exec(h, sql.c_str(), nullptr, nullptr, &err), SQLITE_OK) << (err ? err : "");
  sqlite3_free(err);
  sqlite3_close(h);
}

// An SQLite database file of the schema plus `sql`, beside the site's.
std::string NewSqliteFile(const TestSite& site, const std::string& name, const std::string& sql) {
  std::string path = site.root + "/www/" + name;
  std::string schema = site.ReadFile(std::string(VEMLO_SOURCE_DIR) + "/db/schema.sqlite.sql");
  Exec(path, schema + sql);
  return path;
}

// One application module serving request after request on the calling
// thread, as a resident engine's worker does, over a throw-away site.
class Resident {
public:
  Resident() {
    char buf[PATH_MAX];
    if (getcwd(buf, sizeof buf)) oldCwd_ = buf;
    CloseDatabaseConnections();
    ForgetLookups();
    site.WriteFile("www/kund/facts.htm", kMall);
  }
  ~Resident() {
    module_.reset();
    CloseDatabaseConnections();
    ForgetLookups();
    if (!oldCwd_.empty() && chdir(oldCwd_.c_str()) != 0) {
    }
  }
  // After the database is chosen: the program works in the site's folder.
  void Start() {
    ASSERT_EQ(chdir(site.cgiwin.c_str()), 0);
    module_ = std::make_unique<TForm1>(false);
  }
  // The body of the response to a GET request.
  std::string Page(const std::string& query) {
    EngineRun run = RunEngineRequest(site.Env("GET", query), "", nullptr,
                                     [&](THttpEngine&) { module_->GeneralHttpEngine1ExecRequest(nullptr); });
    size_t body = run.output.find("\r\n\r\n");
    return body == std::string::npos ? run.output : run.output.substr(body + 4);
  }
  TForm1& Module() { return *module_; }

  TestSite site;

private:
  std::string oldCwd_;
  std::unique_ptr<TForm1> module_;
};

bool IsErrorPage(const std::string& body) { return body.find("<h2>Fel i programmet</h2>") != std::string::npos; }

// Sets an environment variable for the length of a test.
class EnvSetting {
public:
  EnvSetting(const char* name, const std::string& value) : name_(name) {
    if (const char* old = getenv(name)) old_ = old, had_ = true;
    setenv(name, value.c_str(), 1);
  }
  ~EnvSetting() {
    if (had_)
      setenv(name_, old_.c_str(), 1);
    else
      unsetenv(name_);
  }

private:
  const char* name_;
  std::string old_;
  bool had_ = false;
};
}  // namespace

TEST(WarmTemplate, AnEditedOrReplacedTemplateShowsWithTheNextRequest) {
  Resident r;
  r.site.UseSqlite(kRader);
  r.Start();
  EXPECT_EQ(r.Page("kundid=a1"), "<html>personer|Alfa|</html>\r\n\r\n");
  EXPECT_EQ(r.Page("kundid=a1"), "<html>personer|Alfa|</html>\r\n\r\n");
  // Edited in place at once, to the same size.
  r.site.WriteFile("www/kund/facts.htm", "<html><!--START--><!--HAMTATEXT(personer)-->|<!--NAMN-->|<!--SLUT--></htm!>\r\n");
  EXPECT_EQ(r.Page("kundid=a1"), "<html>personer|Alfa|</htm!>\r\n\r\n");
  // Renamed over the old one.
  r.site.WriteFile("www/kund/ny.htm", "ny <!--START-->[<!--NAMN-->]<!--SLUT-->\r\n");
  fs::rename(r.site.kund + "/ny.htm", r.site.kund + "/facts.htm");
  EXPECT_EQ(r.Page("kundid=a1"), "ny [Alfa]\r\n");
  // Gone: the error page, as without a resident process.
  fs::remove(r.site.kund + "/facts.htm");
  EXPECT_TRUE(IsErrorPage(r.Page("kundid=a1")));
  // Many templates in turn: each shows its own, however many there are.
  for (int i = 0; i < 40; ++i) r.site.WriteFile("www/kund/m" + std::to_string(i) + ".htm", "m" + std::to_string(i) + "\r\n");
  for (int round = 0; round < 2; ++round)
    for (int i = 0; i < 40; ++i) ASSERT_EQ(r.Page("kundid=a1&mall=m" + std::to_string(i)), "m" + std::to_string(i) + "\r\n\r\n");
}

// The customer block is classified once per template; every later page
// from it is the page that the first one was, for any customers, in any
// order of templates.
TEST(WarmTemplate, LaterPagesFromAKeptTemplateAreTheFirstPages) {
  Resident r;
  r.site.UseSqlite(
      "INSERT INTO Kund(Kundid,Ftagnamn,Status,Niva) VALUES('A1','Alfa','B','1'),('B2','Beta','B','0'),"
      "('C3','Gamma','B','2');"
      "INSERT INTO Sprk(TextS,TextE) VALUES('personer','people');");
  r.site.WriteFile("www/kund/facts.htm",
                   "<html><!--TITEL--><!--START--><!--COUNTER(2,|)--><!--KUNDID--><!--INCCOUNTER-->"
                   "<!--STARTNIVA0-->noll<!--SLUTNIVA0--><!--STARTSPRAK(E)--><!--HAMTATEXT(personer)-->"
                   "<!--SLUTSPRAK(E)--><!--NAMN--><!--okand--><!--SLUT--></html>\r\n");
  // A frame tag among the block's pieces: answered once, held for the tail.
  r.site.WriteFile("www/kund/lista.htm",
                   "[<!--START-->\r\n<!--NAMN-->,\r\n<!--TITEL-->\r\n<!--NAMN-->;<!--SLUT-->]\r\n");
  // A template changed a moment ago is read again for every page; once it
  // has settled it is kept from its second page on.
  std::this_thread::sleep_for(std::chrono::milliseconds(2100));
  r.Start();
  const char* fragor[] = {"kundid=a1&kundid=b2&kundid=c3", "kundid=b2&sprak=e", "kundid=c3&kundid=a1&mall=lista",
                          "kundid=a1&sprak=e&kundid=c3"};
  std::vector<std::string> forsta;
  for (const char* f : fragor) forsta.push_back(r.Page(f));
  EXPECT_NE(forsta[0].find("A1"), std::string::npos) << forsta[0];
  EXPECT_EQ(forsta[2], "[Alfa,\r\nAlfa;Gamma,\r\nGamma;Alfa m fl]\r\n\r\n");
  for (int varv = 0; varv < 3; ++varv)
    for (size_t i = 0; i < std::size(fragor); ++i) EXPECT_EQ(r.Page(fragor[(i + varv) % std::size(fragor)]), forsta[(i + varv) % std::size(fragor)]);
}

TEST(WarmSettings, AChangedSettingsFileIsReadWithTheNextRequest) {
  Resident r;
  r.site.UseSqlite(kRader);
  r.Start();
  auto support = [&] {
    std::string body = r.Page("kundid=a1&mall=saknas");  // no such template: the error page with the support address
    EXPECT_TRUE(IsErrorPage(body));
    size_t a = body.find("mailto:");
    return a == std::string::npos ? std::string() : body.substr(a + 7, body.find('"', a) - a - 7);
  };
  EXPECT_EQ(support(), SiteConfig().SupportEpost);
  r.site.WriteFile("www/cgi-win/vemlo3.conf", "SupportEpost=a@exempel.se\n");
  EXPECT_EQ(support(), "a@exempel.se");
  r.site.WriteFile("www/cgi-win/vemlo3.conf", "SupportEpost=b@exempel.se\n");
  EXPECT_EQ(support(), "b@exempel.se");
  fs::remove(r.site.cgiwin + "/vemlo3.conf");
  EXPECT_EQ(support(), SiteConfig().SupportEpost);
  ReloadConfig();
}

TEST(WarmLookups, ATextChangedInSqliteShowsWithTheNextRequest) {
  for (bool wal : {false, true}) {
    SCOPED_TRACE(wal ? "write-ahead log" : "rollback journal");
    Resident r;
    r.site.UseSqlite(kRader);
    std::string db = r.site.root + "/www/test.db";
    // With a write-ahead log the database file itself stays as it is when
    // another connection writes; only the data version tells.
    if (wal) Exec(db, "PRAGMA journal_mode=WAL;");
    r.Start();
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(db.c_str(), &writer), SQLITE_OK);
    EXPECT_EQ(r.Page("kundid=a1&sprak=e"), "<html>people|Alfa|</html>\r\n\r\n");
    EXPECT_EQ(r.Page("kundid=a1&sprak=e"), "<html>people|Alfa|</html>\r\n\r\n");
    ASSERT_EQ(sqlite3_exec(writer, "UPDATE Sprk SET TextE='persons'", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_EQ(r.Page("kundid=a1&sprak=e"), "<html>persons|Alfa|</html>\r\n\r\n");
    ASSERT_EQ(sqlite3_exec(writer, "UPDATE Sprk SET TextE='folk'; UPDATE Kund SET Ftagnamn='Beta'", nullptr, nullptr,
                           nullptr),
              SQLITE_OK);
    EXPECT_EQ(r.Page("kundid=a1&sprak=e"), "<html>folk|Beta|</html>\r\n\r\n");
    sqlite3_close(writer);
  }
}

// The municipality names in the page head are remembered by the same rule:
// a renamed municipality shows with the next request, and an area chosen by
// the visitor is its own look-up.
TEST(WarmLookups, MunicipalityNamesFollowTheDatabase) {
  Resident r;
  r.site.UseSqlite(std::string(kRader) +
                   "INSERT INTO Laen(Lankod,Lannamn) VALUES('01','Stockholm'),('03','Uppsala');"
                   "INSERT INTO Komm(Lankod,Kommkod,Kommnamn) VALUES('01','80','Stockholm'),('03','80','Uppsala'),"
                   "('03','81','Enk\xC3\xB6ping');UPDATE Kund SET Lankod='03';");
  r.site.WriteFile("www/kund/facts.htm", "<!--METAOMRADENAMN-->|<!--START--><!--NAMN--><!--SLUT-->\r\n");
  std::string db = r.site.root + "/www/test.db";
  r.Start();
  EXPECT_EQ(r.Page("kundid=a1"), "stockholm, enk&ouml;ping, uppsala|Alfa\r\n");
  EXPECT_EQ(r.Page("kundid=a1&omrade=03"), "enk&ouml;ping, uppsala|Alfa\r\n");
  EXPECT_EQ(r.Page("kundid=a1"), "stockholm, enk&ouml;ping, uppsala|Alfa\r\n");
  Exec(db, "UPDATE Komm SET Kommnamn='Solna' WHERE Lankod='01'");
  EXPECT_EQ(r.Page("kundid=a1"), "solna, enk&ouml;ping, uppsala|Alfa\r\n");
  EXPECT_EQ(r.Page("kundid=a1&omrade=03"), "enk&ouml;ping, uppsala|Alfa\r\n");
}

TEST(WarmConnection, AChangedConnectionLineOpensTheNewDatabase) {
  Resident r;
  r.site.UseSqlite(kRader);
  NewSqliteFile(r.site, "andra.db",
                "INSERT INTO Kund(Kundid,Ftagnamn,Status,Niva) VALUES('A1','Andra','B','1');"
                "INSERT INTO Sprk(TextS,TextE) VALUES('personer','others');");
  r.Start();
  EXPECT_EQ(r.Page("kundid=a1&sprak=e"), "<html>people|Alfa|</html>\r\n\r\n");
  r.site.WriteFile("www/cgi-win/dbconnect.txt", "Provider=SQLite;Data Source=../andra.db\r\n");
  EXPECT_EQ(r.Page("kundid=a1&sprak=e"), "<html>others|Andra|</html>\r\n\r\n");
  r.site.WriteFile("www/cgi-win/dbconnect.txt", "Provider=SQLite;Data Source=../test.db\r\n");
  EXPECT_EQ(r.Page("kundid=a1&sprak=e"), "<html>people|Alfa|</html>\r\n\r\n");
  // A line that cannot be opened is the error page, and the next good one
  // serves again.
  r.site.WriteFile("www/cgi-win/dbconnect.txt", "Provider=SQLite;Data Source=../saknas.db\r\n");
  EXPECT_TRUE(IsErrorPage(r.Page("kundid=a1&sprak=e")));
  r.site.WriteFile("www/cgi-win/dbconnect.txt", "Provider=SQLite;Data Source=../andra.db\r\n");
  EXPECT_EQ(r.Page("kundid=a1&sprak=e"), "<html>others|Andra|</html>\r\n\r\n");
}

TEST(WarmConnection, AnSqliteFileCopiedOrRenamedOverTheOpenOneIsSeenWithTheNextRequest) {
  Resident r;
  r.site.UseSqlite(kRader);
  std::string db = r.site.root + "/www/test.db";
  std::string kopia = NewSqliteFile(r.site, "kopia.db",
                                    "INSERT INTO Kund(Kundid,Ftagnamn,Status,Niva) VALUES('A1','Kopia','B','1');"
                                    "INSERT INTO Sprk(TextS,TextE) VALUES('personer','copies');");
  std::string flytt = NewSqliteFile(r.site, "flytt.db",
                                    "INSERT INTO Kund(Kundid,Ftagnamn,Status,Niva) VALUES('A1','Flytt','B','1');"
                                    "INSERT INTO Sprk(TextS,TextE) VALUES('personer','moved');");
  r.Start();
  EXPECT_EQ(r.Page("kundid=a1&sprak=e"), "<html>people|Alfa|</html>\r\n\r\n");
  // Copied over: the same file (inode), new content.
  fs::copy_file(kopia, db, fs::copy_options::overwrite_existing);
  EXPECT_EQ(r.Page("kundid=a1&sprak=e"), "<html>copies|Kopia|</html>\r\n\r\n");
  // Renamed over: another file at the same path.
  fs::rename(flytt, db);
  EXPECT_EQ(r.Page("kundid=a1&sprak=e"), "<html>moved|Flytt|</html>\r\n\r\n");
  EXPECT_EQ(r.Page("kundid=a1&sprak=e"), "<html>moved|Flytt|</html>\r\n\r\n");
}

TEST(WarmConnection, AStatementThatFailsMidRequestLeavesTheConnectionUsable) {
  for (bool pg : {false, true}) {
    SCOPED_TRACE(pg ? "PostgreSQL" : "SQLite");
    Resident r;
    if (pg) {
      if (!r.site.UsePostgres(kRader)) continue;  // no PostgreSQL server configured (set VEMLO_PG_CONNINFO)
    } else {
      r.site.UseSqlite(kRader);
    }
    r.Start();
    EXPECT_EQ(r.Page("kundid=a1&sprak=e"), "<html>people|Alfa|</html>\r\n\r\n");
    // A request that opens a transaction and fails inside it: on PostgreSQL
    // every later statement of the session would fail until it is rolled
    // back.
    TQuery& q = r.Module().q_temp;
    EngineRun run = RunEngineRequest(r.site.Env("GET", "kundid=a1&sprak=e"), "", nullptr, [&](THttpEngine&) {
      r.Module().InitieraDatabas();
      for (const char* sql : {"BEGIN", "SELECT Inget FROM Saknas"}) {
        q.Close();
        q.SQL.Clear();
        q.SQL.Add(sql);
        try {
          q.Open();
        } catch (const EDatabaseError&) {
        }
      }
      r.Module().GeneralHttpEngine1ExecRequest(nullptr);
    });
    if (pg) {
      EXPECT_TRUE(IsErrorPage(run.output)) << run.output;
    }
    EXPECT_EQ(r.Page("kundid=a1&sprak=e"), "<html>people|Alfa|</html>\r\n\r\n");
    EXPECT_EQ(r.Page("kundid=a1"), "<html>personer|Alfa|</html>\r\n\r\n");
  }
}

TEST(WarmLookups, TheDebugEchoShowsEveryStatementWithWarmCaches) {
  Resident r;
  r.site.UseSqlite(kRader);
  r.site.WriteFile("www/cgi-win/vemlo3.conf", "DebugFran=*\n");  // the test client is no loopback address
  r.Start();
  std::string kall = r.Page("kundid=a1&sprak=e&debug=j");
  ASSERT_NE(kall.find("WHERE TextS = 'personer'"), std::string::npos) << kall;
  for (int i = 0; i < 3; ++i) EXPECT_EQ(r.Page("kundid=a1&sprak=e"), "<html>people|Alfa|</html>\r\n\r\n");
  EXPECT_EQ(r.Page("kundid=a1&sprak=e&debug=j"), kall);
  EXPECT_EQ(r.Page("kundid=a1&sprak=e"), "<html>people|Alfa|</html>\r\n\r\n");
}

TEST(WarmLookups, PostgresKeepsTextsForTheirTimeToLive) {
  Resident r;
  if (!r.site.UsePostgres(kRader)) GTEST_SKIP() << "PostgreSQL is not configured (set VEMLO_PG_CONNINFO)";
  auto andra = OpenConnection(r.site.ConnectionLine(), false);
  r.Start();
  {
    EnvSetting ttl("VEMLO3_LOOKUP_TTL", "0");  // every request reads them anew
    EXPECT_EQ(r.Page("kundid=a1&sprak=e"), "<html>people|Alfa|</html>\r\n\r\n");
    andra->Execute("UPDATE \"Sprk\" SET TextE='persons'");
    EXPECT_EQ(r.Page("kundid=a1&sprak=e"), "<html>persons|Alfa|</html>\r\n\r\n");
  }
  {
    EnvSetting ttl("VEMLO3_LOOKUP_TTL", "1");
    EXPECT_EQ(r.Page("kundid=a1&sprak=e"), "<html>persons|Alfa|</html>\r\n\r\n");
    andra->Execute("UPDATE \"Sprk\" SET TextE='folk'; UPDATE \"Kund\" SET Ftagnamn='Beta'");
    // The text is kept for its second; the customer is read fresh.
    EXPECT_EQ(r.Page("kundid=a1&sprak=e"), "<html>persons|Beta|</html>\r\n\r\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    EXPECT_EQ(r.Page("kundid=a1&sprak=e"), "<html>folk|Beta|</html>\r\n\r\n");
  }
  // The default keeps them for a minute.
  andra->Execute("UPDATE \"Sprk\" SET TextE='people'");
  EXPECT_EQ(r.Page("kundid=a1&sprak=e"), "<html>folk|Beta|</html>\r\n\r\n");
}

namespace {
// A PostgreSQL server of the test's own, which it may stop and start.
class OwnPostgres {
public:
  OwnPostgres() {
    std::string cmd = std::string(VEMLO_SOURCE_DIR) + "/tests/pg/start_pg.sh 2>/dev/null";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return;
    char buf[1024];
    while (fgets(buf, sizeof buf, p)) {
      std::string l(buf);
      while (!l.empty() && (l.back() == '\n' || l.back() == '\'')) l.pop_back();
      if (l.rfind("export VEMLO_PG_DIR='", 0) == 0) dir = l.substr(21);
      if (l.rfind("export VEMLO_PG_CONNINFO='", 0) == 0) line = l.substr(26);
    }
    pclose(p);
  }
  ~OwnPostgres() {
    if (!dir.empty()) Run(std::string(VEMLO_SOURCE_DIR) + "/tests/pg/stop_pg.sh '" + dir + "'");
  }
  bool Control(const std::string& action) {
    std::string bin = "$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)/pg_ctl";
    std::string pgctl = (getuid() == 0 ? "runuser -u postgres -- " : "") + bin;
    std::string options;
    if (action == "start") {  // as start_pg.sh starts it
      size_t p = line.find("port=");
      std::string port = line.substr(p + 5, line.find(';', p) - p - 5);
      options = " -l '" + dir + "/server.log' -o '-p " + port + " -k " + dir + " -c listen_addresses=127.0.0.1'";
    }
    return Run(pgctl + " -D '" + dir + "/data' -w -m fast" + options + " " + action);
  }
  static bool Run(const std::string& cmd) { return std::system(("(" + cmd + ") >/dev/null 2>&1").c_str()) == 0; }

  std::string dir, line;
};
}  // namespace

TEST(WarmConnection, APostgresRestartBetweenRequestsIsConnectedAgain) {
  if (!getenv("VEMLO_PG_CONNINFO")) GTEST_SKIP() << "PostgreSQL is not configured (set VEMLO_PG_CONNINFO)";
  OwnPostgres server;
  if (server.line.empty()) GTEST_SKIP() << "no PostgreSQL server of the test's own could be started";
  Resident r;
  ASSERT_TRUE(r.site.UsePostgres(kRader, server.line));
  r.Start();
  EXPECT_EQ(r.Page("kundid=a1&sprak=e"), "<html>people|Alfa|</html>\r\n\r\n");
  ASSERT_TRUE(server.Control("restart"));
  EXPECT_EQ(r.Page("kundid=a1&sprak=e"), "<html>people|Alfa|</html>\r\n\r\n");
  EXPECT_EQ(r.Page("kundid=a1"), "<html>personer|Alfa|</html>\r\n\r\n");
  // Down: the error page at once; up again: the pages.
  ASSERT_TRUE(server.Control("stop"));
  EXPECT_TRUE(IsErrorPage(r.Page("kundid=a1&sprak=e")));
  EXPECT_TRUE(IsErrorPage(r.Page("kundid=a1&sprak=e")));
  ASSERT_TRUE(server.Control("start"));
  EXPECT_EQ(r.Page("kundid=a1&sprak=e"), "<html>people|Alfa|</html>\r\n\r\n");
}

// Worker threads, each with its own module, serve pages while the
// template, the settings and the database change under them: every page is
// whole and of one state, and once the changes are done every thread shows
// the last state.
TEST(WarmCaches, ManyThreadsServeWhileTheSourcesChange) {
  Resident r;
  r.site.UseSqlite(kRader);
  std::string db = r.site.root + "/www/test.db";
  r.Start();
  SetHaltHandler([](int) {});
  std::atomic<bool> stop{false};
  std::atomic<int> bad{0}, served{0};
  // The engines are made here, before the threads start (see ThreadEngine);
  // each thread's handler runs that thread's own module.
  std::vector<TForm1*> modules(4, nullptr);
  std::vector<std::unique_ptr<ThreadEngine>> engines;
  for (int t = 0; t < 4; ++t)
    engines.push_back(std::make_unique<ThreadEngine>([&modules, t](THttpEngine&) {
      modules[static_cast<size_t>(t)]->GeneralHttpEngine1ExecRequest(nullptr);
    }));
  auto page = [&](int t) {
    EngineRun run = engines[static_cast<size_t>(t)]->Run(r.site.Env("GET", "kundid=a1&sprak=e"), "");
    return run.output.substr(run.output.find("\r\n\r\n") + 4);
  };
  auto ok = [](const std::string& body) {
    for (const char* t : {"<html>", "<html2>"})
      for (const char* text : {"people", "persons"})
        for (const char* namn : {"Alfa", "Beta"})
          if (body == std::string(t) + text + "|" + namn + "|</html>\r\n\r\n") return true;
    return false;
  };
  std::vector<std::thread> workers;
  std::vector<std::string> last(4);
  for (int t = 0; t < 4; ++t)
    workers.emplace_back([&, t] {
      TForm1 module(false);
      modules[static_cast<size_t>(t)] = &module;
      while (!stop) {
        std::string body = page(t);
        if (!ok(body) && bad++ == 0) ADD_FAILURE() << "a page of no one state: " << body;
        ++served;
      }
      last[static_cast<size_t>(t)] = page(t);
      CloseDatabaseConnections();
    });
  while (served < 20) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  // Published as operators publish: the files renamed over the old ones,
  // the database changed in one transaction.
  auto publish = [&](const std::string& rel, const std::string& text) {
    r.site.WriteFile(rel + ".ny", text);
    fs::rename(r.site.root + "/" + rel + ".ny", r.site.root + "/" + rel);
  };
  publish("www/cgi-win/vemlo3.conf", "SupportEpost=c@exempel.se\n");
  Exec(db, "BEGIN IMMEDIATE; UPDATE Sprk SET TextE='persons'; UPDATE Kund SET Ftagnamn='Beta'; COMMIT");
  publish("www/kund/facts.htm", "<html2><!--START--><!--HAMTATEXT(personer)-->|<!--NAMN-->|<!--SLUT--></html>\r\n");
  int now = served;
  while (served < now + 20) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  stop = true;
  for (auto& w : workers) w.join();
  SetHaltHandler(nullptr);
  EXPECT_EQ(bad, 0);
  for (const auto& body : last) EXPECT_EQ(body, "<html2>persons|Beta|</html>\r\n\r\n");
  fs::remove(r.site.cgiwin + "/vemlo3.conf");
  ReloadConfig();
}

// On PostgreSQL a statement shape runs unnamed first, prepared from its
// second run on; a shape that the server does not take with parameters,
// and a statement in error, behave as they would written out.
TEST(WarmStatements, PostgresShapesRunTheSameUnnamedPreparedAndAsWritten) {
  Resident r;
  if (!r.site.UsePostgres("INSERT INTO Kund(Kundid,Ftagnamn,Status,Niva) VALUES('A1','O''Brien','B','1'),"
                          "('B2','Kvarn','B','1');"))
    GTEST_SKIP() << "PostgreSQL is not configured (set VEMLO_PG_CONNINFO)";
  r.Start();
  r.Module().InitieraDatabas();
  TQuery& q = r.Module().q_temp;
  auto names = [&](const std::string& where) {
    q.Close();
    q.SQL.Clear();
    q.SQL.Add("SELECT 'x' AS Fast, Kund.Ftagnamn");
    q.SQL.Add("FROM [Tallbrun].[dbo].[Kund]");
    q.SQL.Add("WHERE " + where);
    q.SQL.Add("ORDER BY Kund.Ftagnamn");
    q.Open();
    std::string out;
    for (; !q.Eof(); q.Next()) out += q.Text("Fast") + q.Text("Ftagnamn") + ";";
    return out;
  };
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    EXPECT_EQ(names("(Kund.Kundid = 'A1')"), "xO'Brien;");
    EXPECT_EQ(names("(Kund.Kundid = 'B2')"), "xKvarn;");
    EXPECT_EQ(names("(Kund.Ftagnamn = 'O''Brien' OR upper(Kund.Ftagnamn) LIKE '%VAR%')"), "xKvarn;xO'Brien;");
    // A typed literal cannot be a parameter.
    EXPECT_EQ(names("(DATE '2009-05-31' < DATE '2009-06-01' AND Kund.Kundid = 'A1')"), "xO'Brien;");
    EXPECT_THROW(names("(Kund.Saknas = 'A1')"), EDatabaseError);
    EXPECT_EQ(names("(Kund.Kundid = 'zz')"), "");
  }
  EndRequestOnConnections();
}

// County names and the site's parameters are remembered by the same rule as
// the look-up texts: a page asks for them several times, a change shows with
// the next request, a missing row is remembered as missing until it is
// added, and with Debug every statement still runs.
TEST(WarmLookups, CountyNamesAndSiteParametersFollowTheDatabase) {
  Resident r;
  r.site.UseSqlite(std::string(kRader) +
                   "INSERT INTO Laen(Lankod,Lannamn,LannamnE) VALUES('03','Uppsala l\xC3\xA4n','Uppsala County');"
                   "INSERT INTO Parm(Parmtyp,ParmNamn,ParmVarde) VALUES('ONLINEBOKNINGTYP','RUMSBOKAREN','rb.example/h=');"
                   "UPDATE Kund SET Lankod='03', Landskod='SE', HemsidaOnlineBokning='H1', OnlineBokningTyp='rumsbokaren';");
  r.site.WriteFile("www/kund/facts.htm", "<!--START--><!--SVERIGEKARTA-->|<!--HEMSIDAOLURL--><!--SLUT-->\r\n");
  r.site.WriteFile("www/cgi-win/vemlo3.conf", "DebugFran=*\n");
  std::string db = r.site.root + "/www/test.db";
  r.Start();
  auto sida = [&] { return r.Page("kundid=a1&sprak=e"); };
  auto karta = [](const std::string& namn) { return "<img border=0 src=\"/images/maps/facts/se03.gif\" alt=\"" + namn + "\">|"; };
  const std::string lank = "&lanktyp=ol&url=http://";
  std::string forsta = sida();
  EXPECT_EQ(forsta.rfind(karta("Uppsala County"), 0), 0u) << forsta;
  EXPECT_NE(forsta.find(lank + "rb.example/h%3DH1"), std::string::npos) << forsta;
  EXPECT_EQ(sida(), forsta);
  // Changed: seen at once.
  Exec(db, "UPDATE Laen SET LannamnE='County of Uppsala'; UPDATE Parm SET ParmVarde='ny.example/h='");
  std::string andra = sida();
  EXPECT_EQ(andra.rfind(karta("County of Uppsala"), 0), 0u) << andra;
  EXPECT_NE(andra.find(lank + "ny.example/h%3DH1"), std::string::npos) << andra;
  // Gone, remembered as gone, and back.
  Exec(db, "DELETE FROM Laen; DELETE FROM Parm");
  EXPECT_EQ(sida().rfind("|", 0), 0u);
  EXPECT_EQ(sida().rfind("|", 0), 0u);
  EXPECT_NE(sida().find(lank + "H1"), std::string::npos);
  Exec(db, "INSERT INTO Laen(Lankod,Lannamn) VALUES('03','Uppsala');"
           "INSERT INTO Parm(Parmtyp,ParmNamn,ParmVarde) VALUES('ONLINEBOKNINGTYP','RumsBokaren','x.example/')");
  std::string tredje = sida();
  EXPECT_EQ(tredje.rfind(karta("Uppsala"), 0), 0u) << tredje;  // no English name: the Swedish one
  EXPECT_NE(tredje.find(lank + "x.example/H1"), std::string::npos) << tredje;
  // With Debug both statements are echoed on every page.
  for (int i = 0; i < 2; ++i) {
    std::string d = r.Page("kundid=a1&sprak=e&debug=j");
    EXPECT_NE(d.find("WHERE Lankod = '03'"), std::string::npos) << d;
    EXPECT_NE(d.find("WHERE (Parmtyp = 'ONLINEBOKNINGTYP')"), std::string::npos) << d;
  }
}
