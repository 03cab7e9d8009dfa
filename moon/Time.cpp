#include "moon/Time.h"

#include <erfa.h>

#include <cctype>
#include <chrono>
#include <cstdio>

namespace korrin::moon {

namespace {

// Reads exactly `digits` digits at `pos`; advances `pos`.
std::optional<int> Digits(std::string_view text, std::size_t& pos, std::size_t digits) {
  if (pos + digits > text.size()) return std::nullopt;
  int value = 0;
  for (std::size_t i = 0; i < digits; ++i) {
    const char c = text[pos + i];
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  pos += digits;
  return value;
}

bool Take(std::string_view text, std::size_t& pos, char expected) {
  if (pos >= text.size()) return false;
  if (std::toupper(static_cast<unsigned char>(text[pos])) != expected) return false;
  ++pos;
  return true;
}

}  // namespace

UtcSeconds FirstAcceptedTime() {
  return *SecondsOf({kFirstYear, 1, 1, 0, 0, 0});
}

UtcSeconds LastAcceptedTime() {
  return *SecondsOf({kLastYear, 12, 31, 23, 59, 59});
}

CalendarTime CalendarOf(UtcSeconds t) {
  using namespace std::chrono;
  std::int64_t days = t / kSecondsPerDay;
  std::int64_t rest = t % kSecondsPerDay;
  if (rest < 0) {
    rest += kSecondsPerDay;
    --days;
  }
  const year_month_day ymd{sys_days{std::chrono::days{days}}};
  CalendarTime c;
  c.year = static_cast<int>(ymd.year());
  c.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
  c.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
  c.hour = static_cast<int>(rest / kSecondsPerHour);
  c.minute = static_cast<int>(rest / 60 % 60);
  c.second = static_cast<int>(rest % 60);
  return c;
}

std::optional<UtcSeconds> SecondsOf(const CalendarTime& c) {
  using namespace std::chrono;
  if (c.month < 1 || c.month > 12 || c.day < 1 || c.day > 31) return std::nullopt;
  const year_month_day ymd{year{c.year}, month{static_cast<unsigned>(c.month)},
                           day{static_cast<unsigned>(c.day)}};
  if (!ymd.ok()) return std::nullopt;
  if (c.hour < 0 || c.hour > 23 || c.minute < 0 || c.minute > 59 || c.second < 0 || c.second > 59) {
    return std::nullopt;
  }
  const std::int64_t days = sys_days{ymd}.time_since_epoch().count();
  return days * kSecondsPerDay + c.hour * kSecondsPerHour + c.minute * UtcSeconds{60} + c.second;
}

ParsedTime ParseUtc(std::string_view text) {
  const std::string shown(text);
  const std::string form =
      "time \"" + shown + "\" must be UTC as 2026-12-07T00:00Z, 2026-12-07T00:00:00Z or 2026-12-07";
  CalendarTime c;
  std::size_t pos = 0;
  const std::optional<int> y = Digits(text, pos, 4);
  if (!y || !Take(text, pos, '-')) return {std::nullopt, form};
  const std::optional<int> mo = Digits(text, pos, 2);
  if (!mo || !Take(text, pos, '-')) return {std::nullopt, form};
  const std::optional<int> d = Digits(text, pos, 2);
  if (!d) return {std::nullopt, form};
  c.year = *y;
  c.month = *mo;
  c.day = *d;
  if (pos < text.size()) {
    if (!Take(text, pos, 'T')) return {std::nullopt, form};
    const std::optional<int> h = Digits(text, pos, 2);
    if (!h || !Take(text, pos, ':')) return {std::nullopt, form};
    const std::optional<int> mi = Digits(text, pos, 2);
    if (!mi) return {std::nullopt, form};
    c.hour = *h;
    c.minute = *mi;
    if (pos < text.size() && text[pos] == ':') {
      ++pos;
      const std::optional<int> s = Digits(text, pos, 2);
      if (!s) return {std::nullopt, form};
      c.second = *s;
    }
    if (!Take(text, pos, 'Z') || pos != text.size()) return {std::nullopt, form};
  }
  const std::optional<UtcSeconds> t = SecondsOf(c);
  if (!t) return {std::nullopt, "time \"" + shown + "\" names no date and time of the calendar"};
  if (c.year < kFirstYear || c.year > kLastYear) {
    return {std::nullopt, "time \"" + shown + "\" must lie in the years " +
                              std::to_string(kFirstYear) + "-" + std::to_string(kLastYear)};
  }
  return {t, {}};
}

std::string FormatUtc(UtcSeconds t) {
  const CalendarTime c = CalendarOf(t);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", c.year, c.month, c.day, c.hour,
                c.minute, c.second);
  return text;
}

TimeScales TimeScalesAt(UtcSeconds t) {
  const CalendarTime c = CalendarOf(t);
  TimeScales s;
  // Status +1 (a year past ERFA's leap-second table, or before UTC) is a
  // warning: the date is still converted.  The calendar time is valid by
  // construction, so no error status can come back.
  const int calendar =
      eraDtf2d("UTC", c.year, c.month, c.day, c.hour, c.minute, c.second, &s.utc1, &s.utc2);
  double tai1 = 0;
  double tai2 = 0;
  const int leap = eraUtctai(s.utc1, s.utc2, &tai1, &tai2);
  eraTaitt(tai1, tai2, &s.tt1, &s.tt2);
  // UT1 - UTC is taken as 0; ERFA still spreads a leap second over its day.
  eraUtcut1(s.utc1, s.utc2, 0.0, &s.ut1a, &s.ut1b);
  s.leapSecondsUncertain = calendar == 1 || leap == 1;
  return s;
}

}  // namespace korrin::moon
