// The resident server and its clients (see HServer.h for the protocol).
#include "gateway/HServer.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <deque>
#include <mutex>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "gateway/GenEng.h"
#include "gateway/HCgiDbg.h"
#include "gateway/HDirWatch.h"

namespace {
std::mutex g_settingsLock;
std::unique_ptr<TServerSettings> g_settings;

std::atomic<bool> g_isServer{false};
std::atomic<bool> g_stop{false};
volatile sig_atomic_t g_stopSignal = 0;
int g_lockFd = -1;

constexpr const char* kTooManyClients = "Server mode - Too many clients";

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// Age of a file by its modification time, in milliseconds; -1 when it is missing.
int64_t FileAgeMs(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return -1;
  struct timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  return (static_cast<int64_t>(now.tv_sec) - st.st_mtim.tv_sec) * 1000 +
         (static_cast<int64_t>(now.tv_nsec) - st.st_mtim.tv_nsec) / 1000000;
}

TServerSettings LoadSettings() {
  TServerSettings s;
  s.Directory = GetEnv("VEMLO3_SERVER_DIR");
  if (s.Directory.empty()) s.Directory = ExtractFilePath(ProgramFileName()) + "temp";
  s.Directory = PosixPath(s.Directory);
  while (s.Directory.size() > 1 && s.Directory.back() == '/') s.Directory.pop_back();
  std::string times = GetEnv("VEMLO3_SERVER_TIMES");
  size_t pos = 0;
  while (pos <= times.size()) {
    size_t comma = times.find(',', pos);
    std::string item = times.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
    size_t eq = item.find('=');
    if (eq != std::string::npos) {
      std::string key = LowerCase(Trim(item.substr(0, eq)));
      int32_t v = StrToIntDef(Trim(item.substr(eq + 1)), -1);
      if (v > 0) {
        if (key == "heartbeat") s.HeartbeatMs = v;
        else if (key == "fresh") s.FreshMs = v;
        else if (key == "wait") s.ClientWaitMs = v;
        else if (key == "serverage") s.ServerFileAgeMs = v;
        else if (key == "clientage") s.ClientFileAgeMs = v;
        else if (key == "maxfiles") s.MaxFiles = v;
        else if (key == "start") s.StartWaitMs = v;
        else if (key == "round") s.RoundMs = v;
      }
    }
    if (comma == std::string::npos) break;
    pos = comma + 1;
  }
  return s;
}

// The server's own files, which are never request files.
bool IsServerOwnFile(const std::string& path) {
  return path == AliveFileName() || path == ServerPrefix() + "S" || path == PidFileName();
}

struct PrefixFile {
  std::string path;
  int64_t ageMs;
};

// Every file whose name begins with the prefix.
std::vector<PrefixFile> PrefixFiles() {
  std::vector<PrefixFile> files;
  std::string dir = ServerSettings().Directory;
  std::string namePrefix = ExtractFileName(ServerPrefix());
  DIR* d = ::opendir(dir.c_str());
  if (!d) return files;
  while (struct dirent* e = ::readdir(d)) {
    std::string name = e->d_name;
    if (!StartsWith(name, namePrefix)) continue;
    std::string path = dir + "/" + name;
    int64_t age = FileAgeMs(path);
    if (age >= -1000) files.push_back({path, age});
  }
  ::closedir(d);
  return files;
}

// A rename here fails for good when its file is gone (a client that gave up
// deleted it): no later attempt can succeed, so none is waited for.
bool RenameWithRetries(const std::string& from, const std::string& to, int attempts, int pauseMs) {
  for (int i = 0; i < attempts; ++i) {
    if (::rename(from.c_str(), to.c_str()) == 0) return true;
    if (errno == ENOENT) return false;
    SleepMs(pauseMs);
  }
  return false;
}

// The names that end a round of the server loop: a complete request (the
// prefix and an ending "_REQ" in any case) and the alive file.
struct TLoopNames {
  std::string prefix = ExtractFileName(ServerPrefix());
  std::string alive = ExtractFileName(AliveFileName());
  std::string aliveUpper = prefix + "S";
  bool operator()(const char* name) const {
    size_t n = std::strlen(name);
    if (alive == name || aliveUpper == name) return true;
    return n > 4 && StartsWith(name, prefix) && UpperCase(name + n - 4) == "_REQ";
  }
};

// Creates the directory levels that are missing, private to the user.
void ForcePrivateDirectories(const std::string& dir) {
  std::string path;
  for (size_t i = 0; i <= dir.size(); ++i) {
    if (i == dir.size() || (dir[i] == '/' && i > 0)) {
      path = dir.substr(0, i);
      if (!DirectoryExists(path) && ::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        throw EInOutError("Cannot create the server directory " + path);
    }
  }
}

void OnStopSignal(int) { g_stopSignal = 1; }

// Heartbeat of the server: touches the alive file; its disappearance stops
// the server.
class TServerTickThread {
public:
  TServerTickThread() : thread_([this] { Run(); }) {}
  ~TServerTickThread() {
    {
      std::lock_guard<std::mutex> lock(m_);
      done_ = true;
    }
    cv_.notify_all();
    thread_.join();
  }

private:
  void Run() {
    std::unique_lock<std::mutex> lock(m_);
    while (!cv_.wait_for(lock, std::chrono::milliseconds(ServerSettings().HeartbeatMs), [this] { return done_; })) {
      if (::utimensat(AT_FDCWD, AliveFileName().c_str(), nullptr, 0) != 0) g_stop = true;
    }
  }
  std::mutex m_;
  std::condition_variable cv_;
  bool done_ = false;
  std::thread thread_;
};

// The request threads of the thread mode: a fixed set of workers that serve
// the claimed requests in the order they were claimed. A worker keeps its
// own application module (the module of its thread), request state and
// database connection from one request to the next, so that what they keep
// warm stays warm; each request still starts from a fresh request state, and
// what a request left of the engine's state is let go before the next.
class TRequestPool {
public:
  TRequestPool(THttpCGIEngine& engine, int threads) : engine_(engine) {
    for (int i = 0; i < std::max(1, threads); ++i) workers_.emplace_back([this] { Work(); });
  }
  // The requests claimed so far are answered before the workers end.
  ~TRequestPool() {
    {
      std::lock_guard<std::mutex> lock(m_);
      done_ = true;
    }
    cv_.notify_all();
    for (auto& w : workers_) w.join();
  }
  void Add(std::string baseName) {
    {
      std::lock_guard<std::mutex> lock(m_);
      queue_.push_back(std::move(baseName));
    }
    cv_.notify_one();
  }
  // Waits at most `ms` for a thread that has nothing to do; true when there
  // is one. A request is claimed only then: the requests that wait stay
  // complete request files, one file each, as in the serial mode.
  bool WaitForFreeThread(int ms) {
    std::unique_lock<std::mutex> lock(m_);
    return freed_.wait_for(lock, std::chrono::milliseconds(ms),
                           [this] { return busy_ + queue_.size() < workers_.size(); });
  }

private:
  void Work() {
    for (;;) {
      std::string base;
      {
        std::unique_lock<std::mutex> lock(m_);
        cv_.wait(lock, [this] { return done_ || !queue_.empty(); });
        if (queue_.empty()) return;
        base = std::move(queue_.front());
        queue_.pop_front();
        ++busy_;
      }
      try {
        ServeRequestFile(engine_, base);
      } catch (const std::exception& e) {
        LogEngineMessage(std::string("Server loop (thread): ") + e.what());
      }
      ERS() = EngineRequestState{};
      {
        std::lock_guard<std::mutex> lock(m_);
        --busy_;
      }
      freed_.notify_one();
    }
  }
  THttpCGIEngine& engine_;
  std::mutex m_;
  std::condition_variable cv_;
  std::condition_variable freed_;
  std::deque<std::string> queue_;
  size_t busy_ = 0;
  bool done_ = false;
  std::vector<std::thread> workers_;
};

void DeleteOldServerFiles() {
  for (const auto& f : PrefixFiles())
    if (!IsServerOwnFile(f.path) && f.ageMs > ServerSettings().ServerFileAgeMs) ::unlink(f.path.c_str());
}

void DeleteAllServerFiles() {
  for (const auto& f : PrefixFiles())
    if (f.path != PidFileName()) ::unlink(f.path.c_str());
}

// The oldest complete request, or "".
std::string NextRequestFile() {
  std::string best;
  int64_t bestAge = -2;
  for (const auto& f : PrefixFiles()) {
    if (!EndsWith(UpperCase(f.path), "_REQ")) continue;
    if (f.ageMs > bestAge) {
      best = f.path;
      bestAge = f.ageMs;
    }
  }
  return best;
}

// A variable's value on one line of the request file.
std::string OneLine(std::string s) {
  for (auto& c : s)
    if (c == '\r' || c == '\n') c = ' ';
  return s;
}

std::string RandomHex() {
  static std::mutex m;
  static std::mt19937 gen{std::random_device{}()};
  std::lock_guard<std::mutex> lock(m);
  return IntToHex(std::uniform_int_distribution<uint32_t>(0, 0xFFFFFFE)(gen), 5);
}
}  // namespace

// ---------------------------------------------------------------- settings and names

TServerSettings& ServerSettings() {
  std::lock_guard<std::mutex> lock(g_settingsLock);
  if (!g_settings) g_settings = std::make_unique<TServerSettings>(LoadSettings());
  return *g_settings;
}

void ReloadServerSettings() {
  std::lock_guard<std::mutex> lock(g_settingsLock);
  g_settings = std::make_unique<TServerSettings>(LoadSettings());
}

std::string ServerPrefix() { return ServerSettings().Directory + "/" + ExtractFileName(ProgramFileName()) + "_"; }
std::string AliveFileName() { return ServerPrefix() + "s"; }
std::string PidFileName() { return ServerPrefix() + "pid"; }

std::string ClientTag(const TStringList& variables) {
  std::string addr = variables.Value("REMOTE_ADDR");
  if (addr.empty()) addr = variables.Value("REMOTE_ADDRESS");
  if (addr.size() > 64) addr.resize(64);
  // The tag is part of a file name: nothing in it may name another folder.
  for (auto& c : addr)
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == ':')) c = '-';
  return addr;
}

bool ThisProcessIsServer() { return g_isServer; }

bool ServerLockHeld() {
  int fd = ::open(PidFileName().c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return false;
  bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(fd);  // also releases a lock taken just now
  return held;
}

bool ServerIsRunning() {
  if (g_isServer) return true;
  int64_t age = FileAgeMs(AliveFileName());
  if (age < -1000 || age > ServerSettings().FreshMs || !ServerLockHeld()) return false;
  struct stat st;
  return ::stat(PidFileName().c_str(), &st) == 0 && st.st_size > 0;
}

// ---------------------------------------------------------------- server

bool StartServerDirectory() {
  const std::string dir = ServerSettings().Directory;
  ForcePrivateDirectories(dir);
  int fd = ::open(PidFileName().c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) throw EInOutError("Cannot open " + PidFileName());
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  g_lockFd = fd;
  // An empty pid file tells clients that the server is not ready yet: an
  // alive file left by a server that died must not make it look ready.
  if (::ftruncate(fd, 0) != 0) throw EInOutError("Cannot write " + PidFileName());
  bool hadAlive = FileExists(AliveFileName());
  DeleteAllServerFiles();
  if (hadAlive) SleepMs(std::min(500, ServerSettings().HeartbeatMs));
  int alive = ::open(AliveFileName().c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (alive < 0) throw EInOutError("Cannot create " + AliveFileName());
  ::close(alive);
  std::string pid = std::to_string(::getpid()) + "\n";
  if (::pwrite(fd, pid.data(), pid.size(), 0) != static_cast<ssize_t>(pid.size()))
    throw EInOutError("Cannot write " + PidFileName());
  g_stop = false;
  g_isServer = true;
  return true;
}

void StopServerLoop() { g_stop = true; }

void ServeRequestFile(THttpCGIEngine& engine, const std::string& baseName) {
  std::unique_ptr<TFileStream> request;
  for (int attempt = 0; attempt < 3 && !request; ++attempt) {
    try {
      request = std::make_unique<TFileStream>(baseName + "cnf", TFileStream::OpenRead);
    } catch (const EInOutError&) {
      if (attempt == 2) throw;
      SleepMs(20);
    }
  }
  std::string head;
  size_t end = std::string::npos;
  char buf[512];
  while (end == std::string::npos) {
    int64_t n = request->Read(buf, sizeof buf);
    if (n <= 0) break;
    head.append(buf, static_cast<size_t>(n));
    end = head.find("\r\n\r\n");
  }
  if (end == std::string::npos) return;
  request->Seek(static_cast<int64_t>(end + 4));
  auto variables = HttpSplitLines(std::string_view(head).substr(0, end));
  auto* response = new TFileStream(baseName + "ind", TFileStream::Create, 0600);
  engine.Execute(request.release(), response, std::move(variables));
  RenameWithRetries(baseName + "ind", baseName + "rsp", 10, 20);
  ::unlink((baseName + "cnf").c_str());
}

void RunServerLoop(THttpCGIEngine& engine) {
  if (!StartServerDirectory()) {
    LogEngineMessage("Server loop: another server is running");
    return;
  }
  {
    std::unique_ptr<TRequestPool> pool;
    if (engine.CGIMode() == TCGIMode::ServerThreadMode)
      pool = std::make_unique<TRequestPool>(engine, ThreadCountSetting("VEMLO3_SERVER_THREADS", 2));
    TServerTickThread heartbeat;
    // A complete request, or the alive file gone, ends a round at once.
    TDirWatch watch(ServerSettings().Directory, TDirWatch::Appear | TDirWatch::Vanish);
    const int round = ServerSettings().RoundMs;
    const TLoopNames wakers;
    try {
      while (!g_stop && !g_stopSignal) {
        if (pool && !pool->WaitForFreeThread(round)) {
          if (!FileExists(AliveFileName())) break;
          continue;
        }
        std::string found = NextRequestFile();
        if (!found.empty()) {
          std::string base = found.substr(0, found.size() - 3);
          if (RenameWithRetries(found, base + "cnf", 10, 50)) {
            if (pool) {
              pool->Add(base);
            } else {
              ServeRequestFile(engine, base);
            }
          }
          // Looking in rounds, the loop pauses after a request; a watched
          // folder tells of the next request, so it looks again at once.
          if (!watch.Active()) SleepMs(20);
          DeleteOldServerFiles();
        } else {
          watch.Wait(round, wakers);
        }
        if (!FileExists(AliveFileName())) break;
      }
    } catch (const std::exception& e) {
      LogEngineMessage(std::string("Server loop: ") + e.what());
    }
  }
  // Requests in progress were answered (the pool ends after its requests)
  // before the server's files go.
  DeleteAllServerFiles();
  ::unlink(PidFileName().c_str());
  if (g_lockFd >= 0) ::close(g_lockFd);
  g_lockFd = -1;
  g_isServer = false;
}

void ServerLoop(THttpCGIEngine& engine) {
  struct sigaction sa {};
  sa.sa_handler = OnStopSignal;
  sigemptyset(&sa.sa_mask);
  for (int s : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(s, &sa, nullptr);
  RunServerLoop(engine);
  engine.Terminate();
}

// ---------------------------------------------------------------- client

THandOver HandToServer(TStream* input, TStream* output, const TStringList& variables, std::string& body) {
  const TServerSettings& s = ServerSettings();
  bool serverWasAlive = ServerLockHeld();
  std::string tag = ClientTag(variables);
  int pending = 0;
  auto files = PrefixFiles();
  for (const auto& f : files) {
    if (IsServerOwnFile(f.path)) continue;
    if (f.ageMs > s.ClientFileAgeMs) ::unlink(f.path.c_str());
    else ++pending;
  }
  if (pending >= s.MaxFiles) throw Exception(kTooManyClients);

  bool hasLength = variables.IndexOfName("CONTENT_LENGTH") >= 0;
  int64_t length = hasLength ? StrToIntDef(variables.Value("CONTENT_LENGTH"), 0)
                             : (input && input->Size() > 0 ? input->Size() : 0);
  body.clear();
  char buf[1032];
  while (input && static_cast<int64_t>(body.size()) < length) {
    int64_t n = input->Read(buf, std::min<int64_t>(sizeof buf, length - static_cast<int64_t>(body.size())));
    if (n <= 0) break;
    body.append(buf, static_cast<size_t>(n));
  }

  std::string base;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    base = ServerPrefix() + tag + "_" + RandomHex();
    // The folder as read just now, unless a name was taken since.
    if (attempt > 0) files = PrefixFiles();
    bool taken = false;
    for (const auto& f : files)
      if (StartsWith(f.path, base)) taken = true;
    if (!taken) fd = ::open((base + "_TMP").c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
  }
  if (fd < 0) throw EInOutError("Server mode - cannot create a request file");
  {
    THandleStream file(fd, true);
    std::string head;
    for (const auto& v : variables.Items()) head += OneLine(v) + "\r\n";
    if (!hasLength) head += "CONTENT_LENGTH=" + IntToStr(length) + "\r\n";
    head += "\r\n";
    if (!file.WriteAll(head.data(), static_cast<int64_t>(head.size())) ||
        !file.WriteAll(body.data(), static_cast<int64_t>(body.size()))) {
      ::unlink((base + "_TMP").c_str());
      throw EInOutError("Server mode - cannot write the request file");
    }
  }
  const std::string rsp = base + "_rsp";
  // Watched before the request is published, so its answer cannot come
  // unseen in between; a light watch, since a client waits once and ends,
  // and an inotify instance would hold up its end (see HDirWatch.h). A light
  // watch wakes for every file of the folder, so only renames wake it: the
  // answer is published by one, while the files that other requests create
  // and delete would wake every waiting client for nothing. A server that
  // stops (its alive file deleted) is seen within a round.
  TDirWatch watch(s.Directory, TDirWatch::Renamed, TDirWatch::TKind::Light);
  ::rename((base + "_TMP").c_str(), (base + "_REQ").c_str());

  int64_t deadline = NowMs() + s.ClientWaitMs;
  while (!FileExists(rsp)) {
    if (!FileExists(AliveFileName()) || NowMs() > deadline || g_stopSignal) break;
    if (serverWasAlive && !ServerLockHeld()) break;
    watch.Wait(s.RoundMs);
  }
  THandOver result = g_stopSignal ? THandOver::Stopped : THandOver::NoAnswer;
  if (FileExists(rsp)) {
    for (int attempt = 0; attempt < 10; ++attempt) {
      try {
        TFileStream response(rsp, TFileStream::OpenRead);
        if (output) CopyStream(response, *output);
        result = THandOver::Answered;
        break;
      } catch (const EInOutError&) {
        SleepMs(20);
      }
    }
  }
  for (const char* ending : {"_rsp", "_REQ", "_cnf", "_ind", "_TMP"}) ::unlink((base + ending).c_str());
  return result;
}

bool StartServerProcess() {
  struct sigaction sa {};
  sa.sa_handler = OnStopSignal;
  sigemptyset(&sa.sa_mask);
  for (int s : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(s, &sa, nullptr);

  std::string program = ProgramFileName();
  // The folder made here already (the server would make it the same way) so
  // that the server's pid file, written when it is ready, can be watched for.
  try {
    ForcePrivateDirectories(ServerSettings().Directory);
  } catch (const EInOutError&) {
  }
  TDirWatch watch(ServerSettings().Directory, TDirWatch::Appear | TDirWatch::Change, TDirWatch::TKind::Light);
  pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    // The server lives on by itself: its own session, no streams of the
    // client (a web server waits for the client's output to close).
    ::setsid();
    if (::fork() != 0) ::_exit(0);
    int devnull = ::open("/dev/null", O_RDWR);
    if (devnull >= 0) {
      ::dup2(devnull, 0);
      ::dup2(devnull, 1);
      ::dup2(devnull, 2);
      if (devnull > 2) ::close(devnull);
    }
    for (int fd = 3; fd < 1024; ++fd) ::close(fd);
    // The watch above blocks SIGIO in this thread; the server starts clean.
    sigset_t sigio;
    sigemptyset(&sigio);
    sigaddset(&sigio, SIGIO);
    ::sigprocmask(SIG_UNBLOCK, &sigio, nullptr);
    const char* argv[] = {program.c_str(), "$$START_SERVER", "X", nullptr};
    ::execv(program.c_str(), const_cast<char* const*>(argv));
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  int64_t deadline = NowMs() + ServerSettings().StartWaitMs;
  while (!ServerIsRunning()) {
    if (NowMs() > deadline || g_stopSignal) return false;
    watch.Wait(20);
  }
  return true;
}
