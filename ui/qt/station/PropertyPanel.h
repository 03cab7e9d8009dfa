// The property line's settings in the station window: whether the station
// has one (the boundary of the area the licensee controls), the unit of its
// corners and the height at which it is checked.  The corners themselves
// are a table of the window.
#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace korrin {

class StationDocument;

class PropertyPanel : public QWidget {
  Q_OBJECT
 public:
  PropertyPanel(StationDocument& document, QWidget* parent = nullptr);

  void Show();
  // The unit of a new line's corners.
  void SetNewLengthFeet(bool feet) { feet_ = feet; }

 signals:
  void refused(const QString& message);
  void accepted();

 private:
  StationDocument& document_;
  QCheckBox* on_ = nullptr;
  QComboBox* unit_ = nullptr;
  QLineEdit* height_ = nullptr;
  bool feet_ = false;
  bool showing_ = false;
};

}  // namespace korrin
