// The text of each data table under data/, built into the program by
// station/Tables.cmake (one function per file, named after it).
#pragma once

#include <string_view>

namespace korrin::station {

std::string_view TableText_bands();
std::string_view TableText_modes();
std::string_view TableText_cables();
std::string_view TableText_antenna_kinds();
std::string_view TableText_limit_sets();
std::string_view TableText_countries();
std::string_view TableText_threshold_tests();
std::string_view TableText_country_bands();

}  // namespace korrin::station
