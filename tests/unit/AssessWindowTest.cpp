// The window's own standards in the assessment equal, bit for bit, what the
// window computes and shows when that standard is selected, for every
// antenna family on both sides of the band groups.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "assess/Assessment.h"
#include "ui/HeadlessPlatform.h"
#include "ui/TForm1.h"
#include "ui/ZoneText.h"

namespace korrin::assess {
namespace {

using Handler = void (TForm1::*)();

struct FamilyCase {
  const char* name;
  bool hfSide;
  std::function<void(TForm1&)> antenna;
  int hundreds = -1;  // the hundreds of watts, when changed
};

struct StandardCase {
  LimitSet set;
  Handler click;
};

const StandardCase kStandards[] = {
    {LimitSet::As2772, &TForm1::Panel75Click},
    {LimitSet::Arpansa2002, &TForm1::Panel77Click},
    {LimitSet::CalculatorFcc, &TForm1::Panel78Click},
};

void LowGain(TForm1& f, Handler which) {
  f.Panel85Click();
  (f.*which)();
}

class WindowStandardTest : public ::testing::TestWithParam<FamilyCase> {
 protected:
  void SetUp() override {
    form.FormActivate();
    const FamilyCase& c = GetParam();
    if (c.hfSide) {
      form.HF_SelectClick();
      form.Board()["TrackBar1"].position = 29;  // a 1 m tower: the zone reaches the ground
      form.TrackBar1Change();
    }
    c.antenna(form);
    if (c.hundreds >= 0) {
      form.Board()["RadioGroup4"].itemIndex = 0;
      form.Board()["RadioGroup5"].itemIndex = c.hundreds;
      form.RadioGroup4Click();
      form.RadioGroup5Click();
    }
  }

  HeadlessPlatform platform;
  TForm1 form{platform};
};

TEST_P(WindowStandardTest, FiguresEqualTheWindows) {
  const StationState before = form.State();
  const Assessment a = Assess(before);
  EXPECT_TRUE(SameStation(form.State(), before)) << "the assessment changed the station";

  for (const StandardCase& standard : kStandards) {
    SCOPED_TRACE(LimitSetId(standard.set));
    form.State() = before;
    (form.*standard.click)();
    const StationState& s = form.State();
    const ControlBoard& b = form.Board();
    const LimitEntry* e = a.Find(standard.set);
    ASSERT_NE(e, nullptr);
    ASSERT_TRUE(e->applies);
    EXPECT_EQ(*e->limitWm2, s.RadiationLimit);
    EXPECT_EQ(*e->exclusionM, s.ExclusionDistanceM);
    ASSERT_TRUE(e->zone.has_value());
    const ZoneTexts texts = ZoneText(*e->zone, s.MetricUnits, form.Locale());
    EXPECT_EQ(texts.first, b.at("Panel64").text);
    EXPECT_EQ(texts.second, b.at("Panel63").text);
    EXPECT_EQ(e->zone->secondShown, b.at("Panel63").visible);
    EXPECT_EQ(e->rangesM.size(), (e->zone->first == ZoneShown::First::Range ? 1u : 0u) +
                                     (b.at("Panel63").visible ? 1u : 0u));
    if (b.at("Panel63").visible) {
      EXPECT_EQ(e->rangesM.back().fromM, 0);
      EXPECT_EQ(e->rangesM.back().toM, s.FarFieldBoundaryM * s.SecondZoneOuter);
    }
    EXPECT_GE(*e->keepOutM, e->zone->LargestShownM());
    if (GetParam().hfSide) {
      ASSERT_TRUE(e->towerClearanceM.has_value());
      EXPECT_EQ(*e->towerClearanceM, s.TowerClearanceM);
      EXPECT_GT(*e->towerClearanceM, 0);  // the case reaches the ground
    } else {
      EXPECT_FALSE(e->towerClearanceM.has_value());
    }
    EXPECT_EQ(e->selected, standard.set == LimitSet::CalculatorFcc);  // the start-up standard
    EXPECT_EQ(e->source, EntrySource::Calculator);
    EXPECT_EQ(e->frequencyMHz, s.FrequencyMHz);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Families, WindowStandardTest,
    ::testing::Values(
        FamilyCase{"VhfDish", false, [](TForm1&) {}},
        FamilyCase{"VhfDishTwoRanges", false, [](TForm1&) {}, 5},
        FamilyCase{"VhfDishImperial", false, [](TForm1& f) { f.Button2Click(); }, 4},
        FamilyCase{"VhfYagi", false, [](TForm1& f) { f.Panel46Click(); }},
        FamilyCase{"VhfDipole", false, [](TForm1& f) { LowGain(f, &TForm1::Panel67Click); }},
        FamilyCase{"VhfVertical", false, [](TForm1& f) { LowGain(f, &TForm1::Panel68Click); }},
        FamilyCase{"VhfBeam", false, [](TForm1& f) { LowGain(f, &TForm1::Panel69Click); }},
        FamilyCase{"VhfVariable", false, [](TForm1& f) { LowGain(f, &TForm1::Panel80Click); }},
        FamilyCase{"HfDish", true, [](TForm1& f) { f.Panel45Click(); }},
        FamilyCase{"HfYagi", true, [](TForm1& f) { f.Panel46Click(); }},
        FamilyCase{"HfDipole", true, [](TForm1& f) { LowGain(f, &TForm1::Panel67Click); }},
        FamilyCase{"HfVertical", true, [](TForm1& f) { LowGain(f, &TForm1::Panel68Click); }},
        FamilyCase{"HfBeam", true, [](TForm1& f) { LowGain(f, &TForm1::Panel69Click); }},
        FamilyCase{"HfVariable", true, [](TForm1& f) { LowGain(f, &TForm1::Panel80Click); }},
        FamilyCase{"HfDipoleReflection", true,
                   [](TForm1& f) {
                     LowGain(f, &TForm1::Panel67Click);
                     f.GroundGainSelectClick();
                   }},
        FamilyCase{"HfDipoleImperial", true,
                   [](TForm1& f) {
                     LowGain(f, &TForm1::Panel67Click);
                     f.Button2Click();
                   }}),
    [](const ::testing::TestParamInfo<FamilyCase>& info) { return info.param.name; });

// A hand-set limit is assessed as the window holds it, beside the others.
TEST(HandSetLimitTest, EqualsTheWindowsVariedLimit) {
  HeadlessPlatform platform;
  TForm1 form(platform);
  form.FormActivate();
  form.Panel79Click();
  for (int i = 0; i < 7; ++i) form.RadUpDnDownClick();
  const Assessment a = Assess(form.State());
  // today's four, the calculator's three and the hand-set limit
  ASSERT_EQ(a.limits.size(), 8u);
  const LimitEntry* e = a.Selected();
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->set, LimitSet::HandSet);
  EXPECT_EQ(std::string(LimitSetId(e->set)), "hand-set");
  EXPECT_FALSE(e->averagingMinutes.has_value());
  EXPECT_EQ(*e->limitWm2, form.State().RadiationLimit);
  EXPECT_EQ(*e->exclusionM, form.State().ExclusionDistanceM);
  EXPECT_EQ(ZoneText(*e->zone, true, form.Locale()).first, form.Board().at("Panel64").text);
  // the window's standards are still there, none of them selected
  EXPECT_FALSE(a.Find(LimitSet::CalculatorFcc)->selected);
  EXPECT_EQ(*a.Find(LimitSet::CalculatorFcc)->limitWm2, 2.88L);
  EXPECT_EQ(e->source, EntrySource::Calculator);
  // and today's rules are not the window's to select
  for (LimitSet set : {LimitSet::FccGeneral, LimitSet::FccOccupational, LimitSet::Icnirp2020,
                       LimitSet::Icnirp2020Occupational}) {
    EXPECT_FALSE(a.Find(set)->selected) << LimitSetId(set);
  }
}

}  // namespace
}  // namespace korrin::assess
