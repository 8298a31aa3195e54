// Booking boxes with their fall-back to the general numbers, an agency's
// regions and the kinds of offers it books.
#include "tags_customer_module.h"

namespace {

const std::string kMail1 = "<a href=\"mailto:Kontakt via Tallbrun <info@k1.se>\">info@k1.se</a>";

class BokningTest : public TagTest {
protected:
  void SetUp() override {
    Data(R"SQL(
INSERT INTO Kund (Kundid, Tele, MobilTele, Telefax, Epost) VALUES ('K1', '08-1', '070-1', '08-2', 'info@k1.se');
INSERT INTO Konf (Kundid, KonfEgenText) VALUES ('K1', 'Konferens');
INSERT INTO Kund (Kundid, Tele, MobilTele, Telefax, Epost, VisaEjTele, VisaEjMobil, VisaEjFax, VisaEjEpost)
  VALUES ('K2', '08-1', '070-1', '08-2', 'info@k1.se', 'J', 'J', 'J', 'J');
INSERT INTO Konf (Kundid, KonfKontaktBokning, KonfTeleDir, KonfEpostDir)
  VALUES ('K2', 'Anna', '08-77', 'anna@k2.se');
INSERT INTO Logi (Kundid, LogiEpostDir) VALUES ('K1', 'logi@k1.se');
INSERT INTO Kund (Kundid) VALUES ('K3');
INSERT INTO Kund (Kundid, Tele) VALUES ('ALLA', '08-0');
INSERT INTO Aktv (Kundid, AktvTeleDir) VALUES ('ALLA', 'Aktv');
INSERT INTO Blev (Kundid, BlevTeleDir) VALUES ('ALLA', 'Blev');
INSERT INTO Fdag (Kundid, FdagTeleDir) VALUES ('ALLA', 'Fdag');
INSERT INTO Julb (Kundid, JulbTeleDir) VALUES ('ALLA', 'Julb');
INSERT INTO Konf (Kundid, KonfTeleDir) VALUES ('ALLA', 'Konf');
INSERT INTO Logi (Kundid, LogiTeleDir) VALUES ('ALLA', 'Logi');
INSERT INTO Rfst (Kundid, RfstTeleDir) VALUES ('ALLA', 'Rfst');
INSERT INTO Undh (Kundid, UndhTeleDir) VALUES ('ALLA', 'Undh');
INSERT INTO Wend (Kundid, WendTeleDir) VALUES ('ALLA', 'Wend');
INSERT INTO Sprk (TextS, TextE) VALUES ('Tel', 'Phone'), ('Kontakta', 'Contact'), ('E-post', 'E-mail'),
  ('Konferens', 'Conference'), ('Restaurang/Festv)SQL" "\xE5" R"SQL(ning', 'Restaurant/Banquet hall');
)SQL");
  }
};

TEST_F(BokningTest, GeneralNumbersStandInForMissingDirectOnes) {
  Page("K1");
  EXPECT_EQ(F().KONFBOKNING(), "Tel: 08-1<br>Mobil: 070-1<br>Fax: 08-2<br>E-post: " + kMail1);
  // A direct e-mail replaces the general one.
  EXPECT_EQ(F().LOGIBOKNING(),
            "Tel: 08-1<br>Mobil: 070-1<br>Fax: 08-2<br>"
            "E-post: <a href=\"mailto:Kontakt via Tallbrun <logi@k1.se>\">logi@k1.se</a>");
  Page("K1", "E");
  EXPECT_EQ(F().KONFBOKNING(), "Phone: 08-1<br>Mobil: 070-1<br>Fax: 08-2<br>E-mail: " + kMail1);
}

TEST_F(BokningTest, HideFlagsHideOnlyTheGeneralNumbers) {
  Page("K2");
  EXPECT_EQ(F().KONFBOKNING(),
            "Kontakta Anna<br>Tel: 08-77<br>"
            "E-post: <a href=\"mailto:Kontakt via Tallbrun <anna@k2.se>\">anna@k2.se</a>");
  EXPECT_EQ(F().LOGIBOKNING(), "&nbsp;");  // everything general is hidden
  Page("K3");
  EXPECT_EQ(F().AKTVBOKNING(), "&nbsp;");
}

TEST_F(BokningTest, EachBoxReadsItsOwnCategory) {
  Page("ALLA");
  EXPECT_EQ(F().AKTVBOKNING(), "Tel: Aktv");
  EXPECT_EQ(F().BLEVBOKNING(), "Tel: Blev");
  EXPECT_EQ(F().FDAGBOKNING(), "Tel: Fdag");
  EXPECT_EQ(F().JULBBOKNING(), "Tel: Julb");
  EXPECT_EQ(F().KONFBOKNING(), "Tel: Konf");
  EXPECT_EQ(F().LOGIBOKNING(), "Tel: Logi");
  EXPECT_EQ(F().RFSTBOKNING(), "Tel: Rfst");
  EXPECT_EQ(F().UNDHBOKNING(), "Tel: Undh");
  EXPECT_EQ(F().WENDBOKNING(), "Tel: Wend");
}

class ByraTest : public TagTest {
protected:
  void SetUp() override {
    Data(R"SQL(
INSERT INTO Kund (Kundid, Tele, Telefax, MobilTele, Epost, VisaEjEpost)
  VALUES ('B1', '08-9', '08-8', '070-9', 'b1@x.se', 'J');
INSERT INTO Bokn (Kundid, BoknOmrade2) VALUES ('B1', 'Norr');
INSERT INTO Kund (Kundid, Tele, Telefax, MobilTele, Epost) VALUES ('B2', '08-9', '08-8', '070-9', 'b2@x.se');
INSERT INTO Bokn (Kundid) VALUES ('B2');
INSERT INTO Kund (Kundid, Tele, Epost, VisaEjTele) VALUES ('B3', '08-9', 'b3@x.se', 'J');
INSERT INTO Bokn (Kundid, BoknOmrade1, BoknKontaktOmrade1, BoknTeleDirOmrade1,
                  BoknOmrade3, BoknEpostDirOmrade3, BoknKontaktOmrade4,
                  BoknKonfInriktning, BoknRfstArrangemang, BoknWendInriktning)
  VALUES ('B3', 'Syd', 'Per', '040-1', 'V)SQL" "\xE4" R"SQL(st', 'vast@b3.se', 'Eva', 'KO', 'BR', 'XX');
INSERT INTO Fork (Tabell, Falt, Fork, Forknamn, ForknamnE) VALUES
  ('BOKN', 'BoknKonfInriktning', 'KO', 'Kick-off', 'Kick-off'),
  ('BOKN', 'BoknRfstArrangemang', 'BR', 'Br)SQL" "\xF6" R"SQL(llop', 'Wedding');
INSERT INTO Sprk (TextS, TextE) VALUES ('Konferens', 'Conference'), ('Tel', 'Phone'),
  ('Restaurang/Festv)SQL" "\xE5" R"SQL(ning', 'Restaurant/Banquet hall');
)SQL");
  }
};

TEST_F(ByraTest, RegionWithoutContactTakesTheGeneralTelephone) {
  Page("B1");
  // The telephone part starts with a blank: no contact name precedes it.
  EXPECT_EQ(F().BOKNBOKNINGOMRADE(), "<b>Norr</b><br> Tel: 08-9");
}

TEST_F(ByraTest, NoRegionsGiveTheGeneralLines) {
  Page("B2");
  EXPECT_EQ(F().BOKNBOKNINGOMRADE(),
            "Tel: 08-9<br>Fax: 08-8<br>E-post: <a href=\"mailto:Kontakt via Tallbrun <b2@x.se>\">b2@x.se</a>");
}

TEST_F(ByraTest, RegionsWithContactsAndDirectNumbers) {
  Page("B3");
  EXPECT_EQ(F().BOKNBOKNINGOMRADE(),
            "<b>Syd</b><br>Per,  Tel: 040-1, "
            " E-post: <a href=\"mailto:Kontakt via Tallbrun <b3@x.se>\">b3@x.se</a>"
            "<br><b>V\xE4st</b><br> E-post: <a href=\"mailto:Kontakt via Tallbrun <vast@b3.se>\">vast@b3.se</a>"
            "<br>Eva, "
            " E-post: <a href=\"mailto:Kontakt via Tallbrun <b3@x.se>\">b3@x.se</a>");
}

TEST_F(ByraTest, KindsOfOffersUnderHeadings) {
  Page("B3");
  // A field of unknown codes still gets its heading.
  EXPECT_EQ(F().BOKNINRIKTNING(),
            "<b>Konferens:</b><br>Kick-off<br><b>Restaurang/Festv\xE5ning:</b><br>Br\xF6llop"
            "<br><b>Paketresor:</b><br>");
  Page("B3", "E");
  EXPECT_EQ(F().BOKNINRIKTNING(),
            "<b>Conference:</b><br>Kick-off<br><b>Restaurant/Banquet hall:</b><br>Wedding<br><b>Paketresor:</b><br>");
  Page("B2");
  EXPECT_EQ(F().BOKNINRIKTNING(), "&nbsp;");
}

}  // namespace
