// The station's heading in the station window: call sign, site, who
// evaluated, the ITU region, the limit sets and whether the ground's
// reflection is counted unless an installation says otherwise.  A field
// shows the document's value and, once left after a change, makes one edit
// of the heading; a refused one goes back to the value it had.
#pragma once

#include <QGroupBox>

#include "ui/station/CellEdit.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace korrin {

class StationDocument;

class HeadingPanel : public QGroupBox {
  Q_OBJECT
 public:
  HeadingPanel(StationDocument& document, QWidget* parent = nullptr);

  // Shows the document's heading (fields being typed in are left alone).
  void Show();

 signals:
  void refused(const QString& message);
  void accepted();

 private:
  void Commit(const stationui::Heading& wanted);

  StationDocument& document_;
  QLineEdit* callsign_ = nullptr;
  QLineEdit* site_ = nullptr;
  QLineEdit* evaluatedBy_ = nullptr;
  QComboBox* region_ = nullptr;
  QCheckBox* fcc_ = nullptr;
  QCheckBox* icnirp_ = nullptr;
  QCheckBox* icnirp1998_ = nullptr;
  QCheckBox* sc6_ = nullptr;
  QComboBox* country_ = nullptr;
  QComboBox* ground_ = nullptr;
  bool showing_ = false;
};

}  // namespace korrin
