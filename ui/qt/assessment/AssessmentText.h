// The texts of the assessment window and its plot: lengths in the unit the
// station is set to, densities in W/m² and mW/cm², and the line that names
// the station.
#pragma once

#include <QString>

#include "assess/Assessment.h"
#include "core/StationState.h"

namespace korrin {

// Three significant figures without an exponent: "0.0123", "1.23", "12.3",
// "1230".
QString Figure(Real value);

// A length given in metres, in metres or in feet (3.28 feet to the metre):
// "12.3 m", "40.3 ft".
QString LengthText(Real metres, bool metric);

// "950 W", "12.5 kW", "1340 kW", "13.4 MW".
QString PowerText(Real watts);

// "8.64 W/m² (0.864 mW/cm²)".
QString DensityText(Real wm2);

// The set's short name for the plot's legend: "FCC general", "ICNIRP 2020".
QString ShortLimitName(assess::LimitSet set);

// A frequency to the 100 Hz, trailing zeros dropped: "450 MHz", "14.35 MHz".
QString MegahertzText(Real mhz);

// Why the evaluation took a frequency: "upper edge", "breakpoint"; empty for
// a frequency given.
QString ReasonText(assess::FrequencyReason reason);

// The model that governs a keep-out distance: "far field", "aperture
// equations", "near-field model".
QString ModelText(assess::ExposureModel model);

// Band, power, antenna and gain, ground reflection, and the tower on the
// HF side: "432 MHz · 1500 W (1191 W at the feed) · 9.50 m dish, 30.4 dBi ·
// ground reflection off".
QString StationLine(const assess::StationSummary& summary);

// The plot's title: the station's line of `station`.
QString PlotTitle(const StationState& station);

}  // namespace korrin
