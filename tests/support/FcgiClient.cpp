#include "support/FcgiClient.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <arpa/inet.h>

namespace fs = std::filesystem;

std::string FcgiRecord(unsigned char type, unsigned requestId, const std::string& content) {
  size_t pad = (8 - content.size() % 8) % 8;
  std::string r;
  r += char(1);
  r += char(type);
  r += char((requestId >> 8) & 0xFF);
  r += char(requestId & 0xFF);
  r += char((content.size() >> 8) & 0xFF);
  r += char(content.size() & 0xFF);
  r += char(pad);
  r += char(0);
  r += content;
  r.append(pad, '\0');
  return r;
}

namespace {
std::string Length(size_t n) {
  std::string s;
  if (n < 128) {
    s += char(n);
  } else {
    s += char(0x80 | ((n >> 24) & 0x7F));
    s += char((n >> 16) & 0xFF);
    s += char((n >> 8) & 0xFF);
    s += char(n & 0xFF);
  }
  return s;
}

// Records of one stream, in pieces of at most 65535 bytes.
std::string StreamRecords(unsigned char type, unsigned id, const std::string& data) {
  std::string out;
  for (size_t at = 0; at < data.size(); at += 65535) out += FcgiRecord(type, id, data.substr(at, 65535));
  return out;
}
}  // namespace

std::string FcgiNameValue(const std::string& name, const std::string& value) {
  return Length(name.size()) + Length(value.size()) + name + value;
}

std::string FcgiRequestBytes(const std::vector<std::string>& params, const std::string& body, unsigned id,
                             bool keepConnection, bool endBody) {
  std::string begin = {char(0), char(1), char(keepConnection ? 1 : 0), 0, 0, 0, 0, 0};
  std::string out = FcgiRecord(kFcgiBeginRequest, id, begin);
  std::string pairs;
  for (const auto& p : params) {
    size_t eq = p.find('=');
    pairs += FcgiNameValue(p.substr(0, eq), eq == std::string::npos ? "" : p.substr(eq + 1));
  }
  out += StreamRecords(kFcgiParams, id, pairs) + FcgiRecord(kFcgiParams, id, "");
  out += StreamRecords(kFcgiStdin, id, body);
  if (endBody) out += FcgiRecord(kFcgiStdin, id, "");
  return out;
}

FcgiResponse FcgiReadResponse(int fd, int timeoutMs) {
  FcgiResponse r;
  std::string buf;
  size_t at = 0;
  char chunk[65536];
  for (;;) {
    // Whole records first.
    while (buf.size() - at >= 8) {
      const unsigned char* h = reinterpret_cast<const unsigned char*>(buf.data() + at);
      size_t len = (size_t(h[4]) << 8) | h[5];
      size_t total = 8 + len + h[6];
      if (buf.size() - at < total) break;
      std::string content = buf.substr(at + 8, len);
      if (h[1] == kFcgiStdout) r.out += content;
      if (h[1] == kFcgiStderr) r.err += content;
      at += total;
      if (h[1] == kFcgiEndRequest && len >= 5) {
        const unsigned char* c = reinterpret_cast<const unsigned char*>(content.data());
        r.appStatus = (unsigned(c[0]) << 24) | (unsigned(c[1]) << 16) | (unsigned(c[2]) << 8) | c[3];
        r.protocolStatus = c[4];
        r.ended = true;
        return r;
      }
    }
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, timeoutMs) <= 0) return r;
    ssize_t n = read(fd, chunk, sizeof chunk);
    if (n <= 0) {
      r.closed = true;
      return r;
    }
    buf.append(chunk, size_t(n));
  }
}

int FcgiConnect(const std::string& address) {
  int fd = -1;
  if (address.find(':') == std::string::npos) {
    fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un sa{};
    sa.sun_family = AF_UNIX;
    std::strncpy(sa.sun_path, address.c_str(), sizeof sa.sun_path - 1);
    if (connect(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
      close(fd);
      return -1;
    }
    return fd;
  }
  size_t colon = address.rfind(':');
  std::string host = address.substr(0, colon);
  if (host.empty()) host = "127.0.0.1";
  fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_port = htons(uint16_t(std::atoi(address.c_str() + colon + 1)));
  inet_pton(AF_INET, host.c_str(), &sa.sin_addr);
  if (connect(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

bool FcgiSend(int fd, const std::string& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return false;
    sent += size_t(n);
  }
  return true;
}

std::vector<std::string> FcgiProgramEnv(const std::vector<std::string>& extra) {
  std::vector<std::string> env = {"TZ=Europe/Stockholm", "PATH=/usr/bin:/bin"};
  if (const char* a = getenv("ASAN_OPTIONS")) env.push_back(std::string("ASAN_OPTIONS=") + a);
  if (const char* u = getenv("UBSAN_OPTIONS")) env.push_back(std::string("UBSAN_OPTIONS=") + u);
  if (const char* t = getenv("TSAN_OPTIONS")) env.push_back(std::string("TSAN_OPTIONS=") + t);
  std::string lsan = getenv("LSAN_OPTIONS") ? getenv("LSAN_OPTIONS") : "";
  lsan += std::string(lsan.empty() ? "" : ":") + "suppressions=" + VEMLO_SOURCE_DIR + "/tests/fastcgi/lsan.supp";
  env.push_back("LSAN_OPTIONS=" + lsan);
  for (const auto& e : extra) env.push_back(e);
  return env;
}

// ---------------------------------------------------------------- server

FcgiServer::FcgiServer(const std::string& cgiwin, std::vector<std::string> env, Mode mode,
                       const std::string& workDir)
    : dir_(cgiwin) {
  std::string program = cgiwin + "/vemlo3.exe";
  std::error_code ec;
  fs::remove(program, ec);
  fs::create_symlink(VEMLO_BINARY, program);
  // A short path: Unix socket names are limited to about a hundred bytes.
  char tmpl[] = "/tmp/vemlo3-fcgi-XXXXXX";
  if (!mkdtemp(tmpl)) throw std::runtime_error("mkdtemp");
  address_ = std::string(tmpl) + "/s";
  int listenFd = -1;
  if (mode == Mode::StdinSocket) {
    listenFd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un sa{};
    sa.sun_family = AF_UNIX;
    std::strncpy(sa.sun_path, address_.c_str(), sizeof sa.sun_path - 1);
    if (bind(listenFd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 || listen(listenFd, 64) != 0)
      throw std::runtime_error("listen");
  }
  std::vector<std::string> args = {program};
  if (mode == Mode::OwnSocket) args = {program, "--fastcgi", address_};
  std::vector<char*> cargv, cenv;
  for (auto& a : args) cargv.push_back(a.data());
  cargv.push_back(nullptr);
  for (auto& e : env) cenv.push_back(e.data());
  cenv.push_back(nullptr);
  pid_ = fork();
  if (pid_ == 0) {
    if (listenFd >= 0) {
      dup2(listenFd, 0);
      if (listenFd != 0) close(listenFd);
    } else {
      int null = open("/dev/null", 0);
      dup2(null, 0);
    }
    if (chdir(workDir.c_str()) != 0) _exit(126);
    execve(cargv[0], cargv.data(), cenv.data());
    _exit(127);
  }
  if (listenFd >= 0) close(listenFd);
  // Ready once it accepts (the own socket appears once it listens).
  for (int i = 0; i < 300; ++i) {
    int fd = FcgiConnect(address_);
    if (fd >= 0) {
      close(fd);
      return;
    }
    if (!Running()) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

FcgiServer::~FcgiServer() {
  if (Running()) Stop(SIGKILL, 5000);
  std::error_code ec;
  fs::remove_all(fs::path(address_).parent_path(), ec);
  fs::remove(dir_ + "/vemlo3.exe", ec);
}

FcgiResponse FcgiServer::Request(const std::vector<std::string>& params, const std::string& body) {
  FcgiResponse r;
  int fd = FcgiConnect(address_);
  if (fd < 0) {
    r.closed = true;
    return r;
  }
  FcgiSend(fd, FcgiRequestBytes(params, body));
  r = FcgiReadResponse(fd);
  close(fd);
  return r;
}

bool FcgiServer::Running() {
  if (reaped_) return false;
  if (waitpid(pid_, &status_, WNOHANG) == pid_) reaped_ = true;
  return !reaped_;
}

int FcgiServer::Wait(int timeoutMs) {
  auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (Running()) {
    if (std::chrono::steady_clock::now() > until) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (WIFEXITED(status_)) return WEXITSTATUS(status_);
  if (WIFSIGNALED(status_)) return 128 + WTERMSIG(status_);
  return -1;
}

int FcgiServer::Stop(int signal, int timeoutMs) {
  if (Running()) kill(pid_, signal);
  return Wait(timeoutMs);
}
