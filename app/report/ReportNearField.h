// korrin-report's near field of a station file's wire antennas
// (--near-field, --near-field-map): the station evaluated with it, a block
// of text with each wire installation's field keep-out distances under
// every limit set and tier of the file, and one installation's maps.
#pragma once

#include <string>

#include "app/report/ReportOptions.h"
#include "assess/NearFieldStation.h"
#include "station/Station.h"

namespace korrin::report {

struct NearFieldOutcome {
  assess::StationNearField nearField;  // its evaluation takes the place of the plain one
  std::string text;                    // for standard output
  std::string errors;  // for standard error: a near field or map not made (status 1)
  std::string usage;   // the map names no wire installation: nothing done (status 2)
};

// Evaluates the station with its near field and writes the map asked for
// (in a build without the Qt window, an error instead).
NearFieldOutcome RunNearField(const station::Station& station, const Options& options);

// The text block of an evaluated near field (the report's own words).
std::string NearFieldText(const assess::StationNearField& nearField);

}  // namespace korrin::report
