// Page control tags: body attributes, stylesheet, title, request
// information, the language switch, anchors and ids, the tip badge, level
// and languages, and the symbol row.
#include "app/Config.h"
#include "app/Foga.h"
#include "app/vemlo3f.h"
#include "tags/Taggdelar.h"

std::string TForm1::BAKGRUND() {
  const TRequestState& rs = RS();
  std::string r;
  if (!rs.Background.empty()) Foga(r, " background=\"", HttpHtmlEncode(rs.Background), '"');
  if (!rs.Bgcolor.empty()) Foga(r, " bgcolor=\"#", HttpHtmlEncode(rs.Bgcolor), '"');
  if (r.empty()) r = " background=\"/bilder2/bakgrund/qvlogo.gif\"";
  return r;
}

std::string TForm1::STYLESHEETDEF() {
  const std::string& s = RS().Stylesheet;
  if (s.empty()) return {};
  return Fogat("<link rel=\"Stylesheet\" type=\"text/css\" href=\"", HttpHtmlEncode(s), "\">");
}

std::string TForm1::TITEL() {
  q_dbqv.First();
  std::string namn = q_dbqv.Eof() ? std::string() : q_dbqv.Text("Ftagnamn");
  if (q_dbqv.RecordCount() > 1) namn += " m fl";
  return namn;
}

std::string TForm1::INFO() {
  const std::string t = FormatDateTime("yyyy\"-\"mm\"-\"dd hh\":\"nn\":\"ss", RS().Starttid);
  return Fogat("<!REMOTE_ADDRESS=", HttpHtmlEncode(HttpRemoteAddr()), ">\r\n<!REMOTE_HOST=",
               HttpHtmlEncode(HttpRemoteHost()), ">\r\n<!PATH=", HttpHtmlEncode(HttpExecutablePath()),
               ">\r\n<!DATETIME=", t, ">\r\n");
}

std::string TForm1::AVSKILJARE() { return "<br><br><hr><br><br>"; }

std::string TForm1::ID() {
  const std::string k = AnsiUpperCase(FaltText("Kundid"));
  return Fogat("<!ID=", k, "><a name=", k, "></a>");
}

std::string TForm1::KUNDID() { return AnsiUpperCase(FaltText("Kundid")); }

std::string TForm1::NIVA() { return Nbsp(HamtaForknamn1("KUND", "Niva", FaltText("Niva"))); }

std::string TForm1::SPRAK() { return Nbsp(HamtaForknamn("KUND", "Sprak", FaltText("Sprak"), "<br>")); }

std::string TForm1::TIPS() {
  if (!Contains(FaltText("Tips"), FormatDateTime("yymm", RS().Starttid))) return std::string();
  return Fogat("<img src=\"/bilder2/symbol", RS().SprakKatalog, "/tips.gif\" width=100 height=40 alt=\"",
               HamtaText("M\xE5nadens tips"), "\" border=0 align=right>");
}

std::string TForm1::BYTSPRAK() {
  const TRequestState& rs = RS();
  std::string p;
  p.reserve(256);
  auto del = [&](const char* namn, const std::string& v) {
    // Form-encoded, the value comes back as itself and never as a parameter
    // of its own ("&", "=" and "#" are encoded); the result is also safe in
    // the attribute.
    if (!v.empty()) Foga(p, '&', namn, '=', HttpUrlEncode(v));
  };
  auto lista = [&](const char* namn, const auto& v) {
    for (size_t i = 1; i < v.size(); ++i) del(namn, v[i]);
  };
  auto tal = [&](const char* namn, int32_t v) {
    if (v != 0) Foga(p, '&', namn, '=', IntToStr(v));
  };
  del("vad", rs.Vad);
  del("funktion", rs.Funktion);
  del("mall", rs.Mall);
  del("bmall", rs.BMall);
  del("ftagnamn", rs.Ftagnamn);
  del("kedja", rs.Kedja);
  del("avtal", rs.Avtal);
  del("anvkat", rs.AnvKat);
  del("fas", rs.Fas);
  lista("kundid", rs.Kundid);
  lista("omrade", rs.Omrade);
  lista("kommun", rs.Kommun);
  del("bgcolor", rs.Bgcolor);
  del("background", rs.Background);
  tal("antal", rs.Antal);
  tal("antbaddar", rs.Antbaddar);
  tal("antrum", rs.Antrum);
  del("arman", rs.ArMan);
  del("status", rs.Status);
  del("niva", rs.Niva);
  del("undhgenre", rs.UndhGenre);
  del("fdaginriktning", rs.FdagInriktning);
  del("visakontaktinfo", rs.VisaKontaktInfoText);
  del("stylesheet", rs.Stylesheet);

  struct Sprak {
    const char* kod;
    const char* bokstav;
    const char* namn;
  };
  static const Sprak sprak[] = {{"S", "s", "Svenska"}, {"E", "e", "English"}, {"D", "d", "Deutsch"}};
  std::string r;
  r.reserve(2 * (p.size() + 160));
  for (const auto& s : sprak) {
    if (rs.Sprak == s.kod) continue;
    Foga(r, "<a href=\"/cgi-win/vemlo3.exe?sprak=", s.bokstav, p, "\"><img src=\"/images/symbols/flagga_", s.bokstav,
         ".gif\" alt=\"", s.namn, "\" title=\"", s.namn, "\" width=20 height=12 border=0></a>&nbsp;");
  }
  return r;
}

std::string TForm1::SYMBOLER() {
  const SiteConfig& c = Config();
  struct Kapacitet {
    const char* falt;
    const char* fil;
    const char* text;
  };
  static const Kapacitet kapaciteter[] = {
      {"AntBio1", "maxbio.gif", "Antal personer i st\xF6rsta konferenslokal"},
      {"AntBaddar", "baddar.gif", "Antal b\xE4" "ddar"},
      {"AntRum", "rum.gif", "Antal rum"},
      {"AntRest1", "rest.gif", "Antal platser i restaurangen"},
      {"AntFestSittande", "banquet.gif", "Antal sittande i festv\xE5ning"},
      {"AntAktivitet", "aktiv.gif", "Antal personer i aktivitetsarrangemang"},
  };
  std::string forsta;
  for (const auto& k : kapaciteter) {
    if (FaltHeltal(k.falt) <= 0) continue;
    const std::string a = HamtaText(k.text);
    Foga(forsta, "<img border=0 src=\"/bilder2/symbol/", k.fil, "\" width=20 height=20 alt=\"", a, "\" title=\"", a,
         "\">&nbsp;<font size=-1>", FaltText(k.falt), "</font>&nbsp;&nbsp;");
  }

  std::string andra;
  auto lank = [&](std::string_view adress, const char* fil, const char* w, const char* h, const std::string& text) {
    const std::string a = HamtaText(text);
    Foga(andra, "<a href=\"", adress, "\" target=_blank><img border=0 src=\"", fil, "\" width=", w, " height=", h,
         " alt=\"", a, "\" title=\"", a, "\"></a>&nbsp;&nbsp;");
  };
  const std::string avtalet = FaltText("Avtal");
  const std::string avtal = AnsiUpperCase(avtalet);
  if (Contains(AnsiUpperCase(FaltText("Medlem")), "S0"))
    lank(c.VisitaUrl, "/bilder2/symbol/visitalogo.gif", "70", "20", "Medlem i Visita");
  if (const std::string k = FaltText("Klassificering"); !k.empty()) {
    const std::string a = HamtaText("Klassificering");
    Foga(andra, "<img border=0 src=\"/bilder2/symbol/stars17_", k, ".gif\" alt=\"", a, "\" title=\"", a,
         "\">&nbsp;&nbsp;");
  }
  if (Contains(avtal, "T0"))
    lank(c.HomeRunUrl, "/bilder2/symbol/homerun.gif", "9", "20", "Tr\xE5" "dl\xF6st Internet via Telia HomeRun");
  if (const std::string tfa = FaltText("TfaKod"); !tfa.empty()) {
    std::string adress;
    if (RS().NivaOver0) {
      Foga(adress, "http://", Parametervarde(*this, "EXTERNLANK", "TFA"), tfa);
    } else {
      adress = c.EqualityUrl;
    }
    lank(adress, "/bilder2/symbol/equality.gif", "42", "20", "Information om tillg\xE4nglighet fr\xE5n Equality");
  }
  if (Contains(avtal, "P0"))
    lank(c.RoksUrl, "/images/symbols/porrfritt.gif", "20", "20", "Porrfritt hotell (cert enligt Roks 2010)");
  else if (Contains(avtal, "P5"))
    lank(c.RoksUrl, "/images/symbols/roks.gif", "20", "20", "Porrfritt hotell (cert enligt Roks 2005)");
  if (RS().AnvKat == "E0" && avtalet == "E0") {
    Foga(andra, "<a href=\"", c.EricssonKonferensUrl, '#', AnsiUpperCase(FaltText("Kundid")),
         "\"><img border=0 src=\"/bilder2/diverse/ericsson.gif\" width=95 height=23 alt=\"", HamtaText("Avtalspris"),
         "\"></a>");
  }
  Foga(forsta, !forsta.empty() && !andra.empty() ? "<br>" : "", andra);
  return forsta;
}
