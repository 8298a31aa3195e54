// One customer's record with all its offer tables, and a conference venue's
// availability days.
#include "app/vemlo3f.h"

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
