#include "gateway/CGISEng.h"

#include "gateway/GenEng.h"

namespace {
thread_local TStream* g_stdInput = nullptr;
thread_local TStream* g_stdOutput = nullptr;
}  // namespace

TStream*& StdInput() { return g_stdInput; }
TStream*& StdOutput() { return g_stdOutput; }

// ---------------------------------------------------------------- THttpCGIEngine

THttpCGIEngine::THttpCGIEngine(TComponent* owner) : THttpEngine(owner) {}

bool THttpCGIEngine::WantsStatusHeader() {
  std::string ss = UpperCase(ServerSoftware());
  if (Contains(ss, "NETSCAPE") || Contains(ss, "APACHE") || Contains(ss, "IPLANET") || Contains(ss, "STRONGHOLD"))
    return true;
  size_t iis = ss.find("IIS/");
  return iis != std::string::npos && iis + 4 < ss.size() && static_cast<unsigned char>(ss[iis + 4]) >= '4';
}

void THttpCGIEngine::WriteHeaderLine(const std::string& name, const std::string& value) {
  TStream* out = ERS().OutputStream;
  if (!out) return;
  std::string line;
  if (StartsWith(UpperCase(name), "HTTP/") && WantsStatusHeader())
    line = "Status:" + (name.size() > 8 ? name.substr(8) : std::string());
  else
    line = value.empty() ? name : name + ": " + value;
  line += "\r\n";
  out->WriteAll(line.data(), static_cast<int64_t>(line.size()));
}

void THttpCGIEngine::EndHeaders() {
  if (TStream* out = ERS().OutputStream) out->WriteAll("\r\n", 2);
}

void THttpCGIEngine::EndRequest() {
  THttpEngine::EndRequest();
  if (!ProcessKind::IsConsole && cgiAutoTerminate_ && cgiMode_ == TCGIMode::NormalMode) Terminate();
}

// ---------------------------------------------------------------- TCGIStdEngine

void InitStdCgiUnit() {
  StdInput() = nullptr;
  StdOutput() = nullptr;
  if (!IsStdCgi() && !IsServerProcess()) return;
  StdInput() = new THandleStream(0);
  StdOutput() = new THandleStream(1);
  // Hand-over to a resident server comes with the server mode.
}

void TCGIStdEngine::Loaded() {
  // The engine placed on a module by itself behaves as the selector does.
  if (Designing || ProcessKind::IsConsole || !IsStdCgi()) return;
  Execute(nullptr, nullptr, nullptr);
}

void TCGIStdEngine::RunConsole() {
  if (ProcessKind::IsConsole) RunRequest(StdInput(), StdOutput(), EnvironmentList());
}

void TCGIStdEngine::Execute(TStream* input, TStream* output, std::unique_ptr<TStringList> variables) {
  if (output) {
    StdInput() = input;
    StdOutput() = output;
    RunRequest(input, output, std::move(variables));
    return;
  }
  TStream* in = StdInput();
  TStream* out = StdOutput();
  StdInput() = nullptr;
  StdOutput() = nullptr;
  RunRequest(in, out, EnvironmentList());
}
