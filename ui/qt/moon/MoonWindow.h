// The Moon window, a tool window of the main window kept beside its panel:
// the moon from home and from another station for the calculator's band,
// now (updated every minute) or from a chosen UTC time, over the hours and
// at the step chosen, plotted and as the report's table (copied, or saved as
// CSV), with the figures of the first minute.  It keeps no station
// of its own: after every handler of the main window it plans again from
// the station the main window holds.  The two places and the minimum
// elevation are its settings, remembered in the user's settings; they
// change no station value.
#pragma once

#include <QWidget>
#include <optional>

#include "moon/Evaluation.h"
#include "moon/PlanTable.h"

class QChartView;
class QDateTimeEdit;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;
class QTimer;

namespace korrin {

class MainWindow;
class MoonChart;

class MoonWindow : public QWidget {
  Q_OBJECT
 public:
  explicit MoonWindow(MainWindow& main);

  // Plans anew from the main window's station and the settings and shows
  // it; does nothing while the window is hidden (showing it refreshes it).
  void Refresh();

  // The plan shown; empty when the settings or the station give none.
  const std::optional<moon::Evaluation>& Shown() const { return shown_; }

  // The parts, for tests and pictures.
  MoonChart* Chart() const { return chart_; }
  QLineEdit* HomeBox() const { return home_; }
  QLineEdit* DxBox() const { return dx_; }
  QRadioButton* NowButton() const { return now_; }
  QRadioButton* DateButton() const { return date_; }
  QDateTimeEdit* DateBox() const { return when_; }
  QDoubleSpinBox* MinElevationBox() const { return minElevation_; }
  // The span from the start, in hours, and the step between rows, in minutes.
  QDoubleSpinBox* HoursBox() const { return hours_; }
  QSpinBox* StepBox() const { return step_; }
  // The plan's table, a row per step, as the report prints it.
  QTableWidget* Table() const { return table_; }
  // Copies the selected rows of the table (all when none is) with its
  // header, separated by tabs; the text copied.
  QString CopyTable();
  // Writes the whole table as CSV to `path`; "" when written, else why not.
  QString SaveTable(const QString& path) const;
  // The figures of the first minute, or why there are none.
  QLabel* Figures() const { return figures_; }
  QTimer* MinuteTimer() const { return timer_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void SaveSettings() const;
  void ShowTable(const moon::PlanTable& table);
  QString FiguresText(const moon::Evaluation& e) const;

  MainWindow& main_;
  MoonChart* chart_ = nullptr;
  QChartView* view_ = nullptr;
  QLineEdit* home_ = nullptr;
  QLineEdit* dx_ = nullptr;
  QRadioButton* now_ = nullptr;
  QRadioButton* date_ = nullptr;
  QDateTimeEdit* when_ = nullptr;
  QDoubleSpinBox* minElevation_ = nullptr;
  QDoubleSpinBox* hours_ = nullptr;
  QSpinBox* step_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  QTableWidget* table_ = nullptr;
  QLabel* figures_ = nullptr;
  QTimer* timer_ = nullptr;
  moon::YearBestCache cache_;
  std::optional<moon::Evaluation> shown_;
};

}  // namespace korrin
