// korrin-report: the station's evaluation without a window.
#include <clocale>
#include <cstdio>
#include <exception>
#include <iostream>
#include <new>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/report/BandTable.h"
#include "app/report/Pictures.h"
#include "app/report/Record.h"
#include "app/report/ReportJson.h"
#include "app/report/ReportOptions.h"
#include "app/report/ReportSession.h"
#include "app/report/ReportText.h"
#include "app/report/StandardOutput.h"
#include "app/report/StationOutputs.h"
#include "app/report/StationReport.h"
#include "app/report/UserOptions.h"
#include "nearfield/Runner.h"

namespace {

using namespace korrin;
using namespace korrin::report;

// The user's decimal point and thousands separator, as the window uses them.
NumberLocale UserLocale() {
  std::setlocale(LC_ALL, "");
  const std::lconv* lc = std::localeconv();
  NumberLocale locale;
  if (lc != nullptr && lc->decimal_point != nullptr && *lc->decimal_point != '\0') {
    locale.decimalPoint = lc->decimal_point;
  }
  locale.groupSeparator = lc != nullptr && lc->thousands_sep != nullptr ? lc->thousands_sep : "";
  return locale;
}

// Writes the report into `out`, printed by the caller; returns the status.
int Run(const Options& options, std::string& out) {
  // Texts in JSON always use "." and ","; the text report follows the user.
  ReportSession session(options.json ? NumberLocale{".", ","} : UserLocale());
  // The one gate before any output: a station file that does not load is
  // not reported, pictured or written anywhere, for the start-up station
  // would pass for it.  Every writer below runs only past this point.
  if (!session.Run(options)) {
    std::cerr << "korrin-report: the station file \"" << options.stationFile
              << "\" was not loaded; nothing was reported or written\n";
    for (const HeadlessPlatform::Message& m : session.Platform().messages) {
      if (m.kind == MessageKind::Warning || m.kind == MessageKind::Error) {
        std::cerr << "korrin-report: " << m.text << "\n";
      }
    }
    return 1;
  }
  if (!session.Refused().empty()) {
    // A setting the window cannot reach is a usage error: nothing is reported.
    std::cerr << "korrin-report: " << session.Refused() << "\n";
    return 2;
  }

  BandTable bands;
  if (options.allBands) {
    bands = EvaluateAllBands(session.Form(), session.Platform(), options.assess);
  }
  const BandTable* table = options.allBands ? &bands : nullptr;
  std::optional<assess::Assessment> assessment;
  if (options.assess) {
    assessment = assess::Assess(session.Form().State(), {options.distanceM, options.headHeightM});
    std::string words = ModeAndPatternNotGiven(options.actions, session.Form().State());
    if (!words.empty()) assessment->warnings.push_back(std::move(words));
  }
  const assess::Assessment* assessed = assessment ? &*assessment : nullptr;
  std::optional<MoonSection> moon;
  if (options.moon.on) {
    // Figures the station cannot give (the HF side) or a span outside the
    // years covered: a usage error, and nothing is reported.
    std::string error;
    moon = MoonFigures(session.Form().State(), options.moon, NowToTheMinute(), error);
    if (!moon) {
      std::cerr << "korrin-report: " << error << "\n";
      return 2;
    }
  }
  const MoonSection* moonShown = moon ? &*moon : nullptr;
  const std::string report =
      options.json
          ? JsonReport(session.Form(), session.Platform(), table, assessed, moonShown)
          : TextReport(session.Form(), session.Platform(), {session.ClosedBy(), session.Skipped()},
                       table, assessed, moonShown);

  const std::string pictureError = SavePictures(session.Form(), options.pngPath, options.pdfPath,
                                                options.plotPath, moonShown, options.moon.plotPath);
  const std::string recordError = SaveRecord(session.Form(), options);
  std::vector<std::string> notes;
  const std::string stationFileError =
      WriteCalculatorStation(options, session.Form().State(), notes);

  out = report;
  int status = 0;
  // A warning during the actions (a refused or missing file, a failed save
  // or print): the report stands, the status tells.
  if (const size_t warnings = session.WarningsShown(); warnings > 0) {
    std::cerr << "korrin-report: " << warnings
              << (warnings == 1 ? " warning was" : " warnings were")
              << " shown (see the messages)\n";
    status = 1;
  }
  for (const std::string& note : notes) std::cerr << "korrin-report: note: " << note << "\n";
  for (const std::string& error : {pictureError, recordError, stationFileError}) {
    if (error.empty()) continue;
    std::cerr << "korrin-report: " << error << "\n";
    status = 1;
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  // Ctrl-C, SIGTERM or SIGHUP during a near field: its engine is ended and
  // its folder removed before the report ends.
  korrin::nearfield::EndEngineRunsOnSignals();
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  const ParseResult parsed = ParseArguments(args, PicturesAvailable());
  switch (parsed.status) {
    case ParseResult::Status::Help:
      return PrintReport(HelpText(), 0);
    case ParseResult::Status::Version:
      return PrintReport(VersionText() + "\n", 0);
    case ParseResult::Status::Error:
      std::cerr << "korrin-report: " << parsed.error << "\n\n"
                << UsageText() << "Run \"korrin-report --help\" for every handler name.\n";
      return 2;
    case ParseResult::Status::Run:
      break;
  }
  // The report is printed whole at the end, and checked to its last byte.
  try {
    if (parsed.options.input == StationInput::StationFile) {
      const Options& o = parsed.options;
      std::ostringstream out;
      const int status =
          RunStationFile(o, o.json || o.station.csv ? NumberLocale{".", ","} : UserLocale(), out,
                         std::cerr, StationRunPartsOf(o));
      return PrintReport(out.str(), status);
    }
    std::string out;
    const int status = Run(parsed.options, out);
    return PrintReport(out, status);
  } catch (const std::bad_alloc&) {
    std::cerr << "korrin-report: there is not enough memory to evaluate this station; nothing "
                 "more was reported\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "korrin-report: " << e.what() << "\n";
    return 1;
  }
}
