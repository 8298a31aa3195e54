// SQLite back end: the embedded database file named by the connection line.
//
// The database stores text as UTF-8; the program's Windows-1252 statements
// and values are converted on the way in and out. Dates are stored as ISO
// text ("yyyy-mm-dd" in DATE columns, "yyyy-mm-dd hh:nn:ss" in DATETIME and
// TIMESTAMP columns, where a midnight value may leave out its time); the
// declared type of the column tells that a text is a date.
#include <sqlite3.h>

#include <cctype>
#include <cstring>
#include <mutex>
#include <unordered_map>

#include "app/Sanitized.h"
#include "data/DbBackend.h"
#include "data/FileStamp.h"
#include "data/SqlDialect.h"
#include "data/SqlStatement.h"
#include "data/SqliteMemory.h"
#include "gateway/HUtils.h"

namespace {

// Upper case of one code point for the letters the customer data uses: ASCII,
// Latin-1 (à..þ except ÷, ÿ) and the few Latin Extended letters of
// Windows-1252 (œ š ž). Others are returned unchanged.
uint32_t UpperCodePoint(uint32_t cp) {
  if (cp >= 'a' && cp <= 'z') return cp - 32;
  if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7) return cp - 32;
  switch (cp) {
    case 0xFF: return 0x178;
    case 0x153: return 0x152;
    case 0x161: return 0x160;
    case 0x17E: return 0x17D;
    default: return cp;
  }
}

// upper(text) over UTF-8 that knows å ä ö é ü and the other Western letters
// (SQLite's own upper() folds ASCII only). Replaces the built-in function.
void UpperFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
    sqlite3_result_null(ctx);
    return;
  }
  auto in = reinterpret_cast<const unsigned char*>(sqlite3_value_text(argv[0]));
  int n = sqlite3_value_bytes(argv[0]);
  // Most values are short ASCII codes: upper-cased in a buffer on the stack.
  {
    char buf[64];
    int k = 0;
    for (; k < n && k < static_cast<int>(sizeof buf) && in[k] < 0x80; ++k)
      buf[k] = static_cast<char>(in[k] >= 'a' && in[k] <= 'z' ? in[k] - 32 : in[k]);
    if (k == n) {
      sqlite3_result_text(ctx, buf, n, SQLITE_TRANSIENT);
      return;
    }
  }
  std::string out;
  out.reserve(static_cast<size_t>(n));
  for (int k = 0; k < n;) {
    unsigned char b = in[k];
    if (b < 0x80) {
      out += static_cast<char>(std::toupper(b));
      ++k;
      continue;
    }
    if ((b & 0xE0) == 0xC0 && k + 1 < n && (in[k + 1] & 0xC0) == 0x80) {
      uint32_t cp = UpperCodePoint(((b & 0x1Fu) << 6) | (in[k + 1] & 0x3Fu));
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
      k += 2;
      continue;
    }
    out += static_cast<char>(b);  // longer sequences are copied unchanged
    ++k;
  }
  sqlite3_result_text(ctx, out.data(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
}

// A text in place (most are plain ASCII, which is the same in both).
void ToUtf8(std::string& s) {
  if (!IsAscii(s)) s = Cp1252ToUtf8(s);
}

enum class ColumnType { Other, Date, DateTime };

ColumnType DeclaredType(const char* decl) {
  if (!decl) return ColumnType::Other;
  std::string up = UpperCase(decl);
  if (up.find("TIME") != std::string::npos) return ColumnType::DateTime;  // DATETIME, TIMESTAMP
  if (up.find("DATE") != std::string::npos) return ColumnType::Date;
  return ColumnType::Other;
}

class SqliteConnection final : public DbConnection {
public:
  SqliteConnection(sqlite3* db, bool readOnly, std::string file, TFileStamp stamp)
      : db_(db), readOnly_(readOnly), file_(std::move(file)), stamp_(stamp) {}
  ~SqliteConnection() override {
    for (auto& [text, p] : statements_) sqlite3_finalize(p.st);
    sqlite3_finalize(begin_);
    sqlite3_finalize(rollback_);
    sqlite3_finalize(dataVersion_);
    sqlite3_close_v2(db_);
  }

  // The file at the path is still the one that is open, unchanged. A file
  // replaced under an open connection would otherwise go on being read
  // through the old file's inode, or through pages cached from the old
  // content; any change of the file opens the connection again (changes
  // written through SQLite by others are rare on a published database, and
  // are seen through the data version as well).
  bool StillCurrent() override { return TFileStamp::Of(file_) == stamp_; }

  // The data version changes with every committed change of the database.
  // Taken inside the request's read transaction, it tells the state that
  // the request's other reads see. Before the transaction has read
  // anything, PRAGMA data_version starts it (it counts the changes of other
  // connections; this one only reads, and its own changes count through
  // total_changes).
  bool DataVersion(uint64_t& version) override {
    BeginReading();
    // Within a read transaction the pager's own counter tells the same,
    // without a statement.
    if (sqlite3_txn_state(db_, "main") != SQLITE_TXN_NONE) {
      unsigned int v = 0;
      if (sqlite3_file_control(db_, "main", SQLITE_FCNTL_DATA_VERSION, &v) == SQLITE_OK) {
        version = v;
        return true;
      }
    }
    if (!dataVersion_ && sqlite3_prepare_v3(db_, "PRAGMA data_version", -1, SQLITE_PREPARE_PERSISTENT, &dataVersion_,
                                            nullptr) != SQLITE_OK)
      Fail();
    Reset guard{dataVersion_};
    if (sqlite3_step(dataVersion_) != SQLITE_ROW) Fail();
    version = (static_cast<uint64_t>(sqlite3_column_int64(dataVersion_, 0)) << 32) ^
              static_cast<uint64_t>(sqlite3_total_changes64(db_));
    return true;
  }

  const char* Provider() const override { return "SQLite"; }

  // Statements of the same shape share one prepared statement; their
  // values are bound to it.
  std::shared_ptr<DbResult> Query(const SqlStatement& statement) override {
    BeginReading();
    SqlShape shape = statement.Shape(SqlDialect::SQLite);
    for (std::string& v : shape.values) ToUtf8(v);
    ToUtf8(shape.text);
    return Run(Prepare(shape.text), shape.values);
  }

  std::shared_ptr<DbResult> Query(const std::string& sql) override {
    BeginReading();
    std::string text = AdaptSql(sql, SqlDialect::SQLite);
    ToUtf8(text);
    return Run(Prepare(text), {});
  }

  void EndRequest() override {
    if (!rollback_ || sqlite3_get_autocommit(db_)) return;
    sqlite3_step(rollback_);
    sqlite3_reset(rollback_);
  }

  void Execute(const std::string& script) override {
    char* err = nullptr;
    if (sqlite3_exec(db_, Cp1252ToUtf8(script).c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
      std::string msg = err ? Utf8ToCp1252(err) : "SQLite error";
      sqlite3_free(err);
      throw EDatabaseError(msg);
    }
  }

private:
  // A read-only connection reads all statements of a request in one read
  // transaction: the request sees one state of the database, and the file is
  // locked and checked once instead of once a statement. EndRequest ends it,
  // so that nothing is held between requests.
  void BeginReading() {
    if (!readOnly_ || !sqlite3_get_autocommit(db_)) return;
    if (!begin_) {
      if (sqlite3_prepare_v2(db_, "BEGIN", -1, &begin_, nullptr) != SQLITE_OK ||
          sqlite3_prepare_v2(db_, "ROLLBACK", -1, &rollback_, nullptr) != SQLITE_OK)
        Fail();
    }
    int rc = sqlite3_step(begin_);
    sqlite3_reset(begin_);
    if (rc != SQLITE_DONE) Fail();
  }

  struct Reset {
    sqlite3_stmt* st;
    ~Reset() {
      sqlite3_reset(st);
      sqlite3_clear_bindings(st);
    }
  };
  // A prepared statement with what its results share: the columns, their
  // declared types, and how many text bytes its last result held (room for
  // as many is made in the next one).
  struct Prepared {
    sqlite3_stmt* st = nullptr;
    std::shared_ptr<const DbColumns> columns;
    std::vector<ColumnType> types;
    size_t textBytes = 0;
  };

  std::shared_ptr<DbResult> Run(Prepared& p, const std::vector<std::string>& values) {
    sqlite3_stmt* st = p.st;
    Reset guard{st};
    for (size_t i = 0; i < values.size(); ++i)
      sqlite3_bind_text(st, static_cast<int>(i) + 1, values[i].data(), static_cast<int>(values[i].size()),
                        SQLITE_STATIC);
    auto result = std::make_shared<DbResult>();
    const int cols = static_cast<int>(p.types.size());
    result->columns = p.columns;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
      if (result->rows == 0) result->Reserve(static_cast<size_t>(cols), p.textBytes);
      for (int c = 0; c < cols; ++c) ReadCell(st, c, p.types[static_cast<size_t>(c)], *result);
      ++result->rows;
    }
    if (rc != SQLITE_DONE) Fail();
    p.textBytes = result->TextBytes();
    return result;
  }

  // The prepared statement of a text (UTF-8), prepared on first use.
  Prepared& Prepare(const std::string& text) {
    auto it = statements_.find(text);
    if (it != statements_.end()) return it->second;
    if (statements_.size() >= kMaxStatements) {
      for (auto& [t, p] : statements_) sqlite3_finalize(p.st);
      statements_.clear();
    }
    sqlite3_stmt* st = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v3(db_, text.c_str(), static_cast<int>(text.size()) + 1, SQLITE_PREPARE_PERSISTENT, &st,
                           &tail) != SQLITE_OK)
      Fail();
    if (!st) throw EDatabaseError("The statement is empty");
    for (; tail && *tail; ++tail)
      if (!std::isspace(static_cast<unsigned char>(*tail)) && *tail != ';') {
        sqlite3_finalize(st);
        throw EDatabaseError("Only one statement can be run at a time");
      }
    Prepared p;
    p.st = st;
    auto columns = std::make_shared<DbColumns>();
    int cols = sqlite3_column_count(st);
    for (int c = 0; c < cols; ++c) {
      columns->names.push_back(Utf8ToCp1252(sqlite3_column_name(st, c)));
      p.types.push_back(DeclaredType(sqlite3_column_decltype(st, c)));
    }
    columns->BuildIndex();
    p.columns = std::move(columns);
    return statements_.emplace(text, std::move(p)).first->second;
  }

  static constexpr size_t kMaxStatements = 64;
  std::unordered_map<std::string, Prepared> statements_;

  [[noreturn]] void Fail() { throw EDatabaseError(Utf8ToCp1252(sqlite3_errmsg(db_))); }

  // The cell as stored: its text is converted (and a date column's text
  // parsed) when it is read. The column's value is asked for once and read
  // through the value interface: its object is one that the library calls
  // unprotected, which is safe to read on a connection that one thread
  // alone uses without the library's mutex (SQLITE_OPEN_NOMUTEX), as every
  // connection here is.
  static void ReadCell(sqlite3_stmt* st, int c, ColumnType type, DbResult& result) {
    sqlite3_value* v = sqlite3_column_value(st, c);
    switch (sqlite3_value_type(v)) {
      case SQLITE_NULL:
        result.AddNull();
        break;
      case SQLITE_INTEGER:
        result.AddInteger(sqlite3_value_int64(v));
        break;
      case SQLITE_FLOAT:
        result.AddFloat(sqlite3_value_double(v));
        break;
      default: {
        auto p = reinterpret_cast<const char*>(sqlite3_value_text(v));
        std::string_view raw(p ? p : "", static_cast<size_t>(sqlite3_value_bytes(v)));
        if (type == ColumnType::Other)
          result.AddText(raw, true);
        else
          result.AddDateText(type == ColumnType::Date ? DbKind::Date : DbKind::DateTime, raw, true);
      }
    }
  }

  sqlite3* db_;
  bool readOnly_;
  std::string file_;  // as opened, relative to the working directory
  TFileStamp stamp_;   // of the file at the time it was opened
  sqlite3_stmt* begin_ = nullptr;
  sqlite3_stmt* rollback_ = nullptr;
  sqlite3_stmt* dataVersion_ = nullptr;
};

}  // namespace

std::unique_ptr<DbConnection> OpenSqlite(const std::string& path, bool writable, bool create) {
  // The library's allocation statistics cost a global mutex on every
  // allocation and are never read: switched off before the library starts,
  // and its small blocks come from our own lists (when something else has
  // started the library already, both calls change nothing).
  static std::once_flag once;
  std::call_once(once, [] {
    sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    // A sanitized build leaves SQLite on the C library's allocator, which
    // the sanitizer checks.
    if (!VEMLO_SANITIZED) UseSmallBlockMemoryForSqlite();
  });
  int flags = SQLITE_OPEN_NOMUTEX;  // one connection per thread
  flags |= writable ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY;
  if (writable && create) flags |= SQLITE_OPEN_CREATE;
  sqlite3* db = nullptr;
  std::string file = Cp1252ToUtf8(PosixPath(path));
  // Taken before the file is opened: a file replaced in between is then
  // seen as changed at the next request, never the other way round.
  TFileStamp stamp = TFileStamp::Of(file);
  int rc = sqlite3_open_v2(file.c_str(), &db, flags, nullptr);
  if (rc != SQLITE_OK) {
    std::string msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    sqlite3_close_v2(db);
    throw EDatabaseError("Cannot open the database \"" + path + "\": " + Utf8ToCp1252(msg));
  }
  sqlite3_busy_timeout(db, 5000);
  sqlite3_create_function_v2(db, "upper", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, UpperFunction, nullptr,
                             nullptr, nullptr);
  return std::make_unique<SqliteConnection>(db, !writable, file, stamp);
}
