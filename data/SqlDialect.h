// Adapts the statements that the application writes (in the dialect of the
// customer database's original SQL server) to the back end that runs them.
//
// The application's text is kept unchanged for the debug echo; only the copy
// handed to the database is adapted:
//
// - Bracketed names: "[Tallbrun].[dbo].[Kund]". SQLite keeps the last part
//   ("Kund"); PostgreSQL drops the database part ("dbo"."Kund": the
//   connection is made to that database).
// - Date literals written month/day/year, '05/31/2009', become ISO dates,
//   '2009-05-31'. Only a literal that is exactly such a valid date is changed.
// - PostgreSQL only: a quoted table name straight after FROM or JOIN without
//   an alias of its own gets its name as a lower-case alias, since the
//   statements qualify columns with the bare table name ("Nyka.KundId"),
//   which PostgreSQL folds to lower case.
// - PostgreSQL only: LIKE patterns get "ESCAPE ''" so that a backslash in a
//   value is an ordinary character, as it is on the other servers.
//
// Text inside string literals and comments is never touched otherwise.
#pragma once

#include <string>
#include <string_view>

enum class SqlDialect { SQLite, PostgreSQL };

std::string AdaptSql(std::string_view sql, SqlDialect dialect);
