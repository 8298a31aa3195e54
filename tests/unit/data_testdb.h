// Test databases for the data-layer tests: the schema of db/ plus a small set
// of customers, on a temporary SQLite file and, when VEMLO_PG_CONNINFO holds
// a connection line "Provider=PostgreSQL;...", on that PostgreSQL database
// (whose schema "dbo" is replaced).
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct TestDb {
  std::string kind;  // "SQLite" or "PostgreSQL"
  std::string line;  // connection line for TQuery
};

// The database of that kind, created and filled on first use; nullptr when
// PostgreSQL is not configured.
const TestDb* GetTestDb(const std::string& kind);

// The back ends the parameterised tests run on.
inline std::vector<std::string> TestDbKinds() { return {"SQLite", "PostgreSQL"}; }

// Fixture base: skips when the back end is not configured.
class DbTest : public ::testing::TestWithParam<std::string> {
protected:
  void SetUp() override {
    db_ = GetTestDb(GetParam());
    if (!db_) GTEST_SKIP() << GetParam() << " is not configured (set VEMLO_PG_CONNINFO)";
  }
  const TestDb* db_ = nullptr;
};

// Writes a file with the given content; returns false on failure.
bool WriteTextFile(const std::string& path, const std::string& content);
// The SQL text of the test rows (Windows-1252, portable between back ends).
const char* TestDataSql();

// Names the parameterised tests by back end ("Backends/QueryTest.X/SQLite").
inline std::string DbKindName(const ::testing::TestParamInfo<std::string>& info) { return info.param; }

#include "app/vemlo3f.h"

// Fixture base for the module's data operations: a fresh request state
// (Swedish, no debug) and a module whose queries use the test database with
// the bracketed table names.
class FormDbTest : public DbTest {
protected:
  void SetUp() override {
    DbTest::SetUp();
    if (IsSkipped()) return;
    RS() = TRequestState();
    RS().Sprak = "S";
    form_ = std::make_unique<TForm1>(false);
    for (TQuery* q : form_->AllQueries) q->SetConnectionString(db_->line);
    RS().AnvandADO = true;
  }
  void TearDown() override { form_.reset(); }

  // The values of one column over all rows of a query.
  static std::vector<std::string> Column(TQuery& q, const char* name) {
    std::vector<std::string> out;
    for (q.First(); !q.Eof(); q.Next()) out.push_back(q.Text(name));
    return out;
  }
  using Lines = std::vector<std::string>;

  std::unique_ptr<TForm1> form_;
};
