// The database work of a page and nothing else: a CGI program that opens the
// connection named by dbconnect.txt, runs the statements of a file through
// the program's own data layer (dialect adaptation, shared prepared
// statements, the request's read transaction) and prints how many rows they
// gave. Started like the gateway, it shows what the statements alone cost a
// fresh process.
//
//   sqlfloor [STATEMENTS]   (default statements.sql in the working folder;
//                            statements separated by lines holding only "/")
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "data/DbBackend.h"

int main(int argc, char** argv) {
  std::ifstream lf("dbconnect.txt", std::ios::binary);
  std::string line;
  std::getline(lf, line);
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  std::ifstream sf(argc > 1 ? argv[1] : "statements.sql", std::ios::binary);
  std::string all((std::istreambuf_iterator<char>(sf)), std::istreambuf_iterator<char>());

  size_t statements = 0, rows = 0;
  try {
    DbConnection& db = ThreadConnection(line, false);
    std::string sql;
    size_t pos = 0;
    while (pos < all.size()) {
      size_t eol = all.find('\n', pos);
      if (eol == std::string::npos) eol = all.size();
      std::string text = all.substr(pos, eol - pos);
      pos = eol + 1;
      if (!text.empty() && text.back() == '\r') text.pop_back();
      if (text != "/") {
        sql += text;
        sql += "\r\n";
        continue;
      }
      if (!sql.empty()) {
        rows += db.Query(sql)->rows;
        ++statements;
      }
      sql.clear();
    }
    db.EndRequest();
  } catch (const std::exception& e) {
    std::printf("Status: 500\r\nContent-Type: text/plain\r\n\r\n%s\n", e.what());
    return 1;
  }
  std::printf("Content-Type: text/plain\r\n\r\n%zu statements, %zu rows\n", statements, rows);
  return 0;
}
