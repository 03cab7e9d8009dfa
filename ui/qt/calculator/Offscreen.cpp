#include "ui/qt/calculator/Offscreen.h"

#include <QFile>
#include <QImageWriter>
#include <QPrinter>

#include "ui/qt/calculator/MainWindow.h"
#include "ui/qt/calculator/Printing.h"

namespace korrin {

std::string SaveClientAreaPng(TForm1& form, const std::string& path) {
  MainWindow window(form);
  window.SetActivatesForm(false);
  const QImage image = ClientAreaImage(window.ClientPanel());
  QImageWriter writer(QFile::decodeName(path.c_str()), "png");
  if (!writer.write(image)) {
    return "cannot write " + path + " (" + writer.errorString().toStdString() + ")";
  }
  return {};
}

std::string PrintClientAreaPdf(TForm1& form, const std::string& path) {
  MainWindow window(form);
  window.SetActivatesForm(false);
  QPrinter printer(QPrinter::HighResolution);
  ConfigurePrinter(printer);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QFile::decodeName(path.c_str()));
  return PrintClientArea(window.ClientPanel(), printer);
}

}  // namespace korrin
