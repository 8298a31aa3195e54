#include "gateway/HStream.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "gateway/HUtils.h"

bool TStream::WriteAll(const void* buf, int64_t count) {
  const char* p = static_cast<const char*>(buf);
  while (count > 0) {
    int64_t n = Write(p, count);
    if (n <= 0) return false;
    p += n;
    count -= n;
  }
  return true;
}

int64_t TMemoryStream::Read(void* buf, int64_t count) {
  if (count <= 0 || pos_ >= Size()) return 0;
  int64_t n = std::min(count, Size() - pos_);
  std::memcpy(buf, data_.data() + pos_, static_cast<size_t>(n));
  pos_ += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buf, int64_t count) {
  if (count <= 0) return 0;
  if (pos_ == Size()) {
    data_.append(static_cast<const char*>(buf), static_cast<size_t>(count));
  } else {
    if (pos_ + count > Size()) data_.resize(static_cast<size_t>(pos_ + count));
    std::memcpy(data_.data() + pos_, buf, static_cast<size_t>(count));
  }
  pos_ += count;
  return count;
}

bool TMemoryStream::Seek(int64_t pos) {
  if (pos < 0) return false;
  if (pos > Size()) data_.resize(static_cast<size_t>(pos));
  pos_ = pos;
  return true;
}

THandleStream::~THandleStream() {
  if (owns_ && fd_ >= 0) ::close(fd_);
}

int64_t THandleStream::Read(void* buf, int64_t count) {
  if (fd_ < 0) return -1;
  for (;;) {
    ssize_t n = ::read(fd_, buf, static_cast<size_t>(count));
    if (n < 0 && errno == EINTR) continue;
    return n;
  }
}

int64_t THandleStream::Write(const void* buf, int64_t count) {
  if (fd_ < 0) return -1;
  for (;;) {
    ssize_t n = ::write(fd_, buf, static_cast<size_t>(count));
    if (n < 0 && errno == EINTR) continue;
    return n;
  }
}

static int OpenFlags(TFileStream::Mode mode) {
  switch (mode) {
    case TFileStream::OpenRead: return O_RDONLY;
    case TFileStream::OpenWrite: return O_WRONLY;
    case TFileStream::OpenReadWrite: return O_RDWR;
    case TFileStream::Create: return O_RDWR | O_CREAT | O_TRUNC;
    case TFileStream::CreateExclusive: return O_RDWR | O_CREAT | O_EXCL;
  }
  return O_RDONLY;
}

TFileStream::TFileStream(const std::string& path, Mode mode, int permissions)
    : THandleStream(::open(path.c_str(), OpenFlags(mode) | O_CLOEXEC, permissions), true), path_(path) {
  if (fd_ < 0) {
    int err = errno;
    throw EInOutError(std::string(mode >= Create ? "Cannot create file \"" : "Cannot open file \"") + path + "\". " +
                      std::strerror(err));
  }
}

int64_t TFileStream::Size() const {
  struct stat st;
  return ::fstat(fd_, &st) == 0 ? static_cast<int64_t>(st.st_size) : -1;
}

int64_t TFileStream::Position() const { return ::lseek(fd_, 0, SEEK_CUR); }

bool TFileStream::Seek(int64_t pos) { return ::lseek(fd_, pos, SEEK_SET) == pos; }

int64_t CopyStream(TStream& from, TStream& to) {
  // A page or a file is copied in one piece or a few, not in many small ones.
  std::string buf(64 * 1024, '\0');
  int64_t total = 0;
  for (;;) {
    int64_t n = from.Read(buf.data(), static_cast<int64_t>(buf.size()));
    if (n <= 0) break;
    if (!to.WriteAll(buf.data(), n)) break;
    total += n;
  }
  return total;
}
