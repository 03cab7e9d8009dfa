// Pictures of the window in its main states, written to the build tree for
// a look by eye (KORRIN_SCREENSHOT_DIR), and checked for their size and for
// the colours that the states must show.
#include <QDir>
#include <QImage>
#include <QtTest>

#include "QtTestSupport.h"
#include "ui/qt/calculator/Printing.h"
#include "ui/qt/calculator/Style.h"
#include "ui/qt/calculator/Widgets.h"

using namespace korrin;
using namespace korrin::test;

namespace {

QString ShotDir() {
  QString dir = qEnvironmentVariable("KORRIN_SCREENSHOT_DIR");
  if (dir.isEmpty()) dir = QCoreApplication::applicationDirPath() + "/screenshots";
  QDir().mkpath(dir);
  return dir;
}

QImage Shoot(Desk& desk, const QString& file) {
  QImage image = ClientAreaImage(desk.window.ClientPanel());
  image.save(ShotDir() + "/" + file);
  return image;
}

// The colour in the middle of a control, in client-panel pixels.
QColor ColourAt(Desk& desk, const QImage& image, const std::string& name) {
  QWidget* w = desk.window.ControlWidget(name);
  const QPoint p = w->mapTo(desk.window.ClientPanel(), w->rect().center());
  return image.pixelColor(p);
}

}  // namespace

class ScreenshotTest : public QObject {
  Q_OBJECT
 private slots:
  void startUp() {
    Desk desk;
    QVERIFY(desk.Open());
    const QImage image = Shoot(desk, "startup.png");
    QCOMPARE(image.size(), QSize(790, 541));
    // FCC is the selected standard, the dish group is the antenna in use.
    QCOMPARE(ColourAt(desk, image, "Panel78"), ToQColor(Colour::Green));
    QCOMPARE(ColourAt(desk, image, "Panel45"), ToQColor(Colour::TooltipBackground));
    QCOMPARE(ColourAt(desk, image, "Panel46"), ToQColor(Colour::ButtonFace));
  }

  void hfSide() {
    Desk desk;
    QVERIFY(desk.Open());
    Click(desk.Widget<QWidget>("HF_Select"));
    const QImage image = Shoot(desk, "hf.png");
    QCOMPARE(ColourAt(desk, image, "Panel85"), ToQColor(Colour::TooltipBackground));
    QCOMPARE(ColourAt(desk, image, "Panel45"), ToQColor(Colour::ButtonFace));
  }

  void twoRanges() {
    Desk desk;
    QVERIFY(desk.Open());
    Click(desk.Widget<RadioGroupBox>("RadioGroup1")->Item(5));  // 1296 MHz
    Click(desk.Widget<RadioGroupBox>("RadioGroup5")->Item(3));  // 1300 W
    const QImage image = Shoot(desk, "two-ranges.png");
    QVERIFY(desk.Board("Panel63").visible);
    QCOMPARE(image.size(), QSize(790, 541));
  }

  void disclaimer() {
    Desk desk;
    QVERIFY(desk.Open());
    Click(desk.Widget<QWidget>("SpeedButton1"));
    const QImage image = Shoot(desk, "disclaimer.png");
    // The memo lies over the groups beneath it.
    QCOMPARE(ColourAt(desk, image, "Panel2"), ToQColor(Colour::Yellow));
  }

  void dataPanel() {
    Desk desk;
    QVERIFY(desk.Open());
    Click(desk.Widget<QWidget>("BitBtn3"));
    const QImage image = Shoot(desk, "data-panel.png");
    QVERIFY(desk.Board("Panel83").visible);
    // The panel covers the Print button.
    QWidget* print = desk.window.ControlWidget("BitBtn2");
    QWidget* panel = desk.window.ControlWidget("Panel83");
    const QPoint centre = print->mapTo(desk.window.ClientPanel(), print->rect().center());
    QWidget* top = desk.window.ClientPanel()->childAt(centre);
    QVERIFY(top == panel || panel->isAncestorOf(top));
  }
};

KORRIN_QT_TEST_MAIN(ScreenshotTest)
#include "ScreenshotTest.moc"
