// The moon's position from ERFA's series against published worked examples,
// and the topocentric figures against a second route through ERFA.
#include <erfa.h>
#include <erfam.h>
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>

#include "moon/Ephemeris.h"

namespace korrin::moon {
namespace {

constexpr double kArcsecDeg = 1.0 / 3600.0;

// The lunar series' accuracy against the numerical ephemeris over
// 1950-2050, RMS: 2.9" in direction and 6.1 km in distance.
constexpr double kSeriesDirectionDeg = 2.9 * kArcsecDeg;
constexpr double kSeriesDistanceKm = 6.1;

struct Equatorial {
  double raDeg;
  double decDeg;
  double distanceKm;
};

Equatorial EquatorialOf(double p[3]) {
  double ra = 0;
  double dec = 0;
  eraC2s(p, &ra, &dec);
  return {eraAnp(ra) * ERFA_DR2D, dec * ERFA_DR2D, eraPm(p) / 1000.0};
}

// Angle between two directions, degrees.
double SeparationDeg(const Equatorial& a, const Equatorial& b) {
  return eraSeps(a.raDeg * ERFA_DD2R, a.decDeg * ERFA_DD2R, b.raDeg * ERFA_DD2R,
                 b.decDeg * ERFA_DD2R) *
         ERFA_DR2D;
}

TimeScales AtTerrestrialTime(double tt1, double tt2, double ttMinusUt1Seconds) {
  TimeScales s;
  s.tt1 = tt1;
  s.tt2 = tt2;
  s.ut1a = tt1;
  s.ut1b = tt2 - ttMinusUt1Seconds / ERFA_DAYSEC;
  return s;
}

// Meeus, Astronomical Algorithms, example 47.a: 1992 April 12 at 0h TD (TT),
// geocentric distance 368,409.7 km, apparent right ascension 134.688470°,
// declination 13.768368° (true equator and equinox of date).
TEST(MoonPosition, MeeusExample47a) {
  const Equatorial meeus{134.688470, 13.768368, 368409.7};
  // TT - UT1 was about 59 s then; it only turns the Earth, not the moon.
  const MoonState m = MoonAt(AtTerrestrialTime(2448724.5, 0.0, 59.0));
  double p[3] = {m.positionM[0], m.positionM[1], m.positionM[2]};
  const Equatorial ours = EquatorialOf(p);
  EXPECT_LT(SeparationDeg(ours, meeus), kSeriesDirectionDeg)
      << "RA " << ours.raDeg << " dec " << ours.decDeg;
  EXPECT_NEAR(ours.distanceKm, meeus.distanceKm, kSeriesDistanceKm);

  // The same through the full IAU 2006/2000A precession-nutation: the GCRS
  // position of the series rotated to the true equator of date.
  double pv[2][3];
  eraMoon98(2448724.5, 0.0, pv);
  double rnpb[3][3];
  eraPnm06a(2448724.5, 0.0, rnpb);
  double q[3];
  eraRxp(rnpb, pv[0], q);
  eraSxp(ERFA_DAU, q, q);
  const Equatorial full = EquatorialOf(q);
  EXPECT_LT(SeparationDeg(full, meeus), kSeriesDirectionDeg);
  // The library's faster IAU 2000B model agrees with the full one within a
  // few milliarcseconds (its stated millarcsecond plus the difference of
  // the precession models).
  EXPECT_LT(SeparationDeg(ours, full), 0.005 * kArcsecDeg);
  EXPECT_NEAR(ours.distanceKm, full.distanceKm, 1e-6);
}

// Meeus, example 12.a: 1987 April 10 at 0h UT, apparent sidereal time at
// Greenwich 13h10m46.1351s.  The IAU 2000 Earth rotation angle and the
// older sidereal-time formula behind the example agree to a few
// milliseconds of time.
TEST(SiderealTime, MeeusExample12aAndTheLongitude) {
  const double expectedDeg = (13.0 + 10.0 / 60.0 + 46.1351 / 3600.0) * 15.0;
  const TimeScales s = TimeScalesAt(*SecondsOf({1987, 4, 10, 0, 0, 0}));
  const MoonState m = MoonAt(s);
  const double tolerance = 0.01 * 15.0 * kArcsecDeg;  // 0.01 s of time
  EXPECT_NEAR(m.gastRad * ERFA_DR2D, expectedDeg, tolerance);
  EXPECT_NEAR(Sight(m, SiteOf(Place{51.5, 0.0, 0})).localSiderealDeg, expectedDeg, tolerance);
  // Local sidereal time runs ahead of Greenwich's by the east longitude.
  for (const double east : {151.0, -74.0, 180.0}) {
    const double local = Sight(m, SiteOf(Place{-33.5, east, 0})).localSiderealDeg;
    EXPECT_GE(local, 0.0);
    EXPECT_LT(local, 360.0);
    EXPECT_NEAR(std::remainder(local - (expectedDeg + east), 360.0), 0.0, tolerance) << east;
  }
}

TEST(TimeScalesFromUtc, TerrestrialTimeAndTheLeapSecondTable) {
  // 2026: TAI - UTC = 37 s, so TT - UTC = 69.184 s.
  const TimeScales a = TimeScalesAt(*SecondsOf({2026, 12, 7, 0, 0, 0}));
  EXPECT_NEAR(((a.tt1 - a.utc1) + (a.tt2 - a.utc2)) * ERFA_DAYSEC, 69.184, 1e-4);
  EXPECT_FALSE(a.leapSecondsUncertain);
  // Past ERFA's table: still converted, with no further leap second, and
  // said so.
  const TimeScales b = TimeScalesAt(*SecondsOf({2040, 6, 1, 12, 0, 0}));
  EXPECT_NEAR(((b.tt1 - b.utc1) + (b.tt2 - b.utc2)) * ERFA_DAYSEC, 69.184, 1e-4);
  EXPECT_TRUE(b.leapSecondsUncertain);
  const MoonState later = MoonAt(b);
  const double laterKm =
      std::hypot(later.positionM[0], later.positionM[1], later.positionM[2]) / 1000.0;
  EXPECT_GT(laterKm, 356000.0);
  EXPECT_LT(laterKm, 407000.0);
  // 1990: TAI - UTC = 25 s.
  const TimeScales c = TimeScalesAt(*SecondsOf({1990, 6, 1, 0, 0, 0}));
  EXPECT_NEAR(((c.tt1 - c.utc1) + (c.tt2 - c.utc2)) * ERFA_DAYSEC, 57.184, 1e-4);
}

struct SightCase {
  const char* name;
  Place place;
  int year, month, day, hour;
};

void PrintTo(const SightCase& c, std::ostream* os) {
  *os << c.name;
}

class TopocentricTest : public ::testing::TestWithParam<SightCase> {};

// A second route to the same figures: ERFA's full celestial-to-terrestrial
// matrix (IAU 2006/2000A, CIO based, Earth rotation angle) applied to the
// series' GCRS position, then the place's east-north-up axes.  It shares
// no step with the library's route (IAU 2000B, sidereal time and hour
// angle) but the series itself.
TEST_P(TopocentricTest, AgreesWithTheTerrestrialMatrixRoute) {
  const SightCase& c = GetParam();
  const TimeScales s = TimeScalesAt(*SecondsOf({c.year, c.month, c.day, c.hour, 0, 0}));
  const Site site = SiteOf(c.place);
  const Sighting ours = Sight(MoonAt(s), site);

  double pv[2][3];
  eraMoon98(s.tt1, s.tt2, pv);
  double rc2t[3][3];
  eraC2t06a(s.tt1, s.tt2, s.ut1a, s.ut1b, 0.0, 0.0, rc2t);
  double moon[3];
  eraRxp(rc2t, pv[0], moon);
  eraSxp(ERFA_DAU, moon, moon);
  double rho[3];
  for (int i = 0; i < 3; ++i) rho[i] = moon[i] - site.positionM[static_cast<std::size_t>(i)];
  const double phi = c.place.latitudeDeg * ERFA_DD2R;
  const double lam = c.place.longitudeDeg * ERFA_DD2R;
  double east[3] = {-std::sin(lam), std::cos(lam), 0.0};
  double north[3] = {-std::sin(phi) * std::cos(lam), -std::sin(phi) * std::sin(lam), std::cos(phi)};
  double up[3] = {std::cos(phi) * std::cos(lam), std::cos(phi) * std::sin(lam), std::sin(phi)};
  const double d = eraPm(rho);
  const double el = std::asin(eraPdp(rho, up) / d) * ERFA_DR2D;
  const double az = eraAnp(std::atan2(eraPdp(rho, east), eraPdp(rho, north))) * ERFA_DR2D;

  // 0.01": both routes' models agree to milliarcseconds.
  const double tolerance = 0.01 * kArcsecDeg;
  EXPECT_NEAR(ours.elevationDeg, el, tolerance) << c.name;
  const double azDiff = std::remainder(ours.azimuthDeg - az, 360.0);
  EXPECT_NEAR(azDiff * std::cos(el * ERFA_DD2R), 0.0, tolerance) << c.name;
  EXPECT_NEAR(ours.distanceKm, d / 1000.0, 1e-3) << c.name;  // a metre
  // Parallax: the topocentric distance differs from the geocentric by
  // about the Earth's radius times the sine of the elevation.
  EXPECT_NEAR(ours.distanceKm - eraPm(moon) / 1000.0, -6371.0 * std::sin(el * ERFA_DD2R), 120.0)
      << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Places, TopocentricTest,
    ::testing::Values(SightCase{"FN20xa", Place{40.02083, -74.04167, 0}, 2026, 12, 7, 15},
                      SightCase{"JO65fr", Place{55.72917, 12.45833, 30}, 2026, 12, 7, 10},
                      SightCase{"QF56", Place{-33.5, 151.0, 0}, 2026, 3, 1, 6},
                      SightCase{"RF80", Place{-39.5, 177.0, 0}, 2031, 8, 20, 22},
                      SightCase{"north pole", Place{90.0, 0.0, 2800}, 2026, 6, 1, 0},
                      SightCase{"equator", Place{0.0, -100.0, 0}, 1992, 4, 12, 3}),
    [](const ::testing::TestParamInfo<SightCase>& i) {
      std::string n = i.param.name;
      for (char& ch : n) {
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      }
      return n;
    });

// The range rate is the rate of the topocentric distance: a central
// difference over a minute matches it within 5 mm/s (the curvature of the
// distance, at most about 0.04 m/s², adds nothing at this span; the
// series' own velocity error is 36 mm/s RMS but affects both alike).
TEST(RangeRate, IsTheRateOfTheDistance) {
  const Site site = SiteOf(Place{40.02083, -74.04167, 0});
  const UtcSeconds start = *SecondsOf({2026, 12, 7, 0, 0, 0});
  for (UtcSeconds t = start; t < start + kSecondsPerDay; t += 3 * kSecondsPerHour) {
    const double before = Sight(MoonAt(t - 30), site).distanceKm;
    const double after = Sight(MoonAt(t + 30), site).distanceKm;
    const double numeric = (after - before) * 1000.0 / 60.0;
    EXPECT_NEAR(Sight(MoonAt(t), site).rangeRateMps, numeric, 0.005) << FormatUtc(t);
  }
}

// While the moon rises it comes closer (the Earth turns the place towards
// it), and while it sets it draws away.
TEST(RangeRate, NegativeWhileTheMoonRises) {
  const Site site = SiteOf(Place{55.72917, 12.45833, 0});
  const UtcSeconds start = *SecondsOf({2026, 12, 1, 0, 0, 0});
  int rises = 0;
  int sets = 0;
  double before = Sight(MoonAt(start), site).elevationDeg;
  for (UtcSeconds t = start + 600; t < start + 3 * kSecondsPerDay; t += 600) {
    const Sighting now = Sight(MoonAt(t), site);
    if (before < 0 && now.elevationDeg >= 0) {
      ++rises;
      EXPECT_LT(now.rangeRateMps, -100.0) << FormatUtc(t);
    }
    if (before >= 0 && now.elevationDeg < 0) {
      ++sets;
      EXPECT_GT(now.rangeRateMps, 100.0) << FormatUtc(t);
    }
    before = now.elevationDeg;
  }
  EXPECT_GE(rises, 2);
  EXPECT_GE(sets, 2);
}

}  // namespace
}  // namespace korrin::moon
