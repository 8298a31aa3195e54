// The program's entry: the FastCGI or the standard and Windows CGI start-up,
// the hand-over to a resident server, then the application module, whose
// creation serves the request (or runs the resident server or the FastCGI
// workers) and ends the process.
#include <csignal>

#include "app/Config.h"
#include "app/vemlo3f.h"
#include "gateway/CGISEng.h"
#include "gateway/CGIWEng.h"
#include "gateway/FcgiEng.h"

int main(int argc, char** argv) {
  // A client that goes away closes our output: writes then fail quietly
  // instead of ending the process in the middle of its log.
  std::signal(SIGPIPE, SIG_IGN);
  // A full file-size quota makes a write fail like a full disk (the log
  // writer reports it on the error page) instead of killing the process.
  std::signal(SIGXFSZ, SIG_IGN);
  SetProgramArgs(argc, argv);
  // A FastCGI server takes the process before the CGI paths look at it.
  if (!InitFastCgiUnit(argc, argv)) {
    InitStdCgiUnit();
    InitWinCgiUnit();
    // Under the server modes a CGI process is only a thin client: its request
    // goes to the resident server before anything of the application exists.
    if (HandOverAtStart(OperatorCGIMode(), Config().MaxBody)) return 0;
  }
  auto* module = new TForm1(true);
  // Reached only when the engine does not end the process after its request.
  delete module;
  return 0;
}
