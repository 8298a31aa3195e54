// Data of a second customer: the booking agency the customer books through
// (BOKASVIA...) or the customer the request names in XKntKundId (XKNT...).
// Each tag reads that customer's row on its own; a customer that is not
// there leaves the tag empty.
#include <optional>

#include "app/vemlo3f.h"
#include "tags/Taggdelar.h"

namespace {

std::string Byra(TForm1& f) { return f.FaltText("BokasViaKundId"); }
const std::string& XKund() { return RS().XKntKundId; }

// One column of the second customer; nothing when it is not there.
std::optional<std::string> Kolumn(TForm1& f, const std::string& kundid, const char* kolumn) {
  auto rad = AnnanKund(f, kolumn, kundid, {kolumn});
  if (!rad) return std::nullopt;
  return std::move(rad->front());
}

// The second customer's own description in the request's language only.
std::string Text(TForm1& f, const std::string& kundid) {
  auto rad = AnnanKund(f, "EgenText, EgenTextEng, EgenTextTy", kundid, {"EgenText", "EgenTextEng", "EgenTextTy"});
  if (!rad) return {};
  const std::string& sprak = RS().Sprak;
  return std::move((*rad)[sprak == "E" ? 1 : sprak == "D" ? 2 : 0]);
}

// The image columns are not tested for emptiness: the element stands even
// without an address.
std::string Bild(TForm1& f, const std::string& kundid, const char* kolumn, const std::string& slut) {
  auto fil = Kolumn(f, kundid, kolumn);
  return fil ? Bildelement(*fil, slut) : std::string();
}

std::string Namn(TForm1& f, const std::string& kundid) { return Kolumn(f, kundid, "Ftagnamn").value_or(""); }

}  // namespace

std::string TForm1::BOKASVIABILD() { return Bild(*this, Byra(*this), "BildFil", "\">"); }
std::string TForm1::BOKASVIALOGOTYP() { return Bild(*this, Byra(*this), "LogotypeFil", "\"><br>"); }
std::string TForm1::BOKASVIANAMN() { return Namn(*this, Byra(*this)); }
std::string TForm1::BOKASVIATEXT() { return Text(*this, Byra(*this)); }

std::string TForm1::XKNTBILD() { return Bild(*this, XKund(), "BildFil", "\">"); }
std::string TForm1::XKNTLOGOTYP() { return Bild(*this, XKund(), "LogotypeFil", "\"><br>"); }
std::string TForm1::XKNTNAMN() { return Namn(*this, XKund()); }
std::string TForm1::XKNTTEXT() { return Text(*this, XKund()); }
