// Unaligned reads of eight and four bytes of a text, for the routines that
// pass over texts a word at a time, and the hash made from them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

inline uint64_t LoadWord8(const char* p) noexcept {
  uint64_t w;
  std::memcpy(&w, p, 8);
  return w;
}

inline uint32_t LoadWord4(const char* p) noexcept {
  uint32_t w;
  std::memcpy(&w, p, 4);
  return w;
}

// Where the next byte of 0x80 or above stands in p[0, n), from `i` on (`n`
// when none): eight bytes at a time, and fewer than eight left told by the
// last eight (overlapping what was read) when the text is long enough.
inline size_t NextHighByte(const char* p, size_t i, size_t n) noexcept {
  constexpr uint64_t kHigh = 0x8080808080808080ull;
  for (; i + 8 <= n; i += 8)
    if (const uint64_t w = LoadWord8(p + i) & kHigh) return i + static_cast<size_t>(__builtin_ctzll(w) / 8);
  if (i < n && n >= 8 && !(LoadWord8(p + n - 8) & kHigh)) return n;
  for (; i < n; ++i)
    if (static_cast<unsigned char>(p[i]) >= 0x80) return i;
  return n;
}

// One word more into a hash.
inline uint64_t MixWord(uint64_t h, uint64_t w) noexcept {
  h = (h ^ w) * 0xFF51AFD7ED558CCDull;
  return h ^ (h >> 32);
}

// A text hashed eight bytes at a time, each word with the bits of `fold`
// set (0x20 in every byte: the two cases of a letter hash alike). The last
// piece is read as the eight bytes that end the text (overlapping the piece
// before), a shorter text in two overlapping halves, or its first, middle
// and last byte: no byte-wise loop and no call.
inline uint64_t HashWords(std::string_view s, uint64_t seed, uint64_t fold = 0) noexcept {
  const char* p = s.data();
  const size_t n = s.size();
  uint64_t h = seed ^ n;
  if (n >= 8) {
    for (size_t i = 0; i + 8 < n; i += 8) h = MixWord(h, LoadWord8(p + i) | fold);
    return MixWord(h, LoadWord8(p + n - 8) | fold);
  }
  if (n >= 4) return MixWord(h, ((static_cast<uint64_t>(LoadWord4(p)) << 32) | LoadWord4(p + n - 4)) | fold);
  if (n == 0) return h;
  return MixWord(h, ((static_cast<uint64_t>(static_cast<unsigned char>(p[0])) << 16) |
                     (static_cast<uint64_t>(static_cast<unsigned char>(p[n / 2])) << 8) |
                     static_cast<unsigned char>(p[n - 1])) |
                        fold);
}
