// The few widgets of the window that Qt has no ready-made counterpart for:
// a framed text box that may act as a button, a radio group laid out in
// columns, and a spin button (a pair of small up/down arrow buttons).  The
// panels that act as buttons and the spin buttons take the keyboard focus
// when given a focus policy, and then show a dotted focus frame.
#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QToolButton>
#include <QWidget>
#include <string>
#include <vector>

namespace korrin {

// A box with a caption: value displays, toggle panels, selector panels.
class PanelBox : public QLabel {
  Q_OBJECT
 public:
  explicit PanelBox(QWidget* parent);

  // A clickable panel emits clicked() when the mouse button is released over
  // it, like a button, and, while it has the focus, on Space or Enter.
  void SetClickable(bool clickable);
  bool Clickable() const { return clickable_; }

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  bool clickable_ = false;
  bool pressed_ = false;
};

// A captioned group of radio buttons in `columns` columns, filled column by
// column.  Selecting an item with the mouse or the keyboard emits
// itemClicked(index); SetItemIndex changes the selection without a signal.
// The arrow keys select the next (Down, Right) or previous (Up, Left) item
// in item order, round the end.
class RadioGroupBox : public QGroupBox {
  Q_OBJECT
 public:
  RadioGroupBox(QWidget* parent, const std::vector<std::string>& items, int columns);

  // -1 leaves no item selected.
  void SetItemIndex(int index);
  int ItemIndex() const;
  QRadioButton* Item(int index) const;
  int Count() const { return static_cast<int>(buttons_.size()); }

 signals:
  void itemClicked(int index);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void LayOut();

  QButtonGroup group_;
  std::vector<QRadioButton*> buttons_;
  int columns_;
};

// Two small arrow buttons stacked on top of each other; held down they
// repeat.  With the focus, Up and Down step once and Page Up and Page Down
// ten times; the mouse wheel steps once a notch, over the arrows or over
// the value they step (see TakeWheel).
class SpinPair : public QWidget {
  Q_OBJECT
 public:
  explicit SpinPair(QWidget* parent);
  QToolButton* UpButton() const { return up_; }
  QToolButton* DownButton() const { return down_; }

  // Steps once for every whole notch the wheel has turned (120 eighths of
  // a degree, summed over events); accepts the event.
  void TakeWheel(QWheelEvent* event);

  static constexpr int kPageSteps = 10;

 signals:
  void up();
  void down();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QToolButton* up_;
  QToolButton* down_;
  QWidget* frame_;  // the focus frame, drawn over the arrows
  int wheel_ = 0;   // eighths of a degree not yet stepped
};

}  // namespace korrin
