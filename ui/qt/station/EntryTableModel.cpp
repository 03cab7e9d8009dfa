#include "ui/qt/station/EntryTableModel.h"

#include <QApplication>
#include <QBrush>
#include <QPalette>
#include <QStringList>

#include "ui/qt/station/StationDocument.h"
#include "ui/station/CellEdit.h"

namespace korrin {

namespace su = stationui;
using su::Step;

namespace {

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

bool RightAligned(su::CellKind kind) {
  return kind == su::CellKind::Number || kind == su::CellKind::Length ||
         kind == su::CellKind::Gain || kind == su::CellKind::Cycle;
}

}  // namespace

EntryTableModel::EntryTableModel(StationDocument& document, su::Table table, QObject* parent)
    : QAbstractTableModel(parent), document_(document), table_(table) {
  connect(&document_, &StationDocument::aboutToApply, this, &EntryTableModel::Before);
  connect(&document_, &StationDocument::applied, this, &EntryTableModel::After);
  connect(&document_, &StationDocument::aboutToReset, this, [this] { beginResetModel(); });
  connect(&document_, &StationDocument::wasReset, this, [this] { endResetModel(); });
}

int EntryTableModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return static_cast<int>(su::RowCount(document_.Station(), table_));
}

int EntryTableModel::columnCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return static_cast<int>(su::Columns(table_).size());
}

QVariant EntryTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
  const auto row = static_cast<std::size_t>(index.row());
  const auto column = static_cast<std::size_t>(index.column());
  const su::Column& c = su::Columns(table_)[column];
  const station::Station& s = document_.Station();
  switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
      return Q(su::CellText(s, table_, row, column));
    case Qt::EditRole:
      return Q(su::EditText(s, table_, row, column));
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
      return QString::fromUtf8(c.help.data(), static_cast<qsizetype>(c.help.size()));
    case Qt::ForegroundRole:
      // A value the entry does not give itself (derived, or not applying).
      if (!su::CellGiven(s, table_, row, column)) {
        return QApplication::palette().brush(QPalette::Disabled, QPalette::Text);
      }
      return {};
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::Alignment(
          (RightAligned(c.kind) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
    case kChoiceWordsRole:
    case kChoiceLabelsRole: {
      QStringList list;
      for (const su::Choice& choice : su::Choices(s, table_, column)) {
        list << Q(role == kChoiceWordsRole ? choice.word : choice.label);
      }
      return list;
    }
    case kCellKindRole:
      return static_cast<int>(c.kind);
    case kRowNameRole:
      return Q(su::RowName(s, table_, row));
    default:
      return {};
  }
}

QVariant EntryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  const auto columns = su::Columns(table_);
  if (section < 0 || static_cast<std::size_t>(section) >= columns.size()) return {};
  const su::Column& c = columns[static_cast<std::size_t>(section)];
  if (role == Qt::ToolTipRole) return QString::fromUtf8(c.help.data(), qsizetype(c.help.size()));
  QString header = QString::fromUtf8(c.header.data(), static_cast<qsizetype>(c.header.size()));
  if (!c.unit.empty())
    header += " (" + QString::fromUtf8(c.unit.data(), qsizetype(c.unit.size())) + ")";
  return header;
}

Qt::ItemFlags EntryTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

bool EntryTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount()) return false;
  const auto row = static_cast<std::size_t>(index.row());
  std::vector<su::TypedCell> cells{
      {static_cast<std::size_t>(index.column()), value.toString().toStdString()}};
  su::Outcome outcome = su::EditCells(document_.Station(), table_, row, cells, newUnit_);
  // An entry that needs another cell with this one: that cell is asked for.
  if (outcome.needs && askForCell) {
    const QModelIndex needed = this->index(index.row(), static_cast<int>(*outcome.needs));
    const auto text = askForCell(needed, Q(outcome.suggestion), Q(outcome.refusal));
    if (!text) return false;
    cells.push_back({*outcome.needs, text->toStdString()});
    outcome = su::EditCells(document_.Station(), table_, row, cells, newUnit_);
  }
  if (outcome.Refused()) {
    emit refused(index, Q(outcome.refusal));
    return false;
  }
  // An entry that changes nothing is taken too: a refusal shown before goes.
  if (!outcome.edit) {
    emit accepted(index);
    return false;
  }
  document_.Push(std::move(*outcome.edit));
  emit accepted(index);
  return true;
}

void EntryTableModel::Before(const Step& step) {
  if (step.op == Step::Op::Property && table_ == su::Table::Outline) {
    beginResetModel();
    return;
  }
  if (step.table != table_ || step.op == Step::Op::Heading || step.op == Step::Op::Property) return;
  const int row = static_cast<int>(step.row);
  switch (step.op) {
    case Step::Op::Insert:
      beginInsertRows({}, row, row);
      break;
    case Step::Op::Remove:
      beginRemoveRows({}, row, row);
      break;
    case Step::Op::Move: {
      // Qt names the row the moved one goes before, counted before the move.
      const int to = static_cast<int>(step.to);
      moving_ = beginMoveRows({}, row, row, {}, to > row ? to + 1 : to);
      break;
    }
    default:
      break;
  }
}

void EntryTableModel::After(const Step& step) {
  const int lastColumn = columnCount() - 1;
  if (step.op == Step::Op::Property) {
    if (table_ == su::Table::Outline) endResetModel();
    return;
  }
  if (step.op == Step::Op::Heading) {
    // The station's ground reflection and region show in the installations.
    if (table_ == su::Table::Installations && rowCount() > 0) {
      emit dataChanged(index(0, 0), index(rowCount() - 1, lastColumn));
    }
    return;
  }
  if (step.table != table_) {
    // Ids shown in the pickers of the installations change with their rows.
    return;
  }
  const int row = static_cast<int>(step.row);
  switch (step.op) {
    case Step::Op::Insert:
      endInsertRows();
      break;
    case Step::Op::Remove:
      endRemoveRows();
      break;
    case Step::Op::Move:
      if (moving_) endMoveRows();
      moving_ = false;
      break;
    case Step::Op::Replace:
      emit dataChanged(index(row, 0), index(row, lastColumn));
      break;
    default:
      break;
  }
}

}  // namespace korrin
