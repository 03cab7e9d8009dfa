// Helpers of the station file tests: a private folder, whole-file reads and
// writes, and a sound station to start records from.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include "core/StationState.h"
#include "io/StationRecord.h"

namespace korrin::testing_support {

namespace fs = std::filesystem;

// A fresh folder of the running test, removed with everything in it.
class TempDir {
 public:
  TempDir() {
    static std::atomic<int> counter{0};
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->name()) : "korrin";
    for (char& c : name) {
      if (c == '/') c = '_';
    }
    path_ = fs::temp_directory_path() /
            ("korrin-" + name + "-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const fs::path& path() const { return path_; }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
};

// Runs the test body inside another current directory.
class CurrentDir {
 public:
  explicit CurrentDir(const fs::path& dir) : before_(fs::current_path()) { fs::current_path(dir); }
  ~CurrentDir() { fs::current_path(before_); }
  CurrentDir(const CurrentDir&) = delete;
  CurrentDir& operator=(const CurrentDir&) = delete;

 private:
  fs::path before_;
};

inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<std::uint8_t> Bytes(const StationRecordBytes& r) {
  return {r.begin(), r.end()};
}

// The start-up station's stored fields, with the power groups as item
// numbers, as a save of the start-up window writes them.
inline StationState SoundStation() {
  StationState s{};
  s.FrequencyMHz = 432;
  s.DishDiameterCm = 950;
  s.DishDiameterCopyCm = 950;
  s.PathLoss = 261;
  s.DishEfficiency = 0.55L;
  s.LnaLossDb = 0.1L;
  s.RxBandwidthHz = 120;
  s.LnaNoiseFigureDb = 0.6L;
  s.SkyTempK = 15;
  s.LnaGainDb = 26;
  s.LnaRxLossDb = 2;
  s.RxNoiseFigureDb = 1;
  s.SpilloverTempK = 30;
  s.FeedLossDb = 1;
  s.ShfFeedLossDb = 1;
  s.MeshWireDiameterMm = 1;
  s.MeshSpacingMm = 12.7L;
  s.YagiGainDbi = 16.8L;
  s.SolarFluxSfu = 160;
  s.YagiCount = 1;
  s.MeshWireRadiusMm = 0.5L;
  s.ModeIndex = 5;
  s.AveragingIndex = 4;
  s.YagiStackStep = 1;
  s.HfBandIndex = 4;
  s.PowerThousands = 1;
  s.PowerHundreds = 5;
  s.VhfBandIndex = 3;
  s.MetricUnits = true;
  s.DishSelected = true;
  s.DipoleSelected = true;
  s.ShfBandsShown = true;
  s.StandardFCC = true;
  s.ReservedFlag2 = true;
  return s;
}

}  // namespace korrin::testing_support
