// The desktop platform of the window logic: message boxes and the station
// file dialogs.
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <algorithm>

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

  // The dialogs start in the folder of the last station file (the
  // request's folder), the documents folder before any or when it has gone;
  // the proposed name's own folder does not move them.
  void dialogsStartInTheStationFolder_data() {
    QTest::addColumn<QString>("folder");  // "<station>": a folder that exists
    QTest::addColumn<QString>("proposed");
    QTest::addColumn<bool>("inStationFolder");
    QTest::newRow("before any") << QString() << QString("*.rsd") << false;
    QTest::newRow("before any, a name with a folder")
        << QString() << QString("/tmp/x/last.rsd") << false;
    QTest::newRow("the station folder") << QString("<station>") << QString("*.rsd") << true;
    QTest::newRow("the station folder, a name elsewhere")
        << QString("<station>") << QString("/tmp/x/last.rsd") << true;
    QTest::newRow("a folder that has gone")
        << QString("/nonexistent/korrin") << QString("*.rsd") << false;
  }
  void dialogsStartInTheStationFolder() {
    QFETCH(QString, folder);
    QFETCH(QString, proposed);
    QFETCH(bool, inStationFolder);
    QTemporaryDir station;
    Desk desk;
    FileDialogRequest request;
    request.folder = (folder == "<station>" ? station.path() : folder).toStdString();
    request.fileName = proposed.toStdString();
    QString shown;
    QString name;
    const auto result = RunDialog(desk, request, false, [&](QFileDialog* d) {
      shown = d->directory().absolutePath();
      name = d->selectedFiles().value(0);
      static_cast<QDialog*>(d)->accept();  // as the OK button does
    });
    const QString documents =
        QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).absolutePath();
    QCOMPARE(shown, inStationFolder ? QDir(station.path()).absolutePath() : documents);
    QVERIFY(result.has_value());
    if (!proposed.contains('*')) {
      QCOMPARE(QString::fromStdString(*result), QDir(shown).filePath("last.rsd"));
    }
  }

  void theStationFolderIsRememberedBetweenRuns() {
    QTemporaryDir station;
    {
      QtPlatform first;
      QCOMPARE(QString::fromStdString(first.StationFolder()), QString());
      first.RememberStationFolder(station.path().toStdString());
    }
    QtPlatform next;  // the next run
    QCOMPARE(QString::fromStdString(next.StationFolder()), station.path());
    next.RememberStationFolder("");
  }

  // A question shows its buttons in order; each gives its answer, Escape
  // the one that loses nothing.
  void questionsAnswerWithTheButtonChosen_data() {
    QTest::addColumn<int>("which");  // the button pressed; -1 for Escape
    QTest::addColumn<int>("answer");
    QTest::newRow("Save") << 0 << int(Answer::Save);
    QTest::newRow("Discard") << 1 << int(Answer::Discard);
    QTest::newRow("Cancel") << 2 << int(Answer::Cancel);
    QTest::newRow("Escape") << -1 << int(Answer::Cancel);
  }
  void questionsAnswerWithTheButtonChosen() {
    QFETCH(int, which);
    QFETCH(int, answer);
    Desk desk;
    const Question question{"Save changes to the station before closing?",
                            {Answer::Save, Answer::Discard, Answer::Cancel},
                            Answer::Discard,
                            Answer::Cancel};
    QStringList buttons;
    QString text;
    QString defaultButton;
    ModalAnswer seen([&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      if (box == nullptr) {
        modal->close();
        return;
      }
      text = box->text();
      // The buttons from left to right.
      QList<QPushButton*> shown = box->findChildren<QPushButton*>();
      std::sort(shown.begin(), shown.end(),
                [](QPushButton* a, QPushButton* b) { return a->x() < b->x(); });
      for (QPushButton* b : shown) buttons << b->text();
      if (box->defaultButton()) defaultButton = box->defaultButton()->text();
      if (which < 0) {
        QTest::keyClick(box, Qt::Key_Escape);
      } else {
        for (QAbstractButton* b : box->buttons()) {
          if (b->text() == QStringList({"&Save", "&Discard", "Cancel"})[which]) b->click();
        }
      }
    });
    const Answer given = desk.platform.Ask(question);
    QVERIFY(seen.Seen());
    QCOMPARE(int(given), answer);
    QCOMPARE(text, QString("Save changes to the station before closing?"));
    QCOMPARE(buttons.size(), 3);
    QVERIFY(buttons.contains("&Save") && buttons.contains("&Discard") &&
            buttons.contains("Cancel"));
    QCOMPARE(defaultButton, QString("&Save"));
  }
};

KORRIN_QT_TEST_MAIN(PlatformTest)
#include "PlatformTest.moc"
