// An antenna's NEC card deck: the geometry cards are taken, every other
// card is refused with its line, and what is taken gives the engine the
// same antenna as the deck itself.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "nearfield/NearField.h"
#include "nearfield/NecFile.h"
#include "nearfield/Runner.h"
#include "nearfield/Text.h"

namespace korrin::nearfield {
namespace {

struct RefusalCase {
  const char* name;
  const char* text;
  int line;             // of the first problem; 0 for the file as a whole
  const char* message;  // a part of it
};

class NecFileRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(NecFileRefusalTest, NamesTheLineAndTakesNothing) {
  const RefusalCase& c = GetParam();
  const NecFile f = ParseNecGeometry(c.text);
  EXPECT_FALSE(f.geometry);
  ASSERT_FALSE(f.problems.empty());
  EXPECT_EQ(f.problems[0].line, c.line) << f.problems[0].message;
  EXPECT_NE(f.problems[0].message.find(c.message), std::string::npos) << f.problems[0].message;
}

INSTANTIATE_TEST_SUITE_P(
    Decks, NecFileRefusalTest,
    ::testing::Values(
        RefusalCase{"Excitation",
                    "CM dipole\nCE\nGW 1 21 0 -5 10 0 5 10 0.001\nGE 1\nEX 0 1 11 0 1 0\n", 5,
                    "the card EX is not accepted"},
        RefusalCase{"Frequency", "GW 1 21 0 -5 10 0 5 10 0.001\nGE 0\nFR 0 1 0 0 14.2 0\nEN\n", 3,
                    "writes the frequency"},
        RefusalCase{"Patch", "GW 1 21 0 -5 10 0 5 10 0.001\nSP 0 0 0 0 1 0 0 0.1\nGE 0\n", 2,
                    "surface patches"},
        RefusalCase{"UnknownCard", "GW 1 21 0 -5 10 0 5 10 0.001\nSY len=10\nGE 0\n", 2,
                    "the card SY is not accepted"},
        RefusalCase{"TaperedWire", "GW 1 21 0 -5 10 0 5 10 0\nGC 0 0 1 0.001 0.002\nGE 0\n", 1,
                    "tapered wires"},
        RefusalCase{"NotANumber", "GW 1 21 0 -5 ten 0 5 10 0.001\nGE 0\n", 1,
                    "field 5 of GW (\"ten\") is not a number"},
        RefusalCase{"FractionalTag", "GW 1.5 21 0 -5 10 0 5 10 0.001\nGE 0\n", 1,
                    "is not a whole number"},
        RefusalCase{"ShortWireCard", "GW 1 21 0 -5 10 0 5 10\nGE 0\n", 1,
                    "GW takes 9 numbers, not 8"},
        RefusalCase{"NoSegments", "GW 1 0 0 -5 10 0 5 10 0.001\nGE 0\n", 1, "at least one segment"},
        RefusalCase{"GeometryAfterGe",
                    "GW 1 21 0 -5 10 0 5 10 0.001\nGE 0\nGW 2 5 0 0 0 1 1 1 0.01\n", 3, "after GE"},
        RefusalCase{"LoadBeforeGe", "GW 1 21 0 -5 10 0 5 10 0.001\nLD 5 1 0 0 5.8e7\nGE 0\n", 2,
                    "must come after GE"},
        RefusalCase{"RadialScreen",
                    "GW 1 21 0 -5 10 0 5 10 0.001\nGE 1\nGN 0 32 0 0 13 0.005 10 0.001\n", 3,
                    "radial ground screen"},
        RefusalCase{"BadGround", "GW 1 21 0 -5 10 0 5 10 0.001\nGE 1\nGN 2 0 0 0 0.5 0.005\n", 3,
                    "permittivity"},
        RefusalCase{"NoGe", "CM\nCE\nGW 1 21 0 -5 10 0 5 10 0.001\n", 0, "does not end with a GE"},
        RefusalCase{"NoWire", "GS 0 0 0.3048\nGE 0\n", 0, "no wire"},
        RefusalCase{"NotACard", "GW 1 21 0 -5 10 0 5 10 0.001\n123\nGE 0\n", 2, "not a card"},
        // Once cast to an integer with undefined behaviour and handed on.
        RefusalCase{"HugeSegments", "GW 1 99999999999999999999 0 -5 10 0 5 10 0.001\nGE 0\n", 1,
                    "not a whole number from -99999 to 99999"},
        RefusalCase{"HugeNegativeTag", "GW -1e300 21 0 -5 10 0 5 10 0.001\nGE 0\n", 1,
                    "not a whole number from -99999 to 99999"},
        RefusalCase{"HugeLoadSegment",
                    "GW 1 21 0 -5 10 0 5 10 0.001\nGE 0\nLD 5 1 100000 0 5.8e7\n", 3,
                    "field 3 of LD"},
        // Once left to the engine, which hung until the time limit.
        RefusalCase{"ZeroLengthWire", "GW 1 5 0 0 2 0 0 2 0.001\nGE 0\n", 1, "same point"},
        // Even at 6 digits its numbers do not fit in the engine's 80 characters.
        RefusalCase{"CardTooLong",
                    "GW 1 21 -1.23456789e-05 -1.23456789e-05 -1.23456789e-05 1.23456789e-05 "
                    "1.23456789e-05 1.23456789e-05 1.23456789e-07\nGE 0\n",
                    1, "80 characters"}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

// Every problem of a file is reported, each with its line.
TEST(NecFileTest, ReportsEveryProblemInOnePass) {
  const NecFile f = ParseNecGeometry("GW 1 21 0 -5 10 0 5 10 0.001\nEX 0 1 1 0 1\nGE 0\nRP 0 1\n");
  ASSERT_EQ(f.problems.size(), 2u);
  EXPECT_EQ(f.problems[0].line, 2);
  EXPECT_EQ(f.problems[1].line, 4);
  EXPECT_EQ(FormatNecFileProblem("yagi.nec", f.problems[1]).rfind("yagi.nec:4: the card RP", 0),
            0u);
}

// A deck with comments, a scale card, a reflected copy, loads and a ground:
// what is taken runs as the same antenna as the deck itself.
TEST(NecFileTest, TheTakenGeometryRunsAsTheDeckItself) {
  // An inverted L in feet, scaled to metres, of copper (LD 5).
  const std::string geometry =
      "CM inverted L, feet\n"
      "CE\n"
      "GW 1 9 0 0 1 0 0 30 0.05\n"
      "GW 2 15 0 0 30 45 0 30 0.05\n"
      "GS 0 0 0.3048\n"
      "GE 1\n"
      "GN 2 0 0 0 13 0.005\n"
      "LD 5 0 0 0 5.8e7\n";
  const NecFile f = ParseNecGeometry(geometry + "EN\nthis line after EN is never read\n");
  ASSERT_TRUE(f.geometry) << f.problems.at(0).message;
  const NecGeometry& g = *f.geometry;
  EXPECT_EQ(g.geometry.size(), 3u);
  EXPECT_EQ(g.loads.size(), 1u);
  EXPECT_EQ(g.groundFlag, 1);
  ASSERT_TRUE(g.ground);
  EXPECT_EQ(g.ground->kind, GroundKind::Real);
  EXPECT_EQ(g.firstWireMiddle.tag, 1);
  EXPECT_EQ(g.firstWireMiddle.segment, 5);

  Structure s;
  s.geometry = g.geometry;
  s.loads = g.loads;
  s.ground = *g.ground;
  s.groundFlag = g.groundFlag;
  s.feed = {1, 1};
  const RunResult ours = RunEngine(WriteDeck(s, 3.6L, Requests{}), RunOptions{});
  const RunResult theirs =
      RunEngine(geometry + "FR 0 1 0 0 3.6 0\nEX 0 1 1 0 1 0\nXQ\nEN\n", RunOptions{});
  ASSERT_EQ(ours.status, RunStatus::Finished) << ours.message;
  ASSERT_EQ(theirs.status, RunStatus::Finished) << theirs.message;
  const auto a = ParseNecOutput(ours.output);
  const auto b = ParseNecOutput(theirs.output);
  ASSERT_TRUE(a.output && b.output);
  ASSERT_EQ(a.output->sources.size(), 1u);
  ASSERT_EQ(b.output->sources.size(), 1u);
  EXPECT_EQ(a.output->segments, b.output->segments);
  EXPECT_EQ(a.output->sources[0].impedanceOhm, b.output->sources[0].impedanceOhm);
  // The scale reached the engine: the top wire ends 45 ft = 13.716 m out.
  Real farthest = 0;
  for (const SegmentRow& r : a.output->segmentRows) farthest = std::max(farthest, r.To().x);
  EXPECT_NEAR(static_cast<double>(farthest), 13.716, 1e-3);
}

// GN's kinds: nullified, perfect, and a real ground by either method, the
// reflection-coefficient one taken by the Sommerfeld-Norton method with a
// note.
TEST(NecFileTest, GroundCards) {
  struct Case {
    const char* card;
    GroundKind kind;
    bool note;
  };
  for (const Case c :
       {Case{"GN -1", GroundKind::FreeSpace, false}, Case{"GN 1", GroundKind::Perfect, false},
        Case{"GN 2 0 0 0 20 0.0303", GroundKind::Real, false},
        Case{"GN 0 0 0 0 5 0.001", GroundKind::Real, true}}) {
    const NecFile f =
        ParseNecGeometry(std::string("GW 1 21 0 -5 10 0 5 10 0.001\nGE 1\n") + c.card + "\n");
    ASSERT_TRUE(f.geometry) << c.card;
    ASSERT_TRUE(f.geometry->ground) << c.card;
    EXPECT_EQ(f.geometry->ground->kind, c.kind) << c.card;
    EXPECT_EQ(f.geometry->notes.empty(), !c.note) << c.card;
  }
}

}  // namespace
}  // namespace korrin::nearfield

namespace korrin::nearfield {
namespace {

// A deck whose lines are longer than the 80 characters the engine reads (a
// comment, a wire's numbers to 17 digits): written card by card, every
// line fits, each number keeps 6 digits at least, and the engine computes
// the fields where they were asked for.
TEST(NecFileTest, LongLinesAreRewrittenToFitTheEngine) {
  const std::vector<double> wire = {1,
                                    21,
                                    -5.2812345678901234,
                                    0.0000012345678901,
                                    10.123456789012345,
                                    5.2812345678901234,
                                    -0.0000012345678901,
                                    10.123456789012345,
                                    0.0012345678901234};
  std::string card = "GW";
  for (double v : wire) {
    char text[40];
    std::snprintf(text, sizeof text, " %.17g", v);
    card += text;
  }
  ASSERT_GT(card.size(), kLongestCardLine);
  const std::string deck = "CM " + std::string(120, 'x') + "\nCE\n" + card + "\nGE 0\n";
  const NecFile f = ParseNecGeometry(deck);
  ASSERT_TRUE(f.geometry) << f.problems.at(0).message;
  Structure s;
  s.geometry = f.geometry->geometry;
  s.feed = f.geometry->firstWireMiddle;
  Requests r;
  r.blocks = {FieldBlock{{-12.345678901234567, 0.12345678901234567, 2.0000000000000004},
                         {0.012345678901234567, 0.012345678901234567, 0.25},
                         3,
                         3,
                         2}};
  const std::string written = WriteDeck(s, 14.212345678901234L, r);
  EXPECT_FALSE(LongLineOf(written)) << written;
  size_t start = 0;
  while (start < written.size()) {
    const size_t end = written.find('\n', start);
    const std::string line = written.substr(start, end - start);
    start = end + 1;
    EXPECT_LE(line.size(), kLongestCardLine) << line;
    if (line.rfind("GW", 0) != 0) continue;
    std::vector<std::string_view> fields;
    SplitFields(std::string_view(line).substr(2), fields);
    ASSERT_EQ(fields.size(), wire.size()) << line;
    for (size_t i = 0; i < wire.size(); ++i) {
      // Half a unit in the sixth digit.
      EXPECT_NEAR(*ToDouble(fields[i]), wire[i], 5e-6 * std::fabs(wire[i])) << line;
    }
  }
  const FieldRun run = ComputeFields(s, 14.212345678901234L, r, RunOptions{});
  EXPECT_EQ(run.status, Status::Done) << run.message;
}

// A card that even at 6 digits is longer than the engine reads is never
// handed to it.
TEST(NecFileTest, ADeckLineTooLongIsRefusedBeforeTheEngineRuns) {
  Structure s;
  s.geometry = {{"GW",
                 {1, 21, -1.23456789e-5, -1.23456789e-5, -1.23456789e-5, 1.23456789e-5,
                  1.23456789e-5, 1.23456789e-5, 1.23456789e-7},
                 0}};
  s.feed = {1, 11};
  RunOptions o;
  o.program = "/nonexistent/nec2c";  // were it run, the status would say the engine is missing
  const FieldRun run = ComputeFields(s, 14.2L, Requests{}, o);
  EXPECT_EQ(run.status, Status::Refused) << run.message;
  EXPECT_NE(run.message.find("longer than the 80 characters"), std::string::npos) << run.message;
}

}  // namespace
}  // namespace korrin::nearfield
