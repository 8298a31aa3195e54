#include "gateway/CGIWEng.h"

#include "gateway/GenEng.h"
#include "gateway/HServer.h"

namespace {
thread_local TStream* g_winInput = nullptr;
thread_local TStream* g_winOutput = nullptr;
thread_local std::unique_ptr<TStringList> g_winVariables;

constexpr int kMaxProfileLine = 16383;
constexpr int kExternalPiece = 2048;

// Section names compare upper-cased with blanks as "_".
std::string SectionKey(std::string_view name) {
  std::string s = UpperCase(Trim(name));
  for (auto& c : s)
    if (c == ' ') c = '_';
  return s;
}

void AppendField(TMemoryStream& body, const std::string& name, std::string_view value) {
  std::string piece = name + "=" + HttpUrlEncode(value) + "&";
  body.Write(piece.data(), static_cast<int64_t>(piece.size()));
}

// A [Form External] line: "path length"; the field's value is the first
// `length` bytes of the file.
void AppendExternalField(TMemoryStream& body, const std::string& name, const std::string& value) {
  size_t blank = value.find(' ');
  std::string path = CompleteProfilePath(value.substr(0, blank));
  std::string lengthText = blank == std::string::npos ? std::string() : Trim(value.substr(blank + 1));
  if (lengthText.size() > 10) lengthText.resize(10);
  int32_t length = StrToInt(lengthText);
  if (length < 0) throw EConvertError("'" + lengthText + "' is not a valid length");
  TFileStream file(path, TFileStream::OpenRead);
  std::string content;
  char buf[kExternalPiece];
  while (static_cast<int32_t>(content.size()) < length) {
    int64_t want = std::min<int64_t>(kExternalPiece, length - static_cast<int64_t>(content.size()));
    int64_t n = file.Read(buf, want);
    if (n <= 0) break;
    content.append(buf, static_cast<size_t>(n));
  }
  AppendField(body, name, content);
}
}  // namespace

TStream*& WinInput() { return g_winInput; }
TStream*& WinOutput() { return g_winOutput; }
std::unique_ptr<TStringList>& WinVariables() { return g_winVariables; }

std::string CompleteProfilePath(const std::string& path) { return PosixPath(path); }

std::string ReadProfileLine(TStream& stream, bool& more) {
  std::string line;
  more = false;
  char c;
  while (static_cast<int>(line.size()) < kMaxProfileLine) {
    if (stream.Read(&c, 1) != 1) break;
    if (c == '\r') {
      more = true;
      break;
    }
    line += c;
  }
  if (static_cast<int>(line.size()) >= kMaxProfileLine) more = true;
  return TrimLeft(line);
}

TWinCgiRequest ReadWinCgiProfile(const std::string& path, TStringList& variables) {
  TWinCgiRequest req;
  std::unique_ptr<TMemoryStream> body;
  std::vector<std::string> accepted;
  {
    TFileStream profile(CompleteProfilePath(path), TFileStream::OpenRead);
    std::string section;
    bool more = true;
    while (more) {
      std::string line = ReadProfileLine(profile, more);
      if (StartsWith(line, "[") && Contains(line, "]")) {
        section = SectionKey(line.substr(1, line.find(']') - 1));
        continue;
      }
      size_t eq = line.find('=');
      if (eq == std::string::npos) continue;
      std::string key = Trim(line.substr(0, eq));
      std::string value = Trim(line.substr(eq + 1));
      if (key.empty()) continue;
      if (section == "CGI" || section == "SYSTEM" || section == "EXTRA_HEADERS") {
        for (auto& c : key)
          if (c == ' ') c = '_';
        variables.Add(key + "=" + value);
      } else if (section == "ACCEPT") {
        if (UpperCase(value) == "YES") accepted.push_back(key);
      } else if (section == "FORM_LITERAL") {
        if (!body) body = std::make_unique<TMemoryStream>();
        AppendField(*body, key, value);
      } else if (section == "FORM_EXTERNAL") {
        if (!body) body = std::make_unique<TMemoryStream>();
        try {
          AppendExternalField(*body, key, value);
        } catch (const Exception&) {
          // A field whose file cannot be read is left out; the others stay.
        }
      }
    }
  }
  if (!accepted.empty()) {
    std::string list;
    for (const auto& a : accepted) list += (list.empty() ? "" : ",") + a;
    variables.Add("HTTP_ACCEPT=" + list);
  }
  req.OutputFileName = CompleteProfilePath(variables.Value("OUTPUT_FILE"));
  std::string contentFile = CompleteProfilePath(variables.Value("CONTENT_FILE"));
  if (!contentFile.empty() && FileExists(contentFile)) {
    body.reset();
    req.Input = std::make_unique<TFileStream>(contentFile, TFileStream::OpenRead);
  } else if (body) {
    body->Seek(0);
    req.Input = std::move(body);
  }
  if (!req.OutputFileName.empty()) {
    // The response replaces whatever the file held before: no old bytes may
    // trail a shorter response.
    req.Output = std::make_unique<TFileStream>(req.OutputFileName, TFileStream::Create);
  }
  return req;
}

// ---------------------------------------------------------------- engine

void InitWinCgiUnit() {
  WinInput() = nullptr;
  WinOutput() = nullptr;
  // The profile is read when the request runs (Execute), once the module's
  // settings tell whether a resident server takes it over.
}

void TCGIWinEngine::Loaded() {
  if (ProcessKind::IsConsole || !IsWinCgi()) return;
  Execute(nullptr, nullptr, nullptr);
}

void TCGIWinEngine::RunConsole() {
  if (ProcessKind::IsConsole) RunRequest(WinInput(), WinOutput(), std::move(WinVariables()));
}

void TCGIWinEngine::Execute(TStream* input, TStream* output, std::unique_ptr<TStringList> variables) {
  if (output) {
    WinInput() = input;
    WinOutput() = output;
    RunRequest(input, output, std::move(variables));
    return;
  }
  if (!IsWinCgi()) return;
  if (IsServerProcess()) {
    if (cgiMode_ == TCGIMode::NormalMode) SetCGIMode(TCGIMode::ServerMode);
    ServerLoop(*this);
    return;
  }
  const auto& args = ProgramArgs();
  auto list = std::make_unique<TStringList>(true);
  TWinCgiRequest req = ReadWinCgiProfile(args.empty() ? std::string() : args[0], *list);
  TStream* in = req.Input.release();
  TStream* out = req.Output.release();
  if (ServeByResidentServer(in, out, *list)) return;
  WinInput() = in;
  WinOutput() = out;
  RunRequest(in, out, std::move(list));
}
