// Whole rows of the station window's tables as text on the clipboard: the
// entries as the station file's own TOML tables ([[transmitter]] ...), so
// that they paste into another station window or into a text editor, and
// such text pasted back as entries of the station.  No toolkit here.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "ui/station/CellEdit.h"
#include "ui/station/Edit.h"

namespace korrin::stationui {

// The entries of `rows` of `table` as the file's tables, written by the
// station file's writer; installations bring the transmitters, feed lines
// and antennas they name, so that the text reads as a station of its own.
// Empty for the property line's corners (not entries of their own) and
// for no rows.
std::string RowsAsToml(const st::Station& station, Table table,
                       const std::vector<std::size_t>& rows);

// Text pasted into `station`: its tables read as the station file reads
// them (under the station's own heading), every problem refused in the
// file's words; the entries added as one edit, each under its own id unless
// that is in use, a transmitter, feed line or antenna that the station
// already has the same not added again.
Outcome PasteToml(const st::Station& station, std::string_view text);

}  // namespace korrin::stationui
