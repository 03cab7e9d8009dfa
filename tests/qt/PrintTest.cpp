// Printing: the page is the window's picture at the top-left corner at the
// size the window has on a 96 dpi screen; a cancelled printer dialog prints
// nothing; a PDF that cannot be written is reported and changes nothing.
#include <QFile>
#include <QImage>
#include <QMessageBox>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <array>
#include <vector>

#include "QtTestSupport.h"
#include "ui/HeadlessPlatform.h"
#include "ui/qt/calculator/Offscreen.h"

using namespace korrin;
using namespace korrin::test;

namespace {

// What a PDF file holds, as far as the printed page is concerned.
struct PdfPage {
  int pages = 0;
  QRectF mediaBox;                 // points
  QSize imageSize;                 // pixels of the one image
  std::vector<QRectF> imageBoxes;  // where images are drawn, points, y up
};

using Matrix = std::array<double, 6>;  // a b c d e f

Matrix Multiply(const Matrix& m, const Matrix& n) {  // m then n
  return {m[0] * n[0] + m[1] * n[2],        m[0] * n[1] + m[1] * n[3],
          m[2] * n[0] + m[3] * n[2],        m[2] * n[1] + m[3] * n[3],
          m[4] * n[0] + m[5] * n[2] + n[4], m[4] * n[1] + m[5] * n[3] + n[5]};
}

QByteArray Inflate(const QByteArray& deflated) {
  QByteArray framed(4, '\0');
  const quint32 guess = 8u << 20;
  framed[0] = char((guess >> 24) & 0xff);
  framed[1] = char((guess >> 16) & 0xff);
  framed[2] = char((guess >> 8) & 0xff);
  framed[3] = char(guess & 0xff);
  return qUncompress(framed + deflated);
}

// Runs the page's content stream: the transformation in force at each
// image drawn gives the image's box.
void RunContent(const QByteArray& content, PdfPage& page) {
  const QList<QByteArray> tokens = content.simplified().split(' ');
  std::vector<Matrix> stack;
  Matrix ctm{1, 0, 0, 1, 0, 0};
  std::vector<double> operands;
  for (const QByteArray& t : tokens) {
    bool number = false;
    const double v = t.toDouble(&number);
    if (number) {
      operands.push_back(v);
      continue;
    }
    if (t == "q") {
      stack.push_back(ctm);
    } else if (t == "Q" && !stack.empty()) {
      ctm = stack.back();
      stack.pop_back();
    } else if (t == "cm" && operands.size() >= 6) {
      const size_t k = operands.size() - 6;
      const Matrix m{operands[k],     operands[k + 1], operands[k + 2],
                     operands[k + 3], operands[k + 4], operands[k + 5]};
      ctm = Multiply(m, ctm);
    } else if (t == "Do") {
      const auto at = [&](double x, double y) {
        return QPointF(ctm[0] * x + ctm[2] * y + ctm[4], ctm[1] * x + ctm[3] * y + ctm[5]);
      };
      page.imageBoxes.push_back(QRectF(at(0, 0), at(1, 1)).normalized());
    }
    if (!t.startsWith('/')) operands.clear();
  }
}

PdfPage ReadPdf(const QString& path) {
  PdfPage page;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return page;
  const QByteArray pdf = file.readAll();
  static const QRegularExpression object(R"((\d+) 0 obj\s*<<(.*?)>>\s*(stream\r?\n)?)",
                                         QRegularExpression::DotMatchesEverythingOption);
  auto it = object.globalMatch(QString::fromLatin1(pdf));
  while (it.hasNext()) {
    const auto m = it.next();
    const QString dict = m.captured(2);
    if (dict.contains(QRegularExpression(R"(/Type\s*/Page\b(?!s))"))) {
      ++page.pages;
      const auto box =
          QRegularExpression(R"(/MediaBox\s*\[\s*([\d.]+)\s+([\d.]+)\s+([\d.]+)\s+([\d.]+))")
              .match(dict);
      if (box.hasMatch()) {
        page.mediaBox = QRectF(QPointF(box.captured(1).toDouble(), box.captured(2).toDouble()),
                               QPointF(box.captured(3).toDouble(), box.captured(4).toDouble()));
      }
    }
    if (dict.contains("/Subtype /Image")) {
      const auto w = QRegularExpression(R"(/Width\s+(\d+))").match(dict);
      const auto h = QRegularExpression(R"(/Height\s+(\d+))").match(dict);
      page.imageSize = QSize(w.captured(1).toInt(), h.captured(1).toInt());
    } else if (!m.captured(3).isEmpty() && dict.contains("/FlateDecode")) {
      const qsizetype start = m.capturedEnd(0);
      const qsizetype end = pdf.indexOf("endstream", start);
      const QByteArray content = Inflate(pdf.mid(start, end - start));
      if (content.contains(" cm")) RunContent(content, page);
    }
  }
  return page;
}

// The page of a 790 x 541 window at 96 dpi on A4: 592.5 x 405.75 points
// from the top-left corner.
void VerifyWindowPage(const QString& path) {
  const PdfPage page = ReadPdf(path);
  QCOMPARE(page.pages, 1);
  QVERIFY(qAbs(page.mediaBox.width() - 595) < 1);
  QVERIFY(qAbs(page.mediaBox.height() - 842) < 1);
  QCOMPARE(page.imageSize, QSize(790, 541));
  QCOMPARE(int(page.imageBoxes.size()), 1);
  const QRectF box = page.imageBoxes.front();
  QVERIFY2(qAbs(box.width() - 592.5) < 0.01, qPrintable(QString::number(box.width())));
  QVERIFY2(qAbs(box.height() - 405.75) < 0.01, qPrintable(QString::number(box.height())));
  QVERIFY(qAbs(box.left()) < 0.01);
  QVERIFY(qAbs(box.bottom() - page.mediaBox.height()) < 0.01);  // PDF y runs upwards
}

std::vector<std::string> AllTexts(const TForm1& form) {
  std::vector<std::string> texts;
  for (const std::string& name : form.Board().names()) texts.push_back(form.Board().at(name).text);
  return texts;
}

}  // namespace

class PrintTest : public QObject {
  Q_OBJECT
 private slots:
  void theReportPdfHoldsTheWindowAtItsSize() {
    QTemporaryDir dir;
    HeadlessPlatform platform;
    TForm1 form(platform);
    form.FormActivate();
    const QString path = dir.filePath("window.pdf");
    QCOMPARE(QString::fromStdString(PrintClientAreaPdf(form, path.toStdString())), QString());
    VerifyWindowPage(path);
  }

  void printPrintsTheSamePage() {
    QTemporaryDir dir;
    const QString path = dir.filePath("printed.pdf");
    Desk desk;
    QVERIFY(desk.Open());
    desk.platform.printDialogAnswer = [path](QPrinter& printer) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(path);
      return true;
    };
    ModalAnswer message([](QWidget* modal) { modal->close(); });
    Click(desk.Widget<QWidget>("BitBtn2"));  // returns when the handler is done
    QVERIFY(!message.Seen());
    VerifyWindowPage(path);
  }

  void aCancelledDialogPrintsNothing() {
    QTemporaryDir dir;
    const QString path = dir.filePath("cancelled.pdf");
    Desk desk;
    QVERIFY(desk.Open());
    int asked = 0;
    desk.platform.printDialogAnswer = [path, &asked](QPrinter& printer) {
      ++asked;
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(path);
      return false;
    };
    const auto before = AllTexts(desk.form);
    ModalAnswer message([](QWidget* modal) { modal->close(); });
    Click(desk.Widget<QWidget>("BitBtn2"));  // returns when the handler is done
    QCOMPARE(asked, 1);
    QVERIFY(!QFile::exists(path));
    QVERIFY(!message.Seen());
    QVERIFY(AllTexts(desk.form) == before);
  }

  void anUnwritablePdfIsReported() {
    QTemporaryDir dir;
    const QString path = dir.filePath("missing-folder/page.pdf");
    Desk desk;
    QVERIFY(desk.Open());
    desk.platform.printDialogAnswer = [path](QPrinter& printer) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(path);
      return true;
    };
    const auto before = AllTexts(desk.form);
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    ModalAnswer seen([&](QWidget* modal) {
      if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        text = box->text();
        icon = box->icon();
      }
      modal->close();
    });
    Click(desk.Widget<QWidget>("BitBtn2"));
    QVERIFY(seen.Seen());
    QCOMPARE(icon, QMessageBox::Critical);
    QVERIFY2(text.startsWith("The window could not be printed: cannot write " + path),
             qPrintable(text));
    QVERIFY(text.contains("No such file or directory"));
    QVERIFY(!QFile::exists(path));
    QVERIFY(AllTexts(desk.form) == before);
  }

  void theReportSaysWhenThePdfCannotBeWritten() {
    QTemporaryDir dir;
    HeadlessPlatform platform;
    TForm1 form(platform);
    form.FormActivate();
    const QString path = dir.filePath("missing-folder/window.pdf");
    const QString error = QString::fromStdString(PrintClientAreaPdf(form, path.toStdString()));
    QVERIFY2(error.startsWith("cannot write " + path), qPrintable(error));
    QVERIFY(!QFile::exists(path));
  }

  void theReportPngIsTheClientAreaAsItStands() {
    QTemporaryDir dir;
    HeadlessPlatform platform;
    TForm1 form(platform);  // never activated: no start-up has run
    const QString path = dir.filePath("window.png");
    QCOMPARE(QString::fromStdString(SaveClientAreaPng(form, path.toStdString())), QString());
    QVERIFY(form.Board().at("Panel44").text.empty());  // still the window as declared
    QImage image(path);
    QCOMPARE(image.size(), QSize(790, 541));
    QCOMPARE(image.dotsPerMeterX(), 3780);
    QCOMPARE(image.dotsPerMeterY(), 3780);
    QVERIFY(image.pixelColor(10, 10) != image.pixelColor(400, 300) ||
            image.pixelColor(10, 10) != image.pixelColor(700, 500));
    const QString bad = dir.filePath("missing-folder/window.png");
    QVERIFY(QString::fromStdString(SaveClientAreaPng(form, bad.toStdString()))
                .startsWith("cannot write " + bad));
  }
};

KORRIN_QT_TEST_MAIN(PrintTest)
#include "PrintTest.moc"
