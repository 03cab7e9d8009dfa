// What the window shows of each named control, kept without a toolkit.
// The Qt view mirrors it; the headless report prints it; tests read it.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace korrin {

enum class Colour {
  ButtonFace,
  TooltipBackground,  // the system's hint background
  Green,              // RGB 0,128,0
  Red,                // RGB 255,0,0
  Yellow,             // RGB 255,255,0
  White,
  Black,
  Navy,
  Grey,  // small grey caption type
};

// "button-face", "tooltip-background", "green", ...
const char* ColourName(Colour c);

enum class ControlKind {
  Panel,  // panel, also the small toggle and selector panels
  Label,
  RadioGroup,
  SpinButton,  // a pair of up/down arrow buttons
  StaticText,
  TrackBar,
  ProgressBar,
  Memo,
  Button,  // plain, glyph and speed buttons
};

// The changing properties of one control.
struct Control {
  std::string text;  // caption or shown text
  bool visible = true;
  Colour color = Colour::ButtonFace;
  Colour fontColor = Colour::Black;
  int top = 0;         // top edge within its parent
  int itemIndex = -1;  // radio groups: selected item, -1 for none
  int position = 0;    // track bar and progress bar
};

class ControlBoard {
 public:
  // The control of that name; it must have been declared (see Layout).
  Control& operator[](std::string_view name);
  const Control& at(std::string_view name) const;
  bool has(std::string_view name) const;

  // Declares a control with its start-up properties.
  void declare(const std::string& name, const Control& initial);

  // Names in declaration order.
  const std::vector<std::string>& names() const { return order_; }

 private:
  std::map<std::string, Control, std::less<>> controls_;
  std::vector<std::string> order_;
};

}  // namespace korrin
