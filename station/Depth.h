// The depth of a TOML text, measured before it is parsed: a dotted key, a
// table header or arrays and inline tables nested thousands of levels deep
// (a few kilobytes of text) would exhaust the parser's stack.  A station
// file needs three levels at most; deeper than kDeepestNesting is refused.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "station/Diagnostic.h"

namespace korrin::station {

inline constexpr int kDeepestNesting = 32;

// Where the text first nests deeper than kDeepestNesting (the parts of one
// dotted key, or arrays and inline tables one inside the other), as an
// error of `fileName`; nullopt when it never does.  Strings and comments
// are skipped: the dots and brackets in them are text.
std::optional<Diagnostic> TooDeep(std::string_view text, const std::string& fileName);

}  // namespace korrin::station
