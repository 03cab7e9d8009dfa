#include "station/FileWords.h"

#include <charconv>
#include <cmath>
#include <utility>

#include "core/Checked.h"

namespace korrin::station {

std::string EntryLabel(Section section, const std::string& id, std::size_t index) {
  std::string label(SectionHeader(section));
  if (section == Section::Top || section == Section::Property) return label;
  if (id.empty()) return label + " #" + std::to_string(index + 1);
  std::string quoted = "\"";
  for (const char c : id) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return label + " " + quoted + "\"";
}

namespace {

constexpr std::pair<LimitSetChoice, std::string_view> kLimitSetWords[] = {
    {LimitSetChoice::Fcc, "fcc"},
    {LimitSetChoice::Icnirp2020, "icnirp-2020"},
    {LimitSetChoice::Icnirp1998, "icnirp-1998"},
    {LimitSetChoice::Sc6, "sc6-2015"},
};

}  // namespace

std::string_view LimitSetWord(LimitSetChoice choice) {
  for (const auto& [set, word] : kLimitSetWords) {
    if (set == choice) return word;
  }
  return "";
}

std::optional<LimitSetChoice> LimitSetFromWord(std::string_view word) {
  for (const auto& [set, w] : kLimitSetWords) {
    if (w == word) return set;
  }
  return std::nullopt;
}

std::string LimitSetWordsText() {
  std::string text;
  for (const auto& [set, word] : kLimitSetWords) {
    text += (text.empty() ? "\"" : ", \"") + std::string(word) + "\"";
  }
  return text;
}

std::string_view SwrAtWord(SwrAt at) {
  return at == SwrAt::Antenna ? "antenna" : "transmitter";
}

std::optional<SwrAt> SwrAtFromWord(std::string_view word) {
  if (word == "antenna") return SwrAt::Antenna;
  if (word == "transmitter") return SwrAt::Transmitter;
  return std::nullopt;
}

bool PresetKind(std::string_view kind) {
  return kind == "dipole" || kind == "inverted-v" || kind == "vertical" || kind == "ground-plane";
}

bool NearFieldKind(std::string_view kind) {
  return kind == "wires" || PresetKind(kind);
}

std::span<const std::string_view> GroundWords() {
  static constexpr std::string_view kWords[] = {"free-space", "perfect", "average", "poor", "good"};
  return kWords;
}

std::span<const std::string_view> FeedAtWords() {
  static constexpr std::string_view kWords[] = {"middle", "start", "end"};
  return kWords;
}

std::string NumberText(Real value) {
  // Integers of TOML's 64-bit range are written exactly as integers.
  constexpr Real kIntegerLimit = 9.2e18L;
  if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < kIntegerLimit) {
    return std::to_string(static_cast<long long>(value));
  }
  std::string text = ShortestChars(static_cast<double>(value));
  if (text.find_first_of(".eEn") == std::string::npos) text += ".0";
  return text;
}

}  // namespace korrin::station
