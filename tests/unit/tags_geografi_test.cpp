// Distances, the county map, coordinates and the page-level area names.
#include "tags_offer_site.h"

namespace {

using Lines = std::vector<std::string>;

std::string Row(const std::string& font, const std::string& label, const std::string& km) {
  return "<tr><td>" + font + label + ":&nbsp;</font></td><td align=right>" + font + km + "km</font></td></tr>";
}

TEST(Avstand, RowsInOrderOnlyForGivenDistances) {
  TagFixture fx(R"SQL(
INSERT INTO Sprk (TextS, TextE) VALUES ('Flyg', 'Airport'), ('T)SQL" "\xE5" R"SQL(g', 'Train');
INSERT INTO Kund (Kundid, AvsSthlm, AvsMalmo, Ort1, AvsOrt1, Ort2, AvsOrt2, AvsInrFlyg, AvsUtrFlyg, AvsJvg, AvsHav)
VALUES ('K1', '110', '600', 'Sala', NULL, 'Enk)SQL" "\xF6" R"SQL(ping', '35', '25', '25', '2', '0,5');
)SQL");
  fx.Customer("K1");
  const std::string f = "<font size=-1>";
  EXPECT_EQ(fx.Form().AVSTAND(""), "<table border=0 cellpadding=0 cellspacing=0>" + Row(f, "Stockholm", "110") +
                                       Row(f, "Malm\xF6", "600") + Row(f, "Enk\xF6ping", "35") + Row(f, "Flyg", "25") +
                                       Row(f, "T\xE5g", "2") + Row(f, "Havet", "0,5") + "</table>");
  fx.Language("E");
  EXPECT_EQ(fx.Form().AVSTAND("avst"), "<table border=0 cellpadding=0 cellspacing=0 class=\"avst\">" +
                                           Row("", "Stockholm", "110") + Row("", "Malm\xF6", "600") +
                                           Row("", "Enk\xF6ping", "35") + Row("", "Airport", "25") +
                                           Row("", "Train", "2") + Row("", "Havet", "0,5") + "</table>");
}

TEST(Avstand, DifferentFlightDistancesAndNone) {
  TagFixture fx(R"SQL(
INSERT INTO Kund (Kundid, AvsInrFlyg, AvsUtrFlyg, AvsGbg) VALUES ('K1', '25', '60', NULL), ('K2', NULL, '60', NULL),
  ('K3', '', NULL, ''), ('K4', '15', NULL, '3');
)SQL");
  const std::string f = "<font size=-1>";
  const std::string t = "<table border=0 cellpadding=0 cellspacing=0>";
  fx.Customer("K1");
  EXPECT_EQ(fx.Form().AVSTAND(""), t + Row(f, "Flyg utrikes", "60") + Row(f, "Flyg inrikes", "25") + "</table>");
  fx.Customer("K2");
  EXPECT_EQ(fx.Form().AVSTAND(""), t + Row(f, "Flyg utrikes", "60") + "</table>");
  fx.Customer("K4");
  EXPECT_EQ(fx.Form().AVSTAND(""), t + Row(f, "G\xF6teborg", "3") + Row(f, "Flyg inrikes", "15") + "</table>");
  fx.Customer("K3");
  EXPECT_EQ(fx.Form().AVSTAND(""), "&nbsp;");
}

const char* kGeografi = R"SQL(
INSERT INTO Laen (Lankod, Lannamn, LannamnE, LannamnD) VALUES
  ('01', 'Stockholms l)SQL" "\xE4" R"SQL(n', 'Stockholm County', NULL),
  ('03', 'Uppsala l)SQL" "\xE4" R"SQL(n', 'Uppsala County', 'Uppsala'),
  ('14', 'V)SQL" "\xE4" R"SQL(stra G)SQL" "\xF6" R"SQL(talands l)SQL" "\xE4" R"SQL(n', NULL, NULL),
  ('25', 'Norrbottens l)SQL" "\xE4" R"SQL(n', 'Norrbotten County', NULL);
INSERT INTO Komm (Lankod, Kommkod, Kommnamn, Region) VALUES
  ('03', '80', 'Uppsala', 'S'), ('03', '81', 'Enk)SQL" "\xF6" R"SQL(ping', 'S'), ('01', '80', 'Stockholm', 'S'),
  ('14', '80', 'G)SQL" "\xF6" R"SQL(teborg', 'G'), ('25', '84', )SQL" "'\xC4" R"SQL(lvsbyn', 'M');
INSERT INTO Sprk (TextS, TextE) VALUES ('och', 'and');
INSERT INTO Kund (Kundid, Landskod, Lankod, XKoordinat, YKoordinat, Latitud, Longitud) VALUES
  ('K1', 'SE', '03', '6637000', '1602000', '59,858', '0'),
  ('K2', 'NO', '03', '0', '', NULL, '17,64'),
  ('K3', 'SE', NULL, NULL, NULL, NULL, NULL),
  ('K4', 'SE', '99', NULL, NULL, NULL, NULL),
  ('K5', 'SE', '14', NULL, NULL, NULL, NULL);
)SQL";

TEST(Sverigekarta, CountyMapForSwedishCustomers) {
  TagFixture fx(kGeografi);
  fx.Customer("K1");
  EXPECT_EQ(fx.Form().SVERIGEKARTA(), "<img border=0 src=\"/images/maps/facts/se03.gif\" alt=\"Uppsala l\xE4n\">");
  EXPECT_EQ(fx.Form().q_temp.SQL.Items(),
            (Lines{"SELECT Lannamn, LannamnE, LannamnD", "FROM [Tallbrun].[dbo].[Laen]", "WHERE Lankod = '03'"}));
  fx.Language("D");
  EXPECT_EQ(fx.Form().SVERIGEKARTA(), "<img border=0 src=\"/images/maps/facts/se03.gif\" alt=\"Uppsala\">");
  fx.Language("E");
  fx.Customer("K5");  // no English name: the Swedish one
  EXPECT_EQ(fx.Form().SVERIGEKARTA(), "<img border=0 src=\"/images/maps/facts/se14.gif\" alt=\"V\xE4stra G\xF6talands l\xE4n\">");
  for (const char* k : {"K2", "K3", "K4"}) {  // foreign, no county, unknown county
    fx.Customer(k);
    EXPECT_EQ(fx.Form().SVERIGEKARTA(), "") << k;
  }
}

TEST(Koordinater, ZeroAndEmptyAreNothing) {
  TagFixture fx(kGeografi);
  fx.Customer("K1");
  EXPECT_EQ(fx.Form().XKOORDINAT(), "6637000");
  EXPECT_EQ(fx.Form().YKOORDINAT(), "1602000");
  EXPECT_EQ(fx.Form().LATITUD(), "59,858");
  EXPECT_EQ(fx.Form().LONGITUD(), "");
  fx.Customer("K2");
  EXPECT_EQ(fx.Form().XKOORDINAT(), "");
  EXPECT_EQ(fx.Form().YKOORDINAT(), "");
  EXPECT_EQ(fx.Form().LATITUD(), "");
  EXPECT_EQ(fx.Form().LONGITUD(), "17,64");
}

class Omradesnamn : public ::testing::Test {
protected:
  Omradesnamn() : fx_(kGeografi) {}
  void Kommun(Lines v) {
    RS().Kommun = {};
    for (size_t i = 0; i < v.size(); ++i) RS().Kommun[i + 1] = v[i];
  }
  void Omrade(Lines v) {
    RS().Omrade = {};
    for (size_t i = 0; i < v.size(); ++i) RS().Omrade[i + 1] = v[i];
  }
  TagFixture fx_;
};

TEST_F(Omradesnamn, CountiesOfTheMunicipalities) {
  Kommun({"0380", "0381", "038", "01800", "1480"});
  EXPECT_EQ(fx_.Form().LANNAMN(), "Uppsala l\xE4n och V\xE4stra G\xF6talands l\xE4n");
  EXPECT_EQ(fx_.Form().q_temp.SQL.Items(),
            (Lines{"SELECT Lannamn, LannamnE, LannamnD", "FROM [Tallbrun].[dbo].[Laen]",
                   "WHERE (((Lankod = '03') OR (Lankod = '03') OR (Lankod = '14')))", "ORDER BY Lannamn"}));
  EXPECT_FALSE(fx_.Form().q_temp.Active());
  Kommun({"2584"});
  EXPECT_EQ(fx_.Form().LANNAMN(), "Norrbottens l\xE4n");
}

TEST_F(Omradesnamn, CountiesOfTheAreas) {
  Omrade({"SS", "25", "01", "03"});
  EXPECT_EQ(fx_.Form().LANNAMN(), "Norrbottens l\xE4n, Stockholms l\xE4n och Uppsala l\xE4n");
  fx_.Language("E");
  // Ordered by the English name; a county without one keeps its Swedish name.
  EXPECT_EQ(fx_.Form().LANNAMN(), "Norrbotten County, Stockholm County and Uppsala County");
  EXPECT_EQ(fx_.Form().q_temp.SQL.Items().back(), "ORDER BY LannamnE");
}

TEST_F(Omradesnamn, RegionsAloneNameEveryCounty) {
  Omrade({"SS", "SM"});
  EXPECT_EQ(fx_.Form().LANNAMN(),
            "Norrbottens l\xE4n, Stockholms l\xE4n, Uppsala l\xE4n och V\xE4stra G\xF6talands l\xE4n");
  EXPECT_EQ(fx_.Form().q_temp.SQL.Items(),
            (Lines{"SELECT Lannamn, LannamnE, LannamnD", "FROM [Tallbrun].[dbo].[Laen]", "ORDER BY Lannamn"}));
}

TEST_F(Omradesnamn, ListStopsAtTheFirstEmptyValue) {
  Omrade({"01", "", "03"});
  EXPECT_EQ(fx_.Form().LANNAMN(), "Stockholms l\xE4n");
}

TEST_F(Omradesnamn, RequestValuesAreQuoted) {
  Omrade({"01') OR ('1'='1"});
  EXPECT_EQ(fx_.Form().LANNAMN(), "");
  EXPECT_EQ(fx_.Form().q_temp.SQL[2], "WHERE (((Lankod = '01'') OR (''1''=''1')))");
  Kommun({"0'80"});
  EXPECT_EQ(fx_.Form().METAOMRADENAMN(), "");
  EXPECT_EQ(fx_.Form().q_temp.SQL[4], "WHERE ((((Komm.Lankod = '0''') AND (Komm.Kommkod = '80'))))");
}

TEST_F(Omradesnamn, MunicipalityKeywords) {
  Kommun({"0380", "0381", "03800"});
  EXPECT_EQ(fx_.Form().METAOMRADENAMN(), "enk\xF6ping, uppsala");
  EXPECT_EQ(fx_.Form().q_temp.SQL.Items(),
            (Lines{"SELECT Laen.Lannamn, Komm.Kommnamn", "FROM [Tallbrun].[dbo].[Komm] Komm",
                   " LEFT OUTER JOIN [Tallbrun].[dbo].[Laen] Laen", " ON  (Komm.Lankod = Laen.Lankod)",
                   "WHERE ((((Komm.Lankod = '03') AND (Komm.Kommkod = '80')) OR ((Komm.Lankod = '03') AND "
                   "(Komm.Kommkod = '81'))))",
                   "ORDER BY Lannamn, Kommnamn"}));
}

TEST_F(Omradesnamn, MunicipalityKeywordsOfRegionsAndCounties) {
  Omrade({"SM", "01"});
  // Sorted by county, then municipality; locale-aware lower case.
  EXPECT_EQ(fx_.Form().METAOMRADENAMN(), "\xE4lvsbyn, stockholm");
  EXPECT_EQ(fx_.Form().q_temp.SQL[4], "WHERE (((Komm.Region = 'M') OR (Komm.Lankod = '01')))");
  Omrade({"ZZ"});
  EXPECT_EQ(fx_.Form().METAOMRADENAMN(), "");
}

TEST(MetaKoder, DirectionAndGenreNames) {
  TagFixture fx(R"SQL(
INSERT INTO Fork (Tabell, Falt, Fork, Forknamn, ForknamnE) VALUES
  ('KUND', 'FdagInriktning', 'LE', 'Ledarskap', 'Leadership'), ('KUND', 'FdagInriktning', 'HU', 'Humor', 'Humour'),
  ('KUND', 'UndhGenre', 'JA', 'Jazz', 'Jazz');
)SQL");
  EXPECT_EQ(fx.Form().METAFDAGINRIKTNING(), "&nbsp;");
  EXPECT_EQ(fx.Form().METAUNDHGENRE(), "&nbsp;");
  RS().FdagInriktning = "LEHU";
  RS().UndhGenre = "JA";
  EXPECT_EQ(fx.Form().METAFDAGINRIKTNING(), "Humor,Ledarskap");
  EXPECT_EQ(fx.Form().METAUNDHGENRE(), "Jazz");
  fx.Language("E");
  EXPECT_EQ(fx.Form().METAFDAGINRIKTNING(), "Humour,Leadership");
  RS().UndhGenre = "XX";
  EXPECT_EQ(fx.Form().METAUNDHGENRE(), "&nbsp;");
}

}  // namespace
