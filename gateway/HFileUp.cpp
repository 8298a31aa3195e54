#include "gateway/HFileUp.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <thread>

namespace {

// A source that delivers nothing this many times in a row (20 ms apart) is
// taken to have ended: a lying content length must not hang the request.
constexpr int kIdleReads = 5;
// The boundary line must fit comfortably in the window; real boundaries are
// at most 70 characters after the leading "--".
constexpr size_t kMaxBoundary = 256;
// Bounds on what a body can make us keep in memory: the number of parts, and
// the text of plain fields (values, names and the values they are joined to).
constexpr int kMaxParts = 1000;
constexpr size_t kMaxFieldText = 4 * 1024 * 1024;

const char* const kNoBoundary = "Fileupload: No boundary";
const char* const kNoFieldInfo = "Fileupload: No FieldInfo";
const char* const kTooLarge = "Fileupload: Form data too large";

// The first line of the body without its line break.
std::string ReadBoundary(TUploadBuffer& buf) {
  std::string_view unread = buf.Unread();
  size_t lf = unread.find('\n');
  if (lf == std::string_view::npos) throw Exception(kNoBoundary);
  std::string boundary = TrimRight(unread.substr(0, lf));
  if (boundary.empty() || boundary.size() > kMaxBoundary) throw Exception(kNoBoundary);
  buf.Position += static_cast<int64_t>(lf) + 1;
  return boundary;
}

// Parses the header lines of a part into name=value items. A double quote is
// blanked and counted; outside quotes ":" and "=" end a name, ";" and a line
// feed end a value, and a line feed with no name pending (the empty line)
// ends the headers. False when the valid bytes ran out first.
bool ParseHeaders(TUploadBuffer& buf, TStringList& info) {
  info.Clear();
  char* w = buf.Window.data();
  int64_t itemStart = buf.Position;
  int quotes = 0;
  bool havename = false;
  std::string name;
  for (int64_t i = buf.Position; i < buf.Filled; ++i) {
    char c = w[i];
    if (c == '"') {
      w[i] = ' ';
      ++quotes;
      continue;
    }
    if (quotes % 2 != 0) continue;
    auto item = [&] { return Trim(std::string_view(w + itemStart, static_cast<size_t>(i - itemStart))); };
    if (c == ':' || c == '=') {
      name = item();
      havename = true;
      itemStart = i + 1;
    } else if (c == ';' || c == '\n') {
      if (c == '\n' && !havename) {
        buf.Position = i + 1;
        return true;
      }
      if (havename) info.Add(name + "=" + item());
      name.clear();
      havename = false;
      itemStart = i + 1;
    }
  }
  buf.Position = buf.Filled;
  return false;
}

enum class PartEnd { None, Boundary, LastBoundary };

// Hands the part's data in the window to `sink` up to the boundary, or as
// much as can be given without cutting off a boundary that the next fill
// completes. A boundary counts only at the start of a line; the line break
// before it belongs to it. Once the body is exhausted, a boundary right at
// the end of the valid bytes is accepted, so the last part ends at the last
// boundary of the body.
template <class Sink>
PartEnd ReadPartData(TUploadBuffer& buf, const std::string& boundary, Sink&& sink) {
  const char* w = buf.Window.data();
  const std::string_view valid(w, static_cast<size_t>(buf.Filled));
  const size_t from = static_cast<size_t>(buf.Position);
  for (size_t m = valid.find(boundary, from); m != std::string_view::npos; m = valid.find(boundary, m + 1)) {
    if (m != from && w[m - 1] != '\n') continue;
    size_t dataEnd = m;
    if (dataEnd > from && w[dataEnd - 1] == '\n') {
      --dataEnd;
      if (dataEnd > from && w[dataEnd - 1] == '\r') --dataEnd;
    }
    size_t lf = valid.find('\n', m + boundary.size());
    if (lf == std::string_view::npos && !buf.Exhausted() && dataEnd > from) {
      // The boundary line is cut by the window's end: give the data before
      // it and find it again at the front after the next fill.
      sink(w + from, dataEnd - from);
      buf.Position = static_cast<int64_t>(dataEnd);
      return PartEnd::None;
    }
    sink(w + from, dataEnd - from);
    bool last = valid.substr(m + boundary.size(), 2) == "--";
    buf.Position = lf == std::string_view::npos ? buf.Filled : static_cast<int64_t>(lf) + 1;
    return last ? PartEnd::LastBoundary : PartEnd::Boundary;
  }
  // No boundary: keep back a tail that may hold the start of one (with its
  // line break) unless no more bytes will come.
  size_t end = valid.size();
  const size_t keep = boundary.size() + 2;
  if (!buf.Exhausted()) end = end > from + keep ? end - keep : from;
  sink(w + from, end - from);
  buf.Position = static_cast<int64_t>(end);
  return PartEnd::None;
}

// The file handler's stream, released after its part when the handler asked.
struct PartStream {
  TStream* Stream = nullptr;
  bool Free = false;
  void Release() {
    if (Free) delete Stream;
    Stream = nullptr;
    Free = false;
  }
  ~PartStream() { Release(); }
};

// Adds a field with the joining rule, charging its text to the budget. A
// part without a name makes no field, as a pair without one in a query.
void AddField(TStringList& fields, const std::string& name, const std::string& value, size_t& budget) {
  if (name.empty()) return;
  size_t cost = name.size() + value.size();
  int at = fields.IndexOfName(name);
  if (at >= 0) cost += fields[at].size();
  if (cost > budget) throw Exception(kTooLarge);
  budget -= cost;
  AddFormField(fields, name, value);
}

// Whether anything (file, directory, link) has this name.
bool PathTaken(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

}  // namespace

TUploadBuffer::TUploadBuffer(TReadProc readProc, int64_t contentLength)
    : Remaining(contentLength), Window(static_cast<size_t>(WindowSize)), ReadProc(std::move(readProc)) {}

int64_t TUploadBuffer::Fill() {
  if (Position > 0) {
    std::memmove(Window.data(), Window.data() + Position, static_cast<size_t>(Filled - Position));
    Filled -= Position;
    Position = 0;
  }
  int64_t total = 0;
  int idle = 0;
  while (Filled < WindowSize && Remaining > 0 && !Ended) {
    int64_t want = std::min({ReadChunk, WindowSize - Filled, Remaining});
    int64_t n = ReadProc ? ReadProc(Window.data() + Filled, want) : -1;
    if (n > 0) {
      n = std::min(n, want);
      Filled += n;
      Remaining -= n;
      total += n;
      idle = 0;
    } else if (n < 0 || ++idle > kIdleReads) {
      Ended = true;
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  return total;
}

bool TPorticoFileUpload::ProcessUpload(const TReadProc& readProc, int64_t contentLength, TStringList& formFields) {
  TUploadBuffer buf(readProc, contentLength);
  buf.Fill();
  const std::string boundary = ReadBoundary(buf);
  buf.Fill();

  enum class State { Headers, File, Field } state = State::Headers;
  TStringList info;
  std::string value;
  PartStream out;
  bool cancel = false;
  int parts = 0;
  size_t budget = kMaxFieldText;
  for (;;) {
    PartEnd end = PartEnd::None;
    switch (state) {
      case State::Headers: {
        value.clear();
        out.Release();
        if (!ParseHeaders(buf, info)) {
          // A header block that does not fit the window is refused; one cut
          // off by the end of the body ends the upload.
          if (buf.Full()) throw Exception(kNoFieldInfo);
          return true;
        }
        if (info.Empty() && (buf.Position < buf.Filled || !buf.Exhausted())) throw Exception(kNoFieldInfo);
        if (++parts > kMaxParts) throw Exception(kTooLarge);
        if (!info.Value("filename").empty()) {
          state = State::File;
          if (OnUploadPrepareFile)
            OnUploadPrepareFile(Owner ? Owner : this, info, out.Stream, out.Free, cancel);
        } else {
          state = State::Field;
        }
        break;
      }
      case State::File:
        end = ReadPartData(buf, boundary, [&](const char* p, size_t n) {
          if (out.Stream && n > 0 && !out.Stream->WriteAll(p, static_cast<int64_t>(n)))
            throw EInOutError("Fileupload: Cannot write the uploaded file");
        });
        if (end != PartEnd::None) {
          AddField(formFields, info.Value("Name"), info.Value("FileName"), budget);
          out.Release();
          state = State::Headers;
        }
        break;
      case State::Field:
        end = ReadPartData(buf, boundary, [&](const char* p, size_t n) {
          if (n > budget || value.size() > budget - n) throw Exception(kTooLarge);
          value.append(p, n);
        });
        if (end != PartEnd::None) {
          AddField(formFields, info.Value("Name"), value, budget);
          state = State::Headers;
        }
        break;
    }
    // What follows the last boundary is no part of the form.
    if (end == PartEnd::LastBoundary || cancel) break;
    if (buf.Fill() == 0 && buf.Filled == 0) break;
  }
  out.Release();
  return !cancel;
}

bool ProcessUpload(const TReadProc& readProc, int64_t contentLength, TStringList& formFields,
                   const TUploadPrepareFileEvent& handler, TComponent* sender) {
  TPorticoFileUpload upload(sender);
  upload.OnUploadPrepareFile = handler;
  return upload.ProcessUpload(readProc, contentLength, formFields);
}

std::string EngineTempDir(const THttpEngine& engine) {
  std::string dir = PosixPath(engine.TempDir());
  if (!IsAbsolutePath(engine.TempDir()) && !IsAbsolutePath(dir)) dir = ExtractFilePath(ProgramFileName()) + "/" + dir;
  return NormaliseDir(dir);
}

void THttpEngine::StoreUploadFile(TComponent*, TStringList& contentInfo, TStream*& outStream, bool& freeOutStream,
                                  bool&) {
  const std::string dir = EngineTempDir(*this);
  if (!ForceDirectories(dir)) throw EInOutError("Cannot create directory \"" + dir + "\"");

  // Created exclusively and private to us, so no other user can read an
  // upload or plant a file (or link) under the name we draw.
  std::unique_ptr<TFileStream> file;
  std::string fileName;
  for (int attempt = 1; !file; ++attempt) {
    fileName = dir + "zn" + IntToStr(EngineRandom(9000000)) + ".tmp";
    if (PathTaken(fileName) && attempt < 100) continue;
    try {
      file = std::make_unique<TFileStream>(fileName, TFileStream::CreateExclusive, 0600);
    } catch (const EInOutError&) {
      if (attempt >= 100 || !PathTaken(fileName)) throw;
    }
  }

  EngineRequestState& rs = ERS();
  if (!rs.TempFiles) rs.TempFiles = std::make_unique<TStringList>();
  rs.TempFiles->Add(fileName);
  if (!rs.FormFields) rs.FormFields = std::make_unique<TStringList>(true);
  const std::string name = contentInfo.Value("Name");
  rs.FormFields->Add(name + "_FILENAME=" + fileName);
  rs.FormFields->Add(name + "_CONTENT_TYPE=" + contentInfo.Value("Content-Type"));

  outStream = file.release();
  freeOutStream = true;
}
