// The block pass: every piece of the customer block, in template order, by
// the dispatch rules; the decision for each piece was taken when the
// template was read.
#include "app/vemlo3f.h"
#include "render/Sida.h"
#include "render/TagTable.h"

#include <unordered_map>
#include <utility>

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

// The tag tables by the text of their tags, built once: a piece is looked up
// instead of compared with every row. Where a name stands in a table twice,
// its first row wins, as a search from the top would find it.
struct Taggregister {
  std::unordered_map<std::string, int> enkla;     // "<!--NAME-->" of the simple tags
  std::unordered_map<std::string, int> ett;       // "<!--NAME-->" of the one-argument tags
  std::unordered_map<std::string, int> ettNamn;   // NAME of the one-argument tags
  std::unordered_map<std::string, int> tre;       // "<!--NAME-->" of the three-argument tags
  std::unordered_map<std::string, int> treNamn;   // NAME of the three-argument tags
  std::unordered_map<std::string, std::pair<int, bool>> hemsidor;  // both forms of the web-address tags
};

const Taggregister& Register() {
  static const Taggregister reg = [] {
    Taggregister r;
    const auto& enkla = SimpleTags();
    for (size_t i = 0; i < enkla.size(); ++i) r.enkla.emplace(std::string("<!--") + enkla[i].name + "-->", static_cast<int>(i));
    const auto& ett = OneArgTags();
    for (size_t i = 0; i < ett.size(); ++i) {
      r.ett.emplace(std::string("<!--") + ett[i].name + "-->", static_cast<int>(i));
      r.ettNamn.emplace(ett[i].name, static_cast<int>(i));
    }
    const auto& tre = ThreeArgTags();
    for (size_t i = 0; i < tre.size(); ++i) {
      r.tre.emplace(std::string("<!--") + tre[i].name + "-->", static_cast<int>(i));
      r.treNamn.emplace(tre[i].name, static_cast<int>(i));
    }
    const auto& hemsidor = BoolTags();
    for (size_t i = 0; i < hemsidor.size(); ++i) {
      std::string namn = hemsidor[i].name;
      r.hemsidor.emplace("<!--" + namn + "-->", std::make_pair(static_cast<int>(i), true));
      r.hemsidor.emplace("<!--" + namn + "(EJQV)-->", std::make_pair(static_cast<int>(i), false));
    }
    return r;
  }();
  return reg;
}

// The name of an argument tag as MatchaArgumentTagg compares it: what stands
// between "<!--" and the first "(", in upper case (the tables' names hold no
// parenthesis). Empty when there is no "(".
std::string ArgumentNamn(const std::string& t) {
  size_t p = t.find('(', 4);
  if (p == std::string::npos) return {};
  return UpperCase(std::string_view(t).substr(4, p - 4));
}
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
  const Taggregister& reg = Register();
  if (auto it = reg.enkla.find(t); it != reg.enkla.end()) {
    b.typ = BitTyp::Enkel;
    b.index = it->second;
    return;
  }
  std::string argNamn = ArgumentNamn(t);
  if (auto it = reg.ett.find(t); it != reg.ett.end()) {
    b.typ = BitTyp::EttArgument;
    b.index = it->second;
    b.args = {""};
    return;
  }
  if (auto it = reg.ettNamn.find(argNamn); it != reg.ettNamn.end() &&
                                          MatchaArgumentTagg(t, OneArgTags()[static_cast<size_t>(it->second)].name, 1, args)) {
    b.typ = BitTyp::EttArgument;
    b.index = it->second;
    b.args = args;
    return;
  }
  {
    int i = -1;
    if (auto it = reg.tre.find(t); it != reg.tre.end()) {
      i = it->second;
      args.clear();
    } else if (auto it2 = reg.treNamn.find(argNamn); it2 != reg.treNamn.end()) {
      const char* namn = ThreeArgTags()[static_cast<size_t>(it2->second)].name;
      for (int n = 1; i < 0 && n <= 3; ++n)
        if (MatchaArgumentTagg(t, namn, n, args)) i = it2->second;
    }
    if (i >= 0) {
      b.typ = BitTyp::TreArgument;
      b.index = i;
      args.resize(3);
      b.args = args;
      return;
    }
  }
  if (auto it = reg.hemsidor.find(t); it != reg.hemsidor.end()) {
    b.typ = BitTyp::Hemsida;
    b.index = it->second.first;
    b.qv = it->second.second;
    return;
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
        PutAAO((this->*SimpleTags()[static_cast<size_t>(b.index)].method)());
        break;
      case BitTyp::EttArgument:
        PutAAO((this->*OneArgTags()[static_cast<size_t>(b.index)].method)(b.args[0]));
        break;
      case BitTyp::TreArgument:
        PutAAO((this->*ThreeArgTags()[static_cast<size_t>(b.index)].method)(b.args[0], b.args[1], b.args[2]));
        break;
      case BitTyp::Hemsida:
        PutAAO((this->*BoolTags()[static_cast<size_t>(b.index)].method)(b.qv));
        break;
      case BitTyp::Flik:
        PutAAO(FLIK(b.args[0]));
        break;
      case BitTyp::FlikNamn:
        PutAAO(FLIKNAMN(b.args[0]));
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
