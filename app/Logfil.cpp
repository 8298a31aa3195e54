// The request log: one small INI-style file per request, filed in a
// directory per week that never spans two months.
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "app/vemlo3f.h"

std::string LogSafe(std::string s) {
  for (auto& c : s)
    if (static_cast<unsigned char>(c) < 32 || c == 127) c = ' ';
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
  const std::string dir = PosixPath(WeekDirectory(rs.Starttid));

  // The file is created exclusively: two requests of the same second never
  // share a file, also when they race for the same name. The week's
  // directory is made when the first file of the week finds it missing.
  // A thread that already took the plain name of this second starts with
  // a suffixed one.
  static thread_local std::string lastTaken;
  std::string stamp = FormatDateTime("yyyymmdd_hhnnss", rs.Starttid);
  std::string base = dir + stamp;
  std::string suffix;
  if (base == lastTaken) suffix = "_" + IntToStr(Random(32767));
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
    suffix = "_";
    suffix += IntToStr(Random(32767));
  }
  if (fd < 0) Raise(std::string("Cannot create file \"").append(path).append("\""));
  if (suffix.empty()) lastTaken = base;
  rs.Logfil.fd = fd;
  rs.Logfil.path = path;
  rs.Logfil.pending.reserve(1024);

  auto text = [&](const char* key, const std::string& value) {
    if (!value.empty()) SkrivLogg(std::string(key) + "=" + LogSafe(value));
  };
  auto integer = [&](const char* key, int32_t value) {
    if (value != -1) SkrivLogg(std::string(key) + "=" + IntToStr(value));
  };
  auto flag = [&](const char* key, bool value) {
    if (value) SkrivLogg(std::string(key) + "=J");
  };
  auto list = [&](const char* key, const auto& values) {
    for (size_t i = 1; i < values.size(); ++i) text(key, values[i]);
  };

  SkrivLogg("[ID]");
  SkrivLogg("program=vemlo3");
  SkrivLogg("datum=" + FormatDateTime("yyyy\"-\"mm\"-\"dd", rs.Starttid));
  SkrivLogg("tid=" + FormatDateTime("hh\":\"nn\":\"ss", rs.Starttid));
  SkrivLogg("remoteaddress=" + LogSafe(HttpRemoteAddr()));
  SkrivLogg("remotehost=" + LogSafe(HttpRemoteHost()));
  SkrivLogg("path_info=" + LogSafe(HttpServerVariable("Path_Info")));
  SkrivLogg("query_string=" + LogSafe(HttpServerVariable("Query_String")));
  SkrivLogg("url=" + LogSafe(HttpServerVariable("URL")));
  SkrivLogg("http_referer=" + LogSafe(HttpServerVariable("Http_Referer")));
  SkrivLogg("[PARAMETRAR]");
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
