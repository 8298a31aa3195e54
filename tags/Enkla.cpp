// Simple field tags: one field of the customer each.
#include <algorithm>

#include "app/Foga.h"
#include "app/vemlo3f.h"

std::string TForm1::NAMN() { return FaltText("Ftagnamn"); }
std::string TForm1::BESTALLARE() { return FaltText("Bestallare"); }
std::string TForm1::BESTEPOST() { return FaltText("bestepost"); }
std::string TForm1::BESTTOM() { return FormatDateTime("yyyy\"-\"mm\"-\"dd", FaltDatum("besttom")); }
std::string TForm1::BLEVREFERENS() { return FaltText("BlevReferens"); }
std::string TForm1::BOKNREFERENSER() { return FaltText("BoknReferenser"); }

std::string TForm1::OPPET() {
  std::string oppet = FaltText("Oppet");
  if (oppet.empty()) return "&nbsp;";
  const std::string symbol = Fogat("<td><img src=\"/bilder2/symbol", RS().SprakKatalog);
  std::string r;
  r.reserve(1200);
  Foga(r, "<table border=0 cellpadding=0 cellspacing=0><tr>", symbol, "/oppet.gif\" height=11 alt=\"",
       HamtaText("\xD6ppetm\xE5nader"), "\" border=0></td>");
  if (oppet == "JFMAMJJASOND") {
    Foga(r, symbol, "/helaaret.gif\" height=11 border=0></td>");
  } else {
    static const char* const kManad[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"};
    oppet.resize(std::max<size_t>(oppet.size(), 12), ' ');
    for (size_t m = 0; m < 12; ++m)
      Foga(r, symbol, "/man", kManad[m], oppet[m] != ' ' ? "" : "ej", ".gif\" height=11 border=0></td>");
  }
  r += "</tr></table>";
  return r;
}
