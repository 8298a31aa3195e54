#include "gateway/GenEng.h"

#include <unistd.h>

#include "gateway/CGIWEng.h"
#include "gateway/FcgiEng.h"
#include "gateway/NsapiEng.h"
#include "gateway/WsapiEng.h"

extern char** environ;

THttpCGIEngine* CgiEngine = nullptr;
THttpEngine* LibraryEngines[3] = {nullptr, nullptr, nullptr};

std::string EngineEnv(const char* name) {
  std::string v = GetEnv(name);
  if (v.size() > 4095) v.resize(4095);
  if (std::string_view(name) == "SERVER_SOFTWARE" && Contains(v, "ZB")) v.clear();
  return v;
}

bool IsServerProcess() {
  const auto& args = ProgramArgs();
  if (EngineEnv("SERVER_SOFTWARE").empty() && args.empty()) return true;
  return args.size() == 2 && Trim(args[0]) == "$$START_SERVER";
}

bool IsStdCgi() {
  if (ProcessKind::IsLibrary) return false;
  if (EngineEnv("SERVER_SOFTWARE").empty() && !IsServerProcess()) return false;
  return !Contains(UpperCase(EngineEnv("CGI_VERSION")), "WIN");
}

bool IsWinCgi() {
  const auto& args = ProgramArgs();
  std::string version = UpperCase(EngineEnv("CGI_VERSION"));
  // A standard CGI server (GATEWAY_INTERFACE set) passes a query string
  // without "=" as the command line: the argument is then the visitor's
  // text, not a profile the server wrote, and must not be opened as one.
  bool standardServer = !EngineEnv("GATEWAY_INTERFACE").empty();
  if (!standardServer && !args.empty() && FileExists(PosixPath(args[0])) &&
      (version.empty() || Contains(version, "WIN")))
    return true;
  return IsServerProcess();
}

std::unique_ptr<TStringList> EnvironmentList() {
  auto list = std::make_unique<TStringList>(true);
  for (char** e = environ; e && *e; ++e) list->Add(*e);
  return list;
}

void CopySettings(THttpEngine& s, THttpEngine& t) {
  t.SetOnExecRequest(s.OnExecRequest());
  t.SetOnFirstExecRequest(s.OnFirstExecRequest());
  t.SetOnLastExecRequest(s.OnLastExecRequest());
  t.SetOnRequestError(s.OnRequestError());
  t.SetOnPrepareRequest(s.OnPrepareRequest());
  t.SetOnUploadPrepareFile(s.OnUploadPrepareFile());
  t.SetOnRemoveSessionObject(s.OnRemoveSessionObject());
  t.SetDebugMode(s.DebugMode());
  t.SetNoCache(s.NoCache());
  t.SetAutoContentType(s.AutoContentType());
  t.SetAutoHttpHeader(s.AutoHttpHeader());
  t.SetAutoReadInput(s.AutoReadInput());
  t.SetAutoReadLimit(s.AutoReadLimit());
  t.SetTrimFormValues(s.TrimFormValues());
  t.AllowedMethods.SetGet(s.AllowedMethods.Get());
  t.AllowedMethods.SetPost(s.AllowedMethods.Post());
  t.AllowedMethods.SetPut(s.AllowedMethods.Put());
  auto* cgiTarget = dynamic_cast<THttpCGIEngine*>(&t);
  if (cgiTarget) {
    auto* gen = dynamic_cast<TGeneralHttpEngine*>(&s);
    auto* cgiSource = dynamic_cast<THttpCGIEngine*>(&s);
    if (gen) cgiTarget->SetCGIAutoTerminate(gen->CGIAutoTerminate());
    else if (cgiSource) cgiTarget->SetCGIAutoTerminate(cgiSource->CGIAutoTerminate());
  }
  t.SetCGIMode(s.CGIMode());
  t.CGISession.SetSessionName(s.CGISession.SessionName());
  t.CGISession.SetSessionType(s.CGISession.SessionType());
  t.CGISession.SetEncryptionKey(s.CGISession.EncryptionKey());
  t.CGISession.SetFileBased(s.CGISession.FileBased());
  t.CGISession.SetVisibility(s.CGISession.Visibility());
  t.SetTempDir(s.TempDir());
}

// ---------------------------------------------------------------- selector

TGeneralHttpEngine::TGeneralHttpEngine(TComponent* owner) : THttpEngine(owner) {
  if (ProcessKind::IsLibrary) {
    LibraryEngines[0] = new TIsapiEngine(owner);
    LibraryEngines[1] = new TNSAPIEngine(owner);
    LibraryEngines[2] = new TWsapiEngine(owner);
  } else if (FastCgiSelected()) {
    // Started by a FastCGI server (or listening itself): no CGI engine.
    FastCgiEngine = new TFcgiEngine(owner, FastCgiListenFd(), FastCgiSocketPath());
  } else if (IsWinCgi()) {
    CgiEngine = new TCGIWinEngine(owner);
  } else {
    CgiEngine = new TCGIStdEngine(owner);
  }
  SetCGIAutoTerminate(true);
}

TGeneralHttpEngine::~TGeneralHttpEngine() {
  if (CgiEngine && !ProcessKind::IsLibrary) {
    delete CgiEngine;
    CgiEngine = nullptr;
  }
  if (FastCgiEngine) {
    delete FastCgiEngine;
    FastCgiEngine = nullptr;
  }
  if (ProcessKind::IsLibrary) {
    for (THttpEngine*& e : LibraryEngines) {
      delete e;
      e = nullptr;
    }
  }
}

void TGeneralHttpEngine::SetOnIsapiExtensionVersion(TIsapiExtensionVersionEvent v) {
  onIsapiExtensionVersion_ = std::move(v);
  HandIsapiEvents();
}

void TGeneralHttpEngine::SetOnIsapiFilterProc(TIsapiFilterProcEvent v) {
  onIsapiFilterProc_ = std::move(v);
  HandIsapiEvents();
}

void TGeneralHttpEngine::SetOnIsapiFilterVersion(TIsapiFilterVersionEvent v) {
  onIsapiFilterVersion_ = std::move(v);
  HandIsapiEvents();
}

void TGeneralHttpEngine::HandIsapiEvents() {
  if (!ProcessKind::IsLibrary || !IsapiEngine) return;
  IsapiEngine->OnIsapiExtensionVersion = onIsapiExtensionVersion_;
  IsapiEngine->OnIsapiFilterProc = onIsapiFilterProc_;
  IsapiEngine->OnIsapiFilterVersion = onIsapiFilterVersion_;
}

void TGeneralHttpEngine::SetCGIAutoTerminate(bool v) {
  cgiAutoTerminate_ = v;
  if (!ProcessKind::IsLibrary && CgiEngine) CgiEngine->SetCGIAutoTerminate(v);
}

void TGeneralHttpEngine::Loaded() {
  if (ProcessKind::IsLibrary) {
    for (THttpEngine* e : LibraryEngines)
      if (e) CopySettings(*this, *e);
    HandIsapiEvents();
    return;
  }
  if (!FastCgiEngine && cgiMode_ != TCGIMode::NormalMode && !IsServerProcess() && !ServerIsRunning()) {
    Run();
    return;
  }
  if (!hookedOwner_ && Owner) {
    // Serve the request once the owning module has been created completely.
    hookedOwner_ = true;
    return;
  }
  Run();
}

void TGeneralHttpEngine::OwnerCreated() {
  if (hookedOwner_) Run();
}

void TGeneralHttpEngine::Run() {
  if (FastCgiEngine) {
    CopySettings(*this, *FastCgiEngine);
    FastCgiEngine->Serve(FastCgiSettingsFromEnvironment());
    return;
  }
  if (!CgiEngine) return;
  CopySettings(*this, *CgiEngine);
  CgiEngine->Execute(nullptr, nullptr, nullptr);
}

std::string TGeneralHttpEngine::GetServerVariable(const std::string& name) {
  if (ProcessKind::IsLibrary && IsapiActive() && IsapiEngine && CurrentEcb()) return IsapiEngine->GetServerVariable(name);
  return THttpEngine::GetServerVariable(name);
}

void TGeneralHttpEngine::Flush() {
  THttpEngine* ce = CurrentEngine.load();
  if (ce && ce != this) ce->Flush();
}

void TGeneralHttpEngine::Terminate() {
  THttpEngine* ce = CurrentEngine.load();
  if (ce && ce != this) ce->Terminate();
}
