#include "ui/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace korrin {
namespace {

constexpr int kMaxDigits = 18;

// Decimal digits of |value| (no leading zeros) and the position of the
// decimal point: value = 0.d1 d2 d3 ... x 10^exponent.  The value is first
// taken to 18 significant digits, the most an extended real carries.
struct Decimal {
  std::string digits;  // empty for zero
  int exponent = 0;
  bool negative = false;
};

Decimal ToDecimal(long double value) {
  Decimal d;
  d.negative = std::signbit(value);
  if (value == 0 || !std::isfinite(value)) return d;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*Le", kMaxDigits - 1, std::fabs(value));
  // buf: "d.ddddde[+-]xx"
  std::string text(buf);
  const auto e = text.find('e');
  d.digits = text.substr(0, 1) + text.substr(2, e - 2);
  d.exponent = static_cast<int>(std::strtol(text.c_str() + e + 1, nullptr, 10)) + 1;
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  return d;
}

// Keeps `keep` leading digits, rounding halves away from zero.  keep may be
// zero or negative (then the value rounds to 0 or to one unit at the first
// kept place).
void RoundDigits(Decimal& d, int keep) {
  if (static_cast<int>(d.digits.size()) <= keep) return;
  if (keep < 0) {
    d.digits.clear();
    return;
  }
  const bool up = d.digits[static_cast<size_t>(keep)] >= '5';
  d.digits.resize(static_cast<size_t>(keep));
  if (up) {
    int i = keep - 1;
    while (i >= 0 && d.digits[static_cast<size_t>(i)] == '9') {
      d.digits[static_cast<size_t>(i)] = '0';
      --i;
    }
    if (i < 0) {
      d.digits.insert(d.digits.begin(), '1');
      d.exponent += 1;
    } else {
      d.digits[static_cast<size_t>(i)]++;
    }
  }
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
}

std::string Scientific(const Decimal& d, const NumberLocale& locale) {
  std::string out = d.negative ? "-" : "";
  out += d.digits[0];
  if (d.digits.size() > 1) out += locale.decimalPoint + d.digits.substr(1);
  out += 'E';
  out += std::to_string(d.exponent - 1);
  return out;
}

std::string Format(long double value, int precision, int decimals, const NumberLocale& locale,
                   bool grouped) {
  precision = std::clamp(precision, 1, kMaxDigits);
  decimals = std::clamp(decimals, 0, kMaxDigits);
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";

  Decimal d = ToDecimal(value);
  RoundDigits(d, std::min(precision, d.exponent + decimals));
  if (d.digits.empty()) d.negative = false;  // rounds to zero: no minus sign

  if (!d.digits.empty() && d.exponent > precision) return Scientific(d, locale);

  auto digitAt = [&d](int i) -> char {  // i-th digit from the first one
    return (i >= 0 && i < static_cast<int>(d.digits.size())) ? d.digits[static_cast<size_t>(i)]
                                                             : '0';
  };
  std::string integer;
  if (d.digits.empty() || d.exponent <= 0) {
    integer = "0";
  } else {
    for (int i = 0; i < d.exponent; ++i) integer += digitAt(i);
  }
  if (grouped && integer.size() > 3) {
    std::string g;
    const size_t n = integer.size();
    for (size_t i = 0; i < n; ++i) {
      if (i > 0 && (n - i) % 3 == 0) g += locale.groupSeparator;
      g += integer[i];
    }
    integer = g;
  }
  std::string out = d.negative ? "-" : "";
  out += integer;
  if (decimals > 0) {
    out += locale.decimalPoint;
    for (int k = 0; k < decimals; ++k) {
      out += d.digits.empty() ? '0' : digitAt(d.exponent + k);
    }
  }
  return out;
}

}  // namespace

std::string FixedText(long double value, int precision, int decimals, const NumberLocale& locale) {
  return Format(value, precision, decimals, locale, false);
}

std::string NumberText(long double value, int precision, int decimals, const NumberLocale& locale) {
  return Format(value, precision, decimals, locale, true);
}

}  // namespace korrin
