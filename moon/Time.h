// UTC times as the moon's figures take them: whole seconds counted as the
// calendar counts them, read and written in ISO 8601, and the time scales
// ERFA works in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korrin::moon {

// Seconds since 1970-01-01T00:00:00Z with every day 86,400 s long (leap
// seconds not counted), as POSIX and Qt count; a row of a table every ten
// minutes falls on the calendar's ten minutes.
using UtcSeconds = std::int64_t;
inline constexpr UtcSeconds kSecondsPerHour = 3600;
inline constexpr UtcSeconds kSecondsPerDay = 86400;

// The years the moon's figures are given for: UTC in its present form
// starts in 1960, and the moon's series was checked against the numerical
// ephemeris over 1950-2050.
inline constexpr int kFirstYear = 1960;
inline constexpr int kLastYear = 2050;
UtcSeconds FirstAcceptedTime();  // 1960-01-01T00:00:00Z
UtcSeconds LastAcceptedTime();   // 2050-12-31T23:59:59Z

struct CalendarTime {
  int year = 1970;
  int month = 1;  // 1-12
  int day = 1;    // 1-31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

CalendarTime CalendarOf(UtcSeconds t);
// Empty when the date or time does not exist (30 February, 24:00, :60).
std::optional<UtcSeconds> SecondsOf(const CalendarTime& c);

// A time read from a user's text, or why it was refused.
struct ParsedTime {
  std::optional<UtcSeconds> time;
  std::string error;  // plain words, empty when `time` is set
};

// "2026-12-07T00:00Z", "2026-12-07T00:00:30Z" or "2026-12-07" (midnight),
// UTC, within the accepted years.
ParsedTime ParseUtc(std::string_view text);

// "2026-12-07T00:10:00Z".
std::string FormatUtc(UtcSeconds t);

// One instant on the time scales ERFA takes, each a two-part Julian date.
struct TimeScales {
  double utc1 = 0, utc2 = 0;  // UTC in ERFA's quasi-Julian form
  double tt1 = 0, tt2 = 0;    // Terrestrial Time: UTC + (TAI - UTC) + 32.184 s
  double ut1a = 0, ut1b = 0;  // UT1, taken as UTC (|UT1 - UTC| < 0.9 s)
  // ERFA's table of leap seconds does not reach this date: no further leap
  // second is assumed, so TT may be off by the seconds announced since.
  bool leapSecondsUncertain = false;
};

TimeScales TimeScalesAt(UtcSeconds t);

}  // namespace korrin::moon
