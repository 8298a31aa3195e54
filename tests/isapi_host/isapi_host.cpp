// A small web-server stand-in that loads the program's library the way an
// ISAPI or WSAPI server does and serves requests through it, several at once
// on several threads.
//
//   vemlo3_isapi_host LIBRARY isapi|wsapi ROUNDS QUERY...
//
// Every QUERY is served ROUNDS times, all requests of a round started
// together, each on its own thread. For each request the host prints
//   ### <query index> <round> <status> <redirect>\n<response bytes>\n
// and finally "### end <TerminateExtension result>\n". Exit code 0 when
// every call succeeded.
#include <dlfcn.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "gateway/HttpExt.h"

namespace {
struct Request {
  std::map<std::string, std::string> vars;
  std::string body;
  size_t bodyRead = 0;
  std::string response;
  std::string redirect;
};

bool CopyOut(const std::string& value, void* buf, HSE_DWORD* size) {
  if (value.size() + 1 > *size) {
    *size = static_cast<HSE_DWORD>(value.size() + 1);
    return false;
  }
  std::memcpy(buf, value.c_str(), value.size() + 1);
  *size = static_cast<HSE_DWORD>(value.size() + 1);
  return true;
}

HSE_BOOL EcbGetVariable(HCONN conn, char* name, void* buf, HSE_DWORD* size) {
  auto* r = static_cast<Request*>(conn);
  auto it = r->vars.find(name);
  if (it == r->vars.end()) {
    if (*size > 0) static_cast<char*>(buf)[0] = '\0';
    *size = 0;
    return 0;
  }
  return CopyOut(it->second, buf, size) ? 1 : 0;
}

HSE_BOOL EcbWrite(HCONN conn, void* buf, HSE_DWORD* bytes, HSE_DWORD) {
  static_cast<Request*>(conn)->response.append(static_cast<const char*>(buf), *bytes);
  return 1;
}

HSE_BOOL EcbRead(HCONN conn, void* buf, HSE_DWORD* size) {
  auto* r = static_cast<Request*>(conn);
  size_t n = std::min<size_t>(*size, r->body.size() - r->bodyRead);
  std::memcpy(buf, r->body.data() + r->bodyRead, n);
  r->bodyRead += n;
  *size = static_cast<HSE_DWORD>(n);
  return 1;
}

HSE_BOOL EcbSupport(HCONN conn, HSE_DWORD request, void* buf, HSE_DWORD*, HSE_DWORD*) {
  if (request != HSE_REQ_SEND_URL_REDIRECT_RESP) return 0;
  static_cast<Request*>(conn)->redirect = static_cast<const char*>(buf);
  return 1;
}

thread_local Request* t_wsapiRequest = nullptr;

Request MakeRequest(const std::string& query, int index) {
  Request r;
  r.vars = {{"REMOTE_ADDR", "10.1.0." + std::to_string(index + 1)},
            {"SERVER_SOFTWARE", "Microsoft-IIS/5.0"},
            {"SERVER_PROTOCOL", "HTTP/1.1"},
            {"SCRIPT_NAME", "/cgi-win/vemlo3.exe"},
            {"URL", "/cgi-win/vemlo3.exe"},
            {"ALL_HTTP", "HTTP_USER_AGENT:Testhost/1.0\nHTTP_REFERER:http://example.se/sida-" +
                             std::to_string(index) + "\n"}};
  std::string q = query;
  if (q.rfind("POST:", 0) == 0) {
    r.body = q.substr(5);
    r.vars["REQUEST_METHOD"] = "POST";
    r.vars["CONTENT_TYPE"] = "application/x-www-form-urlencoded";
    r.vars["QUERY_STRING"] = "";
  } else {
    r.vars["REQUEST_METHOD"] = "GET";
    r.vars["QUERY_STRING"] = q;
  }
  r.vars["CONTENT_LENGTH"] = std::to_string(r.body.size());
  return r;
}
}  // namespace

// The WSAPI server's support functions, found by the library by name.
extern "C" {
__attribute__((visibility("default"))) int32_t bind_wsapi(uint16_t major, uint16_t, int32_t) { return major == 1; }
__attribute__((visibility("default"))) int32_t get_server_variable(void* tp, const char* name, char* buf,
                                                                   uint32_t size) {
  auto* r = static_cast<Request*>(tp);
  auto it = r->vars.find(name);
  if (it == r->vars.end() || it->second.size() + 1 > size) return 0;
  std::memcpy(buf, it->second.c_str(), it->second.size() + 1);
  return 1;
}
__attribute__((visibility("default"))) int32_t nread(void* tp, char* buf, uint32_t size) {
  HSE_DWORD n = size;
  EcbRead(tp, buf, &n);
  return static_cast<int32_t>(n);
}
__attribute__((visibility("default"))) int32_t nwrite(void* tp, const char* buf, uint32_t size) {
  static_cast<Request*>(tp)->response.append(buf, size);
  return static_cast<int32_t>(size);
}
__attribute__((visibility("default"))) void nflush(void*) {}
// The server's own header block; with the extra-headers flag it stays open
// for the extension's lines.
__attribute__((visibility("default"))) void send_http_header(void* tp, int32_t extraHeaders) {
  std::string& out = static_cast<Request*>(tp)->response;
  out += "HTTP/1.1 200 OK\r\nServer: Testhost/1.0\r\n";
  if (!extraHeaders) out += "\r\n";
}
}

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: %s LIBRARY isapi|wsapi ROUNDS QUERY...\n", argv[0]);
    return 2;
  }
  void* lib = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (!lib) {
    std::fprintf(stderr, "dlopen: %s\n", dlerror());
    return 2;
  }
  bool wsapi = std::strcmp(argv[2], "wsapi") == 0;
  int rounds = std::atoi(argv[3]);
  std::vector<std::string> queries(argv + 4, argv + argc);

  auto getVersion = reinterpret_cast<HSE_BOOL (*)(HSE_VERSION_INFO*)>(dlsym(lib, "GetExtensionVersion"));
  auto proc = reinterpret_cast<HSE_DWORD (*)(EXTENSION_CONTROL_BLOCK*)>(dlsym(lib, "HttpExtensionProc"));
  auto terminate = reinterpret_cast<HSE_BOOL (*)(HSE_DWORD)>(dlsym(lib, "TerminateExtension"));
  auto process = reinterpret_cast<int32_t (*)(void*)>(dlsym(lib, "Process"));
  if (!getVersion || !proc || !terminate || !process) {
    std::fprintf(stderr, "missing entry point\n");
    return 2;
  }
  int failures = 0;
  HSE_VERSION_INFO version{};
  if (!getVersion(&version) || version.dwExtensionVersion != HseMakeVersion(2, 0)) ++failures;

  std::mutex printLock;
  for (int round = 0; round < rounds; ++round) {
    std::atomic<int> ready{0};
    std::vector<std::thread> threads;
    for (size_t i = 0; i < queries.size(); ++i) {
      threads.emplace_back([&, i] {
        Request r = MakeRequest(queries[i], static_cast<int>(i));
        EXTENSION_CONTROL_BLOCK ecb{};
        ecb.cbSize = sizeof ecb;
        ecb.dwVersion = HseMakeVersion(2, 0);
        ecb.ConnID = &r;
        std::string method = r.vars["REQUEST_METHOD"], query = r.vars["QUERY_STRING"], empty;
        ecb.lpszMethod = method.data();
        ecb.lpszQueryString = query.data();
        ecb.lpszPathInfo = empty.data();
        ecb.lpszPathTranslated = empty.data();
        ecb.cbTotalBytes = static_cast<HSE_DWORD>(r.body.size());
        // The server has read part of the body already.
        ecb.cbAvailable = static_cast<HSE_DWORD>(r.body.size() / 2);
        ecb.lpbData = reinterpret_cast<uint8_t*>(r.body.data());
        r.bodyRead = ecb.cbAvailable;
        ecb.GetServerVariable = EcbGetVariable;
        ecb.WriteClient = EcbWrite;
        ecb.ReadClient = EcbRead;
        ecb.ServerSupportFunction = EcbSupport;
        ++ready;
        while (ready < static_cast<int>(queries.size())) std::this_thread::yield();
        long status;
        if (wsapi) {
          r.bodyRead = 0;
          t_wsapiRequest = &r;
          status = process(&r);
        } else {
          status = static_cast<long>(proc(&ecb));
        }
        std::lock_guard<std::mutex> lock(printLock);
        std::printf("### %zu %d %ld %s\n", i, round, status, r.redirect.c_str());
        std::fwrite(r.response.data(), 1, r.response.size(), stdout);
        std::printf("\n");
      });
    }
    for (auto& t : threads) t.join();
  }
  HSE_BOOL first = terminate(HSE_TERM_MUST_UNLOAD);
  std::printf("### end %d\n", first);
  std::fflush(stdout);
  dlclose(lib);
  return failures == 0 ? 0 : 1;
}
