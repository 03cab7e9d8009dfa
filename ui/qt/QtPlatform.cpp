#include "ui/qt/QtPlatform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QStringList>

#include "ui/qt/MainWindow.h"
#include "ui/qt/Printing.h"

namespace korrin {

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
  }
  QString body = QString::fromStdString(text);
  body.replace("\r\n", "\n");
  body.replace('\r', '\n');
  QMessageBox box(icon, "Korrin", body, QMessageBox::Ok, window_);
  box.setTextFormat(Qt::PlainText);
  box.exec();
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

  const QString proposed = QFile::decodeName(request.fileName.c_str());
  const QFileInfo info(proposed);
  if (!proposed.isEmpty() && info.isAbsolute()) {
    dialog.setDirectory(info.absolutePath());
    dialog.selectFile(info.fileName());
  } else {
    dialog.setDirectory(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    if (!proposed.isEmpty()) dialog.selectFile(proposed);
  }

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
  // No confirmation and nothing saved: the message loop ends and with it
  // the program.
  if (window_) window_->hide();
  QCoreApplication::exit(exitCode);
}

}  // namespace korrin
