// The tag tables and their index: every tag is found under each way it can
// be written, by its own row and no other; the forms that are no tag stay
// unanswered; sections know their end markers.
#include <gtest/gtest.h>

#include <cctype>

#include "render/TagTable.h"

namespace {
TBlockBit Sok(const TTaggindex& index, const std::string& text) {
  TBlockBit b;
  b.text = text;
  index.Sok(b);
  return b;
}

std::string Gemener(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Every way a row's tag can be written, with the arguments each gives.
std::vector<std::pair<std::string, std::vector<std::string>>> Former(const TTagg& t) {
  const std::string n = t.namn;
  std::vector<std::pair<std::string, std::vector<std::string>>> f;
  switch (t.form) {
    case Form::Hel:
    case Form::EjQv:
      f.push_back({"<!--" + n + "-->", {}});
      break;
    case Form::Argument: {
      if (t.minArg == 0) f.push_back({"<!--" + n + "-->", std::vector<std::string>(t.maxArg)});
      for (int k = std::max(1, int{t.minArg}); k <= t.maxArg; ++k) {
        std::string text = "<!--" + Gemener(n) + "(";
        std::vector<std::string> args;
        for (int i = 0; i < k; ++i) {
          args.push_back("a" + std::to_string(i));
          text += (i ? "," : "") + args.back();
        }
        args.resize(t.maxArg);
        f.push_back({text + ")-->", args});
      }
      break;
    }
    case Form::Prefix:
      f.push_back({"<!--" + n + "v-->", {"v"}});
      break;
  }
  return f;
}

void VarjeRadFinns(const std::vector<std::span<const TTagg>>& tabeller, const TTaggindex& index) {
  for (const auto& tabell : tabeller)
    for (const TTagg& t : tabell) {
      std::string n = t.namn;
      for (char c : n) EXPECT_FALSE(std::islower(static_cast<unsigned char>(c))) << n;
      for (const auto& [text, args] : Former(t)) {
        TBlockBit b = Sok(index, text);
        EXPECT_EQ(b.tagg, &t) << text << " is answered by " << (b.tagg ? b.tagg->namn : "nothing");
        EXPECT_EQ(b.args, args) << text;
        EXPECT_TRUE(b.qv) << text;
      }
    }
}
}  // namespace

TEST(TagTables, EveryTagIsFoundByItsOwnRowUnderEachForm) {
  VarjeRadFinns({RamTaggar()}, Ramindex());
  VarjeRadFinns(Blocktaggar(), Blockindex());
}

TEST(TagTables, BlockTagsDoNotReachTheFramePassAsFrameTags) {
  // The frame pass sees every piece first: a block tag that it answered
  // would never reach the block.
  for (const auto& tabell : Blocktaggar())
    for (const TTagg& t : tabell)
      for (const auto& [text, args] : Former(t)) EXPECT_EQ(Sok(Ramindex(), text).tagg, nullptr) << text;
}

TEST(TagTables, FormsThatAreNoTag) {
  const TTaggindex& b = Blockindex();
  for (const char* text : {"<!--namn-->", "<!--avstand-->", "<!--AVSTAND(a,b)-->", "<!--KONFPAKET(a,b,c,d)-->",
                           "<!--COUNTER-->", "<!--COUNTER(1)-->", "<!--HEMSIDA(ejqv)-->", "<!--HEMSIDA(x)-->",
                           "<!--STARTSPRAK-->", "<!--AVSTAND(a-->", "<!-- vanlig kommentar -->", "<b>NAMN</b>",
                           "<!--FLIKSLUTEJ-->", "<!--X>", "<!--NAMN -->"})
    EXPECT_EQ(Sok(b, text).tagg, nullptr) << text;
  EXPECT_EQ(Sok(Ramindex(), "<!--VISASIDA(a,b)-->").tagg, nullptr);
  EXPECT_EQ(Sok(Ramindex(), "<!--titel-->").tagg, nullptr);
}

TEST(TagTables, ArgumentsAndValues) {
  const TTaggindex& b = Blockindex();
  EXPECT_EQ(Sok(b, "<!--KonfPaket(a,,c)-->").args, (std::vector<std::string>{"a", "", "c"}));
  EXPECT_EQ(Sok(b, "<!--KONFPAKET()-->").args, (std::vector<std::string>{"", "", ""}));
  EXPECT_EQ(Sok(b, "<!--AVSTAND( 5 )-->").args, (std::vector<std::string>{" 5 "}));
  TBlockBit ejqv = Sok(b, "<!--HEMSIDA(EJQV)-->");
  ASSERT_NE(ejqv.tagg, nullptr);
  EXPECT_STREQ(ejqv.tagg->namn, "HEMSIDA");
  EXPECT_FALSE(ejqv.qv);
  // A prefix tag's value runs to "-->", or to the end of a piece without one.
  EXPECT_EQ(Sok(b, "<!--FLIK=3-->").args, (std::vector<std::string>{"3"}));
  EXPECT_EQ(Sok(b, "<!--FLIK=3\r\n").args, (std::vector<std::string>{"3\r\n"}));
  EXPECT_STREQ(Sok(b, "<!--SLUTVADSOMHELST-->").tagg->namn, "SLUT");
  EXPECT_STREQ(Sok(Ramindex(), "<!--FLIKDIR=-->").tagg->namn, "FLIKDIR=");
  EXPECT_EQ(Sok(Ramindex(), "<!--FLIKDIR=-->").args, (std::vector<std::string>{""}));
}

TEST(TagTables, SectionsAndTheirEndMarkers) {
  for (const auto& tabell : Blocktaggar())
    for (const TTagg& t : tabell)
      if (std::string(t.namn).rfind("START", 0) == 0 && t.form != Form::Prefix) {
        EXPECT_NE(t.slut, nullptr) << t.namn;
      }
  std::vector<TBlockBit> block(9);
  const char* texter[] = {"<!--STARTPLATS-->", "<!--startsprak(E)-->", "<!--SLUTSPRAK(e)-->", "<!--SLUTSPRAK(E)-->",
                          "<!--FLIKSTARTEJ=KONF-->", "<!--NAMN-->", "<!--SLUTPLATS-->", "<!--FLIKSLUTEJ-->",
                          "<!--STARTBOKN-->"};
  for (size_t i = 0; i < block.size(); ++i) block[i].text = texter[i];
  KlassificeraBlock(block);
  EXPECT_EQ(Slutmarkor(block[0]), "<!--SLUTPLATS-->");
  EXPECT_EQ(Slutmarkor(block[1]), "<!--SLUTSPRAK(E)-->");
  EXPECT_EQ(Slutmarkor(block[4]), "<!--FLIKSLUTEJ-->");
  EXPECT_EQ(Slutmarkor(block[5]), "");
  EXPECT_EQ(block[0].slut, 6);
  EXPECT_EQ(block[1].slut, 3);  // the language is compared with case
  EXPECT_EQ(block[4].slut, 7);
  EXPECT_EQ(block[8].slut, -1);
  EXPECT_EQ(block[7].tagg, nullptr);  // written out as it stands
}
