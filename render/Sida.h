// The template processor's working state for one page, and the customer
// block held as prepared pieces.
#pragma once

#include <string>
#include <vector>

// What a piece of the customer block is, decided once when the template is
// read; the block pass then only carries out the decision per customer.
enum class BitTyp {
  Text,          // template text, written with entities
  Counter,       // <!--COUNTER(n,text)-->
  IncCounter,    // <!--INCCOUNTER-->
  ResetCounter,  // <!--RESETCOUNTER-->
  Sektion,       // a section start tag; `index` is its row in the section table
  Slut,          // any piece beginning "<!--SLUT": writes nothing
  FlikStart,     // <!--FLIKSTART=c-->
  FlikStartEj,   // <!--FLIKSTARTEJ=c-->
  FlikSlut,      // <!--FLIKSLUT-->
  Enkel,         // a simple tag; `index` into the simple-tag table
  EttArgument,   // a one-argument tag; `index` into its table
  TreArgument,   // a tag of up to three arguments; `index` into its table
  Hemsida,       // a web-address tag; `index` into its table, `qv` its form
  Flik,          // <!--FLIK=n-->
  FlikNamn,      // <!--FLIKNAMN=c-->
  HamtaText,     // <!--HAMTATEXT(x)-->
  Inline,        // a tag written from the request state; `index` into its table
  Okand,         // anything else: written unchanged
};

struct TBlockBit {
  BitTyp typ = BitTyp::Text;
  std::string text;               // the piece as it stands in the template
  int index = 0;
  bool qv = true;
  std::vector<std::string> args;  // arguments of an argument tag
  int slut = -1;                  // sections: index of the end marker, -1 when none follows
};

struct TSida {
  bool iBlock = false;
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

// Cuts one template line (with its CR LF put back) into text pieces and
// whole tags.
std::vector<std::string> DelaMallrad(const std::string& radMedCrLf);

// Matches an argument tag: NAME (upper case) with `n` arguments (0 for the
// plain form). Fills `args` on a match of an argument form.
bool MatchaArgumentTagg(const std::string& bit, const std::string& namn, int n, std::vector<std::string>& args);

// The value of a tag of the form <!--PREFIXvalue-->.
std::string TaggVarde(const std::string& bit, size_t prefixLangd);

// Row of a section start tag in the section table, -1 for none.
int SektionsIndex(const std::string& bit);
