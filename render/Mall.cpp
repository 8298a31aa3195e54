// The template processor: finds the request's template, reads it once
// through the frame pass, then renders the customer block for every
// customer of the search result.

#include "app/vemlo3f.h"
#include "render/Sida.h"

#include <list>

#include "data/FileStamp.h"

namespace {
// A template or user-category name may only name a file inside the
// template folder.
bool SakertNamn(const std::string& namn) {
  return namn.find("..") == std::string::npos && namn.find_first_of(std::string("/\\:\0", 4)) == std::string::npos;
}
// Templates read by the thread's earlier requests, cut into their pieces.
// A template is used again while its file's stamp is unchanged, so that an
// edited template shows with the next request. A site has a few dozen
// templates; a thread keeps the most recently used of them.
struct TMallBitar {
  std::string fil;
  TFileStamp stamp;
  bool stadig = false;  // not changed just before it was read (see TFileStamp::Recent)
  std::vector<std::string> bitar;
  // The same pieces classified for the frame pass, once per template.
  std::vector<TBlockBit> ram;
  // The customer block as the first page from the template classified it
  // (it depends on the template alone: the frame pass keeps in it every
  // piece between START and SLUT that is no frame tag).
  std::vector<TBlockBit> block;
  bool blockKlar = false;
  // Pages made from the template so far. What a page keeps is kept from
  // its second page on: a process that serves a single request (CGI)
  // pays nothing for it.
  int sidor = 0;
};
constexpr size_t kSparadeMallar = 32;

// The template's entry, with its pieces once it has served a page before;
// until then the pieces of this page are in `egna`.
TMallBitar& MallBitar(const std::string& fil, std::vector<std::string>& egna) {
  static thread_local std::list<TMallBitar> sparade;  // the most recently used first
  TFileStamp stamp = TFileStamp::Of(fil);
  auto it = sparade.begin();
  for (; it != sparade.end(); ++it)
    if (it->fil == fil) break;
  if (it != sparade.end() && !(it->stadig && it->stamp == stamp)) {
    sparade.erase(it);
    it = sparade.end();
  }
  if (it == sparade.end()) {
    if (sparade.size() >= kSparadeMallar) sparade.pop_back();
    TMallBitar m;
    m.fil = fil;
    m.stamp = stamp;
    m.stadig = !stamp.Recent(TFileStamp::Now());
    sparade.push_front(std::move(m));
  } else {
    sparade.splice(sparade.begin(), sparade, it);
  }
  TMallBitar& mall = sparade.front();
  if (++mall.sidor > 1 && !mall.bitar.empty()) return mall;
  std::string innehall;
  if (!ReadFileText(fil, innehall)) throw EInOutError("Cannot open file \"" + fil + "\"");
  for (auto& rad : SplitLines(innehall))
    for (auto& bit : DelaMallrad(rad + "\r\n")) egna.push_back(std::move(bit));
  if (mall.sidor > 1) {
    mall.bitar = std::move(egna);
    egna.clear();
  }
  return mall;
}

// Lends the template's classified block to the page for its customer loop
// and takes it back afterwards, also when the page fails.
class TLanatBlock {
public:
  TLanatBlock(TMallBitar& mall, TSida& sida) : mall_(mall), sida_(sida) { mall_.block.swap(sida_.block); }
  ~TLanatBlock() { mall_.block.swap(sida_.block); }
  TLanatBlock(const TLanatBlock&) = delete;
  TLanatBlock& operator=(const TLanatBlock&) = delete;

private:
  TMallBitar& mall_;
  TSida& sida_;
};
}  // namespace

std::string TForm1::MallFil() {
  const TRequestState& rs = RS();
  std::vector<std::string> kandidater;
  if (SakertNamn(rs.Mall) && SakertNamn(rs.AnvKat)) {
    if (!rs.AnvKat.empty()) kandidater.push_back("..\\kund\\" + rs.AnvKat + "\\" + rs.Mall + ".htm");
    kandidater.push_back("..\\kund" + rs.SprakKatalog + "\\" + rs.Mall + ".htm");
    kandidater.push_back("..\\kund\\" + rs.Mall + ".htm");
  }
  for (const auto& k : kandidater)
    if (FileExists(PosixPath(k))) return PosixPath(k);
  throw EInOutError("File not found: ..\\kund\\" + rs.Mall + ".htm");
}

void TForm1::SkrivUppgift() {
  TRequestState& rs = RS();
  std::string fil = MallFil();

  TSida sida;
  rs.Farg[1] = "ffefcf";
  rs.Farg[2] = "ffdfaf";
  rs.Farg[3] = "ffd48f";
  rs.Farg[4] = "800020";
  rs.AktuellFlik.clear();

  // The frame pass: every piece goes through the frame handler, which
  // writes the head, collects the block and holds back the tail.
  std::vector<std::string> egna;
  TMallBitar& mall = MallBitar(fil, egna);
  if (egna.empty()) {
    if (mall.ram.empty()) {
      mall.ram.reserve(mall.bitar.size());
      for (const std::string& bit : mall.bitar) mall.ram.push_back(RamKlassad(bit));
    }
    // Which pieces belong to the block depends on the template alone (its
    // START and SLUT): a kept block is not collected again.
    const bool blockSparat = mall.blockKlar;
    for (const TBlockBit& b : mall.ram) RamDel(sida, b, blockSparat);
  } else {
    for (std::string& bit : egna) RamBit(sida, std::move(bit));
  }
  HttpFlush();

  if (!rs.FelaktigtAnrop) {
    q_dbqv.First();
    if (q_dbqv.Eof()) {
      PutAAO("<h1>" + HamtaText("F\xF6retaget \xE4r ogiltigt eller saknas") + "</h1>");
    } else if (mall.blockKlar) {  // the frame pass has not collected it again
      TLanatBlock lanat(mall, sida);
      Kundloop(sida);
    } else {
      KlassificeraBlock(sida.block);
      if (mall.sidor > 1) {
        mall.block = sida.block;
        mall.blockKlar = true;
      }
      Kundloop(sida);
    }
  }
  HttpWriteLn(sida.svans);
}

void TForm1::Kundloop(TSida& sida) {
  while (!q_dbqv.Eof()) {
    std::string kundid = q_dbqv.Text("Kundid");
    SkrivLogg("kundid=" + kundid);
    SokKund(q_dbqv.Text("KundId"));
    BeraknaSektioner(sida);
    ByggFlikar(sida);
    Blockpass(sida);
    q_dbqv.Next();
  }
}
