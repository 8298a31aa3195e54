#include "data/SqlLiterals.h"

#include <cctype>
#include <strings.h>

ParameterisedSql ParameteriseLiterals(const std::string& sql, Placeholder style) {
  ParameterisedSql p;
  size_t where = std::string::npos;
  for (size_t i = 0; i + 5 <= sql.size(); ++i) {
    char c = sql[i];
    if (c == '\'') {
      size_t e = i + 1;
      while (e < sql.size() && !(sql[e] == '\'' && (e + 1 >= sql.size() || sql[e + 1] != '\''))) e += sql[e] == '\'' ? 2 : 1;
      i = e;
      continue;
    }
    if ((c == 'W' || c == 'w') && (i == 0 || !std::isalnum(static_cast<unsigned char>(sql[i - 1]))) &&
        strncasecmp(sql.c_str() + i, "WHERE", 5) == 0 &&
        (i + 5 == sql.size() || !std::isalnum(static_cast<unsigned char>(sql[i + 5])))) {
      where = i;
      break;
    }
  }
  if (where == std::string::npos) {
    p.text = sql;
    return p;
  }
  p.text.reserve(sql.size());
  p.text.append(sql, 0, where);
  for (size_t i = where; i < sql.size();) {
    size_t q = sql.find('\'', i);
    if (q == std::string::npos) {
      p.text.append(sql, i, std::string::npos);
      break;
    }
    p.text.append(sql, i, q - i);
    std::string value;
    size_t e = q + 1;
    for (;;) {
      size_t end = sql.find('\'', e);
      if (end == std::string::npos) {
        e = sql.size();
        break;
      }
      value.append(sql, e, end - e);
      if (end + 1 < sql.size() && sql[end + 1] == '\'') {
        value += '\'';
        e = end + 2;
        continue;
      }
      e = end;
      break;
    }
    if (e >= sql.size()) {  // an unterminated literal: leave it to the parser
      p.text.append(sql, q, std::string::npos);
      break;
    }
    if (style == Placeholder::Question)
      p.text += '?';
    else
      p.text += '$' + std::to_string(p.values.size() + 1);
    p.values.push_back(std::move(value));
    i = e + 1;
  }
  return p;
}
