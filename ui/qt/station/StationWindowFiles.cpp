// The station window's files: open, save, the questions before work would
// be lost, a file with problems shown to be corrected, and the windows
// that show each file.
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStatusBar>
#include <new>
#include <string_view>

#include "io/StationFile.h"
#include "station/StationFile.h"
#include "ui/qt/calculator/QtPlatform.h"
#include "ui/qt/record/RecordExport.h"
#include "ui/qt/station/FixPanel.h"
#include "ui/qt/station/ResultsPanel.h"
#include "ui/qt/station/SitePlanPainter.h"
#include "ui/qt/station/StationDocument.h"
#include "ui/qt/station/StationMenu.h"
#include "ui/qt/station/StationNearField.h"
#include "ui/qt/station/StationRecord.h"
#include "ui/qt/station/StationTable.h"
#include "ui/qt/station/StationWindow.h"
#include "ui/station/ResultTables.h"

namespace korrin {

namespace {

// A station file is a few kilobytes; anything this large is not one.
constexpr qint64 kLargestFile = qint64{16} * 1024 * 1024;
// The problems a refusal lists before "and N more".
constexpr int kProblemsListed = 12;

std::string Native(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

QString ProblemList(const std::vector<station::Diagnostic>& problems) {
  QStringList lines;
  for (std::size_t i = 0; i < problems.size() && i < std::size_t{kProblemsListed}; ++i) {
    lines << QString::fromStdString(station::FormatDiagnostic(problems[i]));
  }
  if (problems.size() > std::size_t{kProblemsListed}) {
    lines << QObject::tr("… and %1 more").arg(problems.size() - std::size_t{kProblemsListed});
  }
  return lines.join('\n');
}

}  // namespace

Answer StationWindow::Ask(const Question& question) {
  if (questionAnswer) return questionAnswer(question);
  return AskInMessageBox(this, question);
}

void StationWindow::ShowMessage(const QString& text) {
  if (messageAnswer) {
    messageAnswer(text);
    return;
  }
  QMessageBox box(QMessageBox::Warning, tr("Korrin"), text, QMessageBox::Ok, this);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

std::optional<QString> StationWindow::ChooseFile(bool save, const QString& proposed) {
  if (fileAnswer) return fileAnswer(save, proposed);
  QString folder = QFileInfo(proposed).absolutePath();
  if (proposed.isEmpty() || !QFileInfo(folder).isDir()) {
    folder = RecentStationFiles().isEmpty()
                 ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                 : QFileInfo(RecentStationFiles().first()).absolutePath();
  }
  QFileDialog dialog(
      this, save ? tr("Save Station Evaluation") : tr("Open Station Evaluation"), folder,
      tr("Station evaluations (*.station.toml);;TOML files (*.toml);;All files (*)"));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (!proposed.isEmpty()) dialog.selectFile(QFileInfo(proposed).fileName());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  QString chosen = dialog.selectedFiles().first();
  if (save) chosen = StationFileName(chosen);
  return chosen;
}

std::optional<QString> StationWindow::ChooseOutput(const QString& title, const QString& filter,
                                                   const QString& proposed) {
  if (fileAnswer) return fileAnswer(true, proposed);
  QFileDialog dialog(this, title, QFileInfo(proposed).absolutePath(), filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.selectFile(QFileInfo(proposed).fileName());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first();
}

QString StationWindow::OutputBaseName() const {
  const QString path = document_->Path();
  if (!path.isEmpty()) {
    QString name = QFileInfo(path).fileName();
    if (name.endsWith(".station.toml", Qt::CaseInsensitive)) {
      name.chop(int(std::string_view(".station.toml").size()));
    } else if (name.endsWith(".toml", Qt::CaseInsensitive)) {
      name.chop(int(std::string_view(".toml").size()));
    }
    return QFileInfo(path).absoluteDir().filePath(name);
  }
  const QString callsign = QString::fromStdString(document_->Station().callsign).trimmed();
  const QString folder = RecentStationFiles().isEmpty()
                             ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                             : QFileInfo(RecentStationFiles().first()).absolutePath();
  return QDir(folder).filePath(callsign.isEmpty() ? tr("station") : callsign);
}

bool StationWindow::ExportRecord() {
  if (FixingFile()) return false;
  for (StationTable* table : tables_) table->CommitEdit();
  const auto chosen = ChooseOutput(tr("Export Evaluation Record"), tr("PDF documents (*.pdf)"),
                                   OutputBaseName() + ".pdf");
  if (!chosen) return false;
  const QString path = RecordFileName(*chosen);
  // The near field the window computed for this station is taken as it
  // is; else it is computed for the record: a few seconds each.
  StationRecordInput input;
  if (const assess::StationNearField* near = near_->Result()) {
    input = StationRecordInputOf(document_->Station(), near->evaluation, near->installations,
                                 document_->Path(), document_->Modified(), feet_);
  } else {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    statusBar()->showMessage(tr("Computing the evaluation record…"));
    input =
        StationRecordInputOf(document_->Station(), document_->Path(), document_->Modified(), feet_);
    QApplication::restoreOverrideCursor();
  }
  const std::string error = WriteStationRecord(path, input, PageSizeForLocale(QLocale()));
  if (!error.empty()) {
    ShowMessage(
        tr("The evaluation record was not written: %1.").arg(QString::fromStdString(error)));
    return false;
  }
  statusBar()->showMessage(
      tr("Evaluation record written to %1").arg(QDir::toNativeSeparators(path)));
  return true;
}

bool StationWindow::ExportSitePlan() {
  if (FixingFile()) return false;
  const auto chosen =
      ChooseOutput(tr("Export Site Plan"), tr("SVG pictures (*.svg);;PNG pictures (*.png)"),
                   OutputBaseName() + "-site-plan.svg");
  if (!chosen) return false;
  QString path = *chosen;
  if (!path.endsWith(".svg", Qt::CaseInsensitive) && !path.endsWith(".png", Qt::CaseInsensitive)) {
    path += ".svg";
  }
  SitePlanStyle style;
  style.feet = feet_;
  const std::string error =
      SaveSitePlanFile(stationui::SitePlanOf(document_->Station(), evaluation_), path, style,
                       results_->Verdict()->text());
  if (!error.empty()) {
    ShowMessage(tr("The site plan was not written: %1.").arg(QString::fromStdString(error)));
    return false;
  }
  statusBar()->showMessage(tr("Site plan written to %1").arg(QDir::toNativeSeparators(path)));
  return true;
}

bool StationWindow::FixedTextChanged() const {
  return FixingFile() && fix_->TextChanged();
}

bool StationWindow::MayReplace(const QString& when) {
  for (StationTable* table : tables_) table->CommitEdit();
  const bool unsaved = FixingFile() ? FixedTextChanged() : document_->Modified();
  if (!unsaved) return true;
  const Question question{
      tr("Save changes to the station evaluation before %1?").arg(when).toStdString(),
      {Answer::Save, Answer::Discard, Answer::Cancel},
      Answer::Discard,
      Answer::Cancel};
  switch (Ask(question)) {
    case Answer::Save:
      return Save();
    case Answer::Discard:
      return true;
    default:
      return false;
  }
}

bool StationWindow::OpenFile(const QString& path) {
  if (!MayReplace(tr("opening another"))) return false;
  const QString shown = QDir::toNativeSeparators(path);
  auto refuse = [&](const QString& why) {
    ShowMessage(tr("%1 was not opened:\n%2").arg(shown, why));
    return false;
  };
  const QFileInfo info(path);
  if (!info.exists()) return refuse(tr("the file does not exist"));
  if (info.isDir()) return refuse(tr("it is a folder, not a file"));
  if (!info.isFile()) return refuse(tr("it is not a regular file (a device, a pipe or a socket)"));
  if (info.size() > kLargestFile) {
    return refuse(
        tr("the file is %1 bytes long; a station file is a few kilobytes").arg(info.size()));
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return refuse(file.errorString());
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return refuse(file.errorString());

  const std::string text = bytes.toStdString();
  station::ReadResult read;
  try {
    read = station::ParseStation(text, Native(info.fileName()));
  } catch (const std::bad_alloc&) {
    return refuse(tr("there is not enough memory to read it"));
  }
  if (read.station) {
    document_->Reset(std::move(*read.station), info.absoluteFilePath());
    stack_->setCurrentIndex(0);
    fixPath_.clear();
    RememberStationFile(info.absoluteFilePath());
    UpdateTitle();
    UpdateActions();
    return true;
  }
  // A file that does not say it is a station file is not this program's
  // to correct: refused with its problems.
  if (!station::LooksLikeStationFile(text) || bytes.contains('\0')) {
    return refuse(tr("it is not a station file (it has no format = \"%1\" line):\n%2")
                      .arg(station::kFormat, ProblemList(read.errors)));
  }
  ShowProblems(info.absoluteFilePath(), QString::fromUtf8(bytes), read.errors);
  RememberStationFile(info.absoluteFilePath());
  return true;
}

void StationWindow::ShowProblems(const QString& path, const QString& text,
                                 const std::vector<station::Diagnostic>& problems) {
  document_->Reset({}, {});
  fixPath_ = path;
  fix_->Show(QFileInfo(path).fileName(), text, problems);
  fix_->MarkTextSaved();
  stack_->setCurrentWidget(fix_);
  Evaluate();
  ClearRefusal();
  UpdateTitle();
  UpdateActions();
}

void StationWindow::CheckFixedText() {
  const std::string text = fix_->Text().toStdString();
  station::ReadResult read = station::ParseStation(text, Native(QFileInfo(fixPath_).fileName()));
  if (!read.station) {
    fix_->Show(QFileInfo(fixPath_).fileName(), fix_->Text(), read.errors);
    return;
  }
  // The corrected station is not yet the file's: it is an unsaved change.
  const QString path = fixPath_;
  fixPath_.clear();
  stack_->setCurrentIndex(0);
  document_->ResetChanged(std::move(*read.station), path);
  UpdateTitle();
  UpdateActions();
}

bool StationWindow::TakeStation(const station::Station& station) {
  if (!MayReplace(tr("replacing it"))) return false;
  fixPath_.clear();
  stack_->setCurrentIndex(0);
  document_->ResetChanged(station, {});
  UpdateTitle();
  UpdateActions();
  return true;
}

bool StationWindow::Save() {
  const QString path = FixingFile() ? fixPath_ : document_->Path();
  if (path.isEmpty()) return SaveAs();
  return SaveTo(path);
}

bool StationWindow::SaveAs() {
  QString proposed = FixingFile() ? fixPath_ : document_->Path();
  if (proposed.isEmpty()) {
    const QString callsign = QString::fromStdString(document_->Station().callsign).trimmed();
    proposed = StationFileName(callsign.isEmpty() ? tr("station") : callsign);
  }
  const auto chosen = ChooseFile(true, proposed);
  if (!chosen) return false;
  return SaveTo(StationFileName(*chosen));
}

bool StationWindow::SaveTo(const QString& path) {
  for (StationTable* table : tables_) table->CommitEdit();
  const std::optional<std::string> error =
      FixingFile() ? ReplaceFileContents(Native(path), fix_->Text().toStdString())
                   : station::SaveStationFile(Native(path), document_->Station());
  if (error) {
    ShowMessage(tr("%1 was not saved: %2.")
                    .arg(QDir::toNativeSeparators(path), QString::fromStdString(*error)));
    return false;
  }
  const QString full = QFileInfo(path).absoluteFilePath();
  if (FixingFile()) {
    fixPath_ = full;
    fix_->MarkTextSaved();
  } else {
    document_->MarkSaved(full);
  }
  RememberStationFile(full);
  UpdateTitle();
  return true;
}

void StationWindow::UpdateTitle() {
  const QString path = FixingFile() ? fixPath_ : document_->Path();
  QString name = path.isEmpty() ? tr("Untitled") : QFileInfo(path).fileName();
  if (FixingFile()) name += tr(" (not loaded: it has problems)");
  setWindowTitle(name + "[*] \u2014 " + tr("Station Evaluation") + " \u2014 Korrin");
  setWindowModified(FixingFile() ? fix_->TextChanged() : document_->Modified());
  if (save_ != nullptr) save_->setEnabled(true);
}

void StationWindow::FillRecentMenu() {
  FillRecentStationMenu(recent_, [this](const QString& path) { OpenFile(path); });
}

void StationWindow::closeEvent(QCloseEvent* event) {
  if (MayReplace(tr("closing"))) {
    // The next window opens where this one was.
    if (isVisible()) KeepGeometry();
    event->accept();
  } else {
    event->ignore();
  }
}

StationWindow* OpenStationWindow(const QString& path, QWidget* parent) {
  const QFileInfo wanted(path);
  for (StationWindow* window : StationWindow::Windows()) {
    const QString shown = window->Document().Path();
    if (!shown.isEmpty() && QFileInfo(shown) == wanted && !window->FixingFile()) {
      window->show();
      window->raise();
      window->activateWindow();
      return window;
    }
  }
  auto* window = new StationWindow(parent);
  if (!window->OpenFile(path)) {
    window->deleteLater();
    return nullptr;
  }
  window->show();
  window->raise();
  window->activateWindow();
  return window;
}

}  // namespace korrin
