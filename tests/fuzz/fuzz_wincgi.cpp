// libFuzzer target for the Windows CGI profile reader: the input is a
// profile (sections of key = value lines, CR line ends) that is read into the
// request's variables, with its literal form fields into a body. Inputs that
// name a path (a "/" or "\") are skipped, so that the reader's own files (the
// output file, external fields) stay inside the run's scratch folder.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <unistd.h>

#include "gateway/CGIWEng.h"
#include "gateway/HStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static std::string dir = [] {
    char d[] = "scratch-wincgi-XXXXXX";  // in the run's folder
    if (!mkdtemp(d) || chdir(d) != 0) std::abort();
    return std::string(d);
  }();
  if (std::memchr(data, '/', size) || std::memchr(data, '\\', size)) return 0;
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
