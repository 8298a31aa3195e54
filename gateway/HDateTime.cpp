#include "gateway/HDateTime.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace Regional {
const char* const ShortMonthNames[12] = {"jan", "feb", "mar", "apr", "maj", "jun",
                                         "jul", "aug", "sep", "okt", "nov", "dec"};
const char* const LongMonthNames[12] = {"januari", "februari", "mars",     "april",   "maj",      "juni",
                                        "juli",    "augusti",  "september", "oktober", "november", "december"};
const char* const ShortDayNames[7] = {"s\xF6n", "m\xE5n", "tis", "ons", "tor", "fre", "l\xF6r"};
const char* const LongDayNames[7] = {"s\xF6ndag", "m\xE5ndag", "tisdag", "onsdag", "torsdag", "fredag", "l\xF6rdag"};
}  // namespace Regional

namespace {
constexpr int64_t kUnixEpochDay = 25569;  // 1970-01-01 as a day count

// Days since 1970-01-01 of a proleptic Gregorian date.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t yy = static_cast<int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yy + (m <= 2));
}

// Whole day and milliseconds of the day, rounded to the millisecond.
void Split(TDateTime dt, int64_t& day, int64_t& msOfDay) {
  int64_t totalMs = static_cast<int64_t>(std::llround(dt * 86400000.0));
  day = totalMs >= 0 ? totalMs / 86400000 : -((-totalMs + 86399999) / 86400000);
  msOfDay = totalMs - day * 86400000;
}

// A number with leading zeros to `width` digits ("%0*d"). Every date and
// time field of a page is written here, so the usual case (not negative)
// does without the formatter.
std::string Pad(int v, int width) {
  char buf[16];
  if (v < 0 || width > 12) {
    std::snprintf(buf, sizeof buf, "%0*d", width, v);
    return buf;
  }
  char* end = buf + sizeof buf;
  char* p = end;
  unsigned u = static_cast<unsigned>(v);
  do {
    *--p = static_cast<char>('0' + u % 10);
    u /= 10;
  } while (u);
  while (end - p < width) *--p = '0';
  return std::string(p, end);
}
}  // namespace

TDateTime Now() {
  struct timespec ts;
  clock_gettime(CLOCK_REALTIME, &ts);
  return UnixTimeToDateTime(ts.tv_sec) + EncodeTime(0, 0, 0, static_cast<int>(ts.tv_nsec / 1000000));
}

TDateTime UnixTimeToDateTime(time_t t) {
  struct tm lt;
  localtime_r(&t, &lt);
  return EncodeDate(lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday) + EncodeTime(lt.tm_hour, lt.tm_min, lt.tm_sec);
}

time_t DateTimeToUnixTime(TDateTime dt) {
  if (dt <= 0) return 0;
  int y, mo, d, h, mi, s, ms;
  DecodeDate(dt, y, mo, d);
  DecodeTime(dt, h, mi, s, ms);
  struct tm tm {};
  tm.tm_year = y - 1900;
  tm.tm_mon = mo - 1;
  tm.tm_mday = d;
  tm.tm_hour = h;
  tm.tm_min = mi;
  tm.tm_sec = s;
  tm.tm_isdst = -1;
  time_t t = mktime(&tm);
  return t < 0 ? 0 : t;
}

TDateTime Date() { return std::floor(Now()); }

TDateTime EncodeDate(int year, int month, int day) {
  return static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
                             kUnixEpochDay);
}

TDateTime EncodeTime(int hour, int min, int sec, int msec) {
  return (((hour * 60.0 + min) * 60.0 + sec) * 1000.0 + msec) / 86400000.0;
}

void DecodeDate(TDateTime dt, int& year, int& month, int& day) {
  int64_t d, ms;
  Split(dt, d, ms);
  CivilFromDays(d - kUnixEpochDay, year, month, day);
}

void DecodeTime(TDateTime dt, int& hour, int& min, int& sec, int& msec) {
  int64_t d, ms;
  Split(dt, d, ms);
  hour = static_cast<int>(ms / 3600000);
  min = static_cast<int>(ms / 60000 % 60);
  sec = static_cast<int>(ms / 1000 % 60);
  msec = static_cast<int>(ms % 1000);
}

int DayOfWeek(TDateTime dt) {
  int64_t d, ms;
  Split(dt, d, ms);
  // Day 0 (30 December 1899) was a Saturday.
  int64_t w = ((d + 6) % 7 + 7) % 7;  // 0 = Sunday
  return static_cast<int>(w) + 1;
}

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInAMonth(int year, int month) {
  static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

std::string FormatDateTime(std::string_view p, TDateTime dt) {
  int y, mo, d, h, mi, s, ms;
  DecodeDate(dt, y, mo, d);
  DecodeTime(dt, h, mi, s, ms);
  std::string out;
  bool afterHour = false;
  size_t i = 0;
  auto run = [&](char c) {
    size_t n = 0;
    while (i + n < p.size() && (p[i + n] == c || p[i + n] == c - 32 || p[i + n] == c + 32)) ++n;
    return n;
  };
  while (i < p.size()) {
    char c = p[i];
    char lc = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    if (c == '"' || c == '\'') {
      size_t end = p.find(c, i + 1);
      if (end == std::string_view::npos) end = p.size();
      out.append(p.substr(i + 1, end - i - 1));
      i = end + 1;
      continue;
    }
    switch (lc) {
      case 'y': {
        size_t n = run('y');
        out += n <= 2 ? Pad(y % 100, 2) : Pad(y, 4);
        i += n;
        afterHour = false;
        break;
      }
      case 'm': {
        size_t n = run('m');
        if (afterHour && n <= 2) {
          out += n == 1 ? std::to_string(mi) : Pad(mi, 2);
        } else if (n == 1) {
          out += std::to_string(mo);
        } else if (n == 2) {
          out += Pad(mo, 2);
        } else if (n == 3) {
          out += Regional::ShortMonthNames[mo - 1];
        } else {
          out += Regional::LongMonthNames[mo - 1];
        }
        i += n;
        afterHour = false;
        break;
      }
      case 'd': {
        size_t n = run('d');
        int wd = DayOfWeek(dt) - 1;
        if (n == 1) out += std::to_string(d);
        else if (n == 2) out += Pad(d, 2);
        else if (n == 3) out += Regional::ShortDayNames[wd];
        else out += Regional::LongDayNames[wd];
        i += n;
        afterHour = false;
        break;
      }
      case 'h': {
        size_t n = run('h');
        out += n == 1 ? std::to_string(h) : Pad(h, 2);
        i += n;
        afterHour = true;
        break;
      }
      case 'n': {
        size_t n = run('n');
        out += n == 1 ? std::to_string(mi) : Pad(mi, 2);
        i += n;
        afterHour = false;
        break;
      }
      case 's': {
        size_t n = run('s');
        out += n == 1 ? std::to_string(s) : Pad(s, 2);
        i += n;
        afterHour = false;
        break;
      }
      case 'z': {
        size_t n = run('z');
        out += n >= 3 ? Pad(ms, 3) : std::to_string(ms);
        i += n;
        break;
      }
      case 'c':
        out += DateTimeToStr(dt);
        ++i;
        break;
      case '/':
        out += Regional::DateSeparator;
        ++i;
        break;
      default:
        out += c;
        ++i;
        break;
    }
  }
  return out;
}

std::string DateToStr(TDateTime dt) { return FormatDateTime(Regional::ShortDateFormat, dt); }

std::string DateTimeToStr(TDateTime dt) {
  int h, mi, s, ms;
  DecodeTime(dt, h, mi, s, ms);
  std::string r = DateToStr(dt);
  if (h || mi || s || ms) {
    r += ' ';
    r += FormatDateTime(Regional::LongTimeFormat, dt);
  }
  return r;
}

bool TryParseDateTime(std::string_view t, TDateTime& out) {
  auto num = [&](size_t pos, size_t len, int& v) {
    if (pos + len > t.size()) return false;
    v = 0;
    for (size_t k = 0; k < len; ++k) {
      char c = t[pos + k];
      if (c < '0' || c > '9') return false;
      v = v * 10 + (c - '0');
    }
    return true;
  };
  int y, mo, d, h = 0, mi = 0, s = 0, ms = 0;
  size_t rest;
  if (t.size() >= 10 && t[4] == '-' && t[7] == '-' && num(0, 4, y) && num(5, 2, mo) && num(8, 2, d)) {
    rest = 10;
  } else if (t.size() >= 10 && t[2] == '/' && t[5] == '/' && num(0, 2, mo) && num(3, 2, d) && num(6, 4, y)) {
    rest = 10;
  } else {
    return false;
  }
  if (mo < 1 || mo > 12 || d < 1 || d > DaysInAMonth(y, mo)) return false;
  if (rest < t.size()) {
    if ((t[rest] != ' ' && t[rest] != 'T') || !num(rest + 1, 2, h) || rest + 3 >= t.size() || t[rest + 3] != ':' ||
        !num(rest + 4, 2, mi))
      return false;
    size_t p = rest + 6;
    if (p < t.size()) {
      if (t[p] != ':' || !num(p + 1, 2, s)) return false;
      p += 3;
      if (p < t.size() && t[p] == '.') {
        int digits = 0;
        ++p;
        while (p < t.size() && t[p] >= '0' && t[p] <= '9') {
          if (digits < 3) ms = ms * 10 + (t[p] - '0'), ++digits;
          ++p;
        }
        while (digits > 0 && digits < 3) ms *= 10, ++digits;
      }
      if (p < t.size()) return false;
    }
  }
  out = EncodeDate(y, mo, d) + EncodeTime(h, mi, s, ms);
  return true;
}

std::string FloatToStr(double v) {
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v > 0 ? "INF" : "-INF";
  // Whole numbers below 10^15 (counts, prices, codes: most of them) are
  // their digits, as "%.15G" writes them.
  if (std::fabs(v) < 1e15 && v == std::trunc(v)) return std::to_string(static_cast<long long>(v));
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15G", v);
  std::string s = buf;
  std::string mant = s, exp;
  size_t e = s.find('E');
  if (e != std::string::npos) {
    mant = s.substr(0, e);
    exp = s.substr(e + 1);
  }
  if (mant.find('.') != std::string::npos) {
    while (!mant.empty() && mant.back() == '0') mant.pop_back();
    if (!mant.empty() && mant.back() == '.') mant.pop_back();
  }
  for (auto& c : mant)
    if (c == '.') c = Regional::DecimalSeparator;
  if (mant == "-0") mant = "0";
  if (exp.empty()) return mant;
  // Exponent without "+" and without leading zeros: 1,5E20, 1E-5.
  bool neg = !exp.empty() && exp[0] == '-';
  size_t k = (exp[0] == '-' || exp[0] == '+') ? 1 : 0;
  while (k + 1 < exp.size() && exp[k] == '0') ++k;
  return mant + "E" + (neg ? "-" : "") + exp.substr(k);
}
