// The site plan's geometry: round scale-bar lengths, a fit that keeps one
// scale both ways with north up and every circle whole inside the margin,
// the plan's height, and a sum's standing against the limit.
#include <gtest/gtest.h>

#include <cmath>

#include "ui/station/SitePlan.h"

namespace korrin::stationui {
namespace {

TEST(SitePlanTest, RoundLengthsForTheScaleBar) {
  const struct {
    Real longest;
    Real round;
  } cases[] = {
      {7.3L, 5},  {5, 5},     {4.99L, 2}, {2, 2},     {1.99L, 1},      {0.73L, 0.5L},
      {123, 100}, {199, 100}, {200, 200}, {999, 500}, {0.012L, 0.01L},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(static_cast<double>(RoundLength(c.longest)), static_cast<double>(c.round),
                static_cast<double>(c.round) * 1e-12)
        << static_cast<double>(c.longest);
  }
}

SitePlanContent Site() {
  SitePlanContent c;
  c.antennas = {{"mast", {0, 0}, 18}, {"vertical", {-20, 4}, 0}};
  c.circles = {{"20m", "mast", {0, 0}, 16.5L}, {"40m", "vertical", {-20, 4}, 3}};
  c.places = {{"garden", {8, 0}, false, 1.0427L}, {"deck", {-4, -9}, true, 0.2L}};
  c.outline = {{-30, -12}, {25, -12}, {25, 20}, {-30, 20}};
  return c;
}

TEST(SitePlanTest, TheFitKeepsOneScaleNorthUpAndEveryCircleWhole) {
  const SitePlanContent c = Site();
  const struct {
    Real width, height;
    bool feet;
  } areas[] = {{800, 600, false}, {400, 900, false}, {1000, 300, true}};
  for (const auto& a : areas) {
    const Real left = 10, top = 20, margin = 30;
    const PlanView v = FitPlan(c, left, top, a.width, a.height, margin, a.feet);
    // One scale: a metre east is as long as a metre north.
    EXPECT_NEAR(static_cast<double>(v.PixelX(1) - v.PixelX(0)),
                static_cast<double>(v.PixelY(0) - v.PixelY(1)), 1e-9);
    EXPECT_GT(v.PixelY(0), v.PixelY(10)) << "north is up";
    const PlanBounds b = BoundsOf(c);
    EXPECT_LE(b.west, -30);
    EXPECT_GE(b.north, 20);
    for (const PlanCircle& circle : c.circles) {
      const Real r = v.Pixels(circle.radiusM);
      EXPECT_GE(v.PixelX(circle.centre.x) - r, left + margin - 1e-6);
      EXPECT_LE(v.PixelX(circle.centre.x) + r, left + a.width - margin + 1e-6);
      EXPECT_GE(v.PixelY(circle.centre.y) - r, top + margin - 1e-6);
      EXPECT_LE(v.PixelY(circle.centre.y) + r, top + a.height - margin + 1e-6);
    }
    // The content fills the area one way.
    const Real usedW = v.Pixels(b.east - b.west);
    const Real usedH = v.Pixels(b.north - b.south);
    EXPECT_TRUE(std::fabs(usedW - (a.width - 2 * margin)) < 1e-6 ||
                std::fabs(usedH - (a.height - 2 * margin)) < 1e-6);
    // The scale bar: a round length at most a quarter of the width, drawn to scale.
    EXPECT_LE(v.barPixels, a.width / 4 + 1e-9);
    EXPECT_GT(v.barPixels, a.width / 4 / 2.5L - 1e-9);
    const Real metres = v.barLength * (a.feet ? station::kMetresPerFoot : 1);
    EXPECT_NEAR(static_cast<double>(v.barPixels), static_cast<double>(v.Pixels(metres)), 1e-9);
    EXPECT_EQ(v.barLength, RoundLength(v.barLength));
    EXPECT_EQ(v.barFeet, a.feet);
  }
}

TEST(SitePlanTest, AnEmptyOrSinglePointPlanStillHasRoom) {
  SitePlanContent c;
  PlanBounds b = BoundsOf(c);
  EXPECT_EQ(b.east - b.west, 10);
  c.antennas = {{"a", {40, -3}, 10}};
  b = BoundsOf(c);
  EXPECT_EQ(b.east - b.west, 10);
  EXPECT_EQ(b.north - b.south, 10);
  EXPECT_EQ((b.east + b.west) / 2, 40);
  const PlanView v = FitPlan(c, 0, 0, 200, 200, 10, false);
  EXPECT_TRUE(std::isfinite(static_cast<double>(v.pixelsPerMetre)));
  EXPECT_NEAR(static_cast<double>(v.PixelX(40)), 100, 1e-9);
}

TEST(SitePlanTest, ThePlansHeight) {
  station::Station s;
  EXPECT_EQ(PlanHeightM(s), 2) << "no place: a standing head";
  s.places.resize(2);
  s.places[0].height = {5, station::LengthUnit::Feet};
  s.places[1].height = {5, station::LengthUnit::Feet};
  EXPECT_EQ(PlanHeightM(s), 5 * station::kMetresPerFoot) << "one height for every place";
  s.places[1].height = station::Length::InMetres(1.5L);
  EXPECT_EQ(PlanHeightM(s), 2) << "places at several heights";
}

TEST(SitePlanTest, ASumOfOneMeetsTheLimit) {
  EXPECT_EQ(StandingOf(0), SumStanding::Within);
  EXPECT_EQ(StandingOf(1), SumStanding::Within);
  EXPECT_EQ(StandingOf(1.0427L), SumStanding::Over);
}

}  // namespace
}  // namespace korrin::stationui
