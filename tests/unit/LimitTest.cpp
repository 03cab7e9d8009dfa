// The exposure limit by standard and frequency, the standard panels and the
// hand-varied limit.
#include <gtest/gtest.h>

#include <string>

#include "core/Calc.h"
#include "ui/HeadlessPlatform.h"
#include "ui/TForm1.h"

namespace korrin {
namespace {

enum class Standard { AS2772, ARPANSA, FCC };

struct LimitCase {
  Standard standard;
  long double frequencyMHz;
  long double limit;
};

class LimitTableTest : public ::testing::TestWithParam<LimitCase> {};

TEST_P(LimitTableTest, LimitAtFrequency) {
  const LimitCase& c = GetParam();
  StationState s{};
  s.StandardAS2772 = c.standard == Standard::AS2772;
  s.StandardARPANSA = c.standard == Standard::ARPANSA;
  s.StandardFCC = c.standard == Standard::FCC;
  s.FrequencyMHz = c.frequencyMHz;
  UpdateRadiationLimit(s);
  EXPECT_NEAR(static_cast<double>(s.RadiationLimit), static_cast<double>(c.limit),
              1e-12 * static_cast<double>(c.limit))
      << static_cast<double>(c.frequencyMHz) << " MHz";
}

INSTANTIATE_TEST_SUITE_P(
    Breakpoints, LimitTableTest,
    ::testing::Values(
        LimitCase{Standard::AS2772, 1.8L, 2.0L}, LimitCase{Standard::AS2772, 48000.0L, 2.0L},
        // ARPANSA: the upper row applies at each breakpoint
        LimitCase{Standard::ARPANSA, 0.5L, 20.0L}, LimitCase{Standard::ARPANSA, 1.0L, 20.0L},
        // each breakpoint where the pieces meet with a case on either side
        LimitCase{Standard::ARPANSA, 1.8L, 20.0L / 1.8L}, LimitCase{Standard::ARPANSA, 5.0L, 4.0L},
        LimitCase{Standard::ARPANSA, 10.0L, 2.0L}, LimitCase{Standard::ARPANSA, 14.2L, 2.0L},
        LimitCase{Standard::ARPANSA, 399.0L, 2.0L}, LimitCase{Standard::ARPANSA, 400.0L, 2.0L},
        LimitCase{Standard::ARPANSA, 432.0L, 2.16L}, LimitCase{Standard::ARPANSA, 1296.0L, 6.48L},
        LimitCase{Standard::ARPANSA, 1999.0L, 9.995L}, LimitCase{Standard::ARPANSA, 2000.0L, 10.0L},
        LimitCase{Standard::ARPANSA, 2304.0L, 10.0L},
        // FCC: a jump at 1.34 MHz, continuous elsewhere
        LimitCase{Standard::FCC, 1.3399L, 1000.0L},
        LimitCase{Standard::FCC, 1.34L, 1800.0L / 1.7956L},
        LimitCase{Standard::FCC, 14.2L, 1800.0L / (14.2L * 14.2L)},
        LimitCase{Standard::FCC, 28.0L, 1800.0L / (28.0L * 28.0L)},
        LimitCase{Standard::FCC, 30.0L, 2.0L}, LimitCase{Standard::FCC, 50.0L, 2.0L},
        LimitCase{Standard::FCC, 220.0L, 2.0L}, LimitCase{Standard::FCC, 300.0L, 2.0L},
        LimitCase{Standard::FCC, 432.0L, 2.88L}, LimitCase{Standard::FCC, 1296.0L, 8.64L},
        LimitCase{Standard::FCC, 1500.0L, 10.0L}, LimitCase{Standard::FCC, 2304.0L, 10.0L},
        LimitCase{Standard::FCC, 10368.0L, 10.0L}));

TEST(LimitTest, VariableLimitIsLeftAlone) {
  StationState s{};
  s.StandardVariable = true;
  s.FrequencyMHz = 432;
  s.RadiationLimit = 0.7L;
  UpdateRadiationLimit(s);
  EXPECT_EQ(s.RadiationLimit, 0.7L);
}

class LimitWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { form.FormActivate(); }
  const Control& At(const char* name) const { return form.Board().at(name); }
  void ExpectShown(const char* wm2, const char* mwcm2, Colour font) {
    EXPECT_EQ(At("Panel9").text, std::string(wm2) + "   W/M\u00b2");
    EXPECT_EQ(At("Label33").text, std::string(mwcm2) + " mW/cm\u00b2");
    EXPECT_EQ(At("Panel9").fontColor, font);
    EXPECT_EQ(At("Label33").fontColor, font);
  }

  HeadlessPlatform platform;
  TForm1 form{platform};
};

TEST_F(LimitWindowTest, StandardPanelsSelectAndShowTheLimit) {
  ExpectShown("2.9", "0.29", Colour::Red);
  form.Panel75Click();
  ExpectShown("2.0", "0.20", Colour::Red);
  EXPECT_EQ(At("Panel75").color, Colour::Green);
  EXPECT_EQ(At("Panel78").color, Colour::ButtonFace);
  form.Panel77Click();
  EXPECT_EQ(form.State().RadiationLimit, 432.0L / 200.0L);
  EXPECT_EQ(At("Panel77").color, Colour::Green);
  EXPECT_EQ(At("Panel75").color, Colour::ButtonFace);
  form.Panel78Click();
  ExpectShown("2.9", "0.29", Colour::Red);
}

TEST_F(LimitWindowTest, VariableLimitKeepsTheLimitInForce) {
  form.Panel79Click();
  EXPECT_EQ(At("Panel79").color, Colour::Green);
  form.Board()["RadioGroup1"].itemIndex = 5;  // 1296 MHz: FCC would give 8.64
  form.RadioGroup1Click();
  EXPECT_NEAR(static_cast<double>(form.State().RadiationLimit), 2.88, 1e-15);
  form.RadUpDnUpClick();
  EXPECT_EQ(form.State().LimitStepCount, 1);
  ExpectShown("3.0", "0.30", Colour::Green);
  form.RadUpDnDownClick();
  EXPECT_EQ(form.State().LimitStepCount, 0);
  ExpectShown("2.9", "0.29", Colour::Red);
}

TEST_F(LimitWindowTest, VariableLimitStopsAtItsFloor) {
  form.Panel79Click();
  for (int i = 0; i < 40; ++i) form.RadUpDnDownClick();
  EXPECT_EQ(form.State().RadiationLimit, 0.1L);
  EXPECT_EQ(form.State().LimitStepCount, -19);
  ExpectShown("0.1", "0.01", Colour::Green);
  form.RadUpDnDownClick();
  EXPECT_EQ(form.State().RadiationLimit, 0.1L);
}

TEST_F(LimitWindowTest, StepUnderFixedStandardOnlyRecolours) {
  form.RadUpDnUpClick();
  EXPECT_EQ(form.State().LimitStepCount, 1);
  ExpectShown("2.9", "0.29", Colour::Green);
  EXPECT_EQ(form.State().RadiationLimit, 10.0L * 432.0L / 1500.0L);
}

}  // namespace
}  // namespace korrin
