// File > "Export Evaluation Record…": asks for the record's heading (call
// sign, site, evaluator; remembered between runs) and a file name, then
// writes the record of the station the window holds.
#pragma once

#include <QDialog>
#include <QString>
#include <string>

#include "ui/qt/record/EvaluationRecord.h"

class QLineEdit;

namespace korrin {

class TForm1;

// The call sign, site and evaluator, remembered with QSettings.
class RecordDetailsDialog : public QDialog {
  Q_OBJECT
 public:
  explicit RecordDetailsDialog(QWidget* parent = nullptr);

  // The fields as entered; `madeAt` is left for the caller.
  RecordHeading Heading() const;
  // Keeps the fields for the next time.
  void Remember() const;

 private:
  QLineEdit* callSign_ = nullptr;
  QLineEdit* site_ = nullptr;
  QLineEdit* evaluatedBy_ = nullptr;
};

// The file the record goes to: `name` with ".pdf" added when it does not
// end in it (in any case).
QString RecordFileName(const QString& name);

struct ExportOutcome {
  enum class Status { Written, Cancelled, Failed };
  Status status = Status::Cancelled;
  QString path;       // the file written (or not)
  std::string error;  // the reason, when Failed
};

// The whole command from `parent`: the details dialog, the save dialog, the
// record written, a failure shown with its reason.  A cancelled dialog
// writes nothing.
ExportOutcome ExportEvaluationRecord(QWidget* parent, const TForm1& form,
                                     const assess::Options& options);

}  // namespace korrin
