// Feeds arbitrary text to the station file reader and evaluates every
// station it accepts, through the whole method (without the near field,
// which runs the NEC-2 engine): the evaluation must neither crash, nor
// throw, nor break a rule of fuzz/EvaluationChecks.h.  Anything else aborts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <string_view>

#include "assess/StationEvaluation.h"
#include "fuzz/EvaluationChecks.h"
#include "station/StationFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const korrin::station::ReadResult read = korrin::station::ParseStation(text, "fuzz.station.toml");
  if (!read.station) return 0;
  try {
    const korrin::assess::StationEvaluation e = korrin::assess::Evaluate(*read.station);
    const std::string problem = korrin::fuzzing::EvaluationProblem(*read.station, e);
    if (!problem.empty()) {
      std::fprintf(stderr, "evaluation fuzzer: %s\n", problem.c_str());
      std::abort();
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "evaluation fuzzer: the evaluation threw: %s\n", error.what());
    std::abort();
  }
  return 0;
}
