#include "support/EngineHarness.h"

namespace {
// A standard CGI engine that never ends the test process.
class TTestEngine : public TCGIStdEngine {
public:
  TTestEngine() { SetCGIAutoTerminate(false); }
  void Terminate() override {
    try {
      THttpEngine::Terminate();
    } catch (const EHalt&) {
      halted = true;
    }
  }
  bool halted = false;
};
}  // namespace

namespace {
EngineRun RunOne(const std::vector<std::string>& vars, const std::string& body,
                 const std::function<void(THttpCGIEngine&)>& setup,
                 const std::function<void(THttpEngine&)>& handler) {
  EngineRun run;
  auto engine = std::make_unique<TTestEngine>();
  if (setup) setup(*engine);
  if (handler) engine->SetOnExecRequest([&](TComponent*) { handler(*engine); });
  auto list = std::make_unique<TStringList>(true);
  for (const auto& v : vars) list->Add(v);
  auto* input = new TMemoryStream();
  input->Write(body.data(), static_cast<int64_t>(body.size()));
  input->Seek(0);
  try {
    engine->Execute(input, new TStringSink(run.output), std::move(list));
  } catch (const EHalt&) {
    run.halted = true;
  }
  run.halted = run.halted || engine->halted;
  return run;
}
}  // namespace

EngineRun RunEngineRequest(const std::vector<std::string>& vars, const std::string& body,
                           const std::function<void(THttpCGIEngine&)>& setup,
                           const std::function<void(THttpEngine&)>& handler) {
  SetHaltHandler([](int) {});
  EngineRun run = RunOne(vars, body, setup, handler);
  SetHaltHandler(nullptr);
  return run;
}

EngineRun RunEngineRequestOnThread(const std::vector<std::string>& vars, const std::string& body,
                                   const std::function<void(THttpEngine&)>& handler) {
  return RunOne(vars, body, nullptr, handler);
}

RequestScope::RequestScope(std::string& output, std::vector<std::string> vars)
    : engine_(std::make_unique<TTestEngine>()) {
  SetHaltHandler([](int) {});
  EngineRequestState& r = ERS();
  r.FormFields = std::make_unique<TStringList>(true);
  r.TempFiles = std::make_unique<TStringList>();
  r.Headers = std::make_unique<TStringList>();
  r.OutputBuffer = std::make_unique<TMemoryStream>();
  r.ServerVariables = std::make_unique<TStringList>(true);
  for (auto& v : vars) r.ServerVariables->Add(v);
  r.OwnedOutput = std::make_unique<TStringSink>(output);
  r.OutputStream = r.OwnedOutput.get();
  r.InputStream = nullptr;
  r.HeadersSent = r.BodySent = false;
  r.DebugDumpPending = 0;
  CurrentEngine = engine_.get();
  engine_->SetAutoHttpHeader(false);
}

void RequestScope::Flush() { engine_->Flush(); }

RequestScope::~RequestScope() {
  Flush();
  EngineRequestState& r = ERS();
  r.OutputStream = nullptr;
  r.OwnedOutput.reset();
  r.ServerVariables.reset();
  r.FormFields.reset();
  r.Headers.reset();
  r.OutputBuffer.reset();
  r.TempFiles.reset();
  SetHaltHandler(nullptr);
}
