// The desktop platform of the window logic: message boxes and the station
// file dialogs.
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "QtTestSupport.h"

using namespace korrin;
using namespace korrin::test;

Q_DECLARE_METATYPE(korrin::MessageKind)

class PlatformTest : public QObject {
  Q_OBJECT
 private:
  QTemporaryDir home_;

  // Runs a file dialog of `desk`'s platform, lets `answer` look at it and
  // close it, and returns the dialog's result.
  static std::optional<std::string> RunDialog(Desk& desk, const FileDialogRequest& request,
                                              bool save,
                                              const std::function<void(QFileDialog*)>& answer) {
    ModalAnswer seen([answer](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      if (dialog == nullptr) {
        modal->close();
        return;
      }
      answer(dialog);
      // A dialog the answer failed to close must not hold up the run.
      QTimer::singleShot(2000, dialog, [dialog] {
        if (dialog->isVisible()) dialog->reject();
      });
    });
    auto result =
        save ? desk.platform.ExecuteSaveDialog(request) : desk.platform.ExecuteOpenDialog(request);
    if (!seen.Seen()) QTest::qFail("no dialog was shown", __FILE__, __LINE__);
    return result;
  }

 private slots:
  void initTestCase() {
    // The dialogs start in the user's documents folder: a fresh home.
    QVERIFY(home_.isValid());
    qputenv("HOME", home_.path().toUtf8());
    qunsetenv("XDG_CONFIG_HOME");
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
  }

  void messagesShowTheirTextWithOneOkButton_data() {
    QTest::addColumn<MessageKind>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("shown");
    QTest::newRow("warning") << MessageKind::Warning
                             << "File \"default.rsd\" not found, create one first with Save Data!"
                             << int(QMessageBox::Warning)
                             << "File \"default.rsd\" not found, create one first with Save Data!";
    QTest::newRow("information, lines by carriage returns")
        << MessageKind::Information << "Korrin\r    help\r\rline" << int(QMessageBox::Information)
        << "Korrin\n    help\n\nline";
    QTest::newRow("error") << MessageKind::Error << "The window could not be printed: x"
                           << int(QMessageBox::Critical) << "The window could not be printed: x";
  }
  void messagesShowTheirTextWithOneOkButton() {
    QFETCH(MessageKind, kind);
    QFETCH(QString, text);
    QFETCH(int, icon);
    QFETCH(QString, shown);
    Desk desk;
    QString seenText;
    QString title;
    int seenIcon = -1;
    QMessageBox::StandardButtons buttons;
    ModalAnswer seen([&](QWidget* modal) {
      if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        seenText = box->text();
        title = box->windowTitle();
        seenIcon = int(box->icon());
        buttons = box->standardButtons();
      }
      modal->close();
    });
    desk.platform.ShowMessage(kind, text.toStdString());
    QVERIFY(seen.Seen());
    QCOMPARE(seenText, shown);
    QCOMPARE(seenIcon, icon);
    QCOMPARE(title, QString("Korrin"));
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  }

  void theOpenDialogOffersStationFiles() {
    Desk desk;
    FileDialogRequest request;  // "Data|*.rsd", "rsd"
    request.fileName = "station.rsd";
    QStringList filters;
    QString suffix;
    QString folder;
    QString proposed;
    bool openMode = false;
    const auto result = RunDialog(desk, request, false, [&](QFileDialog* d) {
      filters = d->nameFilters();
      suffix = d->defaultSuffix();
      folder = d->directory().absolutePath();
      proposed = d->selectedFiles().value(0);
      openMode =
          d->acceptMode() == QFileDialog::AcceptOpen && d->fileMode() == QFileDialog::AnyFile;
      d->reject();
    });
    QVERIFY(!result.has_value());
    QCOMPARE(filters, QStringList{"Data (*.rsd)"});
    QCOMPARE(suffix, QString("rsd"));
    QCOMPARE(
        folder,
        QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).absolutePath());
    QVERIFY2(proposed.endsWith("/station.rsd"), qPrintable(proposed));
    QVERIFY(openMode);
  }

  void aNameWithoutExtensionGetsTheDefaultOne() {
    Desk desk;
    FileDialogRequest request;
    request.overwritePrompt = true;
    bool confirms = false;
    const auto result = RunDialog(desk, request, true, [&](QFileDialog* d) {
      confirms = !d->testOption(QFileDialog::DontConfirmOverwrite);
      // Typed into the name field (which has the focus, so selectFile
      // would leave it alone).
      auto* name = d->findChild<QLineEdit*>("fileNameEdit");
      QVERIFY(name != nullptr);
      name->setText("mystation");
      static_cast<QDialog*>(d)->accept();  // as the OK button does
    });
    QVERIFY(confirms);
    QVERIFY(result.has_value());
    QVERIFY2(QString::fromStdString(*result).endsWith("/mystation.rsd"), result->c_str());
  }

  void aProposedNameWithAFolderOpensThere() {
    QTemporaryDir dir;
    Desk desk;
    FileDialogRequest request;
    request.fileName = dir.filePath("last.rsd").toStdString();
    QString folder;
    const auto result = RunDialog(desk, request, false, [&](QFileDialog* d) {
      folder = d->directory().absolutePath();
      static_cast<QDialog*>(d)->accept();  // as the OK button does
    });
    QCOMPARE(folder, QDir(dir.path()).absolutePath());
    QVERIFY(result.has_value());
    QCOMPARE(QString::fromStdString(*result), dir.filePath("last.rsd"));
  }
};

KORRIN_QT_TEST_MAIN(PlatformTest)
#include "PlatformTest.moc"
