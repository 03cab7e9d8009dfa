// The window without a mouse: the Tab chain in reading order on both band
// sides and under the data panel, Space and Enter on the toggle and
// selector panels, the arrow and page keys on spin buttons, radio groups
// and the tower bar, the mouse wheel over a spin value, the focus frame,
// and the accessible names.  Each key must change the station exactly as
// the matching click does.
#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QDir>
#include <QImage>
#include <QProgressBar>
#include <QRadioButton>
#include <QSlider>
#include <QToolButton>
#include <QWheelEvent>
#include <QtTest>
#include <cmath>
#include <limits>

#include "QtTestSupport.h"
#include "ui/Controls.h"
#include "ui/qt/calculator/Printing.h"
#include "ui/qt/calculator/Style.h"
#include "ui/qt/calculator/Widgets.h"

using namespace korrin;
using namespace korrin::test;

namespace {

// The control a focused widget belongs to (a radio item: its group).
QString ControlOf(QWidget* w) {
  if (w == nullptr) return "(none)";
  if (qobject_cast<QRadioButton*>(w) && w->parentWidget() != nullptr) {
    return w->parentWidget()->objectName();
  }
  return w->objectName();
}

void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QWidget* w = QApplication::focusWidget();
  QVERIFY(w != nullptr);
  QTest::keyClick(w, static_cast<Qt::Key>(key), modifiers);
}

// Focuses `name` as Tab would (a radio group: its selected item).
void FocusOn(Desk& desk, const std::string& name) {
  if (!desk.window.isActiveWindow()) {
    desk.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&desk.window));
  }
  QWidget* w = desk.window.ControlWidget(name);
  if (auto* group = qobject_cast<RadioGroupBox*>(w)) {
    w = group->Item(std::max(0, group->ItemIndex()));
  }
  w->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
}

// The controls Tab visits from `first` until it comes back to it.
QStringList TabChain(Desk& desk, const std::string& first, bool backwards = false) {
  FocusOn(desk, first);
  QStringList chain{ControlOf(QApplication::focusWidget())};
  for (int i = 0; i < 200; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab,
                    backwards ? Qt::ShiftModifier : Qt::NoModifier);
    const QString now = ControlOf(QApplication::focusWidget());
    if (now == chain.front()) break;
    chain << now;
  }
  return chain;
}

// Every input the window shows, found from the widgets themselves and what
// lies on top at their centres.
QSet<QString> VisibleInputs(Desk& desk) {
  QSet<QString> out;
  QWidget* client = desk.window.ClientPanel();
  for (QWidget* w : client->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(client)) continue;
    const bool spinArrow = qobject_cast<QToolButton*>(w) && qobject_cast<SpinPair*>(w->parent());
    auto* box = qobject_cast<PanelBox*>(w);
    const bool input =
        qobject_cast<RadioGroupBox*>(w) || qobject_cast<SpinPair*>(w) ||
        qobject_cast<QSlider*>(w) ||
        (qobject_cast<QAbstractButton*>(w) && !qobject_cast<QRadioButton*>(w) && !spinArrow) ||
        (box && box->Clickable() && w->objectName() != "Memo2");
    // Under another control (the start-up's two stacked side switches) it
    // is not shown.
    QWidget* top = client->childAt(w->mapTo(client, w->rect().center()));
    const bool onTop = top == w || w->isAncestorOf(top);
    if (input && onTop) out.insert(w->objectName());
  }
  return out;
}

const QStringList kVhfChain = {
    "RadioGroup1", "HF_Select",        "RadioGroup4",  "RadioGroup5", "RadioGroup6", "RadioGroup7",
    "SpinButton3", "GroundGainSelect", "SpeedButton1", "DefaultData", "RadioGroup2", "RadioGroup3",
    "Panel45",     "SpinButton1",      "SpinButton2",  "Button2",     "Panel46",     "SpinButton7",
    "SpinButton8", "LNALoss",          "LNANf",        "LNAGain",     "LNARxLoss",   "RxNF",
    "SpillOver",   "FeedThr",          "TSky",         "SpinButton5", "SpeedChange", "MeshDiam",
    "MeshSpacing", "Solid_Mesh",       "SpinButton4",  "SolarFlux",   "Panel75",     "Panel77",
    "Panel78",     "Panel79",          "RadUpDn",      "BitBtn2",     "BitBtn3",     "BitBtn1",
    "Panel44"};

const QStringList kHfChain = {
    "RadioGroup8", "SHF_Select",       "RadioGroup4",  "RadioGroup5", "RadioGroup6", "RadioGroup7",
    "SpinButton3", "GroundGainSelect", "SpeedButton1", "DefaultData", "RadioGroup2", "RadioGroup3",
    "Panel45",     "SpinButton1",      "SpinButton2",  "Button2",     "Panel46",     "SpinButton7",
    "SpinButton8", "Panel85",          "Panel67",      "Panel68",     "VerticalS",   "Panel69",
    "BeamS",       "Panel80",          "VaryGain",     "TrackBar1",   "Panel75",     "Panel77",
    "Panel78",     "Panel79",          "RadUpDn",      "BitBtn2",     "BitBtn3",     "BitBtn1",
    "Panel44"};

QStringList WithDataPanel(QStringList chain) {
  // The data panel lies over Print, Data, Close and the version panel.
  const qsizetype at = chain.indexOf("BitBtn2");
  chain.erase(chain.begin() + at, chain.end());
  chain << "Save_Data"
        << "Get_File"
        << "BitBtn9";
  return chain;
}

void RunHandlerClick(Desk& desk, const std::string& name) {
  auto* w = desk.window.ControlWidget(name);
  Click(w);
}

}  // namespace

class KeyboardTest : public QObject {
  Q_OBJECT
 private slots:
  void tabVisitsEveryShownInputOnceInReadingOrder_data() {
    QTest::addColumn<QStringList>("clicks");  // buttons clicked first
    QTest::addColumn<QStringList>("chain");
    QTest::addColumn<bool>("everyInput");  // the chain holds every shown input
    QTest::newRow("VHF - SHF") << QStringList{} << kVhfChain << true;
    QTest::newRow("HF") << QStringList{"HF_Select"} << kHfChain << true;
    QTest::newRow("data panel") << QStringList{"BitBtn3"} << WithDataPanel(kVhfChain) << false;
    QTest::newRow("HF, data panel")
        << QStringList{"HF_Select", "BitBtn3"} << WithDataPanel(kHfChain) << false;
  }
  void tabVisitsEveryShownInputOnceInReadingOrder() {
    QFETCH(QStringList, clicks);
    QFETCH(QStringList, chain);
    QFETCH(bool, everyInput);
    Desk desk;
    QVERIFY(desk.Open());
    for (const QString& c : clicks) RunHandlerClick(desk, c.toStdString());
    const QStringList forward = TabChain(desk, chain.front().toStdString());
    QCOMPARE(forward, chain);
    QStringList backward = TabChain(desk, chain.front().toStdString(), true);
    std::reverse(backward.begin() + 1, backward.end());
    QCOMPARE(backward, chain);
    if (everyInput) {
      const QSet<QString> reached(forward.begin(), forward.end());
      const QSet<QString> inputs = VisibleInputs(desk);
      QVERIFY2(reached == inputs,
               qPrintable("not reached: " + QStringList((inputs - reached).values()).join(' ') +
                          "; not inputs: " + QStringList((reached - inputs).values()).join(' ')));
    }
  }

  void tabEntersARadioGroupOnItsSelectedItem() {
    Desk desk;
    QVERIFY(desk.Open());
    FocusOn(desk, "RadioGroup7");
    Key(Qt::Key_Tab, Qt::ShiftModifier);  // back into the tens
    QCOMPARE(QApplication::focusWidget()->objectName(), QString("RadioGroup6_0"));
    Key(Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget()->objectName(), QString("RadioGroup5_5"));
    Key(Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget()->objectName(), QString("RadioGroup4_1"));
  }

  // A key on a focused control against the click it stands for.
  void keysActAsTheirClicks_data() {
    QTest::addColumn<QStringList>("before");  // clicks on both desks first
    QTest::addColumn<QString>("control");     // focused
    QTest::addColumn<QList<int>>("keys");     // pressed
    QTest::addColumn<QStringList>("clicks");  // the mouse's way: "Name" or "Name+"/"Name-"
    QTest::addColumn<QString>("shown");       // a display ...
    QTest::addColumn<QString>("text");        // ... and what it then shows
    using L = QList<int>;
    QTest::newRow("Space on ground reflection")
        << QStringList{} << "GroundGainSelect" << L{Qt::Key_Space}
        << QStringList{"GroundGainSelect"} << ""
        << "";
    QTest::newRow("Enter on the yagi selector")
        << QStringList{} << "Panel46" << L{Qt::Key_Return} << QStringList{"Panel46"} << "Panel39"
        << "1";
    QTest::newRow("Space on AS2772")
        << QStringList{} << "Panel75" << L{Qt::Key_Space} << QStringList{"Panel75"} << ""
        << "";
    QTest::newRow("Space on the HF switch")
        << QStringList{} << "HF_Select" << L{Qt::Key_Space} << QStringList{"HF_Select"} << "Panel23"
        << "0.0 dB";
    QTest::newRow("Space on solid/mesh")
        << QStringList{} << "Solid_Mesh" << L{Qt::Key_Space} << QStringList{"Solid_Mesh"} << ""
        << "";
    QTest::newRow("Space on the multiplier")
        << QStringList{} << "SpeedChange" << L{Qt::Key_Space} << QStringList{"SpeedChange"} << ""
        << "";
    QTest::newRow("Space on the vertical")
        << QStringList{"HF_Select"} << "Panel68" << L{Qt::Key_Space} << QStringList{"Panel68"} << ""
        << "";
    QTest::newRow("Up on the feed loss") << QStringList{} << "SpinButton3" << L{Qt::Key_Up}
                                         << QStringList{"SpinButton3+"} << "Panel23"
                                         << "1.1 dB";
    QTest::newRow("Down twice on the feed loss")
        << QStringList{} << "SpinButton3" << L{Qt::Key_Down, Qt::Key_Down}
        << QStringList{"SpinButton3-", "SpinButton3-"} << "Panel23"
        << "0.8 dB";
    QTest::newRow("Page Up on the feed loss") << QStringList{} << "SpinButton3" << L{Qt::Key_PageUp}
                                              << QStringList(10, "SpinButton3+") << "Panel23"
                                              << "2.0 dB";
    QTest::newRow("Page Down on the path loss")
        << QStringList{} << "SpinButton4" << L{Qt::Key_PageDown} << QStringList(10, "SpinButton4-")
        << ""
        << "";
    QTest::newRow("Page Up on the yagis")
        << QStringList{"Panel46"} << "SpinButton8" << L{Qt::Key_PageUp}
        << QStringList(10, "SpinButton8+") << "Panel39"
        << "64";
    QTest::newRow("Up on the dish diameter") << QStringList{} << "SpinButton1" << L{Qt::Key_Up}
                                             << QStringList{"SpinButton1+"} << "Panel4"
                                             << "9.6 m";
    QTest::newRow("Down on the limit")
        << QStringList{"Panel79"} << "RadUpDn" << L{Qt::Key_Down} << QStringList{"RadUpDn-"} << ""
        << "";
  }
  void keysActAsTheirClicks() {
    QFETCH(QStringList, before);
    QFETCH(QString, control);
    QFETCH(QList<int>, keys);
    QFETCH(QStringList, clicks);
    QFETCH(QString, shown);
    QFETCH(QString, text);
    Desk byKey;
    Desk byMouse;
    QVERIFY(byKey.Open());
    for (const QString& c : before) RunHandlerClick(byKey, c.toStdString());
    const StationState start = byKey.form.State();
    FocusOn(byKey, control.toStdString());
    QCOMPARE(ControlOf(QApplication::focusWidget()), control);
    for (int k : keys) Key(k);

    QVERIFY(byMouse.Open());
    for (const QString& c : before) RunHandlerClick(byMouse, c.toStdString());
    for (const QString& c : clicks) {
      if (c.endsWith('+') || c.endsWith('-')) {
        auto* spin = byMouse.Widget<SpinPair>(c.chopped(1).toStdString());
        Click(c.endsWith('+') ? spin->UpButton() : spin->DownButton());
      } else {
        RunHandlerClick(byMouse, c.toStdString());
      }
    }
    QVERIFY(!SameStation(byKey.form.State(), start));
    QVERIFY(SameStation(byKey.form.State(), byMouse.form.State()));
    if (!shown.isEmpty()) QCOMPARE(ShownText(byKey.window, shown.toStdString()), text);
  }

  void arrowsSelectInARadioGroupAndRunItsHandler() {
    Desk desk;
    QVERIFY(desk.Open());
    FocusOn(desk, "RadioGroup2");  // the mode, on CW
    QCOMPARE(QApplication::focusWidget()->objectName(), QString("RadioGroup2_5"));
    Key(Qt::Key_Down);
    QCOMPARE(desk.Board("RadioGroup2").itemIndex, 6);
    QCOMPARE(desk.form.State().ModeIndex, 6);
    QCOMPARE(ShownText(desk.window, "Panel30"), QString("100 %"));  // Carrier

    // The band group: as a click on 1296 MHz would.
    Desk byMouse;
    QVERIFY(byMouse.Open());
    Click(byMouse.Widget<RadioGroupBox>("RadioGroup2")->Item(6));
    Click(byMouse.Widget<RadioGroupBox>("RadioGroup1")->Item(5));
    FocusOn(desk, "RadioGroup1");
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    QCOMPARE(desk.Board("RadioGroup1").itemIndex, 5);
    QCOMPARE(ShownText(desk.window, "Panel32"), QString("1296 MHz"));
    QVERIFY(SameStation(desk.form.State(), byMouse.form.State()));
  }

  void theTowerBarTakesArrowsAndPages() {
    Desk desk;
    QVERIFY(desk.Open());
    RunHandlerClick(desk, "HF_Select");
    FocusOn(desk, "TrackBar1");
    QCOMPARE(desk.form.State().TowerHeight, 0);
    Key(Qt::Key_Up);  // the top of the bar is the tallest tower
    QCOMPARE(desk.form.State().TowerHeight, 1);
    Key(Qt::Key_PageUp);  // ten steps, as on a spin value
    const Int paged = desk.form.State().TowerHeight;
    QCOMPARE(paged, 11);
    Key(Qt::Key_Down);
    QCOMPARE(desk.form.State().TowerHeight, paged - 1);
    QCOMPARE(desk.Board("TrackBar1").position, 30 - (paged - 1));

    Desk byMouse;
    QVERIFY(byMouse.Open());
    RunHandlerClick(byMouse, "HF_Select");
    byMouse.Widget<QSlider>("TrackBar1")->setValue(30 - (paged - 1));
    QVERIFY(SameStation(desk.form.State(), byMouse.form.State()));
    QCOMPARE(ShownText(desk.window, "StaticText2"), ShownText(byMouse.window, "StaticText2"));
  }

  void pagesOnTheTowerBarStopAtItsEnds_data() {
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("height");  // metres then
    using L = QList<int>;
    QTest::newRow("Page Up") << L{Qt::Key_PageUp} << 10;
    QTest::newRow("Page Up thrice, to the top")
        << L{Qt::Key_PageUp, Qt::Key_PageUp, Qt::Key_PageUp, Qt::Key_PageUp} << 30;
    QTest::newRow("Page Up, Page Down") << L{Qt::Key_PageUp, Qt::Key_PageDown} << 0;
    QTest::newRow("Page Down at the bottom") << L{Qt::Key_PageDown} << 0;
    QTest::newRow("Page Up, Down, Page Down")
        << L{Qt::Key_PageUp, Qt::Key_Down, Qt::Key_PageDown} << 0;
  }
  void pagesOnTheTowerBarStopAtItsEnds() {
    QFETCH(QList<int>, keys);
    QFETCH(int, height);
    Desk desk;
    QVERIFY(desk.Open());
    RunHandlerClick(desk, "HF_Select");
    FocusOn(desk, "TrackBar1");
    for (int k : keys) Key(k);
    QCOMPARE(desk.form.State().TowerHeight, height);
    QCOMPARE(ControlOf(QApplication::focusWidget()), QString("TrackBar1"));
  }

  // Space on the side switch hides it; the focus goes to the switch that
  // takes its place, never on along the chain.
  void theSideSwitchKeepsTheFocus() {
    Desk desk;
    QVERIFY(desk.Open());
    FocusOn(desk, "HF_Select");
    Key(Qt::Key_Space);
    QVERIFY(desk.form.State().HfBandsShown);
    QCOMPARE(ControlOf(QApplication::focusWidget()), QString("SHF_Select"));
    Key(Qt::Key_Space);
    QVERIFY(!desk.form.State().HfBandsShown);
    QCOMPARE(ControlOf(QApplication::focusWidget()), QString("HF_Select"));
    // A click leaves the focus where it was.
    FocusOn(desk, "SpinButton3");
    RunHandlerClick(desk, "HF_Select");
    QCOMPARE(ControlOf(QApplication::focusWidget()), QString("SpinButton3"));
  }

  // The arrows follow the band grid: items fill it column by column.
  void arrowsFollowTheBandGrid_data() {
    QTest::addColumn<QString>("group");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("to");  // the item then selected
    QTest::newRow("Right, 50 MHz to 1296 MHz") << "RadioGroup1" << 0 << int(Qt::Key_Right) << 4;
    QTest::newRow("Right, 1296 MHz to 10 GHz") << "RadioGroup1" << 4 << int(Qt::Key_Right) << 8;
    QTest::newRow("Right at the edge stays") << "RadioGroup1" << 9 << int(Qt::Key_Right) << 9;
    QTest::newRow("Left, 2304 MHz to 144 MHz") << "RadioGroup1" << 5 << int(Qt::Key_Left) << 1;
    QTest::newRow("Left at the edge stays") << "RadioGroup1" << 2 << int(Qt::Key_Left) << 2;
    QTest::newRow("Down, bottom of a column to the next")
        << "RadioGroup1" << 3 << int(Qt::Key_Down) << 4;
    QTest::newRow("Up, round the start") << "RadioGroup1" << 0 << int(Qt::Key_Up) << 11;
    QTest::newRow("mode grid: Left, CW to SSB (processed)")
        << "RadioGroup2" << 5 << int(Qt::Key_Left) << 1;
    QTest::newRow("mode grid: Right at the edge stays")
        << "RadioGroup2" << 5 << int(Qt::Key_Right) << 5;
    QTest::newRow("one column: Right is the next item")
        << "RadioGroup3" << 1 << int(Qt::Key_Right) << 2;
    QTest::newRow("one column: Left round the start")
        << "RadioGroup3" << 0 << int(Qt::Key_Left) << 4;
  }
  void arrowsFollowTheBandGrid() {
    QFETCH(QString, group);
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(int, to);
    Desk desk;
    QVERIFY(desk.Open());
    auto* box = desk.Widget<RadioGroupBox>(group.toStdString());
    Click(box->Item(from));
    FocusOn(desk, group.toStdString());
    QCOMPARE(QApplication::focusWidget(), box->Item(from));
    Key(key);
    QCOMPARE(desk.Board(group.toStdString()).itemIndex, to);
    QCOMPARE(QApplication::focusWidget(), box->Item(to));
  }

  // Entering a band group by Tab only moves the focus: a stepped path loss
  // or sky temperature stays; a key that selects a band resets them.
  void tabIntoTheBandGroupKeepsSteppedValues_data() {
    QTest::addColumn<QString>("step");  // the spin button stepped up twice
    QTest::addColumn<QString>("from");  // where the focus comes from
    QTest::addColumn<bool>("backwards");
    QTest::newRow("path loss, Shift+Tab") << "SpinButton4"
                                          << "HF_Select" << true;
    QTest::newRow("path loss, Tab round the end") << "SpinButton4"
                                                  << "Panel44" << false;
    QTest::newRow("sky temperature, Shift+Tab") << "TSky"
                                                << "HF_Select" << true;
  }
  void tabIntoTheBandGroupKeepsSteppedValues() {
    QFETCH(QString, step);
    QFETCH(QString, from);
    QFETCH(bool, backwards);
    Desk desk;
    QVERIFY(desk.Open());
    Click(desk.Widget<RadioGroupBox>("RadioGroup1")->Item(5));
    const StationState band = desk.form.State();
    for (int i = 0; i < 2; ++i) Click(desk.Widget<SpinPair>(step.toStdString())->UpButton());
    const StationState stepped = desk.form.State();
    QVERIFY(!SameStation(stepped, band));
    FocusOn(desk, from.toStdString());
    Key(Qt::Key_Tab, backwards ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(QApplication::focusWidget()->objectName(), QString("RadioGroup1_5"));
    QVERIFY(SameStation(desk.form.State(), stepped));
    // Down and Up come back to the band through its handler.
    Key(Qt::Key_Down);
    Key(Qt::Key_Up);
    QCOMPARE(desk.Board("RadioGroup1").itemIndex, 5);
    QVERIFY(SameStation(desk.form.State(), band));
  }

  void theWheelStepsOnceANotch_data() {
    QTest::addColumn<QString>("over");  // the widget under the mouse
    QTest::addColumn<QList<int>>("deltas");
    QTest::addColumn<QString>("text");  // the feed loss then
    QTest::newRow("arrows, one notch up") << "SpinButton3" << QList<int>{120} << "1.1 dB";
    QTest::newRow("value, one notch up") << "Panel23" << QList<int>{120} << "1.1 dB";
    QTest::newRow("down arrow, two notches down")
        << "SpinButton3/down" << QList<int>{-240} << "0.8 dB";
    QTest::newRow("value, half notches") << "Panel23" << QList<int>{60, 60, 60} << "1.1 dB";
    QTest::newRow("value, up and back") << "Panel23" << QList<int>{120, -120} << "1.0 dB";
  }
  void theWheelStepsOnceANotch() {
    QFETCH(QString, over);
    QFETCH(QList<int>, deltas);
    QFETCH(QString, text);
    Desk desk;
    QVERIFY(desk.Open());
    QWidget* target = nullptr;
    if (over == "SpinButton3/down") {
      target = desk.Widget<SpinPair>("SpinButton3")->DownButton();
    } else {
      target = desk.window.ControlWidget(over.toStdString());
    }
    for (int delta : deltas) {
      const QPointF at = QPointF(target->rect().center());
      QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                        Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(target, &wheel);
      QVERIFY(wheel.isAccepted());
    }
    QCOMPARE(ShownText(desk.window, "Panel23"), text);
  }

  void theFocusFrameShowsOnlyWithTheFocus_data() {
    QTest::addColumn<QString>("control");
    QTest::newRow("selector") << "Panel45";
    QTest::newRow("toggle") << "GroundGainSelect";
    QTest::newRow("spin button") << "SpinButton3";
    QTest::newRow("band item") << "RadioGroup1";
    QTest::newRow("mode item") << "RadioGroup2";
    QTest::newRow("tower bar") << "TrackBar1";
  }
  void theFocusFrameShowsOnlyWithTheFocus() {
    QFETCH(QString, control);
    Desk desk;
    QVERIFY(desk.Open());
    if (control == "TrackBar1") RunHandlerClick(desk, "HF_Select");
    FocusOn(desk, "Panel45");  // the window active, as the user sees it
    if (QWidget* f = QApplication::focusWidget()) f->clearFocus();
    QApplication::processEvents();
    const QImage plain = ClientAreaImage(desk.window.ClientPanel());
    QWidget* w = desk.window.ControlWidget(control.toStdString());
    if (auto* group = qobject_cast<RadioGroupBox*>(w))
      w = group->Item(std::max(0, group->ItemIndex()));
    // There and back by the keyboard: the window then marks the focus.
    w->setFocus(Qt::TabFocusReason);
    Key(Qt::Key_Tab);
    Key(Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), w);
    QApplication::processEvents();
    const QImage framed = ClientAreaImage(desk.window.ClientPanel());
    QVERIFY(framed != plain);
    // A mark to be seen: somewhere a run of the highlight colour two pixels
    // thick, across and down, that was not there without the focus.
    const QRgb mark = WindowPalette().color(QPalette::Highlight).rgb();
    const auto marked = [&](int x, int y) {
      return framed.valid(x, y) && framed.pixel(x, y) == mark && plain.pixel(x, y) != mark;
    };
    constexpr int kRun = 4;  // pixels along a side of the smallest frame
    bool across = false;
    bool down = false;
    for (int y = 0; y < framed.height(); ++y) {
      for (int x = 0; x < framed.width(); ++x) {
        bool a = true;
        bool d = true;
        for (int i = 0; i < kRun; ++i) {
          a = a && marked(x + i, y) && marked(x + i, y + 1);
          d = d && marked(x, y + i) && marked(x + 1, y + i);
        }
        across = across || a;
        down = down || d;
      }
    }
    QVERIFY2(across && down, "no focus mark two pixels wide in the highlight colour");
    // For a look by eye, beside the window's other pictures.
    const QString dir = qEnvironmentVariable("KORRIN_SCREENSHOT_DIR");
    if (!dir.isEmpty() && QDir().mkpath(dir)) framed.save(dir + "/focus-" + control + ".png");
    // The frame stays inside the control.
    const QRect r(w->mapTo(desk.window.ClientPanel(), QPoint(0, 0)), w->size());
    for (int y = 0; y < plain.height(); y += 1) {
      for (int x = 0; x < plain.width(); x += 1) {
        if (!r.contains(x, y) && plain.pixel(x, y) != framed.pixel(x, y)) {
          QFAIL(qPrintable(QString("changed outside the control at %1,%2").arg(x).arg(y)));
        }
      }
    }
    w->clearFocus();
    QApplication::processEvents();
    QCOMPARE(ClientAreaImage(desk.window.ClientPanel()), plain);
  }

  // A panel that takes the focus must draw its caption exactly as a panel
  // that does not: the pictures and the printed page stay as they were.
  // (In the small caption type a label laid out as a document shifts.)
  void aFocusablePanelLooksLikeAnyOther_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("frame");
    QTest::addColumn<QSize>("size");
    const int raised = QFrame::Panel | QFrame::Raised;
    const int sunken = QFrame::Panel | QFrame::Sunken;
    QTest::newRow("side switch") << "HF" << int(Qt::AlignCenter) << raised << QSize(20, 15);
    QTest::newRow("version") << "Korrin Ver 4.4" << int(Qt::AlignCenter) << sunken << QSize(77, 19);
    QTest::newRow("antenna, left")
        << "\u00bd Dipole" << int(Qt::AlignLeft | Qt::AlignVCenter) << raised << QSize(74, 21);
    QTest::newRow("right") << "3el 14 MHz" << int(Qt::AlignRight | Qt::AlignVCenter) << raised
                           << QSize(76, 21);
    QTest::newRow("no frame") << "Variable" << int(Qt::AlignLeft | Qt::AlignVCenter)
                              << int(QFrame::NoFrame) << QSize(62, 21);
  }
  void aFocusablePanelLooksLikeAnyOther() {
    QFETCH(QString, text);
    QFETCH(int, alignment);
    QFETCH(int, frame);
    QFETCH(QSize, size);
    QWidget host;
    host.setPalette(WindowPalette());
    PanelBox plain(&host);
    PanelBox focusable(&host);
    for (PanelBox* p : {&plain, &focusable}) {
      p->setFont(WindowFont(FontRole::Small));
      p->setFrameStyle(frame);
      p->setAlignment(Qt::Alignment(alignment));
      p->SetClickable(true);
      p->resize(size);
      p->setText(text);
    }
    focusable.setFocusPolicy(Qt::TabFocus);
    focusable.setText(focusable.text() + " ");  // laid out again under its focus policy
    focusable.setText(plain.text());
    QCOMPARE(focusable.grab().toImage(), plain.grab().toImage());
  }

  void aMouseClickLeavesNoFrame() {
    Desk desk;
    QVERIFY(desk.Open());
    Click(desk.window.ControlWidget("Panel46"));
    Click(desk.Widget<SpinPair>("SpinButton8")->UpButton());
    QVERIFY(!desk.window.ControlWidget("Panel46")->hasFocus());
    QVERIFY(!desk.window.ControlWidget("SpinButton8")->hasFocus());
  }

  void namesCarryCaptionAndValue_data() {
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
    const QString keys = "Up and Down arrow keys step it, Page Up and Page Down ten steps";
    QTest::newRow("zone") << QStringList{} << "Panel64"
                          << "On axis exclusion zone, 88.34 Metres"
                          << "Radiation above limit selected";
    QTest::newRow("feed loss") << QStringList{} << "Panel23"
                               << "Transmission Loss, 1.0 dB"
                               << "Feed and other losses";
    QTest::newRow("feed loss arrows") << QStringList{"SpinButton3+"} << "SpinButton3"
                                      << "Transmission Loss, 1.1 dB"
                                      << "Feed and other losses; " + keys;
    QTest::newRow("LNA loss, caption below") << QStringList{} << "Panel28"
                                             << "LNA Loss, 0.10 dB"
                                             << "Loss between Ae and LNA";
    QTest::newRow("sky, caption above") << QStringList{} << "Panel31"
                                        << "T Sky, 15 \u00b0K"
                                        << "";
    QTest::newRow("far-field density, by its hint")
        << QStringList{} << "Panel49"
        << "Far Field Radiation in W/sq M, 0.3327 W/sq M"
        << "Far Field Radiation in W/sq M";
    QTest::newRow("selector on") << QStringList{} << "Panel45"
                                 << "Select Dish, on"
                                 << "Select Dish";
    QTest::newRow("selector off") << QStringList{} << "Panel46"
                                  << "Select Yagi"
                                  << "Select Yagi";
    QTest::newRow("toggle switched on") << QStringList{"GroundGainSelect"} << "GroundGainSelect"
                                        << "Include ground reflection, on"
                                        << "Include ground reflection";
    QTest::newRow("tower") << QStringList{"HF_Select"} << "TrackBar1"
                           << "Tower height, 0.00 Metres"
                           << "Tower Height";
    QTest::newRow("tower zone") << QStringList{"HF_Select"} << "StaticText1"
                                << "On Axis Exclusion Zone, 2.22 Metres"
                                << "";
  }
  void namesCarryCaptionAndValue() {
    QFETCH(QStringList, clicks);
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(QString, description);
    Desk desk;
    QVERIFY(desk.Open());
    for (const QString& c : clicks) {
      if (c.endsWith('+')) {
        Click(desk.Widget<SpinPair>(c.chopped(1).toStdString())->UpButton());
      } else {
        RunHandlerClick(desk, c.toStdString());
      }
    }
    QWidget* w = desk.window.ControlWidget(control.toStdString());
    QCOMPARE(w->accessibleName(), name);
    QCOMPARE(w->accessibleDescription(), description);
  }

  // What a screen reader is told: the role, and for steppers the value
  // as the window shows it.
  void accessibleRolesAndValues_data() {
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("role");
    QTest::addColumn<QVariant>("value");  // invalid: no value interface
    QTest::addColumn<QVariant>("minimum");
    QTest::addColumn<QVariant>("maximum");
    const QVariant none;
    QTest::newRow("HF switch") << QStringList{} << "HF_Select" << int(QAccessible::Button) << none
                               << none << none;
    QTest::newRow("dish selector")
        << QStringList{} << "Panel45" << int(QAccessible::Button) << none << none << none;
    QTest::newRow("standard box") << QStringList{} << "Panel75" << int(QAccessible::Button) << none
                                  << none << none;
    QTest::newRow("ground reflection")
        << QStringList{} << "GroundGainSelect" << int(QAccessible::Button) << none << none << none;
    QTest::newRow("a display stays text")
        << QStringList{} << "Panel23" << int(QAccessible::StaticText) << none << none << none;
    const QVariant open(std::numeric_limits<double>::max());  // no ceiling
    QTest::newRow("feed loss") << QStringList{} << "SpinButton3" << int(QAccessible::SpinBox)
                               << QVariant(1.0) << QVariant(0.0) << open;
    QTest::newRow("feed loss stepped")
        << QStringList{"SpinButton3+"} << "SpinButton3" << int(QAccessible::SpinBox)
        << QVariant(1.1) << QVariant(0.0) << open;
    QTest::newRow("dish diameter") << QStringList{} << "SpinButton1" << int(QAccessible::SpinBox)
                                   << QVariant(9.5) << QVariant(0.1) << open;
    QTest::newRow("variable gain")
        << QStringList{"HF_Select"} << "VaryGain" << int(QAccessible::SpinBox) << QVariant(2.0)
        << QVariant(0.0) << open;
    QTest::newRow("tower bar at 0 m")
        << QStringList{"HF_Select"} << "TrackBar1" << int(QAccessible::Slider) << QVariant(0)
        << QVariant(0) << QVariant(30);
    QTest::newRow("tower bar at 30 m")
        << QStringList{"HF_Select", "TrackBar1=0"} << "TrackBar1" << int(QAccessible::Slider)
        << QVariant(30) << QVariant(0) << QVariant(30);
  }
  void accessibleRolesAndValues() {
    QFETCH(QStringList, clicks);
    QFETCH(QString, control);
    QFETCH(int, role);
    QFETCH(QVariant, value);
    QFETCH(QVariant, minimum);
    QFETCH(QVariant, maximum);
    Desk desk;
    QVERIFY(desk.Open());
    for (const QString& c : clicks) {
      if (c.endsWith('+')) {
        Click(desk.Widget<SpinPair>(c.chopped(1).toStdString())->UpButton());
      } else if (c.contains('=')) {
        desk.Widget<QSlider>(c.section('=', 0, 0).toStdString())
            ->setValue(c.section('=', 1).toInt());
      } else {
        RunHandlerClick(desk, c.toStdString());
      }
    }
    QWidget* w = desk.window.ControlWidget(control.toStdString());
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    QVERIFY(a != nullptr);
    QCOMPARE(int(a->role()), role);
    QCOMPARE(a->text(QAccessible::Name), w->accessibleName());
    QAccessibleValueInterface* v = a->valueInterface();
    QCOMPARE(v != nullptr, value.isValid());
    if (v == nullptr) return;
    QVERIFY2(qAbs(v->currentValue().toDouble() - value.toDouble()) < 1e-9,
             qPrintable(v->currentValue().toString()));
    QCOMPARE(v->minimumValue(), minimum);
    QCOMPARE(v->maximumValue(), maximum);
  }

  // A screen reader sets a value as the keys would step it.
  void accessibleValuesCanBeSet() {
    Desk desk;
    QVERIFY(desk.Open());
    QAccessibleInterface* feed =
        QAccessible::queryAccessibleInterface(desk.window.ControlWidget("SpinButton3"));
    feed->valueInterface()->setCurrentValue(1.5);
    QCOMPARE(ShownText(desk.window, "Panel23"), QString("1.5 dB"));
    feed->valueInterface()->setCurrentValue(-4.0);  // the handler stops at 0
    QCOMPARE(ShownText(desk.window, "Panel23"), QString("0.0 dB"));
    RunHandlerClick(desk, "HF_Select");
    QAccessibleInterface* bar =
        QAccessible::queryAccessibleInterface(desk.window.ControlWidget("TrackBar1"));
    bar->valueInterface()->setCurrentValue(12);
    QCOMPARE(desk.form.State().TowerHeight, 12);
    QCOMPARE(bar->valueInterface()->currentValue().toInt(), 12);
    // Pressing a panel is its click.
    QAccessibleInterface* ground =
        QAccessible::queryAccessibleInterface(desk.window.ControlWidget("GroundGainSelect"));
    QVERIFY(ground->actionInterface()->actionNames().contains(
        QAccessibleActionInterface::pressAction()));
    ground->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QVERIFY(desk.form.State().GroundReflection);
  }

  // Each stepped value's announced range is where its handler stops: held
  // down at the floor (and at a ceiling where it has one) the value stays
  // there and reads as the bound.
  void spinRangesAreWhereTheHandlersStop_data() {
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("spin");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");  // the largest double: no ceiling
    const double open = std::numeric_limits<double>::max();
    const QStringList yagi{"Panel46"};
    QTest::newRow("feed loss") << QStringList{} << "SpinButton3" << 0.0 << open;
    QTest::newRow("dish diameter, metres") << QStringList{} << "SpinButton1" << 0.1 << open;
    QTest::newRow("dish efficiency") << QStringList{} << "SpinButton2" << 0.01 << 1.0;
    QTest::newRow("yagi gain") << yagi << "SpinButton7" << 0.0 << open;
    QTest::newRow("stacked yagis") << yagi << "SpinButton8" << 1.0 << 256.0;
    QTest::newRow("free gain") << QStringList{"HF_Select", "Panel80"} << "VaryGain" << 0.0 << open;
    QTest::newRow("limit by hand") << QStringList{"Panel79"} << "RadUpDn" << 0.1 << open;
    QTest::newRow("LNA loss") << QStringList{} << "LNALoss" << 0.01 << open;
    QTest::newRow("LNA noise figure") << QStringList{} << "LNANf" << 0.01 << open;
    QTest::newRow("LNA gain") << QStringList{} << "LNAGain" << 0.0 << open;
    QTest::newRow("loss before receiver") << QStringList{} << "LNARxLoss" << 0.0 << open;
    QTest::newRow("receiver noise figure") << QStringList{} << "RxNF" << 0.0 << open;
    QTest::newRow("sky temperature") << QStringList{} << "TSky" << 0.0 << open;
    QTest::newRow("bandwidth") << QStringList{} << "SpinButton5" << 10.0 << open;
    QTest::newRow("spillover") << QStringList{} << "SpillOver" << 0.0 << open;
    QTest::newRow("mesh wire") << QStringList{} << "MeshDiam" << 0.01 << open;
    // One radius of the 1.00 mm wire.
    QTest::newRow("mesh spacing") << QStringList{} << "MeshSpacing" << 0.5 << open;
    QTest::newRow("path loss, fast steps")
        << QStringList{"SpeedChange"} << "SpinButton4" << 0.0 << open;
    QTest::newRow("solar flux") << QStringList{} << "SolarFlux" << 1.0 << open;
  }
  void spinRangesAreWhereTheHandlersStop() {
    QFETCH(QStringList, clicks);
    QFETCH(QString, spin);
    QFETCH(double, minimum);
    QFETCH(double, maximum);
    Desk desk;
    QVERIFY(desk.Open());
    for (const QString& c : clicks) RunHandlerClick(desk, c.toStdString());
    auto* pair = desk.Widget<SpinPair>(spin.toStdString());
    QAccessibleValueInterface* v = QAccessible::queryAccessibleInterface(pair)->valueInterface();
    QVERIFY(v != nullptr);
    QCOMPARE(v->minimumValue().toDouble(), minimum);
    QCOMPARE(v->maximumValue().toDouble(), maximum);

    // Down to the floor, as a screen reader would set it, and once more.
    v->setCurrentValue(-1e6);
    QCOMPARE(v->currentValue().toDouble(), minimum);
    Click(pair->DownButton());
    QCOMPARE(v->currentValue().toDouble(), minimum);
    if (maximum == std::numeric_limits<double>::max()) return;
    v->setCurrentValue(1e6);
    QCOMPARE(v->currentValue().toDouble(), maximum);
    Click(pair->UpButton());
    QCOMPARE(v->currentValue().toDouble(), maximum);
  }

  // In feet the diameter's steps of 3.937 cm pass under the 10 cm the
  // handler restarts at, down to 1 cm: that is the floor announced, and a
  // step under it starts again at 10 cm (0.3 ft).
  void dishDiameterInFeetGoesUnderTheRestart() {
    Desk desk;
    QVERIFY(desk.Open());
    RunHandlerClick(desk, "Button2");
    auto* pair = desk.Widget<SpinPair>("SpinButton1");
    QAccessibleValueInterface* v = QAccessible::queryAccessibleInterface(pair)->valueInterface();
    QCOMPARE(v->minimumValue().toDouble(), 0.0);  // 1 cm is 0.03 ft
    v->setCurrentValue(-1e6);
    QVERIFY(desk.form.State().DishDiameterCm >= 1.0L);
    QVERIFY(desk.form.State().DishDiameterCm < 10.0L);
    QVERIFY(v->currentValue().toDouble() >= v->minimumValue().toDouble());
    Click(pair->DownButton());
    QCOMPARE(desk.form.State().DishDiameterCm, 10.0L);
    QCOMPARE(v->currentValue().toDouble(), 0.3);
  }

  // The feed-through shows the mesh's leak with the extra added: its floor
  // is the leak alone, as the window shows it with no extra.
  void feedThroughFloorIsTheMeshLeak() {
    Desk desk;
    QVERIFY(desk.Open());
    auto* pair = desk.Widget<SpinPair>("FeedThr");
    QAccessibleValueInterface* v = QAccessible::queryAccessibleInterface(pair)->valueInterface();
    Click(pair->UpButton());
    Click(pair->UpButton());
    const double raised = v->currentValue().toDouble();
    QVERIFY(raised > v->minimumValue().toDouble());
    v->setCurrentValue(-1e6);
    QCOMPARE(desk.form.State().FeedThroughExtraK, 0.0L);
    QCOMPARE(v->currentValue().toDouble(), v->minimumValue().toDouble());
    QCOMPARE(v->minimumValue().toDouble(), double(std::round(desk.form.State().MeshLeakTempK)));
  }

  // Choosers that go round a list read as their caption, with no number
  // taken from it and no range.
  void listChoosersHaveNoRange_data() {
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<QString>("spin");
    QTest::addColumn<QString>("caption");
    QTest::newRow("vertical's length") << "Panel68"
                                       << "VerticalS"
                                       << "¼ w vertical";
    QTest::newRow("beam's band") << "Panel69"
                                 << "BeamS"
                                 << "3el 14 MHz";
  }
  void listChoosersHaveNoRange() {
    QFETCH(QString, clicks);
    QFETCH(QString, spin);
    QFETCH(QString, caption);
    Desk desk;
    QVERIFY(desk.Open());
    RunHandlerClick(desk, "HF_Select");
    RunHandlerClick(desk, clicks.toStdString());
    QAccessibleInterface* a =
        QAccessible::queryAccessibleInterface(desk.window.ControlWidget(spin.toStdString()));
    QCOMPARE(a->text(QAccessible::Value), caption);
    QAccessibleValueInterface* v = a->valueInterface();
    QVERIFY(v != nullptr);
    QVERIFY(!v->currentValue().isValid());
    QVERIFY(!v->minimumValue().isValid());
    QVERIFY(!v->maximumValue().isValid());
    v->setCurrentValue(5);  // a number chooses nothing
    QCOMPARE(a->text(QAccessible::Value), caption);
  }

  void everyInputAndDisplayHasAName() {
    Desk desk;
    QVERIFY(desk.Open());
    for (const ControlDecl& c : MainWindowControls()) {
      QWidget* w = desk.window.ControlWidget(c.name);
      const bool needsName = c.kind == ControlKind::SpinButton || c.kind == ControlKind::TrackBar ||
                             c.kind == ControlKind::StaticText;
      auto* box = qobject_cast<PanelBox*>(w);
      const bool toggle = box != nullptr && box->Clickable() && c.name != "Memo2";
      if (needsName || toggle) QVERIFY2(!w->accessibleName().isEmpty(), c.name.c_str());
      // No name is the control's internal one.
      QVERIFY2(!w->accessibleName().contains(QString::fromStdString(c.name)), c.name.c_str());
    }
  }
};

KORRIN_QT_TEST_MAIN(KeyboardTest)
#include "KeyboardTest.moc"
