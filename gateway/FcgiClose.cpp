#include "gateway/FcgiClose.h"

#include <algorithm>
#include <cerrno>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {
constexpr auto kNone = std::chrono::steady_clock::time_point::max();
}

TLingeringClose::TLingeringClose(std::chrono::milliseconds linger) : linger_(linger) {
  epoll_ = ::epoll_create1(EPOLL_CLOEXEC);
  wake_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (epoll_ >= 0 && wake_ >= 0) {
    epoll_event ev{};
    ev.events = EPOLLIN;
    ev.data.fd = wake_;
    if (::epoll_ctl(epoll_, EPOLL_CTL_ADD, wake_, &ev) == 0) thread_ = std::thread([this] { Run(); });
  }
}

TLingeringClose::~TLingeringClose() {
  {
    std::lock_guard<std::mutex> g(lock_);
    stopping_ = true;
  }
  if (thread_.joinable()) {
    uint64_t one = 1;
    ssize_t ignored = ::write(wake_, &one, sizeof one);
    (void)ignored;
    thread_.join();
  }
  for (size_t fd = 0; fd < deadlines_.size(); ++fd)
    if (deadlines_[fd] != kNone) ::close(static_cast<int>(fd));
  deadlines_.clear();
  waiting_ = 0;
  if (wake_ >= 0) ::close(wake_);
  if (epoll_ >= 0) ::close(epoll_);
}

bool TLingeringClose::Drained(int fd) {
  char trash[1024];
  for (;;) {
    ssize_t n = ::recv(fd, trash, sizeof trash, MSG_DONTWAIT);
    if (n > 0) continue;
    if (n < 0 && errno == EINTR) continue;
    return !(n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK));
  }
}

void TLingeringClose::Hand(int fd) {
  if (fd < 0) return;
  if (::shutdown(fd, SHUT_WR) != 0 || Drained(fd) || !thread_.joinable()) {
    ::close(fd);
    return;
  }
  std::lock_guard<std::mutex> g(lock_);
  if (stopping_) {
    ::close(fd);
    return;
  }
  if (static_cast<size_t>(fd) >= deadlines_.size()) deadlines_.resize(static_cast<size_t>(fd) + 64, kNone);
  epoll_event ev{};
  ev.events = EPOLLIN | EPOLLRDHUP;
  ev.data.fd = fd;
  if (::epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &ev) != 0) {
    ::close(fd);
    return;
  }
  deadlines_[static_cast<size_t>(fd)] = std::chrono::steady_clock::now() + linger_;
  ++waiting_;
}

size_t TLingeringClose::Waiting() {
  std::lock_guard<std::mutex> g(lock_);
  return waiting_;
}

void TLingeringClose::Forget(int fd) {
  ::close(fd);
  deadlines_[static_cast<size_t>(fd)] = kNone;
  --waiting_;
}

void TLingeringClose::CloseExpired(std::chrono::steady_clock::time_point now) {
  for (size_t fd = 0; fd < deadlines_.size() && waiting_ > 0; ++fd)
    if (deadlines_[fd] <= now) Forget(static_cast<int>(fd));
}

void TLingeringClose::Run() {
  std::vector<epoll_event> events(64);
  // The linger time is checked a few times within itself.
  int sweepMs = static_cast<int>(std::max<long long>(10, linger_.count() / 4));
  auto nextSweep = std::chrono::steady_clock::now() + std::chrono::milliseconds(sweepMs);
  for (;;) {
    int n = ::epoll_wait(epoll_, events.data(), static_cast<int>(events.size()), sweepMs);
    if (n < 0 && errno != EINTR) break;
    std::lock_guard<std::mutex> g(lock_);
    if (stopping_) break;
    for (int i = 0; i < n; ++i) {
      int fd = events[i].data.fd;
      if (fd == wake_) continue;
      // A connection is closed (and so leaves the set) by this thread only,
      // under the lock, so an event always names one still waiting.
      if (fd >= 0 && static_cast<size_t>(fd) < deadlines_.size() && deadlines_[static_cast<size_t>(fd)] != kNone &&
          Drained(fd))
        Forget(fd);
    }
    auto now = std::chrono::steady_clock::now();
    if (now >= nextSweep) {
      CloseExpired(now);
      nextSweep = now + std::chrono::milliseconds(sweepMs);
    }
  }
}
