// SQLite's memory: a small-block allocator in place of the C library's.
//
// Compiling a statement makes thousands of small allocations that live only
// until the statement is prepared; the system library as shipped has no
// look-aside memory of its own, so every one of them goes through malloc and
// free. Blocks of up to kLargest bytes come here from free lists kept per
// thread and per size class, carved from slabs that are kept for the life of
// the process; larger blocks go to malloc. A block freed by another thread
// joins that thread's lists, which is safe: the lists only hold memory.
#include "data/SqliteMemory.h"

#include <sqlite3.h>

#include <cstdlib>
#include <cstring>
#include <mutex>

namespace {

constexpr size_t kHeader = 16;     // holds the block's usable size; keeps 16-byte alignment
constexpr size_t kGrain = 16;
constexpr size_t kLargest = 1024;  // usable bytes of the largest small block
constexpr size_t kClasses = kLargest / kGrain;
constexpr size_t kSlab = 64 * 1024;

struct FreeBlock {
  FreeBlock* next;
};

struct Slab {
  Slab* next;
};

// Every slab of every thread, so that they stay reachable (and are freed
// with the process).
std::mutex slabsMutex;
Slab* slabs = nullptr;

struct ThreadLists {
  FreeBlock* free[kClasses] = {};
  char* bump = nullptr;  // the unused rest of this thread's newest slab
  size_t left = 0;
};
thread_local ThreadLists lists;

size_t ClassOf(size_t usable) { return usable / kGrain - 1; }  // usable is a multiple of kGrain

size_t& SizeOf(void* p) { return *reinterpret_cast<size_t*>(static_cast<char*>(p) - kHeader); }

char* Carve(size_t bytes) {
  ThreadLists& t = lists;
  if (t.left < bytes) {
    char* slab = static_cast<char*>(std::malloc(kSlab));
    if (!slab) return nullptr;
    {
      std::lock_guard<std::mutex> lock(slabsMutex);
      reinterpret_cast<Slab*>(slab)->next = slabs;
      slabs = reinterpret_cast<Slab*>(slab);
    }
    t.bump = slab + kHeader;  // the slab's own link takes the first header's room
    t.left = kSlab - kHeader;
  }
  char* p = t.bump;
  t.bump += bytes;
  t.left -= bytes;
  return p;
}

}  // namespace

namespace sqlite_memory {

int Roundup(int n) {
  if (n <= 0) return static_cast<int>(kGrain);
  size_t u = (static_cast<size_t>(n) + kGrain - 1) & ~(kGrain - 1);
  return static_cast<int>(u);
}

void* Allocate(int n) {
  size_t usable = static_cast<size_t>(Roundup(n));
  char* block;
  if (usable <= kLargest) {
    FreeBlock*& head = lists.free[ClassOf(usable)];
    if (head) {
      void* p = head;
      head = head->next;
      return p;
    }
    block = Carve(kHeader + usable);
  } else {
    block = static_cast<char*>(std::malloc(kHeader + usable));
  }
  if (!block) return nullptr;
  void* p = block + kHeader;
  SizeOf(p) = usable;
  return p;
}

void Release(void* p) {
  if (!p) return;
  size_t usable = SizeOf(p);
  if (usable > kLargest) {
    std::free(static_cast<char*>(p) - kHeader);
    return;
  }
  FreeBlock*& head = lists.free[ClassOf(usable)];
  auto* b = static_cast<FreeBlock*>(p);
  b->next = head;
  head = b;
}

int UsableSize(void* p) { return p ? static_cast<int>(SizeOf(p)) : 0; }

void* Resize(void* p, int n) {
  if (!p) return Allocate(n);
  size_t old = SizeOf(p);
  if (static_cast<size_t>(Roundup(n)) <= old) return p;  // still fits
  void* q = Allocate(n);
  if (!q) return nullptr;
  std::memcpy(q, p, old < static_cast<size_t>(n) ? old : static_cast<size_t>(n));
  Release(p);
  return q;
}

}  // namespace sqlite_memory

namespace {
int Init(void*) { return SQLITE_OK; }
void Shutdown(void*) {}
}  // namespace

bool UseSmallBlockMemoryForSqlite() {
  using namespace sqlite_memory;
  static const sqlite3_mem_methods methods = {Allocate, Release, Resize, UsableSize, Roundup, Init, Shutdown, nullptr};
  return sqlite3_config(SQLITE_CONFIG_MALLOC, &methods) == SQLITE_OK;
}
