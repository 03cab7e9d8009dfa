#include "moon/Evaluation.h"

#include "moon/Echo.h"

namespace korrin::moon {

bool OnMoonBounceSide(const StationState& station) {
  return station.ShfBandsShown && !station.HfBandsShown && BandPathLossDb(station.FrequencyMHz);
}

Evaluation Evaluate(const StationState& station, PlanRequest request, YearBestCache& cache) {
  Evaluation e;
  request.frequencyMHz = static_cast<double>(station.FrequencyMHz);
  e.request = request;
  e.plan = MakePlan(request, cache);
  EchoAtPathLoss echo(station);
  e.stationPathLossDb = echo.StationPathLossDb();
  e.stationSnDb = echo.StationSnDb();
  e.bandPathLossDb = BandPathLossDb(station.FrequencyMHz);
  e.echoSnDb.reserve(e.plan.rows.size());
  for (const Row& row : e.plan.rows) e.echoSnDb.push_back(echo.SnDb(row.pathLossDb));
  return e;
}

std::optional<double> BandChangeDb(const Evaluation& e, const Row& row) {
  if (!e.bandPathLossDb) return std::nullopt;
  return row.pathLossDb - *e.bandPathLossDb;
}

}  // namespace korrin::moon
