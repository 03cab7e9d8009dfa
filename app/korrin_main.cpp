#include <QApplication>

#include "ui/qt/MainWindow.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Korrin");
  korrin::MainWindow window;
  window.showMaximized();
  return QApplication::exec();
}
