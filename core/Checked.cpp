#include "core/Checked.h"

#include <algorithm>
#include <charconv>
#include <system_error>

namespace korrin {

namespace {

constexpr int kMostDecimals = 30;

// The digits of the largest double's integer part, its sign, its point and
// room for the decimals asked for.
constexpr std::size_t kRoom = std::numeric_limits<double>::max_exponent10 + 1 + 2 + kMostDecimals;

template <typename Write>
std::string Written(Write write) {
  char buffer[kRoom + 16];
  const std::to_chars_result r = write(buffer, buffer + sizeof buffer);
  // The buffer has room for every value; the check keeps it so.
  if (r.ec != std::errc()) return "?";
  return std::string(buffer, r.ptr);
}

}  // namespace

std::string FixedChars(double value, int decimals) {
  const int d = std::clamp(decimals, 0, kMostDecimals);
  return Written([&](char* first, char* last) {
    return std::to_chars(first, last, value, std::chars_format::fixed, d);
  });
}

std::string ShortestChars(double value) {
  return Written([&](char* first, char* last) { return std::to_chars(first, last, value); });
}

std::string ScientificChars(long double value, int digits) {
  const int d = std::clamp(digits, 0, kMostDecimals);
  return Written([&](char* first, char* last) {
    return std::to_chars(first, last, value, std::chars_format::scientific, d);
  });
}

}  // namespace korrin
