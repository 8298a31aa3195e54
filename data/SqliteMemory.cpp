// SQLite's memory: a small-block allocator in place of the C library's.
//
// Compiling a statement makes thousands of small allocations that live only
// until the statement is prepared; the system library as shipped has no
// look-aside memory of its own, so every one of them goes through malloc and
// free. Blocks of up to kLargest bytes come here from free lists kept per
// thread and per size class, carved from slabs that are kept for the life of
// the process; larger blocks go to malloc. A block freed by another thread
// joins that thread's lists, which is safe: the lists only hold memory.
//
// When a thread ends, its lists and the unused rest of its slab go to a
// shared pool, and a thread whose list of a size runs dry takes what the
// pool holds before it carves anything new. So a server that starts a thread
// per request reuses the memory of the threads that have ended instead of
// growing. Blocks freed while a thread is ending (its database connections
// close after the hand-over) go straight to the pool.
#include "data/SqliteMemory.h"

#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <utility>

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
std::atomic<size_t> slabBytes{0};

struct Lists {
  FreeBlock* free[kClasses] = {};
  char* bump = nullptr;  // the unused rest of the newest slab
  size_t left = 0;
  bool armed = false;  // the thread's hand-over is set up
  bool ended = false;  // the thread has handed its lists over
};
thread_local Lists lists;

// What ended threads left behind. Never destroyed: threads may end after
// the program's static objects are gone.
struct Rest {  // an unused end of a slab, described in its own first bytes
  Rest* next;
  size_t size;
};
struct Pool {
  std::mutex m;
  Lists lists;
  Rest* rests = nullptr;
};
std::atomic<bool> poolFilled{false};  // the pool holds something
Pool& ThePool() {
  alignas(Pool) static unsigned char storage[sizeof(Pool)];
  static Pool* pool = new (storage) Pool;  // not from the allocator that it serves
  return *pool;
}

// The usable size of a block asked for with n bytes: a multiple of kGrain.
size_t Usable(int n) { return n <= 0 ? kGrain : (static_cast<size_t>(n) + kGrain - 1) & ~(kGrain - 1); }

size_t ClassOf(size_t usable) { return usable / kGrain - 1; }  // usable is a multiple of kGrain

size_t& SizeOf(void* p) { return *reinterpret_cast<size_t*>(static_cast<char*>(p) - kHeader); }

// Puts the list `from` in front of `into`.
void Prepend(FreeBlock*& into, FreeBlock* from) {
  if (!from) return;
  if (!into) {
    into = from;
    return;
  }
  FreeBlock* tail = from;
  while (tail->next) tail = tail->next;
  tail->next = into;
  into = from;
}

// The calling thread ends: its lists go to the pool. Armed (constructed, so
// that its destructor runs) by the thread's first list of any size.
struct HandOver {
  bool armed = false;  // written once, so that the thread constructs it
  ~HandOver() {
    Pool& pool = ThePool();
    std::lock_guard<std::mutex> lock(pool.m);
    for (size_t c = 0; c < kClasses; ++c) {
      Prepend(pool.lists.free[c], lists.free[c]);
      lists.free[c] = nullptr;
    }
    if (lists.left >= kHeader + kGrain) {
      auto* r = reinterpret_cast<Rest*>(lists.bump);
      *r = Rest{pool.rests, lists.left};
      pool.rests = r;
    }
    lists.bump = nullptr;
    lists.left = 0;
    lists.ended = true;
    poolFilled.store(true, std::memory_order_relaxed);
  }
};
thread_local HandOver handOver;

void Arm() {
  if (lists.armed) return;
  handOver.armed = true;
  lists.armed = true;
}

// Takes everything the pool holds into the calling thread's lists.
void Adopt() {
  Pool& pool = ThePool();
  std::lock_guard<std::mutex> lock(pool.m);
  for (size_t c = 0; c < kClasses; ++c) {
    Prepend(lists.free[c], pool.lists.free[c]);
    pool.lists.free[c] = nullptr;
  }
  while (pool.rests) {
    char* bump = reinterpret_cast<char*>(pool.rests);
    size_t left = pool.rests->size;
    pool.rests = pool.rests->next;
    if (lists.left < left) std::swap(lists.bump, bump), std::swap(lists.left, left);
    // A smaller rest becomes blocks of the largest size that fits in it.
    while (left >= kHeader + kGrain) {
      size_t usable = std::min(kLargest, (left - kHeader) & ~(kGrain - 1));
      void* p = bump + kHeader;
      SizeOf(p) = usable;
      auto* b = static_cast<FreeBlock*>(p);
      b->next = lists.free[ClassOf(usable)];
      lists.free[ClassOf(usable)] = b;
      bump += kHeader + usable;
      left -= kHeader + usable;
    }
  }
  poolFilled.store(false, std::memory_order_relaxed);
}

char* Carve(Lists& t, size_t bytes) {
  if (t.left < bytes) {
    char* slab = static_cast<char*>(std::malloc(kSlab));
    if (!slab) return nullptr;
    {
      std::lock_guard<std::mutex> lock(slabsMutex);
      reinterpret_cast<Slab*>(slab)->next = slabs;
      slabs = reinterpret_cast<Slab*>(slab);
    }
    slabBytes.fetch_add(kSlab, std::memory_order_relaxed);
    t.bump = slab + kHeader;  // the slab's own link takes the first header's room
    t.left = kSlab - kHeader;
  }
  char* p = t.bump;
  t.bump += bytes;
  t.left -= bytes;
  return p;
}

void* Header(char* block, size_t usable) {
  if (!block) return nullptr;
  void* p = block + kHeader;
  SizeOf(p) = usable;
  return p;
}

void* Pop(FreeBlock*& head) {
  void* p = head;
  head = head->next;
  return p;
}

void Push(FreeBlock*& head, void* p) {
  auto* b = static_cast<FreeBlock*>(p);
  b->next = head;
  head = b;
}

// After the thread's hand-over: small blocks from the pool, under its lock.
void* AllocateEnded(size_t usable) {
  Pool& pool = ThePool();
  std::lock_guard<std::mutex> lock(pool.m);
  FreeBlock*& head = pool.lists.free[ClassOf(usable)];
  return head ? Pop(head) : Header(Carve(pool.lists, kHeader + usable), usable);
}

void ReleaseEnded(void* p) {
  Pool& pool = ThePool();
  std::lock_guard<std::mutex> lock(pool.m);
  Push(pool.lists.free[ClassOf(SizeOf(p))], p);
  poolFilled.store(true, std::memory_order_relaxed);
}

// The rest of Allocate, in two steps, so that the common one stays short.
// The rare cases: large blocks, a thread that has ended, something in the
// pool, a new slab.
[[gnu::noinline]] void* AllocateRare(size_t usable) {
  if (usable > kLargest) return Header(static_cast<char*>(std::malloc(kHeader + usable)), usable);
  if (lists.ended) return AllocateEnded(usable);
  Arm();
  FreeBlock*& head = lists.free[ClassOf(usable)];
  if (poolFilled.load(std::memory_order_relaxed)) {
    Adopt();
    if (head) return Pop(head);
  }
  return Header(Carve(lists, kHeader + usable), usable);
}

// An empty list: the next block of the thread's slab.
[[gnu::noinline]] void* AllocateSlow(size_t usable) {
  Lists& t = lists;
  size_t bytes = kHeader + usable;
  if (usable > kLargest || t.ended || !t.armed || t.left < bytes || poolFilled.load(std::memory_order_relaxed))
    return AllocateRare(usable);
  char* p = t.bump;
  t.bump += bytes;
  t.left -= bytes;
  return Header(p, usable);
}

[[gnu::noinline]] void ReleaseSlow(void* p) {
  size_t usable = SizeOf(p);
  if (usable > kLargest) {
    std::free(static_cast<char*>(p) - kHeader);
    return;
  }
  if (lists.ended) return ReleaseEnded(p);
  Arm();
  Push(lists.free[ClassOf(usable)], p);
}

}  // namespace

namespace sqlite_memory {

int Roundup(int n) { return static_cast<int>(Usable(n)); }

void* Allocate(int n) {
  size_t usable = Usable(n);
  if (usable <= kLargest && !lists.ended) {
    FreeBlock*& head = lists.free[ClassOf(usable)];
    if (head) return Pop(head);
  }
  return AllocateSlow(usable);
}

void Release(void* p) {
  if (!p) return;
  size_t usable = SizeOf(p);
  if (usable <= kLargest && !lists.ended) {
    FreeBlock*& head = lists.free[ClassOf(usable)];
    if (head) return Push(head, p);
  }
  ReleaseSlow(p);
}

int UsableSize(void* p) { return p ? static_cast<int>(SizeOf(p)) : 0; }

void* Resize(void* p, int n) {
  if (!p) return Allocate(n);
  size_t old = SizeOf(p);
  if (Usable(n) <= old) return p;  // still fits
  void* q = Allocate(n);
  if (!q) return nullptr;
  std::memcpy(q, p, old < static_cast<size_t>(n) ? old : static_cast<size_t>(n));
  Release(p);
  return q;
}

size_t SlabBytes() { return slabBytes.load(std::memory_order_relaxed); }

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
