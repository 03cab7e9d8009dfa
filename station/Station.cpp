#include "station/Station.h"

#include <tuple>

namespace korrin::station {

namespace {

template <typename Entry>
const Entry* FindById(const std::vector<Entry>& entries, const std::string& id) {
  for (const Entry& e : entries) {
    if (e.id == id) return &e;
  }
  return nullptr;
}

bool Same(const Length& a, const Length& b) {
  return a.value == b.value && a.unit == b.unit;
}
bool Same(const std::optional<Length>& a, const std::optional<Length>& b) {
  return a.has_value() == b.has_value() && (!a || Same(*a, *b));
}
bool Same(const std::optional<Gain>& a, const std::optional<Gain>& b) {
  return a.has_value() == b.has_value() && (!a || (a->value == b->value && a->dbd == b->dbd));
}

bool Same(const Transmitter& a, const Transmitter& b) {
  return std::tie(a.id, a.powerW, a.mode, a.duty, a.onMinutes, a.offMinutes) ==
         std::tie(b.id, b.powerW, b.mode, b.duty, b.onMinutes, b.offMinutes);
}
bool Same(const Feedline& a, const Feedline& b) {
  return std::tie(a.id, a.cable, a.lossDb, a.extraLossDb, a.swr, a.swrAt) ==
             std::tie(b.id, b.cable, b.lossDb, b.extraLossDb, b.swr, b.swrAt) &&
         Same(a.length, b.length);
}
bool Same(const WireRow& a, const WireRow& b) {
  return std::tie(a.x1, a.y1, a.z1, a.x2, a.y2, a.z2, a.radiusMm) ==
         std::tie(b.x1, b.y1, b.z1, b.x2, b.y2, b.z2, b.radiusMm);
}
bool Same(const NearFieldKeys& a, const NearFieldKeys& b) {
  if (a.wires.size() != b.wires.size()) return false;
  for (std::size_t i = 0; i < a.wires.size(); ++i) {
    if (!Same(a.wires[i], b.wires[i])) return false;
  }
  return std::tie(a.necFile, a.feedWire, a.feedAt, a.feedSegment, a.ground, a.groundPermittivity,
                  a.groundConductivity, a.wireRadiusMm, a.droopDeg,
                  a.radials) == std::tie(b.necFile, b.feedWire, b.feedAt, b.feedSegment, b.ground,
                                         b.groundPermittivity, b.groundConductivity, b.wireRadiusMm,
                                         b.droopDeg, b.radials) &&
         Same(a.length, b.length);
}
bool Same(const Antenna& a, const Antenna& b) {
  return std::tie(a.id, a.kind, a.gainIncludesGround, a.efficiency) ==
             std::tie(b.id, b.kind, b.gainIncludesGround, b.efficiency) &&
         Same(a.gain, b.gain) && Same(a.x, b.x) && Same(a.y, b.y) && Same(a.height, b.height) &&
         Same(a.diameter, b.diameter) && Same(a.nearField, b.nearField);
}
bool Same(const Installation& a, const Installation& b) {
  return std::tie(a.id, a.transmitter, a.feedline, a.antenna, a.band, a.frequencyMHz,
                  a.groundReflection, a.group) == std::tie(b.id, b.transmitter, b.feedline,
                                                           b.antenna, b.band, b.frequencyMHz,
                                                           b.groundReflection, b.group);
}
bool Same(const Place& a, const Place& b) {
  return a.name == b.name && a.controlled == b.controlled && Same(a.x, b.x) && Same(a.y, b.y) &&
         Same(a.height, b.height);
}
bool Same(const Property& a, const Property& b) {
  if (a.outline.size() != b.outline.size() || a.unit != b.unit || !Same(a.height, b.height)) {
    return false;
  }
  for (std::size_t i = 0; i < a.outline.size(); ++i) {
    if (a.outline[i].x != b.outline[i].x || a.outline[i].y != b.outline[i].y) return false;
  }
  return true;
}

template <typename Entry>
bool SameList(const std::vector<Entry>& a, const std::vector<Entry>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!Same(a[i], b[i])) return false;
  }
  return true;
}

}  // namespace

bool NearFieldKeys::Empty() const {
  return Same(*this, NearFieldKeys{});
}

bool NearFieldKeyApplies(const Antenna& a, std::string_view quantity) {
  const std::string& k = a.kind;
  const bool preset = k == "dipole" || k == "inverted-v" || k == "vertical" || k == "ground-plane";
  if (quantity == "wires" || quantity == "nec-file" || quantity == "feed-wire") return k == "wires";
  if (quantity == "feed-at") return k == "wires" && !a.nearField.necFile;
  if (quantity == "feed-segment") return k == "wires" && a.nearField.wires.empty();
  if (quantity == "ground" || quantity == "ground-permittivity" ||
      quantity == "ground-conductivity") {
    return k == "wires" || preset;
  }
  if (quantity == "wire-radius") return preset;
  if (quantity == "length") return k == "dipole" || k == "inverted-v";
  if (quantity == "droop") return k == "inverted-v";
  if (quantity == "radials") return k == "vertical" || k == "ground-plane";
  return false;
}

void DropNearFieldKeysItsKindLacks(Antenna& a) {
  NearFieldKeys& n = a.nearField;
  if (!NearFieldKeyApplies(a, "wires")) n.wires.clear();
  if (!NearFieldKeyApplies(a, "nec-file")) n.necFile.reset();
  if (!NearFieldKeyApplies(a, "feed-wire")) n.feedWire.reset();
  if (!NearFieldKeyApplies(a, "feed-at")) n.feedAt.reset();
  if (!NearFieldKeyApplies(a, "feed-segment")) n.feedSegment.reset();
  if (!NearFieldKeyApplies(a, "ground")) {
    n.ground.reset();
    n.groundPermittivity.reset();
    n.groundConductivity.reset();
  }
  if (!NearFieldKeyApplies(a, "wire-radius")) n.wireRadiusMm.reset();
  if (!NearFieldKeyApplies(a, "length")) n.length.reset();
  if (!NearFieldKeyApplies(a, "droop")) n.droopDeg.reset();
  if (!NearFieldKeyApplies(a, "radials")) n.radials.reset();
}

const Transmitter* Station::FindTransmitter(const std::string& id) const {
  return FindById(transmitters, id);
}
const Feedline* Station::FindFeedline(const std::string& id) const {
  return FindById(feedlines, id);
}
const Antenna* Station::FindAntenna(const std::string& id) const {
  return FindById(antennas, id);
}
const Installation* Station::FindInstallation(const std::string& id) const {
  return FindById(installations, id);
}
const Place* Station::FindPlace(const std::string& name) const {
  for (const Place& p : places) {
    if (p.name == name) return &p;
  }
  return nullptr;
}

bool SameContent(const Station& a, const Station& b) {
  if (std::tie(a.callsign, a.site, a.evaluatedBy, a.country, a.region, a.limitSets,
               a.groundReflection) != std::tie(b.callsign, b.site, b.evaluatedBy, b.country,
                                               b.region, b.limitSets, b.groundReflection)) {
    return false;
  }
  if (a.property.has_value() != b.property.has_value()) return false;
  if (a.property && !Same(*a.property, *b.property)) return false;
  return SameList(a.transmitters, b.transmitters) && SameList(a.feedlines, b.feedlines) &&
         SameList(a.antennas, b.antennas) && SameList(a.installations, b.installations) &&
         SameList(a.places, b.places);
}

std::string GroupOf(const Installation& installation) {
  return installation.group.value_or(kDefaultGroup);
}

bool GroundReflectionOf(const Station& station, const Installation& installation) {
  if (installation.groundReflection) return *installation.groundReflection;
  return station.groundReflection.value_or(true);
}

}  // namespace korrin::station
