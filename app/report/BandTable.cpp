#include "app/report/BandTable.h"

#include "ui/Controls.h"
#include "ui/NumberText.h"

namespace korrin::report {

namespace {

const std::vector<std::string>& ItemsOf(const std::string& group) {
  for (const ControlSpec& c : MainWindowControls()) {
    if (c.name == group) return c.items;
  }
  static const std::vector<std::string> none;
  return none;
}

std::string FrequencyText(long double mhz, const NumberLocale& locale) {
  return FixedText(mhz, 18, mhz < 100.0L ? 1 : 0, locale) + " MHz";
}

}  // namespace

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  const size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

BandTable EvaluateAllBands(TForm1& form, HeadlessPlatform& platform) {
  BandTable table;
  table.vhfShf = form.State().ShfBandsShown;
  const std::string group = table.vhfShf ? "RadioGroup1" : "RadioGroup8";
  void (TForm1::*click)() = table.vhfShf ? &TForm1::RadioGroup1Click : &TForm1::RadioGroup8Click;

  // Everything a band click can change, to be put back after each row.
  const StationState savedState = form.State();
  const ControlBoard savedBoard = form.Board();
  const HeadlessPlatform savedPlatform = platform;

  const std::vector<std::string>& items = ItemsOf(group);
  for (size_t i = 0; i < items.size(); ++i) {
    form.Board()[group].itemIndex = static_cast<int>(i);
    (form.*click)();
    const ControlBoard& b = form.Board();
    const StationState& s = form.State();
    BandRow row;
    row.band = Trimmed(items[i]);
    row.frequency = FrequencyText(s.FrequencyMHz, form.Locale());
    row.limit = b.at("Panel9").text;
    row.gainInUse = FixedText(s.DishGainDbi, 10, 2, form.Locale()) + " dBi";
    row.farFieldBoundary = b.at("Panel47").text;
    row.exclusionZone = b.at("Panel64").text;
    if (b.at("Panel63").visible) row.exclusionZone += "; " + Trimmed(b.at("Panel63").text);
    row.towerClearance = b.at("StaticText1").text;
    if (table.vhfShf) {
      row.echoSnr = b.at("Panel25").text;
      row.sunYFactor = b.at("Panel58").text;
    }
    table.rows.push_back(std::move(row));

    form.State() = savedState;
    form.Board() = savedBoard;
    platform = savedPlatform;
  }
  return table;
}

}  // namespace korrin::report
