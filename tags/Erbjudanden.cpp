// Prices, and the customer's bookable offers (conference packages,
// programmes, booking-agency objects, package trips) as links to the detail
// pages of the site's companion programs.
#include <string>
#include <string_view>

#include "app/Foga.h"
#include "app/vemlo3f.h"
#include "gateway/HUtils.h"
#include "gateway/HttpEng.h"

namespace {

// A price range "500 kr/pers", "400 - 600 kr/pers", "Max 600 kr/pers" or
// "Från 400 kr/pers"; empty when neither end is above zero.
std::string Prisintervall(TForm1& f, std::string_view minFalt, std::string_view maxFalt) {
  const TField minV = f.q_kund.FieldByName(minFalt);
  const TField maxV = f.q_kund.FieldByName(maxFalt);
  const double min = minV.AsFloat();
  const double max = maxV.AsFloat();
  const std::string kr = f.HamtaText("kr/pers");
  std::string r;
  if (min > 0 && min == max)
    r = minV.AsString();
  else if (min > 0 && max > 0)
    Foga(r, minV.AsString(), " - ", maxV.AsString());
  else if (max > 0)
    Foga(r, f.HamtaText("Max"), ' ', maxV.AsString());
  else if (min > 0)
    Foga(r, f.HamtaText("Fr\xE5n"), ' ', minV.AsString());
  else
    return r;
  Foga(r, ' ', kr);
  return r;
}

// Which end of an offer's visibility period a list tests, and how the
// period lines of its statement start.
enum class Period { FromAndTo, ToOnly };

struct Erbjudande {
  const char* prefix;       // table name and column prefix
  const char* kolumner;     // the selected columns
  const char* lanknyckel;   // parameter that names the offer in the link
  const char* program;      // companion program of the detail page
  const char* ingaRader;    // text when the customer has no such offer
  Period period;
  const char* fomInledning; // start of the "from" line
  const char* tomInledning; // start of the "to" line
};

const Erbjudande kKonfpaket{"Kopa", "KopaId, Kopanamn, KopanamnEng, KopanamnTy", "&kopaid=", "vemalfa3.exe",
                            "Kontakta oss f\xF6r uppgift om konferenspaket.", Period::FromAndTo, "  ", "\t"};
const Erbjudande kAktvprogram{"Akpr", "AkprId, Akprnamn, AkprnamnEng, AkprnamnTy", "&akprid=", "vembeta3.exe",
                              "Kontakta oss f\xF6r uppgift om aktivitetsprogram.", Period::FromAndTo, "  ", "  "};
const Erbjudande kFdagprogram{"Fdpr", "FdprId, Fdprnamn, FdprnamnEng, FdprnamnTy", "&fdprid=", "vemgamma3.exe",
                              "Kontakta oss f\xF6r uppgift om f\xF6redragsprogram.", Period::ToOnly, "", "\t"};
const Erbjudande kUndhprogram{"Unpr", "UnprId, Unprnamn, UnprnamnEng, UnprnamnTy", "&unprid=", "vemdelta3.exe",
                              "Kontakta oss f\xF6r uppgift om underh\xE5llningsprogram.", Period::ToOnly, "", "\t"};
const Erbjudande kBoknobjekt{"Boob", "BoobId, Boobnamn, BoobnamnEng, BoobnamnTy", "&boobid=", "vemepsi3.exe",
                             "Kontakta oss f\xF6r mer information.", Period::ToOnly, "", "  "};
const Erbjudande kWendpaket{"Wepa", "WepaId, Wepanamn, WepanamnEng, WepanamnTy", "&wepaid=", "vemzeta3.exe",
                            "Kontakta oss f\xF6r uppgift om paketresor.", Period::FromAndTo, "  ", "\t"};

// The request's parameters that the detail page is to keep. They come from
// the request, so they are form-encoded: each comes back as the same value
// and never as a parameter of its own.
std::string Lankbas(TForm1& f, const Erbjudande& e, const std::string& mall) {
  const auto& rs = RS();
  std::string l;
  l.reserve(160);
  Foga(l, "/cgi-win/", e.program, "?funktion=fakta&kundid=", f.FaltText("Kundid"));
  // An empty value is left out (and needs no encoding).
  auto parameter = [&l](const char* namn, const std::string& varde) {
    if (!varde.empty()) Foga(l, namn, HttpUrlEncode(varde));
  };
  if (!mall.empty()) Foga(l, "&mall=", mall);
  parameter("&vad=", rs.Vad);
  parameter("&sprak=", rs.Sprak);
  if (rs.Antal > 0) Foga(l, "&antal=", IntToStr(rs.Antal));
  parameter("&avtal=", rs.Avtal);
  parameter("&anvkat=", rs.AnvKat);
  parameter("&fmall=", rs.Mall);
  parameter("&bmall=", rs.BMall);
  parameter("&stylesheet=", rs.Stylesheet);
  return l;
}

// One list tag: the offers of the current customer whose period covers the
// request's date, each as a link. `fonster` is the link's target window,
// `element` the element that the detail is shown in, `mall` the template of
// the detail page (all three from the template).
std::string Erbjudandelista(TForm1& f, const Erbjudande& e, const std::string& fonster, const std::string& element,
                            const std::string& mall) {
  const std::string p = e.prefix;
  TQuery& q = f.q_temp;
  f.FragaErbjudanden(p, e.kolumner, e.period == Period::FromAndTo ? e.fomInledning : nullptr, e.tomInledning,
                     f.FaltText("Kundid"), RS().Starttid);

  if (q.Eof()) {
    q.Close();
    return f.HamtaText(e.ingaRader);
  }

  // What every link shares: the start of its address, and its target and
  // click handler after the offer's id.
  std::string bas = Lankbas(f, e, mall);
  bas += e.lanknyckel;
  std::string attribut = "\"";
  if (!fonster.empty()) {
    Foga(attribut, " target=\"", fonster, '"');
    if (!element.empty()) Foga(attribut, " onClick=\"showDiv('", element, "','fact','')\"");
  }
  attribut += '>';

  // The name in the request's language, the Swedish one when it has none.
  const std::string& sprak = RS().Sprak;
  const std::string svenskt = p + "Namn";
  const std::string oversatt = sprak == "E" ? p + "NamnEng" : sprak == "D" ? p + "NamnTy" : std::string();
  const std::string id = p + "id";

  std::string r;
  for (q.First(); !q.Eof(); q.Next()) {
    std::string namn;
    if (!oversatt.empty()) namn = q.Text(oversatt);
    if (namn.empty()) namn = q.Text(svenskt);
    f.brLaggTill(r, "-&nbsp;<a href=\"");
    Foga(r, bas, q.Text(id), attribut, namn, "</a>");
  }
  q.Close();
  return TForm1::Nbsp(r);
}

}  // namespace

std::string TForm1::KONFPRIS() {
  std::string r;
  if (std::string d = Prisintervall(*this, "PrisDagMin", "PrisDagMax"); !d.empty())
    Foga(r, "<b>", HamtaText("Dagkonferens"), ":</b><br>", d, "<br>(",
         HamtaText("inkl fm/em-kaffe, lunch och del i lokal, exkl moms"), ')');
  if (std::string d = Prisintervall(*this, "PrisDygnMin", "PrisDygnMax"); !d.empty()) {
    if (!r.empty()) r += "<br><br>";
    Foga(r, "<b>", HamtaText("Dygnskonferens"), ":</b><br>", d, "<br>(",
         HamtaText("inkl fm/em-kaffe, lunch, middag, logi och del i lokal, exkl moms"), ')');
  }
  return Nbsp(r);
}

std::string TForm1::LOGIPRIS() {
  std::string r;
  if (std::string d = Prisintervall(*this, "PrisMin", "PrisMax"); !d.empty()) Foga(r, HamtaText("Pris"), ": ", d);
  if (std::string frukost = FaltText("InklFrukost"); !frukost.empty())
    brLaggTill(r, HamtaForknamn1("LOGI", "InklFrukost", frukost));
  return Nbsp(r);
}

std::string TForm1::WENDPRIS() {
  std::string r;
  if (std::string d = Prisintervall(*this, "WendPrisMin", "WendPrisMax"); !d.empty())
    Foga(r, HamtaText("Pris"), ": ", d);
  return Nbsp(r);
}

std::string TForm1::KONFPAKET(const std::string& a, const std::string& b, const std::string& c) {
  return Erbjudandelista(*this, kKonfpaket, a, b, c);
}
std::string TForm1::AKTVPROGRAM(const std::string& a, const std::string& b, const std::string& c) {
  return Erbjudandelista(*this, kAktvprogram, a, b, c);
}
std::string TForm1::FDAGPROGRAM(const std::string& a, const std::string& b, const std::string& c) {
  return Erbjudandelista(*this, kFdagprogram, a, b, c);
}
std::string TForm1::UNDHPROGRAM(const std::string& a, const std::string& b, const std::string& c) {
  return Erbjudandelista(*this, kUndhprogram, a, b, c);
}
std::string TForm1::BOKNOBJEKT(const std::string& a, const std::string& b, const std::string& c) {
  return Erbjudandelista(*this, kBoknobjekt, a, b, c);
}
std::string TForm1::WENDPAKET(const std::string& a, const std::string& b, const std::string& c) {
  return Erbjudandelista(*this, kWendpaket, a, b, c);
}
