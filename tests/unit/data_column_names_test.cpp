// Column names compared without regard to the case of ASCII letters, and a
// result's columns found by name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/DbBackend.h"

namespace {

// One byte at a time: the letters A..Z and a..z alike, every other byte as
// it is.
bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
  for (size_t i = 0; i < a.size(); ++i)
    if (lower(static_cast<unsigned char>(a[i])) != lower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

TEST(ColumnNameTest, OnlyTheCaseOfAsciiLettersIsIgnored) {
  // Pairs of bytes that differ in the case bit alone, or not at all, or in
  // other bits: letters at both ends of the alphabet, the signs next to them
  // ('@' '[' '`' '{'), controls and digits, and Latin-1 letters whose cases
  // also differ in that bit but are not ASCII.
  const unsigned char bytes[] = {'A', 'a', 'Z', 'z', 'M', 'm', '@', '`', '[', '{', '^', '~', 0x10, '0',
                                 '_', 0x7F, 0xC4, 0xE4, 0xC0, 0xE0, 0xDF, 0xFF, 'B', 'b', '1', 0x00};
  int compared = 0;
  for (size_t n = 1; n <= 19; ++n) {
    for (size_t at = 0; at < n; ++at) {
      for (unsigned char x : bytes) {
        for (unsigned char y : bytes) {
          std::string a(n, 'k'), b(n, 'K');  // the rest differs in case too
          a[at] = static_cast<char>(x);
          b[at] = static_cast<char>(y);
          ASSERT_EQ(ColumnName::Equal(a, b), SameName(a, b)) << "length " << n << " at " << at << ": " << int(x)
                                                             << " and " << int(y);
          if (SameName(a, b)) {
            EXPECT_EQ(ColumnName::Hash(a), ColumnName::Hash(b));
          }
          ++compared;
        }
      }
    }
  }
  EXPECT_GT(compared, 100000);
  EXPECT_FALSE(ColumnName::Equal("Kundid", "Kundi"));
  EXPECT_TRUE(ColumnName::Equal("", ""));
}

TEST(ColumnNameTest, ColumnsAreFoundInAnyCaseAndTheFirstOfANameWins) {
  DbColumns columns;
  for (int i = 0; i < 500; ++i) columns.names.push_back("Falt" + std::to_string(i) + (i % 3 ? "Text" : ""));
  columns.names.push_back("kundid");
  columns.names.push_back("KUNDID");  // the same name again, in another case
  columns.names.push_back("Ftagnamn");
  columns.BuildIndex();
  for (int i = 0; i < 500; ++i) {
    std::string name = "falt" + std::to_string(i) + (i % 3 ? "TEXT" : "");
    ASSERT_EQ(columns.Find(name), i) << name;
  }
  EXPECT_EQ(columns.Find("KundId"), 500);
  EXPECT_EQ(columns.Find("FTAGNAMN"), 502);
  EXPECT_EQ(columns.Find("Ftagnam"), -1);
  EXPECT_EQ(columns.Find("Ftagnamn "), -1);
  EXPECT_EQ(columns.Find("F\xC4ltText"), -1);
  EXPECT_EQ(columns.Find(""), -1);
  EXPECT_EQ(NoColumns()->Find("Kundid"), -1);
}

}  // namespace
