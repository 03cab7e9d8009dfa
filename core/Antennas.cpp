// Gain and beamwidth models of the three antenna families: the parabolic
// dish, the stacked yagi array and the low-gain antennas of the HF side.
#include <array>
#include <cmath>
#include <numbers>

#include "core/Calc.h"

namespace korrin {

namespace {

constexpr Real kPi = std::numbers::pi_v<Real>;

// Offset from dBi to dBd of the dish and the yagi array.
constexpr Real kDishDbdOffset = 2.15L;
// The low-gain antennas use their own, rounder offset.
constexpr Real kLowGainDbdOffset = 2.2L;

// ---- stacked yagis ----

struct StackRow {
  Real count;
  Real stackingGainDb;
};

// Indexed by YagiStackStep - 1.  There is no array of 3; from 6 on every
// other size is 1.5 times a power of two.
constexpr std::array<StackRow, 15> kStacking{{
    {1, 0.0L},
    {2, 2.85L},
    {4, 5.7L},
    {6, 7.13L},
    {8, 8.55L},
    {12, 9.88L},
    {16, 11.4L},
    {24, 12.83L},
    {32, 14.25L},
    {48, 15.68L},
    {64, 17.1L},
    {96, 18.53L},
    {128, 19.95L},
    {192, 21.38L},
    {256, 22.8L},
}};

// The 1.5-times arrays are narrower in the E plane than in the H plane: the
// H plane sees an array 1.43 dB weaker.
bool OneAndAHalfTimesArray(Real count) {
  return count == 6 || count == 12 || count == 24 || count == 48 || count == 96 || count == 192;
}

constexpr Real kHalfPowerBeamConstant = 27000.0L;  // square degrees
constexpr Real kHPlaneOffsetDb = 1.43L;

// ---- low-gain antennas ----

struct LowGainRow {
  const char* caption;
  Real gainDbi;
};

constexpr std::array<LowGainRow, 4> kVerticals{{
    {"\u00bc w vertical", 1.0L},
    {"\u00bd w vertical", 2.0L},
    {"\u00be w vertical", 4.0L},
    {"1 w vertical", 5.0L},
}};

constexpr std::array<LowGainRow, 3> kBeams{{
    {"3el 14 MHz", 6.5L},
    {"3el 21 MHz", 7.0L},
    {"3el 28 MHz", 8.0L},
}};

template <size_t N>
bool Row(const std::array<LowGainRow, N>& table, int index, const char** caption, Real* gainDbi) {
  if (index < 0 || static_cast<size_t>(index) >= N) return false;
  const LowGainRow& row = table[static_cast<size_t>(index)];
  if (caption != nullptr) *caption = row.caption;
  if (gainDbi != nullptr) *gainDbi = row.gainDbi;
  return true;
}

}  // namespace

void ComputeDishGain(StationState& s) {
  s.DishDiameterCopyCm = s.DishDiameterCm;
  const Real d = s.DishDiameterCopyCm / 100.0L;
  const Real lambda = 300.0L / s.FrequencyMHz;
  const Real aperture = kPi * d / lambda;
  const Real ratio = aperture * aperture * s.DishEfficiency;
  s.DishGainDbi = 10.0L * std::log10(ratio);
  s.DishGainDbd = s.DishGainDbi - kDishDbdOffset;
  s.DishBeamwidthDeg = 70.0L * lambda / d;
}

void UpdateYagiArray(StationState& s) {
  if (s.YagiStackStep >= 1 && s.YagiStackStep <= static_cast<Int>(kStacking.size())) {
    const StackRow& row = kStacking[static_cast<size_t>(s.YagiStackStep - 1)];
    s.YagiCount = row.count;
    s.YagiArrayGainDbi = s.YagiStackStep == 1 ? s.YagiGainDbi : s.YagiGainDbi + row.stackingGainDb;
  }
  s.YagiArrayGainDbd = s.YagiArrayGainDbi - kDishDbdOffset;
  s.YagiEBeamwidthDeg =
      std::sqrt(kHalfPowerBeamConstant / std::pow(10.0L, s.YagiArrayGainDbi / 10.0L));
  if (OneAndAHalfTimesArray(s.YagiCount)) {
    s.YagiHBeamwidthDeg = std::sqrt(
        kHalfPowerBeamConstant / std::pow(10.0L, (s.YagiArrayGainDbi - kHPlaneOffsetDb) / 10.0L));
  } else {
    s.YagiHBeamwidthDeg = s.YagiEBeamwidthDeg;
  }
}

bool VerticalRow(int index, const char** caption, Real* gainDbi) {
  return Row(kVerticals, index, caption, gainDbi);
}

bool BeamRow(int index, const char** caption, Real* gainDbi) {
  return Row(kBeams, index, caption, gainDbi);
}

bool UpdateLowGainAntenna(StationState& s) {
  if (!s.LowGainSelected) return false;
  if (s.DipoleSelected) {
    s.VerticalSelected = false;
    s.BeamSelected = false;
    s.LowGainDbi = kDipoleGainDbi;
  } else if (s.VerticalSelected) {
    s.DipoleSelected = false;
    s.BeamSelected = false;
    VerticalRow(s.VerticalLengthIndex, nullptr, &s.LowGainDbi);
  } else if (s.BeamSelected) {
    s.VerticalSelected = false;
    s.DipoleSelected = false;
    BeamRow(s.BeamBandIndex, nullptr, &s.LowGainDbi);
  }
  // The free-gain antenna keeps the gain it has.
  s.LowGainDbd = s.LowGainDbi - kLowGainDbdOffset;
  return true;
}

}  // namespace korrin
