// The evaluation record: the paper of each locale, the file name, the
// document's flow over pages, the band sweep that leaves the station as it
// was, and the window's command (cancel writes nothing, a failure is shown
// with its reason, the heading is remembered).
#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPdfWriter>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "QtTestSupport.h"
#include "io/StationRecord.h"
#include "ui/qt/record/EvaluationRecord.h"
#include "ui/qt/record/RecordExport.h"

using namespace korrin;
using namespace korrin::test;

namespace {

// How long a dialog may take to appear on a busy machine.
constexpr int kPatienceMs = 60000;

// The text of a PDF file, blanks collapsed ("" when it cannot be read).
QString PdfText(const QString& path) {
  QProcess tool;
  tool.start("pdftotext", {path, "-"});
  if (!tool.waitForFinished(30000) || tool.exitCode() != 0) return {};
  return QString::fromUtf8(tool.readAllStandardOutput()).simplified();
}

// The text of one page of a PDF file ("" when it cannot be read).
QString PdfPageText(const QString& path, int page) {
  QProcess tool;
  const QString n = QString::number(page);
  tool.start("pdftotext", {"-f", n, "-l", n, path, "-"});
  if (!tool.waitForFinished(30000) || tool.exitCode() != 0) return {};
  return QString::fromUtf8(tool.readAllStandardOutput()).simplified();
}

void AnswerDetails(QWidget* modal, const QString& callSign, bool accept) {
  auto* dialog = qobject_cast<RecordDetailsDialog*>(modal);
  QVERIFY2(dialog != nullptr, "the first dialog asks for the record's heading");
  if (!callSign.isNull()) dialog->findChild<QLineEdit*>("callSign")->setText(callSign);
  accept ? dialog->accept() : dialog->reject();
}

// Types `path` into the file dialog's name field, as a user would.  The
// field has the focus once the dialog is active, and selectFile leaves a
// focused field alone, so it cannot stand in for typing.
void TypeFileName(QFileDialog* dialog, const QString& path) {
  auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
  QVERIFY(name != nullptr);
  name->setText(path);
}

}  // namespace

class RecordTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(settingsDir_.isValid());
    // What the command remembers goes to a folder of the test's own.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir_.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir_.path());
  }

  void paperFollowsTheTerritory_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("letter");
    QTest::newRow("United States") << "en_US" << true;
    QTest::newRow("Canada, English") << "en_CA" << true;
    QTest::newRow("Canada, French") << "fr_CA" << true;
    QTest::newRow("Mexico") << "es_MX" << true;
    QTest::newRow("Philippines") << "fil_PH" << true;
    QTest::newRow("United Kingdom") << "en_GB" << false;
    QTest::newRow("Australia") << "en_AU" << false;
    QTest::newRow("Germany") << "de_DE" << false;
    QTest::newRow("Spain") << "es_ES" << false;
    QTest::newRow("Japan") << "ja_JP" << false;
    QTest::newRow("C") << "C" << false;
  }

  void paperFollowsTheTerritory() {
    QFETCH(QString, locale);
    QFETCH(bool, letter);
    QCOMPARE(PageSizeForLocale(QLocale(locale)) == RecordPageSize::Letter, letter);
  }

  void fileNameEndsInPdf_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::newRow("no suffix") << "/tmp/home"
                               << "/tmp/home.pdf";
    QTest::newRow("pdf") << "/tmp/home.pdf"
                         << "/tmp/home.pdf";
    QTest::newRow("PDF in capitals") << "/tmp/home.PDF"
                                     << "/tmp/home.PDF";
    QTest::newRow("another suffix") << "/tmp/home.txt"
                                    << "/tmp/home.txt.pdf";
    QTest::newRow("pdf inside the name") << "/tmp/home.pdf.bak"
                                         << "/tmp/home.pdf.bak.pdf";
    QTest::newRow("a dot in the folder") << "/tmp/a.pdf/home"
                                         << "/tmp/a.pdf/home.pdf";
  }

  void fileNameEndsInPdf() {
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QCOMPARE(RecordFileName(chosen), written);
  }

  // A table longer than a page goes on over the next pages: no row lost or
  // drawn twice, its header repeated on each page, every footer counting
  // the same pages.
  void longTablesFlowOverPages() {
    RecordDocument doc;
    doc.Title("Flow");
    RecordTable table;
    table.header = {"Row", "Text"};
    const int rows = 150;
    for (int i = 1; i <= rows; ++i) table.rows.push_back({QString("row-%1.").arg(i), "cell"});
    doc.Table(table);
    doc.Paragraph("The end.");
    const QString path = dir_.filePath("flow.pdf");
    int pages = 0;
    {
      QPdfWriter writer(path);
      writer.setPageSize(QPageSize(QPageSize::A4));
      writer.setPageMargins(QMarginsF(0, 0, 0, 0));
      pages = doc.Render(writer);
    }
    QVERIFY2(pages >= 3, qPrintable(QString("%1 pages").arg(pages)));
    const QString text = PdfText(path);
    QVERIFY(!text.isEmpty());
    for (int i = 1; i <= rows; ++i) {
      QCOMPARE(text.count(QString("row-%1.").arg(i)), 1);
    }
    QCOMPARE(text.count("Row Text"), pages);
    for (int p = 1; p <= pages; ++p) {
      QVERIFY(text.contains(QString("Page %1 of %2").arg(p).arg(pages)));
    }
    QVERIFY(!text.contains(QString("of %1").arg(pages + 1)));
    QVERIFY(text.contains("The end."));
  }

  // A short section (a heading and what follows it) that would be cut at a
  // page's foot starts on the next page, where it fits whole; the signature lines
  // stand on a page with the end of the last section, never alone.  The
  // filler before them moves the section across the foot of the page.
  void sectionsAndTheSignatureStayTogether() {
    for (int filler = 20; filler <= 46; filler += 2) {
      for (const int kept : {6, 90}) {
        RecordDocument doc;
        doc.Title("Sections");
        for (int i = 0; i < filler; ++i) doc.Paragraph(QString("Filler paragraph %1.").arg(i));
        doc.Heading("Kept section");
        for (int i = 1; i <= kept; ++i) doc.Paragraph(QString("kept-%1.").arg(i));
        doc.SignatureLines({"Signature of the evaluator", "Date"});
        const QString path = dir_.filePath(QString("sections-%1-%2.pdf").arg(filler).arg(kept));
        int pages = 0;
        {
          QPdfWriter writer(path);
          writer.setPageSize(QPageSize(QPageSize::A4));
          writer.setPageMargins(QMarginsF(0, 0, 0, 0));
          pages = doc.Render(writer);
        }
        const QString what = QString("%1 filler paragraphs, %2 kept").arg(filler).arg(kept);
        QVERIFY2(pages >= 1, qPrintable(what));
        const QString last = QString("kept-%1.").arg(kept);
        bool signed_ = false;
        for (int p = 1; p <= pages; ++p) {
          const QString text = PdfPageText(path, p);
          if (kept == 6 && text.contains("Kept section")) {
            QVERIFY2(text.contains(last), qPrintable(what + ": the short section is whole"));
          }
          if (text.contains("Signature of the evaluator")) {
            signed_ = true;
            QVERIFY2(text.contains(last), qPrintable(what + ": the signature is with the end"));
          }
        }
        QVERIFY2(signed_, qPrintable(what));
      }
    }
  }

  // Every band of each side: the station and the controls are as they were
  // afterwards, and the row of the band in use repeats the assessment's own
  // figures.
  void everyBandLeavesTheStationAsItWas_data() {
    QTest::addColumn<bool>("hf");
    QTest::addColumn<int>("bands");
    QTest::newRow("VHF-SHF") << false << 12;
    QTest::newRow("HF") << true << 9;
  }

  void everyBandLeavesTheStationAsItWas() {
    QFETCH(bool, hf);
    QFETCH(int, bands);
    Desk desk;
    QVERIFY(desk.Open());
    if (hf) desk.form.HF_SelectClick();
    const StationState before = desk.form.State();
    const ControlBoard board = desk.form.Board();

    const std::vector<RecordBand> rows = EveryBandOfTheSide(desk.form, {});
    QCOMPARE(int(rows.size()), bands);
    QVERIFY(EncodeStationRecord(desk.form.State()) == EncodeStationRecord(before));
    QCOMPARE(double(desk.form.State().ExclusionDistanceM), double(before.ExclusionDistanceM));
    for (const std::string& name : board.names()) {
      const Control& was = board.at(name);
      const Control& is = desk.form.Board().at(name);
      QVERIFY2(was.text == is.text && was.visible == is.visible && was.itemIndex == is.itemIndex,
               name.c_str());
    }

    const assess::Assessment now = assess::Assess(before);
    const auto in_use = std::find_if(rows.begin(), rows.end(), [&](const RecordBand& r) {
      return r.frequencyMHz == before.FrequencyMHz;
    });
    QVERIFY(in_use != rows.end());
    QVERIFY(in_use->keepOutSelectedM.has_value());
    QCOMPARE(double(*in_use->keepOutSelectedM), double(*now.Selected()->keepOutM));
    QCOMPARE(double(*in_use->fccMinimumExemptM), double(now.fccExemption->minimumDistanceM));
    for (const RecordBand& r : rows) QVERIFY(!r.band.contains("Ghz"));
  }

  void cancelledDetailsWriteNothing() {
    Desk desk;
    QVERIFY(desk.Open());
    QSettings("Korrin", "Korrin").setValue("record/folder", dir_.path());
    const QStringList before = QDir(dir_.path()).entryList(QDir::Files);
    ModalAnswer details([](QWidget* modal) { AnswerDetails(modal, {}, false); }, kPatienceMs);
    const ExportOutcome outcome = ExportEvaluationRecord(&desk.window, desk.form, {});
    QVERIFY(details.Seen());
    QCOMPARE(int(outcome.status), int(ExportOutcome::Status::Cancelled));
    QCOMPARE(QDir(dir_.path()).entryList(QDir::Files), before);
  }

  // From the window's File menu: the heading is given, the file dialog
  // cancelled, and no file appears.
  void cancelledFileDialogWritesNothing() {
    Desk desk;
    QVERIFY(desk.Open());
    auto* entry = desk.window.findChild<QAction*>("ExportEvaluationRecord");
    QVERIFY(entry != nullptr);
    QCOMPARE(entry->text(), QString("Export &Evaluation Record…"));
    QSettings("Korrin", "Korrin").setValue("record/folder", dir_.path());
    const QStringList before = QDir(dir_.path()).entryList(QDir::Files);
    std::unique_ptr<ModalAnswer> files;
    QString proposed;
    ModalAnswer details(
        [&](QWidget* modal) {
          AnswerDetails(modal, "VK3XYZ", true);
          files = std::make_unique<ModalAnswer>(
              [&](QWidget* fileDialog) {
                auto* dialog = qobject_cast<QFileDialog*>(fileDialog);
                QVERIFY(dialog != nullptr);
                proposed = dialog->directory().absolutePath();
                dialog->reject();
              },
              kPatienceMs);
        },
        kPatienceMs);
    entry->trigger();
    QVERIFY(details.Seen());
    QVERIFY(files && files->Seen());
    QCOMPARE(proposed, QDir(dir_.path()).absolutePath());
    QCOMPARE(QDir(dir_.path()).entryList(QDir::Files), before);
  }

  // A name without ".pdf" gains it; the heading typed in is in the record
  // and is offered again next time.
  void writesTheRecordAndRemembersTheHeading() {
    Desk desk;
    QVERIFY(desk.Open());
    const QString chosen = dir_.filePath("station-record");
    std::unique_ptr<ModalAnswer> files;
    ModalAnswer details(
        [&](QWidget* modal) {
          AnswerDetails(modal, "VK3QRP", true);
          files = std::make_unique<ModalAnswer>(
              [&](QWidget* fileDialog) {
                auto* dialog = qobject_cast<QFileDialog*>(fileDialog);
                QVERIFY(dialog != nullptr);
                TypeFileName(dialog, chosen);
                static_cast<QDialog*>(dialog)->accept();  // as the Save button does
              },
              kPatienceMs);
        },
        kPatienceMs);
    const ExportOutcome outcome = ExportEvaluationRecord(&desk.window, desk.form, {});
    QVERIFY(files && files->Seen());
    QCOMPARE(int(outcome.status), int(ExportOutcome::Status::Written));
    QCOMPARE(outcome.path, chosen + ".pdf");
    const QString text = PdfText(outcome.path);
    QVERIFY2(text.contains("VK3QRP"), qPrintable(text.left(300)));
    // the minimum exempt distance, worked by hand in the unit tests
    QVERIFY(text.contains("166.87 m"));

    const RecordDetailsDialog again;
    QCOMPARE(again.Heading().callSign, QString("VK3QRP"));
  }

  void aFailedWriteIsShownWithItsReason() {
    Desk desk;
    QVERIFY(desk.Open());
    const QString chosen = dir_.filePath("no-such-folder/record.pdf");
    std::unique_ptr<ModalAnswer> files;
    std::unique_ptr<ModalAnswer> warning;
    QString shown;
    ModalAnswer details(
        [&](QWidget* modal) {
          AnswerDetails(modal, "VK3QRP", true);
          files = std::make_unique<ModalAnswer>(
              [&](QWidget* fileDialog) {
                auto* dialog = qobject_cast<QFileDialog*>(fileDialog);
                QVERIFY(dialog != nullptr);
                TypeFileName(dialog, chosen);
                static_cast<QDialog*>(dialog)->accept();  // as the Save button does
                warning = std::make_unique<ModalAnswer>(
                    [&](QWidget* box) {
                      auto* message = qobject_cast<QMessageBox*>(box);
                      QVERIFY(message != nullptr);
                      shown = message->text();
                      message->accept();
                    },
                    kPatienceMs);
              },
              kPatienceMs);
        },
        kPatienceMs);
    const ExportOutcome outcome = ExportEvaluationRecord(&desk.window, desk.form, {});
    QVERIFY(warning && warning->Seen());
    QCOMPARE(int(outcome.status), int(ExportOutcome::Status::Failed));
    QVERIFY(!QFileInfo::exists(chosen));
    QVERIFY2(shown.contains("no-such-folder/record.pdf") && shown.contains("("), qPrintable(shown));
    QVERIFY(shown.contains(QString::fromStdString(outcome.error)));
  }

 private:
  QTemporaryDir settingsDir_;
  QTemporaryDir dir_;
};

KORRIN_QT_TEST_MAIN(RecordTest)
#include "RecordTest.moc"
