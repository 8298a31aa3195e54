#include "data/SqlStatement.h"

#include <algorithm>

#include "data/Query.h"

namespace {

bool Ascii(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

namespace {

void AppendTableName(std::string& out, std::string_view name, bool bracketed) {
  out += bracketed ? "[Tallbrun].[dbo].[" : "\"";
  out += name;
  out += bracketed ? ']' : '"';
}

// "?n" (SQLite) or "$n" (PostgreSQL).
void AppendPlaceholder(std::string& out, bool pg, size_t n) {
  out += pg ? '$' : '?';
  char digits[20];
  int k = 0;
  do {
    digits[k++] = static_cast<char>('0' + n % 10);
    n /= 10;
  } while (n);
  while (k) out += digits[--k];
}

}  // namespace

std::string SqlTableName(std::string_view name, bool bracketed) {
  std::string out;
  AppendTableName(out, name, bracketed);
  return out;
}

SqlStatement& SqlStatement::Line(std::string_view text) {
  if (lineOpen_) pieces_.push_back({Kind::LineEnd});
  lineOpen_ = true;
  return Text(text);
}

SqlStatement& SqlStatement::Text(std::string_view text) {
  lineOpen_ = true;
  if (text.empty()) return *this;
  const auto at = static_cast<uint32_t>(bytes_.size());
  bytes_.append(text);
  // Text after text (the last bytes of the buffer) makes one piece.
  if (!pieces_.empty() && pieces_.back().kind == Kind::Text && pieces_.back().text + pieces_.back().textLength == at)
    pieces_.back().textLength += static_cast<uint32_t>(text.size());
  else
    pieces_.push_back({Kind::Text, at, static_cast<uint32_t>(text.size())});
  return *this;
}

SqlStatement& SqlStatement::Separator(std::string_view separator) {
  return pieces_.empty() ? *this : Text(separator);
}

SqlStatement& SqlStatement::Add(Kind kind, std::string_view text, std::string_view value) {
  lineOpen_ = true;
  Piece p{kind};
  p.text = static_cast<uint32_t>(bytes_.size());
  bytes_.append(text);
  p.textLength = static_cast<uint32_t>(text.size());
  p.value = static_cast<uint32_t>(bytes_.size());
  // A NUL would cut the statement or the value short in the client libraries.
  for (char c : value)
    if (c != '\0') bytes_ += c;
  p.valueLength = static_cast<uint32_t>(bytes_.size() - p.value);
  pieces_.push_back(p);
  return *this;
}

SqlStatement& SqlStatement::Value(std::string_view value) { return Add(Kind::Value, {}, value); }
SqlStatement& SqlStatement::Pattern(std::string_view pattern) { return Add(Kind::Pattern, {}, pattern); }
SqlStatement& SqlStatement::UpperEquals(std::string_view column, std::string_view value) {
  return Add(Kind::Upper, column, value);
}
SqlStatement& SqlStatement::Table(std::string_view name, std::string_view alias) {
  return Add(Kind::Table, name, alias);
}

SqlStatement& SqlStatement::Date(TDateTime date) {
  int y, m, d;
  DecodeDate(date, y, m, d);
  if (y >= 0 && y <= 9999) {
    // The usual years, without the formatter: "mm/dd/yyyy" and "yyyy-mm-dd".
    char written[10] = {static_cast<char>('0' + m / 10), static_cast<char>('0' + m % 10), '/',
                        static_cast<char>('0' + d / 10), static_cast<char>('0' + d % 10), '/',
                        static_cast<char>('0' + y / 1000), static_cast<char>('0' + y / 100 % 10),
                        static_cast<char>('0' + y / 10 % 10), static_cast<char>('0' + y % 10)};
    char iso[10] = {written[6], written[7], written[8], written[9], '-', written[0], written[1], '-', written[3], written[4]};
    return Add(Kind::Date, std::string_view(written, 10), std::string_view(iso, 10));
  }
  std::string written = FormatDateTime("mm\"/\"dd\"/\"yyyy", date);
  std::string iso = written;
  if (written.size() == 10) iso = written.substr(6, 4) + "-" + written.substr(0, 2) + "-" + written.substr(3, 2);
  return Add(Kind::Date, written, iso);
}

SqlStatement& SqlStatement::Append(const SqlStatement& part) {
  lineOpen_ = lineOpen_ || part.lineOpen_;
  const auto shift = static_cast<uint32_t>(bytes_.size());
  const size_t first = pieces_.size();
  bytes_.append(part.bytes_);
  pieces_.insert(pieces_.end(), part.pieces_.begin(), part.pieces_.end());
  for (size_t i = first; i < pieces_.size(); ++i) {
    pieces_[i].text += shift;
    pieces_[i].value += shift;
  }
  return *this;
}

bool SqlStatement::SameAs(const SqlStatement& other) const {
  return bracketed_ == other.bracketed_ && lineOpen_ == other.lineOpen_ && pieces_ == other.pieces_ &&
         bytes_ == other.bytes_;
}

std::vector<std::string> SqlStatement::Lines(bool inHtml) const {
  std::vector<std::string> lines;
  std::string out;
  Render(inHtml ? Mode::Html : Mode::Echo, SqlDialect::SQLite, out, nullptr, &lines);
  return lines;
}

SqlShape SqlStatement::Shape(SqlDialect dialect) const {
  SqlShape shape;
  Render(Mode::Shape, dialect, shape.text, &shape.values, nullptr);
  return shape;
}

std::string SqlStatement::Written(SqlDialect dialect) const {
  std::string out;
  Render(Mode::Written, dialect, out, nullptr, nullptr);
  return out;
}

void SqlStatement::Render(Mode mode, SqlDialect dialect, std::string& out, std::vector<std::string>* values,
                          std::vector<std::string>* lines) const {
  const bool pg = dialect == SqlDialect::PostgreSQL;
  const bool echo = mode == Mode::Echo || mode == Mode::Html;
  // Room for the whole text (or its longest line) at once: the pieces, and
  // a little for each value's quotes, placeholder or table name.
  size_t total = 0, line = 0, longest = 0, valueCount = 0;
  for (const Piece& p : pieces_) {
    if (p.kind == Kind::LineEnd) {
      longest = std::max(longest, line);
      line = 0;
      continue;
    }
    line += p.textLength + p.valueLength + (p.kind == Kind::Upper ? 40 : 20);
    total += p.textLength + p.valueLength + (p.kind == Kind::Upper ? 40 : 20);
    if (p.kind != Kind::Text && p.kind != Kind::Table) ++valueCount;
  }
  longest = std::max(longest, line);
  out.reserve(out.size() + (lines ? longest : total));
  if (values) values->reserve(values->size() + valueCount);
  if (lines) lines->reserve(lines->size() + 16);

  auto literal = [&](std::string_view written, std::string_view value) {
    if (mode == Mode::Shape) {
      values->emplace_back(value);
      AppendPlaceholder(out, pg, values->size());
      return;
    }
    out += '\'';
    if (mode != Mode::Html) {
      AppendSqlQuoted(out, echo ? written : value);
    } else {
      for (char c : SqlQuote(written)) {
        // In HTML the characters that would end an attribute or open an element.
        const char* ref = c == '"'   ? "&#34;"
                          : c == '&' ? "&#38;"
                          : c == '<' ? "&#60;"
                          : c == '>' ? "&#62;"
                                     : nullptr;
        if (ref)
          out += ref;
        else
          out += c;
      }
    }
    out += '\'';
  };
  for (const Piece& p : pieces_) {
    const std::string_view text = TextOf(p), value = ValueOf(p);
    switch (p.kind) {
      case Kind::Text:
        out += text;
        break;
      case Kind::LineEnd:
        if (lines) {
          lines->push_back(std::move(out));
          out.clear();
          out.reserve(longest);
        } else {
          out += "\r\n";
        }
        break;
      case Kind::Value:
        literal(value, value);
        break;
      case Kind::Pattern:
        literal(value, value);
        if (!echo && pg) out += " ESCAPE ''";
        break;
      case Kind::Date:
        literal(text, value);
        break;
      case Kind::Upper:
        // SQLite would call upper() for every row it looks at. For an ASCII
        // value the case-blind comparison holds whenever upper() does
        // (upper() keeps other letters outside ASCII and folds ASCII ones as
        // NOCASE does), so it goes first and can use a case-blind index, and
        // upper() decides only for the rows that pass it.
        if (mode == Mode::Shape && !pg && Ascii(value)) {
          values->emplace_back(value);
          out += '(';
          out += text;
          out += " = ";
          AppendPlaceholder(out, pg, values->size());
          out += " COLLATE NOCASE AND upper(";
          out += text;
          out += ") = ";
          AppendPlaceholder(out, pg, values->size());
          out += ')';
          break;
        }
        out += "upper(";
        out += text;
        out += ") = ";
        literal(value, value);
        break;
      case Kind::Table:
        if (echo) {
          AppendTableName(out, text, bracketed_);
        } else {
          // PostgreSQL keeps the owner as the schema; SQLite has none.
          if (pg && bracketed_) out += "\"dbo\".";
          out += '"';
          out += text;
          out += '"';
        }
        if (!value.empty()) {
          out += ' ';
          out += value;
        } else if (!echo && pg) {
          // The statements qualify columns with the bare table name, which
          // PostgreSQL folds to lower case: the table is given that alias.
          out += " AS ";
          for (char c : text) out += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        }
        break;
    }
  }
  if (!lineOpen_) return;
  if (lines)
    lines->push_back(std::move(out));
  else
    out += "\r\n";
}
