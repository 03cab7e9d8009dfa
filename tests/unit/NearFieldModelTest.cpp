// The wire model: the segments the program chooses, the models it refuses
// and why, and the wires the presets generate.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "nearfield/Presets.h"
#include "nearfield/WireModel.h"

namespace korrin::nearfield {
namespace {

struct SegmentCase {
  const char* name;
  Real lengthM;
  Real radiusM;
  Real wavelengthM;
  bool middle;
  int segments;
};

class SegmentCountTest : public ::testing::TestWithParam<SegmentCase> {};

TEST_P(SegmentCountTest, AboutTwentyToTheHalfWaveNeverBelowEightRadii) {
  const SegmentCase& c = GetParam();
  const int n = SegmentCount(c.lengthM, c.radiusM, c.wavelengthM, c.middle);
  EXPECT_EQ(n, c.segments);
  if (n > 0) {
    EXPECT_GE(c.lengthM / n, kShortestSegmentInRadii * c.radiusM);
  }
  if (n > 0 && c.middle) {
    EXPECT_EQ(n % 2, 1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Wires, SegmentCountTest,
    ::testing::Values(
        // 20 m band: a half wave of 10.56 m in 0.528 m segments, odd to feed it in the middle.
        SegmentCase{"HalfWaveFedInMiddle", 10.556L, 0.001L, 21.112L, true, 21},
        SegmentCase{"HalfWaveRadial", 10.556L, 0.001L, 21.112L, false, 20},
        SegmentCase{"QuarterWave", 5.278L, 0.001L, 21.112L, false, 10},
        SegmentCase{"ShortWireOneSegment", 0.3L, 0.001L, 21.112L, false, 1},
        // An 18 cm thick tube: segments of at least 0.72 m, so 14 rather than 20.
        SegmentCase{"ThickTube", 10.556L, 0.09L, 21.112L, false, 14},
        // The same fed in its middle: 15 would be too short, so 13.
        SegmentCase{"ThickTubeFedInMiddle", 10.556L, 0.09L, 21.112L, true, 13},
        // Even the odd count above would be too short: one fewer.
        SegmentCase{"TightFedInMiddle", 1.6L, 0.1L, 2.0L, true, 1},
        SegmentCase{"ShorterThanEightRadii", 0.07L, 0.01L, 21.112L, false, 0}),
    [](const ::testing::TestParamInfo<SegmentCase>& info) { return std::string(info.param.name); });

struct RefusedCase {
  const char* name;
  WireModel model;
  const char* message;  // a part of the first problem
};

WireModel OneWire(Wire w, Ground g = FreeSpace(), Feed f = {}) {
  WireModel m;
  m.wires = {w};
  m.ground = g;
  m.feed = f;
  return m;
}

class RefusedModelTest : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedModelTest, SaysWhyAndBuildsNothing) {
  const RefusedCase& c = GetParam();
  const BuiltStructure b = BuildStructure(c.model, 14.2L);
  EXPECT_FALSE(b.structure);
  ASSERT_FALSE(b.problems.empty());
  EXPECT_NE(b.problems[0].find(c.message), std::string::npos) << b.problems[0];
}

INSTANTIATE_TEST_SUITE_P(
    Models, RefusedModelTest,
    ::testing::Values(
        RefusedCase{"NoWires", WireModel{}, "no wires"},
        RefusedCase{"Buried", OneWire({{0, 0, -0.5L}, {0, 0, 5}, 0.001L}, PerfectGround()),
                    "goes below the ground"},
        RefusedCase{"OnTheGround", OneWire({{0, 0, 0}, {5, 0, 0}, 0.001L}, RealGround(13, 0.005L)),
                    "lies on the ground"},
        RefusedCase{"TooThick", OneWire({{0, 0, 1}, {0.05L, 0, 1}, 0.01L}), "too thick"},
        RefusedCase{"NoLength", OneWire({{1, 1, 1}, {1, 1, 1}, 0.001L}), "same point"},
        RefusedCase{"NoRadius", OneWire({{0, 0, 1}, {5, 0, 1}, 0}), "radius must be above 0"},
        RefusedCase{"NotANumber", OneWire({{0, 0, NAN}, {5, 0, 1}, 0.001L}), "not a number"},
        RefusedCase{"FeedOnNoWire", OneWire({{0, 0, 1}, {5, 0, 1}, 0.001L}, FreeSpace(), {3, {}}),
                    "feed is on wire 4"},
        RefusedCase{"FeedPastTheEnd", OneWire({{0, 0, 1}, {5, 0, 1}, 0.001L}, FreeSpace(), {0, 40}),
                    "feed segment 40"},
        RefusedCase{"BadGround", OneWire({{0, 0, 1}, {5, 0, 1}, 0.001L}, RealGround(0.5L, 0.005L)),
                    "permittivity"}),
    [](const ::testing::TestParamInfo<RefusedCase>& info) { return std::string(info.param.name); });

TEST(WireModelTest, FeedAndWiresReachTheCards) {
  WireModel m = OneWire({{-5, 0, 10}, {5, 0, 10}, 0.001L}, NamedGround("average").value());
  m.wires.push_back({{5, 0, 10}, {5, 0, 5}, 0.001L});
  m.feed = {1, 2};
  const BuiltStructure b = BuildStructure(m, 14.2L);
  ASSERT_TRUE(b.structure);
  ASSERT_EQ(b.structure->geometry.size(), 2u);
  EXPECT_EQ(FormatCard(b.structure->geometry[1]), "GW 2 9 5 0 10 5 0 5 0.001");
  EXPECT_EQ(b.structure->feed.tag, 2);
  EXPECT_EQ(b.structure->feed.segment, 2);
  EXPECT_EQ(b.structure->ground.kind, GroundKind::Real);
  EXPECT_EQ(b.structure->ground.relativePermittivity, 13);
}

TEST(WireModelTest, NamedGrounds) {
  EXPECT_EQ(NamedGround("free-space")->kind, GroundKind::FreeSpace);
  EXPECT_EQ(NamedGround("perfect")->kind, GroundKind::Perfect);
  for (const char* id : {"average", "poor", "good"}) {
    const auto g = NamedGround(id);
    ASSERT_TRUE(g) << id;
    EXPECT_EQ(g->kind, GroundKind::Real) << id;
  }
  EXPECT_FALSE(NamedGround("swamp"));
  EXPECT_FALSE(NamedGround("Average"));
}

// ---- presets ----------------------------------------------------------------

TEST(PresetTest, DipoleIsHalfAWaveAtItsHeight) {
  const Preset p = DipolePreset(14.2L, 10, std::nullopt, 0.001L, PerfectGround());
  ASSERT_TRUE(p.problems.empty());
  ASSERT_EQ(p.model.wires.size(), 1u);
  const Wire& w = p.model.wires[0];
  EXPECT_NEAR(static_cast<double>(Length(w.to - w.from)), 299.792458 / 14.2 / 2, 1e-9);
  EXPECT_EQ(w.from.z, 10);
  EXPECT_EQ(w.to.z, 10);
  EXPECT_EQ(w.from.x, -w.to.x);
  EXPECT_FALSE(p.model.feed.segment);  // the middle
  const Preset given = DipolePreset(14.2L, 10, 10.0L, 0.001L, PerfectGround());
  EXPECT_NEAR(static_cast<double>(given.model.wires[0].to.x), 5.0, 1e-12);
}

TEST(PresetTest, InvertedVHangsFromItsApex) {
  const Real lambda = WavelengthM(7.1L);
  const Preset p = InvertedVPreset(7.1L, 12, 30, std::nullopt, 0.001L, RealGround(13, 0.005L));
  ASSERT_TRUE(p.problems.empty()) << p.problems[0];
  ASSERT_EQ(p.model.wires.size(), 3u);
  Real total = 0;
  for (const Wire& w : p.model.wires) total += Length(w.to - w.from);
  EXPECT_NEAR(static_cast<double>(total), static_cast<double>(lambda / 2), 1e-9);
  // The feed wire is level at the apex; each leg falls 30 degrees.
  EXPECT_EQ(p.model.wires[0].from.z, 12);
  EXPECT_EQ(p.model.wires[0].to.z, 12);
  for (int leg : {1, 2}) {
    const Point d = p.model.wires[leg].to - p.model.wires[leg].from;
    EXPECT_NEAR(static_cast<double>(std::atan2(-d.z, std::fabs(d.x)) * 180 / kPi), 30, 1e-9);
  }
  EXPECT_EQ(p.model.feed.wire, 0u);
  const BuiltStructure b = BuildStructure(p.model, 7.1L);
  ASSERT_TRUE(b.structure) << b.problems[0];
  EXPECT_EQ(b.structure->geometry[0].values[1], 1);  // one segment on the feed wire

  const Preset low = InvertedVPreset(7.1L, 4, 45, std::nullopt, 0.001L, RealGround(13, 0.005L));
  ASSERT_FALSE(low.problems.empty());
  EXPECT_NE(low.problems[0].find("below the ground"), std::string::npos);
}

TEST(PresetTest, VerticalGroundMountedOrElevated) {
  const Real quarter = WavelengthM(3.6L) / 4;
  const Preset grounded = VerticalPreset(3.6L, 0, 16, 0.01L, RealGround(13, 0.005L));
  ASSERT_TRUE(grounded.problems.empty());
  ASSERT_EQ(grounded.model.wires.size(), 1u);  // radials on the ground are not modelled
  EXPECT_EQ(grounded.model.notes.size(), 1u);
  EXPECT_NEAR(static_cast<double>(grounded.model.wires[0].to.z), static_cast<double>(quarter),
              1e-9);
  EXPECT_EQ(grounded.model.feed.segment, 1);
  ASSERT_TRUE(BuildStructure(grounded.model, 3.6L).structure);

  const Preset elevated = VerticalPreset(3.6L, 3, 4, 0.002L, RealGround(13, 0.005L));
  ASSERT_TRUE(elevated.problems.empty());
  ASSERT_EQ(elevated.model.wires.size(), 5u);
  EXPECT_TRUE(elevated.model.notes.empty());
  for (size_t i = 1; i < 5; ++i) {
    const Wire& r = elevated.model.wires[i];
    EXPECT_EQ(r.from.z, 3);
    EXPECT_EQ(r.to.z, 3);
    EXPECT_NEAR(static_cast<double>(Length(r.to - r.from)), static_cast<double>(quarter), 1e-9);
  }
  // The four radials point four ways.
  EXPECT_NEAR(static_cast<double>(elevated.model.wires[3].to.x), -static_cast<double>(quarter),
              1e-9);
  ASSERT_TRUE(BuildStructure(elevated.model, 3.6L).structure);

  EXPECT_FALSE(VerticalPreset(3.6L, 3, 0, 0.002L, RealGround(13, 0.005L)).problems.empty());
  EXPECT_FALSE(VerticalPreset(3.6L, 0, 4, 0.002L, FreeSpace()).problems.empty());
}

}  // namespace
}  // namespace korrin::nearfield
