// Pictures written to a file: the site plan, the near-field maps and the
// plots go to SVG (vector) or PNG at 96 dpi, chosen by the file's name,
// through the program's one writer (io/AtomicFile.h), so that a failed
// write leaves the old file as it was.
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <functional>
#include <string>

class QImage;
class QPainter;
class QRectF;

namespace korrin {

// Paints a picture into the rectangle it is given.
using PaintPicture = std::function<void(QPainter&, const QRectF&)>;

// Writes `bytes` as the whole of `path` through the program's one writer.
// Returns the empty string, or "cannot write PATH (the system's reason)".
std::string WriteWholeFile(const QString& path, const QByteArray& bytes);

// The PNG file's bytes of `image`, at 96 dpi.
QByteArray PngBytes(const QImage& image);

// Writes `paint`'s picture of `size` pixels to `path` (.svg or .png, any
// case).  `what` names the picture in messages ("site plan"), `title` and
// `description` go into an SVG's header.  Returns the empty string, or why
// nothing was written.
std::string SavePictureFile(const QString& path, QSize size, const std::string& what,
                            const QString& title, const QString& description,
                            const PaintPicture& paint);

}  // namespace korrin
