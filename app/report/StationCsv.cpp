// A station file's evaluation as CSV rows for a spreadsheet: one row per
// installation, limit set and tier.  The figures of a row are those of the
// tier's time-averaged criterion at the frequency it was found at (its
// feed-line loss, power at the antenna and gain there), the keep-out
// distance and model the governing criterion's.
#include <charconv>
#include <string>
#include <vector>

#include "app/report/StationReport.h"

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
  char buffer[64];
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value));
  return std::string(buffer, r.ptr);
}

void Row(std::string& out, const std::vector<std::string>& cells) {
  for (size_t i = 0; i < cells.size(); ++i) out += (i == 0 ? "" : ",") + cells[i];
  out += "\n";
}

}  // namespace

std::string StationCsv(const assess::StationEvaluation& e) {
  std::string out;
  Row(out, std::vector<std::string>(std::begin(kColumns), std::end(kColumns)));
  for (const assess::InstallationResult& r : e.installations) {
    for (const TierResult& t : r.results) {
      const CriterionResult* a = t.timeAveraged ? &*t.timeAveraged : nullptr;
      const CriterionResult* governing = t.Governing();
      const auto figure = [a](long double CriterionResult::*field) {
        return a != nullptr ? Cell(a->*field) : std::string();
      };
      Row(out, {Cell(r.id),
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
                t.instantaneous ? Cell(t.instantaneous->keepOutM) : std::string()});
    }
  }
  return out;
}

}  // namespace korrin::report
