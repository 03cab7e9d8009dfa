// The thin-wire rules hold for presets, wires and decks alike: no segment
// shorter than 8 radii, none longer than a tenth of the wavelength; a wire
// that breaks one is refused with the rule and its numbers, before the
// engine runs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nearfield/NearField.h"
#include "nearfield/NecFile.h"
#include "nearfield/Presets.h"
#include "nearfield/WireModel.h"

namespace korrin::nearfield {
namespace {

constexpr Real kMHz = 14.2L;  // a wavelength of 21.1 m: a tenth is 2.11 m

struct ThinWireCase {
  const char* name;
  const char* deck;     // a user's deck, as a nec-file
  const char* message;  // a part of the first problem; empty: none
};

class ThinWireTest : public ::testing::TestWithParam<ThinWireCase> {};

TEST_P(ThinWireTest, EachWireKeepsTheRules) {
  const ThinWireCase& c = GetParam();
  const NecFile f = ParseNecGeometry(c.deck);
  ASSERT_TRUE(f.geometry) << c.name << ": " << f.problems.at(0).message;
  Structure s;
  s.geometry = f.geometry->geometry;
  s.feed = f.geometry->firstWireMiddle;
  const std::vector<std::string> problems = ThinWireProblems(s, kMHz);
  if (std::string(c.message).empty()) {
    EXPECT_TRUE(problems.empty()) << c.name << ": " << problems.at(0);
    return;
  }
  ASSERT_FALSE(problems.empty()) << c.name;
  EXPECT_NE(problems[0].find(c.message), std::string::npos) << c.name << ": " << problems[0];
  EXPECT_EQ(problems[0].rfind("line 1 (", 0), 0U) << c.name << ": " << problems[0];

  // The evaluation refuses it before the engine runs (a missing engine
  // would say so instead).
  Request q;
  q.structure = s;
  q.frequencyMHz = kMHz;
  q.power = {100, 100, 100};
  q.run.program = "/nonexistent/nec2c";
  const Evaluation ev = Evaluate(q);
  EXPECT_EQ(ev.status, Status::Refused) << c.name << ": " << ev.message;
  EXPECT_EQ(ev.message, problems[0]) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Decks, ThinWireTest,
    ::testing::Values(
        ThinWireCase{"a half-wave dipole", "GW 1 21 -5.28 0 10 5.28 0 10 0.001\nGE 0\n", ""},
        // 10.56 m in 101 segments of 0.105 m, against 8 x 20 mm = 0.16 m.
        ThinWireCase{"segments shorter than 8 radii", "GW 1 101 -5.28 0 10 5.28 0 10 0.02\nGE 0\n",
                     "shorter than 8 times its radius (20 mm)"},
        // 10.56 m in 3 segments of 3.52 m.
        ThinWireCase{"segments longer than a tenth of the wave",
                     "GW 1 3 -5.28 0 10 5.28 0 10 0.001\nGE 0\n",
                     "longer than a tenth of the wavelength (2.11 m at 14.2 MHz)"},
        // 1 segment of 10.56 m, and 8 radii are 4 m: no segmentation fits.
        ThinWireCase{"too thick for the wavelength", "GW 1 1 -5.28 0 10 5.28 0 10 0.5\nGE 0\n",
                     "too thick"},
        // Feet scaled to metres: 34.6 ft in 21 segments is 0.5 m each.
        ThinWireCase{"scaled", "GW 1 21 -17.3 0 33 17.3 0 33 0.003\nGS 0 0 0.3048\nGE 0\n", ""},
        // Unscaled the same wire's segments are 1.65 m and its radius 3 mm:
        // scaled by 10 they are 16.5 m long.
        ThinWireCase{"scaled beyond a tenth of the wave",
                     "GW 1 21 -17.3 0 33 17.3 0 33 0.003\nGS 0 0 10\nGE 0\n", "tenth"},
        // An arc of 90 degrees at 1 m radius in 2 segments: 0.785 m each,
        // against 8 x 0.1 m.
        ThinWireCase{"a thick arc", "GA 1 2 1 0 90 0.1\nGE 0\n", "shorter than 8 times"}));

// A preset's fat wire: 500 mm of radius on a 14.2 MHz dipole was once
// modelled with one segment and its near field came out 36 % low.
TEST(ThinWirePresetTest, AFatPresetIsRefusedWithItsNumbers) {
  const Preset p = DipolePreset(kMHz, 10, std::nullopt, 0.5L, FreeSpace());
  const BuiltStructure built = BuildStructure(p.model, kMHz);
  EXPECT_FALSE(built.structure);
  ASSERT_FALSE(built.problems.empty());
  EXPECT_NE(built.problems[0].find("wire 1"), std::string::npos) << built.problems[0];
  EXPECT_NE(built.problems[0].find("500 mm"), std::string::npos) << built.problems[0];
  EXPECT_NE(built.problems[0].find("too thick"), std::string::npos) << built.problems[0];
  EXPECT_TRUE(BuildStructure(DipolePreset(kMHz, 10, std::nullopt, 0.03L, FreeSpace()).model, kMHz)
                  .structure);
}

}  // namespace
}  // namespace korrin::nearfield
