// The moon's figures over a week: a table at one-minute steps for two
// places (10,081 instants, 20,162 sightings), with its windows.  The year's
// best distance, which a plan searches once per year and place, is timed
// on its own.
#include <benchmark/benchmark.h>

#include "moon/Plan.h"

namespace {

using namespace korrin::moon;

PlanRequest WeekRequest() {
  PlanRequest r;
  r.home = *PlaceOfLocator("FN20xa").place;
  r.dx = *PlaceOfLocator("JO65fr").place;
  r.frequencyMHz = 1296.0;
  r.from = *ParseUtc("2026-12-07T00:00Z").time;
  r.spanSeconds = 7 * kSecondsPerDay;
  r.stepSeconds = 60;
  r.minElevationDeg = 10.0;
  return r;
}

void BM_MoonWeekTableTwoPlaces(benchmark::State& state) {
  const PlanRequest r = WeekRequest();
  YearBestCache cache;
  const Plan first = MakePlan(r, cache);  // searches 2026's best once
  if (first.rows.size() != 7u * 1440u + 1u) {
    state.SkipWithError("the week has the wrong number of rows");
    return;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(MakePlan(r, cache));
    benchmark::ClobberMemory();
  }
  state.counters["sightings"] = static_cast<double>(2 * first.rows.size());
  state.counters["windows"] = static_cast<double>(first.windows.size());
}
BENCHMARK(BM_MoonWeekTableTwoPlaces)->Unit(benchmark::kMillisecond);

void BM_MoonYearBest(benchmark::State& state) {
  const Site home = SiteOf(*PlaceOfLocator("FN20xa").place);
  for (auto _ : state) {
    benchmark::DoNotOptimize(FindYearBest(home, 2026));
  }
}
BENCHMARK(BM_MoonYearBest)->Unit(benchmark::kMillisecond);

void BM_MoonOneInstantTwoPlaces(benchmark::State& state) {
  const Site home = SiteOf(*PlaceOfLocator("FN20xa").place);
  const Site dx = SiteOf(*PlaceOfLocator("JO65fr").place);
  UtcSeconds t = *ParseUtc("2026-12-07T00:00Z").time;
  for (auto _ : state) {
    const MoonState m = MoonAt(t);
    benchmark::DoNotOptimize(Sight(m, home));
    benchmark::DoNotOptimize(Sight(m, dx));
    t += 60;
  }
}
BENCHMARK(BM_MoonOneInstantTwoPlaces)->Unit(benchmark::kMicrosecond);

}  // namespace
