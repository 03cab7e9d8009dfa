// Helpers of the window tests: one station with its window, lookup of the
// widgets by control name, and answering modal dialogs from a timer.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QString>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>

#include "ui/TForm1.h"
#include "ui/qt/calculator/MainWindow.h"
#include "ui/qt/calculator/QtPlatform.h"

namespace korrin::test {

// A station on the desktop: the platform, the window logic and its window.
struct Desk {
  QtPlatform platform;
  TForm1 form{platform};
  MainWindow window{form};
  Desk() { platform.SetWindow(&window); }

  // Shows the window (its first activation runs the start-up) and waits
  // until it is on the (offscreen) screen.
  bool Open();

  template <typename T>
  T* Widget(const std::string& name) {
    return qobject_cast<T*>(window.ControlWidget(name));
  }
  const Control& Board(const std::string& name) const { return form.Board().at(name); }
};

// The text a control's widget shows: panel, label, static text and memo
// text, button caption, radio-group title.
QString ShownText(MainWindow& window, const std::string& name);

// Left click in the middle of a widget.
void Click(QWidget* widget);

// While it lives, calls `answer` with the next modal widget that opens (a
// message box or a dialog) once it is shown; the answer must close it.
// Gives up after `timeoutMs`.
class ModalAnswer {
 public:
  explicit ModalAnswer(std::function<void(QWidget*)> answer, int timeoutMs = 5000);
  ModalAnswer(const ModalAnswer&) = delete;
  ModalAnswer& operator=(const ModalAnswer&) = delete;
  bool Seen() const { return seen_; }

 private:
  QTimer timer_;
  QElapsedTimer clock_;
  bool seen_ = false;
};

// Runs the QtTest object `T` on the offscreen platform (unless another
// platform is asked for) with the window's style.
int RunQtTest(int argc, char** argv, const std::function<int(int, char**)>& run);

}  // namespace korrin::test

#define KORRIN_QT_TEST_MAIN(TestClass)                               \
  int main(int argc, char** argv) {                                  \
    return korrin::test::RunQtTest(argc, argv, [](int c, char** v) { \
      TestClass test;                                                \
      return QTest::qExec(&test, c, v);                              \
    });                                                              \
  }
