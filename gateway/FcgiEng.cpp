#include "gateway/FcgiEng.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcgiapp.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <pthread.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "gateway/CGISEng.h"
#include "gateway/FcgiClose.h"
#include "gateway/HCgiDbg.h"

TFcgiEngine* FastCgiEngine = nullptr;

namespace {
bool g_selected = false;
int g_listenFd = -1;
std::string g_socketPath;

// Seconds a read from or a write to the web server may make no progress
// (the read time-out of the CGI engines).
int IoTimeoutSeconds() {
  int32_t s = StrToIntDef(GetEnv("CGI_READ_TIMEOUT"), 30);
  return s >= 1 ? s : 30;
}

// The engine's own part of a request's state on this thread.
struct TFcgiRequestState {
  FCGX_Request* Request = nullptr;
  int64_t BodyRead = 0;
  bool BodyEnded = false;
  bool Ending = false;  // the request's last output is being written
};
thread_local TFcgiRequestState t_fcgi;
// The request's last output, held until its end goes with it.
thread_local std::string t_lastOutput;

// The library sends what it is given in records of its 8 KiB buffer, a
// system call each. A page's body comes in one piece: it goes out in large
// records, many in one call, after whatever the library still holds. The
// request's last output goes out with the end of the request in the same
// call, so that the web server reads the whole answer at once; the library's
// streams are then closed as its own end would leave them.
constexpr int64_t kOwnRecordsFrom = 8192;
constexpr size_t kKeptLastOutput = 1 << 20;

int64_t WriteOwnRecords(FCGX_Request& request, const void* p, int64_t count, bool last) {
  FCGX_Stream* out = request.out;
  if (out->isClosed || out->FCGI_errno != 0) return -1;
  if (FCGX_FFlush(out) != 0) return -1;
  // Whatever the error stream holds goes before the end of the request.
  if (last && FCGX_FClose(request.err) != 0) last = false;
  if (!WriteStdoutRecords(request.ipcFd, request.requestId, p, count, last ? &request.appStatus : nullptr)) {
    // As the library marks its own failed writes.
    if (out->FCGI_errno == 0) out->FCGI_errno = errno ? errno : EIO;
    out->isClosed = 1;
    return -1;
  }
  if (last) {
    out->wasFCloseCalled = 1;
    out->isClosed = 1;
  }
  return count;
}

// Sends what the request's end held back, with the end of the request.
void SendLastOutput(FCGX_Request& request) {
  if (!t_lastOutput.empty()) WriteOwnRecords(request, t_lastOutput.data(), static_cast<int64_t>(t_lastOutput.size()), true);
  // A list of a thousand customers is not kept for the next small page.
  if (t_lastOutput.capacity() > kKeptLastOutput) std::string().swap(t_lastOutput);
  t_lastOutput.clear();
}

// The request's FastCGI streams as the engine's input and output stream.
class TFcgiStream : public TStream {
public:
  explicit TFcgiStream(FCGX_Request& request) : request_(request) {}
  int64_t Read(void* buf, int64_t count) override {
    if (count <= 0) return 0;
    int n = FCGX_GetStr(static_cast<char*>(buf), static_cast<int>(std::min<int64_t>(count, 1 << 30)), request_.in);
    if (n > 0) return n;
    return FCGX_GetError(request_.in) != 0 ? -1 : 0;
  }
  int64_t Write(const void* buf, int64_t count) override {
    if (count <= 0) return 0;
    if (t_fcgi.Ending) {
      if (request_.out->isClosed || request_.out->FCGI_errno != 0) return -1;
      t_lastOutput.append(static_cast<const char*>(buf), static_cast<size_t>(count));
      return count;
    }
    if (count >= kOwnRecordsFrom) return WriteOwnRecords(request_, buf, count, false);
    int n = FCGX_PutStr(static_cast<const char*>(buf), static_cast<int>(std::min<int64_t>(count, 1 << 30)),
                        request_.out);
    return n < 0 ? -1 : n;
  }

private:
  FCGX_Request& request_;
};

void SetTimeouts(int fd) {
  timeval tv{};
  tv.tv_sec = IoTimeoutSeconds();
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
  setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
}

std::string PeerAddress(const sockaddr_storage& sa) {
  if (sa.ss_family != AF_INET) return std::string();
  char text[INET_ADDRSTRLEN] = {0};
  inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in&>(sa).sin_addr, text, sizeof text);
  return text;
}

// A Unix socket path that no process listens on any more (left by one that
// was killed) may be taken over.
void RemoveStaleSocket(const std::string& path) {
  struct stat st{};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISSOCK(st.st_mode)) return;
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return;
  sockaddr_un sa{};
  sa.sun_family = AF_UNIX;
  if (path.size() < sizeof sa.sun_path) {
    std::memcpy(sa.sun_path, path.data(), path.size());
    if (::connect(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 && errno == ECONNREFUSED)
      ::unlink(path.c_str());
  }
  ::close(fd);
}

bool IsSocketPath(const std::string& address) { return address.find(':') == std::string::npos; }

[[noreturn]] void FailStart(const std::string& message) {
  std::fprintf(stderr, "vemlo3: %s\n", message.c_str());
  std::exit(2);
}
}  // namespace

namespace {
constexpr size_t kRecordBytes = 65528;  // a multiple of eight, below 65536
constexpr int kRecordsPerCall = 16;

bool WriteAllVectors(int fd, iovec* iov, int parts) {
  while (parts > 0) {
    ssize_t n = ::writev(fd, iov, parts);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    size_t left = static_cast<size_t>(n);
    while (parts > 0 && left >= iov->iov_len) {
      left -= iov->iov_len;
      ++iov;
      --parts;
    }
    if (parts > 0) {
      iov->iov_base = static_cast<char*>(iov->iov_base) + left;
      iov->iov_len -= left;
    }
  }
  return true;
}

void RecordHeader(unsigned char* h, unsigned char type, int requestId, size_t length) {
  h[0] = 1;  // version
  h[1] = type;
  h[2] = static_cast<unsigned char>(requestId >> 8);
  h[3] = static_cast<unsigned char>(requestId);
  h[4] = static_cast<unsigned char>(length >> 8);
  h[5] = static_cast<unsigned char>(length);
  h[6] = 0;  // no padding
  h[7] = 0;
}
}  // namespace

bool WriteStdoutRecords(int fd, int requestId, const void* bytes, int64_t count, const int* endStatus) {
  const unsigned char* p = static_cast<const unsigned char*>(bytes);
  int64_t done = 0;
  unsigned char headers[kRecordsPerCall][8];
  // The end: an empty STDOUT record, then END_REQUEST with the application's
  // status and "request complete".
  unsigned char end[24] = {};
  iovec iov[2 * kRecordsPerCall + 1];
  for (bool more = true; more;) {
    int parts = 0;
    int64_t batch = 0;
    for (int r = 0; r < kRecordsPerCall && done + batch < count; ++r) {
      size_t len = static_cast<size_t>(std::min<int64_t>(count - done - batch, kRecordBytes));
      RecordHeader(headers[r], 6, requestId, len);  // STDOUT
      iov[parts++] = {headers[r], 8};
      iov[parts++] = {const_cast<unsigned char*>(p + done + batch), len};
      batch += static_cast<int64_t>(len);
    }
    more = done + batch < count;
    if (!more && endStatus) {
      RecordHeader(end, 6, requestId, 0);
      RecordHeader(end + 8, 3, requestId, 8);  // END_REQUEST
      uint32_t status = static_cast<uint32_t>(*endStatus);
      end[16] = static_cast<unsigned char>(status >> 24);
      end[17] = static_cast<unsigned char>(status >> 16);
      end[18] = static_cast<unsigned char>(status >> 8);
      end[19] = static_cast<unsigned char>(status);
      iov[parts++] = {end, sizeof end};
    }
    if (parts > 0 && !WriteAllVectors(fd, iov, parts)) return false;
    done += batch;
  }
  return true;
}

bool FastCgiSelected() { return g_selected; }
int FastCgiListenFd() { return g_listenFd; }
const std::string& FastCgiSocketPath() { return g_socketPath; }

bool IsListeningSocket(int fd) {
  int accepting = 0;
  socklen_t len = sizeof accepting;
  return ::getsockopt(fd, SOL_SOCKET, SO_ACCEPTCONN, &accepting, &len) == 0 && accepting != 0;
}

std::string ProgramFolder(const char* argv0) {
  std::string path = argv0 && std::strchr(argv0, '/') ? std::string(argv0) : ProgramFileName();
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool WebServerAddressAllowed(const std::string& allowedList, const std::string& address) {
  if (Trim(allowedList).empty()) return true;
  size_t from = 0;
  while (from <= allowedList.size()) {
    size_t comma = allowedList.find(',', from);
    if (comma == std::string::npos) comma = allowedList.size();
    if (Trim(allowedList.substr(from, comma - from)) == address) return true;
    from = comma + 1;
  }
  return false;
}

TFastCgiSettings FastCgiSettingsFromEnvironment() {
  TFastCgiSettings s;
  s.Threads = ThreadCountSetting("VEMLO3_FCGI_THREADS", 1);
  int32_t max = StrToIntDef(Trim(GetEnv("VEMLO3_FCGI_MAX_REQUESTS")), 0);
  s.MaxRequests = max > 0 ? max : 0;
  return s;
}

bool InitFastCgiUnit(int argc, char** argv) {
  g_selected = false;
  std::string address;
  bool own = argc >= 2 && std::string_view(argv[1]) == "--fastcgi";
  if (own) {
    if (argc < 3 || !*argv[2]) FailStart("--fastcgi needs an address: HOST:PORT, :PORT or a socket path");
    address = argv[2];
  } else if (!IsListeningSocket(0)) {
    return false;
  }
  if (FCGX_Init() != 0) FailStart("the FastCGI library did not start");
  int fd = 0;
  if (own) {
    if (IsSocketPath(address)) {
      // The path is the operator's, relative to where the program was
      // started; it is removed again at the end, after the folder changed.
      if (address[0] != '/') {
        char cwd[4096];
        if (::getcwd(cwd, sizeof cwd)) address = std::string(cwd) + "/" + address;
      }
      RemoveStaleSocket(address);
      g_socketPath = address;
    }
    fd = FCGX_OpenSocket(address.c_str(), 256);
    if (fd < 0) {
      g_socketPath.clear();
      FailStart("cannot listen on " + address + ": " + std::strerror(errno ? errno : EADDRINUSE));
    }
  }
  ::fcntl(fd, F_SETFD, ::fcntl(fd, F_GETFD) | FD_CLOEXEC);
  // Several workers (and processes sharing the socket) wait for connections
  // at once: the one that comes too late must not block in accept.
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
  // The web server starts a CGI program in the program's folder; the
  // resident program works from there too, wherever it was started.
  std::string folder = ProgramFolder(argc > 0 ? argv[0] : nullptr);
  if (::chdir(folder.c_str()) != 0) FailStart("cannot work in " + folder + ": " + std::strerror(errno));
  g_listenFd = fd;
  g_selected = true;
  return true;
}

// ---------------------------------------------------------------- engine

TFcgiEngine::TFcgiEngine(TComponent* owner, int listenFd, std::string socketPath)
    : THttpEngine(owner), listenFd_(listenFd), socketPath_(std::move(socketPath)) {}

TFcgiEngine::~TFcgiEngine() {
  if (FastCgiEngine == this) FastCgiEngine = nullptr;
  for (int& fd : wakePipe_)
    if (fd >= 0) {
      ::close(fd);
      fd = -1;
    }
}

void TFcgiEngine::WriteHeaderLine(const std::string& name, const std::string& value) {
  TStream* out = ERS().OutputStream;
  if (!out) return;
  std::string line = CgiHeaderLine(name, value, true);
  out->WriteAll(line.data(), static_cast<int64_t>(line.size()));
}

void TFcgiEngine::EndHeaders() {
  if (TStream* out = ERS().OutputStream) out->WriteAll("\r\n", 2);
}

void TFcgiEngine::Flush() {
  THttpEngine::Flush();
  if (t_fcgi.Request && t_fcgi.Request->out && ERS().OutputStream) FCGX_FFlush(t_fcgi.Request->out);
}

void TFcgiEngine::EndRequest() {
  t_fcgi.Ending = t_fcgi.Request != nullptr;
  try {
    THttpEngine::EndRequest();
  } catch (...) {
    t_fcgi.Ending = false;
    t_lastOutput.clear();
    throw;
  }
  t_fcgi.Ending = false;
  if (t_fcgi.Request) SendLastOutput(*t_fcgi.Request);
}

void TFcgiEngine::BeforeRequest() {
  t_fcgi.BodyRead = 0;
  t_fcgi.BodyEnded = false;
}

int64_t TFcgiEngine::ReadClient(void* bytes, int64_t count) {
  EngineRequestState& r = ERS();
  if (!r.InputStream) return -1;
  char* p = static_cast<char*>(bytes);
  int64_t got = 0;
  while (got < count && !t_fcgi.BodyEnded) {
    int64_t n = r.InputStream->Read(p + got, count - got);
    if (n <= 0) {
      t_fcgi.BodyEnded = true;
      break;
    }
    got += n;
  }
  t_fcgi.BodyRead += got;
  if (debugMode_ != TDebugMode::NoDebug && r.DebugInput && got > 0) r.DebugInput->Write(bytes, got);
  // The web server ends the body early only when its client went away (or
  // the read timed out): what arrived is not the request that was sent.
  if (t_fcgi.BodyEnded && t_fcgi.BodyRead < ContentLength())
    throw Exception("Request body ended after " + IntToStr(t_fcgi.BodyRead) + " of " + IntToStr(ContentLength()) +
                    " bytes");
  return got;
}

void TFcgiEngine::SetOnLastExecRequest(TNotifyEvent v) { lastExec_ = std::move(v); }

void TFcgiEngine::Terminate() {
  try {
    if (ERS().OutputStream) Flush();
  } catch (const std::exception&) {
  }
  RequestStop();
}

void TFcgiEngine::RequestStop() {
  if (stopping_.exchange(true)) return;
  if (wakePipe_[1] >= 0) {
    ssize_t ignored = ::write(wakePipe_[1], "x", 1);
    (void)ignored;
  }
  if (mainThread_) pthread_kill(static_cast<pthread_t>(mainThread_), SIGTERM);
}

bool TFcgiEngine::ClaimRequest() {
  if (stopping_) return false;
  if (settings_.MaxRequests <= 0) return true;
  return claimed_.fetch_add(1) < settings_.MaxRequests;
}

int TFcgiEngine::AcceptConnection(int waitFd) {
  static const std::string allowed = GetEnv("FCGI_WEB_SERVER_ADDRS");
  for (;;) {
    if (stopping_) return -1;
    // Each worker waits on the socket through its own set, in which the
    // socket wakes one waiting worker, not all of them, for a connection.
    epoll_event ev[2];
    int n = ::epoll_wait(waitFd, ev, 2, -1);
    if (n < 0) {
      if (errno == EINTR) continue;
      LogEngineMessage(std::string("FastCGI wait: ") + std::strerror(errno));
      RequestStop();
      return -1;
    }
    bool connection = false;
    for (int i = 0; i < n; ++i) {
      if (ev[i].data.fd == wakePipe_[0]) return -1;
      if (ev[i].events & (EPOLLERR | EPOLLHUP)) {
        LogEngineMessage("FastCGI: the listening socket failed");
        RequestStop();
        return -1;
      }
      if (ev[i].events & EPOLLIN) connection = true;
    }
    if (!connection) continue;
    sockaddr_storage sa{};
    socklen_t len = sizeof sa;
    int fd = ::accept4(listenFd_, reinterpret_cast<sockaddr*>(&sa), &len, SOCK_CLOEXEC);
    if (fd < 0) {
      int e = errno;
      if (e == EAGAIN || e == EWOULDBLOCK || e == EINTR || e == ECONNABORTED || e == EPROTO) continue;
      if (e == EMFILE || e == ENFILE || e == ENOBUFS || e == ENOMEM) {
        // Out of descriptors or memory for a moment: let requests finish.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        continue;
      }
      LogEngineMessage(std::string("FastCGI accept: ") + std::strerror(e));
      RequestStop();
      return -1;
    }
    if (sa.ss_family == AF_INET || sa.ss_family == AF_INET6) {
      if (!WebServerAddressAllowed(allowed, PeerAddress(sa))) {
        ::close(fd);
        continue;
      }
      int on = 1;
      setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    }
    SetTimeouts(fd);
    return fd;
  }
}

int TFcgiEngine::NextConnection(int keptFd, int waitFd) {
  if (keptFd < 0) return AcceptConnection(waitFd);
  // The web server keeps the connection for its next request: wait for it
  // there, or for the end.
  for (;;) {
    pollfd p[2] = {{keptFd, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
    if (::poll(p, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (p[1].revents) return -1;
    return keptFd;
  }
}

void TFcgiEngine::ServeRequest(FCGX_Request& request) {
  // Everything of the previous request on this thread is set back at once.
  t_fcgi = TFcgiRequestState{};
  t_fcgi.Request = &request;
  // Server variables are the request's parameters, never the process's
  // environment.
  auto vars = std::make_unique<TStringList>();
  for (char** e = request.envp; e && *e; ++e) vars->Add(*e);
  auto* stream = new TFcgiStream(request);
  try {
    RunRequest(stream, stream, std::move(vars));
  } catch (const std::exception& e) {
    LogEngineMessage(std::string("FastCGI request: ") + e.what());
  } catch (...) {
    LogEngineMessage("FastCGI request: unknown failure");
  }
  // A request that failed before its end releases what it still holds.
  ERS() = EngineRequestState{};
  t_fcgi = TFcgiRequestState{};
}

void TFcgiEngine::Worker() {
  FCGX_Request request;
  // The worker accepts the connections itself and hands each to the
  // library. The library's own listening socket is an invalid one: when a
  // connection brings a malformed request, the library closes it and gives
  // up instead of waiting in accept where a stop cannot reach it.
  FCGX_InitRequest(&request, -1, 0);
  int waitFd = ::epoll_create1(EPOLL_CLOEXEC);
  epoll_event ev{};
  ev.events = EPOLLIN | EPOLLEXCLUSIVE;
  ev.data.fd = listenFd_;
  bool ready = waitFd >= 0 && ::epoll_ctl(waitFd, EPOLL_CTL_ADD, listenFd_, &ev) == 0;
  ev.events = EPOLLIN;
  ev.data.fd = wakePipe_[0];
  ready = ready && ::epoll_ctl(waitFd, EPOLL_CTL_ADD, wakePipe_[0], &ev) == 0;
  if (!ready) {
    LogEngineMessage(std::string("FastCGI: cannot wait for connections: ") + std::strerror(errno));
    RequestStop();
  }
  while (ready && ClaimRequest()) {
    int fd = NextConnection(request.ipcFd, waitFd);
    if (fd < 0) break;
    request.ipcFd = fd;
    // The library first finishes the previous request; it must not close
    // the connection that was just handed to it.
    request.keepConnection = 1;
    if (FCGX_Accept_r(&request) < 0) {
      // A malformed or abandoned request: the library closed the connection.
      request.ipcFd = -1;
      if (settings_.MaxRequests > 0) claimed_.fetch_sub(1);
      continue;
    }
    ServeRequest(request);
    // The library would wait here for the web server to close its end; the
    // closer does that, and this worker takes the next visitor.
    bool webServerKeeps = request.keepConnection != 0;
    request.keepConnection = 1;
    FCGX_Finish_r(&request);
    if (!webServerKeeps && request.ipcFd >= 0) {
      closer_->Hand(request.ipcFd);
      request.ipcFd = -1;
    }
    long served = served_.fetch_add(1) + 1;
    if (settings_.MaxRequests > 0 && served >= settings_.MaxRequests) RequestStop();
  }
  FCGX_Free(&request, 1);
  if (waitFd >= 0) ::close(waitFd);
}

int TFcgiEngine::Serve(const TFastCgiSettings& settings) {
  settings_ = settings;
  if (::pipe2(wakePipe_, O_CLOEXEC) != 0) {
    LogEngineMessage(std::string("FastCGI: no pipe: ") + std::strerror(errno));
    return 1;
  }
  // The stop signals are taken by this thread alone, between requests of
  // no worker.
  sigset_t stopSignals, saved;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stopSignals, &saved);
  mainThread_ = static_cast<unsigned long>(pthread_self());
  closer_ = std::make_unique<TLingeringClose>();
  std::vector<std::thread> workers;
  for (int i = 0; i < std::max(1, settings_.Threads); ++i) workers.emplace_back([this] { Worker(); });
  int sig = 0;
  while (sigwait(&stopSignals, &sig) != 0) {
  }
  RequestStop();
  for (auto& w : workers) w.join();
  closer_.reset();
  // A second stop signal may still be pending: it must not end the process
  // once the signals are unblocked again.
  timespec zero{};
  while (sigtimedwait(&stopSignals, nullptr, &zero) > 0) {
  }
  mainThread_ = 0;
  pthread_sigmask(SIG_SETMASK, &saved, nullptr);
  if (lastExec_) lastExec_(this);
  if (listenFd_ >= 0) ::close(listenFd_);
  listenFd_ = -1;
  if (!socketPath_.empty()) ::unlink(socketPath_.c_str());
  return 0;
}
