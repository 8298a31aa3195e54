// libFuzzer target for the template splitter: one template line cut into
// text pieces and tags, every piece tried against argument tags of zero to
// three arguments, and the value of a prefix tag.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "render/Sida.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string line(reinterpret_cast<const char*>(data), size);
  line += "\r\n";
  std::vector<std::string> bits = DelaMallrad(line);
  // The pieces put together give the line back.
  std::string joined;
  for (const auto& b : bits) joined += b;
  if (joined != line && joined + "\r\n" != line) std::abort();
  static const char* names[] = {"KONFKAPACITET", "BILD", "TEXT", "MAN", "A", ""};
  for (const auto& b : bits) {
    for (const char* n : names) {
      for (int k = 0; k <= 3; ++k) {
        std::vector<std::string> args;
        (void)MatchaArgumentTagg(b, n, k, args);
      }
    }
    for (size_t p = 0; p < 8; ++p) (void)TaggVarde(b, p);
  }
  return 0;
}
