#include "gateway/NsapiEng.h"

TNSAPIEngine* NsapiEngine = nullptr;

namespace {
thread_local const TNsapiHost* t_host = nullptr;
constexpr int kReadTimeoutSeconds = 30;
}  // namespace

int64_t TNsapiStream::Read(void* buf, int64_t count) {
  if (!host_.net_read || count <= 0) return 0;
  return host_.net_read(host_.csd, static_cast<char*>(buf), static_cast<int>(std::min<int64_t>(count, 0x7FFFFFFF)),
                        kReadTimeoutSeconds);
}

int64_t TNsapiStream::Write(const void* buf, int64_t count) {
  if (!host_.net_write) return -1;
  if (count <= 0) return 0;
  return host_.net_write(host_.csd, static_cast<const char*>(buf),
                         static_cast<int>(std::min<int64_t>(count, 0x7FFFFFFF)));
}

TNSAPIEngine::TNSAPIEngine(TComponent* owner) : THttpEngine(owner) {
  NsapiEngine = this;
}

TNSAPIEngine::~TNSAPIEngine() {
  if (NsapiEngine == this) NsapiEngine = nullptr;
}

void TNSAPIEngine::WriteHeaderLine(const std::string& name, const std::string& value) {
  const TNsapiHost* h = t_host;
  if (!h) return;
  if (StartsWith(UpperCase(name), "HTTP/")) {
    // "HTTP/1.1 302 Found": the code and the reason after it.
    size_t blank = name.find(' ');
    std::string rest = blank == std::string::npos ? std::string() : Trim(name.substr(blank + 1));
    size_t blank2 = rest.find(' ');
    int code = StrToIntDef(rest.substr(0, blank2), 200);
    std::string reason = blank2 == std::string::npos ? std::string() : Trim(rest.substr(blank2 + 1));
    if (h->protocol_status) h->protocol_status(h->sn, h->rq, code, reason.c_str());
    return;
  }
  if (h->pblock_nvinsert) h->pblock_nvinsert(LowerCase(name).c_str(), value.c_str(), h->srvhdrs);
}

void TNSAPIEngine::EndHeaders() {
  const TNsapiHost* h = t_host;
  if (h && h->protocol_start_response) h->protocol_start_response(h->sn, h->rq);
}

void NsapiRunRequest(const TNsapiHost& host, std::unique_ptr<TStringList> variables) {
  if (!NsapiEngine) return;
  t_host = &host;
  try {
    auto* stream = new TNsapiStream(host);
    NsapiEngine->RunRequest(stream, stream, std::move(variables));
  } catch (...) {
  }
  t_host = nullptr;
}
