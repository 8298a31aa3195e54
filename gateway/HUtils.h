// Shared helpers of the gateway engine and the application: exceptions,
// Windows-1252 text helpers, the name=value string list, number conversion
// and the mapping of the program's Windows-style paths to POSIX paths.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// ---------------------------------------------------------------- exceptions

// Base of every error the program raises; carries a message and the
// help-context number that the error page shows.
class Exception : public std::exception {
public:
  explicit Exception(std::string msg, int helpContext = 0)
      : Message(std::move(msg)), HelpContext(helpContext) {}
  const char* what() const noexcept override { return Message.c_str(); }
  virtual const char* ClassName() const { return "Exception"; }
  std::string Message;
  int HelpContext;
};

// Input/output error (files, directories, the request log).
class EInOutError : public Exception {
public:
  using Exception::Exception;
  const char* ClassName() const override { return "EInOutError"; }
};

// Error raised by the data-access layer (connection, statement, missing field).
class EDatabaseError : public Exception {
public:
  using Exception::Exception;
  const char* ClassName() const override { return "EDatabaseError"; }
};

// Conversion error (a text that is not a number, a division by zero).
class EConvertError : public Exception {
public:
  using Exception::Exception;
  const char* ClassName() const override { return "EConvertError"; }
};

// ---------------------------------------------------------------- text

// Letter case of Windows-1252 text. The Ansi forms know the Western European
// letters (å ä ö é ü æ ø ...), the plain forms only ASCII.
char AnsiUpperChar(char c);
char AnsiLowerChar(char c);
std::string AnsiUpperCase(std::string_view s);
std::string AnsiLowerCase(std::string_view s);
std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
// Case-insensitive comparison of Windows-1252 text (Western letters folded).
int AnsiCompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);

// Trimming of characters with codes up to 32 (blank and control characters).
std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);

bool StartsWith(std::string_view s, std::string_view prefix);
bool EndsWith(std::string_view s, std::string_view suffix);
bool Contains(std::string_view s, std::string_view part);
// Every occurrence of `from` replaced by `to`, left to right, never rescanning
// replaced text. An empty `from` leaves the text unchanged.
std::string ReplaceAll(std::string_view s, std::string_view from, std::string_view to);

// Decimal integer conversion: optional leading blanks, sign, decimal digits
// (or "$"/"0x" hexadecimal), nothing after them; 32-bit signed range.
bool TryStrToInt(std::string_view s, int32_t& out);
int32_t StrToIntDef(std::string_view s, int32_t def);
// Raises EConvertError "'x' is not a valid integer value".
int32_t StrToInt(std::string_view s);
std::string IntToStr(int64_t v);
std::string IntToHex(uint64_t v, int digits);

// ---------------------------------------------------------------- string list

// An ordered list of text entries, most of them "name=value". Names are
// compared without regard to letter case. A sorted list keeps its entries in
// case-insensitive order and does not add an entry equal to one present.
class TStringList {
public:
  TStringList() = default;
  explicit TStringList(bool sorted) : sorted_(sorted) {}
  TStringList(const TStringList&) = default;
  TStringList(TStringList&&) = default;
  // A list that takes another's entries has changed (its own count goes on;
  // the other's is not taken over).
  TStringList& operator=(const TStringList& other) {
    if (this != &other) {
      items_ = other.items_;
      sorted_ = other.sorted_;
      Changed();
    }
    return *this;
  }
  TStringList& operator=(TStringList&& other) noexcept {
    if (this != &other) {
      items_ = std::move(other.items_);
      sorted_ = other.sorted_;
      other.Changed();
      Changed();
    }
    return *this;
  }

  int Count() const { return static_cast<int>(items_.size()); }
  bool Empty() const { return items_.empty(); }
  const std::string& operator[](int i) const { return items_[static_cast<size_t>(i)]; }
  const std::vector<std::string>& Items() const { return items_; }

  // Adds an entry (at its sorted place in a sorted list); returns its index.
  int Add(std::string s);
  void Insert(int index, std::string s);
  void Delete(int index);
  void Clear() {
    items_.clear();
    Changed();
  }
  // Replaces the entries by `lines` (each at its sorted place in a sorted
  // list).
  void Assign(std::vector<std::string> lines);
  // A number that grows with every change of the entries: whoever filled
  // the list can tell later, without comparing, that nobody changed it.
  uint64_t Changes() const { return changes_; }

  int IndexOf(std::string_view s) const;
  // Index of the first entry whose name (text before the first "=") equals
  // `name` without regard to case; -1 when there is none.
  int IndexOfName(std::string_view name) const;
  std::string Name(int index) const;
  std::string ValueFromIndex(int index) const;
  // Value of the first entry with this name; empty when there is none.
  std::string Value(std::string_view name) const;

  // The entries, each followed by CR LF.
  std::string Text() const;
  // Replaces the entries by the lines of `text` (cut at CR, LF or CR LF; a
  // final line break adds no empty entry).
  void SetText(std::string_view text);

  bool Sorted() const { return sorted_; }

private:
  void Changed() { ++changes_; }
  std::vector<std::string> items_;
  bool sorted_ = false;
  uint64_t changes_ = 0;
};

// Splits text into lines as TStringList::SetText does.
std::vector<std::string> SplitLines(std::string_view text);

// ---------------------------------------------------------------- paths

// The program names its files the Windows way ("..\kund\facts.htm",
// "\dbconnect.txt"); on this platform a backslash is a directory separator.
std::string PosixPath(std::string_view winPath);
// True when the path is absolute: a drive ("C:\") or UNC ("\\") path in the
// Windows spelling, or a path that begins with "/".
bool IsAbsolutePath(std::string_view path);
bool FileExists(const std::string& path);
// The whole content of a file; false when it cannot be opened or read.
bool ReadFileText(const std::string& path, std::string& out);
bool DirectoryExists(const std::string& path);
// Creates one directory level; false when that fails.
bool CreateDir(const std::string& path);
// Creates every missing level of the path.
bool ForceDirectories(const std::string& path);
// Directory part of a path, with its trailing "/" ("" when there is none).
std::string ExtractFilePath(std::string_view path);
std::string ExtractFileName(std::string_view path);
std::string ExtractFileExt(std::string_view path);
std::string ChangeFileExt(std::string_view path, std::string_view ext);
// The directory path normalised: trimmed, "/./" folded to "/", doubled
// separators collapsed after the first character, a trailing "/" added.
std::string NormaliseDir(std::string_view dir);

// Full path of the running program file (or of the loaded library).
std::string ProgramFileName();
// Program arguments (without the program name) and the process kind.
const std::vector<std::string>& ProgramArgs();
void SetProgramArgs(int argc, char** argv);
// Environment variable, empty when unset.
std::string GetEnv(const char* name);
// A thread count from the environment variable `name`: its value when it
// is a positive number (at most 256), else the number of cores, at least
// `fewest`.
int ThreadCountSetting(const char* name, int fewest);

// The program's pseudo-random generator (one per thread), seeded from the
// clock. Random(n) draws 0..n-1.
void Randomize();
int Random(int n);
