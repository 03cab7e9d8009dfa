#include "nearfield/Output.h"

#include <cmath>

#include "nearfield/Text.h"

namespace korrin::nearfield {

namespace {

enum class Section { None, Segments, Sources, Pattern, Field };

// The gain the engine prints where there is none.
constexpr double kNoGainDb = -999.0;

// Reads every field of the line as a number into `values`; false when one
// is not a number.
bool Numbers(const std::vector<std::string_view>& fields, std::vector<double>& values) {
  values.clear();
  for (const std::string_view f : fields) {
    const auto v = ToDouble(f);
    if (!v) return false;
    values.push_back(*v);
  }
  return true;
}

bool Has(std::string_view line, std::string_view marker) {
  return line.find(marker) != std::string_view::npos;
}

}  // namespace

Point SegmentRow::From() const {
  const Real a = alphaDeg * kPi / 180;
  const Real b = betaDeg * kPi / 180;
  const Point d{std::cos(a) * std::cos(b), std::cos(a) * std::sin(b), std::sin(a)};
  return centre - (lengthM / 2) * d;
}

Point SegmentRow::To() const {
  const Real a = alphaDeg * kPi / 180;
  const Real b = betaDeg * kPi / 180;
  const Point d{std::cos(a) * std::cos(b), std::cos(a) * std::sin(b), std::sin(a)};
  return centre + (lengthM / 2) * d;
}

ParsedOutput ParseNecOutput(std::string_view text) {
  ParsedOutput parsed;
  NecOutput out;
  Section section = Section::None;
  bool sawHeading = false;
  std::vector<std::string_view> fields;
  std::vector<double> v;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;

    // Section headings and single-line figures.
    if (Has(line, "NUMERICAL ELECTROMAGNETICS CODE")) {
      sawHeading = true;
      continue;
    }
    if (Has(line, "DATA CARD No:") || Has(line, "CURRENTS AND LOCATION") ||
        Has(line, "POWER BUDGET") || Has(line, "STRUCTURE SPECIFICATION")) {
      section = Section::None;
      continue;
    }
    if (Has(line, "SEGMENTATION DATA")) {
      section = Section::Segments;
      continue;
    }
    if (Has(line, "ANTENNA INPUT PARAMETERS")) {
      section = Section::Sources;
      continue;
    }
    if (Has(line, "RADIATION PATTERNS")) {
      section = Section::Pattern;
      continue;
    }
    if (Has(line, "NEAR ELECTRIC FIELDS") || Has(line, "NEAR MAGNETIC FIELDS")) {
      section = Section::Field;
      out.fields.push_back({Has(line, "MAGNETIC"), {}});
      continue;
    }
    if (const size_t at = line.find("TOTAL SEGMENTS USED:"); at != std::string_view::npos) {
      SplitFields(line.substr(at + 20), fields);
      const auto n = fields.empty() ? std::nullopt : ToLong(fields[0]);
      if (n) out.segments = static_cast<int>(*n);
      continue;
    }
    if (const size_t at = line.find("INPUT POWER"); at != std::string_view::npos) {
      const size_t eq = line.find('=', at);
      if (eq != std::string_view::npos) {
        SplitFields(line.substr(eq + 1), fields);
        if (!fields.empty()) {
          if (const auto p = ToDouble(fields[0])) out.inputPowerW = *p;
        }
      }
      continue;
    }
    if (section == Section::None) continue;

    SplitFields(line, fields);
    if (fields.empty()) continue;
    switch (section) {
      case Section::Segments:
        if (fields.size() == 12 && Numbers(fields, v)) {
          SegmentRow s;
          s.number = static_cast<int>(v[0]);
          s.centre = {v[1], v[2], v[3]};
          s.lengthM = v[4];
          s.alphaDeg = v[5];
          s.betaDeg = v[6];
          s.radiusM = v[7];
          s.tag = static_cast<int>(v[11]);
          out.segmentRows.push_back(s);
        }
        break;
      case Section::Sources:
        if (fields.size() == 11 && Numbers(fields, v)) {
          SourceRow s;
          s.tag = static_cast<int>(v[0]);
          s.segment = static_cast<int>(v[1]);
          s.voltageV = {v[2], v[3]};
          s.currentA = {v[4], v[5]};
          s.impedanceOhm = {v[6], v[7]};
          s.powerW = v[10];
          out.sources.push_back(s);
        }
        break;
      case Section::Pattern: {
        // THETA PHI gain gain TOTAL ...: only the first five are read.
        if (fields.size() < 5) break;
        const auto theta = ToDouble(fields[0]);
        const auto phi = ToDouble(fields[1]);
        const auto total = ToDouble(fields[4]);
        if (!theta || !phi || !total || *total <= kNoGainDb) break;
        if (!out.peak || *total > out.peak->gainDbi) out.peak = PatternPeak{*total, *theta, *phi};
        break;
      }
      case Section::Field:
        if (fields.size() == 9 && Numbers(fields, v)) {
          out.fields.back().points.push_back({v[0], v[1], v[2], v[3], v[5], v[7]});
        }
        break;
      case Section::None:
        break;
    }
  }
  if (!sawHeading) {
    parsed.problem = "the text is not an output of the NEC-2 engine";
    return parsed;
  }
  parsed.output = std::move(out);
  return parsed;
}

}  // namespace korrin::nearfield
