#include "ui/qt/moon/MoonWindow.h"

#include <QChartView>
#include <QClipboard>
#include <QDateTime>
#include <QDateTimeEdit>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QSettings>
#include <QShortcut>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimeZone>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "moon/Path.h"
#include "moon/PlanTable.h"
#include "ui/TForm1.h"
#include "ui/qt/ToolWindow.h"
#include "ui/qt/calculator/MainWindow.h"
#include "ui/qt/moon/MoonPlot.h"

namespace korrin {

namespace {

// The span and the step the window starts with, as the report's --moon.
constexpr double kPlottedHours = 24;
constexpr int kStepMinutes = 10;
constexpr int kMinuteMs = 60 * 1000;

QSettings UserSettings() {
  return QSettings(QSettings::UserScope, "Korrin", "Korrin");
}

QString Deg(double v, int decimals = 1) {
  return QString::number(v, 'f', decimals) + "\u00b0";
}

// The minute `t` falls in: the time fields show minutes, and a figure is
// computed for the minute it is labelled with, never seconds into it.
moon::UtcSeconds WholeMinute(moon::UtcSeconds t) {
  const moon::UtcSeconds into = t % 60;
  return t - (into < 0 ? into + 60 : into);
}

QString Minute(moon::UtcSeconds t) {
  const std::string iso = moon::FormatUtc(t);
  return QString::fromStdString(iso.substr(0, 10) + " " + iso.substr(11, 5));
}

}  // namespace

MoonWindow::MoonWindow(MainWindow& main) : main_(main) {
  setObjectName("MoonWindow");
  setWindowTitle("Korrin \u2013 Moon");

  chart_ = new MoonChart;
  view_ = new QChartView(chart_, this);  // owns the chart
  view_->setObjectName("MoonPlot");
  view_->setRenderHint(QPainter::Antialiasing);
  view_->setMinimumSize(560, 400);

  home_ = new QLineEdit(this);
  home_->setObjectName("HomeLocator");
  home_->setPlaceholderText("FN20xa or 40.02,-74.04");
  home_->setToolTip("Home: a Maidenhead locator of 4, 6 or 8 characters, or LAT,LON[,HEIGHT]");
  dx_ = new QLineEdit(this);
  dx_->setObjectName("DxLocator");
  dx_->setPlaceholderText("none");
  dx_->setToolTip("The other station, in the same forms; empty for one's own echoes only");
  now_ = new QRadioButton("&Now", this);
  now_->setObjectName("Now");
  date_ = new QRadioButton("&From (UTC):", this);
  date_->setObjectName("FromDate");
  when_ = new QDateTimeEdit(this);
  when_->setObjectName("FromTime");
  when_->setTimeSpec(Qt::UTC);
  when_->setDisplayFormat("yyyy-MM-dd HH:mm");
  when_->setMinimumDateTime(QDateTime(QDate(moon::kFirstYear, 1, 1), QTime(0, 0), Qt::UTC));
  when_->setMaximumDateTime(QDateTime(QDate(moon::kLastYear, 12, 30), QTime(23, 59), Qt::UTC));
  when_->setDateTime(
      QDateTime::fromSecsSinceEpoch(WholeMinute(QDateTime::currentSecsSinceEpoch()), Qt::UTC));
  minElevation_ = new QDoubleSpinBox(this);
  minElevation_->setObjectName("MinElevation");
  minElevation_->setRange(moon::kLowestMinElevationDeg, 90.0);
  minElevation_->setDecimals(1);
  minElevation_->setSuffix("\u00b0");
  minElevation_->setToolTip("The lowest elevation at which the moon counts as up, at both places");

  hours_ = new QDoubleSpinBox(this);
  hours_->setObjectName("Hours");
  hours_->setDecimals(1);
  hours_->setRange(0.1, static_cast<double>(moon::kLongestSpanSeconds) / moon::kSecondsPerHour);
  hours_->setSuffix(" h");
  hours_->setToolTip("How long the plan runs from its start");
  step_ = new QSpinBox(this);
  step_->setObjectName("StepMinutes");
  step_->setRange(static_cast<int>(moon::kShortestStepSeconds / 60),
                  static_cast<int>(moon::kLongestStepSeconds / 60));
  step_->setSuffix(" min");
  step_->setToolTip("The time between two rows of the table and two points of the plot");

  auto* places = new QFormLayout;
  places->addRow("&Home:", home_);
  places->addRow("&Other station:", dx_);
  places->addRow("&Minimum elevation:", minElevation_);
  auto* when = new QHBoxLayout;
  when->addWidget(now_);
  when->addSpacing(16);
  when->addWidget(date_);
  when->addWidget(when_);
  when->addSpacing(16);
  auto* hoursLabel = new QLabel("Ho&urs:", this);
  hoursLabel->setBuddy(hours_);
  when->addWidget(hoursLabel);
  when->addWidget(hours_);
  auto* stepLabel = new QLabel("S&tep:", this);
  stepLabel->setBuddy(step_);
  when->addWidget(stepLabel);
  when->addWidget(step_);
  when->addStretch(1);
  places->addRow("Time:", when);

  figures_ = new QLabel(this);
  figures_->setObjectName("MoonFigures");
  figures_->setTextFormat(Qt::PlainText);
  figures_->setWordWrap(true);
  figures_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  figures_->setMinimumHeight(figures_->fontMetrics().lineSpacing() * 6);
  figures_->setAlignment(Qt::AlignTop | Qt::AlignLeft);

  // Tab in reading order: the places, the minimum elevation, then the time.
  QWidget::setTabOrder(home_, dx_);
  QWidget::setTabOrder(dx_, minElevation_);
  QWidget::setTabOrder(minElevation_, now_);
  QWidget::setTabOrder(now_, date_);
  QWidget::setTabOrder(date_, when_);
  QWidget::setTabOrder(when_, hours_);
  QWidget::setTabOrder(hours_, step_);

  // The table the report prints, beside the plot.
  table_ = new QTableWidget(this);
  table_->setObjectName("MoonTable");
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->verticalHeader()->setVisible(false);
  table_->setAlternatingRowColors(true);
  auto* copyRows = new QPushButton("&Copy", this);
  copyRows->setToolTip(
      "Copy the selected rows (all when none is) with the header, as text "
      "separated by tabs");
  connect(copyRows, &QPushButton::clicked, this, [this] { CopyTable(); });
  auto* copyKey =
      new QShortcut(QKeySequence::Copy, table_, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
  connect(copyKey, &QShortcut::activated, this, [this] { CopyTable(); });
  auto* save = new QPushButton("Save as CS&V\u2026", this);
  save->setToolTip("Write the whole table as a CSV file");
  connect(save, &QPushButton::clicked, this, [this] {
    const QString path =
        QFileDialog::getSaveFileName(this, "Save the Moon Table", "moon.csv", "CSV files (*.csv)");
    if (path.isEmpty()) return;
    if (const QString why = SaveTable(path); !why.isEmpty()) {
      QMessageBox::warning(this, "Korrin", "The table was not saved: " + why);
    }
  });
  auto* tablePage = new QWidget(this);
  auto* tableLayout = new QVBoxLayout(tablePage);
  tableLayout->setContentsMargins(0, 0, 0, 0);
  tableLayout->addWidget(table_, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(copyRows);
  buttons->addWidget(save);
  buttons->addStretch(1);
  tableLayout->addLayout(buttons);
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName("MoonTabs");
  tabs_->addTab(view_, "&Plot");
  tabs_->addTab(tablePage, "T&able");

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(places);
  layout->addWidget(figures_);
  layout->addWidget(tabs_, 1);

  // The settings, as the user left them.
  QSettings settings = UserSettings();
  home_->setText(settings.value("moon/home").toString());
  dx_->setText(settings.value("moon/dx").toString());
  minElevation_->setValue(settings.value("moon/minElevation", 0.0).toDouble());
  hours_->setValue(settings.value("moon/hours", kPlottedHours).toDouble());
  step_->setValue(settings.value("moon/stepMinutes", kStepMinutes).toInt());
  now_->setChecked(true);
  when_->setEnabled(false);

  timer_ = new QTimer(this);
  timer_->setInterval(kMinuteMs);
  connect(timer_, &QTimer::timeout, this, [this] {
    if (now_->isChecked()) Refresh();
  });
  timer_->start();

  const auto changed = [this] {
    SaveSettings();
    Refresh();
  };
  connect(home_, &QLineEdit::editingFinished, this, changed);
  connect(dx_, &QLineEdit::editingFinished, this, changed);
  connect(minElevation_, &QDoubleSpinBox::valueChanged, this, changed);
  connect(hours_, &QDoubleSpinBox::valueChanged, this, changed);
  connect(step_, &QSpinBox::valueChanged, this, changed);
  connect(now_, &QRadioButton::toggled, this, [this](bool on) {
    when_->setEnabled(!on);
    Refresh();
  });
  connect(when_, &QDateTimeEdit::dateTimeChanged, this, [this] {
    if (date_->isChecked()) Refresh();
  });
  connect(&main_, &MainWindow::boardSynced, this, &MoonWindow::Refresh);
  MakeToolWindow(*this, main_, *main_.ClientPanel(), "moonWindow");
}

void MoonWindow::SaveSettings() const {
  QSettings settings = UserSettings();
  settings.setValue("moon/home", home_->text().trimmed());
  settings.setValue("moon/dx", dx_->text().trimmed());
  settings.setValue("moon/minElevation", minElevation_->value());
  settings.setValue("moon/hours", hours_->value());
  settings.setValue("moon/stepMinutes", step_->value());
}

void MoonWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Refresh();
}

void MoonWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  chart_->PlaceLegend();
}

void MoonWindow::Refresh() {
  if (!isVisible()) return;
  shown_.reset();
  const StationState& station = main_.Form().State();
  const auto refuse = [this](const QString& why) {
    figures_->setText(why);
    chart_->setTitle(QString());
    view_->setVisible(false);
    table_->clear();
    table_->setRowCount(0);
    table_->setColumnCount(0);
  };
  if (!moon::OnMoonBounceSide(station)) {
    refuse(
        "The moon-bounce figures are for the bands of the VHF \u2013 SHF side: choose one in "
        "the calculator.");
    return;
  }
  const moon::ParsedPlace home = moon::ParsePlace(home_->text().toStdString());
  if (!home.place) {
    refuse(home_->text().trimmed().isEmpty()
               ? QString("Enter the home station's locator (FN20xa) or LAT,LON[,HEIGHT].")
               : "Home: " + QString::fromStdString(home.error) + ".");
    return;
  }
  moon::PlanRequest request;
  request.home = *home.place;
  if (!dx_->text().trimmed().isEmpty()) {
    const moon::ParsedPlace dx = moon::ParsePlace(dx_->text().toStdString());
    if (!dx.place) {
      refuse("Other station: " + QString::fromStdString(dx.error) + ".");
      return;
    }
    request.dx = dx.place;
  }
  const moon::UtcSeconds now = QDateTime::currentSecsSinceEpoch();
  request.from = WholeMinute(now_->isChecked() ? now : when_->dateTime().toSecsSinceEpoch());
  request.spanSeconds = std::llround(hours_->value() * moon::kSecondsPerHour);
  request.stepSeconds = moon::UtcSeconds{60} * step_->value();
  request.minElevationDeg = minElevation_->value();
  request.frequencyMHz = static_cast<double>(station.FrequencyMHz);
  if (const std::string why = moon::CheckRequest(request); !why.empty()) {
    refuse(QString::fromStdString(why) + ".");
    return;
  }
  shown_ = moon::Evaluate(station, request, cache_);
  figures_->setText(FiguresText(*shown_));
  view_->setVisible(true);
  const MoonPlotNames names{home_->text().trimmed(), dx_->text().trimmed()};
  chart_->Show(*shown_, names);
  chart_->PlaceLegend();
  ShowTable(moon::TableOf(*shown_));
}

void MoonWindow::ShowTable(const moon::PlanTable& t) {
  table_->clear();
  table_->setColumnCount(static_cast<int>(t.header.size()));
  table_->setRowCount(static_cast<int>(t.rows.size()));
  QStringList header;
  for (const std::string& h : t.header) header << QString::fromStdString(h);
  table_->setHorizontalHeaderLabels(header);
  for (std::size_t r = 0; r < t.rows.size(); ++r) {
    for (std::size_t c = 0; c < t.rows[r].size(); ++c) {
      auto* item = new QTableWidgetItem(QString::fromStdString(t.rows[r][c]));
      // Figures to the right, the time and the words to the left.
      if (c > 0 && t.rows[r][c] != "yes" && t.rows[r][c] != "no") {
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      }
      table_->setItem(static_cast<int>(r), static_cast<int>(c), item);
    }
  }
  table_->resizeColumnsToContents();
}

QString MoonWindow::CopyTable() {
  if (!shown_) return {};
  std::vector<std::size_t> rows;
  for (const QModelIndex& index : table_->selectionModel()->selectedRows()) {
    rows.push_back(static_cast<std::size_t>(index.row()));
  }
  std::sort(rows.begin(), rows.end());
  const QString text = QString::fromStdString(moon::TabbedOf(moon::TableOf(*shown_), rows));
  QGuiApplication::clipboard()->setText(text);
  return text;
}

QString MoonWindow::SaveTable(const QString& path) const {
  if (!shown_) return "there is no plan to save";
  QSaveFile file(path);
  const QByteArray csv = QByteArray::fromStdString(moon::CsvOf(moon::TableOf(*shown_)));
  if (!file.open(QIODevice::WriteOnly) || file.write(csv) != csv.size() || !file.commit()) {
    return file.errorString();
  }
  return {};
}

QString MoonWindow::FiguresText(const moon::Evaluation& e) const {
  const moon::Row& row = e.plan.rows.front();
  const bool dx = row.dx.has_value();
  QStringList lines;
  lines << QString("%1 UTC at %2 MHz").arg(Minute(row.time)).arg(e.request.frequencyMHz, 0, 'f', 0);
  QString where =
      "Home: azimuth " + Deg(row.home.azimuthDeg) + ", elevation " + Deg(row.home.elevationDeg);
  if (dx) {
    where += "; other station: azimuth " + Deg(row.dx->azimuthDeg) + ", elevation " +
             Deg(row.dx->elevationDeg);
  }
  lines << where;
  lines << QString(
               "Distance %1 km; path loss %2 dB (%3 dB on the band's %4 dB, %5 dB over the "
               "year's best)")
               .arg(row.home.distanceKm, 0, 'f', 0)
               .arg(row.pathLossDb, 0, 'f', 2)
               .arg(*moon::BandChangeDb(e, row), 0, 'f', 2)
               .arg(*e.bandPathLossDb, 0, 'f', 1)
               .arg(row.degradationDb, 0, 'f', 2);
  QString doppler = QString("Doppler of one's own echo %1 Hz").arg(row.dopplerHz, 0, 'f', 0);
  if (dx) doppler += QString(", to the other station %1 Hz").arg(*row.dxDopplerHz, 0, 'f', 0);
  lines << doppler;
  lines << QString("Echo S/N %1 dB (the calculator's %2 dB at %3 dB)")
               .arg(e.echoSnDb.front(), 0, 'f', 1)
               .arg(e.stationSnDb, 0, 'f', 1)
               .arg(e.stationPathLossDb, 0, 'f', 1);
  QString windows = dx ? "Mutual windows: " : "Moon up at home: ";
  QStringList spans;
  for (const moon::Window& w : e.plan.windows) spans << Minute(w.start) + " to " + Minute(w.end);
  windows += spans.isEmpty() ? QString("none in the %1 hours planned").arg(hours_->value())
                             : spans.join("; ");
  lines << windows + " (elevations geometric, without refraction)";
  return lines.join("\n");
}

}  // namespace korrin
