// The station record's layout and the station files, without the window.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <limits>

#include <sys/stat.h>

#include "io/Extended80.h"
#include "io/StationFile.h"
#include "io/StationRecord.h"
#include "tests/unit/StationFileTestSupport.h"

namespace korrin {
namespace {

using namespace testing_support;

// The stored fields in file order: reals from byte 0 in steps of 10, the
// integers from byte 232 in steps of 4, the flags from byte 276 in steps of 1.
constexpr Real StationState::*kRealOrder[] = {
    &StationState::FrequencyMHz,       &StationState::DishDiameterCopyCm,
    &StationState::DishDiameterCm,     &StationState::PathLoss,
    &StationState::DishEfficiency,     &StationState::LnaLossDb,
    &StationState::RxBandwidthHz,      &StationState::LnaNoiseFigureDb,
    &StationState::SkyTempK,           &StationState::LnaGainDb,
    &StationState::LnaRxLossDb,        &StationState::RxNoiseFigureDb,
    &StationState::SpilloverTempK,     &StationState::FeedLossDb,
    &StationState::ShfFeedLossDb,      &StationState::HfFeedLossDb,
    &StationState::MeshWireDiameterMm, &StationState::MeshSpacingMm,
    &StationState::FeedThroughExtraK,  &StationState::YagiGainDbi,
    &StationState::SolarFluxSfu,       &StationState::YagiCount,
    &StationState::MeshWireRadiusMm};
constexpr Int StationState::*kIntOrder[] = {
    &StationState::ModeIndex,      &StationState::AveragingIndex, &StationState::BeamBandIndex,
    &StationState::YagiStackStep,  &StationState::LimitStepCount, &StationState::HfBandIndex,
    &StationState::PowerThousands, &StationState::PowerHundreds,  &StationState::PowerTens,
    &StationState::PowerUnits,     &StationState::VhfBandIndex};
constexpr Flag StationState::*kFlagOrder[] = {
    &StationState::MetricUnits,          &StationState::GroundReflection,
    &StationState::DishSelected,         &StationState::DipoleSelected,
    &StationState::VerticalSelected,     &StationState::BeamSelected,
    &StationState::VariableGainSelected, &StationState::ShfBandsShown,
    &StationState::HfBandsShown,         &StationState::StandardAS2772,
    &StationState::StandardARPANSA,      &StationState::StandardFCC,
    &StationState::StandardVariable,     &StationState::IncrementMultiplier,
    &StationState::ReservedFlag1,        &StationState::SolidDish,
    &StationState::ReservedFlag3,        &StationState::ReservedFlag2,
    &StationState::ReservedFlag5,        &StationState::ReservedFlag4,
    &StationState::LowGainSelected};

// Every stored field of a station with distinct values lands at its offset,
// the reserved bytes are zero, and decoding gives every field back while
// leaving the fields the record does not hold alone.
TEST(StationRecordTest, EveryFieldAtItsOffset) {
  StationState s{};
  Real real = 1.25L;
  for (auto field : kRealOrder) s.*field = (real *= -3.5L);
  Int k = 0;
  for (auto field : kIntOrder) {
    ++k;
    s.*field = (k % 2 ? -1 : 1) * 0x01020304 * k;  // all four bytes differ
  }
  bool on = false;
  for (auto field : kFlagOrder) s.*field = (on = !on);

  const StationRecordBytes r = EncodeStationRecord(s);
  std::size_t offset = 0;
  for (auto field : kRealOrder) {
    Extended80Bytes b{};
    std::copy_n(r.begin() + static_cast<std::ptrdiff_t>(offset), 10, b.begin());
    EXPECT_EQ(DecodeExtended80(b).value, s.*field) << "offset " << offset;
    offset += 10;
  }
  EXPECT_EQ(r[230], 0);
  EXPECT_EQ(r[231], 0);
  offset = 232;
  for (auto field : kIntOrder) {
    const auto u = static_cast<std::uint32_t>(s.*field);
    for (std::size_t k = 0; k < 4; ++k) {
      EXPECT_EQ(r[offset + k], static_cast<std::uint8_t>(u >> (8 * k))) << "offset " << offset;
    }
    offset += 4;
  }
  for (auto field : kFlagOrder) EXPECT_EQ(r[offset++], s.*field ? 1 : 0) << "offset " << offset - 1;
  for (; offset < kStationRecordSize; ++offset) EXPECT_EQ(r[offset], 0) << "offset " << offset;

  StationState loaded{};
  loaded.TowerHeight = 17;
  loaded.RadiationLimit = 3.5L;
  loaded.YagiSelected = true;
  DecodeStationRecord(r, loaded);
  for (auto field : kRealOrder) EXPECT_EQ(loaded.*field, s.*field);
  for (auto field : kIntOrder) EXPECT_EQ(loaded.*field, s.*field);
  for (auto field : kFlagOrder) EXPECT_EQ(loaded.*field, s.*field);
  EXPECT_EQ(loaded.TowerHeight, 17);
  EXPECT_EQ(loaded.RadiationLimit, 3.5L);
  EXPECT_TRUE(loaded.YagiSelected);
}

TEST(StationRecordTest, StartUpValuesHaveTheirKnownBytes) {
  const StationRecordBytes r = EncodeStationRecord(SoundStation());
  const std::vector<std::uint8_t> frequency(r.begin(), r.begin() + 10);
  const std::vector<std::uint8_t> efficiency(r.begin() + 40, r.begin() + 50);
  EXPECT_EQ(frequency, (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0, 0, 0xD8, 0x07, 0x40}));
  EXPECT_EQ(efficiency, (std::vector<std::uint8_t>{0xCD, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0x8C,
                                                   0xFE, 0x3F}));
  EXPECT_EQ(CheckStationRecord(r), std::nullopt);
}

// The layout the checks and the record fuzzer read names the fields in the
// file's order at their offsets, and every byte of the record belongs to
// exactly one field or reserved span.
TEST(StationRecordTest, LayoutCoversEveryByteOnce) {
  std::array<int, kStationRecordSize> owners{};
  auto own = [&owners](std::size_t offset, std::size_t width) {
    for (std::size_t i = offset; i < offset + width && i < owners.size(); ++i) ++owners[i];
  };
  const auto reals = StationRecordReals();
  ASSERT_EQ(reals.size(), std::size(kRealOrder));
  for (std::size_t i = 0; i < reals.size(); ++i) {
    EXPECT_EQ(reals[i].offset, 10 * i) << reals[i].what;
    EXPECT_EQ(reals[i].field, kRealOrder[i]) << reals[i].what;
    EXPECT_LT(reals[i].least, reals[i].most) << reals[i].what;
    own(reals[i].offset, 10);
  }
  const auto ints = StationRecordInts();
  ASSERT_EQ(ints.size(), std::size(kIntOrder));
  for (std::size_t i = 0; i < ints.size(); ++i) {
    EXPECT_EQ(ints[i].offset, 232 + 4 * i) << ints[i].what;
    EXPECT_EQ(ints[i].field, kIntOrder[i]) << ints[i].what;
    EXPECT_LE(ints[i].least, ints[i].most) << ints[i].what;
    own(ints[i].offset, 4);
  }
  const auto flags = StationRecordFlags();
  ASSERT_EQ(flags.size(), std::size(kFlagOrder));
  for (std::size_t i = 0; i < flags.size(); ++i) {
    EXPECT_EQ(flags[i].offset, 276 + i) << flags[i].what;
    EXPECT_EQ(flags[i].field, kFlagOrder[i]) << flags[i].what;
    own(flags[i].offset, 1);
  }
  for (const RecordReserved& span : StationRecordReserved()) own(span.offset, span.size);
  for (std::size_t i = 0; i < owners.size(); ++i) EXPECT_EQ(owners[i], 1) << "byte " << i;
}

// Each real is accepted up to and including the ends of its range and
// refused one step beyond them, with the field named in the reason.  The
// mesh wire diameter and spacing move together in the accepted cases, so
// that their ratio stays acceptable while one of them is tried.
TEST(StationRecordTest, EveryRealAcceptedExactlyInsideItsRange) {
  constexpr long double kInf = std::numeric_limits<long double>::infinity();
  for (const RecordReal& f : StationRecordReals()) {
    const long double lowest =
        f.rule == RecordRealRule::AtLeastOne ? 1.0L : (f.least > 0 ? f.least : 0.0L);
    const bool zeroAllowed = f.rule == RecordRealRule::NonNegative;
    struct Case {
      long double value;
      bool accepted;
    };
    const Case cases[] = {
        {f.most, true},
        {std::nextafter(f.most, kInf), false},
        {lowest, lowest > 0 || zeroAllowed},
        {std::nextafter(lowest, -kInf), false},
        {0.0L, zeroAllowed},
        {-f.most, false},
        {kInf, false},
        {std::numeric_limits<long double>::quiet_NaN(), false},
    };
    for (const Case& c : cases) {
      StationState s = SoundStation();
      s.*f.field = c.value;
      if (c.accepted && f.field == &StationState::MeshWireDiameterMm) s.MeshSpacingMm = c.value;
      if (c.accepted && f.field == &StationState::MeshSpacingMm) s.MeshWireDiameterMm = c.value;
      const auto problem = CheckStationRecord(EncodeStationRecord(s));
      if (c.accepted) {
        EXPECT_EQ(problem, std::nullopt) << f.what << " = " << c.value;
      } else {
        ASSERT_NE(problem, std::nullopt) << f.what << " = " << c.value;
        EXPECT_NE(problem->find(f.what), std::string::npos) << *problem;
      }
    }
  }
}

struct ShapeCase {
  std::size_t records;  // whole records before the tail
  std::size_t tail;     // bytes after them
  const char* reason;   // part of the refusal, nullptr when the last record loads
};

class StationFileShapeTest : public ::testing::TestWithParam<ShapeCase> {};

// Contents and files give the last whole record, and nothing when there is
// none or the last one is cut short.
TEST_P(StationFileShapeTest, LastWholeRecordOrNothing) {
  const ShapeCase& c = GetParam();
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i < c.records; ++i) {
    StationState s = SoundStation();
    s.VhfBandIndex = static_cast<Int>(i);
    const StationRecordBytes r = EncodeStationRecord(s);
    bytes.insert(bytes.end(), r.begin(), r.end());
  }
  bytes.insert(bytes.end(), c.tail, std::uint8_t{0x5A});
  TempDir dir;
  WriteBytes(dir / "x.rsd", bytes);

  for (const StationFileRead& read :
       {ParseStationFileBytes(bytes.data(), bytes.size()), ReadStationFile(dir / "x.rsd")}) {
    if (c.reason == nullptr) {
      ASSERT_EQ(read.status, StationFileRead::Status::Loaded);
      StationState s{};
      DecodeStationRecord(read.record, s);
      EXPECT_EQ(s.VhfBandIndex, static_cast<Int>(c.records - 1));
    } else {
      EXPECT_EQ(read.status, StationFileRead::Status::Unusable);
      EXPECT_NE(read.reason.find(c.reason), std::string::npos) << read.reason;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, StationFileShapeTest,
    ::testing::Values(ShapeCase{1, 0, nullptr}, ShapeCase{2, 0, nullptr}, ShapeCase{3, 0, nullptr},
                      ShapeCase{0, 0, "empty"}, ShapeCase{0, 1, "shorter than one station record"},
                      ShapeCase{0, 303, "shorter than one station record (303 bytes"},
                      ShapeCase{1, 1, "incomplete station record (305 bytes"},
                      ShapeCase{2, 303, "incomplete station record"}));

TEST(StationFileTest, OnlyAMissingFileIsNotFound) {
  TempDir dir;
  EXPECT_EQ(ReadStationFile(dir / "none.rsd").status, StationFileRead::Status::CannotOpen);
  EXPECT_EQ(ReadStationFile(dir / "none/station.rsd").status, StationFileRead::Status::CannotOpen);
  EXPECT_EQ(ReadStationFile("*.rsd").status, StationFileRead::Status::CannotOpen);
}

struct NotAStationFileCase {
  const char* what;
  std::string path;
  const char* reason;
};

class StationFileNotAFileTest : public ::testing::TestWithParam<NotAStationFileCase> {};

// Something that is there but is no station file is told what it is, not
// "not found"; none of them blocks or reads without end.
TEST_P(StationFileNotAFileTest, SaysWhatIsWrongWithIt) {
  const NotAStationFileCase& c = GetParam();
  const StationFileRead read = ReadStationFile(c.path);
  EXPECT_EQ(read.status, StationFileRead::Status::Unusable) << c.what;
  EXPECT_NE(read.reason.find(c.reason), std::string::npos) << c.what << ": " << read.reason;
}

INSTANTIATE_TEST_SUITE_P(Cases, StationFileNotAFileTest,
                         ::testing::Values(NotAStationFileCase{"a device", "/dev/zero",
                                                               "not a regular file"},
                                           NotAStationFileCase{"a folder", "/", "a folder"}),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(StationFileTest, APipeIsRefusedWithoutWaitingForIt) {
  TempDir dir;
  const std::string path = dir / "fifo.rsd";
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  const StationFileRead read = ReadStationFile(path);
  EXPECT_EQ(read.status, StationFileRead::Status::Unusable);
  EXPECT_NE(read.reason.find("not a regular file"), std::string::npos) << read.reason;
}

TEST(StationFileTest, WriteReplacesTheWholeFileWithOneRecord) {
  TempDir dir;
  const std::string path = dir / "station.rsd";
  WriteBytes(path, std::vector<std::uint8_t>(1000, 0xEE));
  const StationRecordBytes r = EncodeStationRecord(SoundStation());
  EXPECT_EQ(WriteStationFile(path, r), std::nullopt);
  EXPECT_EQ(ReadBytes(path), Bytes(r));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

struct WriteFailureCase {
  const char* what;
  const char* target;  // inside the test folder
  bool targetIsFolder;
};

class StationFileWriteFailureTest : public ::testing::TestWithParam<WriteFailureCase> {};

// Runs as root in CI, so the failures are made without file permissions.
TEST_P(StationFileWriteFailureTest, ReportsAndKeepsTheOldFile) {
  const WriteFailureCase& c = GetParam();
  TempDir dir;
  const std::string path = dir / c.target;
  const std::vector<std::uint8_t> old(304, 0x11);
  if (c.targetIsFolder) {
    fs::create_directory(path);
  } else if (fs::exists(fs::path(path).parent_path())) {
    WriteBytes(path, old);
  }

  const auto error = WriteStationFile(path, EncodeStationRecord(SoundStation()));
  ASSERT_TRUE(error.has_value()) << c.what;
  EXPECT_FALSE(error->empty());
  if (c.targetIsFolder) {
    EXPECT_TRUE(fs::is_directory(path));
  } else if (fs::exists(fs::path(path).parent_path())) {
    EXPECT_EQ(ReadBytes(path), old) << c.what;
  } else {
    EXPECT_FALSE(fs::exists(path));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Failures, StationFileWriteFailureTest,
    ::testing::Values(WriteFailureCase{"folder missing", "none/station.rsd", false},
                      WriteFailureCase{"target is a folder", "station.rsd", true}));

}  // namespace
}  // namespace korrin
