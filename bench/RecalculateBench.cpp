// The cost of one recalculation with the dish in use, in its worst case
// (the near-field scan runs all the way in to the antenna), against a bare
// loop of the same number of sine and cosine evaluations in the same
// precision.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

#include "core/Calc.h"
#include "ui/HeadlessPlatform.h"
#include "ui/TForm1.h"

namespace {

using korrin::Real;

// The start-up station at 100 W: no point of the near field exceeds the
// limit, so the first pass of the scan runs until the distance reaches 0.
korrin::StationState WorstCaseStation() {
  korrin::HeadlessPlatform platform;
  korrin::TForm1 form(platform);
  form.FormActivate();
  form.Board()["RadioGroup4"].itemIndex = 0;
  form.Board()["RadioGroup5"].itemIndex = 1;
  form.RadioGroup4Click();
  form.RadioGroup5Click();
  return form.State();
}

// The number of points the scan visits on its way in from the boundary.
size_t ScanPointCount() {
  size_t points = 0;
  for (Real delta = 1.0L; delta > 0; delta -= 0.0001L) ++points;
  return points;
}

void BM_RecalculateDishWorstCase(benchmark::State& state) {
  korrin::StationState station = WorstCaseStation();
  korrin::Recalculate(station);
  if (!station.DishSelected || station.SearchStepDelta > 0 || station.FirstZoneOuter != 0) {
    state.SkipWithError("the station does not scan the whole near field");
    return;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(korrin::Recalculate(station));
    benchmark::ClobberMemory();
  }
  state.counters["points"] = static_cast<double>(ScanPointCount());
}
BENCHMARK(BM_RecalculateDishWorstCase)->Unit(benchmark::kMicrosecond);

void BM_BareTrig(benchmark::State& state) {
  // The arguments are formed on the way, as the scan forms them: reading
  // them from a table measured slower than computing them.
  const size_t points = ScanPointCount();
  for (auto _ : state) {
    Real sum = 0;
    for (Real delta = 1.0L; delta > 0; delta -= 0.0001L) {
      const Real x = std::numbers::pi_v<Real> / (8.0L * delta);
      sum += std::sin(x) + std::cos(x);
    }
    benchmark::DoNotOptimize(sum);
  }
  state.counters["points"] = static_cast<double>(points);
}
BENCHMARK(BM_BareTrig)->Unit(benchmark::kMicrosecond);

}  // namespace
