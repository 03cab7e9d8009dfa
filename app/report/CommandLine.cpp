// korrin-report's command line as CLI11 reads it: every option in its
// group, the station file, the checks between options, and --help made
// from the same table (ParseArguments and HelpText of ReportOptions.h).
//
// Every option acts where it stands: its callback runs as CLI11 reaches it,
// so that --do actions and the settings in the user's words keep their
// order, and the first fault on the command line is the one reported.  A
// new option is one call in DefineOptions, in the group it belongs to.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/report/CommandLineParts.h"
#include "app/report/ReportAssessment.h"
#include "app/report/ReportMoon.h"
#include "app/report/ReportOptions.h"
#include "app/report/UserOptions.h"
#include "ui/Handlers.h"

namespace korrin::report {

namespace {

using namespace detail;

constexpr size_t kHelpColumn = 24;  // where the options' descriptions start

// --engine-time-limit at most: about 11 days.
constexpr double kMostEngineSeconds = 1e6;

void DefineOptions(CLI::App& app, Reading& r) {
  Options& o = r.options;

  // ---- general ----
  Switch(app, "-h,--help", kGeneral, "show this text", [] { throw CLI::CallForHelp(); });
  Switch(app, "--version", kGeneral, "show the version", [] { throw CLI::CallForVersion(); });
  Switch(app, "--json", kGeneral,
         "print one JSON object instead of the text report: the\n"
         "calculator's controls, state and messages, or a\n"
         "station file's evaluation",
         [&o] { o.json = true; });
  Switch(app, "--all-bands", kGeneral,
         "add a table with the station evaluated on every band\n"
         "of the band group in use",
         [&o] { o.allBands = true; });
  Value(app, r, "--do", "ACTION", "an ACTION", kGeneral,
        "apply ACTION (may be repeated; the forms are above)", [&o](const std::string& text) {
          std::string error;
          std::optional<Action> action = ParseAction(text, error);
          if (!action) return error;
          o.actions.push_back(std::move(*action));
          return std::string();
        });

  // ---- station files ----
  DefineStationOptions(app, r);

  // ---- pictures ----
  Value(app, r, "--png", "FILE", "a FILE", kPictures, "also save a picture of the window as PNG",
        OutputFileEnding(r, "--png", o.pngPath, ".png"));
  Value(app, r, "--pdf", "FILE", "a FILE", kPictures, "also save the page that Print makes as PDF",
        OutputFileEnding(r, "--pdf", o.pdfPath, ".pdf"));
  Value(app, r, "--plot", "FILE", "a FILE", kPictures,
        "also save the assessment's plot of the density along\n"
        "the beam, as PNG or SVG by FILE's extension (.png, .svg)",
        PlotFile(r, "--plot", o.plotPath));
  Value(app, r, "--site-plan", "FILE", "a FILE", kPictures,
        "also save the site plan of a station file\n"
        "(.station.toml) as PNG or SVG by FILE's extension",
        PlotFile(r, "--site-plan", o.sitePlanPath));

  // ---- near field ----
  Switch(app, "--near-field", kNearField,
         "with a station file (.station.toml): compute the near\n"
         "field of its wire antennas with nec2c, print their\n"
         "field keep-out distances and take their exposure at\n"
         "the places and on the property line into the sums",
         [&o] { o.nearField = true; });
  TwoValues(app, r, "--near-field-map", "INSTALLATION FILE", "an INSTALLATION and a FILE",
            kNearField,
            "also save that installation's near-field maps (plan\n"
            "at head height, side views) as PNG or SVG by FILE's\n"
            "extension (implies --near-field)",
            [&o, file = PlotFile(r, "--near-field-map", o.nearFieldMapPath)](
                const std::string& installation, const std::string& path) {
              if (installation.empty())
                return std::string("option --near-field-map needs an INSTALLATION");
              o.nearField = true;
              o.nearFieldInstallation = installation;
              return file(path);
            });
  Value(app, r, "--near-field-set", "SET", "a limit set", kNearField,
        "the limit set of the near-field map, fcc or icnirp-2020\n"
        "(default: the station file's first)",
        [&o](const std::string& text) {
          if (text != "fcc" && text != "icnirp-2020")
            return "unknown limit set \"" + text + "\": use fcc or icnirp-2020";
          o.nearField = true;  // so that a map missing is told
          o.nearFieldSet = text;
          return std::string();
        });
  Value(app, r, "--near-field-tier", "TIER", "a tier", kNearField,
        "the tier of the near-field map, general or occupational\n"
        "(default: general)",
        [&o](const std::string& text) {
          if (text != "general" && text != "occupational")
            return "unknown tier \"" + text + "\": use general or occupational";
          o.nearField = true;
          o.nearFieldTier = text;
          return std::string();
        });

  Value(app, r, "--engine-time-limit", "SECONDS", "a number of SECONDS", kNearField,
        "stop a run of nec2c after SECONDS (default: from the\n"
        "run's segments and points, 2 minutes at least)",
        [&o](const std::string& text) {
          char* end = nullptr;
          const double s = std::strtod(text.c_str(), &end);
          if (text.empty() || *end != '\0' || !(s > 0) || !(s <= kMostEngineSeconds))
            return "--engine-time-limit takes seconds above 0 and at most " +
                   std::to_string(static_cast<long>(kMostEngineSeconds)) + ", not \"" + text + "\"";
          o.nearField = true;
          o.engineTimeLimitS = s;
          return std::string();
        });

  // ---- assessment ----
  Switch(app, "--assess", kAssessment,
         "add the assessment against the exposure limits: every\n"
         "limit set, the FCC exemption test and the warnings\n"
         "(with --all-bands also keep-out distances on every band)",
         [&o] { o.assess = true; });
  const std::string metres = "a length in metres, a number not below 0";
  const auto length = [&o, metres](const char* name, auto assign) {
    return [&o, metres, name, assign](const std::string& text) {
      const std::optional<long double> m = ParseMetres(text);
      if (!m) return std::string("option ") + name + " needs " + metres + ", not \"" + text + "\"";
      assign(*m);
      o.assess = true;
      return std::string();
    };
  };
  Value(app, r, "--distance", "R", metres, kAssessment,
        "the distance in metres to the nearest person, for the\n"
        "FCC exemption verdict (implies --assess)",
        length("--distance", [&o](long double m) { o.distanceM = m; }));
  Value(app, r, "--head-height", "H", metres, kAssessment,
        "the height of a person in metres, for the head-height\n"
        "clearance (default 2.0; implies --assess)",
        length("--head-height", [&o](long double m) { o.headHeightM = m; }));

  // ---- the evaluation record ----
  Value(app, r, "--record", "FILE", "a FILE", kRecord,
        "also write the evaluation record of the station as PDF:\n"
        "the assessment (with --distance and --head-height as\n"
        "given), the plot, every band, the method and a line to\n"
        "sign",
        OutputFileEnding(r, "--record", o.recordPath, ".pdf"));
  const auto heading = [&r](const char* name, std::string& field) {
    return [&r, name, &field](const std::string& text) {
      field = text;
      r.recordOnly = name;
      return std::string();
    };
  };
  Value(app, r, "--callsign", "C", "a value", kRecord,
        "the call sign in the record's heading (and in the\n"
        "station file of --station-file)",
        heading("--callsign", o.callSign));
  Value(app, r, "--site", "S", "a value", kRecord,
        "the site (address or grid locator) in the record (and\n"
        "in the station file)",
        heading("--site", o.site));
  Value(app, r, "--by", "NAME", "a value", kRecord,
        "who made the evaluation, in the record (and in the\n"
        "station file)",
        heading("--by", o.evaluatedBy));
  Value(app, r, "--page-size", "P", "a value", kRecord,
        "the record's paper, A4 or Letter (default: the usual\n"
        "paper of your locale)",
        [&r, &o](const std::string& text) {
          std::string lower = text;
          std::transform(lower.begin(), lower.end(), lower.begin(),
                         [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
          if (lower != "a4" && lower != "letter") {
            return "unknown page size \"" + text + "\": use A4 or Letter";
          }
          o.pageSize = lower == "a4" ? "A4" : "Letter";
          r.recordOnly = "--page-size";
          r.pageSize = true;
          return std::string();
        });

  // ---- the moon by date ----
  MoonOptions& m = o.moon;
  Switch(app, "--moon", kMoon,
         "add the moon's figures by date for the station's band:\n"
         "a table of its position at home (and at --dx), distance,\n"
         "path loss, degradation, Doppler shift, mutual windows\n"
         "and the station's echo S/N (needs --locator)",
         [&m] { m.on = true; });
  const std::string place = "a locator (FN20xa) or LAT,LON[,HEIGHT]";
  const auto where = [&m](const char* name, std::string& text, std::optional<moon::Place>& field) {
    return [&m, name, &text, &field](const std::string& value) {
      const moon::ParsedPlace parsed = moon::ParsePlace(value);
      if (!parsed.place) return std::string("option ") + name + ": " + parsed.error;
      text = value;
      field = parsed.place;
      m.on = true;
      return std::string();
    };
  };
  Value(app, r, "--locator", "LOC", place, kMoon,
        "home: a Maidenhead locator of 4, 6 or 8 characters\n"
        "(its centre), or LAT,LON[,HEIGHT] in degrees north and\n"
        "east and metres (implies --moon)",
        where("--locator", m.locator, m.home));
  Value(app, r, "--dx", "LOC", place, kMoon,
        "the other station, in the same forms (implies --moon)", where("--dx", m.dxLocator, m.dx));
  Value(app, r, "--from", "TIME", "a UTC time such as 2026-12-07T00:00Z", kMoon,
        "the first row, UTC in ISO 8601: 2026-12-07T00:00Z,\n"
        "2026-12-07T00:00:30Z or 2026-12-07 (default: now)",
        [&m](const std::string& text) {
          const moon::ParsedTime parsed = moon::ParseUtc(text);
          if (!parsed.time) return "option --from: " + parsed.error;
          m.from = parsed.time;
          m.on = true;
          return std::string();
        });
  Value(app, r, "--hours", "H", "a number of hours above 0, at most 744", kMoon,
        "the span of the table in hours, above 0 and at most 744\n"
        "(31 days; default 24)",
        [&m](const std::string& text) {
          const std::optional<double> h = ParseMoonNumber(text);
          if (!h || *h <= 0.0 || *h > 744.0) {
            return "option --hours needs a number of hours above 0 and at most 744, not \"" + text +
                   "\"";
          }
          m.hours = *h;
          m.on = true;
          return std::string();
        });
  Value(app, r, "--step-minutes", "M", "a whole number of minutes, 1 to 1440", kMoon,
        "minutes between rows, 1 to 1440 (default 10)", [&m](const std::string& text) {
          const std::optional<double> v = ParseMoonNumber(text);
          if (!v || *v != std::floor(*v) || *v < 1.0 || *v > 1440.0) {
            return "option --step-minutes needs a whole number of minutes from 1 to 1440, not \"" +
                   text + "\"";
          }
          m.stepMinutes = static_cast<int>(*v);
          m.on = true;
          return std::string();
        });
  Value(app, r, "--min-elevation", "DEG", "degrees from -5 to 90", kMoon,
        "the lowest elevation that counts for a window, at both\n"
        "places, in degrees from -5 to 90 (default 0)",
        [&m](const std::string& text) {
          const std::optional<double> v = ParseMoonNumber(text);
          if (!v || *v < -5.0 || *v > 90.0) {
            return "option --min-elevation needs degrees from -5 to 90, not \"" + text + "\"";
          }
          m.minElevationDeg = *v;
          m.on = true;
          return std::string();
        });
  Value(app, r, "--moon-plot", "FILE", "a FILE", kMoon,
        "also save the plot of the moon's elevation at both\n"
        "places and the path loss against time, the mutual\n"
        "windows shaded, as PNG or SVG by FILE's extension\n"
        "(implies --moon)",
        [&m, plot = PlotFile(r, "--moon-plot", m.plotPath)](const std::string& path) {
          m.on = true;
          return plot(path);
        });

  // ---- settings in the user's words ----
  for (const UserOption& u : UserOptions()) {
    const auto apply = [&r, &u](const std::string& value) {
      return ApplyUserOption(u, value, r.settings);
    };
    if (u.value == nullptr) {
      Switch(app, u.name, kSettings, u.help, [apply] {
        if (const std::string error = apply(""); !error.empty()) throw UsageError(error);
      });
    } else {
      Value(app, r, u.name, u.value, u.value, kSettings, u.help, apply);
    }
  }

  // ---- the station file ----
  app.add_option(
         "STATION",
         [&app, &o](const CLI::results_t& results) {
           StopAtAnEarlierFault(app);
           o.stationFile = results.empty() ? std::string() : results.front();
           if (o.stationFile.empty()) throw UsageError("the station file's name is empty");
           return true;
         },
         "a station file NAME.station.toml, evaluated whole, or\n"
         "the calculator's STATION.rsd, loaded as Get Data loads\n"
         "it (told apart by what the file holds)")
      ->type_name("");
}

// The text between the program's name and the options: how a run goes.
constexpr const char* kHowItRuns =
    "The station starts as the window starts; STATION.rsd, when given, is loaded\n"
    "as Get Data loads it; then each --do ACTION is applied in order and the\n"
    "station is reported.  A setting in your own words (below) makes the clicks\n"
    "you would make in the window, before any --do.  Message boxes are answered\n"
    "with OK and listed.\n"
    "A question (asked before unsaved changes would be lost) is answered with\n"
    "the answer that goes ahead (Discard, Reset, Replace) and listed.\n"
    "A station file (NAME.station.toml: every transmitter, feed line, antenna and\n"
    "place) is evaluated as it stands: keep-out distances, the sums at the places\n"
    "and along the property line, the verdict and the warnings.  The calculator's\n"
    "actions, settings, pictures, assessment and moon-bounce options do not apply\n"
    "to it and are refused.\n";

constexpr const char* kExitStatus =
    "Exit status:\n"
    "  0  the station was reported and no warning was shown; for a station file:\n"
    "     the station complies\n"
    "  1  STATION.rsd did not load, or a station file cannot be read or has errors\n"
    "     (nothing is printed or written and no action runs; the reasons are on\n"
    "     standard error), or a warning was shown during the actions (a refused\n"
    "     or missing file, a failed save or print; the report is printed in full),\n"
    "     or a picture or file could not be written\n"
    "  2  the command line is not valid, or a setting names a value the window\n"
    "     cannot reach (nothing is printed on standard output)\n"
    "  3  a station file's station does not comply, or is not shown to comply (no\n"
    "     place or property line yet; the report is printed)\n";

// The usage line and the forms of ACTION stand where CLI11 puts its own
// usage line.
class HelpFormatter : public CLI::Formatter {
 public:
  HelpFormatter() {
    column_width(kHelpColumn);
    label("Positionals", "Station file");
  }
  std::string make_usage(const CLI::App* /*app*/, std::string /*name*/) const override {
    return UsageText() + "\n" + kHowItRuns;
  }
  // An option of two values names both ("INSTALLATION FILE"): CLI11's
  // count after them (" x 2") says it again.
  std::string make_option_opts(const CLI::Option* opt) const override {
    std::string text = CLI::Formatter::make_option_opts(opt);
    const std::string count = " x " + std::to_string(opt->get_expected_min());
    if (opt->get_expected_min() > 1 && text.size() >= count.size() &&
        text.compare(text.size() - count.size(), count.size(), count) == 0) {
      text.erase(text.size() - count.size());
    }
    return text;
  }
  // One blank line between groups, where CLI11 puts two.
  std::string make_help(const CLI::App* app, std::string name,
                        CLI::AppFormatMode mode) const override {
    std::string text = CLI::Formatter::make_help(app, std::move(name), mode);
    for (size_t at = text.find("\n\n\n"); at != std::string::npos; at = text.find("\n\n\n", at)) {
      text.erase(at, 1);
    }
    return text;
  }
};

// Every handler name, wrapped at 78 columns.
std::string HandlerList() {
  std::string text = "Handlers:\n";
  std::string line = " ";
  for (const HandlerEntry& h : AllHandlers()) {
    const std::string name = h.name;
    if (line.size() + 1 + name.size() > 78) {
      text.append(line).append("\n");
      line.assign(1, ' ');
    }
    line.append(" ").append(name);
  }
  return text.append(line);  // CLI11 ends the footer's line
}

// The command line, its options defined to fill in `r`.
void DefineCommandLine(CLI::App& app, Reading& r) {
  app.name("korrin-report");
  app.description("korrin-report: the station's evaluation without a window.\n");
  app.formatter(std::make_shared<HelpFormatter>());
  app.set_help_flag();  // --help is the program's own switch: it acts where it stands
  DefineOptions(app, r);
  app.footer(UserOptionsExamples() + "\n" + kExitStatus + "\n" + HandlerList());
}

// The checks between options, once every option has been read.
std::string CheckTogether(const CLI::App& app, const Reading& r) {
  if (std::string error = CheckStationOptions(app, r); !error.empty()) return error;
  if (r.pageSize && r.options.recordPath.empty()) {
    return "option --page-size goes with --record FILE";
  }
  // The heading's words go into a station file written too.
  if (!r.recordOnly.empty() && r.options.recordPath.empty() &&
      r.options.station.writePath.empty()) {
    return "option " + r.recordOnly + " goes with --record FILE";
  }
  if (std::string error = CheckOutputsApart(r.options); !error.empty()) return error;
  if (r.options.moon.on && !r.options.moon.home) {
    return "option --moon needs --locator LOC, the home station's locator or LAT,LON[,HEIGHT]";
  }
  return "";
}

// CLI11 reads "--name=" as "--name" and takes the next argument as its
// value; an option written so is given the empty value it was written with.
std::vector<std::string> WithEmptyValues(const CLI::App& app,
                                         const std::vector<std::string>& args) {
  std::vector<std::string> out;
  bool options = true;
  for (const std::string& arg : args) {
    options = options && arg != "--";
    const size_t eq = arg.find('=');
    if (options && arg.size() > 3 && arg.compare(0, 2, "--") == 0 && eq + 1 == arg.size()) {
      const CLI::Option* option = app.get_option_no_throw(arg.substr(0, eq));
      if (option != nullptr && option->get_items_expected_max() > 0) {
        out.push_back(arg.substr(0, eq));
        out.emplace_back();
        continue;
      }
    }
    out.push_back(arg);
  }
  return out;
}

// What CLI11 found wrong in the program's own words: an option missing its
// value says what it needs, a switch given a value that it takes none.
// CLI11 names the option at the head of its message, with or without "--".
std::string Message(const CLI::ParseError& e, const CLI::App& app, const Reading& r) {
  std::string what = e.what();
  std::string name = what.substr(0, what.find_first_of(": "));
  name.erase(0, name.find_first_not_of('-'));
  const CLI::Option* option = app.get_option_no_throw("--" + name);
  if (dynamic_cast<const CLI::ArgumentMismatch*>(&e) == nullptr || option == nullptr) return what;
  if (option->get_items_expected_max() == 0) return "option --" + name + " takes no value";
  const auto needs = r.needs.find("--" + name);
  return "option --" + name + " needs " + (needs == r.needs.end() ? "a value" : needs->second);
}

ParseResult Fail(std::string message) {
  ParseResult result;
  result.status = ParseResult::Status::Error;
  result.error = std::move(message);
  return result;
}

}  // namespace

ParseResult ParseArguments(const std::vector<std::string>& args, bool picturesAvailable) {
  ParseResult result;
  Reading r(result.options, picturesAvailable);
  CLI::App app;
  DefineCommandLine(app, r);
  try {
    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed = WithEmptyValues(app, args);
    std::reverse(reversed.begin(), reversed.end());
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    result.status = ParseResult::Status::Help;
    return result;
  } catch (const CLI::CallForVersion&) {
    result.status = ParseResult::Status::Version;
    return result;
  } catch (const CLI::ExtrasError&) {
    return Fail(Unexpected(app.remaining()));
  } catch (const CLI::ParseError& e) {
    return Fail(Message(e, app, r));
  }
  result.options.input = StationInputOf(result.options.stationFile);
  if (const std::string error = CheckTogether(app, r); !error.empty()) return Fail(error);
  Options& o = result.options;
  o.actions.insert(o.actions.begin(), r.settings.begin(), r.settings.end());
  return result;
}

std::string HelpText() {
  Options unused;
  Reading r(unused, true);
  CLI::App app;
  DefineCommandLine(app, r);
  return app.help();
}

}  // namespace korrin::report
