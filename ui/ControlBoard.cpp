#include "ui/ControlBoard.h"

#include <stdexcept>

namespace korrin {

const char* ColourName(Colour c) {
  switch (c) {
    case Colour::ButtonFace:
      return "button-face";
    case Colour::TooltipBackground:
      return "tooltip-background";
    case Colour::Green:
      return "green";
    case Colour::Red:
      return "red";
    case Colour::Yellow:
      return "yellow";
    case Colour::White:
      return "white";
    case Colour::Black:
      return "black";
    case Colour::Navy:
      return "navy";
    case Colour::Grey:
      return "grey";
  }
  return "button-face";
}

Control& ControlBoard::operator[](std::string_view name) {
  auto it = controls_.find(name);
  if (it == controls_.end()) {
    throw std::logic_error("no control named " + std::string(name));
  }
  return it->second;
}

const Control& ControlBoard::at(std::string_view name) const {
  auto it = controls_.find(name);
  if (it == controls_.end()) {
    throw std::logic_error("no control named " + std::string(name));
  }
  return it->second;
}

bool ControlBoard::has(std::string_view name) const {
  return controls_.find(name) != controls_.end();
}

void ControlBoard::declare(const std::string& name, const Control& initial) {
  if (controls_.emplace(name, initial).second) order_.push_back(name);
}

}  // namespace korrin
