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

void TForm1::SkrivLogg(const std::string& line) {
  TLogFile& log = RS().Logfil;
  if (!log.f) throw EInOutError("File not open");
  std::string text = line + "\r\n";
  if (std::fwrite(text.data(), 1, text.size(), log.f) != text.size()) Raise("I/O error writing " + log.path);
}

void TForm1::InitieraLogfil() {
  TRequestState& rs = RS();
  std::string dir = PosixPath(WeekDirectory(rs.Starttid));
  if (!DirectoryExists(dir) && !CreateDir(dir)) dir = PosixPath(kLogRoot);

  // The file is created exclusively: two requests of the same second never
  // share a file, also when they race for the same name.
  std::string stamp = FormatDateTime("yyyymmdd_hhnnss", rs.Starttid);
  std::string suffix;
  int fd = -1;
  std::string path;
  for (int attempt = 0; attempt < 1000; ++attempt) {
    path = dir + stamp + suffix + ".log";
    fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0 || errno != EEXIST) break;
    suffix = "_";
    suffix += IntToStr(Random(32767));
  }
  if (fd < 0) Raise(std::string("Cannot create file \"").append(path).append("\""));
  rs.Logfil.f = ::fdopen(fd, "wb");
  rs.Logfil.path = path;
  if (!rs.Logfil.f) {
    ::close(fd);
    Raise("Cannot open file \"" + path + "\"");
  }

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
  if (std::fflush(rs.Logfil.f) != 0) Raise("I/O error writing " + path);
}

void TForm1::AvslutaLogfil() {
  TRequestState& rs = RS();
  SkrivLogg("[STATUS]");
  SkrivLogg("klart=" + FormatDateTime("yyyy\"-\"mm\"-\"dd,hh\":\"nn\":\"ss", Now()));
  FILE* f = rs.Logfil.f;
  rs.Logfil.f = nullptr;
  if (std::fclose(f) != 0) Raise("I/O error writing " + rs.Logfil.path);
}
