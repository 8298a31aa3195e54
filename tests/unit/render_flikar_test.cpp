// The tab row of a page (which tabs a customer gets, their images, the tag
// positions), the section flags, the symbol row and the opening months.
#include "render/Sida.h"
#include "render/TagTable.h"
#include "tags_customer_module.h"

namespace {

class FlikTest : public TagTest {
protected:
  void SetUp() override {
    Data(R"SQL(
INSERT INTO Kund (Kundid, Niva, Konferenslokal, Logi, Weekendresor, Julbord) VALUES
  ('K1', '1', 'J', '', '', 'J'),
  ('W1', '1', '', '', 'J', ''),
  ('L1', '1', '', 'J', '', ''),
  ('N1', '1', '', '', '', ''),
  ('K0', '0', 'J', '', '', '');
INSERT INTO Rfst (Kundid, AntRest1) VALUES ('K1', 40), ('W1', 20);
INSERT INTO Julb (Kundid, JulbAr) VALUES ('K1', '2023');
)SQL");
  }

  // Builds the tabs of the page customer from the codes in `koder`.
  void Flikar(std::initializer_list<const char*> koder) {
    sida_.flikAntal = static_cast<int>(koder.size()) + 1;  // one position left over
    sida_.flikBredd = "80";
    sida_.flikHojd = "20";
    size_t i = 1;
    for (const char* k : koder) RS().FlikKod[i++] = k;
    RS().FlikKod[i].clear();
    F().ByggFlikar(sida_);
  }
  // The visible tabs of all 20 positions, "|" after each.
  std::string Synliga() {
    std::string s;
    for (size_t i = 1; i <= 20; ++i) s += RS().FlikSynlig[i] + "|";
    return s;
  }
  static std::string Rad(std::initializer_list<const char*> koder) {
    std::string s;
    for (const char* k : koder) s += std::string(k) + "|";
    return s + std::string(20 - koder.size(), '|');
  }

  TSida sida_;
};

TEST_F(FlikTest, ImagesOfVisibleTabsThenEmptyPositions) {
  Page("K1");
  Flikar({"KUND", "LOGI", "KONF"});
  EXPECT_EQ(Synliga(), Rad({"KUND", "KONF"}));
  const std::string bas = "/bilder2/kund/fakta" + RS().SprakKatalog;
  EXPECT_EQ(RS().FlikBildAktiv[2], "<img src=\"" + bas + "/flikkonf.gif\" width=80 height=20 border=\"0\">");
  EXPECT_EQ(RS().FlikBildLank[2],
            "<a href=#flikkonfK1><img src=\"" + bas + "/flikkonfej.gif\" width=80 height=20 border=\"0\"></a>");
  const std::string tom = "<img src=\"" + bas + "/flikingen.gif\" width=80 height=20 border=\"0\">";
  EXPECT_EQ(RS().FlikBildAktiv[3], tom);
  EXPECT_EQ(RS().FlikBildLank[4], tom);
  EXPECT_EQ(RS().FlikBildLank[5], "");

  // A second page in the same request state leaves nothing of the first.
  Page("N1");
  Flikar({"LOGI", "KUND"});
  EXPECT_EQ(Synliga(), Rad({"KUND"}));
  EXPECT_EQ(RS().FlikBildAktiv[1], "<img src=\"" + bas + "/flikkund.gif\" width=80 height=20 border=\"0\">");
  EXPECT_EQ(RS().FlikBildLank[2], tom);
  EXPECT_EQ(RS().FlikBildLank[4], "");
}

TEST_F(FlikTest, SharedFlagsAndLevel) {
  // The restaurant tab: a venue kind with restaurant seats.
  for (const char* kund : {"K1", "W1"}) {
    Page(kund);
    Flikar({"RFST", "WEND", "KONF"});
    EXPECT_EQ(RS().FlikSynlig[1], "RFST") << kund;
  }
  EXPECT_EQ(RS().FlikSynlig[2], "WEND");
  Page("L1");  // lodging without seats
  Flikar({"RFST", "LOGI"});
  EXPECT_EQ(Synliga(), Rad({"LOGI"}));
  Page("K0");  // level 0: the customer tab only
  Flikar({"KONF", "KUND"});
  EXPECT_EQ(Synliga(), Rad({"KUND"}));
}

TEST_F(FlikTest, ChristmasTabByDate) {
  Page("K1");
  struct Fall {
    int ar, manad, dag;
    bool synlig;
  };
  for (const Fall& f : {Fall{2024, 8, 31, false}, Fall{2024, 9, 1, true}, Fall{2024, 12, 24, true},
                        Fall{2024, 12, 25, false}, Fall{2023, 7, 1, true}, Fall{2023, 6, 30, false},
                        Fall{2023, 12, 25, false}}) {
    RS().Starttid = EncodeDate(f.ar, f.manad, f.dag) + EncodeTime(23, 59, 0);
    Flikar({"JULB"});
    EXPECT_EQ(RS().FlikSynlig[1] == "JULB", f.synlig) << f.ar << "-" << f.manad << "-" << f.dag;
  }
}

TEST_F(FlikTest, TagPositions) {
  Page("K1");
  for (size_t i = 1; i <= 20; ++i) {
    RS().FlikSynlig[i] = "X" + std::to_string(i);
    RS().FlikBildAktiv[i] = "a" + std::to_string(i);
    RS().FlikBildLank[i] = "l" + std::to_string(i);
  }
  RS().AktuellFlik = "X3";
  EXPECT_EQ(F().FLIK("3"), "a3");
  EXPECT_EQ(F().FLIK("03"), "a3");
  EXPECT_EQ(F().FLIK("1"), "l1");
  EXPECT_EQ(F().FLIK("20"), "l20");
  // Other written forms of a number still count.
  EXPECT_EQ(F().FLIK(" 2"), "l2");
  EXPECT_EQ(F().FLIK("+4"), "l4");
  EXPECT_EQ(F().FLIK("$A"), "l10");
  EXPECT_EQ(F().FLIK("005"), "l5");
  for (const char* ingen : {"0", "21", "99", "-1", "", "x", "1x", "2 "}) EXPECT_EQ(F().FLIK(ingen), "&nbsp;") << ingen;
}

class SektionTest : public TagTest {
protected:
  void SetUp() override {
    Data(R"SQL(
INSERT INTO Kund (Kundid, Niva, Aktivitetsarrangor, Konferenslokal, Weekendresor, Logi, Festlokal, Geokodstatus)
  VALUES ('A', '1', 'J', '', '', '', '', '12'),
         ('K', '1', '', 'J', '', '', '', '13'),
         ('W', '1', '', '', 'J', '', '', '3'),
         ('F', '0', '', '', '', '', 'J', ''),
         ('N', '0', '', '', '', '', '', '4');
)SQL");
  }
  bool Karta() {
    for (const TTagg& t : Sektionstaggar())
      if (std::string_view(t.namn) == "STARTKARTA") return t.handling(F(), sida_, bit_);
    ADD_FAILURE() << "no STARTKARTA";
    return false;
  }
  TSida sida_;
  TBlockBit bit_;
};

TEST_F(SektionTest, VenueActivityAndWeekendFlags) {
  struct Fall {
    const char* kund;
    bool plats, aktivitet, weekend, karta;
  };
  for (const Fall& f : {Fall{"A", true, true, false, true}, Fall{"K", true, true, false, false},
                        Fall{"W", true, false, true, true}, Fall{"F", true, false, false, false},
                        Fall{"N", false, false, false, false}}) {
    Page(f.kund);
    F().BeraknaSektioner(sida_);
    EXPECT_EQ(sida_.plats, f.plats) << f.kund;
    EXPECT_EQ(sida_.aktivitet, f.aktivitet) << f.kund;
    EXPECT_EQ(sida_.weekend, f.weekend) << f.kund;
    EXPECT_EQ(Karta(), f.karta) << f.kund;
  }
}

class SymbolTest : public TagTest {
protected:
  void SetUp() override {
    Data(R"SQL(
INSERT INTO Kund (Kundid, Klassificering, Oppet) VALUES ('S1', '4', 'JFM'), ('S2', '', 'JFMAMJJASOND'),
  ('S3', '', '');
INSERT INTO Logi (Kundid, AntRum) VALUES ('S1', 12), ('S2', 30);
)SQL");
  }
};

TEST_F(SymbolTest, CapacitiesAndMarksOnTwoLines) {
  Page("S1");
  EXPECT_EQ(F().SYMBOLER(),
            "<img border=0 src=\"/bilder2/symbol/rum.gif\" width=20 height=20 alt=\"Antal rum\" title=\"Antal rum\">"
            "&nbsp;<font size=-1>12</font>&nbsp;&nbsp;<br>"
            "<img border=0 src=\"/bilder2/symbol/stars17_4.gif\" alt=\"Klassificering\" title=\"Klassificering\">"
            "&nbsp;&nbsp;");
  Page("S2");  // capacities only: no line break
  EXPECT_EQ(F().SYMBOLER(),
            "<img border=0 src=\"/bilder2/symbol/rum.gif\" width=20 height=20 alt=\"Antal rum\" title=\"Antal rum\">"
            "&nbsp;<font size=-1>30</font>&nbsp;&nbsp;");
  Page("S3");
  EXPECT_EQ(F().SYMBOLER(), "");
}

TEST_F(SymbolTest, OpeningMonths) {
  Page("S1");  // a short text: the months after it are closed
  const std::string td = "<td><img src=\"/bilder2/symbol" + RS().SprakKatalog;
  const std::string borjan = "<table border=0 cellpadding=0 cellspacing=0><tr>" + td +
                             "/oppet.gif\" height=11 alt=\"\xD6ppetm\xE5nader\" border=0></td>";
  std::string man;
  for (int m = 1; m <= 12; ++m)
    man += td + "/man" + std::to_string(m) + (m <= 3 ? "" : "ej") + ".gif\" height=11 border=0></td>";
  EXPECT_EQ(F().OPPET(), borjan + man + "</tr></table>");
  Page("S2");
  EXPECT_EQ(F().OPPET(), borjan + td + "/helaaret.gif\" height=11 border=0></td></tr></table>");
  Page("S3");
  EXPECT_EQ(F().OPPET(), "&nbsp;");
}

}  // namespace
