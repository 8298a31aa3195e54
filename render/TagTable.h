// The template tags, one table per kind of tag. A row names the tag, says
// how it is written and what the pass that meets it does. The table a row
// stands in says where the tag may stand: the frame table's page-level tags
// are answered wherever they stand, the block tables' tags only inside the
// customer block. The frame pass, the block pass and the template check all
// read these tables; a new tag is one row (and its method, when it has one).
#pragma once

#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/vemlo3f.h"
#include "render/Sida.h"

// How a tag is written in a template.
enum class Form : unsigned char {
  Hel,       // exactly <!--NAME-->, case included
  Argument,  // <!--NAME(a,...)--> with minArg to maxArg arguments, the name
             // without regard to case; missing arguments are empty. With
             // minArg 0 also the plain <!--NAME--> (compared exactly).
  EjQv,      // <!--NAME--> or <!--NAME(EJQV)-->, both compared exactly
  Prefix,    // any piece that begins "<!--NAME"; what follows up to "-->" is
             // the tag's value (its one argument)
};

// What a pass does with a piece that one of its tags matched (the piece with
// its arguments in `bit`). The block pass drops the stretch up to the
// piece's end marker when it returns false, which only a section start does;
// the frame pass ignores the result.
using Tagghandling = bool (*)(TForm1& f, TSida& sida, const TBlockBit& bit);

struct TTagg {
  const char* namn;  // upper case, as written after "<!--"
  Form form;
  Tagghandling handling;
  const char* slut = nullptr;             // a section start: the name of its end marker
  unsigned char minArg = 0, maxArg = 0;  // Form::Argument
};

// The tables, by kind. Page level (the frame pass): the page frame tags.
std::span<const TTagg> RamTaggar();
// The customer block (the block pass), in the order they are tried: the
// block's own control tags (counter, end markers, tabs, texts), the
// sections, the field tags with a method of the module (no argument, one,
// up to three, a web-address form) and the tags written from the request
// state.
std::span<const TTagg> Kontrolltaggar();
std::span<const TTagg> Sektionstaggar();
std::span<const TTagg> Enkeltaggar();
std::span<const TTagg> Ettargumenttaggar();
std::span<const TTagg> Treargumenttaggar();
std::span<const TTagg> Hemsidetaggar();
std::span<const TTagg> Inlinetaggar();
std::vector<std::span<const TTagg>> Blocktaggar();

// The tags of some tables by the ways they can be written, built once, so
// that a piece is looked up instead of compared with every row. Where two
// rows match the same piece the first wins.
class TTaggindex {
public:
  explicit TTaggindex(const std::vector<std::span<const TTagg>>& tabeller);
  // Fills bit.tagg (nullptr when no tag matches), bit.qv and bit.args from
  // bit.text.
  void Sok(TBlockBit& bit) const;

private:
  std::unordered_map<std::string, std::pair<const TTagg*, bool>> hela_;  // whole pieces, with their qv
  std::unordered_map<std::string, const TTagg*> argument_;              // names of the argument tags
  std::vector<const TTagg*> prefix_;
  bool prefixStart_[256] = {};  // the first letters of the prefix tags' names
};

const TTaggindex& Ramindex();
const TTaggindex& Blockindex();

// The end marker that closes the section a piece starts; empty when the
// piece starts no section.
std::string Slutmarkor(const TBlockBit& bit);
