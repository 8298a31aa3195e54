// Pieces shared by the field tag families (see Taggdelar.h).
#include "tags/Taggdelar.h"

#include "app/vemlo3f.h"
#include "data/Query.h"
#include "gateway/HttpEng.h"

namespace {
// The display name of mail sent from the directory's pages.
constexpr const char* kEpostAvsandarnamn = "Kontakt via Tallbrun";
}  // namespace

std::string Epostlank(const std::string& adress) {
  if (adress.empty()) return {};
  return "<a href=\"mailto:" + std::string(kEpostAvsandarnamn) + " <" + adress + ">\">" + adress + "</a>";
}

std::string Bildelement(const std::string& kalla, const std::string& slut) {
  return "<img border=0 src=\"" + kalla + slut;
}

void Kontaktrad(TForm1& f, std::string& acc, const std::string& etikett, const std::string& varde) {
  if (!varde.empty()) f.brLaggTill(acc, f.HamtaText(etikett) + ": " + varde);
}

std::string SynligtFalt(TForm1& f, const std::string& falt, const std::string& doljflagga) {
  if (f.FaltText(doljflagga) == "J") return {};
  return f.FaltText(falt);
}

std::string KategoriKontakt(TForm1& f, const std::string& prefix, bool allmanReserv) {
  struct Rad {
    const char* etikett;
    const char* direkt;
    const char* allman;
    const char* doljflagga;
    bool epost;
  };
  static const Rad kRader[] = {
      {"Tel", "TeleDir", "Tele", "VisaEjTele", false},
      {"Mobil", "MobilTeleDir", "MobilTele", "VisaEjMobil", false},
      {"Fax", "TelefaxDir", "Telefax", "VisaEjFax", false},
      {"E-post", "EpostDir", "Epost", "VisaEjEpost", true},
  };
  std::string acc;
  const std::string kontakt = f.FaltText(prefix + "KontaktBokning");
  if (!kontakt.empty()) f.brLaggTill(acc, f.HamtaText("Kontakta") + " " + kontakt);
  for (const Rad& rad : kRader) {
    std::string varde = f.FaltText(prefix + rad.direkt);
    if (varde.empty() && allmanReserv) varde = SynligtFalt(f, rad.allman, rad.doljflagga);
    Kontaktrad(f, acc, rad.etikett, rad.epost ? Epostlank(varde) : varde);
  }
  return acc;
}

std::string BokningsOmraden(TForm1& f) {
  std::string acc;
  for (int n = 1; n <= 4; ++n) {
    const std::string nr = std::to_string(n);
    const std::string omrade = f.FaltText("BoknOmrade" + nr);
    const std::string kontakt = f.FaltText("BoknKontaktOmrade" + nr);
    if (!omrade.empty()) f.brLaggTill(acc, "<b>" + omrade + "</b>");
    if (omrade.empty() && kontakt.empty()) continue;

    std::string rad = kontakt;
    std::string tele = f.FaltText("BoknTeleDirOmrade" + nr);
    if (tele.empty()) tele = SynligtFalt(f, "Tele", "VisaEjTele");
    if (!tele.empty()) rad = f.komma(rad) + " " + f.HamtaText("Tel") + ": " + tele;
    std::string epost = f.FaltText("BoknEpostDirOmrade" + nr);
    if (epost.empty()) epost = SynligtFalt(f, "Epost", "VisaEjEpost");
    if (!epost.empty()) rad = f.komma(rad) + " " + f.HamtaText("E-post") + ": " + Epostlank(epost);
    if (!rad.empty()) f.brLaggTill(acc, rad);
  }
  return acc;
}

bool AretsJulbord(TForm1& f) { return f.FaltText("JulbAr") == f.DettaAr(); }

bool EgenKund(TForm1& f) { return f.FaltText("KundId") == f.q_dbqv.Text("Kundid"); }

void AterstallKund(TForm1& f) {
  if (!EgenKund(f)) f.SokKund(f.q_dbqv.Text("Kundid"));
}

std::string ViaBokningsbyra(TForm1& f, bool alltid, const std::function<std::string()>& bygg) {
  if (alltid || f.FaltText("EjDirektbokning") == "J") f.SokKund(f.FaltText("BokasViaKundId"));
  std::string resultat = bygg();
  if (alltid)
    f.SokKund(f.q_dbqv.Text("Kundid"));
  else
    AterstallKund(f);
  return resultat;
}

std::optional<std::vector<std::string>> AnnanKund(TForm1& f, const std::string& kolumner, const std::string& kundid,
                                                  std::initializer_list<const char*> las) {
  TQuery& q = f.q_temp;
  f.FragaKundkolumner(kolumner, kundid);
  std::optional<std::vector<std::string>> rad;
  if (!q.Eof()) {
    rad.emplace();
    for (const char* kolumn : las) rad->push_back(q.Text(kolumn));
  }
  q.Close();
  return rad;
}

std::string Sokkontext(bool medVad) {
  const TRequestState& rs = RS();
  std::string s = medVad ? "&vad=" + HttpUrlEncode(rs.Vad) : std::string();
  return s + "&sprak=" + HttpUrlEncode(rs.Sprak) + "&anvkat=" + HttpUrlEncode(rs.AnvKat) +
         "&avtal=" + HttpUrlEncode(rs.Avtal);
}

std::string Redirect(TForm1& f, const std::string& mal, const std::string& lanktyp, bool qv,
                     const std::string& borjan) {
  return borjan + f.FaltText("kundid") + Sokkontext(true) + lanktyp + (qv ? "" : "&qv=n") + "&url=http://" +
         HttpUrlEncode(mal);
}

void Kodrubriker(TForm1& f, std::string& acc, const std::string& tabell, std::initializer_list<Kodrubrik> lista) {
  for (const Kodrubrik& k : lista)
    if (!f.FaltText(k.falt).empty()) f.RubrikSektion(acc, k.rubrik, f.Kodlista(tabell, k.falt, "<br>"));
}
