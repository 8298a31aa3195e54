// Multipart form data: the upload reader over a sliding window.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "gateway/HttpEng.h"

// The body source: reads up to count bytes; the number read, 0 when nothing
// came, negative on failure.
using TReadProc = std::function<int64_t(void* bytes, int64_t count)>;

// The read window over the request body. Bodies of any size pass through it
// in constant memory.
class TUploadBuffer {
public:
  static constexpr int64_t WindowSize = 16384;
  // Largest single read asked of the source.
  static constexpr int64_t ReadChunk = 4096;

  TUploadBuffer(TReadProc readProc, int64_t contentLength);

  // Moves the unread bytes to the front and reads until the window is full
  // or the body is exhausted; the number of bytes read.
  int64_t Fill();
  // No more bytes will come: the content length is read, or the source
  // failed or stayed silent.
  bool Exhausted() const { return Remaining <= 0 || Ended; }
  bool Full() const { return Filled == WindowSize; }
  std::string_view Unread() const {
    return {Window.data() + Position, static_cast<size_t>(Filled - Position)};
  }

  int64_t Remaining;      // body bytes not yet read
  int64_t Position = 0;   // index of the next unread byte in the window
  int64_t Filled = 0;     // number of valid bytes in the window
  bool Ended = false;     // the source ended before the content length
  std::vector<char> Window;
  TReadProc ReadProc;
};

// The upload reader. Plain fields go to the form field list; file parts go to
// the stream that OnUploadPrepareFile supplies (and are dropped without one).
class TPorticoFileUpload : public TComponent {
public:
  using TComponent::TComponent;
  std::string ClassName() const override { return "TPorticoFileUpload"; }

  // Called for every file part with the part's header items; sets the stream
  // the file's bytes go to, whether to release it after the part, and may
  // cancel the rest of the upload. Sender is the owner (or this component).
  TUploadPrepareFileEvent OnUploadPrepareFile;

  // Reads the whole body and fills formFields; false when the file handler
  // cancelled the upload.
  bool ProcessUpload(const TReadProc& readProc, int64_t contentLength, TStringList& formFields);
};

// Reads the body (contentLength bytes through readProc), adds every plain
// field to formFields with the joining rule and hands every file part to the
// file handler. False when the handler cancelled the upload.
bool ProcessUpload(const TReadProc& readProc, int64_t contentLength, TStringList& formFields,
                   const TUploadPrepareFileEvent& handler, TComponent* sender);

// The directory for the engine's temporary files (uploads, sessions): TempDir
// when it is absolute, else TempDir beside the program file; normalised and
// ending in "/".
std::string EngineTempDir(const THttpEngine& engine);
