// The site plan's geometry: round scale-bar lengths, a fit that keeps one
// scale both ways with north up and every circle whole inside the margin,
// the plan's height, and a sum's standing against the limit.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

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

// Labels stand apart by the spacing (two labels that merely touch read as
// one word, "installationtwo-metres"), inside the plan, clear of markers.
TEST(SitePlanTest, LabelsStandApart) {
  struct Put {
    Real x, y, gap, width, height;
  };
  const struct {
    const char* what;
    LabelBox area;
    std::vector<LabelBox> reserved;
    std::vector<Put> before;  // labels put first
    Put put;
    LabelBox expected;
  } cases[] = {
      {"alone: to the right", {0, 0, 500, 300}, {}, {}, {100, 100, 0, 80, 12}, {100, 94, 80, 12}},
      // The first takes the right; touching it on the left, above or below
      // is too close: below, a spacing further down.
      {"the same point twice",
       {0, 0, 500, 300},
       {},
       {{100, 100, 0, 80, 12}},
       {100, 100, 0, 80, 12},
       {60, 112, 80, 12}},
      {"at the plan's right edge: to the left",
       {0, 0, 200, 100},
       {},
       {},
       {190, 50, 5, 40, 10},
       {145, 45, 40, 10}},
      {"a marker on the right: to the left",
       {0, 0, 500, 300},
       {{105, 44, 10, 12}},
       {},
       {100, 50, 4, 30, 10},
       {66, 45, 30, 10}},
      {"nowhere clear: to the right, inside the plan",
       {0, 0, 50, 20},
       {{0, 0, 50, 20}},
       {},
       {45, 10, 0, 20, 10},
       {30, 5, 20, 10}},
  };
  constexpr Real kSpacing = 4;
  for (const auto& c : cases) {
    LabelPlacer placer(c.area, kSpacing);
    std::vector<LabelBox> taken = c.reserved;
    for (const LabelBox& box : c.reserved) placer.Reserve(box);
    for (const Put& p : c.before) taken.push_back(placer.Put(p.x, p.y, p.gap, p.width, p.height));
    const LabelBox box = placer.Put(c.put.x, c.put.y, c.put.gap, c.put.width, c.put.height);
    EXPECT_EQ(box.left, c.expected.left) << c.what;
    EXPECT_EQ(box.top, c.expected.top) << c.what;
    EXPECT_EQ(box.width, c.put.width) << c.what;
    EXPECT_EQ(box.height, c.put.height) << c.what;
    EXPECT_TRUE(box.left >= c.area.left && box.Right() <= c.area.Right() && box.top >= c.area.top &&
                box.Bottom() <= c.area.Bottom())
        << c.what << ": inside the plan";
    if (std::string(c.what).rfind("nowhere", 0) == 0) continue;
    for (const LabelBox& other : taken) {
      const bool apart =
          box.left >= other.Right() + kSpacing || other.left >= box.Right() + kSpacing ||
          box.top >= other.Bottom() + kSpacing || other.top >= box.Bottom() + kSpacing;
      EXPECT_TRUE(apart) << c.what;
    }
  }
}

}  // namespace
}  // namespace korrin::stationui
