// The text of the near field's data tables under data/, built into the
// program by nearfield/Tables.cmake (one function per file, named after it).
#pragma once

#include <string_view>

namespace korrin::nearfield {

std::string_view TableText_field_limits();
std::string_view TableText_grounds();

}  // namespace korrin::nearfield
