// The evaluation record: the station's RF exposure assessment as a PDF
// document a licensee keeps (heading, station, results, plot, every band,
// method, disclaimer and a line to sign), written atomically.
#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "assess/Assessment.h"
#include "ui/NumberText.h"
#include "ui/qt/record/RecordDocument.h"

namespace korrin {

enum class RecordPageSize { A4, Letter };

// The usual paper of the locale's territory: US Letter in the Americas
// that use it and the Philippines, A4 elsewhere.
RecordPageSize PageSizeForLocale(const QLocale& locale);

struct RecordHeading {
  QString callSign;
  QString site;         // address or grid locator
  QString evaluatedBy;  // who made the evaluation
  QDateTime madeAt;     // when it was made (local time with its offset)
};

// One band of the station's side, evaluated as the band click would leave
// the station: keep-out distances in metres (empty where the set does not
// apply) and the FCC minimum exempt distance.
struct RecordBand {
  QString band;  // the band's name
  Real frequencyMHz = 0;
  std::optional<Real> keepOutSelectedM;
  std::optional<Real> keepOutIcnirpM;
  std::optional<Real> keepOutFccM;
  std::optional<Real> fccMinimumExemptM;
};

struct RecordInput {
  RecordHeading heading;
  QString stationFile;              // the station file last loaded or saved, empty before any
  bool stationFileChanged = false;  // the station differs from that file
  assess::StationSummary station;
  assess::Assessment assessment;
  std::vector<RecordBand> bands;
  FigurePainter plot;  // the assessment's plot; no figure when empty
  NumberLocale locale;
};

class TForm1;

// The station's side evaluated band by band, as clicking each band would
// leave the station; `form` itself is not touched.
std::vector<RecordBand> EveryBandOfTheSide(const TForm1& form, const assess::Options& options);

// Everything the record shows about the station `form` holds now, and the
// station file it was last loaded from or saved to.
RecordInput EvaluationRecordInput(const TForm1& form, const assess::Options& options,
                                  const RecordHeading& heading);

// The record's pages, ready to render.
RecordDocument ComposeEvaluationRecord(const RecordInput& input);

// Writes `doc` as a PDF of the given paper to `path` through the program's
// one writer (the document's `title` in the PDF's properties).
// Returns "" on success, else the reason it was not written.
std::string WriteRecordDocument(const QString& path, const RecordDocument& doc,
                                RecordPageSize pageSize, const QString& title);

// Writes the record to `path` through the program's one writer, so that a
// failed write leaves no file and an existing file untouched.
// Returns "" on success, else the reason it was not written.
std::string WriteEvaluationRecord(const QString& path, const RecordInput& input,
                                  RecordPageSize pageSize);

}  // namespace korrin
