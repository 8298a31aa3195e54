// Wake-ups from the kernel when files appear in or leave a folder, so that a
// process that waits for a file need not only look for it in rounds.
//
// Callers still look for their file themselves and wait in rounds: a wait
// ends early when a wanted event comes, else after the round. So a wake-up
// that is missed (events dropped by the kernel, a file written by means the
// watch does not see) costs at most one round, and without the kernel's
// help (no instances left, a file system without it, or VEMLO3_NO_INOTIFY=1
// in the environment) every wait is a plain pause of the round, as before.
//
// Two kinds, for two kinds of waiter:
//   Named  inotify: tells which file an event is about. Dropping an inotify
//          instance makes the process wait for the kernel to retire its
//          watch (8-9 ms on average on the machine this was measured on, more
//          under load), so it suits a process that watches for its whole
//          life: the resident server.
//   Light  dnotify: a signal (SIGIO, to the waiting thread only) for any
//          file created, renamed or deleted in the folder, without names;
//          set up and dropped in microseconds. For a process that waits once
//          and ends: a client. While such a watch exists its thread has
//          SIGIO blocked; the process gets a SIGIO handler that does nothing,
//          so that a SIGIO meant for a watch can never end the process.
#pragma once

#include <cstdint>
#include <functional>
#include <signal.h>
#include <string>

class TDirWatch {
public:
  // Which events wake a wait.
  enum : uint32_t {
    Appear = 1,  // a file renamed into the folder, or created (Named: written and closed)
    Vanish = 2,  // a file deleted or renamed away
    Change = 4,  // a file's content written (also without closing it)
    Renamed = 8, // a file renamed into or out of the folder (nothing created or deleted)
  };
  enum class TKind { Named, Light };

  TDirWatch(const std::string& dir, uint32_t events, TKind kind = TKind::Named);
  ~TDirWatch();
  TDirWatch(const TDirWatch&) = delete;
  TDirWatch& operator=(const TDirWatch&) = delete;

  bool Active() const { return fd_ >= 0; }

  // Waits at most `ms` for an event on a file whose name (without the
  // folder) `wanted` accepts; every name when `wanted` is empty, and every
  // event of a Light watch, which knows no names. True when one came, or
  // when the kernel dropped events (one of them may have been wanted), or a
  // signal arrived; false after the whole wait.
  bool Wait(int ms, const std::function<bool(const char* name)>& wanted = {});

  // VEMLO3_NO_INOTIFY set to anything but "" or "0": waits are plain pauses.
  static bool SwitchedOff();

private:
  bool WaitNamed(int ms, const std::function<bool(const char* name)>& wanted);
  bool WaitLight(int ms);
  void Drop();

  TKind kind_;
  int fd_ = -1;
  sigset_t oldMask_;
  bool blocked_ = false;  // this watch blocked SIGIO in its thread
};
