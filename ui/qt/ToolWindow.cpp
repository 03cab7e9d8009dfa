#include "ui/qt/ToolWindow.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace korrin {

namespace {

// Where the program keeps what it remembers between runs.
QSettings UserSettings() {
  return QSettings(QSettings::UserScope, "Korrin", "Korrin");
}

// Places the window on its first showing and keeps its geometry.
class ToolWindowKeeper : public QObject {
 public:
  ToolWindowKeeper(QWidget& window, QWidget& main, QWidget& panel, const QString& key)
      : QObject(&window), window_(window), main_(&main), panel_(&panel), key_(key) {
    // Also sees the keys typed in it, which rise to the window unless a
    // child takes them: a tool window shares its main window's activation,
    // and with it the main window's shortcuts.
    window_.installEventFilter(this);
    // Hidden with the main window (closed while a station window keeps the
    // program going) and shown again with it.
    main.installEventFilter(this);
    // The program ends with the window open: its place is kept too.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
      if (window_.isVisible()) Keep();
    });
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::ShortcutOverride && watched == &window_ && window_.isVisible() &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
      // Escape closes this window, not the main window.
      event->accept();
      window_.close();
      return true;
    }
    if (watched == &window_) {
      // The show event comes before the window is on the screen: it appears
      // where it is put here.
      if (event->type() == QEvent::Show && !placed_) {
        placed_ = true;
        if (!Restore()) PlaceBesidePanel();
      } else if (event->type() == QEvent::Hide && placed_) {
        Keep();
      }
      if (event->type() == QEvent::Show) StayAboveMain();
    } else if (watched == main_.data() && !event->spontaneous()) {
      if (event->type() == QEvent::Hide && window_.isVisible()) {
        hiddenWithMain_ = true;
        window_.hide();
      } else if (event->type() == QEvent::Show && hiddenWithMain_) {
        hiddenWithMain_ = false;
        // After the main window is on the screen, so that it is above it.
        QTimer::singleShot(0, &window_, [this] {
          if (!main_.isNull() && main_->isVisible()) window_.show();
        });
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  bool Restore() {
    const QByteArray kept = UserSettings().value(ToolWindowGeometryKey(key_)).toByteArray();
    // Restoring moves a window that would lie off every screen onto one.
    return !kept.isEmpty() && window_.restoreGeometry(kept);
  }

  // Above the main window: its transient child again, should the main
  // window's own surface have been made anew while it was hidden.
  void StayAboveMain() {
    if (main_.isNull()) return;
    QWindow* own = window_.windowHandle();
    QWindow* parent = main_->windowHandle();
    if (own != nullptr && parent != nullptr && own->transientParent() != parent) {
      own->setTransientParent(parent);
    }
  }

  void Keep() { UserSettings().setValue(ToolWindowGeometryKey(key_), window_.saveGeometry()); }

  void PlaceBesidePanel() {
    if (main_.isNull() || panel_.isNull()) return;
    const QScreen* screen = main_->screen();
    if (screen == nullptr) return;
    // The part of the panel the main window shows, on the screen.
    const QRect mainFrame = main_->frameGeometry();
    const QRect panel =
        QRect(panel_->mapToGlobal(QPoint(0, 0)), panel_->size()).intersected(mainFrame);
    // The window's decorations, taken to be the main window's.
    const QRect mainInside = main_->geometry();
    const QMargins frame(mainInside.left() - mainFrame.left(), mainInside.top() - mainFrame.top(),
                         mainFrame.right() - mainInside.right(),
                         mainFrame.bottom() - mainInside.bottom());
    const QSize decorations(frame.left() + frame.right(), frame.top() + frame.bottom());
    // On its first showing the window is at least the size its layout
    // asks for, so that it shows its contents whole (a plot and a table
    // squeezed to the least size are of no use), even where that covers
    // part of the panel.
    const QSize smallest =
        window_.sizeHint().expandedTo(window_.minimumSizeHint()).expandedTo(window_.minimumSize());
    const QRect at = PlaceBeside(panel.isEmpty() ? mainFrame : panel, window_.size() + decorations,
                                 smallest + decorations, screen->availableGeometry());
    window_.resize(at.size() - decorations);
    window_.move(at.topLeft());  // a window's position is its frame's
  }

  QWidget& window_;
  QPointer<QWidget> main_;
  QPointer<QWidget> panel_;
  QString key_;
  bool placed_ = false;
  bool hiddenWithMain_ = false;  // shown when the main window was hidden
};

}  // namespace

QRect PlaceBeside(const QRect& panel, const QSize& frame, const QSize& smallest,
                  const QRect& room) {
  // Ends are exclusive here: x + width.
  const int roomEnd = room.x() + room.width();
  const int roomFoot = room.y() + room.height();
  const int rightRoom = roomEnd - (panel.x() + panel.width()) - kGapBesidePanel;
  const int leftRoom = panel.x() - room.x() - kGapBesidePanel;

  bool right = true;
  int width = frame.width();
  if (rightRoom >= width) {
    right = true;
  } else if (leftRoom >= width) {
    right = false;
  } else {
    right = rightRoom >= leftRoom;
    width = std::max(smallest.width(), std::min(width, right ? rightRoom : leftRoom));
  }
  width = std::min(width, std::max(smallest.width(), room.width()));
  int x = right ? panel.x() + panel.width() + kGapBesidePanel : panel.x() - kGapBesidePanel - width;
  x = std::max(room.x(), std::min(x, roomEnd - width));

  const int height = std::min(frame.height(), std::max(smallest.height(), room.height()));
  int y = std::min(panel.y(), roomFoot - height);
  y = std::max(y, room.y());
  return {x, y, width, height};
}

QRect PlaceNearCalculator(const QRect& calculator, const QSize& frame, const QSize& smallest,
                          const QRect& room) {
  const QSize least = smallest.boundedTo(room.size());
  const QSize wanted = frame.boundedTo(room.size()).expandedTo(least);
  const int rightRoom =
      room.x() + room.width() - (calculator.x() + calculator.width()) - kGapBesidePanel;
  const int leftRoom = calculator.x() - room.x() - kGapBesidePanel;
  if (std::max(rightRoom, leftRoom) >= least.width()) {
    return PlaceBeside(calculator, wanted, least, room);
  }
  return MovedWithin(QRect(calculator.topLeft(), wanted), QPoint(0, 0), room);
}

QRect MovedWithin(const QRect& at, const QPoint& by, const QRect& room) {
  QRect moved = at.translated(by);
  // Ends are exclusive here: x + width.
  moved.moveLeft(std::max(room.x(), std::min(moved.x(), room.x() + room.width() - moved.width())));
  moved.moveTop(std::max(room.y(), std::min(moved.y(), room.y() + room.height() - moved.height())));
  return moved;
}

void MakeToolWindow(QWidget& window, QWidget& main, QWidget& panel, const QString& key) {
  window.setParent(&main, Qt::Tool);
  new ToolWindowKeeper(window, main, panel, key);  // owned by the window
}

QString ToolWindowGeometryKey(const QString& key) {
  return key + "/geometry";
}

}  // namespace korrin
