// The customer search (the request's selection as one statement over the
// customer table, opened in q_dbqv), one customer's record with all its
// offer tables (q_kund), and a conference venue's availability days (q_temp).
#include "app/vemlo3f.h"

namespace {

// The category condition of a one-letter "Vad"; empty for any other value.
const char* CategoryCondition(const std::string& vad) {
  if (vad.size() != 1) return "";
  switch (vad[0]) {
    case 'A': return "(Kund.Aktivitetsarrangor = 'J')";
    case 'C': return "(Kund.Branschleverantor = 'J')";
    case 'D':
    case 'K':
    case 'L': return "(Kund.Konferenslokal = 'J')";
    case 'F': return "(Kund.Festlokal = 'J')";
    case 'G': return "(Kund.Foredrag = 'J')";
    case 'J': return "(Kund.Julbord = 'J')";
    case 'O': return "(Kund.Logi = 'J')";
    case 'T': return "(Kund.Turistbyra = 'J')";
    case 'U': return "(Kund.Underhallning = 'J')";
    case 'Y': return "(Kund.Bokningsbyra = 'J')";
    case 'W': return "(Kund.Weekendresor = 'J')";
    default: return "";
  }
}

// The region of an area code "SS", "SG" or "SM"; 0 for a county code.
char Region(const std::string& omrade) {
  if (omrade == "SS") return 'S';
  if (omrade == "SG") return 'G';
  if (omrade == "SM") return 'M';
  return 0;
}

}  // namespace

void TForm1::Sok() {
  const auto& rs = RS();
  std::string w;  // conditions, joined with AND
  std::string v;  // alternatives, joined with OR
  auto closeV = [&] {
    if (!v.empty()) w = och(w) + parentes(v);
    v.clear();
  };
  bool regionUsed = false;

  if (!rs.Ftagnamn.empty()) w = och(w) + "(upper(Kund.Ftagnamn) LIKE '%" + SqlQuote(rs.Ftagnamn) + "%')";
  if (!rs.Kedja.empty()) w = och(w) + "(upper(Kund.Kedja) LIKE '%" + SqlQuote(rs.Kedja) + "%')";

  for (size_t i = 1; i <= 30; ++i)
    if (!rs.Kundid[i].empty()) v = eller(v) + "(Kund.Kundid = '" + SqlQuote(rs.Kundid[i]) + "')";
  closeV();

  if (const char* c = CategoryCondition(rs.Vad); *c) w = och(w) + c;

  if (!rs.Kommun[1].empty()) {
    for (size_t i = 1; i <= 300 && !rs.Kommun[i].empty(); ++i) {
      const std::string& k = rs.Kommun[i];
      if (k.size() != 4) continue;
      v = eller(v) + "((Kund.Lankod = '" + SqlQuote(k.substr(0, 2)) + "') AND (Kund.Kommkod = '" +
          SqlQuote(k.substr(2, 2)) + "'))";
    }
    closeV();
  } else if (!rs.Omrade[1].empty()) {
    for (size_t i = 1; i <= 50 && !rs.Omrade[i].empty(); ++i) {
      if (char region = Region(rs.Omrade[i])) {
        v = eller(v) + "(Komm.Region = '" + region + "')";
        regionUsed = true;
      } else {
        v = eller(v) + "(Kund.Lankod = '" + SqlQuote(rs.Omrade[i]) + "')";
      }
    }
    closeV();
  }

  if (!rs.Avtal.empty()) {
    for (const std::string& piece : DelaUppString(rs.Avtal, ","))
      v = eller(v) + "(upper(Kund.Avtal) LIKE '%" + SqlQuote(AnsiUpperCase(piece)) + "%')";
    closeV();
  }

  if (!rs.ArMan.empty()) w = och(w) + "(Kund.Tips LIKE '%" + SqlQuote(rs.ArMan) + "%')";

  if (!rs.Status.empty())
    w = och(w) + "(upper(Kund.Status) = '" + SqlQuote(rs.Status) + "')";
  else
    w = och(w) +
        "(Kund.Status = 'B' OR Kund.Status = 'F' OR Kund.Status = 'P' OR Kund.Status = 'G' OR Kund.Status = 'A')";

  if (!rs.Niva.empty()) {
    if (rs.Niva[0] == '>')
      w = och(w) + "(upper(Kund.Niva) > '" + SqlQuote(rs.Niva.substr(1, 1)) + "')";
    else
      w = och(w) + "(upper(Kund.Niva) = '" + SqlQuote(rs.Niva) + "')";
  }
  if (!rs.UndhGenre.empty()) w = och(w) + "(upper(Kund.UndhGenre) LIKE '%" + SqlQuote(rs.UndhGenre) + "%')";
  if (!rs.FdagInriktning.empty())
    w = och(w) + "(upper(Kund.FdagInriktning) LIKE '%" + SqlQuote(rs.FdagInriktning) + "%')";

  q_dbqv.Close();
  q_dbqv.SQL.Clear();
  q_dbqv.SQL.Add("SELECT Kund.Kundid, Kund.Ftagnamn, Kund.Niva");
  q_dbqv.SQL.Add("FROM " + FixaTabellnamn("Kund") + " Kund");
  // The region of an area code ("SS", "SG", "SM") is a column of the
  // municipality table: only a search that names a region joins it, so that
  // every other search keeps its plain statement. The outer join keeps the
  // customers that other alternatives of the area condition select, and the
  // municipality key makes it add no rows.
  if (regionUsed) {
    q_dbqv.SQL.Add(" LEFT OUTER JOIN " + FixaTabellnamn("Komm") + " Komm");
    q_dbqv.SQL.Add(" ON  (Kund.Lankod = Komm.Lankod AND Kund.Kommkod = Komm.Kommkod)");
  }
  q_dbqv.SQL.Add("WHERE " + w);
  q_dbqv.SQL.Add("ORDER BY Kund.Ftagnamn");
  OppnaFraga(q_dbqv);
}

namespace {

// The offer tables of a customer, in the order their columns join the record.
const char* const kCategoryTables[] = {"Konf", "Aktv", "Logi", "Rfst", "Wend",
                                       "Undh", "Julb", "Fdag", "Bokn", "Blev"};

// A date as the statements write it: month/day/year.
std::string SqlDate(TDateTime dt) { return FormatDateTime("mm\"/\"dd\"/\"yyyy", dt); }

}  // namespace

void TForm1::SokKund(const std::string& kundid) {
  q_kund.Close();
  q_kund.SQL.Clear();
  q_kund.SQL.Add("SELECT *");
  q_kund.SQL.Add("FROM " + FixaTabellnamn("Kund") + " Kund");
  for (const char* x : kCategoryTables) {
    q_kund.SQL.Add(" LEFT OUTER JOIN " + FixaTabellnamn(x) + " " + x);
    q_kund.SQL.Add(std::string(" ON  (Kund.Kundid = ") + x + ".Kundid)");
  }
  q_kund.SQL.Add("WHERE Kund.KundId = '" + SqlQuote(kundid) + "'");
  OppnaFraga(q_kund);
}

void TForm1::SokKonferensakuten(const std::string& kundid, TDateTime fran) {
  const auto& rs = RS();
  q_temp.Close();
  q_temp.SQL.Clear();
  q_temp.SQL.Add("SELECT Kfak.Datum, Kfak.AntBaddar, Kfak.Text, Kfak.Uppdaterad");
  q_temp.SQL.Add("FROM " + FixaTabellnamn("Kfak") + " Kfak");
  q_temp.SQL.Add("WHERE (Kfak.KundId = '" + SqlQuote(kundid) + "') AND");
  q_temp.SQL.Add("      (Kfak.Datum  >= '" + SqlDate(fran) + "') AND");
  q_temp.SQL.Add("      (Kfak.Datum  <= '" + SqlDate(fran + 21) + "') AND");
  q_temp.SQL.Add("      (Kfak.Uppdaterad >= '" + SqlDate(fran - rs.UppdateradDagar) + "') AND");
  if (rs.Antal == -1)
    q_temp.SQL.Add("    (Kfak.AntBio >= 10)");
  else
    q_temp.SQL.Add("    (Kfak.AntBio >= " + IntToStr(rs.Antal) + ")");
  q_temp.SQL.Add("ORDER BY Kfak.Datum");
  OppnaFraga(q_temp);
}
