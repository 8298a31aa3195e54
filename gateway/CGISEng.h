// The stdio and file based CGI engines: the shared CGI layer and the
// standard CGI engine (environment, standard input and output).
#pragma once

#include "gateway/HttpEng.h"

// One header line as a CGI program writes it, with its line end: a status
// line ("HTTP/1.1 200 OK") becomes "Status: 200 OK" when `statusHeader`.
std::string CgiHeaderLine(const std::string& name, const std::string& value, bool statusHeader);

class THttpCGIEngine : public THttpEngine {
public:
  explicit THttpCGIEngine(TComponent* owner = nullptr);
  std::string ClassName() const override { return "THttpCGIEngine"; }

  bool CGIAutoTerminate() const { return cgiAutoTerminate_; }
  void SetCGIAutoTerminate(bool v) { cgiAutoTerminate_ = v; }

  void WriteHeaderLine(const std::string& name, const std::string& value) override;
  void EndHeaders() override;
  void EndRequest() override;
  // Runs one request over the given streams, or (all null) the process's own.
  virtual void Execute(TStream* input, TStream* output, std::unique_ptr<TStringList> variables) = 0;

  // True when the server wants the status line as a "Status:" header.
  bool WantsStatusHeader();

  // A failure noted before the request could run (the hand-over to the
  // resident server refused it) is raised here, so that the visitor gets the
  // engine's error page.
  void BeforeRequest() override;

protected:
  // Under the server modes: hands the request to the resident server
  // (starting one when none is alive). True when the request is done and the
  // streams are released; false when it is to be served here, `input` then
  // holding the body that the hand-over had already read.
  bool ServeByResidentServer(TStream*& input, TStream*& output, const TStringList& variables);
  std::string pendingFailure_;

  bool IsCGIEngine() const override { return true; }
  bool AutoTerminates() const override { return cgiAutoTerminate_; }
  bool cgiAutoTerminate_ = true;
};

class TCGIStdEngine : public THttpCGIEngine {
public:
  explicit TCGIStdEngine(TComponent* owner = nullptr) : THttpCGIEngine(owner) {}
  std::string ClassName() const override { return "TCGIStdEngine"; }
  void Loaded() override;
  void RunConsole() override;
  void Execute(TStream* input, TStream* output, std::unique_ptr<TStringList> variables) override;
};

// Start-up of the standard CGI path: the handle streams over standard input
// and output, and the hand-over to a resident server when one runs.
void InitStdCgiUnit();
// The thin client of the server modes, decided at the start of a standard
// CGI process before the application module (and with it the database layer
// and the templates) is set up: hands the request to the resident server as
// the engine would (the same files, and a server started when none is
// alive). True when the request is done there and the process has nothing
// more to do; otherwise the engine serves it in this process as usual, with
// the body that was read already, and without trying the server again.
// A body announced over `readLimit` (0: none) is not handed over.
bool HandOverAtStart(TCGIMode mode, int64_t readLimit);
// The standard streams of this thread's standard CGI request (may be null).
TStream*& StdInput();
TStream*& StdOutput();
