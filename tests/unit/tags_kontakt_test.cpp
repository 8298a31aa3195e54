// Addresses with the county, telephone tags with the agency switch and its
// restore, all contact data in groups, the central booking office of a
// second customer, e-mail.
#include "tags_customer_module.h"

namespace {

std::string Mail(const std::string& a) { return "<a href=\"mailto:Kontakt via Tallbrun <" + a + ">\">" + a + "</a>"; }

class KontaktTest : public TagTest {
protected:
  void SetUp() override {
    Data(R"SQL(
INSERT INTO Kund (Kundid, Ftagnamn, Niva, Adress, Pstnr, Padress, Landskod, Badress, Lankod, Tele, MobilTele, Telefax,
                  Epost, TeleCentralBokning, HemsidaCentralBokning, TeleText, TeleTextEng, BokasViaKundId)
  VALUES ('K1', 'G)SQL" "\xE5" R"SQL(rden', '1', 'Storgatan 1', '111 22', 'Stockholm', 'SE', 'Torget', '01', '08-1',
          '070-1', '08-2', 'k1@x.se', '0771-1', 'boka.se', 'Ring vardagar', 'Call weekdays', 'BY');
INSERT INTO Konf (Kundid, KonfKontaktBokning, KonfTeleDir) VALUES ('K1', 'Anna', '08-7');
INSERT INTO Julb (Kundid, JulbAr, JulbTeleDir) VALUES ('K1', ')SQL" + ThisYear() + R"SQL(', '08-J');
INSERT INTO Kund (Kundid, Niva, Tele, TeleText) VALUES ('JL', '1', '08-3', 'Text');
INSERT INTO Julb (Kundid, JulbAr, JulbTeleDir) VALUES ('JL', ')SQL" + LastYear() + R"SQL(', '08-J');
INSERT INTO Kund (Kundid, Ftagnamn, Pstnr, Padress, Landskod, Land, Lankod)
  VALUES ('NO', 'Fjord', '0150', 'Oslo', 'NO', 'Norge', '99');
INSERT INTO Kund (Kundid, Ftagnamn, Adress, Padress, Landskod, VisaEjAdress, Lankod, Tele, VisaEjTele, Telefax)
  VALUES ('HID', 'Dold', 'Gatan 2', 'Uppsala', 'SE', 'J', '03', '018-1', 'J', '018-2');
INSERT INTO Kund (Kundid, Ftagnamn, Niva, Tele, EjDirektbokning, BokasViaKundId)
  VALUES ('AG', 'Stugan', '1', '08-egen', 'J', 'BY');
INSERT INTO Kund (Kundid, Ftagnamn, Niva, Tele, Epost, Hemsida, EjDirektbokning, BokasViaKundId)
  VALUES ('BY', 'Byr)SQL" "\xE5" R"SQL(n', '0', '08-byra', 'byra@x.se', 'byra.se/?a=1&b=2', 'J', 'ANNAN');
INSERT INTO Bokn (Kundid, BoknOmrade1, BoknKontaktOmrade1) VALUES ('BY', 'Norr', 'Per');
INSERT INTO Kund (Kundid, Ftagnamn, Tele, EjDirektbokning, BokasViaKundId)
  VALUES ('AGX', 'Ensam', '08-x', 'J', 'SAKNAS');
INSERT INTO Kund (Kundid, HemsidaCentralBokning, LogotypeCentralBokningFil, EpostCentralBokning)
  VALUES ('LOGO', 'boka.se', '/b/boka.gif', 'boka@boka.se');
INSERT INTO Laen (Lankod, Lannamn, LannamnE, LannamnD) VALUES
  ('01', 'Stockholms l)SQL" "\xE4" R"SQL(n', 'Stockholm County', ''),
  ('03', 'Uppsala l)SQL" "\xE4" R"SQL(n', '', '');
INSERT INTO Sprk (TextS, TextE) VALUES ('Bes)SQL" "\xF6" R"SQL(k', 'Visit'), ('Tel', 'Phone');
)SQL");
  }
};

TEST_F(KontaktTest, AddressWithCountyInTheRequestLanguage) {
  Page("K1");
  EXPECT_EQ(F().ADRESS(),
            "<b>G\xE5rden</b><br>Storgatan 1<br>111 22 Stockholm<br><br><b>Bes\xF6k:</b> Torget"
            "<br><br>Stockholms l\xE4n");
  EXPECT_EQ(F().ADRESSCRLF(), "Storgatan 1\r\n111 22 Stockholm\r\nBes\xF6k: Torget\r\nStockholms l\xE4n");
  Page("K1", "E");
  EXPECT_EQ(F().ADRESS(),
            "<b>G\xE5rden</b><br>Storgatan 1<br>111 22 Stockholm<br><br><b>Visit:</b> Torget<br><br>Stockholm County");
  Page("K1", "D");  // no German county name: the Swedish one
  EXPECT_EQ(F().ADRESSCRLF(), "Storgatan 1\r\n111 22 Stockholm\r\nBes\xF6k: Torget\r\nStockholms l\xE4n");
}

TEST_F(KontaktTest, ForeignPostalLineAndUnknownCounty) {
  Page("NO");
  EXPECT_EQ(F().ADRESS(), "<b>Fjord</b><br>NO-0150 Oslo<br>Norge");
  EXPECT_EQ(F().ADRESSCRLF(), "NO-0150 Oslo\r\nNorge");
}

TEST_F(KontaktTest, HiddenAddressShowsTheTownOnly) {
  Page("HID");
  RS().Debug = true;
  EXPECT_EQ(F().ADRESS(), "<b>Dold</b><br>Uppsala<br><br>Uppsala l\xE4n");
  EXPECT_EQ(F().ADRESSCRLF(), "Uppsala\r\nUppsala l\xE4n");
  // The county look-up is echoed in debug mode.
  const std::string echo = fx_->TakeOutput();
  EXPECT_NE(echo.find("SELECT Lannamn, LannamnE, LannamnD"), std::string::npos) << echo;
  EXPECT_NE(echo.find("WHERE Lankod = '03'"), std::string::npos) << echo;
}

TEST_F(KontaktTest, TelephoneTagsAndHideFlags) {
  Page("K1");
  EXPECT_EQ(F().TELEFON(), "Tel: 08-1<br>Mobil: 070-1<br>Fax: 08-2<br>Centr.bokn: 0771-1<br>Ring vardagar");
  EXPECT_EQ(F().TELEFONNR(), "08-1");
  EXPECT_EQ(F().TELEFAXNR(), "08-2");
  Page("K1", "E");
  EXPECT_EQ(F().TELEFON(), "Phone: 08-1<br>Mobil: 070-1<br>Fax: 08-2<br>Centr.bokn: 0771-1<br>Call weekdays");
  Page("HID");
  EXPECT_EQ(F().TELEFON(), "Fax: 018-2");
  EXPECT_EQ(F().TELEFONNR(), "&nbsp;");
  EXPECT_EQ(F().TELEFAXNR(), "018-2");
  Page("NO");
  EXPECT_EQ(F().TELEFON(), "&nbsp;");
}

TEST_F(KontaktTest, AgencyNumbersThenBackOnThePageCustomer) {
  Page("AG");
  EXPECT_EQ(F().TELEFON(), "Tel: 08-byra");
  EXPECT_EQ(F().TELEFONNR(), "08-byra");
  EXPECT_EQ(F().EPOST(), Mail("byra@x.se"));
  EXPECT_EQ(PageCustomer(), "AG");
  EXPECT_EQ(F().FaltText("Ftagnamn"), "Stugan");
  // An agency that is not there: nothing to show, and the page's customer back.
  Page("AGX");
  EXPECT_EQ(F().TELEFON(), "&nbsp;");
  EXPECT_EQ(PageCustomer(), "AGX");
  EXPECT_EQ(F().FaltText("Tele"), "08-x");
}

TEST_F(KontaktTest, AllContactDataInGroups) {
  Page("K1");
  const std::string general = "Tel: 08-1<br>Mobil: 070-1<br>Fax: 08-2<br>E-post: " + Mail("k1@x.se") +
                              "<br><b>Central bokning:</b><br>Tel: 0771-1<br>Hemsida: "
                              "<a href=\"http://boka.se\" target=_blank>boka.se</a>";
  EXPECT_EQ(F().TELEFONALLA(), general +
                                   "<br><b>Konferens:</b><br>Kontakta Anna<br>Tel: 08-7"
                                   "<br><b>Julbord:</b><br>Tel: 08-J<br><br>Ring vardagar");
  // Without the level flag: the general lines and the central booking only.
  RS().NivaOver0 = false;
  EXPECT_EQ(F().TELEFONALLA(), general);
  // Last year's buffet contact is left out.
  Page("JL");
  EXPECT_EQ(F().TELEFONALLA(), "Tel: 08-3<br><br>Text");
}

TEST_F(KontaktTest, AllContactDataOfTheAgencyWithThePageLevelFlag) {
  Page("AG");  // level 1; the agency itself is level 0
  EXPECT_EQ(F().TELEFONALLA(), "Tel: 08-byra<br>E-post: " + Mail("byra@x.se") +
                                   "<br><b>Bokningsbyr\xE5:</b><br><b>Norr</b><br>Per,  Tel: 08-byra, "
                                   " E-post: " + Mail("byra@x.se"));
  EXPECT_EQ(PageCustomer(), "AG");
}

TEST_F(KontaktTest, BookedViaShowsTheAgencyWithItsWebSite) {
  Page("K1");
  RS().Vad = "KONF";
  RS().AnvKat = "A\"><script>";
  RS().Avtal = "J&K";
  EXPECT_EQ(F().BOKASVIATELEFONALLA(),
            "Tel: 08-byra<br>E-post: " + Mail("byra@x.se") +
                "<br>Hemsida: <a href=\"/cgi-win/redir.exe?kundid=BY&sprak=S&anvkat=A%22%3E%3Cscript%3E"
                "&avtal=J%26K&url=http://byra.se/%3Fa%3D1%26b%3D2\" target=_top>byra.se/?a=1&b=2</a>"
                "<br><b>Bokningsbyr\xE5:</b><br><b>Norr</b><br>Per,  Tel: 08-byra,  E-post: " + Mail("byra@x.se"));
  EXPECT_EQ(PageCustomer(), "K1");
  EXPECT_EQ(F().FaltText("Ftagnamn"), "G\xE5rden");
}

TEST_F(KontaktTest, CentralBookingOfTheSecondCustomer) {
  Page("K1");
  RS().XKntKundId = "K1";
  EXPECT_EQ(F().XKNTTELEFONMM(), "Tel: 0771-1<br>Hemsida: <a href=\"http://boka.se\" target=_blank>boka.se</a>");
  RS().XKntKundId = "LOGO";  // a logo stands for the web-site line
  EXPECT_EQ(F().XKNTTELEFONMM(),
            "E-post: " + Mail("boka@boka.se") + "<br><a href=\"http://boka.se\" target=_blank>"
                                                "<img border=0 src=\"/b/boka.gif\"></a>");
  RS().XKntKundId = "NO";
  EXPECT_EQ(F().XKNTTELEFONMM(), "&nbsp;");
  for (const char* id : {"SAKNAS", "", "K1' OR '1'='1"}) {
    RS().XKntKundId = id;
    EXPECT_EQ(F().XKNTTELEFONMM(), "&nbsp;") << id;
  }
  EXPECT_EQ(F().q_temp.SQL.Items().back(), "WHERE KundId = 'K1'' OR ''1''=''1'");
  EXPECT_EQ(PageCustomer(), "K1");
}

TEST_F(KontaktTest, MailLink) {
  Page("K1");
  EXPECT_EQ(F().EPOST(), "<a href=\"mailto:Kontakt via Tallbrun <k1@x.se>\">k1@x.se</a>");
  Page("NO");
  EXPECT_EQ(F().EPOST(), "&nbsp;");
}

}  // namespace
