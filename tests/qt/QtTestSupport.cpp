#include "QtTestSupport.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QTemporaryDir>
#include <utility>

namespace korrin::test {

bool Desk::Open() {
  window.show();
  window.activateWindow();
  return QTest::qWaitForWindowExposed(&window) && QTest::qWaitForWindowActive(&window);
}

QString ShownText(MainWindow& window, const std::string& name) {
  QWidget* w = window.ControlWidget(name);
  if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
  if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
  if (auto* group = qobject_cast<QGroupBox*>(w)) return group->title();
  if (w != nullptr) {
    // A group panel shows its caption in its title label.
    if (auto* title = w->findChild<QLabel*>(QString::fromStdString(name + "Title"),
                                            Qt::FindDirectChildrenOnly)) {
      return title->text();
    }
  }
  return {};
}

void Click(QWidget* widget) {
  QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

ModalAnswer::ModalAnswer(std::function<void(QWidget*)> answer, int timeoutMs) {
  clock_.start();
  timer_.setInterval(10);
  QObject::connect(&timer_, &QTimer::timeout, &timer_,
                   [this, answer = std::move(answer), timeoutMs] {
                     QWidget* modal = QApplication::activeModalWidget();
                     if (modal != nullptr && modal->isVisible()) {
                       seen_ = true;
                       timer_.stop();
                       answer(modal);
                     } else if (clock_.elapsed() > timeoutMs) {
                       timer_.stop();
                     }
                   });
  timer_.start();
}

int RunQtTest(int argc, char** argv, const std::function<int(int, char**)>& run) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The user's settings (the remembered station folder) go to a fresh place
  // of the run, never to the user's own.
  QTemporaryDir settings;
  if (settings.isValid()) qputenv("XDG_CONFIG_HOME", settings.path().toUtf8());
  QApplication app(argc, argv);
  QApplication::setStyle("Fusion");
  return run(argc, argv);
}

}  // namespace korrin::test
