#include "app/report/ReportOptions.h"

#include <algorithm>

#include "ui/Controls.h"
#include "ui/Handlers.h"

#ifndef KORRIN_VERSION
#define KORRIN_VERSION "4.4"
#endif

namespace korrin::report {

namespace {

// A whole number written with digits only (no sign, no blanks).
std::optional<int> ParseIndex(const std::string& text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  return std::stoi(text);
}

bool IsFileCommand(const std::string& name) {
  return name == "Get_FileClick" || name == "Save_DataClick";
}

}  // namespace

std::optional<Action> ParseAction(const std::string& text, std::string& error) {
  Action a;
  a.text = text;
  const size_t eq = text.find('=');
  if (eq == std::string::npos) {
    if (FindHandler(text) == nullptr) {
      error = "unknown action \"" + text + "\": the window has no handler of that name";
      return std::nullopt;
    }
    a.kind = Action::Kind::Handler;
    a.target = text;
    return a;
  }
  const std::string name = text.substr(0, eq);
  const std::string value = text.substr(eq + 1);
  if (IsFileCommand(name)) {
    a.kind = Action::Kind::FileDialog;
    a.target = name;
    if (!value.empty()) a.answer = value;
    return a;
  }
  const ControlDecl* control = FindControl(name);
  if (control == nullptr) {
    error = "unknown action \"" + text + "\": the window has no control named \"" + name + "\"";
    return std::nullopt;
  }
  const std::optional<int> n = ParseIndex(value);
  if (control->kind == ControlKind::RadioGroup) {
    const int items = static_cast<int>(control->items.size());
    if (!n || *n >= items) {
      error = "unknown item \"" + value + "\" in action \"" + text + "\": " + name +
              " has the items 0 to " + std::to_string(items - 1);
      return std::nullopt;
    }
    a.kind = Action::Kind::SelectItem;
    a.target = name;
    a.value = *n;
    return a;
  }
  if (control->kind == ControlKind::TrackBar) {
    if (!n || *n < control->minimum || *n > control->maximum) {
      error = "unknown position \"" + value + "\" in action \"" + text + "\": " + name +
              " has the positions " + std::to_string(control->minimum) + " to " +
              std::to_string(control->maximum);
      return std::nullopt;
    }
    a.kind = Action::Kind::TrackBar;
    a.target = name;
    a.value = *n;
    return a;
  }
  error = "unknown action \"" + text + "\": " + name +
          " is neither a radio group nor the track bar, so it takes no value";
  return std::nullopt;
}

std::string UsageText() {
  return "Usage: korrin-report [--json] [--all-bands] [--png FILE] [--pdf FILE]\n"
         "       [--plot FILE] [--assess] [--distance R] [--head-height H] [SETTING]...\n"
         "       [--do ACTION]... [STATION.rsd]\n"
         "       korrin-report --record FILE.pdf [--callsign C] [--site S] [--by NAME]\n"
         "                     [--page-size A4|Letter] [OPTION]... [STATION.rsd]\n"
         "       korrin-report --moon --locator LOC [--dx LOC] [--from TIME] [--hours H]\n"
         "                     [--step-minutes M] [--min-elevation DEG] [--moon-plot FILE]\n"
         "                     [OPTION]... [STATION.rsd]\n"
         "       korrin-report [--json | --csv] [--site-plan FILE] [--near-field]\n"
         "                     [--near-field-map INSTALLATION FILE] [--near-field-set SET]\n"
         "                     [--near-field-tier TIER] [--engine-time-limit SECONDS]\n"
         "                     [--record FILE.pdf] NAME.station.toml\n"
         "       korrin-report --station-file OUT.station.toml [OPTION]... [STATION.rsd]\n"
         "\n"
         "SETTING is --band MHZ, --power WATTS, --feed-loss DB, --mode NAME,\n"
         "  --pattern NAME, --antenna NAME, --dish-diameter M, --yagis N,\n"
         "  --standard NAME, --ground-reflection, --tower METRES or --imperial\n"
         "\n"
         "ACTION is one of:\n"
         "  HANDLER               run a handler of the window by its name,\n"
         "                        e.g. HF_SelectClick, SpinButton3UpClick, Panel46Click\n"
         "  RadioGroupN=ITEM      select item ITEM (from 0) of RadioGroup1 ... RadioGroup8\n"
         "                        and run the group's click handler\n"
         "  TrackBar1=POSITION    move the tower track bar to POSITION (0 ... 30)\n"
         "                        and run TrackBar1Change\n"
         "  Get_FileClick=PATH    Get Data with the open dialog answering PATH\n"
         "  Save_DataClick=PATH   Save Data with the save dialog answering PATH\n"
         "                        (nothing after \"=\": the dialog is cancelled)\n";
}

std::string VersionText() {
  return std::string("korrin-report ") + KORRIN_VERSION;
}

}  // namespace korrin::report
