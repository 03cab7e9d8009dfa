// The record's view of the station in the window: the assessment, the
// summary and every band of the side in use.
#include <QPainter>

#include "ui/BandSweep.h"
#include "ui/TForm1.h"
#include "ui/qt/assessment/AssessmentPlot.h"
#include "ui/qt/record/EvaluationRecord.h"

namespace korrin {

namespace {

constexpr qreal kPlotWidthPx = 760.0;  // the plot is laid out this wide, as on a screen

// The band item's caption, "GHz" spelt as it should be.
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

std::vector<RecordBand> EveryBandOfTheSide(const TForm1& form, const assess::Options& options) {
  std::vector<RecordBand> rows;
  SweepBands(form, [&rows, &options](const BandVisit& band, const TForm1& clicked) {
    const assess::Assessment a = assess::Assess(clicked.State(), options);
    RecordBand row;
    row.band = BandName(band.caption);
    row.frequencyMHz = a.frequencyMHz;
    row.keepOutSelectedM = KeepOut(a.Selected());
    row.keepOutIcnirpM = KeepOut(a.Find(assess::LimitSet::Icnirp2020));
    row.keepOutFccM = KeepOut(a.Find(assess::LimitSet::FccGeneral));
    if (a.fccExemption) row.fccMinimumExemptM = a.fccExemption->minimumDistanceM;
    rows.push_back(std::move(row));
  });
  return rows;
}

RecordInput EvaluationRecordInput(const TForm1& form, const assess::Options& options,
                                  const RecordHeading& heading) {
  RecordInput in;
  in.heading = heading;
  in.stationFile = QString::fromStdString(form.StationFileName());
  in.stationFileChanged = !in.stationFile.isEmpty() && form.Unsaved();
  in.station = assess::Summarise(form.State());
  in.assessment = assess::Assess(form.State(), options);
  in.bands = EveryBandOfTheSide(form, options);
  in.locale = form.Locale();
  // The assessment window's own drawing, laid out as on a screen and
  // scaled to the page, so that its type and lines keep their proportions
  // to the plot whatever the page's resolution.
  in.plot = [station = form.State(), a = in.assessment](QPainter& painter, const QRectF& target) {
    const qreal scale = target.width() / kPlotWidthPx;
    painter.translate(target.topLeft());
    painter.scale(scale, scale);
    RenderAssessmentPlot(painter, QRectF(QPointF(0, 0), target.size() / scale), station, a);
  };
  return in;
}

}  // namespace korrin
