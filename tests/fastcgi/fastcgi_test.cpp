// The program as a resident FastCGI server, driven over the protocol by the
// tests' own client on the demo site: one worker serves every kind of page
// in turn exactly as fresh CGI processes do; bad input ends in the error page
// or a closed request, never in a dead worker or a wrong page for the next
// visitor; the request limit and the stop signals end the process cleanly.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <random>
#include <regex>
#include <set>
#include <sqlite3.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include "support/CgiRunner.h"
#include "support/FcgiClient.h"
#include "support/Site.h"

namespace fs = std::filesystem;

namespace {

// The demo site, built once for all tests of this program.
class DemoSite {
public:
  static DemoSite& Get() {
    static DemoSite site;
    return site;
  }
  std::string root, cgiwin;
  std::vector<std::string> customers;  // every customer the site shows

  // Server variables of a request as the web server gives them (the same
  // for CGI, as environment, and for FastCGI, as parameters).
  std::vector<std::string> Vars(const std::string& method, const std::string& query, size_t contentLength = 0,
                                const std::vector<std::string>& extra = {}) const {
    std::vector<std::string> v = WebServerVariables(method, query, contentLength);
    for (const auto& e : extra) v.push_back(e);
    return v;
  }
  // The page as a fresh CGI process gives it.
  std::string Cgi(const std::string& method, const std::string& query, const std::string& body = "") const {
    CgiRequest req;
    req.env = Vars(method, query, body.size());
    req.cwd = cgiwin;
    req.body = body;
    return RunCgi(req).out;
  }

private:
  DemoSite() {
    char tmpl[] = "/tmp/vemlo3-fcgidemo-XXXXXX";
    if (!mkdtemp(tmpl)) throw std::runtime_error("mkdtemp");
    root = tmpl;
    std::string cmd = std::string(VEMLO_SOURCE_DIR) + "/site/make-site.sh '" + root + "' '" + VEMLO_BINARY +
                      "' 18999 >/dev/null";
    if (UsePostgres()) cmd = "VEMLO_DBCONNECT='" + pgLine_ + "' " + cmd;
    if (std::system(cmd.c_str()) != 0) throw std::runtime_error("make-site.sh failed");
    cgiwin = root + "/www/cgi-win";
    sqlite3* db = nullptr;
    sqlite3_open((root + "/data/vemlo.db").c_str(), &db);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT Kundid FROM Kund WHERE Status <> 'X' ORDER BY Kundid", -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW) customers.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    sqlite3_close(db);
  }
  // With VEMLO_TEST_BACKEND=PostgreSQL the demo data goes into a database
  // of its own on the test run's server (as the PostgreSQL demo test loads
  // it), and the site's connection line names it.
  bool UsePostgres() {
    const char* backend = getenv("VEMLO_TEST_BACKEND");
    const char* line = getenv("VEMLO_PG_CONNINFO");
    if (!backend || std::string(backend) != "PostgreSQL" || !line || !*line) return false;
    std::string l = line;
    auto val = [&](const std::string& key, const std::string& def) {
      std::smatch m;
      return std::regex_search(l, m, std::regex("(^|;)" + key + "=([^;]*)", std::regex::icase)) ? m[2].str() : def;
    };
    std::string host = val("host", "127.0.0.1"), port = val("port", "5432"), user = val("user", "postgres");
    pgDatabase_ = "vemlofcgi" + std::to_string(getpid());  // unquoted names are lower case
    pgConn_ = "-h '" + host + "' -p '" + port + "' -U '" + user + "'";
    std::string create = "psql -X -q -v ON_ERROR_STOP=1 " + pgConn_ + " -d postgres -c \"CREATE DATABASE " +
                         pgDatabase_ + " TEMPLATE template0 ENCODING 'UTF8'\" >/dev/null && " + VEMLO_SOURCE_DIR +
                         "/db/load_pg.sh " + pgConn_ + " -d " + pgDatabase_ + " >/dev/null";
    if (std::system(create.c_str()) != 0) throw std::runtime_error("loading the demo into PostgreSQL failed");
    pgLine_ = "Provider=PostgreSQL;host=" + host + ";port=" + port + ";dbname=" + pgDatabase_ + ";user=" + user;
    return true;
  }
  std::string pgDatabase_, pgConn_, pgLine_;

  ~DemoSite() {
    if (!pgDatabase_.empty()) {
      std::string drop = "psql -X -q " + pgConn_ + " -d postgres -c \"DROP DATABASE IF EXISTS " + pgDatabase_ +
                         " WITH (FORCE)\" >/dev/null 2>&1";
      if (std::system(drop.c_str()) != 0) std::fprintf(stderr, "could not drop %s\n", pgDatabase_.c_str());
    }
    std::error_code ec;
    fs::remove_all(root, ec);
  }
};

// What may differ between two servings of the same request: the clock,
// the request id (and the session value made from it) and the way the
// status travels (a FastCGI responder always sends "Status:").
std::string Masked(std::string page) {
  static const std::regex stamp("[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}");
  static const std::regex clock("[0-9]{2}:[0-9]{2}:[0-9]{2}");
  static const std::regex id("10\\.0\\.0\\.7-1[0-9]{4}");
  if (page.rfind("HTTP/1.1 ", 0) == 0) page = "Status: " + page.substr(9);
  page = std::regex_replace(page, stamp, "<time>");
  page = std::regex_replace(page, clock, "<time>");
  return std::regex_replace(page, id, "<id>");
}

struct Page {
  std::string method, query, body;
};

// Every kind of page of the demo: each customer in three languages, the
// searches, the tips in three languages, a hidden customer, the bad call,
// Debug on and off, a posted search.
std::vector<Page> DemoPages() {
  const DemoSite& d = DemoSite::Get();
  std::vector<Page> pages;
  int n = 0;
  for (const auto& id : d.customers) {
    for (const char* s : {"s", "e", "d"}) {
      std::string q = "kundid=" + id + "&sprak=" + s + "&visakontaktinfo=j&xkntkundid=1025&antal=12";
      // Every seventh page also with the statements echoed.
      if (++n % 7 == 0) q += "&debug=j";
      pages.push_back({"GET", q, ""});
    }
  }
  for (std::string q : {"vad=K&omrade=01&omrade=03&omrade=12&omrade=14&omrade=23&mall=lista",
                        "omrade=SS&omrade=SG&omrade=SM&mall=lista", "kommun=2062&kommun=2080&mall=lista&sprak=e",
                        "vad=J&omrade=SS&omrade=19&mall=lista&sprak=d", "mall=lista&undhgenre=DR",
                        "mall=lista&fdaginriktning=LE", "ftagnamn=g%E5rd&mall=lista", "niva=%3E1&mall=lista",
                        "kedja=NH&mall=lista"}) {
    pages.push_back({"GET", q, ""});
    pages.push_back({"GET", q + "&debug=j", ""});
  }
  for (const char* s : {"s", "e", "d"}) pages.push_back({"GET", std::string("funktion=tips&mall=tips&sprak=") + s, ""});
  pages.push_back({"GET", "funktion=tips&mall=tips&debug=j", ""});
  pages.push_back({"GET", "kundid=1037", ""});
  pages.push_back({"GET", "", ""});
  pages.push_back({"GET", "debug=j", ""});
  pages.push_back({"POST", "", "vad=K&omrade=01&mall=lista&sprak=e"});
  return pages;
}

FcgiResponse Fetch(FcgiServer& server, const Page& p, const std::vector<std::string>& extra = {}) {
  return server.Request(DemoSite::Get().Vars(p.method, p.query, p.body.size(), extra), p.body);
}

std::vector<std::string> OneWorker(const std::vector<std::string>& more = {}) {
  std::vector<std::string> env = {"VEMLO3_FCGI_THREADS=1"};
  env.insert(env.end(), more.begin(), more.end());
  return FcgiProgramEnv(env);
}

const Page kFactPage{"GET", "kundid=1001&sprak=e&visakontaktinfo=j", ""};

}  // namespace

// One worker thread, every page of the demo in a shuffled order: each is
// byte for byte the page of a fresh CGI process, so nothing of one request
// (parameter, colour, tab, customer, flag, language, Debug) reaches the next.
TEST(FastCgiIsolation, OneWorkerServesEveryDemoPageAsAFreshCgiProcess) {
  std::vector<Page> pages = DemoPages();
  ASSERT_GE(pages.size(), 120u);
  std::vector<std::string> expected;
  for (const auto& p : pages) expected.push_back(Masked(DemoSite::Get().Cgi(p.method, p.query, p.body)));

  unsigned seed = std::random_device{}();
  std::vector<size_t> order(pages.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::shuffle(order.begin(), order.end(), std::mt19937(seed));

  FcgiServer server(DemoSite::Get().cgiwin, OneWorker());
  int failures = 0;
  for (size_t i : order) {
    FcgiResponse r = Fetch(server, pages[i]);
    ASSERT_TRUE(r.ended) << pages[i].query;
    if (Masked(r.out) != expected[i] && ++failures <= 3)
      ADD_FAILURE() << "seed " << seed << ", page " << pages[i].method << " ?" << pages[i].query << "\n--- FastCGI\n"
                    << Masked(r.out).substr(0, 3000) << "\n--- CGI\n" << expected[i].substr(0, 3000);
  }
  EXPECT_EQ(failures, 0) << "seed " << seed;
  EXPECT_EQ(server.Stop(SIGTERM), 0);
}

// Bad input of every kind on the one worker; after each, the next visitor
// gets the right page from the same, still living worker.
TEST(FastCgiBadInput, EndsInTheErrorPageOrAClosedRequestAndTheNextPageIsRight) {
  const std::string expected = Masked(DemoSite::Get().Cgi(kFactPage.method, kFactPage.query));
  FcgiServer server(DemoSite::Get().cgiwin, OneWorker());
  const std::vector<std::string> vars = DemoSite::Get().Vars("GET", kFactPage.query);
  auto nextIsRight = [&](const std::string& after) {
    FcgiResponse r = Fetch(server, kFactPage);
    EXPECT_TRUE(r.ended) << "after " << after;
    EXPECT_EQ(Masked(r.out), expected) << "after " << after;
    EXPECT_TRUE(server.Running()) << "after " << after;
  };
  // Raw bytes on a connection; the answer must come (or the connection
  // close) without a hang.
  auto raw = [&](const std::string& bytes, bool closeEarly = false) {
    int fd = FcgiConnect(server.Address());
    EXPECT_GE(fd, 0);
    FcgiSend(fd, bytes);
    if (closeEarly) shutdown(fd, SHUT_WR);
    FcgiResponse r = FcgiReadResponse(fd, 40000);
    close(fd);
    return r;
  };

  std::string begin = FcgiRequestBytes({}, "", 1).substr(0, 16);
  struct Case {
    const char* what;
    std::string bytes;
  };
  std::string params = FcgiRequestBytes(vars, "");
  std::vector<Case> malformed = {
      {"an HTTP request instead of records", "GET / HTTP/1.0\r\nHost: x\r\n\r\n"},
      {"a wrong protocol version", std::string(1, char(9)) + params.substr(1)},
      {"a header cut short", params.substr(0, 5)},
      {"parameters cut off mid-record", params.substr(0, 40)},
      {"a name-value pair longer than its record",
       begin + FcgiRecord(kFcgiParams, 1, FcgiNameValue("QUERY_STRING", "kundid=1001").substr(0, 8)) +
           FcgiRecord(kFcgiParams, 1, "")},
      {"a huge announced parameter that never comes",
       begin + FcgiRecord(kFcgiParams, 1, std::string("\xff\xff\xff\xf0") + "\x01" + "AB")},
      {"an unknown role", FcgiRecord(kFcgiBeginRequest, 1, std::string("\0\x07\0\0\0\0\0\0", 8)) +
                              FcgiRecord(kFcgiParams, 1, "") + FcgiRecord(kFcgiStdin, 1, "")},
      {"records before BEGIN_REQUEST", FcgiRecord(kFcgiStdin, 1, "x") + params},
      {"an unknown record type", FcgiRecord(42, 0, "xyz") + params},
  };
  for (const auto& c : malformed) {
    FcgiResponse r = raw(c.bytes, true);
    // Either the library answered the request (an ill-formed one gets the
    // engine's or the driver's page) or it closed the connection.
    EXPECT_TRUE(r.closed || r.ended) << c.what;
    nextIsRight(c.what);
  }

  // A body that ends before its CONTENT_LENGTH: the engine's error page.
  {
    std::string body = "kundid=1001&sprak=e";
    FcgiResponse r = server.Request(DemoSite::Get().Vars("POST", "", body.size() + 100), body);
    EXPECT_TRUE(r.ended);
    EXPECT_NE(r.out.find("Unhandled Exception: Request body ended after 19 of 119 bytes"), std::string::npos)
        << r.out;
    EXPECT_EQ(r.out.find("<title>"), std::string::npos) << "a page from half a request";
    nextIsRight("a short body");
  }

  // A client that goes away in the middle of the response of a long page.
  for (int i = 0; i < 3; ++i) {
    int fd = FcgiConnect(server.Address());
    FcgiSend(fd, FcgiRequestBytes(DemoSite::Get().Vars("GET", "omrade=SS&omrade=SG&omrade=SM&mall=lista&debug=j"), ""));
    char first[64];
    EXPECT_GT(read(fd, first, sizeof first), 0);
    close(fd);
  }
  nextIsRight("clients that went away mid-response");

  // A client that goes away while its body is still coming.
  {
    int fd = FcgiConnect(server.Address());
    FcgiSend(fd, FcgiRequestBytes(DemoSite::Get().Vars("POST", "", 5000), "kundid=1001", 1, false, false));
    close(fd);
    nextIsRight("a client that went away during its body");
  }

  // A thousand parameters: all of them server variables, the page unchanged.
  {
    std::vector<std::string> many;
    for (int i = 0; i < 1000; ++i) many.push_back("HTTP_X_FILL_" + std::to_string(i) + "=" + std::string(50, 'v'));
    FcgiResponse r = Fetch(server, kFactPage, many);
    EXPECT_TRUE(r.ended);
    EXPECT_EQ(Masked(r.out), expected);
    nextIsRight("a thousand parameters");
  }
  EXPECT_EQ(server.Stop(SIGTERM), 0);
}

// Server variables come from the request alone: a variable of the process
// environment never shows as one of the request.
TEST(FastCgiRequest, ServerVariablesAreTheRequestsParametersOnly) {
  // QUERY_STRING in the program's own environment names another customer.
  FcgiServer server(DemoSite::Get().cgiwin, OneWorker({"QUERY_STRING=kundid=1002", "REMOTE_ADDR=10.9.9.9"}));
  FcgiResponse r = server.Request({"REQUEST_METHOD=GET", "SERVER_SOFTWARE=lighttpd/1.4.69", "QUERY_STRING="});
  ASSERT_TRUE(r.ended);
  EXPECT_NE(r.out.find("Felaktigt anrop"), std::string::npos) << r.out.substr(0, 2000);
  EXPECT_EQ(r.out.find("10.9.9.9"), std::string::npos);
  // The status travels as a header, as every FastCGI web server expects it.
  EXPECT_EQ(r.out.rfind("Status: 200 OK\r\n", 0), 0u) << r.out.substr(0, 200);
  EXPECT_EQ(server.Stop(SIGTERM), 0);
}

// After VEMLO3_FCGI_MAX_REQUESTS requests the process ends by itself with
// exit code 0 (the web server starts a fresh one); the socket it made is
// removed.
TEST(FastCgiLifetime, RequestLimitEndsTheProcessCleanly) {
  FcgiServer server(DemoSite::Get().cgiwin,
                    FcgiProgramEnv({"VEMLO3_FCGI_THREADS=2", "VEMLO3_FCGI_MAX_REQUESTS=3"}),
                    FcgiServer::Mode::OwnSocket);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(Fetch(server, kFactPage).ended) << i;
  EXPECT_EQ(server.Wait(20000), 0);
  EXPECT_FALSE(fs::exists(server.Address()));
}

// SIGTERM while a request is in flight: that request is finished, new
// connections are refused, the process ends with exit code 0.
TEST(FastCgiLifetime, SigtermFinishesTheRequestInFlight) {
  const std::string expected = Masked(DemoSite::Get().Cgi("POST", "", "kundid=1001&sprak=d"));
  FcgiServer server(DemoSite::Get().cgiwin, FcgiProgramEnv({"VEMLO3_FCGI_THREADS=2"}));
  std::string body = "kundid=1001&sprak=d";
  int fd = FcgiConnect(server.Address());
  ASSERT_GE(fd, 0);
  std::string bytes = FcgiRequestBytes(DemoSite::Get().Vars("POST", "", body.size()), body);
  // Everything but the last part of the body: the worker waits for it.
  size_t cut = bytes.size() - 8 - 8 - 8;  // the empty STDIN record and the last body record
  FcgiSend(fd, bytes.substr(0, cut));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  kill(server.Pid(), SIGTERM);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_TRUE(server.Running());
  FcgiSend(fd, bytes.substr(cut));
  FcgiResponse r = FcgiReadResponse(fd);
  close(fd);
  EXPECT_TRUE(r.ended);
  EXPECT_EQ(Masked(r.out), expected);
  EXPECT_EQ(server.Wait(20000), 0);
}

TEST(FastCgiLifetime, SigintEndsAnIdleProcess) {
  FcgiServer server(DemoSite::Get().cgiwin, FcgiProgramEnv({"VEMLO3_FCGI_THREADS=3"}), FcgiServer::Mode::OwnSocket);
  EXPECT_TRUE(Fetch(server, kFactPage).ended);
  EXPECT_EQ(server.Stop(SIGINT), 0);
  EXPECT_FALSE(fs::exists(server.Address()));
}

// Several workers under concurrent load: every response is the page that
// the request gets when it is served alone (under ThreadSanitizer this is
// the check of the shared state between workers).
TEST(FastCgiThreads, ConcurrentVisitorsEachGetTheirOwnPage) {
  std::vector<Page> pages = {kFactPage,
                             {"GET", "kundid=1002&sprak=d&debug=j", ""},
                             {"GET", "omrade=SS&omrade=SG&omrade=SM&mall=lista", ""},
                             {"GET", "funktion=tips&mall=tips&sprak=e", ""},
                             {"GET", "", ""},
                             {"POST", "", "vad=K&omrade=01&mall=lista&sprak=e"}};
  std::vector<std::string> expected;
  for (const auto& p : pages) expected.push_back(Masked(DemoSite::Get().Cgi(p.method, p.query, p.body)));
  FcgiServer server(DemoSite::Get().cgiwin, FcgiProgramEnv({"VEMLO3_FCGI_THREADS=4"}));
  std::atomic<int> wrong{0}, missing{0};
  std::vector<std::thread> clients;
  for (int c = 0; c < 6; ++c)
    clients.emplace_back([&, c] {
      for (int i = 0; i < 12; ++i) {
        size_t k = size_t(c + i) % pages.size();
        FcgiResponse r = Fetch(server, pages[k]);
        if (!r.ended) ++missing;
        else if (Masked(r.out) != expected[k]) ++wrong;
      }
    });
  for (auto& t : clients) t.join();
  EXPECT_EQ(missing, 0);
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(server.Stop(SIGTERM), 0);
}

// A web server that reads its answer but is slow to close its end of the
// connection does not hold the worker: with a single worker thread the next
// visitor is served at once, and the program closes the first connection by
// itself in the end. A page much larger than the library's buffer arrives
// whole.
TEST(FastCgiConnections, AWebServerSlowToCloseDoesNotHoldTheWorker) {
  // A fact page with its statements echoed: many times the library's buffer.
  const Page big{"GET", "kundid=1001&sprak=e&visakontaktinfo=j&debug=j", ""};
  const std::string expected = Masked(DemoSite::Get().Cgi(big.method, big.query));
  ASSERT_GT(expected.size(), 32768u);
  FcgiServer server(DemoSite::Get().cgiwin, OneWorker());
  int slow = FcgiConnect(server.Address());
  ASSERT_GE(slow, 0);
  ASSERT_TRUE(FcgiSend(slow, FcgiRequestBytes(DemoSite::Get().Vars(big.method, big.query), "")));
  FcgiResponse first = FcgiReadResponse(slow);
  ASSERT_TRUE(first.ended);
  EXPECT_EQ(Masked(first.out), expected);
  // The first connection stays open on this side.
  auto start = std::chrono::steady_clock::now();
  FcgiResponse next = Fetch(server, kFactPage);
  EXPECT_TRUE(next.ended);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
  // Within the linger time the program ends the first connection.
  pollfd p{slow, POLLIN, 0};
  ASSERT_EQ(poll(&p, 1, 5000), 1);
  char c;
  EXPECT_EQ(read(slow, &c, 1), 0);
  close(slow);
  EXPECT_EQ(server.Stop(SIGTERM), 0);
}

// A worker thread serves request after request within the same seconds:
// every request gets a log file of its own, whole from its first section to
// its last.
TEST(FastCgiRequestLog, EveryRequestOfOneWorkerHasItsOwnWholeLog) {
  const fs::path logRoot = fs::path(DemoSite::Get().root) / "cgilog";
  auto logs = [&] {
    std::set<std::string> files;
    std::error_code ec;
    if (fs::exists(logRoot))
      for (const auto& e : fs::recursive_directory_iterator(logRoot, ec))
        if (e.is_regular_file()) files.insert(e.path().string());
    return files;
  };
  const std::set<std::string> before = logs();
  FcgiServer server(DemoSite::Get().cgiwin, OneWorker());
  const int pages = 8;
  for (int i = 0; i < pages; ++i) EXPECT_TRUE(Fetch(server, kFactPage).ended) << i;
  EXPECT_EQ(server.Stop(SIGTERM), 0);
  std::vector<std::string> added;
  for (const auto& f : logs())
    if (!before.count(f)) added.push_back(f);
  ASSERT_EQ(added.size(), size_t(pages));
  for (const auto& f : added) {
    std::ifstream in(f, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(text.size(), 2u) << f;
    EXPECT_EQ(text.rfind("[ID]\r\nprogram=vemlo3\r\n", 0), 0u) << f;
    EXPECT_NE(text.find("\r\n[KUND]\r\nkundid=1001\r\n[STATUS]\r\nklart="), std::string::npos) << f;
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n") << f;
  }
}
