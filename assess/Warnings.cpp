// Plain-word warnings where the method of the assessment is weak.
#include <charconv>
#include <string>

#include "assess/Internal.h"

namespace korrin::assess::detail {

namespace {

// A length in the station's unit system, with its unit.
std::string LengthWords(Real metres, bool metric) {
  return metric ? TwoDecimals(metres) + " m" : TwoDecimals(metres * kFeetPerMetre) + " ft";
}

}  // namespace

std::string TwoDecimals(Real value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                    std::chars_format::fixed, 2);
  std::string text(buffer, result.ptr);
  if (text == "-0.00") text = "0.00";
  return text;
}

std::vector<std::string> Warnings(const Assessment& a, const StationState& s) {
  std::vector<std::string> warnings;
  const bool metric = s.MetricUnits;

  for (const LimitEntry& e : a.limits) {
    if (!e.keepOutM || !(*e.keepOutM > 0) || !(*e.keepOutM < a.reactiveNearFieldM)) continue;
    warnings.push_back(std::string(LimitSetName(e.set)) + ": the keep-out distance of " +
                       LengthWords(*e.keepOutM, metric) +
                       " lies inside the reactive near field (within \u03bb/2\u03c0 = " +
                       LengthWords(a.reactiveNearFieldM, metric) +
                       " of the antenna), where power density is not the right measure; the "
                       "electric and magnetic fields there need their own evaluation.");
  }

  const LimitEntry* selected = a.Selected();
  if (selected != nullptr && selected->zone && selected->zone->secondShown) {
    warnings.push_back(
        "The window shows two ranges above the limit in front of the dish: the gap between "
        "them is not a safe place.  The keep-out distance covers both ranges and the gap.");
  }

  if (s.OverallDutyFactor < 1.0L) {
    warnings.push_back("The overall transmission factor of " +
                       TwoDecimals(s.OverallDutyFactor * 100.0L) +
                       " % is set for six minutes, while the general-public limits average over "
                       "30 minutes; it is taken to hold over the longer time too.");
  }
  return warnings;
}

}  // namespace korrin::assess::detail
