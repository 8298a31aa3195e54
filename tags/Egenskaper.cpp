// Property lists: the customer's coded properties (location, character,
// facilities, genres, target groups ...) as names in the visitor's language,
// one per line, alone, after dashes, in pairs or under bold headings.
#include "app/Foga.h"
#include "app/vemlo3f.h"
#include "tags/Taggdelar.h"

namespace {

// The code list of one field, one name per line; "&nbsp;" when empty.
std::string Lista(TForm1& f, const std::string& tabell, const std::string& falt) {
  return TForm1::Nbsp(f.Kodlista(tabell, falt, "<br>"));
}

// Every name on its own line after a dash.
std::string Strecklista(TForm1& f, const std::string& tabell, const std::string& falt) {
  const std::string koder = f.FaltText(falt);
  if (koder.empty()) return "&nbsp;";
  return Fogat("-&nbsp;", f.HamtaForknamn(tabell, falt, koder, "<br>-&nbsp;"));
}

// Two code lists of one code set, each added when its field is not empty,
// joined by `mellan` (", " or "<br>").
std::string Par(TForm1& f, const std::string& tabell, const std::string& forsta, const std::string& andra,
                const std::string& avskiljare, const char* mellan) {
  std::string acc;
  for (const std::string* falt : {&forsta, &andra}) {
    const std::string koder = f.FaltText(*falt);
    if (koder.empty()) continue;
    Foga(acc, acc.empty() ? "" : mellan, f.HamtaForknamn(tabell, *falt, koder, avskiljare));
  }
  return TForm1::Nbsp(std::move(acc));
}

// The "Övrigt" block after the headed lists: codes of `ovrfalt` and a free
// text, under one heading when either is there.
void OvrigtBlock(TForm1& f, std::string& acc, const std::string& tabell, const std::string& ovrfalt,
                 const std::string& text) {
  const std::string koder = f.FaltText(ovrfalt);
  if (koder.empty() && text.empty()) return;
  Foga(acc, acc.empty() ? "" : "<br>", "<b>", f.HamtaText("\xD6vrigt"), ":</b>");
  if (!koder.empty()) f.brLaggTill(acc, f.HamtaForknamn(tabell, ovrfalt, koder, "<br>"));
  if (!text.empty()) f.brLaggTill(acc, text);
}

// The buffet's arrangements followed by their free text.
std::string MedArrangemangstext(TForm1& f, std::string acc) {
  const std::string text = f.FaltText("JulbArrangemangText");
  if (!text.empty()) f.brLaggTill(acc, text);
  return TForm1::Nbsp(std::move(acc));
}

}  // namespace

// ---------------------------------------------------------------- single lists

std::string TForm1::LAGE() { return Lista(*this, "KUND", "Lage"); }
std::string TForm1::KARAKTAR() { return Lista(*this, "KUND", "Karaktar"); }
std::string TForm1::FACILITETER() { return Lista(*this, "KUND", "Faciliteter"); }
std::string TForm1::FDAGINRIKTNING() { return Lista(*this, "KUND", "FdagInriktning"); }
std::string TForm1::UNDHGENRE() { return Lista(*this, "KUND", "UndhGenre"); }
std::string TForm1::BLEVPRODUKTER() { return Lista(*this, "KUND", "BlevProdukter"); }
std::string TForm1::BOKNBOKAR() { return Lista(*this, "KUND", "BoknBokar"); }
std::string TForm1::AKTVEGENSKAPER() { return Lista(*this, "AKTV", "AktvEgenskaper"); }
std::string TForm1::AKTVSPORT() { return Lista(*this, "AKTV", "AktvSport"); }
std::string TForm1::AKTVTEAMBUILDING() { return Lista(*this, "AKTV", "AktvTeam"); }
std::string TForm1::BLEVEGENSKAPER() { return Lista(*this, "BLEV", "BlevEgenskaper"); }
std::string TForm1::BLEVKUNDGRUPP() { return Lista(*this, "BLEV", "BlevKundgrupp"); }
std::string TForm1::BLEVPRISINFO() { return Lista(*this, "BLEV", "BlevPrisinfo"); }
std::string TForm1::BOKNEGENSKAPER() { return Lista(*this, "BOKN", "BoknEgenskaper"); }
std::string TForm1::BOKNGRUPPSTORLEK() { return Lista(*this, "BOKN", "BoknGruppStorlek"); }
std::string TForm1::FDAGEGENSKAPER() { return Lista(*this, "FDAG", "FdagEgenskaper"); }
std::string TForm1::FDAGMALGRUPP() { return Lista(*this, "FDAG", "FdagMalgrupp"); }
std::string TForm1::FDAGVARAKTIGHET() { return Lista(*this, "FDAG", "FdagVaraktighet"); }
std::string TForm1::JULBINRIKTNING() { return Lista(*this, "JULB", "JulbInriktning"); }
std::string TForm1::LOGIFACILITETER() { return Lista(*this, "LOGI", "LogiFaciliteter"); }
std::string TForm1::RFSTARRANGEMANG() { return Lista(*this, "RFST", "Arrangemang"); }
std::string TForm1::RFSTEGENINR() { return Lista(*this, "RFST", "RfstEgenInr"); }
std::string TForm1::RFSTTEMAMIDDAGAR() { return Lista(*this, "RFST", "Temamiddagar"); }
std::string TForm1::RFSTUTRUSTNING() { return Lista(*this, "RFST", "UtrustnFaciliteter"); }
std::string TForm1::UNDHEGENSKAPER() { return Lista(*this, "UNDH", "UndhEgenskaper"); }
std::string TForm1::UNDHFOREDRAG() { return Lista(*this, "UNDH", "UndhForedrag"); }
std::string TForm1::UNDHMUSIK() { return Lista(*this, "UNDH", "UndhMusik"); }
std::string TForm1::UNDHSCENKONST() { return Lista(*this, "UNDH", "UndhScenkonst"); }
std::string TForm1::UNDHSYFTE() { return Lista(*this, "UNDH", "UndhSyfte"); }
std::string TForm1::WENDAKTIVITET() { return Lista(*this, "WEND", "WendAktivitet"); }
std::string TForm1::WENDAVKOPPLING() { return Lista(*this, "WEND", "WendAvkoppling"); }
std::string TForm1::WENDEGENSKAPER() { return Lista(*this, "WEND", "WendEgenskaper"); }
std::string TForm1::WENDKULTURNOJE() { return Lista(*this, "WEND", "WendKulturNoje"); }
std::string TForm1::WENDSASONG() { return Lista(*this, "WEND", "WendSasong"); }
std::string TForm1::WENDSYFTE() { return Lista(*this, "WEND", "WendSyfte"); }

// ---------------------------------------------------------------- dash lists

std::string TForm1::AKTVSYFTE() { return Strecklista(*this, "AKTV", "AktvSyfte"); }
std::string TForm1::KONFPROFIL() { return Strecklista(*this, "KONF", "Profil"); }

// ---------------------------------------------------------------- pairs

std::string TForm1::KEDJA() { return Par(*this, "KUND", "Kedja", "Medlem", ", ", ", "); }
std::string TForm1::KARAKTARLAGE() { return Par(*this, "KUND", "Karaktar", "Lage", "<br>", "<br>"); }
std::string TForm1::LOGISTANDARD() { return Par(*this, "LOGI", "StndKomfort", "StndTeknik", "<br>", "<br>"); }
std::string TForm1::BLEVPRODUKTERTJANSTER() {
  return Par(*this, "BLEV", "BlevProdukter", "BlevTjanster", "<br>", "<br>");
}

// ---------------------------------------------------------------- code lists with a text
// The arrangements are shown whatever year the buffet data belongs to.

std::string TForm1::JULBARRANGEMANG() {
  return MedArrangemangstext(*this, Kodlista("JULB", "JulbArrangemang", "<br>"));
}

std::string TForm1::JULBINRIKTNINGARRANGEMANG() {
  std::string acc = Kodlista("JULB", "JulbInriktning", "<br>");
  Foga(acc, acc.empty() ? "" : "<br>", Kodlista("JULB", "JulbArrangemang", "<br>"));
  return MedArrangemangstext(*this, std::move(acc));
}

// ---------------------------------------------------------------- lists under headings

std::string TForm1::AKTVSASONGVAR() {
  std::string acc;
  Kodrubriker(*this, acc, "AKTV", {{"AktvSasong", "S\xE4song"}, {"AktvVaraktighet", "Varaktighet"}});
  return TForm1::Nbsp(std::move(acc));
}

std::string TForm1::UNDHSASONGVAR() {
  std::string acc;
  Kodrubriker(*this, acc, "UNDH", {{"UndhSasong", "S\xE4song"}, {"UndhVaraktighet", "Varaktighet"}});
  return TForm1::Nbsp(std::move(acc));
}

std::string TForm1::UNDHARRMALGRUPP() {
  std::string acc;
  Kodrubriker(*this, acc, "UNDH", {{"UndhArrangemang", "Arrangemang"}, {"UndhMalgrupp", "M\xE5lgrupp"}});
  return TForm1::Nbsp(std::move(acc));
}

std::string TForm1::OVRIGT() {
  std::string acc;
  Kodrubriker(*this, acc, "KUND", {{"Certifiering", "Certifiering"}});
  // The customer's languages (its column Sprak, not the request's language)
  // belong to the extended presentation.
  if (RS().NivaOver0) Kodrubriker(*this, acc, "KUND", {{"Sprak", "Spr\xE5k"}});
  return TForm1::Nbsp(std::move(acc));
}

std::string TForm1::EGENINR() {
  std::string acc;
  if (RS().NivaOver0) acc = Kodlista("KUND", "EgenInr", "<br>");
  Kodrubriker(*this, acc, "KUND",
              {{"AktvInriktning", "Aktiviteter"},
               {"WendInriktning", "Paketresor"},
               {"UndhGenre", "Genre"},
               {"FdagInriktning", "F\xF6redrag"},
               {"BlevProdukter", "Produkter/Tj\xE4nster"}});
  return TForm1::Nbsp(std::move(acc));
}

std::string TForm1::UNDHSPECIALITET() {
  std::string acc;
  Kodrubriker(*this, acc, "UNDH",
              {{"UndhForedrag", "F\xF6redrag"}, {"UndhMusik", "Musik"}, {"UndhScenkonst", "Scenkonst"}});
  OvrigtBlock(*this, acc, "UNDH", "UndhOvr", FaltText("UndhText"));
  return TForm1::Nbsp(std::move(acc));
}

std::string TForm1::FDAGAMNEN() {
  std::string acc;
  Kodrubriker(*this, acc, "FDAG",
              {{"FdagForetag", "F\xF6retag"}, {"FdagPersUtv", "Personlig utveckling"}, {"FdagNoje", "N\xF6je"}});
  OvrigtBlock(*this, acc, "FDAG", "FdagOvr", FaltText(SprakFalt("FdagText")));
  return TForm1::Nbsp(std::move(acc));
}

std::string TForm1::KONFUTRUSTNING() {
  std::string acc;
  Kodrubriker(*this, acc, "KONF",
              {{"KnfUtrustnAV", "A/V"}, {"KnfUtrustnData", "Data"}, {"KnfUtrustnOvr", "\xD6vrigt"}});
  // The equipment text joins the "Övrigt" heading when that stands already,
  // else it gets one of its own.
  const std::string text = FaltText(SprakFalt("KnfUtrustnText"));
  if (!text.empty()) {
    if (!FaltText("KnfUtrustnOvr").empty())
      brLaggTill(acc, text);
    else
      RubrikSektion(acc, "\xD6vrigt", text);
  }
  return TForm1::Nbsp(std::move(acc));
}
