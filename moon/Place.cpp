// Maidenhead locators: a field of 20° × 10° (letters A-R), a square of
// 2° × 1° (digits), a subsquare of 5' × 2.5' (letters A-X) and an extended
// square of 30" × 15" (digits), longitude first in each pair, counted from
// 180° W and 90° S.
#include "moon/Place.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>
#include <vector>

namespace korrin::moon {

namespace {

struct Level {
  char first;  // the character of the cell with index 0
  int cells;   // cells along each axis
  double lonSizeDeg;
  double latSizeDeg;
};

constexpr std::array<Level, 4> kLevels{{
    {'A', 18, 20.0, 10.0},
    {'0', 10, 2.0, 1.0},
    {'A', 24, 2.0 / 24.0, 1.0 / 24.0},
    {'0', 10, 2.0 / 240.0, 1.0 / 240.0},
}};

std::optional<int> CellIndex(char c, const Level& level) {
  const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const int index = upper - level.first;
  if (index < 0 || index >= level.cells) return std::nullopt;
  return index;
}

std::string Describe(const Level& level) {
  if (level.first == '0') return "a digit 0-9";
  return std::string("a letter A-") + static_cast<char>(level.first + level.cells - 1);
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
    text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
    text.remove_suffix(1);
  return text;
}

std::optional<double> Number(std::string_view text) {
  text = Trimmed(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const char* end = text.data() + text.size();
  // from_chars reads up to `end`: the view needs no terminating null.
  // NOLINTNEXTLINE(bugprone-suspicious-stringview-data-usage)
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || text.empty() || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace

ParsedPlace PlaceOfLocator(std::string_view locator) {
  locator = Trimmed(locator);
  const std::string shown(locator);
  if (locator.size() != 4 && locator.size() != 6 && locator.size() != 8) {
    return {std::nullopt, "locator \"" + shown + "\" must have 4, 6 or 8 characters"};
  }
  double lon = -180.0;
  double lat = -90.0;
  const std::size_t pairs = locator.size() / 2;
  for (std::size_t i = 0; i < pairs; ++i) {
    const Level& level = kLevels[i];
    const std::optional<int> x = CellIndex(locator[2 * i], level);
    const std::optional<int> y = CellIndex(locator[2 * i + 1], level);
    if (!x || !y) {
      return {std::nullopt, "locator \"" + shown + "\": characters " + std::to_string(2 * i + 1) +
                                " and " + std::to_string(2 * i + 2) + " must each be " +
                                Describe(level)};
    }
    lon += *x * level.lonSizeDeg;
    lat += *y * level.latSizeDeg;
  }
  const Level& last = kLevels[pairs - 1];
  return {Place{lat + last.latSizeDeg / 2.0, lon + last.lonSizeDeg / 2.0, 0.0}, {}};
}

ParsedPlace ParsePlace(std::string_view text) {
  const std::string shown(Trimmed(text));
  if (shown.find(',') == std::string::npos) return PlaceOfLocator(text);

  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    const std::size_t comma = text.find(',', start);
    parts.push_back(text.substr(start, comma == std::string_view::npos ? comma : comma - start));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  const std::size_t count = parts.size();
  const std::string form = "\"" + shown + "\" must be a locator or LAT,LON[,HEIGHT]";
  if (count < 2 || count > 3) return {std::nullopt, form};
  const std::optional<double> lat = Number(parts[0]);
  const std::optional<double> lon = Number(parts[1]);
  const std::optional<double> height = count == 3 ? Number(parts[2]) : std::optional<double>(0.0);
  if (!lat || !lon || !height) return {std::nullopt, form + " in decimal degrees and metres"};
  if (*lat < -90.0 || *lat > 90.0)
    return {std::nullopt, "latitude in \"" + shown + "\" must lie in -90..90"};
  if (*lon < -180.0 || *lon > 180.0) {
    return {std::nullopt, "longitude in \"" + shown + "\" must lie in -180..180"};
  }
  // From the deepest point of the sea to well above any mountain.
  if (*height < -11000.0 || *height > 10000.0) {
    return {std::nullopt, "height in \"" + shown + "\" must lie in -11000..10000 m"};
  }
  return {Place{*lat, *lon, *height}, {}};
}

std::string LocatorOf(const Place& place, int characters) {
  const int pairs = characters == 4 ? 2 : characters == 8 ? 4 : 3;
  // The north pole belongs to the last row of cells; 180° E is 180° W.
  double lon = std::fmod(place.longitudeDeg + 180.0, 360.0);
  if (lon < 0) lon += 360.0;
  double lat = std::fmin(std::fmax(place.latitudeDeg + 90.0, 0.0), 180.0);
  std::string text;
  for (int i = 0; i < pairs; ++i) {
    const Level& level = kLevels[static_cast<std::size_t>(i)];
    const int x = std::min(static_cast<int>(std::floor(lon / level.lonSizeDeg)), level.cells - 1);
    const int y = std::min(static_cast<int>(std::floor(lat / level.latSizeDeg)), level.cells - 1);
    lon -= x * level.lonSizeDeg;
    lat -= y * level.latSizeDeg;
    const bool lower = i == 2;
    const char base = lower ? 'a' : level.first;
    text += static_cast<char>(base + x);
    text += static_cast<char>(base + y);
  }
  return text;
}

}  // namespace korrin::moon
