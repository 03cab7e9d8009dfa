// What the window logic asks of its surroundings: message boxes, questions,
// file dialogs, the printer, the remembered station folder and ending the
// program.  The Qt view implements it
// with real dialogs; tests and the headless report with scripted answers.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace korrin {

// Question is what the headless report lists for a question it answered.
enum class MessageKind { Warning, Information, Error, Question };

// "warning", "information", "error", "question"
const char* MessageKindName(MessageKind kind);

// The buttons of a question.
enum class Answer { Save, Discard, Cancel, Reset, Keep, Replace };

const char* AnswerName(Answer answer);  // "Save", "Discard", ...

// A modal question with two or three buttons.
struct Question {
  std::string text;
  std::vector<Answer> answers;  // the buttons, in order
  Answer goAhead;               // the answer that carries the command out unasked
  Answer escape;                // the answer of Escape or the box's own close
};

struct FileDialogRequest {
  std::string filter = "Data|*.rsd";
  std::string defaultExtension = "rsd";
  std::string fileName;          // the name the dialog proposes
  std::string folder;            // where the dialog starts; empty: the documents folder
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

  // Asks a modal question and returns the button chosen.
  virtual Answer Ask(const Question& question) = 0;

  // Modal file dialogs: the chosen name, or nothing when cancelled.
  virtual std::optional<std::string> ExecuteOpenDialog(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> ExecuteSaveDialog(const FileDialogRequest& request) = 0;

  // The folder of the station file last saved or loaded, kept from one run
  // to the next; empty before any.
  virtual std::string StationFolder() = 0;
  virtual void RememberStationFolder(const std::string& folder) = 0;

  // Printer set-up, then one page with the picture of the window.
  virtual PrintOutcome PrintWindow() = 0;

  // Ends the program at once with the given exit code.
  virtual void Terminate(int exitCode) = 0;
};

}  // namespace korrin
