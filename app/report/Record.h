// The evaluation record of the report's station, written as PDF.  Needs
// the Qt window in the build.
#pragma once

#include <string>

#include "app/report/ReportOptions.h"
#include "ui/TForm1.h"

namespace korrin::report {

// Writes the record when options.recordPath is set; returns "" on success
// or when no record was asked for, else what went wrong.
std::string SaveRecord(TForm1& form, const Options& options);

}  // namespace korrin::report
