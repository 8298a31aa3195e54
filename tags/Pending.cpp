// Tag methods not built yet. Each answers with the pending marker, and the
// template processor then writes the tag unchanged. A tag family that is
// built defines its methods in its own file; those definitions replace
// these.
#include "app/vemlo3f.h"

#define PENDING __attribute__((weak))

PENDING std::string TForm1::AVSKILJARE() { return kTagPending; }
PENDING std::string TForm1::BYTSPRAK() { return kTagPending; }
PENDING std::string TForm1::ID() { return kTagPending; }
PENDING std::string TForm1::KUNDID() { return kTagPending; }
PENDING std::string TForm1::NIVA() { return kTagPending; }
PENDING std::string TForm1::SPRAK() { return kTagPending; }
PENDING std::string TForm1::SYMBOLER() { return kTagPending; }
PENDING std::string TForm1::TIPS() { return kTagPending; }
PENDING std::string TForm1::ADRESS() { return kTagPending; }
PENDING std::string TForm1::ADRESSCRLF() { return kTagPending; }
PENDING std::string TForm1::AKTVBILD() { return kTagPending; }
PENDING std::string TForm1::AKTVBOKNING() { return kTagPending; }
PENDING std::string TForm1::AKTVEGENSKAPER() { return kTagPending; }
PENDING std::string TForm1::AKTVOVRIGT() { return kTagPending; }
PENDING std::string TForm1::AKTVSASONGVAR() { return kTagPending; }
PENDING std::string TForm1::AKTVSPORT() { return kTagPending; }
PENDING std::string TForm1::AKTVSYFTE() { return kTagPending; }
PENDING std::string TForm1::AKTVTEAMBUILDING() { return kTagPending; }
PENDING std::string TForm1::AKTVTEXT() { return kTagPending; }
PENDING std::string TForm1::AKTVTEXTENG() { return kTagPending; }
PENDING std::string TForm1::AKTVTEXTTY() { return kTagPending; }
PENDING std::string TForm1::BESTALLARE() { return kTagPending; }
PENDING std::string TForm1::BESTEPOST() { return kTagPending; }
PENDING std::string TForm1::BESTTOM() { return kTagPending; }
PENDING std::string TForm1::BILD() { return kTagPending; }
PENDING std::string TForm1::BILDHOGER() { return kTagPending; }
PENDING std::string TForm1::BILDVANSTER() { return kTagPending; }
PENDING std::string TForm1::BLEVBILD() { return kTagPending; }
PENDING std::string TForm1::BLEVBOKNING() { return kTagPending; }
PENDING std::string TForm1::BLEVEGENSKAPER() { return kTagPending; }
PENDING std::string TForm1::BLEVKUNDGRUPP() { return kTagPending; }
PENDING std::string TForm1::BLEVPRISINFO() { return kTagPending; }
PENDING std::string TForm1::BLEVPRODUKTER() { return kTagPending; }
PENDING std::string TForm1::BLEVPRODUKTERTJANSTER() { return kTagPending; }
PENDING std::string TForm1::BLEVREFERENS() { return kTagPending; }
PENDING std::string TForm1::BLEVTEXT() { return kTagPending; }
PENDING std::string TForm1::BLEVTEXTENG() { return kTagPending; }
PENDING std::string TForm1::BLEVTEXTTY() { return kTagPending; }
PENDING std::string TForm1::BOKASVIABILD() { return kTagPending; }
PENDING std::string TForm1::BOKASVIALOGOTYP() { return kTagPending; }
PENDING std::string TForm1::BOKASVIANAMN() { return kTagPending; }
PENDING std::string TForm1::BOKASVIATEXT() { return kTagPending; }
PENDING std::string TForm1::BOKASVIATELEFONALLA() { return kTagPending; }
PENDING std::string TForm1::BOKNBILD() { return kTagPending; }
PENDING std::string TForm1::BOKNBOKAR() { return kTagPending; }
PENDING std::string TForm1::BOKNBOKNINGOMRADE() { return kTagPending; }
PENDING std::string TForm1::BOKNEGENSKAPER() { return kTagPending; }
PENDING std::string TForm1::BOKNGRUPPSTORLEK() { return kTagPending; }
PENDING std::string TForm1::BOKNINRIKTNING() { return kTagPending; }
PENDING std::string TForm1::BOKNREFERENSER() { return kTagPending; }
PENDING std::string TForm1::BOKNTEXT() { return kTagPending; }
PENDING std::string TForm1::BOKNTEXTENG() { return kTagPending; }
PENDING std::string TForm1::BOKNTEXTTY() { return kTagPending; }
PENDING std::string TForm1::EGENINR() { return kTagPending; }
PENDING std::string TForm1::EGENTEXTMINI() { return kTagPending; }
PENDING std::string TForm1::EPOST() { return kTagPending; }
PENDING std::string TForm1::FACILITETER() { return kTagPending; }
PENDING std::string TForm1::FDAGAMNEN() { return kTagPending; }
PENDING std::string TForm1::FDAGBILD() { return kTagPending; }
PENDING std::string TForm1::FDAGBOKNING() { return kTagPending; }
PENDING std::string TForm1::FDAGEGENSKAPER() { return kTagPending; }
PENDING std::string TForm1::FDAGINRIKTNING() { return kTagPending; }
PENDING std::string TForm1::FDAGMALGRUPP() { return kTagPending; }
PENDING std::string TForm1::FDAGMERIT() { return kTagPending; }
PENDING std::string TForm1::FDAGMERITENG() { return kTagPending; }
PENDING std::string TForm1::FDAGMERITTY() { return kTagPending; }
PENDING std::string TForm1::FDAGREFERENS() { return kTagPending; }
PENDING std::string TForm1::FDAGTEXT() { return kTagPending; }
PENDING std::string TForm1::FDAGTEXTENG() { return kTagPending; }
PENDING std::string TForm1::FDAGTEXTTY() { return kTagPending; }
PENDING std::string TForm1::FDAGVARAKTIGHET() { return kTagPending; }
PENDING std::string TForm1::HEMSIDAFACEBOOK() { return kTagPending; }
PENDING std::string TForm1::HEMSIDAMM() { return kTagPending; }
PENDING std::string TForm1::INTERNET() { return kTagPending; }
PENDING std::string TForm1::INTERNETBLANK() { return kTagPending; }
PENDING std::string TForm1::JULBARRANGEMANG() { return kTagPending; }
PENDING std::string TForm1::JULBBILD() { return kTagPending; }
PENDING std::string TForm1::JULBBOKNING() { return kTagPending; }
PENDING std::string TForm1::JULBINRIKTNING() { return kTagPending; }
PENDING std::string TForm1::JULBINRIKTNINGARRANGEMANG() { return kTagPending; }
PENDING std::string TForm1::JULBOPPET() { return kTagPending; }
PENDING std::string TForm1::JULBOVRIGT() { return kTagPending; }
PENDING std::string TForm1::JULBRUBRIK() { return kTagPending; }
PENDING std::string TForm1::JULBTEXT() { return kTagPending; }
PENDING std::string TForm1::KARAKTAR() { return kTagPending; }
PENDING std::string TForm1::KARAKTARLAGE() { return kTagPending; }
PENDING std::string TForm1::KEDJA() { return kTagPending; }
PENDING std::string TForm1::KONFBILD() { return kTagPending; }
PENDING std::string TForm1::KONFBOKNING() { return kTagPending; }
PENDING std::string TForm1::KONFPROFIL() { return kTagPending; }
PENDING std::string TForm1::KONFTEXT() { return kTagPending; }
PENDING std::string TForm1::KONFTEXTENG() { return kTagPending; }
PENDING std::string TForm1::KONFTEXTTY() { return kTagPending; }
PENDING std::string TForm1::KONFUTRUSTNING() { return kTagPending; }
PENDING std::string TForm1::LAGE() { return kTagPending; }
PENDING std::string TForm1::LOGIBILD() { return kTagPending; }
PENDING std::string TForm1::LOGIBOKNING() { return kTagPending; }
PENDING std::string TForm1::LOGIFACILITETER() { return kTagPending; }
PENDING std::string TForm1::LOGISTANDARD() { return kTagPending; }
PENDING std::string TForm1::LOGITEXT() { return kTagPending; }
PENDING std::string TForm1::LOGITEXTENG() { return kTagPending; }
PENDING std::string TForm1::LOGITEXTTY() { return kTagPending; }
PENDING std::string TForm1::LOGOTYP() { return kTagPending; }
PENDING std::string TForm1::MINIBILD() { return kTagPending; }
PENDING std::string TForm1::NAMN() { return kTagPending; }
PENDING std::string TForm1::OPPET() { return kTagPending; }
PENDING std::string TForm1::OVRIGT() { return kTagPending; }
PENDING std::string TForm1::RFSTARRANGEMANG() { return kTagPending; }
PENDING std::string TForm1::RFSTBILD() { return kTagPending; }
PENDING std::string TForm1::RFSTBOKNING() { return kTagPending; }
PENDING std::string TForm1::RFSTEGENINR() { return kTagPending; }
PENDING std::string TForm1::RFSTTEMAMIDDAGAR() { return kTagPending; }
PENDING std::string TForm1::RFSTTEXT() { return kTagPending; }
PENDING std::string TForm1::RFSTTEXTENG() { return kTagPending; }
PENDING std::string TForm1::RFSTTEXTTY() { return kTagPending; }
PENDING std::string TForm1::RFSTUTRUSTNING() { return kTagPending; }
PENDING std::string TForm1::TELEFON() { return kTagPending; }
PENDING std::string TForm1::TELEFONALLA() { return kTagPending; }
PENDING std::string TForm1::TELEFONNR() { return kTagPending; }
PENDING std::string TForm1::TELEFAXNR() { return kTagPending; }
PENDING std::string TForm1::TEXT() { return kTagPending; }
PENDING std::string TForm1::TEXTENG() { return kTagPending; }
PENDING std::string TForm1::TEXTTY() { return kTagPending; }
PENDING std::string TForm1::UNDHARRMALGRUPP() { return kTagPending; }
PENDING std::string TForm1::UNDHBILD() { return kTagPending; }
PENDING std::string TForm1::UNDHBOKNING() { return kTagPending; }
PENDING std::string TForm1::UNDHEGENSKAPER() { return kTagPending; }
PENDING std::string TForm1::UNDHFOREDRAG() { return kTagPending; }
PENDING std::string TForm1::UNDHGENRE() { return kTagPending; }
PENDING std::string TForm1::UNDHMERIT() { return kTagPending; }
PENDING std::string TForm1::UNDHMERITENG() { return kTagPending; }
PENDING std::string TForm1::UNDHMERITTY() { return kTagPending; }
PENDING std::string TForm1::UNDHMUSIK() { return kTagPending; }
PENDING std::string TForm1::UNDHOVR() { return kTagPending; }
PENDING std::string TForm1::UNDHREFERENS() { return kTagPending; }
PENDING std::string TForm1::UNDHSASONGVAR() { return kTagPending; }
PENDING std::string TForm1::UNDHSCENKONST() { return kTagPending; }
PENDING std::string TForm1::UNDHSPECIALITET() { return kTagPending; }
PENDING std::string TForm1::UNDHSYFTE() { return kTagPending; }
PENDING std::string TForm1::UNDHTEXT() { return kTagPending; }
PENDING std::string TForm1::UNDHTEXTENG() { return kTagPending; }
PENDING std::string TForm1::UNDHTEXTTY() { return kTagPending; }
PENDING std::string TForm1::VAGBESKRIVNINGBILD() { return kTagPending; }
PENDING std::string TForm1::VAGBESKRIVNING() { return kTagPending; }
PENDING std::string TForm1::VAGBESKRIVNINGENG() { return kTagPending; }
PENDING std::string TForm1::VAGBESKRIVNINGTY() { return kTagPending; }
PENDING std::string TForm1::WENDAKTIVITET() { return kTagPending; }
PENDING std::string TForm1::WENDAVKOPPLING() { return kTagPending; }
PENDING std::string TForm1::WENDBILD() { return kTagPending; }
PENDING std::string TForm1::WENDBOKNING() { return kTagPending; }
PENDING std::string TForm1::WENDEGENSKAPER() { return kTagPending; }
PENDING std::string TForm1::WENDKULTURNOJE() { return kTagPending; }
PENDING std::string TForm1::WENDOVR() { return kTagPending; }
PENDING std::string TForm1::WENDSASONG() { return kTagPending; }
PENDING std::string TForm1::WENDSYFTE() { return kTagPending; }
PENDING std::string TForm1::WENDTEXT() { return kTagPending; }
PENDING std::string TForm1::WENDTEXTENG() { return kTagPending; }
PENDING std::string TForm1::WENDTEXTTY() { return kTagPending; }
PENDING std::string TForm1::XKNTLOGOTYP() { return kTagPending; }
PENDING std::string TForm1::XKNTBILD() { return kTagPending; }
PENDING std::string TForm1::XKNTNAMN() { return kTagPending; }
PENDING std::string TForm1::XKNTTEXT() { return kTagPending; }
PENDING std::string TForm1::XKNTTELEFONMM() { return kTagPending; }
PENDING std::string TForm1::ARETSAMETIST() { return kTagPending; }
PENDING std::string TForm1::KONFPRIS() { return kTagPending; }
PENDING std::string TForm1::LATITUD() { return kTagPending; }
PENDING std::string TForm1::LOGIKAPACITET() { return kTagPending; }
PENDING std::string TForm1::LOGIPRIS() { return kTagPending; }
PENDING std::string TForm1::LONGITUD() { return kTagPending; }
PENDING std::string TForm1::MANADTIPS() { return kTagPending; }
PENDING std::string TForm1::SVERIGEKARTA() { return kTagPending; }
PENDING std::string TForm1::UTBUDKAPACITET() { return kTagPending; }
PENDING std::string TForm1::WENDPRIS() { return kTagPending; }
PENDING std::string TForm1::XKOORDINAT() { return kTagPending; }
PENDING std::string TForm1::YKOORDINAT() { return kTagPending; }
PENDING std::string TForm1::BAKGRUND() { return kTagPending; }
PENDING std::string TForm1::INFO() { return kTagPending; }
PENDING std::string TForm1::LANNAMN() { return kTagPending; }
PENDING std::string TForm1::MANAD() { return kTagPending; }
PENDING std::string TForm1::MANADSLISTA() { return kTagPending; }
PENDING std::string TForm1::METAFDAGINRIKTNING() { return kTagPending; }
PENDING std::string TForm1::METAOMRADENAMN() { return kTagPending; }
PENDING std::string TForm1::METAUNDHGENRE() { return kTagPending; }
PENDING std::string TForm1::STYLESHEETDEF() { return kTagPending; }
PENDING std::string TForm1::TITEL() { return kTagPending; }
PENDING std::string TForm1::AVSTAND(const std::string&) { return kTagPending; }
PENDING std::string TForm1::KONFAKUTEN(const std::string&) { return kTagPending; }
PENDING std::string TForm1::KONFKAPACITET(const std::string&) { return kTagPending; }
PENDING std::string TForm1::RFSTKAPACITET(const std::string&) { return kTagPending; }
PENDING std::string TForm1::NAMNLANK(const std::string&) { return kTagPending; }
PENDING std::string TForm1::NAMNDIREKTLANK(const std::string&) { return kTagPending; }
PENDING std::string TForm1::AKTVPROGRAM(const std::string&, const std::string&, const std::string&) { return kTagPending; }
PENDING std::string TForm1::BOKNOBJEKT(const std::string&, const std::string&, const std::string&) { return kTagPending; }
PENDING std::string TForm1::FDAGPROGRAM(const std::string&, const std::string&, const std::string&) { return kTagPending; }
PENDING std::string TForm1::KONFPAKET(const std::string&, const std::string&, const std::string&) { return kTagPending; }
PENDING std::string TForm1::UNDHPROGRAM(const std::string&, const std::string&, const std::string&) { return kTagPending; }
PENDING std::string TForm1::WENDPAKET(const std::string&, const std::string&, const std::string&) { return kTagPending; }
PENDING std::string TForm1::HEMSIDA(bool) { return kTagPending; }
PENDING std::string TForm1::HEMSIDABLANK(bool) { return kTagPending; }
PENDING std::string TForm1::HEMSIDAFACEBOOKURL(bool) { return kTagPending; }
PENDING std::string TForm1::HEMSIDAMMURL(bool) { return kTagPending; }
PENDING std::string TForm1::HEMSIDAURL(bool) { return kTagPending; }
PENDING std::string TForm1::HEMSIDAVRURL(bool) { return kTagPending; }
PENDING std::string TForm1::HEMSIDAOLURL(bool) { return kTagPending; }
PENDING std::string TForm1::HEMSIDAOLKONFURL(bool) { return kTagPending; }
PENDING std::string TForm1::FLIK(const std::string&) { return kTagPending; }
PENDING std::string TForm1::FLIKNAMN(const std::string&) { return kTagPending; }
