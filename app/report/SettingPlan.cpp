// Planning of the settings that wait for their turn: the clicks that reach
// one from the station as it stands.  Stepped values are found by clicking
// a scratch copy of the window through its own handlers, so that the plan
// lands where the window's own arrows land.
#include <algorithm>
#include <cmath>
#include <optional>

#include "app/report/Settings.h"
#include "app/report/UserOptions.h"
#include "ui/Controls.h"
#include "ui/Handlers.h"
#include "ui/TForm1.h"

namespace korrin::report {

namespace {

using namespace setting;

// A stepped value is reached within this many clicks or not at all.
constexpr int kMaxClicks = 4000;

using Reader = long double (*)(const StationState&);

void Click(TForm1& form, const std::string& handler) {
  (form.*(FindHandler(handler)->run))();
}

// Clicks `up` or `down` on `scratch` until read() comes within `tolerance`
// of `target`, adding the clicks to `clicks`.  False when a click passes
// the target or no longer moves the value.
bool StepDirectly(TForm1& scratch, Reader read, const std::string& up, const std::string& down,
                  long double target, long double tolerance, std::vector<std::string>& clicks) {
  for (int n = 0; n < kMaxClicks; ++n) {
    const long double v = read(scratch.State());
    if (std::fabs(v - target) <= tolerance) return true;
    const bool rising = v < target;
    Click(scratch, rising ? up : down);
    clicks.push_back(rising ? up : down);
    const long double now = read(scratch.State());
    if (now == v || (rising ? now > target + tolerance : now < target - tolerance)) return false;
  }
  return false;
}

// The clicks of the spin button that bring read() to `target`: straight
// there, or, from a value off the steps' grid, down to the floor first.
std::optional<std::vector<std::string>> StepTo(const TForm1& form, Reader read,
                                               const std::string& up, const std::string& down,
                                               long double target, long double tolerance) {
  {
    TForm1 scratch(form);
    std::vector<std::string> clicks;
    if (StepDirectly(scratch, read, up, down, target, tolerance, clicks)) return clicks;
  }
  TForm1 scratch(form);
  std::vector<std::string> clicks;
  for (int n = 0; n < kMaxClicks; ++n) {
    const long double v = read(scratch.State());
    Click(scratch, down);
    clicks.push_back(down);
    if (read(scratch.State()) >= v) break;  // held at, or put back to, the floor
  }
  if (StepDirectly(scratch, read, up, down, target, tolerance, clicks)) return clicks;
  return std::nullopt;
}

std::vector<Action> Handlers(const std::vector<std::string>& names) {
  std::vector<Action> out;
  out.reserve(names.size());
  for (const std::string& n : names) out.push_back(HandlerAction(n));
  return out;
}

}  // namespace

Action HandlerAction(const std::string& name) {
  Action a;
  a.kind = Action::Kind::Handler;
  a.text = name;
  a.target = name;
  return a;
}

Action SelectAction(const std::string& group, int item) {
  Action a;
  a.kind = Action::Kind::SelectItem;
  a.target = group;
  a.value = item;
  a.text = group + "=" + std::to_string(item);
  return a;
}

std::vector<Action> PlanSetting(const TForm1& form, const Action& setting, std::string& error) {
  const StationState& s = form.State();
  const std::string& what = setting.target;
  error.clear();
  if (what == kBandHf || what == kBandVhf) {
    const bool hf = what == kBandHf;
    std::vector<Action> out;
    if (hf != static_cast<bool>(s.HfBandsShown)) {
      out.push_back(HandlerAction(hf ? "HF_SelectClick" : "SHF_SelectClick"));
    }
    out.push_back(SelectAction(hf ? "RadioGroup8" : "RadioGroup1", setting.value));
    return out;
  }
  if (what == kTower) {
    const ControlDecl& bar = ControlNamed("TrackBar1");
    if (!form.Board().at("Panel8").visible) {
      error = setting.text + ": the tower bar is on the HF side; give an HF --band before it";
      return {};
    }
    // The top of the bar is the tallest tower.
    Action a;
    a.kind = Action::Kind::TrackBar;
    a.target = bar.name;
    a.value = bar.maximum - setting.value;
    a.text = a.target + "=" + std::to_string(a.value);
    return {a};
  }
  if (what == kImperial) return s.MetricUnits ? Handlers({"Button2Click"}) : std::vector<Action>{};
  if (what == kGroundReflection) {
    return s.GroundReflection ? std::vector<Action>{} : Handlers({"GroundGainSelectClick"});
  }
  if (what == kLowGainAntenna) {
    if (!s.HfBandsShown) {
      error =
          setting.text + ": the low-gain antennas are on the HF side; give an HF --band before it";
      return {};
    }
    const char* panels[] = {"Panel67Click", "Panel68Click", "Panel69Click", "Panel80Click"};
    std::vector<std::string> clicks;
    if (!s.LowGainSelected) clicks.emplace_back("Panel85Click");
    clicks.emplace_back(panels[std::clamp(setting.value, 0, 3)]);
    return Handlers(clicks);
  }

  std::optional<std::vector<std::string>> clicks;
  if (what == kFeedLoss) {
    clicks = StepTo(
        form, [](const StationState& st) { return st.FeedLossDb; }, "SpinButton3UpClick",
        "SpinButton3DownClick", setting.value / 10.0L, 1e-6L);
  } else if (what == kDishDiameter) {
    if (!s.DishSelected) {
      error = setting.text + ": the dish is not in use; give --antenna dish before it";
      return {};
    }
    // The diameter steps by 0.1 m in metric units: step there, then switch back.
    TForm1 metric(form);
    std::vector<std::string> units;
    if (!s.MetricUnits) {
      Click(metric, "Button2Click");
      units.emplace_back("Button2Click");
    }
    clicks = StepTo(
        metric, [](const StationState& st) { return st.DishDiameterCm; }, "SpinButton1UpClick",
        "SpinButton1DownClick", setting.value * 10.0L, 1e-6L);
    if (clicks && !units.empty()) {
      clicks->insert(clicks->begin(), units.begin(), units.end());
      clicks->insert(clicks->end(), units.begin(), units.end());
    }
  } else if (what == kYagis) {
    if (!s.YagiSelected) {
      error = setting.text + ": the yagi array is not in use; give --antenna yagi before it";
      return {};
    }
    clicks = StepTo(
        form, [](const StationState& st) { return static_cast<long double>(st.YagiCount); },
        "SpinButton8UpClick", "SpinButton8DownClick", setting.value, 0.25L);
  } else {
    error = setting.text + ": not a setting of the window";
    return {};
  }
  if (!clicks) {
    error = setting.text + ": the window's arrows cannot reach it from this station";
    return {};
  }
  return Handlers(*clicks);
}

}  // namespace korrin::report
