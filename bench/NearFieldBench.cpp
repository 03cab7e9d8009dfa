// The whole near-field evaluation of a 14.2 MHz half-wave dipole 10 m above
// average ground (1500 W FT8, plan and side views at 0.25 m) beside the
// engine alone on the same decks.  The engine runs as a child process, so
// the times are wall-clock times; the counters add the CPU time of this
// process and of its children, which other work on the machine disturbs
// less.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "assess/NearFieldStation.h"
#include "nearfield/NearField.h"
#include "nearfield/Presets.h"
#include "station/StationFile.h"

namespace {

using namespace korrin::nearfield;

Request WorkedDipole() {
  const Preset p = DipolePreset(14.2L, 10, std::nullopt, 0.001L, *NamedGround("average"));
  Request q;
  q.structure = *BuildStructure(p.model, 14.2L).structure;
  q.frequencyMHz = 14.2L;
  // FT8: carrier while transmitting, 15 s of every 30 s.
  q.power = {1500, 750, 750};
  return q;
}

double Seconds(const timeval& t) {
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

// CPU seconds of this process and of its reaped children so far.
double CpuSoFar() {
  rusage self{};
  rusage children{};
  getrusage(RUSAGE_SELF, &self);
  getrusage(RUSAGE_CHILDREN, &children);
  return Seconds(self.ru_utime) + Seconds(self.ru_stime) + Seconds(children.ru_utime) +
         Seconds(children.ru_stime);
}

void BM_NearFieldEvaluation(benchmark::State& state) {
  const Request q = WorkedDipole();
  double cpu = 0;
  for (auto _ : state) {
    const double before = CpuSoFar();
    const Evaluation ev = Evaluate(q);
    cpu += CpuSoFar() - before;
    if (ev.status != Status::Done) state.SkipWithError(ev.message.c_str());
    benchmark::DoNotOptimize(ev);
  }
  state.counters["cpu_s"] = benchmark::Counter(cpu, benchmark::Counter::kAvgIterations);
}

// The engine alone, from the shell, on the evaluation's own decks.
void EngineOn(benchmark::State& state, bool fieldDeck) {
  const Evaluation ev = Evaluate(WorkedDipole());
  if (ev.status != Status::Done) {
    state.SkipWithError(ev.message.c_str());
    return;
  }
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("korrin-nfbench-" + std::to_string(getpid()));
  fs::create_directories(dir);
  std::ofstream(dir / "deck.nec") << (fieldDeck ? ev.solution->deck : ev.solution->patternDeck);
  const std::string command = "nec2c -i " + (dir / "deck.nec").string() + " -o " +
                              (dir / "deck.out").string() + " >/dev/null";
  double cpu = 0;
  for (auto _ : state) {
    const double before = CpuSoFar();
    // The command is built from the benchmark's own temporary paths.
    // NOLINTNEXTLINE(bugprone-command-processor)
    if (std::system(command.c_str()) != 0) state.SkipWithError("nec2c failed");
    cpu += CpuSoFar() - before;
  }
  state.counters["cpu_s"] = benchmark::Counter(cpu, benchmark::Counter::kAvgIterations);
  fs::remove_all(dir);
}

void BM_EngineOnTheFieldDeck(benchmark::State& state) {
  EngineOn(state, true);
}

void BM_EngineOnThePatternDeck(benchmark::State& state) {
  EngineOn(state, false);
}

// The example station's near field as the report computes it, without the
// disk cache: its 80 m dipole known by its band (three frequencies) and its
// 40 m vertical.
void BM_ExampleStationNearField(benchmark::State& state) {
  const korrin::station::ReadResult read =
      korrin::station::ReadStationFile(KORRIN_SOURCE_DIR "/data/examples/example.station.toml");
  if (!read.station) {
    state.SkipWithError("the example station cannot be read");
    return;
  }
  korrin::assess::NearFieldOptions options;
  options.folder = KORRIN_SOURCE_DIR "/data/examples";
  double cpu = 0;
  for (auto _ : state) {
    const double before = CpuSoFar();
    const korrin::assess::StationNearField n =
        korrin::assess::EvaluateWithNearField(*read.station, options);
    cpu += CpuSoFar() - before;
    for (const korrin::assess::NearFieldInstallation& i : n.installations) {
      if (i.status != Status::Done) state.SkipWithError(i.message.c_str());
    }
    benchmark::DoNotOptimize(n);
  }
  state.counters["cpu_s"] = benchmark::Counter(cpu, benchmark::Counter::kAvgIterations);
}

BENCHMARK(BM_NearFieldEvaluation)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_EngineOnTheFieldDeck)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_EngineOnThePatternDeck)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_ExampleStationNearField)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

}  // namespace
