#include "io/StationRecord.h"

#include <cmath>
#include <type_traits>

#include "core/Tables.h"
#include "io/Extended80.h"

namespace korrin {
namespace {

// What a stored real must be for the calculation to work with it.  Besides
// the rule, every real has a range far beyond any station (a dish of 100 km,
// a loss of 1000 dB) that keeps the powers of ten, logarithms and squares
// of the calculation finite.
using Rule = RecordRealRule;
using RealField = RecordReal;
using IntField = RecordInt;
using FlagField = RecordFlag;

constexpr long double kDbMost = 1000.0L;
constexpr long double kKelvinMost = 1e7L;

constexpr RealField kReals[] = {
    {0, &StationState::FrequencyMHz, "frequency", Rule::Positive, 1e-3L, 1e6L},
    {10, &StationState::DishDiameterCopyCm, "copy of the dish diameter", Rule::Positive, 1e-3L,
     1e7L},
    {20, &StationState::DishDiameterCm, "dish diameter", Rule::Positive, 1e-3L, 1e7L},
    {30, &StationState::PathLoss, "path loss", Rule::NonNegative, 0, kDbMost},
    {40, &StationState::DishEfficiency, "dish efficiency", Rule::Fraction, 1e-6L, 1},
    {50, &StationState::LnaLossDb, "loss ahead of the LNA", Rule::NonNegative, 0, kDbMost},
    {60, &StationState::RxBandwidthHz, "receiver bandwidth", Rule::Positive, 1e-3L, 1e12L},
    {70, &StationState::LnaNoiseFigureDb, "LNA noise figure", Rule::NonNegative, 0, kDbMost},
    {80, &StationState::SkyTempK, "sky temperature", Rule::NonNegative, 0, kKelvinMost},
    {90, &StationState::LnaGainDb, "LNA gain", Rule::NonNegative, 0, kDbMost},
    {100, &StationState::LnaRxLossDb, "loss between the LNA and the receiver", Rule::NonNegative, 0,
     kDbMost},
    {110, &StationState::RxNoiseFigureDb, "receiver noise figure", Rule::NonNegative, 0, kDbMost},
    {120, &StationState::SpilloverTempK, "spillover temperature", Rule::NonNegative, 0,
     kKelvinMost},
    {130, &StationState::FeedLossDb, "feed loss", Rule::NonNegative, 0, kDbMost},
    {140, &StationState::ShfFeedLossDb, "VHF-SHF feed loss", Rule::NonNegative, 0, kDbMost},
    {150, &StationState::HfFeedLossDb, "HF feed loss", Rule::NonNegative, 0, kDbMost},
    {160, &StationState::MeshWireDiameterMm, "mesh wire diameter", Rule::Positive, 1e-4L, 1e5L},
    {170, &StationState::MeshSpacingMm, "mesh spacing", Rule::Positive, 1e-4L, 1e5L},
    {180, &StationState::FeedThroughExtraK, "added feed-through temperature", Rule::NonNegative, 0,
     kKelvinMost},
    {190, &StationState::YagiGainDbi, "single yagi gain", Rule::NonNegative, 0, kDbMost},
    {200, &StationState::SolarFluxSfu, "solar flux", Rule::AtLeastOne, 1, kKelvinMost},
    {210, &StationState::YagiCount, "number of yagis", Rule::NonNegative, 0, 1e6L},
    {220, &StationState::MeshWireRadiusMm, "mesh wire radius", Rule::NonNegative, 0, 1e5L},
};

constexpr Int Last(std::size_t size) {
  return static_cast<Int>(size) - 1;
}

// A net count of clicks no one makes; keeps the step counter far from
// overflowing.
constexpr Int kLimitStepsMost = 10'000'000;

constexpr IntField kInts[] = {
    {232, &StationState::ModeIndex, "transmission mode", 0, Last(kModes.size())},
    {236, &StationState::AveragingIndex, "six-minute averaging", 0, Last(kAveraging.size())},
    {240, &StationState::BeamBandIndex, "band of the three-element beam", 0, 2},
    {244, &StationState::YagiStackStep, "yagi stacking step", 1, 15},
    {248, &StationState::LimitStepCount, "count of limit steps", -kLimitStepsMost, kLimitStepsMost},
    {252, &StationState::HfBandIndex, "HF band", 0, Last(kHfBands.size())},
    {256, &StationState::PowerThousands, "thousands digit of the power", 0, 9},
    {260, &StationState::PowerHundreds, "hundreds digit of the power", 0, 9},
    {264, &StationState::PowerTens, "tens digit of the power", 0, 9},
    {268, &StationState::PowerUnits, "units digit of the power", 0, 9},
    {272, &StationState::VhfBandIndex, "VHF-SHF band", 0, Last(kVhfBands.size())},
};

constexpr FlagField kFlags[] = {
    {276, &StationState::MetricUnits, "metric units"},
    {277, &StationState::GroundReflection, "ground reflection"},
    {278, &StationState::DishSelected, "dish selection"},
    {279, &StationState::DipoleSelected, "dipole selection"},
    {280, &StationState::VerticalSelected, "vertical selection"},
    {281, &StationState::BeamSelected, "beam selection"},
    {282, &StationState::VariableGainSelected, "variable gain selection"},
    {283, &StationState::ShfBandsShown, "VHF-SHF side"},
    {284, &StationState::HfBandsShown, "HF side"},
    {285, &StationState::StandardAS2772, "AS2772 standard"},
    {286, &StationState::StandardARPANSA, "ARPANSA standard"},
    {287, &StationState::StandardFCC, "FCC standard"},
    {288, &StationState::StandardVariable, "variable limit"},
    {289, &StationState::IncrementMultiplier, "increment multiplier"},
    {290, &StationState::ReservedFlag1, "first reserved"},
    {291, &StationState::SolidDish, "solid dish"},
    {292, &StationState::ReservedFlag3, "third reserved"},
    {293, &StationState::ReservedFlag2, "second reserved"},
    {294, &StationState::ReservedFlag5, "fifth reserved"},
    {295, &StationState::ReservedFlag4, "fourth reserved"},
    {296, &StationState::LowGainSelected, "low-gain selection"},
};

constexpr RecordReserved kReserved[] = {{230, 2}, {297, 7}};

Extended80Bytes RealBytes(const StationRecordBytes& r, std::size_t offset) {
  Extended80Bytes b{};
  for (std::size_t i = 0; i < b.size(); ++i) b[i] = r[offset + i];
  return b;
}

Int IntAt(const StationRecordBytes& r, std::size_t offset) {
  std::uint32_t u = 0;
  for (std::size_t i = 0; i < 4; ++i) u |= std::uint32_t{r[offset + i]} << (8 * i);
  return static_cast<Int>(u);  // two's complement
}

void PutInt(StationRecordBytes& r, std::size_t offset, Int value) {
  const auto u = static_cast<std::uint32_t>(value);
  for (std::size_t i = 0; i < 4; ++i) r[offset + i] = static_cast<std::uint8_t>(u >> (8 * i));
}

std::string The(const char* what) {
  return std::string("the ") + what;
}

std::optional<std::string> CheckReal(const RealField& f, const Extended80Value& v) {
  if (v.kind == Extended80Class::Invalid) return The(f.what) + " is not a valid number";
  if (!std::isfinite(v.value)) return The(f.what) + " is not a finite number";
  const long double x = v.value;
  switch (f.rule) {
    case Rule::Positive:
      if (x <= 0) return The(f.what) + " is not above 0";
      break;
    case Rule::NonNegative:
      if (x < 0) return The(f.what) + " is negative";
      break;
    case Rule::Fraction:
      if (x <= 0 || x > 1) return The(f.what) + " is not above 0 and at most 1";
      break;
    case Rule::AtLeastOne:
      if (x < 1) return The(f.what) + " is below 1";
      break;
  }
  if (x > f.most) return The(f.what) + " is too large to calculate with";
  if (x != 0 && x < f.least) return The(f.what) + " is too small to calculate with";
  return std::nullopt;
}

}  // namespace

StationRecordBytes EncodeStationRecord(const StationState& s) {
  StationRecordBytes r{};  // reserved bytes stay zero
  for (const RealField& f : kReals) {
    const Extended80Bytes b = EncodeExtended80(s.*f.field);
    for (std::size_t i = 0; i < b.size(); ++i) r[f.offset + i] = b[i];
  }
  for (const IntField& f : kInts) PutInt(r, f.offset, s.*f.field);
  for (const FlagField& f : kFlags) r[f.offset] = s.*f.field ? 1 : 0;
  return r;
}

std::optional<std::string> CheckStationRecord(const StationRecordBytes& r) {
  for (const RealField& f : kReals) {
    if (auto problem = CheckReal(f, DecodeExtended80(RealBytes(r, f.offset)))) return problem;
  }
  const long double wire = DecodeExtended80(RealBytes(r, 160)).value;
  const long double spacing = DecodeExtended80(RealBytes(r, 170)).value;
  // A mesh whose spacing is below a thousandth of its wire diameter has no
  // physical meaning, and its leakage model would overflow.
  if (wire / spacing > kMeshDiameterOverSpacingMost) {
    return std::string("the mesh spacing is too small for its wire diameter");
  }
  for (const IntField& f : kInts) {
    const Int v = IntAt(r, f.offset);
    if (v < f.least || v > f.most) {
      return The(f.what) + " (" + std::to_string(v) + ") is outside its range " +
             std::to_string(f.least) + " to " + std::to_string(f.most);
    }
  }
  for (const FlagField& f : kFlags) {
    if (r[f.offset] > 1) {
      return "the " + std::string(f.what) + " flag holds " + std::to_string(r[f.offset]) +
             " instead of 0 or 1";
    }
  }
  auto flag = [&r](std::size_t offset) { return r[offset] == 1; };
  if (flag(283) == flag(284)) return std::string("it does not name exactly one band side");
  if (flag(285) + flag(286) + flag(287) + flag(288) != 1) {
    return std::string("it does not name exactly one exposure standard");
  }
  if (flag(278) && flag(296)) {
    return std::string("it has both the dish and a low-gain antenna in use");
  }
  return std::nullopt;
}

void DecodeStationRecord(const StationRecordBytes& r, StationState& s) {
  for (const RealField& f : kReals) s.*f.field = DecodeExtended80(RealBytes(r, f.offset)).value;
  for (const IntField& f : kInts) s.*f.field = IntAt(r, f.offset);
  for (const FlagField& f : kFlags) s.*f.field = r[f.offset] != 0;
}

std::span<const RecordReal> StationRecordReals() {
  return kReals;
}

std::span<const RecordInt> StationRecordInts() {
  return kInts;
}

std::span<const RecordFlag> StationRecordFlags() {
  return kFlags;
}

std::span<const RecordReserved> StationRecordReserved() {
  return kReserved;
}

const char* FirstNonFiniteField(const StationState& s) {
  const char* found = nullptr;
  ForEachStationField(s, [&found](const char* name, const auto& field) {
    if constexpr (std::is_same_v<std::decay_t<decltype(field)>, Real>) {
      if (found == nullptr && !std::isfinite(field)) found = name;
    }
  });
  return found;
}

}  // namespace korrin
