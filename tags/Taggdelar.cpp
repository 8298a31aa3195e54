// Pieces shared by the field tag families (see Taggdelar.h).
#include "tags/Taggdelar.h"

#include "app/Foga.h"
#include "app/vemlo3f.h"
#include "data/Query.h"
#include "gateway/HttpEng.h"

namespace {
// The display name of mail sent from the directory's pages.
constexpr const char* kEpostAvsandarnamn = "Kontakt via Tallbrun";
}  // namespace

std::string Epostlank(const std::string& adress) {
  if (adress.empty()) return {};
  return Fogat("<a href=\"mailto:", kEpostAvsandarnamn, " <", adress, ">\">", adress, "</a>");
}

std::string Bildelement(const std::string& kalla, const std::string& slut) {
  return Fogat("<img border=0 src=\"", kalla, slut);
}

void Kontaktrad(TForm1& f, std::string& acc, const std::string& etikett, const std::string& varde) {
  if (!varde.empty()) Foga(acc, acc.empty() ? "" : "<br>", f.HamtaText(etikett), ": ", varde);
}

std::string SynligtFalt(TForm1& f, std::string_view falt, std::string_view doljflagga) {
  if (f.FaltText(doljflagga) == "J") return {};
  return f.FaltText(falt);
}

std::string KategoriKontakt(TForm1& f, std::string_view prefix, bool allmanReserv) {
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
  // The category's column names, one after the other in the same text.
  std::string falt;
  falt.reserve(prefix.size() + 16);
  Foga(falt, prefix, "KontaktBokning");
  const std::string kontakt = f.FaltText(falt);
  if (!kontakt.empty()) Foga(acc, f.HamtaText("Kontakta"), ' ', kontakt);
  for (const Rad& rad : kRader) {
    falt.resize(prefix.size());
    falt += rad.direkt;
    std::string varde = f.FaltText(falt);
    if (varde.empty() && allmanReserv) varde = SynligtFalt(f, rad.allman, rad.doljflagga);
    if (varde.empty()) continue;
    if (rad.epost) varde = Epostlank(varde);
    Kontaktrad(f, acc, rad.etikett, varde);
  }
  return acc;
}

std::string BokningsOmraden(TForm1& f) {
  std::string acc;
  for (char nr = '1'; nr <= '4'; ++nr) {
    const std::string omrade = f.FaltText(Fogat("BoknOmrade", nr));
    const std::string kontakt = f.FaltText(Fogat("BoknKontaktOmrade", nr));
    if (!omrade.empty()) Foga(acc, acc.empty() ? "" : "<br>", "<b>", omrade, "</b>");
    if (omrade.empty() && kontakt.empty()) continue;

    // Contact person, telephone and e-mail, each after a comma.
    std::string rad = kontakt;
    std::string tele = f.FaltText(Fogat("BoknTeleDirOmrade", nr));
    if (tele.empty()) tele = SynligtFalt(f, "Tele", "VisaEjTele");
    if (!tele.empty()) Foga(rad, rad.empty() ? "" : ", ", " ", f.HamtaText("Tel"), ": ", tele);
    std::string epost = f.FaltText(Fogat("BoknEpostDirOmrade", nr));
    if (epost.empty()) epost = SynligtFalt(f, "Epost", "VisaEjEpost");
    if (!epost.empty()) Foga(rad, rad.empty() ? "" : ", ", " ", f.HamtaText("E-post"), ": ", Epostlank(epost));
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

std::string Lansnamn(TForm1& f) {
  std::string namn = f.q_temp.Text("Lannamn" + RS().SprakSuffix);
  return namn.empty() ? f.q_temp.Text("Lannamn") : namn;
}

std::optional<std::string> Lannamn(TForm1& f, const std::string& lankod) {
  // A found name is remembered behind a mark, so that a missing county is
  // remembered too.
  std::string v = f.Uppslag(f.q_temp, Fogat("LAN\x1F", lankod, '\x1F', RS().SprakSuffix), [&] {
    TQuery& q = f.q_temp;
    f.FragaLan(lankod);
    std::string r;
    if (!q.Eof()) r = Fogat('+', Lansnamn(f));
    q.Close();
    return r;
  });
  if (v.empty()) return std::nullopt;
  return v.substr(1);
}

std::string Parametervarde(TForm1& f, const std::string& typ, const std::string& namn) {
  return f.Uppslag(f.q_temp, Fogat("PARM\x1F", typ, '\x1F', AnsiUpperCase(namn)), [&] {
    TQuery& q = f.q_temp;
    f.FragaParameter(typ, namn);
    std::string r = q.Eof() ? std::string() : q.Text("ParmVarde");
    q.Close();
    return r;
  });
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

void Sokkontext(std::string& acc, bool medVad) {
  const TRequestState& rs = RS();
  if (medVad) Foga(acc, "&vad=", HttpUrlEncode(rs.Vad));
  Foga(acc, "&sprak=", HttpUrlEncode(rs.Sprak), "&anvkat=", HttpUrlEncode(rs.AnvKat), "&avtal=",
       HttpUrlEncode(rs.Avtal));
}

std::string Redirect(TForm1& f, const std::string& mal, const std::string& lanktyp, bool qv,
                     const std::string& borjan) {
  std::string r;
  r.reserve(128 + mal.size());
  Foga(r, borjan, f.FaltText("kundid"));
  Sokkontext(r, true);
  Foga(r, lanktyp, qv ? "" : "&qv=n", "&url=http://", HttpUrlEncode(mal));
  return r;
}

void Kodrubriker(TForm1& f, std::string& acc, const std::string& tabell, std::initializer_list<Kodrubrik> lista) {
  const std::string avskiljare = "<br>";
  for (const Kodrubrik& k : lista) {
    // The codes read for the test are the ones named.
    const std::string koder = f.FaltText(k.falt);
    if (!koder.empty()) f.RubrikSektion(acc, k.rubrik, f.HamtaForknamn(tabell, k.falt, koder, avskiljare));
  }
}
