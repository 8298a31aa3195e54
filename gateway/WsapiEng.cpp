#include "gateway/WsapiEng.h"

#include <atomic>
#include <dlfcn.h>
#include <mutex>

TWsapiEngine* WsapiEngine = nullptr;

namespace {
std::mutex g_bindLock;
TWsapiHost g_host;
std::atomic<bool> g_bound{false};
thread_local void* t_tp = nullptr;
// The server's part of the header block has been sent for this request.
thread_local bool t_headerStarted = false;

// The variables a WSAPI request is served with.
const char* const kVariables[] = {
    "REQUEST_METHOD", "QUERY_STRING",  "PATH_INFO",       "PATH_TRANSLATED", "SCRIPT_NAME",     "CONTENT_LENGTH",
    "CONTENT_TYPE",   "REMOTE_ADDR",   "REMOTE_HOST",     "REMOTE_USER",     "AUTH_TYPE",       "SERVER_NAME",
    "SERVER_PORT",    "SERVER_PROTOCOL", "SERVER_SOFTWARE", "HTTP_ACCEPT",   "HTTP_COOKIE",     "HTTP_REFERER",
    "HTTP_USER_AGENT", "URL",
};

std::string HostVariable(const std::string& name) {
  if (!t_tp || !g_host.get_server_variable) return std::string();
  std::string buf(8192, '\0');
  if (!g_host.get_server_variable(t_tp, name.c_str(), buf.data(), static_cast<uint32_t>(buf.size()))) return {};
  buf.resize(std::min(buf.find('\0'), buf.size()));
  return buf;
}
}  // namespace

bool WsapiBind(void* handle) {
  std::lock_guard<std::mutex> lock(g_bindLock);
  void* where = handle ? handle : RTLD_DEFAULT;
  TWsapiHost h;
  h.bind_wsapi = reinterpret_cast<WsapiBindFn>(dlsym(where, "bind_wsapi"));
  h.nwrite = reinterpret_cast<WsapiWriteFn>(dlsym(where, "nwrite"));
  h.nread = reinterpret_cast<WsapiReadFn>(dlsym(where, "nread"));
  h.nflush = reinterpret_cast<WsapiFlushFn>(dlsym(where, "nflush"));
  h.send_http_header = reinterpret_cast<WsapiSendHeaderFn>(dlsym(where, "send_http_header"));
  h.get_server_variable = reinterpret_cast<WsapiGetVariableFn>(dlsym(where, "get_server_variable"));
  if (!h.Complete() || !h.bind_wsapi(1, 1, 0)) return false;
  g_host = h;
  g_bound = true;
  return true;
}

int64_t TWsapiStream::Read(void* buf, int64_t count) {
  if (count <= 0) return 0;
  return host_.nread(tp_, static_cast<char*>(buf), static_cast<uint32_t>(std::min<int64_t>(count, 0x7FFFFFFF)));
}

int64_t TWsapiStream::Write(const void* buf, int64_t count) {
  if (count <= 0) return 0;
  return host_.nwrite(tp_, static_cast<const char*>(buf),
                      static_cast<uint32_t>(std::min<int64_t>(count, 0x7FFFFFFF)));
}

TWsapiEngine::TWsapiEngine(TComponent* owner) : THttpEngine(owner) {
  WsapiEngine = this;
}

TWsapiEngine::~TWsapiEngine() {
  if (WsapiEngine == this) WsapiEngine = nullptr;
}

// The header block begins with the server's own (its status line, its
// headers), sent by send_http_header; with the extra-headers flag the server
// leaves the block open, and the engine's lines follow through nwrite. The
// engine's status line is written as a "Status:" line, as for a CGI server
// that wants one; the plain "200 OK" is the server's default.
void TWsapiEngine::WriteHeaderLine(const std::string& name, const std::string& value) {
  TStream* out = ERS().OutputStream;
  if (!out || !t_tp) return;
  if (!t_headerStarted) {
    t_headerStarted = true;
    g_host.send_http_header(t_tp, 1);
  }
  std::string line;
  if (StartsWith(UpperCase(name), "HTTP/")) {
    std::string status = name.size() > 9 ? name.substr(9) : std::string();
    if (status.empty() || status == "200 OK") return;
    line = "Status: " + status;
  } else {
    line = value.empty() ? name : name + ": " + value;
  }
  line += "\r\n";
  out->WriteAll(line.data(), static_cast<int64_t>(line.size()));
}

void TWsapiEngine::EndHeaders() {
  TStream* out = ERS().OutputStream;
  if (!out || !t_tp) return;
  if (!t_headerStarted) {
    t_headerStarted = true;
    g_host.send_http_header(t_tp, 1);
  }
  out->WriteAll("\r\n", 2);
}

std::string TWsapiEngine::GetRawVariable(const std::string& name) { return Trim(HostVariable(name)); }

int32_t WsapiProcess(void* tp) {
  // The functions are bound on the first request unless the host bound them.
  if (!g_bound && !WsapiBind(nullptr)) return 0;
  if (!WsapiEngine) return 0;
  t_tp = tp;
  t_headerStarted = false;
  try {
    auto vars = std::make_unique<TStringList>();
    for (const char* name : kVariables) {
      std::string v = Trim(HostVariable(name));
      if (!v.empty()) vars->Add(std::string(name) + "=" + v);
    }
    auto* stream = new TWsapiStream(g_host, tp);
    WsapiEngine->RunRequest(stream, stream, std::move(vars));
    g_host.nflush(tp);
  } catch (...) {
    // Nothing may unwind into the server.
  }
  t_tp = nullptr;
  return 1;
}
