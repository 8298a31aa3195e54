// A throw-away web site laid out as the program expects it: the program
// runs in <root>/www/cgi-win (holding dbconnect.txt), finds its templates in
// <root>/www/kund and writes its request logs under <root>/cgilog.
#pragma once

#include <string>
#include <vector>

#include "support/CgiRunner.h"

// The variables a web server gives a request (lighttpd's, from the client
// 10.0.0.7): the same for CGI, as the environment, and for FastCGI, as the
// request's parameters.
std::vector<std::string> WebServerVariables(const std::string& method, const std::string& query,
                                            size_t contentLength = 0);

class TestSite {
public:
  TestSite();
  ~TestSite();
  TestSite(const TestSite&) = delete;
  TestSite& operator=(const TestSite&) = delete;

  std::string root, cgiwin, kund, cgilog;

  // Writes a file below the root (folders are created).
  void WriteFile(const std::string& relPath, const std::string& content) const;
  std::string ReadFile(const std::string& path) const;
  // Creates an SQLite database from the schema plus `sql` (UTF-8), and
  // points dbconnect.txt at it.
  void UseSqlite(const std::string& sql = "");
  // The same on the back end that the test run names: with
  // VEMLO_TEST_BACKEND=PostgreSQL and VEMLO_PG_CONNINFO set, a new database
  // on that server (dropped again with the site); SQLite otherwise.
  void UseDatabase(const std::string& sql = "");
  // A new database on the PostgreSQL server of `serverLine` (a connection
  // line; by default VEMLO_PG_CONNINFO), whatever back end the test run
  // names; false when no server is configured.
  bool UsePostgres(const std::string& sql = "", std::string serverLine = "");
  // The first line of the site's dbconnect.txt.
  std::string ConnectionLine() const;

  // The environment of a GET or POST request as a web server sets it.
  std::vector<std::string> Env(const std::string& method, const std::string& query,
                               const std::vector<std::string>& extra = {}, size_t contentLength = 0) const;
  CgiResult Get(const std::string& query, const std::vector<std::string>& extra = {},
                const std::string& fakeTime = "", bool frozenTime = false) const;
  CgiResult Post(const std::string& body, const std::string& query = "",
                 const std::vector<std::string>& extra = {}) const;

  // Every request log file, sorted by path.
  std::vector<std::string> LogFiles() const;

private:
  std::string pgDatabase_;  // the site's own PostgreSQL database, if any
  std::string pgAdminLine_;
};
