#include "ui/qt/calculator/MenuBar.h"

#include <QAction>
#include <QEvent>
#include <QKeySequence>
#include <QLabel>
#include <QList>
#include <QMenu>
#include <QMenuBar>

#include "station/FromCalculator.h"
#include "ui/TForm1.h"
#include "ui/qt/assessment/AssessmentWindow.h"
#include "ui/qt/calculator/About.h"
#include "ui/qt/calculator/MainWindow.h"
#include "ui/qt/calculator/Widgets.h"
#include "ui/qt/record/RecordExport.h"
#include "ui/qt/station/StationMenu.h"

namespace korrin {

namespace {

// The group of the standards and the on-axis exclusion zone.
constexpr const char* kZoneGroup = "Panel12";

// The desktop's keys for a standard command, with `usual` (Ctrl+O, Ctrl+Q,
// ...) among them even where the desktop binds the command to other keys
// only.
QList<QKeySequence> Keys(QKeySequence::StandardKey command, const QKeySequence& usual) {
  QList<QKeySequence> keys = QKeySequence::keyBindings(command);
  if (!keys.contains(usual)) keys.append(usual);
  return keys;
}

// An entry that runs the handler `handler` of the window logic.
QAction* HandlerEntry(MainWindow& window, QMenu* menu, const QString& text, const char* handler,
                      const QString& tip, const QList<QKeySequence>& keys = {}) {
  QAction* action = menu->addAction(text);
  action->setObjectName(QString::fromLatin1(handler));
  action->setStatusTip(tip);
  action->setShortcuts(keys);
  QObject::connect(action, &QAction::triggered, &window,
                   [&window, handler] { window.RunHandler(handler); });
  return action;
}

void FileMenu(MainWindow& window, QMenu* file) {
  HandlerEntry(window, file, QObject::tr("&Get Data…"), "Get_FileClick",
               QObject::tr("Load a station data file"),
               Keys(QKeySequence::Open, QKeySequence(Qt::CTRL | Qt::Key_O)));
  HandlerEntry(window, file, QObject::tr("&Save Data…"), "Save_DataClick",
               QObject::tr("Save the station to a data file"),
               Keys(QKeySequence::Save, QKeySequence(Qt::CTRL | Qt::Key_S)));
  HandlerEntry(window, file, QObject::tr("&Default"), "DefaultDataClick",
               QObject::tr("Reload the default data file default.rsd"));
  file->addSeparator();
  HandlerEntry(window, file, QObject::tr("&Print…"), "BitBtn2Click",
               QObject::tr("Print the window on one page"),
               Keys(QKeySequence::Print, QKeySequence(Qt::CTRL | Qt::Key_P)));
  // The evaluation record: asks for its heading and a file, writes the PDF.
  QAction* record = file->addAction(QObject::tr("Export &Evaluation Record…"));
  record->setObjectName("ExportEvaluationRecord");
  record->setStatusTip(
      QObject::tr("Write the station's RF exposure evaluation as a PDF document to keep"));
  QObject::connect(record, &QAction::triggered, &window, [&window] {
    // The head height and distance set in the assessment window, if open.
    assess::Options options;
    if (const AssessmentWindow* shown = window.Assessment()) {
      options = {shown->DistanceM(), shown->HeadHeightM()};
    }
    ExportEvaluationRecord(&window, window.Form(), options);
  });
  // Further output commands go here, before the separator.
  file->addSeparator();
  // Station evaluations: windows of their own beside the calculator.
  AddStationEvaluationEntries(window, file,
                              [&window] { return station::FromCalculator(window.Form().State()); });
  file->addSeparator();
  HandlerEntry(window, file, QObject::tr("&Close"), "BitBtn1Click",
               QObject::tr("Close the calculator"),
               Keys(QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q)));
}

void ViewMenu(MainWindow& window, QMenu* view) {
  QAction* assessment = view->addAction(QObject::tr("&Assessment…"));
  assessment->setObjectName("ShowAssessment");
  assessment->setStatusTip(
      QObject::tr("Show the density along the beam against every exposure limit"));
  QObject::connect(assessment, &QAction::triggered, &window,
                   [&window] { window.ShowAssessment(); });
  QAction* moon = view->addAction(QObject::tr("&Moon…"));
  moon->setObjectName("ShowMoon");
  moon->setStatusTip(QObject::tr(
      "Show the moon by date at the band: position, distance, path loss, Doppler and windows"));
  QObject::connect(moon, &QAction::triggered, &window, [&window] { window.ShowMoon(); });
}

// Opens the assessment window on a double-click anywhere on the exclusion
// zone's group that is not a control of its own.
class OpenOnDoubleClick : public QObject {
 public:
  explicit OpenOnDoubleClick(MainWindow& window) : QObject(&window), window_(window) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::MouseButtonDblClick) return QObject::eventFilter(watched, event);
    window_.ShowAssessment();
    return true;
  }

 private:
  MainWindow& window_;
};

void OpenAssessmentOnDoubleClick(MainWindow& window) {
  QWidget* group = window.ControlWidget(kZoneGroup);
  if (group == nullptr) return;
  auto* filter = new OpenOnDoubleClick(window);
  group->installEventFilter(filter);
  for (QWidget* child : group->findChildren<QWidget*>()) {
    // Buttons, spin buttons and clickable panels keep their double-clicks.
    auto* panel = qobject_cast<PanelBox*>(child);
    if (panel != nullptr ? panel->Clickable() : qobject_cast<QLabel*>(child) == nullptr) continue;
    child->installEventFilter(filter);
  }
}

void HelpMenu(MainWindow& window, QMenu* help) {
  // The disclaimer button shows and hides the disclaimer; the menu only
  // shows it.
  QAction* disclaimer = help->addAction(QObject::tr("&Disclaimer"));
  disclaimer->setObjectName("SpeedButton1Click");
  disclaimer->setStatusTip(QObject::tr("Show the important safety information"));
  QObject::connect(disclaimer, &QAction::triggered, &window, [&window] {
    if (!window.Form().Board().at("Memo2").visible) window.RunHandler("SpeedButton1Click");
  });
  // The program's own box; the version panel keeps the calculator's message.
  QAction* about = help->addAction(QObject::tr("&About Korrin"));
  about->setObjectName("About");
  about->setStatusTip(QObject::tr("Show the program's version and where its manual is"));
  QObject::connect(about, &QAction::triggered, &window, [&window] { ShowAbout(&window); });
}

}  // namespace

void InstallMenuBar(MainWindow& window) {
  QMenuBar* bar = window.menuBar();
  bar->setObjectName("MenuBar");
  FileMenu(window, bar->addMenu(QObject::tr("&File")));
  ViewMenu(window, bar->addMenu(QObject::tr("&View")));
  HelpMenu(window, bar->addMenu(QObject::tr("&Help")));
  OpenAssessmentOnDoubleClick(window);
}

}  // namespace korrin
