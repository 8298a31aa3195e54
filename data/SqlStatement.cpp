#include "data/SqlStatement.h"

#include <algorithm>
#include <cstring>

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

}  // namespace

std::string SqlTableName(std::string_view name, bool bracketed) {
  std::string out;
  AppendTableName(out, name, bracketed);
  return out;
}

SqlStatement& SqlStatement::Line(std::string_view text) {
  if (lineOpen_) {
    pieces_.push_back({Kind::LineEnd});
    counts_.room += Room(0, 0);
    ++counts_.lineEnds;
  }
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
  counts_.room += text.size();
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
  counts_.room += Room(p.textLength, p.valueLength);
  if (kind != Kind::Table) ++counts_.values;
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
  counts_.room += part.counts_.room - 2;  // the end of the last line is counted once
  counts_.values += part.counts_.values;
  counts_.lineEnds += part.counts_.lineEnds;
  return *this;
}

bool SqlStatement::SameAs(const SqlStatement& other) const {
  return bracketed_ == other.bracketed_ && lineOpen_ == other.lineOpen_ && pieces_ == other.pieces_ &&
         bytes_ == other.bytes_;
}

std::vector<std::string> SqlStatement::Lines(bool inHtml) const {
  std::vector<std::string> lines;
  Render(inHtml ? Mode::Html : Mode::Echo, SqlDialect::SQLite, nullptr, nullptr, &lines);
  return lines;
}

SqlShape SqlStatement::Shape(SqlDialect dialect) const {
  SqlShape shape;
  Render(Mode::Shape, dialect, &shape.text, &shape.values, nullptr);
  return shape;
}

std::string SqlStatement::Written(SqlDialect dialect) const {
  std::string out;
  Render(Mode::Written, dialect, &out, nullptr, nullptr);
  return out;
}

namespace {

// A text written in place, with room made for all of it beforehand: each
// piece is copied in without a check of its own.
class Writer {
public:
  explicit Writer(char* at) : at_(at) {}
  char* At() const { return at_; }
  void Put(char c) { *at_++ = c; }
  void Put(std::string_view s) {
    if (s.empty()) return;
    std::memcpy(at_, s.data(), s.size());
    at_ += s.size();
  }
  template <size_t N>
  void Put(const char (&s)[N]) {
    std::memcpy(at_, s, N - 1);
    at_ += N - 1;
  }
  // "?n" (SQLite) or "$n" (PostgreSQL).
  void Placeholder(bool pg, size_t n) {
    Put(pg ? '$' : '?');
    char digits[20];
    int k = 0;
    do {
      digits[k++] = static_cast<char>('0' + n % 10);
      n /= 10;
    } while (n);
    while (k) Put(digits[--k]);
  }
  void Quoted(std::string_view value) { at_ = WriteSqlQuoted(at_, value); }

private:
  char* at_;
};

// Where a statement's text is written before it is copied out, and its
// lines cut from.
std::string& RenderBuffer() {
  static thread_local std::string buffer;
  return buffer;
}

}  // namespace

void SqlStatement::Render(Mode mode, SqlDialect dialect, std::string* out, std::vector<std::string>* values,
                          std::vector<std::string>* lines) const {
  const bool pg = dialect == SqlDialect::PostgreSQL;
  const bool echo = mode == Mode::Echo || mode == Mode::Html;
  const size_t room = counts_.room;
  // Written into a buffer of the thread's, from which the text or each line
  // is copied.
  std::string& buffer = RenderBuffer();
  if (buffer.size() < room) buffer.resize(room);
  char* const begin = buffer.data();
  Writer w(begin);
  char* lineStart = begin;
  if (values) values->reserve(values->size() + counts_.values);
  if (lines) lines->reserve(lines->size() + counts_.lineEnds + 1);

  auto literal = [&](std::string_view written, std::string_view value) {
    if (mode == Mode::Shape) {
      values->emplace_back(value);
      w.Placeholder(pg, values->size());
      return;
    }
    w.Put('\'');
    if (mode != Mode::Html) {
      w.Quoted(echo ? written : value);
    } else {
      char* quoted = w.At();
      char* end = WriteSqlQuoted(quoted, written);
      // In HTML the characters that would end an attribute or open an
      // element: the quoted text is moved to the end of its room and read
      // from there while the references are written over its start.
      const size_t n = static_cast<size_t>(end - quoted);
      char* moved = quoted + 5 * n - n;
      std::memmove(moved, quoted, n);
      for (size_t i = 0; i < n; ++i) {
        const char c = moved[i];
        switch (c) {
          case '"': w.Put("&#34;"); break;
          case '&': w.Put("&#38;"); break;
          case '<': w.Put("&#60;"); break;
          case '>': w.Put("&#62;"); break;
          default: w.Put(c);
        }
      }
    }
    w.Put('\'');
  };
  for (const Piece& p : pieces_) {
    const std::string_view text(bytes_.data() + p.text, p.textLength);
    const std::string_view value(bytes_.data() + p.value, p.valueLength);
    switch (p.kind) {
      case Kind::Text:
        w.Put(text);
        break;
      case Kind::LineEnd:
        if (lines) {
          lines->emplace_back(lineStart, static_cast<size_t>(w.At() - lineStart));
          lineStart = w.At();
        } else {
          w.Put("\r\n");
        }
        break;
      case Kind::Value:
        literal(value, value);
        break;
      case Kind::Pattern:
        literal(value, value);
        if (!echo && pg) w.Put(" ESCAPE ''");
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
          w.Put('(');
          w.Put(text);
          w.Put(" = ");
          w.Placeholder(pg, values->size());
          w.Put(" COLLATE NOCASE AND upper(");
          w.Put(text);
          w.Put(") = ");
          w.Placeholder(pg, values->size());
          w.Put(')');
          break;
        }
        w.Put("upper(");
        w.Put(text);
        w.Put(") = ");
        literal(value, value);
        break;
      case Kind::Table:
        if (echo) {
          if (bracketed_) {
            w.Put("[Tallbrun].[dbo].[");
            w.Put(text);
            w.Put(']');
          } else {
            w.Put('"');
            w.Put(text);
            w.Put('"');
          }
        } else {
          // PostgreSQL keeps the owner as the schema; SQLite has none.
          if (pg && bracketed_) w.Put("\"dbo\".");
          w.Put('"');
          w.Put(text);
          w.Put('"');
        }
        if (!value.empty()) {
          w.Put(' ');
          w.Put(value);
        } else if (!echo && pg) {
          // The statements qualify columns with the bare table name, which
          // PostgreSQL folds to lower case: the table is given that alias.
          w.Put(" AS ");
          for (char c : text) w.Put(static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c));
        }
        break;
    }
  }
  if (lines) {
    if (lineOpen_) lines->emplace_back(lineStart, static_cast<size_t>(w.At() - lineStart));
  } else {
    if (lineOpen_) w.Put("\r\n");
    out->append(begin, static_cast<size_t>(w.At() - begin));
  }
  // A statement of many values leaves no large buffer behind.
  if (buffer.size() > kKeptBuffer) std::string().swap(buffer);
}
