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
// Runs one request on `engine`, whose handler is set.
EngineRun Execute(TTestEngine& engine, const std::vector<std::string>& vars, const std::string& body) {
  EngineRun run;
  auto list = std::make_unique<TStringList>(true);
  for (const auto& v : vars) list->Add(v);
  auto* input = new TMemoryStream();
  input->Write(body.data(), static_cast<int64_t>(body.size()));
  input->Seek(0);
  engine.halted = false;
  try {
    engine.Execute(input, new TStringSink(run.output), std::move(list));
  } catch (const EHalt&) {
    run.halted = true;
  }
  run.halted = run.halted || engine.halted;
  return run;
}
}  // namespace

EngineRun RunEngineRequest(const std::vector<std::string>& vars, const std::string& body,
                           const std::function<void(THttpCGIEngine&)>& setup,
                           const std::function<void(THttpEngine&)>& handler) {
  SetHaltHandler([](int) {});
  auto engine = std::make_unique<TTestEngine>();
  if (setup) setup(*engine);
  if (handler) engine->SetOnExecRequest([&](TComponent*) { handler(*engine); });
  EngineRun run = Execute(*engine, vars, body);
  SetHaltHandler(nullptr);
  return run;
}

ThreadEngine::ThreadEngine(std::function<void(THttpEngine&)> handler)
    : engine_(std::make_unique<TTestEngine>()), handler_(std::move(handler)) {
  engine_->SetOnExecRequest([this](TComponent*) { handler_(*engine_); });
}

ThreadEngine::~ThreadEngine() = default;

EngineRun ThreadEngine::Run(const std::vector<std::string>& vars, const std::string& body) {
  return Execute(static_cast<TTestEngine&>(*engine_), vars, body);
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
