// The command line of korrin-report: options, the station file and the
// actions to apply, checked against the window's handlers and controls
// before anything runs.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "moon/Place.h"
#include "moon/Time.h"

namespace korrin::report {

// The moon's figures by date (--moon and the options that imply it).
struct MoonOptions {
  bool on = false;
  std::string locator;    // as given: a locator or LAT,LON[,HEIGHT]
  std::string dxLocator;  // empty: no other station
  std::optional<moon::Place> home;
  std::optional<moon::Place> dx;
  std::optional<moon::UtcSeconds> from;  // empty: now, to the minute
  double hours = 24.0;
  int stepMinutes = 10;
  double minElevationDeg = 0.0;
  std::string plotPath;  // --moon-plot: empty, or a name ending in .png or .svg
};

struct Action {
  enum class Kind {
    Handler,     // run a handler of the window by its name
    SelectItem,  // RadioGroupN=ITEM: select the item, run the group's click handler
    TrackBar,    // TrackBar1=POSITION: move the track bar, run TrackBar1Change
    FileDialog,  // Get_FileClick=PATH / Save_DataClick=PATH: the dialog answers PATH
    Setting,     // an option in the user's words, planned into the actions above
                 // against the station as it stands (app/report/UserOptions.h)
  };
  Kind kind = Kind::Handler;
  std::string text;                   // the action as written on the command line
  std::string target;                 // handler name (Handler, FileDialog), control name,
                                      // or the setting's name
  int value = 0;                      // item index, track bar position or the setting's value
  std::optional<std::string> answer;  // FileDialog: nullopt is a cancelled dialog
};

// What the STATION argument is: nothing (the start-up station), the
// calculator's station (an .rsd file), or a station file that describes the
// whole station (NAME.station.toml).  Told apart by the file's content; by
// its name only when it cannot be read.
enum class StationInput { None, Calculator, StationFile };

StationInput StationInputOf(const std::string& path);

// The options of the station files' group (app/report/StationOptions.cpp).
struct StationFileOptions {
  bool csv = false;       // --csv: a station file's evaluation as CSV rows
  std::string writePath;  // --station-file: the calculator's station written as a station file
};

struct Options {
  bool json = false;
  bool allBands = false;
  std::string pngPath;     // empty: no picture
  std::string pdfPath;     // empty: no page
  std::string recordPath;  // empty: no evaluation record
  std::string callSign;    // the record's heading
  std::string site;
  std::string evaluatedBy;
  std::string pageSize;      // the record's paper, "A4" or "Letter"; empty: the user's locale
  std::string plotPath;      // empty: no plot; ends in .png or .svg
  std::string sitePlanPath;  // a station file's site plan; empty: none; ends in .png or .svg
  // The near field of a station file's wire antennas (--near-field, implied
  // by --near-field-map): one installation's maps to a file.
  bool nearField = false;
  std::string nearFieldInstallation;        // empty: no map
  std::string nearFieldMapPath;             // ends in .png or .svg
  std::string nearFieldSet;                 // the map's: "fcc", "icnirp-2020"; empty: the first
  std::string nearFieldTier;                // the map's: "general", "occupational"; empty: general
  std::string stationFile;                  // empty: the start-up station
  StationInput input = StationInput::None;  // what stationFile is
  StationFileOptions station;
  std::vector<Action> actions;
  // The assessment against the exposure limits (--assess, implied by
  // --distance and --head-height).
  bool assess = false;
  std::optional<long double> distanceM;  // --distance: for the FCC exemption verdict
  long double headHeightM = 2.0L;        // --head-height: the person's height
  MoonOptions moon;
  // --engine-time-limit: each run of nec2c's limit in seconds; empty: from
  // the run's work (nearfield::EngineTimeLimit).
  std::optional<double> engineTimeLimitS;
};

struct ParseResult {
  enum class Status { Run, Help, Version, Error };
  Status status = Status::Run;
  Options options;
  std::string error;  // Status::Error: what was wrong, for stderr
};

// Parses the arguments after the program name (app/report/CommandLine.cpp).
// picturesAvailable is false in a build without the Qt window, where --png,
// --pdf, --plot and --record are refused.
ParseResult ParseArguments(const std::vector<std::string>& args, bool picturesAvailable);

// Parses one ACTION of --do; nullopt with `error` set when it is not valid.
std::optional<Action> ParseAction(const std::string& text, std::string& error);

// The usage line and the valid action forms (the error text's tail).
std::string UsageText();
// The full --help text: usage, options, action forms and every handler name,
// made from the option table (app/report/CommandLine.cpp).
std::string HelpText();
// "korrin-report 4.4"
std::string VersionText();

}  // namespace korrin::report
