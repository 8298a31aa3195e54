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

#include "data/WordLoad.h"
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

// A value as a reader gets it.
struct DbCell {
  DbKind kind = DbKind::Null;
  union {
    int64_t i;
    double f;
  } num{0};
  std::string text;
};

// Case-insensitive (ASCII letters) hashing and comparison of column names.
struct ColumnName {
  // The two cases of a letter hash alike (other bytes too may meet, which
  // only the comparison tells apart).
  static uint64_t Hash(std::string_view s) noexcept {
    return HashWords(s, 0x9E3779B97F4A7C15ull, 0x2020202020202020ull);
  }
  static bool Equal(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) return false;
    const char* x = a.data();
    const char* y = b.data();
    const size_t n = a.size();
    if (n >= 8) {
      for (size_t i = 0; i + 8 < n; i += 8)
        if (!SameFolded(LoadWord8(x + i), LoadWord8(y + i))) return false;
      return SameFolded(LoadWord8(x + n - 8), LoadWord8(y + n - 8));
    }
    if (n >= 4) return SameFolded(LoadWord4(x), LoadWord4(y)) && SameFolded(LoadWord4(x + n - 4), LoadWord4(y + n - 4));
    for (size_t i = 0; i < n; ++i)
      if (!SameFolded(static_cast<unsigned char>(x[i]), static_cast<unsigned char>(y[i]))) return false;
    return true;
  }

private:
  // The bytes side by side in two words are the same but for the case of
  // ASCII letters: where two bytes differ, they differ in the 0x20 bit
  // alone, and that byte is a letter ('A'..'Z' or 'a'..'z').
  static bool SameFolded(uint64_t x, uint64_t y) noexcept {
    constexpr uint64_t kOnes = 0x0101010101010101ull;
    const uint64_t d = x ^ y;
    if (d == 0) return true;  // mostly written as the database names it
    if (d & ~(0x20 * kOnes)) return false;
    // A byte of x below 0x80, folded to lower case, lies in 'a'..'z': seven
    // bits, added to without carrying into the next byte.
    const uint64_t low = (x | 0x20 * kOnes) & (0x7F * kOnes);
    const uint64_t atLeastA = low + (0x80 - 'a') * kOnes;
    const uint64_t aboveZ = low + (0x80 - 'z' - 1) * kOnes;
    const uint64_t letter = atLeastA & ~aboveZ & ~x & (0x80 * kOnes);
    return (d & ~(letter >> 2)) == 0;
  }
};

// The columns of a result: their names as the database reported them, and
// an index by name. Results of the same prepared statement share one, so
// that a customer's ~440 names are neither copied nor indexed per customer.
struct DbColumns {
  std::vector<std::string> names;

  // Index of the first column of that name (ASCII letters compared without
  // regard to case); -1 when there is none.
  int Find(std::string_view name) const {
    if (!indexed_) BuildIndex();
    const uint64_t h = ColumnName::Hash(name);
    const auto top = static_cast<uint32_t>(h >> 32);
    const size_t mask = slots_.size() - 1;
    for (size_t i = h & mask;; i = (i + 1) & mask) {
      const Slot& s = slots_[i];
      if (s.column < 0) return -1;
      if (s.hash == top && ColumnName::Equal(names[static_cast<size_t>(s.column)], name)) return s.column;
    }
  }
  // Builds the index now; a column set shared between results is indexed
  // before it is shared, so that reading it never changes it.
  void BuildIndex() const;

private:
  // Open addressing over a power of two of slots, at most half of them
  // used: a slot holds a column's number (-1: free) and the upper half of
  // its name's hash, which settles most mismatches without comparing.
  struct Slot {
    int32_t column = -1;
    uint32_t hash = 0;
  };
  mutable bool indexed_ = false;
  mutable std::vector<Slot> slots_;
};

// The columns of a result that has none; already indexed, so that it can be
// shared between threads.
const std::shared_ptr<const DbColumns>& NoColumns();

// The rows of one statement, row by row, with the column names as the
// database reported them.
//
// A customer's record has some 440 columns of which a page reads a few
// dozen: a result keeps each cell as it came, numbers as numbers and the
// bytes of every text one after another in one buffer of its own (copied,
// so that nothing points into the library's buffers once its statement is
// reset). A text is converted to Windows-1252, and a date column's text
// parsed, only when a reader asks for the cell (At).
struct DbResult {
  std::shared_ptr<const DbColumns> columns = NoColumns();
  int rows = 0;

  const std::vector<std::string>& names() const { return columns->names; }
  size_t ColumnCount() const { return columns->names.size(); }
  int FindColumn(std::string_view name) const { return columns->Find(name); }

  // The cell as a reader sees it: a text in Windows-1252, a date column's
  // ISO text as a date (the text itself when it is not one).
  DbCell At(int row, int column) const;
  // The bytes of a cell that holds a text, as stored (`utf8`: still to be
  // converted); `text` is false for any other cell (a number, NULL, a date
  // column's text).
  struct StoredText {
    bool text = false;
    bool utf8 = false;
    std::string_view bytes;
  };
  StoredText TextBytes(int row, int column) const {
    const Cell& s = Stored(row, column);
    if (s.kind != DbKind::Text) return {};
    return {true, (s.form & kUtf8) != 0, std::string_view(bytes_.data() + s.num.offset, s.length)};
  }
  bool IsNull(int row, int column) const { return Stored(row, column).kind == DbKind::Null; }

  // Filling a result, cell after cell and row after row. `utf8`: the bytes
  // are UTF-8, to be converted when read; else they are Windows-1252.
  void AddNull() { cells_.emplace_back(); }
  void AddInteger(int64_t i, DbKind kind = DbKind::Integer) {
    Cell& c = cells_.emplace_back();
    c.kind = kind;
    c.num.i = i;
  }
  void AddFloat(double f, DbKind kind = DbKind::Float) {
    Cell& c = cells_.emplace_back();
    c.kind = kind;
    c.num.f = f;
  }
  void AddText(std::string_view bytes, bool utf8) { AddBytes(DbKind::Text, bytes, utf8 ? kUtf8 : 0); }
  // The text of a date (`kind` Date) or date-time column, parsed when read.
  void AddDateText(DbKind kind, std::string_view bytes, bool utf8) {
    AddBytes(kind, bytes, static_cast<uint8_t>(kIsoText | (utf8 ? kUtf8 : 0)));
  }
  // Room for this many more cells and text bytes.
  void Reserve(size_t cells, size_t bytes) {
    cells_.reserve(cells_.size() + cells);
    bytes_.reserve(bytes_.size() + bytes);
  }
  size_t TextBytes() const { return bytes_.size(); }

private:
  enum : uint8_t { kUtf8 = 1, kIsoText = 2 };
  struct Cell {
    DbKind kind = DbKind::Null;
    uint8_t form = 0;     // how the bytes of a text read (kUtf8, kIsoText)
    uint32_t length = 0;  // of the text
    union {
      int64_t i;
      double f;
      uint64_t offset;  // of the text in bytes_
    } num{0};
  };
  void AddBytes(DbKind kind, std::string_view bytes, uint8_t form) {
    Cell& c = cells_.emplace_back();
    c.kind = kind;
    c.form = form;
    c.length = static_cast<uint32_t>(bytes.size());
    c.num.offset = bytes_.size();
    bytes_.append(bytes);
  }
  const Cell& Stored(int row, int column) const {
    return cells_[static_cast<size_t>(row) * ColumnCount() + static_cast<size_t>(column)];
  }

  std::vector<Cell> cells_;  // rows * column count, row after row
  std::string bytes_;
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
bool IsAscii(std::string_view s);
std::string Cp1252ToUtf8(std::string_view s);
// Characters that Windows-1252 cannot hold become "?".
std::string Utf8ToCp1252(std::string_view s);

// Parses the ISO text of a stored date or date-time ("yyyy-mm-dd",
// "yyyy-mm-dd hh:nn:ss[.fff]", with "T" or a time zone suffix).
bool ParseIsoDateTime(std::string_view text, TDateTime& out);
