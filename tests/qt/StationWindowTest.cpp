// The station window as a user drives it, on the offscreen platform: values
// typed into cells land in the station, a value the file would refuse is
// refused with the file's message and changes nothing, undo and redo
// restore the exact station, renaming an id renames its references, the
// unsaved-changes questions come when (and only when) there is something to
// lose, a file with problems opens to be corrected and never half-loaded,
// and a saved station reopens as the same file.
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

#include "QtTestSupport.h"
#include "station/StationFile.h"
#include "ui/qt/station/EntryTableModel.h"
#include "ui/qt/station/FixPanel.h"
#include "ui/qt/station/HeadingPanel.h"
#include "ui/qt/station/ResultsPanel.h"
#include "ui/qt/station/SitePlanPainter.h"
#include "ui/qt/station/StationDocument.h"
#include "ui/qt/station/StationTable.h"
#include "ui/qt/station/StationWindow.h"

using namespace korrin;
using stationui::Table;

namespace {

const QString kWorkedF =
    QStringLiteral(KORRIN_SOURCE_DIR "/tests/data/station/worked-f.station.toml");
const QString kExample = QStringLiteral(KORRIN_SOURCE_DIR "/data/examples/example.station.toml");

std::string Written(StationWindow& w) {
  return station::WriteStation(w.Document().Station());
}

QByteArray FileBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

bool WriteText(const QString& path, const QByteArray& text) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
}

// A window with `path` open, shown and active, every question and dialog
// answered by the test (a question not expected fails it).
struct Shown {
  QPointer<StationWindow> window = new StationWindow();
  QList<QString> questions;
  QList<QString> messages;
  Answer answer = Answer::Cancel;

  explicit Shown(const QString& path = {}) {
    window->questionAnswer = [this](const Question& q) {
      questions << QString::fromStdString(q.text);
      return answer;
    };
    window->messageAnswer = [this](const QString& text) { messages << text; };
    if (!path.isEmpty()) window->OpenFile(path);
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window)) qWarning("the station window did not become active");
  }
  ~Shown() {
    if (window) {
      window->questionAnswer = [](const Question&) { return Answer::Discard; };
      window->close();
    }
  }
  Shown(const Shown&) = delete;
  Shown& operator=(const Shown&) = delete;

  StationWindow& operator*() { return *window; }
  StationWindow* operator->() { return window; }
};

// Types `text` into a cell as a user does: the cell chosen, Enter, the
// text over what the editor holds, Enter.
void TypeIntoCell(StationWindow& w, Table table, int row, int column, const QString& text) {
  w.ShowTable(table);
  StationTable* view = w.View(table);
  view->setFocus();
  view->setCurrentIndex(view->model()->index(row, column));
  QTest::keyClick(view, Qt::Key_Return);
  QVERIFY2(view->Editing(), "Enter opens the cell's editor");
  QWidget* editor = QApplication::focusWidget();
  QVERIFY(editor != nullptr);
  if (auto* box = qobject_cast<QComboBox*>(editor); box && !box->isEditable()) {
    const int at = box->findText(text, Qt::MatchFixedString);
    QVERIFY2(at >= 0, qPrintable(text));
    box->setCurrentIndex(at);
  } else {
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, text);
  }
  QTest::keyClick(editor, Qt::Key_Return);
  // The editor hands its text over once the key's event is done.
  QTRY_VERIFY(!view->Editing());
}

QString Cell(StationWindow& w, Table table, int row, int column) {
  return w.Model(table)->index(row, column).data().toString();
}

// Takes the first choice of the next input dialog (the first station window).
class ModalAnswerFirstChoice : public test::ModalAnswer {
 public:
  explicit ModalAnswerFirstChoice(QString& label)
      : test::ModalAnswer([&label](QWidget* modal) {
          auto* dialog = qobject_cast<QInputDialog*>(modal);
          if (dialog == nullptr) {
            modal->close();
            return;
          }
          label = dialog->labelText();
          dialog->setTextValue(dialog->comboBoxItems().value(0));
          dialog->accept();
        }) {}
};

}  // namespace

class StationWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(settings_.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings_.path());
    QVERIFY(files_.isValid());
  }

  void typedValuesLandInTheStation_data() {
    QTest::addColumn<int>("table");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("power") << int(Table::Transmitters) << 0 << 1 << "150"
                           << "150 W";
    QTest::newRow("kilowatts") << int(Table::Transmitters) << 1 << 1 << "1.5 kW"
                               << "1500 W";
    QTest::newRow("duty") << int(Table::Transmitters) << 1 << 2 << "40 %"
                          << "duty 0.4";
    QTest::newRow("cycle") << int(Table::Transmitters) << 0 << 3 << "2 / 8"
                           << "2 / 8 min";
    QTest::newRow("height in feet") << int(Table::Antennas) << 1 << 6 << "60 ft"
                                    << "60 ft";
    QTest::newRow("place east") << int(Table::Places) << 0 << 1 << "12"
                                << "12 m";
    QTest::newRow("ground reflection") << int(Table::Installations) << 0 << 6 << "off"
                                       << "off";
    // A typed word is the mode it names, not the first label it begins.
    QTest::newRow("mode SSB") << int(Table::Transmitters) << 0 << 2 << "SSB"
                              << "Conversational SSB, 20 %";
    QTest::newRow("mode ssb") << int(Table::Transmitters) << 0 << 2 << "ssb"
                              << "Conversational SSB, 20 %";
    QTest::newRow("mode by its start") << int(Table::Transmitters) << 0 << 2 << "ssb-p"
                                       << "SSB with heavy speech processing, 50 %";
  }

  // The empty station a new user opens names no place: not shown to comply,
  // in the neutral colour; a place named, the verdict is a verdict again.
  void aStationWithNoPlaceIsNotShownToComply() {
    Shown w;
    QLabel* verdict = w->Results()->Verdict();
    QTRY_COMPARE(verdict->text(), QString("Not shown to comply: no place or property line yet."));
    const QColor neutral = verdict->grab().toImage().pixelColor(2, 2);
    QVERIFY2(neutral.red() == neutral.green() && neutral.green() == neutral.blue(),
             qPrintable(neutral.name()));
    Shown f(kWorkedF);
    QLabel* failing = f->Results()->Verdict();
    QVERIFY(failing->text().startsWith("Does not comply"));
    const QColor red = failing->grab().toImage().pixelColor(2, 2);
    QVERIFY2(red.red() > red.green(), qPrintable(red.name()));
  }

  // Keys typed on a chosen cell, as a user does without opening it first:
  // the first key opens the editor and the word is read whole.
  void aWordTypedOnTheCellIsTheModeItNames() {
    Shown w(kWorkedF);
    w->ShowTable(Table::Transmitters);
    StationTable* view = w->View(Table::Transmitters);
    view->setFocus();
    view->setCurrentIndex(view->model()->index(0, 2));
    // The first key opens the editor; the rest go where the keyboard's
    // focus then is, as a user's keys do.
    QTest::keyClick(view, Qt::Key_S, Qt::ShiftModifier);
    QVERIFY(view->Editing());
    QTest::keyClicks(QApplication::focusWidget(), "SB");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_VERIFY(!view->Editing());
    QCOMPARE(w->LastRefusal(), QString());
    QCOMPARE(Cell(*w, Table::Transmitters, 0, 2), QString("Conversational SSB, 20 %"));
  }
  void typedValuesLandInTheStation() {
    QFETCH(int, table);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    Shown w(kWorkedF);
    QVERIFY(!w->isWindowModified());
    const int undoBefore = w->Document().UndoStack().count();
    TypeIntoCell(*w, Table(table), row, column, typed);
    QCOMPARE(w->LastRefusal(), QString());
    QCOMPARE(Cell(*w, Table(table), row, column), shown);
    QCOMPARE(w->Document().UndoStack().count(), undoBefore + 1);
    QVERIFY(w->isWindowModified());
    QVERIFY(w->windowTitle().startsWith("worked-f.station.toml[*]"));
  }

  // What a new user does: the worked station built in a new window by
  // keyboard, failing at its place by 0.18 dB; the place moved until it
  // complies; saved, reopened the same, and its record exported.
  void theWorkedStationFromScratch() {
    Shown w;
    QStringList asked;
    w->cellAnswer = [&asked](const QString& cell, const QString&) -> std::optional<QString> {
      asked << cell;
      if (cell.startsWith("Gain of 2m")) return QString("13 dBi");
      if (cell.startsWith("Gain of 20m")) return QString("8");
      if (cell == "Frequency (MHz) of 2m") return QString("144.2");
      if (cell == "Frequency (MHz) of 20m") return QString("14.2 MHz");
      return std::nullopt;
    };
    auto* ground = w->Heading()->findChild<QComboBox*>("groundReflection");
    ground->setFocus();
    QTest::keyClick(ground, Qt::Key_Down);  // "counted", said in the file
    auto add = [&w](Table table) {
      w->ShowTable(table);
      w->View(table)->setFocus();
      w->View(table)->setCurrentIndex({});
      QTest::keyClick(w.window, Qt::Key_I, Qt::ControlModifier);
    };
    add(Table::Transmitters);
    add(Table::Transmitters);
    TypeIntoCell(*w, Table::Transmitters, 0, 0, "2m-rig");
    TypeIntoCell(*w, Table::Transmitters, 0, 1, "200 W");
    TypeIntoCell(*w, Table::Transmitters, 0, 2, "fm");
    TypeIntoCell(*w, Table::Transmitters, 0, 3, "3 / 7");
    TypeIntoCell(*w, Table::Transmitters, 1, 0, "hf-rig");
    TypeIntoCell(*w, Table::Transmitters, 1, 1, "1 kW");
    add(Table::Antennas);
    add(Table::Antennas);
    TypeIntoCell(*w, Table::Antennas, 0, 0, "2m-yagi");
    TypeIntoCell(*w, Table::Antennas, 0, 1, "Yagi");
    TypeIntoCell(*w, Table::Antennas, 1, 0, "20m-beam");
    TypeIntoCell(*w, Table::Antennas, 1, 1, "Yagi");
    TypeIntoCell(*w, Table::Antennas, 1, 6, "18");
    add(Table::Installations);
    add(Table::Installations);
    TypeIntoCell(*w, Table::Installations, 0, 0, "2m");
    TypeIntoCell(*w, Table::Installations, 0, 4, "none: the frequency alone");
    TypeIntoCell(*w, Table::Installations, 1, 0, "20m");
    TypeIntoCell(*w, Table::Installations, 1, 1, "hf-rig");
    TypeIntoCell(*w, Table::Installations, 1, 3, "20m-beam");
    TypeIntoCell(*w, Table::Installations, 1, 4, "none: the frequency alone");
    add(Table::Places);
    TypeIntoCell(*w, Table::Places, 0, 0, "Neighbour's garden");
    TypeIntoCell(*w, Table::Places, 0, 1, "8");
    QCOMPARE(asked, (QStringList{"Gain of 2m-yagi", "Gain of 20m-beam", "Frequency (MHz) of 2m",
                                 "Frequency (MHz) of 20m"}));
    QCOMPARE(w->LastRefusal(), QString());
    const station::ReadResult f = station::ReadStationFile(kWorkedF.toStdString());
    QVERIFY(f.station.has_value());
    QVERIFY2(station::SameContent(w->Document().Station(), *f.station), Written(*w).c_str());
    QVERIFY2(w->Results()->Verdict()->text().contains("FCC general population sum 1.0427, margin "
                                                      "-0.18 dB"),
             qPrintable(w->Results()->Verdict()->text()));
    // Moved a metre further, the place is within the limits.
    TypeIntoCell(*w, Table::Places, 0, 1, "9");
    QVERIFY(w->Results()->Verdict()->text().startsWith("Complies"));
    // Saved, reopened: the same station, the same verdict.
    const QString path = files_.filePath("scratch");
    w->fileAnswer = [&path](bool save, const QString&) -> std::optional<QString> {
      return save ? std::optional<QString>(path) : std::nullopt;
    };
    QTest::keyClick(w.window, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!w->isWindowModified());
    Shown again(path + ".station.toml");
    QVERIFY(station::SameContent(again->Document().Station(), w->Document().Station()));
    QVERIFY(again->Results()->Verdict()->text().startsWith("Complies"));
    again->fileAnswer = [&path](bool, const QString&) -> std::optional<QString> {
      return path + ".pdf";
    };
    QVERIFY(again->ExportRecord());
    QVERIFY(QFileInfo(path + ".pdf").size() > 0);
  }

  void typingAValueUpdatesTheResults() {
    Shown w(kWorkedF);
    QLabel* verdict = w->Results()->Verdict();
    QVERIFY2(verdict->text().startsWith("Does not comply at \"Neighbour's garden\""),
             qPrintable(verdict->text()));
    QVERIFY2(verdict->text().contains("FCC general population sum 1.0427, margin -0.18 dB"),
             qPrintable(verdict->text()));
    const auto placeSum = [&w] {
      const auto& t = w->Results()->Table(ResultsPanel::kPlaces)->Shown();
      for (const auto& row : t.rows) {
        if (row[3] == "FCC general population") return QString::fromStdString(row[4]);
      }
      return QString();
    };
    QCOMPARE(placeSum(), QString("1.0427"));
    // The place a metre further: it complies, and every view says so.
    TypeIntoCell(*w, Table::Places, 0, 1, "9 m");
    QVERIFY2(verdict->text().startsWith("Complies"), qPrintable(verdict->text()));
    QVERIFY(placeSum().toDouble() < 1);
    QVERIFY(!w->Results()->Plan()->Content().places.front().largestSum.has_value() ||
            *w->Results()->Plan()->Content().places.front().largestSum <= 1);
    // Undone: the failure again.
    QTest::keyClick(w.window, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(placeSum(), QString("1.0427"));
    QVERIFY(verdict->text().startsWith("Does not comply"));
    // The 2 m transmitter at 150 W instead: it complies too.
    TypeIntoCell(*w, Table::Transmitters, 0, 1, "150");
    QVERIFY2(verdict->text().startsWith("Complies"), qPrintable(verdict->text()));
  }

  void theSitePlanOfTheWorkedStation() {
    Shown w(kWorkedF);
    w->resize(1440, 880);
    QVERIFY(QTest::qWaitForWindowExposed(w.window));
    SitePlanView* plan = w->Results()->Plan();
    const stationui::SitePlanContent& content = plan->Content();
    QCOMPARE(content.circleHeightM, stationui::Real(2));
    QCOMPARE(int(content.antennas.size()), 2);
    // The 2 m yagi's circle: its keep-out sphere cut at the places' 2 m.
    const assess::InstallationResult* yagi = w->Evaluation().FindInstallation("2m");
    QVERIFY(yagi != nullptr);
    const stationui::PlanCircle* circle = nullptr;
    for (const auto& c : content.circles) {
      if (c.installation == "2m") circle = &c;
    }
    QVERIFY(circle != nullptr);
    const double keepOut = double(yagi->GeneralKeepOutM());
    QVERIFY(keepOut > 8);
    QCOMPARE(double(circle->radiusM), std::sqrt(keepOut * keepOut - 8.0 * 8.0));
    // In pixels: the radius at the plan's scale, and the picture agrees.
    const QImage picture = plan->grab().toImage();
    const stationui::PlanView view = SitePlanViewFor(content, QRectF(plan->rect()), false);
    const double radiusPx = double(view.Pixels(circle->radiusM));
    const double cx = double(view.PixelX(circle->centre.x));
    const double cy = double(view.PixelY(circle->centre.y));
    QVERIFY(radiusPx > 50);
    const double scale = picture.width() / double(plan->width());  // device pixels
    const auto zone = [&](double x) {
      const QColor c = picture.pixelColor(int(x * scale), int(cy * scale));
      return c.red() > 240 && c.blue() < 215;  // the keep-out zone's amber over white
    };
    QVERIFY2(zone(cx - radiusPx + 3), "inside the circle, west of the antenna");
    QVERIFY2(!zone(cx - radiusPx - 3), "outside the circle");
    // The scale bar is a round length drawn to the same scale.
    QCOMPARE(double(view.barPixels), double(view.Pixels(view.barLength)));
    // Choosing the installation in its table draws it stronger.
    w->ShowTable(Table::Installations);
    w->View(Table::Installations)->setCurrentIndex(w->Model(Table::Installations)->index(0, 0));
    QCOMPARE(plan->Style().highlightInstallation, QString("2m"));
    const QString dir = qEnvironmentVariable("KORRIN_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
      QDir().mkpath(dir);
      QVERIFY(plan->grab().save(dir + "/site-plan-f.png"));
    }
  }

  void aValueTheFileWouldRefuseIsRefusedAtTheCell() {
    Shown w(kWorkedF);
    const std::string before = Written(*w);
    TypeIntoCell(*w, Table::Transmitters, 0, 1, "-5");
    QCOMPARE(w->LastRefusal(), QString("[[transmitter]] \"2m-rig\" power-w: expected a power in W, "
                                       "0 or more and at most 10000000 (10 MW), found -5"));
    QCOMPARE(Written(*w), before);
    QCOMPARE(w->Document().UndoStack().count(), 0);
    QVERIFY(!w->isWindowModified());
    QCOMPARE(Cell(*w, Table::Transmitters, 0, 1), QString("200 W"));
    // The cell refused stays the current one, to be typed again.
    QCOMPARE(w->View(Table::Transmitters)->currentIndex().column(), 1);
    // The next value taken clears the message.
    TypeIntoCell(*w, Table::Transmitters, 0, 1, "100");
    QCOMPARE(w->LastRefusal(), QString());
  }

  void undoAndRedoRestoreTheExactStation() {
    Shown w(kExample);
    const std::string original = Written(*w);
    TypeIntoCell(*w, Table::Transmitters, 0, 0, "rig");
    TypeIntoCell(*w, Table::Antennas, 1, 6, "14 m");
    w->ShowTable(Table::Places);
    w->View(Table::Places)->setCurrentIndex(w->Model(Table::Places)->index(1, 0));
    w->DuplicateRow();
    w->MoveRow(true);
    w->RemoveRows();
    w->ShowTable(Table::Installations);
    w->View(Table::Installations)->setCurrentIndex(w->Model(Table::Installations)->index(2, 0));
    w->AddRow();
    const std::string edited = Written(*w);
    const int edits = w->Document().UndoStack().count();
    QCOMPARE(edits, 6);
    QVERIFY(edited != original);
    for (int i = 0; i < edits; ++i) {
      QTest::keyClick(w.window, Qt::Key_Z, Qt::ControlModifier);
    }
    QCOMPARE(Written(*w), original);
    QVERIFY(!w->isWindowModified());
    QCOMPARE(w->Model(Table::Transmitters)->rowCount(), 5);
    QCOMPARE(Cell(*w, Table::Installations, 0, 1), QString("ft-991"));
    for (int i = 0; i < edits; ++i) {
      QTest::keyClick(w.window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    }
    QCOMPARE(Written(*w), edited);
    // Every view shows the station redone: the table of places row by row.
    const auto& places = w->Document().Station().places;
    QCOMPARE(w->Model(Table::Places)->rowCount(), int(places.size()));
    for (int i = 0; i < int(places.size()); ++i) {
      QCOMPARE(Cell(*w, Table::Places, i, 0), QString::fromStdString(places[i].name));
    }
  }

  // Choosing a country in the heading brings its region and limit sets,
  // and one undo takes all of it back.
  void choosingACountryBringsItsRulesAndUndoes() {
    Shown w(kExample);
    const std::string original = Written(*w);
    auto* country = w->Heading()->findChild<QComboBox*>("country");
    QVERIFY(country != nullptr);
    QCOMPARE(country->currentIndex(), 0);  // the example names none
    const int de = country->findData(QString("DE"));
    QVERIFY(de > 0);
    country->setCurrentIndex(de);
    emit country->activated(de);
    const station::Station& s = w->Document().Station();
    QCOMPARE(QString::fromStdString(s.country.value_or("")), QString("DE"));
    QCOMPARE(s.region, 1);
    QVERIFY(w->Heading()->findChild<QCheckBox*>("icnirp1998")->isChecked());
    QVERIFY(!w->Heading()->findChild<QCheckBox*>("fcc")->isChecked());
    QCOMPARE(w->Heading()->findChild<QComboBox*>("region")->currentData().toInt(), 1);
    QTest::keyClick(w.window, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Written(*w), original);
    QCOMPARE(country->currentIndex(), 0);
  }

  void renamingAnIdRenamesItsReferences() {
    Shown w(kExample);
    TypeIntoCell(*w, Table::Antennas, 0, 0, "hex-beam");
    QCOMPARE(w->LastRefusal(), QString());
    QCOMPARE(Cell(*w, Table::Installations, 0, 3), QString("hex-beam"));
    QCOMPARE(Cell(*w, Table::Installations, 1, 3), QString("hex-beam"));
    // One edit: one undo puts both back.
    QTest::keyClick(w.window, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Cell(*w, Table::Antennas, 0, 0), QString("tribander"));
    QCOMPARE(Cell(*w, Table::Installations, 0, 3), QString("tribander"));
    // The picker of an installation's antenna offers the ids that exist.
    const QStringList ids =
        w->Model(Table::Installations)->index(0, 3).data(kChoiceWordsRole).toStringList();
    QCOMPARE(ids, (QStringList{"tribander", "80m-dipole", "ground-vertical", "collinear", "dish",
                               "big-dish"}));
  }

  void anEntryThatNeedsAnotherCellAsksForIt() {
    Shown w(kWorkedF);
    QStringList asked;
    w->cellAnswer = [&asked](const QString& cell, const QString& proposed) {
      asked << cell << proposed;
      return std::optional<QString>("2.4 m");
    };
    TypeIntoCell(*w, Table::Antennas, 0, 1, "Parabolic dish");
    QCOMPARE(asked, (QStringList{"Diameter of 2m-yagi", ""}));
    QCOMPARE(Cell(*w, Table::Antennas, 0, 7), QString("2.4 m"));
    QCOMPARE(Cell(*w, Table::Antennas, 0, 2), QString("(from the diameter)"));
    // Cancelled, the entry stays as it was.
    w->cellAnswer = [](const QString&, const QString&) { return std::nullopt; };
    const std::string before = Written(*w);
    TypeIntoCell(*w, Table::Antennas, 1, 1, "Parabolic dish");
    QCOMPARE(Written(*w), before);
  }

  void unsavedChangesQuestions() {
    // Nothing changed: closing asks nothing.
    {
      Shown w(kWorkedF);
      QVERIFY(w->close());
      QVERIFY(w.questions.isEmpty());
    }
    // An edit, then Cancel: the window stays with its work.
    Shown w(kWorkedF);
    TypeIntoCell(*w, Table::Places, 0, 1, "9");
    w.answer = Answer::Cancel;
    QVERIFY(!w->close());
    QCOMPARE(w.questions,
             (QList<QString>{"Save changes to the station evaluation before closing?"}));
    QVERIFY(w->isVisible());
    QCOMPARE(Cell(*w, Table::Places, 0, 1), QString("9 m"));
    // Opening another over it asks too; Cancel opens nothing.
    w.questions.clear();
    QVERIFY(!w->OpenFile(kExample));
    QCOMPARE(w.questions,
             (QList<QString>{"Save changes to the station evaluation before opening another?"}));
    QCOMPARE(w->Document().Path(), QFileInfo(kWorkedF).absoluteFilePath());
    // Undone to the file's station: nothing to lose, nothing asked.
    QTest::keyClick(w.window, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!w->isWindowModified());
    w.questions.clear();
    QVERIFY(w->OpenFile(kExample));
    QVERIFY(w.questions.isEmpty());
    // Save answers: the file is written, then the window closes.
    const QString copy = files_.filePath("questions.station.toml");
    QVERIFY(w->SaveTo(copy));
    TypeIntoCell(*w, Table::Transmitters, 0, 1, "90");
    w.answer = Answer::Save;
    QPointer<StationWindow> gone = w.window;
    QVERIFY(w->close());
    QTRY_VERIFY(gone.isNull());
    const station::ReadResult saved = station::ReadStationFile(copy.toStdString());
    QVERIFY(saved.station.has_value());
    QCOMPARE(double(saved.station->transmitters[0].powerW), 90.0);
  }

  void escapeEndsAnEditWithoutTakingItAndTheWindowStays() {
    Shown w(kWorkedF);
    StationTable* view = w->View(Table::Transmitters);
    w->ShowTable(Table::Transmitters);
    view->setFocus();
    view->setCurrentIndex(view->model()->index(1, 1));
    QTest::keyClick(view, Qt::Key_Return);
    QVERIFY(view->Editing());
    QWidget* editor = QApplication::focusWidget();
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, "5");
    QTest::keyClick(editor, Qt::Key_Escape);
    QVERIFY(!view->Editing());
    QVERIFY(w->isVisible());
    QCOMPARE(Cell(*w, Table::Transmitters, 1, 1), QString("1000 W"));
    QTest::keyClick(view, Qt::Key_Escape);
    QVERIFY(w->isVisible());
    // The arrows go from cell to cell.
    QTest::keyClick(view, Qt::Key_Left);
    QCOMPARE(view->currentIndex(), view->model()->index(1, 0));
    QTest::keyClick(view, Qt::Key_Up);
    QCOMPARE(view->currentIndex(), view->model()->index(0, 0));
  }

  void everyTableAndFieldHasAnAccessibleNameAndTabReachesThem() {
    Shown w(kExample);
    for (const Table table : stationui::kTables) {
      QVERIFY(!w->View(table)->accessibleName().isEmpty());
    }
    for (QWidget* field : w->Heading()->findChildren<QWidget*>()) {
      if (qobject_cast<QLineEdit*>(field) || qobject_cast<QComboBox*>(field)) {
        QVERIFY2(!field->accessibleName().isEmpty(), qPrintable(field->objectName()));
      }
    }
    // Tab from the call sign reaches the tables' tab bar and the table.
    auto* callsign = w->Heading()->findChild<QLineEdit*>("callsign");
    callsign->setFocus();
    QSet<QWidget*> seen;
    for (int i = 0; i < 40 && !seen.contains(w->View(Table::Transmitters)); ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      seen.insert(QApplication::focusWidget());
    }
    QVERIFY(seen.contains(w->Heading()->findChild<QComboBox*>("region")));
    QVERIFY(seen.contains(w->View(Table::Transmitters)));
  }

  void aFileWithProblemsOpensToBeCorrected() {
    const QString path = files_.filePath("problems.station.toml");
    QByteArray text = FileBytes(kWorkedF);
    text.replace("power-w = 200", "power-w = -200");
    text.replace("kind = \"yagi\"\ngain-dbi = 8", "kind = \"yagii\"\ngain-dbi = 8");
    QVERIFY(WriteText(path, text));
    Shown w(path);
    QVERIFY(w->FixingFile());
    QVERIFY(w.messages.isEmpty());
    QVERIFY(w->Document().Station().transmitters.empty());
    QCOMPARE(w->Fix()->Problems()->count(), 2);
    QVERIFY(w->Fix()->Problems()->item(0)->text().contains(
        "[[transmitter]] \"2m-rig\" power-w: expected a power in W, 0 or more and at most 10000000 "
        "(10 MW), found -200"));
    QVERIFY(w->windowTitle().contains("problems"));
    // Nothing can be added to a station that is not loaded.
    w->AddRow();
    QVERIFY(w->Document().Station().transmitters.empty());
    // One problem corrected: the other is still listed, nothing is loaded.
    QPlainTextEdit* editor = w->Fix()->Editor();
    editor->setPlainText(editor->toPlainText().replace("= -200", "= 200"));
    w->Fix()->findChild<QPushButton*>("checkAgain")->click();
    QVERIFY(w->FixingFile());
    QCOMPARE(w->Fix()->Problems()->count(), 1);
    // Both corrected: the station is the window's, unsaved.
    editor->setPlainText(editor->toPlainText().replace("yagii", "yagi"));
    w->Fix()->findChild<QPushButton*>("checkAgain")->click();
    QVERIFY(!w->FixingFile());
    QCOMPARE(w->Model(Table::Antennas)->rowCount(), 2);
    QVERIFY(w->isWindowModified());
    QCOMPARE(w->Document().Path(), QFileInfo(path).absoluteFilePath());
  }

  void aFileThatIsNoStationFileIsRefusedWithItsProblems() {
    const QString path = files_.filePath("other.toml");
    QVERIFY(WriteText(path, "[server]\nport = \"80\"\n"));
    Shown w(kWorkedF);
    const std::string before = Written(*w);
    QVERIFY(!w->OpenFile(path));
    QCOMPARE(w.messages.size(), 1);
    QVERIFY2(w.messages[0].contains("not a station file"), qPrintable(w.messages[0]));
    QVERIFY2(w.messages[0].contains("format"), qPrintable(w.messages[0]));
    QCOMPARE(Written(*w), before);
    QVERIFY(!w->FixingFile());
    QVERIFY(!w->OpenFile(files_.filePath("none.station.toml")));
    QVERIFY(w.messages.last().contains("does not exist"));
  }

  void saveAndReopenGivesTheSameFile() {
    const QString path = files_.filePath("home");
    Shown w(kExample);
    TypeIntoCell(*w, Table::Feedlines, 0, 2, "100 ft");
    w->fileAnswer = [&path](bool save, const QString&) -> std::optional<QString> {
      return save ? std::optional<QString>(path) : std::nullopt;
    };
    QVERIFY(w->SaveAs());
    const QString written = path + ".station.toml";
    QCOMPARE(w->Document().Path(), written);
    QVERIFY(!w->isWindowModified());
    QVERIFY(w->windowTitle().startsWith("home.station.toml[*]"));
    const QByteArray bytes = FileBytes(written);
    QCOMPARE(bytes.toStdString(), Written(*w));
    // Reopened in another window: the same station, written to the same bytes.
    Shown again(written);
    QCOMPARE(Written(*again), bytes.toStdString());
    QCOMPARE(Cell(*again, Table::Feedlines, 0, 2), QString("100 ft"));
    // The file is among the recent ones, first.
    QCOMPARE(QSettings(QSettings::UserScope, "Korrin", "Korrin")
                 .value("stationWindow/recentFiles")
                 .toStringList()
                 .value(0),
             written);
  }

  void theRecordAndThePlanFromTheWindow() {
    Shown w(kWorkedF);
    TypeIntoCell(*w, Table::Transmitters, 1, 1, "900");  // an unsaved change, in the record
    const QString base = files_.filePath("worked");
    w->fileAnswer = [&base](bool save, const QString& proposed) -> std::optional<QString> {
      if (!save) return std::nullopt;
      // The name proposed is the station file's; the test's folder stands in.
      return base + "." + QFileInfo(proposed).suffix();
    };
    QVERIFY(w->ExportRecord());
    QProcess tool;
    tool.start("pdftotext", {base + ".pdf", "-"});
    QVERIFY(tool.waitForFinished(30000));
    const QString text = QString::fromUtf8(tool.readAllStandardOutput()).simplified();
    for (const QString& wanted :
         {QString("RF exposure evaluation of the station"),
          QString::fromStdString("Does not comply at \"Neighbour's garden\""),
          QString("Installation \"2m\""), QString("Installation \"20m\""),
          QString("Neighbour's garden"), QString("Power 900 W"),
          QString("worked-f.station.toml, with changes not saved to it")}) {
      QVERIFY2(text.contains(wanted), qPrintable(wanted));
    }
    QVERIFY(w->ExportSitePlan());
    QFile svg(base + ".svg");
    QVERIFY(svg.open(QIODevice::ReadOnly));
    const QByteArray picture = svg.readAll();
    QVERIFY(picture.contains("<svg") && picture.contains("Neighbour's garden"));
    // Cancelled: nothing written.
    w->fileAnswer = [](bool, const QString&) { return std::nullopt; };
    QVERIFY(!w->ExportRecord());
    QVERIFY(!w->ExportSitePlan());
    QVERIFY(w.messages.isEmpty());
  }

  void theCalculatorsStationAddedToAStationEvaluation() {
    QTRY_VERIFY(StationWindow::Windows().isEmpty());
    test::Desk desk;
    QVERIFY(desk.Open());
    QAction* add = desk.window.findChild<QAction*>("AddToStationEvaluation");
    QVERIFY(add != nullptr);
    QVERIFY(!add->statusTip().isEmpty());
    // No station window open: a new one holds the calculator's station, unsaved.
    add->trigger();
    QCOMPARE(StationWindow::Windows().size(), 1);
    QPointer<StationWindow> window = StationWindow::Windows().first();
    const station::Station calculator = window->Document().Station();
    QCOMPARE(int(calculator.installations.size()), 1);
    QVERIFY(window->Document().Modified());
    QVERIFY(!window->Evaluation().installations.empty());
    // With one open: the choice of where, and the station added to it as one edit.
    QString asked;
    ModalAnswerFirstChoice answer(asked);
    add->trigger();
    QTRY_VERIFY(answer.Seen());
    QCOMPARE(StationWindow::Windows().size(), 1);
    const station::Station& both = window->Document().Station();
    QCOMPARE(int(both.installations.size()), 2);
    QCOMPARE(both.installations[1].transmitter, calculator.transmitters[0].id + "-2");
    QVERIFY(station::Validate(both, "").empty());
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(int(window->Document().Station().installations.size()), 1);
    window->questionAnswer = [](const Question&) { return Answer::Discard; };
    window->close();
    QTRY_VERIFY(window.isNull());
  }

  void aWindowPerFileAndPicture() {
    StationWindow* first = OpenStationWindow(kWorkedF);
    QVERIFY(first != nullptr);
    QCOMPARE(OpenStationWindow(kWorkedF), first);
    StationWindow* second = OpenStationWindow(kExample);
    QVERIFY(second != nullptr && second != first);
    QVERIFY(StationWindow::Windows().contains(first));
    second->resize(1440, 880);
    // As the window first stands on a screen of its size: half the width each.
    second->findChild<QSplitter*>("split")->setSizes({720, 720});
    second->ShowTable(Table::Installations);
    QVERIFY(QTest::qWaitForWindowExposed(second));
    const QString dir = qEnvironmentVariable("KORRIN_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
      QDir().mkpath(dir);
      QVERIFY(second->grab().save(dir + "/station-window.png"));
      first->resize(1440, 880);
      first->findChild<QSplitter*>("split")->setSizes({720, 720});
      first->ShowTable(Table::Places);
      QVERIFY(QTest::qWaitForWindowExposed(first));
      QVERIFY(first->grab().save(dir + "/station-window-f.png"));
    }
    first->close();
    second->close();
  }

  // Redo by either key desktops use; no key is given twice in the window
  // (a key given twice is ambiguous and does nothing).
  void redoByEitherKey_data() {
    QTest::addColumn<QKeySequence>("redo");
    QTest::newRow("Ctrl+Y") << QKeySequence(Qt::CTRL | Qt::Key_Y);
    QTest::newRow("Ctrl+Shift+Z") << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
  }
  void redoByEitherKey() {
    QFETCH(QKeySequence, redo);
    Shown w(kWorkedF);
    QMultiMap<QKeySequence, QString> keys;
    for (QAction* action : w->findChildren<QAction*>()) {
      for (const QKeySequence& key : action->shortcuts()) {
        QVERIFY2(!keys.contains(key),
                 qPrintable(key.toString() + ": " + action->text() + " and " + keys.value(key)));
        keys.insert(key, action->text());
      }
    }
    const std::string original = Written(*w);
    TypeIntoCell(*w, Table::Transmitters, 0, 1, "150");
    const std::string edited = Written(*w);
    QVERIFY(edited != original);
    QTest::keyClick(w.window, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Written(*w), original);
    QTest::keySequence(w.window, redo);
    QCOMPARE(Written(*w), edited);
  }

  // Whatever keys the platform gives for redo (the desktops of X11 give
  // Ctrl+Shift+Z, Windows Ctrl+Y, some both), both work and none is twice.
  void redoKeysAreEachGivenOnce_data() {
    QTest::addColumn<QList<QKeySequence>>("platform");
    const QKeySequence shiftZ(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    const QKeySequence y(Qt::CTRL | Qt::Key_Y);
    QTest::newRow("X11 desktops") << QList<QKeySequence>{shiftZ};
    QTest::newRow("Windows") << QList<QKeySequence>{y};
    QTest::newRow("both") << QList<QKeySequence>{y, shiftZ};
    QTest::newRow("none") << QList<QKeySequence>{};
    QTest::newRow("another key") << QList<QKeySequence>{QKeySequence(Qt::META | Qt::Key_R)};
  }
  void redoKeysAreEachGivenOnce() {
    QFETCH(QList<QKeySequence>, platform);
    const QList<QKeySequence> keys = RedoKeys(platform);
    for (const QKeySequence& key : platform) QVERIFY(keys.contains(key));
    QVERIFY(keys.contains(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)));
    QVERIFY(keys.contains(QKeySequence(Qt::CTRL | Qt::Key_Y)));
    for (const QKeySequence& key : keys) QCOMPARE(keys.count(key), 1);
  }

  // A refusal shown goes with the next entry taken, wherever it is typed.
  void theRefusalGoesWithTheNextEntryTaken_data() {
    QTest::addColumn<QString>("then");
    QTest::newRow("the same value again") << "same";
    QTest::newRow("another table") << "other table";
    QTest::newRow("the heading") << "heading";
    QTest::newRow("a row added") << "add row";
  }
  void theRefusalGoesWithTheNextEntryTaken() {
    QFETCH(QString, then);
    Shown w(kWorkedF);
    TypeIntoCell(*w, Table::Transmitters, 0, 1, "-5");
    QVERIFY(!w->LastRefusal().isEmpty());
    if (then == "same") {
      TypeIntoCell(*w, Table::Transmitters, 0, 1, "200");
    } else if (then == "other table") {
      TypeIntoCell(*w, Table::Places, 0, 1, "12");
    } else if (then == "heading") {
      auto* callsign = w->Heading()->findChild<QLineEdit*>("callsign");
      QVERIFY(callsign != nullptr);
      callsign->setFocus();
      QTest::keyClicks(callsign, "W1AW");
      QTest::keyClick(callsign, Qt::Key_Return);
      QCOMPARE(w->Document().Station().callsign, std::string("W1AW"));
    } else {
      w->AddRow();
    }
    QCOMPARE(w->LastRefusal(), QString());
    QVERIFY(!w->findChild<QLabel*>("refusal")->isVisibleTo(w.window));
  }

  // One click on a problem goes to its line and column in the text.
  void aClickOnAProblemGoesToItsLine() {
    const QString path = files_.filePath("click.station.toml");
    QByteArray text = FileBytes(kWorkedF);
    text.replace("power-w = 200", "power-w = -200");
    text.replace("kind = \"yagi\"\ngain-dbi = 8", "kind = \"yagii\"\ngain-dbi = 8");
    QVERIFY(WriteText(path, text));
    Shown w(path);
    QVERIFY(w->FixingFile());
    QListWidget* problems = w->Fix()->Problems();
    QCOMPARE(problems->count(), 2);
    const auto yagii = static_cast<int>(text.left(text.indexOf("yagii")).count('\n'));
    const QRect second = problems->visualItemRect(problems->item(1));
    QTest::mouseClick(problems->viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(w->Fix()->Editor()->textCursor().blockNumber(), yagii);
    const auto power = static_cast<int>(text.left(text.indexOf("-200")).count('\n'));
    const QRect first = problems->visualItemRect(problems->item(0));
    QTest::mouseClick(problems->viewport(), Qt::LeftButton, {}, first.center());
    QCOMPARE(w->Fix()->Editor()->textCursor().blockNumber(), power);
  }

  // A new row starts in the Id column, whichever column was current.
  void aNewRowStartsInTheIdColumn_data() {
    QTest::addColumn<int>("table");
    QTest::addColumn<bool>("duplicate");
    QTest::newRow("transmitter added") << int(Table::Transmitters) << false;
    QTest::newRow("antenna added") << int(Table::Antennas) << false;
    QTest::newRow("place duplicated") << int(Table::Places) << true;
  }
  void aNewRowStartsInTheIdColumn() {
    QFETCH(int, table);
    QFETCH(bool, duplicate);
    Shown w(kWorkedF);
    const Table t = Table(table);
    w->ShowTable(t);
    StationTable* view = w->View(t);
    view->setFocus();
    view->setCurrentIndex(w->Model(t)->index(0, 2));
    const int rows = w->Model(t)->rowCount();
    QTest::keyClick(view, duplicate ? Qt::Key_D : Qt::Key_I, Qt::ControlModifier);
    QCOMPARE(w->Model(t)->rowCount(), rows + 1);
    QCOMPARE(view->currentIndex().row(), 1);
    QCOMPARE(view->currentIndex().column(), 0);
    QCOMPARE(w->Model(t)->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
             QString(t == Table::Places ? "Name" : "Id"));
  }

  // Delete removes the rows selected, as one edit that undo puts back.
  void deleteRemovesTheSelectedRows() {
    Shown w(kExample);
    const std::string original = Written(*w);
    w->ShowTable(Table::Places);
    StationTable* view = w->View(Table::Places);
    const int rows = w->Model(Table::Places)->rowCount();
    QVERIFY(rows >= 3);
    const QString kept = Cell(*w, Table::Places, 1, 0);
    view->setFocus();
    view->selectionModel()->select(w->Model(Table::Places)->index(0, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view->selectionModel()->select(w->Model(Table::Places)->index(2, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QTest::keyClick(view, Qt::Key_Delete);
    QCOMPARE(w->Model(Table::Places)->rowCount(), rows - 2);
    QCOMPARE(Cell(*w, Table::Places, 0, 0), kept);
    QCOMPARE(w->Document().UndoStack().count(), 1);
    QTest::keyClick(w.window, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Written(*w), original);
    // In an open editor, Delete deletes text.
    view->setCurrentIndex(w->Model(Table::Places)->index(0, 0));
    QTest::keyClick(view, Qt::Key_Return);
    QVERIFY(view->Editing());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    QCOMPARE(w->Model(Table::Places)->rowCount(), rows);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  }

  // Ctrl+C on selected rows puts them on the clipboard as station file
  // tables; Ctrl+V in another window adds them there as one edit.  In a
  // cell's editor the keys copy the editor's text instead.
  void wholeRowsCopyAndPaste() {
    Shown from(kExample);
    from->ShowTable(Table::Places);
    StationTable* view = from->View(Table::Places);
    view->setFocus();
    view->setCurrentIndex(from->Model(Table::Places)->index(1, 0));
    view->selectionModel()->select(from->Model(Table::Places)->index(1, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    const QString copied = QGuiApplication::clipboard()->text();
    QVERIFY2(copied.startsWith("[[place]]\n"), qPrintable(copied));
    const QString name = Cell(*from, Table::Places, 1, 0);
    QVERIFY(copied.contains("\"" + name + "\""));

    Shown to(kWorkedF);
    const std::string before = Written(*to);
    const int rows = to->Model(Table::Places)->rowCount();
    to->ShowTable(Table::Places);
    to->View(Table::Places)->setFocus();
    QTest::keyClick(to->View(Table::Places), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(to->LastRefusal(), QString());
    QCOMPARE(to->Model(Table::Places)->rowCount(), rows + 1);
    QCOMPARE(Cell(*to, Table::Places, rows, 0), name);
    QCOMPARE(to->View(Table::Places)->currentIndex().row(), rows);
    QCOMPARE(to->Document().UndoStack().count(), 1);
    QTest::keyClick(to.window, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Written(*to), before);

    // Text that is no station's: refused, nothing changed.
    QGuiApplication::clipboard()->setText("hello");
    QTest::keyClick(to->View(Table::Places), Qt::Key_V, Qt::ControlModifier);
    QVERIFY(to->LastRefusal().contains("Nothing to paste"));
    QCOMPARE(Written(*to), before);

    // In an open editor: the editor's text.
    to->View(Table::Places)->setCurrentIndex(to->Model(Table::Places)->index(0, 0));
    QTest::keyClick(to->View(Table::Places), Qt::Key_Return);
    QVERIFY(to->View(Table::Places)->Editing());
    QWidget* editor = QApplication::focusWidget();
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), Cell(*to, Table::Places, 0, 0));
    QTest::keyClick(editor, Qt::Key_Escape);
  }

  // After the dialog that asks for another cell, the focus is back in the
  // cell that asked (not in the heading's first field).
  void theFocusReturnsToTheCellAfterTheDialog() {
    Shown w(kWorkedF);
    test::ModalAnswer answer([](QWidget* modal) {
      auto* dialog = qobject_cast<QInputDialog*>(modal);
      if (dialog == nullptr) {
        modal->close();
        return;
      }
      dialog->setTextValue("2.4 m");
      dialog->accept();
    });
    TypeIntoCell(*w, Table::Antennas, 0, 1, "Parabolic dish");
    QVERIFY(answer.Seen());
    QCOMPARE(Cell(*w, Table::Antennas, 0, 7), QString("2.4 m"));
    StationTable* view = w->View(Table::Antennas);
    QTRY_COMPARE(w->focusWidget(), static_cast<QWidget*>(view));
    QCOMPARE(view->currentIndex(), w->Model(Table::Antennas)->index(0, 1));
  }

 private:
  QTemporaryDir settings_;
  QTemporaryDir files_;
};

KORRIN_QT_TEST_MAIN(StationWindowTest)
#include "StationWindowTest.moc"
