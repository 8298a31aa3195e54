#include "data/SqlDialect.h"

#include <cctype>
#include <vector>

namespace {

// Character classes of the dialect's words (ASCII, as in the C locale).
bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsWordStart(char c) { return IsAsciiLetter(c) || c == '_'; }
bool IsWordChar(char c) { return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '_' || c == '$'; }
bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool SameWord(std::string_view word, std::string_view upper) {
  if (word.size() != upper.size()) return false;
  for (size_t i = 0; i < word.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(word[i])) != upper[i]) return false;
  return true;
}

// Words after which a table name has no alias of its own.
bool EndsTableReference(std::string_view word) {
  static const char* const kWords[] = {"WHERE", "INNER", "LEFT",  "RIGHT", "FULL",  "CROSS",  "JOIN",
                                       "ON",    "ORDER", "GROUP", "HAVING", "UNION", "LIMIT", "NATURAL"};
  for (const char* w : kWords)
    if (SameWord(word, w)) return true;
  return false;
}

// A literal's content that is exactly mm/dd/yyyy with a valid month and day.
bool UsDateToIso(std::string_view s, std::string& iso) {
  if (s.size() != 10 || s[2] != '/' || s[5] != '/') return false;
  for (size_t i : {0, 1, 3, 4, 6, 7, 8, 9})
    if (!std::isdigit(static_cast<unsigned char>(s[i]))) return false;
  int month = (s[0] - '0') * 10 + (s[1] - '0');
  int day = (s[3] - '0') * 10 + (s[4] - '0');
  if (month < 1 || month > 12 || day < 1 || day > 31) return false;
  iso.assign(s.substr(6, 4));
  iso += '-';
  iso.append(s.substr(0, 2));
  iso += '-';
  iso.append(s.substr(3, 2));
  return true;
}

class Adapter {
public:
  Adapter(std::string_view sql, SqlDialect d) : s_(sql), d_(d) { out_.reserve(sql.size() + 32); }

  std::string Run() {
    while (p_ < s_.size()) {
      char c = s_[p_];
      if (c == '\'') {
        Literal();
      } else if (c == '[') {
        BracketName();
      } else if (c == '"') {
        QuotedName();
      } else if (c == '-' && Peek(1) == '-') {
        size_t e = s_.find('\n', p_);
        Copy(e == std::string_view::npos ? s_.size() : e);
      } else if (c == '/' && Peek(1) == '*') {
        size_t e = s_.find("*/", p_ + 2);
        Copy(e == std::string_view::npos ? s_.size() : e + 2);
      } else if (IsWordStart(c)) {
        size_t b = p_;
        while (p_ < s_.size() && IsWordChar(s_[p_])) ++p_;
        std::string_view w = s_.substr(b, p_ - b);
        out_.append(w);
        lastWord_ = w;
      } else {
        // A run of characters that neither start a word nor open a literal,
        // a name or a comment is copied as it is.
        size_t b = p_;
        bool blank = true;
        while (p_ < s_.size() && Plain(s_[p_]) && !(s_[p_] == '-' && Peek(1) == '-') &&
               !(s_[p_] == '/' && Peek(1) == '*')) {
          if (!IsBlank(s_[p_])) blank = false;
          ++p_;
        }
        out_.append(s_.substr(b, p_ - b));
        if (!blank) lastWord_ = {};
      }
    }
    return std::move(out_);
  }

private:
  static bool Plain(char c) { return c != '\'' && c != '[' && c != '"' && !IsWordStart(c); }
  char Peek(size_t k) const { return p_ + k < s_.size() ? s_[p_ + k] : '\0'; }
  void Copy(size_t end) {
    out_.append(s_.substr(p_, end - p_));
    p_ = end;
  }

  void Literal() {
    bool afterLike = SameWord(lastWord_, "LIKE");
    size_t b = p_++;
    std::string content;
    bool plain = true;  // no doubled quote inside
    while (p_ < s_.size()) {
      if (s_[p_] == '\'') {
        if (Peek(1) == '\'') {
          plain = false;
          p_ += 2;
          continue;
        }
        ++p_;
        break;
      }
      ++p_;
    }
    std::string_view whole = s_.substr(b, p_ - b);
    std::string iso;
    if (plain && whole.size() == 12 && UsDateToIso(whole.substr(1, 10), iso)) {
      out_ += '\'';
      out_ += iso;
      out_ += '\'';
    } else {
      out_.append(whole);
    }
    if (afterLike && d_ == SqlDialect::PostgreSQL) out_ += " ESCAPE ''";
    lastWord_ = {};
  }

  // One bracketed identifier at p_, without its brackets ("]]" is "]").
  std::string BracketPart() {
    std::string part;
    ++p_;
    size_t close = s_.find(']', p_);
    if (close != std::string_view::npos && (close + 1 >= s_.size() || s_[close + 1] != ']')) {
      part.assign(s_.substr(p_, close - p_));  // the usual name without "]]"
      p_ = close + 1;
      return part;
    }
    while (p_ < s_.size()) {
      if (s_[p_] == ']') {
        if (Peek(1) == ']') {
          part += ']';
          p_ += 2;
          continue;
        }
        ++p_;
        break;
      }
      part += s_[p_++];
    }
    return part;
  }

  static void AppendQuoted(std::string& out, std::string_view name) {
    out += '"';
    for (char c : name) {
      if (c == '"') out += '"';
      out += c;
    }
    out += '"';
  }

  void BracketName() {
    bool tablePosition = TablePosition();
    // Only the last two parts are written ("[db].[owner].[table]" keeps the
    // owner for PostgreSQL, its schema, and the table).
    std::string prev, last = BracketPart();
    size_t parts = 1;
    while (p_ + 1 < s_.size() && s_[p_] == '.' && s_[p_ + 1] == '[') {
      ++p_;
      prev = std::move(last);
      last = BracketPart();
      ++parts;
    }
    if (d_ == SqlDialect::PostgreSQL && parts >= 2) {
      AppendQuoted(out_, prev);
      out_ += '.';
    }
    AppendQuoted(out_, last);
    if (tablePosition) ImplicitAlias(last);
    lastWord_ = {};
  }

  void QuotedName() {
    bool tablePosition = TablePosition();
    size_t b = p_++;
    std::string name;
    while (p_ < s_.size()) {
      if (s_[p_] == '"') {
        if (Peek(1) == '"') {
          name += '"';
          p_ += 2;
          continue;
        }
        ++p_;
        break;
      }
      name += s_[p_++];
    }
    out_.append(s_.substr(b, p_ - b));
    if (tablePosition) ImplicitAlias(name);
    lastWord_ = {};
  }

  bool TablePosition() const { return SameWord(lastWord_, "FROM") || SameWord(lastWord_, "JOIN"); }

  // PostgreSQL: adds " AS name" (lower case) when the table reference is not
  // followed by an alias of its own.
  void ImplicitAlias(std::string_view table) {
    if (d_ != SqlDialect::PostgreSQL) return;
    size_t q = p_;
    while (q < s_.size() && std::isspace(static_cast<unsigned char>(s_[q]))) ++q;
    if (q < s_.size() && IsWordStart(s_[q])) {
      size_t e = q;
      while (e < s_.size() && IsWordChar(s_[e])) ++e;
      std::string_view next = s_.substr(q, e - q);
      if (!EndsTableReference(next)) return;  // an alias (or AS) follows
    } else if (q < s_.size() && s_[q] == '"') {
      return;  // a quoted alias follows
    }
    for (char c : table)
      if (!IsWordChar(c)) return;  // not usable as a bare alias
    out_ += " AS ";
    for (char c : table) out_ += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }

  std::string_view s_;
  SqlDialect d_;
  size_t p_ = 0;
  std::string out_;
  std::string_view lastWord_;
};

}  // namespace

std::string AdaptSql(std::string_view sql, SqlDialect dialect) { return Adapter(sql, dialect).Run(); }
