// The block pass: every piece of the customer block, in template order, by
// the dispatch rules; the decision for each piece was taken when the
// template was read.
#include "app/vemlo3f.h"
#include "render/Sida.h"
#include "render/TagTable.h"

namespace {
// Tags written from the request state, with their output path.
enum class Vag { Rak, Entiteter };
struct InlineTagg {
  const char* tagg;
  Vag vag;
};
const InlineTagg kInline[] = {
    {"<!--MALL-->", Vag::Rak},        {"<!--BMALL-->", Vag::Rak},         {"<!--VAD-->", Vag::Rak},
    {"<!--AVTAL-->", Vag::Rak},       {"<!--ANVKAT-->", Vag::Rak},        {"<!--XKNTKUNDID-->", Vag::Rak},
    {"<!--SPRAK2-->", Vag::Rak},      {"<!--LANG-->", Vag::Rak},          {"<!--SPRAKDIR-->", Vag::Rak},
    {"<!--STYLESHEET-->", Vag::Rak},  {"<!--NAMN2-->", Vag::Rak},         {"<!--KARTSESSION-->", Vag::Entiteter},
    {"<!--IPADRESS-->", Vag::Entiteter}, {"<!--TIDPUNKT-->", Vag::Entiteter}, {"<!--PARMANTAL-->", Vag::Entiteter},
    {"<!--PARMANTBADDAR-->", Vag::Entiteter}, {"<!--PARMANTRUM-->", Vag::Entiteter},
};

std::string Antal(int32_t v) { return v == -1 ? std::string() : IntToStr(v); }
}  // namespace

void TForm1::Klassificera(TBlockBit& b) {
  const std::string& t = b.text;
  std::vector<std::string> args;
  if (!StartsWith(t, "<!--")) {
    b.typ = BitTyp::Text;
    return;
  }
  if (MatchaArgumentTagg(t, "COUNTER", 2, args)) {
    b.typ = BitTyp::Counter;
    b.args = args;
    return;
  }
  if (t == "<!--INCCOUNTER-->") {
    b.typ = BitTyp::IncCounter;
    return;
  }
  if (t == "<!--RESETCOUNTER-->") {
    b.typ = BitTyp::ResetCounter;
    return;
  }
  if (int i = SektionsIndex(t); i >= 0) {
    b.typ = BitTyp::Sektion;
    b.index = i;
    return;
  }
  if (MatchaArgumentTagg(t, "STARTSPRAK", 1, args)) {
    b.typ = BitTyp::Sektion;
    b.index = -1;
    b.args = args;
    return;
  }
  if (StartsWith(t, "<!--SLUT")) {
    b.typ = BitTyp::Slut;
    return;
  }
  if (StartsWith(t, "<!--FLIKSTART=")) {
    b.typ = BitTyp::FlikStart;
    b.args = {TaggVarde(t, 14)};
    return;
  }
  if (StartsWith(t, "<!--FLIKSTARTEJ=")) {
    b.typ = BitTyp::FlikStartEj;
    b.args = {TaggVarde(t, 16)};
    return;
  }
  if (t == "<!--FLIKSLUT-->") {
    b.typ = BitTyp::FlikSlut;
    return;
  }
  const auto& enkla = SimpleTags();
  for (size_t i = 0; i < enkla.size(); ++i)
    if (t == std::string("<!--") + enkla[i].name + "-->") {
      b.typ = BitTyp::Enkel;
      b.index = static_cast<int>(i);
      return;
    }
  const auto& ett = OneArgTags();
  for (size_t i = 0; i < ett.size(); ++i) {
    if (t == std::string("<!--") + ett[i].name + "-->") {
      b.typ = BitTyp::EttArgument;
      b.index = static_cast<int>(i);
      b.args = {""};
      return;
    }
    if (MatchaArgumentTagg(t, ett[i].name, 1, args)) {
      b.typ = BitTyp::EttArgument;
      b.index = static_cast<int>(i);
      b.args = args;
      return;
    }
  }
  const auto& tre = ThreeArgTags();
  for (size_t i = 0; i < tre.size(); ++i) {
    bool traff = t == std::string("<!--") + tre[i].name + "-->";
    if (traff) args.clear();
    for (int n = 1; !traff && n <= 3; ++n) traff = MatchaArgumentTagg(t, tre[i].name, n, args);
    if (traff) {
      b.typ = BitTyp::TreArgument;
      b.index = static_cast<int>(i);
      args.resize(3);
      b.args = args;
      return;
    }
  }
  const auto& hemsidor = BoolTags();
  for (size_t i = 0; i < hemsidor.size(); ++i) {
    std::string namn = hemsidor[i].name;
    if (t == "<!--" + namn + "-->" || t == "<!--" + namn + "(EJQV)-->") {
      b.typ = BitTyp::Hemsida;
      b.index = static_cast<int>(i);
      b.qv = t == "<!--" + namn + "-->";
      return;
    }
  }
  if (StartsWith(t, "<!--FLIK=")) {
    b.typ = BitTyp::Flik;
    b.args = {TaggVarde(t, 9)};
    return;
  }
  if (StartsWith(t, "<!--FLIKNAMN=")) {
    b.typ = BitTyp::FlikNamn;
    b.args = {TaggVarde(t, 13)};
    return;
  }
  if (MatchaArgumentTagg(t, "HAMTATEXT", 1, args)) {
    b.typ = BitTyp::HamtaText;
    b.args = args;
    return;
  }
  for (size_t i = 0; i < std::size(kInline); ++i)
    if (t == kInline[i].tagg) {
      b.typ = BitTyp::Inline;
      b.index = static_cast<int>(i);
      return;
    }
  b.typ = BitTyp::Okand;
}

void TForm1::SkrivInline(int index) {
  const TRequestState& rs = RS();
  std::string v;
  switch (index) {
    case 0: v = HttpHtmlEncode(rs.Mall); break;
    case 1: v = HttpHtmlEncode(rs.BMall); break;
    case 2: v = HttpHtmlEncode(rs.Vad); break;
    case 3: v = HttpHtmlEncode(rs.Avtal); break;
    case 4: v = HttpHtmlEncode(rs.AnvKat); break;
    case 5: v = HttpHtmlEncode(rs.XKntKundId); break;
    case 6: v = rs.Sprak; break;
    case 7: v = rs.Sprak == "E" ? "eng" : rs.Sprak == "D" ? "ger" : "swe"; break;
    case 8: v = rs.SprakKatalog; break;
    case 9: v = HttpHtmlEncode(rs.Stylesheet); break;
    case 10: v = NAMN(); break;
    case 11: v = HttpHtmlEncode(rs.AnropsId); break;
    case 12: v = HttpHtmlEncode(HttpRemoteAddr()); break;
    case 13: v = FormatDateTime("yyyy\"-\"mm\"-\"dd hh\":\"nn\":\"ss", rs.Starttid); break;
    case 14: v = Antal(rs.Antal); break;
    case 15: v = Antal(rs.Antbaddar); break;
    case 16: v = Antal(rs.Antrum); break;
    default: break;
  }
  if (kInline[index].vag == Vag::Rak)
    HttpWrite(v);
  else
    PutAAO(v);
}

void TForm1::Blockpass(TSida& sida) {
  TRequestState& rs = RS();
  const auto& block = sida.block;
  size_t i = 0;
  auto skriv = [&](const TBlockBit& b, const std::string& resultat) {
    PutAAO(resultat == kTagPending ? b.text : resultat);
  };
  while (i < block.size()) {
    const TBlockBit& b = block[i];
    switch (b.typ) {
      case BitTyp::Text:
      case BitTyp::Okand:
        PutAAO(b.text);
        break;
      case BitTyp::Counter: {
        int32_t n = StrToInt(b.args[0]);
        if (n == 0) throw EConvertError("Division by zero");
        if (sida.counter % n == 0) PutAAO(b.args[1]);
        break;
      }
      case BitTyp::IncCounter:
        ++sida.counter;
        break;
      case BitTyp::ResetCounter:
        sida.counter = 0;
        break;
      case BitTyp::Sektion:
      case BitTyp::FlikStart:
      case BitTyp::FlikStartEj:
        if (!SektionVisas(sida, b)) {
          if (b.slut < 0) return;  // no end marker: the rest of the block is dropped
          i = static_cast<size_t>(b.slut);
        }
        break;
      case BitTyp::Slut:
        break;
      case BitTyp::FlikSlut:
        rs.AktuellFlik.clear();
        break;
      case BitTyp::Enkel:
        skriv(b, (this->*SimpleTags()[static_cast<size_t>(b.index)].method)());
        break;
      case BitTyp::EttArgument:
        skriv(b, (this->*OneArgTags()[static_cast<size_t>(b.index)].method)(b.args[0]));
        break;
      case BitTyp::TreArgument:
        skriv(b, (this->*ThreeArgTags()[static_cast<size_t>(b.index)].method)(b.args[0], b.args[1], b.args[2]));
        break;
      case BitTyp::Hemsida:
        skriv(b, (this->*BoolTags()[static_cast<size_t>(b.index)].method)(b.qv));
        break;
      case BitTyp::Flik:
        skriv(b, FLIK(b.args[0]));
        break;
      case BitTyp::FlikNamn:
        skriv(b, FLIKNAMN(b.args[0]));
        break;
      case BitTyp::HamtaText:
        PutAAO(HamtaText(b.args[0]));
        break;
      case BitTyp::Inline:
        SkrivInline(b.index);
        break;
    }
    ++i;
  }
}
