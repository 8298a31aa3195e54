// SQLite's memory: small blocks from per-thread free lists (see the .cpp).
#pragma once

#include <cstddef>

// Installs the allocator; must run before SQLite starts. False when SQLite
// has started already (it then keeps the C library's allocator).
bool UseSmallBlockMemoryForSqlite();

// The allocator's functions (the tests call them directly).
namespace sqlite_memory {
int Roundup(int n);
void* Allocate(int n);
void Release(void* p);
void* Resize(void* p, int n);
int UsableSize(void* p);
// Bytes of all slabs carved so far (what the small blocks have taken).
size_t SlabBytes();
}  // namespace sqlite_memory
