#include "gateway/IsapiEng.h"

#include <cstring>

#include "gateway/HCgiDbg.h"
#include "gateway/HSessVar.h"

TIsapiEngine* IsapiEngine = nullptr;

namespace {
std::atomic<bool> g_isapiActive{false};
std::atomic<bool> g_terminated{false};

thread_local EXTENSION_CONTROL_BLOCK* t_ecb = nullptr;
thread_local HTTP_FILTER_CONTEXT* t_pfc = nullptr;
thread_local HSE_DWORD t_resultCode = HSE_STATUS_SUCCESS;
thread_local bool t_mustUnload = false;

// A server variable through the control block or the filter context.
std::string AskServer(const std::string& name) {
  std::string buf(4096, '\0');
  std::string n = name;
  for (int attempt = 0; attempt < 2; ++attempt) {
    HSE_DWORD size = static_cast<HSE_DWORD>(buf.size());
    HSE_BOOL ok = 0;
    if (t_ecb && t_ecb->GetServerVariable)
      ok = t_ecb->GetServerVariable(t_ecb->ConnID, n.data(), buf.data(), &size);
    else if (t_pfc && t_pfc->GetServerVariable)
      ok = t_pfc->GetServerVariable(t_pfc, n.data(), buf.data(), &size);
    else
      return std::string();
    if (ok) {
      size_t len = std::min<size_t>(size, buf.size());
      std::string value(buf.data(), len);
      size_t nul = value.find('\0');
      if (nul != std::string::npos) value.resize(nul);
      return value;
    }
    // A buffer too small: the server has told the size it needs.
    if (size <= buf.size() || size > (64u << 20)) return std::string();
    buf.assign(size, '\0');
  }
  return std::string();
}

void CopyText(char* target, size_t capacity, const std::string& text) {
  size_t n = std::min(text.size(), capacity - 1);
  std::memcpy(target, text.data(), n);
  target[n] = '\0';
}

std::string Field(const char* s) { return s ? std::string(s) : std::string(); }
}  // namespace

bool IsapiActive() { return g_isapiActive; }
EXTENSION_CONTROL_BLOCK* CurrentEcb() { return t_ecb; }
bool IsapiMustUnload() { return t_mustUnload; }

// ---------------------------------------------------------------- stream

int64_t TIsapiStream::Read(void* buf, int64_t count) {
  if (!ecb_ || count <= 0) return 0;
  uint64_t total = ecb_->cbTotalBytes;
  if (read_ >= total) return 0;
  uint64_t want = std::min<uint64_t>(static_cast<uint64_t>(count), total - read_);
  if (delivered_ < ecb_->cbAvailable && ecb_->lpbData) {
    uint64_t n = std::min<uint64_t>(want, ecb_->cbAvailable - delivered_);
    std::memcpy(buf, ecb_->lpbData + delivered_, n);
    delivered_ += n;
    read_ += n;
    return static_cast<int64_t>(n);
  }
  if (!ecb_->ReadClient) return 0;
  HSE_DWORD size = static_cast<HSE_DWORD>(std::min<uint64_t>(want, 0x7FFFFFFF));
  if (!ecb_->ReadClient(ecb_->ConnID, buf, &size)) return -1;
  read_ += size;
  return size;
}

int64_t TIsapiStream::Write(const void* buf, int64_t count) {
  if (!ecb_ || !ecb_->WriteClient) return -1;
  if (count <= 0) return 0;
  HSE_DWORD size = static_cast<HSE_DWORD>(std::min<int64_t>(count, 0x7FFFFFFF));
  if (!ecb_->WriteClient(ecb_->ConnID, const_cast<void*>(buf), &size, HSE_IO_SYNC)) return -1;
  return size;
}

// ---------------------------------------------------------------- engine

TIsapiEngine::TIsapiEngine(TComponent* owner) : THttpEngine(owner) {
  IsapiEngine = this;
}

TIsapiEngine::~TIsapiEngine() {
  if (IsapiEngine == this) IsapiEngine = nullptr;
}

void TIsapiEngine::WriteHeaderLine(const std::string& name, const std::string& value) {
  if (UpperCase(name) == "LOCATION") {
    if (t_ecb && t_ecb->ServerSupportFunction) {
      std::string url = value;
      HSE_DWORD size = static_cast<HSE_DWORD>(url.size() + 1);
      t_ecb->ServerSupportFunction(t_ecb->ConnID, HSE_REQ_SEND_URL_REDIRECT_RESP, url.data(), &size, nullptr);
    }
    return;
  }
  TStream* out = ERS().OutputStream;
  if (!out) return;
  std::string line = (value.empty() ? name : name + ": " + value) + "\r\n";
  out->WriteAll(line.data(), static_cast<int64_t>(line.size()));
}

void TIsapiEngine::EndHeaders() {
  if (TStream* out = ERS().OutputStream) out->WriteAll("\r\n", 2);
}

std::string TIsapiEngine::GetRawVariable(const std::string& name) {
  std::string value = Trim(AskServer(name));
  if (!value.empty()) return value;
  std::string upper = UpperCase(name);
  if (!StartsWith(upper, "HTTP_")) return value;
  std::string all = "\n" + AskServer("ALL_HTTP") + "\n";
  std::string upperAll = UpperCase(all);
  for (const char* sep : {"=", ":"}) {
    size_t at = upperAll.find("\n" + upper + sep);
    if (at == std::string::npos) continue;
    size_t from = at + 1 + upper.size() + 1;
    size_t to = all.find('\n', from);
    return Trim(all.substr(from, to - from));
  }
  return std::string();
}

std::string TIsapiEngine::GetServerVariable(const std::string& name) {
  if (!t_ecb) return GetRawVariable(name);
  return THttpEngine::GetServerVariable(name);
}

void TIsapiEngine::Terminate() {
  g_terminated = true;
  THttpEngine::Terminate();
}

// ---------------------------------------------------------------- requests

std::unique_ptr<TStringList> IsapiVariables(EXTENSION_CONTROL_BLOCK* ecb) {
  auto list = std::make_unique<TStringList>();
  list->Add("QUERY_STRING=" + Field(ecb->lpszQueryString));
  list->Add("REQUEST_METHOD=" + Field(ecb->lpszMethod));
  list->Add("PATH_INFO=" + Field(ecb->lpszPathInfo));
  list->Add("PATH_TRANSLATED=" + Field(ecb->lpszPathTranslated));
  list->Add("CONTENT_LENGTH=" + IntToStr(ecb->cbTotalBytes));
  for (const char* name : {"AUTH_USER", "HTTP_COOKIE", "CONTENT_TYPE", "REMOTE_ADDR", "REMOTE_HOST", "REMOTE_USER",
                           "UNMAPPED_REMOTE_USER", "SCRIPT_NAME", "SERVER_NAME", "SERVER_PORT", "SERVER_PORT_SECURE",
                           "SERVER_PROTOCOL", "SERVER_SOFTWARE", "HTTP_ACCEPT", "URL"}) {
    std::string value = Trim(AskServer(name));
    if (!value.empty()) list->Add(std::string(name) + "=" + value);
  }
  // The request headers, one per line as "HTTP_NAME:value"; the entries are
  // kept in the list's NAME=value form so that they are found by name.
  for (std::string line : SplitLines(AskServer("ALL_HTTP"))) {
    if (Trim(line).empty()) continue;
    size_t colon = line.find(':');
    size_t eq = line.find('=');
    if (colon != std::string::npos && (eq == std::string::npos || colon < eq)) line[colon] = '=';
    list->Add(line);
  }
  return list;
}

HSE_BOOL IsapiGetExtensionVersion(HSE_VERSION_INFO* pVer) {
  g_isapiActive = true;
  if (!pVer) return 0;
  pVer->dwExtensionVersion = HseMakeVersion(HSE_VERSION_MAJOR, HSE_VERSION_MINOR);
  std::string desc;
  bool result = true;
  if (IsapiEngine && IsapiEngine->OnIsapiExtensionVersion)
    IsapiEngine->OnIsapiExtensionVersion(IsapiEngine, pVer->dwExtensionVersion, desc, result);
  CopyText(pVer->lpszExtensionDesc, sizeof pVer->lpszExtensionDesc, desc);
  return result ? 1 : 0;
}

HSE_DWORD IsapiHttpExtensionProc(EXTENSION_CONTROL_BLOCK* pECB) {
  g_isapiActive = true;
  if (!pECB || !IsapiEngine) return HSE_STATUS_ERROR;
  t_ecb = pECB;
  t_resultCode = HSE_STATUS_SUCCESS;
  try {
    auto* stream = new TIsapiStream(pECB);
    IsapiEngine->RunRequest(stream, stream, IsapiVariables(pECB));
  } catch (...) {
    // Nothing may unwind into the server.
    t_resultCode = HSE_STATUS_ERROR;
  }
  t_ecb = nullptr;
  return t_resultCode;
}

HSE_BOOL IsapiTerminateExtension(HSE_DWORD dwFlags) {
  t_mustUnload = (dwFlags & HSE_TERM_MUST_UNLOAD) != 0;
  try {
    ClearSession(true);
  } catch (...) {
  }
  bool already = g_terminated;
  try {
    if (IsapiEngine) IsapiEngine->Terminate();
  } catch (...) {
  }
  return already ? 1 : 0;
}

HSE_BOOL IsapiGetFilterVersion(HTTP_FILTER_VERSION* pVer) {
  g_isapiActive = true;
  if (!IsapiEngine) {
    LogEngineMessage("Filter not loaded: THttpEngine undefined");
    return 1;
  }
  CurrentEngine = IsapiEngine;
  int version = static_cast<int>(HseMakeVersion(2, 0));
  int flags = 0;
  std::string desc;
  bool result = true;
  int serverVersion = pVer ? static_cast<int>(pVer->dwServerFilterVersion) : 0;
  try {
    if (IsapiEngine->OnIsapiFilterVersion)
      IsapiEngine->OnIsapiFilterVersion(IsapiEngine, serverVersion, version, desc, flags, result);
  } catch (...) {
  }
  if (pVer) {
    CopyText(pVer->lpszFilterDesc, sizeof pVer->lpszFilterDesc, desc);
    pVer->dwFlags = static_cast<HSE_DWORD>(flags);
    pVer->dwFilterVersion = static_cast<HSE_DWORD>(version);
  }
  return 1;
}

HSE_DWORD IsapiHttpFilterProc(HTTP_FILTER_CONTEXT* pfc, HSE_DWORD notificationType, void* pvNotification) {
  g_isapiActive = true;
  t_pfc = pfc;
  int result = SF_STATUS_REQ_NEXT_NOTIFICATION;
  if (IsapiEngine) {
    CurrentEngine = IsapiEngine;
    try {
      if (IsapiEngine->OnIsapiFilterProc)
        IsapiEngine->OnIsapiFilterProc(IsapiEngine, pfc, static_cast<int>(notificationType), pvNotification, result);
    } catch (...) {
    }
  }
  t_pfc = nullptr;
  return static_cast<HSE_DWORD>(result);
}
