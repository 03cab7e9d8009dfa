// The 10-byte extended real of the station data files: a 64-bit significand
// with an explicit integer bit (bytes 0-7, little-endian), then the sign and
// a 15-bit exponent biased by 16383 (bytes 8-9).  Encoded and decoded one
// byte at a time, so the bytes are the same whatever long double is on the
// host.
#pragma once

#include <array>
#include <cstdint>

namespace korrin {

using Extended80Bytes = std::array<std::uint8_t, 10>;

// What a 10-byte pattern holds.
enum class Extended80Class {
  Zero,
  Subnormal,  // exponent 0, integer bit clear
  Normal,
  Infinite,
  NaN,
  // Patterns the format has no meaning for: exponent 0 with the integer bit
  // set (pseudo-denormal), a non-zero exponent with the integer bit clear
  // (unnormal), and the maximal exponent with the integer bit clear
  // (pseudo-infinity, pseudo-NaN).
  Invalid,
};

struct Extended80Value {
  long double value = 0;  // NaN for Invalid patterns
  Extended80Class kind = Extended80Class::Zero;
};

// The nearest pattern to `value` (ties to even when the host's long double
// carries more than 64 significant bits).  Infinities and NaNs keep their
// kind and sign.
Extended80Bytes EncodeExtended80(long double value);

// The value of a pattern; values outside the host's range become infinite
// or zero as the host's own arithmetic rounds them.
Extended80Value DecodeExtended80(const Extended80Bytes& bytes);

}  // namespace korrin
