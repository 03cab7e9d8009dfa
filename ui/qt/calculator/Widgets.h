// The few widgets of the window that Qt has no ready-made counterpart for:
// a framed text box that may act as a button, a radio group laid out in
// columns, and a spin button (a pair of small up/down arrow buttons).  The
// panels that act as buttons and the spin buttons take the keyboard focus
// when given a focus policy, and then show the focus mark: a frame two
// pixels wide in the palette's highlight colour, as the style below draws
// it round radio items and the track bar.
#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QProxyStyle>
#include <QRadioButton>
#include <QSlider>
#include <QToolButton>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QPainter;

namespace korrin {

// Pixels across the focus mark's frame.
inline constexpr int kFocusMarkWidth = 2;

// Draws the focus mark just inside `area` (narrower where the area is).
void DrawFocusMark(QPainter& painter, const QRect& area, const QPalette& palette);

// The window's style with the focus mark in place of the style's own faint
// focus frame, for the radio items and the track bar.  Everything else is
// drawn by `base`, which it owns.
class FocusMarkStyle : public QProxyStyle {
  Q_OBJECT
 public:
  explicit FocusMarkStyle(QStyle* base);
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                          QPainter* painter, const QWidget* widget = nullptr) const override;
};

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
// Down and Up select the next and previous item in item order (down the
// column, round the end); in a grid of several rows and columns Right and
// Left select the item beside in the same row (none at the grid's edge),
// elsewhere the next and previous item.
class RadioGroupBox : public QGroupBox {
  Q_OBJECT
 public:
  RadioGroupBox(QWidget* parent, const std::vector<std::string>& items, int columns);

  // -1 leaves no item selected.
  void SetItemIndex(int index);
  int ItemIndex() const;
  QRadioButton* Item(int index) const;
  int Count() const { return static_cast<int>(buttons_.size()); }

  // The item an arrow key selects from `index`: -1 for none (the grid's
  // edge), kNotAnArrow for a key that is no arrow.
  int NextItem(int index, int key) const;
  static constexpr int kNotAnArrow = -2;

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

  // The panel that shows the value the pair steps, for screen readers;
  // nullptr when there is none.
  void SetValueDisplay(QLabel* display) { display_ = display; }
  QLabel* ValueDisplay() const { return display_; }

  // The lowest and highest value the pair's handlers step to, as the value
  // display shows them; nothing for a pair that chooses from a list.
  using Range = std::optional<std::pair<double, double>>;
  void SetRange(std::function<Range()> range) { range_ = std::move(range); }
  Range ValueRange() const { return range_ ? range_() : std::nullopt; }

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
  QPointer<QLabel> display_;
  std::function<Range()> range_;
  int wheel_ = 0;  // eighths of a degree not yet stepped
};

// The tower bar: a vertical track bar whose top is its highest reading.
// Position 0 stands at the top and reads the maximum; Reading() is what the
// bar shows (the tower height), which screen readers are given as its value.
class TopDownBar : public QSlider {
  Q_OBJECT
 public:
  explicit TopDownBar(QWidget* parent);
  int Reading() const { return maximum() + minimum() - value(); }
  void SetReading(int reading) { setValue(maximum() + minimum() - reading); }
};

}  // namespace korrin
