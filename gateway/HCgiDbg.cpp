#include "gateway/HCgiDbg.h"

#include <fcntl.h>
#include <unistd.h>

#include "gateway/HttpEng.h"

std::string EngineLogFileName() {
  std::string progDir = ExtractFilePath(ProgramFileName());
  std::string dir = GetEnv("CGI_LOG_DIR");
  if (dir.empty()) dir = ".\\log";
  if (!IsAbsolutePath(dir)) dir = progDir + "/" + dir;
  dir = PosixPath(dir);
  if (!DirectoryExists(dir) && !ForceDirectories(dir)) dir = progDir;
  return NormaliseDir(dir) + ChangeFileExt(ExtractFileName(ProgramFileName()), ".Log");
}

void LogEngineMessage(const std::string& text) {
  try {
    // A message may carry request values: its control characters must not
    // start lines of their own.
    std::string clean = text;
    for (auto& c : clean)
      if (static_cast<unsigned char>(c) < 32 && c != '\t') c = ' ';
    std::string line = FormatDateTime(std::string(Regional::ShortDateFormat) + " " + Regional::LongTimeFormat, Now()) +
                       ",  " + std::to_string(ERS().RequestNumber) + " : " + clean + "\r\n";
    int fd = ::open(EngineLogFileName().c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd >= 0) {
      ssize_t n = ::write(fd, line.data(), line.size());
      (void)n;
      ::close(fd);
    }
    THttpEngine* ce = CurrentEngine.load();
    if (ce && ce->DebugMode() != TDebugMode::NoDebug && ERS().UserLog) ERS().UserLog->WriteString(line);
  } catch (...) {
  }
}

void StartDebugResponse() {
  EngineRequestState& r = ERS();
  THttpEngine* ce = CurrentEngine.load();
  if (r.DebugDumpPending || !ce || !r.Headers) return;
  r.DebugDumpPending = 1;
  TStringList saved = *r.Headers;
  r.Headers->Clear();
  ce->WriteHeaderLine("HTTP/1.1 200 OK", "");
  ce->WriteHeaderLine("content-type", "text/plain");
  ce->EndHeaders();
  r.HeadersSent = false;
  *r.Headers = saved;
}

void WriteDebugDump() {
  EngineRequestState& r = ERS();
  THttpEngine* ce = CurrentEngine.load();
  if (!ce) return;
  const char* bar = "(************************)";
  ce->Write("(*** END ***)\r\n");
  ce->Write(std::string("\r\n") + bar + "\r\n(***    User Log      ***)\r\n" + bar + "\r\n");
  if (r.UserLog) ce->Write(r.UserLog->Data());
  ce->Write(std::string("\r\n") + bar + "\r\n(***   Client input   ***)\r\n" + bar + "\r\n");
  if (r.DebugInput) ce->Write(r.DebugInput->Data());
  ce->Write(std::string("\r\n") + bar + "\r\n(*** Server variables ***)\r\n" + bar + "\r\n");
  if (r.ServerVariables) ce->Write(r.ServerVariables->Text());
  ce->Write("\r\n");
}
