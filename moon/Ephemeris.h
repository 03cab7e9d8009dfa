// The moon as seen from a place at a time: ERFA's lunar series (eraMoon98)
// rotated to the true equator and equinox of date, the Earth turned by
// Greenwich apparent sidereal time, and the place's position on the WGS84
// ellipsoid.  Positions are geometric: no atmospheric refraction, no light
// time.
#pragma once

#include <array>

#include "moon/Place.h"
#include "moon/Time.h"

namespace korrin::moon {

using Vector = std::array<double, 3>;

// A place prepared for sighting: its geocentric position in the terrestrial
// frame (x towards longitude 0 on the equator, z towards the pole).
struct Site {
  Place place;
  Vector positionM{};
};

Site SiteOf(const Place& place);

// The geocentric moon at one instant, on the true equator and equinox of
// date, with the Earth's orientation then.
struct MoonState {
  Vector positionM{};                 // geocentric, metres
  Vector velocityMps{};               // metres per second
  double gastRad = 0;                 // Greenwich apparent sidereal time
  bool leapSecondsUncertain = false;  // see TimeScales
};

MoonState MoonAt(const TimeScales& scales);
MoonState MoonAt(UtcSeconds t);

// The moon from one place.
struct Sighting {
  double azimuthDeg = 0;         // from north through east, 0..360
  double elevationDeg = 0;       // geometric, above the place's horizon plane
  double distanceKm = 0;         // topocentric, to the moon's centre
  double rangeRateMps = 0;       // rate of change of the distance; negative while it shrinks
  double rightAscensionDeg = 0;  // topocentric, true equator and equinox of date
  double declinationDeg = 0;
  double localSiderealDeg = 0;  // local apparent sidereal time, 0..360
};

Sighting Sight(const MoonState& moon, const Site& site);

}  // namespace korrin::moon
