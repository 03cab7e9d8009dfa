// The station files the station window's tests start from: worked station
// F and the program's example, read as the window reads them.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "station/StationFile.h"

namespace korrin::testing_support {

// The station a file holds; a file that does not read fails the test.
inline station::Station ReadStation(const std::string& path) {
  const station::ReadResult r = station::ReadStationFile(path);
  EXPECT_TRUE(r.station.has_value()) << station::FormatDiagnostics(r.errors);
  return r.station.value_or(station::Station{});
}

inline station::Station WorkedF() {
  return ReadStation(std::string(KORRIN_TEST_DATA_DIR) + "/station/worked-f.station.toml");
}

inline station::Station Example() {
  return ReadStation(std::string(KORRIN_SOURCE_DIR) + "/data/examples/example.station.toml");
}

}  // namespace korrin::testing_support
