#include "ui/qt/calculator/About.h"

#include <QMessageBox>

#include "ui/Controls.h"

// Set by the build: the version, and where the installation keeps the
// program's documents.
#ifndef KORRIN_VERSION
#define KORRIN_VERSION "4.4"
#endif
#ifndef KORRIN_DOC_DIR
#define KORRIN_DOC_DIR "/usr/share/doc/korrin"
#endif

namespace korrin {

QString AboutText() {
  return QStringLiteral(
             "<p><b>Korrin %1</b></p>"
             "<p>The station's RF exposure and moon-bounce calculator.</p>"
             "<p>Its manual: <tt>man korrin</tt> for the window and <tt>man korrin-report</tt> "
             "for the report without a window; the README: <tt>%2/README.md</tt>.</p>"
             "<p>Contact: %3</p>")
      .arg(QStringLiteral(KORRIN_VERSION), QStringLiteral(KORRIN_DOC_DIR),
           QString::fromUtf8(kVersionHint).toHtmlEscaped());
}

void ShowAbout(QWidget* parent) {
  QMessageBox box(QMessageBox::Information, QObject::tr("About Korrin"), AboutText(),
                  QMessageBox::Ok, parent);
  box.setObjectName("About");
  box.setTextFormat(Qt::RichText);
  box.setEscapeButton(QMessageBox::Ok);
  box.exec();
}

}  // namespace korrin
