// The request cycle and the response: header blocks, flushing, error pages.
#include <gtest/gtest.h>

#include "gateway/GenEng.h"
#include "gateway/HttpEng.h"
#include "support/EngineHarness.h"

namespace {
const std::vector<std::string> kApacheGet = {"SERVER_SOFTWARE=Apache/2.4.57", "REQUEST_METHOD=GET",
                                             "QUERY_STRING=a=1"};
const std::vector<std::string> kLighttpdGet = {"SERVER_SOFTWARE=lighttpd/1.4.69", "REQUEST_METHOD=GET"};

EngineRun Serve(const std::vector<std::string>& vars, const std::function<void(THttpEngine&)>& handler,
              const std::function<void(THttpCGIEngine&)>& setup = nullptr, const std::string& body = "") {
  return RunEngineRequest(vars, body, setup, handler);
}
}  // namespace

TEST(Response, WrittenOnceCarriesLengthAndKeepAliveInThisOrder) {
  EngineRun r = Serve(kApacheGet, [](THttpEngine&) { HttpWrite("hello"); });
  EXPECT_EQ(r.output,
            "Status: 200 OK\r\ncontent-length: 5\r\nConnection: Keep-Alive\r\ncontent-type: text/html\r\n\r\nhello");
}

TEST(Response, StatusLineFormDependsOnTheServer) {
  struct Case {
    const char* server;
    const char* first;
  } cases[] = {
      {"Microsoft-IIS/5.0", "Status: 200 OK\r\n"},
      {"Microsoft-IIS/3.0", "HTTP/1.1 200 OK\r\n"},
      {"Netscape-Enterprise/6.0", "Status: 200 OK\r\n"},
      {"lighttpd/1.4.69", "HTTP/1.1 200 OK\r\n"},
  };
  for (const auto& c : cases) {
    EngineRun r = Serve({std::string("SERVER_SOFTWARE=") + c.server, "REQUEST_METHOD=GET"},
                      [](THttpEngine&) { HttpWrite("x"); });
    EXPECT_EQ(r.output.substr(0, std::string(c.first).size()), c.first) << c.server;
  }
}

TEST(Response, EarlyFlushSendsHeadersWithoutLength) {
  EngineRun r = Serve(kApacheGet, [](THttpEngine&) {
    HttpWrite("head");
    HttpFlush();
    HttpWrite("tail");
  });
  EXPECT_EQ(r.output, "Status: 200 OK\r\ncontent-type: text/html\r\n\r\nheadtail");
}

TEST(Response, LocationMakesARedirectWithOnlyTheApplicationsHeaders) {
  EngineRun r = Serve(kApacheGet, [](THttpEngine& e) { e.SetHeader("location", "http://example.se/"); });
  EXPECT_EQ(r.output, "location: http://example.se/\r\n\r\n");
}

TEST(Response, OwnStatusHeaderStillGetsTheAutomaticStatusLineFirst) {
  EngineRun r = Serve(kLighttpdGet, [](THttpEngine& e) {
    e.SetHeader("Status", "302 Found");
    HttpWrite("x");
  });
  EXPECT_EQ(r.output.substr(0, 36), "HTTP/1.1 200 OK\r\nStatus: 302 Found\r\n");
}

TEST(Response, NoCacheAddsFourHeadersWithOneExpiryDate) {
  EngineRun r = Serve(
      kLighttpdGet, [](THttpEngine&) { HttpWrite("x"); }, [](THttpCGIEngine& e) { e.SetNoCache(true); });
  EXPECT_NE(r.output.find("Pragma: no-cache\r\nCache-Control: no-cache\r\nExpires: "), std::string::npos);
  size_t e1 = r.output.find("Expires: ") + 9;
  size_t e2 = r.output.find("Document Expires: ") + 18;
  std::string d1 = r.output.substr(e1, r.output.find("\r\n", e1) - e1);
  std::string d2 = r.output.substr(e2, r.output.find("\r\n", e2) - e2);
  EXPECT_EQ(d1, d2);
  EXPECT_EQ(d1.substr(d1.size() - 4), " GMT");
}

TEST(Response, WmlClientGetsWmlTypeAndProlog) {
  std::vector<std::string> vars = kLighttpdGet;
  vars.push_back("HTTP_ACCEPT=text/vnd.wap.wml,*/*");
  EngineRun r = Serve(vars, [](THttpEngine&) { HttpWrite("<wml><card/></wml>"); });
  EXPECT_NE(r.output.find("content-type: text/vnd.wap.wml\r\n\r\n<?xml version=\"1.0\"?>\r\n<!DOCTYPE wml"),
            std::string::npos);
  r = Serve(vars, [](THttpEngine&) { HttpWrite("<?xml version=\"1.0\"?><wml></wml>"); });
  EXPECT_EQ(r.output.find("<?xml", r.output.find("<?xml") + 1), std::string::npos);
}

TEST(RequestCycle, EventsFireInOrderForANormalCgiRequest) {
  std::string order;
  EngineRun r = RunEngineRequest(
      kLighttpdGet, "",
      [&](THttpCGIEngine& e) {
        e.SetOnFirstExecRequest([&](TComponent*) { order += "F"; });
        e.SetOnLastExecRequest([&](TComponent*) { order += "L"; });
        e.SetOnPrepareRequest([&](TComponent*) { order += "P"; });
      },
      [&](THttpEngine&) { order += "E"; });
  // The process counter is shared by every test of this process, so the
  // first-request event may have fired before.
  EXPECT_TRUE(order == "PFEL" || order == "PEL") << order;
}

TEST(RequestCycle, HandlerExceptionGivesTheEnginesErrorPageReplacingOutput) {
  EngineRun r = Serve(kLighttpdGet, [](THttpEngine&) {
    HttpWrite("half a page");
    throw Exception("Boom <b>&</b>");
  });
  EXPECT_EQ(r.output,
            "HTTP/1.1 200 OK\r\ncontent-type: text/html\r\n\r\n"
            "<html><body>Unhandled Exception: Boom &#60;b&#62;&#38;&#60;/b&#62;</body></html>\r\n");
  EXPECT_TRUE(r.halted);
}

TEST(RequestCycle, RequestErrorEventReplacesTheErrorPage) {
  std::string seen;
  EngineRun r = RunEngineRequest(
      kLighttpdGet, "",
      [&](THttpCGIEngine& e) { e.SetOnRequestError([&](TComponent*, Exception& ex) { seen = ex.Message; }); },
      [](THttpEngine&) { throw Exception("kaputt"); });
  EXPECT_EQ(seen, "kaputt");
  EXPECT_EQ(r.output.find("Unhandled"), std::string::npos);
}

// Whatever the request failed with, and whatever the error handler fails
// with in turn, the visitor gets the engine's page for the handler's error.
TEST(RequestCycle, AFailingErrorHandlerEndsInTheEnginesPageForEveryKindOfError) {
  const std::function<void(THttpEngine&)> failures[] = {
      [](THttpEngine&) { throw Exception("engine kind"); },
      [](THttpEngine&) { throw std::runtime_error("library kind"); },
  };
  for (const auto& fail : failures) {
    for (bool handlerThrowsLibraryKind : {false, true}) {
      std::string seen;
      EngineRun r = RunEngineRequest(
          kLighttpdGet, "",
          [&](THttpCGIEngine& e) {
            e.SetOnRequestError([&, handlerThrowsLibraryKind](TComponent*, Exception& ex) {
              seen = ex.Message;
              if (handlerThrowsLibraryKind) throw std::runtime_error("handler broke");
              throw Exception("handler broke");
            });
          },
          fail);
      EXPECT_FALSE(seen.empty());
      EXPECT_NE(r.output.find("Unhandled Exception: handler broke"), std::string::npos) << r.output;
      EXPECT_TRUE(r.halted);
    }
  }
}

TEST(RequestCycle, RefusedMethodsAndOversizedBodies) {
  bool called = false;
  auto handler = [&](THttpEngine&) { called = true; };
  EngineRun r = RunEngineRequest(kLighttpdGet, "", [](THttpCGIEngine& e) { e.AllowedMethods.SetGet(false); },
                                 handler);
  EXPECT_NE(r.output.find("Unhandled Exception: Method not allowed (GET)"), std::string::npos);
  r = RunEngineRequest({"SERVER_SOFTWARE=x", "REQUEST_METHOD=POST", "CONTENT_LENGTH=3"}, "a=1",
                       [](THttpCGIEngine& e) { e.AllowedMethods.SetPost(false); }, handler);
  EXPECT_NE(r.output.find("Method not allowed (POST)"), std::string::npos);
  r = RunEngineRequest({"SERVER_SOFTWARE=x", "REQUEST_METHOD=POST", "CONTENT_LENGTH=3",
                        "CONTENT_TYPE=multipart/form-data; boundary=b"},
                       "a=1", nullptr, handler);
  EXPECT_NE(r.output.find("Method not allowed (PUT)"), std::string::npos);
  r = RunEngineRequest({"SERVER_SOFTWARE=x", "REQUEST_METHOD=POST", "CONTENT_LENGTH=1001"}, "a=1",
                       [](THttpCGIEngine& e) { e.SetAutoReadLimit(1000); }, handler);
  EXPECT_NE(r.output.find("Content length exceeds allowed limit"), std::string::npos);
  EXPECT_FALSE(called);
}

TEST(RequestCycle, PostFieldsComeBeforeQueryStringFields) {
  std::string value;
  RunEngineRequest({"SERVER_SOFTWARE=x", "REQUEST_METHOD=POST", "CONTENT_LENGTH=7", "QUERY_STRING=k=q"}, "k=p&x=1",
                   nullptr, [&](THttpEngine&) { value = HttpFormField("k", ""); });
  EXPECT_EQ(value, "p\r\nq");
  // Without GET allowed, a POST still passes but its query string is ignored.
  RunEngineRequest({"SERVER_SOFTWARE=x", "REQUEST_METHOD=POST", "CONTENT_LENGTH=7", "QUERY_STRING=k=q"}, "k=p&x=1",
                   [](THttpCGIEngine& e) { e.AllowedMethods.SetGet(false); },
                   [&](THttpEngine&) { value = HttpFormField("k", ""); });
  EXPECT_EQ(value, "p");
}

TEST(RequestCycle, BodyShorterThanClaimedIsTakenAsItArrives) {
  std::string value;
  RunEngineRequest({"SERVER_SOFTWARE=x", "REQUEST_METHOD=POST", "CONTENT_LENGTH=999999999"}, "a=1&b=2", nullptr,
                   [&](THttpEngine&) { value = HttpFormField("b", ""); });
  EXPECT_EQ(value, "2");
}

TEST(DebugMode, AlwaysTurnsTheResponseIntoAPlainTextDump) {
  EngineRun r = RunEngineRequest({"SERVER_SOFTWARE=lighttpd", "REQUEST_METHOD=POST", "CONTENT_LENGTH=3"}, "a=1",
                                 [](THttpCGIEngine& e) { e.SetDebugMode(TDebugMode::DebugAlways); },
                                 [](THttpEngine&) { HttpWrite("hello"); });
  const std::string expectedStart =
      "HTTP/1.1 200 OK\r\ncontent-type: text/plain\r\n\r\n"
      "HTTP/1.1 200 OK\r\ncontent-length: 5\r\nConnection: Keep-Alive\r\ncontent-type: text/html\r\n\r\n"
      "hello\r\n(*** END ***)\r\n";
  EXPECT_EQ(r.output.substr(0, expectedStart.size()), expectedStart);
  EXPECT_NE(r.output.find("(***    User Log      ***)"), std::string::npos);
  EXPECT_NE(r.output.find("(***   Client input   ***)\r\n(************************)\r\na=1"), std::string::npos);
  EXPECT_NE(r.output.find("REQUEST_METHOD=POST\r\n"), std::string::npos);
}

TEST(FileHeaders, ContentTypeFromTheExtensionAndDispositionByBrowser) {
  EngineRun r = Serve({"SERVER_SOFTWARE=x", "REQUEST_METHOD=GET", "HTTP_USER_AGENT=Mozilla/4.0 (compatible; MSIE 6.0)"},
                    [](THttpEngine& e) {
                      e.SendFileHeaders("", "C:\\dir\\Report.PDF");
                      HttpWrite("%PDF");
                    });
  EXPECT_NE(r.output.find("Content-Type: application/pdf\r\nContent-Transfer-Encoding: 8bit\r\n"
                          "Content-Disposition: filename=Report.PDF\r\n"),
            std::string::npos);
  r = Serve({"SERVER_SOFTWARE=x", "REQUEST_METHOD=GET", "HTTP_USER_AGENT=Opera/9.80"}, [](THttpEngine& e) {
    e.SendFileHeaders("", "data.xyz");
    HttpWrite("x");
  });
  EXPECT_NE(r.output.find("Content-Type: application/octet-stream"), std::string::npos);
  EXPECT_NE(r.output.find("inline; filename=data.xyz"), std::string::npos);
}

TEST(Settings, SessionVisibilityRequiresFileBasedSessions) {
  std::string out;
  RequestScope scope(out);
  TSessionProperties& p = scope.Engine().CGISession;
  p.SetVisibility(TSessionVisibility::AllApplications);
  p.SetFileBased(false);
  EXPECT_EQ(p.Visibility(), TSessionVisibility::ThisApplication);
  p.SetVisibility(TSessionVisibility::AllApplications);
  EXPECT_TRUE(p.FileBased());
}

TEST(Settings, SettingsOfTheSelectorReachTheCurrentEngine) {
  std::string out;
  RequestScope scope(out);
  // A second engine, not current, mirrors its settings to the current one.
  class TOther : public TCGIStdEngine {};
  THttpEngine* current = &scope.Engine();
  TOther other;
  CurrentEngine = current;
  other.SetAutoContentType("text/plain");
  other.AllowedMethods.SetPut(true);
  other.SetTempDir("Uppladdat");
  EXPECT_EQ(current->AutoContentType(), "text/plain");
  EXPECT_TRUE(current->AllowedMethods.Put());
  EXPECT_EQ(current->TempDir(), "Uppladdat");
  EXPECT_EQ(current->Version(), "7.0.1");
  CurrentEngine = current;
}

TEST(GmtDate, FormatsInEnglishInGreenwichTime) {
  setenv("TZ", "Europe/Stockholm", 1);
  tzset();
  EXPECT_EQ(HttpGmtDate(EncodeDate(1994, 11, 6) + EncodeTime(9, 49, 37)), "Sun, 06 Nov 1994 08:49:37 GMT");
  EXPECT_EQ(HttpGmtDate(EncodeDate(2009, 6, 30) + EncodeTime(12, 0, 0)), "Tue, 30 Jun 2009 10:00:00 GMT");
}

TEST(EngineSelection, ServerSoftwareAndCgiVersionDecide) {
  SetProgramArgs(0, nullptr);
  setenv("SERVER_SOFTWARE", "Apache", 1);
  setenv("CGI_VERSION", "CGI/1.1", 1);
  EXPECT_TRUE(IsStdCgi());
  EXPECT_FALSE(IsServerProcess());
  setenv("SERVER_SOFTWARE", "xZBx", 1);
  EXPECT_TRUE(IsServerProcess());
  setenv("SERVER_SOFTWARE", "Apache", 1);
  setenv("CGI_VERSION", "CGI/1.3a (Win)", 1);
  EXPECT_FALSE(IsStdCgi());
  unsetenv("SERVER_SOFTWARE");
  unsetenv("CGI_VERSION");
  EXPECT_TRUE(IsServerProcess());
  char prog[] = "vemlo3", a1[] = "$$START_SERVER", a2[] = "X";
  char* argv[] = {prog, a1, a2};
  setenv("SERVER_SOFTWARE", "Apache", 1);
  SetProgramArgs(3, argv);
  EXPECT_TRUE(IsServerProcess());
  SetProgramArgs(0, nullptr);
  unsetenv("SERVER_SOFTWARE");
}

TEST(Response, TheOutputBufferAppendsAtItsEndAndOverwritesAfterASeek) {
  TMemoryStream m;
  m.Append("abc", 3);
  ASSERT_TRUE(m.Seek(1));
  m.Append("XY", 2);  // not at the end: written over, as Write does
  EXPECT_EQ(m.Data(), "aXY");
  m.Append("Z", 1);
  EXPECT_EQ(m.Data(), "aXYZ");
  EXPECT_EQ(m.Position(), 4);
  ASSERT_TRUE(m.Seek(2));
  m.Append("0123", 4);  // over the end: the buffer grows
  EXPECT_EQ(m.Data(), "aX0123");
  EXPECT_EQ(m.Size(), 6);
}
