// The frame pass: page-level tags answered wherever they stand, the
// customer block collected, the head written at once and the tail held back.
#include "app/vemlo3f.h"
#include "render/Sida.h"

#include <string_view>
#include <unordered_map>

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

// What the frame pass does with one kind of tag (the piece is the tag).
using Ramhandling = void (*)(TForm1&, TSida&, const std::string&);
}  // namespace

void TForm1::Skicka(TSida& sida, const std::string& text) {
  if (sida.block.empty())
    PutAAO(text);
  else
    sida.svans += text;
}

void TForm1::RamBit(TSida& sida, std::string bit) {
  // Text, and comments that are no frame tag: kept for the block inside it,
  // written out elsewhere.
  auto textbit = [&] {
    if (sida.iBlock) {
      sida.block.emplace_back().text = std::move(bit);
      return;
    }
    Skicka(sida, bit);
  };
  if (!StartsWith(bit, "<!--")) return textbit();  // every tag is a comment

  // The frame tags, whole and by their head ("<!--NAME=value-->").
  static const std::unordered_map<std::string_view, Ramhandling> hela = {
      {"<!--BAKGRUND-->", [](TForm1& f, TSida& s, const std::string&) { f.Skicka(s, f.BAKGRUND()); }},
      {"<!--FELRUBRIK-->", [](TForm1& f, TSida& s, const std::string&) { f.Skicka(s, RS().FelRubrik); }},
      {"<!--FELMEDDELANDE-->", [](TForm1& f, TSida& s, const std::string&) { f.Skicka(s, RS().FelText); }},
      {"<!--INFO-->", [](TForm1& f, TSida& s, const std::string&) { f.Skicka(s, f.INFO()); }},
      {"<!--KUNDLISTA-->", [](TForm1& f, TSida& s, const std::string&) { f.KUNDLISTA(s); }},
      {"<!--LANNAMN-->", [](TForm1& f, TSida& s, const std::string&) { f.Skicka(s, f.LANNAMN()); }},
      {"<!--MANAD-->", [](TForm1& f, TSida& s, const std::string&) { f.Skicka(s, f.MANAD()); }},
      {"<!--MANADSLISTA-->", [](TForm1& f, TSida& s, const std::string&) { f.Skicka(s, f.MANADSLISTA()); }},
      {"<!--METAFDAGINRIKTNING-->", [](TForm1& f, TSida& s, const std::string&) { f.Skicka(s, f.METAFDAGINRIKTNING()); }},
      {"<!--METAOMRADENAMN-->", [](TForm1& f, TSida& s, const std::string&) { f.Skicka(s, f.METAOMRADENAMN()); }},
      {"<!--METAUNDHGENRE-->", [](TForm1& f, TSida& s, const std::string&) { f.Skicka(s, f.METAUNDHGENRE()); }},
      {"<!--SLUT-->", [](TForm1&, TSida& s, const std::string&) { s.iBlock = false; }},
      {"<!--START-->", [](TForm1&, TSida& s, const std::string&) { s.iBlock = true; }},
      {"<!--STYLESHEETDEF-->", [](TForm1& f, TSida& s, const std::string&) { f.Skicka(s, f.STYLESHEETDEF()); }},
      {"<!--TITEL-->", [](TForm1& f, TSida& s, const std::string&) { f.Skicka(s, f.TITEL()); }},
  };
  struct Huvud {
    std::string_view huvud;
    Ramhandling handling;
  };
  static const Huvud huvuden[] = {
      {"<!--FARG=", [](TForm1&, TSida&, const std::string& t) { SattLista(RS().Farg, TaggVarde(t, 9), true); }},
      {"<!--FLIKDEF=",
       [](TForm1&, TSida& s, const std::string& t) { s.flikAntal = SattLista(RS().FlikKod, TaggVarde(t, 12), false); }},
      {"<!--FLIKDIR=",
       [](TForm1&, TSida& s, const std::string& t) {
         std::string namn = TaggVarde(t, 12);
         if (!namn.empty()) s.flikKatalog = "/bilder2/kund/" + namn;
       }},
      {"<!--FLIKBREDD=", [](TForm1&, TSida& s, const std::string& t) { s.flikBredd = TaggVarde(t, 14); }},
      {"<!--FLIKHOJD=", [](TForm1&, TSida& s, const std::string& t) { s.flikHojd = TaggVarde(t, 13); }},
  };
  if (auto it = hela.find(bit); it != hela.end()) return it->second(*this, sida, bit);
  if (bit.size() > 4 && bit[4] == 'F')
    for (const Huvud& h : huvuden)
      if (StartsWith(bit, h.huvud)) return h.handling(*this, sida, bit);
  std::vector<std::string> args;
  if (MatchaArgumentTagg(bit, "VISASIDA", 1, args)) {
    TRequestState& rs = RS();
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
