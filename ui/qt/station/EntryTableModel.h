// A table of the station window over the document's station, not a copy of
// it: a row for each transmitter, feed line, antenna, installation, place
// or corner of the property line, a column as ui/station/Columns.h sets
// out.  Typing into a cell makes the edit of ui/station/CellEdit.h and
// pushes it onto the document's undo stack; an edit the file would refuse
// is not stored, and the model says why.
#pragma once

#include <QAbstractTableModel>
#include <functional>
#include <optional>

#include "station/Station.h"
#include "ui/station/Columns.h"

namespace korrin {

class StationDocument;

// Roles beyond Qt's: the choices of a picker (a QStringList of words and
// one of labels) and the column's kind.
enum StationTableRole {
  kChoiceWordsRole = Qt::UserRole + 1,
  kChoiceLabelsRole,
  kCellKindRole,
  kRowNameRole,
};

class EntryTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  EntryTableModel(StationDocument& document, stationui::Table table, QObject* parent = nullptr);

  stationui::Table TableShown() const { return table_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // Takes the text typed (Qt::EditRole): false when the edit was refused
  // (refused() tells why) or changes nothing.
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

  // The unit of a bare number typed into a length that has none yet, and
  // of the lengths of new rows.
  void SetNewLengthUnit(station::LengthUnit unit) { newUnit_ = unit; }
  station::LengthUnit NewLengthUnit() const { return newUnit_; }

  // Asked when an entry needs another cell with this one (a dish's
  // diameter with the kind "dish"): the needed cell, the text proposed and
  // why; the text for it, or nothing to leave the entry as it was.
  std::function<std::optional<QString>(const QModelIndex& needed, const QString& proposed,
                                       const QString& why)>
      askForCell;

 signals:
  // An entry typed into `index` was refused: `message` in the file's words.
  void refused(const QModelIndex& index, const QString& message);
  // An entry typed into `index` was taken (also one that changes nothing).
  void accepted(const QModelIndex& index);

 private:
  void Before(const stationui::Step& step);
  void After(const stationui::Step& step);

  StationDocument& document_;
  stationui::Table table_;
  station::LengthUnit newUnit_ = station::LengthUnit::Metres;
  bool moving_ = false;
};

}  // namespace korrin
