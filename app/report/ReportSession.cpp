#include "app/report/ReportSession.h"

#include "app/report/UserOptions.h"
#include "ui/Handlers.h"

namespace korrin::report {

ReportSession::ReportSession(NumberLocale locale) : form_(platform_, std::move(locale)) {}

void ReportSession::Start() {
  form_.FormActivate();
}

void ReportSession::Run(void (TForm1::*handler)()) {
  const size_t before = platform_.messages.size();
  (form_.*handler)();
  // A dialog answer the handler did not ask for must not reach a later one.
  platform_.dialogAnswers.clear();
  // Closing a message box gives the focus back to the window.
  if (platform_.messages.size() != before) form_.FormActivate();
}

bool ReportSession::Load(const std::string& path) {
  const size_t before = WarningsShown();
  platform_.dialogAnswers.clear();
  platform_.dialogAnswers.push_back(path);
  Run(&TForm1::Get_FileClick);
  // A load that succeeds shows no warning; every warning of Get Data tells
  // that nothing of the file was read.
  return WarningsShown() == before;
}

size_t ReportSession::WarningsShown() const {
  size_t n = 0;
  for (const HeadlessPlatform::Message& m : platform_.messages) {
    if (m.kind == MessageKind::Warning || m.kind == MessageKind::Error) ++n;
  }
  return n;
}

bool ReportSession::Apply(const Action& action) {
  if (!closedBy_.empty() || platform_.exitCode || !refused_.empty()) {
    skipped_.push_back(action.text);
    return false;
  }
  if (action.kind == Action::Kind::Setting) {
    std::string error;
    const std::vector<Action> plan = PlanSetting(form_, action, error);
    if (!error.empty()) {
      refused_ = error;
      return false;
    }
    for (const Action& step : plan) {
      if (!Apply(step)) return false;
    }
    return true;
  }
  platform_.dialogAnswers.clear();
  const HandlerEntry* entry = nullptr;
  switch (action.kind) {
    case Action::Kind::Handler:
      entry = FindHandler(action.target);
      break;
    case Action::Kind::FileDialog:
      entry = FindHandler(action.target);
      platform_.dialogAnswers.push_back(action.answer);
      break;
    case Action::Kind::SelectItem:
      form_.Board()[action.target].itemIndex = action.value;
      entry = FindHandler(action.target, ControlEvent::Click);
      break;
    case Action::Kind::TrackBar:
      form_.Board()[action.target].position = action.value;
      entry = FindHandler(action.target, ControlEvent::Change);
      break;
    case Action::Kind::Setting:
      break;
  }
  if (entry != nullptr) Run(entry->run);
  if (platform_.exitCode) {
    closedBy_ = action.text;
    return false;
  }
  return true;
}

bool ReportSession::Run(const Options& options) {
  Start();
  // No action runs on a station other than the one asked for.
  if (!options.stationFile.empty() && !Load(options.stationFile)) return false;
  for (const Action& action : options.actions) Apply(action);
  return true;
}

}  // namespace korrin::report
