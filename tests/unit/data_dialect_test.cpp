// Statement adaptation for the back ends and the text encodings at the
// database boundary.
#include <gtest/gtest.h>

#include "data/DbBackend.h"
#include "data/SqlDialect.h"

namespace {

std::string Lite(std::string_view s) { return AdaptSql(s, SqlDialect::SQLite); }
std::string Pg(std::string_view s) { return AdaptSql(s, SqlDialect::PostgreSQL); }

TEST(SqlDialectTest, BracketedTableNames) {
  EXPECT_EQ(Lite("SELECT * FROM [Tallbrun].[dbo].[Kund] Kund WHERE Kund.Kundid = '1'"),
            "SELECT * FROM \"Kund\" Kund WHERE Kund.Kundid = '1'");
  EXPECT_EQ(Pg("SELECT * FROM [Tallbrun].[dbo].[Kund] Kund WHERE Kund.Kundid = '1'"),
            "SELECT * FROM \"dbo\".\"Kund\" Kund WHERE Kund.Kundid = '1'");
  EXPECT_EQ(Lite("FROM [A]]B] x"), "FROM \"A]B\" x");
}

TEST(SqlDialectTest, LiteralsAreNotTranslatedExceptWholeUsDates) {
  // Brackets, quotes and comment marks inside a value stay as they are.
  const char* sql = "WHERE (x LIKE '%[Tallbrun]%') AND (y = 'a''[b]'' -- c') AND (z = '/* no */')";
  EXPECT_EQ(Lite(sql), sql);
  EXPECT_EQ(Lite("WHERE (d >= '05/31/2009') AND (e <= '12/01/2010')"),
            "WHERE (d >= '2009-05-31') AND (e <= '2010-12-01')");
  EXPECT_EQ(Pg("WHERE d >= '05/31/2009'"), "WHERE d >= '2009-05-31'");
  // Not exactly a valid month/day/year date: unchanged.
  for (const char* s : {"'13/01/2009'", "'05/32/2009'", "'5/31/2009'", "'%05/31/2009%'", "'05/31/2009 10:00'",
                        "'05-31-2009'"})
    EXPECT_EQ(Lite(std::string("x = ") + s), std::string("x = ") + s) << s;
}

TEST(SqlDialectTest, PostgresAliasesBareTableReferences) {
  // The statements qualify columns with the bare table name.
  EXPECT_EQ(Pg("SELECT Nyka.NyhtId\r\nFROM [Tallbrun].[dbo].[Nyka]\r\n INNER JOIN [Tallbrun].[dbo].[Nyht]\r\n"
               " ON Nyka.KundId = Nyht.KundId"),
            "SELECT Nyka.NyhtId\r\nFROM \"dbo\".\"Nyka\" AS nyka\r\n INNER JOIN \"dbo\".\"Nyht\" AS nyht\r\n"
            " ON Nyka.KundId = Nyht.KundId");
  EXPECT_EQ(Pg("SELECT Budget\r\nFROM \"Komm\"\r\nWHERE Lankod = '01'"),
            "SELECT Budget\r\nFROM \"Komm\" AS komm\r\nWHERE Lankod = '01'");
  EXPECT_EQ(Pg("SELECT * FROM \"Sprk\""), "SELECT * FROM \"Sprk\" AS sprk");
  // An alias of its own is kept; a name outside FROM/JOIN gets none.
  EXPECT_EQ(Pg("FROM [Tallbrun].[dbo].[Kund] Kund"), "FROM \"dbo\".\"Kund\" Kund");
  EXPECT_EQ(Pg("FROM \"Kund\" AS k"), "FROM \"Kund\" AS k");
  EXPECT_EQ(Pg("SELECT \"Kund\".x FROM t"), "SELECT \"Kund\".x FROM t");
  // SQLite resolves names without regard to case: no alias needed.
  EXPECT_EQ(Lite("FROM [Tallbrun].[dbo].[Nyka]\r\n INNER JOIN"), "FROM \"Nyka\"\r\n INNER JOIN");
}

TEST(SqlDialectTest, PostgresLikeHasNoEscapeCharacter) {
  EXPECT_EQ(Pg("WHERE (upper(Kund.Ftagnamn) LIKE '%A\\B%') AND (x = 'y')"),
            "WHERE (upper(Kund.Ftagnamn) LIKE '%A\\B%' ESCAPE '') AND (x = 'y')");
  EXPECT_EQ(Lite("WHERE x like '%a%'"), "WHERE x like '%a%'");
}

TEST(SqlDialectTest, CommentsAreCopied) {
  EXPECT_EQ(Pg("SELECT 1 -- [x] '05/31/2009\nFROM t"), "SELECT 1 -- [x] '05/31/2009\nFROM t");
  EXPECT_EQ(Lite("SELECT /* [x] ' */ 1"), "SELECT /* [x] ' */ 1");
  // Operators next to a comment or a literal: "-" and "/" alone start none.
  EXPECT_EQ(Lite("SELECT a-1, b/2, c- -3 FROM t WHERE d='05/31/2009'--[x]\n"),
            "SELECT a-1, b/2, c- -3 FROM t WHERE d='2009-05-31'--[x]\n");
  EXPECT_EQ(Lite("x=1/*'*/-'05/31/2009'"), "x=1/*'*/-'2009-05-31'");
}

TEST(SqlDialectTest, NamePartsAndWhatFollowsThem) {
  // Only the last two parts of a bracketed name count; "]]" inside any part.
  EXPECT_EQ(Pg("FROM [a].[b]]c].[d]]] x"), "FROM \"b]c\".\"d]\" x");
  EXPECT_EQ(Pg("FROM [own].[Kund] k"), "FROM \"own\".\"Kund\" k");
  EXPECT_EQ(Lite("FROM [a].[b]]c].[d]]] x"), "FROM \"d]\" x");
  EXPECT_EQ(Lite("FROM [unclosed"), "FROM \"unclosed\"");
  // A table reference needs FROM or JOIN right before it, blanks between.
  EXPECT_EQ(Pg("SELECT x FROM\r\n  [dbo].[T] WHERE 1=1"), "SELECT x FROM\r\n  \"dbo\".\"T\" AS t WHERE 1=1");
  EXPECT_EQ(Pg("SELECT x FROM (SELECT 1) s, [T]"), "SELECT x FROM (SELECT 1) s, \"T\"");
  EXPECT_EQ(Pg("WHERE 9LIKE '%a' AND x2like '%b'"), "WHERE 9LIKE '%a' ESCAPE '' AND x2like '%b'");
}

TEST(DbTextTest, Windows1252AndUtf8RoundTrip) {
  std::string cp = "Sj\xF6 \xC5re \x80 \x8A\x9A \xFF\xE9";
  std::string utf8 = Cp1252ToUtf8(cp);
  EXPECT_EQ(utf8, "Sj\xC3\xB6 \xC3\x85re \xE2\x82\xAC \xC5\xA0\xC5\xA1 \xC3\xBF\xC3\xA9");
  EXPECT_EQ(Utf8ToCp1252(utf8), cp);
  EXPECT_EQ(Cp1252ToUtf8("plain"), "plain");
  // Characters outside Windows-1252 and broken sequences become "?".
  EXPECT_EQ(Utf8ToCp1252("a\xE4\xB8\xAD" "b\xF0\x9F\x98\x80" "c\xC3"), "a?b?c?");
  EXPECT_EQ(Utf8ToCp1252("\xFF" "x"), "?x");
}

// The plain-ASCII run at the start of a text is found eight bytes at a
// time: a letter outside ASCII at any place of texts around those lengths is
// converted, and the bytes around it are kept.
TEST(DbTextTest, LettersOutsideAsciiAtEveryPlaceAroundEightByteSteps) {
  for (size_t len : {1u, 7u, 8u, 9u, 15u, 16u, 17u, 24u}) {
    std::string ascii;
    for (size_t i = 0; i < len; ++i) ascii += static_cast<char>('a' + i % 26);
    EXPECT_EQ(Utf8ToCp1252(ascii), ascii) << len;
    EXPECT_EQ(Cp1252ToUtf8(ascii), ascii) << len;
    for (size_t at = 0; at < len; ++at) {
      std::string cp = ascii, utf8 = ascii;
      cp[at] = '\xE5';  // å
      utf8.replace(at, 1, "\xC3\xA5");
      EXPECT_EQ(Cp1252ToUtf8(cp), utf8) << len << " at " << at;
      EXPECT_EQ(Utf8ToCp1252(utf8), cp) << len << " at " << at;
      // A broken sequence there: one "?" and the rest as it was.
      std::string broken = ascii, expected = ascii;
      broken[at] = '\xC3';
      expected[at] = '?';
      EXPECT_EQ(Utf8ToCp1252(broken), expected) << len << " at " << at;
    }
  }
  EXPECT_EQ(Utf8ToCp1252(""), "");
  EXPECT_EQ(Cp1252ToUtf8(std::string_view("a\0b", 3)), std::string("a\0b", 3));
}

TEST(DbTextTest, IsoDateTexts) {
  TDateTime dt;
  ASSERT_TRUE(ParseIsoDateTime("2009-05-31", dt));
  EXPECT_EQ(dt, EncodeDate(2009, 5, 31));
  ASSERT_TRUE(ParseIsoDateTime("2009-05-31 10:30:00+02", dt));
  EXPECT_DOUBLE_EQ(dt, EncodeDate(2009, 5, 31) + EncodeTime(10, 30, 0));
  ASSERT_TRUE(ParseIsoDateTime("2009-05-31T10:30:00", dt));
  EXPECT_FALSE(ParseIsoDateTime("31.05.2009", dt));
  EXPECT_FALSE(ParseIsoDateTime("2009-02-30", dt));
}

}  // namespace
