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
  // The pieces, classified for the frame pass (kept from the second page on).
  std::vector<TBlockBit> ram;
  // For each piece, where the next frame tag stands (ram.size() when none):
  // a kept block's plain pieces are passed over at once.
  std::vector<uint32_t> nastaTagg;
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

// The template's entry for the file with that stamp, with its classified
// pieces once it has served a page before; until then the pieces of this
// page are in `egna`.
TMallBitar& MallBitar(const std::string& fil, const TFileStamp& stamp, std::vector<std::string>& egna) {
  static thread_local std::list<TMallBitar> sparade;  // the most recently used first
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
  if (++mall.sidor > 1 && !mall.ram.empty()) return mall;
  std::string innehall;
  if (!ReadFileText(fil, innehall)) throw EInOutError("Cannot open file \"" + fil + "\"");
  for (auto& rad : SplitLines(innehall))
    for (auto& bit : DelaMallrad(rad + "\r\n")) egna.push_back(std::move(bit));
  if (mall.sidor > 1) {
    mall.ram.reserve(egna.size());
    for (std::string& bit : egna) mall.ram.push_back(RamKlassad(std::move(bit)));
    egna.clear();
    mall.nastaTagg.resize(mall.ram.size());
    uint32_t nasta = static_cast<uint32_t>(mall.ram.size());
    for (size_t i = mall.ram.size(); i-- > 0;) {
      if (mall.ram[i].tagg) nasta = static_cast<uint32_t>(i);
      mall.nastaTagg[i] = nasta;
    }
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

namespace {
// The request's template: the first candidate that is a file, and its
// stamp, taken before the file is read.
std::string HittaMall(TFileStamp& stamp) {
  const TRequestState& rs = RS();
  std::vector<std::string> kandidater;
  if (SakertNamn(rs.Mall) && SakertNamn(rs.AnvKat)) {
    if (!rs.AnvKat.empty()) kandidater.push_back("..\\kund\\" + rs.AnvKat + "\\" + rs.Mall + ".htm");
    kandidater.push_back("..\\kund" + rs.SprakKatalog + "\\" + rs.Mall + ".htm");
    kandidater.push_back("..\\kund\\" + rs.Mall + ".htm");
  }
  for (const auto& k : kandidater) {
    std::string fil = PosixPath(k);
    stamp = TFileStamp::Of(fil);
    if (stamp.exists && !stamp.dir) return fil;
  }
  throw EInOutError("File not found: ..\\kund\\" + rs.Mall + ".htm");
}
}  // namespace

std::string TForm1::MallFil() {
  TFileStamp stamp;
  return HittaMall(stamp);
}

void TForm1::SkrivUppgift() {
  TRequestState& rs = RS();
  TFileStamp stamp;
  std::string fil = HittaMall(stamp);

  TSida sida;
  rs.Farg[1] = "ffefcf";
  rs.Farg[2] = "ffdfaf";
  rs.Farg[3] = "ffd48f";
  rs.Farg[4] = "800020";
  rs.AktuellFlik.clear();

  // The frame pass: every piece goes through the frame handler, which
  // writes the head, collects the block and holds back the tail.
  std::vector<std::string> egna;
  TMallBitar& mall = MallBitar(fil, stamp, egna);
  if (egna.empty()) {
    // Which pieces belong to the block depends on the template alone (its
    // START and SLUT): a kept block is not collected again.
    const bool blockSparat = mall.blockKlar;
    for (size_t i = 0; i < mall.ram.size();) {
      // Inside a kept block a plain piece is only counted.
      if (blockSparat && sida.iBlock && !mall.ram[i].tagg) {
        size_t j = mall.nastaTagg[i];
        sida.blockDelar += j - i;
        i = j;
        continue;
      }
      RamDel(sida, mall.ram[i++], blockSparat);
    }
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
