// Conversions that say when they cannot be made: a float to an integer out
// of range or not finite, and numbers far larger than a fixed buffer.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "core/Checked.h"

namespace korrin {
namespace {

constexpr long double kNaN = std::numeric_limits<long double>::quiet_NaN();
constexpr long double kInf = std::numeric_limits<long double>::infinity();

struct SizeCase {
  long double value;
  std::optional<std::size_t> expected;
};

class ToSizeTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(ToSizeTest, FitsOrSaysSo) {
  EXPECT_EQ(ToInteger<std::size_t>(GetParam().value), GetParam().expected)
      << "value " << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToSizeTest,
    ::testing::Values(SizeCase{0, 0}, SizeCase{7.9L, 7}, SizeCase{-0.5L, 0},
                      SizeCase{-1, std::nullopt},
                      // Just beyond the largest count, 2^64 - 1.
                      SizeCase{1.85e19L, std::nullopt}, SizeCase{4.6e18L, 4600000000000000000u},
                      SizeCase{18446744073709551615.0L, 18446744073709551615u},
                      SizeCase{18446744073709551616.0L, std::nullopt}, SizeCase{kNaN, std::nullopt},
                      SizeCase{kInf, std::nullopt}, SizeCase{-kInf, std::nullopt}));

struct IntCase {
  long double value;
  std::optional<int> expected;
};

class ToIntTest : public ::testing::TestWithParam<IntCase> {};

TEST_P(ToIntTest, FitsOrSaysSo) {
  EXPECT_EQ(ToInteger<int>(GetParam().value), GetParam().expected) << "value " << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Cases, ToIntTest,
                         ::testing::Values(IntCase{2147483647.9L, 2147483647},
                                           IntCase{2147483648.0L, std::nullopt},
                                           IntCase{-2147483648.9L, -2147483647 - 1},
                                           IntCase{-2147483649.0L, std::nullopt},
                                           IntCase{-9.2e18L, std::nullopt},
                                           IntCase{kNaN, std::nullopt}));

struct CharsCase {
  const char* what;
  std::string text;
  std::string expected;
};

class CharsTest : public ::testing::TestWithParam<CharsCase> {};

TEST_P(CharsTest, WritesEveryDigit) {
  EXPECT_EQ(GetParam().text, GetParam().expected) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CharsTest,
    ::testing::Values(
        CharsCase{"fixed", FixedChars(1500.0, 2), "1500.00"},
        CharsCase{"fixed, rounded", FixedChars(0.125, 2), "0.12"},
        // 1e60 is the double nearest 10^60, written whole.
        CharsCase{"fixed, 1e60", FixedChars(1e60, 2),
                  "999999999999999949387135297074018866963645011013410073083904.00"},
        CharsCase{"fixed, the largest double", FixedChars(1.7976931348623157e308, 0).substr(0, 12),
                  "179769313486"},
        CharsCase{"fixed, the largest double's length",
                  std::to_string(FixedChars(-1.7976931348623157e308, 30).size()), "341"},
        CharsCase{"fixed, not a number", FixedChars(std::numeric_limits<double>::infinity(), 2),
                  "inf"},
        CharsCase{"shortest", ShortestChars(0.1), "0.1"},
        CharsCase{"shortest, huge", ShortestChars(1e300), "1e+300"},
        CharsCase{"scientific", ScientificChars(1500.0L, 3), "1.500e+03"},
        CharsCase{"scientific, huge", ScientificChars(-1.5e4000L, 3), "-1.500e+4000"}));

}  // namespace
}  // namespace korrin
