// How large a station file may be, each bound with its reason.  Beyond them
// a typo or a hostile file would be evaluated as if it were a station (a
// gain of 700 dBi for 7.00, a side of the property line too long to sample)
// or would take the program's memory; the checks refuse them with the
// numbers, and the README's "Limits" lists them.
#pragma once

#include <cstddef>

#include "core/StationState.h"

namespace korrin::station {

// A transmitter's power: 10 MW, beyond any amateur (or broadcast) station.
inline constexpr Real kMostPowerW = 10'000'000.0L;
// An antenna's gain: 60 dBi, beyond the largest radio telescopes' dishes;
// -50 dBi, below any antenna worth evaluating.
inline constexpr Real kMostGainDbi = 60.0L;
inline constexpr Real kLeastGainDbi = -50.0L;
// Positions east and north of the site's origin, and a property line's
// corners: within 100 km.  Heights: up to 10 km.  A feed line: up to 100 km.
// A dish: up to 1 km across.
inline constexpr Real kFarthestM = 100'000.0L;
inline constexpr Real kHighestM = 10'000.0L;
inline constexpr Real kLongestFeedLineM = 100'000.0L;
inline constexpr Real kWidestDishM = 1'000.0L;
// The property line is sampled every 0.25 m: 20 km of outline is 80,000
// points, each summed over every installation.
inline constexpr Real kLongestOutlineM = 20'000.0L;
inline constexpr std::size_t kMostOutlinePoints = 1000;
// Entries of one kind: a station's evaluation holds every place's term for
// every installation, so 200 installations and 1000 places stay within a
// few tens of megabytes.
inline constexpr std::size_t kMostEntries = 200;
inline constexpr std::size_t kMostPlaces = 1000;

}  // namespace korrin::station
