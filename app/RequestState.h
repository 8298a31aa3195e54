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

// The open request log file: what is written waits in `pending` until the
// log is flushed or closed. The file closes with the request state that
// owns it, also when a failed request left it open.
struct TLogFile {
  int fd = -1;
  std::string path;
  std::string pending;

  TLogFile() = default;
  // A copy of a request state does not own its log file.
  TLogFile(const TLogFile& o) : path(o.path), pending(o.pending) {}
  TLogFile& operator=(const TLogFile& o) {
    if (this != &o) {
      Close();
      path = o.path;
      pending = o.pending;
    }
    return *this;
  }
  TLogFile(TLogFile&& o) noexcept : fd(o.fd), path(std::move(o.path)), pending(std::move(o.pending)) { o.fd = -1; }
  TLogFile& operator=(TLogFile&& o) noexcept {
    if (this != &o) {
      Close();
      fd = o.fd;
      o.fd = -1;
      path = std::move(o.path);
      pending = std::move(o.pending);
    }
    return *this;
  }
  ~TLogFile() { Close(); }

  bool IsOpen() const { return fd >= 0; }
  // Writes what waits; false when the file refuses it.
  bool Flush();
  // Writes what waits and closes the file; false when either fails.
  bool Close();
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
// Sets the calling thread's request state back as a whole, to the state of
// a new one (an open log file is closed with the old state). Cheaper than
// assigning a new state: about five hundred texts are not moved one by one
// and the state is not zeroed before it is built.
TRequestState& NewRequestState();
