// The window logic's surroundings on a desktop: Qt message boxes and
// questions, file dialogs, the remembered station folder (in the user's
// settings), the printer dialog and printing, and the end of the program.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "ui/Platform.h"

class QPrinter;
class QWidget;
class QString;

namespace korrin {

class MainWindow;

class QtPlatform : public Platform {
 public:
  QtPlatform() = default;

  // The window the dialogs belong to and whose client area is printed.
  void SetWindow(MainWindow* window) { window_ = window; }

  // Answers the printer dialog in its place (for tests): receives the
  // printer the dialog would set up and returns false for Cancel.
  std::function<bool(QPrinter&)> printDialogAnswer;
  // Answers questions in the message box's place (for tests).
  std::function<Answer(const Question&)> questionAnswer;

  void ShowMessage(MessageKind kind, const std::string& text) override;
  Answer Ask(const Question& question) override;
  std::string StationFolder() override;
  void RememberStationFolder(const std::string& folder) override;
  std::optional<std::string> ExecuteOpenDialog(const FileDialogRequest& request) override;
  std::optional<std::string> ExecuteSaveDialog(const FileDialogRequest& request) override;
  PrintOutcome PrintWindow() override;
  void Terminate(int exitCode) override;

 private:
  std::optional<std::string> RunFileDialog(const FileDialogRequest& request, bool save);
  void ShowCurrentState();

  MainWindow* window_ = nullptr;
};

// A question in a message box over `parent`: its answers as buttons,
// Return on the one that loses nothing (Save where offered), Escape on its
// escape answer.  The station windows ask theirs the same way.
Answer AskInMessageBox(QWidget* parent, const Question& question);

// "Data|*.rsd" (name|pattern pairs) as a Qt name filter: "Data (*.rsd)".
QString QtNameFilters(const std::string& filter);

}  // namespace korrin
