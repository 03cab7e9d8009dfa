// A platform without a screen: message boxes are answered with OK at once
// and recorded, file dialogs answer from a script, nothing is printed.
// Used by the tests and by korrin-report.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ui/Platform.h"

namespace korrin {

class HeadlessPlatform : public Platform {
 public:
  struct Message {
    MessageKind kind;
    std::string text;
  };

  // Answers of the next file dialogs, in order; nullopt is a cancel.  With
  // no answer queued a dialog is cancelled.
  std::deque<std::optional<std::string>> dialogAnswers;
  // What the dialogs were asked, in order.
  std::vector<FileDialogRequest> openRequests;
  std::vector<FileDialogRequest> saveRequests;

  std::vector<Message> messages;
  PrintOutcome printOutcome{PrintOutcome::Status::Cancelled, {}};
  int printRequests = 0;
  std::optional<int> exitCode;  // set by Terminate

  void ShowMessage(MessageKind kind, const std::string& text) override {
    messages.push_back({kind, text});
  }
  std::optional<std::string> ExecuteOpenDialog(const FileDialogRequest& request) override {
    openRequests.push_back(request);
    return NextAnswer();
  }
  std::optional<std::string> ExecuteSaveDialog(const FileDialogRequest& request) override {
    saveRequests.push_back(request);
    return NextAnswer();
  }
  PrintOutcome PrintWindow() override {
    ++printRequests;
    return printOutcome;
  }
  void Terminate(int code) override { exitCode = code; }

 private:
  std::optional<std::string> NextAnswer() {
    if (dialogAnswers.empty()) return std::nullopt;
    auto answer = dialogAnswers.front();
    dialogAnswers.pop_front();
    return answer;
  }
};

}  // namespace korrin
