// Where every named control of the window sits inside its parent, how it is
// drawn, and the view's own decorative captions.  Positions are pixels at
// 96 dpi within the parent (left, top, width, height).
#pragma once

#include <QRect>
#include <string_view>
#include <vector>

namespace korrin {

// Drawing of a control; flags may be combined.
enum LookFlag : unsigned {
  kRaised = 1u << 0,     // raised bevel (buttons-like panels, groups)
  kSunken = 1u << 1,     // sunken bevel (value displays)
  kFlat = 1u << 2,       // no border
  kAlignLeft = 1u << 3,  // text left-aligned (default: centred)
  kAlignRight = 1u << 4,
  kBold = 1u << 5,
  kSmall = 1u << 6,        // small caption type
  kTitle = 1u << 7,        // a group panel that shows its caption as its title
  kTooltipBack = 1u << 8,  // decorations: on the hint background colour
  kLimitFont = 1u << 9,    // the mW/cm² line
};

struct Placement {
  const char* name;
  QRect rect;
  unsigned look;
};

// The place of a named control, nullptr for a name without one.
const Placement* FindPlacement(std::string_view name);
const std::vector<Placement>& Placements();

// Captions that belong to the view only: they never change and have no
// name on the board.
struct Decoration {
  const char* parent;  // a named control
  const char* text;    // "" for a plain coloured sub-panel
  QRect rect;
  unsigned look;
};

const std::vector<Decoration>& Decorations();

}  // namespace korrin
