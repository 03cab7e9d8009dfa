#include "ui/qt/MainWindow.h"
namespace korrin {
MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) { setWindowTitle("Korrin"); }
}  // namespace korrin
