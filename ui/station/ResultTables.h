// The station's evaluation as the window and the record show it: text
// tables of the results per installation and tier, the FCC exemption, the
// sums at the places and along the property line, the verdict in one line,
// and the site plan's content.  Every figure comes from the evaluation
// (assess/StationEvaluation.h); here it is only put into words.  No toolkit.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "assess/StationEvaluation.h"
#include "station/Station.h"
#include "ui/station/SitePlan.h"

namespace korrin::stationui {

struct TextTable {
  std::vector<std::string> header;
  std::vector<std::vector<std::string>> rows;
  std::vector<bool> over;  // per row: a figure over its limit (a sum above 1, not exempt)
  // Per row: the installation or place it belongs to (for the site plan's
  // highlight).
  std::vector<std::string> subject;
};

// "FCC general population", "ICNIRP 2020 occupational (instantaneous)".
std::string ShortCriterionName(assess::LimitSetChoice set, assess::Tier tier,
                               assess::Criterion criterion);

// A length in metres as the window shows lengths: "12.34 m", "40.49 ft".
std::string DistanceText(Real metres, bool feet);

// One row per installation, limit set and tier: the frequency evaluated,
// the average power, the EIRP, the keep-out distance and the criterion and
// model that govern it.
TextTable InstallationResults(const assess::StationEvaluation& e, bool feet);

// One row per installation with the FCC's limits: the frequency, the
// 30-minute ERP, lambda / 2 pi, the minimum exempt distance and the verdict
// at the nearest uncontrolled place.
TextTable ExemptionResults(const assess::StationEvaluation& e, bool feet);

// One row per place, group, limit set and criterion (and the FCC exemption
// sum at uncontrolled places): the sum of fractions and its margin.
TextTable PlaceResults(const assess::StationEvaluation& e);

// One row per group, limit set and criterion: the largest sum along the
// property line, where it is and its margin.
TextTable PropertyResults(const assess::StationEvaluation& e, bool feet);

// The verdict of a station that names no place and no property line yet:
// neither compliance nor a failure is shown.
inline constexpr std::string_view kNotShownVerdict =
    "Not shown to comply: no place or property line yet.";

// The verdict in one line: "Complies: ...", kNotShownVerdict, or "Does not
// comply at" each place over its limits (its largest sum and margin) and the
// property line; the evaluation's failures say the rest.
std::string VerdictLine(const assess::StationEvaluation& e);

// The words for no failure, naming only what the station gives: its
// places, its property line, both or neither.
std::string NoFailureWords(bool places, bool propertyLine);

// What the site plan shows of the station and its evaluation.
SitePlanContent SitePlanOf(const station::Station& station, const assess::StationEvaluation& e);

// The largest of a place's sums (over groups, limit sets and criteria);
// empty when it has none.
std::optional<Real> LargestSum(const assess::PlaceResult& place);

}  // namespace korrin::stationui
