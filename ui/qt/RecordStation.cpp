// The record's view of the station in the window: the assessment, the
// summary and every band of the side in use.
#include <QPainter>

#include "ui/Controls.h"
#include "ui/TForm1.h"
#include "ui/qt/EvaluationRecord.h"

namespace korrin {

namespace {

const std::vector<std::string>& ItemsOf(const std::string& group) {
  for (const ControlSpec& c : MainWindowControls()) {
    if (c.name == group) return c.items;
  }
  static const std::vector<std::string> none;
  return none;
}

// The band item's caption without its padding, "GHz" spelt as it should be.
QString BandName(const std::string& caption) {
  QString name = QString::fromStdString(caption).trimmed();
  name.replace("Ghz", "GHz");
  return name;
}

std::optional<Real> KeepOut(const assess::LimitEntry* entry) {
  if (entry == nullptr || !entry->applies) return std::nullopt;
  return entry->keepOutM;
}

}  // namespace

std::vector<RecordBand> EveryBandOfTheSide(TForm1& form, const assess::Options& options) {
  const bool vhfShf = form.State().ShfBandsShown;
  const std::string group = vhfShf ? "RadioGroup1" : "RadioGroup8";
  void (TForm1::*click)() = vhfShf ? &TForm1::RadioGroup1Click : &TForm1::RadioGroup8Click;
  // Everything a band click can change, put back after each band.
  const StationState savedState = form.State();
  const ControlBoard savedBoard = form.Board();

  std::vector<RecordBand> rows;
  const std::vector<std::string>& items = ItemsOf(group);
  for (size_t i = 0; i < items.size(); ++i) {
    form.Board()[group].itemIndex = static_cast<int>(i);
    (form.*click)();
    const assess::Assessment a = assess::Assess(form.State(), options);
    RecordBand row;
    row.band = BandName(items[i]);
    row.frequencyMHz = a.frequencyMHz;
    row.keepOutSelectedM = KeepOut(a.Selected());
    row.keepOutIcnirpM = KeepOut(a.Find(assess::LimitSet::Icnirp2020));
    row.keepOutFccM = KeepOut(a.Find(assess::LimitSet::FccGeneral));
    if (a.fccExemption) row.fccMinimumExemptM = a.fccExemption->minimumDistanceM;
    rows.push_back(std::move(row));

    form.State() = savedState;
    form.Board() = savedBoard;
  }
  return rows;
}

RecordInput EvaluationRecordInput(TForm1& form, const assess::Options& options,
                                  const RecordHeading& heading, const QString& stationFile) {
  RecordInput in;
  in.heading = heading;
  in.stationFile = stationFile;
  in.station = assess::Summarise(form.State());
  in.assessment = assess::Assess(form.State(), options);
  in.bands = EveryBandOfTheSide(form, options);
  in.locale = form.Locale();
  return in;
}

}  // namespace korrin
