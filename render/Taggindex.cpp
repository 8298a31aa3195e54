// The tag tables by the ways their tags are written, and the end markers of
// the sections.
#include "gateway/HUtils.h"
#include "render/TagTable.h"

#include <cstring>

namespace {
// "<!--" NAME SUFFIX, built with one allocation (the index is built on a
// request's path).
std::string Tagg(std::string_view namn, std::string_view efter) {
  std::string t;
  t.reserve(4 + namn.size() + efter.size());
  t.append("<!--").append(namn).append(efter);
  return t;
}
}  // namespace

TTaggindex::TTaggindex(const std::vector<std::span<const TTagg>>& tabeller) {
  size_t rader = 0;
  for (const auto& tabell : tabeller) rader += tabell.size();
  hela_.reserve(rader + rader / 4);
  for (const auto& tabell : tabeller)
    for (const TTagg& t : tabell) {
      const std::string_view namn = t.namn;
      switch (t.form) {
        case Form::Hel:
          hela_.emplace(Tagg(namn, "-->"), std::make_pair(&t, true));
          break;
        case Form::Argument:
          if (t.minArg == 0) hela_.emplace(Tagg(namn, "-->"), std::make_pair(&t, true));
          argument_.emplace(namn, &t);
          break;
        case Form::EjQv:
          hela_.emplace(Tagg(namn, "-->"), std::make_pair(&t, true));
          hela_.emplace(Tagg(namn, "(EJQV)-->"), std::make_pair(&t, false));
          break;
        case Form::Prefix:
          prefix_.push_back(&t);
          prefixStart_[static_cast<unsigned char>(namn[0])] = true;
          break;
      }
    }
}

void TTaggindex::Sok(TBlockBit& bit) const {
  const std::string& t = bit.text;
  bit.tagg = nullptr;
  bit.qv = true;
  bit.args.clear();
  if (t.size() < 7 || t.compare(0, 4, "<!--") != 0) return;
  if (auto it = hela_.find(t); it != hela_.end()) {
    bit.tagg = it->second.first;
    bit.qv = it->second.second;
    if (bit.tagg->form == Form::Argument) bit.args.resize(bit.tagg->maxArg);
    return;
  }
  // An argument tag: the name, in upper case, up to the first "(".
  if (!argument_.empty())
    if (size_t p = t.find('(', 4); p != std::string::npos)
      if (auto it = argument_.find(UpperCase(std::string_view(t).substr(4, p - 4))); it != argument_.end()) {
        const TTagg& a = *it->second;
        std::vector<std::string> lista;
        if (DelaArgument(t, p - 4, lista) && lista.size() >= std::max<size_t>(a.minArg, 1) && lista.size() <= a.maxArg) {
          lista.resize(a.maxArg);
          bit.tagg = &a;
          bit.args = std::move(lista);
          return;
        }
      }
  if (!prefixStart_[static_cast<unsigned char>(t[4])]) return;
  for (const TTagg* p : prefix_) {
    size_t n = std::strlen(p->namn);
    if (t.compare(4, n, p->namn) == 0) {
      bit.tagg = p;
      bit.args = {TaggVarde(t, 4 + n)};
      return;
    }
  }
}

const TTaggindex& Ramindex() {
  static const TTaggindex index({RamTaggar()});
  return index;
}

const TTaggindex& Blockindex() {
  static const TTaggindex index(Blocktaggar());
  return index;
}

std::vector<std::span<const TTagg>> Blocktaggar() {
  return {Kontrolltaggar(), Sektionstaggar(), Enkeltaggar(), Ettargumenttaggar(), Treargumenttaggar(), Hemsidetaggar(),
          Inlinetaggar()};
}

std::string Slutmarkor(const TBlockBit& bit) {
  if (!bit.tagg || !bit.tagg->slut) return {};
  std::string slut = std::string("<!--") + bit.tagg->slut;
  if (bit.tagg->form == Form::Argument) slut += "(" + bit.args[0] + ")";
  return slut + "-->";
}

void KlassificeraBlock(std::vector<TBlockBit>& block) {
  const TTaggindex& index = Blockindex();
  for (TBlockBit& b : block) {
    index.Sok(b);
    // The block's text is the same on every page of the template: its
    // entities are written into it once.
    if (!b.tagg) b.html = Entitetstext(b.text);
  }
  // Where each section ends is fixed by the block itself: the first end
  // marker after its start.
  for (size_t i = 0; i < block.size(); ++i) {
    std::string slut = Slutmarkor(block[i]);
    if (slut.empty()) continue;
    for (size_t j = i + 1; j < block.size(); ++j)
      if (block[j].text == slut) {
        block[i].slut = static_cast<int>(j);
        break;
      }
  }
}
