// The station file: TOML 1.0 read and written with toml++.  Reading checks
// the whole file (syntax, types, known keys, ranges, unique ids, references,
// bands of the file's region) and returns either the station or every
// problem found; a file with any problem gives no station at all.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "station/Diagnostic.h"
#include "station/Station.h"

namespace korrin::station {

struct ReadResult {
  std::optional<Station> station;  // empty when `errors` is not
  std::vector<Diagnostic> errors;  // in the order of the file
};

// Parses a station file's text; `fileName` only names the file in messages.
ReadResult ParseStation(std::string_view text, const std::string& fileName);

// Reads and parses the named file (a file that cannot be read is one error).
ReadResult ReadStationFile(const std::string& path);

// The checks that do not depend on the TOML syntax, on a station read from a
// file or edited in the program: ranges, both or neither of a pair, unique
// ids, references to ids that exist, bands of the region, a frequency inside
// its band and inside a limit set.  Messages name the entry and the key.
std::vector<Diagnostic> Validate(const Station& station, const std::string& fileName);

// The file's text as the program writes it: a header comment, the keys in a
// fixed order, the user's units kept.  Parsing it gives the same station, and
// writing that again gives the same bytes.
std::string WriteStation(const Station& station);

// Writes through a temporary file beside `path` renamed over it, so the old
// file stays whole on failure.  On failure: the reason in words.
std::optional<std::string> SaveStationFile(const std::string& path, const Station& station);

// True when the text looks like a station file (a TOML `format` key naming
// this format near its start), as opposed to the calculator's binary .rsd.
bool LooksLikeStationFile(std::string_view head);

}  // namespace korrin::station
