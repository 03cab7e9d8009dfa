// The pieces of a station's evaluation, one file each; StationEvaluation.cpp
// puts them together.  Not part of the library's interface.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "assess/StationEvaluation.h"
#include "assess/StationMethod.h"

namespace korrin::assess::detail {

// ---- the station's words as values (StationInputs.cpp) ----

struct ResolvedFeedline {
  const station::CableRow* cable = nullptr;  // with lengthM; or
  Real lengthM = 0;
  std::optional<Real> matchedLossDb;  // the whole line's loss, the same at every frequency
  Real extraLossDb = 0;
  std::optional<Real> swr;
  station::SwrAt swrAt = station::SwrAt::Antenna;
};

// One installation with every table row looked up and every default
// applied: what the method needs, nothing of the file's words.
struct ResolvedInstallation {
  std::string id;
  std::string transmitter;
  std::optional<std::string> feedlineId;
  std::string antenna;
  std::optional<std::string> band;
  std::string group;
  Point3 positionM;
  Real lowerMHz = 0;
  Real upperMHz = 0;
  Real powerW = 0;
  Real duty = 1;
  DutySource dutySource = DutySource::Assumed;
  std::string mode;
  std::optional<Cycle> cycle;
  CycleSource cycleSource = CycleSource::None;
  std::optional<ResolvedFeedline> feedline;
  std::function<Real(const station::CableRow&, Real)> matchedLossDbPer100m;
  std::optional<DishAperture> dish;
  Real gainDbi = 0;    // antennas other than a dish
  Real gainRatio = 1;  // 10^(gainDbi / 10), worked out once
  bool groundReflectionAsked = false;
  Real groundFactor = 1;  // as applied
};

// The feed line's total loss at f (0 without a line); empty when the SWR
// at the transmitter does not fit the line's loss there.
std::optional<Real> FeedLossDbAt(const ResolvedInstallation& r, Real frequencyMHz);

// The antenna's power gain at f.
Real GainRatioAt(const ResolvedInstallation& r, Real frequencyMHz);

struct Resolution {
  std::vector<ResolvedInstallation> installations;
  std::vector<std::string> problems;       // installations that cannot be evaluated, and why
  std::vector<NotEvaluated> notEvaluated;  // the same installations by id, with the reason
  std::vector<std::string> warnings;       // assumed defaults, ground factors not applied
};

Resolution Resolve(const station::Station& station, const TableLookups& tables);

// ---- one installation (Installation.cpp) ----

// Every tier of every limit set and the FCC exemption; empty (with the
// reason added to `problems`) when a figure cannot be worked.
std::optional<InstallationResult> EvaluateInstallation(const ResolvedInstallation& r,
                                                       const std::vector<LimitSetChoice>& sets,
                                                       std::vector<std::string>& problems);

// Why a candidate frequency of an installation is evaluated: the one
// given, a band edge, else a breakpoint inside the band (Installation.cpp).
FrequencyReason ReasonAt(Real frequencyMHz, const ResolvedInstallation& r);

// ---- threshold test of one installation (ThresholdTest.cpp) ----

// The test's rows against the installation's EIRP over its band; empty
// where the test covers none of it.  `ok` turns false when a feed line's
// figures do not fit at some frequency.
std::optional<ThresholdResult> EvaluateThreshold(const ResolvedInstallation& r,
                                                 const std::string& test, bool& ok);

// ---- FCC exemption of one installation (StationExemption.cpp) ----

// Empty outside 0.3-100000 MHz.  `ok` turns false when a feed line's figures
// do not fit at some frequency.
std::optional<InstallationExemption> EvaluateExemption(const ResolvedInstallation& r, bool& ok);

// The exemption test's term of 47 CFR 1.1307(b)(3)(ii)(B) at distance R:
// ERP / threshold(R) where R >= lambda / 2 pi, else `mpeFraction` (the FCC
// general-population fraction there); the largest over the frequencies.
std::optional<Real> ExemptionTerm(const InstallationExemption& e, Real distanceM,
                                  const std::optional<Real>& mpeFraction);

// ---- sums at points (Sums.cpp) ----

// The installations of one group, by transmitter (in the order of the file).
struct GroupPlan {
  std::string group;
  std::vector<std::string> transmitters;
  std::vector<std::vector<size_t>> installations;  // indices, per transmitter
};

std::vector<GroupPlan> PlanGroups(const std::vector<InstallationResult>& installations);

// The fraction function of each installation: an override, or the
// evaluation's own.
std::vector<FractionAt> FractionFunctions(const std::vector<InstallationResult>& installations,
                                          const EvaluationOptions& options);

// The sum over the group's transmitters of each one's largest value;
// square roots of the values (fields) for the instantaneous criterion.
// `values` holds one entry per installation.  With `named`, the terms too,
// one per transmitter that contributes.
struct Summed {
  Real sum = 0;
  size_t contributing = 0;     // transmitters with a value
  std::vector<SumTerm> terms;  // with `named` only
};
Summed SumOver(const GroupPlan& plan, const std::vector<std::optional<Real>>& values, bool fields,
               const std::vector<InstallationResult>* named = nullptr);

std::optional<Real> MarginDb(Real sum, bool fields);

// ---- places (Places.cpp) ----

std::vector<PlaceResult> EvaluatePlaces(const station::Station& station,
                                        std::vector<InstallationResult>& installations,
                                        const std::vector<LimitSetChoice>& sets,
                                        const EvaluationOptions& options);

// ---- property line (PropertyLine.cpp) ----

// The step at which the property line is sampled (the near field computes
// its fields at the same points).
inline constexpr Real kOutlineStepM = 0.25L;

// The points along the closed outline at most `stepM` apart, with the
// foot of the perpendicular from each antenna on each side.
std::vector<Point3> OutlinePoints(const station::Property& property, Real stepM,
                                  const std::vector<Point3>& antennas);

std::vector<PropertySum> EvaluatePropertyLine(const station::Property& property,
                                              const std::vector<InstallationResult>& installations,
                                              const std::vector<LimitSetChoice>& sets,
                                              const EvaluationOptions& options);

// ---- verdict and warnings (Verdict.cpp) ----

Verdict Judge(const StationEvaluation& e, const std::vector<std::string>& problems,
              bool anythingToCheck);

std::vector<std::string> MethodWarnings(const station::Station& station,
                                        const StationEvaluation& e);

// ICNIRP's rules below 30 MHz (field strengths only) and from 0.1 to
// 10 MHz (nerve stimulation), for a band whose lower edge is `lowerMHz`,
// and their warnings.
bool IcnirpFieldOnly(Real lowerMHz);
bool NerveStimulationApplies(Real lowerMHz);
std::string IcnirpPlaneWaveWarning();
std::string NerveStimulationWarning();

// Fixed-point text with `decimals` decimals, independent of the C locale.
std::string Fixed(Real value, int decimals);
// A frequency in MHz with up to four decimals, trailing zeros left out.
std::string MegahertzText(Real f);

}  // namespace korrin::assess::detail
