// One recalculation for every limit: a station recalculated once, then given
// another standard or limit and only its limit's figures derived anew (the
// dish's scan from factors shared by every limit), equals the whole cycle
// run on the station with that limit, field for field.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Calc.h"
#include "ui/HeadlessPlatform.h"
#include "ui/TForm1.h"

namespace korrin {
namespace {

void Power(TForm1& f, int thousands, int hundreds) {
  f.Board()["RadioGroup4"].itemIndex = thousands;
  f.Board()["RadioGroup5"].itemIndex = hundreds;
  f.RadioGroup4Click();
  f.RadioGroup5Click();
}

void Band(TForm1& f, int item) {
  f.Board()["RadioGroup1"].itemIndex = item;
  f.RadioGroup1Click();
}

struct Station {
  const char* name;
  std::function<void(TForm1&)> setUp;
};

// One way of putting a limit in force on a station.
struct Limit {
  std::string name;
  std::function<void(StationState&)> apply;
};

void Standard(StationState& s, bool as2772, bool arpansa, bool fcc) {
  s.StandardAS2772 = as2772;
  s.StandardARPANSA = arpansa;
  s.StandardFCC = fcc;
  s.StandardVariable = false;
}

Limit Fixed(Real wm2) {
  return {"fixed " + std::to_string(double(wm2)), [wm2](StationState& s) {
            Standard(s, false, false, false);
            s.StandardVariable = true;
            s.RadiationLimit = wm2;
          }};
}

// The density the dish's scan meets at its step `step`: a limit exactly
// there ends a pass without an edge, so the edges the station held before
// decide what the zone shows.
Limit AtScanStep(const StationState& recalculated, int step) {
  Real delta = 1.0L;
  for (int i = 0; i < step; ++i) delta -= 0.0001L;
  Limit limit = Fixed(recalculated.FarFieldDensityWm2 * NearFieldFactorAt(delta));
  limit.name = "at the scan's step " + std::to_string(step);
  return limit;
}

std::vector<Limit> Limits(const StationState& recalculated) {
  std::vector<Limit> limits{
      {"AS2772", [](StationState& s) { Standard(s, true, false, false); }},
      {"ARPANSA", [](StationState& s) { Standard(s, false, true, false); }},
      {"FCC", [](StationState& s) { Standard(s, false, false, true); }},
      // Above everywhere, above only close in, two ranges, never above.
      Fixed(0.01L),
      Fixed(2.0L),
      Fixed(8.0L),
      Fixed(14.4L),
      Fixed(1000.0L),
  };
  // Without power every density is 0: a limit of 0 is no limit.
  if (recalculated.FarFieldDensityWm2 > 0) {
    limits.push_back(AtScanStep(recalculated, 0));
    limits.push_back(AtScanStep(recalculated, 3000));
  }
  return limits;
}

struct Field {
  const char* name;
  Real value;
};

std::vector<Field> Fields(const StationState& s) {
  std::vector<Field> fields;
  ForEachStationField(s, [&fields](const char* name, const auto& value) {
    fields.push_back({name, static_cast<Real>(value)});
  });
  return fields;
}

class LimitRecalculationTest : public ::testing::TestWithParam<Station> {};

TEST_P(LimitRecalculationTest, EqualsTheWholeCycleUnderEveryLimit) {
  HeadlessPlatform platform;
  TForm1 form(platform);
  form.FormActivate();
  GetParam().setUp(form);
  const StationState& station = form.State();
  StationState recalculated = station;
  Recalculate(recalculated);
  ASSERT_TRUE(SameStation(recalculated, station)) << "the window holds the cycle's station";

  for (const Limit& limit : Limits(recalculated)) {
    StationState whole = station;
    limit.apply(whole);
    Recalculate(whole);

    StationState derived = recalculated;
    limit.apply(derived);
    RecalculateLimit(derived);
    EXPECT_TRUE(SameStation(derived, whole)) << limit.name;
    EXPECT_EQ(derived.ExclusionDistanceM, whole.ExclusionDistanceM) << limit.name;
    EXPECT_EQ(derived.FirstZoneOuter, whole.FirstZoneOuter) << limit.name;
    EXPECT_EQ(derived.SecondZoneInner, whole.SecondZoneInner) << limit.name;
    EXPECT_EQ(derived.TowerClearanceM, whole.TowerClearanceM) << limit.name;
  }
}

// The cycle without its moon-bounce stage derives every other field as the
// whole cycle does, from inputs the station did not have before.
TEST_P(LimitRecalculationTest, TheExposureCycleDerivesEveryExposureField) {
  HeadlessPlatform platform;
  TForm1 form(platform);
  form.FormActivate();
  GetParam().setUp(form);
  StationState changed = form.State();
  changed.PowerHundreds += 200;
  changed.FeedLossDb += 0.7L;
  changed.GroundReflection = !changed.GroundReflection;

  StationState whole = changed;
  Recalculate(whole);
  StationState exposure = changed;
  RecalculateExposure(exposure);
  ASSERT_FALSE(SameStation(whole, form.State())) << "the inputs changed the figures";

  // Every field but the moon-bounce system's (its section of the station,
  // and the peak EIRP of its echo budget) is the whole cycle's.
  const std::vector<Field> w = Fields(whole);
  const std::vector<Field> e = Fields(exposure);
  ASSERT_EQ(w.size(), e.size());
  bool moonBounce = false;
  std::vector<std::string> differing;
  for (size_t i = 0; i < w.size(); ++i) {
    const std::string_view name = w[i].name;
    if (name == "PathLoss") moonBounce = true;
    if (!moonBounce && name != "PeakEirpW" && !(w[i].value == e[i].value)) {
      differing.emplace_back(name);
    }
    if (name == "ColdSkyGroundYDb") moonBounce = false;
  }
  EXPECT_TRUE(differing.empty()) << differing.front();
}

INSTANTIATE_TEST_SUITE_P(
    Stations, LimitRecalculationTest,
    ::testing::Values(Station{"StartUpDish", [](TForm1&) {}},
                      Station{"Dish400W", [](TForm1& f) { Power(f, 0, 4); }},
                      Station{"Dish500WTwoRanges", [](TForm1& f) { Power(f, 0, 5); }},
                      Station{"DishZeroPower", [](TForm1& f) { Power(f, 0, 0); }},
                      Station{"Dish1296", [](TForm1& f) { Band(f, 5); }},
                      Station{"DishImperial", [](TForm1& f) { f.Button2Click(); }},
                      Station{"Yagi144",
                              [](TForm1& f) {
                                Band(f, 1);
                                f.Panel46Click();
                              }},
                      Station{"HfDipole", [](TForm1& f) { f.HF_SelectClick(); }},
                      Station{"HfDipoleOnTowerWithReflection",
                              [](TForm1& f) {
                                f.HF_SelectClick();
                                f.GroundGainSelectClick();
                                f.Board()["TrackBar1"].position = 20;
                                f.TrackBar1Change();
                              }},
                      Station{"HfDishSide",
                              [](TForm1& f) {
                                f.HF_SelectClick();
                                f.Panel45Click();
                              }}),
    [](const ::testing::TestParamInfo<Station>& info) { return info.param.name; });

}  // namespace
}  // namespace korrin
