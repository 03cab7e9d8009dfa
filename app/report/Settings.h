// The settings in the user's words that wait for their turn to be planned
// against the station (Action::Kind::Setting), by the name they carry in
// Action::target, and the plain actions they are planned into.
#pragma once

#include <string>

#include "app/report/ReportOptions.h"

namespace korrin::report {

namespace setting {
inline constexpr const char* kBandHf = "band:hf";              // value: the HF item
inline constexpr const char* kBandVhf = "band:vhf";            // value: the VHF - SHF item
inline constexpr const char* kFeedLoss = "feed-loss";          // value: tenths of a dB
inline constexpr const char* kDishDiameter = "dish-diameter";  // value: tenths of a metre
inline constexpr const char* kYagis = "yagis";                 // value: the number of yagis
inline constexpr const char* kLowGainAntenna =
    "antenna";  // value: dipole, vertical, beam, variable
inline constexpr const char* kGroundReflection = "ground-reflection";
inline constexpr const char* kImperial = "imperial";
inline constexpr const char* kTower = "tower";  // value: whole metres
}  // namespace setting

// A handler run by its name.
Action HandlerAction(const std::string& name);
// RadioGroupN=ITEM.
Action SelectAction(const std::string& group, int item);

}  // namespace korrin::report
