#include "ui/qt/calculator/Printing.h"

#include <QFile>
#include <QFileInfo>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QWidget>

namespace korrin {

namespace {

constexpr int kDotsPerMetreAt96Dpi = 3780;  // 96 / 0.0254

// Why a PDF file cannot be written: the system's reason where it has one.
std::string PdfWriteError(const QString& path) {
  std::string reason;
  QFile probe(path);
  const bool existed = probe.exists();
  if (probe.open(QIODevice::WriteOnly | QIODevice::Append)) {
    probe.close();
    if (!existed) probe.remove();
  } else {
    reason = probe.errorString().toStdString();
  }
  std::string text = "cannot write " + path.toStdString();
  if (!reason.empty()) text += " (" + reason + ")";
  return text;
}

std::string StartError(const QPrinter& printer) {
  if (printer.outputFormat() == QPrinter::PdfFormat) {
    if (printer.outputFileName().isEmpty()) return "no file was given for the PDF";
    return PdfWriteError(printer.outputFileName());
  }
  const QString name = printer.printerName();
  if (name.isEmpty()) return "no printer is available";
  return "the print job could not be started on " + name.toStdString();
}

}  // namespace

void ConfigurePrinter(QPrinter& printer) {
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageOrientation(QPageLayout::Portrait);
  printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
  printer.setDocName("Korrin");
  printer.setCreator("Korrin");
}

std::string PrintClientArea(QWidget* client, QPrinter& printer) {
  if (client == nullptr) return "there is no window to print";
  if (!printer.isValid()) return "no printer is available";
  // The window as painted on screen, at the screen's resolution.
  const QPixmap picture = client->grab();
  const QSize size = client->size();

  QPainter painter;
  if (!painter.begin(&printer)) return StartError(printer);
  // The size the window has on a screen of the window's own resolution,
  // in the printer's dots.
  const double scaleX = double(printer.logicalDpiX()) / double(client->logicalDpiX());
  const double scaleY = double(printer.logicalDpiY()) / double(client->logicalDpiY());
  const QRectF target(0, 0, size.width() * scaleX, size.height() * scaleY);
  // Captions stay sharp: the picture goes to the page without lossy
  // compression.
  painter.setRenderHint(QPainter::LosslessImageRendering);
  painter.drawPixmap(target, picture, QRectF(picture.rect()));
  if (!painter.end() || printer.printerState() == QPrinter::Error) {
    return "the print job could not be finished";
  }
  return {};
}

QImage ClientAreaImage(QWidget* client) {
  QImage image(client->size(), QImage::Format_RGB32);
  image.setDevicePixelRatio(1.0);
  image.fill(Qt::white);
  client->render(&image);
  image.setDotsPerMeterX(kDotsPerMetreAt96Dpi);
  image.setDotsPerMeterY(kDotsPerMetreAt96Dpi);
  return image;
}

}  // namespace korrin
