// A small paged document drawn with QPainter: a title, headings,
// paragraphs, label-value lists, tables, bullet lists and figures, flowed
// onto pages of a QPagedPaintDevice with a footer on each page.  Text is
// drawn as text (selectable, searchable), and figures are drawn by a
// callback, so that what they draw stays vector on a PDF device.
#pragma once

#include <QFont>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QPainter;
class QPagedPaintDevice;

namespace korrin {

struct RecordTable {
  QStringList header;
  std::vector<qreal> widths;  // column shares, any unit; normalised to the text width
  std::vector<QStringList> rows;
  std::vector<int> strongRows;  // rows drawn in bold
  QStringList notes;            // small lines under the table
};

using FigurePainter = std::function<void(QPainter&, const QRectF&)>;

class RecordDocument {
 public:
  void Title(const QString& text);
  void Heading(const QString& text);
  void Paragraph(const QString& text);
  void SmallParagraph(const QString& text);
  // Label and value pairs in two columns; the labels in bold.
  void Fields(const std::vector<std::pair<QString, QString>>& fields);
  void Bullets(const QStringList& items);
  // Lines kept as they are, in a small fixed-width type (a card deck); a
  // line too long for the page is wrapped.
  void Lines(const QStringList& lines);
  void Table(const RecordTable& table);
  // A figure `heightMm` tall across the text width, kept on one page.
  void Figure(qreal heightMm, FigurePainter painter);
  // Blank lines to sign on: each label above a rule.
  void SignatureLines(const QStringList& labels);
  // Starts the next block on a new page.
  void PageBreak();
  // Text at the foot of every page, before "page N of M".
  void SetFooter(const QString& text) { footer_ = text; }

  // Lays the blocks out on `device` and paints them.  Returns the number of
  // pages, or 0 when the painter could not start on the device.
  int Render(QPagedPaintDevice& device) const;

 private:
  enum class Kind {
    Title,
    Heading,
    Paragraph,
    Small,
    Fields,
    Bullets,
    Lines,
    Table,
    Figure,
    Sign,
    Break
  };
  struct Block {
    Kind kind = Kind::Paragraph;
    QString text;
    QStringList items;
    std::vector<std::pair<QString, QString>> fields;
    RecordTable table;
    qreal heightMm = 0;
    FigurePainter figure;
  };
  class Pass;

  std::vector<Block> blocks_;
  QString footer_;
};

// The window's disclaimer under its heading, one paragraph per group of
// its lines: the same words in every record.
void DisclaimerSection(RecordDocument& doc);

}  // namespace korrin
