// Pictures: shown from level "1" (compared as text), the buffet picture at
// every level.
#include "tags_customer_module.h"

namespace {

class BilderTest : public TagTest {
protected:
  void SetUp() override {
    std::string sql;
    for (const char* niva : {"0", "1", "2", "10", ""}) {
      const std::string id = std::string("N") + niva;
      sql += "INSERT INTO Kund (Kundid, Niva, Bildfil, LogotypeFil, VagbeskrivningBildfil) VALUES ('" + id + "', '" +
             niva + "', '/b/" + id + ".jpg', '/b/logo.gif', '/b/karta.gif');"
             "INSERT INTO Julb (Kundid, JulbBildfil) VALUES ('" + id + "', '/b/jul.jpg');";
    }
    Data(sql +
         "INSERT INTO Kund (Kundid, Niva) VALUES ('TOM', '2');"
         "INSERT INTO Konf (Kundid, KonfBildfil) VALUES ('N1', '/b/konf.jpg');");
  }
};

TEST_F(BilderTest, LevelBoundByTextComparison) {
  for (const char* id : {"N0", "N"}) {  // level "0" and no level
    Page(id);
    EXPECT_EQ(F().BILD(), "") << id;
    EXPECT_EQ(F().LOGOTYP(), "") << id;
    EXPECT_EQ(F().JULBBILD(), "<img border=0 src=\"/b/jul.jpg\">") << id;  // any level
  }
  for (const char* id : {"N1", "N2", "N10"}) {
    Page(id);
    EXPECT_EQ(F().BILD(), "<img border=0 src=\"/b/" + std::string(id) + ".jpg\">") << id;
  }
}

TEST_F(BilderTest, ClosingTextsPerTag) {
  Page("N2");
  EXPECT_EQ(F().BILDHOGER(), "<img border=0 src=\"/b/N2.jpg\" align=right hspace=5 vspace=5>");
  EXPECT_EQ(F().BILDVANSTER(), "<img border=0 src=\"/b/N2.jpg\" align=left hspace=5 vspace=5>");
  EXPECT_EQ(F().LOGOTYP(), "<img border=0 src=\"/b/logo.gif\"><br>");
  EXPECT_EQ(F().VAGBESKRIVNINGBILD(), "<img border=0 src=\"/b/karta.gif\" align=left hspace=5>");
  Page("N1");
  EXPECT_EQ(F().KONFBILD(), "<img border=0 src=\"/b/konf.jpg\">");
}

TEST_F(BilderTest, EmptyColumnsGiveNothing) {
  Page("TOM");
  for (auto tag : {&TForm1::BILD, &TForm1::MINIBILD, &TForm1::LOGOTYP, &TForm1::AKTVBILD, &TForm1::BLEVBILD,
                   &TForm1::BOKNBILD, &TForm1::FDAGBILD, &TForm1::KONFBILD, &TForm1::LOGIBILD, &TForm1::RFSTBILD,
                   &TForm1::UNDHBILD, &TForm1::WENDBILD, &TForm1::JULBBILD})
    EXPECT_EQ((F().*tag)(), "");
}

}  // namespace
