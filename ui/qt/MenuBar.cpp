#include "ui/qt/MenuBar.h"

#include <QAction>
#include <QKeySequence>
#include <QList>
#include <QMenu>
#include <QMenuBar>

#include "ui/qt/MainWindow.h"
#include "ui/qt/RecordExport.h"

namespace korrin {

namespace {

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
    ExportEvaluationRecord(&window, window.Form(), assess::Options{});
  });
  // Further output commands go here, before the separator.
  file->addSeparator();
  HandlerEntry(window, file, QObject::tr("&Close"), "BitBtn1Click",
               QObject::tr("Close the calculator"),
               Keys(QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q)));
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
  HandlerEntry(window, help, QObject::tr("&About Korrin"), "Panel44Click",
               QObject::tr("Show the program's version"));
}

}  // namespace

void InstallMenuBar(MainWindow& window) {
  QMenuBar* bar = window.menuBar();
  bar->setObjectName("MenuBar");
  FileMenu(window, bar->addMenu(QObject::tr("&File")));
  HelpMenu(window, bar->addMenu(QObject::tr("&Help")));
}

}  // namespace korrin
