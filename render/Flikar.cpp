// Tabs: which tabs the customer has, their images, and the two tab tags.
#include "app/vemlo3f.h"
#include "render/Sida.h"

namespace {
bool J(TForm1& f, const char* falt) { return f.FaltText(falt) == "J"; }

// The Christmas tab is shown from 1 September to 24 December, from 1 July
// for a Christmas offer marked with this year, and always on a Christmas
// search.
bool JulFonsterOppet(TForm1& f) {
  const TRequestState& rs = RS();
  if (rs.Vad == "J") return true;
  std::string t = FormatDateTime("mmdd", rs.Starttid);
  if (t >= "0901" && t <= "1224") return true;
  return f.FaltText("JulbAr") == FormatDateTime("yyyy", rs.Starttid) && t >= "0701" && t <= "1224";
}
}  // namespace

void TForm1::ByggFlikar(TSida& sida) {
  TRequestState& rs = RS();
  const bool niva = rs.NivaOver0;
  auto n = [&](const char* falt) { return FaltHeltal(falt); };
  auto synlig = [&](const std::string& kod) -> bool {
    if (kod == "KUND") return true;
    if (kod == "KONF") return niva && J(*this, "Konferenslokal");
    if (kod == "AKTV")
      return niva && (J(*this, "Aktivitetsarrangor") ||
                      (J(*this, "Konferenslokal") && (n("AntAktivitet") > 0 || !FaltText("AktvEgenText").empty())));
    if (kod == "BOKN") return niva && J(*this, "Bokningsbyra");
    if (kod == "FDAG") return niva && J(*this, "Foredrag");
    if (kod == "LOGI") return niva && (J(*this, "Logi") || n("AntBaddar") > 0 || n("AntRum") > 0);
    if (kod == "RFST")
      return niva && (J(*this, "Festlokal") ||
                      ((J(*this, "Konferenslokal") || J(*this, "Weekendresor") || J(*this, "Logi")) &&
                       (n("AntRest1") > 0 || !FaltText("RfstEgenText").empty())));
    if (kod == "WEND") return niva && J(*this, "Weekendresor");
    if (kod == "UNDH") return niva && J(*this, "Underhallning");
    if (kod == "JULB") return niva && J(*this, "Julbord") && JulFonsterOppet(*this);
    if (kod == "SPOK") return niva && NyhetFinns("SPOKEN");
    if (kod == "UDDA") return NyhetFinns("UDDARUM");
    if (kod == "BLEV") return niva && J(*this, "Branschleverantor");
    return false;
  };

  const std::string bas = sida.flikKatalog + rs.SprakKatalog;
  const std::string matt = " width=" + sida.flikBredd + " height=" + sida.flikHojd + " border=\"0\">";
  const std::string id = AnsiUpperCase(FaltText("Kundid"));
  int k = 0;
  const int antal = std::min(sida.flikAntal, 20);
  for (int i = 1; i <= antal; ++i) {
    const std::string& kod = rs.FlikKod[static_cast<size_t>(i)];
    if (!synlig(kod)) continue;
    ++k;
    std::string c = AnsiLowerCase(kod);
    rs.FlikSynlig[static_cast<size_t>(k)] = kod;
    rs.FlikBildAktiv[static_cast<size_t>(k)] = "<img src=\"" + bas + "/flik" + c + ".gif\"" + matt;
    rs.FlikBildLank[static_cast<size_t>(k)] =
        "<a href=#flik" + c + id + "><img src=\"" + bas + "/flik" + c + "ej.gif\"" + matt + "</a>";
  }
  const std::string tom = "<img src=\"" + bas + "/flikingen.gif\"" + matt;
  for (int p = k + 1; p <= antal; ++p) {
    rs.FlikSynlig[static_cast<size_t>(p)].clear();
    rs.FlikBildAktiv[static_cast<size_t>(p)] = tom;
    rs.FlikBildLank[static_cast<size_t>(p)] = tom;
  }
  // Positions beyond this page's tabs hold nothing of an earlier page.
  for (int p = antal + 1; p <= 20; ++p) {
    rs.FlikSynlig[static_cast<size_t>(p)].clear();
    rs.FlikBildAktiv[static_cast<size_t>(p)].clear();
    rs.FlikBildLank[static_cast<size_t>(p)].clear();
  }
}

const std::string& TForm1::FLIK(const std::string& n) {
  static const std::string ingen = "&nbsp;";
  const TRequestState& rs = RS();
  int32_t p;
  if (!TryStrToInt(n, p)) return ingen;
  // Positions outside the page's room have no tab.
  if (p < 1 || p > 20) return ingen;
  auto i = static_cast<size_t>(p);
  return rs.AktuellFlik == rs.FlikSynlig[i] ? rs.FlikBildAktiv[i] : rs.FlikBildLank[i];
}

std::string TForm1::FLIKNAMN(const std::string& c) {
  return "<a name=flik" + AnsiLowerCase(c) + AnsiUpperCase(FaltText("Kundid")) + "></a>";
}
