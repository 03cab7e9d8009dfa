// The station window: one station evaluation, its own document, beside the
// calculator.  On the left the station as the licensee enters it: the
// heading, and a table each for the transmitters, feed lines, antennas,
// installations, places and the property line's corners.  Every edit goes
// through the document's undo stack; an entry the file would refuse is not
// taken, and the window says why in the file's words.  A file with
// problems is shown as its text with the problems listed until they are
// corrected.  Several station windows may be open at once.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <optional>

#include "assess/StationEvaluation.h"
#include "station/Diagnostic.h"
#include "ui/Platform.h"
#include "ui/station/CellEdit.h"
#include "ui/station/Edit.h"

class QLabel;
class QShowEvent;
class QSplitter;
class QStackedWidget;
class QTabWidget;
class QAction;
class QMenu;

namespace korrin {

class EntryTableModel;
class FixPanel;
class HeadingPanel;
class PropertyPanel;
class ResultsPanel;
class StationDocument;
class StationNearField;
class StationTable;

class StationWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit StationWindow(QWidget* parent = nullptr);
  ~StationWindow() override;

  StationDocument& Document() { return *document_; }
  StationTable* View(stationui::Table table) const;
  EntryTableModel* Model(stationui::Table table) const;
  HeadingPanel* Heading() const { return heading_; }
  ResultsPanel* Results() const { return results_; }
  // The evaluation of the station shown, made again after every change:
  // with the near field of its wire antennas once that is computed.
  const assess::StationEvaluation& Evaluation() const { return evaluation_; }
  // The station's evaluation with the near field, computed in the background.
  StationNearField* NearField() const { return near_; }
  // The NEC-2 engine's program (a name in the search path, or a path) for
  // the verdict and the near-field tab; computes again.
  void SetEngineProgram(const QString& program);
  FixPanel* Fix() const { return fix_; }
  // Whether the window shows a file with problems instead of its station.
  bool FixingFile() const;
  // The last entry refused, in the file's words; empty after one taken.
  QString LastRefusal() const;
  // The table the edit commands act on: the one on the tab shown.
  stationui::Table CurrentTable() const;
  void ShowTable(stationui::Table table);

  // Lengths of new entries and a bare number in an empty length: feet or metres.
  bool FeetForNewLengths() const { return feet_; }
  void SetFeetForNewLengths(bool feet);

  // Files.  Open and New replace this window's station, asking first when
  // it has unsaved changes; false when nothing was opened.
  bool OpenFile(const QString& path);
  // Save (through Save As when there is no file yet); false when not saved.
  bool Save();
  bool SaveAs();
  bool SaveTo(const QString& path);
  // A station made elsewhere, as an unsaved document (asks first).
  bool TakeStation(const station::Station& station);
  // Adds another station's entries to this one as one edit (the
  // calculator's station); false, and why shown, when refused.
  bool AddStation(const station::Station& from, const QString& what);
  // File > Export Evaluation Record… and Export Site Plan…: asks for the
  // file (the record as PDF, the plan as SVG or PNG) and writes it; false
  // when cancelled or not written (the reason shown).
  bool ExportRecord();
  bool ExportSitePlan();

  // The row commands on the current table, as the Edit menu runs them.
  void AddRow();
  void RemoveRows();
  void DuplicateRow();
  void MoveRow(bool up);
  // Edit > Copy Rows: the selected rows (or the current one) of the current
  // table as station file tables on the clipboard; the text, empty when
  // there is nothing to copy.  Paste Rows: `text` added as entries, as one
  // edit; why not shown when refused.
  QString CopyRows();
  void PasteRows(const QString& text);

  // Answers in a dialog's place, for tests: questions, the file dialogs
  // (the file chosen, or nothing for Cancel), a message shown, and the
  // value of a cell that must come with another.
  std::function<Answer(const Question&)> questionAnswer;
  std::function<std::optional<QString>(bool save, const QString& proposed)> fileAnswer;
  std::function<void(const QString& text)> messageAnswer;
  std::function<std::optional<QString>(const QString& cell, const QString& proposed)> cellAnswer;

  // Every station window open now, in the order they were made.
  static QList<StationWindow*> Windows();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void Build();
  void BuildMenus();
  // Places the window on its first showing: where the last station window
  // was closed (on a screen now), or else beside the calculator where the
  // screen has room and over it where it has not; always on the screen.
  void Place();
  void KeepGeometry() const;
  QWidget* TablePage(stationui::Table table, QWidget* above = nullptr);
  // Pushes an edit of the row commands and selects `selectRow` in
  // `selectColumn` (the current cell's column when negative); shows why not
  // when refused.
  // The rows with a cell selected, or the current row; in order.
  std::vector<std::size_t> SelectedRows(stationui::Table table) const;
  void Take(stationui::Outcome outcome, stationui::Table table, int selectRow,
            int selectColumn = -1);
  void ShowRefusal(const QString& message);
  void ClearRefusal();
  void UpdateTitle();
  void UpdateActions();
  Answer Ask(const Question& question);
  void ShowMessage(const QString& text);
  std::optional<QString> ChooseFile(bool save, const QString& proposed);
  // A file to write another kind of output to (no station file's name).
  std::optional<QString> ChooseOutput(const QString& title, const QString& filter,
                                      const QString& proposed);
  // The name the outputs propose: the station file's, or the call sign's.
  QString OutputBaseName() const;
  // Whether the window's work may be replaced or closed: asks Save /
  // Discard / Cancel when there are unsaved changes.  `when` ends the
  // question: "closing", "opening another".
  bool MayReplace(const QString& when);
  bool FixedTextChanged() const;
  void ShowProblems(const QString& path, const QString& text,
                    const std::vector<station::Diagnostic>& problems);
  void CheckFixedText();
  void FillRecentMenu();
  void Evaluate();
  // Shows the evaluation with the near field when it is in.
  void TakeNearField();

  StationDocument* document_ = nullptr;
  QSplitter* split_ = nullptr;
  QStackedWidget* stack_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  HeadingPanel* heading_ = nullptr;
  PropertyPanel* property_ = nullptr;
  ResultsPanel* results_ = nullptr;
  assess::StationEvaluation evaluation_;
  assess::StationEvaluation plain_;  // far field only: the near-field tab's powers
  StationNearField* near_ = nullptr;
  bool evaluating_ = false;
  FixPanel* fix_ = nullptr;
  QLabel* refusal_ = nullptr;
  std::array<StationTable*, 6> tables_{};
  std::array<EntryTableModel*, 6> models_{};
  QString fixPath_;  // the file shown with problems
  bool feet_ = false;
  QAction* save_ = nullptr;
  QAction* undo_ = nullptr;
  QAction* redo_ = nullptr;
  QMenu* recent_ = nullptr;
  std::array<QAction*, 5> rowActions_{};
  bool placed_ = false;
};

// The station window that shows `path` (raised), else a new one with it;
// nullptr (and the reason shown) when the file cannot be opened.
StationWindow* OpenStationWindow(const QString& path, QWidget* parent = nullptr);
// A new station window with an empty station.
StationWindow* NewStationWindow();

// The keys of Redo: the platform's, and both that desktops use (Ctrl+Shift+Z
// and Ctrl+Y), each once, for a key given twice is an ambiguous shortcut
// and does nothing.
QList<QKeySequence> RedoKeys(QList<QKeySequence> platform);

}  // namespace korrin
