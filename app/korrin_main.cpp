// The calculator window.
#include <QApplication>
#include <QLocale>
#include <QScreen>

#include "ui/TForm1.h"
#include "ui/qt/Icons.h"
#include "ui/qt/calculator/MainWindow.h"
#include "ui/qt/calculator/QtPlatform.h"

namespace {

// Decimal point and thousands separator of the user's locale.
korrin::NumberLocale UserNumberLocale() {
  const QLocale locale;
  korrin::NumberLocale numbers;
  numbers.decimalPoint = locale.decimalPoint().toStdString();
  numbers.groupSeparator = locale.groupSeparator().toStdString();
  return numbers;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Korrin");
  // The window is drawn to its own measure; the same style everywhere keeps
  // every caption inside its control.
  QApplication::setStyle("Fusion");
  QApplication::setWindowIcon(korrin::ProgramIcon());

  korrin::QtPlatform platform;
  korrin::TForm1 form(platform, UserNumberLocale());
  korrin::MainWindow window(form);
  platform.SetWindow(&window);

  // Restored, the window stands in the middle of the screen.
  if (QScreen* screen = window.screen()) {
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
  }
  window.showMaximized();
  return QApplication::exec();
}
