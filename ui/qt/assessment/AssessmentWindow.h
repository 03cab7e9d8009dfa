// The assessment window, a tool window of the main window kept beside its
// panel: the plot of the density along the beam above a table with one row
// per limit set, the FCC exemption verdict and the warnings.  It keeps no
// station of its own: after every handler of the main window it assesses
// the station the main window holds and shows the result.  The person's
// head height and the distance asked about for the exemption are its only
// settings, and they change no station value.
#pragma once

#include <QWidget>
#include <optional>

#include "assess/Assessment.h"

class QChartView;
class QDoubleSpinBox;
class QLabel;
class QTableWidget;
class QTextBrowser;

namespace korrin {

class AssessmentChart;
class MainWindow;

class AssessmentWindow : public QWidget {
  Q_OBJECT
 public:
  // A window of its own, owned by (and closed with) `main`.
  explicit AssessmentWindow(MainWindow& main);

  // Assesses the main window's station anew and shows it; does nothing
  // while the window is hidden (showing it refreshes it).
  void Refresh();

  // The settings, in metres.
  Real HeadHeightM() const { return headHeightM_; }
  std::optional<Real> DistanceM() const { return distanceM_; }
  void SetHeadHeightM(Real metres);
  void SetDistanceM(std::optional<Real> metres);

  // The parts, for tests and pictures.
  AssessmentChart* Chart() const { return chart_; }
  QTableWidget* Table() const { return table_; }
  // The FCC exemption verdict, then the warnings.
  QTextBrowser* Notes() const { return notes_; }
  QDoubleSpinBox* HeadHeightBox() const { return height_; }
  QDoubleSpinBox* DistanceBox() const { return distance_; }

  // The table's columns.
  enum Column { kName, kAveraging, kFrequency, kLimit, kKeepOut, kHeadClearance, kColumns };

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ShowTable(const assess::Assessment& a, bool metric);
  void ShowNotes(const assess::Assessment& a, bool metric);
  void ShowSettings(bool metric);
  void ReadSettings();
  // The notes' box as high as its text needs, up to its most.
  void FitNotes();
  int NotesHeight(int lines) const;

  MainWindow& main_;
  QChartView* view_ = nullptr;
  AssessmentChart* chart_ = nullptr;
  QTableWidget* table_ = nullptr;
  QTextBrowser* notes_ = nullptr;
  QDoubleSpinBox* height_ = nullptr;
  QDoubleSpinBox* distance_ = nullptr;
  QLabel* heightUnit_ = nullptr;
  QLabel* distanceUnit_ = nullptr;

  // View settings.
  Real headHeightM_ = 2.0L;
  std::optional<Real> distanceM_;
  bool metricShown_ = true;
  QString notesShown_;  // the notes' text as last set, to set it only when it changes
  int notesGrown_ = 0;  // the notes' box's height while the window is shown
  int notesWidth_ = 0;
  bool showingSettings_ = false;
};

}  // namespace korrin
