// Category texts: the customer's own descriptions in the visitor's language,
// their English and German translations for Swedish pages, the route
// description, the other-information blocks and the Christmas-buffet texts.
#include "app/Foga.h"
#include "app/vemlo3f.h"
#include "tags/Taggdelar.h"

namespace {

constexpr const char* kEngelskRubrik = "Engelsk text";
constexpr const char* kTyskRubrik = "Tysk text";

// A translation under its fixed Swedish heading; empty without a text.
std::string Oversattning(const char* rubrik, const std::string& text) {
  if (text.empty()) return {};
  return Fogat("<br><br><b>", rubrik, ":</b><br>", text);
}

// A code list of other information followed by the free text of the
// language-selected field `textbas`.
std::string KodlistaOchText(TForm1& f, const std::string& tabell, const std::string& falt, const std::string& textbas) {
  std::string acc = f.Kodlista(tabell, falt, "<br>");
  const std::string text = f.FaltText(f.SprakFalt(textbas));
  if (!text.empty()) f.brLaggTill(acc, text);
  return acc;
}

}  // namespace

// ---------------------------------------------------------------- texts in the request's language
// Only the request's language is shown: a missing translation leaves the tag
// empty rather than showing another language.

std::string TForm1::TEXT() { return FaltText(SprakFalt("EgenText")); }
std::string TForm1::EGENTEXTMINI() { return FaltText(SprakFalt("EgenTextMini")); }
std::string TForm1::AKTVTEXT() { return FaltText(SprakFalt("AktvEgenText")); }
std::string TForm1::BLEVTEXT() { return FaltText(SprakFalt("BlevEgenText")); }
std::string TForm1::BOKNTEXT() { return FaltText(SprakFalt("BoknEgenText")); }
std::string TForm1::FDAGTEXT() { return FaltText(SprakFalt("FdagEgenText")); }
std::string TForm1::KONFTEXT() { return FaltText(SprakFalt("KonfEgenText")); }
std::string TForm1::LOGITEXT() { return FaltText(SprakFalt("LogiEgenText")); }
std::string TForm1::RFSTTEXT() { return FaltText(SprakFalt("RfstEgenText")); }
std::string TForm1::UNDHTEXT() { return FaltText(SprakFalt("UndhEgenText")); }
std::string TForm1::WENDTEXT() { return FaltText(SprakFalt("WendEgenText")); }
std::string TForm1::FDAGMERIT() { return FaltText(SprakFalt("FdagMerit")); }
std::string TForm1::UNDHMERIT() { return FaltText(SprakFalt("UndhMerit")); }
std::string TForm1::FDAGREFERENS() { return FaltText(SprakFalt("FdagReferens")); }
std::string TForm1::UNDHREFERENS() { return FaltText(SprakFalt("UndhReferens")); }

// ---------------------------------------------------------------- translations

std::string TForm1::TEXTENG() { return Oversattning(kEngelskRubrik, FaltText("EgenTextEng")); }
std::string TForm1::TEXTTY() { return Oversattning(kTyskRubrik, FaltText("EgenTextTy")); }
std::string TForm1::AKTVTEXTENG() { return Oversattning(kEngelskRubrik, FaltText("AktvEgenTextEng")); }
std::string TForm1::AKTVTEXTTY() { return Oversattning(kTyskRubrik, FaltText("AktvEgenTextTy")); }
std::string TForm1::BLEVTEXTENG() { return Oversattning(kEngelskRubrik, FaltText("BlevEgenTextEng")); }
std::string TForm1::BLEVTEXTTY() { return Oversattning(kTyskRubrik, FaltText("BlevEgenTextTy")); }
std::string TForm1::BOKNTEXTENG() { return Oversattning(kEngelskRubrik, FaltText("BoknEgenTextEng")); }
std::string TForm1::BOKNTEXTTY() { return Oversattning(kTyskRubrik, FaltText("BoknEgenTextTy")); }
std::string TForm1::FDAGTEXTENG() { return Oversattning(kEngelskRubrik, FaltText("FdagEgenTextEng")); }
std::string TForm1::FDAGTEXTTY() { return Oversattning(kTyskRubrik, FaltText("FdagEgenTextTy")); }
std::string TForm1::KONFTEXTENG() { return Oversattning(kEngelskRubrik, FaltText("KonfEgenTextEng")); }
std::string TForm1::KONFTEXTTY() { return Oversattning(kTyskRubrik, FaltText("KonfEgenTextTy")); }
std::string TForm1::LOGITEXTENG() { return Oversattning(kEngelskRubrik, FaltText("LogiEgenTextEng")); }
std::string TForm1::LOGITEXTTY() { return Oversattning(kTyskRubrik, FaltText("LogiEgenTextTy")); }
std::string TForm1::RFSTTEXTENG() { return Oversattning(kEngelskRubrik, FaltText("RfstEgenTextEng")); }
std::string TForm1::RFSTTEXTTY() { return Oversattning(kTyskRubrik, FaltText("RfstEgenTextTy")); }
std::string TForm1::UNDHTEXTENG() { return Oversattning(kEngelskRubrik, FaltText("UndhEgenTextEng")); }
std::string TForm1::UNDHTEXTTY() { return Oversattning(kTyskRubrik, FaltText("UndhEgenTextTy")); }
std::string TForm1::WENDTEXTENG() { return Oversattning(kEngelskRubrik, FaltText("WendEgenTextEng")); }
std::string TForm1::WENDTEXTTY() { return Oversattning(kTyskRubrik, FaltText("WendEgenTextTy")); }
std::string TForm1::FDAGMERITENG() { return Oversattning(kEngelskRubrik, FaltText("FdagMeritEng")); }
std::string TForm1::FDAGMERITTY() { return Oversattning(kTyskRubrik, FaltText("FdagMeritTy")); }
std::string TForm1::UNDHMERITENG() { return Oversattning(kEngelskRubrik, FaltText("UndhMeritEng")); }
std::string TForm1::UNDHMERITTY() { return Oversattning(kTyskRubrik, FaltText("UndhMeritTy")); }
std::string TForm1::VAGBESKRIVNINGENG() { return Oversattning(kEngelskRubrik, FaltText("VagbeskrivningEng")); }
std::string TForm1::VAGBESKRIVNINGTY() { return Oversattning(kTyskRubrik, FaltText("VagbeskrivningTy")); }

// ---------------------------------------------------------------- route description

std::string TForm1::VAGBESKRIVNING() {
  const std::string text = FaltText(SprakFalt("Vagbeskrivning"));
  // A route map alone is shown by its image tag; only with neither does the
  // visitor get the invitation to ask.
  if (text.empty() && FaltText("VagbeskrivningBildfil").empty())
    return HamtaText("Kontakta oss f\xF6r v\xE4gbeskrivning.");
  return text;
}

// ---------------------------------------------------------------- other information

std::string TForm1::AKTVOVRIGT() { return TForm1::Nbsp(KodlistaOchText(*this, "AKTV", "AktvOvr", "AktvText")); }
std::string TForm1::UNDHOVR() { return TForm1::Nbsp(KodlistaOchText(*this, "UNDH", "UndhOvr", "UndhText")); }

std::string TForm1::WENDOVR() {
  std::string acc = KodlistaOchText(*this, "WEND", "WendOvr", "WendText");
  const double min = FaltTal("WendPrisMin");
  const double max = FaltTal("WendPrisMax");
  if (min > 0 || max > 0) {
    // One price line: "Pris: <range> kr/pers".
    Foga(acc, acc.empty() ? "" : "<br>", HamtaText("Pris"), ": ");
    if (max == min)
      acc += FaltText("WendPrisMin");
    else if (min > 0 && max > 0)
      Foga(acc, FaltText("WendPrisMin"), " - ", FaltText("WendPrisMax"));
    else if (min > 0)
      Foga(acc, HamtaText("Fr\xE5n"), ' ', FaltText("WendPrisMin"));
    else
      Foga(acc, HamtaText("Max"), ' ', FaltText("WendPrisMax"));
    Foga(acc, ' ', HamtaText("kr/pers"));
  }
  return TForm1::Nbsp(std::move(acc));
}

// ---------------------------------------------------------------- Christmas buffet
// The buffet's data holds for the year stored with it; data of another year
// counts as missing.

std::string TForm1::JULBRUBRIK() { return FaltText("JulbRubrik"); }

std::string TForm1::JULBTEXT() {
  if (!AretsJulbord(*this))
    return Fogat(HamtaText("Vi har tyv\xE4rr inte hunnit l\xE4gga in information om \xE5rets julbord"), ". ",
                 HamtaText("Ring oss s\xE5 ber\xE4ttar vi vad vi kan erbjuda"), '!');
  return FaltText("JulbEgenText");
}

std::string TForm1::JULBOPPET() {
  if (!AretsJulbord(*this)) return HamtaText("Kontakta oss f\xF6r \xF6ppettider");
  return FaltText("JulbOppet");
}

std::string TForm1::JULBOVRIGT() {
  std::string acc;
  if (FaltTal("AntJulbord") > 0)
    Foga(acc, HamtaText("Plats f\xF6r"), ' ', FaltText("AntJulbord"), ' ', HamtaText("matg\xE4ster"));
  if (!AretsJulbord(*this)) return TForm1::Nbsp(std::move(acc));

  std::string priser;
  const std::string kr = HamtaText("kr");
  auto prisrad = [&](auto... delar) { Foga(priser, priser.empty() ? "" : "<br>", delar...); };
  for (char k = '1'; k <= '3'; ++k) {
    const std::string pris = Fogat("JulbPris", k);
    const std::string not_ = FaltText(Fogat("JulbPrisNot", k));
    if (FaltTal(pris) > 0)
      prisrad(FaltText(pris), kr, ' ', not_);
    else if (!not_.empty())
      prisrad(not_);
  }
  // A children's price of 0 is a price (free), not a missing one.
  const std::string barnNot = FaltText("JulbPrisNotBarn");
  const std::string barnPris = FaltText("JulbPrisBarn");
  if (!barnPris.empty() && FaltTal("JulbPrisBarn") >= 0)
    prisrad(HamtaText("Barn"), ": ", barnPris, kr, ' ', barnNot);
  else if (!barnNot.empty())
    prisrad(HamtaText("Barn"), ": ", barnNot);

  if (!priser.empty()) Foga(acc, acc.empty() ? "" : "<br><br>", "<b>", HamtaText("Pris"), ":</b><br>", priser);
  return TForm1::Nbsp(std::move(acc));
}
