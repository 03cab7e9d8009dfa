// The near field of a station's wire antennas: each installation whose
// antenna is of kind "wires" (its own wires or a NEC deck's geometry) or of
// a kind the near field models by a preset (dipole, inverted-v, vertical,
// ground-plane) is modelled and computed by the NEC-2 engine, and its
// exposure at head height and over the whole body assessed under each
// limit set and tier of the file.  At the places and along the property
// line the near field's exposure takes part in the sums of fractions in
// place of the far-field estimate of that installation, which stays beside
// it for comparison.  A "wires" antenna's far-field estimate takes its
// model's own peak gain (over a ground the gain includes the ground).
//
// Units: metres, MHz, W.  Points in the site's coordinates (east, north,
// height above the ground) unless said otherwise.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "assess/StationEvaluation.h"
#include "nearfield/NearField.h"

namespace korrin::assess {

// An installation's antenna as the near field models it.
struct NearFieldModel {
  std::optional<nearfield::Structure> structure;  // empty when it cannot be modelled
  std::vector<std::string> problems;              // why not, naming the antenna
  std::vector<std::string> notes;                 // what the model leaves out
  Real frequencyMHz = 0;                          // the model's
  nearfield::LimitBand limitBand;                 // the limits': the frequency, or the band
  std::vector<Real> alsoAtMHz;                    // the fields' frequencies besides the model's
  Point3 positionM;                               // of the antenna: the model's x = y = 0
};

// The frequency the near field takes: the installation's own, else the
// middle of its band; empty when neither can be found.
std::optional<Real> NearFieldFrequencyMHz(const station::Station& station,
                                          const station::Installation& installation);

// The model of an installation's antenna at `frequencyMHz`: the wires in
// metres from the antenna's position (its height added to z), or the NEC
// deck `nec-file` names, found beside the station file in `folder` (its
// coordinates taken the same way); the ground the antenna names (else the
// deck's, else average ground).  Presets: a dipole of half a wave (or
// length) at the antenna's height; an inverted V with its apex there
// (45 degrees of droop unless given); a quarter-wave vertical with its
// base there (ground-mounted at 0 m, else over radials: 4 unless given).
NearFieldModel ModelInstallation(const station::Station& station,
                                 const station::Installation& installation,
                                 const std::string& folder);

// One installation's near field.
struct NearFieldPlace {
  std::string name;
  // The exposure at the place (1 at the limit) for each entry of `results`,
  // in that order: the point's value against the tier's limits, or for
  // ICNIRP below 10 MHz the larger of it and nerve stimulation.
  std::vector<Real> exposure;
};

struct NearFieldInstallation {
  std::string installation;
  std::string antenna;
  nearfield::Status status = nearfield::Status::Refused;
  std::string message;             // plain words; empty when Done
  std::vector<std::string> notes;  // what the model leaves out
  Real frequencyMHz = 0;
  nearfield::LimitBand limitBand;  // the limits are the lowest over it
  std::vector<Real> alsoAtMHz;     // the fields are the strongest of these and the model's
  Point3 positionM;                // of the antenna (the model's x = y = 0)
  nearfield::TransmitPower power;  // at the antenna, for each averaging time
  std::optional<nearfield::Solution> solution;  // only when Done
  std::vector<nearfield::CaseResult>
      results;                         // per limit set of the file, general then occupational
  std::vector<NearFieldPlace> places;  // every place of the station
};

struct StationNearField {
  StationEvaluation evaluation;  // with the near field's fractions at places and on the line
  std::vector<NearFieldInstallation> installations;  // in the file's order

  const NearFieldInstallation* Find(const std::string& installation) const;
};

struct NearFieldOptions {
  nearfield::RunOptions run;
  nearfield::GridOptions grid;
  std::string folder;  // the station file's, for nec-file names; empty: the current one
  // Where solutions are kept (nearfield/Cache.h, nearfield::DefaultCacheFolder
  // for the user's); empty: nowhere.
  std::string cacheFolder;
};

// The station evaluated with the near field of its wire antennas.  An
// installation whose near field cannot be computed (no engine, a model NEC-2
// cannot take, a run past its time limit) says why and keeps its far-field
// estimate in the sums; every other figure is worked as without it.
StationNearField EvaluateWithNearField(const station::Station& station,
                                       const NearFieldOptions& options = {});

// One installation's near field made ready for the engine, so that a view
// can run it on a thread of its own and keep what it got: the request, and
// a key that changes exactly when the figures it is computed from do (the
// model's deck, the powers, the limit sets, the grid and the places).
struct NearFieldJob {
  // Named, with its model's figures and power; when it cannot be computed,
  // status Refused and why in its message.
  NearFieldInstallation installation;
  std::optional<nearfield::Request> request;  // empty when it cannot be computed
  std::vector<std::string> placeNames;        // the request's first points, in order
  std::string key;                            // empty when it cannot be computed
};

// The job for `installation` of `station`, which `evaluation` (the station's
// plain evaluation) gives the powers of; the places are its points.  Empty
// (nullopt) when the station has no such installation or its antenna is not
// one the near field models.
std::optional<NearFieldJob> PrepareNearField(const station::Station& station,
                                             const StationEvaluation& evaluation,
                                             const std::string& installation,
                                             const NearFieldOptions& options = {});

// The job's installation with the engine's evaluation of its request.
NearFieldInstallation FinishNearField(const NearFieldJob& job, nearfield::Evaluation evaluation);

// The result of an installation for a limit set and tier; nullptr when the
// station's limit sets do not include it.
const nearfield::CaseResult* FindResult(const NearFieldInstallation& installation,
                                        LimitSetChoice set, Tier tier);

// A point of an installation's model (x = y = 0 at its antenna) in the
// site's coordinates.
Point3 SitePointOf(const NearFieldInstallation& installation, const nearfield::Point& model);

// The limit set and tier of one of an installation's results.
LimitSetChoice SetOf(const nearfield::CaseResult& result);
Tier TierOf(const nearfield::CaseResult& result);

// "head" when the keep-out distance over the whole body is set by levels
// that hold at every point (ICNIRP's local levels or nerve stimulation),
// "whole-body" when by the spatial average.
const char* GovernsWord(const nearfield::CaseResult& result);

// The same in words for a reader: "set by the spatial average over the
// body" or "set by the levels that hold at every point".
const char* GovernsPhrase(const nearfield::CaseResult& result);

}  // namespace korrin::assess
