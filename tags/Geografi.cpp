// Geography tags: distances from the venue, the county map, coordinates,
// and the page-level names of the counties, municipalities, directions and
// genres that a search covers (for headings and meta keywords).
#include <string>
#include <string_view>

#include "app/Foga.h"
#include "app/vemlo3f.h"
#include "gateway/HUtils.h"
#include "tags/Taggdelar.h"

namespace {

}  // namespace

std::string TForm1::AVSTAND(const std::string& a) {
  const std::string_view font = a.empty() ? "<font size=-1>" : "";
  std::string rader;
  auto rad = [&](const std::string& etikett, const std::string& varde) {
    if (!varde.empty())
      Foga(rader, "<tr><td>", font, etikett, ":&nbsp;</font></td><td align=right>", font, varde, "km</font></td></tr>");
  };

  rad("Stockholm", FaltText("AvsSthlm"));
  rad("G\xF6teborg", FaltText("AvsGbg"));
  rad("Malm\xF6", FaltText("AvsMalmo"));
  for (const char* n : {"1", "2"}) {
    const std::string ort = FaltText(std::string("Ort") + n);
    if (!ort.empty()) rad(ort, FaltText(std::string("AvsOrt") + n));
  }

  const std::string inrikes = FaltText("AvsInrFlyg");
  const std::string utrikes = FaltText("AvsUtrFlyg");
  if (inrikes == utrikes) {
    rad(HamtaText("Flyg"), inrikes);
  } else {
    if (!utrikes.empty()) rad(HamtaText("Flyg utrikes"), utrikes);
    if (!inrikes.empty()) rad(HamtaText("Flyg inrikes"), inrikes);
  }

  static const char* const kAvstand[][2] = {
      {"T\xE5g", "AvsJvg"},           {"Lokala komm", "AvsLokalKomm"}, {"Centrum", "AvsCentrum"},
      {"Golf", "AvsGolf"},            {"Skidlift", "AvsSkidlift"},     {"Badplats", "AvsBadplats"},
      {"Havet", "AvsHav"},
  };
  for (const auto& [etikett, falt] : kAvstand) {
    const std::string varde = FaltText(falt);
    if (!varde.empty()) rad(HamtaText(etikett), varde);
  }

  if (rader.empty()) return "&nbsp;";
  std::string r = "<table border=0 cellpadding=0 cellspacing=0";
  if (!a.empty()) Foga(r, " class=\"", a, '"');
  Foga(r, '>', rader, "</table>");
  return r;
}

std::string TForm1::SVERIGEKARTA() {
  const std::string lankod = FaltText("lankod");
  if (FaltText("landskod") != "SE" || lankod.empty()) return {};
  const std::optional<std::string> namn = Lannamn(*this, lankod);
  if (!namn) return {};
  return Fogat("<img border=0 src=\"/images/maps/facts/se", lankod, ".gif\" alt=\"", *namn, "\">");
}

namespace {
std::string Koordinat(TForm1& f, const char* falt) {
  std::string v = f.FaltText(falt);
  return v == "0" ? std::string() : v;
}
}  // namespace

std::string TForm1::XKOORDINAT() { return Koordinat(*this, "XKoordinat"); }
std::string TForm1::YKOORDINAT() { return Koordinat(*this, "YKoordinat"); }
std::string TForm1::LATITUD() { return Koordinat(*this, "Latitud"); }
std::string TForm1::LONGITUD() { return Koordinat(*this, "Longitud"); }

std::string TForm1::LANNAMN() {
  FragaLanen();

  // "A, B och C".
  std::string r;
  const int antal = q_temp.RecordCount();
  for (int rad = 1; !q_temp.Eof(); q_temp.Next(), ++rad) {
    const std::string namn = Lansnamn(*this);
    if (r.empty())
      r = namn;
    else if (rad < antal)
      Foga(r, ", ", namn);
    else
      Foga(r, ' ', HamtaText("och"), ' ', namn);
  }
  q_temp.Close();
  return r;
}

std::string TForm1::METAOMRADENAMN() {
  // The names of every municipality (a page without an area) are a long
  // list from fixed tables: remembered as the page texts are, under the
  // areas that the request names.
  std::string nyckel = "METAOMRADENAMN";
  for (size_t i = 1; i < RS().Kommun.size() && !RS().Kommun[i].empty(); ++i) Foga(nyckel, '\x1F', RS().Kommun[i]);
  nyckel += "\x1E";
  for (size_t i = 1; i < RS().Omrade.size() && !RS().Omrade[i].empty(); ++i) Foga(nyckel, '\x1F', RS().Omrade[i]);
  return Uppslag(q_temp, nyckel, [&] {
    FragaKommunerna();
    std::string r;
    for (; !q_temp.Eof(); q_temp.Next()) r = komma(r) + AnsiLowerCase(q_temp.Text("Kommnamn"));
    q_temp.Close();
    return r;
  });
}

std::string TForm1::METAFDAGINRIKTNING() {
  return Nbsp(HamtaForknamn("KUND", "FdagInriktning", RS().FdagInriktning, ","));
}

std::string TForm1::METAUNDHGENRE() { return Nbsp(HamtaForknamn("KUND", "UndhGenre", RS().UndhGenre, ",")); }
