// What must hold of every evaluation of an accepted station file, whatever
// the file: the evaluation fuzzer aborts on a broken rule, and the unit
// tests replay the fuzzer's inputs through the same rules.
#pragma once

#include <cmath>
#include <string>

#include "assess/StationEvaluation.h"
#include "station/Station.h"

namespace korrin::fuzzing {

// The first rule `e`, the evaluation of `s`, breaks; empty when it keeps
// them all.
inline std::string EvaluationProblem(const station::Station& s,
                                     const assess::StationEvaluation& e) {
  if (e.verdict.complies != e.verdict.failures.empty()) {
    return "a verdict that complies with failures, or fails without one";
  }
  if (e.installations.size() + e.notEvaluated.size() != s.installations.size()) {
    return "an installation neither evaluated nor said not to be";
  }
  for (const assess::PlaceResult& p : e.places) {
    for (const assess::PlaceSum& sum : p.sums) {
      if (!std::isfinite(sum.sum) || sum.sum < 0) return "a place's sum that is no fraction";
      if (sum.sum > 1 && e.verdict.complies)
        return "a place over its limit, and the station complies";
      if (sum.marginDb && !std::isfinite(*sum.marginDb)) return "a margin that is no number";
    }
  }
  for (const assess::PropertySum& sum : e.property) {
    if (!std::isfinite(sum.maxSum) || sum.maxSum < 0) return "a property sum that is no fraction";
    if (sum.maxSum > 1 && e.verdict.complies) {
      return "the property line over its limit, and the station complies";
    }
  }
  return {};
}

}  // namespace korrin::fuzzing
