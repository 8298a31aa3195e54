// libFuzzer target for the frame pass: template lines cut by the splitter
// and every piece handed to the module's frame handler, as the template
// processor does outside the customer block. The module runs over a
// throw-away site with an empty database; what it writes is captured.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "render/Sida.h"
#include "support/ModuleFixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static ModuleFixture* fixture = new ModuleFixture();
  std::string text(reinterpret_cast<const char*>(data), size);
  TSida sida;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    try {
      for (const auto& bit : DelaMallrad(line + "\r\n")) fixture->Form().RamBit(sida, bit);
    } catch (const Exception&) {
      // A tag whose look-up fails ends the page in the error page: expected.
    }
    if (end == std::string::npos) break;
    start = end + 1;
  }
  (void)fixture->TakeOutput();
  return 0;
}
