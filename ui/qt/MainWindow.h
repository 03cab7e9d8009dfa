// Placeholder: the Qt view (being built).
#pragma once
#include <QMainWindow>
namespace korrin {
class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(QWidget* parent = nullptr);
};
}  // namespace korrin
