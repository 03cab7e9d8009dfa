// The calculator window; or, for station files named on the command line
// (korrin home.station.toml), a station window for each, the calculator
// behind them until View > Calculator shows it.
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <new>

#include "nearfield/Runner.h"
#include "station/StationFile.h"
#include "ui/TForm1.h"
#include "ui/qt/Icons.h"
#include "ui/qt/calculator/MainWindow.h"
#include "ui/qt/calculator/QtPlatform.h"
#include "ui/qt/station/StationMenu.h"
#include "ui/qt/station/StationWindow.h"

namespace {

// Decimal point and thousands separator of the user's locale.
korrin::NumberLocale UserNumberLocale() {
  const QLocale locale;
  korrin::NumberLocale numbers;
  numbers.decimalPoint = locale.decimalPoint().toStdString();
  numbers.groupSeparator = locale.groupSeparator().toStdString();
  return numbers;
}

// Whether `path` names a station file: by its name, or by its first lines
// (of a regular file only: a pipe would hold the program up for ever).
bool IsStationFile(const QString& path) {
  if (path.endsWith(".toml", Qt::CaseInsensitive)) return true;
  if (!QFileInfo(path).isFile()) return false;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  constexpr qint64 kHead = 4096;
  return korrin::station::LooksLikeStationFile(file.read(kHead).toStdString());
}

// The program's every event passes here: an action that runs out of memory
// (a station file of millions of entries) is refused with a message, and
// the windows, with their unsaved edits, stay open.
class Application : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc&) {
      QMessageBox::critical(nullptr, QStringLiteral("Korrin"),
                            QObject::tr("There is not enough memory for that action: it was not "
                                        "done. Every window and its edits are as they were."));
      return false;
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  // SIGINT, SIGTERM or SIGHUP while a near field is computed: its engine is
  // ended and its folder removed before the window ends.
  korrin::nearfield::EndEngineRunsOnSignals();
  Application app(argc, argv);
  QApplication::setApplicationName("Korrin");
  // The window is drawn to its own measure; the same style everywhere keeps
  // every caption inside its control.
  QApplication::setStyle("Fusion");
  QApplication::setWindowIcon(korrin::ProgramIcon());

  korrin::QtPlatform platform;
  korrin::TForm1 form(platform, UserNumberLocale());
  korrin::MainWindow window(form);
  platform.SetWindow(&window);
  korrin::SetCalculatorWindow(&window);

  bool stationShown = false;
  const QStringList arguments = QApplication::arguments().mid(1);
  for (const QString& argument : arguments) {
    if (argument.startsWith('-') || !IsStationFile(argument)) continue;
    stationShown = korrin::OpenStationWindow(argument) != nullptr || stationShown;
  }
  if (stationShown) return QApplication::exec();

  // Restored, the window stands in the middle of the screen.
  if (QScreen* screen = window.screen()) {
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
  }
  window.showMaximized();
  return QApplication::exec();
}
