// Where the exclusion zone of an antenna on a tower reaches the ground.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/Calc.h"
#include "ui/HeadlessPlatform.h"
#include "ui/NumberText.h"
#include "ui/TForm1.h"

namespace korrin {
namespace {

struct ClearanceCase {
  long double distance;
  int height;
  long double clearance;
};

class ClearanceTest : public ::testing::TestWithParam<ClearanceCase> {};

TEST_P(ClearanceTest, Clearance) {
  StationState s{};
  s.ExclusionDistanceM = GetParam().distance;
  s.TowerHeight = GetParam().height;
  UpdateGroundClearance(s);
  EXPECT_NEAR(static_cast<double>(s.TowerClearanceM), static_cast<double>(GetParam().clearance),
              1e-12);
}

INSTANTIATE_TEST_SUITE_P(Towers, ClearanceTest,
                         ::testing::Values(ClearanceCase{25.0L, 15, 20.0L},
                                           ClearanceCase{12.5L, 0, 12.5L},
                                           ClearanceCase{15.0L, 15, 0.0L},  // strictly greater
                                           ClearanceCase{10.0L, 30, 0.0L},
                                           ClearanceCase{0.0L, 0, 0.0L},
                                           ClearanceCase{30.5L, 30, std::sqrt(30.25L)}));

struct BarCase {
  long double clearance;
  int position;
};

class BarTest : public ::testing::TestWithParam<BarCase> {};

TEST_P(BarTest, WholeMetresHalvesToEven) {
  EXPECT_EQ(ClearanceBarPosition(GetParam().clearance), GetParam().position)
      << static_cast<double>(GetParam().clearance);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, BarTest,
    ::testing::Values(BarCase{20.0L, 20}, BarCase{12.5L, 12}, BarCase{13.5L, 14}, BarCase{0.5L, 0},
                      BarCase{0.0L, 0}, BarCase{39.5L, 40}, BarCase{55.0L, 40}, BarCase{1e30L, 40},
                      BarCase{std::numeric_limits<long double>::infinity(), 40},
                      BarCase{std::numeric_limits<long double>::quiet_NaN(), 0}));

class TowerWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form.FormActivate();
    form.HF_SelectClick();
  }
  void Height(int position) {
    form.Board()["TrackBar1"].position = position;
    form.TrackBar1Change();
  }
  const Control& At(const char* name) const { return form.Board().at(name); }
  const StationState& S() const { return form.State(); }

  HeadlessPlatform platform;
  TForm1 form{platform};
};

TEST_F(TowerWindowTest, TrackBarSetsTheHeightAndTheTexts) {
  EXPECT_TRUE(At("Panel8").visible);
  EXPECT_EQ(At("StaticText2").text, "0.00 Metres");  // start position 30: ground level
  EXPECT_EQ(At("StaticText1").text, "2.22 Metres");
  EXPECT_EQ(At("ProgressBar1").position, 2);

  Height(29);  // 1 m, still inside the 2.22 m zone
  EXPECT_EQ(S().TowerHeight, 1);
  EXPECT_EQ(
      At("StaticText1").text,
      FixedText(std::sqrt(S().ExclusionDistanceM * S().ExclusionDistanceM - 1), 18, 2) + " Metres");

  Height(15);  // 15 m: the zone stays above the ground
  EXPECT_EQ(S().TowerHeight, 15);
  EXPECT_EQ(S().TowerClearanceM, 0);
  EXPECT_EQ(At("StaticText1").text, "0.00 Metres");
  EXPECT_EQ(At("ProgressBar1").position, 0);

  form.Button2Click();
  EXPECT_EQ(At("StaticText2").text, "49.2 Feet");
  EXPECT_EQ(At("StaticText1").text, "0.0 Feet");
  Height(0);
  EXPECT_EQ(At("StaticText2").text, "98.4 Feet");
}

TEST_F(TowerWindowTest, FeetTextsAndMetreBar) {
  form.SHF_SelectClick();  // back to the 88.34 m dish zone
  Height(15);
  const long double clearance = std::sqrt(S().ExclusionDistanceM * S().ExclusionDistanceM - 225);
  EXPECT_NEAR(static_cast<double>(S().TowerClearanceM), static_cast<double>(clearance), 1e-12);
  EXPECT_EQ(At("StaticText1").text, "87.06 Metres");
  EXPECT_EQ(At("ProgressBar1").position, 40);
  form.Button2Click();
  EXPECT_EQ(At("StaticText1").text, FixedText(clearance * 3.28L, 18, 1) + " Feet");
  EXPECT_EQ(At("ProgressBar1").position, 40);
}

}  // namespace
}  // namespace korrin
