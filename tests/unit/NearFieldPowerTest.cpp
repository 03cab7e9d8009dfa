// Each criterion of the near field takes the power its limit averages: the
// peak envelope power for nerve stimulation, the 6-minute average for the
// FCC's occupational and ICNIRP's local limits, the 30-minute average for
// the rest.  An SSB station (100 W PEP, 40 W over 6 minutes, 20 W over 30)
// against a carrier of 100 W on the same fields.  These run nec2c.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nearfield/NearField.h"
#include "nearfield/Presets.h"
#include "tests/unit/NearFieldTestSupport.h"

namespace korrin::nearfield {
namespace {

using support::StructureOf;

constexpr Real kMHz = 7.1L;  // below 10 MHz, where nerve stimulation applies
constexpr Real kPeakW = 100;
constexpr Real kSixMinutesW = 40;
constexpr Real kThirtyMinutesW = 20;

struct PowerCase {
  const char* name;
  LimitSet set;
  Tier tier;
  bool head;  // at head height, else over the body
  Criterion criterion;
  Real powerW;
};

class NearFieldPowerTest : public ::testing::TestWithParam<PowerCase> {
 protected:
  static void SetUpTestSuite() {
    Request q;
    q.structure = StructureOf(DipolePreset(kMHz, 3, 4.0L, 0.001L, FreeSpace()), kMHz);
    q.frequencyMHz = kMHz;
    q.power = {kPeakW, kSixMinutesW, kThirtyMinutesW};
    evaluation_ = new Evaluation(Evaluate(q));
  }
  static void TearDownTestSuite() {
    delete evaluation_;
    evaluation_ = nullptr;
  }
  static const Evaluation* evaluation_;
};

const Evaluation* NearFieldPowerTest::evaluation_ = nullptr;

const CriterionResult* Find(const std::vector<CaseResult>& results, const PowerCase& c) {
  for (const CaseResult& r : results) {
    if (r.limitCase.set != c.set || r.limitCase.tier != c.tier) continue;
    for (const CriterionResult& x : c.head ? r.head : r.wholeBody) {
      if (x.criterion == c.criterion) return &x;
    }
  }
  return nullptr;
}

// The criterion is taken at its own power, and its peak is the carrier's
// scaled by that power alone.
TEST_P(NearFieldPowerTest, EachCriterionTakesItsOwnPower) {
  const PowerCase& c = GetParam();
  ASSERT_EQ(evaluation_->status, Status::Done) << evaluation_->message;
  const CriterionResult* ssb = Find(evaluation_->results, c);
  ASSERT_TRUE(ssb) << c.name;
  EXPECT_EQ(static_cast<double>(ssb->powerW), static_cast<double>(c.powerW)) << c.name;

  const std::vector<CaseResult> carrier =
      Assess(*evaluation_->solution, {kPeakW, kPeakW, kPeakW}, {{c.set, c.tier}});
  const CriterionResult* full = Find(carrier, c);
  ASSERT_TRUE(full) << c.name;
  ASSERT_GT(full->peak.value, 0) << c.name;
  EXPECT_NEAR(ssb->peak.value / full->peak.value, static_cast<double>(c.powerW / kPeakW), 1e-9)
      << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Ssb, NearFieldPowerTest,
    ::testing::Values(PowerCase{"FCC general, point", LimitSet::Fcc, Tier::General, true,
                                Criterion::Point, kThirtyMinutesW},
                      PowerCase{"FCC general, body average", LimitSet::Fcc, Tier::General, false,
                                Criterion::WholeBodyAverage, kThirtyMinutesW},
                      PowerCase{"FCC occupational, point", LimitSet::Fcc, Tier::Occupational, true,
                                Criterion::Point, kSixMinutesW},
                      PowerCase{"FCC occupational, body average", LimitSet::Fcc, Tier::Occupational,
                                false, Criterion::WholeBodyAverage, kSixMinutesW},
                      PowerCase{"ICNIRP general, point", LimitSet::Icnirp2020, Tier::General, true,
                                Criterion::Point, kThirtyMinutesW},
                      PowerCase{"ICNIRP general, head nerve", LimitSet::Icnirp2020, Tier::General,
                                true, Criterion::NerveStimulation, kPeakW},
                      PowerCase{"ICNIRP general, body average", LimitSet::Icnirp2020, Tier::General,
                                false, Criterion::WholeBodyAverage, kThirtyMinutesW},
                      PowerCase{"ICNIRP general, local", LimitSet::Icnirp2020, Tier::General, false,
                                Criterion::Local, kSixMinutesW},
                      PowerCase{"ICNIRP general, body nerve", LimitSet::Icnirp2020, Tier::General,
                                false, Criterion::NerveStimulation, kPeakW},
                      PowerCase{"ICNIRP occupational, point", LimitSet::Icnirp2020,
                                Tier::Occupational, true, Criterion::Point, kThirtyMinutesW},
                      PowerCase{"ICNIRP occupational, head nerve", LimitSet::Icnirp2020,
                                Tier::Occupational, true, Criterion::NerveStimulation, kPeakW},
                      PowerCase{"ICNIRP occupational, local", LimitSet::Icnirp2020,
                                Tier::Occupational, false, Criterion::Local, kSixMinutesW},
                      PowerCase{"ICNIRP occupational, body nerve", LimitSet::Icnirp2020,
                                Tier::Occupational, false, Criterion::NerveStimulation, kPeakW}));

}  // namespace
}  // namespace korrin::nearfield
