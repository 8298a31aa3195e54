// Unaligned reads of eight and four bytes of a text, for the routines that
// pass over texts a word at a time.
#pragma once

#include <cstdint>
#include <cstring>

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
