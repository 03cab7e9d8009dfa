// The maps of one wire installation's near field for one limit set and tier,
// with their title, as the station window, the evaluation record and
// korrin-report draw them.
#pragma once

#include "assess/NearFieldStation.h"
#include "nearfield/Map.h"
#include "ui/qt/nearfield/NearFieldMapPainter.h"

namespace korrin {

// The maps of `result`, one of the installation's results; the side views
// start at the ground when the model is over one.  The installation must
// have a solution.
nearfield::NearFieldMap InstallationMap(const assess::NearFieldInstallation& installation,
                                        const nearfield::CaseResult& result);

// The title: the installation, its frequency, the limit set and tier and
// the average power the exposure is taken at.
NearFieldMapStyle InstallationMapStyle(const assess::NearFieldInstallation& installation,
                                       const nearfield::CaseResult& result, bool feet);

}  // namespace korrin

namespace korrin {

// A field keep-out distance in words: "9.90 m", "0 m (never at the limit)",
// "beyond 30.0 m (the computed plan's edge)"; with `feet` its feet beside.
QString KeepOutWords(const nearfield::KeepOut& keepOut, bool feet);

}  // namespace korrin
