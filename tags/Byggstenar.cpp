// Building blocks of the tag methods: reading the current customer's fields
// and the small patterns that many tags share.
#include "app/Foga.h"
#include "app/vemlo3f.h"

std::string TForm1::FaltText(std::string_view falt) { return q_kund.FieldByName(falt).AsString(); }
double TForm1::FaltTal(std::string_view falt) { return q_kund.FieldByName(falt).AsFloat(); }
int32_t TForm1::FaltHeltal(std::string_view falt) { return q_kund.FieldByName(falt).AsInteger(); }
TDateTime TForm1::FaltDatum(std::string_view falt) { return q_kund.FieldByName(falt).AsDateTime(); }

std::string TForm1::Kodlista(const std::string& tabell, const std::string& falt, const std::string& avskiljare) {
  return HamtaForknamn(tabell, falt, FaltText(falt), avskiljare);
}

void TForm1::RubrikSektion(std::string& ackumulator, const std::string& rubrik, const std::string& innehall) {
  Foga(ackumulator, ackumulator.empty() ? "" : "<br>", "<b>", HamtaText(rubrik), ":</b><br>", innehall);
}

std::string TForm1::SprakFalt(const std::string& bas) {
  const std::string& sprak = RS().Sprak;
  if (sprak == "E") return Fogat(bas, "Eng");
  if (sprak == "D") return Fogat(bas, "Ty");
  return bas;
}

std::string TForm1::DettaAr() { return FormatDateTime("yyyy", Now()); }
