#include "support/CgiRunner.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

std::string ProgramUnderTest() {
  const char* chosen = std::getenv("VEMLO_TEST_PROGRAM");
  return chosen && *chosen ? chosen : VEMLO_BINARY;
}

CgiResult RunCgi(const CgiRequest& req) {
  // A program that refuses a body ends without reading it, and may be gone
  // before the body is written: that write must fail with EPIPE, as it does
  // in a web server, instead of ending the test run.
  static const bool pipeSignalIgnored = [] { return std::signal(SIGPIPE, SIG_IGN) != SIG_ERR; }();
  (void)pipeSignalIgnored;
  int in[2], out[2];
  if (pipe(in) != 0 || pipe(out) != 0) return {};
  std::vector<std::string> argv;
  if (!req.fakeTime.empty()) {
    if (req.frozenTime)
      argv = {"/usr/bin/faketime", "-f", req.fakeTime, ProgramUnderTest()};
    else
      argv = {"/usr/bin/faketime", req.fakeTime, ProgramUnderTest()};
  } else {
    argv = {ProgramUnderTest()};
  }
  for (const auto& a : req.args) argv.push_back(a);
  std::vector<char*> cargv, cenv;
  for (auto& a : argv) cargv.push_back(const_cast<char*>(a.c_str()));
  cargv.push_back(nullptr);
  std::vector<std::string> env = req.env;
  // A program built with the sanitizers keeps the test run's settings; under
  // faketime its preloaded library comes first, which the address sanitizer
  // must be told to accept.
  std::string asan = getenv("ASAN_OPTIONS") ? getenv("ASAN_OPTIONS") : "";
  if (!req.fakeTime.empty()) asan += std::string(asan.empty() ? "" : ":") + "verify_asan_link_order=0";
  if (!asan.empty()) env.push_back("ASAN_OPTIONS=" + asan);
  if (const char* ubsan = getenv("UBSAN_OPTIONS")) env.push_back(std::string("UBSAN_OPTIONS=") + ubsan);
  for (auto& e : env) cenv.push_back(const_cast<char*>(e.c_str()));
  cenv.push_back(nullptr);

  if (req.closeOutput) {
    // No reader from the start: every write of the program fails (EPIPE).
    close(out[0]);
    out[0] = open("/dev/null", O_RDONLY);
  }
  pid_t pid = fork();
  if (pid == 0) {
    std::signal(SIGPIPE, SIG_DFL);  // the program starts as a web server starts it
    dup2(in[0], 0);
    dup2(out[1], 1);
    close(in[0]);
    close(in[1]);
    close(out[0]);
    close(out[1]);
    if (!req.cwd.empty() && chdir(req.cwd.c_str()) != 0) _exit(126);
    if (req.fileSizeLimit >= 0) {
      struct rlimit lim = {rlim_t(req.fileSizeLimit), rlim_t(req.fileSizeLimit)};
      setrlimit(RLIMIT_FSIZE, &lim);
    }
    execve(cargv[0], cargv.data(), cenv.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  CgiResult result;
  // Feed the body and read the response at the same time, so that neither
  // side can block the other on a full pipe.
  size_t sent = 0;
  bool inOpen = true;
  if (req.body.empty()) {
    if (!req.holdInput) close(in[1]);
    inOpen = false;
  } else {
    fcntl(in[1], F_SETFL, O_NONBLOCK);
  }
  char buf[65536];
  for (;;) {
    struct pollfd fds[2];
    int n = 0;
    fds[n++] = {out[0], POLLIN, 0};
    if (inOpen) fds[n++] = {in[1], POLLOUT, 0};
    if (poll(fds, static_cast<nfds_t>(n), 60000) <= 0) break;
    if (inOpen && (fds[1].revents & (POLLOUT | POLLERR | POLLHUP))) {
      ssize_t w = write(in[1], req.body.data() + sent, req.body.size() - sent);
      if (w > 0) sent += static_cast<size_t>(w);
      if (w < 0 || sent == req.body.size()) {
        if (!req.holdInput) close(in[1]);
        inOpen = false;
      }
    }
    if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
      ssize_t r = read(out[0], buf, sizeof buf);
      if (r <= 0) break;
      result.out.append(buf, static_cast<size_t>(r));
    }
  }
  if (inOpen || req.holdInput) close(in[1]);
  close(out[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

Response SplitResponse(const std::string& out) {
  size_t end = out.find("\r\n\r\n");
  if (end == std::string::npos) return {out, ""};
  return {out.substr(0, end + 4), out.substr(end + 4)};
}
