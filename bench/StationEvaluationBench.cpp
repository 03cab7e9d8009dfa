// The evaluation of a whole station of 40 installations (12 HF bands on
// each of 3 antennas, and 4 VHF-SHF installations with one dish), with
// four places and a property outline, beside the evaluation of each of its
// installations alone (the same places and outline): the whole should cost
// no more than about the sum of its parts, since a station window
// re-evaluates it after every edit.
// The program's own data tables; they are read once, before the first
// evaluation is timed.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "assess/StationEvaluation.h"

namespace {

namespace station = korrin::station;
using korrin::assess::Evaluate;
using korrin::assess::StationEvaluation;
using station::Real;

station::Length M(Real v) {
  return station::Length::InMetres(v);
}

station::Station WholeStation() {
  station::Station s;
  s.callsign = "VK9ZZT";
  s.groundReflection = true;
  auto transmitter = [](std::string id, Real w, std::string mode) {
    station::Transmitter t;
    t.id = std::move(id);
    t.powerW = w;
    t.mode = std::move(mode);
    return t;
  };
  s.transmitters = {transmitter("hf-radio", 100, "ssb"), transmitter("hf-amp", 1000, "cw"),
                    transmitter("vhf-radio", 50, "ft8"), transmitter("eme", 500, "cw")};
  station::Feedline line;
  line.id = "coax-30m";
  line.cable = "LMR-400";
  line.length = M(30);
  line.swr = 1.5L;
  s.feedlines = {line};
  auto antenna = [](std::string id, std::string kind, std::optional<Real> gain, Real x, Real y,
                    Real h) {
    station::Antenna a;
    a.id = std::move(id);
    a.kind = std::move(kind);
    if (gain) a.gain = station::Gain{*gain, false};
    a.x = M(x);
    a.y = M(y);
    a.height = M(h);
    return a;
  };
  s.antennas = {antenna("dipole", "dipole", std::nullopt, -5, 0, 12),
                antenna("vertical", "vertical", std::nullopt, 8, -6, 1),
                antenna("tribander", "yagi", 7.5L, 0, 4, 15),
                antenna("6m-yagi", "yagi", 9, 0, 4, 17),
                antenna("2m-yagi", "yagi", 13, 2, 4, 18),
                antenna("70cm-yagi", "yagi", 15, 3, 4, 19)};
  station::Antenna dish = antenna("dish", "dish", std::nullopt, 12, 10, 4);
  dish.diameter = M(3);
  dish.efficiency = 0.55L;
  s.antennas.push_back(dish);

  const char* hf[] = {"2200m", "630m", "160m", "80m", "60m", "40m",
                      "30m",   "20m",  "17m",  "15m", "12m", "10m"};
  const char* hfAntennas[] = {"dipole", "vertical", "tribander"};
  int n = 0;
  for (const char* band : hf) {
    for (const char* a : hfAntennas) {
      station::Installation i;
      i.id = std::string(band) + "-" + a;
      i.transmitter = n++ % 2 == 0 ? "hf-radio" : "hf-amp";
      i.feedline = "coax-30m";
      i.antenna = a;
      i.band = band;
      s.installations.push_back(i);
    }
  }
  const std::pair<const char*, const char*> vhf[] = {
      {"6m", "6m-yagi"}, {"2m", "2m-yagi"}, {"70cm", "70cm-yagi"}, {"23cm", "dish"}};
  for (const auto& [band, a] : vhf) {
    station::Installation i;
    i.id = std::string(band) + "-" + a;
    i.transmitter = std::string(band) == "23cm" ? "eme" : "vhf-radio";
    i.feedline = "coax-30m";
    i.antenna = a;
    i.band = band;
    i.group = "vhf";
    s.installations.push_back(i);
  }
  auto place = [](std::string name, Real x, Real y, bool controlled) {
    station::Place p;
    p.name = std::move(name);
    p.x = M(x);
    p.y = M(y);
    p.controlled = controlled;
    return p;
  };
  s.places = {place("Garden", 10, 2, true), place("Neighbour's garden", 22, -4, false),
              place("Footpath", -12, -14, false), place("Neighbour's window", 0, 24, false)};
  station::Property property;
  property.outline = {{-15, -12}, {25, -12}, {25, 18}, {-15, 18}};
  s.property = property;
  return s;
}

// The station with only its installation `i` (the same places and line).
station::Station Alone(const station::Station& whole, size_t i) {
  station::Station s = whole;
  s.installations = {whole.installations[i]};
  return s;
}

void BM_StationEvaluationWhole(benchmark::State& state) {
  const station::Station s = WholeStation();
  const StationEvaluation first = Evaluate(s);
  if (first.installations.size() != s.installations.size() || first.property.empty()) {
    state.SkipWithError("the station is not evaluated whole");
    return;
  }
  for (auto _ : state) {
    StationEvaluation e = Evaluate(s);
    benchmark::DoNotOptimize(e);
  }
  state.counters["installations"] = static_cast<double>(s.installations.size());
}
BENCHMARK(BM_StationEvaluationWhole)->Unit(benchmark::kMillisecond);

// Every installation evaluated alone, one after the other: the sum of the
// single evaluations.
void BM_StationEvaluationSingles(benchmark::State& state) {
  const station::Station whole = WholeStation();
  std::vector<station::Station> singles;
  singles.reserve(whole.installations.size());
  for (size_t i = 0; i < whole.installations.size(); ++i) singles.push_back(Alone(whole, i));
  for (auto _ : state) {
    for (const station::Station& s : singles) {
      StationEvaluation e = Evaluate(s);
      benchmark::DoNotOptimize(e);
    }
  }
  state.counters["installations"] = static_cast<double>(singles.size());
}
BENCHMARK(BM_StationEvaluationSingles)->Unit(benchmark::kMillisecond);

}  // namespace
