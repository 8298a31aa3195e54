// The frame pass: page-level tags answered wherever they stand, the
// customer block collected, the head written at once and the tail held back.
#include "app/vemlo3f.h"
#include "render/Sida.h"

namespace {
// A list of a page-level tag: cut at every comma; the text after the last
// comma is one more entry when it is not empty. Entries beyond the room of
// the page's fields are ignored.
template <size_t M>
int SattLista(std::array<std::string, M>& falt, const std::string& lista, bool gemener) {
  std::vector<std::string> poster;
  std::string rest = lista;
  for (size_t k = rest.find(','); k != std::string::npos; k = rest.find(',')) {
    poster.push_back(rest.substr(0, k));
    rest = rest.substr(k + 1);
  }
  if (!rest.empty()) poster.push_back(rest);
  size_t n = std::min(poster.size(), M - 1);
  for (size_t i = 0; i < n; ++i) falt[i + 1] = gemener ? AnsiLowerCase(poster[i]) : AnsiUpperCase(poster[i]);
  return static_cast<int>(n);
}

using Sidmetod = std::string (TForm1::*)();
struct Sidtagg {
  const char* tagg;
  Sidmetod metod;
};
}  // namespace

void TForm1::Skicka(TSida& sida, const std::string& text) {
  if (sida.block.empty())
    PutAAO(text);
  else
    sida.svans += text;
}

void TForm1::RamBit(TSida& sida, const std::string& bit) {
  TRequestState& rs = RS();
  static const Sidtagg sidtaggar[] = {
      {"<!--INFO-->", &TForm1::INFO},
      {"<!--LANNAMN-->", &TForm1::LANNAMN},
      {"<!--MANAD-->", &TForm1::MANAD},
      {"<!--MANADSLISTA-->", &TForm1::MANADSLISTA},
      {"<!--METAFDAGINRIKTNING-->", &TForm1::METAFDAGINRIKTNING},
      {"<!--METAOMRADENAMN-->", &TForm1::METAOMRADENAMN},
      {"<!--METAUNDHGENRE-->", &TForm1::METAUNDHGENRE},
  };
  auto sidmetod = [&](Sidmetod m) { Skicka(sida, (this->*m)()); };
  // Text, and comments that are no frame tag: kept for the block inside it,
  // written out elsewhere.
  auto textbit = [&] {
    if (sida.iBlock) {
      TBlockBit b;
      b.text = bit;
      sida.block.push_back(std::move(b));
      return;
    }
    Skicka(sida, bit);
  };
  if (!StartsWith(bit, "<!--")) return textbit();  // every tag is a comment

  if (bit == "<!--BAKGRUND-->") return sidmetod(&TForm1::BAKGRUND);
  if (StartsWith(bit, "<!--FARG=")) {
    SattLista(rs.Farg, TaggVarde(bit, 9), true);
    return;
  }
  if (StartsWith(bit, "<!--FLIKDEF=")) {
    sida.flikAntal = SattLista(rs.FlikKod, TaggVarde(bit, 12), false);
    return;
  }
  if (StartsWith(bit, "<!--FLIKDIR=")) {
    std::string namn = TaggVarde(bit, 12);
    if (!namn.empty()) sida.flikKatalog = "/bilder2/kund/" + namn;
    return;
  }
  if (StartsWith(bit, "<!--FLIKBREDD=")) {
    sida.flikBredd = TaggVarde(bit, 14);
    return;
  }
  if (StartsWith(bit, "<!--FLIKHOJD=")) {
    sida.flikHojd = TaggVarde(bit, 13);
    return;
  }
  if (bit == "<!--FELRUBRIK-->") return Skicka(sida, rs.FelRubrik);
  if (bit == "<!--FELMEDDELANDE-->") return Skicka(sida, rs.FelText);
  if (bit == "<!--INFO-->") return sidmetod(&TForm1::INFO);
  if (bit == "<!--KUNDLISTA-->") return KUNDLISTA(sida);
  for (const auto& t : sidtaggar)
    if (bit == t.tagg) return sidmetod(t.metod);
  if (bit == "<!--SLUT-->") {
    sida.iBlock = false;
    return;
  }
  if (bit == "<!--START-->") {
    sida.iBlock = true;
    return;
  }
  if (bit == "<!--STYLESHEETDEF-->") return sidmetod(&TForm1::STYLESHEETDEF);
  if (bit == "<!--TITEL-->") return sidmetod(&TForm1::TITEL);
  std::vector<std::string> args;
  if (MatchaArgumentTagg(bit, "VISASIDA", 1, args)) {
    PutAAO(rs.Visasida.empty() ? args[0] : HttpHtmlEncode(rs.Visasida));
    return;
  }
  textbit();
}

void TForm1::KUNDLISTA(TSida& sida) {
  if (!q_dbqv.Active()) return;
  q_dbqv.First();
  while (!q_dbqv.Eof()) {
    Skicka(sida, "<a href=#" + AnsiUpperCase(q_dbqv.Text("Kundid")) + ">" + q_dbqv.Text("Ftagnamn") + "</a><br>");
    q_dbqv.Next();
  }
}
