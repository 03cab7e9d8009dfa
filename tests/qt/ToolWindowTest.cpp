// Windows beside the calculator: placed where the screen has room without
// covering the panel, kept above the main window as its tool window, and
// shown again where the user left them.
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QTableWidget>
#include "QtTestSupport.h"
#include "ui/qt/ToolWindow.h"
#include "ui/qt/assessment/AssessmentWindow.h"
#include "ui/qt/moon/MoonWindow.h"

using namespace korrin;
using namespace korrin::test;

namespace {

const QRect kFullHd(0, 0, 1920, 1050);  // a 1920 x 1080 screen less its panel

QSettings KorrinSettings() {
  return QSettings(QSettings::UserScope, "Korrin", "Korrin");
}

}  // namespace

class ToolWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void placedBesideThePanel_data() {
    QTest::addColumn<QRect>("panel");
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QSize>("smallest");
    QTest::addColumn<QRect>("room");
    QTest::addColumn<QRect>("expected");
    QTest::addColumn<bool>("panelFree");
    const QSize frame(1040, 890);
    const QSize smallest(540, 600);
    // The calculator maximised: its panel in the middle, 557 pixels free on
    // either side; the window narrows to the right side's room.
    QTest::newRow("maximised, full HD") << QRect(565, 254, 790, 541) << frame << smallest << kFullHd
                                        << QRect(1363, 160, 557, 890) << true;
    QTest::newRow("restored at the left") << QRect(0, 30, 790, 541) << frame << smallest << kFullHd
                                          << QRect(798, 30, 1040, 890) << true;
    QTest::newRow("restored at the right") << QRect(1130, 100, 790, 541) << frame << smallest
                                           << kFullHd << QRect(82, 100, 1040, 890) << true;
    // More room on the left than on the right: the left, narrowed.
    QTest::newRow("more room on the left")
        << QRect(900, 0, 790, 541) << frame << smallest << kFullHd << QRect(0, 0, 892, 890) << true;
    // A small screen: no side has the least width; the window keeps it,
    // stays on the screen and covers as little of the panel as it can.
    QTest::newRow("small screen") << QRect(117, 113, 790, 541) << frame << smallest
                                  << QRect(0, 0, 1024, 768) << QRect(484, 0, 540, 768) << false;
    // A screen not at the origin (the second of two).
    QTest::newRow("second screen")
        << QRect(2000, 200, 790, 541) << QSize(400, 500) << QSize(300, 300)
        << QRect(1920, 0, 1280, 1024) << QRect(2798, 200, 400, 500) << true;
  }

  void placedBesideThePanel() {
    QFETCH(QRect, panel);
    QFETCH(QSize, frame);
    QFETCH(QSize, smallest);
    QFETCH(QRect, room);
    QFETCH(QRect, expected);
    QFETCH(bool, panelFree);
    const QRect at = PlaceBeside(panel, frame, smallest, room);
    QCOMPARE(at, expected);
    QVERIFY2(room.contains(at), "the window lies on the screen");
    QCOMPARE(!at.intersects(panel), panelFree);
  }

  // A window of its own (a station window) on its first showing: beside
  // the calculator where a side has room for its least size, else over the
  // calculator; never larger than the screen and always on it.
  void placedNearTheCalculator_data() {
    QTest::addColumn<QRect>("calculator");
    QTest::addColumn<QRect>("room");
    QTest::addColumn<QRect>("expected");
    const QRect small(0, 0, 1600, 1000);
    QTest::newRow("maximised") << small << small << QRect(0, 0, 1440, 880);
    QTest::newRow("at the left, room on the right")
        << QRect(0, 30, 790, 600) << kFullHd << QRect(798, 30, 1122, 880);
    QTest::newRow("at the right, room on the left")
        << QRect(1130, 30, 790, 600) << kFullHd << QRect(0, 30, 1122, 880);
    QTest::newRow("in the middle, no room: over it")
        << QRect(405, 200, 790, 600) << small << QRect(160, 120, 1440, 880);
    QTest::newRow("a screen smaller than the window")
        << QRect(0, 0, 1024, 700) << QRect(0, 0, 1024, 700) << QRect(0, 0, 1024, 700);
    QTest::newRow("second screen")
        << QRect(1920, 0, 800, 600) << QRect(1920, 0, 1280, 1024) << QRect(1920, 0, 1280, 880);
  }
  void placedNearTheCalculator() {
    QFETCH(QRect, calculator);
    QFETCH(QRect, room);
    QFETCH(QRect, expected);
    const QRect at = PlaceNearCalculator(calculator, QSize(1440, 880), QSize(900, 500), room);
    QCOMPARE(at, expected);
    QVERIFY2(room.contains(at), "the window lies on the screen");
  }

  // Closed with the calculator (a station window keeping the program
  // going), the tool windows go with it; shown again with it, and above it.
  void toolWindowsFollowTheCalculator() {
    Desk desk;
    QVERIFY(desk.Open());
    desk.platform.questionAnswer = [](const Question&) { return Answer::Discard; };
    desk.window.ShowMoon();
    desk.window.ShowAssessment();
    QWidget* moon = desk.window.Moon();
    QWidget* assessment = desk.window.Assessment();
    QVERIFY(moon->isVisible() && assessment->isVisible());
    assessment->close();  // closed by the user: stays closed
    QVERIFY(desk.window.close());
    QVERIFY(!desk.window.isVisible());
    QVERIFY(!moon->isVisible());
    desk.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&desk.window));
    QTRY_VERIFY(moon->isVisible());
    QVERIFY(!assessment->isVisible());
    QVERIFY(moon->windowHandle() != nullptr);
    QCOMPARE(moon->windowHandle()->transientParent(), desk.window.windowHandle());
  }

  // The calculator maximised on a full HD screen, as the program starts
  // it: the assessment is its tool window (kept above it).  Its first size
  // shows the plot and the table whole (at the 557 pixels beside the panel
  // the table showed three of its six columns): at the screen's edge, over
  // as little of the panel as that leaves.
  void theAssessmentStandsBesideTheMaximisedCalculator() {
    KorrinSettings().remove("assessmentWindow");
    Desk desk;
    desk.window.showMaximized();
    QVERIFY(desk.Open());
    QCOMPARE(desk.window.screen()->availableGeometry().width(), 1920);
    desk.window.ShowAssessment();
    AssessmentWindow* w = desk.window.Assessment();
    QVERIFY(w != nullptr && w->isVisible());
    QCOMPARE(w->windowType(), Qt::Tool);
    QCOMPARE(w->parentWidget(), &desk.window);
    QVERIFY(w->windowHandle() != nullptr);
    QCOMPARE(w->windowHandle()->transientParent(), desk.window.windowHandle());
    const QRect panel(desk.window.ClientPanel()->mapToGlobal(QPoint(0, 0)),
                      desk.window.ClientPanel()->size());
    const QRect room = desk.window.screen()->availableGeometry();
    QVERIFY(room.contains(w->frameGeometry()));
    QVERIFY2(w->width() >= w->sizeHint().width(),
             qPrintable(QString("%1 pixels wide").arg(w->width())));
    QVERIFY(w->Table()->horizontalHeader()->length() <= w->Table()->viewport()->width());
    QCOMPARE(w->frameGeometry().right(), room.right());
    QVERIFY2(w->frameGeometry().left() > panel.left(), "most of the panel stays free");
    // A band click in the calculator leaves it shown.
    Click(desk.Widget<QWidget>("RadioGroup1")->findChild<QWidget*>("RadioGroup1_5"));
    QVERIFY(w->isVisible());
    // Escape typed in it closes it, and only it, even with changes the
    // main window's Close would ask about.
    QVERIFY(desk.form.Unsaved());
    bool asked = false;
    desk.platform.questionAnswer = [&asked](const Question&) {
      asked = true;
      return Answer::Cancel;
    };
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->HeadHeightBox()->setFocus();
    QTest::keyClick(w->HeadHeightBox(), Qt::Key_Escape);
    QVERIFY(!asked);
    QVERIFY(!w->isVisible());
    QVERIFY(desk.window.isVisible());
  }

  // Moved and resized, closed, and opened in the next run: where it was.
  void theWindowIsShownWhereTheUserLeftIt() {
    const QRect left(30, 40, 760, 900);
    {
      Desk desk;
      QVERIFY(desk.Open());
      desk.window.ShowAssessment();
      AssessmentWindow* w = desk.window.Assessment();
      w->setGeometry(left);
      QCOMPARE(w->geometry(), left);
      w->close();
    }
    QVERIFY(KorrinSettings().contains(ToolWindowGeometryKey("assessmentWindow")));
    {
      Desk desk;
      QVERIFY(desk.Open());
      desk.window.ShowAssessment();
      QCOMPARE(desk.window.Assessment()->geometry(), left);
    }
  }
};

// A full HD screen of the offscreen platform (its own is 800 x 600).
int main(int argc, char** argv) {
  QTemporaryDir dir;
  QFile config(dir.filePath("screens.json"));
  if (!dir.isValid() || !config.open(QIODevice::WriteOnly)) return 2;
  config.write(R"({"screens": [{"name": "full-hd", "x": 0, "y": 0, "width": 1920,
                   "height": 1080, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
  config.close();
  if (qEnvironmentVariable("QT_QPA_PLATFORM", "offscreen") == "offscreen") {
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config.fileName()).toUtf8());
  }
  return RunQtTest(argc, argv, [](int c, char** v) {
    ToolWindowTest test;
    return QTest::qExec(&test, c, v);
  });
}

#include "ToolWindowTest.moc"
