// libFuzzer target for the Windows CGI profile reader: the input is a
// profile (sections of key = value lines, CR line ends) that is read into the
// request's variables, with its literal form fields into a body. The reader's
// own files (the output and content files, external fields) must stay inside
// the run's scratch folder: an input is skipped when a line that mentions a
// file holds a "/" or "\", or when it has external fields and a separator
// anywhere. Separators elsewhere (paths, content types, accepted types) stay,
// as real profiles have them.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <unistd.h>

#include "gateway/CGIWEng.h"
#include "gateway/HStream.h"
#include "gateway/HUtils.h"

namespace {
// Whether the profile could name a file outside the current folder. The
// reader's lines end at a CR (or are cut shorter), so each of its lines lies
// within one CR-separated piece of the input: a key that names a file
// (OUTPUT_FILE, CONTENT_FILE, in any case) holds "file" in that piece.
bool MayLeaveFolder(std::string_view input) {
  auto separator = [](std::string_view s) { return s.find_first_of("/\\") != std::string_view::npos; };
  if (!separator(input)) return false;
  const std::string upper = UpperCase(input);  // keys are compared without regard to case
  const std::string_view text = upper;
  if (text.find("EXTERNAL") != std::string_view::npos) return true;
  for (size_t start = 0; start <= text.size();) {
    size_t end = text.find('\r', start);
    std::string_view piece = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (separator(piece) && piece.find("FILE") != std::string_view::npos) return true;
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return false;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static std::string dir = [] {
    char d[] = "scratch-wincgi-XXXXXX";  // in the run's folder
    if (!mkdtemp(d) || chdir(d) != 0) std::abort();
    return std::string(d);
  }();
  if (MayLeaveFolder(std::string_view(reinterpret_cast<const char*>(data), size))) return 0;
  // The line reader on its own, over a memory stream.
  {
    TMemoryStream s;
    s.Write(data, static_cast<int64_t>(size));
    s.Seek(0);
    bool more = true;
    for (int n = 0; more && n < 100000; ++n) (void)ReadProfileLine(s, more);
  }
  FILE* f = std::fopen("profile.ini", "wb");
  if (!f) std::abort();
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  TStringList variables;
  try {
    TWinCgiRequest req = ReadWinCgiProfile("profile.ini", variables);
    if (req.Input) {
      char buf[1024];
      while (req.Input->Read(buf, sizeof buf) > 0) {
      }
    }
    req.Output.reset();
    if (!req.OutputFileName.empty()) ::unlink(CompleteProfilePath(req.OutputFileName).c_str());
  } catch (const Exception&) {
  }
  return 0;
}
