// Texts at their longest: statements whose values take the most room in
// each form, quoting at every place in a word, and texts converted at the
// database boundary with their letters outside ASCII anywhere.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/DbBackend.h"
#include "data/Query.h"
#include "data/SqlStatement.h"

namespace {

using Values = std::vector<std::string>;

// Quotes doubled and NULs dropped, one byte at a time.
std::string Quoted(const std::string& v) {
  std::string out;
  for (char c : v) {
    if (c == '\'') out += "''";
    else if (c != '\0') out += c;
  }
  return out;
}

// As the echo in HTML writes a quoted value.
std::string InHtml(const std::string& quoted) {
  std::string out;
  for (char c : quoted) {
    switch (c) {
      case '"': out += "&#34;"; break;
      case '&': out += "&#38;"; break;
      case '<': out += "&#60;"; break;
      case '>': out += "&#62;"; break;
      default: out += c;
    }
  }
  return out;
}

TEST(WrittenTextTest, ValuesThatTakeTheMostRoomInEveryForm) {
  const std::string quotes(300, '\'');
  const std::string refs(300, '"');
  const std::string mixed = std::string(40, '\'') + "\"<&>" + std::string(60, '"') + "x'";
  SqlStatement s(true);
  s.Line("SELECT * FROM ").Table("Kund", "k");
  s.Line("WHERE a = ").Value(quotes).Text(" AND b = ").Value(refs);
  s.Line(" AND ").UpperEquals("Kund.Ftagnamn", mixed).Text(" AND c LIKE ").Pattern(mixed);
  s.Line(" AND d = ").Date(EncodeDate(2026, 12, 10)).Text(" AND e = ").Value("");
  const std::string w1 = "WHERE a = '" + Quoted(quotes) + "' AND b = '" + Quoted(refs) + "'";
  const std::string w2 = " AND upper(Kund.Ftagnamn) = '" + Quoted(mixed) + "' AND c LIKE '" + Quoted(mixed) + "'";
  EXPECT_EQ(s.Lines(), (Values{"SELECT * FROM [Tallbrun].[dbo].[Kund] k", w1, w2, " AND d = '12/10/2026' AND e = ''"}));
  const Values html = s.Lines(true);
  ASSERT_EQ(html.size(), 4u);
  EXPECT_EQ(html[1], "WHERE a = '" + InHtml(Quoted(quotes)) + "' AND b = '" + InHtml(Quoted(refs)) + "'");
  EXPECT_EQ(html[2], " AND upper(Kund.Ftagnamn) = '" + InHtml(Quoted(mixed)) + "' AND c LIKE '" +
                         InHtml(Quoted(mixed)) + "'");
  EXPECT_EQ(s.Written(SqlDialect::SQLite),
            "SELECT * FROM \"Kund\" k\r\n" + w1 + "\r\n" + w2 + "\r\n AND d = '2026-12-10' AND e = ''\r\n");
  EXPECT_EQ(s.Written(SqlDialect::PostgreSQL),
            "SELECT * FROM \"dbo\".\"Kund\" k\r\nWHERE a = '" + Quoted(quotes) + "' AND b = '" + Quoted(refs) +
                "'\r\n AND upper(Kund.Ftagnamn) = '" + Quoted(mixed) + "' AND c LIKE '" + Quoted(mixed) +
                "' ESCAPE ''\r\n AND d = '2026-12-10' AND e = ''\r\n");
  SqlShape pg = s.Shape(SqlDialect::PostgreSQL);
  EXPECT_EQ(pg.text,
            "SELECT * FROM \"dbo\".\"Kund\" k\r\nWHERE a = $1 AND b = $2\r\n AND upper(Kund.Ftagnamn) = $3 AND c LIKE $4"
            " ESCAPE ''\r\n AND d = $5 AND e = $6\r\n");
  EXPECT_EQ(pg.values, (Values{quotes, refs, mixed, mixed, "2026-12-10", ""}));
}

TEST(WrittenTextTest, ManyPiecesAndGroupsAfterALargeStatement) {
  // A statement of many conditions, appended as a group, written after one
  // with a long value: each is written as it alone would be.
  SqlStatement big;
  big.Line("SELECT 1 WHERE a = ").Value(std::string(5000, '\''));
  EXPECT_EQ(big.Lines()[0], "SELECT 1 WHERE a = '" + std::string(10000, '\'') + "'");
  SqlStatement group;
  std::string expected;
  for (int i = 0; i < 300; ++i) {
    const std::string k = std::to_string(i);
    group.Separator(" OR ").Text("(Kund.Kundid = ").Value(k).Text(")");
    expected += (i ? " OR " : "") + std::string("(Kund.Kundid = '") + k + "')";
  }
  SqlStatement s;
  s.Line("SELECT Kundid FROM ").Table("Kund", "Kund");
  s.Line("WHERE (").Append(group).Text(") AND (").UpperEquals("Kund.Status", "b").Text(")");
  EXPECT_EQ(s.Lines(), (Values{"SELECT Kundid FROM \"Kund\" Kund", "WHERE (" + expected + ") AND (upper(Kund.Status) = 'b')"}));
  SqlShape lite = s.Shape(SqlDialect::SQLite);
  EXPECT_EQ(lite.values.size(), 301u);
  EXPECT_NE(lite.text.find("(Kund.Kundid = ?300))"), std::string::npos);
  EXPECT_NE(lite.text.find("(Kund.Status = ?301 COLLATE NOCASE AND upper(Kund.Status) = ?301)"), std::string::npos);
  SqlStatement small;
  small.Line("SELECT 2");
  EXPECT_EQ(small.Lines(), (Values{"SELECT 2"}));
  EXPECT_EQ(small.Written(SqlDialect::SQLite), "SELECT 2\r\n");
}

TEST(WrittenTextTest, QuotesAndNulsAtEveryPlaceInAWord) {
  for (size_t n = 0; n <= 20; ++n) {
    for (size_t at = 0; at < n; ++at) {
      for (char c : {'\'', '\0'}) {
        std::string v(n, 'v');
        v[at] = c;
        if (at + 2 < n) v[at + 2] = '\'';
        ASSERT_EQ(SqlQuote(v), Quoted(v)) << n << " " << at;
        std::string out = "x";
        AppendSqlQuoted(out, v);
        ASSERT_EQ(out, "x" + Quoted(v));
      }
    }
    EXPECT_EQ(SqlQuote(std::string(n, 'v')), std::string(n, 'v'));
  }
}

TEST(WrittenTextTest, TextsWithLettersOutsideAsciiAnywhere) {
  // Every byte of Windows-1252 comes back from UTF-8 as it was, whatever
  // stands around it and wherever it falls in a word.
  for (int b = 0x80; b <= 0xFF; ++b) {
    for (size_t before = 0; before <= 17; ++before) {
      for (size_t after : {0, 1, 7, 8, 9}) {
        std::string text = std::string(before, 'a') + static_cast<char>(b) + std::string(after, 'z') +
                           static_cast<char>(b) + "\xE5";
        std::string utf8 = Cp1252ToUtf8(text);
        ASSERT_FALSE(IsAscii(utf8));
        ASSERT_EQ(Utf8ToCp1252(utf8), text) << b << " " << before << " " << after;
      }
    }
  }
  for (size_t n = 0; n <= 20; ++n) {
    EXPECT_TRUE(IsAscii(std::string(n, '~')));
    for (size_t at = 0; at < n; ++at) {
      std::string s(n, 'a');
      s[at] = '\xC3';
      EXPECT_FALSE(IsAscii(s)) << n << " " << at;
    }
  }
  // Sequences that are not UTF-8, at the end of a word and of the text.
  EXPECT_EQ(Utf8ToCp1252("abcdefg\xC3"), "abcdefg?");
  EXPECT_EQ(Utf8ToCp1252("abcdefgh\xE2\x82"), "abcdefgh?");
  EXPECT_EQ(Utf8ToCp1252("abcdefg\x80hijklmno"), "abcdefg?hijklmno");
  EXPECT_EQ(Utf8ToCp1252("sj\xC3\xB6n\xE2\x82\xACxyzw\xF0\x9F\x98\x80!"), "sj\xF6n\x80xyzw?!");
}

}  // namespace
