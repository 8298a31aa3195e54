// The customer search (the request's selection as one statement over the
// customer table, opened in q_dbqv), one customer's record with all its
// offer tables (q_kund), and a conference venue's availability days (q_temp).
#include "app/vemlo3f.h"

namespace {

// The customer-table flag of each one-letter "Vad" that selects a category.
const std::pair<char, const char*> kKategorier[] = {
    {'A', "Aktivitetsarrangor"}, {'C', "Branschleverantor"}, {'D', "Konferenslokal"}, {'K', "Konferenslokal"},
    {'L', "Konferenslokal"},     {'F', "Festlokal"},         {'G', "Foredrag"},       {'J', "Julbord"},
    {'O', "Logi"},               {'T', "Turistbyra"},        {'U', "Underhallning"},  {'Y', "Bokningsbyra"},
    {'W', "Weekendresor"}};

// The region of an area code "SS", "SG" or "SM" (its second letter); 0 for a
// county code.
char Region(const std::string& omrade) {
  return omrade.size() == 2 && omrade[0] == 'S' && (omrade[1] == 'S' || omrade[1] == 'G' || omrade[1] == 'M')
             ? omrade[1]
             : 0;
}

// "(column = 'value')".
SqlStatement& Lika(SqlStatement& s, const std::string& kolumn, const std::string& varde) {
  return s.Text("(" + kolumn + " = ").Value(varde).Text(")");
}

// "(column LIKE '%value%')".
void Innehaller(SqlStatement& s, const char* kolumn, const std::string& varde) {
  s.Separator(" AND ").Text(std::string("(") + kolumn + " LIKE ").Pattern("%" + varde + "%").Text(")");
}

}  // namespace

bool TForm1::Omradesvillkor(SqlStatement& v, const std::string& tabell, bool baraLan) {
  const auto& rs = RS();
  const std::string t = tabell.empty() ? std::string() : tabell + ".";
  bool regionUsed = false;
  if (!rs.Kommun[1].empty()) {
    for (size_t i = 1; i <= 300 && !rs.Kommun[i].empty(); ++i) {
      const std::string& k = rs.Kommun[i];
      if (k.size() != 4) continue;
      v.Separator(" OR ");
      if (baraLan) {
        Lika(v, t + "Lankod", k.substr(0, 2));
      } else {
        Lika(v.Text("("), t + "Lankod", k.substr(0, 2)).Text(" AND ");
        Lika(v, t + "Kommkod", k.substr(2, 2)).Text(")");
      }
    }
  } else if (!rs.Omrade[1].empty()) {
    for (size_t i = 1; i <= 50 && !rs.Omrade[i].empty(); ++i) {
      char region = Region(rs.Omrade[i]);
      if (region && baraLan) continue;  // a region covers part of the country, not a county
      if (region) {
        Lika(v.Separator(" OR "), "Komm.Region", std::string(1, region));
        regionUsed = true;
      } else {
        Lika(v.Separator(" OR "), t + "Lankod", rs.Omrade[i]);
      }
    }
  }
  return regionUsed;
}

void TForm1::Sok() {
  const auto& rs = RS();
  SqlStatement w;  // conditions, joined with AND
  // A group of alternatives, joined with OR, as one condition.
  auto alternativ = [&](const SqlStatement& v) {
    if (!v.Empty()) w.Separator(" AND ").Text("(").Append(v).Text(")");
  };

  if (!rs.Ftagnamn.empty()) Innehaller(w, "upper(Kund.Ftagnamn)", rs.Ftagnamn);
  if (!rs.Kedja.empty()) Innehaller(w, "upper(Kund.Kedja)", rs.Kedja);

  SqlStatement kunder;
  for (size_t i = 1; i <= 30; ++i)
    if (!rs.Kundid[i].empty()) Lika(kunder.Separator(" OR "), "Kund.Kundid", rs.Kundid[i]);
  alternativ(kunder);

  for (const auto& [vad, flagga] : kKategorier)
    if (rs.Vad.size() == 1 && rs.Vad[0] == vad) w.Separator(" AND ").Text(std::string("(Kund.") + flagga + " = 'J')");

  SqlStatement omraden;
  bool regionUsed = Omradesvillkor(omraden, "Kund", false);
  alternativ(omraden);

  if (!rs.Avtal.empty()) {
    SqlStatement avtal;
    for (const std::string& piece : DelaUppString(rs.Avtal, ","))
      avtal.Separator(" OR ").Text("(upper(Kund.Avtal) LIKE ").Pattern("%" + AnsiUpperCase(piece) + "%").Text(")");
    alternativ(avtal);
  }

  if (!rs.ArMan.empty()) Innehaller(w, "Kund.Tips", rs.ArMan);

  w.Separator(" AND ");
  if (!rs.Status.empty())
    w.Text("(").UpperEquals("Kund.Status", rs.Status).Text(")");
  else
    w.Text("(Kund.Status = 'B' OR Kund.Status = 'F' OR Kund.Status = 'P' OR Kund.Status = 'G' OR Kund.Status = 'A')");

  if (!rs.Niva.empty()) {
    w.Separator(" AND ");
    if (rs.Niva[0] == '>')
      w.Text("(upper(Kund.Niva) > ").Value(rs.Niva.substr(1, 1)).Text(")");
    else
      w.Text("(").UpperEquals("Kund.Niva", rs.Niva).Text(")");
  }
  if (!rs.UndhGenre.empty()) Innehaller(w, "upper(Kund.UndhGenre)", rs.UndhGenre);
  if (!rs.FdagInriktning.empty()) Innehaller(w, "upper(Kund.FdagInriktning)", rs.FdagInriktning);

  SqlStatement s = NyFraga("Kund.Kundid, Kund.Ftagnamn, Kund.Niva", "Kund", "Kund");
  // The region of an area code ("SS", "SG", "SM") is a column of the
  // municipality table: only a search that names a region joins it, so that
  // every other search keeps its plain statement. The outer join keeps the
  // customers that other alternatives of the area condition select, and the
  // municipality key makes it add no rows.
  if (regionUsed) {
    s.Line(" LEFT OUTER JOIN ").Table("Komm", "Komm");
    s.Line(" ON  (Kund.Lankod = Komm.Lankod AND Kund.Kommkod = Komm.Kommkod)");
  }
  s.Line("WHERE ").Append(w);
  s.Line("ORDER BY Kund.Ftagnamn");
  OppnaFraga(q_dbqv, std::move(s));
}

namespace {

// The offer tables of a customer, in the order their columns join the record.
const char* const kCategoryTables[] = {"Konf", "Aktv", "Logi", "Rfst", "Wend",
                                       "Undh", "Julb", "Fdag", "Bokn", "Blev"};

}  // namespace

void TForm1::SokKund(const std::string& kundid) {
  SqlStatement s = NyFraga("*", "Kund", "Kund");
  for (const char* x : kCategoryTables) {
    s.Line(" LEFT OUTER JOIN ").Table(x, x);
    s.Line(std::string(" ON  (Kund.Kundid = ") + x + ".Kundid)");
  }
  s.Line("WHERE Kund.KundId = ").Value(kundid);
  OppnaFraga(q_kund, std::move(s));
}

void TForm1::SokKonferensakuten(const std::string& kundid, TDateTime fran) {
  const auto& rs = RS();
  SqlStatement s = NyFraga("Kfak.Datum, Kfak.AntBaddar, Kfak.Text, Kfak.Uppdaterad", "Kfak", "Kfak");
  s.Line("WHERE (Kfak.KundId = ").Value(kundid).Text(") AND");
  s.Line("      (Kfak.Datum  >= ").Date(fran).Text(") AND");
  s.Line("      (Kfak.Datum  <= ").Date(fran + 21).Text(") AND");
  s.Line("      (Kfak.Uppdaterad >= ").Date(fran - rs.UppdateradDagar).Text(") AND");
  s.Line("    (Kfak.AntBio >= " + IntToStr(rs.Antal == -1 ? 10 : rs.Antal) + ")");
  s.Line("ORDER BY Kfak.Datum");
  OppnaFraga(q_temp, std::move(s));
}
