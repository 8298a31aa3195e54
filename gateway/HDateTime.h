// Date-time values and the system's regional settings.
//
// A date-time is a day count with a fraction for the time of day, counted
// from 30 December 1899 (day 0), as the database library and the program's
// date arithmetic ("+ 21 days", "- UppdateradDagar days") expect.
//
// The regional settings are Swedish and live here only: short date
// yyyy-mm-dd, long time hh:nn:ss, decimal comma, Swedish month names.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

using TDateTime = double;

namespace Regional {
inline constexpr const char* ShortDateFormat = "yyyy-mm-dd";
inline constexpr const char* LongTimeFormat = "hh:nn:ss";
inline constexpr char DecimalSeparator = ',';
inline constexpr char DateSeparator = '-';
extern const char* const ShortMonthNames[12];
extern const char* const LongMonthNames[12];
extern const char* const ShortDayNames[7];  // Sunday first
extern const char* const LongDayNames[7];
}  // namespace Regional

// The current local date and time.
TDateTime Now();
TDateTime Date();  // today, time 0

// Local date-time to and from seconds since 1970 (UTC). A date-time at or
// before day 0 gives 0.
time_t DateTimeToUnixTime(TDateTime dt);
TDateTime UnixTimeToDateTime(time_t t);

TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int min, int sec, int msec = 0);
void DecodeDate(TDateTime dt, int& year, int& month, int& day);
void DecodeTime(TDateTime dt, int& hour, int& min, int& sec, int& msec);
// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(TDateTime dt);
bool IsLeapYear(int year);
int DaysInAMonth(int year, int month);

// Formats with the classic pattern letters: yyyy yy m mm mmm mmmm d dd ddd
// dddd h hh n nn s ss z zzz, "c" (short date and long time); text in double
// or single quotes stands literally; "/" is the date separator and ":" the
// time separator of the regional settings; any other character is itself.
// "m"/"mm" right after an hour means minutes.
std::string FormatDateTime(std::string_view pattern, TDateTime dt);
// Short date, and the long time when the time of day is not midnight.
std::string DateTimeToStr(TDateTime dt);
std::string DateToStr(TDateTime dt);

// Parses "yyyy-mm-dd", "yyyy-mm-dd hh:nn[:ss[.fff]]" (also with "T") and
// "mm/dd/yyyy"; false when the text is none of these.
bool TryParseDateTime(std::string_view text, TDateTime& out);

// A number in the general format of the regional settings: up to 15
// significant digits, no thousands separators, the decimal comma.
std::string FloatToStr(double v);
