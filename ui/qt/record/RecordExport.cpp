#include "ui/qt/record/RecordExport.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "ui/TForm1.h"

namespace korrin {

namespace {

constexpr const char* kCallSignKey = "record/callSign";
constexpr const char* kSiteKey = "record/site";
constexpr const char* kEvaluatedByKey = "record/evaluatedBy";
constexpr const char* kFolderKey = "record/folder";
constexpr const char* kTitle = "Export Evaluation Record";
// Where the program keeps what it remembers between runs.
constexpr const char* kSettingsOwner = "Korrin";
constexpr const char* kSettingsName = "Korrin";

// The name the save dialog proposes: the call sign and the day, in the
// folder of the last record.
QString ProposedPath(const RecordHeading& heading) {
  const QSettings settings(kSettingsOwner, kSettingsName);
  QString folder = settings.value(kFolderKey).toString();
  if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
    folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  }
  QString call = heading.callSign.trimmed();
  call.replace(QRegularExpression("[^A-Za-z0-9_-]"), "_");
  const QString day = heading.madeAt.date().toString("yyyy-MM-dd");
  const QString name =
      (call.isEmpty() ? QString("evaluation-record") : call + "-evaluation") + "-" + day + ".pdf";
  return QDir(folder).filePath(name);
}

std::optional<QString> AskFileName(QWidget* parent, const RecordHeading& heading) {
  QFileDialog dialog(parent, kTitle);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter("PDF documents (*.pdf)");
  dialog.setDefaultSuffix("pdf");
  const QFileInfo proposed(ProposedPath(heading));
  dialog.setDirectory(proposed.absolutePath());
  dialog.selectFile(proposed.fileName());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().constFirst();
}

}  // namespace

RecordDetailsDialog::RecordDetailsDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(kTitle);
  const QSettings settings(kSettingsOwner, kSettingsName);
  callSign_ = new QLineEdit(settings.value(kCallSignKey).toString(), this);
  site_ = new QLineEdit(settings.value(kSiteKey).toString(), this);
  evaluatedBy_ = new QLineEdit(settings.value(kEvaluatedByKey).toString(), this);
  callSign_->setObjectName("callSign");
  site_->setObjectName("site");
  evaluatedBy_->setObjectName("evaluatedBy");
  site_->setPlaceholderText("Address or grid locator");
  site_->setMinimumWidth(320);

  auto* form = new QFormLayout;
  form->addRow("&Call sign:", callSign_);
  form->addRow("&Site:", site_);
  form->addRow("Evaluated &by:", evaluatedBy_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
}

RecordHeading RecordDetailsDialog::Heading() const {
  RecordHeading h;
  h.callSign = callSign_->text().trimmed();
  h.site = site_->text().trimmed();
  h.evaluatedBy = evaluatedBy_->text().trimmed();
  return h;
}

void RecordDetailsDialog::Remember() const {
  const RecordHeading h = Heading();
  QSettings settings(kSettingsOwner, kSettingsName);
  settings.setValue(kCallSignKey, h.callSign);
  settings.setValue(kSiteKey, h.site);
  settings.setValue(kEvaluatedByKey, h.evaluatedBy);
}

QString RecordFileName(const QString& name) {
  if (name.endsWith(".pdf", Qt::CaseInsensitive)) return name;
  return name + ".pdf";
}

ExportOutcome ExportEvaluationRecord(QWidget* parent, const TForm1& form,
                                     const assess::Options& options) {
  ExportOutcome outcome;
  RecordDetailsDialog details(parent);
  if (details.exec() != QDialog::Accepted) return outcome;
  details.Remember();
  RecordHeading heading = details.Heading();
  heading.madeAt = QDateTime::currentDateTime();

  const std::optional<QString> chosen = AskFileName(parent, heading);
  if (!chosen) return outcome;
  outcome.path = RecordFileName(*chosen);
  // The dialog asked about replacing the name it returned; a name that
  // gained ".pdf" is asked about here.
  if (outcome.path != *chosen && QFileInfo::exists(outcome.path) &&
      QMessageBox::question(parent, kTitle,
                            QString("%1 already exists.\nDo you want to replace it?")
                                .arg(QFileInfo(outcome.path).fileName())) != QMessageBox::Yes) {
    return outcome;
  }
  QSettings(kSettingsOwner, kSettingsName)
      .setValue(kFolderKey, QFileInfo(outcome.path).absolutePath());

  const RecordInput input = EvaluationRecordInput(form, options, heading);
  outcome.error = WriteEvaluationRecord(outcome.path, input, PageSizeForLocale(QLocale::system()));
  if (outcome.error.empty()) {
    outcome.status = ExportOutcome::Status::Written;
  } else {
    outcome.status = ExportOutcome::Status::Failed;
    QMessageBox::warning(
        parent, kTitle,
        "The evaluation record was not written: " + QString::fromStdString(outcome.error) + ".");
  }
  return outcome;
}

}  // namespace korrin
