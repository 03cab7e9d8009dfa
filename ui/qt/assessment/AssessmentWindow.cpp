#include "ui/qt/assessment/AssessmentWindow.h"

#include <QChartView>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <cmath>

#include "ui/TForm1.h"
#include "ui/qt/ToolWindow.h"
#include "ui/qt/assessment/AssessmentPlot.h"
#include "ui/qt/assessment/AssessmentText.h"
#include "ui/qt/calculator/MainWindow.h"

namespace korrin {

namespace {

constexpr double kLowestHeadM = 0.5;   // a child's head
constexpr double kHighestHeadM = 3.0;  // someone on a ladder
constexpr double kFarthestM = 100000;  // 100 km: farther than any station's zone
// The notes' box grows with its text between these many lines; beyond the
// most it scrolls.
constexpr int kFewestNoteLines = 3;
constexpr int kMostNoteLines = 12;

QString Dash() {
  return QStringLiteral("–");
}

// "12.3 m", with the dish's separate ranges "12.3 m (0–4.10 m and 6.00–12.3 m)",
// with the evaluation's model where it is not the far field "83.5 m
// (aperture equations)".
QString KeepOutText(const assess::LimitEntry& e, bool metric) {
  if (!e.keepOutM || *e.keepOutM <= 0) return "not reached";
  QString text = LengthText(*e.keepOutM, metric);
  if (e.model && *e.model != assess::ExposureModel::FarField) {
    text += " (" + ModelText(*e.model) + ")";
  }
  if (e.rangesM.size() > 1) {
    QStringList ranges;
    for (const assess::RangeM& r : e.rangesM) {
      ranges << Figure(metric ? r.fromM : r.fromM * kFeetPerMetre) + "–" +
                    LengthText(r.toM, metric);
    }
    text += " (" + ranges.join(" and ") + ")";
  }
  return text;
}

}  // namespace

AssessmentWindow::AssessmentWindow(MainWindow& main) : main_(main) {
  setObjectName("AssessmentWindow");
  setWindowTitle("Korrin – Assessment");

  chart_ = new AssessmentChart;
  view_ = new QChartView(chart_, this);  // owns the chart
  view_->setObjectName("AssessmentPlot");
  view_->setRenderHint(QPainter::Antialiasing);
  view_->setMinimumSize(480, 380);

  table_ = new QTableWidget(0, kColumns, this);
  table_->setObjectName("LimitSets");
  table_->setHorizontalHeaderLabels(
      {"Limit set", "Averaging", "Frequency", "Limit", "Keep-out distance", "Head clearance"});
  table_->horizontalHeaderItem(kFrequency)
      ->setToolTip(
          "Where the figures hold: the calculator's frequency, or the frequency of the band "
          "where the station evaluation's keep-out distance is largest");
  table_->horizontalHeaderItem(kKeepOut)->setToolTip(
      "How far along the beam the density exceeds the limit, gaps covered");
  table_->horizontalHeaderItem(kHeadClearance)
      ->setToolTip(
          "On a tower: how far from the tower a head at the set height can come "
          "into the keep-out distance");
  table_->verticalHeader()->setVisible(false);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionMode(QAbstractItemView::NoSelection);
  table_->setFocusPolicy(Qt::NoFocus);
  table_->setWordWrap(false);
  // The name takes the room the figures leave, shortened where it must be
  // (its tool tip shows it whole).
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  table_->horizontalHeader()->setSectionResizeMode(kName, QHeaderView::Stretch);
  table_->setTextElideMode(Qt::ElideRight);
  table_->verticalHeader()->setMinimumSectionSize(table_->fontMetrics().height() + 4);
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 8);
  table_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  table_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);

  height_ = new QDoubleSpinBox(this);
  height_->setObjectName("HeadHeight");
  height_->setDecimals(2);
  height_->setSingleStep(0.1);
  height_->setToolTip("The height of a person's head above the ground, for the clearance");
  heightUnit_ = new QLabel(this);
  distance_ = new QDoubleSpinBox(this);
  distance_->setObjectName("ExemptionDistance");
  distance_->setDecimals(2);
  distance_->setSingleStep(1.0);
  distance_->setSpecialValueText("not given");
  distance_->setToolTip("The distance from the antenna to the nearest person, for the verdict");
  distanceUnit_ = new QLabel(this);

  auto* settings = new QHBoxLayout;
  settings->addWidget(new QLabel("Head height:", this));
  settings->addWidget(height_);
  settings->addWidget(heightUnit_);
  settings->addSpacing(24);
  settings->addWidget(new QLabel("Nearest person at:", this));
  settings->addWidget(distance_);
  settings->addWidget(distanceUnit_);
  settings->addStretch(1);

  // A box as high as its notes need (FitNotes), up to its most.
  notes_ = new QTextBrowser(this);
  notes_->setObjectName("Notes");
  notes_->setFrameShape(QFrame::NoFrame);
  notes_->setFocusPolicy(Qt::NoFocus);
  notes_->setOpenLinks(false);
  notes_->viewport()->setAutoFillBackground(false);
  notes_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  notes_->setFixedHeight(NotesHeight(kFewestNoteLines));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(view_, 1);
  layout->addWidget(table_);
  layout->addLayout(settings);
  layout->addWidget(notes_);

  ShowSettings(true);
  auto changed = [this] {
    if (showingSettings_) return;
    ReadSettings();
    Refresh();
  };
  connect(height_, &QDoubleSpinBox::valueChanged, this, changed);
  connect(distance_, &QDoubleSpinBox::valueChanged, this, changed);
  connect(&main_, &MainWindow::boardSynced, this, &AssessmentWindow::Refresh);
  resize(1040, 860);
  MakeToolWindow(*this, main_, *main_.ClientPanel(), "assessmentWindow");
}

void AssessmentWindow::SetHeadHeightM(Real metres) {
  headHeightM_ = std::clamp<Real>(metres, kLowestHeadM, kHighestHeadM);
  ShowSettings(metricShown_);
  Refresh();
}

void AssessmentWindow::SetDistanceM(std::optional<Real> metres) {
  distanceM_ = metres && *metres > 0 ? std::optional<Real>(std::min<Real>(*metres, kFarthestM))
                                     : std::nullopt;
  ShowSettings(metricShown_);
  Refresh();
}

void AssessmentWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  notesGrown_ = 0;  // fitted anew to what it shows now
  Refresh();
}

void AssessmentWindow::Refresh() {
  if (!isVisible()) return;
  const StationState& station = main_.Form().State();
  const bool metric = station.MetricUnits;
  if (metric != metricShown_) ShowSettings(metric);
  assess::Options options;
  options.headHeightM = headHeightM_;
  options.distanceM = distanceM_;
  const assess::Assessment a = assess::Assess(station, options);
  chart_->Show(station, a);
  ShowTable(a, metric);
  ShowNotes(a, metric);
}

void AssessmentWindow::ShowTable(const assess::Assessment& a, bool metric) {
  const int rows = int(a.limits.size());
  if (table_->rowCount() != rows) {
    table_->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
      for (int c = 0; c < kColumns; ++c) {
        auto* item = new QTableWidgetItem;
        item->setFlags(Qt::ItemIsEnabled);
        item->setTextAlignment((c == kName ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
        table_->setItem(r, c, item);
      }
    }
    // Every row shows; the table needs no scrolling.
    int height = table_->horizontalHeader()->sizeHint().height() + 2 * table_->frameWidth();
    for (int r = 0; r < rows; ++r) height += table_->rowHeight(r);
    table_->setFixedHeight(height);
  }
  // Only what changed is written: each change lays the header out anew,
  // and only the columns with a change are fitted to their texts again.
  std::array<bool, kColumns> changed{};
  auto set = [this, &changed](int row, int column, const QString& text, bool bold) {
    QTableWidgetItem* item = table_->item(row, column);
    if (item->text() != text) {
      item->setText(text);
      changed[size_t(column)] = true;
    }
    if (item->font().bold() != bold) {
      QFont font = item->font();
      font.setBold(bold);
      item->setFont(font);
      changed[size_t(column)] = true;
    }
  };
  int row = 0;
  for (const assess::LimitEntry& e : a.limits) {
    const bool b = e.selected;
    QString name = QString::fromUtf8(assess::LimitSetName(e.set));
    if (e.selected) name += " (selected)";
    set(row, kName, name, b);
    table_->item(row, kName)->setToolTip(name);
    const bool instantaneous = e.criterion == assess::Criterion::Instantaneous;
    set(row, kAveraging,
        instantaneous        ? QString("instantaneous")
        : e.averagingMinutes ? QString::number(double(*e.averagingMinutes)) + " min"
                             : Dash(),
        b);
    const bool applies = e.applies && e.limitWm2;
    QString at = Dash();
    if (applies && e.frequencyMHz) {
      at = MegahertzText(*e.frequencyMHz);
      const QString why = ReasonText(e.frequencyReason);
      if (e.source == assess::EntrySource::Evaluation && !why.isEmpty()) at += " (" + why + ")";
    }
    set(row, kFrequency, at, b);
    const bool evaluation = e.source == assess::EntrySource::Evaluation;
    const QString where = evaluation && a.upperMHz > a.lowerMHz
                              ? "in " + MegahertzText(a.lowerMHz) + "–" + MegahertzText(a.upperMHz)
                              : "at " + MegahertzText(a.frequencyMHz);
    set(row, kLimit, applies ? DensityText(*e.limitWm2) : "does not apply " + where, b);
    set(row, kKeepOut, applies ? KeepOutText(e, metric) : Dash(), b);
    set(row, kHeadClearance, e.headClearanceM ? LengthText(*e.headClearanceM, metric) : Dash(), b);
    ++row;
  }
  for (int c = kAveraging; c < kColumns; ++c) {
    if (changed[size_t(c)]) table_->resizeColumnToContents(c);
  }
}

void AssessmentWindow::ShowNotes(const assess::Assessment& a, bool metric) {
  QString verdict;
  if (!a.fccExemption) {
    verdict = "the test does not apply at " + Figure(a.frequencyMHz) + " MHz.";
  } else {
    const assess::FccExemption& f = *a.fccExemption;
    verdict =
        "time-averaged ERP " + PowerText(f.erpW) + " at " + MegahertzText(f.frequencyMHz) +
        (ReasonText(f.frequencyReason).isEmpty() ? QString()
                                                 : " (" + ReasonText(f.frequencyReason) + ")") +
        "; exempt from " + LengthText(f.minimumDistanceM, metric) + " (λ/2π is " +
        LengthText(f.reactiveNearFieldM, metric) + ").";
    if (f.distanceM && f.exempt) {
      verdict += " At " + LengthText(*f.distanceM, metric) + ": " +
                 (*f.exempt ? "exempt." : "not exempt; the station needs an exposure evaluation.");
    } else {
      verdict += " Give the distance to the nearest person for a verdict.";
    }
  }
  QString html = "<p><b>FCC exemption by ERP and distance:</b> " + verdict.toHtmlEscaped() + "</p>";
  if (a.warnings.empty()) {
    html += "<p>No warnings.</p>";
  } else {
    html += "<ul style=\"margin-left: 0px; -qt-list-indent: 1;\">";
    for (const std::string& w : a.warnings) {
      html += "<li>" + QString::fromStdString(w).toHtmlEscaped() + "</li>";
    }
    html += "</ul>";
  }
  if (html != notesShown_) {
    notes_->setHtml(html);
    notesShown_ = html;
  }
  FitNotes();
}

int AssessmentWindow::NotesHeight(int lines) const {
  return notes_->fontMetrics().lineSpacing() * lines + 2 * notes_->frameWidth() +
         2 * static_cast<int>(notes_->document()->documentMargin());
}

void AssessmentWindow::FitNotes() {
  // The text at the box's width, and as high as it needs up to its most;
  // while the window is shown the box only grows, so that the plot keeps
  // its place from one station to the next.
  QTextDocument* document = notes_->document();
  const int width = notes_->viewport()->width();
  if (width != notesWidth_) {
    notesWidth_ = width;
    notesGrown_ = 0;
  }
  // Each width set lays the whole text out again, the same width too.
  if (document->textWidth() != width) document->setTextWidth(width);
  const int text =
      static_cast<int>(std::ceil(document->size().height())) + 2 * notes_->frameWidth();
  const int height = std::clamp(std::max(text, notesGrown_), NotesHeight(kFewestNoteLines),
                                NotesHeight(kMostNoteLines));
  notesGrown_ = height;
  if (notes_->height() != height) notes_->setFixedHeight(height);
}

void AssessmentWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (isVisible()) FitNotes();
}

// The settings' boxes in the unit of the station.
void AssessmentWindow::ShowSettings(bool metric) {
  showingSettings_ = true;
  metricShown_ = metric;
  const double unit = metric ? 1.0 : double(kFeetPerMetre);
  const QString suffix = metric ? "m" : "ft";
  height_->setRange(kLowestHeadM * unit, kHighestHeadM * unit);
  height_->setValue(double(headHeightM_) * unit);
  distance_->setRange(0, kFarthestM * unit);
  distance_->setValue(distanceM_ ? double(*distanceM_) * unit : 0.0);
  heightUnit_->setText(suffix);
  distanceUnit_->setText(suffix);
  showingSettings_ = false;
}

void AssessmentWindow::ReadSettings() {
  const double unit = metricShown_ ? 1.0 : double(kFeetPerMetre);
  headHeightM_ = Real(height_->value() / unit);
  const double distance = distance_->value() / unit;
  distanceM_ = distance > 0 ? std::optional<Real>(distance) : std::nullopt;
}

}  // namespace korrin
