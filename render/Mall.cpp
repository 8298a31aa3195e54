// The template processor: finds the request's template, reads it once
// through the frame pass, then renders the customer block for every
// customer of the search result.

#include "app/vemlo3f.h"
#include "render/Sida.h"

namespace {
// A template or user-category name may only name a file inside the
// template folder.
bool SakertNamn(const std::string& namn) {
  return namn.find("..") == std::string::npos && namn.find_first_of(std::string("/\\:\0", 4)) == std::string::npos;
}
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
  {
    std::string innehall;
    if (!ReadFileText(fil, innehall)) throw EInOutError("Cannot open file \"" + fil + "\"");
    for (auto& rad : SplitLines(innehall))
      for (auto& bit : DelaMallrad(rad + "\r\n")) RamBit(sida, std::move(bit));
  }
  HttpFlush();

  if (!rs.FelaktigtAnrop) {
    q_dbqv.First();
    if (q_dbqv.Eof()) {
      PutAAO("<h1>" + HamtaText("F\xF6retaget \xE4r ogiltigt eller saknas") + "</h1>");
    } else {
      KlassificeraBlock(sida.block);
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
  }
  HttpWriteLn(sida.svans);
}
