// Keyboard, mouse-wheel and screen-reader access to the window.  All of it
// is read off the control table (ui/Controls) and the geometry
// (ui/qt/Layout): which controls take input and in what order Tab reaches
// them, which value a spin button steps, and which caption names a control.
#pragma once

#include <QObject>
#include <QRect>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "ui/ControlBoard.h"

class QWidget;

namespace korrin {

class SpinPair;

// Where a named control stands in the client panel.
QRect ClientRect(std::string_view name);

// The controls that take input, in reading order: the left column top to
// bottom, then the right side group by group, each group row by row from
// left to right.  A control lying loose on the client panel belongs to the
// group it lies on, and a square selector to the group just right of it.
// Controls the window never shows together (the two band sides) share
// their place; Tab skips whichever is hidden.
std::vector<std::string> ReadingOrder();

// The value panel a spin button steps: the panel that ends just left of it,
// at its height.  "" when there is none.
std::string SteppedValue(std::string_view spin);

// What names a control for a screen reader: the caption beside, above or
// below it (a label or a caption of the view), else its hint, else "".
std::string CaptionOf(std::string_view name);

// Wires a built window for the keyboard and the wheel, and keeps the
// accessible names current.
class KeyboardAccess : public QObject {
  Q_OBJECT
 public:
  using WidgetOf = std::function<QWidget*(std::string_view)>;
  KeyboardAccess(QWidget* client, WidgetOf widgetOf);

  // After each mirroring of the board: radio groups offer Tab their
  // selected item, controls under a shown panel (the data panel, the
  // disclaimer) leave the chain, and names carry the values shown.
  void Refresh(const ControlBoard& board);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Install();
  void NameControls();
  void RefreshFocus(const ControlBoard& board);
  void RefreshNames(const ControlBoard& board);
  bool Covered(QWidget* stop) const;

  // A control with an accessible name or description.
  struct Named {
    enum class Role { Toggle, Stepper, Display, Described } role = Role::Display;
    std::string control;
    QWidget* widget = nullptr;
    std::string caption;
    std::string value;  // the display whose text the name carries
    std::string description;
  };

  QWidget* client_;
  WidgetOf widgetOf_;
  std::vector<Named> named_;
  std::vector<std::string> order_;
  std::map<const QObject*, SpinPair*> wheelTargets_;  // value panel -> its spin button
  std::map<QWidget*, Qt::FocusPolicy> policies_;      // each stop's own, radio items aside
};

}  // namespace korrin
