// The engine's fields as the near field reads and scales them, against
// physics known in closed form: a short dipole's near fields, a half-wave
// dipole's impedance, resonance and far field, the calculator's far-field
// estimate, and the image in a perfect ground.  These run nec2c; without
// it they fail.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "assess/Assessment.h"
#include "nearfield/NearField.h"
#include "nearfield/Presets.h"
#include "tests/unit/NearFieldTestSupport.h"
#include "ui/HeadlessPlatform.h"
#include "ui/TForm1.h"

namespace korrin::nearfield {
namespace {

using support::PointBlock;
using support::RunOn;
using support::StructureOf;

constexpr Real kMHz = 14.2L;
constexpr Real kRadiusM = 0.001L;
const Real kLambda = WavelengthM(kMHz);

// ---- a short dipole (0.1 wavelength, free space) ---------------------------

// Broadside from 0.1 to 2 wavelengths, E and H scaled to 100 W against the
// exact fields of the same length with a triangular current radiating the
// same power.  2 %: the program's 5 segments give the current's shape to
// about 1 % at 0.1 wavelength; a point dipole would be 18 % off there, and
// peak amplitudes taken for RMS 41 % off.
TEST(ShortDipoleTest, FieldsMatchTheTriangularCurrentWithinTwoPercent) {
  const Real length = 0.1L * kLambda;
  const Structure s = StructureOf(DipolePreset(kMHz, 0, length, kRadiusM, FreeSpace()), kMHz);
  const std::vector<Real> distances = {0.1L, 0.2L, 0.3L, 0.5L, 1.0L, 2.0L};  // wavelengths
  std::vector<FieldBlock> blocks;
  blocks.reserve(distances.size());
  for (Real d : distances) blocks.push_back(PointBlock({0, d * kLambda, 0}));
  const FieldRun run = RunOn(s, kMHz, blocks);
  ASSERT_EQ(run.samples.size(), distances.size());
  constexpr double kPowerW = 100;
  for (size_t n = 0; n < distances.size(); ++n) {
    const auto ref =
        support::TriangularDipoleBroadside(static_cast<double>(kMHz), static_cast<double>(length),
                                           kPowerW, static_cast<double>(distances[n] * kLambda));
    const FieldSample& got = run.samples[n][0];
    const double e = std::sqrt(got.e2 * kPowerW);
    const double h = std::sqrt(got.h2 * kPowerW);
    EXPECT_NEAR(e / ref.eVPerM, 1.0, 0.02)
        << static_cast<double>(distances[n]) << " wavelengths: E " << e << " V/m against "
        << ref.eVPerM;
    EXPECT_NEAR(h / ref.hAPerM, 1.0, 0.02)
        << static_cast<double>(distances[n]) << " wavelengths: H " << h << " A/m against "
        << ref.hAPerM;
  }
}

// ---- a half-wave dipole in free space ----------------------------------------

struct RadiusCase {
  Real radiusM;
};

std::complex<Real> ImpedanceOf(Real lengthM, Real radiusM) {
  const Structure s = StructureOf(DipolePreset(kMHz, 0, lengthM, radiusM, FreeSpace()), kMHz);
  const FieldRun run = RunOn(s, kMHz, {});
  return run.output.sources.empty() ? std::complex<Real>{} : run.output.sources[0].impedanceOhm;
}

// Exactly half a wave: 73 + j42.5 ohm is the infinitely thin limit; a wire
// of finite radius lies above it in both parts, and more so the thicker it
// is.  From 4.7e-6 to 1.4e-3 wavelengths of radius.
TEST(HalfWaveDipoleTest, ImpedanceRisesWithTheRadiusWithinItsBounds) {
  const std::vector<Real> radii = {0.0001L, 0.001L, 0.01L, 0.03L};
  std::complex<Real> previous{0, 0};
  for (Real r : radii) {
    const std::complex<Real> z = ImpedanceOf(kLambda / 2, r);
    const double radiusMm = static_cast<double>(r * 1000);
    EXPECT_GT(z.real(), 73.0L) << radiusMm << " mm";
    EXPECT_LT(z.real(), 90.0L) << radiusMm << " mm";
    EXPECT_GT(z.imag(), 40.0L) << radiusMm << " mm";
    EXPECT_LT(z.imag(), 52.0L) << radiusMm << " mm";
    EXPECT_GT(z.real(), previous.real()) << radiusMm << " mm";
    EXPECT_GT(z.imag(), previous.imag()) << radiusMm << " mm";
    previous = z;
  }
}

// The length at which the reactance vanishes, by bisection on the engine's
// own figures: shorter than half a wave, by 2 to 8 %.
TEST(HalfWaveDipoleTest, ReactanceVanishesBetween046And049Wavelengths) {
  Real lo = 0.44L;
  Real hi = 0.50L;
  ASSERT_LT(ImpedanceOf(lo * kLambda, kRadiusM).imag(), 0);
  ASSERT_GT(ImpedanceOf(hi * kLambda, kRadiusM).imag(), 0);
  for (int n = 0; n < 8; ++n) {
    const Real mid = (lo + hi) / 2;
    (ImpedanceOf(mid * kLambda, kRadiusM).imag() < 0 ? lo : hi) = mid;
  }
  EXPECT_GT(lo, 0.46L);
  EXPECT_LT(hi, 0.49L);
}

// E at 10 wavelengths broadside: sqrt(30 P G) / R with G = 1.64 (2.15 dBi).
// 3 %: the model's own gain differs from 1.64 by its finite radius and
// segments (under 1 %), and 10 wavelengths are not quite infinity.
TEST(HalfWaveDipoleTest, FarFieldAtTenWavelengths) {
  const Structure s = StructureOf(DipolePreset(kMHz, 0, std::nullopt, kRadiusM, FreeSpace()), kMHz);
  const Real r = 10 * kLambda;
  const FieldRun run = RunOn(s, kMHz, {PointBlock({0, r, 0})});
  ASSERT_EQ(run.samples.size(), 1u);
  constexpr double kPowerW = 1000;
  const double e = std::sqrt(run.samples[0][0].e2 * kPowerW);
  const double expected = std::sqrt(30.0 * kPowerW * 1.64) / static_cast<double>(r);
  EXPECT_NEAR(e / expected, 1.0, 0.03) << e << " V/m against " << expected;
}

// From 3 to 10 wavelengths broadside the exposure against the FCC general
// limits agrees with the calculator's far-field estimate of the same
// half-wave dipole (its density over the density limit, without ground
// reflection) within 10 %: the estimate takes 2.0 dBi where the model has
// 2.15, and the near field's terms are below 0.3 % there.
TEST(HalfWaveDipoleTest, ExposureAgreesWithTheFarFieldEstimate) {
  HeadlessPlatform platform;
  TForm1 form(platform);
  form.FormActivate();
  form.HF_SelectClick();
  const StationState& station = form.State();
  ASSERT_FALSE(station.GroundReflection);
  const Real frequency = station.FrequencyMHz;
  const Real power = station.FeedPowerW * station.OverallDutyFactor;
  const auto densityLimit = assess::LimitAtFrequency(assess::LimitSet::FccGeneral, frequency);
  const auto fieldLimit =
      FieldLimitAt(LimitSet::Fcc, Tier::General, LimitKind::WholeBody, frequency);
  ASSERT_TRUE(densityLimit && fieldLimit);

  const Real lambda = WavelengthM(frequency);
  const Structure s =
      StructureOf(DipolePreset(frequency, 0, std::nullopt, kRadiusM, FreeSpace()), frequency);
  const std::vector<Real> distances = {3, 4, 6, 8, 10};
  std::vector<FieldBlock> blocks;
  blocks.reserve(distances.size());
  for (Real d : distances) blocks.push_back(PointBlock({0, d * lambda, 0}));
  const FieldRun run = RunOn(s, frequency, blocks);
  ASSERT_EQ(run.samples.size(), distances.size());
  for (size_t n = 0; n < distances.size(); ++n) {
    const double exposure = ExposureAt(run.samples[n][0], power, *fieldLimit);
    const Real estimate = assess::DensityAlongBeam(station, distances[n] * lambda) / *densityLimit;
    EXPECT_NEAR(exposure / static_cast<double>(estimate), 1.0, 0.10)
        << static_cast<double>(distances[n]) << " wavelengths";
  }
}

// ---- the image in a perfect ground -------------------------------------------

enum class Field { E, H };
enum class Axis { X, Y, Z };

struct Component {
  Field field;
  Axis axis;
};

struct ImageCase {
  const char* name;
  bool vertical;  // else along x
  Point at;       // on the ground, in wavelengths
  std::vector<Component> doubled;
  std::vector<Component> vanishing;
};

double MagnitudeOf(const FieldRun& run, const Component& c) {
  const FieldPoint& p = run.output.fields[c.field == Field::E ? 0 : 1].points[0];
  return c.axis == Axis::X ? p.mx : (c.axis == Axis::Y ? p.my : p.mz);
}

class ImageTest : public ::testing::TestWithParam<ImageCase> {};

// A short dipole (0.1 wavelength) with its middle a quarter wave above the
// ground.  On the ground's surface the image doubles the field components
// the surface keeps (normal E, tangential H) and cancels the others, for
// the same current: per ampere at the feed, against the same dipole in free
// space.  2 %: the image's coupling changes the short dipole's current
// shape by less.
TEST_P(ImageTest, DoublesAndCancelsOnTheGround) {
  const ImageCase& c = GetParam();
  const Real length = 0.1L * kLambda;
  const Real h = 0.25L * kLambda;
  auto model = [&](const Ground& g) {
    WireModel m;
    m.ground = g;
    m.wires = {c.vertical ? Wire{{0, 0, h - length / 2}, {0, 0, h + length / 2}, kRadiusM}
                          : Wire{{-length / 2, 0, h}, {length / 2, 0, h}, kRadiusM}};
    const BuiltStructure b = BuildStructure(m, kMHz);
    EXPECT_TRUE(b.structure);
    return b.structure.value_or(Structure{});
  };
  const Point at = kLambda * c.at;
  const FieldRun over = RunOn(model(PerfectGround()), kMHz, {PointBlock(at)});
  const FieldRun free = RunOn(model(FreeSpace()), kMHz, {PointBlock(at)});
  ASSERT_EQ(over.output.fields.size(), 2u);
  ASSERT_EQ(free.output.fields.size(), 2u);
  const double iOver = static_cast<double>(std::abs(over.output.sources.at(0).currentA));
  const double iFree = static_cast<double>(std::abs(free.output.sources.at(0).currentA));
  for (const Component& d : c.doubled) {
    const double ratio = (MagnitudeOf(over, d) / iOver) / (MagnitudeOf(free, d) / iFree);
    EXPECT_NEAR(ratio, 2.0, 0.04) << (d.field == Field::E ? "E" : "H") << static_cast<int>(d.axis);
  }
  const double reference = MagnitudeOf(over, c.doubled[0]);
  for (const Component& v : c.vanishing) {
    EXPECT_LT(MagnitudeOf(over, v), 1e-3 * reference)
        << (v.field == Field::E ? "E" : "H") << static_cast<int>(v.axis);
  }
}

INSTANTIATE_TEST_SUITE_P(
    OnTheSurface, ImageTest,
    ::testing::Values(ImageCase{"VerticalNear",
                                true,
                                {0.3L, 0, 0},
                                {{Field::E, Axis::Z}, {Field::H, Axis::Y}},
                                {{Field::E, Axis::X}, {Field::H, Axis::X}, {Field::H, Axis::Z}}},
                      ImageCase{"VerticalFar",
                                true,
                                {1.0L, 0, 0},
                                {{Field::E, Axis::Z}, {Field::H, Axis::Y}},
                                {{Field::E, Axis::X}}},
                      ImageCase{"HorizontalBroadside",
                                false,
                                {0, 0.4L, 0},
                                {{Field::H, Axis::Y}},
                                {{Field::E, Axis::X}, {Field::E, Axis::Y}, {Field::H, Axis::Z}}},
                      ImageCase{"HorizontalOblique",
                                false,
                                {0.3L, 0.5L, 0},
                                {{Field::E, Axis::Z}, {Field::H, Axis::Y}},
                                {{Field::E, Axis::X}, {Field::E, Axis::Y}, {Field::H, Axis::Z}}}),
    [](const ::testing::TestParamInfo<ImageCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korrin::nearfield
