#include "ui/qt/calculator/Widgets.h"

#include <algorithm>
#include <cstdlib>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QString>
#include <QStyle>
#include <QStyleOption>
#include <QWheelEvent>

namespace korrin {

namespace {

void DrawFocusFrame(QWidget* widget, const QRect& area, int inset) {
  QPainter painter(widget);
  DrawFocusMark(painter, area.adjusted(inset, inset, -inset, -inset), widget->palette());
}

// The frame drawn over a spin button's arrows while the pair has the focus.
class SpinFocusFrame : public QWidget {
 public:
  explicit SpinFocusFrame(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
  }

 protected:
  void paintEvent(QPaintEvent*) override { DrawFocusFrame(this, rect(), 1); }
};

}  // namespace

void DrawFocusMark(QPainter& painter, const QRect& area, const QPalette& palette) {
  const QColor mark = palette.color(QPalette::Highlight);
  const int t = std::min({kFocusMarkWidth, area.width() / 2, area.height() / 2});
  if (t <= 0) return;
  painter.fillRect(QRect(area.left(), area.top(), area.width(), t), mark);
  painter.fillRect(QRect(area.left(), area.bottom() - t + 1, area.width(), t), mark);
  painter.fillRect(QRect(area.left(), area.top(), t, area.height()), mark);
  painter.fillRect(QRect(area.right() - t + 1, area.top(), t, area.height()), mark);
}

// ---- FocusMarkStyle -------------------------------------------------------------

FocusMarkStyle::FocusMarkStyle(QStyle* base) : QProxyStyle(base) {}

void FocusMarkStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                   QPainter* painter, const QWidget* widget) const {
  if (element != PE_FrameFocusRect) {
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    return;
  }
  // Around what has the focus (a radio item's caption), one pixel outside
  // it and one over its edge, clipped to the widget.
  if (!(option->state & State_KeyboardFocusChange)) return;
  DrawFocusMark(*painter, option->rect.adjusted(-1, -1, 1, 1), option->palette);
}

void FocusMarkStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                        QPainter* painter, const QWidget* widget) const {
  QProxyStyle::drawComplexControl(control, option, painter, widget);
  const bool focused =
      (option->state & State_HasFocus) && (option->state & State_KeyboardFocusChange);
  if (control == CC_Slider && focused) DrawFocusMark(*painter, option->rect, option->palette);
}

// ---- PanelBox -----------------------------------------------------------------

PanelBox::PanelBox(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  setAlignment(Qt::AlignCenter);
  setAutoFillBackground(true);
}

void PanelBox::SetClickable(bool clickable) {
  clickable_ = clickable;
  setCursor(clickable ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void PanelBox::mousePressEvent(QMouseEvent* event) {
  if (clickable_ && event->button() == Qt::LeftButton) {
    pressed_ = true;
    event->accept();
    return;
  }
  QLabel::mousePressEvent(event);
}

void PanelBox::mouseReleaseEvent(QMouseEvent* event) {
  if (clickable_ && event->button() == Qt::LeftButton && pressed_) {
    pressed_ = false;
    event->accept();
    if (rect().contains(event->position().toPoint())) emit clicked();
    return;
  }
  QLabel::mouseReleaseEvent(event);
}

void PanelBox::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (clickable_ && !event->isAutoRepeat() &&
      (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)) {
    event->accept();
    emit clicked();
    return;
  }
  QLabel::keyPressEvent(event);
}

void PanelBox::paintEvent(QPaintEvent* event) {
  if (focusPolicy() == Qt::NoFocus) {
    QLabel::paintEvent(event);
    return;
  }
  // A label that takes the focus lays its text out as a document, a pixel
  // off here and there; a panel that takes the focus draws its plain text
  // as every other panel does, so that it looks the same.
  {
    QPainter painter(this);
    drawFrame(&painter);
    const QString shown = text();
    const bool rightToLeft = shown.isRightToLeft();
    const Qt::Alignment align =
        QStyle::visualAlignment(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight, alignment());
    QRect r = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    int in = indent();
    if (in < 0 && frameWidth() > 0) {
      in = fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 - margin();
    }
    if (in > 0) {
      if (align & Qt::AlignLeft) r.setLeft(r.left() + in);
      if (align & Qt::AlignRight) r.setRight(r.right() - in);
      if (align & Qt::AlignTop) r.setTop(r.top() + in);
      if (align & Qt::AlignBottom) r.setBottom(r.bottom() - in);
    }
    const int flags = static_cast<int>(align) |
                      (rightToLeft ? Qt::TextForceRightToLeft : Qt::TextForceLeftToRight);
    style()->drawItemText(&painter, r, flags, palette(), isEnabled(), shown, foregroundRole());
  }
  // Small panels keep the frame clear of their bevel by one pixel less.
  if (hasFocus()) DrawFocusFrame(this, rect(), std::min(width(), height()) < 18 ? 2 : 3);
}

// ---- RadioGroupBox ------------------------------------------------------------

RadioGroupBox::RadioGroupBox(QWidget* parent, const std::vector<std::string>& items, int columns)
    : QGroupBox(parent), columns_(columns < 1 ? 1 : columns) {
  setAutoFillBackground(true);
  group_.setExclusive(true);
  for (size_t i = 0; i < items.size(); ++i) {
    // A literal ampersand in an item must not become a keyboard accelerator.
    auto* b = new QRadioButton(QString::fromStdString(items[i]).replace("&", "&&"), this);
    group_.addButton(b, static_cast<int>(i));
    b->installEventFilter(this);
    buttons_.push_back(b);
  }
  connect(&group_, &QButtonGroup::idClicked, this, &RadioGroupBox::itemClicked);
  LayOut();
}

void RadioGroupBox::SetItemIndex(int index) {
  if (index == ItemIndex()) return;
  if (index >= 0 && index < Count()) {
    buttons_[static_cast<size_t>(index)]->setChecked(true);
    return;
  }
  // An exclusive group cannot uncheck its last checked button.
  group_.setExclusive(false);
  for (QRadioButton* b : buttons_) b->setChecked(false);
  group_.setExclusive(true);
}

int RadioGroupBox::ItemIndex() const {
  return group_.checkedId();
}

QRadioButton* RadioGroupBox::Item(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return buttons_[static_cast<size_t>(index)];
}

void RadioGroupBox::resizeEvent(QResizeEvent* event) {
  QGroupBox::resizeEvent(event);
  LayOut();
}

bool RadioGroupBox::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QGroupBox::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  const auto at = std::find(buttons_.begin(), buttons_.end(), watched);
  const int next =
      at == buttons_.end() ? -1 : NextItem(static_cast<int>(at - buttons_.begin()), key->key());
  if (next == kNotAnArrow || key->modifiers() != Qt::NoModifier) {
    return QGroupBox::eventFilter(watched, event);
  }
  if (next >= 0) {
    QRadioButton* b = buttons_[static_cast<size_t>(next)];
    const int from = static_cast<int>(at - buttons_.begin());
    b->setFocus(next > from ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    b->click();
  }
  return true;  // an arrow at the grid's edge goes nowhere
}

int RadioGroupBox::NextItem(int index, int key) const {
  const int n = Count();
  const int rows = (n + columns_ - 1) / columns_;
  const bool grid = columns_ > 1 && rows > 1;
  switch (key) {
    case Qt::Key_Down:
      return (index + 1) % n;
    case Qt::Key_Up:
      return (index - 1 + n) % n;
    case Qt::Key_Right:
      // Across the grid: the same row of the next column.
      if (!grid) return (index + 1) % n;
      return index + rows < n ? index + rows : -1;
    case Qt::Key_Left:
      if (!grid) return (index - 1 + n) % n;
      return index - rows >= 0 ? index - rows : -1;
    default:
      return kNotAnArrow;
  }
}

void RadioGroupBox::LayOut() {
  if (buttons_.empty()) return;
  const int n = Count();
  const int rows = (n + columns_ - 1) / columns_;
  const int top = fontMetrics().height() + 5;  // below the title and the frame line
  const int left = 6;
  const int bottom = 2;
  const int innerW = width() - left - 1;
  const int innerH = height() - top - bottom;
  for (int i = 0; i < n; ++i) {
    const int col = i / rows;
    const int row = i % rows;
    const int x0 = left + innerW * col / columns_;
    const int x1 = left + innerW * (col + 1) / columns_;
    const int y0 = top + innerH * row / rows;
    const int y1 = top + innerH * (row + 1) / rows;
    buttons_[static_cast<size_t>(i)]->setGeometry(x0, y0, x1 - x0, y1 - y0);
  }
}

// ---- SpinPair -------------------------------------------------------------------

SpinPair::SpinPair(QWidget* parent) : QWidget(parent) {
  up_ = new QToolButton(this);
  down_ = new QToolButton(this);
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  for (QToolButton* b : {up_, down_}) {
    b->setAutoRepeat(true);
    b->setAutoRepeatDelay(400);
    b->setAutoRepeatInterval(100);
    b->setFocusPolicy(Qt::NoFocus);
    b->installEventFilter(this);  // the wheel over an arrow steps the pair
  }
  connect(up_, &QToolButton::clicked, this, &SpinPair::up);
  connect(down_, &QToolButton::clicked, this, &SpinPair::down);
  frame_ = new SpinFocusFrame(this);
}

void SpinPair::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int h = height();
  const int half = h / 2;
  up_->setGeometry(0, 0, width(), half);
  down_->setGeometry(0, half, width(), h - half);
  frame_->setGeometry(rect());
}

void SpinPair::keyPressEvent(QKeyEvent* event) {
  int steps = 0;
  switch (event->key()) {
    case Qt::Key_Up:
      steps = 1;
      break;
    case Qt::Key_Down:
      steps = -1;
      break;
    case Qt::Key_PageUp:
      steps = kPageSteps;
      break;
    case Qt::Key_PageDown:
      steps = -kPageSteps;
      break;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  event->accept();
  for (int i = 0; i < std::abs(steps); ++i) {
    if (steps > 0) {
      emit up();
    } else {
      emit down();
    }
  }
}

void SpinPair::TakeWheel(QWheelEvent* event) {
  event->accept();
  constexpr int kNotch = 120;  // eighths of a degree
  wheel_ += event->angleDelta().y();
  while (wheel_ >= kNotch) {
    wheel_ -= kNotch;
    emit up();
  }
  while (wheel_ <= -kNotch) {
    wheel_ += kNotch;
    emit down();
  }
}

void SpinPair::wheelEvent(QWheelEvent* event) {
  TakeWheel(event);
}

bool SpinPair::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Wheel && (watched == up_ || watched == down_)) {
    TakeWheel(static_cast<QWheelEvent*>(event));
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void SpinPair::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  frame_->raise();
  frame_->show();
}

void SpinPair::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  frame_->hide();
}

// ---- TopDownBar -----------------------------------------------------------------

TopDownBar::TopDownBar(QWidget* parent) : QSlider(Qt::Vertical, parent) {
  // Position 0 at the top, as the window's track bar counts.
  setInvertedAppearance(true);
  setInvertedControls(true);
}

}  // namespace korrin
