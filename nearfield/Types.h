// The near field's basic values: reals, points in metres and the physical
// constants every part of it shares.
#pragma once

#include <cmath>
#include <numbers>

namespace korrin::nearfield {

using Real = long double;

constexpr Real kPi = std::numbers::pi_v<Real>;
constexpr Real kSpeedOfLightMPerUs = 299.792458L;  // c in m/us: wavelength in m = c / f in MHz
constexpr Real kFreeSpaceImpedanceOhm = 376.730313668L;  // CODATA 2018, eta0 = mu0 c

inline Real WavelengthM(Real frequencyMHz) {
  return kSpeedOfLightMPerUs / frequencyMHz;
}

// A point or a displacement in metres: x and y horizontal, z up from the
// ground (the plane z = 0); the antenna's position is x = y = 0.
struct Point {
  Real x = 0;
  Real y = 0;
  Real z = 0;
};

inline Point operator+(Point a, Point b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Point operator-(Point a, Point b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Point operator*(Real s, Point a) {
  return {s * a.x, s * a.y, s * a.z};
}
inline Real Length(Point a) {
  return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
}
inline Real HorizontalDistance(Point a) {
  return std::hypot(a.x, a.y);
}

}  // namespace korrin::nearfield
