// A station file's evaluation as CSV rows for a spreadsheet: one row per
// installation, limit set and tier.  The figures of a row are those of the
// tier's time-averaged criterion at the frequency it was found at (its
// feed-line loss, power at the antenna and gain there), the keep-out
// distance and model the governing criterion's.
#include <charconv>
#include <iterator>
#include <string>
#include <vector>

#include "app/report/StationReport.h"
#include "core/Checked.h"

namespace korrin::report {

namespace {

using assess::CriterionResult;
using assess::TierResult;

constexpr const char* kColumns[] = {"installation",
                                    "transmitter",
                                    "feedline",
                                    "antenna",
                                    "band",
                                    "group",
                                    "set",
                                    "tier",
                                    "averagingMinutes",
                                    "frequencyMHz",
                                    "limitWm2",
                                    "feedLossDb",
                                    "powerAtAntennaW",
                                    "gainDbi",
                                    "averagePowerW",
                                    "eirpW",
                                    "erpW",
                                    "keepOutM",
                                    "model",
                                    "criterion",
                                    "instantaneousKeepOutM"};

// A text cell, quoted when it holds a comma, a quote or a line break.
std::string Cell(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

// A figure as the shortest text that reads back as the same double, which
// is what a spreadsheet holds.
std::string Cell(long double value) {
  return ShortestChars(static_cast<double>(value));
}

// The near field's columns, after the far-field estimate's.
constexpr const char* kNearFieldColumns[] = {"nearFieldPeakExposure", "nearFieldKeepOutHeadM",
                                             "nearFieldKeepOutWholeBodyM", "nearFieldGoverns"};

// A near-field keep-out distance; one that is only the computed plan's edge
// is text, so that a spreadsheet does not take it for the distance.
std::string KeepOutCell(const nearfield::KeepOut& k) {
  switch (k.kind) {
    case nearfield::KeepOutKind::Never:
      return "0";
    case nearfield::KeepOutKind::Within:
      return Cell(k.distanceM);
    case nearfield::KeepOutKind::BeyondGrid:
      return ">" + Cell(k.distanceM);
  }
  return {};
}

// The near field's cells of an installation's row for a limit set and
// tier: empty without a wire antenna, a near field computed, or field
// limits at its frequency.
std::vector<std::string> NearFieldCells(const NearFieldList& nearField, const std::string& id,
                                        assess::LimitSetChoice set, assess::Tier tier) {
  for (const assess::NearFieldInstallation& n : nearField) {
    if (n.installation != id) continue;
    for (const nearfield::CaseResult& r : n.results) {
      if (assess::SetOf(r) != set || assess::TierOf(r) != tier || !r.applies) continue;
      return {Cell(static_cast<long double>(r.headPeak.value)), KeepOutCell(r.headKeepOut),
              KeepOutCell(r.wholeBodyKeepOut), assess::GovernsWord(r)};
    }
  }
  return std::vector<std::string>(std::size(kNearFieldColumns));
}

void Row(std::string& out, const std::vector<std::string>& cells) {
  for (size_t i = 0; i < cells.size(); ++i) out += (i == 0 ? "" : ",") + cells[i];
  out += "\n";
}

}  // namespace

std::string StationCsv(const assess::StationEvaluation& e, const NearFieldList* nearField) {
  std::string out;
  std::vector<std::string> header(std::begin(kColumns), std::end(kColumns));
  if (nearField != nullptr) {
    header.insert(header.end(), std::begin(kNearFieldColumns), std::end(kNearFieldColumns));
  }
  Row(out, header);
  for (const assess::InstallationResult& r : e.installations) {
    for (const TierResult& t : r.results) {
      const CriterionResult* a = t.timeAveraged ? &*t.timeAveraged : nullptr;
      const CriterionResult* governing = t.Governing();
      const auto figure = [a](long double CriterionResult::*field) {
        return a != nullptr ? Cell(a->*field) : std::string();
      };
      std::vector<std::string> cells{
          Cell(r.id),
          Cell(r.transmitter),
          Cell(r.feedline.value_or("")),
          Cell(r.antenna),
          Cell(r.band.value_or("")),
          Cell(r.group),
          assess::LimitSetChoiceId(t.set),
          assess::TierId(t.tier),
          Cell(t.averagingMinutes),
          figure(&CriterionResult::frequencyMHz),
          figure(&CriterionResult::limitWm2),
          figure(&CriterionResult::feedLossDb),
          figure(&CriterionResult::powerAtAntennaW),
          figure(&CriterionResult::gainDbi),
          figure(&CriterionResult::powerW),
          figure(&CriterionResult::eirpW),
          figure(&CriterionResult::erpW),
          t.KeepOutM() ? Cell(*t.KeepOutM()) : std::string(),
          governing != nullptr ? assess::ExposureModelId(governing->model) : "",
          governing != nullptr ? assess::CriterionId(governing->criterion) : "",
          t.instantaneous ? Cell(t.instantaneous->keepOutM) : std::string()};
      if (nearField != nullptr) {
        const std::vector<std::string> near = NearFieldCells(*nearField, r.id, t.set, t.tier);
        cells.insert(cells.end(), near.begin(), near.end());
      }
      Row(out, cells);
    }
  }
  return out;
}

}  // namespace korrin::report
