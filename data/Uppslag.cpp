// Page texts in the request's language and the names of coded values.
#include "app/vemlo3f.h"

std::string TForm1::HamtaText(const std::string& textS, int antal) {
  const auto& rs = RS();
  // The key is the Swedish text itself: a Swedish plural needs no look-up.
  if (rs.Sprak == "S" && antal != 1) return textS;

  q_sprk.Close();
  q_sprk.SQL.Clear();
  q_sprk.SQL.Add("SELECT *");
  q_sprk.SQL.Add("FROM " + FixaTabellnamn("Sprk"));
  q_sprk.SQL.Add("WHERE TextS = '" + SqlQuote(textS) + "'");
  OppnaFraga(q_sprk);
  if (q_sprk.Eof()) return textS;

  const std::string lang = "Text" + rs.Sprak;
  const std::string order1[] = {lang + "Sing", lang, "TextSing"};
  const std::string orderN[] = {lang, lang + "Sing"};
  if (antal == 1) {
    for (const auto& column : order1)
      if (auto t = q_sprk.Text(column); !t.empty()) return t;
  } else {
    for (const auto& column : orderN)
      if (auto t = q_sprk.Text(column); !t.empty()) return t;
  }
  return textS;
}

namespace {

std::string ForkTableCondition(const std::string& tabell, const std::string& falt) {
  return "(upper(Tabell) = '" + SqlQuote(AnsiUpperCase(tabell)) + "') AND (upper(Falt) = '" +
         SqlQuote(AnsiUpperCase(falt)) + "')";
}

}  // namespace

std::string TForm1::HamtaForknamn(const std::string& tabell, const std::string& falt, const std::string& koder,
                                  const std::string& avskiljare) {
  if (koder.empty()) return {};
  q_temp.Close();
  q_temp.SQL.Clear();
  q_temp.SQL.Add("SELECT Forknamn, ForknamnE, ForknamnD");
  q_temp.SQL.Add("FROM " + FixaTabellnamn("Fork"));
  std::string v;
  // Two characters per code; a single character left at the end is ignored.
  for (size_t i = 0; i + 1 < koder.size(); i += 2)
    v = eller(v) + "(upper(Fork) = '" + SqlQuote(AnsiUpperCase(koder.substr(i, 2))) + "')";
  if (!v.empty())
    q_temp.SQL.Add("WHERE (" + v + ") AND " + ForkTableCondition(tabell, falt));
  else
    q_temp.SQL.Add("WHERE " + ForkTableCondition(tabell, falt));  // every code of the column
  q_temp.SQL.Add("ORDER BY Forknamn" + RS().SprakSuffix);
  OppnaFraga(q_temp);

  const std::string column = "forknamn" + RS().SprakSuffix;
  std::string result;
  for (; !q_temp.Eof(); q_temp.Next()) {
    std::string name = q_temp.Text(column);
    if (name.empty()) name = q_temp.Text("forknamn");
    result = result.empty() ? name : result + avskiljare + name;
  }
  return result;
}

std::string TForm1::HamtaForknamn1(const std::string& tabell, const std::string& falt, const std::string& kod) {
  if (kod.empty()) return {};
  q_temp.Close();
  q_temp.SQL.Clear();
  q_temp.SQL.Add("SELECT Forknamn, ForknamnE, ForknamnD");
  q_temp.SQL.Add("FROM " + FixaTabellnamn("Fork"));
  q_temp.SQL.Add("WHERE (upper(Fork) = '" + SqlQuote(AnsiUpperCase(kod)) + "') AND " + ForkTableCondition(tabell, falt));
  OppnaFraga(q_temp);
  std::string name = q_temp.Text("forknamn" + RS().SprakSuffix);
  return name.empty() ? q_temp.Text("forknamn") : name;
}
