// The model of an installation's wire antenna for the near field: its own
// wires, a NEC deck's geometry, or a preset, at the installation's
// frequency, over the ground the antenna names.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "assess/NearFieldStation.h"
#include "assess/StationInternal.h"
#include "nearfield/NecFile.h"
#include "nearfield/Presets.h"
#include "station/FileWords.h"
#include "station/Rules.h"
#include "station/Tables.h"

namespace korrin::assess {

namespace {

namespace nf = korrin::nearfield;

constexpr Real kMillimetre = 0.001L;
constexpr Real kPresetRadiusMm = 1.0L;  // a preset's wire unless given (about 12 AWG)
constexpr Real kInvertedVDroopDeg = 45.0L;
constexpr int kElevatedRadials = 4;
constexpr const char* kDefaultGround = "average";
// A NEC deck is a few kilobytes; anything this large is not one.
constexpr std::uintmax_t kLargestDeck = std::uintmax_t{4} * 1024 * 1024;

std::string Quoted(const std::string& s) {
  return "\"" + s + "\"";
}

// The ground the antenna names; empty when it names none.
std::optional<nf::Ground> GroundOf(const station::NearFieldKeys& n) {
  if (n.ground) return nf::NamedGround(*n.ground);
  if (n.groundPermittivity && n.groundConductivity) {
    return nf::RealGround(*n.groundPermittivity, *n.groundConductivity);
  }
  return std::nullopt;
}

nf::FeedAt FeedAtOf(const std::optional<std::string>& word) {
  if (word == "start") return nf::FeedAt::Start;
  if (word == "end") return nf::FeedAt::End;
  return nf::FeedAt::Middle;
}

void Prefixed(std::vector<std::string>& to, const std::string& who,
              const std::vector<std::string>& problems) {
  for (const std::string& p : problems) {
    std::string line = who;
    line += ": ";
    line += p;
    to.push_back(std::move(line));
  }
}

// The structure of a NEC deck's geometry, raised by the antenna's height.
void FromDeck(NearFieldModel& m, const station::Antenna& a, const std::string& folder,
              const std::string& who) {
  namespace fs = std::filesystem;
  fs::path path(*a.nearField.necFile);
  if (path.is_relative() && !folder.empty()) path = fs::path(folder) / path;
  std::error_code ec;
  const auto size = fs::file_size(path, ec);
  if (ec || !fs::is_regular_file(path, ec)) {
    m.problems.push_back(who + ": the NEC file " + path.string() + " cannot be read");
    return;
  }
  if (size > kLargestDeck) {
    m.problems.push_back(who + ": the NEC file " + path.string() + " is " + std::to_string(size) +
                         " bytes long; a card deck is a few kilobytes");
    return;
  }
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  const nf::NecFile deck = nf::ParseNecGeometry(text.str());
  for (const nf::NecFileProblem& p : deck.problems) {
    m.problems.push_back(who + ": " + nf::FormatNecFileProblem(path.string(), p));
  }
  if (!deck.geometry) return;
  const nf::NecGeometry& g = *deck.geometry;
  nf::Structure s;
  s.geometry = g.geometry;
  const Real height = a.height.Metres();
  if (height != 0) {
    // Raise the whole structure by the antenna's height (GM, no copies).
    s.geometry.push_back({"GM", {0, 0, 0, 0, 0, 0, 0, static_cast<double>(height), 0}, 0});
  }
  s.loads = g.loads;
  s.ground = GroundOf(a.nearField).value_or(g.ground.value_or(*nf::NamedGround(kDefaultGround)));
  if (!GroundOf(a.nearField) && !g.ground) {
    m.notes.push_back(who +
                      ": the NEC file names no ground (GN): average ground is taken; name "
                      "another with ground");
  }
  s.groundFlag = g.groundFlag != 0 ? g.groundFlag : 1;
  Prefixed(m.notes, who, g.notes);
  // The feed: the tag named (else the first GW's), the segment named (else
  // the middle of the card that makes that tag).
  const int tag = a.nearField.feedWire.value_or(g.firstWireMiddle.tag);
  std::optional<int> segment = a.nearField.feedSegment;
  if (!segment) {
    for (const nf::Card& c : g.geometry) {
      if ((c.name == "GW" || c.name == "GA" || c.name == "GH") && c.values.size() >= 2 &&
          static_cast<int>(c.values[0]) == tag) {
        segment = (static_cast<int>(c.values[1]) + 1) / 2;
        break;
      }
    }
  }
  if (!segment) {
    m.problems.push_back(who + ": no GW, GA or GH card makes the feed's tag " +
                         std::to_string(tag) + "; give feed-segment");
    return;
  }
  s.feed = {tag, *segment};
  m.structure = std::move(s);
}

}  // namespace

std::optional<Real> NearFieldFrequencyMHz(const station::Station& station,
                                          const station::Installation& installation) {
  if (installation.frequencyMHz) return installation.frequencyMHz;
  if (installation.band) {
    if (const station::BandRow* b = station::FindStationBand(station, *installation.band)) {
      return (b->lowerMHz + b->upperMHz) / 2;
    }
  }
  return std::nullopt;
}

NearFieldModel ModelInstallation(const station::Station& station,
                                 const station::Installation& installation,
                                 const std::string& folder) {
  NearFieldModel m;
  const station::Antenna* a = station.FindAntenna(installation.antenna);
  if (a == nullptr || !station::NearFieldKind(a->kind)) {
    m.problems.push_back("installation " + Quoted(installation.id) +
                         " has no wire antenna for the near field");
    return m;
  }
  const std::string who = "antenna " + Quoted(a->id);
  m.positionM = {a->x.Metres(), a->y.Metres(), a->height.Metres()};
  const auto f = NearFieldFrequencyMHz(station, installation);
  if (!f) {
    m.problems.push_back("installation " + Quoted(installation.id) +
                         " has neither a frequency nor a band of the file's region");
    return m;
  }
  m.frequencyMHz = *f;
  m.limitBand = nf::LimitBand::At(*f);
  // A band stands for every frequency in it: the limits are its lowest, as
  // the evaluation takes the frequency where the keep-out is largest, and
  // the fields the strongest of its middle and its edges (away from its
  // resonance a wire carries more current, and more voltage at its ends,
  // for each watt).
  const station::BandRow* b = installation.frequencyMHz || !installation.band
                                  ? nullptr
                                  : station::FindStationBand(station, *installation.band);
  if (b != nullptr) {
    m.limitBand = {b->lowerMHz, b->upperMHz};
    m.alsoAtMHz = {b->lowerMHz, b->upperMHz};
    m.notes.push_back(
        "installation " + Quoted(installation.id) + ": modelled at its band's middle, " +
        detail::MegahertzText(*f) + " MHz, with the fields at each point the strongest of " +
        "the band's middle and edges; its field limits are the lowest of the band, " +
        detail::MegahertzText(b->lowerMHz) + "\u2013" + detail::MegahertzText(b->upperMHz) +
        " MHz, and its power at the antenna the highest of the band");
  }
  const station::NearFieldKeys& n = a->nearField;
  const nf::Ground ground = GroundOf(n).value_or(*nf::NamedGround(kDefaultGround));
  const Real h = a->height.Metres();

  if (a->kind == "wires" && n.necFile) {
    FromDeck(m, *a, folder, who);
    return m;
  }
  nf::WireModel wires;
  if (a->kind == "wires") {
    for (const station::WireRow& r : n.wires) {
      wires.wires.push_back(
          {{r.x1, r.y1, h + r.z1}, {r.x2, r.y2, h + r.z2}, r.radiusMm * kMillimetre});
    }
    wires.feed = {static_cast<size_t>(n.feedWire.value_or(1) - 1), std::nullopt,
                  FeedAtOf(n.feedAt)};
    wires.ground = ground;
  } else {
    const Real radius = n.wireRadiusMm.value_or(kPresetRadiusMm) * kMillimetre;
    std::optional<Real> length;
    if (n.length) length = n.length->Metres();
    nf::Preset p;
    if (a->kind == "dipole") {
      p = nf::DipolePreset(*f, h, length, radius, ground);
    } else if (a->kind == "inverted-v") {
      p = nf::InvertedVPreset(*f, h, n.droopDeg.value_or(kInvertedVDroopDeg), length, radius,
                              ground);
    } else {
      const int radials =
          n.radials.value_or(a->kind == "vertical" && h == 0 ? 0 : kElevatedRadials);
      p = nf::VerticalPreset(*f, h, radials, radius, ground);
    }
    Prefixed(m.problems, who, p.problems);
    if (!p.problems.empty()) return m;
    wires = std::move(p.model);
  }
  Prefixed(m.notes, who, wires.notes);
  nf::BuiltStructure built = nf::BuildStructure(wires, *f);
  Prefixed(m.problems, who, built.problems);
  m.structure = std::move(built.structure);
  return m;
}

}  // namespace korrin::assess
