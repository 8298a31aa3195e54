#include "gateway/HDirWatch.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <sys/inotify.h>
#include <thread>
#include <unistd.h>

namespace {
int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

uint32_t InotifyMask(uint32_t events) {
  uint32_t mask = 0;
  if (events & TDirWatch::Appear) mask |= IN_MOVED_TO | IN_CLOSE_WRITE;
  if (events & TDirWatch::Vanish) mask |= IN_DELETE | IN_MOVED_FROM;
  if (events & TDirWatch::Change) mask |= IN_MODIFY | IN_CREATE;
  if (events & TDirWatch::Renamed) mask |= IN_MOVED_TO | IN_MOVED_FROM;
  return mask | IN_ONLYDIR;
}

// Renames in the folder are one event for both ends; writes only when asked,
// since a response being written would wake every waiter on every write.
unsigned long DnotifyMask(uint32_t events) {
  unsigned long mask = DN_MULTISHOT;
  if (events & (TDirWatch::Appear | TDirWatch::Vanish)) mask |= DN_CREATE | DN_RENAME | DN_DELETE;
  if (events & TDirWatch::Change) mask |= DN_CREATE | DN_MODIFY;
  if (events & TDirWatch::Renamed) mask |= DN_RENAME;
  return mask;
}

void Ignore(int) {}

// A SIGIO that reaches a thread other than the watch's (in the moment
// between asking for signals and naming the thread) does nothing.
void InstallQuietSigio() {
  static std::once_flag once;
  std::call_once(once, [] {
    struct sigaction old {};
    if (::sigaction(SIGIO, nullptr, &old) != 0 || old.sa_handler != SIG_DFL) return;
    struct sigaction sa {};
    sa.sa_handler = Ignore;
    sa.sa_flags = SA_RESTART;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGIO, &sa, nullptr);
  });
}

sigset_t SigioSet() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGIO);
  return set;
}
}  // namespace

bool TDirWatch::SwitchedOff() {
  const char* v = std::getenv("VEMLO3_NO_INOTIFY");
  return v && *v && std::strcmp(v, "0") != 0;
}

TDirWatch::TDirWatch(const std::string& dir, uint32_t events, TKind kind) : kind_(kind) {
  sigemptyset(&oldMask_);
  if (SwitchedOff()) return;
  if (kind_ == TKind::Named) {
    fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ >= 0 && ::inotify_add_watch(fd_, dir.c_str(), InotifyMask(events)) < 0) {
      ::close(fd_);
      fd_ = -1;
    }
    return;
  }
  InstallQuietSigio();
  sigset_t set = SigioSet();
  if (::pthread_sigmask(SIG_BLOCK, &set, &oldMask_) != 0) return;
  blocked_ = true;
  fd_ = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  struct f_owner_ex self = {F_OWNER_TID, static_cast<pid_t>(::gettid())};
  if (fd_ < 0 || ::fcntl(fd_, F_SETSIG, 0) != 0 || ::fcntl(fd_, F_NOTIFY, DnotifyMask(events)) != 0 ||
      ::fcntl(fd_, F_SETOWN_EX, &self) != 0)
    Drop();
}

TDirWatch::~TDirWatch() { Drop(); }

void TDirWatch::Drop() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!blocked_) return;
  blocked_ = false;
  // Signals of the watch that are still pending go with it, and the thread's
  // mask is as it was (SIGIO stays blocked when it was blocked before).
  sigset_t set = SigioSet();
  struct timespec zero = {0, 0};
  while (::sigtimedwait(&set, nullptr, &zero) > 0) {
  }
  if (!sigismember(&oldMask_, SIGIO)) ::pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

bool TDirWatch::Wait(int ms, const std::function<bool(const char* name)>& wanted) {
  if (fd_ < 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    return false;
  }
  return kind_ == TKind::Named ? WaitNamed(ms, wanted) : WaitLight(ms);
}

bool TDirWatch::WaitLight(int ms) {
  sigset_t set = SigioSet();
  struct timespec ts = {ms / 1000, static_cast<long>(ms % 1000) * 1000000L};
  if (::sigtimedwait(&set, nullptr, &ts) > 0) return true;
  return errno == EINTR;
}

bool TDirWatch::WaitNamed(int ms, const std::function<bool(const char* name)>& wanted) {
  const int64_t deadline = NowMs() + ms;
  // Room for many events at once; each holds a name of at most NAME_MAX.
  alignas(struct inotify_event) char buf[8192];
  for (;;) {
    int64_t left = deadline - NowMs();
    struct pollfd p = {fd_, POLLIN, 0};
    int ready = ::poll(&p, 1, left > 0 ? static_cast<int>(left) : 0);
    if (ready < 0) return errno == EINTR;
    if (ready == 0) return false;
    bool hit = false;
    for (;;) {
      ssize_t n = ::read(fd_, buf, sizeof buf);
      if (n <= 0) break;
      for (char* at = buf; at < buf + n;) {
        auto* ev = reinterpret_cast<struct inotify_event*>(at);
        if (ev->mask & IN_Q_OVERFLOW) hit = true;
        else if (ev->len > 0 && (!wanted || wanted(ev->name))) hit = true;
        at += sizeof(struct inotify_event) + ev->len;
      }
    }
    if (hit) return true;
    if (left <= 0) return false;
  }
}
