// Connection lines and the connections of each thread.
//
// A connection line is "key=value" pairs separated by ";" (a value may be
// enclosed in double or single quotes). Keys are compared without regard to
// case. "Provider" chooses the back end:
//
//   Provider=SQLite;Data Source=PATH[;Mode=ReadOnly|ReadWrite|ReadWriteCreate]
//     PATH relative to the working directory; read-only unless Mode says
//     otherwise. SQLite is also taken when the line names no provider.
//
//   Provider=PostgreSQL;host=...;port=...;dbname=...;user=...;password=...
//     Every other key goes to libpq under its lower-case name (sslmode,
//     connect_timeout, application_name, options, service, ...). The ADO
//     names are understood too: Server and Data Source (host), Database and
//     Initial Catalog (dbname), User ID, UID and Username (user), PWD
//     (password), Connect Timeout (connect_timeout). dbname defaults to
//     "Tallbrun" and connect_timeout to 10 seconds; client_encoding is always
//     WIN1252, and the options add search_path=dbo,public and DateStyle=ISO.
//
// An alias (a line of under five characters, assigned as DatabaseName) names
// the SQLite database file "<alias>.db" in the working directory, opened
// read-only.
#include <algorithm>
#include <atomic>
#include <utility>
#include <vector>

#include "data/DbBackend.h"
#include "gateway/HUtils.h"

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

std::string LowerAscii(std::string_view s) {
  std::string r(s);
  for (auto& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return r;
}

Pairs ParseLine(const std::string& line) {
  Pairs out;
  size_t p = 0;
  while (p < line.size()) {
    size_t eq = line.find('=', p);
    size_t semi = line.find(';', p);
    if (eq == std::string::npos || (semi != std::string::npos && semi < eq)) {
      if (!Trim(line.substr(p, semi == std::string::npos ? std::string::npos : semi - p)).empty())
        throw EDatabaseError("Bad connection line: \"" + line.substr(p) + "\" is not a key=value pair");
      if (semi == std::string::npos) break;
      p = semi + 1;
      continue;
    }
    std::string key = LowerAscii(Trim(line.substr(p, eq - p)));
    size_t v = eq + 1;
    while (v < line.size() && line[v] == ' ') ++v;
    std::string value;
    if (v < line.size() && (line[v] == '"' || line[v] == '\'')) {
      char q = line[v];
      size_t close = line.find(q, v + 1);
      if (close == std::string::npos) throw EDatabaseError("Bad connection line: unterminated quote after " + key);
      value = line.substr(v + 1, close - v - 1);
      semi = line.find(';', close);
    } else {
      value = Trim(line.substr(v, semi == std::string::npos ? std::string::npos : semi - v));
    }
    out.emplace_back(std::move(key), std::move(value));
    if (semi == std::string::npos) break;
    p = semi + 1;
  }
  return out;
}

std::string PgKeyword(const std::string& key) {
  static const std::pair<const char*, const char*> kSynonyms[] = {
      {"server", "host"},       {"data source", "host"},   {"database", "dbname"},
      {"initial catalog", "dbname"}, {"user id", "user"},  {"uid", "user"},
      {"username", "user"},     {"pwd", "password"},       {"connect timeout", "connect_timeout"},
  };
  for (const auto& [from, to] : kSynonyms)
    if (key == from) return to;
  return key;
}

Pairs PostgresParams(const Pairs& line) {
  Pairs params;
  std::string options;
  for (const auto& [key, value] : line) {
    if (key == "provider" || key == "persist security info") continue;
    std::string k = PgKeyword(key);
    if (k == "client_encoding") continue;  // always WIN1252
    if (k == "options") {
      options = value;
      continue;
    }
    params.emplace_back(k, value);
  }
  auto has = [&](const char* k) {
    return std::any_of(params.begin(), params.end(), [&](const auto& kv) { return kv.first == k; });
  };
  if (!has("dbname")) params.emplace_back("dbname", "Tallbrun");
  if (!has("connect_timeout")) params.emplace_back("connect_timeout", "10");
  params.emplace_back("client_encoding", "WIN1252");
  if (!options.empty()) options += ' ';
  options += "-c search_path=dbo,public -c DateStyle=ISO,MDY";
  params.emplace_back("options", options);
  return params;
}

std::unique_ptr<DbConnection> OpenFromLine(const std::string& line) {
  Pairs pairs = ParseLine(line);
  std::string provider, source, mode;
  for (const auto& [key, value] : pairs) {
    if (key == "provider") provider = LowerAscii(value);
    if (key == "data source" || key == "datasource") source = value;
    if (key == "mode") mode = LowerAscii(value);
  }
  if (provider == "postgresql" || provider == "postgres" || provider == "pgsql")
    return OpenPostgres(PostgresParams(pairs));
  if (provider.empty() || provider == "sqlite" || provider == "sqlite3") {
    if (source.empty()) throw EDatabaseError("The connection line names no Data Source");
    bool writable = mode == "readwrite" || mode == "readwritecreate";
    return OpenSqlite(source, writable, mode == "readwritecreate");
  }
  throw EDatabaseError("Provider \"" + provider + "\" is not supported (use SQLite or PostgreSQL)");
}

struct CachedConnection {
  bool alias = false;  // `line` names a database alias
  std::string line;
  std::unique_ptr<DbConnection> conn;
  bool checkDue = false;  // a request has ended since the connection was last checked
};

// A thread keeps its connections until it ends or closes them. A process
// normally uses one line; a changed line opens its own connection, and the
// connection of a line that is no longer used goes once two newer ones are
// open. The most recently used is first.
constexpr size_t kKeptConnections = 2;

std::vector<CachedConnection>& Cache() {
  static thread_local std::vector<CachedConnection> cache;
  return cache;
}

std::atomic<uint64_t> g_serial{0};

}  // namespace

uint64_t DbConnection::NextSerial() { return ++g_serial; }

std::unique_ptr<DbConnection> OpenConnection(const std::string& line, bool alias) {
  if (alias) {
    if (Trim(line).empty()) throw EDatabaseError("No database alias is configured");
    return OpenSqlite(Trim(line) + ".db", false, false);
  }
  return OpenFromLine(line);
}

DbConnection& ThreadConnection(const std::string& line, bool alias) {
  auto& cache = Cache();
  // Asked before every statement and look-up: the most recent connection,
  // already checked in this request, is told first by its line alone.
  if (!cache.empty()) {
    CachedConnection& c = cache.front();
    if (!c.checkDue && c.alias == alias && c.line == line) return *c.conn;
  }
  auto it = std::find_if(cache.begin(), cache.end(),
                         [&](const CachedConnection& c) { return c.alias == alias && c.line == line; });
  if (it != cache.end()) {
    if (it != cache.begin()) std::rotate(cache.begin(), it, it + 1);
    CachedConnection& c = cache.front();
    if (c.checkDue) {
      c.checkDue = false;
      if (!c.conn->StillCurrent()) {
        c.conn.reset();
        try {
          c.conn = OpenConnection(line, alias);
        } catch (...) {
          cache.erase(cache.begin());  // the next request tries again
          throw;
        }
      }
    }
    return *c.conn;
  }
  auto conn = OpenConnection(line, alias);
  if (cache.size() >= kKeptConnections) cache.pop_back();
  cache.insert(cache.begin(), CachedConnection{alias, line, std::move(conn)});
  return *cache.front().conn;
}

void EndRequestOnConnections() {
  for (auto& c : Cache()) {
    c.conn->EndRequest();
    c.checkDue = true;
  }
}

void CloseDatabaseConnections() { Cache().clear(); }
