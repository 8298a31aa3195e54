#include "data/FileStamp.h"

#include <time.h>

TFileStamp TFileStamp::Of(const std::string& path) {
  TFileStamp f;
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return f;
  f.exists = true;
  f.dir = S_ISDIR(st.st_mode);
  f.dev = st.st_dev;
  f.ino = st.st_ino;
  f.size = st.st_size;
  f.mtime = st.st_mtim;
  f.ctime = st.st_ctim;
  return f;
}

bool TFileStamp::operator==(const TFileStamp& o) const {
  auto same = [](const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; };
  return exists == o.exists && dir == o.dir && dev == o.dev && ino == o.ino && size == o.size && same(mtime, o.mtime) &&
         same(ctime, o.ctime);
}

bool TFileStamp::Recent(const timespec& now) const {
  if (!exists) return false;
  const timespec& last = ctime.tv_sec > mtime.tv_sec || (ctime.tv_sec == mtime.tv_sec && ctime.tv_nsec > mtime.tv_nsec)
                             ? ctime
                             : mtime;
  // Two seconds cover the coarsest clocks of the usual file systems.
  return now.tv_sec - last.tv_sec < 2;
}

timespec TFileStamp::Now() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return now;
}
