// Engine core: construction and settings, the request cycle, the end of a
// request, reading the body, and the unit-level functions.
#include "gateway/HttpEng.h"

#include <chrono>
#include <exception>
#include <mutex>
#include <thread>
#include <unistd.h>

#include "gateway/HCgiDbg.h"
#include "gateway/HSessVar.h"

bool ProcessKind::IsLibrary = false;
bool ProcessKind::IsConsole = false;

std::atomic<THttpEngine*> CurrentEngine{nullptr};

namespace {
// The engine whose request runs on this thread. A library serves requests of
// several server interfaces at once; each thread's unit-level calls must
// reach the engine of its own request, not the one that started last.
thread_local THttpEngine* t_requestEngine = nullptr;
}  // namespace

THttpEngine* ActiveEngine() {
  THttpEngine* e = t_requestEngine;
  return e ? e : CurrentEngine.load();
}

const char* const DefaultEncryptionKey = "5A3C9E17B2D84F60A1C7E39B4D2F8065";

// ---------------------------------------------------------------- halting

static std::function<void(int)>& HaltHandler() {
  static std::function<void(int)> handler;
  return handler;
}

void SetHaltHandler(std::function<void(int)> handler) { HaltHandler() = std::move(handler); }

void HaltProcess(int exitCode) {
  if (HaltHandler()) {
    HaltHandler()(exitCode);
    throw EHalt{exitCode};
  }
  std::exit(exitCode);
}

int EngineRandom(int n) { return Random(n); }

EngineRequestState& ERS() {
  static thread_local EngineRequestState state;
  return state;
}

// ---------------------------------------------------------------- process-wide

namespace {
std::atomic<int> g_requestCounter{0};
std::mutex g_requestLock;

// Ends the process when a body read makes no progress before its deadline.
class TWatchDogThread {
public:
  TWatchDogThread() : thread_([this] { Run(); }) {}
  ~TWatchDogThread() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  void SetDeadline(int64_t ms) { deadline_ = ms; }

private:
  void Run() {
    while (!stop_) {
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
      int64_t d = deadline_;
      if (d > 0 && NowMs() > d) _exit(0);
    }
  }
  static int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
  friend int64_t WatchdogNow();
  std::atomic<bool> stop_{false};
  std::atomic<int64_t> deadline_{0};
  std::thread thread_;
};

std::unique_ptr<TWatchDogThread> g_watchdog;
std::mutex g_watchdogLock;
// Seconds a body read may go without progress: 30, or what the operator
// sets in the environment variable CGI_READ_TIMEOUT.
int64_t ReadTimeoutMs() {
  static const int64_t ms = [] {
    int32_t s = StrToIntDef(GetEnv("CGI_READ_TIMEOUT"), 30);
    return static_cast<int64_t>(s >= 1 ? s : 30) * 1000;
  }();
  return ms;
}

int64_t DeadlineFromNow() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
             .count() +
         ReadTimeoutMs();
}

void OnUnhandled() {
  std::string msg = "unknown exception";
  if (auto ep = std::current_exception()) {
    try {
      std::rethrow_exception(ep);
    } catch (const std::exception& e) {
      msg = e.what();
    } catch (...) {
    }
  }
  LogEngineMessage("Unhandled Exception (2) :" + msg);
  std::_Exit(0);
}
}  // namespace

// Deletes the request's temporary files and forgets them.
static void DeleteTempFiles(EngineRequestState& r) {
  if (!r.TempFiles) return;
  for (const auto& f : r.TempFiles->Items()) ::unlink(PosixPath(f).c_str());
  r.TempFiles->Clear();
}

void StopWatchdog() {
  std::lock_guard<std::mutex> lock(g_watchdogLock);
  g_watchdog.reset();
}

// ---------------------------------------------------------------- settings

void TAllowedMethods::SetGet(bool v) {
  get_ = v;
  if (THttpEngine* t = owner_->MirrorTarget(); t && t->AllowedMethods.get_ != v) t->AllowedMethods.SetGet(v);
}

void TAllowedMethods::SetPost(bool v) {
  post_ = v;
  if (THttpEngine* t = owner_->MirrorTarget(); t && t->AllowedMethods.post_ != v) t->AllowedMethods.SetPost(v);
}

void TAllowedMethods::SetPut(bool v) {
  put_ = v;
  if (THttpEngine* t = owner_->MirrorTarget(); t && t->AllowedMethods.put_ != v) t->AllowedMethods.SetPut(v);
}

TSessionProperties::TSessionProperties(THttpEngine* owner) : owner_(owner), encryptionKey_(DefaultEncryptionKey) {}

void TSessionProperties::SetSessionName(const std::string& v) {
  sessionName_ = v;
  if (THttpEngine* t = owner_->MirrorTarget(); t && t->CGISession.sessionName_ != v) t->CGISession.SetSessionName(v);
}

void TSessionProperties::SetEncryptionKey(const std::string& v) {
  encryptionKey_ = v;
  if (THttpEngine* t = owner_->MirrorTarget(); t && t->CGISession.encryptionKey_ != v)
    t->CGISession.SetEncryptionKey(v);
}

void TSessionProperties::SetSessionType(TSessionType v) {
  sessionType_ = v;
  if (THttpEngine* t = owner_->MirrorTarget(); t && t->CGISession.sessionType_ != v) t->CGISession.SetSessionType(v);
}

void TSessionProperties::SetFileBased(bool v) {
  fileBased_ = v;
  // Sessions visible to all applications live in files.
  if (!fileBased_ && visibility_ == TSessionVisibility::AllApplications) visibility_ = TSessionVisibility::ThisApplication;
  if (THttpEngine* t = owner_->MirrorTarget(); t && t->CGISession.fileBased_ != v) t->CGISession.SetFileBased(v);
}

void TSessionProperties::SetVisibility(TSessionVisibility v) {
  visibility_ = v;
  if (!fileBased_ && visibility_ == TSessionVisibility::AllApplications) fileBased_ = true;
  if (THttpEngine* t = owner_->MirrorTarget(); t && t->CGISession.visibility_ != v) t->CGISession.SetVisibility(v);
}

THttpEngine* THttpEngine::MirrorTarget() {
  THttpEngine* ce = CurrentEngine.load();
  return ce && ce != this ? ce : nullptr;
}

#define MIRROR(setter, value)                    \
  do {                                           \
    if (THttpEngine* t = MirrorTarget()) t->setter(value); \
  } while (0)

void THttpEngine::SetOnBeforeResponse(TBeforeResponseEvent v) {
  onBeforeResponse_ = v;
  MIRROR(SetOnBeforeResponse, v);
}
void THttpEngine::SetOnExecRequest(TNotifyEvent v) {
  onExecRequest_ = v;
  MIRROR(SetOnExecRequest, v);
}
void THttpEngine::SetOnFirstExecRequest(TNotifyEvent v) {
  onFirstExecRequest_ = v;
  MIRROR(SetOnFirstExecRequest, v);
}
void THttpEngine::SetOnLastExecRequest(TNotifyEvent v) {
  onLastExecRequest_ = v;
  MIRROR(SetOnLastExecRequest, v);
}
void THttpEngine::SetOnPrepareRequest(TNotifyEvent v) {
  onPrepareRequest_ = v;
  MIRROR(SetOnPrepareRequest, v);
}
void THttpEngine::SetOnRequestError(TRequestErrorEvent v) {
  onRequestError_ = v;
  MIRROR(SetOnRequestError, v);
}
void THttpEngine::SetOnUploadPrepareFile(TUploadPrepareFileEvent v) { onUploadPrepareFile_ = std::move(v); }
void THttpEngine::SetOnRemoveSessionObject(TRemoveSessionObjectEvent v) {
  onRemoveSessionObject_ = v;
  MIRROR(SetOnRemoveSessionObject, v);
}
void THttpEngine::SetAutoContentType(const std::string& v) {
  autoContentType_ = v;
  MIRROR(SetAutoContentType, v);
}
void THttpEngine::SetAutoHttpHeader(bool v) {
  autoHttpHeader_ = v;
  MIRROR(SetAutoHttpHeader, v);
}
void THttpEngine::SetAutoReadInput(bool v) {
  autoReadInput_ = v;
  MIRROR(SetAutoReadInput, v);
}
void THttpEngine::SetTrimFormValues(bool v) {
  trimFormValues_ = v;
  MIRROR(SetTrimFormValues, v);
}
void THttpEngine::SetAutoReadLimit(int32_t v) {
  autoReadLimit_ = v;
  MIRROR(SetAutoReadLimit, v);
}
void THttpEngine::SetCGIMode(TCGIMode v) {
  cgiMode_ = v;
  MIRROR(SetCGIMode, v);
}
void THttpEngine::SetDebugMode(TDebugMode v) {
  debugMode_ = v;
  MIRROR(SetDebugMode, v);
}
void THttpEngine::SetNoCache(bool v) {
  noCache_ = v;
  MIRROR(SetNoCache, v);
}
void THttpEngine::SetTempDir(const std::string& v) {
  tempDir_ = v;
  MIRROR(SetTempDir, v);
}
void THttpEngine::SetSessionName(const std::string& v) { CGISession.SetSessionName(v); }
void THttpEngine::SetBufferedOutput(bool) {}

#undef MIRROR

// ---------------------------------------------------------------- lifetime

THttpEngine::THttpEngine(TComponent* owner) : TComponent(owner) {
  CurrentEngine = this;
  static std::once_flag handlerInstalled;
  std::call_once(handlerInstalled, [] { std::set_terminate(OnUnhandled); });
}

THttpEngine::~THttpEngine() {
  if (CurrentEngine.load() == this) {
    if (ProcessKind::IsLibrary && cgiMode_ != TCGIMode::NormalMode && onLastExecRequest_) {
      try {
        onLastExecRequest_(Owner);
      } catch (const std::exception&) {
      }
    }
    try {
      RemoveSessionObjects(this, onRemoveSessionObject_);
    } catch (const std::exception&) {
    }
    CurrentEngine = nullptr;
  }
}

// ---------------------------------------------------------------- request cycle

void THttpEngine::RunRequest(TStream* input, TStream* output, std::unique_ptr<TStringList> variables) {
  EngineRequestState& r = ERS();
  // Held from the application's call to the end of the failure handling;
  // let go on every way out of the block, before the request ends.
  std::unique_lock<std::mutex> requestLock(g_requestLock, std::defer_lock);
  struct RequestEngineScope {
    THttpEngine* saved;
    explicit RequestEngineScope(THttpEngine* e) : saved(t_requestEngine) { t_requestEngine = e; }
    ~RequestEngineScope() { t_requestEngine = saved; }
  } requestEngine(this);
  try {
    // Nothing of the thread's previous request survives: the whole state is
    // set back at once, then filled for this request.
    r = EngineRequestState{};
    r.FormFields = std::make_unique<TStringList>(true);
    r.TempFiles = std::make_unique<TStringList>();
    r.Headers = std::make_unique<TStringList>();
    r.OutputBuffer = std::make_unique<TMemoryStream>();
    // Room for a whole page at once: the buffer is written in hundreds of
    // small pieces and would otherwise grow and be copied again and again.
    r.OutputBuffer->Reserve(64 * 1024);
    CurrentEngine = this;
    r.InputStream = input;
    r.OutputStream = output;
    r.OwnedOutput.reset(output);
    r.OwnedInput.reset(input != output ? input : nullptr);
    r.ServerVariables = variables ? std::move(variables) : std::make_unique<TStringList>();
    r.RequestNumber = Random(10000);

    BeforeRequest();
    if (debugMode_ != TDebugMode::NoDebug) {
      r.DebugInput = std::make_unique<TMemoryStream>();
      r.UserLog = std::make_unique<TMemoryStream>();
      if (debugMode_ == TDebugMode::DebugAlways) StartDebugResponse();
    }
    if (onPrepareRequest_) onPrepareRequest_(this);
    if (autoReadInput_) ReadInput();
    if (cgiMode_ == TCGIMode::ServerMode && ProcessKind::IsLibrary) requestLock.lock();
    if (++g_requestCounter == 1 && onFirstExecRequest_) onFirstExecRequest_(this);
    if (onExecRequest_) onExecRequest_(this);
    if (!ProcessKind::IsLibrary && cgiMode_ == TCGIMode::NormalMode && onLastExecRequest_) onLastExecRequest_(this);
    if (!ProcessKind::IsConsole && autoHttpHeader_ && !r.BodySent && r.OutputBuffer && r.OutputBuffer->Size() > 0 &&
        r.Headers->IndexOfName("content-length") < 0) {
      SetHeader("content-length", IntToStr(r.OutputBuffer->Size()));
      SetHeader("Connection", "Keep-Alive");
    }
  } catch (Exception& e) {
    FailRequest(e);
  } catch (const std::exception& e) {
    Exception wrapped(e.what());
    FailRequest(wrapped);
  }
  if (requestLock.owns_lock()) requestLock.unlock();
  if (!ProcessKind::IsConsole) EndRequest();
}

// The one way a failed request ends: the application's error handler when
// it has one, else (or when that handler fails in turn) the engine's error
// page, after the debug response when debugging is on.
void THttpEngine::FailRequest(Exception& e) {
  if (onRequestError_) {
    try {
      onRequestError_(this, e);
      return;
    } catch (Exception& inner) {
      EngineErrorPage(inner);
      return;
    } catch (const std::exception& inner) {
      Exception wrapped(inner.what());
      EngineErrorPage(wrapped);
      return;
    }
  }
  EngineErrorPage(e);
}

void THttpEngine::EngineErrorPage(Exception& e) {
  if (debugMode_ != TDebugMode::NoDebug) StartDebugResponse();
  HandleRequestException(e);
}

void THttpEngine::EndRequest() {
  EngineRequestState& r = ERS();
  if (ProcessKind::IsConsole && !ProcessKind::IsLibrary && autoHttpHeader_ && !r.BodySent && r.OutputBuffer &&
      r.OutputBuffer->Size() > 0 && r.Headers && r.Headers->IndexOfName("content-length") < 0) {
    SetHeader("content-length", IntToStr(r.OutputBuffer->Size()));
    SetHeader("Connection", "Keep-Alive");
  }
  if (r.DebugDumpPending) WriteLn("");
  if (!r.OutputStream) return;
  if (r.Session) EndRequestSession();
  if (onBeforeResponse_ && r.Headers && r.OutputBuffer) onBeforeResponse_(this, *r.Headers, *r.OutputBuffer);
  Flush();
  r.OwnedInput.reset();
  r.OwnedOutput.reset();
  r.InputStream = r.OutputStream = nullptr;
  r.DebugInput.reset();
  r.UserLog.reset();
  r.ServerVariables.reset();
  r.FormFields.reset();
  DeleteTempFiles(r);
  r.TempFiles.reset();
  r.Headers.reset();
  r.OutputBuffer.reset();
}

void THttpEngine::Terminate() {
  EngineRequestState& r = ERS();
  try {
    THttpEngine* ce = ActiveEngine();
    if (ce && r.OutputStream) {
      ce->Flush();
      if (ProcessKind::IsLibrary || (ce->IsCGIEngine() && !ce->AutoTerminates())) ce->EndRequest();
    }
  } catch (const std::exception&) {
  }
  // Temporary files of a request that ends here are not left behind.
  DeleteTempFiles(r);
  try {
    StopWatchdog();
  } catch (const std::exception&) {
  }
  try {
    if (r.Session) TerminateSession();
  } catch (const std::exception&) {
  }
  if (!ProcessKind::IsLibrary) HaltProcess(0);
}

// ---------------------------------------------------------------- body

int64_t THttpEngine::ReadClient(void* bytes, int64_t count) {
  EngineRequestState& r = ERS();
  if (!r.InputStream) return -1;
  bool guarded = false;
  // The watchdog ends a process whose body read stalls. It guards every body,
  // also short ones: a client that sends fewer bytes than it announced must
  // not hold the process for ever.
  if (!ProcessKind::IsLibrary && ContentLength() >= 1) {
    std::lock_guard<std::mutex> lock(g_watchdogLock);
    if (!g_watchdog) g_watchdog = std::make_unique<TWatchDogThread>();
    g_watchdog->SetDeadline(DeadlineFromNow());
    guarded = true;
  }
  char* p = static_cast<char*>(bytes);
  int64_t got = 0;
  int64_t last = 0;
  while (got < count && last >= 0) {
    int64_t want = std::min<int64_t>(count - got, 1032);
    last = r.InputStream->Read(p + got, want);
    if (last > 0) {
      got += last;
      if (guarded) {
        std::lock_guard<std::mutex> lock(g_watchdogLock);
        if (g_watchdog) g_watchdog->SetDeadline(DeadlineFromNow());
      }
    } else if (last == 0) {
      // End of the stream: what has arrived is all there is.
      break;
    } else if (got == 0) {
      got = last;
    }
  }
  if (guarded) {
    std::lock_guard<std::mutex> lock(g_watchdogLock);
    if (g_watchdog) g_watchdog->SetDeadline(0);
  }
  if (debugMode_ != TDebugMode::NoDebug && r.DebugInput && got > 0) r.DebugInput->Write(bytes, got);
  return got;
}

// ---------------------------------------------------------------- typed readers

std::string THttpEngine::GetRawVariable(const std::string&) { return std::string(); }

std::string THttpEngine::ServerSoftware() { return GetServerVariable("SERVER SOFTWARE"); }
std::string THttpEngine::GatewayInterface() { return GetServerVariable("GATEWAY INTERFACE"); }
std::string THttpEngine::ServerProtocol() { return GetServerVariable("SERVER_PROTOCOL"); }
std::string THttpEngine::ServerPort() { return GetServerVariable("SERVER_PORT"); }
bool THttpEngine::ServerPortSecure() { return GetServerVariable("SERVER_PORT_SECURE") == "1"; }
std::string THttpEngine::RequestMethod() { return GetServerVariable("REQUEST_METHOD"); }
std::string THttpEngine::PathInfo() { return GetServerVariable("PATH_INFO"); }
std::string THttpEngine::PathTranslated() { return GetServerVariable("PATH_TRANSLATED"); }
std::string THttpEngine::ScriptName() { return GetServerVariable("SCRIPT_NAME"); }
std::string THttpEngine::QueryString() { return GetServerVariable("QUERY_STRING"); }
std::string THttpEngine::RemoteHost() { return GetServerVariable("REMOTE_HOST"); }
std::string THttpEngine::RemoteAddr() { return GetServerVariable("REMOTE_ADDR"); }
std::string THttpEngine::AuthType() { return GetServerVariable("AUTH_TYPE"); }
std::string THttpEngine::RemoteUser() { return GetServerVariable("REMOTE_USER"); }
std::string THttpEngine::RemoteIdent() { return GetServerVariable("REMOTE_IDENT"); }
std::string THttpEngine::ContentType() { return GetServerVariable("CONTENT_TYPE"); }
int32_t THttpEngine::ContentLength() { return StrToIntDef(GetServerVariable("CONTENT_LENGTH"), 0); }
std::string THttpEngine::Url() { return GetServerVariable("URL"); }
std::string THttpEngine::UserAgent() { return GetServerVariable("USER_AGENT"); }
std::string THttpEngine::HttpCookie() { return GetServerVariable("HTTP_COOKIE"); }
std::string THttpEngine::HttpReferer() { return GetServerVariable("HTTP_REFERER"); }
std::string THttpEngine::ExecutablePath() { return GetServerVariable("EXECUTABLE_PATH"); }

std::unique_ptr<TStringList> THttpEngine::GetFormFields() {
  auto list = std::make_unique<TStringList>();
  if (ERS().FormFields)
    for (const auto& e : ERS().FormFields->Items()) list->Add(e);
  return list;
}

// ---------------------------------------------------------------- unit functions

static THttpEngine& RequireEngine() {
  THttpEngine* e = ActiveEngine();
  if (!e) throw Exception("No current engine");
  return *e;
}

void HttpWrite(std::string_view text) {
  if (!text.empty()) RequireEngine().Write(text);
}

void HttpWriteLn(std::string_view text) {
  THttpEngine& e = RequireEngine();
  e.Write(text);
  e.Write("\r\n");
}

std::string HttpServerVariable(const std::string& name) {
  THttpEngine* e = ActiveEngine();
  return e ? e->GetServerVariable(name) : std::string();
}

std::string HttpFormField(const std::string& name, const std::string& def) {
  THttpEngine* e = ActiveEngine();
  return e ? e->GetFormField(name, def) : std::string();
}

std::string HttpRemoteAddr() {
  THttpEngine* e = ActiveEngine();
  return e ? e->RemoteAddr() : std::string();
}

std::string HttpRemoteHost() {
  THttpEngine* e = ActiveEngine();
  return e ? e->RemoteHost() : std::string();
}

std::string HttpExecutablePath() {
  THttpEngine* e = ActiveEngine();
  return e ? e->ExecutablePath() : std::string();
}

void HttpFlush() { RequireEngine().Flush(); }

std::unique_ptr<TStringList> HttpSplitLines(std::string_view text) {
  auto list = std::make_unique<TStringList>();
  list->SetText(text);
  return list;
}
