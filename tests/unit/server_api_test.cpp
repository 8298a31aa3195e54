// The server interface engines inside the test process, over a fake
// extension control block and fake NSAPI functions: the variable list, the
// header lines with the redirect through the server, the body read in two
// parts, and the entry points' version and status answers.
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "gateway/IsapiEng.h"
#include "gateway/NsapiEng.h"

namespace {
struct FakeConnection {
  std::map<std::string, std::string> vars;
  std::string body;
  size_t bodyRead = 0;
  std::string written;
  std::vector<std::string> redirects;
};

HSE_BOOL GetVar(HCONN c, char* name, void* buf, HSE_DWORD* size) {
  auto* f = static_cast<FakeConnection*>(c);
  auto it = f->vars.find(name);
  if (it == f->vars.end()) return 0;
  if (it->second.size() + 1 > *size) {
    *size = static_cast<HSE_DWORD>(it->second.size() + 1);
    return 0;
  }
  std::memcpy(buf, it->second.c_str(), it->second.size() + 1);
  *size = static_cast<HSE_DWORD>(it->second.size() + 1);
  return 1;
}
HSE_BOOL Write(HCONN c, void* buf, HSE_DWORD* n, HSE_DWORD) {
  static_cast<FakeConnection*>(c)->written.append(static_cast<char*>(buf), *n);
  return 1;
}
HSE_BOOL Read(HCONN c, void* buf, HSE_DWORD* n) {
  auto* f = static_cast<FakeConnection*>(c);
  size_t k = std::min<size_t>({*n, f->body.size() - f->bodyRead, 3});  // the server hands out small pieces
  std::memcpy(buf, f->body.data() + f->bodyRead, k);
  f->bodyRead += k;
  *n = static_cast<HSE_DWORD>(k);
  return 1;
}
HSE_BOOL Support(HCONN c, HSE_DWORD req, void* buf, HSE_DWORD*, HSE_DWORD*) {
  if (req == HSE_REQ_SEND_URL_REDIRECT_RESP) static_cast<FakeConnection*>(c)->redirects.push_back(static_cast<char*>(buf));
  return 1;
}


// An ISAPI request served in this process as a loaded library would.
class IsapiRequest {
public:
  IsapiRequest(std::string method, std::string query, std::string body, size_t available) {
    method_ = std::move(method);
    query_ = std::move(query);
    conn.body = std::move(body);
    conn.bodyRead = available;
    ecb.cbSize = sizeof ecb;
    ecb.ConnID = &conn;
    ecb.lpszMethod = method_.data();
    ecb.lpszQueryString = query_.data();
    ecb.lpszPathInfo = path_.data();
    ecb.lpszPathTranslated = path_.data();
    ecb.cbTotalBytes = static_cast<HSE_DWORD>(conn.body.size());
    ecb.cbAvailable = static_cast<HSE_DWORD>(available);
    ecb.lpbData = reinterpret_cast<uint8_t*>(conn.body.data());
    ecb.GetServerVariable = GetVar;
    ecb.WriteClient = Write;
    ecb.ReadClient = Read;
    ecb.ServerSupportFunction = Support;
  }
  FakeConnection conn;
  EXTENSION_CONTROL_BLOCK ecb{};

private:
  std::string method_, query_, path_ = "/info";
};

// The library's process kind for the length of a test.
class LibraryProcess {
public:
  LibraryProcess() : saved_(ProcessKind::IsLibrary) { ProcessKind::IsLibrary = true; }
  ~LibraryProcess() { ProcessKind::IsLibrary = saved_; }

private:
  bool saved_;
};
}  // namespace

TEST(IsapiEngine, VariablesBodyAndHeadersThroughTheControlBlock) {
  LibraryProcess lib;
  TIsapiEngine engine;
  IsapiRequest r("POST", "a=1", "namn=Alfa+Beta&x=%C5", 5);
  r.conn.vars = {{"REMOTE_ADDR", " 10.2.3.4 "},
                 {"CONTENT_TYPE", "application/x-www-form-urlencoded"},
                 {"SERVER_SOFTWARE", "Microsoft-IIS/5.0"},
                 {"ALL_HTTP", "HTTP_USER_AGENT:Testagent/2\nHTTP_X_LONG:" + std::string(5000, 'v') + "\n"}};
  std::map<std::string, std::string> seen;
  engine.SetOnExecRequest([&](TComponent*) {
    for (const char* n : {"REMOTE_ADDR", "CONTENT_LENGTH", "PATH_INFO", "HTTP_USER_AGENT", "USER_AGENT", "QUERY_STRING"})
      seen[n] = HttpServerVariable(n);
    seen["long"] = std::to_string(HttpServerVariable("HTTP_X_LONG").size());
    seen["namn"] = HttpFormField("namn", "");
    seen["a"] = HttpFormField("a", "");
    EXPECT_EQ(CurrentEcb(), &r.ecb);
    HttpWrite("svar");
  });
  EXPECT_EQ(IsapiHttpExtensionProc(&r.ecb), HSE_STATUS_SUCCESS);
  EXPECT_EQ(CurrentEcb(), nullptr);
  EXPECT_EQ(seen["REMOTE_ADDR"], "10.2.3.4");
  EXPECT_EQ(seen["CONTENT_LENGTH"], "20");
  EXPECT_EQ(seen["PATH_INFO"], "/info");
  EXPECT_EQ(seen["HTTP_USER_AGENT"], "Testagent/2");
  EXPECT_EQ(seen["USER_AGENT"], "Testagent/2");
  EXPECT_EQ(seen["long"], "5000");  // a value larger than the first buffer
  EXPECT_EQ(seen["namn"], "Alfa Beta");
  // The status line goes to the client unchanged.
  EXPECT_EQ(r.conn.written,
            "HTTP/1.1 200 OK\r\ncontent-length: 4\r\nConnection: Keep-Alive\r\ncontent-type: text/html\r\n\r\nsvar");
}

TEST(IsapiEngine, LocationBecomesTheServersRedirect) {
  LibraryProcess lib;
  TIsapiEngine engine;
  IsapiRequest r("GET", "", "", 0);
  engine.SetOnExecRequest([](TComponent* s) {
    static_cast<THttpEngine*>(s)->SetHeader("Location", "http://example.se/ny");
    static_cast<THttpEngine*>(s)->SetHeader("Set-Cookie", "a=1");
  });
  IsapiHttpExtensionProc(&r.ecb);
  EXPECT_EQ(r.conn.redirects, std::vector<std::string>{"http://example.se/ny"});
  EXPECT_EQ(r.conn.written, "Set-Cookie: a=1\r\n\r\n");
}

TEST(IsapiEngine, BodyComesFromTheDeliveredBytesThenFromTheServer) {
  IsapiRequest r("POST", "", "0123456789", 4);
  r.conn.bodyRead = 4;
  TIsapiStream s(&r.ecb);
  std::string got;
  char buf[64];
  for (int64_t n; (n = s.Read(buf, sizeof buf)) > 0;) got.append(buf, static_cast<size_t>(n));
  EXPECT_EQ(got, "0123456789");
  EXPECT_EQ(s.Read(buf, sizeof buf), 0);
}

TEST(IsapiEntryPoints, VersionsAndTerminationAnswers) {
  LibraryProcess lib;
  TIsapiEngine engine;
  HSE_VERSION_INFO v{};
  std::memset(v.lpszExtensionDesc, 'x', sizeof v.lpszExtensionDesc);
  EXPECT_EQ(IsapiGetExtensionVersion(&v), 1);
  EXPECT_EQ(v.dwExtensionVersion, 0x00020000u);
  EXPECT_STREQ(v.lpszExtensionDesc, "");
  EXPECT_TRUE(IsapiActive());

  engine.OnIsapiExtensionVersion = [](TComponent*, uint32_t, std::string& desc, bool& result) {
    desc = std::string(400, 'd');  // longer than the structure holds
    result = false;
  };
  EXPECT_EQ(IsapiGetExtensionVersion(&v), 0);
  EXPECT_EQ(std::strlen(v.lpszExtensionDesc), HSE_MAX_EXT_DLL_NAME_LEN - 1);

  HTTP_FILTER_VERSION fv{};
  fv.dwServerFilterVersion = 0x00060000;
  int seenServer = 0;
  engine.OnIsapiFilterVersion = [&](TComponent*, int server, int& version, std::string& desc, int& flags, bool&) {
    seenServer = server;
    EXPECT_EQ(version, 0x00020000);
    desc = "filter";
    flags = 0x4000;
  };
  EXPECT_EQ(IsapiGetFilterVersion(&fv), 1);
  EXPECT_EQ(seenServer, 0x00060000);
  EXPECT_STREQ(fv.lpszFilterDesc, "filter");
  EXPECT_EQ(fv.dwFlags, 0x4000u);
  EXPECT_EQ(fv.dwFilterVersion, 0x00020000u);

  HTTP_FILTER_CONTEXT pfc{};
  EXPECT_EQ(IsapiHttpFilterProc(&pfc, 1, nullptr), 0x8000002u);
  engine.OnIsapiFilterProc = [](TComponent*, HTTP_FILTER_CONTEXT*, int type, void*, int& result) {
    result = type == 7 ? static_cast<int>(SF_STATUS_REQ_FINISHED) : result;
  };
  EXPECT_EQ(IsapiHttpFilterProc(&pfc, 7, nullptr), 0x8000000u);

  // Once terminated, the engine says so to every later TerminateExtension.
  IsapiTerminateExtension(HSE_TERM_MUST_UNLOAD);
  EXPECT_TRUE(IsapiMustUnload());
  EXPECT_EQ(IsapiTerminateExtension(HSE_TERM_ADVISORY_UNLOAD), 1);
  EXPECT_FALSE(IsapiMustUnload());
}

TEST(NsapiEngine, StatusAndHeadersGoToTheServerAndTheBodyToTheConnection) {
  TNSAPIEngine engine;
  static std::vector<std::string> calls;
  calls.clear();
  TNsapiHost host;
  host.pblock_nvinsert = [](const char* n, const char* v, void*) -> void* {
    calls.push_back(std::string("hdr ") + n + "=" + v);
    return nullptr;
  };
  host.protocol_status = [](void*, void*, int code, const char* reason) {
    calls.push_back("status " + std::to_string(code) + " " + reason);
    return 0;
  };
  host.protocol_start_response = [](void*, void*) {
    calls.push_back("start");
    return 0;
  };
  host.net_write = [](void*, const char* buf, int n) {
    calls.push_back("body " + std::string(buf, static_cast<size_t>(n)));
    return n;
  };
  engine.SetOnExecRequest([](TComponent* s) {
    static_cast<THttpEngine*>(s)->SetHeader("Content-Type", "text/plain");
    HttpWrite("hej");
  });
  auto vars = std::make_unique<TStringList>();
  vars->Add("REQUEST_METHOD=GET");
  NsapiRunRequest(host, std::move(vars));
  EXPECT_EQ(calls, (std::vector<std::string>{"status 200 OK", "hdr content-type=text/plain", "hdr content-length=3",
                                             "hdr connection=Keep-Alive", "start", "body hej"}));
}
