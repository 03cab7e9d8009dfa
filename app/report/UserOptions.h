// The report's options in the user's own words (--band 14.2, --power 100,
// --antenna dipole, ...).  Each stands for the clicks a user would make in
// the window: it becomes the same actions --do takes, so that one path runs
// both.  Options whose clicks do not depend on the station become those
// actions as they are parsed; the others (a band on the other side, a value
// reached by stepping) become one setting, planned against the station as
// it stands when its turn comes.
#pragma once

#include <string>
#include <vector>

#include "app/report/ReportOptions.h"

namespace korrin {
class TForm1;
}

namespace korrin::report {

// Whether `arg` names one of these options ("--band", "--band=14.2", ...).
bool IsUserOption(const std::string& arg);

// Parses the option at args[i] with its value (advancing i past a separate
// value) and appends the actions it stands for.  Returns "" or the error.
std::string ParseUserOption(const std::vector<std::string>& args, size_t& i,
                            std::vector<Action>& out);

// The actions that reach a setting (Action::Kind::Setting) from the
// station as `form` shows it now.  Empty with `error` set when the window
// cannot reach it from there (the dish diameter while the dish is not in
// use, a low-gain antenna on the VHF - SHF side, ...).
std::vector<Action> PlanSetting(const TForm1& form, const Action& setting, std::string& error);

// The options and examples, for --help.
std::string UserOptionsHelp();

}  // namespace korrin::report
