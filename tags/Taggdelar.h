// Pieces that several families of field tags share: contact lines, mail
// links, the booking contacts of a category and of an agency's regions, the
// switch to the agency a customer books through, the look-up of a second
// customer, the click-recording redirect address and code lists under
// headings. All read the current customer in q_kund unless they say
// otherwise.
#pragma once

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TForm1;

// The mail link of an address: the address as the link text and, in the
// link target, behind the directory's display name. Empty for no address.
std::string Epostlank(const std::string& adress);

// An image element of the given source followed by `slut` (the rest of the
// element, e.g. "\">" or "\" align=right hspace=5 vspace=5>").
std::string Bildelement(const std::string& kalla, const std::string& slut);

// Adds the contact line "<label>: <value>" (label in the request's language)
// on a line of its own; nothing when the value is empty.
void Kontaktrad(TForm1& f, std::string& acc, const std::string& etikett, const std::string& varde);

// A general field of the customer that the customer may hide: its text, or
// empty when the hide flag holds "J".
std::string SynligtFalt(TForm1& f, std::string_view falt, std::string_view doljflagga);

// The booking contact of the category with column prefix P: the contact
// person, direct telephone, mobile, fax and e-mail. With `allmanReserv`,
// each missing direct value is replaced by the customer's general one
// (unless hidden).
std::string KategoriKontakt(TForm1& f, std::string_view prefix, bool allmanReserv);

// A booking agency's regions 1 to 4: the region name in bold and a line with
// contact person, telephone and e-mail (direct ones, else the general ones).
std::string BokningsOmraden(TForm1& f);

// True when the Christmas-buffet data is stored for this year.
bool AretsJulbord(TForm1& f);

// Builds a tag with q_kund standing on the agency when the customer is
// booked only through one (or always, with `alltid`), and puts q_kund back on
// the page's customer afterwards.
std::string ViaBokningsbyra(TForm1& f, bool alltid, const std::function<std::string()>& bygg);
// Puts q_kund back on the customer of the search result's current row when
// it stands on another one.
void AterstallKund(TForm1& f);
// True when q_kund stands on the page's own customer.
bool EgenKund(TForm1& f);

// The name of the county on q_temp's current row in the request's language,
// the Swedish one when there is no translation.
std::string Lansnamn(TForm1& f);

// The county's name in the request's language (Swedish when it has no
// translation); nothing when the county is not in the county table.
// Remembered as the look-up texts are: a page asks for it several times.
std::optional<std::string> Lannamn(TForm1& f, const std::string& lankod);

// The value of the site parameter of type `typ` and name `namn` (the name
// compared without regard to case); empty when there is none. Remembered as
// the look-up texts are.
std::string Parametervarde(TForm1& f, const std::string& typ, const std::string& namn);

// Reads the columns `las` of the customer `kundid` through q_temp, selecting
// `kolumner`; nothing when there is no such customer.
std::optional<std::vector<std::string>> AnnanKund(TForm1& f, const std::string& kolumner, const std::string& kundid,
                                                  std::initializer_list<const char*> las);

// Appends the request's search context as redirect parameters,
// form-encoded: "&vad=..&sprak=..&anvkat=..&avtal=.." (without "&vad=" when
// `medVad` is false).
void Sokkontext(std::string& acc, bool medVad);

inline constexpr const char* kRedirAdress = "/cgi-win/redir.exe?kundid=";
// The click-recording redirect address that forwards to "http://" + `mal`:
// link type `lanktyp` ("", "&lanktyp=vr", "&lanktyp=mm", "&lanktyp=ol"), and
// "&qv=n" for the "(EJQV)" form of a tag (`qv` false).
std::string Redirect(TForm1& f, const std::string& mal, const std::string& lanktyp, bool qv,
                     const std::string& borjan = kRedirAdress);

// One labelled code list: a field of a code set and its label.
struct Kodrubrik {
  const char* falt;
  const char* rubrik;
};
// Adds a labelled section per field that is not empty, with the field's code
// list (one name per line) as body.
void Kodrubriker(TForm1& f, std::string& acc, const std::string& tabell, std::initializer_list<Kodrubrik> lista);
