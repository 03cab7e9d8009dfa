// The station window's table view and its cell editors.  A picker for a
// column of choices (the data tables' rows, the ids that exist, yes or no),
// an editable picker where a number may stand instead (a duty factor for a
// mode, a measured loss for a cable), and a line for text and numbers with
// their unit.  Enter starts editing the current cell and Escape ends an
// edit without taking it, and Delete outside an edit removes the selected
// rows; Tab moves on to the next control and the arrow
// keys from cell to cell.
#pragma once

#include <QStyledItemDelegate>
#include <QTableView>

namespace korrin {

class CellDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override;
};

class StationTable : public QTableView {
  Q_OBJECT
 public:
  explicit StationTable(QWidget* parent = nullptr);

  // Whether a cell's editor is open.
  bool Editing() const { return state() == QAbstractItemView::EditingState; }
  // Takes what the open editor holds, as leaving the cell would, and closes it.
  void CommitEdit();

 signals:
  // Delete was pressed outside an edit: the selected rows are to go.
  void removeRequested();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace korrin
