// A platform without a screen: message boxes are answered with OK at once
// and recorded, questions and file dialogs answer from a script, nothing is
// printed.  A question with no answer queued is answered with the answer
// that carries the command out, so that a scripted run gives the station it
// would give unasked; it is recorded among the messages with its answer.
// Used by the tests and by korrin-report.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/Platform.h"

namespace korrin {

class HeadlessPlatform : public Platform {
 public:
  struct Message {
    Message(MessageKind k, std::string t, std::string a = {})
        : kind(k), text(std::move(t)), answer(std::move(a)) {}
    MessageKind kind;
    std::string text;
    std::string answer;  // a question's answer ("Discard", ...); empty for the others
  };

  // Answers of the next file dialogs, in order; nullopt is a cancel.  With
  // no answer queued a dialog is cancelled.
  std::deque<std::optional<std::string>> dialogAnswers;
  // What the dialogs were asked, in order.
  std::vector<FileDialogRequest> openRequests;
  std::vector<FileDialogRequest> saveRequests;

  // Answers of the next questions, in order.
  std::deque<Answer> questionAnswers;
  // What was asked, in order.
  std::vector<Question> questions;

  // The remembered folder of the last station file saved or loaded.
  std::string stationFolder;

  std::vector<Message> messages;
  PrintOutcome printOutcome{PrintOutcome::Status::Cancelled, {}};
  int printRequests = 0;
  std::optional<int> exitCode;  // set by Terminate

  void ShowMessage(MessageKind kind, const std::string& text) override {
    messages.push_back({kind, text});
  }
  Answer Ask(const Question& question) override {
    questions.push_back(question);
    Answer answer = question.goAhead;
    if (!questionAnswers.empty()) {
      answer = questionAnswers.front();
      questionAnswers.pop_front();
    }
    messages.push_back({MessageKind::Question, question.text, AnswerName(answer)});
    return answer;
  }
  std::optional<std::string> ExecuteOpenDialog(const FileDialogRequest& request) override {
    openRequests.push_back(request);
    return NextAnswer();
  }
  std::optional<std::string> ExecuteSaveDialog(const FileDialogRequest& request) override {
    saveRequests.push_back(request);
    return NextAnswer();
  }
  std::string StationFolder() override { return stationFolder; }
  void RememberStationFolder(const std::string& folder) override { stationFolder = folder; }
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
