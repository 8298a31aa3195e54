// The query component through which the application reads the database.
//
// A query holds its SQL text as lines, is opened and closed, stands on one
// row of its result at a time and reads columns by name. Assigning the
// connection does not connect: the connection opens with the first statement.
// The application builds its statements (SqlStatement.h) and sets them with
// SetStatement: SQL then holds the statement's text, and the back end
// (SQLite, embedded; PostgreSQL through libpq) gets its shape and values.
// Text put into SQL otherwise runs as written, its dialect adapted.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/SqlStatement.h"
#include "gateway/HDateTime.h"
#include "gateway/HUtils.h"

class DbConnection;
struct DbResult;

// One column of the current row, read as the data library reads it.
class TField {
public:
  TField(const DbResult* result, int row, int column) : result_(result), row_(row), column_(column) {}
  // The value as text: numbers in the general format with the decimal comma,
  // dates in the short date form (with the time when it is not midnight);
  // NULL reads as the empty text.
  std::string AsString() const;
  int32_t AsInteger() const;      // NULL reads as 0
  double AsFloat() const;         // NULL reads as 0
  TDateTime AsDateTime() const;   // NULL reads as 0 (30 December 1899)
  bool IsNull() const;

private:
  const DbResult* result_;
  int row_;
  int column_;
};

class TQuery {
public:
  explicit TQuery(std::string name);
  ~TQuery();
  TQuery(const TQuery&) = delete;
  TQuery& operator=(const TQuery&) = delete;

  const std::string& Name() const { return name_; }

  // The connection line of "dbconnect.txt", assigned by property name:
  // "ConnectionString" for a connection string, "DatabaseName" for an alias.
  void SetConnectionString(const std::string& s);
  void SetDatabaseName(const std::string& alias);
  void SetProperty(std::string_view property, const std::string& value);
  const std::string& ConnectionString() const { return connectionString_; }
  const std::string& DatabaseName() const { return databaseName_; }

  // The statement, one entry per line.
  TStringList SQL;
  // Sets SQL to the statement's text; Open runs the statement itself as long
  // as nothing changed SQL since.
  void SetStatement(SqlStatement statement);

  void Open();   // runs the statement; stands on the first row
  void Close();  // keeps the SQL text
  bool Active() const { return active_; }
  void First();
  void Next();
  bool Eof() const;
  int RecordCount() const;

  // The state of the database as the query's connection sees it in the
  // current request: the connection's number and, where the back end can
  // tell (`known`), a number that changes with every change of the
  // database's content. Opens the connection when it is not open.
  struct TDatabaseVersion {
    uint64_t connection = 0;
    bool known = false;
    uint64_t version = 0;
  };
  TDatabaseVersion DatabaseVersion() const;
  // Just the connection's number (no statement runs).
  uint64_t ConnectionSerial() const;

  // Raises EDatabaseError when the result has no column of that name; names
  // are compared without regard to case and the first column of a name wins.
  TField FieldByName(std::string_view name) const;
  // Shorthand for FieldByName(name).AsString().
  std::string Text(std::string_view name) const { return FieldByName(name).AsString(); }

private:
  std::string name_;
  std::string connectionString_;
  std::string databaseName_;
  bool active_ = false;
  int row_ = 0;
  std::shared_ptr<DbResult> result_;
  SqlStatement statement_;
  uint64_t statementChanges_ = 0;  // SQL's count of changes when SetStatement filled it
};

// A value written into a quoted SQL literal: every single quote doubled.
// Every value that goes between single quotes in a statement passes here.
std::string SqlQuote(std::string_view value);
// The same, appended to `out`.
void AppendSqlQuoted(std::string& out, std::string_view value);
// The same, written at `out`, which has room for twice the value's length;
// returns the end of what was written.
char* WriteSqlQuoted(char* out, std::string_view value);

// Closes the calling thread's database connections; the next statement on
// the thread opens its connection again.
void CloseDatabaseConnections();
// Ends the request on every open connection of the calling thread (the
// connections stay open for the thread's next request).
void EndRequestOnConnections();

// Forgets the look-up texts and code names remembered so far.
void ForgetLookups();
// A new request begins: the look-up texts and code names remembered by
// earlier requests of the thread are checked at this request's first
// look-up (see Uppslag.cpp) and forgotten when the database may have
// changed.
void NewRequestForLookups();
