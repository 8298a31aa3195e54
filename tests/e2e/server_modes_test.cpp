// The program under the other server interfaces, run for real: a Windows
// CGI profile, the resident server with several clients at once (and the
// request threads of its thread mode), and the extension library under a
// stand-in web server with concurrent requests of different customers,
// whose pages must never mix.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <csignal>
#include <set>
#include <sqlite3.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "gateway/HUtils.h"
#include "support/Site.h"

namespace fs = std::filesystem;

namespace {
const char* kKunder =
    "INSERT INTO Kund(Kundid,Ftagnamn,Status,Niva) VALUES"
    "('A1','Alfa','B','1'),('B2','Beta','B','1'),('C3','Gamma','B','1'),('D4','Delta','B','1'),"
    "('E5','Epsilon','B','1'),('F6','Zeta','B','1');";
const char* kMall = "<html><!--START-->[<!--KUNDID-->:<!--NAMN-->:<!--KUNDID-->]<!--SLUT--></html>\n";

// The requests of the concurrency tests and the page each must get (the
// customers of a page come in the order of their names).
struct Fraga {
  std::string query;
  std::string page;
};
const std::vector<Fraga> kFragor = {
    {"kundid=b2&kundid=a1", "<html>[A1:Alfa:A1][B2:Beta:B2]</html>\r\n\r\n"},
    {"kundid=c3&kundid=d4", "<html>[D4:Delta:D4][C3:Gamma:C3]</html>\r\n\r\n"},
    {"kundid=e5", "<html>[E5:Epsilon:E5]</html>\r\n\r\n"},
    {"kundid=f6&kundid=a1", "<html>[A1:Alfa:A1][F6:Zeta:F6]</html>\r\n\r\n"},
    {"kundid=d4", "<html>[D4:Delta:D4]</html>\r\n\r\n"},
    {"kundid=e5&kundid=b2", "<html>[B2:Beta:B2][E5:Epsilon:E5]</html>\r\n\r\n"},
};

std::string BuildDir() { return fs::path(VEMLO_BINARY).parent_path().string(); }

// Runs a program with the given arguments in `cwd`; its standard output.
std::string RunProgram(const std::vector<std::string>& argv, const std::string& cwd, int& exitCode) {
  int out[2];
  if (pipe(out) != 0) return "";
  pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], 1);
    close(out[0]);
    close(out[1]);
    if (chdir(cwd.c_str()) != 0) _exit(126);
    std::vector<char*> cargv;
    for (const auto& a : argv) cargv.push_back(const_cast<char*>(a.c_str()));
    cargv.push_back(nullptr);
    execv(cargv[0], cargv.data());
    _exit(127);
  }
  close(out[1]);
  std::string text;
  char buf[65536];
  for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;) text.append(buf, static_cast<size_t>(n));
  close(out[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return text;
}

bool WaitUntil(const std::function<bool()>& done, int ms) {
  for (int i = 0; i < ms / 10; ++i) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return done();
}

// A process that has ended but whose parent has not collected it yet (the
// server's parent is whoever adopts orphans) counts as ended.
bool ProcessAlive(pid_t pid) {
  if (pid <= 0 || kill(pid, 0) != 0) return false;
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  size_t paren = text.rfind(')');
  return paren == std::string::npos || text.size() < paren + 3 || text[paren + 2] != 'Z';
}

pid_t ServerPid(const std::string& dir) {
  std::ifstream in(dir + "/vemlo3_pid");
  pid_t pid = 0;
  in >> pid;
  return pid;
}
// The process watches a folder (has an inotify descriptor open).
bool Watches(pid_t pid) {
  std::error_code ec;
  for (auto& e : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ec))
    if (fs::read_symlink(e.path(), ec).string() == "anon_inode:inotify") return true;
  return false;
}

// Deletes the alive file and waits for the server to end.
bool StopServer(const std::string& dir) {
  pid_t server = ServerPid(dir);
  fs::remove(dir + "/vemlo3_s");
  return WaitUntil([&] { return !ProcessAlive(server); }, 5000);
}

std::string EngineLog(const TestSite& site) {
  std::string path = site.root + "/enginelog/vemlo3.Log";
  return fs::exists(path) ? site.ReadFile(path) : "";
}

// A test server's settings: a quick heartbeat, generous waits.
const char* const kServerTimes = "VEMLO3_SERVER_TIMES=heartbeat=100,fresh=3000,wait=30000,start=10000";

// The environment of a client whose server runs in `mode` in `dir`.
std::vector<std::string> ServerEnv(const std::string& mode, const std::string& dir) {
  return {"VEMLO3_CGIMODE=" + mode, "VEMLO3_SERVER_DIR=" + dir, kServerTimes};
}
}  // namespace

TEST(WindowsCgi, ProfileRunWritesThePageToTheOutputFile) {
  TestSite site;
  site.UseDatabase(kKunder);
  site.WriteFile("www/kund/facts.htm", kMall);
  std::string profile = site.root + "/req.ini";
  std::string out = site.root + "/svar.out";
  site.WriteFile("req.ini",
                 "[CGI]\r\nRequest Protocol=HTTP/1.0\r\nRequest Method=POST\r\nExecutable Path=/cgi-win/vemlo3.exe\r\n"
                 "Server Software=Microsoft-IIS/5.0\r\nRemote Address=10.0.0.9\r\n"
                 "Content Type=application/x-www-form-urlencoded\r\nContent Length=9\r\n"
                 "[System]\r\nOutput File=" + out + "\r\n"
                 "[Form Literal]\r\nkundid=c3\r\n");
  CgiRequest req;
  req.env = {"CGI_VERSION=CGI/1.3a (Win)", "SERVER_SOFTWARE=Microsoft-IIS/5.0", "TZ=Europe/Stockholm",
             "CGI_LOG_DIR=" + site.root + "/enginelog"};
  req.cwd = site.cgiwin;
  req.args = {profile};
  CgiResult r = RunCgi(req);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "");  // nothing on standard output
  Response resp = SplitResponse(site.ReadFile(out));
  EXPECT_EQ(resp.headers.substr(0, 16), "Status: 200 OK\r\n");
  EXPECT_EQ(resp.body, "<html>[C3:Gamma:C3]</html>\r\n\r\n");
  std::string log = site.ReadFile(site.LogFiles().at(0));
  EXPECT_NE(log.find("remoteaddress=10.0.0.9"), std::string::npos) << log;
}

class ResidentServer : public ::testing::TestWithParam<const char*> {};

TEST_P(ResidentServer, ServesClientsAtOnceWithoutMixingAndStopsWhenItsAliveFileGoes) {
  TestSite site;
  site.UseDatabase(kKunder);
  site.WriteFile("www/kund/facts.htm", kMall);
  const std::string dir = site.root + "/server";
  const auto extra = ServerEnv(GetParam(), dir);
  std::set<pid_t> servers;
  for (int round = 0; round < 2; ++round) {
    std::vector<CgiResult> results(kFragor.size());
    std::vector<std::thread> clients;
    for (size_t i = 0; i < kFragor.size(); ++i)
      clients.emplace_back([&, i] { results[i] = site.Get(kFragor[i].query, extra); });
    for (auto& c : clients) c.join();
    for (size_t i = 0; i < kFragor.size(); ++i) {
      EXPECT_EQ(results[i].exitCode, 0);
      EXPECT_EQ(SplitResponse(results[i].out).body, kFragor[i].page) << GetParam() << " " << kFragor[i].query;
    }
    servers.insert(ServerPid(dir));
  }
  // One server served every request, and it is still alive.
  ASSERT_EQ(servers.size(), 1u);
  pid_t server = *servers.begin();
  EXPECT_TRUE(ProcessAlive(server));
  // The requests left no files behind; the server's files are private.
  std::set<std::string> left;
  for (auto& e : fs::directory_iterator(dir)) left.insert(e.path().filename().string());
  EXPECT_EQ(left, (std::set<std::string>{"vemlo3_pid", "vemlo3_s"}));
  EXPECT_EQ(fs::status(dir).permissions() & fs::perms::all, fs::perms::owner_all);
  EXPECT_EQ(site.LogFiles().size(), 2 * kFragor.size());

  fs::remove(dir + "/vemlo3_s");
  EXPECT_TRUE(WaitUntil([&] { return !ProcessAlive(server) && fs::is_empty(dir); }, 5000));
}

INSTANTIATE_TEST_SUITE_P(Modes, ResidentServer, ::testing::Values("ServerThreadMode", "ServerMode"));

TEST(ResidentServerStart, AStaleAliveFileWithoutItsServerIsReplaced) {
  TestSite site;
  site.UseDatabase(kKunder);
  site.WriteFile("www/kund/facts.htm", kMall);
  const std::string dir = site.root + "/server";
  fs::create_directories(dir);
  // A server that died: its alive file is fresh, but nobody holds its lock.
  std::ofstream(dir + "/vemlo3_s").close();
  std::ofstream(dir + "/vemlo3_pid") << "999999\n";
  site.WriteFile("www/cgi-win/vemlo3.conf", "CGIMode=ServerMode\n");
  const std::vector<std::string> extra = {"VEMLO3_SERVER_DIR=" + dir, kServerTimes};
  CgiResult r = site.Get("kundid=e5", extra);
  EXPECT_EQ(SplitResponse(r.out).body, "<html>[E5:Epsilon:E5]</html>\r\n\r\n");
  pid_t server = ServerPid(dir);
  EXPECT_NE(server, 999999);
  EXPECT_TRUE(ProcessAlive(server));
  fs::remove(dir + "/vemlo3_s");
  EXPECT_TRUE(WaitUntil([&] { return !ProcessAlive(server); }, 5000));
}

TEST(ResidentServerStart, NormalModeServesInTheProcessItself) {
  TestSite site;
  site.UseDatabase(kKunder);
  site.WriteFile("www/kund/facts.htm", kMall);
  const std::string dir = site.root + "/server";
  CgiResult r = site.Get("kundid=a1", {"VEMLO3_SERVER_DIR=" + dir});
  EXPECT_EQ(SplitResponse(r.out).body, "<html>[A1:Alfa:A1]</html>\r\n\r\n");
  EXPECT_FALSE(fs::exists(dir));
}

class ExtensionLibrary : public ::testing::TestWithParam<const char*> {};

TEST_P(ExtensionLibrary, ConcurrentRequestsOfDifferentCustomersNeverMix) {
  TestSite site;
  site.UseDatabase(kKunder);
  site.WriteFile("www/kund/facts.htm", kMall);
  std::vector<std::string> argv = {BuildDir() + "/tests/isapi_host/vemlo3_isapi_host", BuildDir() + "/libvemlo3.so",
                                   GetParam(), "4"};
  for (const auto& f : kFragor) argv.push_back(f.query);
  argv.push_back("POST:kundid=c3");
  int code = -1;
  std::string out = RunProgram(argv, site.cgiwin, code);
  EXPECT_EQ(code, 0) << out;
  // Split the host's report into the responses, by query.
  size_t seen = 0;
  for (size_t at = out.find("### "); at != std::string::npos;) {
    size_t eol = out.find('\n', at);
    std::string head = out.substr(at + 4, eol - at - 4);
    size_t next = out.find("\n### ", eol);
    std::string response = out.substr(eol + 1, (next == std::string::npos ? out.size() : next) - eol - 1);
    at = next == std::string::npos ? next : next + 1;
    if (StartsWith(head, "end")) {
      EXPECT_EQ(head, "end 0");  // the first TerminateExtension
      continue;
    }
    size_t index = std::stoul(head.substr(0, head.find(' ')));
    std::string expected = index < kFragor.size() ? kFragor[index].page : "<html>[C3:Gamma:C3]</html>\r\n\r\n";
    EXPECT_EQ(SplitResponse(response).body, expected) << head;
    EXPECT_EQ(response.substr(0, 17), "HTTP/1.1 200 OK\r\n");
    const std::string headers = SplitResponse(response).headers;
    if (std::string(GetParam()) == "wsapi") {
      // The server's header block, sent by the server itself, then the
      // engine's lines in the same block; one status line.
      EXPECT_EQ(headers.substr(0, 39), "HTTP/1.1 200 OK\r\nServer: Testhost/1.0\r\n") << head;
      EXPECT_EQ(headers.find("HTTP/", 1), std::string::npos) << headers;
      EXPECT_NE(headers.find("\r\ncontent-type: text/html\r\n"), std::string::npos) << headers;
    }
    ++seen;
  }
  EXPECT_EQ(seen, 4 * (kFragor.size() + 1));
  EXPECT_EQ(site.LogFiles().size(), 4 * (kFragor.size() + 1));
}

INSTANTIATE_TEST_SUITE_P(Interfaces, ExtensionLibrary, ::testing::Values("isapi", "wsapi"));

TEST_P(ExtensionLibrary, ABodyOverTheOperatorsLimitIsRefused) {
  TestSite site;
  site.UseDatabase(kKunder);
  site.WriteFile("www/kund/facts.htm", kMall);
  site.WriteFile("www/cgi-win/vemlo3.conf", "MaxBody=20\n");
  std::vector<std::string> argv = {BuildDir() + "/tests/isapi_host/vemlo3_isapi_host", BuildDir() + "/libvemlo3.so",
                                   GetParam(), "1", "POST:kundid=c3", "POST:kundid=c3&vad=" + std::string(20, 'K')};
  int code = -1;
  std::string out = RunProgram(argv, site.cgiwin, code);
  EXPECT_EQ(code, 0) << out;
  size_t second = out.find("### 1 ");
  ASSERT_NE(second, std::string::npos) << out;
  size_t first = out.find("### 0 ");
  ASSERT_NE(first, std::string::npos) << out;
  const std::string a = out.substr(first, out.find("\n### ", first + 1) - first);
  const std::string b = out.substr(second, out.find("\n### ", second + 1) - second);
  EXPECT_NE(a.find("[C3:Gamma:C3]"), std::string::npos) << a;
  EXPECT_NE(b.find("Unhandled Exception: Content length exceeds allowed limit"), std::string::npos) << b;
  EXPECT_EQ(b.find("Gamma"), std::string::npos) << b;
}

// Clients and servers that only look for files in rounds (VEMLO3_NO_INOTIFY)
// and those that watch the folder serve each other in both directions.
TEST(ResidentServerKinds, APollingSideAndAWatchingSideServeEachOther) {
  TestSite site;
  site.UseDatabase(kKunder);
  site.WriteFile("www/kund/facts.htm", kMall);
  const std::string dir = site.root + "/server";
  const auto watching = ServerEnv("ServerMode", dir);
  std::vector<std::string> polling = watching;
  polling.push_back("VEMLO3_NO_INOTIFY=1");
  struct Step {
    const std::vector<std::string>& starter;  // the client that starts the server
    const std::vector<std::string>& other;    // a client of the other kind
    bool serverWatches;
  };
  for (const Step& step : {Step{polling, watching, false}, Step{watching, polling, true}}) {
    CgiResult first = site.Get("kundid=e5", step.starter);
    EXPECT_EQ(SplitResponse(first.out).body, "<html>[E5:Epsilon:E5]</html>\r\n\r\n");
    pid_t server = ServerPid(dir);
    ASSERT_TRUE(ProcessAlive(server));
    EXPECT_EQ(Watches(server), step.serverWatches);
    for (const auto* env : {&step.other, &step.starter}) {
      CgiResult r = site.Get("kundid=b2&kundid=a1", *env);
      EXPECT_EQ(r.exitCode, 0);
      EXPECT_EQ(SplitResponse(r.out).body, "<html>[A1:Alfa:A1][B2:Beta:B2]</html>\r\n\r\n") << step.serverWatches;
    }
    EXPECT_EQ(ServerPid(dir), server);
    EXPECT_TRUE(StopServer(dir));
  }
  // Every request was answered by the server, none by its client.
  EXPECT_EQ(EngineLog(site).find("no answer"), std::string::npos) << EngineLog(site);
  EXPECT_EQ(site.LogFiles().size(), 6u);
}

// The server hangs (still holding its lock) while `request` waits for it,
// and dies once the request file is published; the request's result.
CgiResult WhileTheServerDies(const std::string& dir, pid_t server, const std::function<CgiResult()>& request) {
  CgiResult waiting;
  if (kill(server, SIGSTOP) != 0) {
    ADD_FAILURE() << "the server could not be stopped";
    return waiting;
  }
  std::thread client([&] { waiting = request(); });
  bool published = WaitUntil([&] {
    for (auto& e : fs::directory_iterator(dir))
      if (EndsWith(e.path().filename().string(), "_REQ")) return true;
    return false;
  }, 10000);
  kill(server, SIGKILL);
  client.join();
  EXPECT_TRUE(published);
  return waiting;
}

TEST(ResidentServerStart, AServerKilledWhileARequestWaitsLeavesItToTheClient) {
  TestSite site;
  site.UseDatabase(kKunder);
  site.WriteFile("www/kund/facts.htm", kMall);
  const std::string dir = site.root + "/server";
  const auto extra = ServerEnv("ServerThreadMode", dir);
  EXPECT_EQ(SplitResponse(site.Get("kundid=e5", extra).out).body, "<html>[E5:Epsilon:E5]</html>\r\n\r\n");
  pid_t server = ServerPid(dir);
  ASSERT_TRUE(ProcessAlive(server));
  // The server hangs (still holding its lock) while a request waits for it,
  // and then dies.
  CgiResult waiting = WhileTheServerDies(dir, server, [&] { return site.Get("kundid=c3", extra); });
  EXPECT_EQ(waiting.exitCode, 0);
  EXPECT_EQ(SplitResponse(waiting.out).body, "<html>[C3:Gamma:C3]</html>\r\n\r\n");
  EXPECT_NE(EngineLog(site).find("no answer from the server"), std::string::npos);
  // The next request starts a new server.
  EXPECT_EQ(SplitResponse(site.Get("kundid=d4", extra).out).body, "<html>[D4:Delta:D4]</html>\r\n\r\n");
  EXPECT_NE(ServerPid(dir), server);
  EXPECT_TRUE(StopServer(dir));
}

TEST(ResidentServerStart, APostedBodyReadForTheHandOverIsServedHereWhenTheServerDies) {
  TestSite site;
  site.UseDatabase(kKunder);
  site.WriteFile("www/kund/facts.htm", kMall);
  const std::string dir = site.root + "/server";
  const auto extra = ServerEnv("ServerMode", dir);
  EXPECT_EQ(SplitResponse(site.Post("kundid=e5", "", extra).out).body, "<html>[E5:Epsilon:E5]</html>\r\n\r\n");
  pid_t server = ServerPid(dir);
  ASSERT_TRUE(ProcessAlive(server));
  CgiResult waiting = WhileTheServerDies(dir, server, [&] { return site.Post("kundid=c3&kundid=f6", "", extra); });
  EXPECT_EQ(waiting.exitCode, 0);
  // The body had been read from standard input already: the page shows it.
  EXPECT_EQ(SplitResponse(waiting.out).body, "<html>[C3:Gamma:C3][F6:Zeta:F6]</html>\r\n\r\n");
  EXPECT_NE(EngineLog(site).find("no answer from the server"), std::string::npos);
  // Served once, here: the client did not hand it over a second time.
  EXPECT_EQ(site.LogFiles().size(), 2u);
  EXPECT_FALSE(ProcessAlive(server));
}

// A body over the operator's limit is neither read for the hand-over nor
// handed over: the process refuses it as it would without a server.
TEST(ResidentServerStart, ABodyOverTheLimitIsRefusedWithoutAHandOver) {
  TestSite site;
  site.UseDatabase(kKunder);
  site.WriteFile("www/kund/facts.htm", kMall);
  site.WriteFile("www/cgi-win/vemlo3.conf", "MaxBody=100\n");
  const std::string dir = site.root + "/server";
  const auto extra = ServerEnv("ServerMode", dir);
  CgiResult r = site.Post("kundid=e5&vad=" + std::string(100, 'K'), "", extra);
  EXPECT_NE(r.out.find("Content length exceeds allowed limit"), std::string::npos) << r.out;
  EXPECT_FALSE(fs::exists(dir + "/vemlo3_s"));  // no server was started for it
  // Within the limit the request goes to the server.
  EXPECT_EQ(SplitResponse(site.Post("kundid=e5", "", extra).out).body, "<html>[E5:Epsilon:E5]</html>\r\n\r\n");
  pid_t server = ServerPid(dir);
  EXPECT_TRUE(ProcessAlive(server));
  fs::remove(dir + "/vemlo3_s");
  EXPECT_TRUE(WaitUntil([&] { return !ProcessAlive(server); }, 5000));
}

// ---------------------------------------------------------------- request threads of the thread mode

namespace {
std::vector<std::string> ThreadModeEnv(const std::string& dir, int threads) {
  return {"VEMLO3_CGIMODE=ServerThreadMode", "VEMLO3_SERVER_DIR=" + dir,
          "VEMLO3_SERVER_THREADS=" + std::to_string(threads), kServerTimes};
}

size_t ThreadCount(pid_t pid) {
  size_t n = 0;
  std::error_code ec;
  const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
  for (auto it = fs::directory_iterator(tasks, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) ++n;
  return n;
}

// The bodies of `queries.size()` clients started at once.
std::vector<std::string> PagesAtOnce(const TestSite& site, const std::vector<std::string>& queries,
                                     const std::vector<std::string>& env) {
  std::vector<std::string> pages(queries.size());
  std::vector<std::thread> clients;
  for (size_t i = 0; i < queries.size(); ++i)
    clients.emplace_back([&, i] { pages[i] = SplitResponse(site.Get(queries[i], env).out).body; });
  for (auto& c : clients) c.join();
  return pages;
}

void ExecSqlite(const std::string& db, const std::string& sql) {
  sqlite3* h = nullptr;
  ASSERT_EQ(sqlite3_open(db.c_str(), &h), SQLITE_OK);
  sqlite3_busy_timeout(h, 10000);
  char* err = nullptr;
  EXPECT_EQ(sqlite3_exec(h, sql.c_str(), nullptr, nullptr, &err), SQLITE_OK) << (err ? err : "");
  sqlite3_free(err);
  sqlite3_close(h);
}

// A template published as operators publish one: written beside it, then
// renamed over it.
void PublishTemplate(const TestSite& site, const std::string& relPath, const std::string& text) {
  site.WriteFile(relPath + ".new", text);
  fs::rename(site.root + "/" + relPath + ".new", site.root + "/" + relPath);
}
}  // namespace

TEST(ServerThreads, ManyHandOversAtOnceAreAllAnsweredByAFixedSetOfThreads) {
  TestSite site;
  site.UseDatabase(kKunder);
  site.WriteFile("www/kund/facts.htm", kMall);
  const std::string dir = site.root + "/server";
  const auto env = ThreadModeEnv(dir, 3);
  ASSERT_EQ(SplitResponse(site.Get("kundid=e5", env).out).body, "<html>[E5:Epsilon:E5]</html>\r\n\r\n");
  pid_t server = ServerPid(dir);
  ASSERT_TRUE(ProcessAlive(server));
  // 14 clients at once stay below the limit of pending files (a request
  // being served has two: the claimed request and its response).
  std::vector<std::string> queries;
  for (size_t i = 0; i < 14; ++i) queries.push_back(kFragor[i % kFragor.size()].query);
  std::atomic<bool> busy{true};
  size_t most = 0;
  std::thread counter([&] {
    while (busy) {
      most = std::max(most, ThreadCount(server));
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });
  for (int round = 0; round < 3; ++round) {
    std::vector<std::string> pages = PagesAtOnce(site, queries, env);
    for (size_t i = 0; i < queries.size(); ++i)
      EXPECT_EQ(pages[i], kFragor[i % kFragor.size()].page) << round << " " << queries[i];
  }
  busy = false;
  counter.join();
  // The main thread, the heartbeat and the three request threads, however
  // many requests came at once.
  EXPECT_LE(most, 5u);
  EXPECT_GE(most, 3u);
  EXPECT_EQ(ServerPid(dir), server);
  EXPECT_EQ(EngineLog(site).find("no answer"), std::string::npos) << EngineLog(site);
  EXPECT_EQ(site.LogFiles().size(), 1 + 3 * queries.size());
  EXPECT_TRUE(StopServer(dir));
}

TEST(ServerThreads, AChangedTemplateAndDatabaseAreSeenByThreadsThatServedBefore) {
  TestSite site;
  site.UseSqlite(std::string(kKunder) + "INSERT INTO Sprk(TextS,TextE) VALUES('personer','people');");
  site.WriteFile("www/kund/e/facts.htm",
                 "<html><!--START--><!--HAMTATEXT(personer)-->|<!--NAMN--><!--SLUT--></html>\n");
  const std::string dir = site.root + "/server";
  const auto env = ThreadModeEnv(dir, 2);
  const std::vector<std::string> four(4, "kundid=a1&sprak=e");
  // Every request thread has served the page and keeps it warm.
  for (int round = 0; round < 3; ++round)
    for (const auto& page : PagesAtOnce(site, four, env)) EXPECT_EQ(page, "<html>people|Alfa</html>\r\n\r\n");
  pid_t server = ServerPid(dir);

  PublishTemplate(site, "www/kund/e/facts.htm",
                  "<p><!--START--><!--NAMN-->/<!--HAMTATEXT(personer)--><!--SLUT--></p>\n");
  ExecSqlite(site.root + "/www/test.db",
             "BEGIN; UPDATE Sprk SET TextE='persons' WHERE TextS='personer';"
             " UPDATE Kund SET Ftagnamn='Alfred' WHERE Kundid='A1'; COMMIT;");
  for (int round = 0; round < 2; ++round)
    for (const auto& page : PagesAtOnce(site, four, env)) EXPECT_EQ(page, "<p>Alfred/persons</p>\r\n\r\n");
  EXPECT_EQ(ServerPid(dir), server);
  EXPECT_TRUE(StopServer(dir));
}

TEST(ServerThreads, ARequestOnAThreadKeepsNothingOfTheRequestBefore) {
  TestSite site;
  site.UseDatabase(kKunder);
  site.WriteFile("www/kund/facts.htm", kMall);
  site.WriteFile("www/kund/e/facts.htm", "<en><!--START-->(<!--NAMN-->)<!--SLUT--></en>\n");
  const std::string dir = site.root + "/server";
  // One request thread: every request after the first runs where the one
  // before it ran.
  const auto env = ThreadModeEnv(dir, 1);
  const std::string plain = SplitResponse(site.Get("kundid=e5").out).body;  // served by a process of its own
  ASSERT_EQ(plain, "<html>[E5:Epsilon:E5]</html>\r\n\r\n");
  for (const char* before : {"kundid=b2&kundid=a1&kundid=c3&sprak=e", "kundid=d4&sprak=d&antal=1", "felaktig=%zz"}) {
    CgiResult first = site.Get(before, env);
    EXPECT_EQ(first.exitCode, 0);
    EXPECT_EQ(SplitResponse(site.Get("kundid=e5", env).out).body, plain) << "after " << before;
  }
  EXPECT_EQ(SplitResponse(site.Get("kundid=a1&kundid=b2&sprak=e", env).out).body, "<en>(Alfa)(Beta)</en>\r\n\r\n");
  EXPECT_TRUE(StopServer(dir));
}
