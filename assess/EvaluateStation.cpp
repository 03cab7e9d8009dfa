// The station evaluated with the program's own data tables (data/, read by
// the station library).
#include "assess/StationEvaluation.h"

namespace korrin::assess {

StationEvaluation Evaluate(const station::Station& station, const EvaluationOptions& options) {
  TableLookups tables;
  tables.band = [](std::string_view name, int region) { return station::FindBand(name, region); };
  tables.mode = [](std::string_view id) { return station::FindMode(id); };
  tables.cable = [](std::string_view id) { return station::FindCable(id); };
  tables.antennaKind = [](std::string_view kind) { return station::FindAntennaKind(kind); };
  tables.matchedLossDbPer100m = [](const station::CableRow& cable, Real f) {
    return station::MatchedLossDbPer100m(cable, f);
  };
  return Evaluate(station, tables, options);
}

}  // namespace korrin::assess
