// What the window logic asks of its surroundings: message boxes, file
// dialogs, the printer and ending the program.  The Qt view implements it
// with real dialogs; tests and the headless report with scripted answers.
#pragma once

#include <optional>
#include <string>

namespace korrin {

enum class MessageKind { Warning, Information, Error };

const char* MessageKindName(MessageKind kind);  // "warning", "information", "error"

struct FileDialogRequest {
  std::string filter = "Data|*.rsd";
  std::string defaultExtension = "rsd";
  std::string fileName;          // the name the dialog proposes
  bool overwritePrompt = false;  // save dialog: ask before replacing a file
};

struct PrintOutcome {
  enum class Status { Printed, Cancelled, Failed };
  Status status = Status::Printed;
  std::string error;  // the reason, when Failed
};

class Platform {
 public:
  virtual ~Platform() = default;

  // A modal message box with a single OK button.
  virtual void ShowMessage(MessageKind kind, const std::string& text) = 0;

  // Modal file dialogs: the chosen name, or nothing when cancelled.
  virtual std::optional<std::string> ExecuteOpenDialog(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> ExecuteSaveDialog(const FileDialogRequest& request) = 0;

  // Printer set-up, then one page with the picture of the window.
  virtual PrintOutcome PrintWindow() = 0;

  // Ends the program at once with the given exit code.
  virtual void Terminate(int exitCode) = 0;
};

}  // namespace korrin
