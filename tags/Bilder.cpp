// Pictures of the customer: main and small picture, logotype, one picture
// per category and the route map. They belong to the extended presentation
// and are shown for customers of level "1" and above; the Christmas-buffet
// picture is shown for every level.
#include <string>
#include <string_view>

#include "app/vemlo3f.h"
#include "tags/Taggdelar.h"

namespace {

constexpr const char* kSlut = "\">";

// The picture of `kolumn` for a customer of level "1" or more; the level is
// compared as text, as it is stored ("10" counts as above "1"). The end of
// the element becomes a text only when there is a picture.
std::string NivaBild(TForm1& f, std::string_view kolumn, const char* slut = kSlut) {
  if (f.FaltText("niva") < "1") return {};
  const std::string fil = f.FaltText(kolumn);
  return fil.empty() ? std::string() : Bildelement(fil, slut);
}

}  // namespace

std::string TForm1::BILD() { return NivaBild(*this, "bildfil"); }
std::string TForm1::BILDHOGER() { return NivaBild(*this, "bildfil", "\" align=right hspace=5 vspace=5>"); }
std::string TForm1::BILDVANSTER() { return NivaBild(*this, "bildfil", "\" align=left hspace=5 vspace=5>"); }
std::string TForm1::MINIBILD() { return NivaBild(*this, "MiniBildfil"); }
std::string TForm1::LOGOTYP() { return NivaBild(*this, "LogotypeFil", "\"><br>"); }
std::string TForm1::VAGBESKRIVNINGBILD() { return NivaBild(*this, "VagbeskrivningBildfil", "\" align=left hspace=5>"); }
std::string TForm1::AKTVBILD() { return NivaBild(*this, "AktvBildfil"); }
std::string TForm1::BLEVBILD() { return NivaBild(*this, "BlevBildfil"); }
std::string TForm1::BOKNBILD() { return NivaBild(*this, "BoknBildfil"); }
std::string TForm1::FDAGBILD() { return NivaBild(*this, "FdagBildfil"); }
std::string TForm1::KONFBILD() { return NivaBild(*this, "KonfBildfil"); }
std::string TForm1::LOGIBILD() { return NivaBild(*this, "LogiBildfil"); }
std::string TForm1::RFSTBILD() { return NivaBild(*this, "RfstBildfil"); }
std::string TForm1::UNDHBILD() { return NivaBild(*this, "UndhBildfil"); }
std::string TForm1::WENDBILD() { return NivaBild(*this, "WendBildfil"); }

std::string TForm1::JULBBILD() {
  const std::string fil = FaltText("JulbBildfil");
  return fil.empty() ? std::string() : Bildelement(fil, kSlut);
}
