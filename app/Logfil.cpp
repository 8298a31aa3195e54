// The request log: one small INI-style file per request, filed in a
// directory per week that never spans two months.
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "app/vemlo3f.h"

namespace {
// Control characters of a text from `from` on become spaces: a value
// cannot begin a line or a section of its own.
void BlankControls(std::string& s, size_t from) {
  for (size_t i = from; i < s.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 32 || c == 127) s[i] = ' ';
  }
}
}  // namespace

std::string LogSafe(std::string s) {
  BlankControls(s, 0);
  return s;
}

namespace {
const char* const kLogRoot = "../../cgilog/";

std::string WeekDirectory(TDateTime t) {
  int dow = DayOfWeek(t);
  TDateTime start = dow == 1 ? t - 6 : t - dow + 2;
  TDateTime end = start + 6;
  int y, m, d, ys, ms, ds;
  DecodeDate(t, y, m, d);
  for (DecodeDate(start, ys, ms, ds); ms != m; DecodeDate(start, ys, ms, ds)) start += 1;
  for (DecodeDate(end, ys, ms, ds); ms != m; DecodeDate(end, ys, ms, ds)) end -= 1;
  return std::string(kLogRoot) + FormatDateTime("yyyymmdd", start) + "-" + FormatDateTime("yyyymmdd", end) + "/";
}

// The directory of the day `t` falls on, worked out once a day per thread.
const std::string& WeekDirectoryOf(TDateTime t) {
  static thread_local int64_t day = INT64_MIN;
  static thread_local std::string dir;
  int64_t today = static_cast<int64_t>(std::floor(t));
  if (today != day) {
    dir = PosixPath(WeekDirectory(t));
    day = today;
  }
  return dir;
}

// A log line "key=value" with the value's control characters as spaces.
void LogLine(std::string& log, std::string_view key, std::string_view value) {
  log.append(key).push_back('=');
  size_t start = log.size();
  log.append(value);
  BlankControls(log, start);
  log.append("\r\n");
}

void Raise(const std::string& what) { throw EInOutError(what + ": " + std::strerror(errno)); }
}  // namespace

bool TLogFile::Flush() {
  size_t done = 0;
  while (fd >= 0 && done < pending.size()) {
    ssize_t n = ::write(fd, pending.data() + done, pending.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  pending.clear();
  return true;
}

bool TLogFile::Close() {
  if (fd < 0) return true;
  bool written = Flush();
  bool closed = ::close(fd) == 0;
  fd = -1;
  pending.clear();
  return written && closed;
}

void TForm1::SkrivLogg(const std::string& line) {
  TLogFile& log = RS().Logfil;
  if (!log.IsOpen()) throw EInOutError("File not open");
  log.pending.append(line).append("\r\n");
}

void TForm1::InitieraLogfil() {
  TRequestState& rs = RS();
  const std::string& dir = WeekDirectoryOf(rs.Starttid);

  // The file is created exclusively: two requests of the same second never
  // share a file, also when they race for the same name. The week's
  // directory is made when the first file of the week finds it missing.
  // A thread that knows the plain name of this second to be taken (it took
  // it, or found it taken) starts with a suffixed one.
  static thread_local std::string plainTaken;
  std::string stamp = FormatDateTime("yyyymmdd_hhnnss", rs.Starttid);
  std::string base = dir + stamp;
  std::string suffix;
  if (base == plainTaken) suffix = "_" + IntToStr(Random(32767));
  int fd = -1;
  std::string path;
  bool madeDir = false;
  for (int attempt = 0; attempt < 1000; ++attempt) {
    path = base + suffix + ".log";
    fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) break;
    if (errno == ENOENT && !madeDir) {
      madeDir = true;
      // No directory for the week, and none can be made: the log root.
      if (!DirectoryExists(dir) && !CreateDir(dir) && !DirectoryExists(dir)) base = PosixPath(kLogRoot) + stamp;
      continue;
    }
    if (errno != EEXIST) break;
    if (suffix.empty()) plainTaken = base;
    suffix = "_";
    suffix += IntToStr(Random(32767));
  }
  if (fd < 0) Raise(std::string("Cannot create file \"").append(path).append("\""));
  if (suffix.empty()) plainTaken = base;
  rs.Logfil.fd = fd;
  rs.Logfil.path = path;
  rs.Logfil.pending.reserve(1024);

  std::string& log = rs.Logfil.pending;
  auto text = [&](std::string_view key, const std::string& value) {
    if (!value.empty()) LogLine(log, key, value);
  };
  auto integer = [&](std::string_view key, int32_t value) {
    if (value != -1) LogLine(log, key, IntToStr(value));
  };
  auto flag = [&](std::string_view key, bool value) {
    if (value) LogLine(log, key, "J");
  };
  auto list = [&](std::string_view key, const auto& values) {
    for (size_t i = 1; i < values.size(); ++i) text(key, values[i]);
  };

  log.append("[ID]\r\nprogram=vemlo3\r\n");
  LogLine(log, "datum", FormatDateTime("yyyy\"-\"mm\"-\"dd", rs.Starttid));
  LogLine(log, "tid", FormatDateTime("hh\":\"nn\":\"ss", rs.Starttid));
  LogLine(log, "remoteaddress", HttpRemoteAddr());
  LogLine(log, "remotehost", HttpRemoteHost());
  LogLine(log, "path_info", HttpServerVariable("Path_Info"));
  LogLine(log, "query_string", HttpServerVariable("Query_String"));
  LogLine(log, "url", HttpServerVariable("URL"));
  LogLine(log, "http_referer", HttpServerVariable("Http_Referer"));
  log.append("[PARAMETRAR]\r\n");
  text("vad", rs.Vad);
  text("funktion", rs.Funktion);
  text("mall", rs.Mall);
  text("bmall", rs.BMall);
  text("ftagnamn", rs.Ftagnamn);
  text("avtal", rs.Avtal);
  text("anvkat", rs.AnvKat);
  text("fas", rs.Fas);
  text("kedja", rs.Kedja);
  list("kundid", rs.Kundid);
  list("omrade", rs.Omrade);
  list("kommun", rs.Kommun);
  text("sprak", rs.Sprak);
  text("bgcolor", rs.Bgcolor);
  text("background", rs.Background);
  integer("antal", rs.Antal);
  integer("antbaddar", rs.Antbaddar);
  integer("antrum", rs.Antrum);
  text("arman", rs.ArMan);
  text("status", rs.Status);
  text("niva", rs.Niva);
  text("undhgenre", rs.UndhGenre);
  text("fdaginriktning", rs.FdagInriktning);
  text("stylesheet", rs.Stylesheet);
  integer("UppdateradDagar", rs.UppdateradDagar);
  flag("Debug", rs.DebugBegart);
  SkrivLogg("[KUND]");
  if (!rs.Logfil.Flush()) Raise("I/O error writing " + path);
}

void TForm1::AvslutaLogfil() {
  TRequestState& rs = RS();
  SkrivLogg("[STATUS]");
  SkrivLogg("klart=" + FormatDateTime("yyyy\"-\"mm\"-\"dd,hh\":\"nn\":\"ss", Now()));
  if (!rs.Logfil.Close()) Raise("I/O error writing " + rs.Logfil.path);
}
