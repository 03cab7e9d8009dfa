#include "ui/qt/station/PropertyPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>

#include "ui/qt/station/StationDocument.h"
#include "ui/station/CellEdit.h"
#include "ui/station/Columns.h"

namespace korrin {

namespace su = stationui;
using station::LengthUnit;

PropertyPanel::PropertyPanel(StationDocument& document, QWidget* parent)
    : QWidget(parent), document_(document) {
  auto* form = new QFormLayout(this);
  form->setContentsMargins(0, 0, 0, 0);
  on_ = new QCheckBox(tr("The station has a property &line (the boundary of the area the "
                         "licensee controls)"),
                      this);
  on_->setObjectName("propertyLine");
  on_->setAccessibleName(tr("Property line"));
  unit_ = new QComboBox(this);
  unit_->setObjectName("outlineUnit");
  unit_->addItem(tr("metres"));
  unit_->addItem(tr("feet"));
  unit_->setAccessibleName(tr("Unit of the corners"));
  height_ = new QLineEdit(this);
  height_->setObjectName("propertyHeight");
  height_->setAccessibleName(tr("Height at which the line is checked"));
  height_->setPlaceholderText(tr("2 m: a standing head"));
  form->addRow(on_);
  form->addRow(tr("Corners &in:"), unit_);
  form->addRow(tr("Checked at a &height of:"), height_);

  auto take = [this](su::Outcome outcome) {
    if (outcome.Refused()) {
      emit refused(QString::fromStdString(outcome.refusal));
      Show();
    } else {
      if (outcome.edit) document_.Push(std::move(*outcome.edit));
      emit accepted();
    }
  };
  connect(on_, &QCheckBox::clicked, this, [this, take](bool on) {
    take(su::SetPropertyLine(document_.Station(), on,
                             feet_ ? LengthUnit::Feet : LengthUnit::Metres));
  });
  connect(unit_, &QComboBox::activated, this, [this, take](int item) {
    take(
        su::SetOutlineUnit(document_.Station(), item == 1 ? LengthUnit::Feet : LengthUnit::Metres));
  });
  connect(height_, &QLineEdit::editingFinished, this, [this, take] {
    if (showing_ || !height_->isModified()) return;
    height_->setModified(false);
    take(su::SetPropertyHeight(document_.Station(), height_->text().toStdString()));
  });
  connect(&document_, &StationDocument::changed, this, &PropertyPanel::Show);
  Show();
}

void PropertyPanel::Show() {
  showing_ = true;
  const auto& property = document_.Station().property;
  on_->setChecked(property.has_value());
  unit_->setEnabled(property.has_value());
  height_->setEnabled(property.has_value());
  if (property) {
    unit_->setCurrentIndex(property->unit == LengthUnit::Feet ? 1 : 0);
    const QString height = QString::fromStdString(su::LengthText(property->height));
    if (!(height_->hasFocus() && height_->isModified())) height_->setText(height);
  } else {
    height_->clear();
  }
  showing_ = false;
}

}  // namespace korrin
