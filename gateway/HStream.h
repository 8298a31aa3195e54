// Byte streams of the engine: memory, file descriptors and files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TStream {
public:
  virtual ~TStream() = default;
  // Reads up to count bytes; the number read, 0 at the end, negative on failure.
  virtual int64_t Read(void* buf, int64_t count) = 0;
  // Writes count bytes; the number written, negative on failure.
  virtual int64_t Write(const void* buf, int64_t count) = 0;
  // Size and position; -1 where the stream cannot tell (pipes).
  virtual int64_t Size() const { return -1; }
  virtual int64_t Position() const { return -1; }
  virtual bool Seek(int64_t /*pos*/) { return false; }
  // True for memory and file streams, whose size is known in advance.
  virtual bool HasKnownSize() const { return false; }

  bool WriteString(std::string_view s) {
    return s.empty() || Write(s.data(), static_cast<int64_t>(s.size())) == static_cast<int64_t>(s.size());
  }
  // Writes everything, retrying short writes; false when the writer fails.
  bool WriteAll(const void* buf, int64_t count);
};

class TMemoryStream : public TStream {
public:
  int64_t Read(void* buf, int64_t count) override;
  int64_t Write(const void* buf, int64_t count) override;
  int64_t Size() const override { return static_cast<int64_t>(data_.size()); }
  int64_t Position() const override { return pos_; }
  bool Seek(int64_t pos) override;
  bool HasKnownSize() const override { return true; }

  const std::string& Data() const { return data_; }
  // Write at the end, the usual case of an output buffer, without the
  // stream's general path.
  void Append(const char* bytes, size_t count) {
    if (pos_ != Size()) {
      Write(bytes, static_cast<int64_t>(count));
      return;
    }
    data_.append(bytes, count);
    pos_ += static_cast<int64_t>(count);
  }
  void Reserve(size_t bytes) { data_.reserve(bytes); }
  void Clear() {
    data_.clear();
    pos_ = 0;
  }

private:
  std::string data_;
  int64_t pos_ = 0;
};

// A stream over an open file descriptor (standard input and output).
class THandleStream : public TStream {
public:
  explicit THandleStream(int fd, bool owns = false) : fd_(fd), owns_(owns) {}
  ~THandleStream() override;
  int64_t Read(void* buf, int64_t count) override;
  int64_t Write(const void* buf, int64_t count) override;

protected:
  int fd_;
  bool owns_;
};

// A stream over a file; raises EInOutError when the file cannot be opened.
class TFileStream : public THandleStream {
public:
  enum Mode { OpenRead, OpenWrite, OpenReadWrite, Create, CreateExclusive };
  TFileStream(const std::string& path, Mode mode, int permissions = 0644);
  int64_t Size() const override;
  int64_t Position() const override;
  bool Seek(int64_t pos) override;
  bool HasKnownSize() const override { return true; }
  const std::string& FileName() const { return path_; }

private:
  std::string path_;
};

// Copies the rest of `from` to `to`; the number of bytes copied.
int64_t CopyStream(TStream& from, TStream& to);
