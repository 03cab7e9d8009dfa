// A station file with problems, shown instead of the tables: the problems
// listed with their line and column, and the file's text to correct them
// in.  "Check Again" reads the text as the file would be read; a text
// without problems becomes the window's station.  Nothing of a file with
// problems is ever loaded half-way.
#pragma once

#include <QWidget>
#include <vector>

#include "station/Diagnostic.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace korrin {

class FixPanel : public QWidget {
  Q_OBJECT
 public:
  explicit FixPanel(QWidget* parent = nullptr);

  // Shows the text of `fileName` and its problems.
  void Show(const QString& fileName, const QString& text,
            const std::vector<station::Diagnostic>& problems);
  QString Text() const;
  bool TextChanged() const;
  // The text is as it stands in the file now.
  void MarkTextSaved();
  QListWidget* Problems() const { return problems_; }
  QPlainTextEdit* Editor() const { return editor_; }

 signals:
  // "Check Again" was pressed.
  void checkRequested();
  void textChanged();

 private:
  void GoTo(int row);

  QLabel* summary_ = nullptr;
  QListWidget* problems_ = nullptr;
  QPlainTextEdit* editor_ = nullptr;
  QPushButton* check_ = nullptr;
  std::vector<station::Diagnostic> shown_;
};

}  // namespace korrin
