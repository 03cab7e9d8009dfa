// A moon-bounce plan: the moon from home (and another station) at steps
// over a span of time, the path loss and Doppler shift at each, and the
// windows in which the moon stands high enough at both places.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "moon/Ephemeris.h"

namespace korrin::moon {

struct PlanRequest {
  Place home;
  std::optional<Place> dx;  // the other station, if any
  double frequencyMHz = 144.0;
  UtcSeconds from = 0;
  UtcSeconds spanSeconds =
      24 * kSecondsPerHour;  // rows from `from` to `from + span`, both included
  UtcSeconds stepSeconds = 600;
  double minElevationDeg = 0;  // at both places; inclusive
};

// Limits of a request: the span at most 31 days, steps of 1 minute to 1
// day, the minimum elevation -5..90°.
inline constexpr UtcSeconds kLongestSpanSeconds = 31 * kSecondsPerDay;
inline constexpr UtcSeconds kShortestStepSeconds = 60;
inline constexpr UtcSeconds kLongestStepSeconds = kSecondsPerDay;
inline constexpr double kLowestMinElevationDeg = -5.0;

// Why a request cannot be planned, in plain words; empty when it can.
std::string CheckRequest(const PlanRequest& request);

// The least topocentric distance of the moon from a place during one
// calendar year (UTC), and when: the best path loss of that year there.
struct YearBest {
  int year = 0;
  UtcSeconds time = 0;
  double distanceKm = 0;
};

// Searches the year hour by hour and refines every daily minimum that may
// be the least to the second (about 9,000 positions: tens of milliseconds).
YearBest FindYearBest(const Site& site, int year);

// Keeps the year's best per year for one place, so that a window updating
// every minute searches a year once.
class YearBestCache {
 public:
  const YearBest& For(const Site& site, int year);

 private:
  Place place_;
  std::map<int, YearBest> years_;
};

// A time in which the moon is at or above the minimum elevation at home
// and, with another station, there too.  The ends are found to the second;
// a window cut by the span's start or end starts or ends there.
struct Window {
  UtcSeconds start = 0;
  UtcSeconds end = 0;
  bool cutAtStart = false;
  bool cutAtEnd = false;
};

struct Row {
  UtcSeconds time = 0;
  Sighting home;
  std::optional<Sighting> dx;
  double pathLossDb = 0;              // one's own echo at home
  double degradationDb = 0;           // over the year's best at home
  double dopplerHz = 0;               // one's own echo
  std::optional<double> dxDopplerHz;  // from home to the other station
  bool mutual = false;                // inside a window
};

struct Plan {
  std::vector<Row> rows;
  std::vector<Window> windows;
  std::vector<YearBest> yearBest;  // of each year the rows touch, at home
  // A row lies past ERFA's table of leap seconds (see TimeScales).
  bool leapSecondsUncertain = false;
};

// The plan of a request that CheckRequest accepts.  Windows are searched
// at one-minute steps: a window shorter than a minute may be missed.
Plan MakePlan(const PlanRequest& request, YearBestCache& cache);

}  // namespace korrin::moon
