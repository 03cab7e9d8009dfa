// Fixed tables of the station: the band plan, the transmission modes and
// the six-minute averaging patterns.  The band table is the one source of
// the band frequencies and of the VHF-SHF bands' default path loss and sky
// temperature; other tables key to it by exact equality.
#pragma once

#include <array>

#include "core/StationState.h"

namespace korrin {

struct VhfBand {
  const char* caption;
  Real frequencyMHz;
  Real pathLossDb;
  Real skyTempK;
};

inline constexpr std::array<VhfBand, 12> kVhfBands{{
    {"    50 MHz", 50.0L, 242.0L, 2200.0L},
    {"  144 MHz", 144.0L, 251.5L, 250.0L},
    {"  220 MHz", 220.0L, 255.7L, 150.0L},
    {"  432 MHz", 432.0L, 261.0L, 15.0L},
    {"  900 MHz", 900.0L, 265.5L, 10.0L},
    {"1296 MHz", 1296.0L, 270.5L, 5.0L},
    {"2304 MHz", 2304.0L, 276.0L, 5.0L},
    {"3456 MHz", 3456.0L, 279.0L, 5.0L},
    {"5760 MHz", 5760.0L, 282.0L, 5.0L},
    {"    10 GHz", 10368.0L, 288.3L, 5.0L},
    {"    24 Ghz", 24000.0L, 295.9L, 5.0L},
    {"    48 Ghz", 48000.0L, 301.9L, 5.0L},
}};

struct HfBand {
  const char* caption;
  Real frequencyMHz;
  int beamBandIndex;  // -1: leaves the beam's band alone
};

inline constexpr std::array<HfBand, 9> kHfBands{{
    {"  1.8 MHz", 1.8L, -1},
    {"  3.5 MHz", 3.5L, -1},
    {"  7.2 MHz", 7.2L, -1},
    {"10.3 MHz", 10.3L, -1},
    {"14.2 MHz", 14.2L, 0},
    {"18.3 MHz", 18.3L, -1},
    {"21.2 MHz", 21.2L, 1},
    {"24.6 MHz", 24.6L, -1},
    {"28.5 MHz", 29.7L, 2},  // the band's upper edge, not the caption's 28.5
}};

struct TransmissionMode {
  const char* caption;
  Real formFactor;
};

inline constexpr std::array<TransmissionMode, 8> kModes{{
    {"SSB (non proc)", 0.2L},
    {"SSB (processed)", 0.5L},
    {"Voice FM", 1.0L},
    {"FSK,RTTY or AM", 1.0L},
    {"AFSK SSB", 1.0L},
    {"CW", 0.4L},
    {"Carrier", 1.0L},
    {"Analog TV", 0.6L},
}};

struct AveragingPattern {
  const char* caption;
  Real multiplier;    // applied to the form factor
  Real sixMinutePct;  // shown in percent
};

inline constexpr std::array<AveragingPattern, 5> kAveraging{{
    {"Conversational", 1.0L, 100.0L},
    {"EME 30 secs", 0.5L, 50.0L},
    {"EME 1 minute", 0.5L, 50.0L},
    {"EME 2 minutes", 2.0L / 3.0L, 200.0L / 3.0L},
    {"EME 2\u00bd minutes", 7.0L / 12.0L, 175.0L / 3.0L},
}};

}  // namespace korrin
