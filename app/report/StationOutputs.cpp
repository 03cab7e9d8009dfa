#include "app/report/StationOutputs.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>

#include "app/report/ReportNearField.h"
#include "assess/StationEvaluation.h"
#include "station/StationFile.h"
#include "ui/station/ResultTables.h"

#ifdef KORRIN_REPORT_PICTURES
#include <QApplication>
#include <QFile>
#include <QLocale>
#include <cstdlib>
#include <memory>

#include "ui/qt/station/SitePlanPainter.h"
#include "ui/qt/station/StationRecord.h"
#endif

namespace korrin::report {

namespace {

// The head of a file that tells a station file by its format line.
constexpr std::streamsize kHead = 4096;

// The calculator's options, which mean nothing for a whole station; the
// first one given, or empty.
std::string CalculatorOption(const Options& o) {
  if (!o.actions.empty()) return "--do and the settings in your own words";
  if (o.json) return "--json";
  if (o.allBands) return "--all-bands";
  if (!o.pngPath.empty()) return "--png";
  if (!o.pdfPath.empty()) return "--pdf";
  if (!o.plotPath.empty()) return "--plot";
  if (o.assess) return "--assess, --distance and --head-height";
  if (o.moon.on) return "--moon";
  return {};
}

#ifdef KORRIN_REPORT_PICTURES

std::string WriteOutputs(const station::Station& s, const assess::StationEvaluation& e,
                         const Options& options) {
  // No display is needed: draw on the offscreen platform unless told otherwise.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "korrin-report";
  static char* argv[] = {name, nullptr};
  std::unique_ptr<QApplication> app;
  if (QCoreApplication::instance() == nullptr) app = std::make_unique<QApplication>(argc, argv);

  std::string errors;
  if (!options.sitePlanPath.empty()) {
    const std::string error = SaveSitePlanFile(stationui::SitePlanOf(s, e),
                                               QFile::decodeName(options.sitePlanPath.c_str()), {},
                                               QString::fromStdString(stationui::VerdictLine(e)));
    if (!error.empty()) errors += error + "\n";
  }
  if (!options.recordPath.empty()) {
    StationRecordInput input =
        StationRecordInputOf(s, QFile::decodeName(options.stationFile.c_str()), false, false);
    // The heading given on the command line stands over the station's own.
    if (!options.callSign.empty())
      input.heading.callSign = QString::fromStdString(options.callSign);
    if (!options.site.empty()) input.heading.site = QString::fromStdString(options.site);
    if (!options.evaluatedBy.empty()) {
      input.heading.evaluatedBy = QString::fromStdString(options.evaluatedBy);
    }
    const RecordPageSize paper = options.pageSize.empty() ? PageSizeForLocale(QLocale::system())
                                 : options.pageSize == "Letter" ? RecordPageSize::Letter
                                                                : RecordPageSize::A4;
    const std::string error =
        WriteStationRecord(QFile::decodeName(options.recordPath.c_str()), input, paper);
    if (!error.empty()) errors += error + "\n";
  }
  return errors;
}

#else

std::string WriteOutputs(const station::Station&, const assess::StationEvaluation&,
                         const Options& options) {
  if (options.sitePlanPath.empty() && options.recordPath.empty()) return {};
  return "this korrin-report was built without the Qt window and cannot draw the site plan or "
         "the record\n";
}

#endif

}  // namespace

bool NamesWholeStation(const Options& options) {
  if (options.stationFile.empty()) return false;
  std::ifstream in(options.stationFile, std::ios::binary);
  if (!in) return false;
  std::string head(static_cast<std::size_t>(kHead), '\0');
  in.read(head.data(), kHead);
  head.resize(static_cast<std::size_t>(in.gcount()));
  return station::LooksLikeStationFile(head);
}

int RunWholeStation(const Options& options) {
  if (const std::string option = CalculatorOption(options); !option.empty()) {
    std::cerr << "korrin-report: " << option
              << " acts on the calculator's station; a station file (.station.toml) is evaluated "
                 "as a whole, with --site-plan and --record for its outputs\n";
    return 2;
  }
  const station::ReadResult read = station::ReadStationFile(options.stationFile);
  if (!read.station) {
    std::cerr << "korrin-report: the station file \"" << options.stationFile
              << "\" has problems; nothing was evaluated or written:\n"
              << station::FormatDiagnostics(read.errors);
    return 1;
  }
  // With the near field of its wire antennas when asked (app/report/ReportNearField.h).
  std::optional<NearFieldOutcome> near;
  if (options.nearField) {
    near = RunNearField(*read.station, options);
    if (!near->usage.empty()) {
      std::cerr << "korrin-report: " << near->usage << "; nothing was written\n";
      return 2;
    }
  }
  const assess::StationEvaluation e =
      near ? near->nearField.evaluation : assess::Evaluate(*read.station);
  std::string errors = WriteOutputs(*read.station, e, options);
  std::cout << stationui::VerdictLine(e) << "\n" << std::flush;
  if (near) {
    std::cout << near->text << std::flush;
    errors += near->errors;
  }
  if (!errors.empty()) {
    std::cerr << "korrin-report: " << errors;
    return 1;
  }
  return 0;
}

}  // namespace korrin::report
