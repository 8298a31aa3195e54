// Texts joined piece by piece are the texts that + joins.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "app/Foga.h"

TEST(Foga, AppendsEveryKindOfPieceInOrder) {
  std::string r = "a";
  const std::string s = "bcd";
  std::string_view v = "ef";
  const char* c = "gh";
  Foga(r, s, v, c, 'i', "", std::string("jk"));
  EXPECT_EQ(r, "abcdefghijk");
  EXPECT_EQ(Fogat(), "");
  EXPECT_EQ(Fogat('x'), "x");
  // Bytes of Windows-1252 text and NULs inside a piece stay as they are.
  EXPECT_EQ(Fogat(std::string_view("\xE5\0\xF6", 3), "\xE4"), std::string("\xE5\0\xF6\xE4", 4));
}
