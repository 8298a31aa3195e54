// Response output: the header list, the output buffer, flushing with the
// automatic headers, file-download headers, GMT dates and the engine's error
// page.
#include <ctime>

#include "gateway/HCgiDbg.h"
#include "gateway/HttpEng.h"

namespace {
struct ContentTypeEntry {
  const char* ext;
  const char* type;
};

constexpr ContentTypeEntry kContentTypes[] = {
    {".doc", "application/msword"},
    {".pdf", "application/pdf"},
    {".xls", "application/msexcel"},
    {".ppt", "application/ppt"},
    {".txt", "text/plain;charset=us-ascii"},
    {".htm", "text/html"},
    {".html", "text/html"},
    {".gif", "image/gif"},
    {".jpg", "image/jpeg"},
    {".jpeg", "image/jpeg"},
    {".png", "image/png"},
    {".bmp", "image/bmp"},
    {".zip", "application/x-zip-compressed"},
};

constexpr const char* kWmlProlog =
    "<?xml version=\"1.0\"?>\r\n"
    "<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML 1.1//EN\" \"http://www.wapforum.org/DTD/wml_1.1.xml\">\r\n"
    "\r\n";

void SplitHeader(const std::string& entry, std::string& name, std::string& value) {
  size_t eq = entry.find('=');
  if (eq == std::string::npos) {
    name = entry;
    value.clear();
  } else {
    name = entry.substr(0, eq);
    value = entry.substr(eq + 1);
  }
}
}  // namespace

void THttpEngine::SetHeader(const std::string& name, const std::string& value) {
  EngineRequestState& r = ERS();
  if (!r.Headers) return;
  std::string upper = UpperCase(name);
  std::string entry = name + "=" + value;
  if (StartsWith(upper, "HTTP/") || StartsWith(upper, "STATUS"))
    r.Headers->Insert(0, std::move(entry));
  else
    r.Headers->Add(std::move(entry));
}

void THttpEngine::Write(std::string_view text) {
  // Every piece of a page passes here: no second dispatch on the way.
  THttpEngine::WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

void THttpEngine::WriteLn(std::string_view text) {
  Write(text);
  Write("\r\n");
}

void THttpEngine::WriteBuffer(const void* bytes, int64_t count) {
  EngineRequestState& r = ERS();
  if (r.OutputBuffer && count > 0) r.OutputBuffer->Append(static_cast<const char*>(bytes), static_cast<size_t>(count));
}

void THttpEngine::WriteStream(TStream& stream) {
  char buf[1032];
  for (;;) {
    int64_t n = stream.Read(buf, sizeof buf);
    if (n <= 0) break;
    WriteBuffer(buf, n);
    if (ERS().OutputBuffer && ERS().OutputBuffer->Size() >= 50001) Flush();
  }
}

void THttpEngine::ClearOutput() {
  EngineRequestState& r = ERS();
  if (r.Headers) r.Headers->Clear();
  if (r.OutputBuffer) r.OutputBuffer->Clear();
}

void THttpEngine::Flush() {
  EngineRequestState& r = ERS();
  if (!r.OutputBuffer || !r.Headers) return;
  TStringList& headers = *r.Headers;

  if (autoHttpHeader_ && !r.HeadersSent && !r.BodySent && headers.IndexOfName("location") < 0) {
    std::string all;
    for (int i = 0; i < headers.Count(); ++i) {
      if (i) all += "\r\n";
      all += headers[i];
    }
    if (!Contains("\r\n" + UpperCase(all), "\r\nHTTP/")) SetHeader("HTTP/1.1 200 OK", "");
    if (headers.IndexOfName("content-type") < 0)
      SetHeader("content-type", AcceptsWml() && OutputIsWml() ? "text/vnd.wap.wml" : autoContentType_);
    if (noCache_) {
      std::string expires = HttpGmtDate(Now() - 1000);
      SetHeader("Pragma", "no-cache");
      SetHeader("Cache-Control", "no-cache");
      SetHeader("Expires", expires);
      SetHeader("Document Expires", expires);
    }
  }

  if (!r.HeadersSent && (!headers.Empty() || autoHttpHeader_)) {
    while (!headers.Empty()) {
      std::string name, value;
      SplitHeader(headers[0], name, value);
      headers.Delete(0);
      if (r.DebugDumpPending) {
        std::string line = value.empty() ? name : name + ": " + value;
        if (r.OutputStream) r.OutputStream->WriteAll((line + "\r\n").data(), static_cast<int64_t>(line.size() + 2));
        LogEngineMessage(line);
      } else {
        WriteHeaderLine(name, value);
      }
    }
    r.HeadersSent = true;
    EndHeaders();
    const std::string& body = r.OutputBuffer->Data();
    if (autoHttpHeader_ && AcceptsWml() && OutputIsWml() && body.size() >= 6 && !StartsWith(body, "<?xml ") &&
        r.OutputStream)
      r.OutputStream->WriteString(kWmlProlog);
  }

  if (r.DebugDumpPending) {
    WriteDebugDump();
    r.DebugDumpPending = 0;
  }

  if (r.OutputBuffer->Size() > 0 && r.OutputStream) {
    r.OutputStream->WriteAll(r.OutputBuffer->Data().data(), r.OutputBuffer->Size());
    r.BodySent = true;
  }
  headers.Clear();
  r.OutputBuffer->Clear();
}

void THttpEngine::SendFileHeaders(std::string contentType, std::string fileName) {
  if (contentType.empty()) {
    std::string ext = LowerCase(ExtractFileExt(PosixPath(fileName)));
    for (const auto& e : kContentTypes)
      if (ext == e.ext) contentType = e.type;
    if (contentType.empty()) contentType = BrowserFamily() == "OPERA" ? "application/octet-stream" : "application/binary";
  }
  size_t slash = fileName.rfind('\\');
  if (slash != std::string::npos) fileName = fileName.substr(slash + 1);
  SetHeader("Content-Type", contentType);
  SetHeader("Content-Transfer-Encoding", "8bit");
  std::string family = BrowserFamily();
  std::string disposition;
  if (family == "NETSCAPE" || Contains(UpperCase(UserAgent()), "GECKO"))
    disposition = "attachment; filename=" + fileName;
  else if (family == "OPERA")
    disposition = "inline; filename=" + fileName;
  else
    disposition = "filename=" + fileName;
  SetHeader("Content-Disposition", disposition);
}

std::string HttpGmtDate(TDateTime dt) {
  time_t t = DateTimeToUnixTime(dt);
  struct tm g {};
  gmtime_r(&t, &g);
  static const char days[] = "SunMonTueWedThuFriSat";
  static const char months[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.3s, %02d %.3s %04d %02d:%02d:%02d GMT", days + 3 * g.tm_wday, g.tm_mday,
                months + 3 * g.tm_mon, g.tm_year + 1900, g.tm_hour, g.tm_min, g.tm_sec);
  return buf;
}

void THttpEngine::HandleRequestException(Exception& e) {
  EngineRequestState& r = ERS();
  LogEngineMessage("Unhandled Exception: " + e.Message);
  try {
    if (!r.DebugDumpPending) ClearOutput();
    if (!r.HeadersSent) SetHeader("content-type", AcceptsWml() ? "text/vnd.wap.wml" : "text/html");
    if (!r.DebugDumpPending) {
      std::string msg = HttpHtmlEncode(e.Message);
      if (AcceptsWml())
        WriteLn("<wml>\r\n<card id=\"Exception\" newcontext=\"false\" title=\"Server error\">\r\n<p>Error: " + msg +
                "\r\n</p>\r\n</card>\r\n</wml>\r\n");
      else
        WriteLn("<html><body>Unhandled Exception: " + msg + "</body></html>");
    }
  } catch (const std::exception&) {
  }
  THttpEngine* ce = ActiveEngine();
  if (ce && ce->IsCGIEngine() && cgiMode_ == TCGIMode::NormalMode) {
    Flush();
    Terminate();
  }
}
