// A request reads the embedded database in one read transaction that ends
// with the request, and SQLite's small blocks come from the program's own
// allocator.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

#include "data/SqliteMemory.h"
#include "support/ModuleFixture.h"

namespace {

// A writer on its own connection that does not wait for locks: SQLITE_BUSY
// tells that a reader holds the database.
int Write(const std::string& db, const std::string& sql) {
  sqlite3* h = nullptr;
  EXPECT_EQ(sqlite3_open(db.c_str(), &h), SQLITE_OK);
  int rc = sqlite3_exec(h, sql.c_str(), nullptr, nullptr, nullptr);
  sqlite3_close(h);
  return rc;
}

std::string Name(TForm1& form, const std::string& kundid) {
  TQuery& q = form.q_temp;
  q.Close();
  q.SQL.Clear();
  q.SQL.Add("SELECT Ftagnamn FROM \"Kund\" WHERE Kundid = '" + SqlQuote(kundid) + "'");
  q.Open();
  return q.Text("Ftagnamn");
}

}  // namespace

TEST(RequestRead, OneStateOfTheDatabaseUntilTheRequestEndsAndNothingHeldAfter) {
  ModuleFixture fx("INSERT INTO Kund(Kundid,Ftagnamn,Status,Niva) VALUES('A1','Kvarn','B','1');");
  const std::string db = fx.Site().root + "/www/test.db";
  EXPECT_EQ(Name(fx.Form(), "A1"), "Kvarn");
  // Within the request a writer cannot change what the request reads.
  EXPECT_EQ(Write(db, "UPDATE Kund SET Ftagnamn='Kvarnen'"), SQLITE_BUSY);
  EXPECT_EQ(Name(fx.Form(), "A1"), "Kvarn");
  // The end of the request releases the database: the writer gets through
  // and the next request sees its change.
  EndRequestOnConnections();
  EXPECT_EQ(Write(db, "UPDATE Kund SET Ftagnamn='Kvarnen'"), SQLITE_OK);
  EXPECT_EQ(Name(fx.Form(), "A1"), "Kvarnen");
  EndRequestOnConnections();
  EndRequestOnConnections();  // twice is harmless
  EXPECT_EQ(Write(db, "UPDATE Kund SET Ftagnamn='Kvarn'"), SQLITE_OK);
}

TEST(RequestRead, AFailedStatementStillEndsWithTheRequest) {
  ModuleFixture fx("INSERT INTO Kund(Kundid,Ftagnamn,Status,Niva) VALUES('A1','Kvarn','B','1');");
  const std::string db = fx.Site().root + "/www/test.db";
  EXPECT_EQ(Name(fx.Form(), "A1"), "Kvarn");
  TQuery& q = fx.Form().q_temp;
  q.Close();
  q.SQL.Clear();
  q.SQL.Add("SELECT Saknas FROM \"Kund\"");
  EXPECT_THROW(q.Open(), EDatabaseError);
  EndRequestOnConnections();
  EXPECT_EQ(Write(db, "UPDATE Kund SET Ftagnamn='Kvarnen'"), SQLITE_OK);
  EXPECT_EQ(Name(fx.Form(), "A1"), "Kvarnen");
  EndRequestOnConnections();
}

TEST(SqliteMemory, BlocksOfEverySizeKeepTheirBytesThroughResizing) {
  std::vector<void*> blocks;
  for (int n = 0; n <= 3000; n += 7) {
    auto* p = static_cast<unsigned char*>(sqlite_memory::Allocate(n));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % 8, 0u) << n;
    EXPECT_GE(sqlite_memory::UsableSize(p), n);
    std::memset(p, n & 0xFF, static_cast<size_t>(n));
    blocks.push_back(p);
  }
  // No two live blocks overlap: each still holds its own pattern.
  for (size_t i = 0; i < blocks.size(); ++i) {
    int n = static_cast<int>(i) * 7;
    auto* p = static_cast<unsigned char*>(blocks[i]);
    for (int k = 0; k < n; ++k) ASSERT_EQ(p[k], n & 0xFF) << n;
  }
  // Growing across the small sizes into a large block and back keeps the
  // bytes that fit.
  auto* p = static_cast<unsigned char*>(sqlite_memory::Allocate(10));
  std::memcpy(p, "0123456789", 10);
  for (int n : {16, 17, 500, 1024, 1025, 5000, 100, 3}) {
    p = static_cast<unsigned char*>(sqlite_memory::Resize(p, n));
    ASSERT_NE(p, nullptr);
    EXPECT_GE(sqlite_memory::UsableSize(p), n);
    EXPECT_EQ(std::memcmp(p, "0123456789", n < 10 ? static_cast<size_t>(n) : 10u), 0) << n;
  }
  sqlite_memory::Release(p);
  for (void* b : blocks) sqlite_memory::Release(b);
  sqlite_memory::Release(nullptr);
  EXPECT_EQ(sqlite_memory::UsableSize(nullptr), 0);
  // A freed block is used again for the next block of its size.
  void* a = sqlite_memory::Allocate(40);
  sqlite_memory::Release(a);
  EXPECT_EQ(sqlite_memory::Allocate(33), a);
  sqlite_memory::Release(a);
}

TEST(SqliteMemory, BlocksMayBeFreedByAnotherThread) {
  std::vector<void*> made(2000);
  std::thread maker([&] {
    for (size_t i = 0; i < made.size(); ++i) {
      made[i] = sqlite_memory::Allocate(static_cast<int>(i % 1500));
      std::memset(made[i], 0x5A, i % 1500);
    }
  });
  maker.join();
  std::thread other([&] {
    for (void* p : made) sqlite_memory::Release(p);
    // The other thread now serves its blocks from them.
    for (int i = 0; i < 1000; ++i) {
      void* p = sqlite_memory::Allocate(i);
      std::memset(p, 0xA5, static_cast<size_t>(i));
      sqlite_memory::Release(p);
    }
  });
  other.join();
}

// A server that starts a thread per request: each thread takes about 2 MB of
// blocks and ends. The threads after the first use what the ended ones left,
// also the blocks that a thread frees while it ends (as its connections
// close), instead of carving new slabs each time.
TEST(SqliteMemory, ThreadsThatEndLeaveTheirMemoryToTheNext) {
  struct FreedAtEnd {
    std::vector<void*> blocks;
    ~FreedAtEnd() {
      for (void* p : blocks) sqlite_memory::Release(p);
    }
  };
  auto request = [] {
    static thread_local FreedAtEnd late;  // made before the thread's first block
    late.blocks.reserve(1000);
    std::vector<void*> now;
    for (int i = 0; i < 4000; ++i) {
      void* p = sqlite_memory::Allocate(16 + (i * 37) % 1000);
      std::memset(p, 0x33, 16);
      (i % 4 == 0 ? late.blocks : now).push_back(p);
    }
    for (void* p : now) sqlite_memory::Release(p);
  };
  std::thread(request).join();
  std::thread(request).join();
  size_t before = sqlite_memory::SlabBytes();
  for (int t = 0; t < 40; ++t) std::thread(request).join();
  EXPECT_LT(sqlite_memory::SlabBytes() - before, 256u * 1024);
}
