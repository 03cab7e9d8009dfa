#include "ui/qt/record/RecordDocument.h"

#include "ui/Controls.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <numeric>
#include <optional>
#include <utility>

namespace korrin {

namespace {

// Page geometry, in millimetres.
constexpr qreal kMarginSideMm = 20.0;
constexpr qreal kMarginTopMm = 16.0;
constexpr qreal kMarginBottomMm = 20.0;  // the footer sits in it
constexpr qreal kFooterFromBottomMm = 10.0;
constexpr qreal kBlockGapMm = 2.2;
constexpr qreal kHeadingGapMm = 4.5;  // above a heading
constexpr qreal kCellPadMm = 1.0;
constexpr qreal kBulletIndentMm = 5.0;
constexpr qreal kFieldLabelShare = 0.34;  // of the text width
constexpr qreal kSignatureRuleGapMm = 14.0;
constexpr qreal kKeepWithHeadingMm = 14.0;
// The longest section kept whole on a new page, as a share of the page's
// text height.
constexpr qreal kKeepWholeShare = 0.5;

// Type sizes, in points.
constexpr qreal kTitlePt = 17.0;
constexpr qreal kHeadingPt = 12.0;
constexpr qreal kBodyPt = 9.5;
constexpr qreal kTablePt = 8.5;
constexpr qreal kSmallPt = 7.5;

const QColor kRuleColour(120, 120, 120);
const QColor kHeaderFill(228, 232, 238);
const QColor kFooterColour(90, 90, 90);

QFont Font(qreal points, bool bold = false) {
  QFont f;
  f.setFamilies({"DejaVu Sans", "Liberation Sans", "Noto Sans"});
  // No ligatures: "fi" stays two letters, so that every word of the record
  // can be found and copied as typed.
  f.setStyleHint(QFont::SansSerif, QFont::PreferNoShaping);
  f.setPointSizeF(points);
  f.setBold(bold);
  return f;
}

QFont FixedFont(qreal points) {
  QFont f;
  f.setFamilies({"DejaVu Sans Mono", "Liberation Mono", "Noto Sans Mono"});
  f.setStyleHint(QFont::Monospace, QFont::PreferNoShaping);
  f.setPointSizeF(points);
  return f;
}

}  // namespace

// One walk over the blocks: with `paint` off it only measures and counts
// the pages; with it on it draws the same layout.
class RecordDocument::Pass {
 public:
  Pass(QPainter& painter, QPagedPaintDevice& device, bool paint, int pages, QString footer)
      : p_(painter),
        device_(device),
        paint_(paint),
        pages_(pages),
        footer_(std::move(footer)),
        mm_(device.logicalDpiY() / 25.4),
        left_(kMarginSideMm * mm_),
        width_(device.width() - 2.0 * kMarginSideMm * mm_),
        top_(kMarginTopMm * mm_),
        bottom_(device.height() - kMarginBottomMm * mm_),
        y_(top_) {}

  int Run(const std::vector<Block>& blocks) {
    for (size_t i = 0; i < blocks.size(); ++i) {
      KeepTogether(blocks, i);
      keepWithHeading_ = i + 1 < blocks.size() ? FirstPart(blocks[i + 1]) : 0;
      Place(blocks[i]);
    }
    Footer();
    return page_;
  }

 private:
  // A section (a heading and what follows it up to the next heading, title
  // or page break, signature lines included) starts on a new page when it
  // does not fit on what is left of this one, takes at most half a page
  // and holds no table; and the signature lines stand on a page with the
  // block above them.
  void KeepTogether(const std::vector<Block>& blocks, size_t i) {
    if (y_ <= top_) return;
    size_t end = i;
    if (blocks[i].kind == Kind::Heading) {
      end = i + 1;
      while (end < blocks.size() && blocks[end].kind != Kind::Heading &&
             blocks[end].kind != Kind::Title && blocks[end].kind != Kind::Break) {
        ++end;
      }
    } else if (i + 1 < blocks.size() && blocks[i + 1].kind == Kind::Sign) {
      end = i + 2;
    }
    if (end == i) return;
    // A table flows over pages with its header on each: a section with one
    // reads whole when cut, and moving it would only leave space.
    for (size_t k = i; k < end; ++k) {
      if (blocks[k].kind == Kind::Table && blocks[i].kind == Kind::Heading) return;
    }
    const std::optional<qreal> height = Measure(blocks, i, end);
    // A long section flows on as before: moving it whole would leave much
    // of this page empty for little gain.
    if (!height || *height > (bottom_ - top_) * kKeepWholeShare) return;
    if (y_ + Mm(LeadingGapMm(blocks[i].kind)) + *height > bottom_) NewPage();
  }

  // The gap a block leaves above it below something on the page.
  static qreal LeadingGapMm(Kind kind) {
    switch (kind) {
      case Kind::Heading:
      case Kind::Sign:
        return kHeadingGapMm;
      case Kind::Title:
      case Kind::Break:
        return 0;
      default:
        return kBlockGapMm;
    }
  }

  // The height of blocks [from, to) placed from the top of a page; empty
  // when they need more than one page.  Nothing is drawn.
  std::optional<qreal> Measure(const std::vector<Block>& blocks, size_t from, size_t to) {
    const qreal y = y_;
    const int page = page_;
    const bool paint = paint_;
    const qreal keep = keepWithHeading_;
    paint_ = false;
    y_ = top_;
    for (size_t k = from; k < to; ++k) {
      keepWithHeading_ = k + 1 < to ? FirstPart(blocks[k + 1]) : 0;
      Place(blocks[k]);
    }
    const bool onePage = page_ == page;
    const qreal height = y_ - top_;
    y_ = y;
    page_ = page;
    paint_ = paint;
    keepWithHeading_ = keep;
    if (!onePage) return std::nullopt;
    return height;
  }

  qreal Mm(qreal mm) const { return mm * mm_; }

  // What of `b` must stand on the same page as a heading above it: a
  // figure or a paragraph whole (neither is split), else its first lines.
  qreal FirstPart(const Block& b) {
    switch (b.kind) {
      case Kind::Figure:
        return Mm(b.heightMm + kBlockGapMm);
      case Kind::Paragraph:
        return Mm(kBlockGapMm) + TextHeight(b.text, Font(kBodyPt), width_);
      case Kind::Small:
        return Mm(kBlockGapMm) + TextHeight(b.text, Font(kSmallPt), width_);
      default:
        return Mm(kKeepWithHeadingMm);
    }
  }

  // Height of `text` wrapped to `width` in `font`.
  qreal TextHeight(const QString& text, const QFont& font, qreal width) {
    p_.setFont(font);
    const QRectF r =
        p_.boundingRect(QRectF(0, 0, width, 1e7), Qt::AlignLeft | Qt::TextWordWrap, text);
    return r.height();
  }

  void Text(const QString& text, const QFont& font, const QRectF& box) {
    if (!paint_) return;
    p_.setFont(font);
    p_.setPen(Qt::black);
    p_.drawText(box, int(Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap), text);
  }

  void NewPage() {
    Footer();
    if (paint_) device_.newPage();
    ++page_;
    y_ = top_;
  }

  // Makes room for `height`, on a new page when it does not fit here (and
  // the page already holds something).
  void Need(qreal height) {
    if (y_ + height > bottom_ && y_ > top_) NewPage();
  }

  void Gap(qreal mm) {
    if (y_ > top_) y_ += Mm(mm);
  }

  void Footer() {
    if (!paint_) return;
    const QFont font = Font(kSmallPt);
    p_.setFont(font);
    p_.setPen(kFooterColour);
    const qreal y = device_.height() - Mm(kFooterFromBottomMm);
    const QRectF box(left_, y, width_, Mm(5));
    p_.drawLine(QPointF(left_, y - Mm(1.5)), QPointF(left_ + width_, y - Mm(1.5)));
    p_.drawText(box, Qt::AlignLeft | Qt::AlignTop, footer_);
    p_.drawText(box, Qt::AlignRight | Qt::AlignTop,
                QString("Page %1 of %2").arg(page_).arg(std::max(pages_, page_)));
    p_.setPen(Qt::black);
  }

  void Place(const Block& b) {
    switch (b.kind) {
      case Kind::Title:
        PlaceText(b.text, Font(kTitlePt, true), 0);
        break;
      case Kind::Heading: {
        const QFont font = Font(kHeadingPt, true);
        // A heading is kept with a figure after it, or with at least a few
        // lines of what follows it.
        Gap(kHeadingGapMm);
        Need(TextHeight(b.text, font, width_) + keepWithHeading_);
        PlaceText(b.text, font, 0);
        break;
      }
      case Kind::Paragraph:
        Gap(kBlockGapMm);
        PlaceText(b.text, Font(kBodyPt), 0);
        break;
      case Kind::Small:
        Gap(kBlockGapMm);
        PlaceText(b.text, Font(kSmallPt), 0);
        break;
      case Kind::Fields:
        Gap(kBlockGapMm);
        PlaceFields(b.fields);
        break;
      case Kind::Bullets:
        Gap(kBlockGapMm);
        for (const QString& item : b.items) PlaceBullet(item);
        break;
      case Kind::Lines:
        Gap(kBlockGapMm);
        for (const QString& line : b.items) PlaceText(line, FixedFont(kSmallPt), 0);
        break;
      case Kind::Table:
        Gap(kBlockGapMm);
        PlaceTable(b.table);
        break;
      case Kind::Figure:
        PlaceFigure(b);
        break;
      case Kind::Sign:
        PlaceSignature(b.items);
        break;
      case Kind::Break:
        if (y_ > top_) NewPage();
        break;
    }
  }

  void PlaceText(const QString& text, const QFont& font, qreal indent) {
    const qreal h = TextHeight(text, font, width_ - indent);
    Need(h);
    Text(text, font, QRectF(left_ + indent, y_, width_ - indent, h));
    y_ += h;
  }

  void PlaceBullet(const QString& item) {
    const QFont font = Font(kBodyPt);
    const qreal indent = Mm(kBulletIndentMm);
    const qreal h = TextHeight(item, font, width_ - indent);
    Need(h);
    Text(QString::fromUtf8("\u2022"), font, QRectF(left_ + Mm(1), y_, indent, h));
    Text(item, font, QRectF(left_ + indent, y_, width_ - indent, h));
    y_ += h + Mm(0.8);
  }

  void PlaceFields(const std::vector<std::pair<QString, QString>>& fields) {
    const QFont label = Font(kBodyPt, true);
    const QFont value = Font(kBodyPt);
    const qreal labelWidth = width_ * kFieldLabelShare;
    const qreal valueWidth = width_ - labelWidth;
    for (const auto& [name, text] : fields) {
      const qreal h = std::max(TextHeight(name, label, labelWidth - Mm(2)),
                               TextHeight(text, value, valueWidth));
      Need(h);
      Text(name, label, QRectF(left_, y_, labelWidth - Mm(2), h));
      Text(text, value, QRectF(left_ + labelWidth, y_, valueWidth, h));
      y_ += h + Mm(0.6);
    }
  }

  std::vector<qreal> ColumnWidths(const RecordTable& t) const {
    std::vector<qreal> widths = t.widths;
    widths.resize(t.header.size(), 1.0);
    const qreal sum = std::accumulate(widths.begin(), widths.end(), 0.0);
    for (qreal& w : widths) w = w / sum * width_;
    return widths;
  }

  qreal RowHeight(const QStringList& cells, const std::vector<qreal>& widths, const QFont& font) {
    qreal h = 0;
    for (qsizetype i = 0; i < cells.size() && i < qsizetype(widths.size()); ++i) {
      h = std::max(h, TextHeight(cells[i], font, widths[size_t(i)] - 2 * Mm(kCellPadMm)));
    }
    return h + 2 * Mm(kCellPadMm);
  }

  void Row(const QStringList& cells, const std::vector<qreal>& widths, const QFont& font, qreal h,
           bool header) {
    if (paint_) {
      if (header) p_.fillRect(QRectF(left_, y_, width_, h), kHeaderFill);
      p_.setPen(QPen(kRuleColour, Mm(0.15)));
      p_.drawLine(QPointF(left_, y_ + h), QPointF(left_ + width_, y_ + h));
    }
    qreal x = left_;
    for (qsizetype i = 0; i < cells.size() && i < qsizetype(widths.size()); ++i) {
      const qreal w = widths[size_t(i)];
      Text(cells[i], font,
           QRectF(x + Mm(kCellPadMm), y_ + Mm(kCellPadMm), w - 2 * Mm(kCellPadMm),
                  h - 2 * Mm(kCellPadMm)));
      x += w;
    }
    y_ += h;
  }

  void PlaceTable(const RecordTable& t) {
    const std::vector<qreal> widths = ColumnWidths(t);
    const QFont headerFont = Font(kTablePt, true);
    const QFont bodyFont = Font(kTablePt);
    const QFont strongFont = Font(kTablePt, true);
    const qreal headerHeight = RowHeight(t.header, widths, headerFont);
    bool headerHere = false;
    for (size_t r = 0; r < t.rows.size(); ++r) {
      const bool strong =
          std::find(t.strongRows.begin(), t.strongRows.end(), int(r)) != t.strongRows.end();
      const QFont& font = strong ? strongFont : bodyFont;
      const qreal h = RowHeight(t.rows[r], widths, font);
      // The header goes with the first row of each page the table reaches.
      if (y_ + (headerHere ? 0 : headerHeight) + h > bottom_ && y_ > top_) {
        NewPage();
        headerHere = false;
      }
      if (!headerHere) {
        Row(t.header, widths, headerFont, headerHeight, true);
        headerHere = true;
      }
      Row(t.rows[r], widths, font, h, false);
    }
    for (const QString& note : t.notes) {
      y_ += Mm(0.8);
      PlaceText(note, Font(kSmallPt), 0);
    }
  }

  void PlaceFigure(const Block& b) {
    Gap(kBlockGapMm);
    const qreal h = Mm(b.heightMm);
    Need(h);
    if (paint_ && b.figure) {
      p_.save();
      b.figure(p_, QRectF(left_, y_, width_, h));
      p_.restore();
    }
    y_ += h;
  }

  void PlaceSignature(const QStringList& labels) {
    if (labels.isEmpty()) return;
    const QFont font = Font(kBodyPt);
    const qreal h = Mm(kSignatureRuleGapMm) + TextHeight(labels.front(), font, width_);
    Gap(kHeadingGapMm);
    Need(h);
    const qreal gap = Mm(8);
    const qreal each = (width_ - gap * qreal(labels.size() - 1)) / qreal(labels.size());
    qreal x = left_;
    const qreal rule = y_ + Mm(kSignatureRuleGapMm);
    for (const QString& label : labels) {
      if (paint_) {
        p_.setPen(QPen(Qt::black, Mm(0.25)));
        p_.drawLine(QPointF(x, rule), QPointF(x + each, rule));
      }
      Text(label, font, QRectF(x, rule + Mm(1), each, h));
      x += each + gap;
    }
    y_ += h + Mm(1);
  }

  QPainter& p_;
  QPagedPaintDevice& device_;
  bool paint_;
  int pages_;
  QString footer_;
  qreal mm_;
  qreal left_;
  qreal width_;
  qreal top_;
  qreal bottom_;
  qreal y_;
  qreal keepWithHeading_ = 0;
  int page_ = 1;
};

void RecordDocument::Title(const QString& text) {
  blocks_.push_back({Kind::Title, text, {}, {}, {}, 0, {}});
}

void RecordDocument::Heading(const QString& text) {
  blocks_.push_back({Kind::Heading, text, {}, {}, {}, 0, {}});
}

void RecordDocument::Paragraph(const QString& text) {
  blocks_.push_back({Kind::Paragraph, text, {}, {}, {}, 0, {}});
}

void RecordDocument::SmallParagraph(const QString& text) {
  blocks_.push_back({Kind::Small, text, {}, {}, {}, 0, {}});
}

void RecordDocument::Fields(const std::vector<std::pair<QString, QString>>& fields) {
  blocks_.push_back({Kind::Fields, {}, {}, fields, {}, 0, {}});
}

void RecordDocument::Bullets(const QStringList& items) {
  blocks_.push_back({Kind::Bullets, {}, items, {}, {}, 0, {}});
}

void RecordDocument::Lines(const QStringList& lines) {
  blocks_.push_back({Kind::Lines, {}, lines, {}, {}, 0, {}});
}

void RecordDocument::Table(const RecordTable& table) {
  blocks_.push_back({Kind::Table, {}, {}, {}, table, 0, {}});
}

void RecordDocument::Figure(qreal heightMm, FigurePainter painter) {
  blocks_.push_back({Kind::Figure, {}, {}, {}, {}, heightMm, std::move(painter)});
}

void RecordDocument::SignatureLines(const QStringList& labels) {
  blocks_.push_back({Kind::Sign, {}, labels, {}, {}, 0, {}});
}

void RecordDocument::PageBreak() {
  blocks_.push_back({Kind::Break, {}, {}, {}, {}, 0, {}});
}

int RecordDocument::Render(QPagedPaintDevice& device) const {
  QPainter painter;
  if (!painter.begin(&device)) return 0;
  painter.setRenderHint(QPainter::Antialiasing);
  // Measure first, so that every footer can say how many pages there are.
  const int pages = Pass(painter, device, false, 0, footer_).Run(blocks_);
  const int painted = Pass(painter, device, true, pages, footer_).Run(blocks_);
  if (!painter.end()) return 0;
  return painted;
}

void DisclaimerSection(RecordDocument& doc) {
  doc.Heading("Disclaimer");
  QString paragraph;
  const auto flush = [&doc, &paragraph] {
    if (!paragraph.isEmpty()) doc.Paragraph(paragraph);
    paragraph.clear();
  };
  for (const std::string& line : DisclaimerLines()) {
    const QString words = QString::fromStdString(line).simplified();
    if (words.isEmpty()) {
      flush();
    } else {
      paragraph += (paragraph.isEmpty() ? "" : " ") + words;
    }
  }
  flush();
}

}  // namespace korrin
