// The assessment window and its plot on the offscreen platform: the plot's
// limit line meets the density curve at the keep-out distance, the window
// follows the main window's clicks and station loads, and closing it leaves
// the station alone.
#include <QAction>
#include <QChartView>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QGraphicsScene>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScatterSeries>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QXYSeries>
#include <QtTest>
#include <algorithm>
#include <cmath>

#include "QtTestSupport.h"
#include "assess/Assessment.h"
#include "ui/HeadlessPlatform.h"
#include "ui/qt/assessment/AssessmentPlot.h"
#include "ui/qt/assessment/AssessmentText.h"
#include "ui/qt/assessment/AssessmentWindow.h"
#include "ui/qt/assessment/CurvePoints.h"
#include "ui/qt/assessment/PlotLayout.h"
#include "ui/qt/calculator/Widgets.h"

using namespace korrin;
using namespace korrin::test;

namespace {

// One click of the main window: a handler, after an item or a track bar
// position is set where `control` names one.
struct Step {
  const char* handler;
  const char* control = nullptr;
  int value = 0;
};

using Steps = std::vector<Step>;

void Apply(MainWindow& window, const Steps& steps) {
  for (const Step& s : steps) {
    if (s.control != nullptr) {
      Control& c = window.Form().Board()[s.control];
      if (std::string_view(s.control).rfind("TrackBar", 0) == 0) {
        c.position = s.value;
      } else {
        c.itemIndex = s.value;
      }
    }
    QVERIFY2(window.RunHandler(s.handler), s.handler);
  }
}

// The stations the plot is checked on.
const Steps kStartUp{};
const Steps kDish1296{{"RadioGroup1Click", "RadioGroup1", 5}};
const Steps kDish1296TwoRanges{{"RadioGroup1Click", "RadioGroup1", 5},
                               {"RadioGroup5Click", "RadioGroup5", 3}};
const Steps kYagiArray{{"Panel46Click"}};
const Steps kHfDipoleOnTower{{"HF_SelectClick"}, {"TrackBar1Change", "TrackBar1", 20}};

// The table's row of the selected limit set, -1 when none is marked.
int SelectedRow(QTableWidget* table) {
  for (int r = 0; r < table->rowCount(); ++r) {
    if (table->item(r, AssessmentWindow::kName)->text().endsWith("(selected)")) return r;
  }
  return -1;
}

QString Cell(QTableWidget* table, int row, int column) {
  return row < 0 ? QString() : table->item(row, column)->text();
}

// How far (in decades of density) the farthest of `points` lies from the
// line drawn through `curve` on the plot's logarithmic axes; infinite for a
// point beyond the curve's ends.
double FarthestFromTheLine(const QList<QPointF>& curve, const QList<QPointF>& points) {
  double most = 0;
  for (const QPointF& p : points) {
    const auto after = std::lower_bound(curve.begin(), curve.end(), p.x(),
                                        [](const QPointF& c, double x) { return c.x() < x; });
    if (after == curve.end() || (after == curve.begin() && after->x() != p.x())) return HUGE_VAL;
    double y = std::log10(after->y());
    if (after->x() != p.x()) {
      const QPointF& before = *(after - 1);
      const double t = std::log10(p.x() / before.x()) / std::log10(after->x() / before.x());
      y = std::log10(before.y()) + t * std::log10(after->y() / before.y());
    }
    most = std::max(most, std::fabs(y - std::log10(p.y())));
  }
  return most;
}

// Everything the chart draws that follows from the station it shows: its
// texts, its axes' ranges, and the pens, names and points of the series it
// shows.
QStringList Drawn(const AssessmentChart& chart) {
  QStringList drawn{chart.Title()};
  for (const QString& label : chart.MarkerLabels()) drawn << "marker " + label;
  for (const QString& entry : chart.LegendEntries()) drawn << "legend " + entry;
  for (const auto& [from, to] : chart.ShadedRanges())
    drawn << QString("shaded %1 %2").arg(from).arg(to);
  drawn << QString("keep-out marker %1").arg(chart.KeepOutMarker());
  for (QAbstractAxis* axis : chart.axes()) {
    auto* log = qobject_cast<QLogValueAxis*>(axis);
    drawn << QString("axis %1 %2 %3").arg(axis->titleText()).arg(log->min()).arg(log->max());
  }
  for (QAbstractSeries* series : chart.series()) {
    if (!series->isVisible()) continue;
    auto* xy = qobject_cast<QXYSeries*>(series);
    QString line = "series " + series->name();
    QDebug(&line) << xy->pen() << xy->color() << xy->points();
    drawn << line;
  }
  return drawn;
}

}  // namespace

Q_DECLARE_METATYPE(Steps)

class AssessmentTest : public QObject {
  Q_OBJECT
 private slots:
  // Read from the chart's series: the outermost point where the density
  // curve falls through the selected limit's line lies between the same two
  // profile points as the model's crossing, which is the keep-out distance
  // unless the window's own figure reaches farther; the keep-out marker
  // stands at the keep-out distance.
  void limitLineMeetsTheCurveAtTheKeepOutDistance_data() {
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<bool>("windowFigureFarther");
    QTest::newRow("start-up dish") << kStartUp << true;
    QTest::newRow("1296 MHz dish, two ranges") << kDish1296TwoRanges << false;
    QTest::newRow("yagi array") << kYagiArray << false;
    QTest::newRow("HF dipole on a tower") << kHfDipoleOnTower << false;
    QTest::newRow("dish, AS2772") << Steps{{"Panel75Click"}} << true;
    QTest::newRow("dish in feet") << Steps{{"Button2Click"}} << true;
  }
  void limitLineMeetsTheCurveAtTheKeepOutDistance() {
    QFETCH(Steps, steps);
    QFETCH(bool, windowFigureFarther);
    Desk desk;
    QVERIFY(desk.Open());
    Apply(desk.window, steps);
    const StationState& station = desk.form.State();
    const assess::Assessment a = assess::Assess(station);
    const assess::LimitEntry* selected = a.Selected();
    QVERIFY(selected != nullptr && selected->applies && selected->limitWm2);
    QVERIFY2(selected->keepOutM && *selected->keepOutM > 0, "the station has a keep-out distance");
    QVERIFY(selected->crossingM && *selected->crossingM > 0);

    AssessmentChart chart;
    chart.Show(station, a);
    const double unit = station.MetricUnits ? 1.0 : 3.28;
    QLineSeries* limit = chart.LimitLine(selected->set);
    QVERIFY(limit != nullptr);
    const QList<QPointF> line = limit->points();
    QCOMPARE(line.size(), 2);
    const double y = line[0].y();
    QCOMPARE(line[1].y(), y);
    QVERIFY(std::fabs(y - double(*selected->limitWm2)) <= 1e-12 * y);

    const QList<QPointF> curve = chart.Curve()->points();
    QVERIFY(curve.size() > 10);
    qsizetype last = -1;  // the farthest point above the line
    for (qsizetype i = 0; i < curve.size(); ++i) {
      if (curve[i].y() > y) last = i;
    }
    QVERIFY2(last >= 0 && last + 1 < curve.size(), "the curve falls through the line");
    const double lo = curve[last].x() * (1 - 1e-12);
    const double hi = curve[last + 1].x() * (1 + 1e-12);
    const double crossing = double(*selected->crossingM) * unit;
    const double keepOut = double(*selected->keepOutM) * unit;
    QVERIFY2(lo <= crossing && crossing <= hi,
             qPrintable(QString("crossing %1 outside [%2, %3]").arg(crossing).arg(lo).arg(hi)));
    QCOMPARE(lo <= keepOut && keepOut <= hi, !windowFigureFarther);
    QVERIFY(keepOut >= crossing * (1 - 1e-12));
    QVERIFY(std::fabs(chart.KeepOutMarker() - keepOut) <= 1e-9 * keepOut);
    // The shading ends where the curve meets the line.
    QVERIFY(!chart.ShadedRanges().empty());
    const double shadedTo = chart.ShadedRanges().back().second;
    QVERIFY(shadedTo >= lo && shadedTo <= hi);
    // Every point lies within the axes.
    auto* x = qobject_cast<QLogValueAxis*>(chart.axes(Qt::Horizontal).value(0));
    QVERIFY(x != nullptr);
    QVERIFY(x->min() <= curve.first().x() && x->max() >= curve.last().x());
  }

  // Today's limits: each one's dot stands on its limit line at its keep-out
  // distance, where the evaluation's own density (drawn at the frequency
  // and under the criterion of its figures) falls through the line.
  void evaluationCurvesMeetTheirLimitsAtTheDots_data() {
    QTest::addColumn<Steps>("steps");
    QTest::newRow("start-up dish") << kStartUp;
    QTest::newRow("yagi array") << kYagiArray;
    QTest::newRow("HF dipole on a tower") << kHfDipoleOnTower;
    QTest::newRow("dish in feet") << Steps{{"Button2Click"}};
  }
  void evaluationCurvesMeetTheirLimitsAtTheDots() {
    QFETCH(Steps, steps);
    Desk desk;
    QVERIFY(desk.Open());
    Apply(desk.window, steps);
    const StationState& station = desk.form.State();
    const assess::Assessment a = assess::Assess(station);
    AssessmentChart chart;
    chart.Show(station, a);
    const double unit = station.MetricUnits ? 1.0 : 3.28;
    int dots = 0;
    for (const assess::LimitEntry& e : a.limits) {
      QScatterSeries* dot = chart.KeepOutDot(e.set);
      QLineSeries* curve = chart.EvaluationCurve(e.set);
      if (e.source == assess::EntrySource::Calculator) {
        QVERIFY(dot == nullptr && curve == nullptr);
        continue;
      }
      const QString name = assess::LimitSetId(e.set);
      QVERIFY2(curve != nullptr && curve->isVisible(), qPrintable(name));
      if (!(*e.keepOutM > 0)) {
        QVERIFY2(dot == nullptr, qPrintable(name));
        continue;
      }
      ++dots;
      QVERIFY2(dot != nullptr && dot->points().size() == 1, qPrintable(name));
      const double limit = double(*e.limitWm2);
      const double keepOut = double(*e.keepOutM) * unit;
      QCOMPARE(dot->points()[0].y(), limit);
      QVERIFY(std::fabs(dot->points()[0].x() - keepOut) <= 1e-9 * keepOut);
      QCOMPARE(dot->color(), chart.LimitLine(e.set)->pen().color());
      const QList<QPointF> points = curve->points();
      qsizetype last = -1;  // the farthest point above the line
      for (qsizetype i = 0; i < points.size(); ++i) {
        if (points[i].y() > limit) last = i;
      }
      QVERIFY2(last >= 0 && last + 1 < points.size(), qPrintable(name));
      QVERIFY2(
          points[last].x() <= keepOut * (1 + 1e-9) && points[last + 1].x() >= keepOut * (1 - 1e-9),
          qPrintable(QString("%1: %2 outside [%3, %4]")
                         .arg(name)
                         .arg(keepOut)
                         .arg(points[last].x())
                         .arg(points[last + 1].x())));
    }
    QVERIFY(dots >= 1);
  }

  // A curve keeps its ends, both points about each crossing of a limit line
  // and of each step that does not go forwards, and only points that lie on
  // the line drawn past them are left out.
  void curvePointsLeaveOutOnlyPointsOnTheLine_data() {
    QTest::addColumn<QList<QPointF>>("points");
    QTest::addColumn<std::vector<double>>("levels");
    QTest::addColumn<qsizetype>("most");  // points drawn at most
    const auto along = [](double from, double to, int perDecade, auto density) {
      QList<QPointF> points;
      const int n = int(std::lround(std::log10(to / from) * perDecade));
      for (int i = 0; i <= n; ++i) {
        const double x = from * std::pow(10.0, double(i) / perDecade);
        points.append(QPointF(x, density(x)));
      }
      return points;
    };
    const auto farField = [](double x) { return 100.0 / (x * x); };
    QTest::newRow("far field") << along(0.1, 100, 10, farField) << std::vector<double>{}
                               << qsizetype(2);
    QTest::newRow("far field through two limits")
        << along(0.1, 100, 10, farField) << std::vector<double>{3.0, 0.5} << qsizetype(6);
    QTest::newRow("level, then the far field")
        << along(0.1, 100, 30, [](double x) { return std::min(20.0, 100.0 / (x * x)); })
        << std::vector<double>{} << qsizetype(4);
    QTest::newRow("near-field wiggles")
        << along(1, 300, 300, [](double x) { return 8.0 + 2.0 * std::sin(6.0 * std::log(x)); })
        << std::vector<double>{9.0} << qsizetype(400);
    QList<QPointF> backwards = along(1, 10, 10, farField);
    backwards.insert(5, backwards[5]);
    QTest::newRow("a step that does not go forwards")
        << backwards << std::vector<double>{} << qsizetype(4);
  }
  void curvePointsLeaveOutOnlyPointsOnTheLine() {
    QFETCH(QList<QPointF>, points);
    QFETCH(std::vector<double>, levels);
    QFETCH(qsizetype, most);
    const QList<QPointF> drawn = CurvePoints(points, levels);
    QVERIFY2(drawn.size() <= most, qPrintable(QString::number(drawn.size())));
    QCOMPARE(drawn.first(), points.first());
    QCOMPARE(drawn.last(), points.last());
    // The points drawn are the curve's own, in order.
    qsizetype at = 0;
    for (const QPointF& p : drawn) {
      while (at < points.size() && points[at] != p) ++at;
      QVERIFY2(at < points.size(), qPrintable(QString("%1, %2").arg(p.x()).arg(p.y())));
    }
    QVERIFY(FarthestFromTheLine(drawn, points) <= kCurveToleranceDecades * (1 + 1e-9));
    for (qsizetype i = 1; i < points.size(); ++i) {
      const bool crosses = std::any_of(levels.begin(), levels.end(), [&](double level) {
        return (points[i - 1].y() > level) != (points[i].y() > level);
      });
      if (crosses || points[i].x() <= points[i - 1].x()) {
        const qsizetype k = drawn.indexOf(points[i - 1]);
        QVERIFY2(k >= 0 && k + 1 < drawn.size() && drawn[k + 1] == points[i],
                 qPrintable(QString("step %1").arg(i)));
      }
    }
  }

  // A chart that showed another station first draws the station it shows
  // now exactly as a chart that shows only it: nothing of the first stays.
  void aChartShownAgainDrawsAsAFreshOne_data() {
    QTest::addColumn<Steps>("before");
    QTest::addColumn<Steps>("after");
    QTest::newRow("dish, then HF dipole") << kStartUp << kHfDipoleOnTower;
    QTest::newRow("HF dipole, then dish") << kHfDipoleOnTower << kStartUp;
    QTest::newRow("432 MHz, then 1296 MHz") << kStartUp << kDish1296TwoRanges;
    QTest::newRow("1296 MHz, then yagi") << kDish1296TwoRanges << kYagiArray;
    QTest::newRow("metres, then feet") << kStartUp << Steps{{"Button2Click"}};
    QTest::newRow("the same station again") << kYagiArray << kYagiArray;
  }
  void aChartShownAgainDrawsAsAFreshOne() {
    QFETCH(Steps, before);
    QFETCH(Steps, after);
    Desk first;
    QVERIFY(first.Open());
    Apply(first.window, before);
    Desk second;
    QVERIFY(second.Open());
    Apply(second.window, after);
    const StationState& station = second.form.State();
    const assess::Assessment a = assess::Assess(station);
    QGraphicsScene scene;
    auto* shownTwice = new AssessmentChart;  // the scene owns both
    auto* fresh = new AssessmentChart;
    for (AssessmentChart* chart : {shownTwice, fresh}) {
      scene.addItem(chart);
      chart->setGeometry(QRectF(0, 0, 900, 600));
    }
    shownTwice->Show(first.form.State(), assess::Assess(first.form.State()));
    shownTwice->Settle();
    shownTwice->Show(station, a);
    shownTwice->Settle();
    fresh->Show(station, a);
    fresh->Settle();
    const QStringList twice = Drawn(*shownTwice);
    const QStringList once = Drawn(*fresh);
    QVERIFY(once.size() > 10);
    for (qsizetype i = 0; i < std::max(twice.size(), once.size()); ++i) {
      QCOMPARE(twice.value(i), once.value(i));
    }
    QCOMPARE(shownTwice->TitleRect(), fresh->TitleRect());
  }

  // The dish's two ranges are shaded apart, the gap between them not.
  void dishRangesAreShadedWithTheirGap() {
    Desk desk;
    QVERIFY(desk.Open());
    Apply(desk.window, kDish1296TwoRanges);
    QVERIFY(desk.Board("Panel63").visible);
    const assess::Assessment a = assess::Assess(desk.form.State());
    AssessmentChart chart;
    chart.Show(desk.form.State(), a);
    const auto& ranges = chart.ShadedRanges();
    QVERIFY2(ranges.size() >= 2, qPrintable(QString::number(ranges.size())));
    const double limit = double(*a.Selected()->limitWm2);
    // A point of the curve inside the gap lies below the limit.
    bool gapBelow = false;
    for (const QPointF& p : chart.Curve()->points()) {
      if (p.x() > ranges[0].second && p.x() < ranges[1].first) gapBelow = gapBelow || p.y() < limit;
    }
    QVERIFY(gapBelow);
  }

  // Every limit set that applies has its line, named in the legend; the
  // others have none.
  void aLineForEveryLimitSetThatApplies_data() {
    QTest::addColumn<Steps>("steps");
    QTest::newRow("start-up dish") << kStartUp;
    QTest::newRow("HF dipole on a tower") << kHfDipoleOnTower;
    QTest::newRow("hand-set limit") << Steps{{"Panel79Click"}};
  }
  void aLineForEveryLimitSetThatApplies() {
    QFETCH(Steps, steps);
    Desk desk;
    QVERIFY(desk.Open());
    Apply(desk.window, steps);
    const assess::Assessment a = assess::Assess(desk.form.State());
    AssessmentChart chart;
    chart.Show(desk.form.State(), a);
    int lines = 0;
    const QLineSeries* selected = chart.LimitLine(a.Selected()->set);
    QVERIFY(selected != nullptr);
    for (const assess::LimitEntry& e : a.limits) {
      QLineSeries* line = chart.LimitLine(e.set);
      QCOMPARE(line != nullptr, e.applies && e.limitWm2.has_value());
      if (line == nullptr) continue;
      ++lines;
      QVERIFY(line->isVisible());
      QVERIFY2(line->name().startsWith(ShortLimitName(e.set)), qPrintable(line->name()));
      QCOMPARE(line->name().endsWith("(selected)"), e.selected);
      // The selected standard's line is the strongest.
      if (!e.selected) QVERIFY(line->pen().widthF() < selected->pen().widthF());
    }
    QVERIFY(lines >= 2);
  }

  void plotMarksTheBoundariesInTheStationsUnit_data() {
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<QStringList>("labels");
    const QStringList dish{"λ/2π", "FCC exempt from", "far-field boundary", "keep-out"};
    QTest::newRow("dish") << kStartUp << dish;
    QTest::newRow("dish in feet") << Steps{{"Button2Click"}} << dish;
    QTest::newRow("yagi array") << kYagiArray << QStringList{"λ/2π", "FCC exempt from", "keep-out"};
  }
  void plotMarksTheBoundariesInTheStationsUnit() {
    QFETCH(Steps, steps);
    QFETCH(QStringList, labels);
    Desk desk;
    QVERIFY(desk.Open());
    Apply(desk.window, steps);
    const assess::Assessment a = assess::Assess(desk.form.State());
    AssessmentChart chart;
    chart.Show(desk.form.State(), a);
    const std::vector<QString> shown = chart.MarkerLabels();
    QCOMPARE(int(shown.size()), int(labels.size()));
    const QString unit = desk.form.State().MetricUnits ? " m" : " ft";
    for (const QString& start : labels) {
      bool found = false;
      for (const QString& s : shown) found = found || (s.startsWith(start) && s.endsWith(unit));
      QVERIFY2(found, qPrintable(start));
    }
    QVERIFY(chart.Title().contains(desk.form.State().MetricUnits ? " m" : " ft"));
  }

  // The density is drawn from the plot's left edge (the antenna's side of
  // lambda / 2 pi): for a dish at its near field's level, the larger of the
  // model's first near-field sample and the aperture's on-axis maximum
  // 16 eta P / (pi D^2); for an antenna known by its gain along its
  // far-field formula.  Where that lies above the selected limit, the
  // shading starts at the edge too.
  void curveAndShadingStartAtTheAntenna_data() {
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<bool>("shadedFromTheEdge");
    QTest::newRow("start-up dish") << kStartUp << true;
    QTest::newRow("dish at 2304 MHz, near field below 10 W/m²")
        << Steps{{"RadioGroup1Click", "RadioGroup1", 6}} << false;
    QTest::newRow("dish at 100 W")
        << Steps{{"RadioGroup4Click", "RadioGroup4", 0}, {"RadioGroup5Click", "RadioGroup5", 1}}
        << false;
    QTest::newRow("yagi at 144 MHz")
        << Steps{{"RadioGroup1Click", "RadioGroup1", 1}, {"Panel46Click"}} << true;
    QTest::newRow("HF dipole on a tower, in feet")
        << Steps{{"HF_SelectClick"}, {"TrackBar1Change", "TrackBar1", 20}, {"Button2Click"}}
        << true;
  }
  void curveAndShadingStartAtTheAntenna() {
    QFETCH(Steps, steps);
    QFETCH(bool, shadedFromTheEdge);
    Desk desk;
    QVERIFY(desk.Open());
    Apply(desk.window, steps);
    const StationState& s = desk.form.State();
    const assess::Assessment a = assess::Assess(s);
    AssessmentChart chart;
    chart.Show(s, a);
    const double unit = s.MetricUnits ? 1.0 : 3.28;
    auto* x = qobject_cast<QLogValueAxis*>(chart.axes(Qt::Horizontal).value(0));
    QVERIFY(x != nullptr);
    QVERIFY(x->min() <= double(a.reactiveNearFieldM) * unit);
    const QList<QPointF> curve = chart.Curve()->points();
    QVERIFY(curve.size() > 2);
    QVERIFY(std::fabs(curve.first().x() - x->min()) <= 1e-12 * x->min());
    if (s.DishSelected) {
      const Real diameterM = s.DishDiameterCopyCm / 100.0L;
      const Real aperture = 16.0L * s.DishEfficiency * s.FeedPowerW * s.OverallDutyFactor /
                            (3.14159265358979323846L * diameterM * diameterM);
      const Real firstSample = assess::DensityAlongBeam(s, 0.005L * s.FarFieldBoundaryM);
      const double level = double(std::max(aperture, firstSample));
      QVERIFY2(std::fabs(curve.first().y() - level) <= 1e-9 * level,
               qPrintable(QString("%1 against %2").arg(curve.first().y()).arg(level)));
      // Level up to the first near-field sample.
      QCOMPARE(curve[1].y(), curve.first().y());
    } else {
      const double formula = double(assess::DensityAlongBeam(s, Real(curve.first().x() / unit)));
      QVERIFY2(std::fabs(curve.first().y() - formula) <= 1e-9 * formula,
               qPrintable(QString("%1 against %2").arg(curve.first().y()).arg(formula)));
    }
    const auto& shaded = chart.ShadedRanges();
    const bool fromTheEdge =
        !shaded.empty() && std::fabs(shaded.front().first - x->min()) <= 1e-12 * x->min();
    QCOMPARE(fromTheEdge, shadedFromTheEdge);
  }

  // Nothing the plot writes covers anything else it writes, whatever the
  // station and at every size it is drawn: the window's, the file's, the
  // record's and a narrow window's.
  void textsNeverCoverOneAnother_data() {
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<QSizeF>("size");
    const std::pair<const char*, Steps> stations[] = {
        {"start-up dish", kStartUp},
        {"dish at 2304 MHz", Steps{{"RadioGroup1Click", "RadioGroup1", 6}}},
        {"1296 MHz dish, two ranges", kDish1296TwoRanges},
        {"yagi at 144 MHz in feet",
         Steps{{"RadioGroup1Click", "RadioGroup1", 1}, {"Panel46Click"}, {"Button2Click"}}},
        {"HF dipole on a tower", kHfDipoleOnTower},
    };
    const std::pair<const char*, QSizeF> sizes[] = {
        {"file", QSizeF(1000, 720)},
        {"record", QSizeF(760, 560)},
        {"window", QSizeF(1020, 480)},
        {"narrow window", QSizeF(520, 460)},
    };
    for (const auto& [station, steps] : stations) {
      for (const auto& [where, size] : sizes) {
        QTest::addRow("%s, %s", station, where) << steps << size;
      }
    }
  }
  void textsNeverCoverOneAnother() {
    QFETCH(Steps, steps);
    QFETCH(QSizeF, size);
    Desk desk;
    QVERIFY(desk.Open());
    Apply(desk.window, steps);
    const assess::Assessment a = assess::Assess(desk.form.State());
    QGraphicsScene scene;
    auto* chart = new AssessmentChart;  // the scene owns it
    scene.addItem(chart);
    chart->setGeometry(QRectF(QPointF(0, 0), size));
    chart->Show(desk.form.State(), a);
    chart->Settle();
    const QRectF whole(QPointF(0, 0), size);
    const QRectF plot = chart->plotArea();
    const QRectF title = chart->TitleRect();
    QVERIFY(whole.contains(title));
    QVERIFY(!title.intersects(plot));

    const std::vector<QRectF> labels = chart->MarkerLabelRects();
    const std::vector<QLineF> leaders = chart->MarkerLeaders();
    QCOMPARE(labels.size(), chart->MarkerLabels().size());
    QCOMPARE(leaders.size(), labels.size());
    for (size_t i = 0; i < labels.size(); ++i) {
      const QString name = chart->MarkerLabels()[i];
      QVERIFY2(whole.contains(labels[i]), qPrintable(name));
      QVERIFY2(!labels[i].intersects(plot), qPrintable(name));
      QVERIFY2(!labels[i].intersects(title), qPrintable(name));
      for (size_t j = 0; j < labels.size(); ++j) {
        if (j == i) continue;
        QVERIFY2(!labels[i].intersects(labels[j]),
                 qPrintable(name + " on " + chart->MarkerLabels()[j]));
        // No leader runs through another label.
        const QLineF& l = leaders[j];
        const bool across = l.x1() >= labels[i].left() && l.x1() <= labels[i].right() &&
                            std::min(l.y1(), l.y2()) < labels[i].bottom() &&
                            std::max(l.y1(), l.y2()) > labels[i].top();
        QVERIFY2(!across, qPrintable(chart->MarkerLabels()[j] + "'s leader through " + name));
      }
    }

    const std::vector<QRectF> legend = chart->LegendRects();
    QCOMPARE(legend.size(), chart->LegendEntries().size());
    QVERIFY(legend.size() >= 3);
    for (size_t i = 0; i < legend.size(); ++i) {
      const QString name = chart->LegendEntries()[i];
      QVERIFY2(whole.contains(legend[i]), qPrintable(name));
      QVERIFY2(legend[i].top() > plot.bottom(), qPrintable(name));
      for (size_t j = i + 1; j < legend.size(); ++j) {
        QVERIFY2(!legend[i].intersects(legend[j]), qPrintable(name));
      }
    }
  }

  // Limits that are equal at the band are drawn on one another: each line
  // takes its turn with its dashes, so that every colour shows, and the
  // legend names them in one entry with "=".
  void coincidingLimitsAreAllSeen_data() {
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<QString>("entry");
    // Today's limits at the band's edge beside the calculator's at its point.
    QTest::newRow("2304 MHz")
        << Steps{{"RadioGroup1Click", "RadioGroup1", 6}}
        << "FCC general = ICNIRP 2020 = FCC (calculator) (selected) = ARPANSA 2002 10.0 W/m²";
    QTest::newRow("2304 MHz, occupational")
        << Steps{{"RadioGroup1Click", "RadioGroup1", 6}}
        << "FCC occupational = ICNIRP 2020 occupational 50.0 W/m²";
    QTest::newRow("144 MHz") << Steps{{"RadioGroup1Click", "RadioGroup1", 1}}
                             << "FCC general = ICNIRP 2020 = FCC (calculator) (selected) = "
                                "ARPANSA 2002 = AS2772 2.00 W/m²";
  }
  void coincidingLimitsAreAllSeen() {
    QFETCH(Steps, steps);
    QFETCH(QString, entry);
    Desk desk;
    QVERIFY(desk.Open());
    Apply(desk.window, steps);
    const assess::Assessment a = assess::Assess(desk.form.State());
    AssessmentChart chart;
    chart.Show(desk.form.State(), a);
    const std::vector<QString> entries = chart.LegendEntries();
    QVERIFY2(std::find(entries.begin(), entries.end(), entry) != entries.end(),
             qPrintable(QStringList(entries.begin(), entries.end()).join(" | ")));
    // The lines of that entry: one value, dashes of one period, each line
    // starting its dash where no other does.
    // The entry's names: "A = B (selected) = C 10.0 W/m²".
    QStringList names = entry.split(" = ");
    names.back().remove(QRegularExpression(" [0-9.]+ W/m²$"));
    for (QString& name : names) name.remove(" (selected)");
    std::vector<QLineSeries*> lines;
    for (const assess::LimitEntry& e : a.limits) {
      QLineSeries* line = chart.LimitLine(e.set);
      if (line != nullptr && names.contains(ShortLimitName(e.set))) lines.push_back(line);
    }
    QCOMPARE(int(lines.size()), int(entry.count(" = ")) + 1);
    std::vector<double> starts;
    double period = 0;
    for (QLineSeries* line : lines) {
      QCOMPARE(line->points().first().y(), lines.front()->points().first().y());
      const QPen pen = line->pen();
      const QList<qreal> pattern = pen.dashPattern();
      QCOMPARE(pattern.size(), 2);
      const double width = pen.widthF();
      const double p = (pattern[0] + pattern[1]) * width;
      if (period == 0) period = p;
      QVERIFY(std::fabs(p - period) < 1e-9);
      QCOMPARE(pen.capStyle(), Qt::FlatCap);  // no dash spills over its neighbour's
      const double start = std::fmod(period - pen.dashOffset() * width, period);
      for (double other : starts) QVERIFY(std::fabs(other - start) >= pattern[0] * width - 1e-9);
      starts.push_back(start);
    }
  }

  // The layout's rules, case by case.
  void labelPlaces_data() {
    QTest::addColumn<QList<double>>("widths");
    QTest::addColumn<QList<double>>("anchors");
    QTest::addColumn<QList<double>>("lefts");
    QTest::addColumn<QList<int>>("rows");
    // Leaders 3 apart from their texts, labels 8 apart, inside [0, 400].
    QTest::newRow("apart: one row, on the right") << QList<double>{50, 50} << QList<double>{10, 200}
                                                  << QList<double>{13, 203} << QList<int>{0, 0};
    // The first would cover the second's leader: the second stands below it.
    QTest::newRow("close: the right one lower") << QList<double>{120, 60} << QList<double>{10, 60}
                                                << QList<double>{13, 63} << QList<int>{1, 0};
    // No room on the right at the chart's edge: on the left of the leader.
    QTest::newRow("at the right edge")
        << QList<double>{100} << QList<double>{350} << QList<double>{247} << QList<int>{0};
    QTest::newRow("none") << QList<double>{} << QList<double>{} << QList<double>{} << QList<int>{};
  }
  void labelPlaces() {
    QFETCH(QList<double>, widths);
    QFETCH(QList<double>, anchors);
    QFETCH(QList<double>, lefts);
    QFETCH(QList<int>, rows);
    const std::vector<LabelSpan> got =
        PlaceLabels(std::vector<double>(widths.begin(), widths.end()),
                    std::vector<double>(anchors.begin(), anchors.end()), 0, 400, 3, 8);
    QCOMPARE(qsizetype(got.size()), rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
      QCOMPARE(got[i].left, lefts[i]);
      QCOMPARE(got[i].row, rows[i]);
      for (qsizetype j = 0; j < rows.size(); ++j) {
        if (j != i) QVERIFY(!LeaderThrough(got[j], got[i]));
      }
    }
  }

  void wrapRows_data() {
    QTest::addColumn<QList<double>>("widths");
    QTest::addColumn<double>("room");
    QTest::addColumn<QList<int>>("rows");
    QTest::newRow("one row") << QList<double>{100, 100, 100} << 300.0 << QList<int>{0, 0, 0};
    QTest::newRow("wraps") << QList<double>{100, 100, 100} << 299.0 << QList<int>{0, 0, 1};
    QTest::newRow("too wide alone") << QList<double>{400, 50} << 300.0 << QList<int>{0, 1};
  }
  void wrapRows() {
    QFETCH(QList<double>, widths);
    QFETCH(double, room);
    QFETCH(QList<int>, rows);
    const std::vector<int> got = WrapRows(std::vector<double>(widths.begin(), widths.end()), room);
    QCOMPARE(QList<int>(got.begin(), got.end()), rows);
  }

  // A band click, a standard toggle and a station load each show at once.
  void windowFollowsTheMainWindow() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath("yagi-144.rsd");
    {
      // A station saved by the window logic: the yagi array at 144 MHz.
      HeadlessPlatform headless;
      TForm1 form(headless);
      form.FormActivate();
      form.Board()["RadioGroup1"].itemIndex = 1;
      form.RadioGroup1Click();
      form.Panel46Click();
      headless.dialogAnswers.push_back(file.toStdString());
      form.Save_DataClick();
      QVERIFY(headless.messages.empty());
    }

    Desk desk;
    QVERIFY(desk.Open());
    desk.window.ShowAssessment();
    AssessmentWindow* w = desk.window.Assessment();
    QVERIFY(w != nullptr && w->isVisible());
    QTableWidget* table = w->Table();
    auto limitShown = [&] { return Cell(table, SelectedRow(table), AssessmentWindow::kLimit); };
    auto keepOutShown = [&] { return Cell(table, SelectedRow(table), AssessmentWindow::kKeepOut); };
    const QString limitAt432 = limitShown();
    const QString keepOutAt432 = keepOutShown();
    QVERIFY(w->Chart()->Title().contains("432 MHz"));

    Click(desk.Widget<RadioGroupBox>("RadioGroup1")->Item(5));  // 1296 MHz
    QVERIFY(w->Chart()->Title().contains("1296 MHz"));
    QVERIFY(limitShown() != limitAt432);
    QVERIFY(keepOutShown() != keepOutAt432);

    const QString standard = Cell(table, SelectedRow(table), AssessmentWindow::kName);
    Click(desk.Widget<QWidget>("Panel75"));  // AS2772
    QVERIFY(SelectedRow(table) >= 0);
    QVERIFY(Cell(table, SelectedRow(table), AssessmentWindow::kName) != standard);
    QVERIFY(Cell(table, SelectedRow(table), AssessmentWindow::kName).contains("2772"));

    ModalAnswer answer([&file](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      auto* name = dialog ? dialog->findChild<QLineEdit*>("fileNameEdit") : nullptr;
      if (name != nullptr) {
        name->setText(file);
        static_cast<QDialog*>(dialog)->accept();  // as the OK button does
      } else {
        modal->close();
      }
    });
    // The clicks above changed the station: the load asks first, and goes ahead.
    desk.platform.questionAnswer = [](const Question& q) { return q.goAhead; };
    desk.window.RunHandler("Get_FileClick");
    QVERIFY(answer.Seen());
    QVERIFY(desk.form.State().YagiSelected);
    QVERIFY(w->Chart()->Title().contains("144 MHz"));
    QVERIFY(w->Chart()->Title().contains("yagi"));
    // What the window shows is the assessment of the main window's station.
    const assess::Assessment a = assess::Assess(desk.form.State());
    QCOMPARE(table->rowCount(), int(a.limits.size()));
    // The curve is the profile's, carried on to the plot's left edge: its
    // points are the profile's own, and the profile's points left out lie
    // on the line drawn.
    const QList<QPointF> curve = w->Chart()->Curve()->points();
    QList<QPointF> profile;
    for (const assess::DensityPoint& p : a.profile) {
      profile.append(QPointF(double(p.distanceM), double(p.densityWm2)));
    }
    QVERIFY(curve.first().x() < profile.first().x());
    for (qsizetype i = 1; i < curve.size(); ++i) {
      QVERIFY2(profile.contains(curve[i]), qPrintable(QString::number(i)));
    }
    QCOMPARE(curve.last(), profile.last());
    QVERIFY(FarthestFromTheLine(curve, profile) <= kCurveToleranceDecades * (1 + 1e-9));
  }

  // Closing the window and opening it again (menu, double-click) changes no
  // station value and no display of the main window.
  void closingAndReopeningKeepsTheStation() {
    Desk desk;
    QVERIFY(desk.Open());
    Apply(desk.window, kDish1296);
    const StationState before = desk.form.State();
    const ControlBoard boardBefore = desk.form.Board();
    const bool modifiedBefore = desk.window.isWindowModified();

    desk.window.ShowAssessment();
    AssessmentWindow* w = desk.window.Assessment();
    w->HeadHeightBox()->setValue(1.7);
    w->DistanceBox()->setValue(25);
    QVERIFY(w->DistanceM().has_value());
    w->close();
    QVERIFY(!w->isVisible());
    desk.window.menuBar()->findChild<QAction*>("ShowAssessment")->trigger();
    QVERIFY(w->isVisible());
    QCOMPARE(desk.window.Assessment(), w);
    w->close();
    QTest::mouseDClick(desk.window.ControlWidget("Panel64"), Qt::LeftButton);
    QVERIFY(w->isVisible());
    w->DistanceBox()->setValue(0);
    QVERIFY(!w->DistanceM().has_value());
    w->close();

    QVERIFY(SameStation(before, desk.form.State()));
    QCOMPARE(desk.window.isWindowModified(), modifiedBefore);
    for (const std::string& name : boardBefore.names()) {
      QCOMPARE(QString::fromStdString(desk.Board(name).text),
               QString::fromStdString(boardBefore.at(name).text));
    }
  }

  // The settings reach the assessment: the verdict at the distance given.
  void exemptionVerdictFollowsTheDistance_data() {
    QTest::addColumn<double>("distanceM");
    QTest::addColumn<QString>("verdict");
    QTest::newRow("none") << 0.0 << "Give the distance";
    QTest::newRow("near") << 0.5 << "not exempt";
    QTest::newRow("far") << 50000.0 << ": exempt.";
  }
  void exemptionVerdictFollowsTheDistance() {
    QFETCH(double, distanceM);
    QFETCH(QString, verdict);
    Desk desk;
    QVERIFY(desk.Open());
    desk.window.ShowAssessment();
    AssessmentWindow* w = desk.window.Assessment();
    w->SetDistanceM(distanceM > 0 ? std::optional<Real>(distanceM) : std::nullopt);
    const QString notes = w->Notes()->toPlainText();
    QVERIFY2(notes.contains(verdict), qPrintable(notes));
  }

  // The notes' box grows with the warnings: every one in sight without
  // scrolling, the box no higher than its text needs and never past its
  // most (then it scrolls).
  void notesShowEveryWarning_data() {
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<int>("fewestWarnings");
    QTest::newRow("start-up dish") << kStartUp << 1;
    QTest::newRow("1296 MHz dish, two ranges") << kDish1296TwoRanges << 2;
    QTest::newRow("HF dipole on a tower") << kHfDipoleOnTower << 3;
  }
  void notesShowEveryWarning() {
    QFETCH(Steps, steps);
    QFETCH(int, fewestWarnings);
    Desk desk;
    QVERIFY(desk.Open());
    Apply(desk.window, steps);
    desk.window.ShowAssessment();
    AssessmentWindow* w = desk.window.Assessment();
    w->resize(1040, 860);
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QCoreApplication::processEvents();
    QTextBrowser* notes = w->Notes();
    const assess::Assessment a = assess::Assess(desk.form.State());
    QVERIFY2(int(a.warnings.size()) >= fewestWarnings,
             qPrintable(QString::number(a.warnings.size())));
    QCOMPARE(notes->verticalScrollBar()->maximum(), 0);
    const int line = notes->fontMetrics().lineSpacing();
    QVERIFY(notes->height() <= 12 * line + 40);
    // No more than a line of room left under the text.
    QVERIFY2(
        notes->height() <= notes->document()->size().height() + line + 2 * notes->frameWidth(),
        qPrintable(
            QString("%1 against %2").arg(notes->height()).arg(notes->document()->size().height())));
    // The plot keeps its room.
    QVERIFY(w->findChild<QChartView*>("AssessmentPlot")->height() >= 380);
  }

  // Pictures of the window for a look by eye (KORRIN_SCREENSHOT_DIR): the
  // window shows every part, and the plot fills its place.
  void windowPictures_data() {
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<QString>("file");
    QTest::newRow("start-up") << kStartUp << "assessment-startup.png";
    QTest::newRow("1296 MHz two ranges") << kDish1296TwoRanges << "assessment-dish-1296.png";
    QTest::newRow("yagi array") << kYagiArray << "assessment-yagi.png";
    QTest::newRow("HF dipole on a tower") << kHfDipoleOnTower << "assessment-hf-tower.png";
  }
  void windowPictures() {
    QFETCH(Steps, steps);
    QFETCH(QString, file);
    Desk desk;
    QVERIFY(desk.Open());
    Apply(desk.window, steps);
    desk.window.ShowAssessment();
    AssessmentWindow* w = desk.window.Assessment();
    // The size it opens with where the screen has room (the offscreen
    // screen is small).
    w->resize(1040, 860);
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QCoreApplication::processEvents();
    const QImage image = w->grab().toImage();
    QString dir = qEnvironmentVariable("KORRIN_SCREENSHOT_DIR");
    if (dir.isEmpty()) dir = QCoreApplication::applicationDirPath() + "/screenshots";
    QDir().mkpath(dir);
    QVERIFY(image.save(dir + "/" + file));
    QCOMPARE(image.size(), w->size());
    // Every row of the table is in sight, and the plot has its room.
    QTableWidget* table = w->Table();
    QVERIFY(table->rowCount() >= 5);
    const int last = table->rowCount() - 1;
    QVERIFY(table->viewport()->rect().contains(table->visualItemRect(table->item(last, 0))));
    QVERIFY(w->findChild<QChartView*>("AssessmentPlot")->height() >= 380);
  }

  // A double-click on the zone group opens the window; on a control of its
  // own (a standard's panel) it does not.
  void doubleClickOnTheZoneGroupOpensTheWindow_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("opens");
    QTest::newRow("group") << "Panel12" << true;
    QTest::newRow("zone display") << "Panel64" << true;
    QTest::newRow("caption") << "Label9" << true;
    QTest::newRow("standard") << "Panel78" << false;
  }
  void doubleClickOnTheZoneGroupOpensTheWindow() {
    QFETCH(QString, control);
    QFETCH(bool, opens);
    Desk desk;
    QVERIFY(desk.Open());
    QWidget* target = desk.window.ControlWidget(control.toStdString());
    QVERIFY(target != nullptr);
    QTest::mouseDClick(target, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    const bool open = desk.window.Assessment() != nullptr && desk.window.Assessment()->isVisible();
    QCOMPARE(open, opens);
  }
};

KORRIN_QT_TEST_MAIN(AssessmentTest)
#include "AssessmentTest.moc"
