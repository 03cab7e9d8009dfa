#include "app/report/ReportJson.h"

#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>
#include <type_traits>

#include "app/report/ReportAssessment.h"
#include "ui/Controls.h"

namespace korrin::report {

namespace {

using Json = nlohmann::ordered_json;

std::string Dump(const Json& j) {
  // Texts are UTF-8; a stray byte (a file name in a message) must not stop
  // the report.
  return j.dump(-1, ' ', false, Json::error_handler_t::replace);
}

Json ControlJson(const ControlSpec& decl, const Control& c) {
  Json j;
  j["text"] = c.text;
  j["visible"] = c.visible;
  j["color"] = ColourName(c.color);
  j["fontColor"] = ColourName(c.fontColor);
  // The layout moves only the first exclusion-zone panel.
  if (decl.name == "Panel64") j["top"] = c.top;
  if (decl.kind == ControlKind::RadioGroup) j["itemIndex"] = c.itemIndex;
  if (decl.kind == ControlKind::TrackBar || decl.kind == ControlKind::ProgressBar) {
    j["position"] = c.position;
  }
  return j;
}

template <typename T>
std::string FieldJson(const T& value) {
  if constexpr (std::is_same_v<T, bool>) {
    return value ? "true" : "false";
  } else if constexpr (std::is_integral_v<T>) {
    return std::to_string(value);
  } else {
    return RealJson(value);
  }
}

// Items of an object or array, one a line, indented by four.
void AppendLines(std::string& out, const std::vector<std::string>& lines) {
  for (size_t i = 0; i < lines.size(); ++i) {
    out += "    " + lines[i] + (i + 1 < lines.size() ? ",\n" : "\n");
  }
}

}  // namespace

std::string RealJson(long double value) {
  if (!std::isfinite(value)) return "null";
  char buffer[64];
  const auto r =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 20);
  return std::string(buffer, r.ptr);
}

std::string JsonReport(const TForm1& form, const HeadlessPlatform& platform, const BandTable* bands,
                       const assess::Assessment* assessment, const MoonSection* moon) {
  std::vector<std::string> lines;
  std::string out = "{\n  \"controls\": {\n";
  for (const ControlSpec& decl : MainWindowControls()) {
    lines.push_back(Dump(Json(decl.name)) + ": " +
                    Dump(ControlJson(decl, form.Board().at(decl.name))));
  }
  AppendLines(out, lines);

  // nlohmann holds no long double: the reals are written here, in full.
  out += "  },\n  \"state\": {\n";
  lines.clear();
  ForEachStationField(form.State(), [&lines](const char* name, const auto& value) {
    lines.push_back(Dump(Json(name)) + ": " + FieldJson(value));
  });
  AppendLines(out, lines);

  out += "  },\n  \"messages\": [\n";
  lines.clear();
  for (const HeadlessPlatform::Message& m : platform.messages) {
    Json j;
    j["kind"] = MessageKindName(m.kind);
    j["text"] = m.text;
    if (!m.answer.empty()) j["answer"] = m.answer;
    lines.push_back(Dump(j));
  }
  AppendLines(out, lines);
  out += "  ]";

  if (bands != nullptr) {
    out += ",\n  \"bands\": [\n";
    lines.clear();
    for (const BandRow& row : bands->rows) {
      Json j;
      j["band"] = row.band;
      j["frequency"] = row.frequency;
      j["limit"] = row.limit;
      j["gainInUse"] = row.gainInUse;
      j["farFieldBoundary"] = row.farFieldBoundary;
      j["exclusionZone"] = row.exclusionZone;
      j["towerClearance"] = row.towerClearance;
      if (bands->vhfShf) {
        j["echoSnr"] = row.echoSnr;
        j["sunYFactor"] = row.sunYFactor;
      }
      std::string line = Dump(j);
      if (row.assessed) {
        const auto metres = [](const std::optional<long double>& m) {
          return m ? RealJson(*m) : std::string("null");
        };
        line.pop_back();  // the closing brace: the reals follow in full
        line += ",\"keepOutSelectedM\":" + metres(row.assessed->keepOutSelectedM) +
                ",\"keepOutIcnirp2020M\":" + metres(row.assessed->keepOutIcnirpM) +
                ",\"keepOutFccGeneralM\":" + metres(row.assessed->keepOutFccM) +
                ",\"fccMinimumDistanceM\":" + metres(row.assessed->fccMinimumM) + "}";
      }
      lines.push_back(line);
    }
    AppendLines(out, lines);
    out += "  ]";
  }
  if (assessment != nullptr) {
    out += ",\n" + AssessmentJson(*assessment, form.State(), form.Locale());
  }
  if (moon != nullptr) out += ",\n" + MoonJson(*moon);
  out += "\n}\n";
  return out;
}

}  // namespace korrin::report
