// The limit sets the window does not offer, at the breakpoints of their
// frequency ranges, and where each set stops applying.
#include <gtest/gtest.h>

#include <optional>

#include "assess/Assessment.h"

namespace korrin::assess {
namespace {

struct SetLimitCase {
  LimitSet set;
  long double frequencyMHz;
  std::optional<long double> limitWm2;  // empty: the set does not apply
  long double tolerance;                // the worked value's last digit
};

class SetLimitTest : public ::testing::TestWithParam<SetLimitCase> {};

TEST_P(SetLimitTest, LimitAtFrequency) {
  const SetLimitCase& c = GetParam();
  const std::optional<Real> limit = LimitAtFrequency(c.set, c.frequencyMHz);
  ASSERT_EQ(limit.has_value(), c.limitWm2.has_value())
      << LimitSetId(c.set) << " at " << static_cast<double>(c.frequencyMHz) << " MHz";
  if (!limit) return;
  EXPECT_NEAR(static_cast<double>(*limit), static_cast<double>(*c.limitWm2),
              static_cast<double>(c.tolerance))
      << LimitSetId(c.set) << " at " << static_cast<double>(c.frequencyMHz) << " MHz";
}

constexpr long double kExact = 1e-12L;  // exact worked values: rounding only

INSTANTIATE_TEST_SUITE_P(
    Breakpoints, SetLimitTest,
    ::testing::Values(
        // ICNIRP 2020: the plane-wave equivalent of 300 / f^0.7 V/m below 30 MHz
        SetLimitCase{LimitSet::Icnirp2020, 0.0999L, std::nullopt, 0},
        SetLimitCase{LimitSet::Icnirp2020, 0.1L, 5996.5L, 0.05L},
        SetLimitCase{LimitSet::Icnirp2020, 1.8L, 104.84L, 0.005L},
        SetLimitCase{LimitSet::Icnirp2020, 14.2L, 5.817L, 0.0005L},
        SetLimitCase{LimitSet::Icnirp2020, 29.7L, 2.070L, 0.0005L},
        SetLimitCase{LimitSet::Icnirp2020, 29.99L, 2.0424L, 0.00005L},
        SetLimitCase{LimitSet::Icnirp2020, 30.0L, 2.0L, kExact},
        SetLimitCase{LimitSet::Icnirp2020, 399.0L, 2.0L, kExact},
        SetLimitCase{LimitSet::Icnirp2020, 400.0L, 2.0L, kExact},
        SetLimitCase{LimitSet::Icnirp2020, 432.0L, 2.16L, kExact},
        SetLimitCase{LimitSet::Icnirp2020, 1999.0L, 9.995L, kExact},
        SetLimitCase{LimitSet::Icnirp2020, 2000.0L, 10.0L, kExact},
        // f/200 meets 10 at 2000 MHz: only a case above it sees where it ends
        SetLimitCase{LimitSet::Icnirp2020, 2304.0L, 10.0L, kExact},
        SetLimitCase{LimitSet::Icnirp2020, 299999.0L, 10.0L, kExact},
        SetLimitCase{LimitSet::Icnirp2020, 300000.0L, std::nullopt, 0},
        // ICNIRP 2020 occupational: the plane-wave equivalent of 660 / f^0.7 V/m
        // below 30 MHz, then 10; f/40; 50 W/m^2
        SetLimitCase{LimitSet::Icnirp2020Occupational, 0.0999L, std::nullopt, 0},
        SetLimitCase{LimitSet::Icnirp2020Occupational, 0.1L, 29023.3L, 0.05L},
        SetLimitCase{LimitSet::Icnirp2020Occupational, 14.2L, 28.154L, 0.0005L},
        SetLimitCase{LimitSet::Icnirp2020Occupational, 29.99L, 9.8851L, 0.00005L},
        SetLimitCase{LimitSet::Icnirp2020Occupational, 30.0L, 10.0L, kExact},
        SetLimitCase{LimitSet::Icnirp2020Occupational, 399.0L, 10.0L, kExact},
        SetLimitCase{LimitSet::Icnirp2020Occupational, 432.0L, 10.8L, kExact},
        SetLimitCase{LimitSet::Icnirp2020Occupational, 1999.0L, 49.975L, kExact},
        SetLimitCase{LimitSet::Icnirp2020Occupational, 2000.0L, 50.0L, kExact},
        SetLimitCase{LimitSet::Icnirp2020Occupational, 2304.0L, 50.0L, kExact},
        SetLimitCase{LimitSet::Icnirp2020Occupational, 299999.0L, 50.0L, kExact},
        SetLimitCase{LimitSet::Icnirp2020Occupational, 300000.0L, std::nullopt, 0},
        // FCC occupational / controlled
        SetLimitCase{LimitSet::FccOccupational, 0.2999L, std::nullopt, 0},
        SetLimitCase{LimitSet::FccOccupational, 0.3L, 1000.0L, kExact},
        SetLimitCase{LimitSet::FccOccupational, 2.99L, 1000.0L, kExact},
        SetLimitCase{LimitSet::FccOccupational, 3.0L, 1000.0L, kExact},
        SetLimitCase{LimitSet::FccOccupational, 3.5L, 9000.0L / (3.5L * 3.5L), kExact},
        SetLimitCase{LimitSet::FccOccupational, 14.2L, 9000.0L / (14.2L * 14.2L), kExact},
        SetLimitCase{LimitSet::FccOccupational, 28.0L, 9000.0L / (28.0L * 28.0L), kExact},
        SetLimitCase{LimitSet::FccOccupational, 30.0L, 10.0L, kExact},
        SetLimitCase{LimitSet::FccOccupational, 50.0L, 10.0L, kExact},
        SetLimitCase{LimitSet::FccOccupational, 299.0L, 10.0L, kExact},
        SetLimitCase{LimitSet::FccOccupational, 300.0L, 10.0L, kExact},
        SetLimitCase{LimitSet::FccOccupational, 432.0L, 14.4L, kExact},
        SetLimitCase{LimitSet::FccOccupational, 1499.0L, 1499.0L / 30.0L, kExact},
        SetLimitCase{LimitSet::FccOccupational, 1500.0L, 50.0L, kExact},
        SetLimitCase{LimitSet::FccOccupational, 1600.0L, 50.0L, kExact},
        SetLimitCase{LimitSet::FccOccupational, 99999.0L, 50.0L, kExact},
        SetLimitCase{LimitSet::FccOccupational, 100000.0L, std::nullopt, 0},
        // FCC general population: the window's limit, inside 0.3-100000 MHz only
        SetLimitCase{LimitSet::FccGeneral, 0.2999L, std::nullopt, 0},
        SetLimitCase{LimitSet::FccGeneral, 0.3L, 1000.0L, kExact},
        SetLimitCase{LimitSet::FccGeneral, 432.0L, 2.88L, kExact},
        SetLimitCase{LimitSet::FccGeneral, 48000.0L, 10.0L, kExact},
        SetLimitCase{LimitSet::FccGeneral, 100000.0L, std::nullopt, 0},
        // the window's other standards apply at every frequency
        SetLimitCase{LimitSet::Arpansa2002, 0.05L, 20.0L, kExact},
        SetLimitCase{LimitSet::Arpansa2002, 1296.0L, 6.48L, kExact},
        SetLimitCase{LimitSet::As2772, 500000.0L, 2.0L, kExact},
        // the hand-set limit belongs to the station, not to a frequency
        SetLimitCase{LimitSet::HandSet, 432.0L, std::nullopt, 0}));

struct FccThresholdCase {
  long double frequencyMHz;
  long double distanceM;
  std::optional<long double> thresholdW;
};

class FccThresholdTest : public ::testing::TestWithParam<FccThresholdCase> {};

TEST_P(FccThresholdTest, ThresholdErp) {
  const FccThresholdCase& c = GetParam();
  const std::optional<Real> w = FccThresholdErpW(c.frequencyMHz, c.distanceM);
  ASSERT_EQ(w.has_value(), c.thresholdW.has_value())
      << static_cast<double>(c.frequencyMHz) << " MHz";
  if (w) {
    EXPECT_NEAR(static_cast<double>(*w), static_cast<double>(*c.thresholdW),
                1e-12 * static_cast<double>(*c.thresholdW))
        << static_cast<double>(c.frequencyMHz) << " MHz";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Breakpoints, FccThresholdTest,
    ::testing::Values(FccThresholdCase{0.2999L, 1, std::nullopt},
                      FccThresholdCase{0.3L, 1, 1920.0L}, FccThresholdCase{1.3399L, 2, 7680.0L},
                      FccThresholdCase{1.34L, 1, 3450.0L / (1.34L * 1.34L)},
                      FccThresholdCase{14.2L, 3, 9 * 3450.0L / (14.2L * 14.2L)},
                      FccThresholdCase{30.0L, 10, 383.0L}, FccThresholdCase{299.0L, 10, 383.0L},
                      FccThresholdCase{300.0L, 10, 384.0L}, FccThresholdCase{432.0L, 1, 5.5296L},
                      FccThresholdCase{1296.0L, 10, 1658.88L},
                      FccThresholdCase{1500.0L, 10, 1920.0L},
                      FccThresholdCase{1600.0L, 10, 1920.0L}, FccThresholdCase{99999.0L, 1, 19.2L},
                      FccThresholdCase{100000.0L, 1, std::nullopt}));

}  // namespace
}  // namespace korrin::assess
