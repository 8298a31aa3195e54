// Text at the database boundary: Windows-1252 inside the program, UTF-8 in
// SQLite; ISO date texts of both back ends.
#include <cstdint>
#include <cstring>

#include "data/DbBackend.h"
#include "data/WordLoad.h"

namespace {

// Length of the leading run of ASCII bytes, eight bytes at a time: most
// texts of the database are plain ASCII and are then copied as they are.
size_t AsciiPrefix(std::string_view s) {
  const char* p = s.data();
  const size_t n = s.size();
  if (n < 8) {
    // A short text in two overlapping halves, or its first, middle and last
    // byte: plain ASCII is told at once.
    if (n >= 4) {
      if (!((LoadWord4(p) | LoadWord4(p + n - 4)) & 0x80808080u)) return n;
    } else if (n > 0) {
      if (!((p[0] | p[n / 2] | p[n - 1]) & 0x80)) return n;
    } else {
      return 0;
    }
  }
  return NextHighByte(p, 0, n);
}

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

bool IsAscii(std::string_view s) { return AsciiPrefix(s) == s.size(); }

std::string Cp1252ToUtf8(std::string_view s) {
  size_t k = AsciiPrefix(s);
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

namespace {

// The text from its first byte outside ASCII, at `k`. Apart from the common
// case, so that a plain ASCII text is copied without this one's set-up.
[[gnu::noinline]] std::string Utf8ToCp1252From(std::string_view s, size_t k) {
  // Every sequence gives at most one byte: written into a buffer of the
  // input's length, cut to what was written.
  std::string out(s.size(), '\0');
  char* o = out.data();
  std::memcpy(o, s.data(), k);
  o += k;
  const size_t n = s.size();
  while (k < n) {
    auto b = static_cast<unsigned char>(s[k]);
    if (b < 0x80) {
      // A run of ASCII between letters: copied in words, the last word up
      // to its first byte outside ASCII (written whole: what is written
      // never runs ahead of what is read).
      while (k + 8 <= n) {
        const uint64_t w = LoadWord8(s.data() + k);
        std::memcpy(o, &w, 8);
        if (const uint64_t high = w & 0x8080808080808080ull) {
          const auto run = static_cast<size_t>(__builtin_ctzll(high) / 8);
          o += run;
          k += run;
          break;
        }
        o += 8;
        k += 8;
      }
      while (k < n && static_cast<unsigned char>(s[k]) < 0x80) *o++ = s[k++];
      continue;
    }
    // The Latin-1 letters (å ä ö é ...) are the common case: two bytes that
    // give the code point's own byte.
    if ((b == 0xC2 || b == 0xC3) && k + 1 < n && (static_cast<unsigned char>(s[k + 1]) & 0xC0) == 0x80) {
      uint32_t cp = ((b & 0x1Fu) << 6) | (static_cast<unsigned char>(s[k + 1]) & 0x3Fu);
      *o++ = static_cast<char>(cp);  // C1 controls (0x80..0x9F) come back as their bytes too
      k += 2;
      continue;
    }
    uint32_t cp;
    size_t len;
    if ((b & 0xE0) == 0xC0) {
      cp = b & 0x1F;
      len = 2;
    } else if ((b & 0xF0) == 0xE0) {
      cp = b & 0x0F;
      len = 3;
    } else if ((b & 0xF8) == 0xF0) {
      cp = b & 0x07;
      len = 4;
    } else {
      *o++ = '?';
      ++k;
      continue;
    }
    if (k + len > n) {
      *o++ = '?';
      break;
    }
    bool ok = true;
    for (size_t j = 1; j < len; ++j) {
      auto c = static_cast<unsigned char>(s[k + j]);
      if ((c & 0xC0) != 0x80) ok = false;
      cp = (cp << 6) | (c & 0x3F);
    }
    if (!ok) {
      *o++ = '?';
      ++k;
      continue;
    }
    if (cp >= 0x80 && cp < 0xA0)
      *o++ = static_cast<char>(cp);  // C1 controls come back as their bytes
    else
      *o++ = CodePointToCp1252(cp);
    k += len;
  }
  out.resize(static_cast<size_t>(o - out.data()));
  return out;
}

}  // namespace

std::string Utf8ToCp1252(std::string_view s) {
  size_t k = AsciiPrefix(s);
  if (k == s.size()) return std::string(s);
  return Utf8ToCp1252From(s, k);
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
