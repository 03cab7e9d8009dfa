// The evaluation record of a whole station, as a PDF document the licensee
// keeps: a summary page (heading, verdict, the places and their sums, the
// property line, the failures with their margins), the site plan, a section
// per installation (its inputs in the user's words, its results and the
// density along its beam against every limit), the warnings, the method
// with its sources, the disclaimer and lines to sign.  Vector throughout,
// on A4 or US Letter, written through a temporary file.
#pragma once

#include <QString>
#include <string>

#include "assess/NearFieldStation.h"
#include "assess/StationEvaluation.h"
#include "station/Station.h"
#include "ui/qt/record/EvaluationRecord.h"

namespace korrin {

struct StationRecordInput {
  RecordHeading heading;
  QString stationFile;              // the file the station was read from or saved to; may be empty
  bool stationFileChanged = false;  // the station differs from that file
  station::Station station;
  assess::StationEvaluation evaluation;  // with the near field's exposure in the sums
  // The near field of each wire installation, in the file's order.
  std::vector<assess::NearFieldInstallation> nearField;
  bool feet = false;  // distances in feet as well as metres
};

// The record's input for `station` as it stands: evaluated now with the
// near field of its wire antennas (computed by the NEC-2 engine; an
// antenna's nec-file found beside `file`), the heading the station's own
// (call sign, site, who evaluated) and the time now.
StationRecordInput StationRecordInputOf(const station::Station& station, const QString& file,
                                        bool changed, bool feet);

// The same for a station already evaluated with its near field (as
// korrin-report has done), so that the record says what the report says.
StationRecordInput StationRecordInputOf(const station::Station& station,
                                        const assess::StationEvaluation& evaluation,
                                        std::vector<assess::NearFieldInstallation> nearField,
                                        const QString& file, bool changed, bool feet);

RecordDocument ComposeStationRecord(const StationRecordInput& input);

// Writes the record; "" on success, else why it was not written (and no
// file is left).
std::string WriteStationRecord(const QString& path, const StationRecordInput& input,
                               RecordPageSize pageSize);

}  // namespace korrin
