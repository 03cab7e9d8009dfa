#include "io/Extended80.h"

#include <cmath>
#include <limits>

namespace korrin {
namespace {

constexpr int kBias = 16383;
constexpr int kMaxExponent = 0x7FFF;
// value = significand x 2^(exponent - kBias - 63); exponent 0 counts as 1.
constexpr int kSignificandShift = kBias + 63;
constexpr std::uint64_t kIntegerBit = std::uint64_t{1} << 63;

Extended80Bytes Pack(bool negative, int exponent, std::uint64_t significand) {
  Extended80Bytes b{};
  for (std::size_t i = 0; i < 8; ++i) {
    b[i] = static_cast<std::uint8_t>(significand >> (8 * i));
  }
  const unsigned top = (negative ? 0x8000u : 0u) | static_cast<unsigned>(exponent);
  b[8] = static_cast<std::uint8_t>(top & 0xFFu);
  b[9] = static_cast<std::uint8_t>(top >> 8);
  return b;
}

// x (0 <= x <= 2^64) to the nearest integer, ties to even.  `carry` is set
// when the result is 2^64, which does not fit.
std::uint64_t RoundToSignificand(long double x, bool& carry) {
  constexpr long double kTwo64 = 18446744073709551616.0L;
  carry = false;
  const long double whole = std::floor(x);
  if (whole >= kTwo64) {
    carry = true;
    return 0;
  }
  std::uint64_t n = static_cast<std::uint64_t>(whole);
  const long double fraction = x - whole;
  if (fraction > 0.5L || (fraction == 0.5L && (n & 1u) != 0)) {
    ++n;
    if (n == 0) carry = true;
  }
  return n;
}

}  // namespace

Extended80Bytes EncodeExtended80(long double value) {
  const bool negative = std::signbit(value);
  if (std::isnan(value)) return Pack(negative, kMaxExponent, kIntegerBit | (kIntegerBit >> 1));
  if (std::isinf(value)) return Pack(negative, kMaxExponent, kIntegerBit);
  if (value == 0) return Pack(negative, 0, 0);

  const long double magnitude = std::fabs(value);
  int e = 0;
  const long double fraction = std::frexp(magnitude, &e);  // magnitude = fraction x 2^e
  int exponent = e - 1 + kBias;
  bool carry = false;
  if (exponent >= 1) {
    std::uint64_t significand = RoundToSignificand(std::ldexp(fraction, 64), carry);
    if (carry) {
      significand = kIntegerBit;
      ++exponent;
    }
    if (exponent >= kMaxExponent) return Pack(negative, kMaxExponent, kIntegerBit);
    return Pack(negative, exponent, significand);
  }
  // Below the smallest normal: exponent field 0, integer bit clear.
  const std::uint64_t significand =
      RoundToSignificand(std::ldexp(magnitude, kSignificandShift - 1), carry);
  // Rounding up to 2^63 reaches the smallest normal number.
  return Pack(negative, significand == kIntegerBit ? 1 : 0, significand);
}

Extended80Value DecodeExtended80(const Extended80Bytes& b) {
  std::uint64_t significand = 0;
  for (std::size_t i = 0; i < 8; ++i) {
    significand |= std::uint64_t{b[i]} << (8 * i);
  }
  const unsigned top = static_cast<unsigned>(b[8]) | (static_cast<unsigned>(b[9]) << 8);
  const bool negative = (top & 0x8000u) != 0;
  const int exponent = static_cast<int>(top & 0x7FFFu);
  const bool integerBit = (significand & kIntegerBit) != 0;
  const long double sign = negative ? -1.0L : 1.0L;
  constexpr long double kNaN = std::numeric_limits<long double>::quiet_NaN();

  if (exponent == kMaxExponent) {
    if (!integerBit) return {kNaN, Extended80Class::Invalid};
    if ((significand << 1) == 0) {
      return {sign * std::numeric_limits<long double>::infinity(), Extended80Class::Infinite};
    }
    return {std::copysign(kNaN, sign), Extended80Class::NaN};
  }
  if (exponent == 0) {
    if (significand == 0) return {std::copysign(0.0L, sign), Extended80Class::Zero};
    if (integerBit) return {kNaN, Extended80Class::Invalid};
    return {sign * std::ldexp(static_cast<long double>(significand), 1 - kSignificandShift),
            Extended80Class::Subnormal};
  }
  if (!integerBit) return {kNaN, Extended80Class::Invalid};
  return {sign * std::ldexp(static_cast<long double>(significand), exponent - kSignificandShift),
          Extended80Class::Normal};
}

}  // namespace korrin
