// Category texts: language selection without fall-back, translations,
// route description, other information with prices, Christmas buffet.
#include "tags_customer_module.h"

namespace {

class TexterTest : public TagTest {
protected:
  void SetUp() override {
    Data(R"SQL(
INSERT INTO Kund (Kundid, Ftagnamn, EgenText, EgenTextEng, EgenTextTy, Vagbeskrivning, VagbeskrivningEng) VALUES
  ('K1', 'Sj)SQL" "\xF6" R"SQL(g)SQL" "\xE5" R"SQL(rden', 'Egen <b>text</b>', 'Own text', '',
   'V)SQL" "\xE4" R"SQL(g 12', 'Road 12');
INSERT INTO Kund (Kundid, Ftagnamn, VagbeskrivningBildfil) VALUES ('K2', 'Karta', '/bilder/karta.gif');
INSERT INTO Kund (Kundid, Ftagnamn) VALUES ('K3', 'Tom');
INSERT INTO Konf (Kundid, KonfEgenText) VALUES ('K1', 'Konferens vid sj)SQL" "\xF6" R"SQL(n');
INSERT INTO Undh (Kundid, UndhMerit, UndhMeritTy) VALUES ('K1', 'Meriter', 'Verdienste');
INSERT INTO Sprk (TextS, TextE, TextD) VALUES
  ('Kontakta oss f)SQL" "\xF6" R"SQL(r v)SQL" "\xE4" R"SQL(gbeskrivning.', 'Contact us for directions.', ''),
  ('Pris', 'Price', 'Preis'), ('kr/pers', 'SEK/person', ''), ('Fr)SQL" "\xE5" R"SQL(n', 'From', ''),
  ('Bastu', '', '');
INSERT INTO Fork (Tabell, Falt, Fork, Forknamn, ForknamnE) VALUES
  ('AKTV', 'AktvOvr', 'PA', 'Parkering', 'Parking'), ('AKTV', 'AktvOvr', 'BU', 'Buss', 'Bus'),
  ('WEND', 'WendOvr', 'HF', 'Helpension', 'Full board');
INSERT INTO Aktv (Kundid, AktvOvr, AktvText, AktvTextEng) VALUES ('K1', 'PABU', 'Ta med kl)SQL" "\xE4" R"SQL(der', '');
INSERT INTO Aktv (Kundid, AktvText) VALUES ('K2', 'Bara text');
)SQL");
  }
};

TEST_F(TexterTest, RequestLanguageOnlyWithoutFallBack) {
  Page("K1");
  EXPECT_EQ(F().TEXT(), "Egen <b>text</b>");  // markup stays as stored
  EXPECT_EQ(F().KONFTEXT(), "Konferens vid sj\xF6n");
  EXPECT_EQ(F().UNDHMERIT(), "Meriter");
  EXPECT_EQ(F().AKTVTEXT(), "");  // no text in this category

  Page("K1", "E");
  EXPECT_EQ(F().TEXT(), "Own text");
  EXPECT_EQ(F().KONFTEXT(), "");  // only Swedish stored: no Swedish on an English page
  EXPECT_EQ(F().KONFTEXTENG(), "");

  Page("K1", "D");
  EXPECT_EQ(F().TEXT(), "");
  EXPECT_EQ(F().UNDHMERIT(), "Verdienste");
}

TEST_F(TexterTest, TranslationsUnderFixedSwedishHeadings) {
  Page("K1");
  EXPECT_EQ(F().TEXTENG(), "<br><br><b>Engelsk text:</b><br>Own text");
  EXPECT_EQ(F().TEXTTY(), "");
  EXPECT_EQ(F().UNDHMERITTY(), "<br><br><b>Tysk text:</b><br>Verdienste");
  EXPECT_EQ(F().VAGBESKRIVNINGENG(), "<br><br><b>Engelsk text:</b><br>Road 12");
  // The heading is not translated on a foreign page.
  Page("K1", "E");
  EXPECT_EQ(F().TEXTENG(), "<br><br><b>Engelsk text:</b><br>Own text");
}

TEST_F(TexterTest, RouteDescription) {
  Page("K1");
  EXPECT_EQ(F().VAGBESKRIVNING(), "V\xE4g 12");
  Page("K2");  // a map only: the image tag shows it
  EXPECT_EQ(F().VAGBESKRIVNING(), "");
  Page("K3");
  EXPECT_EQ(F().VAGBESKRIVNING(), "Kontakta oss f\xF6r v\xE4gbeskrivning.");
  Page("K3", "E");
  EXPECT_EQ(F().VAGBESKRIVNING(), "Contact us for directions.");
  Page("K1", "D");  // a Swedish text only: the German page gets the invitation
  EXPECT_EQ(F().VAGBESKRIVNING(), "Kontakta oss f\xF6r v\xE4gbeskrivning.");
}

TEST_F(TexterTest, OtherInformationCodesAndText) {
  Page("K1");
  EXPECT_EQ(F().AKTVOVRIGT(), "Buss<br>Parkering<br>Ta med kl\xE4" "der");
  Page("K1", "E");  // no English text: the codes alone
  EXPECT_EQ(F().AKTVOVRIGT(), "Bus<br>Parking");
  Page("K2");
  EXPECT_EQ(F().AKTVOVRIGT(), "Bara text");
  Page("K3");
  EXPECT_EQ(F().AKTVOVRIGT(), "&nbsp;");
  EXPECT_EQ(F().UNDHOVR(), "&nbsp;");
}

class WendPrisTest : public TagTest {
protected:
  std::string Price(const char* min, const char* max, const char* ovr = "") {
    Data(std::string("INSERT INTO Kund (Kundid) VALUES ('W');"
                     "INSERT INTO Fork (Tabell, Falt, Fork, Forknamn) VALUES ('WEND', 'WendOvr', 'HF', 'Helpension');"
                     "INSERT INTO Sprk (TextS, TextE) VALUES ('Pris', 'Price'), ('kr/pers', 'SEK/person'), "
                     "('Fr\xE5n', 'From');"
                     "INSERT INTO Wend (Kundid, WendOvr, WendPrisMin, WendPrisMax) VALUES ('W', '") +
         ovr + "', " + min + ", " + max + ");");
    Page("W");
    return F().WENDOVR();
  }
};

TEST_F(WendPrisTest, PriceLineByTheFirstRuleThatApplies) {
  EXPECT_EQ(Price("1500", "1500"), "Pris: 1500 kr/pers");
  EXPECT_EQ(Price("1200", "1800"), "Pris: 1200 - 1800 kr/pers");
  EXPECT_EQ(Price("0", "1800"), "Pris: Max 1800 kr/pers");
  EXPECT_EQ(Price("1200", "0"), "Pris: Fr\xE5n 1200 kr/pers");
  EXPECT_EQ(Price("0", "0"), "&nbsp;");
  EXPECT_EQ(Price("NULL", "NULL"), "&nbsp;");
  EXPECT_EQ(Price("-5", "-5"), "&nbsp;");  // equal but not positive
  EXPECT_EQ(Price("1200.5", "0", "HF"), "Helpension<br>Pris: Fr\xE5n 1200,5 kr/pers");
  Price("1200", "0");
  fx_->Language("E");
  EXPECT_EQ(F().WENDOVR(), "Price: From 1200 SEK/person");
}

class JulbordTest : public TagTest {
protected:
  void Buffet(const std::string& ar, const std::string& kolumner = "", const std::string& varden = "") {
    Data("INSERT INTO Kund (Kundid) VALUES ('J');"
         "INSERT INTO Julb (Kundid, JulbAr, JulbRubrik, JulbEgenText, JulbOppet, AntJulbord" +
         kolumner + ") VALUES ('J', '" + ar + "', 'Julbord i lad\xE5n', 'Sill och skinka', '1-23 dec', 120" + varden +
         ");"
         "INSERT INTO Sprk (TextS, TextE) VALUES ('Plats f\xF6r', 'Room for'), ('matg\xE4ster', 'guests'),"
         "('Pris', 'Price'), ('kr', 'SEK'), ('Barn', 'Children'),"
         "('Kontakta oss f\xF6r \xF6ppettider', 'Contact us for opening hours');");
    Page("J");
  }
};

TEST_F(JulbordTest, LastYearsBuffetCountsAsMissing) {
  Buffet(LastYear(), ", JulbPris1, JulbPrisNot1", ", 450, 'inkl. gl\xF6gg'");
  EXPECT_EQ(F().JULBRUBRIK(), "Julbord i lad\xE5n");  // the heading does not look at the year
  EXPECT_EQ(F().JULBTEXT(),
            "Vi har tyv\xE4rr inte hunnit l\xE4gga in information om \xE5rets julbord. "
            "Ring oss s\xE5 ber\xE4ttar vi vad vi kan erbjuda!");
  EXPECT_EQ(F().JULBOPPET(), "Kontakta oss f\xF6r \xF6ppettider");
  EXPECT_EQ(F().JULBOVRIGT(), "Plats f\xF6r 120 matg\xE4ster");  // seats, but no prices
  fx_->Language("E");
  EXPECT_EQ(F().JULBOPPET(), "Contact us for opening hours");
}

TEST_F(JulbordTest, ThisYearsBuffetWithPrices) {
  Buffet(ThisYear(), ", JulbPris1, JulbPrisNot1, JulbPris2, JulbPrisNot2, JulbPrisBarn, JulbPrisNotBarn",
         ", 450, 'inkl. gl\xF6gg', 0, 'Lunch enligt \xF6verenskommelse', 0, 'under 12 \xE5r'");
  EXPECT_EQ(F().JULBTEXT(), "Sill och skinka");
  EXPECT_EQ(F().JULBOPPET(), "1-23 dec");
  EXPECT_EQ(F().JULBOVRIGT(),
            "Plats f\xF6r 120 matg\xE4ster<br><br><b>Pris:</b><br>450kr inkl. gl\xF6gg<br>"
            "Lunch enligt \xF6verenskommelse<br>Barn: 0kr under 12 \xE5r");
  fx_->Language("E");
  EXPECT_EQ(F().JULBOVRIGT(),
            "Room for 120 guests<br><br><b>Price:</b><br>450SEK inkl. gl\xF6gg<br>"
            "Lunch enligt \xF6verenskommelse<br>Children: 0SEK under 12 \xE5r");
}

TEST_F(JulbordTest, ChildrensNoteWithoutPriceAndEmptyBuffet) {
  Buffet(ThisYear(), ", JulbPrisBarn, JulbPrisNotBarn", ", -1, 'halva priset'");
  EXPECT_EQ(F().JULBOVRIGT(), "Plats f\xF6r 120 matg\xE4ster<br><br><b>Pris:</b><br>Barn: halva priset");

  Data("INSERT INTO Kund (Kundid) VALUES ('J');"
       "INSERT INTO Julb (Kundid, JulbAr) VALUES ('J', '" + ThisYear() + "');");
  Page("J");
  EXPECT_EQ(F().JULBOVRIGT(), "&nbsp;");
  EXPECT_EQ(F().JULBTEXT(), "");
  EXPECT_EQ(F().JULBOPPET(), "");
  EXPECT_EQ(F().JULBRUBRIK(), "");

  // A customer without a buffet row has no year either.
  Data("INSERT INTO Kund (Kundid) VALUES ('X');");
  Page("X");
  EXPECT_EQ(F().JULBOVRIGT(), "&nbsp;");
  EXPECT_NE(F().JULBTEXT(), "");
}

}  // namespace
