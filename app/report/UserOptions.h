// The report's options in the user's own words (--band 14.2, --power 100,
// --antenna dipole, ...).  Each stands for the clicks a user would make in
// the window: it becomes the same actions --do takes, so that one path runs
// both.  Options whose clicks do not depend on the station become those
// actions as they are parsed; the others (a band on the other side, a value
// reached by stepping) become one setting, planned against the station as
// it stands when its turn comes.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/report/ReportOptions.h"
#include "core/StationState.h"

namespace korrin {
class TForm1;
}

namespace korrin::report {

// One option in the user's words.
struct UserOption {
  const char* name;   // "--band"
  const char* value;  // what it takes, as --help names it ("MHZ"); nullptr: a switch
  // Appends the actions the option with `value` stands for; "" or the error.
  std::function<std::string(const std::string& option, const std::string& value,
                            std::vector<Action>& out)>
      parse;
  const char* help;  // for --help, broken into lines for its column
};

// Every option in the user's words, in the order --help lists them.
const std::vector<UserOption>& UserOptions();

// Appends the actions option `o` given `value` stands for (a switch takes
// no value); returns "" or the error.  A blank value is refused.
std::string ApplyUserOption(const UserOption& o, const std::string& value,
                            std::vector<Action>& out);

// The actions that reach a setting (Action::Kind::Setting) from the
// station as `form` shows it now.  Empty with `error` set when the window
// cannot reach it from there (the dish diameter while the dish is not in
// use, a low-gain antenna on the VHF - SHF side, ...).
std::vector<Action> PlanSetting(const TForm1& form, const Action& setting, std::string& error);

// The assessment's warning for a station described in the user's words
// (`actions` holds an option of UserOptions) without --mode or --pattern:
// which mode and pattern the station `s` kept, and the options that set
// them.  "" when both were given or no option in the user's words was.
std::string ModeAndPatternNotGiven(const std::vector<Action>& actions, const StationState& s);

// Examples of these options, for --help.
std::string UserOptionsExamples();

}  // namespace korrin::report
