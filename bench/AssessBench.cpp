// The whole assessment of a station (the cycle once, today's rules by the
// station evaluation over the band, the calculator's standards, keep-out
// distances, the exemption test, warnings and the density profiles) beside
// one recalculation of the same station.
#include <benchmark/benchmark.h>

#include <functional>

#include "assess/Assessment.h"
#include "core/Calc.h"
#include "ui/HeadlessPlatform.h"
#include "ui/TForm1.h"

namespace {

using korrin::HeadlessPlatform;
using korrin::StationState;
using korrin::TForm1;

struct Bench {
  const char* name;
  std::function<void(TForm1&)> setUp;
  bool dish;
};

void Power(TForm1& f, int thousands, int hundreds) {
  f.Board()["RadioGroup4"].itemIndex = thousands;
  f.Board()["RadioGroup5"].itemIndex = hundreds;
  f.RadioGroup4Click();
  f.RadioGroup5Click();
}

const Bench kStations[] = {
    {"StartUpDish", [](TForm1&) {}, true},
    {"Dish1296TwoRanges",
     [](TForm1& f) {
       f.Board()["RadioGroup1"].itemIndex = 5;
       f.RadioGroup1Click();
       Power(f, 1, 0);
     },
     true},
    {"Yagi", [](TForm1& f) { f.Panel46Click(); }, false},
    {"HfDipole", [](TForm1& f) { f.HF_SelectClick(); }, false},
};

StationState StationOf(const Bench& b) {
  HeadlessPlatform platform;
  TForm1 form(platform);
  form.FormActivate();
  b.setUp(form);
  return form.State();
}

void BM_Assess(benchmark::State& state, const Bench& b) {
  const StationState station = StationOf(b);
  const korrin::assess::Assessment first = korrin::assess::Assess(station);
  if (station.DishSelected != b.dish || first.limits.empty() || first.profile.empty()) {
    state.SkipWithError("the station is not the one named");
    return;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(korrin::assess::Assess(station));
    benchmark::ClobberMemory();
  }
  state.counters["sets"] = static_cast<double>(first.limits.size());
  state.counters["profile"] = static_cast<double>(first.profile.size());
}

void BM_AssessRecalculate(benchmark::State& state, const Bench& b) {
  StationState station = StationOf(b);
  for (auto _ : state) {
    benchmark::DoNotOptimize(korrin::Recalculate(station));
    benchmark::ClobberMemory();
  }
}

const bool kRegistered = [] {
  for (const Bench& b : kStations) {
    benchmark::RegisterBenchmark((std::string("BM_Assess/") + b.name).c_str(), BM_Assess, b)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark((std::string("BM_AssessRecalculate/") + b.name).c_str(),
                                 BM_AssessRecalculate, b)
        ->Unit(benchmark::kMicrosecond);
  }
  return true;
}();

}  // namespace
