// Conversions that say when they cannot be made, in place of the undefined
// behaviour of a bare cast of a huge or non-finite number to an integer and
// of the unchecked end of a std::to_chars that ran out of room.
#pragma once

#include <cmath>
#include <concepts>
#include <limits>
#include <optional>
#include <string>

namespace korrin {

// `value` truncated towards zero as an `Int`, or nullopt when it is not a
// finite number or the truncated value lies outside `Int`'s range.
template <std::integral Int>
std::optional<Int> ToInteger(long double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const long double t = std::trunc(value);
  // Both bounds are powers of two (or 0), exact in a long double: the
  // highest value plus one is 2 to the power of the value bits.
  constexpr long double kLowest = static_cast<long double>(std::numeric_limits<Int>::min());
  const long double kAboveHighest = std::ldexp(1.0L, std::numeric_limits<Int>::digits);
  if (t < kLowest || t >= kAboveHighest) return std::nullopt;
  return static_cast<Int>(t);
}

// `value` with `decimals` digits after the point (0 to 30), every digit of
// its integer part written however large it is: "1500.00".  Not a finite
// number: "nan", "inf" or "-inf".
std::string FixedChars(double value, int decimals);

// The shortest text that reads back as the same double: "0.1", "1e+60".
std::string ShortestChars(double value);

// `value` in scientific notation with `digits` digits after the point
// (0 to 30): "1.50000000000000000000e+03".
std::string ScientificChars(long double value, int digits);

}  // namespace korrin
