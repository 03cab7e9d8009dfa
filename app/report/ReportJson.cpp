#include "app/report/ReportJson.h"

#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>
#include <optional>

#include "app/report/ReportAssessment.h"
#include "core/Checked.h"
#include "ui/Controls.h"

namespace korrin::report {

namespace {

// A text as a JSON string.  Texts are UTF-8; a stray byte (a file name in a
// message) must not stop the report.
std::string Text(const std::string& text) {
  return nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

// Sections (depth 1) and the lists within them (depth 2) are written one
// member or item a line; an empty one stays on its line.
template <typename Json>
bool OneALine(const Json& v, size_t depth) {
  return !v.empty() && (depth <= 1 || (depth == 2 && v.is_array()));
}

// A value that is no object or list, of the report's own JSON type.
void AppendScalar(std::string& out, const JsonValue& v) {
  using Type = JsonValue::value_t;
  switch (v.type()) {
    case Type::string:
      out += Text(v.get_ref<const std::string&>());
      return;
    case Type::number_float:
      out += RealJson(v.get<long double>());
      return;
    case Type::number_integer:
      out += std::to_string(v.get<std::int64_t>());
      return;
    case Type::number_unsigned:
      out += std::to_string(v.get<std::uint64_t>());
      return;
    case Type::boolean:
      out += v.get<bool>() ? "true" : "false";
      return;
    default:
      out += "null";
      return;
  }
}

// A value that is no object or list, of nlohmann's own JSON type: its
// doubles as nlohmann writes them.
void AppendScalar(std::string& out, const nlohmann::ordered_json& v) {
  out += v.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

template <typename Json>
void Append(std::string& out, const Json& v, size_t depth) {
  if (!v.is_object() && !v.is_array()) {
    AppendScalar(out, v);
    return;
  }
  const bool object = v.is_object();
  const bool lines = OneALine(v, depth);
  const std::string indent(lines ? 2 * (depth + 1) : 0, ' ');
  out += object ? '{' : '[';
  for (auto it = v.begin(); it != v.end(); ++it) {
    if (it != v.begin()) out += ',';
    if (lines) out.append("\n").append(indent);
    if (object) out.append(Text(it.key())).append(lines ? ": " : ":");
    Append(out, it.value(), depth + 1);
  }
  if (lines) out.append("\n").append(2 * depth, ' ');
  out += object ? '}' : ']';
}

JsonValue Metres(const std::optional<long double>& m) {
  return m ? JsonValue(*m) : JsonValue(nullptr);
}

JsonValue ControlJson(const ControlDecl& decl, const Control& c) {
  JsonValue j;
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

JsonValue BandJson(const BandRow& row, bool vhfShf) {
  JsonValue j;
  j["band"] = row.band;
  j["frequency"] = row.frequency;
  j["limit"] = row.limit;
  j["gainInUse"] = row.gainInUse;
  j["farFieldBoundary"] = row.farFieldBoundary;
  j["exclusionZone"] = row.exclusionZone;
  j["towerClearance"] = row.towerClearance;
  if (vhfShf) {
    j["echoSnr"] = row.echoSnr;
    j["sunYFactor"] = row.sunYFactor;
  }
  if (row.assessed) {
    j["keepOutSelectedM"] = Metres(row.assessed->keepOutSelectedM);
    j["keepOutIcnirp2020M"] = Metres(row.assessed->keepOutIcnirpM);
    j["keepOutFccGeneralM"] = Metres(row.assessed->keepOutFccM);
    j["fccMinimumDistanceM"] = Metres(row.assessed->fccMinimumM);
  }
  return j;
}

}  // namespace

std::string RealJson(long double value) {
  if (!std::isfinite(value)) return "null";
  return ScientificChars(value, 20);
}

std::string WriteJson(const JsonValue& value, size_t depth) {
  std::string out;
  Append(out, value, depth);
  return out;
}

std::string WriteJson(const nlohmann::ordered_json& value, size_t depth) {
  std::string out;
  Append(out, value, depth);
  return out;
}

std::string JsonReport(const TForm1& form, const HeadlessPlatform& platform, const BandTable* bands,
                       const assess::Assessment* assessment, const MoonSection* moon) {
  // Each section is built whole before it joins the report: members of an
  // ordered object move as it grows.
  JsonValue controls = JsonValue::object();
  for (const ControlDecl& decl : MainWindowControls()) {
    controls[decl.name] = ControlJson(decl, form.Board().at(decl.name));
  }
  JsonValue state = JsonValue::object();
  ForEachStationField(form.State(),
                      [&state](const char* name, const auto& value) { state[name] = value; });
  JsonValue messages = JsonValue::array();
  for (const HeadlessPlatform::Message& m : platform.messages) {
    JsonValue j;
    j["kind"] = MessageKindName(m.kind);
    j["text"] = m.text;
    if (!m.answer.empty()) j["answer"] = m.answer;
    messages.push_back(std::move(j));
  }
  JsonValue report = JsonValue::object();
  report["controls"] = std::move(controls);
  report["state"] = std::move(state);
  report["messages"] = std::move(messages);
  if (bands != nullptr) {
    JsonValue rows = JsonValue::array();
    for (const BandRow& row : bands->rows) rows.push_back(BandJson(row, bands->vhfShf));
    report["bands"] = std::move(rows);
  }
  if (assessment != nullptr) {
    report["assessment"] = AssessmentJson(*assessment, form.State(), form.Locale());
  }
  std::string out = WriteJson(report);
  if (moon != nullptr) {
    // The moon's figures are doubles, written as nlohmann writes a double:
    // their section joins the report's object last.
    out.insert(out.size() - 2, ",\n" + MoonJson(*moon));
  }
  return out + "\n";
}

}  // namespace korrin::report
