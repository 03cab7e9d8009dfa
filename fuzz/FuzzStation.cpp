// Feeds arbitrary bytes to the station file reader as the text of a file.
// The reader must either give a station and no error, or errors and no
// station, each error with a message and a place; an accepted station must
// pass its checks again, and what the writer makes of it must read back as
// the same station and write again to the very same bytes.  Anything else
// aborts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

#include "station/StationFile.h"

namespace {

using namespace korrin::station;

void Require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "station file fuzzer: %s\n", what);
  std::abort();
}

int LineOrder(const Diagnostic& d) {
  return d.at.line == 0 ? std::numeric_limits<int>::max() : d.at.line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const ReadResult read = ParseStation(text, "fuzz.station.toml");
  Require(read.station.has_value() == read.errors.empty(), "a station and errors, or neither");
  for (std::size_t i = 0; i < read.errors.size(); ++i) {
    const Diagnostic& d = read.errors[i];
    Require(!d.message.empty(), "an error without words");
    Require(d.at.line >= 0 && d.at.column >= 0, "an error at a negative place");
    Require(d.file == "fuzz.station.toml", "an error naming another file");
    Require(!FormatDiagnostic(d).empty(), "an error that formats to nothing");
    if (i > 0) Require(LineOrder(read.errors[i - 1]) <= LineOrder(d), "errors out of file order");
  }
  if (!read.station) return 0;

  const Station& station = *read.station;
  Require(Validate(station, "fuzz.station.toml").empty(), "an accepted station fails its checks");
  const std::string written = WriteStation(station);
  Require(LooksLikeStationFile(written), "the written file does not look like a station file");
  const ReadResult back = ParseStation(written, "written.station.toml");
  Require(back.station.has_value(), "the written file is refused");
  Require(SameContent(station, *back.station), "the written file reads back as another station");
  Require(WriteStation(*back.station) == written, "writing it again gives other bytes");
  return 0;
}
