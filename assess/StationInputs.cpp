// The station's words turned into the values the method works with: table
// rows looked up, lengths in metres, gains in dBi, and every default the
// file leaves to the program applied and named in a warning.  An
// installation whose words cannot be made into values is a problem of the
// evaluation, with the reason, never left out silently.
#include <algorithm>
#include <cmath>
#include <set>

#include "assess/StationInternal.h"
#include "station/Rules.h"

namespace korrin::assess::detail {

namespace {

// OET 65 eq. (6): a reflecting ground can raise the field by 1.6 over free
// space, the density by 1.6^2 = 2.56.
constexpr Real kGroundReflectionFactor = 2.56L;
constexpr Real kDefaultDishEfficiency = 0.55L;  // the file's default for a dish
constexpr const char* kDishKind = "dish";

std::string Quoted(const std::string& s) {
  return "\"" + s + "\"";
}

struct Context {
  const station::Station& station;
  const TableLookups& tables;
  Resolution& out;
  std::set<std::string> warnedTransmitters;
  std::set<std::string> warnedAntennas;
  bool groundDefaultUsed = false;
};

// Power, duty and cycle of the installation's transmitter; false (with a
// problem) when they cannot be had.
bool ResolveTransmitter(Context& c, const station::Transmitter& t, ResolvedInstallation& r,
                        std::string& problem) {
  // 0 W is a transmitter off the air (a calculator station without power):
  // it keeps no one out.
  if (!(t.powerW >= 0)) {
    problem = "the transmitter's power must be 0 W or more";
    return false;
  }
  r.powerW = t.powerW;
  const station::ModeRow* mode = nullptr;
  if (t.mode) {
    mode = c.tables.mode ? c.tables.mode(*t.mode) : nullptr;
    if (mode == nullptr) {
      problem = "the mode " + Quoted(*t.mode) + " is not in the mode table";
      return false;
    }
    r.duty = mode->duty;
    r.dutySource = DutySource::Mode;
    r.mode = mode->name;
  }
  if (t.duty) {
    // A duty given beside a mode: the larger of the two, to be safe.
    r.duty = mode != nullptr ? std::max(r.duty, *t.duty) : *t.duty;
    r.dutySource = mode != nullptr && mode->duty >= *t.duty ? DutySource::Mode : DutySource::Duty;
  }
  if (!(r.duty > 0) || r.duty > 1) {
    problem = "the duty factor must lie above 0 and at most 1";
    return false;
  }
  if (t.onMinutes && t.offMinutes) {
    r.cycle = Cycle{*t.onMinutes, *t.offMinutes};
    r.cycleSource = CycleSource::Transmitter;
  } else if (mode != nullptr && mode->onMinutes && mode->offMinutes) {
    r.cycle = Cycle{*mode->onMinutes, *mode->offMinutes};
    r.cycleSource = CycleSource::Mode;
  }
  if (r.cycle && (!(r.cycle->onMinutes > 0) || r.cycle->offMinutes < 0)) {
    problem = "the transmit/receive cycle needs more than 0 minutes on and at least 0 off";
    return false;
  }

  if (c.warnedTransmitters.insert(t.id).second) {
    if (r.dutySource == DutySource::Assumed) {
      c.out.warnings.push_back("Transmitter " + Quoted(t.id) +
                               " names no mode and no duty factor: it is taken to transmit at "
                               "full duty (100 %).");
    }
    if (r.cycleSource == CycleSource::None) {
      c.out.warnings.push_back("Transmitter " + Quoted(t.id) +
                               " has no transmit/receive cycle: it is taken to transmit "
                               "throughout every averaging time.");
    }
  }
  return true;
}

bool ResolveFeedline(Context& c, const station::Feedline& f, ResolvedInstallation& r,
                     std::string& problem) {
  ResolvedFeedline line;
  if (f.cable) {
    line.cable = c.tables.cable ? c.tables.cable(*f.cable) : nullptr;
    if (line.cable == nullptr) {
      problem = "the cable " + Quoted(*f.cable) + " of feed line " + Quoted(f.id) +
                " is not in the cable table";
      return false;
    }
    if (!f.length || !c.tables.matchedLossDbPer100m) {
      problem = "feed line " + Quoted(f.id) + " names a cable but no length";
      return false;
    }
    line.lengthM = f.length->Metres();
    r.matchedLossDbPer100m = c.tables.matchedLossDbPer100m;
  } else if (f.lossDb) {
    line.matchedLossDb = f.lossDb;
  } else {
    problem = "feed line " + Quoted(f.id) + " gives neither a cable nor its loss";
    return false;
  }
  line.extraLossDb = f.extraLossDb;
  line.swr = f.swr;
  line.swrAt = f.swrAt;
  if (line.lengthM < 0 || line.extraLossDb < 0 || (line.matchedLossDb && *line.matchedLossDb < 0) ||
      (line.swr && !(*line.swr >= 1))) {
    problem = "feed line " + Quoted(f.id) + " has a negative length or loss, or an SWR below 1";
    return false;
  }
  r.feedline = line;
  return true;
}

bool ResolveAntenna(Context& c, const station::Antenna& a, ResolvedInstallation& r,
                    bool& includesGround, std::string& problem) {
  const station::AntennaKindRow* kind =
      c.tables.antennaKind ? c.tables.antennaKind(a.kind) : nullptr;
  if (kind == nullptr) {
    problem = "the kind " + Quoted(a.kind) + " of antenna " + Quoted(a.id) +
              " is not in the antenna table";
    return false;
  }
  r.positionM = {a.x.Metres(), a.y.Metres(), a.height.Metres()};
  if (a.kind == kDishKind) {
    if (!a.diameter || !(a.diameter->Metres() > 0)) {
      problem = "dish " + Quoted(a.id) + " needs its diameter";
      return false;
    }
    const Real e = a.efficiency.value_or(kDefaultDishEfficiency);
    if (!(e > 0) || e > 1) {
      problem = "the efficiency of dish " + Quoted(a.id) + " must lie above 0 and at most 1";
      return false;
    }
    r.dish = DishAperture{a.diameter->Metres(), e};
    if (!a.efficiency && c.warnedAntennas.insert(a.id).second) {
      c.out.warnings.push_back("Dish " + Quoted(a.id) +
                               " gives no efficiency: 0.55 is assumed, a typical figure.");
    }
    includesGround = false;
    return true;
  }
  if (a.gain) {
    r.gainDbi = a.gain->Dbi();
  } else if (kind->gainDbi) {
    r.gainDbi = *kind->gainDbi;
  } else {
    // A "wires" antenna's gain is its NEC-2 model's, known only once the
    // near field has been computed.
    problem = a.kind == "wires"
                  ? "antenna " + Quoted(a.id) +
                        " of kind \"wires\" takes its gain from its NEC-2 model, which was not "
                        "computed: evaluate the near field too (korrin-report --near-field), or "
                        "give the antenna kind = \"gain\" and its gain-dbi"
                  : "antenna " + Quoted(a.id) + " of kind " + Quoted(a.kind) + " needs its gain";
    return false;
  }
  r.gainRatio = std::pow(10.0L, r.gainDbi / 10.0L);
  includesGround = a.gainIncludesGround.value_or(kind->gainIncludesGround);
  return true;
}

bool ResolveFrequencies(Context& c, const station::Installation& i, ResolvedInstallation& r,
                        std::string& problem) {
  const station::BandRow* band = nullptr;
  if (i.band) {
    band = station::FindCountryBand(c.station.country, *i.band);
    if (band == nullptr && c.tables.band) band = c.tables.band(*i.band, c.station.region);
    if (band == nullptr) {
      problem = "the band " + Quoted(*i.band) + " is not in the band table for ITU region " +
                std::to_string(c.station.region);
      return false;
    }
  }
  if (i.frequencyMHz) {
    const Real f = *i.frequencyMHz;
    if (!(f > 0)) {
      problem = "the frequency must be above 0 MHz";
      return false;
    }
    if (band != nullptr && (f < band->lowerMHz || f > band->upperMHz)) {
      problem = "the frequency " + Fixed(f, 4) + " MHz lies outside the band " + Quoted(*i.band);
      return false;
    }
    r.lowerMHz = r.upperMHz = f;
  } else if (band != nullptr) {
    r.lowerMHz = band->lowerMHz;
    r.upperMHz = band->upperMHz;
  } else {
    problem = "neither a band nor a frequency is given";
    return false;
  }
  r.band = i.band;
  return true;
}

void ResolveGround(Context& c, const station::Installation& i, bool includesGround,
                   ResolvedInstallation& r) {
  // The installation's own setting, else the file's, else on (cautious).
  r.groundReflectionAsked = station::GroundReflectionOf(c.station, i);
  if (!i.groundReflection && !c.station.groundReflection) c.groundDefaultUsed = true;
  const bool counted = r.groundReflectionAsked && !r.dish && !includesGround;
  r.groundFactor = counted ? kGroundReflectionFactor : 1.0L;
  if (r.groundReflectionAsked && !counted) {
    c.out.warnings.push_back(
        "Installation " + Quoted(r.id) + ": the ground-reflection factor 2.56 is not applied, " +
        (r.dish ? std::string("as OET 65's aperture equations for a dish carry none.")
                : std::string("as the antenna's gain already includes the ground; counting it "
                              "again would count the ground twice.")));
  }
}

}  // namespace

std::optional<Real> FeedLossDbAt(const ResolvedInstallation& r, Real frequencyMHz) {
  if (!r.feedline) return 0.0L;
  const ResolvedFeedline& line = *r.feedline;
  FeedLineLoss loss;
  loss.matchedLossDb = line.matchedLossDb ? *line.matchedLossDb
                                          : r.matchedLossDbPer100m(*line.cable, frequencyMHz) *
                                                line.lengthM / 100.0L;
  loss.extraLossDb = line.extraLossDb;
  loss.swr = line.swr;
  loss.swrAt = line.swrAt;
  return FeedLineLossDb(loss);
}

Real GainRatioAt(const ResolvedInstallation& r, Real frequencyMHz) {
  if (r.dish) return DishGainRatio(*r.dish, WavelengthM(frequencyMHz));
  return r.gainRatio;
}

Resolution Resolve(const station::Station& station, const TableLookups& tables) {
  Resolution out;
  Context c{station, tables, out, {}, {}, false};

  for (const station::Installation& i : station.installations) {
    ResolvedInstallation r;
    r.id = i.id;
    r.transmitter = i.transmitter;
    r.feedlineId = i.feedline;
    r.antenna = i.antenna;
    r.group = station::GroupOf(i);
    std::string problem;
    bool includesGround = false;
    const station::Transmitter* t = station.FindTransmitter(i.transmitter);
    const station::Antenna* a = station.FindAntenna(i.antenna);
    const station::Feedline* f = i.feedline ? station.FindFeedline(*i.feedline) : nullptr;
    bool ok = true;
    if (t == nullptr) {
      problem = "there is no transmitter " + Quoted(i.transmitter);
      ok = false;
    } else if (a == nullptr) {
      problem = "there is no antenna " + Quoted(i.antenna);
      ok = false;
    } else if (i.feedline && f == nullptr) {
      problem = "there is no feed line " + Quoted(*i.feedline);
      ok = false;
    }
    ok = ok && ResolveTransmitter(c, *t, r, problem);
    ok = ok && (f == nullptr || ResolveFeedline(c, *f, r, problem));
    ok = ok && ResolveAntenna(c, *a, r, includesGround, problem);
    ok = ok && ResolveFrequencies(c, i, r, problem);
    if (!ok) {
      out.problems.push_back("Installation " + Quoted(i.id) + " cannot be evaluated: " + problem +
                             ".");
      out.notEvaluated.push_back({i.id, problem});
      continue;
    }
    ResolveGround(c, i, includesGround, r);
    out.installations.push_back(std::move(r));
  }
  if (c.groundDefaultUsed) {
    out.warnings.push_back(
        "The station file does not say whether the ground reflects: ground reflection is "
        "counted (OET 65's factor 2.56 on the density), the cautious choice.");
  }
  return out;
}

}  // namespace korrin::assess::detail
