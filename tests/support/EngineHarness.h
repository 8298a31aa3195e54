// Runs requests through the engine inside the test process: a standard CGI
// engine over an in-memory body, whose response is captured instead of
// going to standard output and whose end of process is caught.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gateway/CGISEng.h"

// A stream that appends everything written to it to a string.
class TStringSink : public TStream {
public:
  explicit TStringSink(std::string& target) : target_(target) {}
  int64_t Read(void*, int64_t) override { return 0; }
  int64_t Write(const void* buf, int64_t count) override {
    target_.append(static_cast<const char*>(buf), static_cast<size_t>(count));
    return count;
  }

private:
  std::string& target_;
};

struct EngineRun {
  std::string output;  // header block and body as sent
  bool halted = false;  // the engine ended the process
};

// Runs one request. `vars` are the server variables (NAME=value), `body` the
// request body, `setup` configures the engine before the request and
// `handler` is the application's request handler.
EngineRun RunEngineRequest(const std::vector<std::string>& vars, const std::string& body,
                           const std::function<void(THttpCGIEngine&)>& setup,
                           const std::function<void(THttpEngine&)>& handler);
// An engine of its own for one thread of several that serve requests at
// once. Creating an engine and setting its handler pass the settings on to
// the process's current engine, which may be another thread's: every
// ThreadEngine is therefore made before the threads start, and each thread
// then only runs requests on its own. The caller catches the end of the
// process for all of them (SetHaltHandler).
class ThreadEngine {
public:
  explicit ThreadEngine(std::function<void(THttpEngine&)> handler);
  ~ThreadEngine();
  EngineRun Run(const std::vector<std::string>& vars, const std::string& body);

private:
  std::unique_ptr<THttpCGIEngine> engine_;
  std::function<void(THttpEngine&)> handler_;
};

// Makes `engine` the current engine of a request in progress whose output is
// captured into `output`, for code that writes with the unit functions.
class RequestScope {
public:
  explicit RequestScope(std::string& output, std::vector<std::string> vars = {});
  ~RequestScope();
  THttpCGIEngine& Engine() { return *engine_; }
  // Sends what is buffered so far.
  void Flush();

private:
  std::unique_ptr<THttpCGIEngine> engine_;
};
