// Month tags, the month chooser, the conference availability strip and the
// award badge, each at fixed request dates.
#include "app/Config.h"
#include "tags_offer_site.h"

namespace {

using Lines = std::vector<std::string>;

TEST(Manad, YearMonthCodes) {
  TagFixture fx("INSERT INTO Sprk (TextS, TextE) VALUES ('Maj', 'May');");
  const std::pair<const char*, const char*> cases[] = {
      {"0905", "Maj 2009"}, {"9612", "Dec 1996"}, {"9501", "Jan 2095"}, {"0001", "Jan 2000"},
      {"0913", "-"},        {"0900", "-"},        {"09", "-"},          {"", "-"},
      {"09x5", "-"},        {"0910", "Okt 2009"},
  };
  for (const auto& [kod, text] : cases) {
    RS().ArMan = kod;
    EXPECT_EQ(fx.Form().MANAD(), text) << kod;
  }
  fx.Language("E");
  RS().ArMan = "1005";
  EXPECT_EQ(fx.Form().MANAD(), "May 2010");
}

TEST(Manad, CodeFromTheRequestIsEscaped) {
  TagFixture fx;
  RS().ArMan = "<b05";
  EXPECT_EQ(fx.Form().MANAD(), "Maj 19&#60;b");
}

TEST(Manad, TipMonthOfTheCustomer) {
  TagFixture fx("INSERT INTO Kund (Kundid, Tips) VALUES ('K1', '1012'), ('K2', NULL), ('K3', '1013');");
  fx.Customer("K1");
  EXPECT_EQ(fx.Form().MANADTIPS(), "Dec 2010");
  fx.Customer("K2");
  EXPECT_EQ(fx.Form().MANADTIPS(), "-");
  fx.Customer("K3");
  EXPECT_EQ(fx.Form().MANADTIPS(), "-");
}

// The options' values and labels, one entry per option.
Lines Options(const std::string& list) {
  Lines out;
  for (size_t p = 0; (p = list.find("<option", p)) != std::string::npos; ++p)
    out.push_back(list.substr(p, list.find("<option", p + 1) - p));
  return out;
}

TEST(Manadslista, SixMonthsBackAndTwoAhead) {
  TagFixture fx;
  RS().Starttid = EncodeDate(2010, 3, 31) + EncodeTime(23, 59, 0);
  RS().ArMan = "1002";
  EXPECT_EQ(Options(fx.Form().MANADSLISTA()),
            (Lines{"<option value=\"0909\">Sep 2009", "<option value=\"0910\">Okt 2009", "<option value=\"0911\">Nov 2009",
                   "<option value=\"0912\">Dec 2009", "<option value=\"1001\">Jan 2010",
                   "<option value=\"1002\" selected>Feb 2010", "<option value=\"1003\">Mar 2010",
                   "<option value=\"1004\">Apr 2010", "<option value=\"1005\">Maj 2010"}));
}

TEST(Manadslista, AcrossTheTurnOfTheYearAndCentury) {
  TagFixture fx;
  RS().Starttid = EncodeDate(2010, 12, 1);
  Lines dec = Options(fx.Form().MANADSLISTA());
  ASSERT_EQ(dec.size(), 9u);
  EXPECT_EQ(dec.front(), "<option value=\"1006\">Jun 2010");
  EXPECT_EQ(dec.back(), "<option value=\"1102\">Feb 2011");

  RS().Starttid = EncodeDate(2010, 10, 15);  // the end falls in January of the next year
  Lines oct = Options(fx.Form().MANADSLISTA());
  ASSERT_EQ(oct.size(), 9u);
  EXPECT_EQ(oct.front(), "<option value=\"1004\">Apr 2010");
  EXPECT_EQ(oct.back(), "<option value=\"1012\">Dec 2010");

  RS().Starttid = EncodeDate(2000, 1, 1);
  RS().ArMan = "9907";
  Lines jan = Options(fx.Form().MANADSLISTA());
  ASSERT_EQ(jan.size(), 9u);
  EXPECT_EQ(jan.front(), "<option value=\"9907\" selected>Jul 1999");
  EXPECT_EQ(jan.back(), "<option value=\"0003\">Mar 2000");
}

// ------------------------------------------------------------ availability strip

const char* kAkuten = R"SQL(
INSERT INTO Sprk (TextS, TextE, TextSSing, TextESing) VALUES ('personer', 'people', 'person', 'person');
INSERT INTO Kund (Kundid) VALUES ('K1'), ('K2'), ('K3');
INSERT INTO Kfak (KundId, Datum, AntBaddar, AntBio, Text, Uppdaterad) VALUES
  ('K1', '2024-01-20', 0, 40, 'Ring oss!', '2024-01-18 09:00:00'),
  ('K1', '2024-01-23', 12, 40, NULL, '2024-01-19 09:00:00'),
  ('K2', '2024-01-21', 20, 50, NULL, '2024-01-19 00:00:00'),
  ('K2', '2024-01-22', 40, 50, NULL, '2024-01-19 00:00:00'),
  ('K2', '2024-01-24', 0, 50, NULL, '2024-01-19 00:00:00'),
  ('K2', '2024-01-25', NULL, 50, NULL, '2024-01-19 00:00:00'),
  ('K2', '2024-02-10', 1, 50, NULL, '2024-01-19 00:00:00'),
  ('K3', '2024-02-20', 0, 15, 'Leap', '2024-02-20 07:00:00'),
  ('K3', '2024-02-29', 3, 15, NULL, '2024-02-20 07:00:00'),
  ('K3', '2024-03-01', 3, 15, NULL, '2024-02-20 07:00:00'),
  ('K3', '2024-03-12', 3, 15, NULL, '2024-02-20 07:00:00');
INSERT INTO Kund (Kundid) VALUES ('K4');
INSERT INTO Kfak (KundId, Datum, AntBaddar, AntBio, Text, Uppdaterad) VALUES
  ('K4', '2024-05-08', 0, 40, 'Ny', '2024-05-03 08:00:00'),
  ('K4', '2024-05-08 18:30:00', 5, 40, NULL, '2024-05-03 08:00:00'),
  ('K4', '2024-05-10 09:00:00', 3, 40, NULL, '2024-05-03 08:00:00');
)SQL";

// The cells of the strip's availability row.
Lines AvailabilityCells(const std::string& r) {
  const std::string start = "Uppd.</b></font></td></tr><tr>";
  size_t b = r.find(start);
  if (b == std::string::npos) return {};
  b += start.size();
  size_t e = r.find("<td align=center>", b);
  Lines cells;
  for (size_t p = b; p < e;) {
    size_t q = r.find("</td>", p) + 5;
    cells.push_back(r.substr(p, q - p));
    p = q;
  }
  return cells;
}

class Konfakuten : public ::testing::Test {
protected:
  Konfakuten() : fx_(kAkuten) {
    RS().Farg[1] = "ffffff";
    RS().Farg[3] = "dddddd";
  }
  TagFixture fx_;
  const std::string f_ = "<font size=-1>";
  std::string Bar(bool sunday) const {
    return "<td align=right>" + f_ + (sunday ? "<font color=#ff0000><b>|</b>" : "<font color=#c0c0c0>|") +
           "</font></font></td>";
  }
  std::string Icon(const char* gif, bool sunday) const {
    return std::string("<td align=right><img border=0 src=\"/bilder2/symbol/") + gif + "\" width=11 height=11>" + f_ +
           (sunday ? "<font color=#ff0000><b>|</b>" : "<font color=#c0c0c0>|") + "</font></td>";
  }
};

TEST_F(Konfakuten, NoAvailabilityGivesTheContactText) {
  RS().Starttid = EncodeDate(2024, 6, 1);
  fx_.Customer("K1");
  EXPECT_EQ(fx_.Form().KONFAKUTEN(""), "Kontakta oss f\xF6r uppgift om ledig kapacitet.");
}

TEST_F(Konfakuten, StripOnTheTwentiethOfAThirtyOneDayMonth) {
  RS().Starttid = EncodeDate(2024, 1, 20) + EncodeTime(10, 30, 0);  // a Saturday
  fx_.Customer("K1");
  const std::string r = fx_.Form().KONFAKUTEN("");
  const std::string head =
      "Dagar med lediga konferenslokaler f\xF6r minst 10 personer:<br>"
      "<table border=0 cellspacing=0 cellpadding=0 bgcolor=#ffffff><tr bgcolor=#dddddd>"
      "<td colspan=12>" + f_ + "<b>&nbsp;Jan&nbsp;</b></font></td>"
      "<td colspan=10>" + f_ + "<b>&nbsp;Feb&nbsp;</b></font></td>"
      "<td>" + f_ + "&nbsp;</font></td><td rowspan=3>" + f_ + "&nbsp;</font></td><td rowspan=3 valign=bottom>" + f_ +
      "<img border=0 src=\"/bilder2/symbol/ledigt.gif\" width=11 height=11>&nbsp;Ledig konferenslokal<br>"
      "<img border=0 src=\"/bilder2/symbol/ledigtnatt.gif\" width=11 height=11>&nbsp;Ledig konferenslokal och "
      "\xF6vernattning</font></td></tr><tr bgcolor=#dddddd>"
      "<td valign=bottom align=right>" + f_ + "<b>&nbsp;20&nbsp;</b></font></td>"
      "<td valign=bottom align=right>" + f_ + "<font color=#ff0000><b>&nbsp;21&nbsp;</b></font></font></td>"
      "<td valign=bottom align=right>" + f_ + "<b>&nbsp;22&nbsp;</b></font></td>";
  ASSERT_GE(r.size(), head.size());
  EXPECT_EQ(r.substr(0, head.size()), head);
  EXPECT_TRUE(Contains(r, "<td valign=bottom align=right>" + f_ + "<b>&nbsp;10&nbsp;</b></font></td><td>" + f_ +
                              "<b>&nbsp;Uppd.</b></font></td></tr><tr>"));

  // Today and today + 3 have a free room; Sundays (21 and 28 January, 4 February) have red bars.
  Lines cells = AvailabilityCells(r);
  ASSERT_EQ(cells.size(), 22u);
  EXPECT_EQ(cells[0], Icon("ledigt.gif", false));
  EXPECT_EQ(cells[1], Bar(true));
  EXPECT_EQ(cells[2], Bar(false));
  EXPECT_EQ(cells[3], Icon("ledigtnatt.gif", false));
  for (int i : {4, 5, 6, 7, 9, 10, 11, 12, 13, 14, 16, 17, 18, 19, 20, 21}) EXPECT_EQ(cells[i], Bar(false)) << i;
  for (int i : {8, 15}) EXPECT_EQ(cells[i], Bar(true)) << i;

  // The update date of the first row and its text close the strip.
  const std::string tail = "<td align=center>" + f_ + "&nbsp;18/1</font></td></tr></table>Ring oss!";
  EXPECT_EQ(r.substr(r.size() - tail.size()), tail);
}

TEST_F(Konfakuten, BedsAgainstTheRequestedNumberOfPeople) {
  RS().Starttid = EncodeDate(2024, 1, 20);
  RS().Antal = 30;
  fx_.Customer("K2");
  const std::string r = fx_.Form().KONFAKUTEN("");
  const std::string heading = "Dagar med lediga konferenslokaler f\xF6r minst 30 personer:<br><table";
  EXPECT_EQ(r.substr(0, heading.size()), heading);
  EXPECT_TRUE(Contains(fx_.Form().q_temp.SQL.Items().at(6), "(Kfak.AntBio >= 30)"));
  Lines cells = AvailabilityCells(r);
  ASSERT_EQ(cells.size(), 22u);
  EXPECT_EQ(cells[1], Icon("ledigt.gif", true));       // 20 beds, fewer than 30
  EXPECT_EQ(cells[2], Icon("ledigtnatt.gif", false));  // 40 beds
  EXPECT_EQ(cells[4], Icon("ledigt.gif", false));      // 0 beds
  EXPECT_EQ(cells[5], Icon("ledigt.gif", false));      // no bed figure
  EXPECT_EQ(cells[21], Icon("ledigt.gif", false));     // the last day of the strip, 1 bed
  // No text of the first row: the strip ends with the table.
  EXPECT_EQ(r.substr(r.size() - 8), "</table>");

  RS().Antal = 1;
  EXPECT_TRUE(Contains(fx_.Form().KONFAKUTEN(""), "minst 1 person:<br>"));
  fx_.Language("E");
  RS().Antal = -1;
  Lines any = AvailabilityCells(fx_.Form().KONFAKUTEN(""));
  ASSERT_EQ(any.size(), 22u);
  EXPECT_EQ(any[1], Icon("ledigtnatt.gif", true));  // any bed counts without a number of people
  EXPECT_EQ(any[21], Icon("ledigtnatt.gif", false));
}

TEST_F(Konfakuten, LeapYearFebruaryAndClassArgument) {
  RS().Starttid = EncodeDate(2024, 2, 20);
  fx_.Customer("K3");
  const std::string r = fx_.Form().KONFAKUTEN("akut");
  EXPECT_FALSE(Contains(r, "<font size=-1>"));
  EXPECT_TRUE(Contains(r, "<table border=0 cellspacing=0 cellpadding=0 bgcolor=#ffffff class=\"akut\"><tr bgcolor=#dddddd>"
                          "<td colspan=10><b>&nbsp;Feb&nbsp;</b></font></td><td colspan=12><b>&nbsp;Mar&nbsp;</b>"));
  EXPECT_TRUE(Contains(r, "<b>&nbsp;29&nbsp;</b></font></td><td valign=bottom align=right><b>&nbsp;1&nbsp;</b>"));
  Lines cells = AvailabilityCells(r);
  ASSERT_EQ(cells.size(), 22u);
  auto icon = [](bool sunday) {
    return std::string("<td align=right><img border=0 src=\"/bilder2/symbol/ledigtnatt.gif\" width=11 height=11>") +
           (sunday ? "<font color=#ff0000><b>|</b>" : "<font color=#c0c0c0>|") + "</font></td>";
  };
  EXPECT_EQ(cells[9], icon(false));   // 29 February
  EXPECT_EQ(cells[10], icon(false));  // 1 March
  EXPECT_EQ(cells[21], icon(false));  // 12 March
  EXPECT_EQ(cells[12], "<td align=right><font color=#ff0000><b>|</b></font></font></td>");  // Sunday 3 March
  EXPECT_TRUE(Contains(r, "<td align=center>&nbsp;20/2</font></td></tr></table>Leap"));
}

TEST_F(Konfakuten, ADayWithTwoRowsHasOneCellAndATimeOfDayKeepsItsDay) {
  RS().Starttid = EncodeDate(2024, 5, 6);  // a Monday
  fx_.Customer("K4");
  const std::string r = fx_.Form().KONFAKUTEN("");
  Lines cells = AvailabilityCells(r);
  ASSERT_EQ(cells.size(), 22u);
  EXPECT_EQ(cells[2], Icon("ledigt.gif", false));  // the first row of 8 May decides
  EXPECT_EQ(cells[3], Bar(false));
  EXPECT_EQ(cells[4], Icon("ledigtnatt.gif", false));  // 10 May at nine
  EXPECT_EQ(cells[5], Bar(false));
  EXPECT_EQ(cells[6], Bar(true));  // Sunday 12 May
  EXPECT_EQ(cells[21], Bar(false));
  const std::string tail = "<td align=center>" + f_ + "&nbsp;3/5</font></td></tr></table>Ny";
  EXPECT_EQ(r.substr(r.size() - tail.size()), tail);
  // One month only: a single cell spans the whole strip.
  EXPECT_TRUE(Contains(r, "<tr bgcolor=#dddddd><td colspan=22>" + f_ + "<b>&nbsp;Maj&nbsp;</b></font></td><td>"));
}

// ------------------------------------------------------------ award badge

TEST(AretsAmetist, BadgeByMarkingAndDate) {
  TagFixture fx("INSERT INTO Kund (Kundid, Markning) VALUES ('K1', 'c7e7'), ('K2', 'AAC7'), ('K3', 'D7G7'), "
                "('K4', NULL);");
  auto badge = [&](const char* kundid, TDateTime when) {
    RS().Starttid = when;
    fx.Customer(kundid);
    return fx.Form().ARETSAMETIST();
  };
  const std::string link = "<a href=\"" + Config().AretsAmetistUrl + "\" target=_blank>";
  EXPECT_EQ(badge("K1", EncodeDate(2014, 2, 1)),
            link + "<img border=0 src=\"/images/symbols/aretsametist_1pris.gif\" alt=\"\xC5rets Ametist\"></a><br>");
  // Before the prize period the nomination still shows; both ends are whole days.
  EXPECT_TRUE(Contains(badge("K1", EncodeDate(2014, 1, 20) + EncodeTime(15, 0, 0)), "aretsametist_anmald.gif"));
  EXPECT_TRUE(Contains(badge("K2", EncodeDate(2013, 10, 1)), "aretsametist_anmald.gif"));
  EXPECT_EQ(badge("K2", EncodeDate(2013, 9, 30) + EncodeTime(23, 59, 0)), "");
  EXPECT_EQ(badge("K1", EncodeDate(2014, 1, 21)), "");  // between nomination and prize
  // The later row wins where periods overlap.
  EXPECT_TRUE(Contains(badge("K3", EncodeDate(2014, 3, 31) + EncodeTime(12, 0, 0)), "aretsametist_3pris.gif"));
  EXPECT_TRUE(Contains(badge("K3", EncodeDate(2014, 1, 23)), "aretsametist_finalist.gif"));
  EXPECT_TRUE(Contains(badge("K3", EncodeDate(2014, 9, 30) + EncodeTime(23, 0, 0)), "aretsametist_3pris.gif"));
  EXPECT_EQ(badge("K3", EncodeDate(2014, 10, 1)), "");
  EXPECT_EQ(badge("K4", EncodeDate(2014, 2, 1)), "");
}

}  // namespace
