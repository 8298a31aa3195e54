// Simple field tags: one field of the customer each.
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
  const std::string symbol = "<td><img src=\"/bilder2/symbol" + RS().SprakKatalog;
  std::string r = "<table border=0 cellpadding=0 cellspacing=0><tr>" + symbol + "/oppet.gif\" height=11 alt=\"" +
                  HamtaText("\xD6ppetm\xE5nader") + "\" border=0></td>";
  if (oppet == "JFMAMJJASOND") {
    r += symbol + "/helaaret.gif\" height=11 border=0></td>";
  } else {
    oppet += std::string(12, ' ');
    for (int m = 1; m <= 12; ++m)
      r += symbol + "/man" + IntToStr(m) + (oppet[static_cast<size_t>(m - 1)] != ' ' ? "" : "ej") +
           ".gif\" height=11 border=0></td>";
  }
  return r + "</tr></table>";
}
