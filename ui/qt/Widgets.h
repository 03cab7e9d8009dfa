// The few widgets of the window that Qt has no ready-made counterpart for:
// a framed text box that may act as a button, a radio group laid out in
// columns, and a spin button (a pair of small up/down arrow buttons).
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
  // it, like a button.
  void SetClickable(bool clickable);
  bool Clickable() const { return clickable_; }

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool clickable_ = false;
  bool pressed_ = false;
};

// A captioned group of radio buttons in `columns` columns, filled column by
// column.  Selecting an item with the mouse or the keyboard emits
// itemClicked(index); SetItemIndex changes the selection without a signal.
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

 private:
  void LayOut();

  QButtonGroup group_;
  std::vector<QRadioButton*> buttons_;
  int columns_;
};

// Two small arrow buttons stacked on top of each other; held down they
// repeat.
class SpinPair : public QWidget {
  Q_OBJECT
 public:
  explicit SpinPair(QWidget* parent);
  QToolButton* UpButton() const { return up_; }
  QToolButton* DownButton() const { return down_; }

 signals:
  void up();
  void down();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QToolButton* up_;
  QToolButton* down_;
};

}  // namespace korrin
