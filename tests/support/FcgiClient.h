// A small FastCGI client, so that tests drive the program the way a web
// server does without one: BEGIN_REQUEST, PARAMS, STDIN out; STDOUT,
// STDERR and END_REQUEST back. And the program itself started as a FastCGI
// server, either with a listening socket as its standard input (as
// lighttpd's bin-path and spawn-fcgi start it) or with "--fastcgi ADDRESS".
#pragma once

#include <string>
#include <utility>
#include <vector>

#include <sys/types.h>

// The record types of the protocol that the tests use.
enum FcgiType : unsigned char {
  kFcgiBeginRequest = 1,
  kFcgiAbortRequest = 2,
  kFcgiEndRequest = 3,
  kFcgiParams = 4,
  kFcgiStdin = 5,
  kFcgiStdout = 6,
  kFcgiStderr = 7,
};

// One record, padded to a multiple of eight bytes.
std::string FcgiRecord(unsigned char type, unsigned requestId, const std::string& content);
// A name-value pair in the protocol's length-prefixed form.
std::string FcgiNameValue(const std::string& name, const std::string& value);
// A whole request: BEGIN_REQUEST (responder), the parameters in records of
// at most 65535 bytes, the empty PARAMS record, the body in STDIN records
// and the empty STDIN record (left out when `endBody` is false).
std::string FcgiRequestBytes(const std::vector<std::string>& params, const std::string& body, unsigned requestId = 1,
                             bool keepConnection = false, bool endBody = true);

struct FcgiResponse {
  std::string out;          // the STDOUT stream: header block and body
  std::string err;          // the STDERR stream
  bool ended = false;       // an END_REQUEST record arrived
  unsigned appStatus = 0;
  int protocolStatus = -1;
  bool closed = false;      // the program closed the connection
};
// Reads records of one request from the connection until END_REQUEST or
// the end of the connection (at most `timeoutMs` between two reads).
FcgiResponse FcgiReadResponse(int fd, int timeoutMs = 60000);

// Connects to "HOST:PORT" or a Unix socket path; -1 on failure.
int FcgiConnect(const std::string& address);
// Writes everything; false when the connection refuses.
bool FcgiSend(int fd, const std::string& bytes);

// The program as a FastCGI server for one test, in a site's cgi-win folder
// (a link to the built program there, so that it works from that folder
// although the test starts it from elsewhere).
class FcgiServer {
public:
  enum class Mode { StdinSocket, OwnSocket };
  // `env` is the program's whole environment (NAME=value).
  FcgiServer(const std::string& cgiwin, std::vector<std::string> env, Mode mode = Mode::StdinSocket,
             const std::string& workDir = "/");
  ~FcgiServer();
  FcgiServer(const FcgiServer&) = delete;
  FcgiServer& operator=(const FcgiServer&) = delete;

  const std::string& Address() const { return address_; }
  pid_t Pid() const { return pid_; }
  // One request over a new connection.
  FcgiResponse Request(const std::vector<std::string>& params, const std::string& body = "");
  // Sends the signal and waits for the end; the exit code, or 128 + the
  // signal that ended the process, or -1 when it did not end in time.
  int Stop(int signal, int timeoutMs = 30000);
  // Waits for the program to end by itself; as Stop.
  int Wait(int timeoutMs = 30000);
  bool Running();

private:
  std::string dir_, address_;
  pid_t pid_ = -1;
  int status_ = -1;
  bool reaped_ = false;
};

// The environment that the tests start the program with: the sanitizer
// settings of the test run, the site's time zone, plus `extra`.
std::vector<std::string> FcgiProgramEnv(const std::vector<std::string>& extra = {});
