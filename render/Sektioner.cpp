// Conditional sections: the per-customer flags with their two look-ups, and
// the table of section tags with the condition that shows each.
#include "app/vemlo3f.h"
#include "render/TagTable.h"

namespace {
bool J(TForm1& f, const char* falt) { return f.FaltText(falt) == "J"; }
bool Tom(TForm1& f, const char* falt) { return f.FaltText(falt).empty(); }

bool Karta(TForm1& f) {
  const std::string status = f.FaltText("geokodstatus");
  return !status.empty() && std::string_view("123").find(status) != std::string_view::npos;
}

bool KartaHemsida(TForm1& f) { return RS().NivaOver0 && AnsiUpperCase(f.FaltText("kartahemsida")) == "J"; }

bool Kfak(TForm1& f) { return RS().Starttid - RS().UppdateradDagar <= f.FaltDatum("UppdateradKfak"); }

// The section start tags, each with the condition that shows the stretch up
// to its end marker.
const TTagg kSektioner[] = {
    {"STARTNIVA0", Form::Hel, [](TForm1&, TSida&, const TBlockBit&) { return !RS().NivaOver0; }, "SLUTNIVA0"},
    {"STARTNIVA1", Form::Hel, [](TForm1&, TSida&, const TBlockBit&) { return RS().NivaOver0; }, "SLUTNIVA1"},
    {"STARTNIVA1EJBOKN", Form::Hel, [](TForm1&, TSida& s, const TBlockBit&) { return RS().NivaOver0 && !s.byra; },
     "SLUTNIVA1EJBOKN"},
    {"STARTPLATS", Form::Hel, [](TForm1&, TSida& s, const TBlockBit&) { return s.plats; }, "SLUTPLATS"},
    {"STARTAKTV", Form::Hel, [](TForm1&, TSida& s, const TBlockBit&) { return s.aktivitet; }, "SLUTAKTV"},
    {"STARTBLEV", Form::Hel, [](TForm1&, TSida& s, const TBlockBit&) { return s.leverantor; }, "SLUTBLEV"},
    {"STARTBOKN", Form::Hel, [](TForm1&, TSida& s, const TBlockBit&) { return s.byra; }, "SLUTBOKN"},
    {"STARTBOKNFF", Form::Hel, [](TForm1&, TSida& s, const TBlockBit&) { return s.forfragan; }, "SLUTBOKNFF"},
    {"STARTEJBOKNFF", Form::Hel, [](TForm1&, TSida& s, const TBlockBit&) { return !s.forfragan; }, "SLUTEJBOKNFF"},
    {"STARTFORFRAGAN", Form::Hel, [](TForm1&, TSida& s, const TBlockBit&) { return s.forfragan; }, "SLUTFORFRAGAN"},
    {"STARTEJFORFRAGAN", Form::Hel, [](TForm1&, TSida& s, const TBlockBit&) { return !s.forfragan; },
     "SLUTEJFORFRAGAN"},
    {"STARTBUDGET", Form::Hel, [](TForm1&, TSida& s, const TBlockBit&) { return s.budget; }, "SLUTBUDGET"},
    {"STARTEJBUDGET", Form::Hel, [](TForm1&, TSida& s, const TBlockBit&) { return !s.budget; }, "SLUTEJBUDGET"},
    {"STARTBOKASVIA", Form::Hel, [](TForm1& f, TSida&, const TBlockBit&) { return !Tom(f, "BokasViaKundId"); },
     "SLUTBOKASVIA"},
    {"STARTEJBOKASVIA", Form::Hel, [](TForm1& f, TSida&, const TBlockBit&) { return Tom(f, "BokasViaKundId"); },
     "SLUTEJBOKASVIA"},
    {"STARTDIREKTBOKNING", Form::Hel, [](TForm1& f, TSida&, const TBlockBit&) { return !J(f, "ejdirektbokning"); },
     "SLUTDIREKTBOKNING"},
    {"STARTEJDIREKTBOKNING", Form::Hel, [](TForm1& f, TSida&, const TBlockBit&) { return J(f, "ejdirektbokning"); },
     "SLUTEJDIREKTBOKNING"},
    {"STARTXKNT", Form::Hel, [](TForm1&, TSida&, const TBlockBit&) { return !RS().XKntKundId.empty(); }, "SLUTXKNT"},
    {"STARTEJXKNT", Form::Hel, [](TForm1&, TSida&, const TBlockBit&) { return RS().XKntKundId.empty(); }, "SLUTEJXKNT"},
    {"STARTFDAG", Form::Hel, [](TForm1&, TSida& s, const TBlockBit&) { return s.foredrag; }, "SLUTFDAG"},
    {"STARTKONTAKTINFO", Form::Hel, [](TForm1&, TSida&, const TBlockBit&) { return RS().VisaKontaktInfo; },
     "SLUTKONTAKTINFO"},
    {"STARTEJKONTAKTINFO", Form::Hel, [](TForm1&, TSida&, const TBlockBit&) { return !RS().VisaKontaktInfo; },
     "SLUTEJKONTAKTINFO"},
    {"STARTHEMSIDA", Form::Hel, [](TForm1& f, TSida&, const TBlockBit&) { return !Tom(f, "hemsida"); }, "SLUTHEMSIDA"},
    {"STARTHEMSIDAFACEBOOK", Form::Hel, [](TForm1& f, TSida&, const TBlockBit&) { return !Tom(f, "hemsidafacebook"); },
     "SLUTHEMSIDAFACEBOOK"},
    {"STARTHEMSIDAMM", Form::Hel, [](TForm1& f, TSida&, const TBlockBit&) { return !Tom(f, "hemsidamm"); },
     "SLUTHEMSIDAMM"},
    {"STARTHEMSIDAVR", Form::Hel, [](TForm1& f, TSida&, const TBlockBit&) { return !Tom(f, "hemsidavr"); },
     "SLUTHEMSIDAVR"},
    {"STARTHEMSIDAOL", Form::Hel, [](TForm1& f, TSida&, const TBlockBit&) { return !Tom(f, "hemsidaonlinebokning"); },
     "SLUTHEMSIDAOL"},
    {"STARTHEMSIDAOLKONF", Form::Hel,
     [](TForm1& f, TSida&, const TBlockBit&) { return !Tom(f, "hemsidaonlinebokningkonf"); }, "SLUTHEMSIDAOLKONF"},
    {"STARTKARTA", Form::Hel, [](TForm1& f, TSida&, const TBlockBit&) { return Karta(f); }, "SLUTKARTA"},
    {"STARTEJKARTA", Form::Hel, [](TForm1& f, TSida&, const TBlockBit&) { return !Karta(f); }, "SLUTEJKARTA"},
    {"STARTKARTAHEMSIDA", Form::Hel, [](TForm1& f, TSida&, const TBlockBit&) { return KartaHemsida(f); },
     "SLUTKARTAHEMSIDA"},
    {"STARTEJKARTAHEMSIDA", Form::Hel, [](TForm1& f, TSida&, const TBlockBit&) { return !KartaHemsida(f); },
     "SLUTEJKARTAHEMSIDA"},
    {"STARTKFAK", Form::Hel, [](TForm1& f, TSida&, const TBlockBit&) { return Kfak(f); }, "SLUTKFAK"},
    {"STARTEJKFAK", Form::Hel, [](TForm1& f, TSida&, const TBlockBit&) { return !Kfak(f); }, "SLUTEJKFAK"},
    {"STARTMENY", Form::Hel, [](TForm1&, TSida& s, const TBlockBit&) { return s.meny; }, "SLUTMENY"},
    {"STARTNYHT", Form::Hel, [](TForm1&, TSida& s, const TBlockBit&) { return s.nyheter; }, "SLUTNYHT"},
    {"STARTUNDH", Form::Hel, [](TForm1&, TSida& s, const TBlockBit&) { return s.underhallning; }, "SLUTUNDH"},
    {"STARTWEND", Form::Hel, [](TForm1&, TSida& s, const TBlockBit&) { return s.weekend; }, "SLUTWEND"},
    // <!--STARTSPRAK(x)-->: the request's language is x.
    {"STARTSPRAK", Form::Argument, [](TForm1&, TSida&, const TBlockBit& b) { return RS().Sprak == b.args[0]; },
     "SLUTSPRAK", 1, 1},
};
}  // namespace

std::span<const TTagg> Sektionstaggar() { return kSektioner; }

bool TForm1::NyhetFinns(const std::string& kategori) {
  FragaNyheter(q_dbqv.Text("Kundid"), kategori, RS().Starttid);
  bool finns = !q_temp.Eof();
  q_temp.Close();
  return finns;
}

void TForm1::BeraknaSektioner(TSida& s) {
  TRequestState& rs = RS();
  s.aktivitet = J(*this, "Aktivitetsarrangor") || J(*this, "Konferenslokal");
  s.weekend = J(*this, "Weekendresor");
  // Any of the venue kinds; those of the two flags above are read already.
  s.plats = s.aktivitet || s.weekend || J(*this, "Festlokal") || J(*this, "Julbord") || J(*this, "Logi");
  s.leverantor = J(*this, "Branschleverantor");
  s.byra = J(*this, "Bokningsbyra");
  s.foredrag = J(*this, "Foredrag");
  s.nyheter = J(*this, "Nyheter");
  s.underhallning = J(*this, "Underhallning");
  rs.NivaOver0 = FaltText("Niva") > "0";
  s.forfragan = (!Tom(*this, "telefax") || !Tom(*this, "epost")) && AnsiUpperCase(FaltText("ejboknff")) != "J";

  s.budget = false;
  if (!Contains(AnsiUpperCase(FaltText("markning")), "B2")) {
    FragaKommun(FaltText("lankod"), FaltText("kommkod"));
    s.budget = !q_temp.Eof() && !q_temp.Text("Budget").empty();
    q_temp.Close();
  }
  s.meny = s.nyheter && NyhetFinns("MENY");
}
