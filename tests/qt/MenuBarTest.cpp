// The main window's menu bar: each entry runs the handler of its button,
// the usual shortcuts reach it, and the client panel (what Print and the
// report's --png draw) is the same picture with the menu bar as without.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrinter>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QtTest>

#include "QtTestSupport.h"
#include "ui/qt/calculator/Printing.h"
#include "ui/qt/calculator/Widgets.h"

using namespace korrin;
using namespace korrin::test;

namespace {

QAction* Entry(MainWindow& window, const char* handler) {
  return window.menuBar()->findChild<QAction*>(QString::fromLatin1(handler));
}

// The menu titles as shown, in order.
QStringList MenuTitles(MainWindow& window) {
  QStringList titles;
  for (QAction* a : window.menuBar()->actions()) titles << a->text();
  return titles;
}

}  // namespace

class MenuBarTest : public QObject {
  Q_OBJECT
 private slots:
  void menusInTheDesktopsOrder() {
    Desk desk;
    QVERIFY(desk.Open());
    QCOMPARE(MenuTitles(desk.window), (QStringList{"&File", "&View", "&Help"}));
  }

  void entriesCarryTheirShortcutsAndTips_data() {
    QTest::addColumn<QString>("handler");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QKeySequence>("keys");
    QTest::newRow("get") << "Get_FileClick"
                         << "&Get Data…" << QKeySequence("Ctrl+O");
    QTest::newRow("save") << "Save_DataClick"
                          << "&Save Data…" << QKeySequence("Ctrl+S");
    QTest::newRow("default") << "DefaultDataClick"
                             << "&Default" << QKeySequence();
    QTest::newRow("print") << "BitBtn2Click"
                           << "&Print…" << QKeySequence("Ctrl+P");
    QTest::newRow("close") << "BitBtn1Click"
                           << "&Close" << QKeySequence("Ctrl+Q");
    QTest::newRow("disclaimer") << "SpeedButton1Click"
                                << "&Disclaimer" << QKeySequence();
    QTest::newRow("about") << "About"
                           << "&About Korrin" << QKeySequence();
  }
  void entriesCarryTheirShortcutsAndTips() {
    QFETCH(QString, handler);
    QFETCH(QString, text);
    QFETCH(QKeySequence, keys);
    Desk desk;
    QAction* entry = Entry(desk.window, qPrintable(handler));
    QVERIFY2(entry != nullptr, qPrintable(handler));
    QCOMPARE(entry->text(), text);
    if (keys.isEmpty()) {
      QVERIFY(entry->shortcuts().isEmpty());
    } else {
      QVERIFY2(entry->shortcuts().contains(keys), qPrintable(keys.toString()));
    }
    QVERIFY(!entry->statusTip().isEmpty());
  }

  // Ctrl+P runs the Print button's handler: the printer dialog is asked.
  void printShortcutAsksThePrinterDialog() {
    Desk desk;
    QVERIFY(desk.Open());
    int asked = 0;
    desk.platform.printDialogAnswer = [&asked](QPrinter&) {
      ++asked;
      return false;
    };
    QTest::keyClick(&desk.window, Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(asked, 1);
  }

  // Ctrl+O runs Get Data: the open dialog comes; cancelled, nothing changes.
  void openShortcutAsksForAFile() {
    Desk desk;
    QVERIFY(desk.Open());
    const QString before = ShownText(desk.window, "Panel16");
    QString kind;
    ModalAnswer seen([&kind](QWidget* modal) {
      kind = QString::fromLatin1(modal->metaObject()->className());
      modal->close();
    });
    QTest::keyClick(&desk.window, Qt::Key_O, Qt::ControlModifier);
    QTRY_VERIFY(seen.Seen());
    QCOMPARE(kind, QString("QFileDialog"));
    QCOMPARE(ShownText(desk.window, "Panel16"), before);
  }

  // The program's own box: its version and where its manual and README
  // are installed (no help file that does not exist); Escape closes the box
  // and nothing else, even with changes the Close button would ask about.
  void aboutShowsTheVersionAndTheManual() {
    Desk desk;
    QVERIFY(desk.Open());
    Click(desk.window.findChild<QRadioButton*>("RadioGroup5_0"));  // an unsaved change
    QVERIFY(desk.form.Unsaved());
    QString text;
    QString title;
    ModalAnswer seen([&](QWidget* modal) {
      if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        text = box->text();
        title = box->windowTitle();
      }
      QTest::keyClick(modal, Qt::Key_Escape);
    });
    Entry(desk.window, "About")->trigger();
    QTRY_VERIFY(seen.Seen());
    QCOMPARE(title, QString("About Korrin"));
    QVERIFY2(QRegularExpression("Korrin [0-9]+\\.[0-9]+").match(text).hasMatch(), qPrintable(text));
    QVERIFY2(text.contains("man korrin") && text.contains("/doc/korrin/README.md"),
             qPrintable(text));
    QVERIFY(!text.contains("korrin-help.html"));
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    // Nothing else took the key: no question came, the window stays.
    ModalAnswer after([](QWidget* modal) { modal->close(); }, 300);
    QTest::qWait(350);
    QVERIFY(!after.Seen());
    QVERIFY(desk.window.isVisible());
  }

  // The version panel keeps the calculator's own message.
  void theVersionPanelKeepsItsMessage() {
    Desk desk;
    QVERIFY(desk.Open());
    QString text;
    ModalAnswer seen([&text](QWidget* modal) {
      if (auto* box = qobject_cast<QMessageBox*>(modal)) text = box->text();
      modal->close();
    });
    desk.window.RunHandler("Panel44Click");
    QTRY_VERIFY(seen.Seen());
    QVERIFY2(text.startsWith("Korrin,"), qPrintable(text));
  }

  // The button shows and hides the disclaimer; the menu entry only shows it.
  void disclaimerEntryShowsTheDisclaimer() {
    Desk desk;
    QVERIFY(desk.Open());
    QAction* entry = Entry(desk.window, "SpeedButton1Click");
    for (int i = 0; i < 2; ++i) {
      entry->trigger();
      QVERIFY(desk.Board("Memo2").visible);
      QVERIFY(desk.window.ControlWidget("Memo2")->isVisible());
    }
  }

  void closeEntryEndsTheProgram() {
    Desk desk;
    QVERIFY(desk.Open());
    QTest::keyClick(&desk.window, Qt::Key_Q, Qt::ControlModifier);
    QTRY_VERIFY(!desk.window.isVisible());
  }

  // With unsaved changes Ctrl+Q asks first, as the Close button does:
  // Cancel keeps the window and the station.
  void closeShortcutAsksWithUnsavedChanges() {
    Desk desk;
    QVERIFY(desk.Open());
    Click(desk.Widget<RadioGroupBox>("RadioGroup5")->Item(0));  // 1000 W
    QStringList asked;
    desk.platform.questionAnswer = [&asked](const Question& q) {
      asked << QString::fromStdString(q.text);
      return Answer::Cancel;
    };
    QTest::keyClick(&desk.window, Qt::Key_Q, Qt::ControlModifier);
    QCOMPARE(asked, QStringList{"Save changes to the station before closing?"});
    QVERIFY(desk.window.isVisible());
    QCOMPARE(ShownText(desk.window, "Panel16"), QString("1000 Watts"));
  }

  // The window shows the whole panel below the menu bar, without scroll
  // bars, and the panel's picture does not change with the menu bar.
  void panelPictureIsTheSameWithAndWithoutTheMenuBar() {
    Desk desk;
    QVERIFY(desk.Open());
    QCoreApplication::processEvents();
    QWidget* panel = desk.window.ClientPanel();
    QVERIFY(desk.window.menuBar()->isVisible());
    QCOMPARE(panel->size(), QSize(790, 541));
    const QPoint at = panel->mapTo(&desk.window, QPoint(0, 0));
    QVERIFY2(at.y() >= desk.window.menuBar()->geometry().bottom() + 1,
             qPrintable(QString::number(at.y())));
    auto* scroll = qobject_cast<QScrollArea*>(desk.window.centralWidget());
    QVERIFY(scroll != nullptr);
    QVERIFY(!scroll->horizontalScrollBar()->isVisible());
    QVERIFY(!scroll->verticalScrollBar()->isVisible());
    QVERIFY(scroll->viewport()->rect().contains(QRect(panel->pos(), panel->size())));
    // What the screen shows at the panel's place is the panel's picture.
    const QImage withMenu = ClientAreaImage(panel);
    const QImage onScreen =
        desk.window.grab(QRect(at, panel->size())).toImage().convertToFormat(withMenu.format());
    QCOMPARE(onScreen.size(), withMenu.size());
    QVERIFY(onScreen == withMenu.convertToFormat(onScreen.format()));

    desk.window.menuBar()->setVisible(false);
    desk.window.statusBar()->setVisible(false);
    QCoreApplication::processEvents();
    const QImage without = ClientAreaImage(panel);
    QVERIFY(without == withMenu);
  }
};

KORRIN_QT_TEST_MAIN(MenuBarTest)
#include "MenuBarTest.moc"
