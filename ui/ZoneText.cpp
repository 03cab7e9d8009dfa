#include "ui/ZoneText.h"

namespace korrin {

namespace {

const char* const kNoRestriction = " No restriction";
constexpr int kZonePrecision = 18;
constexpr int kZoneDecimals = 2;

}  // namespace

std::string LengthText(long double metres, int precision, int decimals, bool metric,
                       const NumberLocale& locale) {
  if (metric) return FixedText(metres, precision, decimals, locale) + " Metres";
  return FixedText(metres * kFeetPerMetre, precision, decimals, locale) + " Feet";
}

ZoneTexts ZoneText(const ZoneShown& zone, bool metric, const NumberLocale& locale) {
  // A length without its unit, and with it.
  const auto number = [&](long double metres) {
    return FixedText(metric ? metres : metres * kFeetPerMetre, kZonePrecision, kZoneDecimals,
                     locale);
  };
  const auto length = [&](long double metres) {
    return LengthText(metres, kZonePrecision, kZoneDecimals, metric, locale);
  };

  ZoneTexts t;
  switch (zone.first) {
    case ZoneShown::First::NoRestriction:
      t.first = kNoRestriction;
      break;
    case ZoneShown::First::Distance:
      t.first = length(zone.firstToM);
      break;
    case ZoneShown::First::Range:
      t.first = number(zone.firstFromM) + " to " + length(zone.firstToM);
      break;
  }
  t.second = number(0) + " to " + length(zone.secondToM);
  return t;
}

}  // namespace korrin
