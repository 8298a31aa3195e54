// vemlo3-mallkontroll: checks templates without rendering anything.
//
//   vemlo3-mallkontroll [--oanvanda] TEMPLATE...
//
// Cuts every line into pieces as the program does and reports, as
// "file:line: message":
//   - tags that the program does not know (they would be written unchanged
//     as HTML comments), tag names written in lower case, argument tags with
//     the wrong number of arguments;
//   - sections without their end marker, end markers that end no section,
//     sections nested in a section of the same name;
//   - the customer block: <!--START--> without <!--SLUT--> and the reverse,
//     customer tags outside the block (the program leaves them unanswered);
//   - text that is UTF-8 encoded (templates are Windows-1252).
// With --oanvanda it also lists the tags that none of the given templates
// uses (for a site whose templates between them are to use every tag).
// Exit status: 0 when nothing was found, 1 when something was, 2 when a file
// could not be read.
#include <algorithm>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/vemlo3f.h"
#include "render/Sida.h"
#include "render/TagTable.h"

namespace {

// Every tag of the program's tables, page level and block.
std::vector<std::span<const TTagg>> AllaTabeller() {
  std::vector<std::span<const TTagg>> alla = Blocktaggar();
  alla.insert(alla.begin(), RamTaggar());
  return alla;
}

// A tag's name as the list of used tags holds it: without a prefix tag's "=".
std::string Taggnamn(const TTagg& t) {
  std::string n = t.namn;
  if (!n.empty() && n.back() == '=') n.pop_back();
  return n;
}

struct Bit {
  std::string text;
  int rad;
};

class Kontroll {
public:
  int fel = 0;
  std::set<std::string> anvanda;  // tag names seen (upper case, without arguments)

  bool Granska(const std::string& fil) {
    std::ifstream in(fil, std::ios::binary);
    if (!in) {
      std::cerr << fil << ": cannot read the file\n";
      return false;
    }
    fil_ = fil;
    std::vector<Bit> block;
    bool iBlock = false, blockFunnet = false;
    int startRad = 0;
    std::string rad;
    int nr = 0;
    while (std::getline(in, rad)) {
      ++nr;
      if (!rad.empty() && rad.back() == '\r') rad.pop_back();
      if (Utf8(rad)) Rapport(nr, "the line is UTF-8 encoded; save the template as Windows-1252");
      for (const std::string& b : DelaMallrad(rad + "\r\n")) {
        if (!StartsWith(b, "<!--")) continue;
        if (!EndsWith(b, "-->")) {
          std::string utan = b.substr(0, b.find_last_not_of("\r\n") + 1);
          if (SerUtSomTagg(utan)) Rapport(nr, "tag without \"-->\" on its line (tags cannot span lines): " + Kort(utan));
          continue;
        }
        if (b == "<!--START-->") {
          anvanda.insert("START");
          if (iBlock) Rapport(nr, "<!--START--> inside the customer block");
          iBlock = blockFunnet = true;
          startRad = nr;
          continue;
        }
        if (b == "<!--SLUT-->") {
          anvanda.insert("SLUT");
          if (!iBlock) Rapport(nr, "<!--SLUT--> without <!--START-->");
          iBlock = false;
          continue;
        }
        if (RamTagg(b)) continue;
        if (iBlock) {
          block.push_back({b, nr});
        } else {
          TBlockBit bit;
          bit.text = b;
          Blockindex().Sok(bit);
          if (bit.tagg) {
            Notera(bit);
            Rapport(nr, Kort(b) + " stands outside the customer block (between <!--START--> and <!--SLUT-->) and is written unchanged");
          } else {
            Okand(b, nr);
          }
        }
      }
    }
    if (iBlock) Rapport(startRad, "<!--START--> without <!--SLUT-->: the rest of the template is the customer block");
    (void)blockFunnet;
    GranskaBlock(block);
    std::stable_sort(rapporter_.begin(), rapporter_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [r, text] : rapporter_) std::cout << fil_ << ":" << r << ": " << text << "\n";
    rapporter_.clear();
    return true;
  }

private:
  std::string fil_;

  std::vector<std::pair<int, std::string>> rapporter_;

  // One finding; the findings of a file are written in line order.
  void Rapport(int rad, const std::string& text) {
    ++fel;
    rapporter_.emplace_back(rad, text);
  }

  static std::string Kort(const std::string& b) { return b.size() > 60 ? b.substr(0, 57) + "..." : b; }

  // True when the line holds a byte sequence that is UTF-8 for a letter
  // outside ASCII (a lead byte 0xC2-0xF4 followed by continuation bytes).
  static bool Utf8(const std::string& s) {
    for (size_t i = 0; i + 1 < s.size(); ++i) {
      auto c = static_cast<unsigned char>(s[i]);
      auto d = static_cast<unsigned char>(s[i + 1]);
      if (c >= 0xC2 && c <= 0xDF && d >= 0x80 && d <= 0xBF) return true;
      if (c >= 0xE0 && c <= 0xF4 && d >= 0x80 && d <= 0xBF && i + 2 < s.size() &&
          static_cast<unsigned char>(s[i + 2]) >= 0x80 && static_cast<unsigned char>(s[i + 2]) <= 0xBF)
        return true;
    }
    return false;
  }

  // The name part of a tag: from after "<!--" up to "(", "=" or "-->".
  static std::string Namn(const std::string& b) {
    std::string inre = b.substr(4);
    if (EndsWith(inre, "-->")) inre.resize(inre.size() - 3);
    size_t slut = inre.find_first_of("(=");
    return slut == std::string::npos ? inre : inre.substr(0, slut);
  }

  // A comment whose text begins with a word of letters and digits reads as a
  // tag; "<!-- text -->" and "<!--[if ...]>" do not.
  static bool SerUtSomTagg(const std::string& b) {
    std::string n = Namn(b);
    if (n.empty() || !std::isalpha(static_cast<unsigned char>(n[0]))) return false;
    for (char c : n)
      if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
    return true;
  }

  bool RamTagg(const std::string& b) {
    TBlockBit bit;
    bit.text = b;
    Ramindex().Sok(bit);
    if (bit.tagg) Notera(bit);
    return bit.tagg != nullptr;
  }

  void Notera(const TBlockBit& bit) { anvanda.insert(Taggnamn(*bit.tagg)); }

  // A name of a tag that is written whole or with arguments (the prefix tags
  // are known by their head alone).
  static bool KandNamn(const std::string& namn) {
    for (const auto& tabell : AllaTabeller())
      for (const TTagg& t : tabell)
        if (t.form != Form::Prefix && namn == t.namn) return true;
    return false;
  }

  void Okand(const std::string& b, int rad) {
    if (!SerUtSomTagg(b)) return;
    std::string namn = Namn(b);
    std::string stor = UpperCase(namn);
    bool argument = b.size() > namn.size() + 4 && b[namn.size() + 4] == '(';
    if (StartsWith(stor, "SLUT") || stor == "FLIKSLUTEJ") return;  // end markers: checked with the sections
    if (KandNamn(stor)) {
      if (argument)
        Rapport(rad, Kort(b) + ": " + stor + " does not take these arguments; the tag is written unchanged");
      else if (stor != namn)
        Rapport(rad, Kort(b) + ": tag names are written in upper case (<!--" + stor + "-->); written unchanged");
      else
        Rapport(rad, Kort(b) + ": " + stor + " takes arguments here; the tag is written unchanged");
      return;
    }
    if (stor == namn) Rapport(rad, "unknown tag " + Kort(b) + " (written unchanged as an HTML comment)");
  }

  // Whether a piece is an end marker: any piece beginning "<!--SLUT" (the
  // block pass drops them all), and the end markers of the other sections.
  static bool ArSlutmarkor(const std::string& b) {
    if (StartsWith(b, "<!--SLUT")) return true;
    for (const auto& tabell : Blocktaggar())
      for (const TTagg& t : tabell)
        if (t.slut && t.form != Form::Argument && b == std::string("<!--") + t.slut + "-->") return true;
    return false;
  }

  void GranskaBlock(const std::vector<Bit>& block) {
    std::vector<TBlockBit> bitar(block.size());
    for (size_t i = 0; i < block.size(); ++i) bitar[i].text = block[i].text;
    KlassificeraBlock(bitar);
    for (size_t i = 0; i < block.size(); ++i)
      if (!bitar[i].tagg)
        Okand(block[i].text, block[i].rad);
      else
        Notera(bitar[i]);
    std::vector<bool> avslutar(block.size(), false);
    for (size_t i = 0; i < block.size(); ++i) {
      std::string slut = Slutmarkor(bitar[i]);
      if (slut.empty()) continue;
      size_t stopp = bitar[i].slut < 0 ? block.size() : static_cast<size_t>(bitar[i].slut);
      for (size_t j = i + 1; j < stopp; ++j)
        if (block[j].text == block[i].text)
          Rapport(block[j].rad, Kort(block[j].text) + " inside a section of the same name (line " +
                                    std::to_string(block[i].rad) + "): when that one is dropped, it ends at the inner end marker");
      if (bitar[i].slut < 0)
        Rapport(block[i].rad, Kort(block[i].text) + " has no end marker " + slut +
                                  " in the customer block: when the section is dropped, the rest of the block goes with it");
      else
        avslutar[stopp] = true;
    }
    // An end marker that is a tag of its own (<!--FLIKSLUT--> also ends the
    // current tab) needs no section.
    for (size_t i = 0; i < block.size(); ++i)
      if (ArSlutmarkor(block[i].text) && !avslutar[i] && !(bitar[i].tagg && bitar[i].tagg->form == Form::Hel))
        Rapport(block[i].rad, "end marker " + Kort(block[i].text) + " ends no section");
  }
};

std::vector<std::string> AllaTaggar() {
  std::vector<std::string> alla;
  std::set<std::string> sedda;
  for (const auto& tabell : AllaTabeller())
    for (const TTagg& t : tabell)
      if (sedda.insert(Taggnamn(t)).second) alla.push_back(Taggnamn(t));
  return alla;
}

}  // namespace

int main(int argc, char** argv) {
  bool oanvanda = false;
  std::vector<std::string> filer;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--oanvanda")
      oanvanda = true;
    else if (a == "-h" || a == "--help") {
      std::cout << "usage: vemlo3-mallkontroll [--oanvanda] TEMPLATE...\n";
      return 0;
    } else
      filer.push_back(a);
  }
  if (filer.empty()) {
    std::cerr << "usage: vemlo3-mallkontroll [--oanvanda] TEMPLATE...\n";
    return 2;
  }
  Kontroll k;
  bool last = true;
  for (const auto& f : filer) last = k.Granska(f) && last;
  if (oanvanda)
    for (const auto& t : AllaTaggar())
      if (!k.anvanda.count(t)) std::cout << "unused: " << t << "\n";
  if (!last) return 2;
  return k.fel > 0 ? 1 : 0;
}
