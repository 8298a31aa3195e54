// Addresses and telephone numbers. A customer that is booked only through a
// booking agency shows the agency's numbers: the telephone tags fetch the
// agency's record for the time they are built.
#include <optional>

#include "app/Foga.h"
#include "app/vemlo3f.h"
#include "data/Query.h"
#include "gateway/HttpEng.h"
#include "tags/Taggdelar.h"

namespace {

// The address block: as HTML for a table cell, headed by the company name,
// or as plain lines separated by CR LF.
std::string Adress(TForm1& f, bool html) {
  std::string acc;
  acc.reserve(200);
  // A line, or a paragraph, after what stands already.
  const std::string_view radslut = html ? "<br>" : "\r\n";
  const std::string_view styckeslut = html ? "<br><br>" : "\r\n";
  auto rad = [&] { return acc.empty() ? std::string_view() : radslut; };
  auto stycke = [&] { return acc.empty() ? std::string_view() : styckeslut; };

  if (html) Foga(acc, "<b>", f.FaltText("Ftagnamn"), "</b>");
  if (f.FaltText("VisaEjAdress") != "J") {
    const std::string adress = f.FaltText("adress");
    if (!adress.empty()) Foga(acc, rad(), adress);
    const std::string landskod = f.FaltText("landskod");
    Foga(acc, rad());
    if (landskod != "SE") Foga(acc, landskod, '-');
    Foga(acc, f.FaltText("pstnr"), ' ', f.FaltText("padress"));
    const std::string land = f.FaltText("land");
    if (!land.empty()) Foga(acc, rad(), land);
    const std::string besok = f.FaltText("badress");
    if (!besok.empty()) {
      const std::string etikett = f.HamtaText("Bes\xF6k");
      if (html)
        Foga(acc, stycke(), "<b>", etikett, ":</b> ", besok);
      else
        Foga(acc, stycke(), etikett, ": ", besok);
    }
  } else {
    Foga(acc, rad(), f.FaltText("padress"));
  }
  const std::string lankod = f.FaltText("lankod");
  if (!lankod.empty())
    if (auto lan = Lannamn(f, lankod)) Foga(acc, stycke(), *lan);
  return acc;
}

// Telephone, mobile and fax, each unless the customer hides it.
void AllmannaNummer(TForm1& f, std::string& acc) {
  Kontaktrad(f, acc, "Tel", SynligtFalt(f, "Tele", "VisaEjTele"));
  Kontaktrad(f, acc, "Mobil", SynligtFalt(f, "MobilTele", "VisaEjMobil"));
  Kontaktrad(f, acc, "Fax", SynligtFalt(f, "Telefax", "VisaEjFax"));
}

// The central booking office: telephone, e-mail and its web site, shown by
// its logo when it has one.
std::string CentralBokning(TForm1& f, const std::string& tele, const std::string& epost, const std::string& hemsida,
                           const std::string& logotyp) {
  std::string acc;
  Kontaktrad(f, acc, "Tel", tele);
  Kontaktrad(f, acc, "E-post", Epostlank(epost));
  if (!hemsida.empty()) {
    const std::string lank = Fogat("<a href=\"http://", hemsida, "\" target=_blank>");
    if (!logotyp.empty())
      f.brLaggTill(acc, Fogat(lank, Bildelement(logotyp, "\"></a>")));
    else
      Kontaktrad(f, acc, "Hemsida", Fogat(lank, f.Radbryt(hemsida, 50, 50), "</a>"));
  }
  return acc;
}

// All contact data of the customer in q_kund, in groups: the general
// numbers, the central booking office and, for the extended presentation,
// the booking contacts of each category and of an agency's regions.
std::string AllaKontakter(TForm1& f, bool medHemsida) {
  std::string acc;
  AllmannaNummer(f, acc);
  Kontaktrad(f, acc, "E-post", Epostlank(SynligtFalt(f, "Epost", "VisaEjEpost")));
  if (medHemsida) {
    const std::string hemsida = f.FaltText("hemsida");
    if (!hemsida.empty()) {
      std::string lank;
      Foga(lank, "<a href=\"", kRedirAdress, f.FaltText("kundid"));
      Sokkontext(lank, false);
      Foga(lank, "&url=http://", HttpUrlEncode(hemsida), "\" target=_top>", hemsida, "</a>");
      Kontaktrad(f, acc, "Hemsida", lank);
    }
  }

  const std::string central =
      CentralBokning(f, f.FaltText("TeleCentralBokning"), f.FaltText("EpostCentralBokning"),
                     f.FaltText("HemsidaCentralBokning"), f.FaltText("LogotypeCentralBokningFil"));
  if (!central.empty()) f.RubrikSektion(acc, "Central bokning", central);

  if (!RS().NivaOver0) return acc;

  struct Grupp {
    const char* prefix;
    const char* rubrik;
  };
  static const Grupp kGrupper[] = {
      {"Konf", "Konferens"},
      {"Aktv", "Aktiviteter"},
      {"Logi", "Logi"},
      {"Rfst", "Restaurang/festv\xE5ning"},
      {"Wend", "Paketresor"},
      {"Julb", "Julbord"},
      {"Undh", "Underh\xE5llare"},
      {"Fdag", "F\xF6redragsh\xE5llare"},
  };
  for (const Grupp& g : kGrupper) {
    // Last year's buffet contact is no longer of use.
    if (std::string_view(g.prefix) == "Julb" && !AretsJulbord(f)) continue;
    const std::string grupp = KategoriKontakt(f, g.prefix, false);
    if (!grupp.empty()) f.RubrikSektion(acc, g.rubrik, grupp);
  }
  const std::string omraden = BokningsOmraden(f);
  if (!omraden.empty()) f.RubrikSektion(acc, "Bokningsbyr\xE5", omraden);

  const std::string text = f.FaltText(f.SprakFalt("TeleText"));
  if (!text.empty()) Foga(acc, acc.empty() ? "" : "<br><br>", text);
  return acc;
}

}  // namespace

// ---------------------------------------------------------------- addresses

std::string TForm1::ADRESS() { return Adress(*this, true); }
std::string TForm1::ADRESSCRLF() { return Adress(*this, false); }

// ---------------------------------------------------------------- telephone numbers

std::string TForm1::TELEFONNR() {
  return ViaBokningsbyra(*this, false, [this] { return Nbsp(SynligtFalt(*this, "Tele", "VisaEjTele")); });
}

std::string TForm1::TELEFAXNR() {
  return ViaBokningsbyra(*this, false, [this] { return Nbsp(SynligtFalt(*this, "Telefax", "VisaEjFax")); });
}

std::string TForm1::TELEFON() {
  return ViaBokningsbyra(*this, false, [this] {
    std::string acc;
    AllmannaNummer(*this, acc);
    Kontaktrad(*this, acc, "Centr.bokn", FaltText("TeleCentralBokning"));
    const std::string text = FaltText(SprakFalt("TeleText"));
    if (!text.empty()) brLaggTill(acc, text);
    return Nbsp(std::move(acc));
  });
}

std::string TForm1::TELEFONALLA() {
  return ViaBokningsbyra(*this, false, [this] { return Nbsp(AllaKontakter(*this, false)); });
}

// The agency's contact data, whether or not the customer is booked only
// through it; the level flag stays the one of the page's customer.
std::string TForm1::BOKASVIATELEFONALLA() {
  return ViaBokningsbyra(*this, true, [this] { return Nbsp(AllaKontakter(*this, true)); });
}

std::string TForm1::XKNTTELEFONMM() {
  auto rad =
      AnnanKund(*this, "*", RS().XKntKundId,
                {"TeleCentralBokning", "EpostCentralBokning", "HemsidaCentralBokning", "LogotypeCentralBokningFil"});
  if (!rad) return "&nbsp;";
  const auto& k = *rad;
  return Nbsp(CentralBokning(*this, k[0], k[1], k[2], k[3]));
}

// ---------------------------------------------------------------- e-mail

std::string TForm1::EPOST() {
  return ViaBokningsbyra(*this, false, [this] { return Nbsp(Epostlank(FaltText("epost"))); });
}
