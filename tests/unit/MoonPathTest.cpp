// The moon-bounce path loss and Doppler shift, the plan over a span of
// time, and the calculator's echo S/N at the date's path loss.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/Calc.h"
#include "moon/Echo.h"
#include "moon/Path.h"
#include "moon/Plan.h"
#include "ui/HeadlessPlatform.h"
#include "ui/TForm1.h"

namespace korrin::moon {
namespace {

struct LossCase {
  double frequencyMHz;
  double lossDb;  // at 384,400 km, worked to two decimals
};

class PathLossTest : public ::testing::TestWithParam<LossCase> {};

// L = 10·log10((4π)³·d⁴/(σ·λ²)), σ = 0.065·π·(1737.4 km)², λ = 299.792458/f.
TEST_P(PathLossTest, RadarEquationAtTheMeanDistance) {
  const LossCase& c = GetParam();
  EXPECT_NEAR(EchoPathLossDb(c.frequencyMHz, 384400.0), c.lossDb, 0.005)
      << c.frequencyMHz << " MHz";
  // The loss to another station with both at the same distance is the echo's.
  EXPECT_DOUBLE_EQ(PathLossDb(c.frequencyMHz, 384400.0, 384400.0),
                   EchoPathLossDb(c.frequencyMHz, 384400.0));
}

INSTANTIATE_TEST_SUITE_P(Bands, PathLossTest,
                         ::testing::Values(LossCase{50.0, 242.91}, LossCase{144.0, 252.10},
                                           LossCase{432.0, 261.64}, LossCase{1296.0, 271.18},
                                           LossCase{10368.0, 289.25}));

TEST(PathLoss, DistanceCountsToTheFourthPower) {
  // Perigee 356,400 km to apogee 406,700 km: 40·log10(406700/356400) = 2.29 dB.
  EXPECT_NEAR(EchoPathLossDb(432.0, 406700.0) - EchoPathLossDb(432.0, 356400.0), 2.294, 0.001);
  // Each station's distance counts squared on a path between two.
  EXPECT_NEAR(PathLossDb(144.0, 380000.0, 390000.0) - EchoPathLossDb(144.0, 380000.0),
              20.0 * std::log10(390000.0 / 380000.0), 1e-9);
}

TEST(Doppler, SignAndSize) {
  // An approaching moon (ṙ < 0) raises the echo: 2·1296 MHz·500 m/s / c.
  EXPECT_NEAR(EchoDopplerHz(1296.0, -500.0), 4323.0, 0.1);
  EXPECT_LT(EchoDopplerHz(144.0, 300.0), 0.0);
  // To another station, each end's rate counts once.
  EXPECT_DOUBLE_EQ(PathDopplerHz(432.0, -200.0, -200.0), EchoDopplerHz(432.0, -200.0));
  EXPECT_NEAR(PathDopplerHz(432.0, -200.0, 200.0), 0.0, 1e-9);
}

PlanRequest Request(const char* from, double hours, int stepMinutes) {
  PlanRequest r;
  r.home = *PlaceOfLocator("FN20xa").place;
  r.dx = *PlaceOfLocator("JO65fr").place;
  r.frequencyMHz = 1296.0;
  r.from = *ParseUtc(from).time;
  r.spanSeconds = static_cast<UtcSeconds>(hours * 3600.0);
  r.stepSeconds = UtcSeconds{60} * stepMinutes;
  r.minElevationDeg = 10.0;
  return r;
}

struct RequestCase {
  void (*change)(PlanRequest&);
  const char* says;
};

class RefusedRequestTest : public ::testing::TestWithParam<RequestCase> {};

TEST_P(RefusedRequestTest, SaysWhy) {
  PlanRequest r = Request("2026-12-07T00:00Z", 24, 10);
  EXPECT_EQ(CheckRequest(r), "");
  GetParam().change(r);
  EXPECT_NE(CheckRequest(r).find(GetParam().says), std::string::npos) << CheckRequest(r);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, RefusedRequestTest,
    ::testing::Values(
        RequestCase{[](PlanRequest& r) { r.spanSeconds = 0; }, "span"},
        RequestCase{[](PlanRequest& r) { r.spanSeconds = 31 * kSecondsPerDay + 1; }, "31 days"},
        RequestCase{[](PlanRequest& r) { r.stepSeconds = 59; }, "step"},
        RequestCase{[](PlanRequest& r) { r.stepSeconds = 86401; }, "step"},
        RequestCase{[](PlanRequest& r) { r.minElevationDeg = -5.5; }, "minimum elevation"},
        RequestCase{[](PlanRequest& r) { r.minElevationDeg = 90.5; }, "minimum elevation"},
        RequestCase{[](PlanRequest& r) { r.minElevationDeg = NAN; }, "minimum elevation"},
        RequestCase{[](PlanRequest& r) { r.frequencyMHz = 0; }, "frequency"},
        RequestCase{[](PlanRequest& r) { r.from = *ParseUtc("2050-12-31T12:00Z").time; },
                    "1960-2050"},
        RequestCase{[](PlanRequest& r) { r.from = FirstAcceptedTime() - 1; }, "1960-2050"}));

// The windows and the rows' flags say the same, and every end of a window
// is the second at which the lower of the two elevations crosses the
// minimum.
TEST(Plan, WindowsAreWhereTheMoonIsHighEnoughAtBoth) {
  YearBestCache cache;
  const PlanRequest r = Request("2026-12-07T00:00Z", 7 * 24, 10);
  const Plan plan = MakePlan(r, cache);
  ASSERT_EQ(plan.rows.size(), 7u * 24u * 6u + 1u);
  const Site home = SiteOf(r.home);
  const Site dx = SiteOf(*r.dx);
  auto margin = [&](UtcSeconds t) {
    const MoonState m = MoonAt(t);
    return std::min(Sight(m, home).elevationDeg, Sight(m, dx).elevationDeg) - r.minElevationDeg;
  };
  ASSERT_FALSE(plan.windows.empty());
  for (const Window& w : plan.windows) {
    EXPECT_LE(w.start, w.end);
    EXPECT_GE(margin(w.start), 0.0) << FormatUtc(w.start);
    EXPECT_GE(margin(w.end), 0.0) << FormatUtc(w.end);
    if (!w.cutAtStart) {
      EXPECT_LT(margin(w.start - 1), 0.0) << FormatUtc(w.start);
    }
    if (!w.cutAtEnd) {
      EXPECT_LT(margin(w.end + 1), 0.0) << FormatUtc(w.end);
    }
  }
  int mutualRows = 0;
  for (const Row& row : plan.rows) {
    const bool inside = std::any_of(plan.windows.begin(), plan.windows.end(), [&](const Window& w) {
      return row.time >= w.start && row.time <= w.end;
    });
    EXPECT_EQ(row.mutual, inside) << FormatUtc(row.time);
    EXPECT_EQ(row.mutual, std::min(row.home.elevationDeg, row.dx->elevationDeg) >= 10.0);
    mutualRows += row.mutual ? 1 : 0;
  }
  EXPECT_GT(mutualRows, 0);
  EXPECT_FALSE(plan.leapSecondsUncertain);
}

TEST(Plan, WithoutTheOtherStationTheWindowIsHomes) {
  YearBestCache cache;
  PlanRequest r = Request("2026-12-07T00:00Z", 24, 10);
  r.dx.reset();
  r.minElevationDeg = 0.0;
  const Plan plan = MakePlan(r, cache);
  for (const Row& row : plan.rows) {
    EXPECT_FALSE(row.dx);
    EXPECT_FALSE(row.dxDopplerHz);
    EXPECT_EQ(row.mutual, row.home.elevationDeg >= 0.0);
  }
  ASSERT_EQ(plan.windows.size(), 1u);  // the moon rises and sets once that day
}

// The year's best is no worse than the distance at any time of the year
// (checked every 17 minutes, about 31,000 times), so no row of that year
// is degraded below 0 dB; and the span from best to worst is the
// perigee-apogee swing with the Earth's radius on top.
TEST(Plan, TheYearsBestIsTheLeastDistance) {
  const Site home = SiteOf(*PlaceOfLocator("FN20xa").place);
  const YearBest best = FindYearBest(home, 2026);
  EXPECT_EQ(best.year, 2026);
  EXPECT_EQ(CalendarOf(best.time).year, 2026);
  const UtcSeconds start = *SecondsOf({2026, 1, 1, 0, 0, 0});
  const UtcSeconds end = *SecondsOf({2027, 1, 1, 0, 0, 0});
  double worst = 0;
  for (UtcSeconds t = start; t < end; t += 17 * UtcSeconds{60}) {
    const double km = Sight(MoonAt(t), home).distanceKm;
    ASSERT_GE(km, best.distanceKm - 1e-6) << FormatUtc(t);
    worst = std::max(worst, km);
  }
  // At its least the moon is at perigee and high in the sky: 350,000 to
  // 356,500 km.
  EXPECT_GT(best.distanceKm, 350000.0);
  EXPECT_LT(best.distanceKm, 356500.0);
  EXPECT_GT(worst, 406000.0);
  // Neighbouring seconds are no closer.
  EXPECT_GE(Sight(MoonAt(best.time - 1), home).distanceKm, best.distanceKm);
  EXPECT_GE(Sight(MoonAt(best.time + 1), home).distanceKm, best.distanceKm);

  YearBestCache cache;
  PlanRequest r = Request("2026-12-20T00:00Z", 31 * 24, 60);  // over the new year
  const Plan plan = MakePlan(r, cache);
  ASSERT_EQ(plan.yearBest.size(), 2u);
  EXPECT_EQ(plan.yearBest[0].year, 2026);
  EXPECT_EQ(plan.yearBest[0].time, best.time);
  EXPECT_EQ(plan.yearBest[1].year, 2027);
  double least = HUGE_VAL;
  for (const Row& row : plan.rows) {
    EXPECT_GE(row.degradationDb, 0.0) << FormatUtc(row.time);
    const YearBest& own = plan.yearBest[CalendarOf(row.time).year == 2026 ? 0 : 1];
    EXPECT_NEAR(row.degradationDb, 40.0 * std::log10(row.home.distanceKm / own.distanceKm), 1e-9);
    least = std::min(least, row.degradationDb);
  }
  // The month holds 2026's closest approach (24 December): within an
  // hour's step of it the degradation is a few hundredths of a dB.
  EXPECT_LT(least, 0.05);
}

TEST(Plan, DatesPastTheLeapSecondTableArePlannedAndFlagged) {
  YearBestCache cache;
  const Plan plan = MakePlan(Request("2031-03-01T00:00Z", 24, 60), cache);
  EXPECT_EQ(plan.rows.size(), 25u);
  EXPECT_TRUE(plan.leapSecondsUncertain);
  for (const Row& row : plan.rows) {
    EXPECT_GT(row.home.distanceKm, 350000.0);
    EXPECT_LT(row.home.distanceKm, 410000.0);
  }
}

TEST(Plan, TheDopplerShiftIsPositiveWhileTheMoonRisesAtHome) {
  YearBestCache cache;
  PlanRequest r = Request("2026-12-07T00:00Z", 48, 1);
  r.dx.reset();
  const Plan plan = MakePlan(r, cache);
  int rising = 0;
  for (std::size_t i = 1; i < plan.rows.size(); ++i) {
    const Row& row = plan.rows[i];
    if (plan.rows[i - 1].home.elevationDeg < 0.0 && row.home.elevationDeg >= 0.0) {
      ++rising;
      EXPECT_GT(row.dopplerHz, 0.0) << FormatUtc(row.time);
    }
  }
  EXPECT_EQ(rising, 2);
}

// The calculator's own echo S/N at the date's path loss, on a copy.
class EchoAtDate : public ::testing::Test {
 protected:
  void SetUp() override { form.FormActivate(); }
  HeadlessPlatform platform;
  TForm1 form{platform};
};

TEST_F(EchoAtDate, IsTheCyclesFigureOnACopy) {
  const StationState before = form.State();
  EchoAtPathLoss echo(form.State());
  // At the station's own path loss: the calculator's figure exactly.
  EXPECT_EQ(echo.SnDb(echo.StationPathLossDb()), static_cast<double>(before.EchoSnrDb));
  EXPECT_EQ(echo.StationSnDb(), static_cast<double>(before.EchoSnrDb));
  // At another: the whole cycle run on a copy with that path loss.
  for (double loss : {259.9, 262.35, 263.0}) {
    StationState copy = before;
    copy.PathLoss = static_cast<Real>(loss);
    Recalculate(copy);
    EXPECT_DOUBLE_EQ(echo.SnDb(loss), static_cast<double>(copy.EchoSnrDb)) << loss;
  }
  // The calculator's station is untouched.
  EXPECT_EQ(form.State().PathLoss, before.PathLoss);
  EXPECT_EQ(form.State().EchoSnrDb, before.EchoSnrDb);
}

TEST(BandPathLoss, FromTheCalculatorsBandTable) {
  EXPECT_EQ(BandPathLossDb(432.0L), 261.0);
  EXPECT_EQ(BandPathLossDb(10368.0L), 288.3);
  EXPECT_FALSE(BandPathLossDb(14.2L));
  EXPECT_FALSE(BandPathLossDb(433.0L));
}

}  // namespace
}  // namespace korrin::moon
