#include "ui/qt/station/StationTable.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>

#include "ui/qt/station/EntryTableModel.h"
#include "ui/station/Columns.h"

namespace korrin {

namespace {

using stationui::CellKind;

CellKind KindOf(const QModelIndex& index) {
  return static_cast<CellKind>(index.data(kCellKindRole).toInt());
}

// "Power of ft-991": what a screen reader says for the editor.
QString EditorName(const QModelIndex& index) {
  const QString header = index.model()->headerData(index.column(), Qt::Horizontal).toString();
  return header + " of " + index.data(kRowNameRole).toString();
}

}  // namespace

QWidget* CellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
  const CellKind kind = KindOf(index);
  QWidget* editor = nullptr;
  if (kind == CellKind::Choice || kind == CellKind::ChoiceOrNumber) {
    auto* box = new QComboBox(parent);
    box->addItems(index.data(kChoiceLabelsRole).toStringList());
    const QStringList words = index.data(kChoiceWordsRole).toStringList();
    for (int i = 0; i < words.size(); ++i) box->setItemData(i, words[i]);
    // Every choice can also be typed (its word, its name or the start of
    // one only, as the station's edits read it).  No completion stands in
    // for the text typed: "SSB" must not become the first label it begins.
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    editor = box;
  } else {
    auto* line = new QLineEdit(parent);
    line->setPlaceholderText(index.data(Qt::ToolTipRole).toString());
    editor = line;
  }
  editor->setAccessibleName(EditorName(index));
  editor->setAccessibleDescription(index.data(Qt::ToolTipRole).toString());
  editor->setToolTip(index.data(Qt::ToolTipRole).toString());
  editor->setGeometry(option.rect);
  return editor;
}

void CellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  const QString text = index.data(Qt::EditRole).toString();
  if (auto* box = qobject_cast<QComboBox*>(editor)) {
    const int at = box->findData(text);
    if (at >= 0) {
      box->setCurrentIndex(at);
    } else {
      box->setCurrentIndex(-1);
      box->setEditText(text);
    }
    // A key that opened the editor replaces the text, as in a text cell.
    box->lineEdit()->selectAll();
    return;
  }
  if (auto* line = qobject_cast<QLineEdit*>(editor)) {
    line->setText(text);
    line->selectAll();
  }
}

void CellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                const QModelIndex& index) const {
  if (auto* box = qobject_cast<QComboBox*>(editor)) {
    // A label picked stands for its word; anything else typed is taken as typed.
    QString text = box->currentText();
    const int at = box->findText(text, Qt::MatchFixedString);
    if (at >= 0) text = box->itemData(at).toString();
    model->setData(index, text, Qt::EditRole);
    return;
  }
  if (auto* line = qobject_cast<QLineEdit*>(editor)) {
    model->setData(index, line->text(), Qt::EditRole);
  }
}

StationTable::StationTable(QWidget* parent) : QTableView(parent) {
  setItemDelegate(new CellDelegate(this));
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::AnyKeyPressed);
  // Tab leaves the table for the next control; the arrows move in it.
  setTabKeyNavigation(false);
  setAlternatingRowColors(true);
  horizontalHeader()->setStretchLastSection(true);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  setWordWrap(false);
}

void StationTable::CommitEdit() {
  if (!Editing()) return;
  QWidget* editor = QApplication::focusWidget();
  while (editor != nullptr && editor->parentWidget() != viewport()) editor = editor->parentWidget();
  if (editor == nullptr) return;
  commitData(editor);
  closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void StationTable::keyPressEvent(QKeyEvent* event) {
  // Enter starts editing, as F2 does.
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !Editing() &&
      currentIndex().isValid() && event->modifiers() == Qt::NoModifier) {
    edit(currentIndex());
    event->accept();
    return;
  }
  if (event->key() == Qt::Key_Delete && !Editing() && event->modifiers() == Qt::NoModifier) {
    emit removeRequested();
    event->accept();
    return;
  }
  QTableView::keyPressEvent(event);
}

}  // namespace korrin
