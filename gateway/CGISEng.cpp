#include "gateway/CGISEng.h"

#include "gateway/GenEng.h"
#include "gateway/HCgiDbg.h"
#include "gateway/HServer.h"

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

std::string CgiHeaderLine(const std::string& name, const std::string& value, bool statusHeader) {
  std::string line;
  if (statusHeader && StartsWith(UpperCase(name), "HTTP/"))
    line = "Status:" + (name.size() > 8 ? name.substr(8) : std::string());
  else
    line = value.empty() ? name : name + ": " + value;
  return line + "\r\n";
}

void THttpCGIEngine::WriteHeaderLine(const std::string& name, const std::string& value) {
  TStream* out = ERS().OutputStream;
  if (!out) return;
  std::string line = CgiHeaderLine(name, value, StartsWith(UpperCase(name), "HTTP/") && WantsStatusHeader());
  out->WriteAll(line.data(), static_cast<int64_t>(line.size()));
}

void THttpCGIEngine::EndHeaders() {
  if (TStream* out = ERS().OutputStream) out->WriteAll("\r\n", 2);
}

void THttpCGIEngine::EndRequest() {
  THttpEngine::EndRequest();
  if (!ProcessKind::IsConsole && cgiAutoTerminate_ && cgiMode_ == TCGIMode::NormalMode) Terminate();
}

void THttpCGIEngine::BeforeRequest() {
  if (pendingFailure_.empty()) return;
  std::string message;
  message.swap(pendingFailure_);
  throw Exception(message);
}

namespace {
// What the hand-over at the start of the process left for the engine: that
// it was tried already, and a failure to report on the error page.
struct TStartHandOver {
  bool tried = false;
  std::string failure;
};
TStartHandOver g_startHandOver;

// The hand-over to the resident server (starting one when none is alive).
// True when the request is done and the streams are released; false when it
// is to be served here, `input` then holding the body that the hand-over had
// already read, and `failure` what the visitor is to be told, if anything.
bool HandOverToResidentServer(TStream*& input, TStream*& output, const TStringList& variables, std::string& failure,
                              int64_t readLimit) {
  // A body over the read limit is not read into memory to be handed on: it
  // is served here, where the engine refuses it before reading it.
  if (readLimit > 0 && variables.IndexOfName("CONTENT_LENGTH") >= 0 &&
      AnnouncedLength(variables.Value("CONTENT_LENGTH")) > readLimit)
    return false;
  // Without a server that answers, the request is served here as usual.
  if (!ServerIsRunning() && !StartServerProcess()) return false;
  std::string body;
  THandOver result;
  try {
    result = HandToServer(input, output, variables, body);
  } catch (const Exception& e) {
    LogEngineMessage(e.Message);
    failure = e.Message;
    return false;
  }
  if (result == THandOver::NoAnswer) {
    LogEngineMessage("Server mode - no answer from the server; the request is served here");
    auto* kept = new TMemoryStream();
    kept->Write(body.data(), static_cast<int64_t>(body.size()));
    kept->Seek(0);
    if (input != output) delete input;
    input = kept;
    return false;
  }
  if (input != output) delete input;
  delete output;
  input = output = nullptr;
  return true;
}
}  // namespace

bool THttpCGIEngine::ServeByResidentServer(TStream*& input, TStream*& output, const TStringList& variables) {
  if (cgiMode_ == TCGIMode::NormalMode || IsServerProcess()) return false;
  // Tried at the start of the process already: what is left is served here.
  if (g_startHandOver.tried) {
    pendingFailure_ = g_startHandOver.failure;
    return false;
  }
  return HandOverToResidentServer(input, output, variables, pendingFailure_, autoReadLimit_);
}

bool HandOverAtStart(TCGIMode mode, int64_t readLimit) {
  if (mode == TCGIMode::NormalMode || ProcessKind::IsLibrary || IsServerProcess() || IsWinCgi() || !StdOutput())
    return false;
  g_startHandOver = TStartHandOver{};
  g_startHandOver.tried = true;
  TStream* in = StdInput();
  TStream* out = StdOutput();
  auto environment = EnvironmentList();
  bool done = HandOverToResidentServer(in, out, *environment, g_startHandOver.failure, readLimit);
  // Served here after all: the engine reads the body from what the
  // hand-over kept of it.
  StdInput() = in;
  StdOutput() = out;
  return done;
}

// ---------------------------------------------------------------- TCGIStdEngine

void InitStdCgiUnit() {
  StdInput() = nullptr;
  StdOutput() = nullptr;
  if (!IsStdCgi() && !IsServerProcess()) return;
  StdInput() = new THandleStream(0);
  StdOutput() = new THandleStream(1);
  // Whether a resident server takes the request over is decided when it
  // runs (Execute), once the module's settings are known.
}

void TCGIStdEngine::Loaded() {
  // The engine placed on a module by itself behaves as the selector does.
  if (ProcessKind::IsConsole || !IsStdCgi()) return;
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
  if (IsServerProcess()) {
    if (cgiMode_ == TCGIMode::NormalMode) SetCGIMode(TCGIMode::ServerMode);
    ServerLoop(*this);
    return;
  }
  TStream* in = StdInput();
  TStream* out = StdOutput();
  StdInput() = nullptr;
  StdOutput() = nullptr;
  auto environment = EnvironmentList();
  if (ServeByResidentServer(in, out, *environment)) return;
  RunRequest(in, out, std::move(environment));
}
