// Maidenhead locators and places typed as numbers, read as the moon's
// figures take them.
#include <gtest/gtest.h>

#include <string>

#include "moon/Place.h"
#include "moon/Time.h"

namespace korrin::moon {
namespace {

struct LocatorCase {
  const char* locator;
  double latitudeDeg;
  double longitudeDeg;
};

class LocatorCentreTest : public ::testing::TestWithParam<LocatorCase> {};

// Centres worked by hand: field 20° × 10° from 180° W, 90° S; square
// 2° × 1°; subsquare 5' × 2.5'; extended square 30" × 15"; then half a cell.
//   FN20xa:   F=5, N=13: -80, 40; 2, 0: -76, 40; x=23, a=0: -76 + 23·5' = -74.08333,
//             40 + 0; centre +2.5', +1.25': -74.04167, 40.02083.
//   FN20xa55: -74.08333 + 5·30" = -74.04167, 40 + 5·15" = 40.02083; centre +15", +7.5":
//             -74.03750, 40.02292.
//   JO65fr:   J=9, O=14: 0, 50; 6, 5: 12, 55; f=5, r=17: 12 + 25' = 12.41667,
//             55 + 42.5' = 55.70833; centre: 12.45833, 55.72917.
//   QF56:     Q=16, F=5: 140, -40; 5, 6: 150, -34; centre +1°, +0.5°: 151, -33.5.
//   RF80:     R=17, F=5: 160, -40; 8, 0: 176, -40; centre: 177, -39.5.
//   AA00aa00: the south-west corner cell: -180 + 15", -90 + 7.5".
//   RR99xx99: the north-east corner cell: 180 - 15", 90 - 7.5".
TEST_P(LocatorCentreTest, CentreAndRoundTrip) {
  const LocatorCase& c = GetParam();
  const ParsedPlace parsed = PlaceOfLocator(c.locator);
  ASSERT_TRUE(parsed.place) << c.locator << ": " << parsed.error;
  // A hundredth of an arcsecond: the hand-worked figures' five decimals.
  EXPECT_NEAR(parsed.place->latitudeDeg, c.latitudeDeg, 5e-6) << c.locator;
  EXPECT_NEAR(parsed.place->longitudeDeg, c.longitudeDeg, 5e-6) << c.locator;
  EXPECT_EQ(parsed.place->heightM, 0.0);
  const std::string text(c.locator);
  std::string usual = text;
  for (std::size_t i = 0; i < usual.size(); ++i) {
    usual[i] =
        static_cast<char>(i == 4 || i == 5 ? std::tolower(usual[i]) : std::toupper(usual[i]));
  }
  EXPECT_EQ(LocatorOf(*parsed.place, static_cast<int>(text.size())), usual);
}

INSTANTIATE_TEST_SUITE_P(
    HandWorked, LocatorCentreTest,
    ::testing::Values(LocatorCase{"FN20xa", 40.0 + 1.25 / 60.0, -74.0 - 2.5 / 60.0},
                      LocatorCase{"fn20XA", 40.0 + 1.25 / 60.0, -74.0 - 2.5 / 60.0},
                      LocatorCase{"FN20xa55", 40.0 + 82.5 / 3600.0, -74.0 - 135.0 / 3600.0},
                      LocatorCase{"JO65fr", 55.0 + 43.75 / 60.0, 12.0 + 27.5 / 60.0},
                      LocatorCase{"QF56", -33.5, 151.0}, LocatorCase{"RF80", -39.5, 177.0},
                      LocatorCase{"AA00aa00", -90.0 + 7.5 / 3600.0, -180.0 + 15.0 / 3600.0},
                      LocatorCase{"RR99xx99", 90.0 - 7.5 / 3600.0, 180.0 - 15.0 / 3600.0}));

TEST(LocatorCentre, TheIssuesRoundedFigures) {
  const Place p = *PlaceOfLocator("FN20xa").place;
  EXPECT_NEAR(p.latitudeDeg, 40.021, 0.0005);
  EXPECT_NEAR(p.longitudeDeg, -74.042, 0.0005);
}

TEST(LocatorOfPlace, EdgesStayInsideTheGrid) {
  EXPECT_EQ(LocatorOf(Place{90.0, 179.999, 0}, 6), "RR99xx");
  EXPECT_EQ(LocatorOf(Place{0.0, 180.0, 0}, 4), "AJ00");  // the same meridian as 180° W
  EXPECT_EQ(LocatorOf(Place{-90.0, -180.0, 0}, 4), "AA00");
  EXPECT_EQ(LocatorOf(Place{40.0208, -74.0417, 0}, 8), "FN20xa44");
}

struct RefusedCase {
  const char* text;
  const char* says;  // a part of the message
};

class RefusedPlaceTest : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedPlaceTest, SaysWhy) {
  const RefusedCase& c = GetParam();
  const ParsedPlace parsed = ParsePlace(c.text);
  EXPECT_FALSE(parsed.place) << c.text;
  EXPECT_NE(parsed.error.find(c.says), std::string::npos) << c.text << ": " << parsed.error;
}

INSTANTIATE_TEST_SUITE_P(
    BadText, RefusedPlaceTest,
    ::testing::Values(
        RefusedCase{"", "4, 6 or 8 characters"}, RefusedCase{"FN2", "4, 6 or 8 characters"},
        RefusedCase{"FN20x", "4, 6 or 8 characters"},
        RefusedCase{"FN20xa5", "4, 6 or 8 characters"},
        RefusedCase{"FN20xa555", "4, 6 or 8 characters"},
        RefusedCase{"SN20", "characters 1 and 2 must each be a letter A-R"},
        RefusedCase{"F020", "characters 1 and 2 must each be a letter A-R"},
        RefusedCase{"FNA0", "characters 3 and 4 must each be a digit 0-9"},
        RefusedCase{"FN20ya", "characters 5 and 6 must each be a letter A-X"},
        RefusedCase{"FN20xa5x", "characters 7 and 8 must each be a digit 0-9"},
        RefusedCase{"FN 2", "characters 3 and 4"}, RefusedCase{"40.0", "characters 1 and 2"},
        RefusedCase{"40.0,", "LAT,LON[,HEIGHT]"}, RefusedCase{"40.0,-74,10,3", "LAT,LON[,HEIGHT]"},
        RefusedCase{"north,-74", "LAT,LON[,HEIGHT]"}, RefusedCase{"40.0,-74x", "LAT,LON[,HEIGHT]"},
        RefusedCase{"nan,-74", "LAT,LON[,HEIGHT]"}, RefusedCase{"90.5,0", "latitude"},
        RefusedCase{"0,-180.01", "longitude"}, RefusedCase{"0,0,20000", "height"}));

TEST(PlaceAsNumbers, LatitudeLongitudeAndHeight) {
  const ParsedPlace a = ParsePlace(" 40.5, -74.25 ");
  ASSERT_TRUE(a.place) << a.error;
  EXPECT_EQ(a.place->latitudeDeg, 40.5);
  EXPECT_EQ(a.place->longitudeDeg, -74.25);
  EXPECT_EQ(a.place->heightM, 0.0);
  const ParsedPlace b = ParsePlace("-33.5,+151,120");
  ASSERT_TRUE(b.place) << b.error;
  EXPECT_EQ(b.place->latitudeDeg, -33.5);
  EXPECT_EQ(b.place->longitudeDeg, 151.0);
  EXPECT_EQ(b.place->heightM, 120.0);
  // A locator goes the locator's way.
  EXPECT_TRUE(ParsePlace("JO65fr").place);
}

struct TimeCase {
  const char* text;
  const char* iso;  // as FormatUtc writes it back; null: refused
};

class UtcTextTest : public ::testing::TestWithParam<TimeCase> {};

TEST_P(UtcTextTest, ReadAndWrittenBack) {
  const TimeCase& c = GetParam();
  const ParsedTime parsed = ParseUtc(c.text);
  if (c.iso == nullptr) {
    EXPECT_FALSE(parsed.time) << c.text;
    EXPECT_FALSE(parsed.error.empty()) << c.text;
    return;
  }
  ASSERT_TRUE(parsed.time) << c.text << ": " << parsed.error;
  EXPECT_EQ(FormatUtc(*parsed.time), c.iso);
}

INSTANTIATE_TEST_SUITE_P(
    Iso8601, UtcTextTest,
    ::testing::Values(
        TimeCase{"2026-12-07T00:00Z", "2026-12-07T00:00:00Z"},
        TimeCase{"2026-12-07t13:45z", "2026-12-07T13:45:00Z"},
        TimeCase{"2026-12-07T23:59:59Z", "2026-12-07T23:59:59Z"},
        TimeCase{"2026-12-07", "2026-12-07T00:00:00Z"},
        TimeCase{"2028-02-29T12:00Z", "2028-02-29T12:00:00Z"},
        TimeCase{"1960-01-01T00:00Z", "1960-01-01T00:00:00Z"},
        TimeCase{"2050-12-31T23:59:59Z", "2050-12-31T23:59:59Z"},
        TimeCase{"1959-12-31T23:59:59Z", nullptr}, TimeCase{"2051-01-01T00:00Z", nullptr},
        TimeCase{"2027-02-29T00:00Z", nullptr}, TimeCase{"2026-13-01T00:00Z", nullptr},
        TimeCase{"2026-12-07T24:00Z", nullptr}, TimeCase{"2026-12-07T12:60Z", nullptr},
        TimeCase{"2016-12-31T23:59:60Z", nullptr},
        TimeCase{"2026-12-07T00:00", nullptr},  // no zone: not taken as UTC
        TimeCase{"2026-12-07T00:00+01:00", nullptr}, TimeCase{"2026-12-07T0:00Z", nullptr},
        TimeCase{"26-12-07", nullptr}, TimeCase{"2026-12-07T00:00Zjunk", nullptr},
        TimeCase{"", nullptr}));

TEST(UtcText, RefusalsSayWhy) {
  EXPECT_NE(ParseUtc("2051-01-01").error.find("1960-2050"), std::string::npos);
  EXPECT_NE(ParseUtc("2027-02-29").error.find("names no date"), std::string::npos);
  EXPECT_NE(ParseUtc("7 Dec 2026").error.find("2026-12-07T00:00Z"), std::string::npos);
}

TEST(UtcSecondsCount, CalendarDays) {
  EXPECT_EQ(*ParseUtc("1970-01-01T00:00Z").time, 0);
  EXPECT_EQ(*ParseUtc("2000-03-01T00:00Z").time - *ParseUtc("2000-02-28T00:00Z").time, 2 * 86400);
  EXPECT_EQ(*ParseUtc("1969-12-31T23:59:59Z").time, -1);
  const CalendarTime c = CalendarOf(-1);
  EXPECT_EQ(c.year, 1969);
  EXPECT_EQ(c.second, 59);
}

}  // namespace
}  // namespace korrin::moon
