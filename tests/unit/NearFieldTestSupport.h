// Shared by the near-field tests: the closed-form reference fields of a
// short dipole, and runs of the engine on a model.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <string>
#include <vector>

#include "nearfield/NearField.h"
#include "nearfield/Presets.h"

namespace korrin::nearfield::support {

// RMS fields of a thin straight filament along z from -h to h carrying the
// triangular current I(z) = I0 (1 - |z| / h), scaled so that it radiates
// `powerW`, at the broadside distance `rhoM` from its middle.  The exact
// fields of each current element (1/R, 1/R^2 and 1/R^3 terms) are summed by
// Simpson's rule; no point-dipole approximation.
struct ReferenceField {
  double eVPerM = 0;
  double hAPerM = 0;
};

inline ReferenceField TriangularDipoleBroadside(double frequencyMHz, double lengthM, double powerW,
                                                double rhoM) {
  using C = std::complex<double>;
  constexpr double pi = 3.14159265358979323846;
  const double eta = static_cast<double>(kFreeSpaceImpedanceOhm);
  const double k = 2 * pi * frequencyMHz / static_cast<double>(kSpeedOfLightMPerUs);
  const double h = lengthM / 2;
  constexpr int kSteps = 4000;  // even, for Simpson's rule
  auto weight = [](int i) { return (i == 0 || i == kSteps) ? 1.0 : (i % 2 == 1 ? 4.0 : 2.0); };
  auto current = [h](double z) { return 1 - std::fabs(z) / h; };

  // Radiated power for I0 = 1 A peak: P = eta k^2 / (16 pi) int sin^3 |F|^2,
  // F(theta) = int I(z) exp(j k z cos theta) dz = h (sin(u/2) / (u/2))^2, u = k h cos theta.
  double integral = 0;
  for (int i = 0; i <= kSteps; ++i) {
    const double theta = pi * i / kSteps;
    const double half = k * h * std::cos(theta) / 2;
    const double sinc = half == 0 ? 1 : std::sin(half) / half;
    const double f = h * sinc * sinc;
    const double s = std::sin(theta);
    integral += weight(i) * s * s * s * f * f;
  }
  integral *= (pi / kSteps) / 3;
  const double unitPower = eta * k * k / (16 * pi) * integral;
  const double i0 = std::sqrt(powerW / unitPower);

  C eRho = 0;
  C eZ = 0;
  C hPhi = 0;
  const double dz = 2 * h / kSteps;
  for (int i = 0; i <= kSteps; ++i) {
    const double z = -h + i * dz;
    const double w = weight(i) * dz / 3 * current(z);
    const double r = std::hypot(rhoM, z);
    const double cosT = -z / r;
    const double sinT = rhoM / r;
    const C phase = std::exp(C(0, -k * r));
    const C inv = 1.0 / C(0, k * r);
    const C er = eta * w * cosT / (2 * pi * r * r) * (1.0 + inv) * phase;
    const C et =
        C(0, 1) * eta * k * w * sinT / (4 * pi * r) * (1.0 + inv - 1.0 / (k * k * r * r)) * phase;
    eRho += er * sinT + et * cosT;
    eZ += er * cosT - et * sinT;
    hPhi += C(0, 1) * k * w * sinT / (4 * pi * r) * (1.0 + inv) * phase;
  }
  const double rms = i0 / std::sqrt(2.0);
  return {rms * std::sqrt(std::norm(eRho) + std::norm(eZ)), rms * std::abs(hPhi)};
}

// The structure of a preset, failing the test when it cannot be built.
inline Structure StructureOf(const Preset& preset, Real frequencyMHz) {
  EXPECT_TRUE(preset.problems.empty()) << (preset.problems.empty() ? "" : preset.problems[0]);
  const BuiltStructure built = BuildStructure(preset.model, frequencyMHz);
  EXPECT_TRUE(built.structure) << (built.problems.empty() ? "" : built.problems[0]);
  return built.structure.value_or(Structure{});
}

// One block of single points.
inline FieldBlock PointBlock(Point p) {
  FieldBlock b;
  b.start = p;
  return b;
}

// Runs the engine; a failed run fails the test (nec2c must be installed).
inline FieldRun RunOn(const Structure& s, Real frequencyMHz, const std::vector<FieldBlock>& blocks,
                      bool pattern = false) {
  Requests r;
  r.pattern = pattern;
  r.blocks = blocks;
  FieldRun run = ComputeFields(s, frequencyMHz, r, RunOptions{});
  EXPECT_EQ(run.status, Status::Done) << run.message;
  return run;
}

}  // namespace korrin::nearfield::support
