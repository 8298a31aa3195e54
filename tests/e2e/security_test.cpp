// Faults found by an outside audit, each through the program run as a web
// server runs it: the statement echo inside an attribute and for any client,
// many form fields, request values that leave a link, address parameters
// with a script scheme, bodies over the operator's limit, control characters
// in the error page.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>

#include "support/Site.h"

namespace {
const char* kKunder =
    "INSERT INTO Kund(Kundid,Ftagnamn,Status,Niva,Hemsida,Lankod) VALUES"
    "('1001','Alfa','B','1','alfa.se','01'),('1003','Gamma','B','1','','01');"
    "INSERT INTO Laen(Lankod,Lannamn) VALUES('01','Stockholms l\xC3\xA4n');";
// The demo's fact template puts the county names into a keywords attribute.
const char* kFakta =
    "<html><head><meta name=\"keywords\" content=\"<!--METAOMRADENAMN-->\"><!--STYLESHEETDEF--></head>"
    "<body<!--BAKGRUND-->><a href=\"<!--VISASIDA(index.htm)-->\">Tillbaka</a><!--START-->[<!--NAMN-->]"
    "<!--BYTSPRAK-->|<!--HEMSIDA-->|<!--NAMNLANK--><!--SLUT--></body></html>\r\n";
const char* kError = "<html><body><h1><!--FELRUBRIK--></h1><a href=\"<!--VISASIDA(/)-->\">Tillbaka</a></body></html>\r\n";

struct SecuritySite : TestSite {
  SecuritySite() {
    UseDatabase(kKunder);
    WriteFile("www/kund/facts.htm", kFakta);
    WriteFile("www/kund/ERROR.htm", kError);
  }
  void Settings(const std::string& lines) const { WriteFile("www/cgi-win/vemlo3.conf", lines); }
  std::string Log() const {
    auto logs = LogFiles();
    return logs.empty() ? std::string() : ReadFile(logs.back());
  }
};

bool Echoed(const std::string& page) { return page.find("<!--\r\nSELECT") != std::string::npos; }
bool IsEngineRefusal(const std::string& out) {
  return out.find("Unhandled Exception: Content length exceeds allowed limit") != std::string::npos;
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}
}  // namespace

TEST(DebugEcho, OnlyForTheClientsTheOperatorAllows) {
  SecuritySite site;
  const std::string q = "kundid=1001&debug=j&omrade=01";
  CgiResult r = site.Get(q);  // from 10.0.0.7
  EXPECT_NE(r.out.find("[Alfa]"), std::string::npos) << r.out;
  EXPECT_FALSE(Echoed(r.out)) << r.out;
  // The wish is in the log as the request made it.
  EXPECT_NE(site.Log().find("\r\nDebug=J\r\n"), std::string::npos) << site.Log();

  for (const char* addr : {"127.0.0.1", "::1", "::ffff:127.0.0.1"})
    EXPECT_TRUE(Echoed(site.Get(q, {std::string("REMOTE_ADDR=") + addr}).out)) << addr;

  site.Settings("DebugFran=10.0.0.7, 192.0.2.1\n");
  EXPECT_TRUE(Echoed(site.Get(q).out));
  EXPECT_FALSE(Echoed(site.Get(q, {"REMOTE_ADDR=127.0.0.1"}).out));
  site.Settings("DebugFran=*\n");
  EXPECT_TRUE(Echoed(site.Get(q, {"REMOTE_ADDR=198.51.100.4"}).out));
}

TEST(DebugEcho, RequestValuesInsideAnAttributeCannotEndIt) {
  SecuritySite site;
  CgiResult r = site.Get("kundid=1001&debug=j&omrade=x%22%3E%3Cimg%20src%3Dx%20onerror%3Dalert(1)%3E%26%3C",
                         {"REMOTE_ADDR=127.0.0.1"});
  Response resp = SplitResponse(r.out);
  ASSERT_TRUE(Echoed(resp.body)) << resp.body;
  // The echo stands inside the keywords attribute; the value in it neither
  // ends the attribute nor opens an element.
  size_t attr = resp.body.find("content=\"");
  ASSERT_NE(attr, std::string::npos);
  size_t end = resp.body.find('"', attr + 9);
  const std::string inside = resp.body.substr(attr + 9, end - attr - 9);
  EXPECT_NE(inside.find("'X&#34;&#62;&#60;IMG SRC=X ONERROR=ALERT(1)&#62;&#38;&#60;'"), std::string::npos) << inside;
  EXPECT_EQ(inside.find("<!--"), 0u) << inside;
  EXPECT_EQ(inside.find('<', 1), std::string::npos) << inside;
  EXPECT_EQ(resp.body.find("<IMG"), std::string::npos);
  EXPECT_EQ(resp.body.find("ONERROR", end), std::string::npos);
}

TEST(FormDecoding, FiftyThousandPostedFieldsAreDecodedInWellUnderASecond) {
  SecuritySite site;
  std::string body = "kundid=1001";
  for (int i = 0; i < 50000; ++i) body += i % 2 ? "&kommun=" + std::to_string(i) : "&f" + std::to_string(i) + "=v";
  auto start = std::chrono::steady_clock::now();
  CgiResult r = site.Post(body);
  // The program's whole run, sanitizer build: start, decoding, page; about
  // a second on an idle machine, over two minutes with a cost that grows
  // with the square of the fields.
  EXPECT_LT(Seconds(start), 6.0);
  EXPECT_NE(r.out.find("[Alfa]"), std::string::npos) << r.out.substr(0, 400);
  // The repeated name kept its values in order: the first 300 in the log.
  const std::string log = site.Log();
  EXPECT_NE(log.find("kommun=1\r\nkommun=3\r\n"), std::string::npos);
  EXPECT_NE(log.find("kommun=599\r\n"), std::string::npos);
  EXPECT_EQ(log.find("kommun=601\r\n"), std::string::npos);
}

TEST(Links, RequestValuesComeBackAsThemselvesAndNeverAsParameters) {
  SecuritySite site;
  CgiResult r = site.Get("kundid=1001&vad=K%26kundid%3D1003%23x&anvkat=A%26url%3Devil");
  Response resp = SplitResponse(r.out);
  // The language switch and the redirect links carry the values encoded.
  EXPECT_NE(resp.body.find("vemlo3.exe?sprak=e&vad=K%26KUNDID%3D1003%23X&funktion=FAKTA"), std::string::npos)
      << resp.body;
  EXPECT_NE(resp.body.find("redir.exe?kundid=1001&vad=K%26KUNDID%3D1003%23X&sprak=S&anvkat=A%26URL%3DEVIL&avtal="
                           "&url=http://alfa.se"),
            std::string::npos)
      << resp.body;
  EXPECT_EQ(resp.body.find("&kundid=1003"), std::string::npos);
  EXPECT_EQ(resp.body.find("&KUNDID=1003"), std::string::npos);
  EXPECT_EQ(resp.body.find("&URL=EVIL"), std::string::npos);
  EXPECT_EQ(resp.body.find("&#38;"), std::string::npos);
}

TEST(Addresses, ScriptSchemesCountAsNotGivenOnThePageAndTheBadCallPage) {
  SecuritySite site;
  Response resp = SplitResponse(site.Get("kundid=1001&visasida=javascript:alert(document.cookie)"
                                         "&stylesheet=%20JavaScript:x&background=data:text/html,x")
                                    .out);
  EXPECT_NE(resp.body.find("<a href=\"index.htm\">Tillbaka"), std::string::npos) << resp.body;
  EXPECT_NE(resp.body.find("href=\"/csslib/vexa2.css\""), std::string::npos) << resp.body;
  EXPECT_NE(resp.body.find("<body background=\"/bilder2/bakgrund/qvlogo.gif\">"), std::string::npos) << resp.body;
  EXPECT_EQ(resp.body.find("script:"), std::string::npos) << resp.body;
  EXPECT_EQ(resp.body.find("data:"), std::string::npos) << resp.body;

  resp = SplitResponse(site.Get("visasida=JAVA%09SCRIPT:alert(1)").out);
  EXPECT_NE(resp.body.find("<h1>Felaktigt anrop</h1><a href=\"/\">"), std::string::npos) << resp.body;

  // Another site's stylesheet and a relative page work as before.
  resp = SplitResponse(site.Get("kundid=1001&visasida=start.htm&stylesheet=https://andra.example/s.css").out);
  EXPECT_NE(resp.body.find("<a href=\"start.htm\">"), std::string::npos) << resp.body;
  EXPECT_NE(resp.body.find("href=\"https://andra.example/s.css\""), std::string::npos) << resp.body;
}

TEST(BodyLimit, ALargerBodyIsRefusedBeforeItIsRead) {
  SecuritySite site;
  // The default limit is 1 MiB. The client that announces more sends
  // nothing and keeps its connection open: a program that waited for the
  // body would wait for its read timeout.
  CgiRequest req;
  req.env = site.Env("POST", "", {}, 1024 * 1024 + 1);
  req.cwd = site.cgiwin;
  req.holdInput = true;
  auto start = std::chrono::steady_clock::now();
  CgiResult r = RunCgi(req);
  EXPECT_LT(Seconds(start), 5.0);
  EXPECT_TRUE(IsEngineRefusal(r.out)) << r.out;
  EXPECT_TRUE(site.LogFiles().empty());  // the application never ran

  req.env = site.Env("POST", "", {"CONTENT_LENGTH=99999999999999999999"});
  EXPECT_TRUE(IsEngineRefusal(RunCgi(req).out));

  std::string body = "kundid=1001&vad=" + std::string(1024 * 1024 - 16, 'K');
  ASSERT_EQ(body.size(), 1024u * 1024u);
  EXPECT_NE(site.Post(body).out.find("[Alfa]"), std::string::npos);

  site.Settings("MaxBody=100\n");
  body = "kundid=1001&vad=" + std::string(84, 'K');
  EXPECT_NE(site.Post(body).out.find("[Alfa]"), std::string::npos);
  EXPECT_TRUE(IsEngineRefusal(site.Post(body + "K").out));
  // 0: no limit.
  site.Settings("MaxBody=0\n");
  EXPECT_NE(site.Post("kundid=1001&vad=" + std::string(1500000, 'K')).out.find("[Alfa]"), std::string::npos);
}

TEST(BodyLimit, WindowsCgiBodiesAreHeldToTheLimitToo) {
  SecuritySite site;
  site.Settings("MaxBody=100\n");
  std::ofstream(site.root + "/lang.txt") << std::string(500, 'K');
  const std::string out = site.root + "/svar.out";
  auto run = [&](const std::string& length, const std::string& form) {
    site.WriteFile("req.ini", "[CGI]\r\nRequest Protocol=HTTP/1.0\r\nRequest Method=POST\r\n"
                              "Executable Path=/cgi-win/vemlo3.exe\r\nServer Software=Microsoft-IIS/5.0\r\n"
                              "Remote Address=10.0.0.9\r\nContent Type=application/x-www-form-urlencoded\r\n"
                              "Content Length=" + length + "\r\n[System]\r\nOutput File=" + out + "\r\n" + form);
    std::remove(out.c_str());
    CgiRequest req;
    req.env = {"CGI_VERSION=CGI/1.3a (Win)", "SERVER_SOFTWARE=Microsoft-IIS/5.0", "TZ=Europe/Stockholm",
               "CGI_LOG_DIR=" + site.root + "/enginelog"};
    req.cwd = site.cgiwin;
    req.args = {site.root + "/req.ini"};
    RunCgi(req);
    return site.ReadFile(out);
  };
  EXPECT_NE(run("11", "[Form Literal]\r\nkundid=1001\r\n").find("[Alfa]"), std::string::npos);
  EXPECT_TRUE(IsEngineRefusal(run("101", "[Form Literal]\r\nkundid=1001\r\n")));
  // A body larger than its profile says.
  EXPECT_TRUE(IsEngineRefusal(run("11", "[Form Literal]\r\nkundid=1001\r\n[Form External]\r\nvad=" + site.root +
                                            "/lang.txt 500\r\n")));
}

TEST(ErrorPage, ControlCharactersOfTheRequestAreLeftOutOfItsComment) {
  SecuritySite site;
  CgiResult r = site.Get("kundid=1001&mall=fa%00cts%1B%7F");
  ASSERT_NE(r.out.find("Fel i programmet"), std::string::npos) << r.out;
  size_t comment = r.out.find("<!--");
  ASSERT_NE(comment, std::string::npos);
  const std::string c = r.out.substr(comment, r.out.find("-->", comment) - comment);
  for (char ch : c.substr(0, c.size() - 2))
    EXPECT_FALSE(static_cast<unsigned char>(ch) < 32 && ch != '\r' && ch != '\n') << int(ch) << c;
  EXPECT_EQ(c.find('\x7f'), std::string::npos);
}
