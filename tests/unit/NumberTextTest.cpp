#include <gtest/gtest.h>

#include "ui/NumberText.h"

namespace korrin {
namespace {

struct FixedCase {
  long double value;
  int precision;
  int decimals;
  const char* expected;
};

class FixedTextTest : public ::testing::TestWithParam<FixedCase> {};

TEST_P(FixedTextTest, WritesTheConventionalText) {
  const FixedCase& c = GetParam();
  EXPECT_EQ(FixedText(c.value, c.precision, c.decimals), c.expected)
      << "value " << static_cast<double>(c.value) << " P" << c.precision << " D" << c.decimals;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, FixedTextTest,
    ::testing::Values(
        FixedCase{1191.49L, 4, 0, "1191"}, FixedCase{31.76094L, 4, 2, "31.76"},
        FixedCase{261.0L, 4, 1, "261.0"}, FixedCase{1234.567L, 4, 2, "1235.00"},
        FixedCase{25597.2L, 4, 0, "2.56E4"}, FixedCase{25597.44L, 4, 0, "2.56E4"},
        // negative values and values that round to zero
        FixedCase{-0.2L, 4, 2, "-0.20"}, FixedCase{-157.93L, 6, 1, "-157.9"},
        FixedCase{-0.004L, 4, 2, "0.00"}, FixedCase{-0.0L, 4, 1, "0.0"},
        FixedCase{0.0L, 10, 0, "0"}, FixedCase{1e-10L, 4, 1, "0.0"},
        FixedCase{-1e-13L, 10, 1, "0.0"},
        // halves go away from zero
        FixedCase{0.5L, 4, 0, "1"}, FixedCase{2.5L, 4, 0, "3"}, FixedCase{-2.5L, 4, 0, "-3"},
        FixedCase{0.125L, 10, 2, "0.13"}, FixedCase{0.005L, 4, 2, "0.01"},
        // exactly P integer digits against P + 1
        FixedCase{9999.0L, 4, 0, "9999"}, FixedCase{9999.4L, 4, 1, "9999.0"},
        FixedCase{9999.6L, 4, 0, "1E4"}, FixedCase{10000.0L, 4, 0, "1E4"},
        FixedCase{12541504.0L, 8, 0, "12541504"}, FixedCase{123456789.0L, 8, 0, "1.2345679E8"},
        FixedCase{1002.45L, 3, 1, "1E3"}, FixedCase{1000.0L, 3, 1, "1E3"},
        // digits beyond the precision are written as zeros
        FixedCase{23.751L, 3, 2, "23.80"}, FixedCase{10.452L, 3, 2, "10.50"},
        FixedCase{7.615L, 3, 2, "7.62"}, FixedCase{123456.789L, 4, 2, "1.235E5"},
        FixedCase{1.7233L, 3, 2, "1.72"},
        // large and small exponents
        FixedCase{1.5e300L, 4, 0, "1.5E300"}, FixedCase{1e-300L, 4, 2, "0.00"},
        FixedCase{2.5e17L, 18, 0, "250000000000000000"}, FixedCase{2.5e18L, 18, 0, "2.5E18"},
        FixedCase{0.0004L, 18, 2, "0.00"}, FixedCase{0.0006L, 18, 3, "0.001"}));

TEST(NumberTextTest, GroupsThousands) {
  EXPECT_EQ(NumberText(1210391.6L, 18, 0), "1,210,392");
  EXPECT_EQ(NumberText(999.4L, 18, 0), "999");
  EXPECT_EQ(NumberText(1000.0L, 18, 0), "1,000");
  EXPECT_EQ(NumberText(0.0L, 18, 0), "0");
  EXPECT_EQ(NumberText(-1234567.0L, 18, 0), "-1,234,567");
}

TEST(NumberTextTest, UsesTheLocaleSeparators) {
  const NumberLocale german{",", "."};
  EXPECT_EQ(FixedText(31.76094L, 4, 2, german), "31,76");
  EXPECT_EQ(FixedText(25597.2L, 4, 0, german), "2,56E4");
  EXPECT_EQ(NumberText(1210391.6L, 18, 0, german), "1.210.392");
  const NumberLocale spaced{".", "\u00a0"};
  EXPECT_EQ(NumberText(1210391.6L, 18, 0, spaced), "1\u00a0210\u00a0392");
}

}  // namespace
}  // namespace korrin
