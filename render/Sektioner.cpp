// Conditional sections: the per-customer flags with their two look-ups, and
// the table of section tags with the condition that shows each.
#include "app/vemlo3f.h"
#include "render/Sida.h"

#include <string_view>
#include <unordered_map>

namespace {
using Villkor = bool (*)(TForm1& f, const TSida& s);

struct Sektion {
  const char* tagg;
  Villkor visas;
};

bool J(TForm1& f, const char* falt) { return f.FaltText(falt) == "J"; }
bool Tom(TForm1& f, const char* falt) { return f.FaltText(falt).empty(); }

bool Karta(TForm1& f) {
  std::string status = f.FaltText("geokodstatus");
  return !status.empty() && std::string("123").find(status) != std::string::npos;
}

bool KartaHemsida(TForm1& f) { return RS().NivaOver0 && AnsiUpperCase(f.FaltText("kartahemsida")) == "J"; }

bool Kfak(TForm1& f) { return RS().Starttid - RS().UppdateradDagar <= f.FaltDatum("UppdateradKfak"); }

const Sektion kSektioner[] = {
    {"<!--STARTNIVA0-->", [](TForm1&, const TSida&) { return !RS().NivaOver0; }},
    {"<!--STARTNIVA1-->", [](TForm1&, const TSida&) { return RS().NivaOver0; }},
    {"<!--STARTNIVA1EJBOKN-->", [](TForm1&, const TSida& s) { return RS().NivaOver0 && !s.byra; }},
    {"<!--STARTPLATS-->", [](TForm1&, const TSida& s) { return s.plats; }},
    {"<!--STARTAKTV-->", [](TForm1&, const TSida& s) { return s.aktivitet; }},
    {"<!--STARTBLEV-->", [](TForm1&, const TSida& s) { return s.leverantor; }},
    {"<!--STARTBOKN-->", [](TForm1&, const TSida& s) { return s.byra; }},
    {"<!--STARTBOKNFF-->", [](TForm1&, const TSida& s) { return s.forfragan; }},
    {"<!--STARTEJBOKNFF-->", [](TForm1&, const TSida& s) { return !s.forfragan; }},
    {"<!--STARTFORFRAGAN-->", [](TForm1&, const TSida& s) { return s.forfragan; }},
    {"<!--STARTEJFORFRAGAN-->", [](TForm1&, const TSida& s) { return !s.forfragan; }},
    {"<!--STARTBUDGET-->", [](TForm1&, const TSida& s) { return s.budget; }},
    {"<!--STARTEJBUDGET-->", [](TForm1&, const TSida& s) { return !s.budget; }},
    {"<!--STARTBOKASVIA-->", [](TForm1& f, const TSida&) { return !Tom(f, "BokasViaKundId"); }},
    {"<!--STARTEJBOKASVIA-->", [](TForm1& f, const TSida&) { return Tom(f, "BokasViaKundId"); }},
    {"<!--STARTDIREKTBOKNING-->", [](TForm1& f, const TSida&) { return !J(f, "ejdirektbokning"); }},
    {"<!--STARTEJDIREKTBOKNING-->", [](TForm1& f, const TSida&) { return J(f, "ejdirektbokning"); }},
    {"<!--STARTXKNT-->", [](TForm1&, const TSida&) { return !RS().XKntKundId.empty(); }},
    {"<!--STARTEJXKNT-->", [](TForm1&, const TSida&) { return RS().XKntKundId.empty(); }},
    {"<!--STARTFDAG-->", [](TForm1&, const TSida& s) { return s.foredrag; }},
    {"<!--STARTKONTAKTINFO-->", [](TForm1&, const TSida&) { return RS().VisaKontaktInfo; }},
    {"<!--STARTEJKONTAKTINFO-->", [](TForm1&, const TSida&) { return !RS().VisaKontaktInfo; }},
    {"<!--STARTHEMSIDA-->", [](TForm1& f, const TSida&) { return !Tom(f, "hemsida"); }},
    {"<!--STARTHEMSIDAFACEBOOK-->", [](TForm1& f, const TSida&) { return !Tom(f, "hemsidafacebook"); }},
    {"<!--STARTHEMSIDAMM-->", [](TForm1& f, const TSida&) { return !Tom(f, "hemsidamm"); }},
    {"<!--STARTHEMSIDAVR-->", [](TForm1& f, const TSida&) { return !Tom(f, "hemsidavr"); }},
    {"<!--STARTHEMSIDAOL-->", [](TForm1& f, const TSida&) { return !Tom(f, "hemsidaonlinebokning"); }},
    {"<!--STARTHEMSIDAOLKONF-->", [](TForm1& f, const TSida&) { return !Tom(f, "hemsidaonlinebokningkonf"); }},
    {"<!--STARTKARTA-->", [](TForm1& f, const TSida&) { return Karta(f); }},
    {"<!--STARTEJKARTA-->", [](TForm1& f, const TSida&) { return !Karta(f); }},
    {"<!--STARTKARTAHEMSIDA-->", [](TForm1& f, const TSida&) { return KartaHemsida(f); }},
    {"<!--STARTEJKARTAHEMSIDA-->", [](TForm1& f, const TSida&) { return !KartaHemsida(f); }},
    {"<!--STARTKFAK-->", [](TForm1& f, const TSida&) { return Kfak(f); }},
    {"<!--STARTEJKFAK-->", [](TForm1& f, const TSida&) { return !Kfak(f); }},
    {"<!--STARTMENY-->", [](TForm1&, const TSida& s) { return s.meny; }},
    {"<!--STARTNYHT-->", [](TForm1&, const TSida& s) { return s.nyheter; }},
    {"<!--STARTUNDH-->", [](TForm1&, const TSida& s) { return s.underhallning; }},
    {"<!--STARTWEND-->", [](TForm1&, const TSida& s) { return s.weekend; }},
};

}  // namespace

int SektionsIndex(const std::string& bit) {
  // The table by tag text, built once; the first row of a tag wins.
  static const std::unordered_map<std::string_view, int> index = [] {
    std::unordered_map<std::string_view, int> m;
    for (size_t i = 0; i < std::size(kSektioner); ++i) m.emplace(kSektioner[i].tagg, static_cast<int>(i));
    return m;
  }();
  auto it = index.find(bit);
  return it == index.end() ? -1 : it->second;
}

bool TForm1::SektionVisas(TSida& sida, const TBlockBit& b) {
  TRequestState& rs = RS();
  switch (b.typ) {
    case BitTyp::FlikStart:
    case BitTyp::FlikStartEj: {
      rs.AktuellFlik = AnsiUpperCase(b.args[0]);
      bool synlig = false;
      for (int p = 1; p <= sida.flikAntal && p <= 20; ++p)
        if (rs.FlikSynlig[static_cast<size_t>(p)] == rs.AktuellFlik) synlig = true;
      return b.typ == BitTyp::FlikStart ? synlig : !synlig;
    }
    default:
      if (b.index < 0) return rs.Sprak == b.args[0];
      return kSektioner[b.index].visas(*this, sida);
  }
}

bool TForm1::NyhetFinns(const std::string& kategori) {
  std::string d = FormatDateTime("mm\"/\"dd\"/\"yyyy", RS().Starttid);
  q_temp.SQL.Clear();
  q_temp.Close();
  q_temp.SQL.Add("SELECT Nyka.NyhtId");
  q_temp.SQL.Add("FROM " + FixaTabellnamn("Nyka"));
  q_temp.SQL.Add(" INNER JOIN " + FixaTabellnamn("Nyht"));
  q_temp.SQL.Add(" ON Nyka.KundId = Nyht.KundId AND Nyka.NyhtId = Nyht.NyhtId");
  q_temp.SQL.Add("WHERE (Nyka.KundId = '" + SqlQuote(q_dbqv.Text("Kundid")) + "') AND (Nyka.NyhtKategori = '" +
                 kategori + "')");
  q_temp.SQL.Add(" AND  (Nyht.NyhtVisasFom <= '" + d + "')");
  q_temp.SQL.Add(" AND  (Nyht.NyhtVisasTom >= '" + d + "')");
  OppnaFraga(q_temp);
  bool finns = !q_temp.Eof();
  q_temp.Close();
  return finns;
}

void TForm1::BeraknaSektioner(TSida& s) {
  TRequestState& rs = RS();
  s.plats = J(*this, "Aktivitetsarrangor") || J(*this, "Festlokal") || J(*this, "Julbord") ||
            J(*this, "Konferenslokal") || J(*this, "Logi") || J(*this, "Weekendresor");
  s.aktivitet = J(*this, "Aktivitetsarrangor") || J(*this, "Konferenslokal");
  s.leverantor = J(*this, "Branschleverantor");
  s.byra = J(*this, "Bokningsbyra");
  s.foredrag = J(*this, "Foredrag");
  s.nyheter = J(*this, "Nyheter");
  s.underhallning = J(*this, "Underhallning");
  s.weekend = J(*this, "Weekendresor");
  rs.NivaOver0 = FaltText("Niva") > "0";
  s.forfragan = (!Tom(*this, "telefax") || !Tom(*this, "epost")) && AnsiUpperCase(FaltText("ejboknff")) != "J";

  s.budget = false;
  if (!Contains(AnsiUpperCase(FaltText("markning")), "B2")) {
    q_temp.SQL.Clear();
    q_temp.Close();
    q_temp.SQL.Add("SELECT Budget");
    q_temp.SQL.Add("FROM " + FixaTabellnamn("Komm"));
    q_temp.SQL.Add("WHERE Lankod  = '" + SqlQuote(FaltText("lankod")) + "'");
    q_temp.SQL.Add("AND   Kommkod = '" + SqlQuote(FaltText("kommkod")) + "'");
    OppnaFraga(q_temp);
    s.budget = !q_temp.Eof() && !q_temp.Text("Budget").empty();
    q_temp.Close();
  }
  s.meny = s.nyheter && NyhetFinns("MENY");
}
