// Tabs: which tabs the customer has, their images, and the two tab tags.
#include "app/Foga.h"
#include "app/vemlo3f.h"
#include "gateway/HDateTime.h"
#include "render/Sida.h"

namespace {
bool J(TForm1& f, const char* falt) { return f.FaltText(falt) == "J"; }

// A flag that several tabs ask for, read at its first use only.
class Flagga {
public:
  Flagga(TForm1& f, const char* falt) : f_(f), falt_(falt) {}
  bool operator()() {
    if (varde_ < 0) varde_ = J(f_, falt_) ? 1 : 0;
    return varde_ == 1;
  }

private:
  TForm1& f_;
  const char* falt_;
  int varde_ = -1;
};

// The position of a FLIK tag: one or two digits as a rule; any other form
// goes through the general conversion.
bool Position(const std::string& n, int32_t& p) {
  auto siffra = [](char c) { return c >= '0' && c <= '9'; };
  if (n.size() == 1 && siffra(n[0])) {
    p = n[0] - '0';
    return true;
  }
  if (n.size() == 2 && siffra(n[0]) && siffra(n[1])) {
    p = (n[0] - '0') * 10 + (n[1] - '0');
    return true;
  }
  return TryStrToInt(n, p);
}

// The Christmas tab is shown from 1 September to 24 December, from 1 July
// for a Christmas offer marked with this year, and always on a Christmas
// search.
bool JulFonsterOppet(TForm1& f) {
  const TRequestState& rs = RS();
  if (rs.Vad == "J") return true;
  int ar, manad, dag;
  DecodeDate(rs.Starttid, ar, manad, dag);
  const int t = manad * 100 + dag;
  if (t >= 901 && t <= 1224) return true;
  return f.FaltText("JulbAr") == FormatDateTime("yyyy", rs.Starttid) && t >= 701 && t <= 1224;
}
}  // namespace

void TForm1::ByggFlikar(TSida& sida) {
  TRequestState& rs = RS();
  const bool niva = rs.NivaOver0;
  auto n = [&](const char* falt) { return FaltHeltal(falt); };
  Flagga konf(*this, "Konferenslokal"), logi(*this, "Logi"), wend(*this, "Weekendresor");
  auto synlig = [&](const std::string& kod) -> bool {
    if (kod == "KUND") return true;
    if (kod == "KONF") return niva && konf();
    if (kod == "AKTV")
      return niva && (J(*this, "Aktivitetsarrangor") ||
                      (konf() && (n("AntAktivitet") > 0 || !FaltText("AktvEgenText").empty())));
    if (kod == "BOKN") return niva && J(*this, "Bokningsbyra");
    if (kod == "FDAG") return niva && J(*this, "Foredrag");
    if (kod == "LOGI") return niva && (logi() || n("AntBaddar") > 0 || n("AntRum") > 0);
    if (kod == "RFST")
      return niva && (J(*this, "Festlokal") ||
                      ((konf() || wend() || logi()) && (n("AntRest1") > 0 || !FaltText("RfstEgenText").empty())));
    if (kod == "WEND") return niva && wend();
    if (kod == "UNDH") return niva && J(*this, "Underhallning");
    if (kod == "JULB") return niva && J(*this, "Julbord") && JulFonsterOppet(*this);
    if (kod == "SPOK") return niva && NyhetFinns("SPOKEN");
    if (kod == "UDDA") return NyhetFinns("UDDARUM");
    if (kod == "BLEV") return niva && J(*this, "Branschleverantor");
    return false;
  };

  const std::string bas = Fogat(sida.flikKatalog, rs.SprakKatalog);
  const std::string matt = Fogat(" width=", sida.flikBredd, " height=", sida.flikHojd, " border=\"0\">");
  const std::string id = AnsiUpperCase(FaltText("Kundid"));
  int k = 0;
  const int antal = std::min(sida.flikAntal, 20);
  for (int i = 1; i <= antal; ++i) {
    const std::string& kod = rs.FlikKod[static_cast<size_t>(i)];
    if (!synlig(kod)) continue;
    ++k;
    const std::string c = AnsiLowerCase(kod);
    const auto plats = static_cast<size_t>(k);
    rs.FlikSynlig[plats] = kod;
    std::string& aktiv = rs.FlikBildAktiv[plats];
    aktiv.clear();
    Foga(aktiv, "<img src=\"", bas, "/flik", c, ".gif\"", matt);
    std::string& lank = rs.FlikBildLank[plats];
    lank.clear();
    Foga(lank, "<a href=#flik", c, id, "><img src=\"", bas, "/flik", c, "ej.gif\"", matt, "</a>");
  }
  const std::string tom = Fogat("<img src=\"", bas, "/flikingen.gif\"", matt);
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
  if (!Position(n, p)) return ingen;
  // Positions outside the page's room have no tab.
  if (p < 1 || p > 20) return ingen;
  auto i = static_cast<size_t>(p);
  return rs.AktuellFlik == rs.FlikSynlig[i] ? rs.FlikBildAktiv[i] : rs.FlikBildLank[i];
}

std::string TForm1::FLIKNAMN(const std::string& c) {
  return Fogat("<a name=flik", AnsiLowerCase(c), AnsiUpperCase(FaltText("Kundid")), "></a>");
}
