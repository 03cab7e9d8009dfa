// The station files' group of korrin-report's command line: the options of
// a station file's evaluation, the calculator's station written as a
// station file, what the STATION argument is, and which options apply to
// which kind of station.
//
// A station file is evaluated as it stands, so the options that act on the
// calculator's window (its actions, settings, pictures, assessment and
// moon-bounce figures) are refused with one; an option of a station file's
// evaluation is refused without one.  A new option of either kind is
// one call in DefineStationOptions and, unless it applies to both, one name
// in the lists below.
#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

#include "app/report/CommandLineParts.h"
#include "app/report/ReportOptions.h"
#include "station/StationFile.h"

namespace korrin::report {

namespace detail {

namespace {

// Which station an option acts on.
enum class AppliesTo { Both, Calculator, StationFile };

// The calculator's options: the groups whose every option is one, then the
// options of other groups.  The record's options apply to both: each kind
// of station has its record.
constexpr std::array kCalculatorGroups{kPictures, kAssessment, kMoon, kSettings};
constexpr std::array kCalculatorOptions{"--do", "--all-bands", "--station-file"};
// The options of a station file's evaluation: the groups whose every
// option is one, then the options of other groups.
constexpr std::array kStationFileGroups{kStationFiles, kNearField};
constexpr std::array kStationFileOptions{"--csv", "--site-plan"};

template <typename List>
bool Holds(const List& list, const std::string& word) {
  return std::find(list.begin(), list.end(), word) != list.end();
}

AppliesTo AppliesToOf(const CLI::Option& option) {
  const std::string name = option.get_name();
  // --station-file stands in the station files' group but writes the
  // calculator's station.
  if (Holds(kCalculatorOptions, name)) return AppliesTo::Calculator;
  if (Holds(kStationFileOptions, name) || Holds(kStationFileGroups, option.get_group())) {
    return AppliesTo::StationFile;
  }
  if (Holds(kCalculatorGroups, option.get_group())) {
    return AppliesTo::Calculator;
  }
  return AppliesTo::Both;
}

bool EndsWithToml(std::string path) {
  std::transform(path.begin(), path.end(), path.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  constexpr std::string_view kToml = ".toml";
  return path.size() > kToml.size() &&
         path.compare(path.size() - kToml.size(), kToml.size(), kToml.data()) == 0;
}

}  // namespace

void DefineStationOptions(CLI::App& app, Reading& r) {
  StationFileOptions& s = r.options.station;
  Switch(app, "--csv", kStationFiles,
         "with a station file: print its evaluation as CSV, one\n"
         "row per installation, limit set and tier, instead of\n"
         "the text report",
         [&s] { s.csv = true; });
  Value(app, r, "--station-file", "OUT", "a FILE", kStationFiles,
        "also write the calculator's station, as it stands after\n"
        "the settings and actions, as a station file OUT (a name\n"
        "ending in .toml) of one installation",
        [&s](const std::string& path) {
          if (path.empty()) return std::string("option --station-file needs a FILE");
          // An .rsd given here by mistake would be overwritten with text.
          if (!EndsWithToml(path)) {
            return "option --station-file writes a station file: give a name ending in "
                   ".station.toml, not \"" +
                   path + "\"";
          }
          s.writePath = path;
          return std::string();
        });
}

std::string CheckStationOptions(const CLI::App& app, const Reading& r) {
  const Options& o = r.options;
  const bool stationFile = o.input == StationInput::StationFile;
  for (const CLI::Option* option : app.get_options()) {
    if (option->count() == 0) continue;
    const AppliesTo appliesTo = AppliesToOf(*option);
    if (stationFile && appliesTo == AppliesTo::Calculator) {
      return "option " + option->get_name() + " does not apply to a station file, and \"" +
             o.stationFile +
             "\" is one: it is evaluated as it stands (the calculator's actions, settings, "
             "pictures, assessment and moon-bounce options act on the calculator's station "
             "only)";
    }
    if (!stationFile && appliesTo == AppliesTo::StationFile) {
      return "option " + option->get_name() +
             " goes with a station file (NAME.station.toml) as the STATION argument";
    }
  }
  if (o.json && o.station.csv) return "give --json or --csv, not both";
  return "";
}

}  // namespace detail

StationInput StationInputOf(const std::string& path) {
  if (path.empty()) return StationInput::None;
  const bool tomlName = detail::EndsWithToml(path);
  // Only a regular file is opened to be told apart: a pipe or a device would
  // block the report or never end; the reader then refuses it by its name.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    return tomlName ? StationInput::StationFile : StationInput::Calculator;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) return tomlName ? StationInput::StationFile : StationInput::Calculator;
  // The format line stands near the start of a station file.
  constexpr std::streamsize kHeadBytes = 4096;
  std::string head(static_cast<size_t>(kHeadBytes), '\0');
  in.read(head.data(), kHeadBytes);
  head.resize(static_cast<size_t>(in.gcount()));
  if (station::LooksLikeStationFile(head)) return StationInput::StationFile;
  // Text under a TOML name is a station file whose format line is wrong or
  // missing, for the reader to say so; a calculator record holds zero bytes.
  if (tomlName && head.find('\0') == std::string::npos) return StationInput::StationFile;
  return StationInput::Calculator;
}

}  // namespace korrin::report
