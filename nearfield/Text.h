// Numbers and fields in the texts the near field reads: data tables, card
// decks and the engine's output.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace korrin::nearfield {

// A whole decimal number ("1.42E+01", "-5", ".5"); empty for anything else,
// an empty text, trailing characters, or a value that is not finite.
std::optional<double> ToDouble(std::string_view text);

// A whole integer ("-1", "21"); empty for anything else.
std::optional<long> ToLong(std::string_view text);

// The fields of a line separated by blanks, tabs or commas (a card deck's
// free format and the engine's columns).
void SplitFields(std::string_view line, std::vector<std::string_view>& fields);

// The line's text without its leading and trailing blanks.
std::string_view Trim(std::string_view text);

}  // namespace korrin::nearfield
