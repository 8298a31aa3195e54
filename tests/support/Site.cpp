#include "support/Site.h"

#include <algorithm>
#include <regex>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <sqlite3.h>
#include <sstream>
#include <stdexcept>

#include "data/DbBackend.h"

namespace fs = std::filesystem;

TestSite::TestSite() {
  std::string tmpl = (fs::temp_directory_path() / "vemlo3-site-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp");
  root = tmpl;
  cgiwin = root + "/www/cgi-win";
  kund = root + "/www/kund";
  cgilog = root + "/cgilog";
  fs::create_directories(cgiwin);
  fs::create_directories(kund);
  fs::create_directories(cgilog);
  WriteFile("www/kund/ERROR.htm", "<html><body><h1><!--FELRUBRIK--></h1><!--FELMEDDELANDE--></body></html>\r\n");
}

TestSite::~TestSite() {
  if (!pgDatabase_.empty()) {
    try {
      OpenConnection(pgAdminLine_, false)->Execute("DROP DATABASE IF EXISTS \"" + pgDatabase_ + "\" WITH (FORCE)");
    } catch (const std::exception&) {
    }
  }
  std::error_code ec;
  fs::remove_all(root, ec);
}

void TestSite::WriteFile(const std::string& relPath, const std::string& content) const {
  fs::path p = fs::path(root) / relPath;
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << content;
}

std::string TestSite::ReadFile(const std::string& path) const {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void TestSite::UseSqlite(const std::string& sql) {
  std::string dbPath = root + "/www/test.db";
  sqlite3* db = nullptr;
  if (sqlite3_open(dbPath.c_str(), &db) != SQLITE_OK) throw std::runtime_error("sqlite open");
  std::string schema = ReadFile(std::string(VEMLO_SOURCE_DIR) + "/db/schema.sqlite.sql");
  char* err = nullptr;
  if (sqlite3_exec(db, (schema + sql).c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
    std::string msg = err ? err : "?";
    sqlite3_free(err);
    sqlite3_close(db);
    throw std::runtime_error("sqlite: " + msg);
  }
  sqlite3_close(db);
  WriteFile("www/cgi-win/dbconnect.txt", "Provider=SQLite;Data Source=../test.db\r\n");
}

namespace {
std::string WithDatabase(const std::string& line, const std::string& db) {
  return std::regex_replace(line, std::regex("dbname=[^;]*", std::regex::icase), "dbname=" + db);
}
}  // namespace

void TestSite::UseDatabase(const std::string& sql) {
  const char* backend = getenv("VEMLO_TEST_BACKEND");
  if (!backend || std::string(backend) != "PostgreSQL" || !UsePostgres(sql)) UseSqlite(sql);
}

std::string TestSite::ConnectionLine() const {
  std::string text = ReadFile(cgiwin + "/dbconnect.txt");
  return text.substr(0, text.find_first_of("\r\n"));
}

bool TestSite::UsePostgres(const std::string& sql, std::string line) {
  if (line.empty() && getenv("VEMLO_PG_CONNINFO")) line = getenv("VEMLO_PG_CONNINFO");
  if (line.empty()) return false;
  static int counter = 0;
  pgDatabase_ = "vemlo_e2e_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
  pgAdminLine_ = WithDatabase(line, "postgres");
  OpenConnection(pgAdminLine_, false)->Execute("CREATE DATABASE \"" + pgDatabase_ + "\" TEMPLATE template0");
  std::string dbLine = WithDatabase(line, pgDatabase_);
  auto db = OpenConnection(dbLine, false);
  db->Execute(ReadFile(std::string(VEMLO_SOURCE_DIR) + "/db/schema.pg.sql"));
  // The rows are written for any back end: table names as the statements
  // write them (quoted here, since PostgreSQL keeps their case only then),
  // text in UTF-8 (the connection speaks Windows-1252).
  std::string rows = std::regex_replace(sql, std::regex("INSERT INTO (\\w+)"), "INSERT INTO \"$1\"");
  if (!rows.empty()) db->Execute(Utf8ToCp1252(rows));
  WriteFile("www/cgi-win/dbconnect.txt", dbLine + "\r\n");
  return true;
}

std::vector<std::string> WebServerVariables(const std::string& method, const std::string& query,
                                            size_t contentLength) {
  std::vector<std::string> v = {
      "SERVER_SOFTWARE=lighttpd/1.4.69",
      "GATEWAY_INTERFACE=CGI/1.1",
      "SERVER_PROTOCOL=HTTP/1.1",
      "REQUEST_METHOD=" + method,
      "QUERY_STRING=" + query,
      "SCRIPT_NAME=/cgi-win/vemlo3.exe",
      "REMOTE_ADDR=10.0.0.7",
      "TZ=Europe/Stockholm",
  };
  if (method == "POST") {
    v.push_back("CONTENT_LENGTH=" + std::to_string(contentLength));
    v.push_back("CONTENT_TYPE=application/x-www-form-urlencoded");
  }
  return v;
}

std::vector<std::string> TestSite::Env(const std::string& method, const std::string& query,
                                       const std::vector<std::string>& extra, size_t contentLength) const {
  std::vector<std::string> env = WebServerVariables(method, query, contentLength);
  env.push_back("CGI_LOG_DIR=" + root + "/enginelog");
  for (const auto& e : extra) {
    std::string name = e.substr(0, e.find('='));
    env.erase(std::remove_if(env.begin(), env.end(),
                             [&](const std::string& x) { return x.substr(0, x.find('=')) == name; }),
              env.end());
    env.push_back(e);
  }
  return env;
}

CgiResult TestSite::Get(const std::string& query, const std::vector<std::string>& extra,
                        const std::string& fakeTime, bool frozenTime) const {
  CgiRequest req;
  req.env = Env("GET", query, extra);
  req.cwd = cgiwin;
  req.fakeTime = fakeTime;
  req.frozenTime = frozenTime;
  return RunCgi(req);
}

CgiResult TestSite::Post(const std::string& body, const std::string& query,
                         const std::vector<std::string>& extra) const {
  CgiRequest req;
  req.env = Env("POST", query, extra, body.size());
  req.cwd = cgiwin;
  req.body = body;
  return RunCgi(req);
}

std::vector<std::string> TestSite::LogFiles() const {
  std::vector<std::string> files;
  for (auto& e : fs::recursive_directory_iterator(cgilog))
    if (e.is_regular_file()) files.push_back(e.path().string());
  std::sort(files.begin(), files.end());
  return files;
}
