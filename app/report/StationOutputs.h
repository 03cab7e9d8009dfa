// korrin-report on a whole station's file (.station.toml, told apart from
// the calculator's .rsd by its content): its site plan (--site-plan) and
// its evaluation record (--record), drawn as the station window draws them.
#pragma once

#include "app/report/ReportOptions.h"

namespace korrin::report {

// Whether the station file named on the command line is a whole station's
// file rather than the calculator's record.
bool NamesWholeStation(const Options& options);

// Evaluates the station file and writes what was asked; prints the verdict
// in one line.  The exit status: 0 when everything asked was written, 1
// when the file has problems (listed on standard error; nothing is
// written) or an output could not be written, 2 for options that act on
// the calculator's station only.
int RunWholeStation(const Options& options);

}  // namespace korrin::report
