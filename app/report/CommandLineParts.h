// The pieces korrin-report's command line is built from, shared by the
// files that define its option groups (CommandLine.cpp, StationOptions.cpp):
// what the options fill in, the groups of --help, and the helpers that
// define a switch, an option taking a value and an output FILE.  Not part
// of the report library's interface.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/report/ReportOptions.h"

namespace korrin::report::detail {

// A fault in the program's own words; exit status 2 as every usage error.
class UsageError : public CLI::ParseError {
 public:
  explicit UsageError(const std::string& message) : CLI::ParseError(message, 2) {}
};

// What the options fill in, each at its place on the command line.
struct Reading {
  Reading(Options& filled, bool pictures) : options(filled), picturesAvailable(pictures) {}
  Options& options;
  bool picturesAvailable;
  std::vector<Action> settings;              // the user's words, applied before every --do
  std::string recordOnly;                    // an option given that only the record uses
  bool pageSize = false;                     // --page-size given (the record's paper)
  std::map<std::string, std::string> needs;  // what each option taking a value needs
};

// The groups of --help, in the order it lists them.
inline constexpr const char* kGeneral = "Options";
inline constexpr const char* kStationFiles = "Station files (NAME.station.toml)";
inline constexpr const char* kPictures = "Pictures (not in a build without the Qt window)";
inline constexpr const char* kAssessment = "Assessment against the exposure limits";
inline constexpr const char* kRecord = "Evaluation record";
inline constexpr const char* kMoon =
    "Moon-bounce by date, at the calculator's band (VHF - SHF side)";
inline constexpr const char* kNearField =
    "Near field of a station file's wire antennas (NEC-2, nec2c)";
inline constexpr const char* kSettings =
    "Settings in your own words (applied in the order given, before any --do)";

inline constexpr const char* kNoWindow = "this korrin-report was built without the Qt window";

// What an argument CLI11 set aside is: an option it does not know, or a
// second station file.
std::string Unexpected(const std::vector<std::string>& leftOver);

// CLI11 sets unknown arguments aside and refuses them only at the end; an
// option reached after one stops there, so that the first fault is told.
void StopAtAnEarlierFault(const CLI::App& app);

// A switch; `apply` runs where it stands.  "--name=value" is refused.
CLI::Option* Switch(CLI::App& app, const char* name, const char* group, const char* help,
                    const std::function<void()>& apply);

// An option taking one value, shown as `value` in --help; `needs` says
// what is missing when nothing follows it.  `apply` takes the value where
// the option stands and returns "" or what is wrong with it.
CLI::Option* Value(CLI::App& app, Reading& r, const char* name, const char* value,
                   const std::string& needs, const char* group, const char* help,
                   const std::function<std::string(const std::string&)>& apply);

// An option taking two values, shown as `values` in --help; `apply` takes
// both where the option stands and returns "" or what is wrong with them.
CLI::Option* TwoValues(
    CLI::App& app, Reading& r, const char* name, const char* values, const std::string& needs,
    const char* group, const char* help,
    const std::function<std::string(const std::string&, const std::string&)>& apply);

// ".png" or ".svg" in any case, after a name.
bool HasPlotExtension(const std::string& path);

// A picture or page FILE, refused when empty or when this build draws none.
std::function<std::string(const std::string&)> OutputFile(const Reading& r, const char* name,
                                                          std::string& field);

// A FILE of one kind: as OutputFile, and ending in `extension` (".pdf",
// ".png") in any case, so that an input named there by mistake is not
// overwritten.
std::function<std::string(const std::string&)> OutputFileEnding(const Reading& r, const char* name,
                                                                std::string& field,
                                                                const char* extension);

// Two names of one file: the same file on the disk (by its device and
// inode), or, for a file not there yet, the same place.
bool SameFile(const std::string& a, const std::string& b);

// Once every option has been read: an output that would overwrite an input
// (the station file, a file that --do Get_FileClick= loads) or another
// output, or "" when every output has a file of its own.
std::string CheckOutputsApart(const Options& o);

// A plot's FILE: as OutputFile, and PNG or SVG by its extension.
std::function<std::string(const std::string&)> PlotFile(const Reading& r, const char* name,
                                                        std::string& field);

// ---- the station files' group (StationOptions.cpp) ----

// Defines the options of the station files' group.
void DefineStationOptions(CLI::App& app, Reading& r);

// Once every option has been read: an option given that does not apply to
// the station argument (a calculator's option with a station file, a
// station file's option without one), or "" when every one applies.
std::string CheckStationOptions(const CLI::App& app, const Reading& r);

}  // namespace korrin::report::detail
