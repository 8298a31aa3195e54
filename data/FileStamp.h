// What identifies the content of a file at a path without reading it: which
// file it is (device and inode) and its size and last changes. A file
// edited in place, copied over or renamed over another changes its stamp.
#pragma once

#include <string>
#include <sys/stat.h>

struct TFileStamp {
  bool exists = false;
  bool dir = false;  // a directory, not a file
  dev_t dev = 0;
  ino_t ino = 0;
  off_t size = 0;
  timespec mtime{}, ctime{};

  static TFileStamp Of(const std::string& path);
  bool operator==(const TFileStamp& o) const;
  // The file changed so shortly before `now` that a further change within
  // the same tick of the file system's clock would leave the stamp as it
  // is: what was read from it is to be read again next time.
  bool Recent(const timespec& now) const;
  // The current time of the clock that file times come from.
  static timespec Now();
};
