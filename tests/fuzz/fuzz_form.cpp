// libFuzzer target for the form decoding: form-encoded text into a field
// list, percent decoding, HTML encoding and the split into lines that the
// list parameters use. The input is the raw text as a query string or body.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "gateway/HttpEng.h"
#include "support/FormRule.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  TStringList fields(true);
  ParseFormText(std::string(text) + "&", fields);
  // Small inputs: the same list as the rule applied field by field.
  if (size < 4096) {
    TStringList slow(true);
    std::string all = std::string(text) + "&";
    size_t start = 0, lastEq = std::string::npos;
    for (size_t i = 0; i < all.size(); ++i) {
      if (all[i] == '=') lastEq = i;
      if (all[i] != '&') continue;
      if (lastEq != std::string::npos && lastEq >= start && lastEq < i) {
        size_t firstEq = all.find('=', start);
        std::string name = HttpUrlDecode(std::string_view(all).substr(start, firstEq - start));
        if (!name.empty())
          AddOneByOne(slow, name, HttpUrlDecode(std::string_view(all).substr(lastEq + 1, i - lastEq - 1)));
      }
      start = i + 1;
    }
    if (slow.Items() != fields.Items()) std::abort();
  }
  for (int i = 0; i < fields.Count(); ++i) {
    std::string value = fields.ValueFromIndex(i);
    auto lines = HttpSplitLines(value);
    // Encoding never loses or invents markup characters.
    std::string html = HttpHtmlEncode(value);
    if (html.find('<') != std::string::npos || html.find('>') != std::string::npos) std::abort();
    (void)lines;
  }
  std::string decoded = HttpUrlDecode(text);
  if (decoded.size() > text.size()) std::abort();  // decoding never lengthens
  (void)HttpUrlEncode(decoded);
  return 0;
}
