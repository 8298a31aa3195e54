// Runs the built program exactly as a web server runs a CGI program: a
// chosen environment only, the body on standard input, the site's cgi-win
// folder as working directory; optionally under faketime.
#pragma once

#include <string>
#include <vector>

struct CgiResult {
  std::string out;      // everything the program wrote to standard output
  int exitCode = -1;
};

struct CgiRequest {
  std::vector<std::string> env;   // NAME=value, the whole environment
  std::string body;
  std::string cwd;
  std::vector<std::string> args;  // program arguments
  std::string fakeTime;           // "2009-06-30 10:00:00" runs under faketime
  bool frozenTime = false;        // the fake clock stands still instead of running on
  bool holdInput = false;         // keep standard input open after the body (a stalled client)
  long fileSizeLimit = -1;        // bytes any file may grow to (RLIMIT_FSIZE), -1 for no limit
  bool closeOutput = false;       // the reader of standard output is gone before the program starts
};

// The program file the tests run: the build's own program, or the one that
// VEMLO_TEST_PROGRAM names (the test run checks the optimised program that
// users get with the same tests).
std::string ProgramUnderTest();

CgiResult RunCgi(const CgiRequest& req);

// The header block and the body of a response.
struct Response {
  std::string headers;  // up to and including the empty line
  std::string body;
};
Response SplitResponse(const std::string& out);
