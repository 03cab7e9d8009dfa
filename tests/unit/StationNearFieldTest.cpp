// A station's wire antennas through the near field: the powers the
// evaluation works out, the near field's exposure in the sums at places and
// along the property line in place of the far-field estimate, a "wires"
// antenna's gain from its model, a NEC deck beside the station file, and
// each way it can fail leaving the other figures worked.  These run nec2c;
// without it they fail (except the test of its absence).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "assess/NearFieldStation.h"
#include "assess/StationMethod.h"
#include "nearfield/Map.h"
#include "station/StationFile.h"
#include "tests/unit/StationFileTestSupport.h"

namespace korrin::assess {
namespace {

namespace nf = korrin::nearfield;

double D(Real v) {
  return static_cast<double>(v);
}

station::Station Read(const std::string& text) {
  const station::ReadResult r = station::ParseStation(text, "test.station.toml");
  EXPECT_TRUE(r.station) << station::FormatDiagnostics(r.errors);
  return r.station.value_or(station::Station{});
}

std::string Station(const std::string& transmitter, const std::string& antennas,
                    const std::string& installations, const std::string& rest = "") {
  return "format = \"korrin-station/1\"\nground-reflection = true\n\n[[transmitter]]\nid = "
         "\"rig\"\n" +
         transmitter + "\n" + antennas + "\n" + installations + "\n" + rest;
}

const nf::CaseResult* Result(const NearFieldInstallation& n, LimitSetChoice set, Tier tier) {
  for (const nf::CaseResult& r : n.results) {
    if (SetOf(r) == set && TierOf(r) == tier) return &r;
  }
  return nullptr;
}

// The worked dipole: 14.2 MHz, 10 m above average ground, 1500 W FT8.  The
// near field takes the evaluation's powers (FT8 transmits half of any 6 or
// 30 minutes), and at 100 W CW (40 % duty) every exposure is that power's
// share of FT8's: the fields scale with the square root of the power.
TEST(StationNearFieldTest, TheWorkedDipoleTakesTheEvaluationsPowers) {
  const station::Station s =
      Read(Station("power-w = 1500\nmode = \"ft8\"",
                   "[[antenna]]\nid = \"dipole\"\nkind = \"dipole\"\nheight-m = 10\n",
                   "[[installation]]\nid = \"20m\"\ntransmitter = \"rig\"\nantenna = \"dipole\"\n"
                   "frequency-mhz = 14.2\n"));
  const StationNearField out = EvaluateWithNearField(s);
  ASSERT_EQ(out.installations.size(), 1u);
  const NearFieldInstallation& n = out.installations[0];
  ASSERT_EQ(n.status, nf::Status::Done) << n.message;
  ASSERT_EQ(n.results.size(), 4u);
  EXPECT_EQ(D(n.power.peakEnvelopeW), 1500);
  EXPECT_NEAR(D(n.power.average6MinW), 750, 1e-9);
  EXPECT_NEAR(D(n.power.average30MinW), 750, 1e-9);
  const InstallationResult* r = out.evaluation.FindInstallation("20m");
  ASSERT_TRUE(r);
  const TierResult* fcc = r->Find(LimitSetChoice::Fcc, Tier::General);
  ASSERT_TRUE(fcc && fcc->timeAveraged);
  EXPECT_NEAR(D(fcc->timeAveraged->powerW), D(n.power.average30MinW), 1e-9);  // the same power

  const nf::TransmitPower cw{100, 40, 40};
  const std::vector<nf::CaseResult> atCw =
      nf::Assess(*n.solution, cw, {{nf::LimitSet::Fcc, nf::Tier::General}});
  const nf::CaseResult* ft8 = Result(n, LimitSetChoice::Fcc, Tier::General);
  EXPECT_NEAR(atCw[0].headPeak.value / ft8->headPeak.value, 40.0 / 750.0, 1e-12);
  // A half-wave dipole 8 m above the head stays below the limits at both powers.
  for (const nf::CaseResult& c : n.results) {
    EXPECT_LT(c.headPeak.value, 1) << LimitSetId(c.limitCase.set);
    EXPECT_EQ(c.headKeepOut.kind, nf::KeepOutKind::Never);
  }
}

// An inverted V whose ends hang 2.4 m above a perfect ground, 1500 W of
// carrier: at a place beside an end and along a property line past it, the
// sums take the near field's exposure (one transmitter: the sum is its
// fraction), not the far-field estimate, which stays in the installation's
// own figures.
TEST(StationNearFieldTest, PlacesAndThePropertyLineTakeTheNearField) {
  const station::Station s = Read(
      Station("power-w = 1500\nmode = \"carrier\"",
              "[[antenna]]\nid = \"vee\"\nkind = \"inverted-v\"\nheight-m = 9\ndroop-deg = 40\n"
              "ground = \"perfect\"\nx-m = 3\ny-m = 4\n",
              "[[installation]]\nid = \"40m\"\ntransmitter = \"rig\"\nantenna = \"vee\"\n"
              "frequency-mhz = 7.1\n",
              "[[place]]\nname = \"path\"\nx-m = -6.5\ny-m = 5\n\n"
              "[[place]]\nname = \"shed\"\nx-m = 3\ny-m = 12\nheight-m = 1.5\n\n"
              "[property]\noutline-m = [[-12, -8], [18, -8], [18, 16], [-12, 16]]\n"));
  NearFieldOptions o;
  o.grid.stepM = 0.5L;
  const StationNearField out = EvaluateWithNearField(s, o);
  const NearFieldInstallation& n = out.installations.at(0);
  ASSERT_EQ(n.status, nf::Status::Done) << n.message;
  ASSERT_EQ(n.places.size(), 2u);
  const InstallationResult* r = out.evaluation.FindInstallation("40m");
  ASSERT_TRUE(r);
  const size_t fccGeneral = 0;  // the results' order: FCC general first
  ASSERT_EQ(SetOf(n.results[fccGeneral]), LimitSetChoice::Fcc);
  for (size_t p = 0; p < 2; ++p) {
    const PlaceResult* place = out.evaluation.FindPlace(n.places[p].name);
    ASSERT_TRUE(place);
    const PlaceSum& sum = place->sums.at(0);  // FCC general, time-averaged, group "all"
    ASSERT_EQ(sum.set, LimitSetChoice::Fcc);
    EXPECT_NEAR(D(sum.sum), D(n.places[p].exposure[fccGeneral]), 1e-12 * D(sum.sum) + 1e-15)
        << n.places[p].name;
    const auto farField = FractionAtPoint(*r, LimitSetChoice::Fcc, Tier::General,
                                          Criterion::TimeAveraged, place->positionM);
    ASSERT_TRUE(farField);
    EXPECT_GT(std::fabs(D(*farField) / D(sum.sum) - 1), 0.1) << n.places[p].name;
  }
  // Along the line: the largest sum is the largest near-field exposure at the
  // line's points, which follow the places among the computed points.
  double most = 0;
  const nf::CriterionResult& head = n.results[fccGeneral].head.at(0);
  for (size_t k = n.places.size(); k < n.solution->pointSamples.size(); ++k) {
    most = std::max(most, nf::ExposureAt(n.solution->pointSamples[k], head.powerW, head.limit));
  }
  ASSERT_FALSE(out.evaluation.property.empty());
  EXPECT_NEAR(D(out.evaluation.property[0].maxSum), most, 1e-12 * most);
  EXPECT_GT(D(r->Find(LimitSetChoice::Fcc, Tier::General)->KeepOutM().value_or(0)), 0);

  // The maps: the plan's contour reaches the keep-out distance at head
  // height within a step of the plan's grid (the distance comes from the
  // finer samples); the side views see the V along its wire and edge-on
  // across.
  const nf::CaseResult& result = n.results[fccGeneral];
  ASSERT_EQ(result.headKeepOut.kind, nf::KeepOutKind::Within);
  const nf::NearFieldMap map = nf::MapOf(*n.solution, result, true);
  ASSERT_EQ(map.panels.size(), 3u);
  Real farthest = 0;
  for (const nf::ContourSegment& c : map.panels[0].contour) {
    farthest = std::max({farthest, nf::HorizontalDistance(c.from), nf::HorizontalDistance(c.to)});
  }
  EXPECT_NEAR(D(farthest), D(result.headKeepOut.distanceM), D(n.solution->stepM));
  Real top = 0;
  Real lowest = 100;
  Real wide = 0;
  for (const nf::ContourSegment& w : map.panels[1].wires) {
    top = std::max({top, w.from.y, w.to.y});
    lowest = std::min({lowest, w.from.y, w.to.y});
    wide = std::max({wide, std::fabs(w.from.x), std::fabs(w.to.x)});
  }
  EXPECT_NEAR(D(top), 9, 1e-3);  // the apex
  // The legs start from the ends of the one-segment feed wire, half of 1/40 wave each side.
  const Real feedHalf = 299.792458L / 7.1L / 80;
  EXPECT_NEAR(D(lowest), 9 - D(wide - feedHalf) * std::tan(40 * M_PI / 180), 1e-3);
  for (const nf::ContourSegment& w : map.panels[2].wires) {
    EXPECT_NEAR(D(w.from.x), 0, 1e-3);
    EXPECT_NEAR(D(w.to.x), 0, 1e-3);
  }
}

// An installation known only by its band stands for every frequency in
// it: the model is the band's middle (3.75 MHz for 80 m in region 2), its
// fields at each point the strongest of the middle and the edges, judged
// against the band's lowest limits, at 4 MHz, with the most power the feed
// line passes in the band, at 3.5 MHz.  On the band's own fields, against
// the middle's limits and power, FCC general population's E and H limits
// (824/f, 2.19/f) are both lower by 3.75/4, so every exposure is higher by
// (4/3.75)^2 and by the power's ratio.
TEST(StationNearFieldTest, ABandIsJudgedAgainstItsLowestLimitsAndStrongestFields) {
  const auto stationAt = [](const std::string& where) {
    return Read(Station(
        "power-w = 1500\nmode = \"carrier\"",
        "[[antenna]]\nid = \"dipole\"\nkind = \"dipole\"\nheight-m = 6\nground = \"perfect\"\n",
        "[[installation]]\nid = \"80m\"\ntransmitter = \"rig\"\nantenna = \"dipole\"\n"
        "feedline = \"coax\"\n" +
            where,
        "[[feedline]]\nid = \"coax\"\ncable = \"RG-58\"\nlength-m = 30\n\n"
        "[[place]]\nname = \"path\"\nx-m = 12\ny-m = 3\n"));
  };
  NearFieldOptions o;
  o.grid.stepM = 1;
  const StationNearField band = EvaluateWithNearField(stationAt("band = \"80m\"\n"), o);
  const StationNearField middle = EvaluateWithNearField(stationAt("frequency-mhz = 3.75\n"), o);
  const NearFieldInstallation& b = band.installations.at(0);
  const NearFieldInstallation& m = middle.installations.at(0);
  ASSERT_EQ(b.status, nf::Status::Done) << b.message;
  ASSERT_EQ(m.status, nf::Status::Done) << m.message;
  EXPECT_EQ(D(b.frequencyMHz), 3.75);
  EXPECT_EQ(b.solution->deck, m.solution->deck);  // the same model
  EXPECT_EQ(D(b.limitBand.upperMHz), 4.0);
  EXPECT_EQ(D(m.limitBand.upperMHz), 3.75);
  EXPECT_EQ(b.solution->fieldsAtMHz, (std::vector<Real>{3.75L, 3.5L, 4.0L}));
  EXPECT_EQ(m.solution->fieldsAtMHz, std::vector<Real>{3.75L});
  ASSERT_EQ(b.notes.size(), m.notes.size() + 1);
  for (const char* words :
       {"with the fields at each point the strongest of the band's middle and edges",
        "its field limits are the lowest of the band, 3.5\u20134 MHz"}) {
    EXPECT_NE(b.notes.back().find(words), std::string::npos) << b.notes.back();
  }

  // The band's fields per watt are at least the middle's everywhere, and
  // stronger somewhere: the dipole is cut for the middle.
  for (nf::FieldPlane nf::Solution::*samples : {&nf::Solution::plan, &nf::Solution::along}) {
    const std::vector<nf::FieldSample>& got = ((*b.solution).*samples).samples;
    const std::vector<nf::FieldSample>& mid = ((*m.solution).*samples).samples;
    ASSERT_EQ(got.size(), mid.size());
    int stronger = 0;
    for (size_t n = 0; n < got.size(); ++n) {
      ASSERT_GE(got[n].e2, mid[n].e2) << n;
      ASSERT_GE(got[n].h2, mid[n].h2) << n;
      stronger += got[n].e2 > mid[n].e2 ? 1 : 0;
    }
    EXPECT_GT(stronger, 0);
  }

  // The powers: the most of the band against the one at 3.75 MHz.
  const InstallationResult* rb = band.evaluation.FindInstallation("80m");
  const InstallationResult* rm = middle.evaluation.FindInstallation("80m");
  ASSERT_TRUE(rb && rm);
  EXPECT_EQ(D(b.power.peakEnvelopeW), D(rb->mostPowerAtAntennaW));
  EXPECT_GT(rb->mostPowerAtAntennaW, rb->powerAtAntennaW);  // the headline is at 4 MHz
  EXPECT_EQ(D(m.power.peakEnvelopeW), D(rm->powerAtAntennaW));
  const double power = D(b.power.average30MinW / m.power.average30MinW);
  EXPECT_GT(power, 1);

  // The band's fields assessed with the middle's limits and power.
  nf::Solution onMiddle = *b.solution;
  onMiddle.limitBand = m.limitBand;
  std::vector<nf::LimitCase> cases;
  cases.reserve(b.results.size());
  for (const nf::CaseResult& r : b.results) cases.push_back(r.limitCase);
  const std::vector<nf::CaseResult> mr = nf::Assess(onMiddle, m.power, cases);
  ASSERT_EQ(mr.size(), b.results.size());
  const auto same = [&](LimitSetChoice set,
                        Tier tier) -> std::pair<const nf::CaseResult*, const nf::CaseResult*> {
    const nf::CaseResult* r = Result(b, set, tier);
    return {r, r == nullptr ? nullptr : &mr.at(static_cast<size_t>(r - b.results.data()))};
  };
  const double ratio = (4.0 / 3.75) * (4.0 / 3.75) * power;
  const auto [fb, fm] = same(LimitSetChoice::Fcc, Tier::General);
  ASSERT_TRUE(fb && fm);
  EXPECT_NEAR(fb->headPeak.value / fm->headPeak.value, ratio, 1e-12);
  EXPECT_NEAR(fb->wholeBodyPeak.value / fm->wholeBodyPeak.value, ratio, 1e-12);
  ASSERT_EQ(fm->head.size(), 1u);
  const double atPlace =
      nf::ExposureAt(b.solution->pointSamples.at(0), fm->head[0].powerW, fm->head[0].limit);
  EXPECT_NEAR(D(b.places.at(0).exposure.at(0)) / atPlace, ratio, 1e-12);
  // The place's sum follows its exposure, in the band as at the middle.
  const PlaceResult* pb = band.evaluation.FindPlace("path");
  const PlaceResult* pm = middle.evaluation.FindPlace("path");
  ASSERT_TRUE(pb && pm);
  ASSERT_EQ(pb->sums.at(0).set, LimitSetChoice::Fcc);
  EXPECT_NEAR(D(pb->sums.at(0).sum / b.places.at(0).exposure.at(0)),
              D(pm->sums.at(0).sum / m.places.at(0).exposure.at(0)), 1e-12);
  // ICNIRP 2020's E limit falls as f^0.7 and its H limit as f: the point
  // criterion rises by between the two; the nerve-stimulation levels are
  // the same at every frequency below 10 MHz: only the power counts.
  const auto [ib, im] = same(LimitSetChoice::Icnirp2020, Tier::General);
  ASSERT_TRUE(ib && im);
  ASSERT_EQ(ib->head.size(), 2u);
  ASSERT_EQ(ib->head[0].criterion, nf::Criterion::Point);
  ASSERT_EQ(ib->head[1].criterion, nf::Criterion::NerveStimulation);
  const double point = ib->head[0].peak.value / im->head[0].peak.value;
  EXPECT_GE(point, std::pow(4.0 / 3.75, 1.4) * power * (1 - 1e-12));
  EXPECT_LE(point, ratio * (1 + 1e-12));
  EXPECT_NEAR(ib->head[1].peak.value / im->head[1].peak.value, power, 1e-12);
}

// A "wires" antenna with the preset dipole's own wire: the same near field,
// and its far-field estimate takes the model's peak gain, which includes the
// ground, so no ground factor is added again.
TEST(StationNearFieldTest, AWiresAntennaTakesItsModelsGain) {
  const Real half = 299.792458L / 14.2L / 4;
  const std::string wire = "[[" + std::to_string(static_cast<double>(-half)) + ", 0, 0, " +
                           std::to_string(static_cast<double>(half)) + ", 0, 0, 1]]";
  const station::Station s = Read(Station(
      "power-w = 100\nmode = \"carrier\"",
      "[[antenna]]\nid = \"preset\"\nkind = \"dipole\"\nheight-m = 6\nground = \"perfect\"\n\n"
      "[[antenna]]\nid = \"own\"\nkind = \"wires\"\nheight-m = 6\nground = \"perfect\"\nwires = " +
          wire + "\n",
      "[[installation]]\nid = \"a\"\ntransmitter = \"rig\"\nantenna = \"preset\"\nfrequency-mhz = "
      "14.2\n\n"
      "[[installation]]\nid = \"b\"\ntransmitter = \"rig\"\nantenna = \"own\"\nfrequency-mhz = "
      "14.2\n"));
  NearFieldOptions o;
  o.grid.stepM = 0.5L;
  const StationNearField out = EvaluateWithNearField(s, o);
  ASSERT_EQ(out.installations.size(), 2u);
  const NearFieldInstallation& a = out.installations[0];
  const NearFieldInstallation& b = out.installations[1];
  ASSERT_EQ(a.status, nf::Status::Done) << a.message;
  ASSERT_EQ(b.status, nf::Status::Done) << b.message;
  EXPECT_NEAR(a.results[0].headPeak.value / b.results[0].headPeak.value, 1, 1e-3);
  const InstallationResult* ra = out.evaluation.FindInstallation("a");
  const InstallationResult* rb = out.evaluation.FindInstallation("b");
  ASSERT_TRUE(ra && rb);
  EXPECT_NEAR(D(rb->gainDbi), D(b.solution->peak->gainDbi), 1e-9);
  EXPECT_EQ(D(rb->groundFactor), 1);
  EXPECT_EQ(D(ra->gainDbi), 2.15);  // the kind's own, with the ground factor
  EXPECT_GT(D(ra->groundFactor), 1);
}

// A NEC deck beside the station file, its wire at z = 0 raised by the
// antenna's height: the same antenna as its own wires.  A deck holding a
// card the program writes itself is refused with its line, and the other
// installations are evaluated all the same.
TEST(StationNearFieldTest, ANecDeckBesideTheStationFile) {
  testing_support::TempDir dir;
  std::ofstream(dir / "dipole.nec")
      << "CM 20 m dipole\nCE\nGW 7 21 -5.2 0 0 5.2 0 0 0.001\nGE 1\nEN\n";
  std::ofstream(dir / "fed.nec") << "GW 1 21 -5.2 0 0 5.2 0 0 0.001\nGE 1\nEX 0 1 11 0 1 0\n";
  const station::Station s = Read(Station(
      "power-w = 100\nmode = \"carrier\"",
      "[[antenna]]\nid = \"deck\"\nkind = \"wires\"\nnec-file = \"dipole.nec\"\nheight-m = 6\n"
      "ground = \"perfect\"\n\n"
      "[[antenna]]\nid = \"own\"\nkind = \"wires\"\nheight-m = 6\nground = \"perfect\"\n"
      "wires = [[-5.2, 0, 0, 5.2, 0, 0, 1]]\n\n"
      "[[antenna]]\nid = \"bad\"\nkind = \"wires\"\nnec-file = \"fed.nec\"\nheight-m = 6\n",
      "[[installation]]\nid = \"a\"\ntransmitter = \"rig\"\nantenna = \"deck\"\nfrequency-mhz = "
      "14.2\n\n"
      "[[installation]]\nid = \"b\"\ntransmitter = \"rig\"\nantenna = \"own\"\nfrequency-mhz = "
      "14.2\n\n"
      "[[installation]]\nid = \"c\"\ntransmitter = \"rig\"\nantenna = \"bad\"\nfrequency-mhz = "
      "14.2\n"));
  NearFieldOptions o;
  o.grid.stepM = 0.5L;
  o.folder = dir.path().string();
  const StationNearField out = EvaluateWithNearField(s, o);
  ASSERT_EQ(out.installations.size(), 3u);
  const NearFieldInstallation& deck = out.installations[0];
  const NearFieldInstallation& own = out.installations[1];
  const NearFieldInstallation& bad = out.installations[2];
  ASSERT_EQ(deck.status, nf::Status::Done) << deck.message;
  ASSERT_EQ(own.status, nf::Status::Done) << own.message;
  EXPECT_NEAR(D(deck.solution->impedanceOhm.real()), D(own.solution->impedanceOhm.real()), 0.01);
  EXPECT_NEAR(deck.results[0].headPeak.value / own.results[0].headPeak.value, 1, 1e-3);
  EXPECT_EQ(bad.status, nf::Status::Refused);
  EXPECT_NE(bad.message.find("fed.nec:3: the card EX is not accepted"), std::string::npos)
      << bad.message;
  EXPECT_TRUE(out.evaluation.FindInstallation("a"));
  EXPECT_TRUE(out.evaluation.FindInstallation("b"));
}

// Without the engine: each wire installation says so; a preset keeps its
// far-field figures and its far-field estimate in the place's sum; a
// "wires" antenna, whose gain only its model gives, cannot be evaluated,
// and the verdict says so rather than leaving it out.
TEST(StationNearFieldTest, WithoutTheEngineEveryOtherFigureStays) {
  testing_support::TempDir empty;
  const station::Station s =
      Read(Station("power-w = 100\nmode = \"carrier\"",
                   "[[antenna]]\nid = \"preset\"\nkind = \"dipole\"\nheight-m = 6\n\n"
                   "[[antenna]]\nid = \"own\"\nkind = \"wires\"\nheight-m = 6\nwires = [[-5, 0, 0, "
                   "5, 0, 0, 1]]\n\n"
                   "[[antenna]]\nid = \"beam\"\nkind = \"yagi\"\ngain-dbi = 8\nheight-m = 12\n",
                   "[[installation]]\nid = \"a\"\ntransmitter = \"rig\"\nantenna = "
                   "\"preset\"\nfrequency-mhz = 14.2\n\n"
                   "[[installation]]\nid = \"b\"\ntransmitter = \"rig\"\nantenna = "
                   "\"own\"\nfrequency-mhz = 14.2\n\n"
                   "[[installation]]\nid = \"c\"\ntransmitter = \"rig\"\nantenna = "
                   "\"beam\"\nfrequency-mhz = 14.2\n",
                   "[[place]]\nname = \"garden\"\nx-m = 8\ny-m = 3\n"));
  NearFieldOptions o;
  o.run.searchPath = empty.path().string();
  const StationNearField out = EvaluateWithNearField(s, o);
  ASSERT_EQ(out.installations.size(), 2u);
  for (const NearFieldInstallation& n : out.installations) {
    EXPECT_EQ(n.status, nf::Status::EngineMissing) << n.installation;
    EXPECT_NE(n.message.find("nec2c"), std::string::npos) << n.message;
    EXPECT_FALSE(n.solution);
  }
  const StationEvaluation plain = Evaluate(s);
  const InstallationResult* a = out.evaluation.FindInstallation("a");
  ASSERT_TRUE(a);
  EXPECT_EQ(D(*a->Find(LimitSetChoice::Fcc, Tier::General)->KeepOutM()),
            D(*plain.FindInstallation("a")->Find(LimitSetChoice::Fcc, Tier::General)->KeepOutM()));
  EXPECT_TRUE(out.evaluation.FindInstallation("c"));
  EXPECT_FALSE(out.evaluation.FindInstallation("b"));
  bool named = false;
  for (const std::string& f : out.evaluation.verdict.failures)
    named = named || f.find("\"own\"") != std::string::npos;
  EXPECT_TRUE(named);
  EXPECT_EQ(D(out.evaluation.places.at(0).sums.at(0).sum), D(plain.places.at(0).sums.at(0).sum));
}

// A model NEC-2 cannot take is refused naming the antenna, before any run.
TEST(StationNearFieldTest, AModelTheEngineCannotTakeNamesTheAntenna) {
  const station::Station s = Read(Station(
      "power-w = 100\nmode = \"ssb\"",
      "[[antenna]]\nid = \"low-vee\"\nkind = \"inverted-v\"\nheight-m = 4\ndroop-deg = 45\n",
      "[[installation]]\nid = \"80m\"\ntransmitter = \"rig\"\nantenna = \"low-vee\"\n"
      "frequency-mhz = 3.6\n"));
  const StationNearField out = EvaluateWithNearField(s);
  const NearFieldInstallation& n = out.installations.at(0);
  EXPECT_EQ(n.status, nf::Status::Refused);
  EXPECT_NE(n.message.find("antenna \"low-vee\": the legs' ends would be at or below the ground"),
            std::string::npos)
      << n.message;
  EXPECT_TRUE(out.evaluation.FindInstallation("80m"));
}

}  // namespace
}  // namespace korrin::assess
