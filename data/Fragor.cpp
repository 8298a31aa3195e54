// The look-ups that the sections and tags make beside the customer's record,
// each opened in q_temp.
#include "app/vemlo3f.h"

namespace {

// The columns of a county's names.
const char* const kLannamn = "Lannamn, LannamnE, LannamnD";

// "WHERE ((alternatives))" when the request names an area.
void Omradesrad(TForm1& f, SqlStatement& s, const std::string& tabell, bool baraLan) {
  SqlStatement v;
  f.Omradesvillkor(v, tabell, baraLan);
  if (!v.Empty()) s.Line("WHERE ((").Append(v).Text("))");
}

}  // namespace

void TForm1::FragaNyheter(const std::string& kundid, const std::string& kategori, TDateTime dag) {
  SqlStatement s = NyFraga("Nyka.NyhtId", "Nyka");
  s.Line(" INNER JOIN ").Table("Nyht");
  s.Line(" ON Nyka.KundId = Nyht.KundId AND Nyka.NyhtId = Nyht.NyhtId");
  s.Line("WHERE (Nyka.KundId = ").Value(kundid).Text(") AND (Nyka.NyhtKategori = ").Value(kategori).Text(")");
  s.Line(" AND  (Nyht.NyhtVisasFom <= ").Date(dag).Text(")");
  s.Line(" AND  (Nyht.NyhtVisasTom >= ").Date(dag).Text(")");
  OppnaFraga(q_temp, std::move(s));
}

void TForm1::FragaKommun(const std::string& lankod, const std::string& kommkod) {
  SqlStatement s = NyFraga("Budget", "Komm");
  s.Line("WHERE Lankod  = ").Value(lankod);
  s.Line("AND   Kommkod = ").Value(kommkod);
  OppnaFraga(q_temp, std::move(s));
}

void TForm1::FragaParameter(const std::string& parmtyp, const std::string& parmnamn) {
  SqlStatement s = NyFraga("ParmVarde", "Parm");
  s.Line("WHERE (Parmtyp = ").Value(parmtyp).Text(")");
  s.Line(" AND  (").UpperEquals("ParmNamn", AnsiUpperCase(parmnamn)).Text(")");
  OppnaFraga(q_temp, std::move(s));
}

void TForm1::FragaLan(const std::string& lankod) {
  SqlStatement s = NyFraga(kLannamn, "Laen");
  s.Line("WHERE Lankod = ").Value(lankod);
  OppnaFraga(q_temp, std::move(s));
}

void TForm1::FragaLanen() {
  SqlStatement s = NyFraga(kLannamn, "Laen");
  Omradesrad(*this, s, "", true);
  s.Line("ORDER BY Lannamn" + RS().SprakSuffix);
  OppnaFraga(q_temp, std::move(s));
}

void TForm1::FragaKommunerna() {
  SqlStatement s = NyFraga("Laen.Lannamn, Komm.Kommnamn", "Komm", "Komm");
  s.Line(" LEFT OUTER JOIN ").Table("Laen", "Laen");
  s.Line(" ON  (Komm.Lankod = Laen.Lankod)");
  Omradesrad(*this, s, "Komm", false);
  s.Line("ORDER BY Lannamn, Kommnamn");
  OppnaFraga(q_temp, std::move(s));
}

void TForm1::FragaKundkolumner(const std::string& kolumner, const std::string& kundid) {
  SqlStatement s = NyFraga(kolumner, "Kund");
  s.Line("WHERE KundId = ").Value(kundid);
  OppnaFraga(q_temp, std::move(s));
}

void TForm1::FragaErbjudanden(const std::string& p, const char* kolumner, const char* fom, const char* tom,
                              const std::string& kundid, TDateTime dag) {
  SqlStatement s = NyFraga(kolumner, p);
  s.Line("WHERE (Kundid = ").Value(kundid).Text(")");
  if (fom) s.Line(fom + ("AND (" + p + "VisasFom <= ")).Date(dag).Text(")");
  s.Line(tom + ("AND (" + p + "VisasTom >= ")).Date(dag).Text(")");
  s.Line("ORDER BY " + p + "Namn");
  OppnaFraga(q_temp, std::move(s));
}
