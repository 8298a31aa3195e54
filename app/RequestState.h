// The application's per-request values, one record per thread that runs
// requests.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "gateway/HDateTime.h"

class TForm1;

// The open request log file.
struct TLogFile {
  FILE* f = nullptr;
  std::string path;
};

// Arrays keep the 1-based positions of their fields: element 0 is unused.
template <size_t N>
using Slots = std::array<std::string, N + 1>;

struct TRequestState {
  bool FelaktigtAnrop = false;
  bool VisaKontaktInfo = false;
  bool NivaOver0 = false;
  bool AnvandADO = false;
  Slots<20> Farg;
  Slots<20> FlikKod;
  Slots<20> FlikSynlig;
  Slots<20> FlikBildAktiv;
  Slots<20> FlikBildLank;
  TDateTime Starttid = 0;
  std::string SprakSuffix;
  std::string SprakKatalog;
  std::string AktuellFlik;
  std::string FelRubrik;
  std::string FelText;
  std::string AnropsId;
  TLogFile Logfil;
  TForm1* Form1 = nullptr;

  std::string Vad, Funktion, Mall, BMall, Ftagnamn, Kedja, Avtal, AnvKat, Fas;
  Slots<30> Kundid;
  Slots<50> Omrade;
  Slots<300> Kommun;
  std::string Sprak, Bgcolor, Background;
  int32_t Antal = -1, Antbaddar = -1, Antrum = -1;
  std::string ArMan, Status, Niva, UndhGenre, FdagInriktning, XKntKundId;
  std::string VisaKontaktInfoText;
  std::string Visasida, Stylesheet;
  int32_t UppdateradDagar = 7;
  // Debug: the statements are echoed into the page. DebugBegart: the request
  // asked for it ("Debug=J"), whether or not its client may have it.
  bool Debug = false;
  bool DebugBegart = false;
};

// The calling thread's request state.
TRequestState& RS();
