// The block pass: every piece of the customer block, in template order, by
// the dispatch rules; the decision for each piece was taken when the
// template was read. Here are the block's own control tags and the tags
// written from the request state.
#include "app/vemlo3f.h"
#include "render/TagTable.h"

namespace {
// The tab of a tab section is the current one from its start on; the
// section is shown when the customer has that tab.
bool FlikSynlig(TSida& sida, const std::string& kod) {
  TRequestState& rs = RS();
  rs.AktuellFlik = AnsiUpperCase(kod);
  for (int p = 1; p <= sida.flikAntal && p <= 20; ++p)
    if (rs.FlikSynlig[static_cast<size_t>(p)] == rs.AktuellFlik) return true;
  return false;
}

// The counter, the end markers, the tabs and the texts of the block.
const TTagg kKontroll[] = {
    {"COUNTER", Form::Argument,
     [](TForm1& f, TSida& s, const TBlockBit& b) {
       int32_t n = StrToInt(b.args[0]);
       if (n == 0) throw EConvertError("Division by zero");
       if (s.counter % n == 0) f.PutAAO(b.args[1]);
       return true;
     },
     nullptr, 2, 2},
    {"INCCOUNTER", Form::Hel,
     [](TForm1&, TSida& s, const TBlockBit&) {
       ++s.counter;
       return true;
     }},
    {"RESETCOUNTER", Form::Hel,
     [](TForm1&, TSida& s, const TBlockBit&) {
       s.counter = 0;
       return true;
     }},
    // Any piece beginning "<!--SLUT": the end markers of kept sections vanish.
    {"SLUT", Form::Prefix, [](TForm1&, TSida&, const TBlockBit&) { return true; }},
    {"FLIKSTART=", Form::Prefix, [](TForm1&, TSida& s, const TBlockBit& b) { return FlikSynlig(s, b.args[0]); },
     "FLIKSLUT"},
    {"FLIKSTARTEJ=", Form::Prefix, [](TForm1&, TSida& s, const TBlockBit& b) { return !FlikSynlig(s, b.args[0]); },
     "FLIKSLUTEJ"},
    {"FLIKSLUT", Form::Hel,
     [](TForm1&, TSida&, const TBlockBit&) {
       RS().AktuellFlik.clear();
       return true;
     }},
    {"FLIK=", Form::Prefix,
     [](TForm1& f, TSida&, const TBlockBit& b) {
       f.PutAAO(f.FLIK(b.args[0]));
       return true;
     }},
    {"FLIKNAMN=", Form::Prefix,
     [](TForm1& f, TSida&, const TBlockBit& b) {
       f.PutAAO(f.FLIKNAMN(b.args[0]));
       return true;
     }},
    {"HAMTATEXT", Form::Argument,
     [](TForm1& f, TSida&, const TBlockBit& b) {
       f.PutAAO(f.HamtaText(b.args[0]));
       return true;
     },
     nullptr, 1, 1},
};

std::string Antal(int32_t v) { return v == -1 ? std::string() : IntToStr(v); }

// Tags written from the request state, with no method of their own: the
// request's own values unchanged (HttpWrite, after HTML escaping where the
// visitor chose them), the others through PutAAO.
bool Rak(const std::string& v) {
  HttpWrite(v);
  return true;
}
bool Entiteter(TForm1& f, const std::string& v) {
  f.PutAAO(v);
  return true;
}

const TTagg kInline[] = {
    {"MALL", Form::Hel, [](TForm1&, TSida&, const TBlockBit&) { return Rak(HttpHtmlEncode(RS().Mall)); }},
    {"BMALL", Form::Hel, [](TForm1&, TSida&, const TBlockBit&) { return Rak(HttpHtmlEncode(RS().BMall)); }},
    {"VAD", Form::Hel, [](TForm1&, TSida&, const TBlockBit&) { return Rak(HttpHtmlEncode(RS().Vad)); }},
    {"AVTAL", Form::Hel, [](TForm1&, TSida&, const TBlockBit&) { return Rak(HttpHtmlEncode(RS().Avtal)); }},
    {"ANVKAT", Form::Hel, [](TForm1&, TSida&, const TBlockBit&) { return Rak(HttpHtmlEncode(RS().AnvKat)); }},
    {"XKNTKUNDID", Form::Hel, [](TForm1&, TSida&, const TBlockBit&) { return Rak(HttpHtmlEncode(RS().XKntKundId)); }},
    {"SPRAK2", Form::Hel, [](TForm1&, TSida&, const TBlockBit&) { return Rak(RS().Sprak); }},
    {"LANG", Form::Hel,
     [](TForm1&, TSida&, const TBlockBit&) {
       const std::string& s = RS().Sprak;
       return Rak(s == "E" ? "eng" : s == "D" ? "ger" : "swe");
     }},
    {"SPRAKDIR", Form::Hel, [](TForm1&, TSida&, const TBlockBit&) { return Rak(RS().SprakKatalog); }},
    {"STYLESHEET", Form::Hel, [](TForm1&, TSida&, const TBlockBit&) { return Rak(HttpHtmlEncode(RS().Stylesheet)); }},
    {"NAMN2", Form::Hel, [](TForm1& f, TSida&, const TBlockBit&) { return Rak(f.NAMN()); }},
    {"KARTSESSION", Form::Hel,
     [](TForm1& f, TSida&, const TBlockBit&) { return Entiteter(f, HttpHtmlEncode(RS().AnropsId)); }},
    {"IPADRESS", Form::Hel,
     [](TForm1& f, TSida&, const TBlockBit&) { return Entiteter(f, HttpHtmlEncode(HttpRemoteAddr())); }},
    {"TIDPUNKT", Form::Hel,
     [](TForm1& f, TSida&, const TBlockBit&) {
       return Entiteter(f, FormatDateTime("yyyy\"-\"mm\"-\"dd hh\":\"nn\":\"ss", RS().Starttid));
     }},
    {"PARMANTAL", Form::Hel, [](TForm1& f, TSida&, const TBlockBit&) { return Entiteter(f, Antal(RS().Antal)); }},
    {"PARMANTBADDAR", Form::Hel,
     [](TForm1& f, TSida&, const TBlockBit&) { return Entiteter(f, Antal(RS().Antbaddar)); }},
    {"PARMANTRUM", Form::Hel, [](TForm1& f, TSida&, const TBlockBit&) { return Entiteter(f, Antal(RS().Antrum)); }},
};
}  // namespace

std::span<const TTagg> Kontrolltaggar() { return kKontroll; }
std::span<const TTagg> Inlinetaggar() { return kInline; }

void TForm1::Blockpass(TSida& sida) {
  const auto& block = sida.block;
  for (size_t i = 0; i < block.size(); ++i) {
    const TBlockBit& b = block[i];
    if (!b.tagg) {
      HttpWrite(b.html);  // text, and comments that are no tag
    } else if (!b.tagg->handling(*this, sida, b)) {
      // A section that is dropped: on after its end marker.
      if (b.slut < 0) return;  // no end marker: the rest of the block is dropped
      i = static_cast<size_t>(b.slut);
    }
  }
}
