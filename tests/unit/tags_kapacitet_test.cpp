// Capacity tables: conference and exhibition, lodging, restaurant and party,
// and the offer summary.
#include "tags_offer_site.h"

namespace {

const std::string kSprk = R"SQL(
INSERT INTO Sprk (TextS, TextSSing, TextE, TextESing) VALUES
  ('konferensrum', NULL, 'conference rooms', 'conference room'),
  ('kongresshallar', 'kongresshall', 'congress halls', 'congress hall'),
  ('Lokal', NULL, 'Room', NULL),
  ('Konferenslokaler', NULL, 'Conference rooms', NULL),
  ('rum', NULL, 'rooms', 'room');
)SQL";

TEST(KonfKapacitet, CountLinesUseTheSingularForOne) {
  TagFixture fx((kSprk + R"SQL(
INSERT INTO Kund (Kundid) VALUES ('K1');
INSERT INTO Konf (Kundid, AntKonfRum, AntKongressHall, AntGruppRum) VALUES ('K1', 3, 1, 0);
)SQL"));
  fx.Customer("K1");
  EXPECT_EQ(fx.Form().KONFKAPACITET(""), "<b>Konferenslokaler:</b><br>3 konferensrum<br>1 kongresshall");
  fx.Language("E");
  EXPECT_EQ(fx.Form().KONFKAPACITET(""), "<b>Conference rooms:</b><br>3 conference rooms<br>1 congress hall");
}

// A count shows when its number is above zero, as the field's text; the
// word is counted by the whole number.
TEST(KonfKapacitet, CountsAboveZeroAreWrittenAsStored) {
  TagFixture fx((kSprk + R"SQL(
INSERT INTO Kund (Kundid) VALUES ('K1'), ('K2');
INSERT INTO Konf (Kundid, AntKonfRum, AntKongressHall, AntGruppRum) VALUES
  ('K1', 0.25, 1.2, -2), ('K2', -1, NULL, 0);
)SQL"));
  fx.Customer("K1");
  EXPECT_EQ(fx.Form().KONFKAPACITET(""), "<b>Konferenslokaler:</b><br>0,25 konferensrum<br>1,2 kongresshall");
  fx.Language("E");
  EXPECT_EQ(fx.Form().KONFKAPACITET(""), "<b>Conference rooms:</b><br>0,25 conference rooms<br>1,2 congress hall");
  fx.Customer("K2");
  EXPECT_EQ(fx.Form().KONFKAPACITET(""), "&nbsp;");
}

TEST(KonfKapacitet, RoomTableHasAColumnPerRoomWithSeats) {
  TagFixture fx((kSprk + R"SQL(
INSERT INTO Kund (Kundid) VALUES ('K1');
INSERT INTO Konf (Kundid, KonfNamn1, AntBio1, AntSkol1, KonfNamn2, AntBio2, AntOar3, KonfNamn5, AntUsittn5, AntSsittn5)
VALUES ('K1', 'Aulan', 120, 60, 'Tomma salen', 0, 4, 'Lilla salen', 12, 8);
)SQL"));
  fx.Customer("K1");
  RS().Farg[3] = "ffeecc";
  const std::string f = "<font size=-2>";
  auto label = [&](const std::string& l) { return "<tr><td align=right>" + f + l + ":</font></td>"; };
  auto num = [&](const std::string& n) { return "<td align=center>" + f + "&nbsp;" + n + "</font></td>"; };
  // Room 2 has a name but no seats: no column. Room 3 has no name: its number.
  const std::string expected =
      "<b>Konferenslokaler:</b><br>"
      "<table border=0 cellpadding=1 cellspacing=0><tr bgcolor=#ffeecc><td align=right>" + f +
      "<b>Lokal:</b></font></td>"
      "<td align=center>" + f + "&nbsp;<b>Aulan</b></font></td>"
      "<td align=center>" + f + "&nbsp;<b>3</b></font></td>"
      "<td align=center>" + f + "&nbsp;<b>Lilla salen</b></font></td></tr>" +
      label("Biosittn") + num("120") + num("-") + num("-") + "</tr>" +
      label("Skolsittn") + num("60") + num("-") + num("-") + "</tr>" +
      label("U-bord") + num("-") + num("-") + num("12") + "</tr>" +
      label("Styr.bord") + num("-") + num("-") + num("8") + "</tr>" +
      label("\xD6" "ar") + num("-") + num("4") + num("-") + "</tr></table>";
  EXPECT_EQ(fx.Form().KONFKAPACITET(""), expected);
}

TEST(KonfKapacitet, ClassArgumentReplacesTheCellFont) {
  TagFixture fx((R"SQL(
INSERT INTO Kund (Kundid) VALUES ('K1');
INSERT INTO Konf (Kundid, AntBio1, AntUtsLokal, UtsYtaInomhus, UtsYta2) VALUES ('K1', 50, 1, 400, 300);
)SQL"));
  fx.Customer("K1");
  RS().Farg[3] = "c0c0c0";
  const std::string r = fx.Form().KONFKAPACITET("kap");
  EXPECT_FALSE(Contains(r, "<font size=-2>"));
  EXPECT_TRUE(Contains(r, "<table border=0 cellpadding=1 cellspacing=0 class=\"kap\"><tr bgcolor=#c0c0c0>"));
  EXPECT_TRUE(Contains(r, "<td align=center>&nbsp;<b>1</b></font></td>"));
  // The exhibition block follows the conference block, with its own table.
  const std::string utst =
      "<br><b>Utst\xE4llningsyta:</b><br>1 utst\xE4lln.lokaler<br>400 m<sup>2</sup> inomhus<br>"
      "<table border=0 cellpadding=1 cellspacing=0 class=\"kap\"><tr bgcolor=#c0c0c0><td align=right><b>Lokal:</b>"
      "</font></td><td align=center>&nbsp;<b>2</b></font></td></tr>"
      "<tr><td align=right>Yta i m<sup>2</sup>:</font></td><td align=center valign=bottom>&nbsp;300</font></td>"
      "</tr></table>";
  ASSERT_GE(r.size(), utst.size());
  EXPECT_EQ(r.substr(r.size() - utst.size()), utst);
}

TEST(Kapacitet, CustomerWithoutFiguresGetsNbspFromEveryTable) {
  TagFixture fx("INSERT INTO Kund (Kundid, Niva) VALUES ('K1', '1');"
                   "INSERT INTO Konf (Kundid, KonfNamn1) VALUES ('K1', 'Aulan');");
  fx.Customer("K1");
  EXPECT_EQ(fx.Form().KONFKAPACITET(""), "&nbsp;");
  EXPECT_EQ(fx.Form().KONFKAPACITET("kap"), "&nbsp;");
  EXPECT_EQ(fx.Form().LOGIKAPACITET(), "&nbsp;");
  EXPECT_EQ(fx.Form().RFSTKAPACITET(""), "&nbsp;");
  EXPECT_EQ(fx.Form().UTBUDKAPACITET(), "&nbsp;");
}

TEST(LogiKapacitet, CooperationBedsAndBreakdown) {
  TagFixture fx((kSprk + R"SQL(
INSERT INTO Fork (Tabell, Falt, Fork, Forknamn, ForknamnE) VALUES ('LOGI', 'LogiSamarbete', 'BW', 'Best Bo', 'Best Stay');
INSERT INTO Kund (Kundid) VALUES ('K1'), ('K2');
INSERT INTO Logi (Kundid, LogiSamarbete, AntBaddar, AntRum, AntEnkel, AntDubbel, AntAllergi, AntLagenhet, AntStugor)
VALUES ('K1', 'BW', 40, 1, 5, 10, 0, 2, 0);
INSERT INTO Logi (Kundid, AntStugor) VALUES ('K2', 6);
)SQL"));
  fx.Customer("K1");
  EXPECT_EQ(fx.Form().LOGIKAPACITET(),
            "Best Bo<br>40 b\xE4" "ddar<br>1 rum<br>Varav:<br>&nbsp;&nbsp;5 enkelrum<br>&nbsp;&nbsp;10 dubbelrum"
            "<br>2 l\xE4genheter");
  fx.Language("E");
  EXPECT_TRUE(Contains(fx.Form().LOGIKAPACITET(), "Best Stay<br>40 b\xE4" "ddar<br>1 room<br>"));
  // No breakdown: no "Varav:" line.
  fx.Language("S");
  fx.Customer("K2");
  EXPECT_EQ(fx.Form().LOGIKAPACITET(), "6 stugor");
}

TEST(RfstKapacitet, DiningRoomsGuestsAndPartyFloors) {
  TagFixture fx((R"SQL(
INSERT INTO Sprk (TextS, TextSSing) VALUES ('st)SQL" "\xE5" R"SQL(ende g)SQL" "\xE4" R"SQL(ster', 'st)SQL" "\xE5" R"SQL(ende g)SQL" "\xE4" R"SQL(st');
INSERT INTO Kund (Kundid) VALUES ('K1');
INSERT INTO Rfst (Kundid, AntMatsalar, AntRest1, AntRest3, AntFestvaningar, AntFestSittande, AntFestStaende,
                  AntSbord2, AntUbord2, AntSallskapsrum)
VALUES ('K1', 2, 80, 20, 1, 150, 1, 10, 3, 4);
)SQL"));
  fx.Customer("K1");
  RS().Farg[3] = "eeeeee";
  const std::string f = "<font size=-2>";
  auto head = [&](const std::string& l) {
    return "<table border=0 cellpadding=1 cellspacing=0><tr bgcolor=#eeeeee><td align=right>" + f + "<b>" + l +
           ":</b></font></td>";
  };
  auto label = [&](const std::string& l) { return "<tr><td align=right>" + f + l + ":</font></td>"; };
  auto cell = [&](const std::string& n) { return "<td align=right>" + f + "&nbsp;" + n + "</font></td>"; };
  auto bold = [&](const std::string& n) { return "<td align=right>" + f + "&nbsp;<b>" + n + "</b></font></td>"; };
  const std::string expected =
      "2 matsalar<br>" + head("Matsal") + bold("1") + bold("3") + "</tr>" + label("Platser") + cell("80") +
      cell("20") + "</tr></table>"
      "<br>1 festv\xE5ningar<br>Upp till 150 sittande g\xE4ster<br>Upp till 1 st\xE5" "ende g\xE4st<br>" +
      head("Festv\xE5ning") + bold("2") + "</tr>" + label("Sm\xE5" "bord") + cell("10") + "</tr>" +
      label("L\xE5ngbord") + cell("-") + "</tr>" + label("E-bord") + cell("-") + "</tr>" + label("U-bord") +
      cell("3") + "</tr></table><br>4 s\xE4llskapsrum";
  EXPECT_EQ(fx.Form().RFSTKAPACITET(""), expected);
  const std::string withClass = fx.Form().RFSTKAPACITET("fest");
  EXPECT_TRUE(Contains(withClass, "<table border=0 cellpadding=1 cellspacing=0 class=\"fest\">"));
  EXPECT_FALSE(Contains(withClass, "<font size=-2>"));
}

class UtbudKapacitet : public ::testing::Test {
protected:
  UtbudKapacitet()
      : fx_((R"SQL(
INSERT INTO Fork (Tabell, Falt, Fork, Forknamn) VALUES
  ('KUND', 'EgenInr', 'SP', 'Spa'), ('KUND', 'EgenInr', 'GO', 'Golfbana'),
  ('KUND', 'AktvInriktning', 'PA', 'Paintball'), ('KUND', 'UndhGenre', 'JA', 'Jazz');
INSERT INTO Sprk (TextS, TextSSing) VALUES ('pers. i aktivitet', 'person i aktivitet');
INSERT INTO Kund (Kundid, Niva, Konferenslokal, Festlokal, Julbord, Underhallning, EgenInr, AktvInriktning, UndhGenre)
VALUES ('K1', '1', 'J', 'N', 'J', 'J', 'SPGO', 'PA', 'JA'),
       ('K2', '0', NULL, NULL, NULL, NULL, 'SP', NULL, NULL);
INSERT INTO Konf (Kundid, AntBio1, UtsYta1) VALUES ('K1', 120, 0);
INSERT INTO Logi (Kundid, AntBaddar) VALUES ('K1', 40);
INSERT INTO Rfst (Kundid, AntFestSittande) VALUES ('K1', 150);
INSERT INTO Aktv (Kundid, AntAktivitet) VALUES ('K1', 1);
)SQL")) {}
  TagFixture fx_;
};

TEST_F(UtbudKapacitet, CategoriesCodeListsAndCapacity) {
  fx_.Customer("K1");
  EXPECT_EQ(fx_.Form().UTBUDKAPACITET(),
            "Konferenslokal<br>Julbord<br>Underh\xE5llning"
            "<br><b>Egenskaper/Inriktning:</b><br>Golfbana<br>Spa"
            "<br><b>Aktiviteter:</b><br>Paintball"
            "<br><b>Genre:</b><br>Jazz"
            "<br><b>Kapacitet:</b><br>120 konferens<br>40 b\xE4" "ddar<br>Upp till 150 sittande g\xE4ster i festv\xE5n."
            "<br>1 person i aktivitet");
}

TEST_F(UtbudKapacitet, OwnPropertiesOnlyAboveLevelZero) {
  fx_.Customer("K2");
  EXPECT_EQ(fx_.Form().UTBUDKAPACITET(), "&nbsp;");
  fx_.Customer("K1");
  RS().NivaOver0 = false;
  EXPECT_FALSE(Contains(fx_.Form().UTBUDKAPACITET(), "Egenskaper"));
  EXPECT_TRUE(Contains(fx_.Form().UTBUDKAPACITET(), "<b>Genre:</b><br>Jazz"));
}

}  // namespace
