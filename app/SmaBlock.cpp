// The CGI program's C++ objects come from the same small-block lists as
// SQLite's memory (data/SqliteMemory.cpp): a page makes tens of thousands
// of short-lived strings and nodes, and the lists serve them with a few
// instructions where the C library's malloc takes several dozen. Only the
// program itself uses this; the server library keeps the host's allocator.
// Sanitizer builds keep the C library's, so that they still check every
// allocation; and only the CGI program's link (CMakeLists.txt) takes this
// file, never the tests, the fuzzers or the server library.
#include "app/Sanitized.h"

#if !VEMLO_SANITIZED
#include <climits>
#include <cstddef>
#include <new>

#include "data/SqliteMemory.h"

namespace {
void* Take(std::size_t n) {
  void* p = n <= static_cast<std::size_t>(INT_MAX) - 64 ? sqlite_memory::Allocate(static_cast<int>(n)) : nullptr;
  if (!p) throw std::bad_alloc();
  return p;
}
void* TakeNoThrow(std::size_t n) noexcept {
  return n <= static_cast<std::size_t>(INT_MAX) - 64 ? sqlite_memory::Allocate(static_cast<int>(n)) : nullptr;
}
}  // namespace

void* operator new(std::size_t n) { return Take(n); }
void* operator new[](std::size_t n) { return Take(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return TakeNoThrow(n); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return TakeNoThrow(n); }
void operator delete(void* p) noexcept { sqlite_memory::Release(p); }
void operator delete[](void* p) noexcept { sqlite_memory::Release(p); }
void operator delete(void* p, std::size_t) noexcept { sqlite_memory::Release(p); }
void operator delete[](void* p, std::size_t) noexcept { sqlite_memory::Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { sqlite_memory::Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { sqlite_memory::Release(p); }
#endif
