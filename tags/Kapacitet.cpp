// Capacity tables: conference rooms and exhibition space, lodging, dining
// rooms and party floors, and the summary of a customer's whole offer.
// Every word goes through HamtaText; counted words are looked up with their
// count, so that a count of one gives the singular.
#include <string>
#include <string_view>
#include <vector>

#include "app/Foga.h"
#include "app/vemlo3f.h"
#include "gateway/HUtils.h"

namespace {

// "<count> <word>" for a count field that is above zero, as a line of its
// own. The field is looked up once for its number, text and integer.
void Antalsrad(TForm1& f, std::string& x, std::string_view falt, const char* ord) {
  const TField v = f.q_kund.FieldByName(falt);
  if (!(v.AsFloat() > 0)) return;
  f.brLaggTill(x, v.AsString());
  Foga(x, ' ', f.HamtaText(ord, v.AsInteger()));
}

// "Upp till <count> <word>" for the party floors' guest counts.
void UppTill(TForm1& f, std::string& x, std::string_view falt, const char* ord) {
  const TField v = f.q_kund.FieldByName(falt);
  if (!(v.AsFloat() > 0)) return;
  f.brLaggTill(x, f.HamtaText("Upp till"));
  Foga(x, ' ', v.AsString(), ' ', f.HamtaText(ord, v.AsInteger()));
}

// A table of numbered rooms: a heading row with one cell per room and rows
// of numbers below it. The class argument of the tag replaces the small font
// of the cells.
class Rumstabell {
public:
  Rumstabell(TForm1& f, const std::string& klass)
      : f_(f), klass_(klass), font_(klass.empty() ? "<font size=-2>" : "") {}

  // The heading row; `rubriker` holds one heading per room.
  void Rubrikrad(const std::string& etikett, const std::vector<std::string>& rubriker, const char* justering) {
    // The heading and at most five rows of numbers, some fifty characters a cell.
    t_.reserve(512 + rubriker.size() * 320);
    t_ += "<table border=0 cellpadding=1 cellspacing=0";
    if (!klass_.empty()) Foga(t_, " class=\"", klass_, '"');
    Foga(t_, "><tr bgcolor=#", RS().Farg[3], "><td align=right>", font_, "<b>", f_.HamtaText(etikett),
         ":</b></font></td>");
    for (const auto& rubrik : rubriker)
      Foga(t_, "<td align=", justering, '>', font_, "&nbsp;<b>", rubrik, "</b></font></td>");
    t_ += "</tr>";
  }

  // A row of numbers; a 0 is shown as "-" when `streck` is set.
  void Talrad(const std::string& etikett, const std::vector<int32_t>& tal, bool streck, std::string_view cellstart) {
    Foga(t_, "<tr><td align=right>", font_, f_.HamtaText(etikett), ":</font></td>");
    for (int32_t n : tal) {
      if (streck && n == 0)
        Foga(t_, cellstart, font_, "&nbsp;-</font></td>");
      else
        Foga(t_, cellstart, font_, "&nbsp;", IntToStr(n), "</font></td>");
    }
    t_ += "</tr>";
  }

  // The finished table as a line of its own of a capacity text.
  void LaggTill(std::string& x) const {
    f_.brLaggTill(x, t_);
    x += "</table>";
  }

private:
  TForm1& f_;
  const std::string& klass_;
  std::string_view font_;
  std::string t_;
};

}  // namespace

std::string TForm1::KONFKAPACITET(const std::string& a) {
  std::string r;

  // Conference rooms.
  std::string body;
  Antalsrad(*this, body, "AntKonfRum", "konferensrum");
  Antalsrad(*this, body, "AntKongressHall", "kongresshallar");
  Antalsrad(*this, body, "AntGruppRum", "grupprum");

  static const char* const kSittning[5] = {"AntBio", "AntSkol", "AntUsittn", "AntSsittn", "AntOar"};
  static const char* const kEtikett[5] = {"Biosittn", "Skolsittn", "U-bord", "Styr.bord", "\xD6" "ar"};
  std::vector<std::string> namn;
  std::vector<int32_t> tal[5];
  for (int i = 1; i <= 5; ++i) {
    const std::string nr = IntToStr(i);
    int32_t v[5];
    bool finns = false;
    for (int k = 0; k < 5; ++k) {
      v[k] = FaltHeltal(kSittning[k] + nr);
      if (v[k] >= 1) finns = true;
    }
    if (!finns) continue;
    std::string rumsnamn = FaltText("KonfNamn" + nr);
    namn.push_back(rumsnamn.empty() ? nr : rumsnamn);
    for (int k = 0; k < 5; ++k) tal[k].push_back(v[k]);
  }
  if (!namn.empty()) {
    Rumstabell t(*this, a);
    t.Rubrikrad("Lokal", namn, "center");
    for (int k = 0; k < 5; ++k) t.Talrad(kEtikett[k], tal[k], true, "<td align=center>");
    t.LaggTill(body);
  }
  if (!body.empty()) RubrikSektion(r, "Konferenslokaler", body);

  // Exhibition space.
  body.clear();
  Antalsrad(*this, body, "AntUtsLokal", "utst\xE4lln.lokaler");
  Antalsrad(*this, body, "UtsYtaInomhus", "m<sup>2</sup> inomhus");
  Antalsrad(*this, body, "UtsYtaUtomhus", "m<sup>2</sup> utomhus");
  std::vector<std::string> nummer;
  std::vector<int32_t> ytor;
  for (int i = 1; i <= 5; ++i) {
    int32_t yta = FaltHeltal("UtsYta" + IntToStr(i));
    if (yta <= 0) continue;
    nummer.push_back(IntToStr(i));
    ytor.push_back(yta);
  }
  if (!nummer.empty()) {
    Rumstabell t(*this, a);
    t.Rubrikrad("Lokal", nummer, "center");
    t.Talrad("Yta i m<sup>2</sup>", ytor, false, "<td align=center valign=bottom>");
    t.LaggTill(body);
  }
  if (!body.empty()) RubrikSektion(r, "Utst\xE4llningsyta", body);

  return Nbsp(r);
}

std::string TForm1::LOGIKAPACITET() {
  std::string r;
  if (std::string samarbete = FaltText("LogiSamarbete"); !samarbete.empty())
    brLaggTill(r, HamtaForknamn1("LOGI", "LogiSamarbete", samarbete));
  Antalsrad(*this, r, "AntBaddar", "b\xE4" "ddar");
  Antalsrad(*this, r, "AntRum", "rum");

  static const char* const kRumstyper[][2] = {
      {"AntEnkel", "enkelrum"},
      {"AntEnTvaBadd", "en/tv\xE5" "b\xE4" "ddsrum"},
      {"AntTvaBadd", "tv\xE5" "b\xE4" "ddsrum"},
      {"AntDubbel", "dubbelrum"},
      {"AntKombi", "kombirum"},
      {"AntFlerBadd", "flerb\xE4" "ddsrum"},
      {"AntMiniSviter", "minisviter"},
      {"AntSviter", "sviter"},
      {"AntHandikapp", "handikappanp. rum"},
      {"AntRokfria", "r\xF6kfria rum"},
      {"AntAllergi", "allergisanerade rum"},
  };
  std::string varav, rad;
  for (const auto& [falt, ord] : kRumstyper) {
    rad.clear();
    Antalsrad(*this, rad, falt, ord);
    if (rad.empty()) continue;
    brLaggTill(varav, "&nbsp;&nbsp;");
    varav += rad;
  }
  if (!varav.empty()) {
    brLaggTill(r, HamtaText("Varav:"));
    Foga(r, "<br>", varav);
  }

  Antalsrad(*this, r, "AntLagenhet", "l\xE4genheter");
  Antalsrad(*this, r, "AntStugor", "stugor");
  return Nbsp(r);
}

std::string TForm1::RFSTKAPACITET(const std::string& a) {
  std::string r;

  Antalsrad(*this, r, "AntMatsalar", "matsalar");
  std::vector<std::string> nummer;
  std::vector<int32_t> platser;
  for (int i = 1; i <= 3; ++i) {
    int32_t n = FaltHeltal("AntRest" + IntToStr(i));
    if (n <= 0) continue;
    nummer.push_back(IntToStr(i));
    platser.push_back(n);
  }
  if (!nummer.empty()) {
    Rumstabell t(*this, a);
    t.Rubrikrad("Matsal", nummer, "right");
    t.Talrad("Platser", platser, false, "<td align=right>");
    t.LaggTill(r);
  }

  Antalsrad(*this, r, "AntFestvaningar", "festv\xE5ningar");
  UppTill(*this, r, "AntFestSittande", "sittande g\xE4ster");
  UppTill(*this, r, "AntFestStaende", "st\xE5" "ende g\xE4ster");

  static const char* const kBord[4] = {"AntSbord", "AntLbord", "AntEbord", "AntUbord"};
  static const char* const kEtikett[4] = {"Sm\xE5" "bord", "L\xE5ngbord", "E-bord", "U-bord"};
  nummer.clear();
  std::vector<int32_t> bord[4];
  for (int i = 1; i <= 3; ++i) {
    const std::string nr = IntToStr(i);
    int32_t v[4];
    bool finns = false;
    for (int k = 0; k < 4; ++k) {
      v[k] = FaltHeltal(kBord[k] + nr);
      if (v[k] > 0) finns = true;
    }
    if (!finns) continue;
    nummer.push_back(nr);
    for (int k = 0; k < 4; ++k) bord[k].push_back(v[k]);
  }
  if (!nummer.empty()) {
    Rumstabell t(*this, a);
    t.Rubrikrad("Festv\xE5ning", nummer, "right");
    for (int k = 0; k < 4; ++k) t.Talrad(kEtikett[k], bord[k], true, "<td align=right>");
    t.LaggTill(r);
  }

  Antalsrad(*this, r, "AntSallskapsrum", "s\xE4llskapsrum");
  return Nbsp(r);
}

std::string TForm1::UTBUDKAPACITET() {
  std::string r;

  static const char* const kKategorier[][2] = {
      {"Konferenslokal", "Konferenslokal"},
      {"Aktivitetsarrangor", "Aktivitetsarrang\xF6r"},
      {"Bokningsbyra", "Bokar/F\xF6rmedlar/Arrangerar"},
      {"Festlokal", "Festlokal"},
      {"Foredrag", "F\xF6redrag"},
      {"Julbord", "Julbord"},
      {"Weekendresor", "Paketresor"},
      {"Underhallning", "Underh\xE5llning"},
  };
  for (const auto& [falt, ord] : kKategorier)
    if (FaltText(falt) == "J") brLaggTill(r, HamtaText(ord));

  // The customer's own properties belong to the extended presentation.
  // The code lists are looked up with the codes already read.
  if (RS().NivaOver0)
    if (const std::string koder = FaltText("EgenInr"); !koder.empty())
      RubrikSektion(r, "Egenskaper/Inriktning", HamtaForknamn("KUND", "EgenInr", koder, "<br>"));

  static const char* const kKodfalt[][2] = {
      {"AktvInriktning", "Aktiviteter"},
      {"UndhGenre", "Genre"},
      {"FdagInriktning", "F\xF6redrag"},
      {"WendInriktning", "Paketresor"},
  };
  for (const auto& [falt, rubrik] : kKodfalt)
    if (const std::string koder = FaltText(falt); !koder.empty())
      RubrikSektion(r, rubrik, HamtaForknamn("KUND", falt, koder, "<br>"));

  std::string kapacitet;
  Antalsrad(*this, kapacitet, "AntBio1", "konferens");
  Antalsrad(*this, kapacitet, "UtsYta1", "m<sup>2</sup> utst\xE4lln.yta");
  Antalsrad(*this, kapacitet, "AntBaddar", "b\xE4" "ddar");
  Antalsrad(*this, kapacitet, "AntRum", "rum");
  Antalsrad(*this, kapacitet, "AntRest1", "matg\xE4ster");
  UppTill(*this, kapacitet, "AntFestSittande", "sittande g\xE4ster i festv\xE5n.");
  UppTill(*this, kapacitet, "AntFestStaende", "st\xE5" "ende g\xE4ster i festv\xE5n.");
  Antalsrad(*this, kapacitet, "AntAktivitet", "pers. i aktivitet");
  if (!kapacitet.empty()) RubrikSektion(r, "Kapacitet", kapacitet);

  return Nbsp(r);
}
