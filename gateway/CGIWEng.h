// The Windows CGI engine: the web server describes the request in a profile
// file (sections of key = value lines) named by the program's first
// argument, hands the body over in a content file or in the profile's form
// sections, and expects the response in the output file the profile names.
#pragma once

#include <memory>
#include <string>
#include <utility>

#include "gateway/CGISEng.h"

class TCGIWinEngine : public THttpCGIEngine {
public:
  explicit TCGIWinEngine(TComponent* owner = nullptr) : THttpCGIEngine(owner) {}
  std::string ClassName() const override { return "TCGIWinEngine"; }
  void Loaded() override;
  void RunConsole() override;
  void Execute(TStream* input, TStream* output, std::unique_ptr<TStringList> variables) override;
};

// One line of a profile: the bytes up to the next CR (at most 16383), without
// the leading characters with codes up to 32 (the LF of the previous line
// end). `more` is false when the stream ended without a CR.
std::string ReadProfileLine(TStream& stream, bool& more);

// What a profile describes.
struct TWinCgiRequest {
  std::string OutputFileName;
  std::unique_ptr<TStream> Input;   // the body, rewound; null without one
  std::unique_ptr<TStream> Output;  // the output file; null when none is named
};

// Reads the profile into `variables` and opens the body and output streams.
// Raises when the profile cannot be opened.
TWinCgiRequest ReadWinCgiProfile(const std::string& path, TStringList& variables);

// The path of a file that the profile names, as this platform opens it:
// a relative path stays relative to the working directory.
std::string CompleteProfilePath(const std::string& path);

// Start-up of the Windows CGI path; the streams of this thread's request.
void InitWinCgiUnit();
TStream*& WinInput();
TStream*& WinOutput();
std::unique_ptr<TStringList>& WinVariables();
