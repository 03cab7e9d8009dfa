#include "ui/qt/station/StationRecord.h"

#include <QFileInfo>
#include <QPainter>
#include <cmath>

#include "nearfield/Cache.h"
#include "station/FileWords.h"
#include "ui/Controls.h"
#include "ui/qt/nearfield/InstallationMap.h"
#include "ui/qt/nearfield/NearFieldMapPainter.h"
#include "ui/qt/station/InstallationPlot.h"
#include "ui/qt/station/SitePlanPainter.h"
#include "ui/station/Columns.h"
#include "ui/station/ResultTables.h"

#ifndef KORRIN_VERSION
#define KORRIN_VERSION "4.4"
#endif

namespace korrin {

namespace {

namespace su = stationui;

constexpr qreal kPlanHeightMm = 165.0;
constexpr qreal kPlotHeightMm = 95.0;
// The near-field maps in the proportions of their picture file.
constexpr qreal kNearFieldMapHeightMm = 170.0 * 860.0 / 1400.0;
// The figures are laid out as on a screen this many pixels wide and scaled
// to the page, so that their type and lines keep their proportions
// whatever the page's resolution.
constexpr qreal kFigureWidthPx = 900.0;

// Calls `paint` with the figure's area in screen pixels.
template <typename Paint>
void OnScreenScale(QPainter& painter, const QRectF& target, const Paint& paint) {
  const qreal scale = target.width() / kFigureWidthPx;
  painter.translate(target.topLeft());
  painter.scale(scale, scale);
  paint(QRectF(QPointF(0, 0), target.size() / scale));
}

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString OrNotGiven(const QString& text) {
  const QString t = text.trimmed();
  return t.isEmpty() ? QString("(not given)") : t;
}

QString DateTimeText(const QDateTime& when) {
  const int offset = when.offsetFromUtc();
  const int minutes = std::abs(offset) / 60;
  return when.toString("yyyy-MM-dd HH:mm") + QString(" (UTC%1%2:%3)")
                                                 .arg(offset < 0 ? '-' : '+')
                                                 .arg(minutes / 60, 2, 10, QChar('0'))
                                                 .arg(minutes % 60, 2, 10, QChar('0'));
}

// An entry as the window's table shows it: "Power 100 W; Mode or duty ...",
// the id left out.
QString EntryWords(const station::Station& s, su::Table table, std::size_t row) {
  QStringList parts;
  const auto columns = su::Columns(table);
  for (std::size_t c = 1; c < columns.size(); ++c) {
    const std::string text = su::CellText(s, table, row, c);
    if (text.empty()) continue;
    parts << Q(columns[c].header) + " " + Q(text);
  }
  return parts.join("; ");
}

template <typename List>
std::optional<std::size_t> RowOf(const List& list, const std::string& id) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i].id == id) return i;
  }
  return std::nullopt;
}

RecordTable TableOf(const su::TextTable& t, const std::vector<qreal>& widths,
                    const std::vector<std::size_t>& columns, const std::string& subject = {}) {
  RecordTable out;
  for (const std::size_t c : columns) out.header << Q(t.header[c]);
  out.widths = widths;
  for (std::size_t i = 0; i < t.rows.size(); ++i) {
    if (!subject.empty() && t.subject[i] != subject) continue;
    QStringList row;
    for (const std::size_t c : columns) row << Q(t.rows[i][c]);
    if (t.over[i]) out.strongRows.push_back(static_cast<int>(out.rows.size()));
    out.rows.push_back(row);
  }
  return out;
}

void SummaryPart(RecordDocument& doc, const StationRecordInput& in) {
  const station::Station& s = in.station;
  const assess::StationEvaluation& e = in.evaluation;
  doc.Title("RF exposure evaluation of the station");
  std::vector<std::pair<QString, QString>> fields{
      {"Call sign", OrNotGiven(in.heading.callSign)},
      {"Site", OrNotGiven(in.heading.site)},
      {"Evaluated by", OrNotGiven(in.heading.evaluatedBy)},
      {"Date and time", DateTimeText(in.heading.madeAt)},
      {"Program", QString("Korrin ") + KORRIN_VERSION},
      {"Rules applied", QString::fromStdString(assess::RulesAppliedText(e))},
      {"ITU region", QString::number(s.region)},
      {"Ground reflection", s.groundReflection.value_or(true)
                                ? (s.groundReflection ? "counted (OET 65 factor 2.56)"
                                                      : "not stated: counted (OET 65 factor 2.56)")
                                : "not counted unless an installation says so"},
      {"Installations", QString::number(s.installations.size())},
  };
  if (!in.stationFile.isEmpty()) {
    fields.emplace_back(
        "Station file",
        QFileInfo(in.stationFile).fileName() +
            (in.stationFileChanged ? QString(", with changes not saved to it") : QString()));
  }
  doc.Fields(fields);

  doc.Heading("Verdict");
  doc.Paragraph(Q(su::VerdictLine(e)));

  doc.Heading("Places");
  if (e.places.empty()) {
    doc.Paragraph("The station gives no place where people can be.");
  } else {
    RecordTable places = TableOf(su::PlaceResults(e), {22, 17, 9, 30, 10, 12}, {0, 1, 2, 3, 4, 5});
    places.notes << "Sum of fractions: over the transmitters of a group, each one's largest "
                    "exposure over its limit among its installations; at most 1 complies. "
                    "Margin 10·log10(1/sum). Rows over their limit are in bold.";
    doc.Table(places);
  }

  doc.Heading("Property line");
  if (!s.property) {
    doc.Paragraph("The station gives no property line.");
  } else {
    RecordTable line =
        TableOf(su::PropertyResults(e, in.feet), {12, 38, 14, 14, 22}, {0, 1, 2, 3, 4});
    line.notes << "The largest general-public sum along the line at " +
                      Q(su::DistanceText(e.propertyHeightM.value_or(s.property->height.Metres()),
                                         in.feet)) +
                      " height, sampled every 0.25 m; beyond the line is the general public's.";
    doc.Table(line);
  }

  doc.Heading("Failures");
  if (e.verdict.failures.empty()) {
    doc.Paragraph(Q(su::NoFailureWords(!e.places.empty(), s.property.has_value())));
  } else {
    QStringList failures;
    for (const std::string& f : e.verdict.failures) failures << Q(f);
    doc.Bullets(failures);
  }
}

void PlanPart(RecordDocument& doc, const StationRecordInput& in) {
  doc.PageBreak();
  doc.Heading("Site plan");
  const su::SitePlanContent content = su::SitePlanOf(in.station, in.evaluation);
  SitePlanStyle style;
  style.feet = in.feet;
  doc.Figure(kPlanHeightMm, [content, style](QPainter& painter, const QRectF& target) {
    OnScreenScale(painter, target,
                  [&](const QRectF& area) { PaintSitePlan(painter, area, content, style); });
  });
  doc.SmallParagraph(
      "North is up. Each circle is the keep-out zone of one installation alone under the "
      "general-public limits, its sphere cut at the places' height; a place or the line can be "
      "over the limits outside every circle when installations of one group add up.");
}

void InstallationPart(RecordDocument& doc, const StationRecordInput& in,
                      const assess::InstallationResult& r, const su::TextTable& results,
                      const su::TextTable& exemption) {
  const station::Station& s = in.station;
  doc.Heading("Installation \"" + Q(r.id) + "\"");
  std::vector<std::pair<QString, QString>> fields;
  if (const auto row = RowOf(s.installations, r.id)) {
    fields.emplace_back("Installation", EntryWords(s, su::Table::Installations, *row));
  }
  if (const auto row = RowOf(s.transmitters, r.transmitter)) {
    fields.emplace_back("Transmitter \"" + Q(r.transmitter) + "\"",
                        EntryWords(s, su::Table::Transmitters, *row));
  }
  if (r.feedline) {
    if (const auto row = RowOf(s.feedlines, *r.feedline)) {
      fields.emplace_back("Feed line \"" + Q(*r.feedline) + "\"",
                          EntryWords(s, su::Table::Feedlines, *row));
    }
  } else {
    fields.emplace_back("Feed line", "none: no loss");
  }
  if (const auto row = RowOf(s.antennas, r.antenna)) {
    fields.emplace_back("Antenna \"" + Q(r.antenna) + "\"",
                        EntryWords(s, su::Table::Antennas, *row));
  }
  doc.Fields(fields);
  doc.Table(TableOf(results, {26, 17, 12, 12, 13, 20}, {1, 2, 3, 4, 5, 6}, r.id));
  for (std::size_t i = 0; i < exemption.rows.size(); ++i) {
    if (exemption.subject[i] != r.id) continue;
    const auto& x = exemption.rows[i];
    doc.SmallParagraph("FCC exemption, 47 CFR 1.1307(b)(3)(i)(C): 30-minute ERP " + Q(x[2]) +
                       " W at " + Q(x[1]) + " MHz; λ/2π " + Q(x[3]) + "; exempt from " + Q(x[4]) +
                       (x[5] == "—"
                            ? QString()
                            : "; nearest public place " + Q(x[5]) + ", exempt there: " + Q(x[6])) +
                       ".");
  }
  const bool feet = in.feet;
  doc.Figure(kPlotHeightMm, [r, feet](QPainter& painter, const QRectF& target) {
    OnScreenScale(painter, target,
                  [&](const QRectF& area) { PaintInstallationPlot(painter, area, r, feet); });
  });
}

// The cards of a deck as lines; the field requests of single points (the
// places and the property line's points) counted rather than listed.
QStringList DeckLines(const std::string& deck, int& singlePoints) {
  QStringList lines;
  singlePoints = 0;
  for (const QString& line : Q(deck).split('\n', Qt::SkipEmptyParts)) {
    const QStringList f = line.simplified().split(' ');
    const bool request = !f.isEmpty() && (f[0] == "NE" || f[0] == "NH");
    if (request && f.size() >= 5 && f[2] == "1" && f[3] == "1" && f[4] == "1") {
      if (f[0] == "NE") ++singlePoints;
      continue;
    }
    lines << line;
  }
  return lines;
}

void NearFieldPart(RecordDocument& doc, const assess::NearFieldInstallation& n, bool feet) {
  namespace nf = korrin::nearfield;
  doc.Heading("Near field of installation \"" + Q(n.installation) + "\"");
  if (n.status != nf::Status::Done) {
    doc.Paragraph("Not computed: " + Q(n.message) +
                  ". The sums at the places and along the property line take this "
                  "installation's far-field estimate.");
    return;
  }
  const nf::Solution& s = *n.solution;
  const auto number = [](long double v, int decimals) {
    return QString::number(static_cast<double>(v), 'f', decimals);
  };
  doc.Paragraph(
      "Antenna \"" + Q(n.antenna) + "\" modelled by the NEC-2 engine (" + Q(s.engine) + ") at " +
      number(n.frequencyMHz, 3) + " MHz: " + QString::number(s.segments) +
      " segments, input impedance " + number(s.impedanceOhm.real(), 1) +
      (s.impedanceOhm.imag() < 0 ? " − j" : " + j") + number(std::abs(s.impedanceOhm.imag()), 1) +
      " Ω. The fields are scaled to the power at the antenna (" + number(n.power.peakEnvelopeW, 1) +
      " W peak envelope, " + number(n.power.average6MinW, 1) + " W over 6 minutes, " +
      number(n.power.average30MinW, 1) + " W over 30 minutes) and taken on a grid of " +
      number(s.stepM, 2) +
      " m. The exposure is the larger of (E/E_L)² and (H/H_L)², 1 at the limit. Its values at "
      "the places and along the property line stand in the sums in place of the far-field "
      "estimate.");
  RecordTable t;
  t.header = {"Limit set and tier", "Field keep-out at head height", "Over the whole body",
              "Whole body set by", "Largest at head height"};
  t.widths = {30, 18, 18, 19, 15};
  for (const nf::CaseResult& r : n.results) {
    const QString name = Q(assess::CriterionName(assess::SetOf(r), assess::TierOf(r),
                                                 assess::Criterion::TimeAveraged));
    if (!r.applies) {
      t.rows.push_back({name, "no field limits here", "", "", ""});
      continue;
    }
    t.rows.push_back({name, KeepOutWords(r.headKeepOut, feet),
                      KeepOutWords(r.wholeBodyKeepOut, feet),
                      r.wholeBodyGoverns == nf::Criterion::WholeBodyAverage
                          ? QString("the spatial average")
                          : QString("the levels at every point"),
                      QString::number(r.headPeak.value, 'g', 3) + " of the limit"});
  }
  t.notes << "Head height: the plan at " + number(s.plan.origin.z, 1) +
                 " m. Whole body: the mean of the squared fields from the ground to " +
                 number((s.columns.levels - 1) * s.columns.levelStepM, 1) +
                 " m; for ICNIRP its local levels (2020 Table 6) and, below 10 MHz, the 2010 "
                 "nerve-stimulation levels on the peak envelope power must hold at every point "
                 "too, and set the whole-body distance where they reach farther than the "
                 "spatial average.";
  doc.Table(t);
  if (!n.places.empty()) {
    RecordTable p;
    p.header = {"Place", "Limit set and tier", "Exposure from this installation"};
    p.widths = {30, 45, 25};
    for (const assess::NearFieldPlace& place : n.places) {
      for (std::size_t k = 0; k < place.exposure.size() && k < n.results.size(); ++k) {
        const nf::CaseResult& r = n.results[k];
        p.rows.push_back(
            {Q(place.name),
             Q(assess::CriterionName(assess::SetOf(r), assess::TierOf(r),
                                     assess::Criterion::TimeAveraged)),
             QString::number(static_cast<double>(place.exposure[k]), 'g', 3) + " of the limit"});
      }
    }
    doc.Table(p);
  }
  QStringList notes;
  for (const std::string& note : n.notes) notes << Q(note);
  if (!notes.isEmpty()) doc.Bullets(notes);
  // The maps under each limit set and tier.
  for (const nf::CaseResult& r : n.results) {
    if (!r.applies) continue;
    const nf::NearFieldMap map = InstallationMap(n, r);
    const NearFieldMapStyle style = InstallationMapStyle(n, r, feet);
    doc.Figure(kNearFieldMapHeightMm, [map, style](QPainter& painter, const QRectF& target) {
      const qreal scale = target.width() / kNearFieldMapFileSize.width();
      painter.translate(target.topLeft());
      painter.scale(scale, scale);
      PaintNearFieldMap(painter, QRectF(QPointF(0, 0), target.size() / scale), map, style);
    });
  }
  int singlePoints = 0;
  const QStringList model = DeckLines(s.patternDeck, singlePoints);
  doc.SmallParagraph(
      "The NEC deck of the model (the engine's first run: the structure, its "
      "ground, the frequency, the 1 V source and the radiation pattern for the "
      "peak gain):");
  doc.Lines(model);
  const QStringList fields = DeckLines(s.deck, singlePoints);
  QStringList requests;
  for (const QString& line : fields) {
    if (line.startsWith("NE") || line.startsWith("NH")) requests << line;
  }
  doc.SmallParagraph(
      "The second run, for the fields, takes the same cards with these near-field requests in "
      "place of the pattern (the plan, the whole-body columns and the two side views)" +
      (singlePoints == 1 ? QString(", and one NE and one NH card for a single point (a place or a "
                                   "point of the property line)")
       : singlePoints > 1
           ? QString(", and one NE and one NH card for each of %1 single points (the places "
                     "and the property line's points)")
                 .arg(singlePoints)
           : QString()) +
      ":");
  doc.Lines(requests);
}

void MethodPart(RecordDocument& doc) {
  doc.Heading("Method and sources");
  doc.Paragraph(
      "Each installation (one transmitter through one feed line to one antenna) is evaluated "
      "along the main beam of its antenna, where the exposure is greatest; the beam is taken to "
      "point at every place. The feed line's loss comes from the cable's matched loss per 100 m "
      "(the makers' data sheets, data/cables.csv), with the extra loss an SWR causes. The "
      "average power is the power at the antenna times the mode's duty factor (FCC OET Bulletin "
      "65, Supplement B, Table 2; data/modes.csv) and the worst share of the averaging time a "
      "transmit/receive cycle can take: 30 minutes for the general public (FCC and ICNIRP) and "
      "for ICNIRP occupational, 6 minutes for FCC occupational. The far-field density is "
      "S = F·EIRP/(4πR²) with F = 2.56 where the ground's reflection is counted (OET 65, "
      "equation 6); a dish follows OET 65's aperture equations beside the program's own "
      "near-field model of the same dish, the larger keep-out distance standing. An "
      "installation given by band is evaluated at the band's edges (Radio Regulations Article "
      "5 and the national tables, data/bands.csv) and at every limit's breakpoint inside, and "
      "the frequency with the largest keep-out distance is reported.");
  doc.Paragraph(
      "Limits: FCC 47 CFR 1.1310 (2021) Table 1, general population / uncontrolled and "
      "occupational / controlled; ICNIRP 2020 (Health Physics 118(5):483–524; ARPANSA RPS S-1, "
      "2021) Table 5, whole body, below 30 MHz as the plane-wave equivalent E²/377, and from "
      "0.1 to 10 MHz ICNIRP 2010's nerve-stimulation levels on the peak envelope power. The FCC "
      "exemption test is 47 CFR 1.1307(b)(3)(i)(C), and its sum at a place 47 CFR "
      "1.1307(b)(3)(ii)(B).");
  doc.Paragraph(
      "At each place and along the property line (sampled every 0.25 m), the installations of "
      "one group may be in use together; a transmitter drives one installation at a time. The "
      "sum of fractions adds, over the transmitters, each one's largest S/S_L among its "
      "installations (OET 65, multiple transmitters; ICNIRP 2020's summation), in the place's "
      "tier: the occupational tier only for the licensee and a household aware of the exposure "
      "(47 CFR 97.13(c)). The station complies when every sum is at most 1.");
  doc.Paragraph(
      "Wire antennas (their own wires, a NEC deck, or a dipole, inverted V, vertical or ground "
      "plane the program models) are computed by the NEC-2 engine nec2c (method of moments, "
      "Sommerfeld–Norton for a real ground). Its electric and magnetic fields, peak amplitudes "
      "per volt of the source, are turned into RMS values and scaled by √(P/P_input) to each "
      "averaging time's power, and judged against the field-strength limits: FCC 47 CFR 1.1310 "
      "Table 1 (E and H) and ICNIRP 2020 Tables 5 and 6 with ICNIRP 2010's nerve-stimulation "
      "levels (data/field-limits.csv). NEC-2 takes a ground-mounted base as perfectly connected "
      "and cannot model buried radials.");
}

QString TitleOf(const StationRecordInput& in) {
  const QString call = in.heading.callSign.trimmed();
  return "RF exposure evaluation of the station" + (call.isEmpty() ? QString() : " " + call);
}

}  // namespace

StationRecordInput StationRecordInputOf(const station::Station& station,
                                        const assess::StationEvaluation& evaluation,
                                        std::vector<assess::NearFieldInstallation> nearField,
                                        const QString& file, bool changed, bool feet) {
  StationRecordInput in;
  in.heading.callSign = Q(station.callsign);
  in.heading.site = Q(station.site);
  in.heading.evaluatedBy = Q(station.evaluatedBy);
  in.heading.madeAt = QDateTime::currentDateTime();
  in.stationFile = file;
  in.stationFileChanged = changed;
  in.station = station;
  in.evaluation = evaluation;
  in.nearField = std::move(nearField);
  in.feet = feet;
  return in;
}

StationRecordInput StationRecordInputOf(const station::Station& station, const QString& file,
                                        bool changed, bool feet) {
  assess::NearFieldOptions options;
  options.cacheFolder = nearfield::DefaultCacheFolder();
  if (!file.isEmpty()) options.folder = QFileInfo(file).absolutePath().toStdString();
  assess::StationNearField near = assess::EvaluateWithNearField(station, options);
  return StationRecordInputOf(station, near.evaluation, std::move(near.installations), file,
                              changed, feet);
}

RecordDocument ComposeStationRecord(const StationRecordInput& in) {
  RecordDocument doc;
  doc.SetFooter(TitleOf(in) + " · Korrin " + KORRIN_VERSION);
  SummaryPart(doc, in);
  PlanPart(doc, in);
  const su::TextTable results = su::InstallationResults(in.evaluation, in.feet);
  const su::TextTable exemption = su::ExemptionResults(in.evaluation, in.feet);
  for (const assess::InstallationResult& r : in.evaluation.installations) {
    InstallationPart(doc, in, r, results, exemption);
    for (const assess::NearFieldInstallation& n : in.nearField) {
      if (n.installation == r.id) NearFieldPart(doc, n, in.feet);
    }
  }
  doc.Heading("Warnings");
  if (in.evaluation.warnings.empty()) {
    doc.Paragraph("None.");
  } else {
    QStringList warnings;
    for (const std::string& w : in.evaluation.warnings) warnings << Q(w);
    doc.Bullets(warnings);
  }
  MethodPart(doc);
  DisclaimerSection(doc);
  doc.SignatureLines({"Signature of the evaluator", "Date"});
  return doc;
}

std::string WriteStationRecord(const QString& path, const StationRecordInput& input,
                               RecordPageSize pageSize) {
  return WriteRecordDocument(path, ComposeStationRecord(input), pageSize, TitleOf(input));
}

}  // namespace korrin
