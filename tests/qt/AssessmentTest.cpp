// The assessment window and its plot on the offscreen platform: the plot's
// limit line meets the density curve at the keep-out distance, the window
// follows the main window's clicks and station loads, and closing it leaves
// the station alone.
#include <QAction>
#include <QChartView>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QMenuBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>
#include <cmath>

#include "QtTestSupport.h"
#include "assess/Assessment.h"
#include "ui/HeadlessPlatform.h"
#include "ui/qt/assessment/AssessmentPlot.h"
#include "ui/qt/assessment/AssessmentText.h"
#include "ui/qt/assessment/AssessmentWindow.h"
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
    for (const assess::LimitEntry& e : a.limits) {
      QLineSeries* line = chart.LimitLine(e.set);
      QCOMPARE(line != nullptr, e.applies && e.limitWm2.has_value());
      if (line == nullptr) continue;
      ++lines;
      QVERIFY(line->isVisible());
      QVERIFY2(line->name().startsWith(ShortLimitName(e.set)), qPrintable(line->name()));
      QCOMPARE(line->name().endsWith("(selected)"), e.selected);
      QVERIFY(e.selected ? line->pen().widthF() > 2 : line->pen().widthF() < 2);
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
    QVERIFY(chart.title().contains(desk.form.State().MetricUnits ? " m" : " ft"));
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
    QVERIFY(w->Chart()->title().contains("432 MHz"));

    Click(desk.Widget<RadioGroupBox>("RadioGroup1")->Item(5));  // 1296 MHz
    QVERIFY(w->Chart()->title().contains("1296 MHz"));
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
    QVERIFY(w->Chart()->title().contains("144 MHz"));
    QVERIFY(w->Chart()->title().contains("yagi"));
    // What the window shows is the assessment of the main window's station.
    const assess::Assessment a = assess::Assess(desk.form.State());
    QCOMPARE(table->rowCount(), int(a.limits.size()));
    QCOMPARE(w->Chart()->Curve()->count(), qsizetype(a.profile.size()));
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
