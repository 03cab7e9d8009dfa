// The moon-bounce path: loss by the radar equation and the Doppler shift
// of the echo, from the topocentric distances and range rates.
#pragma once

namespace korrin::moon {

// The moon's mean radius, 1737.4 km (IAU Working Group on Cartographic
// Coordinates and Rotational Elements, report of 2015: Archinal et al.,
// Celestial Mechanics and Dynamical Astronomy 130:22, 2018).
inline constexpr double kMoonRadiusM = 1737.4e3;

// The moon's radar cross-section as a fraction of its disc, πr²: the
// amateur moon-bounce budget's 0.065.  Radar measurements from 7.84 m to
// 8.6 mm give about 0.07 with no significant dependence on frequency
// (G. Pettengill, Lunar Radar Reflections, Arecibo Ionospheric
// Observatory, 1965).
inline constexpr double kMoonReflectivity = 0.065;

inline constexpr double kSpeedOfLightMps = 299792458.0;

// The loss from the transmitter's antenna to the receiver's, by the radar
// equation: L = 10·log10((4π)³·d₁²·d₂² / (σ·λ²)) with σ = 0.065·π·r² and
// λ = c / f, d₁ and d₂ the two stations' topocentric distances.  An echo
// heard at home has d₁ = d₂.
double PathLossDb(double frequencyMHz, double distance1Km, double distance2Km);
double EchoPathLossDb(double frequencyMHz, double distanceKm);

// The Doppler shift of one's own echo, −2·f·ṙ/c, and of a signal from one
// station to the other, −f·(ṙ₁ + ṙ₂)/c: positive while the moon comes
// closer.
double EchoDopplerHz(double frequencyMHz, double rangeRateMps);
double PathDopplerHz(double frequencyMHz, double rangeRate1Mps, double rangeRate2Mps);

}  // namespace korrin::moon
