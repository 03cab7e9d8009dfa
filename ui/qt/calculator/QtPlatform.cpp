#include "ui/qt/calculator/QtPlatform.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <algorithm>
#include <utility>
#include <vector>

#include "ui/qt/calculator/MainWindow.h"
#include "ui/qt/calculator/Printing.h"

namespace korrin {

namespace {

// Where the folder of the last station file is kept between runs.
constexpr const char* kStationFolderKey = "files/stationFolder";

QSettings UserSettings() {
  return QSettings(QSettings::UserScope, "Korrin", "Korrin");
}

QMessageBox::ButtonRole RoleOf(Answer answer) {
  switch (answer) {
    case Answer::Save:
      return QMessageBox::AcceptRole;
    case Answer::Discard:
      return QMessageBox::DestructiveRole;
    case Answer::Cancel:
    case Answer::Keep:
      return QMessageBox::RejectRole;
    case Answer::Reset:
    case Answer::Replace:
      return QMessageBox::DestructiveRole;
  }
  return QMessageBox::RejectRole;
}

QString ButtonText(Answer answer) {
  switch (answer) {
    case Answer::Save:
      return "&Save";
    case Answer::Discard:
      return "&Discard";
    case Answer::Cancel:
      return "Cancel";
    case Answer::Reset:
      return "&Reset";
    case Answer::Keep:
      return "&Keep";
    case Answer::Replace:
      return "&Replace";
  }
  return QString::fromUtf8(AnswerName(answer));
}

}  // namespace

QString QtNameFilters(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(';', ' ');
    filters << parts[i] + " (" + patterns + ")";
  }
  return filters.join(";;");
}

void QtPlatform::ShowCurrentState() {
  // A handler may open a dialog half-way; the window shows what it has done
  // so far.
  if (window_) window_->SyncFromBoard();
}

void QtPlatform::ShowMessage(MessageKind kind, const std::string& text) {
  ShowCurrentState();
  QMessageBox::Icon icon = QMessageBox::Warning;
  switch (kind) {
    case MessageKind::Warning:
      icon = QMessageBox::Warning;
      break;
    case MessageKind::Information:
      icon = QMessageBox::Information;
      break;
    case MessageKind::Error:
      icon = QMessageBox::Critical;
      break;
    case MessageKind::Question:
      icon = QMessageBox::Question;
      break;
  }
  QString body = QString::fromStdString(text);
  body.replace("\r\n", "\n");
  body.replace('\r', '\n');
  QMessageBox box(icon, "Korrin", body, QMessageBox::Ok, window_);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

Answer QtPlatform::Ask(const Question& question) {
  ShowCurrentState();
  if (questionAnswer) return questionAnswer(question);
  return AskInMessageBox(window_, question);
}

Answer AskInMessageBox(QWidget* parent, const Question& question) {
  QMessageBox box(QMessageBox::Question, "Korrin", QString::fromStdString(question.text),
                  QMessageBox::NoButton, parent);
  box.setTextFormat(Qt::PlainText);
  std::vector<std::pair<QAbstractButton*, Answer>> buttons;
  for (const Answer answer : question.answers) {
    QPushButton* button = box.addButton(ButtonText(answer), RoleOf(answer));
    buttons.emplace_back(button, answer);
    if (answer == question.escape) box.setEscapeButton(button);
  }
  // Return takes the answer that loses nothing: Save where it is offered.
  const bool offersSave = std::find(question.answers.begin(), question.answers.end(),
                                    Answer::Save) != question.answers.end();
  const Answer safe = offersSave ? Answer::Save : question.escape;
  for (const auto& [button, answer] : buttons) {
    if (answer == safe) box.setDefaultButton(static_cast<QPushButton*>(button));
  }
  box.exec();
  for (const auto& [button, answer] : buttons) {
    if (box.clickedButton() == button) return answer;
  }
  return question.escape;
}

std::string QtPlatform::StationFolder() {
  return QFile::encodeName(UserSettings().value(kStationFolderKey).toString()).toStdString();
}

void QtPlatform::RememberStationFolder(const std::string& folder) {
  QSettings settings = UserSettings();
  settings.setValue(kStationFolderKey, QFile::decodeName(folder.c_str()));
}

std::optional<std::string> QtPlatform::RunFileDialog(const FileDialogRequest& request, bool save) {
  ShowCurrentState();
  QFileDialog dialog(window_);
  dialog.setWindowTitle(save ? "Save Data" : "Get Data");
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  // The open dialog takes a name of a file that does not exist too; the
  // load then reports it.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(QtNameFilters(request.filter));
  dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);

  // The dialog starts in the folder of the last station file, or in the
  // documents folder before any (or when that folder has gone).
  const QString folder = QFile::decodeName(request.folder.c_str());
  if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
    dialog.setDirectory(folder);
  } else {
    dialog.setDirectory(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
  }
  const QString proposed = QFileInfo(QFile::decodeName(request.fileName.c_str())).fileName();
  if (!proposed.isEmpty()) dialog.selectFile(proposed);

  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return std::nullopt;
  return QFile::encodeName(QDir::toNativeSeparators(chosen.first())).toStdString();
}

std::optional<std::string> QtPlatform::ExecuteOpenDialog(const FileDialogRequest& request) {
  return RunFileDialog(request, false);
}

std::optional<std::string> QtPlatform::ExecuteSaveDialog(const FileDialogRequest& request) {
  return RunFileDialog(request, true);
}

PrintOutcome QtPlatform::PrintWindow() {
  using Status = PrintOutcome::Status;
  if (window_ == nullptr) return {Status::Failed, "there is no window to print"};
  ShowCurrentState();
  QPrinter printer(QPrinter::HighResolution);
  ConfigurePrinter(printer);
  bool accepted = false;
  if (printDialogAnswer) {
    accepted = printDialogAnswer(printer);
  } else {
    QPrintDialog dialog(&printer, window_);
    accepted = dialog.exec() == QDialog::Accepted;
  }
  if (!accepted) return {Status::Cancelled, {}};
  const std::string error = PrintClientArea(window_->ClientPanel(), printer);
  if (!error.empty()) return {Status::Failed, error};
  return {Status::Printed, {}};
}

void QtPlatform::Terminate(int exitCode) {
  // The window logic has asked about unsaved changes before: the message
  // loop ends and with it the program.  Windows of their own (station
  // evaluations) stay open with their work; the program ends with the last.
  if (window_) window_->hide();
  for (const QWidget* other : QApplication::topLevelWidgets()) {
    if (other != window_ && other->parentWidget() == nullptr && other->isVisible()) return;
  }
  QCoreApplication::exit(exitCode);
}

}  // namespace korrin
