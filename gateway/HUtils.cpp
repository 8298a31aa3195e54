#include "gateway/HUtils.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dlfcn.h>
#include <fcntl.h>
#include <random>
#include <thread>
#include <sys/stat.h>
#include <unistd.h>

// ---------------------------------------------------------------- text

char AnsiUpperChar(char c) {
  auto u = static_cast<unsigned char>(c);
  if (u >= 'a' && u <= 'z') return static_cast<char>(u - 32);
  if (u >= 0xE0 && u <= 0xFE && u != 0xF7) return static_cast<char>(u - 32);
  switch (u) {
    case 0x9A: return static_cast<char>(0x8A);  // š
    case 0x9C: return static_cast<char>(0x8C);  // œ
    case 0x9E: return static_cast<char>(0x8E);  // ž
    case 0xFF: return static_cast<char>(0x9F);  // ÿ
    default: return c;
  }
}

char AnsiLowerChar(char c) {
  auto u = static_cast<unsigned char>(c);
  if (u >= 'A' && u <= 'Z') return static_cast<char>(u + 32);
  if (u >= 0xC0 && u <= 0xDE && u != 0xD7) return static_cast<char>(u + 32);
  switch (u) {
    case 0x8A: return static_cast<char>(0x9A);
    case 0x8C: return static_cast<char>(0x9C);
    case 0x8E: return static_cast<char>(0x9E);
    case 0x9F: return static_cast<char>(0xFF);
    default: return c;
  }
}

std::string AnsiUpperCase(std::string_view s) {
  std::string r(s);
  for (auto& c : r) c = AnsiUpperChar(c);
  return r;
}

std::string AnsiLowerCase(std::string_view s) {
  std::string r(s);
  for (auto& c : r) c = AnsiLowerChar(c);
  return r;
}

std::string UpperCase(std::string_view s) {
  std::string r(s);
  for (auto& c : r)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return r;
}

std::string LowerCase(std::string_view s) {
  std::string r(s);
  for (auto& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return r;
}

int AnsiCompareText(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    auto ca = static_cast<unsigned char>(AnsiUpperChar(a[i]));
    auto cb = static_cast<unsigned char>(AnsiUpperChar(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && AnsiCompareText(a, b) == 0;
}

static bool IsTrimmable(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && IsTrimmable(s[b])) ++b;
  while (e > b && IsTrimmable(s[e - 1])) --e;
  return std::string(s.substr(b, e - b));
}

std::string TrimLeft(std::string_view s) {
  size_t b = 0;
  while (b < s.size() && IsTrimmable(s[b])) ++b;
  return std::string(s.substr(b));
}

std::string TrimRight(std::string_view s) {
  size_t e = s.size();
  while (e > 0 && IsTrimmable(s[e - 1])) --e;
  return std::string(s.substr(0, e));
}

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

bool EndsWith(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool Contains(std::string_view s, std::string_view part) { return s.find(part) != std::string_view::npos; }

std::string ReplaceAll(std::string_view s, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(s);
  std::string r;
  r.reserve(s.size());
  size_t pos = 0;
  for (;;) {
    size_t hit = s.find(from, pos);
    if (hit == std::string_view::npos) break;
    r.append(s.substr(pos, hit - pos));
    r.append(to);
    pos = hit + from.size();
  }
  r.append(s.substr(pos));
  return r;
}

bool TryStrToInt(std::string_view s, int32_t& out) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool neg = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    neg = s[i] == '-';
    ++i;
  }
  int base = 10;
  if (i < s.size() && s[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= s.size()) return false;
  int64_t v = 0;
  for (; i < s.size(); ++i) {
    int d;
    char c = s[i];
    if (c >= '0' && c <= '9') d = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return false;
    v = v * base + d;
    if (v > static_cast<int64_t>(INT32_MAX) + 1) return false;
  }
  if (neg) v = -v;
  if (base == 10 && (v > INT32_MAX || v < INT32_MIN)) return false;
  if (base == 16 && v > static_cast<int64_t>(UINT32_MAX)) return false;
  out = static_cast<int32_t>(v);
  return true;
}

int32_t StrToIntDef(std::string_view s, int32_t def) {
  int32_t v;
  return TryStrToInt(s, v) ? v : def;
}

int32_t StrToInt(std::string_view s) {
  int32_t v;
  if (!TryStrToInt(s, v)) throw EConvertError("'" + std::string(s) + "' is not a valid integer value");
  return v;
}

std::string IntToStr(int64_t v) { return std::to_string(v); }

std::string IntToHex(uint64_t v, int digits) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*llX", digits, static_cast<unsigned long long>(v));
  return buf;
}

// ---------------------------------------------------------------- string list

int TStringList::Add(std::string s) {
  Changed();
  if (!sorted_) {
    items_.push_back(std::move(s));
    return Count() - 1;
  }
  // Entries that arrive in order (a list filled from another sorted one) go
  // to the end without a search.
  if (items_.empty() || AnsiCompareText(items_.back(), s) < 0) {
    items_.push_back(std::move(s));
    return Count() - 1;
  }
  auto it = std::lower_bound(items_.begin(), items_.end(), s, [](const std::string& a, const std::string& b) {
    return AnsiCompareText(a, b) < 0;
  });
  if (it != items_.end() && AnsiCompareText(*it, s) == 0) return static_cast<int>(it - items_.begin());
  it = items_.insert(it, std::move(s));
  return static_cast<int>(it - items_.begin());
}

void TStringList::Insert(int index, std::string s) {
  Changed();
  if (sorted_) {
    Add(std::move(s));
    return;
  }
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, std::move(s));
}

void TStringList::Delete(int index) {
  Changed();
  if (index >= 0 && index < Count()) items_.erase(items_.begin() + index);
}

void TStringList::Assign(std::vector<std::string> lines) {
  Changed();
  if (!sorted_) {
    items_ = std::move(lines);
    return;
  }
  items_.clear();
  for (auto& l : lines) Add(std::move(l));
}

int TStringList::IndexOf(std::string_view s) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(items_[static_cast<size_t>(i)], s)) return i;
  return -1;
}

int TStringList::IndexOfName(std::string_view name) const {
  // An entry's name ends at its first '=': a name with '=' in it names none.
  // Entries are told apart by the place of their '=' before any letter is
  // compared.
  if (name.find('=') != std::string_view::npos) return -1;
  const size_t n = name.size();
  for (int i = 0; i < Count(); ++i) {
    const std::string& e = items_[static_cast<size_t>(i)];
    if (e.size() > n && e[n] == '=' && SameText(std::string_view(e).substr(0, n), name)) return i;
  }
  return -1;
}

std::string TStringList::Name(int index) const {
  const std::string& e = items_[static_cast<size_t>(index)];
  size_t eq = e.find('=');
  return eq == std::string::npos ? std::string() : e.substr(0, eq);
}

std::string TStringList::ValueFromIndex(int index) const {
  const std::string& e = items_[static_cast<size_t>(index)];
  size_t eq = e.find('=');
  return eq == std::string::npos ? std::string() : e.substr(eq + 1);
}

std::string TStringList::Value(std::string_view name) const {
  int i = IndexOfName(name);
  return i < 0 ? std::string() : ValueFromIndex(i);
}

std::string TStringList::Text() const {
  std::string r;
  for (const auto& e : items_) {
    r += e;
    r += "\r\n";
  }
  return r;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t i = 0, start = 0;
  while (i < text.size()) {
    char c = text[i];
    if (static_cast<unsigned char>(c) > '\r') {  // the usual character, quickly
      ++i;
      continue;
    }
    if (c == '\r' || c == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      ++i;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

void TStringList::SetText(std::string_view text) {
  Changed();
  items_.clear();
  for (auto& l : SplitLines(text)) Add(std::move(l));
}

// ---------------------------------------------------------------- paths

std::string PosixPath(std::string_view winPath) {
  std::string r(winPath);
  std::replace(r.begin(), r.end(), '\\', '/');
  return r;
}

bool IsAbsolutePath(std::string_view path) {
  return Contains(path, ":\\") || StartsWith(path, "\\\\") || StartsWith(path, "/");
}

bool FileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool ReadFileText(const std::string& path, std::string& out) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  out.clear();
  struct stat st;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 && st.st_size <= (64 << 20))
    out.reserve(static_cast<size_t>(st.st_size));
  char buf[16384];
  bool ok = true;
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n > 0) {
      out.append(buf, static_cast<size_t>(n));
    } else if (n == 0) {
      break;
    } else if (errno != EINTR) {
      ok = false;
      break;
    }
  }
  ::close(fd);
  return ok;
}

bool DirectoryExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CreateDir(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  return ::mkdir(p.c_str(), 0755) == 0;
}

bool ForceDirectories(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  if (p.empty() || DirectoryExists(p)) return true;
  size_t slash = p.rfind('/');
  if (slash != std::string::npos && slash > 0 && !ForceDirectories(p.substr(0, slash))) return false;
  return ::mkdir(p.c_str(), 0755) == 0 || DirectoryExists(p);
}

std::string ExtractFilePath(std::string_view path) {
  size_t slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string ExtractFileName(std::string_view path) {
  size_t slash = path.find_last_of("/\\");
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string ExtractFileExt(std::string_view path) {
  std::string name = ExtractFileName(path);
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
  std::string dir = ExtractFilePath(path);
  std::string name = ExtractFileName(path);
  size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return dir + name + std::string(ext);
}

std::string NormaliseDir(std::string_view dir) {
  std::string d = PosixPath(Trim(dir));
  d = ReplaceAll(d, "/./", "/");
  if (d.size() > 1) {
    std::string r(1, d[0]);
    for (size_t i = 1; i < d.size(); ++i)
      if (!(d[i] == '/' && r.back() == '/' && r.size() > 1)) r += d[i];
    d = r;
  }
  if (d.empty() || d.back() != '/') d += '/';
  return d;
}

static std::vector<std::string>& ArgStore() {
  static std::vector<std::string> args;
  return args;
}

const std::vector<std::string>& ProgramArgs() { return ArgStore(); }

void SetProgramArgs(int argc, char** argv) {
  ArgStore().clear();
  for (int i = 1; i < argc; ++i) ArgStore().emplace_back(argv[i]);
}

std::string ProgramFileName() {
  // The module that holds this code: the program itself, or the library when
  // a server has loaded us as one. It stays the same while the process runs,
  // so it is looked up once (the resident server's file names ask for it at
  // every look into the folder).
  static const std::string name = [] {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&ProgramFileName), &info) && info.dli_fname && info.dli_fname[0] == '/')
      return std::string(info.dli_fname);
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return std::string("vemlo3");
    return std::string(buf, static_cast<size_t>(n));
  }();
  return name;
}

std::string GetEnv(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

int ThreadCountSetting(const char* name, int fewest) {
  int n = StrToIntDef(Trim(GetEnv(name)), 0);
  if (n > 0) return std::min(n, 256);
  return std::max(fewest, static_cast<int>(std::thread::hardware_concurrency()));
}

// ---------------------------------------------------------------- random

namespace {
// A small generator with a 64-bit state (splitmix64): every request seeds it
// anew, and a seed costs one word, where a Mersenne twister fills and stirs
// 624 words on each seeding before its first number.
class TSmallRandom {
public:
  using result_type = uint32_t;
  static constexpr result_type min() { return 0; }
  static constexpr result_type max() { return UINT32_MAX; }
  void seed(uint64_t s) { state_ = s; }
  result_type operator()() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<result_type>((z ^ (z >> 31)) >> 32);
  }

private:
  uint64_t state_ = 0;
};

// The clock alone would give two processes started in the same instant the
// same numbers; the process id and the nanoseconds tell them apart.
uint64_t ClockSeed() {
  struct timespec ts;
  clock_gettime(CLOCK_REALTIME, &ts);
  return (static_cast<uint64_t>(ts.tv_sec) << 32) ^ static_cast<uint64_t>(ts.tv_nsec) ^
         (static_cast<uint64_t>(::getpid()) << 20);
}

TSmallRandom& Generator() {
  static thread_local TSmallRandom gen = [] {
    TSmallRandom g;
    g.seed(ClockSeed());
    return g;
  }();
  return gen;
}
}  // namespace

void Randomize() { Generator().seed(ClockSeed()); }

int Random(int n) {
  if (n <= 0) return 0;
  return static_cast<int>(std::uniform_int_distribution<int>(0, n - 1)(Generator()));
}
