// The field tags: template tag name to the module's method of the same name,
// one table per kind of method. The processor writes the method's result
// with PutAAO.
#include "render/TagTable.h"

namespace {
template <std::string (TForm1::*M)()>
bool Enkel(TForm1& f, TSida&, const TBlockBit&) {
  f.PutAAO((f.*M)());
  return true;
}
template <std::string (TForm1::*M)(const std::string&)>
bool EttArgument(TForm1& f, TSida&, const TBlockBit& b) {
  f.PutAAO((f.*M)(b.args[0]));
  return true;
}
template <std::string (TForm1::*M)(const std::string&, const std::string&, const std::string&)>
bool TreArgument(TForm1& f, TSida&, const TBlockBit& b) {
  f.PutAAO((f.*M)(b.args[0], b.args[1], b.args[2]));
  return true;
}
template <std::string (TForm1::*M)(bool)>
bool Hemsida(TForm1& f, TSida&, const TBlockBit& b) {
  f.PutAAO((f.*M)(b.qv));
  return true;
}

// Tags without arguments.
const TTagg kEnkla[] = {
    {"AVSKILJARE", Form::Hel, Enkel<&TForm1::AVSKILJARE>},
    {"BYTSPRAK", Form::Hel, Enkel<&TForm1::BYTSPRAK>},
    {"ID", Form::Hel, Enkel<&TForm1::ID>},
    {"KUNDID", Form::Hel, Enkel<&TForm1::KUNDID>},
    {"NIVA", Form::Hel, Enkel<&TForm1::NIVA>},
    {"SPRAK", Form::Hel, Enkel<&TForm1::SPRAK>},
    {"SYMBOLER", Form::Hel, Enkel<&TForm1::SYMBOLER>},
    {"TIPS", Form::Hel, Enkel<&TForm1::TIPS>},
    {"ADRESS", Form::Hel, Enkel<&TForm1::ADRESS>},
    {"ADRESSCRLF", Form::Hel, Enkel<&TForm1::ADRESSCRLF>},
    {"AKTVBILD", Form::Hel, Enkel<&TForm1::AKTVBILD>},
    {"AKTVBOKNING", Form::Hel, Enkel<&TForm1::AKTVBOKNING>},
    {"AKTVEGENSKAPER", Form::Hel, Enkel<&TForm1::AKTVEGENSKAPER>},
    {"AKTVOVRIGT", Form::Hel, Enkel<&TForm1::AKTVOVRIGT>},
    {"AKTVSASONGVAR", Form::Hel, Enkel<&TForm1::AKTVSASONGVAR>},
    {"AKTVSPORT", Form::Hel, Enkel<&TForm1::AKTVSPORT>},
    {"AKTVSYFTE", Form::Hel, Enkel<&TForm1::AKTVSYFTE>},
    {"AKTVTEAMBUILDING", Form::Hel, Enkel<&TForm1::AKTVTEAMBUILDING>},
    {"AKTVTEXT", Form::Hel, Enkel<&TForm1::AKTVTEXT>},
    {"AKTVTEXTENG", Form::Hel, Enkel<&TForm1::AKTVTEXTENG>},
    {"AKTVTEXTTY", Form::Hel, Enkel<&TForm1::AKTVTEXTTY>},
    {"BESTALLARE", Form::Hel, Enkel<&TForm1::BESTALLARE>},
    {"BESTEPOST", Form::Hel, Enkel<&TForm1::BESTEPOST>},
    {"BESTTOM", Form::Hel, Enkel<&TForm1::BESTTOM>},
    {"BILD", Form::Hel, Enkel<&TForm1::BILD>},
    {"BILDHOGER", Form::Hel, Enkel<&TForm1::BILDHOGER>},
    {"BILDVANSTER", Form::Hel, Enkel<&TForm1::BILDVANSTER>},
    {"BLEVBILD", Form::Hel, Enkel<&TForm1::BLEVBILD>},
    {"BLEVBOKNING", Form::Hel, Enkel<&TForm1::BLEVBOKNING>},
    {"BLEVEGENSKAPER", Form::Hel, Enkel<&TForm1::BLEVEGENSKAPER>},
    {"BLEVKUNDGRUPP", Form::Hel, Enkel<&TForm1::BLEVKUNDGRUPP>},
    {"BLEVPRISINFO", Form::Hel, Enkel<&TForm1::BLEVPRISINFO>},
    {"BLEVPRODUKTER", Form::Hel, Enkel<&TForm1::BLEVPRODUKTER>},
    {"BLEVPRODUKTERTJANSTER", Form::Hel, Enkel<&TForm1::BLEVPRODUKTERTJANSTER>},
    {"BLEVREFERENS", Form::Hel, Enkel<&TForm1::BLEVREFERENS>},
    {"BLEVTEXT", Form::Hel, Enkel<&TForm1::BLEVTEXT>},
    {"BLEVTEXTENG", Form::Hel, Enkel<&TForm1::BLEVTEXTENG>},
    {"BLEVTEXTTY", Form::Hel, Enkel<&TForm1::BLEVTEXTTY>},
    {"BOKASVIABILD", Form::Hel, Enkel<&TForm1::BOKASVIABILD>},
    {"BOKASVIALOGOTYP", Form::Hel, Enkel<&TForm1::BOKASVIALOGOTYP>},
    {"BOKASVIANAMN", Form::Hel, Enkel<&TForm1::BOKASVIANAMN>},
    {"BOKASVIATEXT", Form::Hel, Enkel<&TForm1::BOKASVIATEXT>},
    {"BOKASVIATELEFONALLA", Form::Hel, Enkel<&TForm1::BOKASVIATELEFONALLA>},
    {"BOKNBILD", Form::Hel, Enkel<&TForm1::BOKNBILD>},
    {"BOKNBOKAR", Form::Hel, Enkel<&TForm1::BOKNBOKAR>},
    {"BOKNBOKNINGOMRADE", Form::Hel, Enkel<&TForm1::BOKNBOKNINGOMRADE>},
    {"BOKNEGENSKAPER", Form::Hel, Enkel<&TForm1::BOKNEGENSKAPER>},
    {"BOKNGRUPPSTORLEK", Form::Hel, Enkel<&TForm1::BOKNGRUPPSTORLEK>},
    {"BOKNINRIKTNING", Form::Hel, Enkel<&TForm1::BOKNINRIKTNING>},
    {"BOKNREFERENSER", Form::Hel, Enkel<&TForm1::BOKNREFERENSER>},
    {"BOKNTEXT", Form::Hel, Enkel<&TForm1::BOKNTEXT>},
    {"BOKNTEXTENG", Form::Hel, Enkel<&TForm1::BOKNTEXTENG>},
    {"BOKNTEXTTY", Form::Hel, Enkel<&TForm1::BOKNTEXTTY>},
    {"EGENINR", Form::Hel, Enkel<&TForm1::EGENINR>},
    {"EGENTEXTMINI", Form::Hel, Enkel<&TForm1::EGENTEXTMINI>},
    {"EPOST", Form::Hel, Enkel<&TForm1::EPOST>},
    {"FACILITETER", Form::Hel, Enkel<&TForm1::FACILITETER>},
    {"FDAGAMNEN", Form::Hel, Enkel<&TForm1::FDAGAMNEN>},
    {"FDAGBILD", Form::Hel, Enkel<&TForm1::FDAGBILD>},
    {"FDAGBOKNING", Form::Hel, Enkel<&TForm1::FDAGBOKNING>},
    {"FDAGEGENSKAPER", Form::Hel, Enkel<&TForm1::FDAGEGENSKAPER>},
    {"FDAGINRIKTNING", Form::Hel, Enkel<&TForm1::FDAGINRIKTNING>},
    {"FDAGMALGRUPP", Form::Hel, Enkel<&TForm1::FDAGMALGRUPP>},
    {"FDAGMERIT", Form::Hel, Enkel<&TForm1::FDAGMERIT>},
    {"FDAGMERITENG", Form::Hel, Enkel<&TForm1::FDAGMERITENG>},
    {"FDAGMERITTY", Form::Hel, Enkel<&TForm1::FDAGMERITTY>},
    {"FDAGREFERENS", Form::Hel, Enkel<&TForm1::FDAGREFERENS>},
    {"FDAGTEXT", Form::Hel, Enkel<&TForm1::FDAGTEXT>},
    {"FDAGTEXTENG", Form::Hel, Enkel<&TForm1::FDAGTEXTENG>},
    {"FDAGTEXTTY", Form::Hel, Enkel<&TForm1::FDAGTEXTTY>},
    {"FDAGVARAKTIGHET", Form::Hel, Enkel<&TForm1::FDAGVARAKTIGHET>},
    {"HEMSIDAFACEBOOK", Form::Hel, Enkel<&TForm1::HEMSIDAFACEBOOK>},
    {"HEMSIDAMM", Form::Hel, Enkel<&TForm1::HEMSIDAMM>},
    {"INTERNET", Form::Hel, Enkel<&TForm1::INTERNET>},
    {"INTERNETBLANK", Form::Hel, Enkel<&TForm1::INTERNETBLANK>},
    {"JULBARRANGEMANG", Form::Hel, Enkel<&TForm1::JULBARRANGEMANG>},
    {"JULBBILD", Form::Hel, Enkel<&TForm1::JULBBILD>},
    {"JULBBOKNING", Form::Hel, Enkel<&TForm1::JULBBOKNING>},
    {"JULBINRIKTNING", Form::Hel, Enkel<&TForm1::JULBINRIKTNING>},
    {"JULBINRIKTNINGARRANGEMANG", Form::Hel, Enkel<&TForm1::JULBINRIKTNINGARRANGEMANG>},
    {"JULBOPPET", Form::Hel, Enkel<&TForm1::JULBOPPET>},
    {"JULBOVRIGT", Form::Hel, Enkel<&TForm1::JULBOVRIGT>},
    {"JULBRUBRIK", Form::Hel, Enkel<&TForm1::JULBRUBRIK>},
    {"JULBTEXT", Form::Hel, Enkel<&TForm1::JULBTEXT>},
    {"KARAKTAR", Form::Hel, Enkel<&TForm1::KARAKTAR>},
    {"KARAKTARLAGE", Form::Hel, Enkel<&TForm1::KARAKTARLAGE>},
    {"KEDJA", Form::Hel, Enkel<&TForm1::KEDJA>},
    {"KONFBILD", Form::Hel, Enkel<&TForm1::KONFBILD>},
    {"KONFBOKNING", Form::Hel, Enkel<&TForm1::KONFBOKNING>},
    {"KONFPROFIL", Form::Hel, Enkel<&TForm1::KONFPROFIL>},
    {"KONFTEXT", Form::Hel, Enkel<&TForm1::KONFTEXT>},
    {"KONFTEXTENG", Form::Hel, Enkel<&TForm1::KONFTEXTENG>},
    {"KONFTEXTTY", Form::Hel, Enkel<&TForm1::KONFTEXTTY>},
    {"KONFUTRUSTNING", Form::Hel, Enkel<&TForm1::KONFUTRUSTNING>},
    {"LAGE", Form::Hel, Enkel<&TForm1::LAGE>},
    {"LOGIBILD", Form::Hel, Enkel<&TForm1::LOGIBILD>},
    {"LOGIBOKNING", Form::Hel, Enkel<&TForm1::LOGIBOKNING>},
    {"LOGIFACILITETER", Form::Hel, Enkel<&TForm1::LOGIFACILITETER>},
    {"LOGISTANDARD", Form::Hel, Enkel<&TForm1::LOGISTANDARD>},
    {"LOGITEXT", Form::Hel, Enkel<&TForm1::LOGITEXT>},
    {"LOGITEXTENG", Form::Hel, Enkel<&TForm1::LOGITEXTENG>},
    {"LOGITEXTTY", Form::Hel, Enkel<&TForm1::LOGITEXTTY>},
    {"LOGOTYP", Form::Hel, Enkel<&TForm1::LOGOTYP>},
    {"MINIBILD", Form::Hel, Enkel<&TForm1::MINIBILD>},
    {"NAMN", Form::Hel, Enkel<&TForm1::NAMN>},
    {"OPPET", Form::Hel, Enkel<&TForm1::OPPET>},
    {"OVRIGT", Form::Hel, Enkel<&TForm1::OVRIGT>},
    {"RFSTARRANGEMANG", Form::Hel, Enkel<&TForm1::RFSTARRANGEMANG>},
    {"RFSTBILD", Form::Hel, Enkel<&TForm1::RFSTBILD>},
    {"RFSTBOKNING", Form::Hel, Enkel<&TForm1::RFSTBOKNING>},
    {"RFSTEGENINR", Form::Hel, Enkel<&TForm1::RFSTEGENINR>},
    {"RFSTTEMAMIDDAGAR", Form::Hel, Enkel<&TForm1::RFSTTEMAMIDDAGAR>},
    {"RFSTTEXT", Form::Hel, Enkel<&TForm1::RFSTTEXT>},
    {"RFSTTEXTENG", Form::Hel, Enkel<&TForm1::RFSTTEXTENG>},
    {"RFSTTEXTTY", Form::Hel, Enkel<&TForm1::RFSTTEXTTY>},
    {"RFSTUTRUSTNING", Form::Hel, Enkel<&TForm1::RFSTUTRUSTNING>},
    {"TELEFON", Form::Hel, Enkel<&TForm1::TELEFON>},
    {"TELEFONALLA", Form::Hel, Enkel<&TForm1::TELEFONALLA>},
    {"TELEFONNR", Form::Hel, Enkel<&TForm1::TELEFONNR>},
    {"TELEFAXNR", Form::Hel, Enkel<&TForm1::TELEFAXNR>},
    {"TEXT", Form::Hel, Enkel<&TForm1::TEXT>},
    {"TEXTENG", Form::Hel, Enkel<&TForm1::TEXTENG>},
    {"TEXTTY", Form::Hel, Enkel<&TForm1::TEXTTY>},
    {"UNDHARRMALGRUPP", Form::Hel, Enkel<&TForm1::UNDHARRMALGRUPP>},
    {"UNDHBILD", Form::Hel, Enkel<&TForm1::UNDHBILD>},
    {"UNDHBOKNING", Form::Hel, Enkel<&TForm1::UNDHBOKNING>},
    {"UNDHEGENSKAPER", Form::Hel, Enkel<&TForm1::UNDHEGENSKAPER>},
    {"UNDHFOREDRAG", Form::Hel, Enkel<&TForm1::UNDHFOREDRAG>},
    {"UNDHGENRE", Form::Hel, Enkel<&TForm1::UNDHGENRE>},
    {"UNDHMERIT", Form::Hel, Enkel<&TForm1::UNDHMERIT>},
    {"UNDHMERITENG", Form::Hel, Enkel<&TForm1::UNDHMERITENG>},
    {"UNDHMERITTY", Form::Hel, Enkel<&TForm1::UNDHMERITTY>},
    {"UNDHMUSIK", Form::Hel, Enkel<&TForm1::UNDHMUSIK>},
    {"UNDHOVR", Form::Hel, Enkel<&TForm1::UNDHOVR>},
    {"UNDHREFERENS", Form::Hel, Enkel<&TForm1::UNDHREFERENS>},
    {"UNDHSASONGVAR", Form::Hel, Enkel<&TForm1::UNDHSASONGVAR>},
    {"UNDHSCENKONST", Form::Hel, Enkel<&TForm1::UNDHSCENKONST>},
    {"UNDHSPECIALITET", Form::Hel, Enkel<&TForm1::UNDHSPECIALITET>},
    {"UNDHSYFTE", Form::Hel, Enkel<&TForm1::UNDHSYFTE>},
    {"UNDHTEXT", Form::Hel, Enkel<&TForm1::UNDHTEXT>},
    {"UNDHTEXTENG", Form::Hel, Enkel<&TForm1::UNDHTEXTENG>},
    {"UNDHTEXTTY", Form::Hel, Enkel<&TForm1::UNDHTEXTTY>},
    {"VAGBESKRIVNINGBILD", Form::Hel, Enkel<&TForm1::VAGBESKRIVNINGBILD>},
    {"VAGBESKRIVNING", Form::Hel, Enkel<&TForm1::VAGBESKRIVNING>},
    {"VAGBESKRIVNINGENG", Form::Hel, Enkel<&TForm1::VAGBESKRIVNINGENG>},
    {"VAGBESKRIVNINGTY", Form::Hel, Enkel<&TForm1::VAGBESKRIVNINGTY>},
    {"WENDAKTIVITET", Form::Hel, Enkel<&TForm1::WENDAKTIVITET>},
    {"WENDAVKOPPLING", Form::Hel, Enkel<&TForm1::WENDAVKOPPLING>},
    {"WENDBILD", Form::Hel, Enkel<&TForm1::WENDBILD>},
    {"WENDBOKNING", Form::Hel, Enkel<&TForm1::WENDBOKNING>},
    {"WENDEGENSKAPER", Form::Hel, Enkel<&TForm1::WENDEGENSKAPER>},
    {"WENDKULTURNOJE", Form::Hel, Enkel<&TForm1::WENDKULTURNOJE>},
    {"WENDOVR", Form::Hel, Enkel<&TForm1::WENDOVR>},
    {"WENDSASONG", Form::Hel, Enkel<&TForm1::WENDSASONG>},
    {"WENDSYFTE", Form::Hel, Enkel<&TForm1::WENDSYFTE>},
    {"WENDTEXT", Form::Hel, Enkel<&TForm1::WENDTEXT>},
    {"WENDTEXTENG", Form::Hel, Enkel<&TForm1::WENDTEXTENG>},
    {"WENDTEXTTY", Form::Hel, Enkel<&TForm1::WENDTEXTTY>},
    {"XKNTLOGOTYP", Form::Hel, Enkel<&TForm1::XKNTLOGOTYP>},
    {"XKNTBILD", Form::Hel, Enkel<&TForm1::XKNTBILD>},
    {"XKNTNAMN", Form::Hel, Enkel<&TForm1::XKNTNAMN>},
    {"XKNTTEXT", Form::Hel, Enkel<&TForm1::XKNTTEXT>},
    {"XKNTTELEFONMM", Form::Hel, Enkel<&TForm1::XKNTTELEFONMM>},
    {"ARETSAMETIST", Form::Hel, Enkel<&TForm1::ARETSAMETIST>},
    {"KONFPRIS", Form::Hel, Enkel<&TForm1::KONFPRIS>},
    {"LATITUD", Form::Hel, Enkel<&TForm1::LATITUD>},
    {"LOGIKAPACITET", Form::Hel, Enkel<&TForm1::LOGIKAPACITET>},
    {"LOGIPRIS", Form::Hel, Enkel<&TForm1::LOGIPRIS>},
    {"LONGITUD", Form::Hel, Enkel<&TForm1::LONGITUD>},
    {"MANADTIPS", Form::Hel, Enkel<&TForm1::MANADTIPS>},
    {"SVERIGEKARTA", Form::Hel, Enkel<&TForm1::SVERIGEKARTA>},
    {"UTBUDKAPACITET", Form::Hel, Enkel<&TForm1::UTBUDKAPACITET>},
    {"WENDPRIS", Form::Hel, Enkel<&TForm1::WENDPRIS>},
    {"XKOORDINAT", Form::Hel, Enkel<&TForm1::XKOORDINAT>},
    {"YKOORDINAT", Form::Hel, Enkel<&TForm1::YKOORDINAT>},
};

// Tags with one argument: the plain form gives the empty argument.
const TTagg kEttArgument[] = {
    {"AVSTAND", Form::Argument, EttArgument<&TForm1::AVSTAND>, nullptr, 0, 1},
    {"KONFAKUTEN", Form::Argument, EttArgument<&TForm1::KONFAKUTEN>, nullptr, 0, 1},
    {"KONFKAPACITET", Form::Argument, EttArgument<&TForm1::KONFKAPACITET>, nullptr, 0, 1},
    {"RFSTKAPACITET", Form::Argument, EttArgument<&TForm1::RFSTKAPACITET>, nullptr, 0, 1},
    {"NAMNLANK", Form::Argument, EttArgument<&TForm1::NAMNLANK>, nullptr, 0, 1},
    {"NAMNDIREKTLANK", Form::Argument, EttArgument<&TForm1::NAMNDIREKTLANK>, nullptr, 0, 1},
};

// Tags with up to three arguments; missing ones are empty.
const TTagg kTreArgument[] = {
    {"AKTVPROGRAM", Form::Argument, TreArgument<&TForm1::AKTVPROGRAM>, nullptr, 0, 3},
    {"BOKNOBJEKT", Form::Argument, TreArgument<&TForm1::BOKNOBJEKT>, nullptr, 0, 3},
    {"FDAGPROGRAM", Form::Argument, TreArgument<&TForm1::FDAGPROGRAM>, nullptr, 0, 3},
    {"KONFPAKET", Form::Argument, TreArgument<&TForm1::KONFPAKET>, nullptr, 0, 3},
    {"UNDHPROGRAM", Form::Argument, TreArgument<&TForm1::UNDHPROGRAM>, nullptr, 0, 3},
    {"WENDPAKET", Form::Argument, TreArgument<&TForm1::WENDPAKET>, nullptr, 0, 3},
};

// Web-address tags: the method gets true for the plain tag, false for the
// "(EJQV)" form.
const TTagg kHemsidor[] = {
    {"HEMSIDA", Form::EjQv, Hemsida<&TForm1::HEMSIDA>},
    {"HEMSIDABLANK", Form::EjQv, Hemsida<&TForm1::HEMSIDABLANK>},
    {"HEMSIDAFACEBOOKURL", Form::EjQv, Hemsida<&TForm1::HEMSIDAFACEBOOKURL>},
    {"HEMSIDAMMURL", Form::EjQv, Hemsida<&TForm1::HEMSIDAMMURL>},
    {"HEMSIDAURL", Form::EjQv, Hemsida<&TForm1::HEMSIDAURL>},
    {"HEMSIDAVRURL", Form::EjQv, Hemsida<&TForm1::HEMSIDAVRURL>},
    {"HEMSIDAOLURL", Form::EjQv, Hemsida<&TForm1::HEMSIDAOLURL>},
    {"HEMSIDAOLKONFURL", Form::EjQv, Hemsida<&TForm1::HEMSIDAOLKONFURL>},
};
}  // namespace

std::span<const TTagg> Enkeltaggar() { return kEnkla; }
std::span<const TTagg> Ettargumenttaggar() { return kEttArgument; }
std::span<const TTagg> Treargumenttaggar() { return kTreArgument; }
std::span<const TTagg> Hemsidetaggar() { return kHemsidor; }
