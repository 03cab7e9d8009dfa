#include "ui/qt/station/StationMenu.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QKeySequence>
#include <QMenu>
#include <QPointer>
#include <QSettings>
#include <QStandardPaths>

#include "ui/qt/station/StationWindow.h"

namespace korrin {

namespace {

constexpr const char* kRecentKey = "stationWindow/recentFiles";

QPointer<QWidget>& Calculator() {
  static QPointer<QWidget> calculator;
  return calculator;
}

QSettings UserSettings() {
  return QSettings(QSettings::UserScope, "Korrin", "Korrin");
}

}  // namespace

void SetCalculatorWindow(QWidget* calculator) {
  Calculator() = calculator;
}

QWidget* CalculatorWindow() {
  return Calculator().data();
}

QStringList RecentStationFiles() {
  return UserSettings().value(kRecentKey).toStringList();
}

void RememberStationFile(const QString& path) {
  const QString full = QFileInfo(path).absoluteFilePath();
  QStringList list = RecentStationFiles();
  list.removeAll(full);
  list.prepend(full);
  while (list.size() > kRecentStationFiles) list.removeLast();
  UserSettings().setValue(kRecentKey, list);
}

void FillRecentStationMenu(QMenu* menu, const std::function<void(const QString&)>& open) {
  menu->clear();
  const QStringList files = RecentStationFiles();
  for (int i = 0; i < files.size(); ++i) {
    const QString& path = files[i];
    // "&1 home.station.toml", the folder as the tip.
    QAction* action = menu->addAction(
        QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName().replace('&', "&&")));
    action->setStatusTip(QDir::toNativeSeparators(path));
    action->setToolTip(QDir::toNativeSeparators(path));
    QObject::connect(action, &QAction::triggered, menu, [open, path] { open(path); });
  }
  if (files.isEmpty()) menu->addAction(QObject::tr("No station files yet"))->setEnabled(false);
}

StationWindow* AddToStationEvaluation(QWidget* parent, const station::Station& station) {
  const QString what = QObject::tr("Add the calculator's station");
  const QList<StationWindow*> windows = StationWindow::Windows();
  if (windows.isEmpty()) {
    StationWindow* window = NewStationWindow();
    window->TakeStation(station);
    return window;
  }
  QStringList choices;
  for (StationWindow* w : windows) {
    QString title = w->windowTitle();
    title.remove("[*]");
    choices << title;
  }
  const QString fresh = QObject::tr("A new station evaluation");
  choices << fresh;
  bool ok = false;
  // The latest window first in line.
  const QString chosen = QInputDialog::getItem(
      parent, QObject::tr("Add to Station Evaluation"),
      QObject::tr("Add the calculator's station (its transmitter, feed line, antenna and "
                  "installation) to:"),
      choices, static_cast<int>(windows.size()) - 1, false, &ok);
  if (!ok) return nullptr;
  const qsizetype at = choices.indexOf(chosen);
  if (chosen == fresh || at < 0 || at >= windows.size()) {
    StationWindow* window = NewStationWindow();
    window->TakeStation(station);
    return window;
  }
  StationWindow* window = windows[at];
  window->show();
  window->raise();
  window->activateWindow();
  return window->AddStation(station, what) ? window : nullptr;
}

void AddStationEvaluationEntries(QWidget& calculator, QMenu* file,
                                 std::function<station::Station()> calculatorStation) {
  SetCalculatorWindow(&calculator);
  QAction* make = file->addAction(QObject::tr("&New Station Evaluation"));
  make->setObjectName("NewStationEvaluation");
  make->setStatusTip(
      QObject::tr("Evaluate a whole station: every transmitter, feed line, antenna "
                  "and place"));
  QObject::connect(make, &QAction::triggered, &calculator, [] { NewStationWindow(); });

  QAction* open = file->addAction(QObject::tr("&Open Station Evaluation…"));
  open->setObjectName("OpenStationEvaluation");
  open->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
  open->setStatusTip(QObject::tr("Open a station file (.station.toml) in a station window"));
  QObject::connect(open, &QAction::triggered, &calculator, [&calculator] {
    const QString folder = RecentStationFiles().isEmpty()
                               ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                               : QFileInfo(RecentStationFiles().first()).absolutePath();
    const QString path = QFileDialog::getOpenFileName(
        &calculator, QObject::tr("Open Station Evaluation"), folder,
        QObject::tr("Station evaluations (*.station.toml);;TOML files (*.toml);;All files (*)"));
    if (!path.isEmpty()) OpenStationWindow(path);
  });

  QMenu* recent = file->addMenu(QObject::tr("Recent Station Evaluat&ions"));
  recent->setObjectName("RecentStationEvaluations");
  QObject::connect(recent, &QMenu::aboutToShow, recent, [recent] {
    FillRecentStationMenu(recent, [](const QString& path) { OpenStationWindow(path); });
  });
  // The menu has entries to show before it is first opened.
  FillRecentStationMenu(recent, [](const QString& path) { OpenStationWindow(path); });

  QAction* add = file->addAction(QObject::tr("&Add to Station Evaluation…"));
  add->setObjectName("AddToStationEvaluation");
  add->setStatusTip(
      QObject::tr("Add the calculator's station to a station evaluation: to an "
                  "open station window, or to a new one"));
  QObject::connect(add, &QAction::triggered, &calculator,
                   [&calculator, calculatorStation = std::move(calculatorStation)] {
                     AddToStationEvaluation(&calculator, calculatorStation());
                   });
}

QString StationFileName(const QString& name) {
  if (name.endsWith(".toml", Qt::CaseInsensitive)) return name;
  return name + ".station.toml";
}

}  // namespace korrin
