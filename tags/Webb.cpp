// Web links of the customer: its web site, virtual tour, multimedia and
// social-network pages and online booking, and its name as a link. Links to
// the customer's pages go through the site's redirect program, which records
// the click with the visitor's search context. A customer booked only
// through an agency gets no links of its own.
#include "app/Config.h"
#include "app/Foga.h"
#include "app/vemlo3f.h"
#include "data/Query.h"
#include "gateway/HUtils.h"
#include "gateway/HttpEng.h"
#include "tags/Taggdelar.h"

namespace {

bool EndastViaByra(TForm1& f) { return f.FaltText("EjDirektbokning") == "J"; }

// The web site through the redirect address, its address as the link text
// (broken into lines of 50); empty without a web site.
std::string HemsidaLank(TForm1& f, const std::string& target, bool qv) {
  const std::string hemsida = f.FaltText("hemsida");
  if (hemsida.empty()) return {};
  return Fogat("<a href=\"", Redirect(f, hemsida, "", qv), "\" target=", target, '>', f.Radbryt(hemsida, 50, 50),
               "</a>");
}

// The virtual tour through the redirect address; empty without one.
std::string RundvandringLank(TForm1& f, const std::string& lanktyp, const std::string& target, bool qv) {
  const std::string vr = f.FaltText("hemsidavr");
  if (vr.empty()) return {};
  return Fogat("<a href=\"", Redirect(f, vr, lanktyp, qv), "\" target=", target, '>',
               f.HamtaText("Virtuell rundvandring"), "</a>");
}

// The contact lines of INTERNET: e-mail (the agency's for an agency-booked
// customer) and, for the page's own customer only, web site and tour.
std::string Internet(TForm1& f, const std::string& target) {
  return ViaBokningsbyra(f, false, [&f, &target] {
    std::string acc;
    Kontaktrad(f, acc, "E-post", Epostlank(f.FaltText("epost")));
    if (EgenKund(f)) {
      Kontaktrad(f, acc, "Hemsida", HemsidaLank(f, target, true));
      const std::string tur = RundvandringLank(f, "", target, true);
      if (!tur.empty()) f.brLaggTill(acc, tur);
    }
    return TForm1::Nbsp(std::move(acc));
  });
}

std::string Hemsida(TForm1& f, const std::string& target, const std::string& turtyp, bool qv) {
  if (EndastViaByra(f)) return {};
  std::string acc = HemsidaLank(f, target, qv);
  const std::string tur = RundvandringLank(f, turtyp, target, qv);
  if (!tur.empty()) f.brLaggTill(acc, tur);
  return TForm1::Nbsp(std::move(acc));
}

// The bare redirect address of `mal`; empty without a target or for an
// agency-booked customer.
std::string BarAdress(TForm1& f, const std::string& mal, const std::string& lanktyp, bool qv,
                      const std::string& borjan = kRedirAdress) {
  if (mal.empty() || EndastViaByra(f)) return {};
  return Redirect(f, mal, lanktyp, qv, borjan);
}

// The multimedia address, with the option that keeps the video service's
// player from offering other videos when it is on that service.
std::string Multimedia(TForm1& f) {
  std::string adress = f.FaltText("hemsidamm");
  const std::string& vard = Config().VideoVard;
  if (!adress.empty() && !vard.empty() && Contains(LowerCase(adress), LowerCase(vard)))
    adress += adress.find('?') == std::string::npos ? "?rel=0" : "&rel=0";
  return adress;
}

// The online-booking address: the customer's address behind the address
// prefix of its online-booking system (a parameter row of type `parmtyp`).
std::string Onlinebokning(TForm1& f, const std::string& adressfalt, const std::string& typfalt,
                          const std::string& parmtyp) {
  const std::string adress = f.FaltText(adressfalt);
  if (adress.empty()) return {};
  const std::string typ = f.FaltText(typfalt);
  if (typ.empty()) return adress;
  std::string r = Parametervarde(f, parmtyp, typ);
  r += adress;
  return r;
}

// The company name, linked to its web site (through the redirect program, or
// `direkt` straight to it); the plain name without a web site.
std::string Namnlank(TForm1& f, const std::string& target, bool direkt) {
  const std::string namn = f.FaltText("Ftagnamn");
  const std::string hemsida = f.FaltText("Hemsida");
  if (EndastViaByra(f) || hemsida.empty()) return namn;
  const std::string_view mal = target.empty() ? "" : " target=";
  if (direkt) return Fogat("<a href=\"http://", hemsida, '"', mal, target, '>', namn, "</a>");

  const TRequestState& rs = RS();
  std::string r;
  r.reserve(160 + hemsida.size() + namn.size());
  Foga(r, "<a href=\"/cgi-win/redir.exe?kundid=", AnsiUpperCase(f.FaltText("kundid")));
  for (const auto& [namnet, varde] : {std::pair<const char*, const std::string&>{"&vad=", rs.Vad},
                                      {"&anvkat=", rs.AnvKat},
                                      {"&avtal=", rs.Avtal},
                                      {"&sprak=", rs.Sprak}})
    if (!varde.empty()) Foga(r, namnet, HttpUrlEncode(varde));
  Foga(r, "&url=http://", HttpUrlEncode(hemsida), '"', mal, target, '>', namn, "</a>");
  return r;
}

}  // namespace

// ---------------------------------------------------------------- contact lines with web links

std::string TForm1::INTERNET() { return Internet(*this, "_top"); }
std::string TForm1::INTERNETBLANK() { return Internet(*this, "_blank"); }

// ---------------------------------------------------------------- web site and virtual tour

std::string TForm1::HEMSIDA(bool qv) { return Hemsida(*this, "_top", "&lanktyp=vr", qv); }
std::string TForm1::HEMSIDABLANK(bool qv) { return Hemsida(*this, "_blank", "", qv); }
std::string TForm1::HEMSIDAURL(bool qv) { return BarAdress(*this, FaltText("hemsida"), "", qv); }
std::string TForm1::HEMSIDAVRURL(bool qv) { return BarAdress(*this, FaltText("hemsidavr"), "&lanktyp=vr", qv); }

// ---------------------------------------------------------------- multimedia and social network

std::string TForm1::HEMSIDAMM() {
  const std::string adress = Multimedia(*this);
  return adress.empty() || EndastViaByra(*this) ? std::string() : Fogat("http://", adress);
}

std::string TForm1::HEMSIDAMMURL(bool qv) { return BarAdress(*this, Multimedia(*this), "&lanktyp=mm", qv); }

std::string TForm1::HEMSIDAFACEBOOK() {
  const std::string adress = FaltText("hemsidafacebook");
  return adress.empty() || EndastViaByra(*this) ? std::string() : Fogat("http://", adress);
}

std::string TForm1::HEMSIDAFACEBOOKURL(bool qv) {
  return BarAdress(*this, FaltText("hemsidafacebook"), "&lanktyp=mm", qv);
}

// ---------------------------------------------------------------- online booking

std::string TForm1::HEMSIDAOLURL(bool qv) {
  if (EndastViaByra(*this)) return {};
  const std::string mal = Onlinebokning(*this, "hemsidaonlinebokning", "onlinebokningtyp", "ONLINEBOKNINGTYP");
  return mal.empty() ? std::string() : Redirect(*this, mal, "&lanktyp=ol", qv, "/cgi-win/redir.exe?&kundid=");
}

std::string TForm1::HEMSIDAOLKONFURL(bool qv) {
  if (EndastViaByra(*this)) return {};
  const std::string mal =
      Onlinebokning(*this, "hemsidaonlinebokningkonf", "onlinebokningtypkonf", "ONLINEBOKNINGTYPKONF");
  return mal.empty() ? std::string() : Redirect(*this, mal, "&lanktyp=ol", qv);
}

// ---------------------------------------------------------------- name links

std::string TForm1::NAMNLANK(const std::string& a) { return Namnlank(*this, a, false); }
std::string TForm1::NAMNDIREKTLANK(const std::string& a) { return Namnlank(*this, a, true); }
