#include "app/report/UserOptions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <optional>

#include "app/report/Settings.h"
#include "core/Calc.h"
#include "core/Tables.h"
#include "ui/Controls.h"
#include "ui/NumberText.h"

namespace korrin::report {

namespace {

using namespace setting;

// ---- the options ---------------------------------------------------------------

// The highest feed loss and dish diameter the window's three-digit displays
// show with their one decimal.
constexpr long double kMaxFeedLossDb = 99.9L;
constexpr long double kMaxDishDiameterM = 99.9L;

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

std::string Trim(const std::string& s) {
  const size_t a = s.find_first_not_of(' ');
  if (a == std::string::npos) return "";
  return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

// A plain decimal number ("14.2", "100", "-1"), with `suffix` allowed after
// it; nullopt for anything else.
std::optional<double> Number(const std::string& text, std::string* suffix = nullptr) {
  double v = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, v, std::chars_format::fixed);
  if (ec != std::errc() || ptr == text.data() || !std::isfinite(v)) return std::nullopt;
  const std::string rest(ptr, end);
  if (suffix != nullptr) {
    *suffix = Lower(Trim(rest));
  } else if (!rest.empty()) {
    return std::nullopt;
  }
  return v;
}

// A whole number within [low, high] written as digits (a trailing ".0" is
// allowed); nullopt otherwise.
std::optional<int> Whole(const std::string& text, int low, int high) {
  const std::optional<double> v = Number(text);
  if (!v || *v != std::floor(*v) || *v < low || *v > high) return std::nullopt;
  return static_cast<int>(*v);
}

// Tenths of `text` (a feed loss in dB, a diameter in metres) within
// [low, high]; nullopt when it is not a whole number of tenths.
std::optional<int> Tenths(const std::string& text, long double low, long double high) {
  const std::optional<double> v = Number(text);
  if (!v || *v < low - 1e-9 || *v > high + 1e-9) return std::nullopt;
  const double tenths = *v * 10.0;
  if (std::fabs(tenths - std::round(tenths)) > 1e-6) return std::nullopt;
  return static_cast<int>(std::lround(tenths));
}

Action SettingAction(const std::string& text, const char* name, int value) {
  Action a;
  a.kind = Action::Kind::Setting;
  a.text = text;
  a.target = name;
  a.value = value;
  return a;
}

// ---- bands ---------------------------------------------------------------------

// A band caption's own figure in MHz ("  10 GHz" is 10000).
double CaptionMHz(const char* caption) {
  std::string unit;
  const std::optional<double> v = Number(Trim(caption), &unit);
  if (!v) return -1;
  return unit == "ghz" ? *v * 1000.0 : *v;
}

// The figure of a caption in GHz ("  24 Ghz" is 24); -1 for a caption in MHz.
double CaptionGHz(const char* caption) {
  std::string unit;
  const std::optional<double> v = Number(Trim(caption), &unit);
  return v && unit == "ghz" ? *v : -1;
}

bool SameMHz(double a, long double b) {
  return std::fabs(a - static_cast<double>(b)) <= 1e-9 * std::max(1.0, std::fabs(a));
}

std::string BandList() {
  std::string hf;
  std::string vhf;
  for (const HfBand& b : kHfBands) hf += (hf.empty() ? "" : ", ") + Trim(b.caption);
  for (const VhfBand& b : kVhfBands) vhf += (vhf.empty() ? "" : ", ") + Trim(b.caption);
  return "HF " + hf + "; VHF - SHF " + vhf;
}

std::string ParseBand(const std::string& option, const std::string& value,
                      std::vector<Action>& out) {
  std::string unit;
  std::optional<double> mhz = Number(Trim(value), &unit);
  if (mhz && unit == "ghz") *mhz *= 1000.0;
  const std::string text = option + " " + value;
  if (mhz && (unit.empty() || unit == "mhz" || unit == "ghz")) {
    // A band is named by its caption's figure or by the frequency it sets.
    for (size_t i = 0; i < kHfBands.size(); ++i) {
      const HfBand& b = kHfBands[i];
      if (SameMHz(*mhz, b.frequencyMHz) || SameMHz(*mhz, CaptionMHz(b.caption))) {
        out.push_back(SettingAction(text, kBandHf, static_cast<int>(i)));
        return "";
      }
    }
    for (size_t i = 0; i < kVhfBands.size(); ++i) {
      const VhfBand& b = kVhfBands[i];
      if (SameMHz(*mhz, b.frequencyMHz) || SameMHz(*mhz, CaptionMHz(b.caption))) {
        out.push_back(SettingAction(text, kBandVhf, static_cast<int>(i)));
        return "";
      }
    }
    // A bare figure that names no band in MHz may be the figure of a band
    // the window names in GHz ("10" for "10 GHz"), as the band list shows.
    for (size_t i = 0; unit.empty() && i < kVhfBands.size(); ++i) {
      if (SameMHz(*mhz, CaptionGHz(kVhfBands[i].caption))) {
        out.push_back(SettingAction(text, kBandVhf, static_cast<int>(i)));
        return "";
      }
    }
  }
  return "unknown band \"" + value + "\" for " + option +
         ": give one of the bands as the window names them, in MHz unless GHz is named (" +
         BandList() + ")";
}

// ---- modes and averaging patterns ------------------------------------------------

struct Word {
  const char* word;
  const char* caption;  // the radio item it selects
};

const Word kModeWords[] = {
    {"ssb", "SSB (non proc)"}, {"ssb-processed", "SSB (processed)"},
    {"fm", "Voice FM"},        {"rtty", "FSK,RTTY or AM"},
    {"fsk", "FSK,RTTY or AM"}, {"am", "FSK,RTTY or AM"},
    {"afsk", "AFSK SSB"},      {"cw", "CW"},
    {"carrier", "Carrier"},    {"tv", "Analog TV"},
};

const Word kPatternWords[] = {
    {"conversational", "Conversational"},  {"eme-30s", "EME 30 secs"},
    {"eme-1min", "EME 1 minute"},          {"eme-2min", "EME 2 minutes"},
    {"eme-2.5min", "EME 2\u00bd minutes"},
};

template <size_t N>
std::string ParseItem(const std::string& option, const std::string& value, const Word (&words)[N],
                      const char* group, std::vector<Action>& out) {
  const std::vector<std::string>& items = ControlNamed(group).items;
  const std::string wanted = Lower(Trim(value));
  std::string caption;
  for (const Word& w : words) {
    if (wanted == w.word) caption = w.caption;
  }
  const std::string text = option + " " + value;
  std::string names;
  for (const Word& w : words) names += (names.empty() ? "" : ", ") + std::string(w.word);
  for (size_t i = 0; i < items.size(); ++i) {
    // The item's own caption is understood too, in any case.
    if (Trim(items[i]) == caption || Lower(Trim(items[i])) == wanted) {
      out.push_back(SelectAction(group, static_cast<int>(i)));
      out.back().text = text;
      return "";
    }
  }
  return "unknown value \"" + value + "\" for " + option + ": give one of " + names;
}

}  // namespace

// ---- the option table ------------------------------------------------------------------

const std::vector<UserOption>& UserOptions() {
  static const std::vector<UserOption> table = {
      {"--band", "MHZ", ParseBand,
       "the band, on either side; switching side puts that\n"
       "side's antenna in use (HF: the low-gain antennas,\n"
       "VHF - SHF: the dish), so give --antenna after it"},
      {"--power", "WATTS",
       [](const std::string& option, const std::string& value, std::vector<Action>& out) {
         const std::optional<int> w = Whole(value, 0, 9999);
         if (!w) {
           return "the transmitter power \"" + value + "\" for " + option +
                  " cannot be set: the four digit groups give whole watts from 0 to 9999";
         }
         const char* groups[] = {"RadioGroup4", "RadioGroup5", "RadioGroup6", "RadioGroup7"};
         const int units[] = {1000, 100, 10, 1};
         const std::string text = option + " " + value;
         for (int d = 0; d < 4; ++d) {
           out.push_back(SelectAction(groups[d], (*w / units[d]) % 10));
           out.back().text = text;
         }
         return std::string();
       },
       "transmitter power, whole watts 0 to 9999"},
      {"--feed-loss", "DB",
       [](const std::string& option, const std::string& value, std::vector<Action>& out) {
         const std::optional<int> t = Tenths(value, 0, kMaxFeedLossDb);
         if (!t) {
           return "the feed loss \"" + value + "\" for " + option +
                  " cannot be reached: the feed-loss arrows step by 0.1 dB from 0.0 to 99.9 dB";
         }
         out.push_back(SettingAction(option + " " + value, kFeedLoss, *t));
         return std::string();
       },
       "feed and other losses, 0.0 to 99.9 dB by 0.1 dB"},
      {"--mode", "NAME",
       [](const std::string& option, const std::string& value, std::vector<Action>& out) {
         return ParseItem(option, value, kModeWords, "RadioGroup2", out);
       },
       "transmission mode: ssb, ssb-processed, fm,\n"
       "rtty (also fsk, am), afsk, cw, carrier, tv"},
      {"--pattern", "NAME",
       [](const std::string& option, const std::string& value, std::vector<Action>& out) {
         return ParseItem(option, value, kPatternWords, "RadioGroup3", out);
       },
       "six-minute averaging: conversational, eme-30s,\n"
       "eme-1min, eme-2min, eme-2.5min"},
      {"--antenna", "NAME",
       [](const std::string& option, const std::string& value, std::vector<Action>& out) {
         const std::string v = Lower(Trim(value));
         const std::string text = option + " " + value;
         if (v == "dish" || v == "yagi") {
           out.push_back(HandlerAction(v == "dish" ? "Panel45Click" : "Panel46Click"));
           out.back().text = text;
           return std::string();
         }
         const char* lowGain[] = {"dipole", "vertical", "beam", "variable"};
         for (int i = 0; i < 4; ++i) {
           if (v == lowGain[i]) {
             out.push_back(SettingAction(text, kLowGainAntenna, i));
             return std::string();
           }
         }
         return "unknown antenna \"" + value + "\" for " + option +
                ": give dish, yagi, dipole, vertical, beam or variable";
       },
       "antenna in use: dish, yagi, or on the HF side\n"
       "dipole, vertical, beam, variable"},
      {"--dish-diameter", "M",
       [](const std::string& option, const std::string& value, std::vector<Action>& out) {
         const std::optional<int> t = Tenths(value, 0.1L, kMaxDishDiameterM);
         if (!t) {
           return "the dish diameter \"" + value + "\" for " + option +
                  " cannot be reached: the diameter arrows step by 0.1 m from 0.1 to 99.9 m";
         }
         out.push_back(SettingAction(option + " " + value, kDishDiameter, *t));
         return std::string();
       },
       "dish diameter, 0.1 to 99.9 m by 0.1 m (dish in use)"},
      {"--yagis", "N",
       [](const std::string& option, const std::string& value, std::vector<Action>& out) {
         // The array sizes the stacking steps give, from the station's own table.
         StationState s{};
         std::vector<int> sizes;
         for (Int step = 1; step < 100; ++step) {
           s.YagiStackStep = step;
           s.YagiCount = -1;
           korrin::UpdateYagiArray(s);
           if (s.YagiCount < 1) break;
           sizes.push_back(static_cast<int>(s.YagiCount));
         }
         const std::optional<int> n = Whole(value, 1, sizes.empty() ? 1 : sizes.back());
         if (n && std::find(sizes.begin(), sizes.end(), *n) != sizes.end()) {
           out.push_back(SettingAction(option + " " + value, kYagis, *n));
           return std::string();
         }
         std::string list;
         for (int size : sizes) list += (list.empty() ? "" : ", ") + std::to_string(size);
         return "the number of yagis \"" + value + "\" for " + option +
                " cannot be reached: the stacking arrows give " + list;
       },
       "stacked yagis: 1, 2, 4, 6, 8, 12, ... 256 (yagi\n"
       "array in use)"},
      {"--standard", "NAME",
       [](const std::string& option, const std::string& value, std::vector<Action>& out) {
         const std::string v = Lower(Trim(value));
         const char* handler = v == "as2772"    ? "Panel75Click"
                               : v == "arpansa" ? "Panel77Click"
                               : v == "fcc"     ? "Panel78Click"
                                                : nullptr;
         if (handler == nullptr) {
           return "unknown standard \"" + value + "\" for " + option +
                  ": give as2772, arpansa or fcc";
         }
         out.push_back(HandlerAction(handler));
         out.back().text = option + " " + value;
         return std::string();
       },
       "exposure standard: as2772, arpansa, fcc"},
      {"--ground-reflection", nullptr,
       [](const std::string& option, const std::string&, std::vector<Action>& out) {
         out.push_back(SettingAction(option, kGroundReflection, 1));
         return std::string();
       },
       "include ground reflection"},
      {"--tower", "METRES",
       [](const std::string& option, const std::string& value, std::vector<Action>& out) {
         const ControlDecl& bar = ControlNamed("TrackBar1");
         const int highest = bar.maximum - bar.minimum;
         const std::optional<int> m = Whole(value, 0, highest);
         if (!m) {
           return "the tower height \"" + value + "\" for " + option +
                  " cannot be set: the tower bar gives whole metres from 0 to " +
                  std::to_string(highest);
         }
         out.push_back(SettingAction(option + " " + value, kTower, *m));
         return std::string();
       },
       "tower height, whole metres 0 to 30 (HF side)"},
      {"--imperial", nullptr,
       [](const std::string& option, const std::string&, std::vector<Action>& out) {
         out.push_back(SettingAction(option, kImperial, 1));
         return std::string();
       },
       "show lengths in feet"},
  };
  return table;
}

std::string ApplyUserOption(const UserOption& o, const std::string& value,
                            std::vector<Action>& out) {
  const std::string name = o.name;
  if (o.value == nullptr) return o.parse(name, "", out);
  if (Trim(value).empty()) return "option " + name + " needs " + o.value;
  const size_t before = out.size();
  std::string error = o.parse(name, value, out);
  // Every action says which option it came from.
  const std::string given = name + " " + value;
  for (size_t i = before; i < out.size(); ++i) {
    if (out[i].text.empty()) out[i].text = given;
  }
  return error;
}

std::string ModeAndPatternNotGiven(const std::vector<Action>& actions, const StationState& s) {
  const auto from = [](const Action& a, const char* option) {
    const std::string name = option;
    return a.text == name || a.text.rfind(name + " ", 0) == 0;
  };
  bool words = false;
  bool mode = false;
  bool pattern = false;
  for (const Action& a : actions) {
    for (const UserOption& u : UserOptions()) words = words || from(a, u.name);
    mode = mode || from(a, "--mode");
    pattern = pattern || from(a, "--pattern");
  }
  if (!words || (mode && pattern)) return "";
  const auto percent = [](long double p) { return FixedText(p, 18, 1, NumberLocale{}) + " %"; };
  std::vector<std::string> kept;
  if (!mode && s.ModeIndex >= 0 && static_cast<size_t>(s.ModeIndex) < kModes.size()) {
    kept.push_back("the transmission mode " +
                   Trim(kModes[static_cast<size_t>(s.ModeIndex)].caption) + " (form factor " +
                   percent(s.FormFactor * 100.0L) + "; --mode sets it)");
  }
  if (!pattern && s.AveragingIndex >= 0 &&
      static_cast<size_t>(s.AveragingIndex) < kAveraging.size()) {
    kept.push_back("the operating pattern " +
                   Trim(kAveraging[static_cast<size_t>(s.AveragingIndex)].caption) + " (" +
                   percent(s.SixMinuteFactor) + " of each six minutes; --pattern sets it)");
  }
  if (kept.empty()) return "";
  std::string list = kept.front();
  if (kept.size() > 1) list += " and " + kept.back();
  return "The station was described in words without " +
         std::string(!mode && !pattern ? "--mode and --pattern"
                     : !mode           ? "--mode"
                                       : "--pattern") +
         ": the assessment uses " + list +
         " as the station stood. A station transmitting more of the time has a larger keep-out "
         "distance.";
}

std::string UserOptionsExamples() {
  return "Examples:\n"
         "  the 20 m dipole at 100 W on a 10 m tower:\n"
         "    korrin-report --band 14.2 --antenna dipole --power 100 --tower 10\n"
         "  a 3 m dish at 1296 MHz, 400 W in CW, 2.5 dB of feed loss, ARPANSA limits:\n"
         "    korrin-report --band 1296 --dish-diameter 3 --power 400 --mode cw \\\n"
         "                  --feed-loss 2.5 --standard arpansa\n"
         "  four stacked yagis at 144 MHz:\n"
         "    korrin-report --band 144 --antenna yagi --yagis 4\n";
}

}  // namespace korrin::report
