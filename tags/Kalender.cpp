// Calendar tags: the month of a tips page and of a customer's tip, the month
// chooser, the three-week conference availability strip and the award
// badge. Dates are taken from the request's start time, so that one request
// sees one day throughout.
#include <algorithm>
#include <cmath>
#include <string>

#include "app/Config.h"
#include "app/Foga.h"
#include "app/vemlo3f.h"
#include "gateway/HUtils.h"
#include "gateway/HttpEng.h"

namespace {

const char* const kManader[12] = {"Jan", "Feb", "Mar", "Apr", "Maj", "Jun",
                                  "Jul", "Aug", "Sep", "Okt", "Nov", "Dec"};

// The request's day, without the time of day.
TDateTime Idag() { return std::floor(RS().Starttid); }

// A two-digit year widened with the pivot 95: "09" is 2009, "97" is 1997.
std::string FyrsiffrigtAr(const std::string& ar) { return (ar <= "95" ? "20" : "19") + ar; }

// "Maj 2009" for the year-month code "0905"; "-" when the month is not 1 to 12.
// `ar` formats the widened year for the page.
template <class Fn>
std::string ArManText(TForm1& f, const std::string& kod, Fn ar) {
  const std::string manadText = kod.size() > 2 ? kod.substr(2, 2) : std::string();
  int manad = 0;
  for (char c : manadText) {
    if (c < '0' || c > '9') return "-";
    manad = manad * 10 + (c - '0');
  }
  if (manadText.empty() || manad < 1 || manad > 12) return "-";
  return Fogat(f.HamtaText(kManader[manad - 1]), ' ', ar(FyrsiffrigtAr(kod.substr(0, 2))));
}

}  // namespace

std::string TForm1::MANAD() {
  // The code comes from the request.
  return ArManText(*this, RS().ArMan, [](const std::string& ar) { return HttpHtmlEncode(ar); });
}

std::string TForm1::MANADTIPS() {
  const std::string tips = FaltText("Tips");
  if (tips.empty()) return "-";
  return ArManText(*this, tips, [](const std::string& ar) { return ar; });
}

std::string TForm1::MANADSLISTA() {
  int ar, manad, dag;
  DecodeDate(RS().Starttid, ar, manad, dag);
  int startAr = ar, startManad = manad - 6;
  if (startManad < 1) {
    startManad += 12;
    --startAr;
  }
  int slutAr = ar, slutManad = manad + 3;
  if (slutManad > 12) {
    slutManad -= 12;
    ++slutAr;
  }

  std::string r;
  while (startAr < slutAr || slutManad > startManad) {
    const std::string sex = IntToStr(1000000 + startAr * 100 + startManad);  // leading zeros kept
    const std::string kod = sex.substr(sex.size() - 4);
    Foga(r, "<option value=\"", kod, '"');
    if (kod == RS().ArMan) r += " selected";
    Foga(r, '>', HamtaText(kManader[startManad - 1]), ' ', IntToStr(startAr));
    if (++startManad > 12) {
      startManad = 1;
      ++startAr;
    }
  }
  return r;
}

std::string TForm1::KONFAKUTEN(const std::string& a) {
  const auto& rs = RS();
  const std::string_view font = a.empty() ? "<font size=-1>" : "";
  constexpr int kDagar = 22;
  const TDateTime idag = Idag();

  SokKonferensakuten(FaltText("Kundid"), idag);
  if (q_temp.Eof()) return HamtaText("Kontakta oss f\xF6r uppgift om ledig kapacitet.");

  // The strip's days: the day of the month and whether it is a Sunday.
  int dagnr[kDagar];
  bool sondag[kDagar];
  for (int i = 0; i < kDagar; ++i) {
    int ar, manad;
    DecodeDate(idag + i, ar, manad, dagnr[i]);
    sondag[i] = DayOfWeek(idag + i) == 1;
  }

  // Three rows of twenty-two cells, some four thousand characters in all.
  std::string r;
  r.reserve(4500);
  Foga(r, HamtaText("Dagar med lediga konferenslokaler f\xF6r minst"), ' ');
  if (rs.Antal == -1)
    r += "10 personer:<br>";
  else
    Foga(r, IntToStr(rs.Antal), ' ', HamtaText("personer", rs.Antal), ":<br>");

  Foga(r, "<table border=0 cellspacing=0 cellpadding=0 bgcolor=#", rs.Farg[1]);
  if (!a.empty()) Foga(r, " class=\"", a, '"');
  Foga(r, "><tr bgcolor=#", rs.Farg[3], '>');

  // Month row: one cell per month that the strip touches.
  for (int i = 0; i < kDagar; ++i) {
    if (i != 0 && dagnr[i] != 1) continue;
    const TDateTime d = idag + i;
    const int span = std::min(DaysInMonth(d) - dagnr[i] + 1, kDagar - i);
    Foga(r, "<td colspan=", IntToStr(span), '>', font, "<b>&nbsp;", InledVersal(HamtaText(FormatDateTime("mmm", d))),
         "&nbsp;</b></font></td>");
  }
  Foga(r, "<td>", font, "&nbsp;</font></td><td rowspan=3>", font, "&nbsp;</font></td>",
       "<td rowspan=3 valign=bottom>", font,
       "<img border=0 src=\"/bilder2/symbol/ledigt.gif\" width=11 height=11>&nbsp;",
       HamtaText("Ledig konferenslokal"), "<br>",
       "<img border=0 src=\"/bilder2/symbol/ledigtnatt.gif\" width=11 height=11>&nbsp;",
       HamtaText("Ledig konferenslokal och \xF6vernattning"), "</font></td></tr><tr bgcolor=#", rs.Farg[3], '>');

  // Day row, Sundays in red.
  for (int i = 0; i < kDagar; ++i) {
    const std::string dag = IntToStr(dagnr[i]);
    if (sondag[i])
      Foga(r, "<td valign=bottom align=right>", font, "<font color=#ff0000><b>&nbsp;", dag,
           "&nbsp;</b></font></font></td>");
    else
      Foga(r, "<td valign=bottom align=right>", font, "<b>&nbsp;", dag, "&nbsp;</b></font></td>");
  }
  Foga(r, "<td>", font, "<b>&nbsp;", HamtaText("Uppd."), "</b></font></td></tr><tr>");

  q_temp.First();
  const std::string text = q_temp.Text("Text");
  const std::string uppdaterad = FormatDateTime("d\"/\"m", q_temp.FieldByName("uppdaterad").AsDateTime());

  // Availability row: a symbol on the days that have a row, a bar on the others.
  auto markering = [&](int i) {
    Foga(r, font, sondag[i] ? "<font color=#ff0000><b>|</b>" : "<font color=#c0c0c0>|");
  };
  auto tomCell = [&](int i) {
    r += "<td align=right>";
    markering(i);
    r += "</font></font></td>";
  };
  int i = 0;
  for (; !q_temp.Eof(); q_temp.Next()) {
    // A day is a day: a time of day stored with the date does not move it.
    const TDateTime datum = std::floor(q_temp.FieldByName("datum").AsDateTime());
    for (; i < kDagar && datum >= idag + i; ++i) {
      if (datum > idag + i) {
        tomCell(i);
      } else {
        const TField antbaddar = q_temp.FieldByName("antbaddar");
        const std::string baddar = antbaddar.AsString();
        const bool natt = !baddar.empty() && baddar != "0" && (rs.Antal == -1 || antbaddar.AsInteger() >= rs.Antal);
        Foga(r, "<td align=right><img border=0 src=\"/bilder2/symbol/", natt ? "ledigtnatt.gif" : "ledigt.gif",
             "\" width=11 height=11>");
        markering(i);
        r += "</font></td>";
      }
    }
  }
  for (; i < kDagar; ++i) tomCell(i);
  q_temp.Close();

  Foga(r, "<td align=center>", font, "&nbsp;", uppdaterad, "</font></td></tr></table>", text);
  return r;
}

std::string TForm1::ARETSAMETIST() {
  struct Period {
    int fran[3], till[3];
    const char* kod;
    const char* marke;
  };
  static const Period kPerioder[] = {
      {{2013, 10, 1}, {2014, 1, 20}, "C7", "anmald"},
      {{2014, 1, 21}, {2014, 3, 31}, "D7", "finalist"},
      {{2014, 1, 24}, {2014, 9, 30}, "E7", "1pris"},
      {{2014, 1, 24}, {2014, 9, 30}, "F7", "2pris"},
      {{2014, 1, 24}, {2014, 9, 30}, "G7", "3pris"},
  };
  const std::string markning = AnsiUpperCase(FaltText("markning"));
  // Both ends of a period are whole days.
  const TDateTime idag = Idag();
  std::string marke;
  for (const auto& p : kPerioder) {
    if (markning.find(p.kod) == std::string::npos) continue;
    if (idag >= EncodeDate(p.fran[0], p.fran[1], p.fran[2]) && idag <= EncodeDate(p.till[0], p.till[1], p.till[2]))
      marke = p.marke;
  }
  if (marke.empty()) return {};
  return Fogat("<a href=\"", Config().AretsAmetistUrl,
               "\" target=_blank><img border=0 src=\"/images/symbols/aretsametist_", marke, ".gif\" alt=\"",
               HamtaText("\xC5rets Ametist"), "\"></a><br>");
}
