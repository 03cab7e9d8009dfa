// korrin-report on a whole station's file (.station.toml): its evaluation
// with the near field of its wire antennas (--near-field), its site plan
// (--site-plan) and its evaluation record (--record), drawn as the station
// window draws them.  The run itself is RunStationFile (StationReport.h).
#pragma once

#include "app/report/ReportOptions.h"
#include "app/report/StationReport.h"

namespace korrin::report {

// The evaluation the options ask for (with the near field or without) and
// the writer of the site plan and the record they ask for.
StationRunParts StationRunPartsOf(const Options& options);

}  // namespace korrin::report
