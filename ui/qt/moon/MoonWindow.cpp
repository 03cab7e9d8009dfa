#include "ui/qt/moon/MoonWindow.h"

#include <QChartView>
#include <QDateTime>
#include <QDateTimeEdit>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>
#include <QTimeZone>
#include <QTimer>
#include <QVBoxLayout>

#include "moon/Path.h"
#include "ui/TForm1.h"
#include "ui/qt/ToolWindow.h"
#include "ui/qt/calculator/MainWindow.h"
#include "ui/qt/moon/MoonPlot.h"

namespace korrin {

namespace {

constexpr int kPlottedHours = 24;
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

  auto* places = new QFormLayout;
  places->addRow("&Home:", home_);
  places->addRow("&Other station:", dx_);
  places->addRow("&Minimum elevation:", minElevation_);
  auto* when = new QHBoxLayout;
  when->addWidget(now_);
  when->addSpacing(16);
  when->addWidget(date_);
  when->addWidget(when_);
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

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(places);
  layout->addWidget(figures_);
  layout->addWidget(view_, 1);

  // The settings, as the user left them.
  QSettings settings = UserSettings();
  home_->setText(settings.value("moon/home").toString());
  dx_->setText(settings.value("moon/dx").toString());
  minElevation_->setValue(settings.value("moon/minElevation", 0.0).toDouble());
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
  request.spanSeconds = moon::kSecondsPerHour * kPlottedHours;
  request.stepSeconds = moon::UtcSeconds{60} * kStepMinutes;
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
  windows +=
      spans.isEmpty() ? QString("none in the next %1 hours").arg(kPlottedHours) : spans.join("; ");
  lines << windows + " (elevations geometric, without refraction)";
  return lines.join("\n");
}

}  // namespace korrin
