// Booking boxes: whom to contact to book each category, falling back to the
// customer's general numbers; a booking agency's regions and the kinds of
// offers it books.
#include "app/vemlo3f.h"
#include "tags/Taggdelar.h"

std::string TForm1::AKTVBOKNING() { return Nbsp(KategoriKontakt(*this, "Aktv", true)); }
std::string TForm1::BLEVBOKNING() { return Nbsp(KategoriKontakt(*this, "Blev", true)); }
std::string TForm1::FDAGBOKNING() { return Nbsp(KategoriKontakt(*this, "Fdag", true)); }
std::string TForm1::JULBBOKNING() { return Nbsp(KategoriKontakt(*this, "Julb", true)); }
std::string TForm1::KONFBOKNING() { return Nbsp(KategoriKontakt(*this, "Konf", true)); }
std::string TForm1::LOGIBOKNING() { return Nbsp(KategoriKontakt(*this, "Logi", true)); }
std::string TForm1::RFSTBOKNING() { return Nbsp(KategoriKontakt(*this, "Rfst", true)); }
std::string TForm1::UNDHBOKNING() { return Nbsp(KategoriKontakt(*this, "Undh", true)); }
std::string TForm1::WENDBOKNING() { return Nbsp(KategoriKontakt(*this, "Wend", true)); }

std::string TForm1::BOKNBOKNINGOMRADE() {
  std::string acc = BokningsOmraden(*this);
  // An agency without regions is reached through its general numbers.
  if (acc.empty()) {
    Kontaktrad(*this, acc, "Tel", SynligtFalt(*this, "Tele", "VisaEjTele"));
    Kontaktrad(*this, acc, "Fax", SynligtFalt(*this, "Telefax", "VisaEjFax"));
    Kontaktrad(*this, acc, "E-post", Epostlank(SynligtFalt(*this, "Epost", "VisaEjEpost")));
  }
  return Nbsp(acc);
}

std::string TForm1::BOKNINRIKTNING() {
  std::string acc;
  Kodrubriker(*this, acc, "BOKN",
              {{"BoknAktvInriktning", "Aktiviteter"},
               {"BoknFdagInriktning", "F\xF6redrag"},
               {"BoknKonfInriktning", "Konferens"},
               {"BoknLogiKaraktar", "Logi"},
               {"BoknRfstArrangemang", "Restaurang/Festv\xE5ning"},
               {"BoknUndhGenre", "Underh\xE5llare"},
               {"BoknWendInriktning", "Paketresor"}});
  return Nbsp(acc);
}
