#include "ui/qt/Widgets.h"

#include <QMouseEvent>
#include <QResizeEvent>
#include <QString>

namespace korrin {

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

// ---- RadioGroupBox ------------------------------------------------------------

RadioGroupBox::RadioGroupBox(QWidget* parent, const std::vector<std::string>& items, int columns)
    : QGroupBox(parent), columns_(columns < 1 ? 1 : columns) {
  setAutoFillBackground(true);
  group_.setExclusive(true);
  for (size_t i = 0; i < items.size(); ++i) {
    // A literal ampersand in an item must not become a keyboard accelerator.
    auto* b = new QRadioButton(QString::fromStdString(items[i]).replace("&", "&&"), this);
    group_.addButton(b, static_cast<int>(i));
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
  }
  connect(up_, &QToolButton::clicked, this, &SpinPair::up);
  connect(down_, &QToolButton::clicked, this, &SpinPair::down);
}

void SpinPair::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int h = height();
  const int half = h / 2;
  up_->setGeometry(0, 0, width(), half);
  down_->setGeometry(0, half, width(), h - half);
}

}  // namespace korrin
