// Text at the database boundary: Windows-1252 inside the program, UTF-8 in
// SQLite; ISO date texts of both back ends.
#include <cstdint>

#include "data/DbBackend.h"

namespace {

// Unicode code points of the bytes 0x80..0x9F of Windows-1252 (0 = unused).
const uint16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                            0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                            0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

char CodePointToCp1252(uint32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (int k = 0; k < 32; ++k)
    if (kHigh[k] == cp) return static_cast<char>(0x80 + k);
  return '?';
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view s) {
  size_t k = 0;
  while (k < s.size() && static_cast<unsigned char>(s[k]) < 0x80) ++k;
  if (k == s.size()) return std::string(s);
  std::string out;
  out.reserve(s.size() + 16);
  out.append(s.substr(0, k));
  for (; k < s.size(); ++k) {
    auto b = static_cast<unsigned char>(s[k]);
    if (b < 0x80) {
      out += static_cast<char>(b);
    } else if (b < 0xA0) {
      uint16_t cp = kHigh[b - 0x80];
      AppendUtf8(out, cp ? cp : b);  // unused bytes map to the C1 controls
    } else {
      AppendUtf8(out, b);
    }
  }
  return out;
}

std::string Utf8ToCp1252(std::string_view s) {
  size_t k = 0;
  while (k < s.size() && static_cast<unsigned char>(s[k]) < 0x80) ++k;
  if (k == s.size()) return std::string(s);
  std::string out(s.substr(0, k));
  while (k < s.size()) {
    auto b = static_cast<unsigned char>(s[k]);
    uint32_t cp;
    size_t len;
    if (b < 0x80) {
      cp = b;
      len = 1;
    } else if ((b & 0xE0) == 0xC0) {
      cp = b & 0x1F;
      len = 2;
    } else if ((b & 0xF0) == 0xE0) {
      cp = b & 0x0F;
      len = 3;
    } else if ((b & 0xF8) == 0xF0) {
      cp = b & 0x07;
      len = 4;
    } else {
      out += '?';
      ++k;
      continue;
    }
    if (k + len > s.size()) {
      out += '?';
      break;
    }
    bool ok = true;
    for (size_t j = 1; j < len; ++j) {
      auto c = static_cast<unsigned char>(s[k + j]);
      if ((c & 0xC0) != 0x80) ok = false;
      cp = (cp << 6) | (c & 0x3F);
    }
    if (!ok) {
      out += '?';
      ++k;
      continue;
    }
    if (cp >= 0x80 && cp < 0xA0) {
      out += static_cast<char>(cp);  // C1 controls come back as their bytes
    } else {
      out += CodePointToCp1252(cp);
    }
    k += len;
  }
  return out;
}

bool ParseIsoDateTime(std::string_view t, TDateTime& out) {
  // Time zone suffix of a PostgreSQL timestamptz ("+02", "-05:30"): the
  // value is shown in the session's time zone, so the suffix is dropped.
  if (t.size() > 19) {
    size_t z = t.find_first_of("+-", 19);
    if (z != std::string_view::npos) t = t.substr(0, z);
  }
  return TryParseDateTime(t, out);
}
