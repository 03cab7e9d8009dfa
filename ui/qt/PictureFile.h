// Pictures written to a file: the site plan and the near-field maps go to
// SVG (vector) or PNG at 96 dpi, chosen by the file's name, through a
// temporary file renamed over the target, so that a failed write leaves
// the old file as it was.
#pragma once

#include <QSize>
#include <QString>
#include <functional>
#include <string>

class QPainter;
class QRectF;

namespace korrin {

// Paints a picture into the rectangle it is given.
using PaintPicture = std::function<void(QPainter&, const QRectF&)>;

// Writes `paint`'s picture of `size` pixels to `path` (.svg or .png, any
// case).  `what` names the picture in messages ("site plan"), `title` and
// `description` go into an SVG's header.  Returns the empty string, or why
// nothing was written.
std::string SavePictureFile(const QString& path, QSize size, const std::string& what,
                            const QString& title, const QString& description,
                            const PaintPicture& paint);

}  // namespace korrin
