// Engine selection: the component that the application places on its module
// looks at how the process was started, creates the matching concrete
// engine, copies its settings to it and lets it run.
#pragma once

#include "gateway/CGISEng.h"
#include "gateway/IsapiEng.h"

class TGeneralHttpEngine : public THttpEngine {
public:
  explicit TGeneralHttpEngine(TComponent* owner = nullptr);
  ~TGeneralHttpEngine() override;
  std::string ClassName() const override { return "TGeneralHttpEngine"; }

  bool CGIAutoTerminate() const { return cgiAutoTerminate_; }
  void SetCGIAutoTerminate(bool v);

  // Events handed to the ISAPI engine of a loaded library.
  const TIsapiExtensionVersionEvent& OnIsapiExtensionVersion() const { return onIsapiExtensionVersion_; }
  const TIsapiFilterProcEvent& OnIsapiFilterProc() const { return onIsapiFilterProc_; }
  const TIsapiFilterVersionEvent& OnIsapiFilterVersion() const { return onIsapiFilterVersion_; }
  void SetOnIsapiExtensionVersion(TIsapiExtensionVersionEvent v);
  void SetOnIsapiFilterProc(TIsapiFilterProcEvent v);
  void SetOnIsapiFilterVersion(TIsapiFilterVersionEvent v);

  // Runs the request once the owner has been created (the owner calls it at
  // the end of its construction, in place of a creation event).
  void OwnerCreated();
  void Loaded() override;

  // Never written to: the selector only forwards to the current engine.
  void WriteHeaderLine(const std::string&, const std::string&) override {}
  void EndHeaders() override {}
  std::string GetServerVariable(const std::string& name) override;
  void Flush() override;
  void Terminate() override;

private:
  void Run();
  void HandIsapiEvents();
  bool cgiAutoTerminate_ = true;
  TIsapiExtensionVersionEvent onIsapiExtensionVersion_;
  TIsapiFilterProcEvent onIsapiFilterProc_;
  TIsapiFilterVersionEvent onIsapiFilterVersion_;
  bool hookedOwner_ = false;
};

// The engine created by the selector for the CGI paths.
extern THttpCGIEngine* CgiEngine;
// In a library: the server interface engines that the selector created.
extern THttpEngine* LibraryEngines[3];

bool IsServerProcess();
bool IsStdCgi();
bool IsWinCgi();
// A resident server of this program is alive.
bool ServerIsRunning();
// Environment variable as the engine reads it (SERVER_SOFTWARE containing
// "ZB" counts as absent).
std::string EngineEnv(const char* name);
// Every NAME=value entry of the process environment, sorted.
std::unique_ptr<TStringList> EnvironmentList();
void CopySettings(THttpEngine& source, THttpEngine& target);
