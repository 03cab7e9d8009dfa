// Where a station stands: geodetic latitude, longitude and height on the
// WGS84 ellipsoid, given as a Maidenhead locator or as numbers.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korrin::moon {

struct Place {
  double latitudeDeg = 0;   // north positive, -90..90
  double longitudeDeg = 0;  // east positive, -180..180
  double heightM = 0;       // above the WGS84 ellipsoid
};

// A place read from a user's text, or why it was refused.
struct ParsedPlace {
  std::optional<Place> place;
  std::string error;  // plain words, empty when `place` is set
};

// The centre of a Maidenhead locator of 4, 6 or 8 characters (field
// letters A-R, square digits, subsquare letters A-X, extended square
// digits; either case), at height 0.
ParsedPlace PlaceOfLocator(std::string_view locator);

// A locator, or "LAT,LON" or "LAT,LON,HEIGHT" in decimal degrees (north and
// east positive) and metres.
ParsedPlace ParsePlace(std::string_view text);

// The locator of `characters` (4, 6 or 8) characters whose cell holds the
// place, in the usual case (field upper, subsquare lower).
std::string LocatorOf(const Place& place, int characters = 6);

}  // namespace korrin::moon
