// The program run as a web server runs it: the request log, the error
// pages, and the engine's refusals, checked byte for byte.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <thread>

#include "support/Site.h"

namespace {
std::string Section(const std::string& log, const std::string& name) {
  size_t b = log.find("[" + name + "]\r\n");
  if (b == std::string::npos) return "<missing>";
  b += name.size() + 4;
  size_t e = log.find("\r\n[", b);
  return log.substr(b, e == std::string::npos ? std::string::npos : e + 2 - b);
}
}  // namespace

TEST(RequestLog, BadCallLogsItsDefaultsAndCloses) {
  TestSite site;
  site.UseDatabase();
  CgiResult r = site.Get("", {}, "2009-06-30 14:05:09", true);  // a busy machine may take a second
  EXPECT_EQ(r.exitCode, 0);
  auto logs = site.LogFiles();
  ASSERT_EQ(logs.size(), 1u);
  EXPECT_EQ(logs[0], site.cgilog + "/20090629-20090630/20090630_140509.log");
  std::string log = site.ReadFile(logs[0]);
  EXPECT_EQ(log.substr(0, log.find("[PARAMETRAR]")),
            "[ID]\r\nprogram=vemlo3\r\ndatum=2009-06-30\r\ntid=14:05:09\r\nremoteaddress=10.0.0.7\r\n"
            "remotehost=\r\npath_info=\r\nquery_string=\r\nurl=/cgi-win/vemlo3.exe\r\nhttp_referer=\r\n");
  EXPECT_EQ(Section(log, "PARAMETRAR"),
            "funktion=FAKTA\r\nmall=ERROR\r\nsprak=S\r\nstylesheet=/csslib/vexa2.css\r\nUppdateradDagar=7\r\n");
  EXPECT_EQ(Section(log, "STATUS"), "klart=2009-06-30,14:05:09\r\n");
}

TEST(RequestLog, ParametersInTheirOrderWithListsOnePerValue) {
  TestSite site;
  site.UseDatabase();
  site.Get("kundid=a1&kundid=b2&Vad=k&antal=25&sprak=e&debug=j&Omrade=03&Funktion=tips&ArMan=0905", {},
           "2009-05-14 08:03:09");
  auto logs = site.LogFiles();
  ASSERT_EQ(logs.size(), 1u);
  std::string log = site.ReadFile(logs[0]);
  EXPECT_EQ(Section(log, "PARAMETRAR"),
            "vad=K\r\nfunktion=TIPS\r\nmall=facts\r\nkundid=A1\r\nkundid=B2\r\nomrade=03\r\nsprak=E\r\n"
            "antal=25\r\narman=0905\r\nstylesheet=/csslib/vexa2.css\r\nUppdateradDagar=7\r\nDebug=J\r\n");
}

TEST(RequestLog, WeekDirectoriesNeverSpanTwoMonths) {
  struct Case {
    const char* when;
    const char* dir;
  } cases[] = {
      {"2009-07-01 09:00:00", "20090701-20090705"},  // Wednesday, the week began in June
      {"2009-07-05 09:00:00", "20090701-20090705"},  // Sunday: the week of the Monday before
      {"2009-11-01 09:00:00", "20091101-20091101"},  // a Sunday on the first of the month
      {"2024-02-29 23:59:59", "20240226-20240229"},  // leap day, week cut at the month end
  };
  for (const auto& c : cases) {
    TestSite site;
    site.UseDatabase();
    site.Get("", {}, c.when, true);  // frozen: 23:59:59 must not pass into the next day
    auto logs = site.LogFiles();
    ASSERT_EQ(logs.size(), 1u) << c.when;
    EXPECT_EQ(std::filesystem::path(logs[0]).parent_path().filename().string(), c.dir) << c.when;
  }
}

TEST(RequestLog, TwoRequestsInOneSecondGetTwoFiles) {
  TestSite site;
  site.UseDatabase();
  site.Get("", {}, "2009-06-30 10:00:00", true);
  site.Get("", {}, "2009-06-30 10:00:00", true);
  auto logs = site.LogFiles();
  ASSERT_EQ(logs.size(), 2u);
  EXPECT_EQ(std::filesystem::path(logs[0]).filename(), "20090630_100000.log");
  std::string second = std::filesystem::path(logs[1]).filename().string();
  EXPECT_TRUE(second.rfind("20090630_100000_", 0) == 0) << second;
}

TEST(RequestLog, RequestValuesCannotForgeLinesOrSections) {
  TestSite site;
  site.UseDatabase();
  site.Get("vad=x%0D%0A%5BSTATUS%5D%0D%0Aklart%3Dnu&mall=a%0Ab", {"HTTP_REFERER=http://x/\r\n[KUND]"});
  auto logs = site.LogFiles();
  ASSERT_EQ(logs.size(), 1u);
  std::string log = site.ReadFile(logs[0]);
  EXPECT_NE(log.find("vad=X  [STATUS]  KLART=NU\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("mall=ERROR\r\n"), std::string::npos);
  size_t statusCount = 0;
  for (size_t p = log.find("\r\n[STATUS]"); p != std::string::npos; p = log.find("\r\n[STATUS]", p + 1)) ++statusCount;
  EXPECT_EQ(statusCount, 1u);
}

TEST(ErrorPage, MissingConnectionFileEndsInTheDriversPage) {
  TestSite site;
  CgiResult r = site.Get("kundid=1");
  Response resp = SplitResponse(r.out);
  EXPECT_EQ(resp.headers.substr(0, 17), "HTTP/1.1 200 OK\r\n");
  EXPECT_EQ(resp.body.substr(0, 125),
            "<html><body><h2>Fel i programmet</h2>Det har uppst&aring;tt ett fel vid k&ouml;rningen av detta "
            "program.<br>V&auml;nta en stu");
  EXPECT_NE(resp.body.find("\r\n<!--\r\nMessage="), std::string::npos);
  EXPECT_NE(resp.body.find("\r\nHelpContext=0\r\n-->\r\n</body></html>"), std::string::npos);
  EXPECT_TRUE(site.LogFiles().empty());
}

TEST(ErrorPage, FailureAfterTheLogOpenedLeavesItWithoutStatus) {
  TestSite site;
  site.WriteFile("www/cgi-win/dbconnect.txt", "Provider=SQLite;Data Source=../no/such/dir/x.db\r\n");
  CgiResult r = site.Get("kundid=1");
  EXPECT_NE(r.out.find("Fel i programmet"), std::string::npos);
  auto logs = site.LogFiles();
  ASSERT_EQ(logs.size(), 1u);
  std::string log = site.ReadFile(logs[0]);
  EXPECT_NE(log.find("[KUND]\r\n"), std::string::npos);
  EXPECT_EQ(log.find("[STATUS]"), std::string::npos);
}

TEST(ErrorPage, MissingLogFolderEndsInTheDriversPageBeforeAnySearch) {
  TestSite site;
  site.UseDatabase();
  std::filesystem::remove_all(site.cgilog);
  CgiResult r = site.Get("kundid=1");
  EXPECT_NE(r.out.find("Fel i programmet"), std::string::npos);
  EXPECT_NE(r.out.find("Message=Cannot create file"), std::string::npos);
}

TEST(EngineRefusal, MultipartIsRefusedAndLogged) {
  TestSite site;
  site.UseDatabase();
  CgiRequest req;
  req.env = site.Env("POST", "", {"CONTENT_TYPE=multipart/form-data; boundary=XyZ"}, 9);
  req.body = "--XyZ--\r\n";
  req.cwd = site.cgiwin;
  CgiResult r = RunCgi(req);
  EXPECT_EQ(r.out,
            "HTTP/1.1 200 OK\r\ncontent-type: text/html\r\n\r\n"
            "<html><body>Unhandled Exception: Method not allowed (PUT)</body></html>\r\n");
  std::string engineLog = site.ReadFile(site.root + "/enginelog/vemlo3.Log");
  EXPECT_NE(engineLog.find(" : Unhandled Exception: Method not allowed (PUT)\r\n"), std::string::npos) << engineLog;
  EXPECT_TRUE(site.LogFiles().empty());
}

TEST(EngineRefusal, PostedFieldsAreRead) {
  TestSite site;
  site.UseDatabase();
  CgiResult r = site.Post("Funktion=tips&ArMan=0912", "sprak=d");
  auto logs = site.LogFiles();
  ASSERT_EQ(logs.size(), 1u);
  std::string log = site.ReadFile(logs[0]);
  EXPECT_NE(log.find("funktion=TIPS\r\n"), std::string::npos);
  EXPECT_NE(log.find("sprak=D\r\n"), std::string::npos);
  EXPECT_NE(log.find("arman=0912\r\n"), std::string::npos);
}

TEST(RequestBody, StalledBodyEndsTheProcessAfterTheReadTimeout) {
  TestSite site;
  site.UseDatabase();
  CgiRequest req;
  // A client that announces 100 bytes, sends 5 and then nothing, without
  // closing its side: far below the size at which a watchdog used to start.
  req.env = site.Env("POST", "", {"CGI_READ_TIMEOUT=1"}, 100);
  req.body = "a=1&b";
  req.holdInput = true;
  req.cwd = site.cgiwin;
  auto start = std::chrono::steady_clock::now();
  CgiResult r = RunCgi(req);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 10.0);
  EXPECT_GE(seconds, 0.9);
  EXPECT_EQ(r.out, "");
  EXPECT_TRUE(site.LogFiles().empty());
}

TEST(RequestLog, RacingRequestsOfOneSecondNeverShareAFile) {
  TestSite site;
  site.UseDatabase();
  constexpr int kAntal = 8;
  std::vector<std::thread> threads;
  for (int i = 0; i < kAntal; ++i)
    threads.emplace_back([&site, i] { site.Get("vad=" + std::to_string(i), {}, "2009-06-30 10:00:00", true); });
  for (auto& t : threads) t.join();
  auto logs = site.LogFiles();
  ASSERT_EQ(logs.size(), static_cast<size_t>(kAntal));
  std::set<std::string> vad;
  for (const auto& f : logs) {
    std::string log = site.ReadFile(f);
    size_t p = log.find("\r\nvad=");
    ASSERT_NE(p, std::string::npos) << f;
    vad.insert(log.substr(p + 6, log.find("\r\n", p + 2) - p - 6));
    EXPECT_NE(log.find("[STATUS]"), std::string::npos);
  }
  EXPECT_EQ(vad.size(), static_cast<size_t>(kAntal));
}
