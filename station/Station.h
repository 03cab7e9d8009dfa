// The whole station as its file describes it: every transmitter, feed line
// and antenna, the installations that join them, the places where people
// can be and the property line.  The model keeps the user's words (a band
// or a frequency, metres or feet, dBi or dBd, a key left out) so that the
// file written back says what the user wrote; the evaluation reads the
// values through the accessors that convert them.
//
// Every entry remembers where it and each of its keys stood in the file it
// was read from, so that checks made later (references, ranges) can name
// the line and column; an entry made in the program has no place (line 0).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korrin::station {

using Real = long double;

// The identifier the file starts with; the only one this program reads.
inline constexpr const char* kFormat = "korrin-station/1";

// 1-based line and column in the file; line 0: not from a file.
struct SourcePos {
  int line = 0;
  int column = 0;
};

// The place of each key of an entry, by the key as written ("length-ft").
using KeyPlaces = std::map<std::string, SourcePos, std::less<>>;

inline constexpr Real kMetresPerFoot = 0.3048L;  // international foot, exact

enum class LengthUnit { Metres, Feet };

// A length as written: `value` in `unit` (keys ending in -m or -ft).
struct Length {
  Real value = 0;
  LengthUnit unit = LengthUnit::Metres;

  Real Metres() const { return unit == LengthUnit::Feet ? value * kMetresPerFoot : value; }
  static Length InMetres(Real m) { return {m, LengthUnit::Metres}; }
};

// dBd = dBi - 2.15: a half-wave dipole's gain over the isotropic antenna.
inline constexpr Real kDipoleGainDbi = 2.15L;

// A gain as written: dBi, or dBd when the key was gain-dbd.
struct Gain {
  Real value = 0;
  bool dbd = false;

  Real Dbi() const { return dbd ? value + kDipoleGainDbi : value; }
};

struct Transmitter {
  std::string id;                   // unique among transmitters
  Real powerW = 0;                  // peak envelope power at the transmitter's output, > 0
  std::optional<std::string> mode;  // a row of the mode table; or
  std::optional<Real> duty;         // a duty factor, 0 < duty <= 1 (neither: assumed 1, warned)
  std::optional<Real> onMinutes;    // the transmit/receive cycle: both or neither;
  std::optional<Real> offMinutes;   // neither: the mode's own cycle, else transmitting throughout
  SourcePos at;                     // the [[transmitter]] header
  KeyPlaces keys;
};

enum class SwrAt { Antenna, Transmitter };

struct Feedline {
  std::string id;                    // unique among feed lines
  std::optional<std::string> cable;  // a row of the cable table, with a length; or
  std::optional<Length> length;
  std::optional<Real> lossDb;  // the matched loss of the whole line, dB, >= 0
  Real extraLossDb = 0;        // connectors, switches, tuner, dB, >= 0
  std::optional<Real> swr;     // >= 1: the extra loss a mismatch causes
  SwrAt swrAt = SwrAt::Antenna;
  SourcePos at;
  KeyPlaces keys;
};

// A wire of a wire antenna as written: both ends in metres from the
// antenna's position (x, y and height), the radius in millimetres.
struct WireRow {
  Real x1 = 0;
  Real y1 = 0;
  Real z1 = 0;
  Real x2 = 0;
  Real y2 = 0;
  Real z2 = 0;
  Real radiusMm = 0;
};

// What the near field (NEC-2) takes of an antenna: a "wires" antenna's own
// wires or the geometry of its NEC card deck, its feed; the ground under
// any wire antenna; the figures of the kinds it models by a preset
// (dipole, inverted-v, vertical, ground-plane).  Every key may be absent.
struct NearFieldKeys {
  std::vector<WireRow> wires;              // kind "wires": its wires; or
  std::optional<std::string> necFile;      // a NEC deck's name, beside the station file
  std::optional<int> feedWire;             // the wire's number from 1; a deck's tag
  std::optional<std::string> feedAt;       // wires: "middle" (absent), "start" or "end"
  std::optional<int> feedSegment;          // a deck's segment from 1 (absent: the middle)
  std::optional<std::string> ground;       // a named ground; or both of:
  std::optional<Real> groundPermittivity;  // relative, >= 1
  std::optional<Real> groundConductivity;  // S/m, >= 0
  std::optional<Real> wireRadiusMm;        // presets (absent: 1 mm)
  std::optional<Length> length;            // dipole, inverted-v (absent: half a wave)
  std::optional<Real> droopDeg;            // inverted-v (absent: 45 degrees)
  std::optional<int> radials;              // vertical, ground-plane

  bool Empty() const;
};

struct Antenna {
  std::string id;                          // unique among antennas
  std::string kind;                        // a row of the antenna-kind table
  std::optional<Gain> gain;                // required where the kind has no gain of its own
  std::optional<bool> gainIncludesGround;  // absent: as the kind's row says
  Length x;                                // east of the site's origin
  Length y;                                // north of it
  Length height;                           // of the feed point above the ground
  std::optional<Length> diameter;          // dish only
  std::optional<Real> efficiency;          // dish only, 0 < e <= 1 (absent: 0.55)
  NearFieldKeys nearField;                 // wire antennas only
  SourcePos at;
  KeyPlaces keys;
};

struct Installation {
  std::string id;                        // unique among installations
  std::string transmitter;               // a transmitter's id
  std::optional<std::string> feedline;   // a feed line's id; absent: no loss
  std::string antenna;                   // an antenna's id
  std::optional<std::string> band;       // a row of the band table in the file's region; and/or
  std::optional<Real> frequencyMHz;      // a frequency (inside the band when both are given)
  std::optional<bool> groundReflection;  // absent: the file's setting
  std::optional<std::string> group;      // absent: "all"
  SourcePos at;
  KeyPlaces keys;
};

struct Place {
  std::string name;  // unique among places
  Length x;
  Length y;
  Length height = Length::InMetres(2.0L);  // of the point evaluated (a standing head: 2 m)
  bool controlled = false;                 // the licensee's household, aware of the exposure
  SourcePos at;
  KeyPlaces keys;
};

struct Property {
  struct Point {
    Real x = 0;
    Real y = 0;
  };
  std::vector<Point> outline;  // polygon corners in `unit`, in order
  LengthUnit unit = LengthUnit::Metres;
  Length height = Length::InMetres(2.0L);  // where the line is checked
  SourcePos at;
  KeyPlaces keys;
};

enum class LimitSetChoice {
  Fcc,         // "fcc": 47 CFR 1.1310, both tiers
  Icnirp2020,  // "icnirp-2020": ICNIRP 2020 / ARPANSA RPS S-1, both tiers
  Icnirp1998,  // "icnirp-1998": ICNIRP 1998 (1999/519/EC, 26. BImSchV), both tiers
  Sc6,         // "sc6-2015": Health Canada Safety Code 6 (2015), both environments
};

// The group an installation belongs to when it names none.
inline constexpr const char* kDefaultGroup = "all";

struct Station {
  std::string callsign;
  std::string site;
  std::string evaluatedBy;
  // ISO 3166 code of the country whose rules apply (station/Rules.h); absent:
  // the rules below as given.  A country sets the defaults of region and
  // limitSets, which the file's own keys override.
  std::optional<std::string> country;
  int region = 2;  // ITU region 1, 2 or 3
  std::vector<LimitSetChoice> limitSets{LimitSetChoice::Fcc, LimitSetChoice::Icnirp2020};
  std::optional<bool> groundReflection;  // absent: on (OET 65 factor 2.56), warned
  std::vector<Transmitter> transmitters;
  std::vector<Feedline> feedlines;
  std::vector<Antenna> antennas;
  std::vector<Installation> installations;
  std::vector<Place> places;
  std::optional<Property> property;
  KeyPlaces keys;  // the top-level keys

  const Transmitter* FindTransmitter(const std::string& id) const;
  const Feedline* FindFeedline(const std::string& id) const;
  const Antenna* FindAntenna(const std::string& id) const;
  const Installation* FindInstallation(const std::string& id) const;
  const Place* FindPlace(const std::string& name) const;
};

// Whether a near-field key (by its quantity: "wires", "nec-file",
// "feed-wire", "feed-at", "feed-segment", "ground", "ground-permittivity",
// "ground-conductivity", "wire-radius", "length", "droop", "radials")
// applies to the antenna's kind: the checks refuse it elsewhere.
bool NearFieldKeyApplies(const Antenna& antenna, std::string_view quantity);

// Drops the near-field keys that the antenna's kind does not use, as a
// change of kind in the station window must.
void DropNearFieldKeysItsKindLacks(Antenna& antenna);

// Whether two stations say the same thing: every value and every word, the
// places in a file left aside (a station and the same station read back from
// the file it was written to are the same).
bool SameContent(const Station& a, const Station& b);

// The group of an installation: its own, or kDefaultGroup.
std::string GroupOf(const Installation& installation);

// Whether ground reflection is counted for an installation: its own
// setting, else the file's, else on.
bool GroundReflectionOf(const Station& station, const Installation& installation);

}  // namespace korrin::station
