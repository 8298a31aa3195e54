// A statement as the application writes it, built piece by piece.
//
// Program text and values are appended apart, so that the statement knows
// where each value stands: its text (with the values quoted, as the debug
// echo shows it) is written from the pieces, and each back end gets the
// statement in its own dialect with placeholders in place of the values,
// and the values beside it. Nothing is read back out of a text.
//
// Program text is the program's own (column names, operators, constant
// conditions); a value from a request, the database or the program's data
// goes in through Value, Pattern, Date or UpperEquals.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/SqlDialect.h"
#include "gateway/HDateTime.h"
#include "gateway/HUtils.h"

// A table's name as the statements write it: "[Tallbrun].[dbo].[Kund]"
// (`bracketed`, the connection string form) or "\"Kund\"" (a database
// alias).
std::string SqlTableName(std::string_view name, bool bracketed);

// A statement as one back end runs it.
struct SqlShape {
  std::string text;                 // placeholders where the values stand
  std::vector<std::string> values;  // in the order of their placeholders
};

class SqlStatement {
public:
  explicit SqlStatement(bool bracketedNames = false) : bracketed_(bracketedNames) {
    pieces_.reserve(16);
    bytes_.reserve(256);
  }

  // Starts a new line with program text.
  SqlStatement& Line(std::string_view text = {});
  // Program text on the current line.
  SqlStatement& Text(std::string_view text);
  // `separator` unless nothing is written yet (joins conditions).
  SqlStatement& Separator(std::string_view separator);
  // A value in single quotes.
  SqlStatement& Value(std::string_view value);
  // The pattern of a LIKE, in single quotes; the backslash is an ordinary
  // character in it on every back end.
  SqlStatement& Pattern(std::string_view pattern);
  // A date, written month/day/year; the back ends get it as an ISO date.
  SqlStatement& Date(TDateTime date);
  // "upper(column) = 'value'".
  SqlStatement& UpperEquals(std::string_view column, std::string_view value);
  // A table (see SqlTableName) and, when given, the alias after it.
  SqlStatement& Table(std::string_view name, std::string_view alias = {});
  // The pieces of another statement (a group of conditions).
  SqlStatement& Append(const SqlStatement& part);

  bool Empty() const { return pieces_.empty(); }
  // The same pieces with the same texts: every text written from the two is
  // the same.
  bool SameAs(const SqlStatement& other) const;

  // The text, line by line, as the debug echo shows it. `inHtml`: the echo
  // may stand inside a tag's attribute, where a comment is no comment, so
  // the characters that end an attribute or open an element are written as
  // character references inside the values (the only place where a request
  // value can be).
  std::vector<std::string> Lines(bool inHtml = false) const;
  // The statement for a back end.
  SqlShape Shape(SqlDialect dialect) const;
  // The statement for a back end with its values written in.
  std::string Written(SqlDialect dialect) const;

private:
  enum class Kind : uint8_t { Text, LineEnd, Value, Pattern, Date, Upper, Table };
  // A piece's two texts stand in bytes_ (one buffer for the statement, so
  // that building one costs no allocation per piece): the text; the date as
  // written; the column; the table. The value; the ISO date; the alias.
  struct Piece {
    Kind kind;
    uint32_t text = 0, textLength = 0;
    uint32_t value = 0, valueLength = 0;
    bool operator==(const Piece&) const = default;
  };
  SqlStatement& Add(Kind kind, std::string_view text, std::string_view value);
  enum class Mode : uint8_t { Echo, Html, Shape, Written };
  // Appends the text to `out`, or with `lines` adds its lines there.
  void Render(Mode mode, SqlDialect dialect, std::string* out, std::vector<std::string>* values,
              std::vector<std::string>* lines) const;
  static constexpr size_t kKeptBuffer = 64 * 1024;
  // The room that a piece other than program text can take at most in any
  // form, from the lengths of its two texts: a value (or a date as written)
  // quoted, at twice its length, and in HTML written with character
  // references (five bytes for one) behind the quoted text; a placeholder;
  // the column of a case-blind comparison twice, a table's name twice; and
  // the program's own text around them. Program text takes its length.
  static constexpr size_t Room(size_t text, size_t value) { return 12 * text + 10 * value + 96; }
  // Counts kept while the pieces are added, so that writing the text needs
  // no pass of its own over them: the room that the text can take at most
  // (with its last line end), and the pieces that are values and line ends.
  struct Counts {
    size_t room = 2;
    size_t values = 0, lineEnds = 0;
  };

  bool bracketed_;
  bool lineOpen_ = false;
  std::vector<Piece> pieces_;
  std::string bytes_;
  Counts counts_;
};
