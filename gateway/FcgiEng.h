// The FastCGI engine: the program stays resident and serves the requests
// that a web server hands it over a FastCGI connection, on a pool of worker
// threads. Each worker has its own request object of the FastCGI library,
// its own request state and (through the application's per-thread module)
// its own database connection.
//
// The engine is chosen at start-up, before the CGI engines look at the
// process:
//   - standard input is a listening socket: the web server (lighttpd's
//     bin-path, spawn-fcgi, mod_fcgid) opened it and started the program;
//   - the arguments are "--fastcgi ADDRESS": the program listens itself on
//     ADDRESS, which is HOST:PORT, :PORT (every interface) or the path of a
//     Unix socket.
// Settings from the environment: VEMLO3_FCGI_THREADS (worker threads,
// default the number of cores) and VEMLO3_FCGI_MAX_REQUESTS (the process
// ends after serving that many requests, 0 = no limit).
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "gateway/HttpEng.h"

struct FCGX_Request;
struct FCGX_Stream;
class TLingeringClose;

// The settings of a FastCGI process as the operator gives them.
struct TFastCgiSettings {
  int Threads = 1;
  long MaxRequests = 0;  // 0 = no limit
};
TFastCgiSettings FastCgiSettingsFromEnvironment();

class TFcgiEngine : public THttpEngine {
public:
  // `listenFd` is the socket the workers accept on; `socketPath` names a
  // Unix socket that the program created itself (removed again at the end).
  TFcgiEngine(TComponent* owner, int listenFd, std::string socketPath);
  ~TFcgiEngine() override;
  std::string ClassName() const override { return "TFcgiEngine"; }

  // A FastCGI responder always sends its status as a "Status:" header.
  void WriteHeaderLine(const std::string& name, const std::string& value) override;
  void EndHeaders() override;
  // Sends what is written so far to the web server (early flush of the
  // page head): the library's own buffer is flushed too.
  void Flush() override;
  // Reads the body from the FastCGI input stream. A body that ends before
  // its CONTENT_LENGTH (the client went away) fails the request.
  int64_t ReadClient(void* bytes, int64_t count) override;
  void BeforeRequest() override;
  // The request's last output is written together with its end.
  void EndRequest() override;
  // In a resident process no request is the last one: the event fires once,
  // when the engine stops.
  void SetOnLastExecRequest(TNotifyEvent v) override;
  // Ending the process would cut the other workers' visitors off: the
  // engine stops as on SIGTERM instead.
  void Terminate() override;

  // Serves requests until SIGTERM or SIGINT, or until the request limit is
  // reached; requests in flight are finished first. Returns the exit code.
  int Serve(const TFastCgiSettings& settings);
  // Asks a running Serve to stop as SIGTERM does (from any thread).
  void RequestStop();

private:
  void Worker();
  // Waits for a connection to serve: the next request on a connection the
  // web server keeps open, or a new one from the listening socket. -1 when
  // the engine stops.
  int NextConnection(int keptFd, int waitFd);
  int AcceptConnection(int waitFd);
  void ServeRequest(FCGX_Request& request);
  bool ClaimRequest();

  int listenFd_;
  std::string socketPath_;
  TNotifyEvent lastExec_;
  TFastCgiSettings settings_;
  int wakePipe_[2] = {-1, -1};
  std::atomic<bool> stopping_{false};
  std::atomic<long> claimed_{0};
  std::atomic<long> served_{0};
  unsigned long mainThread_ = 0;
  std::unique_ptr<TLingeringClose> closer_;
};

// The engine of this process once the start-up chose FastCGI, else null.
extern TFcgiEngine* FastCgiEngine;

// Start-up of the FastCGI path, before the CGI units: decides whether the
// process serves FastCGI, and if so works from the folder of the program
// file and opens (or takes over) the listening socket. A bad address ends
// the process with exit code 2 and a message on standard error. True when
// the process is a FastCGI server.
bool InitFastCgiUnit(int argc, char** argv);
bool FastCgiSelected();
// The listening socket and the path of the socket file the program made.
int FastCgiListenFd();
const std::string& FastCgiSocketPath();

// True when the file descriptor is a listening socket.
bool IsListeningSocket(int fd);
// The folder of the program file as the program was started: argv[0] when
// it names a path (a link keeps its own folder, as a web server's CGI
// directory does), else the running program file.
std::string ProgramFolder(const char* argv0);
// The remote address is one that FCGI_WEB_SERVER_ADDRS (a comma list of
// IPv4 addresses) admits; every address is admitted when the list is empty.
bool WebServerAddressAllowed(const std::string& allowedList, const std::string& address);
// Writes `count` bytes to the connection as STDOUT records of request
// `requestId`, records of up to 65528 bytes, several in one system call.
// With `endStatus` the end of the request follows in the same call: the
// empty STDOUT record and END_REQUEST with that application status. False
// when the connection fails (errno tells).
bool WriteStdoutRecords(int fd, int requestId, const void* bytes, int64_t count, const int* endStatus = nullptr);
