// Reading whole files and cutting text into lines, as the template reader
// does with every page's template.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>

#include "gateway/HUtils.h"

namespace {
std::string TempPath(const char* name) { return ::testing::TempDir() + "vemlo_files_" + std::to_string(getpid()) + name; }
}  // namespace

TEST(Files, WholeFilesOfEverySizeAndThoseThatCannotBeRead) {
  std::string big(40000, 'x');
  for (size_t i = 0; i < big.size(); i += 997) big[i] = static_cast<char>(i % 256);  // NULs and high bytes too
  for (const std::string& content : {std::string(), std::string("a\r\n"), big}) {
    std::string path = TempPath(".htm");
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(content.data(), 1, content.size(), f);
    std::fclose(f);
    std::string out = "left from before";
    EXPECT_TRUE(ReadFileText(path, out));
    EXPECT_EQ(out, content);
    std::remove(path.c_str());
  }
  std::string out;
  EXPECT_FALSE(ReadFileText(TempPath(".missing"), out));
  EXPECT_FALSE(ReadFileText(::testing::TempDir(), out));  // a folder
}

TEST(Files, LinesEndAtCrLfCrOrLfAndKeepEveryOtherCharacter) {
  using L = std::vector<std::string>;
  EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (L{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("\r\n\n\r\r\n"), (L{"", "", "", ""}));
  EXPECT_EQ(SplitLines("tab\there\x0b\x0c" "end\r\n"), (L{"tab\there\x0b\x0c" "end"}));
  EXPECT_EQ(SplitLines(std::string_view("nul\0inside\n\xe5\xe4\xf6", 14)), (L{std::string("nul\0inside", 10), "\xe5\xe4\xf6"}));
  EXPECT_EQ(SplitLines(""), L{});
}
