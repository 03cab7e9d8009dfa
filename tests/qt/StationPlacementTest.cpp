// The station window on a screen smaller than the size it would like: it
// opens on the screen whichever way it is opened (New, Open, a second
// window), beside the calculator where there is room and over it where
// there is not, and the next window opens where the last one was closed.
#include <QFile>
#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "QtTestSupport.h"
#include "ui/qt/ToolWindow.h"
#include "ui/qt/station/StationMenu.h"
#include "ui/qt/station/StationWindow.h"

using namespace korrin;
using namespace korrin::test;

namespace {

const QString kWorkedF =
    QStringLiteral(KORRIN_SOURCE_DIR "/tests/data/station/worked-f.station.toml");

// The screen's size, smaller than the station window's first size.
constexpr QSize kScreen(1600, 1000);

QSettings KorrinSettings() {
  return QSettings(QSettings::UserScope, "Korrin", "Korrin");
}

void CloseAll() {
  for (StationWindow* w : StationWindow::Windows()) {
    w->questionAnswer = [](const Question&) { return Answer::Discard; };
    w->close();
  }
}

}  // namespace

class StationPlacementTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(settings_.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings_.path());
  }

  void init() { KorrinSettings().remove("stationWindow"); }
  void cleanup() {
    CloseAll();
    SetCalculatorWindow(nullptr);
    QTRY_VERIFY(StationWindow::Windows().isEmpty());
  }

  // The calculator maximised: no side has room, the windows open over it,
  // each on the screen and no larger than it.
  void overTheMaximisedCalculator_data() {
    QTest::addColumn<bool>("open");
    QTest::newRow("new") << false;
    QTest::newRow("open") << true;
  }
  void overTheMaximisedCalculator() {
    QFETCH(bool, open);
    Desk desk;
    SetCalculatorWindow(&desk.window);
    desk.window.showMaximized();
    QVERIFY(desk.Open());
    const QRect room = desk.window.screen()->availableGeometry();
    QCOMPARE(room.size(), kScreen);
    QList<QPointer<StationWindow>> windows;
    for (int i = 0; i < 3; ++i) {
      windows << (open && i == 0 ? OpenStationWindow(kWorkedF) : NewStationWindow());
      QVERIFY(windows.last() != nullptr);
      QVERIFY(QTest::qWaitForWindowExposed(windows.last()));
      const QRect frame = windows.last()->frameGeometry();
      QVERIFY2(room.contains(frame), qPrintable(QString("window %1 at %2,%3 %4x%5")
                                                    .arg(i)
                                                    .arg(frame.x())
                                                    .arg(frame.y())
                                                    .arg(frame.width())
                                                    .arg(frame.height())));
      // Its tables and results share the width.
      QVERIFY(windows.last()->width() <= kScreen.width());
    }
    // Later windows a little lower and to the right, as far as the screen lets them.
    QVERIFY(windows[1]->frameGeometry().topLeft() != windows[0]->frameGeometry().topLeft());
  }

  // The calculator at the left of the screen, at its own size: the station
  // window stands beside it where it has room, else over it; always on the screen.
  void besideTheCalculatorWhereThereIsRoom() {
    Desk desk;
    SetCalculatorWindow(&desk.window);
    desk.window.move(0, 0);
    QVERIFY(desk.Open());
    const QRect room = desk.window.screen()->availableGeometry();
    const QRect calculator = desk.window.frameGeometry();
    StationWindow* w = NewStationWindow();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    const QRect frame = w->frameGeometry();
    QVERIFY(room.contains(frame));
    const QSize smallest = w->minimumSizeHint().expandedTo(w->minimumSize());
    const bool roomBeside = room.right() - calculator.right() - kGapBesidePanel >= smallest.width();
    if (roomBeside) {
      QVERIFY2(!frame.intersects(calculator), "the calculator stays free");
    } else {
      QCOMPARE(frame.topLeft(), calculator.topLeft());
    }
  }

  // Moved and resized, closed: the next window opens there.
  void theNextWindowOpensWhereTheLastWasClosed() {
    QRect kept;
    {
      StationWindow* w = NewStationWindow();
      QVERIFY(QTest::qWaitForWindowExposed(w));
      // The window fits a screen 1024 pixels wide.
      QVERIFY2(w->minimumSizeHint().width() <= 1000,
               qPrintable(QString::number(w->minimumSizeHint().width())));
      // Smaller than the first size, but no smaller than the window allows.
      kept = QRect(QPoint(120, 90), QSize(1000, 700).expandedTo(w->minimumSizeHint()));
      w->setGeometry(kept);
      QCOMPARE(w->geometry(), kept);
      QVERIFY(w->close());
    }
    QVERIFY(KorrinSettings().contains(ToolWindowGeometryKey("stationWindow")));
    QTRY_VERIFY(StationWindow::Windows().isEmpty());
    StationWindow* w = OpenStationWindow(kWorkedF);
    QVERIFY(w != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QCOMPARE(w->geometry(), kept);
  }

 private:
  QTemporaryDir settings_;
};

// A 1600 x 1000 screen of the offscreen platform.
int main(int argc, char** argv) {
  QTemporaryDir dir;
  QFile config(dir.filePath("screens.json"));
  if (!dir.isValid() || !config.open(QIODevice::WriteOnly)) return 2;
  config.write(R"({"screens": [{"name": "small", "x": 0, "y": 0, "width": 1600,
                   "height": 1000, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
  config.close();
  if (qEnvironmentVariable("QT_QPA_PLATFORM", "offscreen") == "offscreen") {
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config.fileName()).toUtf8());
  }
  return RunQtTest(argc, argv, [](int c, char** v) {
    StationPlacementTest test;
    return QTest::qExec(&test, c, v);
  });
}

#include "StationPlacementTest.moc"
