// Reading the request parameters into the request state.
#include <cerrno>
#include <cstdlib>

#include "app/Config.h"
#include "app/vemlo3f.h"

std::string TForm1::HamtaParmStr(const std::string& name) { return HttpFormField(name, ""); }

int32_t TForm1::HamtaParmInt(const std::string& name) {
  std::string v = HamtaParmStr(name);
  int32_t n;
  return !v.empty() && TryStrToInt(v, n) ? n : -1;
}

double TForm1::HamtaParmExt(const std::string& name) {
  std::string v = HamtaParmStr(name);
  if (v.empty()) return -1.0;
  // The number is written with "." or the decimal comma.
  for (auto& c : v)
    if (c == '.' || c == ',') c = '.';
  const char* begin = v.c_str();
  char* end = nullptr;
  errno = 0;
  double d = std::strtod(begin, &end);
  if (end == begin || *end != '\0' || errno == ERANGE) return -1.0;
  return d;
}

namespace {
// A list parameter: one value per line of the field's text, from element 1;
// the elements after the last value are emptied.
template <size_t M>
void FillList(std::array<std::string, M>& list, const std::string& text) {
  std::vector<std::string> lines = SplitLines(text);
  for (size_t i = 1; i < M; ++i) list[i] = i <= lines.size() ? lines[i - 1] : std::string();
}
// An address from the request that the page links to (a page to return to,
// a stylesheet, a background picture): one with a scheme other than http or
// https ("javascript:", "data:", ...) would run or show what the request
// brings, so it counts as not given. Blanks and control characters are
// passed over as a browser does; a relative address has no scheme.
std::string WebbAdress(const std::string& adress) {
  std::string schema;
  for (char c : adress) {
    auto u = static_cast<unsigned char>(c);
    if (u <= 32 || u == 127) continue;
    if (c == ':') {
      schema = LowerCase(schema);
      return schema == "http" || schema == "https" ? adress : std::string();
    }
    if (c == '/' || c == '\\' || c == '?' || c == '#') break;
    schema += c;
  }
  return adress;
}

}  // namespace

void TForm1::HamtaFormparametrar() {
  TRequestState& rs = RS();
  rs.Vad = AnsiUpperCase(HamtaParmStr("Vad"));
  rs.Funktion = AnsiUpperCase(HamtaParmStr("Funktion"));
  if (rs.Funktion == "KTIPS") rs.Funktion = "TIPS";
  if (rs.Funktion == "POPUP" || rs.Funktion.empty()) rs.Funktion = "FAKTA";
  rs.Mall = HamtaParmStr("Mall");
  if (rs.Mall.size() > 4 && LowerCase(rs.Mall.substr(rs.Mall.size() - 4)) == ".htm") rs.Mall.resize(rs.Mall.size() - 4);
  if (rs.Mall.empty()) rs.Mall = "facts";
  // The companion programs hand their own template on through the links.
  rs.BMall = HamtaParmStr("BMall");
  rs.Ftagnamn = AnsiUpperCase(HamtaParmStr("Ftagnamn"));
  rs.Avtal = AnsiUpperCase(HamtaParmStr("Avtal"));
  rs.AnvKat = AnsiUpperCase(HamtaParmStr("AnvKat"));
  rs.Fas = AnsiUpperCase(HamtaParmStr("Fas"));
  rs.Kedja = AnsiUpperCase(HamtaParmStr("Kedja"));
  rs.Bgcolor = AnsiUpperCase(HamtaParmStr("Bgcolor"));
  rs.Background = WebbAdress(HamtaParmStr("Background"));
  rs.Antal = HamtaParmInt("Antal");
  rs.Antbaddar = HamtaParmInt("Antbaddar");
  rs.Antrum = HamtaParmInt("Antrum");
  rs.Status = AnsiUpperCase(HamtaParmStr("Status"));
  rs.Niva = AnsiUpperCase(HamtaParmStr("Niva"));
  rs.UndhGenre = AnsiUpperCase(HamtaParmStr("UndhGenre"));
  rs.FdagInriktning = AnsiUpperCase(HamtaParmStr("FdagInriktning"));
  rs.XKntKundId = AnsiUpperCase(HamtaParmStr("XKntKundId"));
  rs.Stylesheet = WebbAdress(HamtaParmStr("Stylesheet"));
  rs.Visasida = WebbAdress(HamtaParmStr("Visasida"));
  rs.UppdateradDagar = HamtaParmInt("UppdateradDagar");
  rs.DebugBegart = AnsiUpperCase(HamtaParmStr("Debug")) == "J";
  // The echo shows the statements inside the page; the operator decides for
  // which clients.
  rs.Debug = rs.DebugBegart && DebugAllowedFor(Config(), HttpRemoteAddr());
  // The text travels on in the language-switch links.
  rs.VisaKontaktInfoText = HamtaParmStr("VisaKontaktInfo");
  rs.VisaKontaktInfo = AnsiUpperCase(rs.VisaKontaktInfoText) == "J";
  if (rs.Stylesheet.empty()) rs.Stylesheet = "/csslib/vexa2.css";
  FillList(rs.Kundid, AnsiUpperCase(HamtaParmStr("Kundid")));
  FillList(rs.Omrade, AnsiUpperCase(HamtaParmStr("Omrade")));
  FillList(rs.Kommun, AnsiUpperCase(HamtaParmStr("Kommun")));
  if (rs.Funktion == "TIPS") {
    rs.ArMan = HamtaParmStr("ArMan");
    if (rs.ArMan.empty()) rs.ArMan = FormatDateTime("yymm", rs.Starttid);
  } else {
    // A thread that serves many requests must not search the tips of an
    // earlier request's month.
    rs.ArMan.clear();
  }
  rs.Sprak = AnsiUpperCase(HamtaParmStr("Sprak"));
  rs.SprakSuffix = rs.Sprak;
  if (rs.Sprak == "E") {
    rs.SprakKatalog = "/e";
  } else if (rs.Sprak == "D") {
    rs.SprakKatalog = "/d";
  } else {
    rs.SprakKatalog.clear();
    rs.SprakSuffix.clear();
    rs.Sprak = "S";
  }

  if (rs.UppdateradDagar == -1) rs.UppdateradDagar = 7;
  rs.FelRubrik.clear();
  rs.FelText.clear();
  rs.FelaktigtAnrop = false;
  if (rs.Kundid[1].empty() && rs.Omrade[1].empty() && rs.Kommun[1].empty() && rs.Ftagnamn.empty() &&
      rs.Avtal.empty() && rs.Status.empty() && rs.Niva.empty() && rs.UndhGenre.empty() && rs.FdagInriktning.empty() &&
      rs.Kedja.empty() && rs.Funktion != "TIPS") {
    rs.FelRubrik = "Felaktigt anrop";
    rs.FelText =
        "Denna sida skulle egentligen inneh\xE5lla faktauppgifter om en anl\xE4ggning.<br>Pga\t"
        "ett felaktigt anrop saknas de parametrar som beh\xF6vs f\xF6r att selektera ut informationen. "
        "G\xF6r ett nytt f\xF6rs\xF6k, alternativt kontakta den som \xE4r ansvarig f\xF6r webbsidan du kommer "
        "ifr\xE5n.";
    rs.Mall = "ERROR";
    rs.FelaktigtAnrop = true;
  }
}
