// Prices, and the offer lists with their links to the companion programs.
#include "tags_offer_site.h"

namespace {

using Lines = std::vector<std::string>;

TEST(Priser, EveryRangeCase) {
  TagFixture fx(R"SQL(
INSERT INTO Kund (Kundid) VALUES ('L1'), ('L2'), ('L3'), ('L4'), ('L5'), ('L6'), ('L7');
INSERT INTO Logi (Kundid, PrisMin, PrisMax) VALUES
  ('L1', 500, 500), ('L2', 400, 600), ('L3', 0, 600), ('L4', 400, 0), ('L5', 0, 0), ('L6', NULL, 750.5),
  ('L7', 600, 400);
)SQL");
  const std::pair<const char*, const char*> cases[] = {
      {"L1", "Pris: 500 kr/pers"},
      {"L2", "Pris: 400 - 600 kr/pers"},
      {"L3", "Pris: Max 600 kr/pers"},
      {"L4", "Pris: Fr\xE5n 400 kr/pers"},
      {"L5", "&nbsp;"},
      {"L6", "Pris: Max 750,5 kr/pers"},  // the field's text, with the decimal comma
      {"L7", "Pris: 600 - 400 kr/pers"},  // written as stored, not reordered
  };
  for (const auto& [kundid, text] : cases) {
    fx.Customer(kundid);
    EXPECT_EQ(fx.Form().LOGIPRIS(), text) << kundid;
  }
}

TEST(Priser, TranslatedWordsAndBreakfast) {
  TagFixture fx(R"SQL(
INSERT INTO Sprk (TextS, TextE) VALUES ('Pris', 'Price'), ('kr/pers', 'SEK/person'), ('Fr)SQL" "\xE5" R"SQL(n', 'From');
INSERT INTO Fork (Tabell, Falt, Fork, Forknamn, ForknamnE) VALUES ('LOGI', 'InklFrukost', 'JA', 'Frukost ing)SQL" "\xE5" R"SQL(r', 'Breakfast included');
INSERT INTO Kund (Kundid) VALUES ('L1'), ('L2');
INSERT INTO Logi (Kundid, PrisMin, InklFrukost) VALUES ('L1', 900, 'JA'), ('L2', 0, 'JA');
)SQL");
  fx.Customer("L1");
  EXPECT_EQ(fx.Form().LOGIPRIS(), "Pris: Fr\xE5n 900 kr/pers<br>Frukost ing\xE5r");
  fx.Language("E");
  EXPECT_EQ(fx.Form().LOGIPRIS(), "Price: From 900 SEK/person<br>Breakfast included");
  // Breakfast without a price: no leading line break.
  fx.Customer("L2");
  EXPECT_EQ(fx.Form().LOGIPRIS(), "Breakfast included");
}

TEST(Priser, ConferenceDayAndFullDayBlocks) {
  TagFixture fx(R"SQL(
INSERT INTO Kund (Kundid) VALUES ('K1'), ('K2'), ('K3');
INSERT INTO Konf (Kundid, PrisDagMin, PrisDagMax, PrisDygnMin, PrisDygnMax) VALUES
  ('K1', 450, 550, 1200, 1200), ('K2', NULL, NULL, 0, 1500), ('K3', 0, 0, 0, 0);
)SQL");
  const std::string dag = "<b>Dagkonferens:</b><br>450 - 550 kr/pers<br>(inkl fm/em-kaffe, lunch och del i lokal, exkl moms)";
  const std::string dygn1 =
      "<b>Dygnskonferens:</b><br>1200 kr/pers<br>(inkl fm/em-kaffe, lunch, middag, logi och del i lokal, exkl moms)";
  fx.Customer("K1");
  EXPECT_EQ(fx.Form().KONFPRIS(), dag + "<br><br>" + dygn1);
  fx.Customer("K2");
  EXPECT_EQ(fx.Form().KONFPRIS(),
            "<b>Dygnskonferens:</b><br>Max 1500 kr/pers<br>(inkl fm/em-kaffe, lunch, middag, logi och del i lokal, "
            "exkl moms)");
  fx.Customer("K3");
  EXPECT_EQ(fx.Form().KONFPRIS(), "&nbsp;");
}

TEST(Priser, PackageTripPrice) {
  TagFixture fx("INSERT INTO Kund (Kundid) VALUES ('W1'), ('W2');"
                "INSERT INTO Wend (Kundid, WendPrisMin, WendPrisMax) VALUES ('W1', 1995, 2495);");
  fx.Customer("W1");
  EXPECT_EQ(fx.Form().WENDPRIS(), "Pris: 1995 - 2495 kr/pers");
  fx.Customer("W2");  // no Wend row at all
  EXPECT_EQ(fx.Form().WENDPRIS(), "&nbsp;");
}

// The offers of one customer around 15 March 2024.
const char* kOffers = R"SQL(
INSERT INTO Kund (Kundid) VALUES ('K1'), ('K2');
INSERT INTO Kopa (KopaId, Kundid, KopaNamn, KopaNamnEng, KopaVisasFom, KopaVisasTom) VALUES
  ('P2', 'K1', 'Vinterpaket', NULL, '2024-01-01', '2024-03-15'),
  ('P1', 'K1', 'Dagpaket', 'Day package', '2024-03-15', '2024-12-31'),
  ('P3', 'K1', 'Sommarpaket', 'Summer package', '2024-03-16', '2024-08-31'),
  ('P4', 'K1', 'Gammalt paket', NULL, '2023-01-01', '2024-03-14'),
  ('P5', 'K2', 'Annans paket', NULL, '2024-01-01', '2024-12-31');
INSERT INTO Fdpr (FdprId, Kundid, FdprNamn, FdprVisasFom, FdprVisasTom) VALUES
  ('F1', 'K1', 'Kommande', '2024-06-01', '2024-12-31'),
  ('F2', 'K1', 'Slut', '2023-01-01', '2024-03-14');
INSERT INTO Unpr (UnprId, Kundid, UnprNamn, UnprVisasFom, UnprVisasTom) VALUES
  ('U1', 'K1', 'Jazzkv)SQL" "\xE4" R"SQL(ll', '2025-01-01', '2025-12-31');
INSERT INTO Boob (BoobId, Kundid, BoobNamn, BoobVisasFom, BoobVisasTom) VALUES
  ('B1', 'K1', 'Slott', NULL, '2024-03-15');
INSERT INTO Akpr (AkprId, Kundid, AkprNamn, AkprnamnTy, AkprVisasFom, AkprVisasTom) VALUES
  ('A1', 'K1', 'Forsr)SQL" "\xE4" R"SQL(nning', 'Rafting', '2024-03-01', '2024-03-31');
INSERT INTO Wepa (WepaId, Kundid, WepaNamn, WepaVisasFom, WepaVisasTom) VALUES
  ('W1', 'K1', 'Spahelg', '2024-04-01', '2024-04-30');
)SQL";

class OfferLists : public ::testing::Test {
protected:
  OfferLists() : fx_(kOffers) {
    RS().Starttid = EncodeDate(2024, 3, 15) + EncodeTime(16, 45, 0);
    RS().Stylesheet = "/csslib/vexa2.css";
    fx_.Customer("K1");
  }
  std::string Base(const std::string& program) const {
    return "/cgi-win/" + program + "?funktion=fakta&kundid=K1&sprak=S&stylesheet=/csslib/vexa2.css";
  }
  TagFixture fx_;
};

TEST_F(OfferLists, StatementTestsTheWholePeriodOnTheRequestDay) {
  const std::string r = fx_.Form().KONFPAKET("", "", "");
  EXPECT_EQ(fx_.Form().q_temp.SQL.Items(),
            (Lines{"SELECT KopaId, Kopanamn, KopanamnEng, KopanamnTy", "FROM [Tallbrun].[dbo].[Kopa]",
                   "WHERE (Kundid = 'K1')", "  AND (KopaVisasFom <= '03/15/2024')",
                   "\tAND (KopaVisasTom >= '03/15/2024')", "ORDER BY KopaNamn"}));
  // Both ends of the period count; ended, future and other customers' packages are not listed.
  EXPECT_EQ(r, "-&nbsp;<a href=\"" + Base("vemalfa3.exe") + "&kopaid=P1\">Dagpaket</a><br>"
               "-&nbsp;<a href=\"" + Base("vemalfa3.exe") + "&kopaid=P2\">Vinterpaket</a>");
  EXPECT_FALSE(fx_.Form().q_temp.Active());
}

TEST_F(OfferLists, SomeListsTestOnlyTheEndOfThePeriod) {
  EXPECT_EQ(fx_.Form().FDAGPROGRAM("", "", ""),
            "-&nbsp;<a href=\"" + Base("vemgamma3.exe") + "&fdprid=F1\">Kommande</a>");
  EXPECT_EQ(fx_.Form().q_temp.SQL.Items(),
            (Lines{"SELECT FdprId, Fdprnamn, FdprnamnEng, FdprnamnTy", "FROM [Tallbrun].[dbo].[Fdpr]",
                   "WHERE (Kundid = 'K1')", "\tAND (FdprVisasTom >= '03/15/2024')", "ORDER BY FdprNamn"}));
  EXPECT_EQ(fx_.Form().UNDHPROGRAM("", "", ""),
            "-&nbsp;<a href=\"" + Base("vemdelta3.exe") + "&unprid=U1\">Jazzkv\xE4ll</a>");
  EXPECT_EQ(fx_.Form().q_temp.SQL[3], "\tAND (UnprVisasTom >= '03/15/2024')");
  EXPECT_EQ(fx_.Form().BOKNOBJEKT("", "", ""), "-&nbsp;<a href=\"" + Base("vemepsi3.exe") + "&boobid=B1\">Slott</a>");
  EXPECT_EQ(fx_.Form().q_temp.SQL[3], "  AND (BoobVisasTom >= '03/15/2024')");

  EXPECT_EQ(fx_.Form().AKTVPROGRAM("", "", ""),
            "-&nbsp;<a href=\"" + Base("vembeta3.exe") + "&akprid=A1\">Forsr\xE4nning</a>");
  EXPECT_EQ(fx_.Form().q_temp.SQL[3], "  AND (AkprVisasFom <= '03/15/2024')");
  EXPECT_EQ(fx_.Form().q_temp.SQL[4], "  AND (AkprVisasTom >= '03/15/2024')");
  // The package trip starts in April: nothing to list yet.
  EXPECT_EQ(fx_.Form().WENDPAKET("", "", ""), "Kontakta oss f\xF6r uppgift om paketresor.");
  EXPECT_EQ(fx_.Form().q_temp.SQL[4], "\tAND (WepaVisasTom >= '03/15/2024')");
  EXPECT_FALSE(fx_.Form().q_temp.Active());
}

TEST_F(OfferLists, NoRowsGiveTheContactText) {
  fx_.Customer("K2");
  EXPECT_EQ(fx_.Form().AKTVPROGRAM("", "", ""), "Kontakta oss f\xF6r uppgift om aktivitetsprogram.");
  EXPECT_EQ(fx_.Form().FDAGPROGRAM("", "", ""), "Kontakta oss f\xF6r uppgift om f\xF6redragsprogram.");
  EXPECT_EQ(fx_.Form().UNDHPROGRAM("", "", ""), "Kontakta oss f\xF6r uppgift om underh\xE5llningsprogram.");
  EXPECT_EQ(fx_.Form().BOKNOBJEKT("", "", ""), "Kontakta oss f\xF6r mer information.");
  RS().Starttid = EncodeDate(2025, 1, 1);
  EXPECT_EQ(fx_.Form().KONFPAKET("", "", ""), "Kontakta oss f\xF6r uppgift om konferenspaket.");
}

TEST_F(OfferLists, TargetAndScriptAttributes) {
  EXPECT_TRUE(Contains(fx_.Form().BOKNOBJEKT("_top", "", ""), "&boobid=B1\" target=\"_top\">Slott</a>"));
  EXPECT_TRUE(Contains(fx_.Form().BOKNOBJEKT("ram", "fakta1", ""),
                       "&boobid=B1\" target=\"ram\" onClick=\"showDiv('fakta1','fact','')\">Slott</a>"));
  // An element without a window gives neither attribute.
  EXPECT_TRUE(Contains(fx_.Form().BOKNOBJEKT("", "fakta1", ""), "&boobid=B1\">Slott</a>"));
}

TEST_F(OfferLists, NamesInTheRequestLanguageWithSwedishFallBack) {
  fx_.Language("E");
  const std::string r = fx_.Form().KONFPAKET("", "", "");
  EXPECT_TRUE(Contains(r, "&kopaid=P1\">Day package</a>"));
  EXPECT_TRUE(Contains(r, "&kopaid=P2\">Vinterpaket</a>"));
  EXPECT_TRUE(Contains(r, "&sprak=E&"));
  fx_.Language("D");
  EXPECT_TRUE(Contains(fx_.Form().AKTVPROGRAM("", "", ""), "\">Rafting</a>"));
  // German has a column of its own: the English names do not stand in for it.
  const std::string base = "/cgi-win/vemalfa3.exe?funktion=fakta&kundid=K1&sprak=D&stylesheet=/csslib/vexa2.css";
  EXPECT_EQ(fx_.Form().KONFPAKET("ram", "", ""),
            "-&nbsp;<a href=\"" + base + "&kopaid=P1\" target=\"ram\">Dagpaket</a><br>"
            "-&nbsp;<a href=\"" + base + "&kopaid=P2\" target=\"ram\">Vinterpaket</a>");
}

TEST_F(OfferLists, LinkKeepsTheRequestParameters) {
  auto& rs = RS();
  rs.Vad = "KONF";
  rs.Avtal = "GULD";
  rs.AnvKat = "FTG";
  rs.Mall = "facts";
  rs.Antal = 0;
  const std::string base = "/cgi-win/vemepsi3.exe?funktion=fakta&kundid=K1&mall=popup&vad=KONF&sprak=S";
  const std::string rest = "&avtal=GULD&anvkat=FTG&fmall=facts&stylesheet=/csslib/vexa2.css&boobid=B1\"";
  EXPECT_TRUE(Contains(fx_.Form().BOKNOBJEKT("", "", "popup"), base + rest)) << "no antal for 0";
  rs.Antal = 25;
  EXPECT_TRUE(Contains(fx_.Form().BOKNOBJEKT("", "", "popup"), base + "&antal=25" + rest));
}

TEST_F(OfferLists, RequestValuesCannotLeaveTheLinkAttribute) {
  RS().Vad = "\"><SCRIPT>ALERT(1)</SCRIPT>";
  RS().Stylesheet = "x\" onmouseover=\"steal()";
  const std::string r = fx_.Form().BOKNOBJEKT("", "", "");
  EXPECT_FALSE(Contains(r, "<SCRIPT>"));
  EXPECT_FALSE(Contains(r, "\" onmouseover"));
  EXPECT_TRUE(Contains(r, "&vad=%22%3E%3CSCRIPT%3EALERT%281%29%3C/SCRIPT%3E&"));
  EXPECT_TRUE(Contains(r, "&stylesheet=x%22+onmouseover%3D%22steal%28%29"));
}

TEST(OfferListsQuoting, CustomerIdIsQuotedInTheStatement) {
  TagFixture fx("INSERT INTO Kund (Kundid) VALUES ('O''K');"
                "INSERT INTO Boob (BoobId, Kundid, BoobNamn, BoobVisasTom) VALUES ('B9', 'O''K', 'Borg', '2099-12-31');");
  fx.Customer("O'K");
  EXPECT_TRUE(Contains(fx.Form().BOKNOBJEKT("", "", ""), "&boobid=B9\">Borg</a>"));
  EXPECT_EQ(fx.Form().q_temp.SQL[2], "WHERE (Kundid = 'O''K')");
}

}  // namespace
