// The data-access layer behind TQuery: a connection to one database and the
// whole result of one statement, as each back end delivers them.
//
// Two back ends implement DbConnection: SQLite (embedded, the default) and
// PostgreSQL (libpq, loaded at run time only when a connection line asks for
// it). Both take the statement as the application built it (see
// SqlStatement.h), in Windows-1252, and return every row at once.
#pragma once

#include <cstring>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "gateway/HDateTime.h"

class SqlStatement;

// How a value reads: decided per cell from the column's declared type (or
// type oid) and the value stored.
enum class DbKind : uint8_t {
  Null,
  Integer,   // num.i
  Float,     // num.f
  Boolean,   // num.i 0 or 1
  Date,      // num.f, a date column: shown without time
  DateTime,  // num.f, shown with the time when it is not midnight
  Text,      // text, Windows-1252
};

struct DbCell {
  DbKind kind = DbKind::Null;
  union {
    int64_t i;
    double f;
  } num{0};
  std::string text;
};

// Case-insensitive (ASCII letters) hashing and comparison of column names,
// usable with a std::string_view key without building a string.
struct ColumnNameHash {
  using is_transparent = void;
  // Eight bytes at a time, each with its 0x20 bit set: the two cases of a
  // letter hash alike (other bytes too may meet, which only the comparison
  // tells apart).
  size_t operator()(std::string_view s) const noexcept {
    uint64_t h = 0x9E3779B97F4A7C15ull ^ s.size();
    size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
      uint64_t w;
      std::memcpy(&w, s.data() + i, 8);
      h = (h ^ (w | 0x2020202020202020ull)) * 0xFF51AFD7ED558CCDull;
      h ^= h >> 32;
    }
    if (i < s.size()) {
      uint64_t w = 0;
      std::memcpy(&w, s.data() + i, s.size() - i);
      h = (h ^ (w | 0x2020202020202020ull)) * 0xFF51AFD7ED558CCDull;
      h ^= h >> 32;
    }
    return static_cast<size_t>(h);
  }
};
struct ColumnNameEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const noexcept {
    if (a.size() != b.size()) return false;
    if (std::memcmp(a.data(), b.data(), a.size()) == 0) return true;  // mostly written as the database names it
    for (size_t i = 0; i < a.size(); ++i) {
      char x = a[i], y = b[i];
      if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
      if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
      if (x != y) return false;
    }
    return true;
  }
};

// The columns of a result: their names as the database reported them, and
// an index by name. Results of the same prepared statement share one, so
// that a customer's ~440 names are neither copied nor indexed per customer.
struct DbColumns {
  std::vector<std::string> names;

  // Index of the first column of that name (ASCII letters compared without
  // regard to case); -1 when there is none.
  int Find(std::string_view name) const;
  // Builds the index now; a column set shared between results is indexed
  // before it is shared, so that reading it never changes it.
  void BuildIndex() const;

private:
  mutable bool indexed_ = false;
  mutable std::unordered_map<std::string, int, ColumnNameHash, ColumnNameEqual> index_;
};

// The rows of one statement, row by row, with the column names as the
// database reported them.
struct DbResult {
  std::shared_ptr<const DbColumns> columns = std::make_shared<DbColumns>();
  std::vector<DbCell> cells;  // rows * column count, row after row
  int rows = 0;

  const std::vector<std::string>& names() const { return columns->names; }
  const DbCell& At(int row, int column) const {
    return cells[static_cast<size_t>(row) * columns->names.size() + static_cast<size_t>(column)];
  }
  int FindColumn(std::string_view name) const { return columns->Find(name); }
};

class DbConnection {
public:
  virtual ~DbConnection() = default;
  // Runs one statement and returns all of its rows: its shape in the back
  // end's dialect, prepared once per connection, with its values as
  // parameters. Raises EDatabaseError with the library's message.
  virtual std::shared_ptr<DbResult> Query(const SqlStatement& statement) = 0;
  // Runs a statement given only as text (in the application's dialect,
  // adapted as SqlDialect.h tells), as written, without parameters.
  virtual std::shared_ptr<DbResult> Query(const std::string& sql) = 0;
  // Runs a script of statements that return no rows, as written (no dialect
  // adaptation). Used to load a schema or test data.
  virtual void Execute(const std::string& script) = 0;
  virtual const char* Provider() const = 0;
  // The request that used the connection has ended: a back end that reads a
  // request's statements in one transaction ends it here, and one whose
  // session a failed statement left in a transaction sets it back.
  virtual void EndRequest() {}
  // Asked once per request, before the connection's first statement of a
  // later request: false when the connection no longer reaches the
  // database that its line names (the SQLite file was replaced, the
  // PostgreSQL server dropped the session); it is then opened again.
  virtual bool StillCurrent() { return true; }
  // A number that changes whenever the content of the database changes, as
  // the reads of the current request see it; false when the back end
  // cannot tell.
  virtual bool DataVersion(uint64_t&) { return false; }
  // Every connection that the process opens has a number of its own, so
  // that what was read through one is not taken for what another reads.
  uint64_t Serial() const { return serial_; }

private:
  uint64_t serial_ = NextSerial();
  static uint64_t NextSerial();
};

// The open connection of the calling thread for a connection line (or, with
// `alias`, a database alias), opened on first use and kept for the thread's
// later requests: at its first use in each later request it is checked
// (DbConnection::StillCurrent) and opened again when it is stale. A thread
// keeps the connections of its two most recently used lines. Raises
// EDatabaseError when the line is bad or the connection fails.
DbConnection& ThreadConnection(const std::string& line, bool alias);

// Opens a new connection that is not cached (set-up scripts, tests).
std::unique_ptr<DbConnection> OpenConnection(const std::string& line, bool alias);

// Back ends.
// `path` as given (relative to the working directory); read-only unless
// `writable`, and created when `create` is set too.
std::unique_ptr<DbConnection> OpenSqlite(const std::string& path, bool writable, bool create);
// Keyword/value pairs as libpq takes them (already mapped from the line).
std::unique_ptr<DbConnection> OpenPostgres(const std::vector<std::pair<std::string, std::string>>& params);

// Text encodings at the database boundary.
std::string Cp1252ToUtf8(std::string_view s);
// Characters that Windows-1252 cannot hold become "?".
std::string Utf8ToCp1252(std::string_view s);

// Parses the ISO text of a stored date or date-time ("yyyy-mm-dd",
// "yyyy-mm-dd hh:nn:ss[.fff]", with "T" or a time zone suffix).
bool ParseIsoDateTime(std::string_view text, TDateTime& out);
