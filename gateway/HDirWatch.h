// Wake-ups from the kernel when files appear in or leave a folder
// (inotify), so that a process that waits for a file need not only look for
// it in rounds.
//
// Callers still look for their file themselves and wait in rounds: a wait
// ends early when a wanted event comes, else after the round. So a wake-up
// that is missed (events dropped by the kernel, a file written by means the
// watch does not see) costs at most one round, and without inotify (no
// instances left, a file system without it, or VEMLO3_NO_INOTIFY=1 in the
// environment) every wait is a plain pause of the round, as before.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

class TDirWatch {
public:
  // Which events wake a wait.
  enum : uint32_t {
    Appear = 1,  // a file renamed into the folder, or written and closed
    Vanish = 2,  // a file deleted or renamed away
    Change = 4,  // a file's content written (also without closing it)
  };
  TDirWatch(const std::string& dir, uint32_t events);
  ~TDirWatch();
  TDirWatch(const TDirWatch&) = delete;
  TDirWatch& operator=(const TDirWatch&) = delete;

  bool Active() const { return fd_ >= 0; }

  // Waits at most `ms` for an event on a file whose name (without the
  // folder) `wanted` accepts; every name when `wanted` is empty. True when
  // one came, or when the kernel dropped events (one of them may have been
  // wanted), or a signal arrived; false after the whole wait.
  bool Wait(int ms, const std::function<bool(const char* name)>& wanted = {});

  // VEMLO3_NO_INOTIFY set to anything but "" or "0": waits are plain pauses.
  static bool SwitchedOff();

private:
  int fd_ = -1;
};
