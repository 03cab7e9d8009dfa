// Words and labels the station file's reader, checks and writer share.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "station/Schema.h"
#include "station/Station.h"

namespace korrin::station {

// The entry as messages name it: `[[antenna]] "tribander"`, or by its place
// among its kind when it has no id yet: `[[antenna]] #2` (1-based).
std::string EntryLabel(Section section, const std::string& id, std::size_t index);

// "fcc", "icnirp-2020".
std::string_view LimitSetWord(LimitSetChoice choice);
std::optional<LimitSetChoice> LimitSetFromWord(std::string_view word);
// Every limit set's word, quoted, for messages: "\"fcc\", \"icnirp-2020\", ..."
std::string LimitSetWordsText();

// "antenna", "transmitter".
std::string_view SwrAtWord(SwrAt at);
std::optional<SwrAt> SwrAtFromWord(std::string_view word);

// The antenna kinds the near field models: "wires" by its own wires or NEC
// card deck, and the kinds it models by a preset ("dipole", "inverted-v",
// "vertical", "ground-plane").
bool NearFieldKind(std::string_view kind);
bool PresetKind(std::string_view kind);

// The words of a wire antenna's ground: "free-space", "perfect" and the
// named grounds of the near field's table (data/grounds.csv).
std::span<const std::string_view> GroundWords();

// "middle", "start", "end": where on its wire the feed of a "wires" antenna is.
std::span<const std::string_view> FeedAtWords();

// A number as the file writes it: an integral value as an integer, any other
// as the shortest decimal text that reads back as the same double.
std::string NumberText(Real value);

}  // namespace korrin::station
