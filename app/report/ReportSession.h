// One station evaluated without a window: a headless TForm1 started as the
// window starts it, a station file loaded as Get Data loads it, and the
// command line's actions applied in order.
#pragma once

#include <string>
#include <vector>

#include "app/report/ReportOptions.h"
#include "ui/HeadlessPlatform.h"
#include "ui/TForm1.h"

namespace korrin::report {

class ReportSession {
 public:
  explicit ReportSession(NumberLocale locale);
  ReportSession(const ReportSession&) = delete;
  ReportSession& operator=(const ReportSession&) = delete;

  // Activation of the window: SetUp runs.
  void Start();

  // Get Data with `path` chosen in the open dialog.  False when the load
  // showed a message (nothing of the file was read).
  bool Load(const std::string& path);

  // Applies one action (a setting as the actions it plans).  False when
  // the window has closed, before or by this action, or a setting was
  // refused; later actions are then not applied.
  bool Apply(const Action& action);

  // Start, the station file when given, then every action until the window
  // closes.  False when the station file could not be loaded: then no
  // action runs.
  bool Run(const Options& options);

  TForm1& Form() { return form_; }
  const TForm1& Form() const { return form_; }
  HeadlessPlatform& Platform() { return platform_; }
  const HeadlessPlatform& Platform() const { return platform_; }

  // The action that closed the window ("" while it is open).
  const std::string& ClosedBy() const { return closedBy_; }
  // The warnings and errors shown so far (a refused or missing file, a
  // failed save or print); information and answered questions do not count.
  size_t WarningsShown() const;

  // Actions that were not applied because the window had closed.
  const std::vector<std::string>& Skipped() const { return skipped_; }
  // Why a setting could not be reached from the station ("" when every one
  // was); no action is applied after it.
  const std::string& Refused() const { return refused_; }

 private:
  // Runs a handler as the window's message loop would: message boxes are
  // answered at once, and the window is activated again after each.
  void Run(void (TForm1::*handler)());

  HeadlessPlatform platform_;
  TForm1 form_;
  std::string closedBy_;
  std::vector<std::string> skipped_;
  std::string refused_;
};

}  // namespace korrin::report
