#include "app/report/Record.h"

#ifdef KORRIN_REPORT_PICTURES
#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <cstdlib>
#include <memory>

#include "app/report/UserOptions.h"
#include "ui/qt/record/EvaluationRecord.h"
#endif

namespace korrin::report {

#ifdef KORRIN_REPORT_PICTURES

std::string SaveRecord(TForm1& form, const Options& options) {
  if (options.recordPath.empty()) return "";
  // No display is needed: draw on the offscreen platform unless told otherwise.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "korrin-report";
  static char* argv[] = {name, nullptr};
  std::unique_ptr<QApplication> app;
  if (QCoreApplication::instance() == nullptr) app = std::make_unique<QApplication>(argc, argv);

  RecordHeading heading;
  heading.callSign = QString::fromStdString(options.callSign);
  heading.site = QString::fromStdString(options.site);
  heading.evaluatedBy = QString::fromStdString(options.evaluatedBy);
  heading.madeAt = QDateTime::currentDateTime();
  const RecordPageSize paper = options.pageSize.empty()       ? PageSizeForLocale(QLocale::system())
                               : options.pageSize == "Letter" ? RecordPageSize::Letter
                                                              : RecordPageSize::A4;
  RecordInput input =
      EvaluationRecordInput(form, {options.distanceM, options.headHeightM}, heading);
  if (std::string w = ModeAndPatternNotGiven(options.actions, form.State()); !w.empty()) {
    input.assessment.warnings.push_back(std::move(w));
  }
  return WriteEvaluationRecord(QFile::decodeName(options.recordPath.c_str()), input, paper);
}

#else

std::string SaveRecord(TForm1&, const Options& options) {
  if (options.recordPath.empty()) return "";
  return "this korrin-report was built without the Qt window and cannot write the record";
}

#endif

}  // namespace korrin::report
