// The named controls of the main window: kind, parent, start-up caption,
// hint, items and start-up look.  The headless board is declared from this
// table, and the Qt view builds its widgets from it (with the geometry of
// ui/qt).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/ControlBoard.h"

namespace korrin {

struct ControlDecl {
  std::string name;
  ControlKind kind = ControlKind::Panel;
  std::string parent;   // "" for the client panel itself
  std::string caption;  // start-up text
  std::string hint;
  bool showHint = true;            // hints switched off where false
  std::vector<std::string> items;  // radio groups
  int columns = 1;                 // radio groups
  bool visible = true;
  Colour color = Colour::ButtonFace;
  Colour fontColor = Colour::Black;
  int itemIndex = -1;  // radio groups
  int position = 0;    // track bar, progress bar
  int minimum = 0;     // track bar, progress bar
  int maximum = 0;
};

// Every named control, parents before their children.
const std::vector<ControlDecl>& MainWindowControls();

// The named control, or nullptr when the window has none of that name.
const ControlDecl* FindControl(std::string_view name);
// The named control, or an empty declaration (no caption, no items).
const ControlDecl& ControlNamed(std::string_view name);

// The seventeen lines of the disclaimer memo.
const std::vector<std::string>& DisclaimerLines();

// The version panel's text and its information message.
extern const char* const kVersionCaption;  // "Korrin Ver 4.4"
std::string VersionMessage();
extern const char* const kVersionHint;  // contact address

// Declares every control of the table on the board with its start-up state.
void DeclareMainWindow(ControlBoard& board);

}  // namespace korrin
