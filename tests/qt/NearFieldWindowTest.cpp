// The near field in the station window, on the offscreen platform: choosing
// an installation with a wire antenna computes its maps on a thread of its
// own while the window's events go on, choosing it again or an edit that
// changes neither its model nor its figures computes nothing, an edit that
// changes its power computes again, the maps follow the limits chosen, and
// without the engine the panel says why.  These run nec2c.
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>
#include <cmath>

#include "ui/qt/nearfield/NearFieldMapPainter.h"
#include "ui/qt/station/EntryTableModel.h"
#include "ui/qt/station/NearFieldPanel.h"
#include "ui/qt/station/ResultsPanel.h"
#include "ui/qt/station/StationDocument.h"
#include "ui/qt/station/StationNearField.h"
#include "ui/qt/station/StationTable.h"
#include "ui/qt/station/StationWindow.h"
#include "ui/station/ResultTables.h"

using namespace korrin;
using stationui::Table;

namespace {

const QString kNearField =
    QStringLiteral(KORRIN_SOURCE_DIR "/tests/data/station/near-field.station.toml");
constexpr int kEngineWaitMs = 120000;

int ColumnNamed(StationWindow& w, Table table, const QString& name) {
  QAbstractItemModel* m = w.Model(table);
  for (int c = 0; c < m->columnCount(); ++c) {
    if (m->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString() == name) return c;
  }
  return -1;
}

int RowNamed(StationWindow& w, Table table, const QString& name) {
  QAbstractItemModel* m = w.Model(table);
  for (int r = 0; r < m->rowCount(); ++r) {
    if (m->index(r, 0).data(kRowNameRole).toString() == name) return r;
  }
  return -1;
}

void ChooseInstallation(StationWindow& w, const QString& name) {
  w.ShowTable(Table::Installations);
  StationTable* view = w.View(Table::Installations);
  const int row = RowNamed(w, Table::Installations, name);
  QVERIFY2(row >= 0, qPrintable(name));
  view->setCurrentIndex(view->model()->index(row, 0));
}

struct Window {
  StationWindow* w = new StationWindow();
  Window() {
    w->questionAnswer = [](const Question&) { return Answer::Discard; };
    w->messageAnswer = [](const QString&) {};
    w->OpenFile(kNearField);
    w->show();
  }
  ~Window() { w->close(); }
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  NearFieldPanel* Panel() const { return w->Results()->NearField(); }
};

}  // namespace

class NearFieldWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void ComputesOnItsOwnThreadAndKeepsWhatItComputed();
  void AnEditDuringARunStopsItForTheNewFigures();
  void ClosingTheWindowDuringARunStopsIt();
  void WithoutTheEngineSaysWhy();
  void TheVerdictCountsTheNearField_data();
  void TheVerdictCountsTheNearField();
  void AnAxisCaptionIsNoLongerThanItsAxis_data();
  void AnAxisCaptionIsNoLongerThanItsAxis();
};

// A side view is wide and low: "height above the ground (m)" ran past the
// top of its axis into the panel's title.  The caption keeps to its axis.
void NearFieldWindowTest::AnAxisCaptionIsNoLongerThanItsAxis_data() {
  QTest::addColumn<int>("kind");
  QTest::addColumn<bool>("horizontal");
  QTest::addColumn<double>("roomInWidthsOfM");
  QTest::addColumn<QString>("expected");  // empty: cut short
  using nearfield::PanelKind;
  QTest::newRow("plan, tall") << int(PanelKind::Plan) << false << 60.0
                              << "north of the antenna (m)";
  QTest::newRow("plan, low") << int(PanelKind::Plan) << false << 12.0 << "north (m)";
  QTest::newRow("side view, tall")
      << int(PanelKind::Along) << false << 60.0 << "height above the ground (m)";
  QTest::newRow("side view, low") << int(PanelKind::Along) << false << 12.0 << "height (m)";
  QTest::newRow("side view, very low") << int(PanelKind::Across) << false << 3.0 << "";
  QTest::newRow("side view, narrow") << int(PanelKind::Across) << true << 12.0 << "along (m)";
  QTest::newRow("side view, wide")
      << int(PanelKind::Across) << true << 80.0 << "along the plane from the antenna (m)";
}

void NearFieldWindowTest::AnAxisCaptionIsNoLongerThanItsAxis() {
  QFETCH(int, kind);
  QFETCH(bool, horizontal);
  QFETCH(double, roomInWidthsOfM);
  QFETCH(QString, expected);
  QFont font;
  font.setPixelSize(12);
  const QFontMetricsF m(font);
  const qreal room = roomInWidthsOfM * m.horizontalAdvance('m');
  const QString caption = AxisCaption(nearfield::PanelKind(kind), horizontal, false, m, room);
  QVERIFY2(m.horizontalAdvance(caption) <= room, qPrintable(caption));
  if (expected.isEmpty()) {
    QVERIFY2(caption.contains(QChar(0x2026)), qPrintable(caption));
  } else {
    QCOMPARE(caption, expected);
  }
}

void NearFieldWindowTest::ComputesOnItsOwnThreadAndKeepsWhatItComputed() {
  Window win;
  NearFieldPanel* panel = win.Panel();
  QVERIFY(panel != nullptr);
  QSignalSpy computed(panel, &NearFieldPanel::computed);

  // The window's events go on while the engine runs.
  int ticks = 0;
  QTimer clock;
  clock.setInterval(10);
  QObject::connect(&clock, &QTimer::timeout, [&ticks] { ++ticks; });
  clock.start();
  ChooseInstallation(*win.w, "40m");
  QVERIFY2(panel->Busy(), "the computation runs after the choice returns");
  QCOMPARE(panel->Computations(), 1);
  QVERIFY(panel->findChild<QProgressBar*>("nearFieldProgress")->isVisibleTo(panel));
  QVERIFY(computed.wait(kEngineWaitMs));
  QVERIFY2(ticks >= 3, qPrintable(QString("the clock ticked %1 times").arg(ticks)));
  QVERIFY(!panel->Busy());
  QVERIFY2(panel->Shown() != nullptr, qPrintable(panel->Status()));
  QVERIFY(panel->Map()->HasMap());
  QVERIFY2(panel->Status().contains("Near field of \"40m\" (antenna \"vee\", 7.100 MHz)"),
           qPrintable(panel->Status()));
  QVERIFY2(panel->Figures().contains("field keep-out at head height"),
           qPrintable(panel->Figures()));
  QVERIFY(panel->Figures().contains("At \"Path\""));
  // The first set's general tier unless chosen otherwise.
  QVERIFY2(panel->Map()->Style().title.contains("FCC 47 CFR 1.1310 (2021), general population"),
           qPrintable(panel->Map()->Style().title));

  // A picture of the window with its maps and its verdict, to look at.
  StationNearField* near = win.w->NearField();
  QTRY_VERIFY_WITH_TIMEOUT(near->Result() != nullptr && !near->Busy(), kEngineWaitMs);
  QVERIFY2(win.w->Results()->Verdict()->text().startsWith("Does not comply"),
           qPrintable(win.w->Results()->Verdict()->text()));
  win.w->Results()->Pictures()->setCurrentWidget(panel);
  win.w->resize(1440, 880);
  const QByteArray dir = qgetenv("KORRIN_SCREENSHOT_DIR");
  if (!dir.isEmpty()) {
    QDir().mkpath(QString::fromLocal8Bit(dir));
    QVERIFY(win.w->grab().save(QString::fromLocal8Bit(dir) + "/station-near-field.png"));
  }

  // The maps follow the limits chosen.
  QComboBox* limits = panel->Limits();
  QCOMPARE(limits->count(), 4);
  const int occupational = limits->findText("occupational", Qt::MatchContains | Qt::MatchRecursive);
  int icnirpOccupational = -1;
  for (int i = 0; i < limits->count(); ++i) {
    if (limits->itemText(i).startsWith("ICNIRP") && limits->itemText(i).endsWith("occupational"))
      icnirpOccupational = i;
  }
  QVERIFY(occupational >= 0 && icnirpOccupational >= 0);
  limits->setCurrentIndex(icnirpOccupational);
  QVERIFY2(panel->Map()->Style().title.contains("ICNIRP 2020") &&
               panel->Map()->Style().title.contains("occupational"),
           qPrintable(panel->Map()->Style().title));
  QCOMPARE(panel->Computations(), 1);

  // Another installation without wires, then this one again: kept.
  ChooseInstallation(*win.w, "20m");
  QVERIFY2(panel->Status().contains("has no wire antenna"), qPrintable(panel->Status()));
  QVERIFY(!panel->Map()->HasMap());
  ChooseInstallation(*win.w, "40m");
  QVERIFY(!panel->Busy());
  QCOMPARE(panel->Computations(), 1);
  QVERIFY(panel->Map()->HasMap());

  // An edit to another installation changes neither this model nor its figures.
  const int frequency = ColumnNamed(*win.w, Table::Installations, "Frequency (MHz)");
  const int beam = RowNamed(*win.w, Table::Installations, "20m");
  QVERIFY(frequency >= 0 && beam >= 0);
  QVERIFY(win.w->Model(Table::Installations)
              ->setData(win.w->Model(Table::Installations)->index(beam, frequency), "14.25"));
  QCOMPARE(win.w->Document().Station().FindInstallation("20m")->frequencyMHz.value_or(0), 14.25L);
  QVERIFY(!panel->Busy());
  QCOMPARE(panel->Computations(), 1);
  QVERIFY(panel->Map()->HasMap());

  // The transmitter's power is one of its figures: computed again, and
  // the exposure follows the power.
  const double before = panel->Shown()->results.front().headPeak.value;
  const int power = ColumnNamed(*win.w, Table::Transmitters, "Power (W)");
  QVERIFY(power >= 0);
  QVERIFY(win.w->Model(Table::Transmitters)
              ->setData(win.w->Model(Table::Transmitters)->index(0, power), "750"));
  QVERIFY(panel->Busy());
  QCOMPARE(panel->Computations(), 2);
  QVERIFY(computed.wait(kEngineWaitMs));
  QVERIFY(panel->Shown() != nullptr);
  QVERIFY2(std::fabs(panel->Shown()->results.front().headPeak.value / before - 0.5) < 1e-3,
           qPrintable(QString::number(panel->Shown()->results.front().headPeak.value / before)));
  QVERIFY(panel->Map()->Style().title.contains("occupational"));

  // Undone: the first figures again, as they were kept.
  win.w->Document().UndoStack().undo();
  QVERIFY(!panel->Busy());
  QCOMPARE(panel->Computations(), 2);
  QCOMPARE(panel->Shown()->results.front().headPeak.value, before);
}

void NearFieldWindowTest::AnEditDuringARunStopsItForTheNewFigures() {
  Window win;
  NearFieldPanel* panel = win.Panel();
  QSignalSpy computed(panel, &NearFieldPanel::computed);
  ChooseInstallation(*win.w, "40m");
  QVERIFY(panel->Busy());
  // The power changes while the engine runs: that run is stopped and one
  // for the new power follows; only its result is shown.
  const int power = ColumnNamed(*win.w, Table::Transmitters, "Power (W)");
  QVERIFY(power >= 0);
  QVERIFY(win.w->Model(Table::Transmitters)
              ->setData(win.w->Model(Table::Transmitters)->index(0, power), "375"));
  QCOMPARE(panel->Computations(), 1);  // the second starts once the first has stopped
  QVERIFY(computed.wait(kEngineWaitMs));
  QTRY_VERIFY_WITH_TIMEOUT(!panel->Busy(), kEngineWaitMs);
  QCOMPARE(computed.count(), 1);
  QCOMPARE(panel->Computations(), 2);
  QVERIFY(panel->Shown() != nullptr);
  QCOMPARE(static_cast<double>(panel->Shown()->power.peakEnvelopeW), 375.0);
  QVERIFY(panel->Map()->HasMap());
}

void NearFieldWindowTest::ClosingTheWindowDuringARunStopsIt() {
  QPointer<StationWindow> w = new StationWindow();
  w->questionAnswer = [](const Question&) { return Answer::Discard; };
  QVERIFY(w->OpenFile(kNearField));
  w->show();
  ChooseInstallation(*w, "40m");
  QVERIFY(w->Results()->NearField()->Busy());
  w->close();  // deleted on close: the run is stopped and its thread waited for
  QTRY_VERIFY_WITH_TIMEOUT(w.isNull(), kEngineWaitMs);
}

void NearFieldWindowTest::WithoutTheEngineSaysWhy() {
  Window win;
  NearFieldPanel* panel = win.Panel();
  panel->EngineOptions().program = "/nonexistent/nec2c";
  QSignalSpy computed(panel, &NearFieldPanel::computed);
  ChooseInstallation(*win.w, "40m");
  QVERIFY(computed.wait(kEngineWaitMs));
  QVERIFY(panel->Shown() == nullptr);
  QVERIFY(!panel->Map()->HasMap());
  QVERIFY2(panel->Status().contains("was not computed") && panel->Status().contains("not found") &&
               panel->Status().contains("nec2c"),
           qPrintable(panel->Status()));
  // The rest of the window is evaluated as ever.
  QVERIFY(!win.w->Results()->Verdict()->text().isEmpty());
}

void NearFieldWindowTest::TheVerdictCountsTheNearField_data() {
  QTest::addColumn<QString>("power");    // the transmitter's, set after opening; empty: as filed
  QTest::addColumn<QString>("program");  // the engine's
  QTest::addColumn<bool>("complies");
  QTest::addColumn<QStringList>("words");  // in the verdict line once the near field is in
  // The far field alone says the station complies; the near field of the
  // inverted V puts "Path" over the ICNIRP limit.
  QTest::newRow("as filed") << QString() << QString("nec2c") << false
                            << QStringList{"Does not comply", "\"Path\" (ICNIRP"};
  // A quarter of the power: the edit stops the run for the filed power.
  QTest::newRow("lower power") << QString("375") << QString("nec2c") << true
                               << QStringList{"Complies"};
  QTest::newRow("no engine") << QString() << QString("/nonexistent/nec2c") << true
                             << QStringList{"far-field estimate of \"40m\"", "not found",
                                            "/nonexistent/nec2c"};
}

void NearFieldWindowTest::TheVerdictCountsTheNearField() {
  QFETCH(QString, power);
  QFETCH(QString, program);
  QFETCH(bool, complies);
  QFETCH(QStringList, words);
  Window win;
  StationNearField* near = win.w->NearField();
  QLabel* verdict = win.w->Results()->Verdict();
  if (program != "nec2c") win.w->SetEngineProgram(program);
  if (!power.isEmpty()) {
    const int column = ColumnNamed(*win.w, Table::Transmitters, "Power (W)");
    QVERIFY(column >= 0);
    QVERIFY(win.w->Model(Table::Transmitters)
                ->setData(win.w->Model(Table::Transmitters)->index(0, column), power));
  }
  const station::Station station = win.w->Document().Station();
  // The far field shows at once, but no verdict until the near field is in.
  QVERIFY(near->Needed());
  QVERIFY(near->Result() == nullptr);
  QVERIFY2(verdict->text().startsWith("Near field of the wire antennas being computed"),
           qPrintable(verdict->text()));
  QVERIFY(!win.w->Results()->Table(ResultsPanel::kPlaces)->Shown().rows.empty());

  QTRY_VERIFY_WITH_TIMEOUT(near->Result() != nullptr && !near->Busy(), kEngineWaitMs);
  for (const QString& word : words) {
    QVERIFY2(verdict->text().contains(word), qPrintable(verdict->text()));
  }
  QCOMPARE(win.w->Evaluation().verdict.complies, complies);
  // The same verdict as the record and korrin-report work out.
  assess::NearFieldOptions options;
  options.folder = QFileInfo(kNearField).absolutePath().toStdString();
  options.run.program = program.toStdString();
  const assess::StationNearField record = assess::EvaluateWithNearField(station, options);
  QCOMPARE(record.evaluation.verdict.complies, complies);
  QVERIFY2(
      verdict->text().startsWith(QString::fromStdString(stationui::VerdictLine(record.evaluation))),
      qPrintable(verdict->text()));
  QCOMPARE(win.w->Results()->Table(ResultsPanel::kPlaces)->Shown().rows,
           stationui::PlaceResults(record.evaluation).rows);
}

QTEST_MAIN(NearFieldWindowTest)
#include "NearFieldWindowTest.moc"
