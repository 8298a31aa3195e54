// Statements that differ only in the literal values of their conditions
// share one prepared statement on the database: the literals after WHERE
// become parameters. The select list keeps its literals, since they name
// their columns.
#pragma once

#include <string>
#include <vector>

struct ParameterisedSql {
  std::string text;                 // with placeholders in place of the literals
  std::vector<std::string> values;  // the literals' values (quotes undoubled), in order
};

enum class Placeholder {
  Question,  // "?" (SQLite)
  Dollar,    // "$1", "$2", ... (PostgreSQL)
};

// An unterminated literal is left in the text as it stands, for the
// database to refuse.
ParameterisedSql ParameteriseLiterals(const std::string& sql, Placeholder style);
