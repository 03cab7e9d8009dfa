// The main window's menu bar, above the client panel: File, View and Help
// in the desktop's usual form.  Every entry that the panel also offers runs
// the same handler as the panel's button, through the window's handler
// table, so the menu and the buttons can never do different things.
#pragma once

class QMenuBar;

namespace korrin {

class MainWindow;

// Fills the window's menu bar, and lets a double-click on the exclusion
// zone's group open the assessment window as View > Assessment does.  The File menu's entries are
// made in one place, MenuBar.cpp's FileMenu(), where further commands belong.
void InstallMenuBar(MainWindow& window);

}  // namespace korrin
