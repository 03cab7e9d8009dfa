// The exclusion zone: far-field boundary and density, the dish's near-field
// scan, the zone texts and the zone group's layout.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "core/Calc.h"
#include "ui/HeadlessPlatform.h"
#include "ui/NumberText.h"
#include "ui/TForm1.h"

namespace korrin {
namespace {

void Power(TForm1& f, int thousands, int hundreds) {
  f.Board()["RadioGroup4"].itemIndex = thousands;
  f.Board()["RadioGroup5"].itemIndex = hundreds;
  f.RadioGroup4Click();
  f.RadioGroup5Click();
}

struct ZoneCase {
  const char* name;
  std::function<void(TForm1&)> setUp;
  const char* zone;  // Panel64
  bool farFieldShown;
};

class ZoneTest : public ::testing::TestWithParam<ZoneCase> {};

TEST_P(ZoneTest, ZoneText) {
  HeadlessPlatform platform;
  TForm1 form(platform);
  form.FormActivate();
  GetParam().setUp(form);
  const ControlBoard& b = form.Board();
  EXPECT_EQ(b.at("Panel64").text, GetParam().zone);
  EXPECT_FALSE(b.at("Panel63").visible);
  EXPECT_EQ(b.at("Panel64").top, 35);
  for (const char* name : {"Panel47", "Panel49", "Label7"}) {
    EXPECT_EQ(b.at(name).visible, GetParam().farFieldShown) << name;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Stations, ZoneTest,
    ::testing::Values(
        ZoneCase{"StartUp", [](TForm1&) {}, "88.34 Metres", true},
        ZoneCase{"Dish400W", [](TForm1& f) { Power(f, 0, 4); }, "18.25 to 36.78 Metres", true},
        ZoneCase{"Dish100W", [](TForm1& f) { Power(f, 0, 1); }, " No restriction", true},
        ZoneCase{"DishZeroPower", [](TForm1& f) { Power(f, 0, 0); }, " No restriction", true},
        ZoneCase{"Yagi", [](TForm1& f) { f.Panel46Click(); }, "19.17 Metres", false},
        ZoneCase{"YagiImperial",
                 [](TForm1& f) {
                   f.Panel46Click();
                   f.Button2Click();
                 },
                 "62.89 Feet", false},
        ZoneCase{"HfDipole", [](TForm1& f) { f.HF_SelectClick(); }, "2.22 Metres", false},
        ZoneCase{"HfDipoleGroundReflection",
                 [](TForm1& f) {
                   f.HF_SelectClick();
                   f.GroundGainSelectClick();
                 },
                 "5.69 Metres", false},
        // below 1 m the metric zone reads as no restriction, but 1.88 ft is shown
        ZoneCase{"HfDipole100W",
                 [](TForm1& f) {
                   f.HF_SelectClick();
                   Power(f, 0, 1);
                 },
                 " No restriction", false},
        ZoneCase{"HfDipole100WImperial",
                 [](TForm1& f) {
                   f.HF_SelectClick();
                   Power(f, 0, 1);
                   f.Button2Click();
                 },
                 "1.88 Feet", false}),
    [](const ::testing::TestParamInfo<ZoneCase>& info) { return info.param.name; });

class ExposureTest : public ::testing::Test {
 protected:
  void SetUp() override { form.FormActivate(); }
  const Control& At(const char* name) const { return form.Board().at(name); }
  const StationState& S() const { return form.State(); }

  HeadlessPlatform platform;
  TForm1 form{platform};
};

TEST_F(ExposureTest, StartUpFarField) {
  EXPECT_EQ(At("Panel47").text, "259.92 Metres");
  EXPECT_EQ(At("Panel49").text, "0.3327 W/sq M");
  // the first range opens near a third of the boundary and never closes
  EXPECT_EQ(S().FirstZoneOuter, 0);
  EXPECT_LE(S().SearchStepDelta, 0);
  EXPECT_GT(S().NearFieldDensityWm2, S().RadiationLimit);
  form.Button2Click();
  EXPECT_EQ(At("Panel47").text, "852.54 Feet");
  EXPECT_EQ(At("Panel64").text, "289.75 Feet");
}

TEST_F(ExposureTest, SecondRangeMovesTheFirstUp) {
  Power(form, 0, 5);
  ASSERT_NE(S().SecondZoneInner, 0);
  EXPECT_TRUE(At("Panel63").visible);
  EXPECT_EQ(At("Panel64").top, 62);
  const std::string unit = " Metres";
  const auto m = [&](long double fraction) {
    return FixedText(S().FarFieldBoundaryM * fraction, 18, 2);
  };
  EXPECT_EQ(At("Panel64").text, m(S().FirstZoneInner) + " to " + m(S().FirstZoneOuter) + unit);
  EXPECT_EQ(At("Panel63").text, "0.00 to " + m(S().SecondZoneOuter) + unit);
  // each recorded edge is a crossing of the limit
  const auto density = [&](long double delta) {
    return S().FarFieldDensityWm2 * NearFieldFactorAt(delta);
  };
  EXPECT_GT(density(S().FirstZoneOuter), S().RadiationLimit);
  EXPECT_LT(density(S().FirstZoneOuter + 0.0001L), S().RadiationLimit);
  EXPECT_LT(density(S().FirstZoneInner), S().RadiationLimit);
  EXPECT_GT(density(S().FirstZoneInner + 0.0001L), S().RadiationLimit);
  EXPECT_GT(density(S().SecondZoneOuter), S().RadiationLimit);
  EXPECT_LT(density(S().SecondZoneInner), S().RadiationLimit);

  // another antenna leaves the scan alone and hides the second range
  const StationState dish = S();
  form.Panel46Click();
  EXPECT_FALSE(At("Panel63").visible);
  EXPECT_EQ(At("Panel64").top, 35);
  EXPECT_EQ(S().FirstZoneInner, dish.FirstZoneInner);
  EXPECT_EQ(S().FirstZoneOuter, dish.FirstZoneOuter);
  EXPECT_EQ(S().SecondZoneInner, dish.SecondZoneInner);
  EXPECT_EQ(S().SecondZoneOuter, dish.SecondZoneOuter);
  EXPECT_EQ(S().NearFieldDensityWm2, dish.NearFieldDensityWm2);
}

TEST_F(ExposureTest, HighFarFieldDensityShowsTheFarFieldDistance) {
  form.Board()["RadioGroup1"].itemIndex = 5;  // 1296 MHz, FCC 8.64 W/m^2
  form.RadioGroup1Click();
  for (int i = 0; i < 70; ++i) form.SpinButton1DownClick();  // 2.5 m dish
  ASSERT_GE(S().FarFieldDensityWm2, 2.0L);
  ASSERT_LT(S().ExclusionDistanceM, S().FarFieldBoundaryM);
  EXPECT_EQ(At("Panel64").text, FixedText(S().ExclusionDistanceM, 18, 2) + " Metres");
}

TEST_F(ExposureTest, GroundReflectionCountsTwiceOnlyForLowGainAntennas) {
  const long double dish = S().ExclusionDistanceM;
  form.GroundGainSelectClick();
  EXPECT_EQ(At("GroundGainSelect").color, Colour::Red);
  EXPECT_NEAR(static_cast<double>(S().ExclusionDistanceM / dish), 1.6, 1e-12);
  form.GroundGainSelectClick();
  EXPECT_EQ(At("GroundGainSelect").color, Colour::ButtonFace);

  form.HF_SelectClick();
  const long double dipole = S().ExclusionDistanceM;
  form.GroundGainSelectClick();
  EXPECT_NEAR(static_cast<double>(S().ExclusionDistanceM / dipole), 2.56, 1e-12);
  EXPECT_EQ(At("Panel20").text, "3840 Watts");  // the display keeps one factor
}

// A density exactly at the limit ends both passes at that point without
// recording an edge; the edges keep the values of the previous scan.
TEST(NearFieldScanTest, DensityAtTheLimitEndsThePasses) {
  StationState s{};
  s.FarFieldDensityWm2 = 1.0L;
  s.RadiationLimit = NearFieldFactorAt(1.0L);
  s.FirstZoneInner = 0.25L;
  s.FirstZoneOuter = 0.5L;
  s.SecondZoneInner = 0.05L;
  s.SecondZoneOuter = 0.1L;
  s.FirstZoneOpen = true;
  ScanNearField(s);
  EXPECT_EQ(s.SearchStepDelta, 1.0L);
  EXPECT_EQ(s.NearFieldDensityWm2, s.RadiationLimit);
  EXPECT_EQ(s.FirstZoneInner, 0.25L);
  EXPECT_EQ(s.FirstZoneOuter, 0.5L);
  EXPECT_EQ(s.SecondZoneInner, 0.05L);
  EXPECT_EQ(s.SecondZoneOuter, 0.1L);
  EXPECT_FALSE(s.FirstZoneOpen);
}

// The table every scan shares gives the figures of a scan that computes
// each factor, whatever the density and the limit: limits between the
// factors, at a factor itself (a density exactly at the limit, deep in a
// pass), at a block's extremes and beyond them, and with the zones open or
// closed before the scan.
TEST(NearFieldScanTest, TheSharedTableGivesTheComputedScansFigures) {
  // The factors at the scan's own steps, as a scan reaches them.
  std::vector<Real> factors;
  for (Real d = 1.0L; d > 0; d -= 0.0001L) factors.push_back(NearFieldFactorAt(d));
  const NearFieldSteps steps;
  ASSERT_EQ(steps.Computed(), factors.size());

  std::vector<Real> ratios;  // limit over far-field density
  for (Real r = 1e-3L; r < 40; r *= 1.37L) ratios.push_back(r);
  for (std::size_t k : {0u, 1u, 63u, 64u, 65u, 127u, 500u, 3001u, 6400u, 9999u}) {
    if (k < factors.size()) ratios.push_back(factors[k]);
  }
  ratios.push_back(*std::max_element(factors.begin(), factors.end()));
  ratios.push_back(*std::min_element(factors.begin(), factors.end()));
  ratios.push_back(*std::max_element(factors.begin() + 64, factors.begin() + 128));
  ratios.push_back(*std::min_element(factors.begin() + 128, factors.begin() + 192));

  int checked = 0;
  for (Real farField : {1.0L, 3.7L, 0.0L}) {
    for (Real ratio : ratios) {
      for (bool open : {false, true}) {
        StationState computed{};
        computed.FarFieldDensityWm2 = farField;
        computed.RadiationLimit = farField > 0 ? farField * ratio : ratio;
        computed.NearFieldFactor = 0.5L;
        computed.NearFieldDensityWm2 = 0.5L * farField;
        computed.FirstZoneInner = 0.25L;
        computed.FirstZoneOuter = 0.5L;
        computed.SecondZoneInner = 0.05L;
        computed.SecondZoneOuter = 0.1L;
        computed.FirstZoneOpen = open;
        computed.SecondZoneOpen = open;
        StationState shared = computed;
        ScanNearField(computed);
        ScanNearField(shared, steps);
        SCOPED_TRACE(testing::Message() << "far field " << static_cast<double>(farField)
                                        << ", limit " << static_cast<double>(ratio));
        EXPECT_EQ(shared.SearchStepDelta, computed.SearchStepDelta);
        EXPECT_EQ(shared.NearFieldFactor, computed.NearFieldFactor);
        EXPECT_EQ(shared.NearFieldDensityWm2, computed.NearFieldDensityWm2);
        EXPECT_EQ(shared.FirstZoneInner, computed.FirstZoneInner);
        EXPECT_EQ(shared.FirstZoneOuter, computed.FirstZoneOuter);
        EXPECT_EQ(shared.FirstZoneOpen, computed.FirstZoneOpen);
        EXPECT_EQ(shared.SecondZoneInner, computed.SecondZoneInner);
        EXPECT_EQ(shared.SecondZoneOuter, computed.SecondZoneOuter);
        EXPECT_EQ(shared.SecondZoneOpen, computed.SecondZoneOpen);
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 100);
}

TEST(NearFieldScanTest, ModelShape) {
  EXPECT_NEAR(static_cast<double>(NearFieldFactorAt(1.0L)), 0.998, 0.0005);
  EXPECT_NEAR(static_cast<double>(NearFieldFactorAt(1e-6L)), 26.1, 0.001);
  EXPECT_NEAR(static_cast<double>(NearFieldFactorAt(10.0L)), 0.01, 0.0001);  // 1 / delta^2
}

}  // namespace
}  // namespace korrin
