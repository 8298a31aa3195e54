// PostgreSQL back end through libpq.
//
// libpq is not linked: a CGI program pays its start-up on every request, and
// most installations use SQLite. The library ("libpq.so.5") is loaded with
// dlopen the first time a connection line asks for PostgreSQL, and the few
// functions used are bound by name.
//
// A connection stays open for the thread's later requests. Statements are
// prepared on the server once per connection: statements of the same shape
// share one, and their values are its parameters (see SqlStatement.h). A
// statement whose shape the server will not prepare runs as written. A session that the server dropped (a
// restart) is connected again when a statement finds it gone, and the
// statement runs once more; the connection stays usable after a failed
// statement.
//
// The session's client encoding is WIN1252, so statements and values travel
// in the program's own encoding and the server converts. The search path is
// "dbo, public", so that the double-quoted table names of the alias form find
// their tables too.
#include <dlfcn.h>

#include <charconv>
#include <cstring>
#include <functional>
#include <mutex>
#include <unordered_map>

#include "data/DbBackend.h"
#include "data/SqlDialect.h"
#include "data/SqlStatement.h"
#include "gateway/HUtils.h"

namespace {

struct PGconn;
struct PGresult;
using Oid = unsigned int;

enum ConnStatus { CONNECTION_OK = 0 };
enum ExecStatus { PGRES_EMPTY_QUERY = 0, PGRES_COMMAND_OK = 1, PGRES_TUPLES_OK = 2 };
enum TransactionStatus { PQTRANS_IDLE = 0 };

struct LibPq {
  PGconn* (*connectdbParams)(const char* const*, const char* const*, int);
  int (*status)(const PGconn*);
  char* (*errorMessage)(const PGconn*);
  void (*finish)(PGconn*);
  PGresult* (*execParams)(PGconn*, const char*, int, const Oid*, const char* const*, const int*, const int*, int);
  PGresult* (*exec)(PGconn*, const char*);
  PGresult* (*prepare)(PGconn*, const char*, const char*, int, const Oid*);
  PGresult* (*execPrepared)(PGconn*, const char*, int, const char* const*, const int*, const int*, int);
  void (*reset)(PGconn*);
  int (*transactionStatus)(const PGconn*);
  int (*resultStatus)(const PGresult*);
  char* (*resultErrorMessage)(const PGresult*);
  void (*clear)(PGresult*);
  int (*ntuples)(const PGresult*);
  int (*nfields)(const PGresult*);
  char* (*fname)(const PGresult*, int);
  Oid (*ftype)(const PGresult*, int);
  char* (*getvalue)(const PGresult*, int, int);
  int (*getlength)(const PGresult*, int, int);
  int (*getisnull)(const PGresult*, int, int);
};

const LibPq& Lib() {
  static LibPq lib;
  static std::string error;
  static std::once_flag once;
  std::call_once(once, [] {
    void* h = dlopen("libpq.so.5", RTLD_NOW | RTLD_LOCAL);
    if (!h) {
      error = std::string("The PostgreSQL client library cannot be loaded: ") + dlerror();
      return;
    }
    auto bind = [&](auto& fn, const char* name) {
      void* sym = dlsym(h, name);
      if (!sym && error.empty()) error = std::string("The PostgreSQL client library lacks ") + name;
      fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(sym);
    };
    bind(lib.connectdbParams, "PQconnectdbParams");
    bind(lib.status, "PQstatus");
    bind(lib.errorMessage, "PQerrorMessage");
    bind(lib.finish, "PQfinish");
    bind(lib.execParams, "PQexecParams");
    bind(lib.exec, "PQexec");
    bind(lib.prepare, "PQprepare");
    bind(lib.execPrepared, "PQexecPrepared");
    bind(lib.reset, "PQreset");
    bind(lib.transactionStatus, "PQtransactionStatus");
    bind(lib.resultStatus, "PQresultStatus");
    bind(lib.resultErrorMessage, "PQresultErrorMessage");
    bind(lib.clear, "PQclear");
    bind(lib.ntuples, "PQntuples");
    bind(lib.nfields, "PQnfields");
    bind(lib.fname, "PQfname");
    bind(lib.ftype, "PQftype");
    bind(lib.getvalue, "PQgetvalue");
    bind(lib.getlength, "PQgetlength");
    bind(lib.getisnull, "PQgetisnull");
    // The library stays loaded for the life of the process.
  });
  if (!error.empty()) throw EDatabaseError(error);
  return lib;
}

// Type oids of the built-in types that do not read as text.
enum : Oid {
  kBool = 16,
  kInt8 = 20,
  kInt2 = 21,
  kInt4 = 23,
  kOid = 26,
  kFloat4 = 700,
  kFloat8 = 701,
  kNumeric = 1700,
  kDate = 1082,
  kTimestamp = 1114,
  kTimestampTz = 1184,
};

std::string TrimMessage(const char* msg) {
  std::string s = msg ? msg : "";
  while (!s.empty() && (s.back() == '\n' || s.back() == ' ')) s.pop_back();
  return s.empty() ? "PostgreSQL error" : s;
}

// The cell as stored: a date's text is parsed when it is read.
void ReadCell(const char* v, int len, Oid type, DbResult& result) {
  std::string_view raw(v, static_cast<size_t>(len));
  switch (type) {
    case kBool:
      result.AddInteger(raw == "t" ? 1 : 0, DbKind::Boolean);
      return;
    case kInt2:
    case kInt4:
    case kInt8:
    case kOid: {
      int64_t i = 0;
      if (std::from_chars(raw.data(), raw.data() + raw.size(), i).ec == std::errc()) {
        result.AddInteger(i);
        return;
      }
      break;
    }
    case kFloat4:
    case kFloat8:
    case kNumeric: {
      double f = 0;
      if (std::from_chars(raw.data(), raw.data() + raw.size(), f).ec == std::errc()) {
        result.AddFloat(f);
        return;
      }
      break;
    }
    case kDate:
    case kTimestamp:
    case kTimestampTz:
      result.AddDateText(type == kDate ? DbKind::Date : DbKind::DateTime, raw, false);
      return;
    default:
      break;
  }
  result.AddText(raw, false);  // also "NaN", "infinity" and the like
}

class PgConnection final : public DbConnection {
public:
  explicit PgConnection(PGconn* conn) : conn_(conn) {}
  ~PgConnection() override { Lib().finish(conn_); }

  const char* Provider() const override { return "PostgreSQL"; }

  std::shared_ptr<DbResult> Query(const SqlStatement& statement) override {
    SqlShape shape = statement.Shape(SqlDialect::PostgreSQL);
    return Retried(shape, [&] { return statement.Written(SqlDialect::PostgreSQL); });
  }

  // Text from elsewhere runs as written: a shape without parameters.
  std::shared_ptr<DbResult> Query(const std::string& sql) override {
    SqlShape shape{AdaptSql(sql, SqlDialect::PostgreSQL), {}};
    if (shape.text.find('\0') != std::string::npos) throw EDatabaseError("The statement holds a NUL character");
    return Retried(shape, [&] { return shape.text; });
  }

  void Execute(const std::string& script) override {
    const LibPq& pq = Lib();
    Result r{pq.exec(conn_, script.c_str())};
    if (!r.res) throw EDatabaseError(TrimMessage(pq.errorMessage(conn_)));
    int status = pq.resultStatus(r.res);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK && status != PGRES_EMPTY_QUERY)
      throw EDatabaseError(TrimMessage(pq.resultErrorMessage(r.res)));
  }

  // The program's statements run outside transactions; should a session
  // still be in one (or in a failed one) at the end of a request, it is
  // rolled back, so that the next request's statements run.
  void EndRequest() override {
    const LibPq& pq = Lib();
    if (pq.status(conn_) == CONNECTION_OK && pq.transactionStatus(conn_) != PQTRANS_IDLE)
      Discard(pq.exec(conn_, "ROLLBACK"));
  }

  bool StillCurrent() override { return Lib().status(conn_) == CONNECTION_OK; }

private:
  struct Result {
    PGresult* res;
    ~Result() {
      if (res) Lib().clear(res);
    }
  };
  // Runs a command whose result nothing reads.
  static void Discard(PGresult* res) {
    if (res) Lib().clear(res);
  }
  // What the connection knows of a statement shape: how often it ran, its
  // name on the server once prepared, and the columns of its results.
  struct Statement {
    int runs = 0;
    bool asWritten = false;  // the server does not take this shape with parameters
    std::string name;        // prepared under this name
    std::shared_ptr<const DbColumns> columns;
    std::vector<Oid> types;
  };

  using WrittenText = std::function<std::string()>;

  // A session that the server dropped fails its next statement; the
  // statement (which only reads) runs once more on a new session.
  std::shared_ptr<DbResult> Retried(const SqlShape& shape, const WrittenText& written) {
    try {
      return Run(shape, written);
    } catch (const EDatabaseError&) {
      if (!Reconnect()) throw;
    }
    return Run(shape, written);
  }

  static bool Succeeded(const LibPq& pq, PGresult* res) {
    int status = res ? pq.resultStatus(res) : -1;
    return status == PGRES_TUPLES_OK || status == PGRES_COMMAND_OK;
  }

  // A shape runs with its values as parameters: the first time unnamed
  // (one round trip, as a single request in a fresh process needs), from
  // the second time on prepared on the server. A shape that the server will
  // not take with parameters (a value whose type only its written form
  // tells) runs as written from then on.
  PGresult* Execute(Statement& st, const SqlShape& p, const WrittenText& written) {
    const LibPq& pq = Lib();
    std::vector<const char*> values;
    values.reserve(p.values.size());
    for (const auto& v : p.values) values.push_back(v.c_str());
    int n = static_cast<int>(values.size());
    // The parameterless extended protocol runs exactly one statement.
    auto asWritten = [&] {
      return pq.execParams(conn_, written().c_str(), 0, nullptr, nullptr, nullptr, nullptr, 0);
    };
    if (st.asWritten) return asWritten();
    if (!st.name.empty()) return pq.execPrepared(conn_, st.name.c_str(), n, values.data(), nullptr, nullptr, 0);
    PGresult* res = nullptr;
    if (st.runs == 0) {
      res = pq.execParams(conn_, p.text.c_str(), n, nullptr, values.data(), nullptr, nullptr, 0);
    } else {
      std::string name = "v" + std::to_string(++named_);
      Result prepared{pq.prepare(conn_, name.c_str(), p.text.c_str(), n, nullptr)};
      if (Succeeded(pq, prepared.res)) {
        st.name = std::move(name);
        return pq.execPrepared(conn_, st.name.c_str(), n, values.data(), nullptr, nullptr, 0);
      }
    }
    if (Succeeded(pq, res) || pq.status(conn_) != CONNECTION_OK) return res;
    // Refused with parameters: as written, which also gives the statement's
    // own message when it is wrong either way.
    PGresult* plain = asWritten();
    if (Succeeded(pq, plain)) st.asWritten = true;
    if (res) pq.clear(res);
    return plain;
  }

  std::shared_ptr<DbResult> Run(const SqlShape& p, const WrittenText& written) {
    const LibPq& pq = Lib();
    if (statements_.size() >= kMaxStatements && !statements_.count(p.text)) {
      Discard(pq.exec(conn_, "DEALLOCATE ALL"));
      statements_.clear();
    }
    Statement& st = statements_[p.text];
    Result r{Execute(st, p, written)};
    ++st.runs;
    if (!Succeeded(pq, r.res)) {
      std::string msg = TrimMessage(r.res ? pq.resultErrorMessage(r.res) : pq.errorMessage(conn_));
      // A prepared statement that failed is prepared anew at its next use
      // (its tables may have changed under it).
      if (!st.name.empty()) {
        if (pq.status(conn_) == CONNECTION_OK) Discard(pq.exec(conn_, ("DEALLOCATE " + st.name).c_str()));
        statements_.erase(p.text);
      }
      throw EDatabaseError(msg);
    }

    auto result = std::make_shared<DbResult>();
    int cols = pq.nfields(r.res);
    int rows = pq.ntuples(r.res);
    // The columns of a prepared statement are read once and shared.
    Statement scratch;
    Statement& shape = st.name.empty() ? scratch : st;
    if (!shape.columns || static_cast<int>(shape.types.size()) != cols) {
      auto columns = std::make_shared<DbColumns>();
      columns->names.reserve(static_cast<size_t>(cols));
      shape.types.assign(static_cast<size_t>(cols), 0);
      for (int c = 0; c < cols; ++c) {
        columns->names.emplace_back(pq.fname(r.res, c));
        shape.types[static_cast<size_t>(c)] = pq.ftype(r.res, c);
      }
      columns->BuildIndex();
      shape.columns = std::move(columns);
    }
    result->columns = shape.columns;
    const std::vector<Oid>& types = shape.types;
    result->Reserve(static_cast<size_t>(rows) * static_cast<size_t>(cols), 0);
    for (int row = 0; row < rows; ++row)
      for (int c = 0; c < cols; ++c) {
        if (pq.getisnull(r.res, row, c))
          result->AddNull();
        else
          ReadCell(pq.getvalue(r.res, row, c), pq.getlength(r.res, row, c), types[static_cast<size_t>(c)], *result);
      }
    result->rows = rows;
    return result;
  }

  // A new session in place of one that the server dropped; false when the
  // session was not dropped or cannot be made again.
  bool Reconnect() {
    const LibPq& pq = Lib();
    if (pq.status(conn_) == CONNECTION_OK) return false;
    statements_.clear();  // they went with the session
    pq.reset(conn_);
    return pq.status(conn_) == CONNECTION_OK;
  }

  static constexpr size_t kMaxStatements = 128;
  PGconn* conn_;
  std::unordered_map<std::string, Statement> statements_;
  uint64_t named_ = 0;
};

}  // namespace

std::unique_ptr<DbConnection> OpenPostgres(const std::vector<std::pair<std::string, std::string>>& params) {
  const LibPq& pq = Lib();
  std::vector<const char*> keys, values;
  for (const auto& [k, v] : params) {
    keys.push_back(k.c_str());
    values.push_back(v.c_str());
  }
  keys.push_back(nullptr);
  values.push_back(nullptr);
  PGconn* conn = pq.connectdbParams(keys.data(), values.data(), 0);
  if (!conn) throw EDatabaseError("Out of memory connecting to PostgreSQL");
  if (pq.status(conn) != CONNECTION_OK) {
    std::string msg = TrimMessage(pq.errorMessage(conn));
    pq.finish(conn);
    throw EDatabaseError(msg);
  }
  return std::make_unique<PgConnection>(conn);
}
