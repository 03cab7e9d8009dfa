#include "ui/qt/station/FixPanel.h"

#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTextBlock>
#include <QVBoxLayout>

namespace korrin {

FixPanel::FixPanel(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  summary_ = new QLabel(this);
  summary_->setObjectName("fixSummary");
  summary_->setWordWrap(true);
  problems_ = new QListWidget(this);
  problems_->setObjectName("fixProblems");
  problems_->setAccessibleName(tr("Problems of the file"));
  editor_ = new QPlainTextEdit(this);
  editor_->setObjectName("fixText");
  editor_->setAccessibleName(tr("Text of the station file"));
  editor_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
  // Tab goes on to the next control; the file's text is indented with blanks.
  editor_->setTabChangesFocus(true);
  check_ = new QPushButton(tr("C&heck Again"), this);
  check_->setObjectName("checkAgain");
  check_->setToolTip(
      tr("Read the text as the file would be read; without problems it becomes "
         "the station of this window"));
  auto* split = new QSplitter(Qt::Vertical, this);
  split->addWidget(problems_);
  split->addWidget(editor_);
  split->setStretchFactor(1, 3);
  layout->addWidget(summary_);
  layout->addWidget(split, 1);
  layout->addWidget(check_, 0, Qt::AlignLeft);
  summary_->setBuddy(problems_);
  connect(check_, &QPushButton::clicked, this, &FixPanel::checkRequested);
  // A click on a problem, or Enter on it, goes to its line.
  connect(problems_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { GoTo(problems_->row(item)); });
  connect(problems_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { GoTo(problems_->row(item)); });
  connect(editor_, &QPlainTextEdit::modificationChanged, this, &FixPanel::textChanged);
}

void FixPanel::Show(const QString& fileName, const QString& text,
                    const std::vector<station::Diagnostic>& problems) {
  shown_ = problems;
  summary_->setText(
      tr("%1 has %n problem(s) and was not loaded: nothing of it is evaluated. Correct the text "
         "below (a problem's line is shown when you choose it), then press Check Again.",
         nullptr, static_cast<int>(problems.size()))
          .arg(fileName));
  problems_->clear();
  for (const station::Diagnostic& d : problems) {
    problems_->addItem(QString::fromStdString(station::FormatDiagnostic(d)));
  }
  if (editor_->toPlainText() != text) editor_->setPlainText(text);
  if (problems_->count() > 0) problems_->setCurrentRow(0);
}

QString FixPanel::Text() const {
  return editor_->toPlainText();
}

bool FixPanel::TextChanged() const {
  return editor_->document()->isModified();
}

void FixPanel::MarkTextSaved() {
  editor_->document()->setModified(false);
}

void FixPanel::GoTo(int row) {
  if (row < 0 || static_cast<std::size_t>(row) >= shown_.size()) return;
  const station::Diagnostic& d = shown_[static_cast<std::size_t>(row)];
  if (d.at.line <= 0) return;
  const QTextBlock block = editor_->document()->findBlockByNumber(d.at.line - 1);
  if (!block.isValid()) return;
  QTextCursor cursor(block);
  cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor,
                      std::min(std::max(d.at.column - 1, 0), block.length() - 1));
  editor_->setTextCursor(cursor);
  editor_->setFocus();
}

}  // namespace korrin
