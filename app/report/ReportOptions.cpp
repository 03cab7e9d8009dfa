#include "app/report/ReportOptions.h"

#include <algorithm>
#include <cctype>

#include "app/report/ReportAssessment.h"
#include "app/report/UserOptions.h"
#include "ui/Controls.h"
#include "ui/Handlers.h"

#ifndef KORRIN_VERSION
#define KORRIN_VERSION "4.4"
#endif

namespace korrin::report {

namespace {

const ControlSpec* FindControl(const std::string& name) {
  for (const ControlSpec& c : MainWindowControls()) {
    if (c.name == name) return &c;
  }
  return nullptr;
}

// A whole number written with digits only (no sign, no blanks).
std::optional<int> ParseIndex(const std::string& text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  return std::stoi(text);
}

bool IsFileCommand(const std::string& name) {
  return name == "Get_FileClick" || name == "Save_DataClick";
}

// "--name=value" or "--name value": the value, or nullopt when missing.
std::optional<std::string> OptionValue(const std::vector<std::string>& args, size_t& i,
                                       const std::string& name) {
  const std::string& arg = args[i];
  if (arg.size() > name.size() && arg.compare(0, name.size(), name) == 0 &&
      arg[name.size()] == '=') {
    return arg.substr(name.size() + 1);
  }
  if (i + 1 >= args.size()) return std::nullopt;
  return args[++i];
}

bool IsOption(const std::string& arg, const std::string& name) {
  return arg == name || (arg.size() > name.size() && arg.compare(0, name.size(), name) == 0 &&
                         arg[name.size()] == '=');
}

// The record's heading and paper options: the option's name and the field
// it sets, or nullopt for another argument.
std::optional<std::pair<std::string, std::string*>> RecordField(const std::string& arg,
                                                                Options& o) {
  const std::pair<const char*, std::string*> fields[] = {
      {"--callsign", &o.callSign},
      {"--site", &o.site},
      {"--by", &o.evaluatedBy},
      {"--page-size", &o.pageSize},
  };
  for (const auto& [name, field] : fields) {
    if (IsOption(arg, name)) return std::make_pair(std::string(name), field);
  }
  return std::nullopt;
}

constexpr const char* kNoWindow = "this korrin-report was built without the Qt window";

// ".png" or ".svg" in any case.
bool HasPlotExtension(const std::string& path) {
  if (path.size() < 5) return false;
  std::string ext = path.substr(path.size() - 4);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".png" || ext == ".svg";
}

ParseResult Fail(std::string message) {
  ParseResult r;
  r.status = ParseResult::Status::Error;
  r.error = std::move(message);
  return r;
}

}  // namespace

std::optional<Action> ParseAction(const std::string& text, std::string& error) {
  Action a;
  a.text = text;
  const size_t eq = text.find('=');
  if (eq == std::string::npos) {
    if (FindHandler(text) == nullptr) {
      error = "unknown action \"" + text + "\": the window has no handler of that name";
      return std::nullopt;
    }
    a.kind = Action::Kind::Handler;
    a.target = text;
    return a;
  }
  const std::string name = text.substr(0, eq);
  const std::string value = text.substr(eq + 1);
  if (IsFileCommand(name)) {
    a.kind = Action::Kind::FileDialog;
    a.target = name;
    if (!value.empty()) a.answer = value;
    return a;
  }
  const ControlSpec* control = FindControl(name);
  if (control == nullptr) {
    error = "unknown action \"" + text + "\": the window has no control named \"" + name + "\"";
    return std::nullopt;
  }
  const std::optional<int> n = ParseIndex(value);
  if (control->kind == ControlKind::RadioGroup) {
    const int items = static_cast<int>(control->items.size());
    if (!n || *n >= items) {
      error = "unknown item \"" + value + "\" in action \"" + text + "\": " + name +
              " has the items 0 to " + std::to_string(items - 1);
      return std::nullopt;
    }
    a.kind = Action::Kind::SelectItem;
    a.target = name;
    a.value = *n;
    return a;
  }
  if (control->kind == ControlKind::TrackBar) {
    if (!n || *n < control->minimum || *n > control->maximum) {
      error = "unknown position \"" + value + "\" in action \"" + text + "\": " + name +
              " has the positions " + std::to_string(control->minimum) + " to " +
              std::to_string(control->maximum);
      return std::nullopt;
    }
    a.kind = Action::Kind::TrackBar;
    a.target = name;
    a.value = *n;
    return a;
  }
  error = "unknown action \"" + text + "\": " + name +
          " is neither a radio group nor the track bar, so it takes no value";
  return std::nullopt;
}

ParseResult ParseArguments(const std::vector<std::string>& args, bool picturesAvailable) {
  ParseResult result;
  Options& o = result.options;
  bool positionalOnly = false;
  std::vector<Action> settings;   // the user's own words go before every --do
  std::string recordOptionGiven;  // an option that only the record uses
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!positionalOnly && arg.size() > 1 && arg[0] == '-') {
      if (arg == "--") {
        positionalOnly = true;
      } else if (arg == "--help" || arg == "-h") {
        result.status = ParseResult::Status::Help;
        return result;
      } else if (arg == "--version") {
        result.status = ParseResult::Status::Version;
        return result;
      } else if (arg == "--json") {
        o.json = true;
      } else if (arg == "--all-bands") {
        o.allBands = true;
      } else if (arg == "--assess") {
        o.assess = true;
      } else if (IsOption(arg, "--distance") || IsOption(arg, "--head-height")) {
        const bool distance = IsOption(arg, "--distance");
        const std::string name = distance ? "--distance" : "--head-height";
        const auto value = OptionValue(args, i, name);
        const auto metres = value ? ParseMetres(*value) : std::nullopt;
        if (!metres) {
          return Fail("option " + name + " needs a length in metres, a number not below 0" +
                      (value ? ", not \"" + *value + "\"" : std::string()));
        }
        if (distance) {
          o.distanceM = *metres;
        } else {
          o.headHeightM = *metres;
        }
        o.assess = true;
      } else if (IsOption(arg, "--do")) {
        const auto value = OptionValue(args, i, "--do");
        if (!value) return Fail("option --do needs an ACTION");
        std::string error;
        auto action = ParseAction(*value, error);
        if (!action) return Fail(error);
        o.actions.push_back(std::move(*action));
      } else if (IsOption(arg, "--png") || IsOption(arg, "--pdf")) {
        const std::string name = arg.substr(0, 5);
        const auto value = OptionValue(args, i, name);
        if (!value || value->empty()) return Fail("option " + name + " needs a FILE");
        if (!picturesAvailable) {
          return Fail("option " + name +
                      " is not available: this korrin-report was built without the Qt window");
        }
        (name == "--png" ? o.pngPath : o.pdfPath) = *value;
      } else if (IsUserOption(arg)) {
        const std::string error = ParseUserOption(args, i, settings);
        if (!error.empty()) return Fail(error);
      } else if (IsOption(arg, "--record")) {
        const auto value = OptionValue(args, i, "--record");
        if (!value || value->empty()) return Fail("option --record needs a FILE");
        if (!picturesAvailable) {
          return Fail(
              "option --record is not available: this korrin-report was built without the Qt "
              "window");
        }
        o.recordPath = *value;
      } else if (const auto field = RecordField(arg, o)) {
        const auto value = OptionValue(args, i, field->first);
        if (!value) return Fail("option " + field->first + " needs a value");
        if (field->first == "--page-size" && value->empty()) {
          return Fail("unknown page size \"\": use A4 or Letter");
        }
        *field->second = *value;
        recordOptionGiven = field->first;
      } else if (IsOption(arg, "--plot")) {
        const auto value = OptionValue(args, i, "--plot");
        if (!value || value->empty()) return Fail("option --plot needs a FILE");
        if (!picturesAvailable)
          return Fail(std::string("option --plot is not available: ") + kNoWindow);
        if (!HasPlotExtension(*value)) return Fail("option --plot writes FILE.png or FILE.svg");
        o.plotPath = *value;
      } else {
        return Fail("unknown option \"" + arg + "\"");
      }
    } else if (o.stationFile.empty() && !arg.empty()) {
      o.stationFile = arg;
    } else {
      return Fail("unexpected argument \"" + arg + "\": give at most one station file");
    }
  }
  o.actions.insert(o.actions.begin(), settings.begin(), settings.end());
  if (!recordOptionGiven.empty() && o.recordPath.empty()) {
    return Fail("option " + recordOptionGiven + " goes with --record FILE");
  }
  if (!o.pageSize.empty()) {
    std::string lower = o.pageSize;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    if (lower == "a4") {
      o.pageSize = "A4";
    } else if (lower == "letter") {
      o.pageSize = "Letter";
    } else {
      return Fail("unknown page size \"" + o.pageSize + "\": use A4 or Letter");
    }
  }
  return result;
}

std::string UsageText() {
  return "Usage: korrin-report [--json] [--all-bands] [--png FILE] [--pdf FILE] "
         "[--plot FILE]\n"
         "       [--assess] [--distance R] [--head-height H] [SETTING]... [--do ACTION]...\n"
         "       [STATION.rsd]\n"
         "       korrin-report --record FILE.pdf [--callsign C] [--site S] [--by NAME]\n"
         "                     [--page-size A4|Letter] [OPTION]... [STATION.rsd]\n"
         "\n"
         "SETTING is --band MHZ, --power WATTS, --feed-loss DB, --mode NAME,\n"
         "  --pattern NAME, --antenna NAME, --dish-diameter M, --yagis N,\n"
         "  --standard NAME, --ground-reflection, --tower METRES or --imperial\n"
         "\n"
         "ACTION is one of:\n"
         "  HANDLER               run a handler of the window by its name,\n"
         "                        e.g. HF_SelectClick, SpinButton3UpClick, Panel46Click\n"
         "  RadioGroupN=ITEM      select item ITEM (from 0) of RadioGroup1 ... RadioGroup8\n"
         "                        and run the group's click handler\n"
         "  TrackBar1=POSITION    move the tower track bar to POSITION (0 ... 30)\n"
         "                        and run TrackBar1Change\n"
         "  Get_FileClick=PATH    Get Data with the open dialog answering PATH\n"
         "  Save_DataClick=PATH   Save Data with the save dialog answering PATH\n"
         "                        (nothing after \"=\": the dialog is cancelled)\n";
}

std::string HelpText() {
  std::string text =
      "korrin-report: the station's evaluation without a window.\n"
      "\n" +
      UsageText() +
      "\n"
      "The station starts as the window starts; STATION.rsd, when given, is loaded\n"
      "as Get Data loads it; then each --do ACTION is applied in order and the\n"
      "station is reported.  Message boxes are answered with OK and listed.\n"
      "A question (asked before unsaved changes would be lost) is answered with\n"
      "the answer that goes ahead (Discard, Reset, Replace) and listed.\n"
      "\n"
      "Options:\n"
      "  --json          print one JSON object (controls, state, messages) instead\n"
      "                  of the text report\n"
      "  --all-bands     add a table with the station evaluated on every band of\n"
      "                  the band group in use\n"
      "  --png FILE      also save a picture of the window as PNG\n"
      "  --pdf FILE      also save the page that Print makes as PDF\n"
      "  --plot FILE     also save the assessment's plot of the density along the\n"
      "                  beam, as PNG or SVG by FILE's extension (.png, .svg)\n"
      "  --assess        add the assessment against the exposure limits: every\n"
      "                  limit set, the FCC exemption test and the warnings (with\n"
      "                  --all-bands also keep-out distances on every band)\n"
      "  --distance R    the distance in metres to the nearest person, for the FCC\n"
      "                  exemption verdict (implies --assess)\n"
      "  --head-height H the height of a person in metres, for the head-height\n"
      "                  clearance (default 2.0; implies --assess)\n"
      "  --record FILE   also write the evaluation record of the station as PDF:\n"
      "                  the assessment (with --distance and --head-height as\n"
      "                  given), the plot, every band, the method and a line to\n"
      "                  sign\n"
      "  --callsign C    the call sign in the record's heading\n"
      "  --site S        the site (address or grid locator) in the record\n"
      "  --by NAME       who made the evaluation, in the record\n"
      "  --page-size P   the record's paper, A4 or Letter (default: the usual paper\n"
      "                  of your locale)\n"
      "  --do ACTION     apply ACTION (may be repeated)\n"
      "  --help          show this text\n"
      "  --version       show the version\n"
      "\n" +
      UserOptionsHelp() +
      "\n"
      "Exit status:\n"
      "  0  the station was reported and no warning was shown\n"
      "  1  STATION.rsd did not load (nothing is printed or written and no action\n"
      "     runs; the reason is on standard error), or a warning was shown during\n"
      "     the actions (a refused or missing file, a failed save or print; the\n"
      "     report is printed in full), or a picture could not be written\n"
      "  2  the command line is not valid, or a setting names a value the window\n"
      "     cannot reach (nothing is printed on standard output)\n"
      "\n"
      "Handlers:\n";
  std::string line = " ";
  for (const HandlerEntry& h : AllHandlers()) {
    const std::string name = h.name;
    if (line.size() + 1 + name.size() > 78) {
      text.append(line).append("\n");
      line.assign(1, ' ');
    }
    line.append(" ").append(name);
  }
  text += line + "\n";
  return text;
}

std::string VersionText() {
  return std::string("korrin-report ") + KORRIN_VERSION;
}

}  // namespace korrin::report
