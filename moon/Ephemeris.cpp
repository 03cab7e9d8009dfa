#include "moon/Ephemeris.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>

namespace korrin::moon {

namespace {

// The Earth's rate of rotation in radians per second of UT1: the rate of
// the Earth rotation angle, 2π × 1.00273781191135448 per day (IERS
// Conventions 2010, eq. 5.15, the definition eraEra00 evaluates).
constexpr double kEarthRotationRadPerS = ERFA_D2PI * 1.00273781191135448 / ERFA_DAYSEC;

double Dot(const Vector& a, const Vector& b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

}  // namespace

Site SiteOf(const Place& place) {
  Site site;
  site.place = place;
  double xyz[3];
  eraGd2gc(ERFA_WGS84, place.longitudeDeg * ERFA_DD2R, place.latitudeDeg * ERFA_DD2R, place.heightM,
           xyz);
  site.positionM = {xyz[0], xyz[1], xyz[2]};
  return site;
}

MoonState MoonAt(const TimeScales& s) {
  // Geocentric position and velocity in the GCRS, au and au/day.
  double pv[2][3];
  eraMoon98(s.tt1, s.tt2, pv);
  // Bias, precession and nutation to the true equator and equinox of date.
  // IAU 2000B: within a milliarcsecond of the full IAU 2006/2000A model
  // over 1995-2050 and 25 times faster; the lunar series itself is good to
  // about 3" (RMS).
  double rnpb[3][3];
  eraPnm00b(s.tt1, s.tt2, rnpb);
  double p[3];
  double v[3];
  eraRxp(rnpb, pv[0], p);
  eraRxp(rnpb, pv[1], v);

  MoonState m;
  for (int i = 0; i < 3; ++i) {
    m.positionM[static_cast<std::size_t>(i)] = p[i] * ERFA_DAU;
    m.velocityMps[static_cast<std::size_t>(i)] = v[i] * ERFA_DAU / ERFA_DAYSEC;
  }
  // Greenwich apparent sidereal time: the Earth rotation angle less the
  // equation of the origins of the same matrix.
  m.gastRad = eraGst06(s.ut1a, s.ut1b, s.tt1, s.tt2, rnpb);
  m.leapSecondsUncertain = s.leapSecondsUncertain;
  return m;
}

MoonState MoonAt(UtcSeconds t) {
  return MoonAt(TimeScalesAt(t));
}

Sighting Sight(const MoonState& moon, const Site& site) {
  // The place on the true equator of date: its terrestrial position turned
  // by the sidereal angle (polar motion, below 0.5", is left out), and its
  // velocity from the Earth's rotation.
  const double c = std::cos(moon.gastRad);
  const double s = std::sin(moon.gastRad);
  const Vector& r = site.positionM;
  const Vector place{c * r[0] - s * r[1], s * r[0] + c * r[1], r[2]};
  const Vector placeVelocity{-kEarthRotationRadPerS * place[1], kEarthRotationRadPerS * place[0],
                             0.0};

  Vector rho{};
  Vector rhoRate{};
  for (std::size_t i = 0; i < 3; ++i) {
    rho[i] = moon.positionM[i] - place[i];
    rhoRate[i] = moon.velocityMps[i] - placeVelocity[i];
  }
  const double distanceM = std::sqrt(Dot(rho, rho));

  Sighting out;
  out.distanceKm = distanceM / 1000.0;
  out.rangeRateMps = Dot(rho, rhoRate) / distanceM;

  double p[3] = {rho[0], rho[1], rho[2]};
  double ra = 0;
  double dec = 0;
  eraC2s(p, &ra, &dec);
  const double lon = site.place.longitudeDeg * ERFA_DD2R;
  const double last = eraAnp(moon.gastRad + lon);
  double az = 0;
  double el = 0;
  eraHd2ae(last - ra, dec, site.place.latitudeDeg * ERFA_DD2R, &az, &el);

  out.azimuthDeg = az * ERFA_DR2D;
  out.elevationDeg = el * ERFA_DR2D;
  out.rightAscensionDeg = eraAnp(ra) * ERFA_DR2D;
  out.declinationDeg = dec * ERFA_DR2D;
  out.localSiderealDeg = last * ERFA_DR2D;
  return out;
}

}  // namespace korrin::moon
