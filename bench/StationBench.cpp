// What the user waits for without the toolkit: the computing half of one
// recalculation with each antenna family in use, one band click through the
// window logic (handler, recalculations and the control board), loading a
// station file, and the start-up of the window logic.  Each case checks the
// station it measures before it times it, so a figure always belongs to the
// station it is named after.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <cmath>
#include <filesystem>
#include <string>
#include <system_error>

#include "core/Calc.h"
#include "ui/HeadlessPlatform.h"
#include "ui/TForm1.h"

namespace {

using korrin::HeadlessPlatform;
using korrin::StationState;
using korrin::TForm1;

// ---- full recalculation by antenna family --------------------------------------------

enum class Family { Dish, YagiArray, LowGain };

// The start-up station (432 MHz, 1500 W) with the family in use: the dish
// as it starts, the yagi array by its selector, a low-gain antenna by the
// switch to the HF side (the dipole on 14.2 MHz).
StationState StationWith(Family family) {
  HeadlessPlatform platform;
  TForm1 form(platform);
  form.FormActivate();
  switch (family) {
    case Family::Dish:
      break;
    case Family::YagiArray:
      form.Panel46Click();
      break;
    case Family::LowGain:
      form.HF_SelectClick();
      break;
  }
  return form.State();
}

bool InUse(const StationState& s, Family family) {
  switch (family) {
    case Family::Dish:
      return s.DishSelected && !s.YagiSelected && !s.LowGainSelected;
    case Family::YagiArray:
      return s.YagiSelected && !s.DishSelected && !s.LowGainSelected;
    case Family::LowGain:
      return s.LowGainSelected && !s.DishSelected && !s.YagiSelected;
  }
  return false;
}

void BM_Recalculate(benchmark::State& state, Family family) {
  StationState station = StationWith(family);
  korrin::Recalculate(station);
  const StationState once = station;
  korrin::Recalculate(station);
  // The loop recalculates the same station again and again: that only
  // measures one recalculation if a second one changes nothing.
  if (!InUse(station, family) || !korrin::SameStation(station, once)) {
    state.SkipWithError("the station is not the one named, or a recalculation changes it");
    return;
  }
  if (!std::isfinite(station.ExclusionDistanceM) || station.ExclusionDistanceM <= 0) {
    state.SkipWithError("the station has no exclusion zone to compute");
    return;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(korrin::Recalculate(station));
    benchmark::ClobberMemory();
  }
}
BENCHMARK_CAPTURE(BM_Recalculate, dish_1500W, Family::Dish)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Recalculate, yagi_array, Family::YagiArray)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Recalculate, low_gain_hf, Family::LowGain)->Unit(benchmark::kMicrosecond);

// ---- a band click ---------------------------------------------------------------------

// 432 MHz and 1296 MHz in turn, as a user flicks between two bands.
void BM_BandClick(benchmark::State& state) {
  HeadlessPlatform platform;
  TForm1 form(platform);
  form.FormActivate();
  constexpr int kBands[2] = {3, 5};
  const char* const kShown[2] = {"432 MHz", "1296 MHz"};
  for (int k : {1, 0}) {
    form.Board()["RadioGroup1"].itemIndex = kBands[k];
    form.RadioGroup1Click();
    if (form.Board().at("Panel32").text != kShown[k]) {
      state.SkipWithError("a band click does not reach the frequency display");
      return;
    }
  }
  int k = 0;
  for (auto _ : state) {
    k ^= 1;
    form.Board()["RadioGroup1"].itemIndex = kBands[k];
    form.RadioGroup1Click();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_BandClick)->Unit(benchmark::kMicrosecond);

// ---- loading a station file -------------------------------------------------------------

// A station file in the temporary folder for the life of one benchmark run.
class TempStationFile {
 public:
  TempStationFile()
      : path_((std::filesystem::temp_directory_path() /
               ("korrin-bench-" + std::to_string(::getpid()) + ".rsd"))
                  .string()) {}
  ~TempStationFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  TempStationFile(const TempStationFile&) = delete;
  TempStationFile& operator=(const TempStationFile&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// Get Data with the open dialog answering a file that holds the yagi array
// on 1296 MHz, loaded into a window that starts with the dish on 432 MHz.
void BM_StationFileLoad(benchmark::State& state) {
  TempStationFile file;
  {
    HeadlessPlatform platform;
    TForm1 form(platform);
    form.FormActivate();
    form.Board()["RadioGroup1"].itemIndex = 5;
    form.RadioGroup1Click();
    form.Panel46Click();
    platform.dialogAnswers.push_back(file.Path());
    form.Save_DataClick();
    if (!platform.messages.empty() || !std::filesystem::exists(file.Path())) {
      state.SkipWithError("the station file could not be saved");
      return;
    }
  }

  HeadlessPlatform platform;
  TForm1 form(platform);
  form.FormActivate();
  platform.dialogAnswers.push_back(file.Path());
  form.Get_FileClick();
  const StationState& s = form.State();
  if (!platform.messages.empty() || s.FrequencyMHz != 1296 || !s.YagiSelected ||
      form.Board().at("Panel32").text != "1296 MHz") {
    state.SkipWithError("the station file does not load the station saved");
    return;
  }
  for (auto _ : state) {
    platform.dialogAnswers.push_back(file.Path());
    form.Get_FileClick();
    benchmark::ClobberMemory();
  }
  if (!platform.messages.empty() || !platform.dialogAnswers.empty()) {
    state.SkipWithError("a load in the loop did not take its answer or warned");
  }
}
BENCHMARK(BM_StationFileLoad)->Unit(benchmark::kMicrosecond);

// ---- start-up -----------------------------------------------------------------------------

// The window logic from nothing to the start-up station on show: the
// control board declared, every default given and the first recalculations.
void BM_HeadlessStartUp(benchmark::State& state) {
  {
    HeadlessPlatform platform;
    TForm1 form(platform);
    form.FormActivate();
    if (form.Board().at("Panel16").text != "1500 Watts" ||
        form.Board().at("Panel32").text != "432 MHz") {
      state.SkipWithError("start-up does not show the start-up station");
      return;
    }
  }
  HeadlessPlatform platform;
  for (auto _ : state) {
    TForm1 form(platform);
    form.FormActivate();
    benchmark::DoNotOptimize(form.Board().at("Panel16").text.data());
  }
}
BENCHMARK(BM_HeadlessStartUp)->Unit(benchmark::kMicrosecond);

}  // namespace
