// The Moon window on the offscreen platform: View > Moon… opens it beside
// the calculator, it shows the library's plan for the calculator's band and
// follows the calculator's clicks, refuses bad places in words, and keeps
// the places in the user's settings.
#include <QAction>
#include <QChartView>
#include <QClipboard>
#include <QDateTimeEdit>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenuBar>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "QtTestSupport.h"
#include "app/report/ReportMoon.h"
#include "moon/Path.h"
#include "moon/Place.h"
#include "moon/PlanTable.h"
#include "moon/Time.h"
#include "ui/qt/moon/MoonPlot.h"
#include "ui/qt/moon/MoonWindow.h"

using namespace korrin;
using namespace korrin::test;

class MoonWindowTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir settingsDir_;

  static QAction* MoonAction(MainWindow& window) {
    for (QAction* menu : window.menuBar()->actions()) {
      if (menu->menu() == nullptr) continue;
      for (QAction* a : menu->menu()->actions()) {
        if (a->objectName() == "ShowMoon") return a;
      }
    }
    return nullptr;
  }

  // Opens the window from the menu with the two places and a fixed date.
  static MoonWindow* Open(Desk& desk, const QString& home, const QString& dx) {
    QAction* action = MoonAction(desk.window);
    if (action == nullptr) return nullptr;
    action->trigger();
    MoonWindow* moon = desk.window.Moon();
    moon->DateBox()->setDateTime(QDateTime(QDate(2026, 12, 7), QTime(0, 0), Qt::UTC));
    moon->DateButton()->setChecked(true);
    moon->MinElevationBox()->setValue(10.0);
    moon->HomeBox()->setText(home);
    moon->DxBox()->setText(dx);
    moon->Refresh();
    return moon;
  }

 private slots:
  void initTestCase() {
    QVERIFY(settingsDir_.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir_.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir_.path());
  }

  void menuEntryOpensTheWindowBesideTheCalculator() {
    Desk desk;
    QVERIFY(desk.Open());
    QAction* action = MoonAction(desk.window);
    QVERIFY(action != nullptr);
    QCOMPARE(action->text(), QString("&Moon…"));
    QVERIFY(!action->statusTip().isEmpty());
    action->trigger();
    MoonWindow* moon = desk.window.Moon();
    QVERIFY(moon != nullptr);
    QVERIFY(moon->isVisible());
    QVERIFY(moon->isWindow());
    QCOMPARE(moon->parentWidget(), static_cast<QWidget*>(&desk.window));
    action->trigger();  // a second time: the same window
    QCOMPARE(desk.window.Moon(), moon);
  }

  void showsTheLibrarysPlanForTheCalculatorsBand() {
    Desk desk;
    QVERIFY(desk.Open());
    const StationState before = desk.form.State();
    MoonWindow* moon = Open(desk, "FN20xa", "JO65fr");
    QVERIFY(moon != nullptr);
    QVERIFY(moon->Shown().has_value());
    const moon::Evaluation& e = *moon->Shown();
    QCOMPARE(e.request.frequencyMHz, 432.0);
    QCOMPARE(moon::FormatUtc(e.request.from), std::string("2026-12-07T00:00:00Z"));
    QCOMPARE(e.plan.rows.size(), size_t(24 * 6 + 1));
    // The plot's points are the plan's rows.
    QLineSeries* home = moon->Chart()->HomeElevation();
    QCOMPARE(home->count(), int(e.plan.rows.size()));
    QCOMPARE(home->at(0).y(), e.plan.rows[0].home.elevationDeg);
    QCOMPARE(moon->Chart()->DxElevation()->at(6).y(), e.plan.rows[6].dx->elevationDeg);
    QCOMPARE(moon->Chart()->Shaded().size(), e.plan.windows.size());
    // Ticks every three hours; the date stands under the time at the start
    // and where the day changes, and nowhere else.
    const QStringList ticks = moon->Chart()->TimeLabels();
    QCOMPARE(ticks, QStringList({"00:00<br>Dec 07", "03:00", "06:00", "09:00", "12:00", "15:00",
                                 "18:00", "21:00", "00:00<br>Dec 08"}));
    // The figures of the first minute.
    const QString figures = moon->Figures()->text();
    QVERIFY2(figures.contains("2026-12-07 00:00 UTC at 432 MHz"), qPrintable(figures));
    QVERIFY2(figures.contains(QString::number(e.plan.rows[0].pathLossDb, 'f', 2) + " dB"),
             qPrintable(figures));
    QVERIFY2(figures.contains("Mutual windows"), qPrintable(figures));
    // The calculator's station is untouched.
    QCOMPARE(desk.form.State().PathLoss, before.PathLoss);
    QCOMPARE(desk.form.State().EchoSnrDb, before.EchoSnrDb);

    // A band click in the calculator: the window plans at the new band.
    desk.form.Board()["RadioGroup1"].itemIndex = 5;
    QVERIFY(desk.window.RunHandler("RadioGroup1Click"));
    QVERIFY(moon->Shown().has_value());
    QCOMPARE(moon->Shown()->request.frequencyMHz, 1296.0);
    QCOMPARE(moon->Shown()->echoSnDb.front(),
             moon->Shown()->stationSnDb - (moon->Shown()->plan.rows[0].pathLossDb - 270.5));
    QVERIFY(moon->Chart()->title().contains("1296 MHz"));
    // On the HF side there are no moon-bounce figures.
    QVERIFY(desk.window.RunHandler("HF_SelectClick"));
    QVERIFY(!moon->Shown().has_value());
    QVERIFY2(moon->Figures()->text().contains("VHF"), qPrintable(moon->Figures()->text()));
  }

  // The time field shows minutes; a window opened at 00:00:37 keeps those
  // seconds hidden in it.  The figures are the report's for the minute shown:
  // korrin-report --band 432 --locator FN20xa --dx JO65fr
  // --from 2026-12-07T00:00Z gives azimuth 278.7° and elevation -47.9°.
  void theFiguresAreTheReportsForTheMinuteShown() {
    Desk desk;
    QVERIFY(desk.Open());
    MoonWindow* moon = Open(desk, "FN20xa", "JO65fr");
    QVERIFY(moon != nullptr);
    moon->DateBox()->setDateTime(QDateTime(QDate(2026, 12, 7), QTime(0, 0, 37), Qt::UTC));
    moon->Refresh();
    QVERIFY(moon->Shown().has_value());
    const moon::Evaluation& shown = *moon->Shown();
    QCOMPARE(moon::FormatUtc(shown.request.from), std::string("2026-12-07T00:00:00Z"));

    report::MoonOptions options;
    options.on = true;
    options.locator = "FN20xa";
    options.dxLocator = "JO65fr";
    options.home = moon::ParsePlace(options.locator).place;
    options.dx = moon::ParsePlace(options.dxLocator).place;
    options.from = moon::ParseUtc("2026-12-07T00:00Z").time;
    options.minElevationDeg = moon->MinElevationBox()->value();
    std::string error;
    const auto report =
        report::MoonFigures(desk.form.State(), options, report::NowToTheMinute(), error);
    QVERIFY2(report.has_value(), error.c_str());
    const moon::Evaluation& expected = report->evaluation;
    QCOMPARE(shown.plan.rows.size(), expected.plan.rows.size());
    // The same function on the same inputs: the same figures to the bit.
    for (std::size_t k = 0; k < expected.plan.rows.size(); ++k) {
      const moon::Row& a = shown.plan.rows[k];
      const moon::Row& b = expected.plan.rows[k];
      const QByteArray at = QByteArray::fromStdString(moon::FormatUtc(b.time));
      QVERIFY2(a.time == b.time, at.constData());
      QVERIFY2(a.home.azimuthDeg == b.home.azimuthDeg, at.constData());
      QVERIFY2(a.home.elevationDeg == b.home.elevationDeg, at.constData());
      QVERIFY2(a.dx->azimuthDeg == b.dx->azimuthDeg, at.constData());
      QVERIFY2(a.dx->elevationDeg == b.dx->elevationDeg, at.constData());
      QVERIFY2(a.home.distanceKm == b.home.distanceKm, at.constData());
      QVERIFY2(a.pathLossDb == b.pathLossDb, at.constData());
      QVERIFY2(a.dopplerHz == b.dopplerHz, at.constData());
      QVERIFY2(a.dxDopplerHz == b.dxDopplerHz, at.constData());
      QVERIFY2(a.mutual == b.mutual, at.constData());
      QVERIFY2(shown.echoSnDb[k] == expected.echoSnDb[k], at.constData());
    }
    const QString figures = moon->Figures()->text();
    QVERIFY2(figures.contains("2026-12-07 00:00 UTC"), qPrintable(figures));
    QVERIFY2(figures.contains("Home: azimuth 278.7\u00b0, elevation -47.9\u00b0"),
             qPrintable(figures));

    // A new window's time field starts at a whole minute.
    Desk other;
    QVERIFY(other.Open());
    other.window.ShowMoon();
    QCOMPARE(other.window.Moon()->DateBox()->dateTime().time().second(), 0);
  }

  void badPlacesAreRefusedInWords_data() {
    QTest::addColumn<QString>("home");
    QTest::addColumn<QString>("dx");
    QTest::addColumn<QString>("says");
    QTest::newRow("no home") << ""
                             << ""
                             << "Enter the home station's locator";
    QTest::newRow("short") << "FN2"
                           << ""
                           << "4, 6 or 8 characters";
    QTest::newRow("bad field") << "ZZ00"
                               << ""
                               << "letter A-R";
    QTest::newRow("bad dx") << "FN20xa"
                            << "JO65f"
                            << "Other station";
    QTest::newRow("latitude") << "95,10"
                              << ""
                              << "latitude";
  }

  void badPlacesAreRefusedInWords() {
    QFETCH(QString, home);
    QFETCH(QString, dx);
    QFETCH(QString, says);
    Desk desk;
    QVERIFY(desk.Open());
    MoonWindow* moon = Open(desk, home, dx);
    QVERIFY(moon != nullptr);
    QVERIFY(!moon->Shown().has_value());
    QVERIFY2(moon->Figures()->text().contains(says), qPrintable(moon->Figures()->text()));
  }

  void placesAreRemembered() {
    {
      Desk desk;
      QVERIFY(desk.Open());
      MoonWindow* moon = Open(desk, "JO65fr", "QF56");
      QVERIFY(moon != nullptr);
      emit moon->HomeBox()->editingFinished();
    }
    Desk desk;
    QVERIFY(desk.Open());
    MoonAction(desk.window)->trigger();
    MoonWindow* moon = desk.window.Moon();
    QCOMPARE(moon->HomeBox()->text(), QString("JO65fr"));
    QCOMPARE(moon->DxBox()->text(), QString("QF56"));
    QCOMPARE(moon->MinElevationBox()->value(), 10.0);
    // Now is the present minute, refreshed every minute.
    QVERIFY(moon->NowButton()->isChecked());
    QVERIFY(moon->Shown().has_value());
    QCOMPARE(moon->Shown()->request.from % 60, 0);
    QVERIFY(std::abs(moon->Shown()->request.from - QDateTime::currentSecsSinceEpoch()) < 120);
    QVERIFY(moon->MinuteTimer()->isActive());
    QCOMPARE(moon->MinuteTimer()->interval(), 60 * 1000);
  }

  // Hours and Step as --hours and --step-minutes: the window's table is the
  // report's plan for them, row by row; it copies as text and saves as CSV.
  void theTableForTheHoursAndStepChosen() {
    Desk desk;
    QVERIFY(desk.Open());
    MoonWindow* moon = Open(desk, "FN20xa", "JO65fr");
    QVERIFY(moon != nullptr);
    moon->HoursBox()->setValue(2.0);
    moon->StepBox()->setValue(30);
    QVERIFY(moon->Shown().has_value());
    QCOMPARE(moon->Shown()->plan.rows.size(), std::size_t(5));

    report::MoonOptions options;
    options.on = true;
    options.home = moon::ParsePlace("FN20xa").place;
    options.dx = moon::ParsePlace("JO65fr").place;
    options.from = moon::ParseUtc("2026-12-07T00:00Z").time;
    options.hours = 2;
    options.stepMinutes = 30;
    options.minElevationDeg = moon->MinElevationBox()->value();
    std::string error;
    const auto report =
        report::MoonFigures(desk.form.State(), options, report::NowToTheMinute(), error);
    QVERIFY2(report.has_value(), error.c_str());
    const moon::PlanTable expected = moon::TableOf(report->evaluation);
    QTableWidget* table = moon->Table();
    QCOMPARE(table->rowCount(), 5);
    QCOMPARE(table->columnCount(), 12);
    QCOMPARE(table->horizontalHeaderItem(5)->text(), QString("Distance km"));
    for (int r = 0; r < table->rowCount(); ++r) {
      for (int c = 0; c < table->columnCount(); ++c) {
        QCOMPARE(table->item(r, c)->text(), QString::fromStdString(expected.rows[r][c]));
      }
    }
    QCOMPARE(table->item(4, 0)->text(), QString("2026-12-07 02:00"));

    table->selectRow(1);
    const QStringList copied = moon->CopyTable().split('\n', Qt::SkipEmptyParts);
    QCOMPARE(copied.size(), 2);
    QVERIFY(copied[0].startsWith("Time (UTC)\tAz"));
    QVERIFY(copied[1].startsWith("2026-12-07 00:30\t"));
    QCOMPARE(QGuiApplication::clipboard()->text().count('\n'), 2);

    const QString path = settingsDir_.filePath("moon.csv");
    QCOMPARE(moon->SaveTable(path), QString());
    QFile csv(path);
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QCOMPARE(csv.readAll(), QByteArray::fromStdString(moon::CsvOf(expected)));
    QVERIFY(!moon->SaveTable(settingsDir_.filePath("no-such-folder/moon.csv")).isEmpty());

    // The span and the step are remembered; back as the other tests expect.
    QCOMPARE(QSettings(QSettings::UserScope, "Korrin", "Korrin").value("moon/stepMinutes").toInt(),
             30);
    moon->HoursBox()->setValue(24.0);
    moon->StepBox()->setValue(10);
  }

  // Tab goes through the fields in the order they are read: the focus
  // chain, as Tab walks it, holds them in that order.
  void tabFollowsTheReadingOrder() {
    Desk desk;
    QVERIFY(desk.Open());
    MoonWindow* moon = Open(desk, "FN20xa", "JO65fr");
    QVERIFY(moon != nullptr);
    const QList<QWidget*> fields{moon->HomeBox(),   moon->DxBox(),      moon->MinElevationBox(),
                                 moon->NowButton(), moon->DateButton(), moon->DateBox()};
    QList<int> order;
    QWidget* w = moon->HomeBox();
    for (int step = 0; step < 200 && order.size() < fields.size(); ++step) {
      // A spin box's own line takes its focus: it counts as the box.
      QWidget* field = w->parentWidget() != nullptr && w->parentWidget()->focusProxy() == w
                           ? w->parentWidget()
                           : w;
      const int at = static_cast<int>(fields.indexOf(field));
      if (at >= 0 && !order.contains(at)) order << at;
      w = w->nextInFocusChain();
    }
    QCOMPARE(order, (QList<int>{0, 1, 2, 3, 4, 5}));
  }

  void screenshot() {
    Desk desk;
    QVERIFY(desk.Open());
    MoonWindow* moon = Open(desk, "FN20xa", "JO65fr");
    QVERIFY(moon != nullptr);
    moon->resize(900, 760);
    QTest::qWait(50);
    const QString dir = qEnvironmentVariable("KORRIN_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
      QDir().mkpath(dir);
      QVERIFY(moon->grab().save(dir + "/moon-window.png"));
    }
  }
};

QTEST_MAIN(MoonWindowTest)
#include "MoonWindowTest.moc"
