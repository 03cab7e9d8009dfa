#include "app/report/BandTable.h"

#include "assess/Assessment.h"
#include "ui/BandSweep.h"
#include "ui/NumberText.h"

namespace korrin::report {

namespace {

std::string FrequencyText(long double mhz, const NumberLocale& locale) {
  return FixedText(mhz, 18, mhz < 100.0L ? 1 : 0, locale) + " MHz";
}

BandRow::Assessed AssessBand(const StationState& s) {
  const assess::Assessment a = assess::Assess(s);
  BandRow::Assessed r;
  if (const assess::LimitEntry* e = a.Selected()) r.keepOutSelectedM = e->keepOutM;
  r.keepOutIcnirpM = a.Find(assess::LimitSet::Icnirp2020)->keepOutM;
  r.keepOutFccM = a.Find(assess::LimitSet::FccGeneral)->keepOutM;
  if (a.fccExemption) r.fccMinimumM = a.fccExemption->minimumDistanceM;
  return r;
}

}  // namespace

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  const size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

BandTable EvaluateAllBands(TForm1& form, HeadlessPlatform& /*platform*/, bool assess) {
  BandTable table;
  table.vhfShf = form.State().ShfBandsShown;
  table.assessed = assess;
  table.metric = form.State().MetricUnits;
  SweepBands(form, [&](const BandVisit& band, const TForm1& f) {
    const ControlBoard& b = f.Board();
    const StationState& s = f.State();
    BandRow row;
    row.band = band.caption;
    row.frequency = FrequencyText(s.FrequencyMHz, f.Locale());
    row.limit = b.at("Panel9").text;
    row.gainInUse = FixedText(s.DishGainDbi, 10, 2, f.Locale()) + " dBi";
    row.farFieldBoundary = b.at("Panel47").text;
    row.exclusionZone = b.at("Panel64").text;
    if (b.at("Panel63").visible) row.exclusionZone += "; " + Trimmed(b.at("Panel63").text);
    row.towerClearance = b.at("StaticText1").text;
    if (table.vhfShf) {
      row.echoSnr = b.at("Panel25").text;
      row.sunYFactor = b.at("Panel58").text;
    }
    if (assess) row.assessed = AssessBand(s);
    table.rows.push_back(std::move(row));
  });
  return table;
}

}  // namespace korrin::report
