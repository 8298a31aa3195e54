#include "gateway/HDirWatch.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <sys/inotify.h>
#include <thread>
#include <unistd.h>

namespace {
int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

uint32_t KernelMask(uint32_t events) {
  uint32_t mask = 0;
  if (events & TDirWatch::Appear) mask |= IN_MOVED_TO | IN_CLOSE_WRITE;
  if (events & TDirWatch::Vanish) mask |= IN_DELETE | IN_MOVED_FROM;
  if (events & TDirWatch::Change) mask |= IN_MODIFY | IN_CREATE;
  return mask | IN_ONLYDIR;
}
}  // namespace

bool TDirWatch::SwitchedOff() {
  const char* v = std::getenv("VEMLO3_NO_INOTIFY");
  return v && *v && std::strcmp(v, "0") != 0;
}

TDirWatch::TDirWatch(const std::string& dir, uint32_t events) {
  if (SwitchedOff()) return;
  fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (fd_ < 0) return;
  if (::inotify_add_watch(fd_, dir.c_str(), KernelMask(events)) < 0) {
    ::close(fd_);
    fd_ = -1;
  }
}

TDirWatch::~TDirWatch() {
  if (fd_ >= 0) ::close(fd_);
}

bool TDirWatch::Wait(int ms, const std::function<bool(const char* name)>& wanted) {
  if (fd_ < 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    return false;
  }
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
