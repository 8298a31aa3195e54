// The frame pass: page-level tags answered wherever they stand, the
// customer block collected, the head written at once and the tail held back.
#include "app/vemlo3f.h"
#include "render/TagTable.h"

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

// The page frame tags, answered by the frame pass wherever they stand (in
// the head, the block and the tail), once per page.
bool Skicka(TForm1& f, TSida& s, const std::string& text) {
  f.Skicka(s, text);
  return true;
}

const TTagg kRam[] = {
    {"BAKGRUND", Form::Hel, [](TForm1& f, TSida& s, const TBlockBit&) { return Skicka(f, s, f.BAKGRUND()); }},
    {"FARG=", Form::Prefix,
     [](TForm1&, TSida&, const TBlockBit& b) {
       SattLista(RS().Farg, b.args[0], true);
       return true;
     }},
    {"FLIKDEF=", Form::Prefix,
     [](TForm1&, TSida& s, const TBlockBit& b) {
       s.flikAntal = SattLista(RS().FlikKod, b.args[0], false);
       return true;
     }},
    {"FLIKDIR=", Form::Prefix,
     [](TForm1&, TSida& s, const TBlockBit& b) {
       if (!b.args[0].empty()) s.flikKatalog = "/bilder2/kund/" + b.args[0];
       return true;
     }},
    {"FLIKBREDD=", Form::Prefix,
     [](TForm1&, TSida& s, const TBlockBit& b) {
       s.flikBredd = b.args[0];
       return true;
     }},
    {"FLIKHOJD=", Form::Prefix,
     [](TForm1&, TSida& s, const TBlockBit& b) {
       s.flikHojd = b.args[0];
       return true;
     }},
    {"FELRUBRIK", Form::Hel, [](TForm1& f, TSida& s, const TBlockBit&) { return Skicka(f, s, RS().FelRubrik); }},
    {"FELMEDDELANDE", Form::Hel, [](TForm1& f, TSida& s, const TBlockBit&) { return Skicka(f, s, RS().FelText); }},
    {"INFO", Form::Hel, [](TForm1& f, TSida& s, const TBlockBit&) { return Skicka(f, s, f.INFO()); }},
    {"KUNDLISTA", Form::Hel,
     [](TForm1& f, TSida& s, const TBlockBit&) {
       f.KUNDLISTA(s);
       return true;
     }},
    {"LANNAMN", Form::Hel, [](TForm1& f, TSida& s, const TBlockBit&) { return Skicka(f, s, f.LANNAMN()); }},
    {"MANAD", Form::Hel, [](TForm1& f, TSida& s, const TBlockBit&) { return Skicka(f, s, f.MANAD()); }},
    {"MANADSLISTA", Form::Hel, [](TForm1& f, TSida& s, const TBlockBit&) { return Skicka(f, s, f.MANADSLISTA()); }},
    {"METAFDAGINRIKTNING", Form::Hel,
     [](TForm1& f, TSida& s, const TBlockBit&) { return Skicka(f, s, f.METAFDAGINRIKTNING()); }},
    {"METAOMRADENAMN", Form::Hel,
     [](TForm1& f, TSida& s, const TBlockBit&) { return Skicka(f, s, f.METAOMRADENAMN()); }},
    {"METAUNDHGENRE", Form::Hel,
     [](TForm1& f, TSida& s, const TBlockBit&) { return Skicka(f, s, f.METAUNDHGENRE()); }},
    // The customer block's own markers: nothing is kept or written.
    {"SLUT", Form::Hel,
     [](TForm1&, TSida& s, const TBlockBit&) {
       s.iBlock = false;
       return true;
     }},
    {"START", Form::Hel,
     [](TForm1&, TSida& s, const TBlockBit&) {
       s.iBlock = true;
       return true;
     }},
    {"STYLESHEETDEF", Form::Hel,
     [](TForm1& f, TSida& s, const TBlockBit&) { return Skicka(f, s, f.STYLESHEETDEF()); }},
    {"TITEL", Form::Hel, [](TForm1& f, TSida& s, const TBlockBit&) { return Skicka(f, s, f.TITEL()); }},
    // Written at once, even after the block has begun.
    {"VISASIDA", Form::Argument,
     [](TForm1& f, TSida&, const TBlockBit& b) {
       const TRequestState& rs = RS();
       f.PutAAO(rs.Visasida.empty() ? b.args[0] : HttpHtmlEncode(rs.Visasida));
       return true;
     },
     nullptr, 1, 1},
};
}  // namespace

std::span<const TTagg> RamTaggar() { return kRam; }

void TForm1::Skicka(TSida& sida, const std::string& text) {
  if (sida.blockDelar == 0)
    PutAAO(text);
  else
    sida.svans += text;
}

TBlockBit RamKlassad(std::string bit) {
  TBlockBit b;
  b.text = std::move(bit);
  if (StartsWith(b.text, "<!--")) Ramindex().Sok(b);  // every tag is a comment
  return b;
}

void TForm1::RamBit(TSida& sida, std::string bit) {
  TBlockBit b = RamKlassad(std::move(bit));
  // A piece of the block moves into it; everything else as a kept piece.
  if (!b.tagg && sida.iBlock) {
    ++sida.blockDelar;
    sida.block.emplace_back().text = std::move(b.text);
    return;
  }
  RamDel(sida, b, false);
}

void TForm1::RamDel(TSida& sida, const TBlockBit& b, bool blockSparat) {
  if (b.tagg) {
    b.tagg->handling(*this, sida, b);
    return;
  }
  // Text, and comments that are no frame tag: kept for the block inside it,
  // written out elsewhere.
  if (sida.iBlock) {
    ++sida.blockDelar;
    if (!blockSparat) sida.block.emplace_back().text = b.text;
  } else {
    Skicka(sida, b.text);
  }
}

void TForm1::KUNDLISTA(TSida& sida) {
  if (!q_dbqv.Active()) return;
  q_dbqv.First();
  while (!q_dbqv.Eof()) {
    Skicka(sida, "<a href=#" + AnsiUpperCase(q_dbqv.Text("Kundid")) + ">" + q_dbqv.Text("Ftagnamn") + "</a><br>");
    q_dbqv.Next();
  }
}
