// The template processor's working state for one page, and the customer
// block held as prepared pieces.
#pragma once

#include <string>
#include <vector>

struct TTagg;

// A piece of the customer block with what it is, decided once when the
// template is read; the block pass then only carries out the decision per
// customer.
struct TBlockBit {
  std::string text;               // the piece as it stands in the template
  std::string html;               // a text piece of the block as it is written (Entitetstext)
  const TTagg* tagg = nullptr;    // the tag it is; none for text and for comments that are no tag
  bool qv = true;                 // a web-address tag: false for its "(EJQV)" form
  std::vector<std::string> args;  // the tag's arguments, or the value of a prefix tag
  int slut = -1;                  // a section start: index of its end marker, -1 when none follows
};

struct TSida {
  bool iBlock = false;
  // Pieces of the customer block that the frame pass has met. They are
  // copied into `block` unless the template's block is kept already.
  size_t blockDelar = 0;
  int32_t counter = 0;
  int flikAntal = 0;
  std::string flikKatalog = "/bilder2/kund/fakta";
  std::string flikBredd;
  std::string flikHojd;
  std::vector<TBlockBit> block;
  std::string svans;  // the page tail, written after the last customer

  // Per customer.
  bool plats = false, aktivitet = false, leverantor = false, byra = false, forfragan = false, budget = false,
       foredrag = false, meny = false, nyheter = false, underhallning = false, weekend = false;
};

// A template piece as the frame pass sees it: a frame tag (with its
// arguments) or none.
TBlockBit RamKlassad(std::string bit);

// Cuts one template line (with its CR LF put back) into text pieces and
// whole tags.
std::vector<std::string> DelaMallrad(const std::string& radMedCrLf);

// Matches an argument tag: NAME (upper case) with `n` arguments (0 for the
// plain form). Fills `args` on a match of an argument form.
bool MatchaArgumentTagg(const std::string& bit, const std::string& namn, int n, std::vector<std::string>& args);

// The arguments of an argument tag whose name, `namnLangd` characters long,
// is followed by "(": the text up to ")-->" cut at every ",". False when no
// ")-->" follows.
bool DelaArgument(const std::string& bit, size_t namnLangd, std::vector<std::string>& lista);

// The value of a tag of the form <!--PREFIXvalue-->.
std::string TaggVarde(const std::string& bit, size_t prefixLangd);

// Decides what every piece of the customer block is, and where each section
// ends.
void KlassificeraBlock(std::vector<TBlockBit>& block);
