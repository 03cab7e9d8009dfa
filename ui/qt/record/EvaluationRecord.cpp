#include "ui/qt/record/EvaluationRecord.h"

#include <QBuffer>
#include <QFileInfo>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>

#include "ui/Controls.h"
#include "ui/TForm1.h"
#include "ui/qt/PictureFile.h"
#include "ui/qt/assessment/AssessmentText.h"

#ifndef KORRIN_VERSION
#define KORRIN_VERSION "4.4"
#endif

namespace korrin {

namespace {

using assess::LimitEntry;
using assess::LimitSet;

constexpr int kPdfDpi = 1200;
constexpr qreal kPlotHeightMm = 118.0;

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

// Texts of numbers in the record, in the window's number convention.
class Numbers {
 public:
  Numbers(const NumberLocale& locale, bool metric) : locale_(locale), metric_(metric) {}

  QString Fixed(Real value, int decimals) const {
    return Q(FixedText(value, 18, decimals, locale_));
  }

  // Metres; in feet first when the station is set to feet.
  QString Length(Real metres) const {
    QString m = Fixed(metres, 2) + " m";
    if (metric_) return m;
    return Fixed(metres * kFeetPerMetre, 2) + " ft (" + m + ")";
  }

  // In a table's cell: the chosen unit alone, so that the cell never wraps.
  QString CellLength(Real metres) const {
    if (metric_) return Fixed(metres, 2) + " m";
    return Fixed(metres * kFeetPerMetre, 2) + " ft";
  }

  // A person's height: one decimal, in the chosen unit.
  QString Height(Real metres) const {
    return metric_ ? Fixed(metres, 1) + " m" : Fixed(metres * kFeetPerMetre, 1) + " ft";
  }

  QString Density(Real wm2) const {
    const int decimals = wm2 < 10.0L ? 3 : (wm2 < 100.0L ? 2 : 1);
    return Fixed(wm2, decimals) + " W/m²";
  }

  // The same density in mW/cm² (1 mW/cm² is 10 W/m²), to the same places.
  QString DensityMwCm2(Real wm2) const {
    constexpr Real kWm2PerMwCm2 = 10.0L;
    const int decimals = wm2 < 10.0L ? 4 : (wm2 < 100.0L ? 3 : 2);
    return Fixed(wm2 / kWm2PerMwCm2, decimals) + " mW/cm²";
  }

  // Whole watts from 100 W, grouped in thousands from 10,000 W.
  QString Power(Real watts) const {
    if (watts < 100.0L) return Fixed(watts, 2) + " W";
    if (watts < 10000.0L) return Fixed(watts, 0) + " W";
    return Q(NumberText(watts, 18, 0, locale_)) + " W";
  }

  QString Percent(Real fraction) const { return Trimmed(Fixed(fraction * 100.0L, 1)) + " %"; }

  // "432 MHz", "29.7 MHz", "1.8 MHz": no trailing zeros.
  QString Frequency(Real mhz) const { return Trimmed(Fixed(mhz, 3)) + " MHz"; }

 private:
  // Trailing zeros after the decimal point removed, and the point with them.
  QString Trimmed(QString text) const {
    const QString point = Q(locale_.decimalPoint);
    if (text.contains(point)) {
      while (text.endsWith('0')) text.chop(1);
      if (text.endsWith(point)) text.chop(point.size());
    }
    return text;
  }

  NumberLocale locale_;
  bool metric_;
};

// The set's short name, for the column headings of the band table.
QString ShortName(LimitSet set) {
  switch (set) {
    case LimitSet::FccGeneral:
      return "FCC general population";
    case LimitSet::FccOccupational:
      return "FCC occupational";
    case LimitSet::Icnirp2020:
      return "ICNIRP 2020";
    case LimitSet::Arpansa2002:
      return "ARPANSA (2002)";
    case LimitSet::As2772:
      return "AS2772";
    case LimitSet::HandSet:
      return "the hand-set limit";
    case LimitSet::Icnirp2020Occupational:
      return "ICNIRP 2020 occupational";
    case LimitSet::CalculatorFcc:
      return "the calculator's FCC";
    case LimitSet::Icnirp1998:
      return "ICNIRP 1998";
    case LimitSet::Icnirp1998Occupational:
      return "ICNIRP 1998 occupational";
    case LimitSet::Sc6Uncontrolled:
      return "Safety Code 6 uncontrolled";
    case LimitSet::Sc6Controlled:
      return "Safety Code 6 controlled";
  }
  return "";
}

QString DateTimeText(const QDateTime& when) {
  const int offset = when.offsetFromUtc();
  const int minutes = std::abs(offset) / 60;
  return when.toString("yyyy-MM-dd HH:mm") + QString(" (UTC%1%2:%3)")
                                                 .arg(offset < 0 ? '-' : '+')
                                                 .arg(minutes / 60, 2, 10, QChar('0'))
                                                 .arg(minutes % 60, 2, 10, QChar('0'));
}

QString OrNotGiven(const QString& text) {
  const QString t = text.trimmed();
  return t.isEmpty() ? QString("(not given)") : t;
}

void HeadingPart(RecordDocument& doc, const RecordInput& in) {
  doc.Title("RF exposure evaluation record");
  doc.Fields({
      {"Call sign", OrNotGiven(in.heading.callSign)},
      {"Site", OrNotGiven(in.heading.site)},
      {"Evaluated by", OrNotGiven(in.heading.evaluatedBy)},
      {"Date and time", DateTimeText(in.heading.madeAt)},
      {"Program", QString("Korrin ") + KORRIN_VERSION},
  });
}

void StationPart(RecordDocument& doc, const RecordInput& in, const Numbers& n) {
  const assess::StationSummary& s = in.station;
  std::vector<std::pair<QString, QString>> fields;
  fields.emplace_back("Band and frequency", QString(s.hfSide ? "HF side, " : "VHF–SHF side, ") +
                                                n.Frequency(s.frequencyMHz));
  fields.emplace_back("Transmitter power", n.Power(s.txPowerW));
  fields.emplace_back("Feed and other losses", n.Fixed(s.feedLossDb, 1) + " dB");
  fields.emplace_back("Power at the feed", n.Power(s.feedPowerW));
  fields.emplace_back("Transmission mode", Q(s.mode) + ", form factor " + n.Percent(s.formFactor));
  // The six-minute factor is kept in percent, as the window shows it.
  fields.emplace_back(
      "Operating pattern",
      Q(s.pattern) + ", " + n.Percent(s.sixMinuteFactor / 100) + " of each six minutes");
  fields.emplace_back("Overall transmission factor", n.Percent(s.overallFactor));
  fields.emplace_back("Antenna", Q(s.antenna) + ", gain " + n.Fixed(s.gainDbi, 2) + " dBi");
  fields.emplace_back("Ground reflection",
                      s.groundReflection
                          ? "counted, power × " + n.Fixed(s.groundReflectionFactor, 2)
                          : QString("not counted"));
  if (s.towerHeightM) fields.emplace_back("Tower height", n.Length(*s.towerHeightM));
  if (!in.stationFile.isEmpty()) {
    fields.emplace_back(
        "Station file",
        QFileInfo(in.stationFile).fileName() +
            (in.stationFileChanged ? QString(", with changes not saved to it") : QString()));
  }
  doc.Heading("The station");
  doc.Fields(fields);
}

void ResultsPart(RecordDocument& doc, const RecordInput& in, const Numbers& n) {
  const assess::Assessment& a = in.assessment;
  const bool tower = std::any_of(a.limits.begin(), a.limits.end(),
                                 [](const LimitEntry& e) { return e.headClearanceM.has_value(); });
  RecordTable t;
  t.header = {"Limit set", "Averaging", "Limit", "Limit in mW/cm²", "Keep-out distance"};
  t.widths = {30, 10, 14, 17, 15};
  if (tower) {
    t.widths = {26, 11, 12, 15, 10};
    t.header << "Ground clearance from the tower"
             << "Head-height clearance (" + n.Height(a.headHeightM) + " head)";
    t.widths.insert(t.widths.end(), {11, 11});
  }
  for (const LimitEntry& e : a.limits) {
    const bool evaluation = e.source == assess::EntrySource::Evaluation;
    const bool instantaneous = e.criterion == assess::Criterion::Instantaneous;
    // Today's limits name the frequency of the band their figures hold at.
    QString name = Q(assess::LimitSetName(e.set));
    if (evaluation && e.applies && e.frequencyMHz) {
      name += ", at " + n.Frequency(*e.frequencyMHz);
      if (e.frequencyReason != assess::FrequencyReason::Given) {
        name += " (" + ReasonText(e.frequencyReason) + ")";
      }
    }
    QStringList row;
    row << name + (e.selected ? " — selected in the window" : "");
    row << (instantaneous        ? QString("instantaneous")
            : e.averagingMinutes ? n.Fixed(*e.averagingMinutes, 0) + " min"
                                 : QString("—"));
    if (!e.applies || !e.limitWm2) {
      const bool band = evaluation && a.upperMHz > a.lowerMHz;
      row << "does not apply " +
                 (band ? "in " + n.Frequency(a.lowerMHz) + "–" + n.Frequency(a.upperMHz)
                       : "at " + n.Frequency(a.frequencyMHz))
          << "—"
          << "—";
      if (tower)
        row << "—"
            << "—";
    } else {
      row << n.Density(*e.limitWm2) << n.DensityMwCm2(*e.limitWm2);
      row << (e.keepOutM ? (*e.keepOutM > 0 ? n.CellLength(*e.keepOutM) : QString("none"))
                         : QString("—"));
      if (tower) {
        row << (e.towerClearanceM ? n.CellLength(*e.towerClearanceM) : QString("—"));
        row << (e.headClearanceM ? n.CellLength(*e.headClearanceM) : QString("—"));
      }
    }
    if (e.selected) t.strongRows.push_back(int(t.rows.size()));
    t.rows.push_back(row);
  }
  t.notes << "FCC and ICNIRP 2020: today's limits, by the station evaluation of the " +
                 (a.band ? Q(*a.band) + " band" : QString("frequency")) +
                 ", at the frequency where each keep-out distance is largest. The calculator's "
                 "standards: its own model at " +
                 n.Frequency(a.frequencyMHz) + ", as the window shows them.";
  t.notes << "Keep-out distance: the outermost distance along the main beam at which the average "
             "power density is above the limit; \"none\": below the limit at every distance.";
  if (tower) {
    t.notes
        << "Head-height clearance: the horizontal distance from the tower inside which the head "
           "of a person standing on the ground is within the keep-out distance.";
  }
  doc.Heading("Results");
  doc.Table(t);

  doc.Heading("FCC exemption test, 47 CFR 1.1307(b)(3)(i)(C)");
  if (!a.fccExemption) {
    doc.Paragraph("The exemption test covers 0.3 MHz to 100 GHz and does not apply at " +
                  n.Frequency(a.frequencyMHz) + ".");
  } else {
    const assess::FccExemption& x = *a.fccExemption;
    QString verdict;
    if (x.distanceM && x.exempt) {
      verdict = *x.exempt ? "Exempt at " + n.Length(*x.distanceM) +
                                ": no further evaluation is needed for people at that distance."
                          : "Not exempt at " + n.Length(*x.distanceM) +
                                ": the station must be evaluated there (see the results above).";
    } else {
      verdict =
          "No distance to the nearest person was given: the station is exempt wherever "
          "people are at least " +
          n.Length(x.minimumDistanceM) + " from the antenna.";
    }
    QString at = n.Frequency(x.frequencyMHz);
    if (x.frequencyReason != assess::FrequencyReason::Given) {
      at += " (" + ReasonText(x.frequencyReason) + ")";
    }
    doc.Fields({
        {"Frequency", at},
        {"Time-averaged ERP (30 minutes)", n.Power(x.erpW)},
        {"Reactive near field (λ/2π)", n.Length(x.reactiveNearFieldM)},
        {"Minimum exempt distance", n.Length(x.minimumDistanceM)},
        {"Verdict", verdict},
    });
  }

  doc.Heading("Warnings");
  if (a.warnings.empty()) {
    doc.Paragraph("None.");
  } else {
    QStringList items;
    for (const std::string& w : a.warnings) items << Q(w);
    doc.Bullets(items);
  }
}

void PlotPart(RecordDocument& doc, const RecordInput& in) {
  if (!in.plot) return;
  doc.Heading("Power density along the main beam");
  doc.Figure(kPlotHeightMm, in.plot);
}

void BandsPart(RecordDocument& doc, const RecordInput& in, const Numbers& n) {
  if (in.bands.empty()) return;
  const assess::LimitEntry* selected = in.assessment.Selected();
  // The FCC column is the station evaluation's, so the window's standard,
  // the calculator's FCC among them, has a column of its own.
  const bool selectedColumn = selected != nullptr;
  RecordTable t;
  t.header << "Band"
           << "Frequency";
  t.widths = {11, 11};
  if (selectedColumn) {
    t.header << "Keep-out, " + ShortName(selected->set) + " (selected)";
    t.widths.push_back(18);
  }
  t.header << "Keep-out, ICNIRP 2020" << QString("Keep-out, FCC general population")
           << "FCC minimum exempt distance";
  t.widths.insert(t.widths.end(), {18, 18, 18});
  const auto length = [&n](const std::optional<Real>& m) {
    if (!m) return QString("does not apply");
    return *m > 0 ? n.CellLength(*m) : QString("none");
  };
  for (const RecordBand& b : in.bands) {
    QStringList row;
    row << b.band << n.Frequency(b.frequencyMHz);
    if (selectedColumn) row << length(b.keepOutSelectedM);
    row << length(b.keepOutIcnirpM) << length(b.keepOutFccM);
    row << (b.fccMinimumExemptM ? n.CellLength(*b.fccMinimumExemptM) : QString("does not apply"));
    if (b.frequencyMHz == in.assessment.frequencyMHz) t.strongRows.push_back(int(t.rows.size()));
    t.rows.push_back(row);
  }
  t.notes << "Each band as the station stands on it; the band in use is in bold.";
  // A band evaluated away from the figure it is named by (28.5 MHz, at the
  // band's upper edge) says so.
  for (const RecordBand& b : in.bands) {
    const QString named = b.band.simplified();
    bool figure = false;
    const Real mhz = named.endsWith(" MHz") ? named.chopped(4).toDouble(&figure) : 0;
    if (figure && std::fabs(static_cast<double>(mhz - b.frequencyMHz)) > 1e-6) {
      t.notes << "The " + named + " band is evaluated at " + n.Frequency(b.frequencyMHz) +
                     ", the top of the band.";
    }
  }
  doc.Heading(QString("Every band of the ") + (in.station.hfSide ? "HF" : "VHF–SHF") + " side");
  doc.Table(t);
}

// ICNIRP 2010's nerve-stimulation levels apply up to this frequency.
constexpr Real kNerveStimulationToMHz = 10.0L;

void MethodPart(RecordDocument& doc, const RecordInput& in, const Numbers& n) {
  const assess::Assessment& a = in.assessment;
  const assess::StationSummary& s = in.station;
  doc.Heading("Method");
  QString text =
      "The average power density is computed along the main beam of the antenna, where it is "
      "greatest. The antenna's pattern is not used, so every distance in this record is the worst "
      "case for any direction. ";
  // Today's limits: the station evaluation.
  text +=
      "Today's limits (FCC 47 CFR 1.1310, both tiers, and ICNIRP 2020, general public and "
      "occupational) and the FCC exemption test come from the station evaluation of this station "
      "as one installation. " +
      (a.band ? "The " + Q(*a.band) + " band (" + n.Frequency(a.lowerMHz) + " to " +
                    n.Frequency(a.upperMHz) +
                    ") is evaluated at its edges and at every limit breakpoint inside it, and each "
                    "figure is given at the frequency where it is largest. "
              : QString()) +
      "The average power is the power at the antenna times the mode's duty factor and the "
      "fraction of each limit's averaging time (30 minutes; 6 for FCC occupational) that the "
      "operating pattern, taken as a cycle of minutes on and off, transmits in its worst "
      "window. The half-wave dipole's gain is 2.15 dBi. ";
  if (s.groundReflection) {
    text += a.farFieldBoundaryM
                ? QString(
                      "Ground reflection is not counted for the dish (OET 65's aperture "
                      "equations carry none). ")
                : QString(
                      "Ground reflection multiplies the density by 2.56 (OET 65, equation "
                      "6), once. ");
  }
  if (a.farFieldBoundaryM) {
    text +=
        "The dish's density is the larger of OET 65's aperture equations (16·η·P/(πD²) out to "
        "D²/(4λ), falling as 1/R to 0.6·D²/λ, the far-field formula beyond) and the program's "
        "near-field model of the dish. ";
  }
  if (a.lowerMHz <= kNerveStimulationToMHz) {
    text +=
        "From 0.1 to 10 MHz ICNIRP's 2010 nerve-stimulation levels are checked against the peak "
        "envelope power as well, and the larger keep-out distance stands. ";
  }
  text +=
      "The FCC exemption test "
      "compares the 30-minute ERP (without ground reflection: the thresholds contain their own; "
      "the gain over a half-wave dipole's 1.64) with the threshold for the distance, at every "
      "frequency evaluated. ";
  // The calculator's standards: its own model, a paragraph of their own.
  doc.Paragraph(text);
  text = "The calculator's standards (" +
         QString(a.Find(LimitSet::HandSet) ? "AS2772, ARPANSA 2002, its FCC and the hand-set limit"
                                           : "AS2772, ARPANSA 2002 and its FCC") +
         ") follow the calculator's own model at " + n.Frequency(a.frequencyMHz) +
         ", as the window shows them: the average power is the power at the feed times the "
         "overall transmission factor, set for six minutes. ";
  if (s.groundReflection) {
    text += "Ground reflection multiplies the power by " + n.Fixed(s.groundReflectionFactor, 2) +
            " (for the low-gain antennas of the HF side, the exclusion zone counts this factor a "
            "second time, as the window does). ";
  }
  if (a.farFieldBoundaryM) {
    text += "Inside the dish's far-field boundary (2D²/λ, " + n.Length(*a.farFieldBoundaryM) +
            ") the on-axis density follows the calculator's near-field model of the dish, which "
            "rises and falls with distance and can be above a limit in two ranges; the keep-out "
            "distance covers the gap between them. From the boundary on, the far-field formula "
            "S = P·G / (4πR²) is used. ";
  } else {
    text += "For this antenna the far-field formula S = P·G / (4πR²) is used at every distance. ";
  }
  text += "Closer than λ/2π (" + n.Length(a.reactiveNearFieldM) + " at " +
          n.Frequency(a.frequencyMHz) +
          ") is the reactive near field, where power density is not the right measure and the "
          "fields need an evaluation of their own.";
  doc.Paragraph(text);

  DisclaimerSection(doc);
}

}  // namespace

RecordPageSize PageSizeForLocale(const QLocale& locale) {
  switch (locale.territory()) {
    case QLocale::UnitedStates:
    case QLocale::Canada:
    case QLocale::Mexico:
    case QLocale::Belize:
    case QLocale::Chile:
    case QLocale::Colombia:
    case QLocale::CostaRica:
    case QLocale::ElSalvador:
    case QLocale::Guatemala:
    case QLocale::Nicaragua:
    case QLocale::Panama:
    case QLocale::Philippines:
    case QLocale::PuertoRico:
    case QLocale::Venezuela:
      return RecordPageSize::Letter;
    default:
      return RecordPageSize::A4;
  }
}

RecordDocument ComposeEvaluationRecord(const RecordInput& in) {
  const Numbers n(in.locale, in.station.metric);
  RecordDocument doc;
  const QString call = in.heading.callSign.trimmed();
  doc.SetFooter("RF exposure evaluation record" + (call.isEmpty() ? QString() : " of " + call) +
                " · Korrin " + KORRIN_VERSION);
  HeadingPart(doc, in);
  StationPart(doc, in, n);
  ResultsPart(doc, in, n);
  PlotPart(doc, in);
  BandsPart(doc, in, n);
  MethodPart(doc, in, n);
  doc.SignatureLines({"Signature of the evaluator", "Date"});
  return doc;
}

std::string WriteRecordDocument(const QString& path, const RecordDocument& doc,
                                RecordPageSize pageSize, const QString& title) {
  const std::string where = "cannot write " + path.toStdString();
  if (path.isEmpty()) return "no file was given for the record";
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  int pages = 0;
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(kPdfDpi);
    writer.setPageSize(
        QPageSize(pageSize == RecordPageSize::Letter ? QPageSize::Letter : QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Portrait);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    writer.setTitle(title);
    writer.setCreator(QString("Korrin ") + KORRIN_VERSION);
    pages = doc.Render(writer);
  }
  if (pages == 0) return where + " (the pages could not be drawn)";
  return WriteWholeFile(path, bytes);
}

std::string WriteEvaluationRecord(const QString& path, const RecordInput& input,
                                  RecordPageSize pageSize) {
  const QString call = input.heading.callSign.trimmed();
  return WriteRecordDocument(
      path, ComposeEvaluationRecord(input), pageSize,
      "RF exposure evaluation record" + (call.isEmpty() ? QString() : " of " + call));
}

}  // namespace korrin
