// The window on the offscreen platform: what it shows at start-up, that a
// click reaches the window logic and the window then shows the board, the
// band-side switch, the Escape key, the disclaimer, the track bar, the
// focus-enter handler of the band groups, that every text fits, the
// questions before unsaved changes are lost, the title and where the client
// panel stands.
#include <QAbstractButton>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <QtTest>

#include "QtTestSupport.h"
#include "ui/Controls.h"
#include "ui/qt/calculator/Layout.h"
#include "ui/qt/calculator/Style.h"
#include "ui/qt/calculator/Widgets.h"

using namespace korrin;
using namespace korrin::test;

namespace {

// Every control's widget shows what the board holds: text, visibility,
// selection, colours.  Returns the first difference, empty when none.
QString MirrorDifference(Desk& desk) {
  for (const std::string& name : desk.form.Board().names()) {
    const Control& c = desk.Board(name);
    QWidget* w = desk.window.ControlWidget(name);
    const QString n = QString::fromStdString(name);
    if (w == nullptr) return n + ": no widget";
    if (w->isVisibleTo(w->parentWidget()) != c.visible) return n + ": visibility";
    const QString shown = ShownText(desk.window, name);
    const bool hasText = !qobject_cast<SpinPair*>(w) && !qobject_cast<QSlider*>(w) &&
                         !qobject_cast<QProgressBar*>(w) &&
                         !(name == "Panel1" || name == "Panel13" || name == "Panel15" ||
                           name == "SystemPerformance" || name == "Panel8" || name == "Panel12" ||
                           name == "Panel83");
    if (hasText && shown != QString::fromStdString(c.text)) {
      return n + ": text \"" + shown + "\" instead of \"" + QString::fromStdString(c.text) + "\"";
    }
    if (auto* group = qobject_cast<RadioGroupBox*>(w); group && group->ItemIndex() != c.itemIndex) {
      return n + ": item " + QString::number(group->ItemIndex());
    }
    if (name == "Panel64" && c.top > 0 && w->y() != c.top) return n + ": top edge";
    if (auto* slider = qobject_cast<QSlider*>(w); slider && slider->value() != c.position) {
      return n + ": track bar position";
    }
    if (auto* bar = qobject_cast<QProgressBar*>(w); bar && bar->value() != c.position) {
      return n + ": progress bar position";
    }
    if (qobject_cast<PanelBox*>(w) || qobject_cast<QGroupBox*>(w)) {
      if (w->palette().color(QPalette::Window) != ToQColor(c.color)) return n + ": colour";
      if (w->palette().color(QPalette::WindowText) != ToQColor(c.fontColor)) {
        return n + ": font colour";
      }
    }
  }
  return {};
}

QRadioButton* Item(Desk& desk, const std::string& group, int index) {
  return desk.Widget<RadioGroupBox>(group)->Item(index);
}

void Spin(Desk& desk, const std::string& name, bool up) {
  auto* spin = desk.Widget<SpinPair>(name);
  Click(up ? spin->UpButton() : spin->DownButton());
}

// The width a text needs in its widget against the width it has; a
// description of the first widget whose text does not fit, empty if all fit.
QString FirstClippedText(QWidget* root) {
  const auto overflow = [](QWidget* w, int need, int room) {
    return w->objectName() + " (" + QString::number(need) + " > " + QString::number(room) + ")";
  };
  for (QWidget* w : root->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(root)) continue;
    if (auto* label = qobject_cast<QLabel*>(w)) {
      if (label->text().isEmpty()) continue;
      const QFontMetrics fm(label->font());
      const QStringList lines = label->text().split('\n');
      int need = 0;
      for (const QString& line : lines) need = std::max(need, fm.horizontalAdvance(line));
      const int room = label->contentsRect().width() - 2 * label->margin();
      if (need > room) return overflow(w, need, room);
      const int needH = int(lines.size()) * fm.lineSpacing();
      const int roomH = label->contentsRect().height() - 2 * label->margin() + fm.leading() + 2;
      if (needH > roomH) return overflow(w, needH, roomH) + " tall";
    } else if (auto* radio = qobject_cast<QRadioButton*>(w)) {
      if (radio->sizeHint().width() > radio->width()) {
        return overflow(w, radio->sizeHint().width(), radio->width());
      }
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
      if (button->text().isEmpty()) continue;
      const QFontMetrics fm(button->font());
      QString text = button->text();
      text.remove(QRegularExpression("&(?!&)"));
      int need = fm.horizontalAdvance(text) + 6;
      auto* tool = qobject_cast<QToolButton*>(w);
      const bool beside = !button->icon().isNull() &&
                          !(tool && tool->toolButtonStyle() == Qt::ToolButtonTextUnderIcon);
      if (beside) need += button->iconSize().width() + 4;
      if (need > button->width()) return overflow(w, need, button->width());
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
      const int need = QFontMetrics(group->font()).horizontalAdvance(group->title()) + 12;
      if (need > group->width()) return overflow(w, need, group->width());
    }
  }
  return {};
}

// Answers the next file dialog with `path`, typed into its name field.
class FileDialogAnswer : public ModalAnswer {
 public:
  explicit FileDialogAnswer(const QString& path)
      : ModalAnswer([path](QWidget* modal) {
          auto* dialog = qobject_cast<QFileDialog*>(modal);
          auto* name = dialog ? dialog->findChild<QLineEdit*>("fileNameEdit") : nullptr;
          if (name == nullptr) {
            modal->close();
            return;
          }
          name->setText(path);
          static_cast<QDialog*>(dialog)->accept();
        }) {}
};

// Presses the button of the next message box whose text is `button`, and
// keeps the box's text.
class QuestionAnswer : public ModalAnswer {
 public:
  explicit QuestionAnswer(const QString& button, int timeoutMs = 5000)
      : ModalAnswer(
            [this, button](QWidget* modal) {
              auto* box = qobject_cast<QMessageBox*>(modal);
              if (box == nullptr) {
                modal->close();
                return;
              }
              text = box->text();
              for (QAbstractButton* b : box->buttons()) {
                if (b->text() == button) b->click();
              }
              if (box->isVisible()) box->reject();
            },
            timeoutMs) {}
  QString text;
};

// The differences between two boards, but for the data panel's visibility.
QString BoardDifference(const ControlBoard& a, const ControlBoard& b) {
  for (const std::string& name : a.names()) {
    if (name == "Panel83") continue;
    const Control& x = a.at(name);
    const Control& y = b.at(name);
    if (x.text != y.text || x.visible != y.visible || x.color != y.color ||
        x.itemIndex != y.itemIndex || x.position != y.position || x.top != y.top) {
      return QString::fromStdString(name);
    }
  }
  return {};
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void startUpShowsTheDefaultStation() {
    Desk desk;
    QVERIFY(desk.Open());
    QCOMPARE(desk.window.windowTitle(), QString("Korrin[*]"));
    QVERIFY(!desk.window.isWindowModified());
    QCOMPARE(desk.window.ClientPanel()->size(), QSize(790, 541));
    QCOMPARE(MirrorDifference(desk), QString());
    QCOMPARE(ShownText(desk.window, "Panel44"), QString("Korrin Ver 4.4"));
    QCOMPARE(ShownText(desk.window, "Button2"), QString("Metric"));
    QVERIFY(Item(desk, "RadioGroup1", 3)->isChecked());
    QCOMPARE(Item(desk, "RadioGroup1", 3)->text(), QString("  432 MHz"));
    QVERIFY(Item(desk, "RadioGroup4", 1)->isChecked());
    QVERIFY(Item(desk, "RadioGroup5", 5)->isChecked());
    QVERIFY(Item(desk, "RadioGroup2", 5)->isChecked());
    QVERIFY(Item(desk, "RadioGroup3", 4)->isChecked());
    QCOMPARE(ShownText(desk.window, "Panel16"), QString("1500 Watts"));
    QVERIFY(!desk.window.ControlWidget("RadioGroup8")->isVisibleTo(desk.window.ClientPanel()));
    QVERIFY(!desk.window.ControlWidget("Memo2")->isVisibleTo(desk.window.ClientPanel()));
  }

  void groupsStandWhereTheWindowPutsThem_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("rect");
    const struct {
      const char* name;
      QRect rect;
    } groups[] = {
        {"RadioGroup1", {5, 1, 279, 110}},   {"RadioGroup8", {5, 1, 279, 110}},
        {"HF_Select", {261, 95, 20, 15}},    {"SHF_Select", {261, 95, 20, 15}},
        {"Panel13", {289, 1, 500, 113}},     {"Panel15", {5, 113, 279, 367}},
        {"Panel45", {291, 147, 20, 20}},     {"Panel2", {317, 119, 471, 71}},
        {"Button2", {427, 157, 50, 25}},     {"Panel46", {293, 213, 20, 20}},
        {"Panel37", {317, 193, 471, 71}},    {"Panel85", {293, 295, 20, 20}},
        {"Panel66", {317, 269, 470, 70}},    {"SystemPerformance", {287, 267, 501, 169}},
        {"Panel8", {316, 341, 470, 95}},     {"Panel12", {287, 439, 407, 101}},
        {"Button1", {13, 461, 75, 25}},      {"SpeedButton1", {1, 487, 233, 45}},
        {"DefaultData", {237, 487, 45, 45}}, {"BitBtn2", {703, 439, 75, 25}},
        {"BitBtn3", {703, 465, 75, 25}},     {"Panel83", {695, 439, 92, 99}},
        {"BitBtn1", {703, 491, 75, 25}},     {"Panel44", {703, 517, 77, 19}},
        {"Memo2", {113, 111, 557, 331}},
    };
    for (const auto& g : groups) QTest::newRow(g.name) << QString(g.name) << g.rect;
  }
  void groupsStandWhereTheWindowPutsThem() {
    QFETCH(QString, name);
    QFETCH(QRect, rect);
    Desk desk;
    QWidget* w = desk.window.ControlWidget(name.toStdString());
    QVERIFY(w != nullptr);
    QCOMPARE(w->parentWidget(), desk.window.ClientPanel());
    QCOMPARE(w->geometry(), rect);
  }

  void everyControlHasAPlaceInsideItsParent() {
    Desk desk;
    for (const ControlDecl& def : MainWindowControls()) {
      QWidget* w = desk.window.ControlWidget(def.name);
      QVERIFY2(w != nullptr, def.name.c_str());
      QVERIFY2(FindPlacement(def.name) != nullptr, def.name.c_str());
      if (def.parent.empty()) continue;
      const QRect inside = w->parentWidget()->rect().adjusted(1, 1, -1, -1);
      QVERIFY2(inside.contains(w->geometry()), def.name.c_str());
    }
  }

  void textsFitTheirControls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    const char* const texts[][2] = {
        {"Panel16", "9999 Watts"},
        {"Panel17", "40.00 dBW"},
        {"Panel20", "2.56E4 Watts"},
        {"Panel21", "40.00 dBW"},
        {"Panel10", "2.56E4 Watts"},
        {"Panel11", "-12.34 dBW"},
        {"Panel23", "10.0 dB"},
        {"Panel18", "125,892,541,179 Watts"},
        {"Panel30", "100 %"},
        {"Panel50", "66.7 %"},
        {"Panel14", "100.0 %"},
        {"Panel4", "1234.5 ft"},
        {"Panel7", "0.55"},
        {"Panel5", "1228.07\u00b0"},
        {"Panel34", "12541504"},
        {"Panel3", "-12.72 dBd"},
        {"Panel6", "70.98 dBi"},
        {"Button2", "Imperial"},
        {"Panel38", "16.8 dBi"},
        {"Panel39", "256"},
        {"Panel40", "164.00 \u00b0"},
        {"Panel43", "164.00 \u00b0"},
        {"Panel41", "39.60 dBi"},
        {"Panel42", "-37.45 dBd"},
        {"Panel68", "\u00be w vertical"},
        {"Panel69", "3el 28 MHz"},
        {"Panel81", "10.00 dBi"},
        {"Panel73", "-1.20 dBd"},
        {"Panel76", "Rx T\u00b0k 346.1 \u00b0K = 3.41 dB"},
        {"Panel74", "Sys T\u00b0k 2493.4 \u00b0K = 10.33 dB"},
        {"Panel65", "229.3 \u00b0K"},
        {"Panel54", "2610.0 \u00b0K"},
        {"Panel28", "10.00 dB"},
        {"Panel27", "10.00 dB"},
        {"Panel36", "26.0 dB"},
        {"Panel52", "10.0 dB"},
        {"Panel53", "10.0 dB"},
        {"Panel31", "2200 \u00b0K"},
        {"Panel29", "1.20E4 Hz"},
        {"Panel55", "1000 \u00b0K"},
        {"Panel71", "0.4 dB"},
        {"Panel57", "1.65 mm"},
        {"Panel70", "12.7 mm"},
        {"Panel35", "-40.0 dB"},
        {"Panel56", "290 \u00b0K"},
        {"Panel72", "3.0 dB"},
        {"Panel32", "5760 MHz"},
        {"Panel24", "301.9 dB"},
        {"Panel26", "-157.9 dBm"},
        {"Panel25", "-12.3 dB"},
        {"Panel22", "5.9 dB"},
        {"Panel33", "160"},
        {"Panel58", "20.2 dB"},
        {"StaticText2", "98.4 Feet"},
        {"StaticText1", "123.45 Metres"},
        {"Panel9", "1.00E3   W/M\u00b2"},
        {"Label33", "100.00 mW/cm\u00b2"},
        {"Panel64", "1234.56 to 2345.67 Metres"},
        {"Panel63", "0.00 to 123.45 Metres"},
        {"Panel47", "28880.00 Metres"},
        {"Panel49", "12.3456 W/sq M"},
    };
    for (const auto& t : texts) QTest::newRow(t[0]) << QString(t[0]) << QString::fromUtf8(t[1]);
  }
  void textsFitTheirControls() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    Desk desk;
    QVERIFY(desk.Open());
    // Both band sides, so that every group is shown once.
    for (bool hf : {false, true}) {
      if (hf) Click(desk.Widget<QWidget>("HF_Select"));
      desk.form.Board()[name.toStdString()].text = text.toStdString();
      desk.window.SyncFromBoard();
      QCOMPARE(FirstClippedText(desk.window.ClientPanel()), QString());
    }
  }

  void aBandClickReachesTheLogic() {
    Desk desk;
    QVERIFY(desk.Open());
    Click(Item(desk, "RadioGroup1", 5));
    QCOMPARE(desk.Board("RadioGroup1").itemIndex, 5);
    QCOMPARE(ShownText(desk.window, "Panel32"), QString("1296 MHz"));
    QCOMPARE(ShownText(desk.window, "Panel24"), QString("270.5 dB"));
    QCOMPARE(MirrorDifference(desk), QString());
  }

  void aPowerClickReachesTheLogic() {
    Desk desk;
    QVERIFY(desk.Open());
    Click(Item(desk, "RadioGroup5", 0));
    QCOMPARE(ShownText(desk.window, "Panel16"), QString("1000 Watts"));
    Click(Item(desk, "RadioGroup7", 5));
    QCOMPARE(ShownText(desk.window, "Panel16"), QString("1005 Watts"));
    QCOMPARE(MirrorDifference(desk), QString());
  }

  void arrowKeysSelectLikeClicks() {
    Desk desk;
    QVERIFY(desk.Open());
    QRadioButton* hundreds = Item(desk, "RadioGroup5", 5);
    hundreds->setFocus(Qt::TabFocusReason);
    QTest::keyClick(hundreds, Qt::Key_Down);
    QVERIFY(Item(desk, "RadioGroup5", 6)->isChecked());
    QCOMPARE(desk.Board("RadioGroup5").itemIndex, 6);
    QCOMPARE(ShownText(desk.window, "Panel16"), QString("1600 Watts"));
  }

  void spinButtonsStep() {
    Desk desk;
    QVERIFY(desk.Open());
    Spin(desk, "SpinButton3", true);
    QCOMPARE(ShownText(desk.window, "Panel23"), QString("1.1 dB"));
    Spin(desk, "SpinButton3", false);
    Spin(desk, "SpinButton3", false);
    QCOMPARE(ShownText(desk.window, "Panel23"), QString("0.9 dB"));
  }

  void togglePanelsRecolour() {
    Desk desk;
    QVERIFY(desk.Open());
    Click(desk.Widget<QWidget>("Panel46"));  // the yagi array
    QCOMPARE(desk.window.ControlWidget("Panel37")->palette().color(QPalette::Window),
             ToQColor(Colour::TooltipBackground));
    QCOMPARE(desk.window.ControlWidget("Panel2")->palette().color(QPalette::Window),
             ToQColor(Colour::ButtonFace));
    Click(desk.Widget<QWidget>("Panel75"));  // AS2772
    QCOMPARE(desk.window.ControlWidget("Panel75")->palette().color(QPalette::Window),
             ToQColor(Colour::Green));
    QCOMPARE(desk.window.ControlWidget("Panel78")->palette().color(QPalette::Window),
             ToQColor(Colour::ButtonFace));
    QCOMPARE(MirrorDifference(desk), QString());
  }

  void aSecondRangeMovesTheFirstDown() {
    Desk desk;
    QVERIFY(desk.Open());
    QWidget* first = desk.window.ControlWidget("Panel64");
    QWidget* second = desk.window.ControlWidget("Panel63");
    QCOMPARE(first->y(), 35);
    Click(Item(desk, "RadioGroup1", 5));  // 1296 MHz
    Click(Item(desk, "RadioGroup5", 3));  // 1300 W: the dish has two ranges
    QVERIFY(second->isVisible());
    QCOMPARE(first->y(), 62);
    QVERIFY(!first->geometry().intersects(second->geometry()));
    Click(Item(desk, "RadioGroup5", 9));  // 1900 W: one range again
    QVERIFY(!second->isVisible());
    QCOMPARE(first->y(), 35);
  }

  void theSideSwitchSwapsTheGroups() {
    Desk desk;
    QVERIFY(desk.Open());
    QWidget* client = desk.window.ClientPanel();
    const auto shown = [&](const char* name) {
      return desk.window.ControlWidget(name)->isVisibleTo(client);
    };
    Click(desk.Widget<QWidget>("HF_Select"));
    for (const char* name : {"RadioGroup8", "SHF_Select", "Panel66", "Panel85", "Panel8"}) {
      QVERIFY2(shown(name), name);
    }
    for (const char* name : {"RadioGroup1", "HF_Select", "SystemPerformance"}) {
      QVERIFY2(!shown(name), name);
    }
    QVERIFY(Item(desk, "RadioGroup8", 4)->isChecked());
    Click(desk.Widget<QWidget>("SHF_Select"));
    for (const char* name : {"RadioGroup1", "HF_Select", "SystemPerformance"}) {
      QVERIFY2(shown(name), name);
    }
    for (const char* name : {"RadioGroup8", "SHF_Select", "Panel66", "Panel85", "Panel8"}) {
      QVERIFY2(!shown(name), name);
    }
    QCOMPARE(MirrorDifference(desk), QString());
  }

  void escapeEndsTheProgram() {
    Desk desk;
    QVERIFY(desk.Open());
    QTimer press;
    press.setSingleShot(true);
    connect(&press, &QTimer::timeout, &desk.window,
            [&desk] { QTest::keyClick(&desk.window, Qt::Key_Escape); });
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(99); });
    press.start(0);
    guard.start(5000);
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!desk.window.isVisible());
  }

  void escapeWithTheDataPanelPressesCancel() {
    Desk desk;
    QVERIFY(desk.Open());
    QTest::keyClick(&desk.window, Qt::Key_D, Qt::AltModifier);  // "&Data"
    QTRY_VERIFY(desk.Board("Panel83").visible);
    QVERIFY(desk.window.ControlWidget("Panel83")->isVisible());
    QSignalSpy cancel(desk.Widget<QAbstractButton>("BitBtn9"), &QAbstractButton::clicked);
    QSignalSpy close(desk.Widget<QAbstractButton>("BitBtn1"), &QAbstractButton::clicked);
    QTimer press;
    press.setSingleShot(true);
    connect(&press, &QTimer::timeout, &desk.window,
            [&desk] { QTest::keyClick(&desk.window, Qt::Key_Escape); });
    QTimer end;
    end.setSingleShot(true);
    connect(&end, &QTimer::timeout, qApp, [] { QCoreApplication::exit(42); });
    press.start(0);
    end.start(300);
    QCOMPARE(QCoreApplication::exec(), 42);  // the program did not end
    QCOMPARE(cancel.count(), 1);
    QCOMPARE(close.count(), 0);
  }

  void theDisclaimerComesToTheFront() {
    Desk desk;
    QVERIFY(desk.Open());
    QWidget* memo = desk.window.ControlWidget("Memo2");
    QWidget* client = desk.window.ClientPanel();
    Click(desk.Widget<QWidget>("SpeedButton1"));
    QVERIFY(memo->isVisible());
    QCOMPARE(client->childAt(memo->geometry().center()), memo);
    QCOMPARE(static_cast<QLabel*>(memo)->text().split('\n').size(), 17);
    Click(memo);
    QVERIFY(!memo->isVisible());
    QVERIFY(!desk.Board("Memo2").visible);
  }

  void theTrackBarCountsFromTheTop() {
    Desk desk;
    QVERIFY(desk.Open());
    Click(desk.Widget<QWidget>("HF_Select"));
    auto* slider = desk.Widget<QSlider>("TrackBar1");
    QCOMPARE(slider->value(), 30);
    // Position 30 (0 m) is at the bottom: a click near the top of the bar
    // steps towards position 0 (30 m).
    QTest::mouseClick(slider, Qt::LeftButton, Qt::NoModifier, QPoint(slider->width() / 2, 4));
    QTRY_COMPARE(desk.Board("TrackBar1").position, 29);
    QCOMPARE(desk.form.State().TowerHeight, 1);
  }

  // Entering the band group only moves the focus: a stepped path loss
  // stays until a band is selected.
  void focusEnteringTheBandGroupOnlyMovesIt() {
    Desk desk;
    QVERIFY(desk.Open());
    desk.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&desk.window));
    desk.Widget<QWidget>("Button2")->setFocus(Qt::TabFocusReason);
    desk.form.State().PathLoss = 300;  // stepped away from the band's value
    Item(desk, "RadioGroup1", 3)->setFocus(Qt::TabFocusReason);
    QCOMPARE(double(desk.form.State().PathLoss), 300.0);
    Item(desk, "RadioGroup1", 4)->setFocus(Qt::TabFocusReason);
    QCOMPARE(double(desk.form.State().PathLoss), 300.0);
    Click(Item(desk, "RadioGroup1", 3));
    QCOMPARE(double(desk.form.State().PathLoss), 261.0);
  }

  void closingAMessageLeavesTheStation() {
    Desk desk;
    QVERIFY(desk.Open());
    Click(Item(desk, "RadioGroup5", 0));
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    ModalAnswer seen([&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      if (box) {
        text = box->text();
        icon = box->icon();
      }
      modal->close();
    });
    Click(desk.Widget<QWidget>("Panel44"));
    QVERIFY(seen.Seen());
    QCOMPARE(icon, QMessageBox::Information);
    QVERIFY(text.contains("Help infomation please refer to:-"));
    QCOMPARE(text.count('\n'), 4);
    // The window becomes the active one again.
    QApplication::setActiveWindow(nullptr);
    desk.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&desk.window));
    QCOMPARE(ShownText(desk.window, "Panel16"), QString("1000 Watts"));
  }

  void escapeOnTheDataPanelWithUnsavedChangesAsks() {
    Desk desk;
    QVERIFY(desk.Open());
    Click(Item(desk, "RadioGroup5", 0));  // 1000 W
    Spin(desk, "SpinButton1", true);      // a larger dish
    QVERIFY(desk.form.Unsaved());
    QVERIFY(desk.window.isWindowModified());
    QTest::keyClick(&desk.window, Qt::Key_D, Qt::AltModifier);  // "&Data"
    QTRY_VERIFY(desk.Board("Panel83").visible);
    const StationRecordBytes record = desk.form.CurrentRecord();
    const ControlBoard board = desk.form.Board();
    {
      QuestionAnswer keep("&Keep");
      QTest::keyClick(&desk.window, Qt::Key_Escape);
      QVERIFY(keep.Seen());
      QCOMPARE(keep.text, QString("Reset every input to its start-up value?"));
    }
    QVERIFY(!desk.Board("Panel83").visible);
    QVERIFY(!desk.window.ControlWidget("Panel83")->isVisible());
    QVERIFY(desk.form.CurrentRecord() == record);
    QCOMPARE(BoardDifference(board, desk.form.Board()), QString());
    QCOMPARE(ShownText(desk.window, "Panel16"), QString("1000 Watts"));
    QCOMPARE(MirrorDifference(desk), QString());
    QVERIFY(desk.window.isWindowModified());
    QVERIFY(desk.window.isVisible());
  }

  // Escape closes what lies on top: the disclaimer first, unasked; only
  // the next Escape is the Close button's, which asks about the unsaved
  // changes.
  void escapeClosesTheDisclaimerFirst() {
    Desk desk;
    QVERIFY(desk.Open());
    Click(Item(desk, "RadioGroup5", 0));
    Click(desk.Widget<QWidget>("SpeedButton1"));
    QVERIFY(desk.window.ControlWidget("Memo2")->isVisible());
    {
      QuestionAnswer none("Cancel", 300);
      QTest::keyClick(&desk.window, Qt::Key_Escape);
      QVERIFY(!none.Seen());
    }
    QVERIFY(!desk.Board("Memo2").visible);
    QVERIFY(!desk.window.ControlWidget("Memo2")->isVisible());
    QVERIFY(desk.window.isVisible());
    QuestionAnswer cancel("Cancel");
    QTest::keyClick(&desk.window, Qt::Key_Escape);
    QVERIFY(cancel.Seen());
    QCOMPARE(cancel.text, QString("Save changes to the station before closing?"));
    QVERIFY(desk.window.isVisible());
    QCOMPARE(ShownText(desk.window, "Panel16"), QString("1000 Watts"));
  }

  // The desktop's close asks as the Close button does: Cancel keeps the
  // window open, Discard lets it close; with nothing unsaved it closes
  // unasked.
  void theDesktopsCloseAsksWithUnsavedChanges_data() {
    QTest::addColumn<bool>("change");
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("closes");
    QTest::newRow("nothing unsaved") << false << QString() << true;
    QTest::newRow("unsaved, Cancel") << true << QString("Cancel") << false;
    QTest::newRow("unsaved, Discard") << true << QString("&Discard") << true;
  }
  void theDesktopsCloseAsksWithUnsavedChanges() {
    QFETCH(bool, change);
    QFETCH(QString, button);
    QFETCH(bool, closes);
    QGuiApplication::setQuitOnLastWindowClosed(false);
    Desk desk;
    QVERIFY(desk.Open());
    if (change) Click(Item(desk, "RadioGroup5", 0));
    QuestionAnswer answer(button);
    QCOMPARE(desk.window.close(), closes);
    QCOMPARE(answer.Seen(), change);
    QCOMPARE(desk.window.isVisible(), !closes);
    QGuiApplication::setQuitOnLastWindowClosed(true);
  }

  void theTitleNamesTheStationFile() {
    QTemporaryDir dir;
    const QString saved = dir.filePath("moon.rsd");
    const QString other = dir.filePath("other.rsd");
    Desk desk;
    QVERIFY(desk.Open());
    const auto shownTitle = [&desk] { return desk.window.windowHandle()->title(); };
    QCOMPARE(shownTitle(), QString("Korrin"));
    Click(Item(desk, "RadioGroup5", 0));  // 1000 W
    QVERIFY(desk.window.isWindowModified());
    QCOMPARE(shownTitle(), QString("Korrin*"));

    Click(desk.Widget<QWidget>("BitBtn3"));
    {
      FileDialogAnswer answer(saved);
      Click(desk.Widget<QWidget>("Save_Data"));
      QVERIFY(answer.Seen());
    }
    QVERIFY(QFile::exists(saved));
    QCOMPARE(desk.window.windowTitle(), QString("Korrin \u2014 moon.rsd[*]"));
    QVERIFY(!desk.window.isWindowModified());
    QCOMPARE(shownTitle(), QString("Korrin \u2014 moon.rsd"));

    // Another file with the saved station; the window changes, then loads it.
    QVERIFY(QFile::copy(saved, other));
    Click(Item(desk, "RadioGroup5", 3));  // 1300 W
    QVERIFY(desk.window.isWindowModified());
    QCOMPARE(shownTitle(), QString("Korrin \u2014 moon.rsd*"));
    Click(desk.Widget<QWidget>("BitBtn3"));
    QStringList asked;
    desk.platform.questionAnswer = [&asked](const Question& q) {
      asked << QString::fromStdString(q.text);
      return Answer::Replace;
    };
    {
      FileDialogAnswer answer(other);
      Click(desk.Widget<QWidget>("Get_File"));
      QVERIFY(answer.Seen());
    }
    QCOMPARE(asked.size(), 1);
    QVERIFY2(asked[0].startsWith("Replace the station with the one in"), qPrintable(asked[0]));
    QCOMPARE(desk.window.windowTitle(), QString("Korrin \u2014 other.rsd[*]"));
    QVERIFY(!desk.window.isWindowModified());
    QCOMPARE(shownTitle(), QString("Korrin \u2014 other.rsd"));
    QCOMPARE(ShownText(desk.window, "Panel16"), QString("1000 Watts"));
  }

  void theClientPanelStandsInTheMiddle() {
    Desk desk;
    desk.window.resize(1300, 1000);
    QVERIFY(desk.Open());
    QWidget* client = desk.window.ClientPanel();
    QWidget* viewport = client->parentWidget();
    QVERIFY(viewport->width() > client->width() && viewport->height() > client->height());
    const QPoint offset = client->geometry().center() - viewport->rect().center();
    QVERIFY2(std::abs(offset.x()) <= 1 && std::abs(offset.y()) <= 1,
             qPrintable(QString("%1, %2").arg(offset.x()).arg(offset.y())));
    QCOMPARE(client->grab().size(), QSize(790, 541));
  }

  void hintsAreTooltipsWhereTheyAreOn() {
    Desk desk;
    QCOMPARE(desk.window.ControlWidget("Panel45")->toolTip(), QString("Select Dish"));
    QCOMPARE(desk.window.ControlWidget("RadUpDn")->toolTip(), QString("Change Radiation Limit"));
    QVERIFY(desk.window.ControlWidget("RadioGroup1")->toolTip().isEmpty());
    QVERIFY(desk.window.ControlWidget("TrackBar1")->toolTip().isEmpty());
  }
};

KORRIN_QT_TEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
