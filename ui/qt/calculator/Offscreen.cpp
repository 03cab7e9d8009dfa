#include "ui/qt/calculator/Offscreen.h"

#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>

#include "ui/qt/PictureFile.h"
#include "ui/qt/calculator/MainWindow.h"
#include "ui/qt/calculator/Printing.h"

namespace korrin {

std::string SaveClientAreaPng(TForm1& form, const std::string& path) {
  MainWindow window(form);
  window.SetActivatesForm(false);
  const QByteArray bytes = PngBytes(ClientAreaImage(window.ClientPanel()));
  if (bytes.isEmpty()) return "cannot write " + path + " (the picture could not be encoded)";
  return WriteWholeFile(QFile::decodeName(path.c_str()), bytes);
}

std::string PrintClientAreaPdf(TForm1& form, const std::string& path) {
  MainWindow window(form);
  window.SetActivatesForm(false);
  // The printer writes only to a named file: the page goes to a private
  // folder first, and from there through the program's one writer.
  QTemporaryDir folder;
  if (!folder.isValid()) {
    return "cannot write " + path + " (" + folder.errorString().toStdString() + ")";
  }
  const QString page = folder.filePath("page.pdf");
  QPrinter printer(QPrinter::HighResolution);
  ConfigurePrinter(printer);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(page);
  if (std::string error = PrintClientArea(window.ClientPanel(), printer); !error.empty()) {
    return error;
  }
  QFile printed(page);
  if (!printed.open(QIODevice::ReadOnly)) {
    return "cannot write " + path + " (" + printed.errorString().toStdString() + ")";
  }
  const QByteArray bytes = printed.readAll();
  if (printed.error() != QFileDevice::NoError || bytes.isEmpty()) {
    return "cannot write " + path +
           " (the page could not be read back: " + printed.errorString().toStdString() + ")";
  }
  return WriteWholeFile(QFile::decodeName(path.c_str()), bytes);
}

}  // namespace korrin
