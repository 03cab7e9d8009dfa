// Every handler of the window by its name, with the control and the event
// that runs it.  The Qt view wires its widgets through this table and the
// headless report runs actions by name through it.
#pragma once

#include <string_view>
#include <vector>

#include "ui/TForm1.h"

namespace korrin {

enum class ControlEvent { Click, Up, Down, Change };

struct HandlerEntry {
  const char* name;     // "RadioGroup1Click", "PathLossUpClick", ...
  const char* control;  // "RadioGroup1", "SpinButton4", ...
  ControlEvent event;
  void (TForm1::*run)();
};

const std::vector<HandlerEntry>& AllHandlers();

// nullptr when there is no handler of that name.
const HandlerEntry* FindHandler(std::string_view name);

// The handler of a control's event, nullptr when it has none.
const HandlerEntry* FindHandler(std::string_view control, ControlEvent event);

}  // namespace korrin
