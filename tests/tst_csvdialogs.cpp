// The CSV export and import dialogs, offscreen: what they offer, what they write or import, and
// how they look in English and German (PNGs under the test output directory).

#include "CsvExportDialog.h"
#include "CsvImportDialog.h"
#include "Dialogs.h"
#include "ImportDialog.h"
#include "Localization.h"
#include "MyDocument.h"
#include "Number.h"
#include "TestMain.h"
#include "UndoManager.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

MeasurementPtr reading(int day, int systolic, int diastolic)
{
    return TestSupport::reading(Date::fromComponents(2024, 3, day, 8, 15),
                                Number::integer(systolic), Number::integer(diastolic));
}

QString writeFile(const QTemporaryDir &dir, const char *name, const QByteArray &bytes)
{
    const QString path = dir.filePath(QLatin1String(name));
    if (!TestSupport::writeFile(path, bytes))
        qFatal("cannot write %s", name);
    return path;
}

const QByteArray kGermanFile =
    QString::fromUtf8("Datum;Uhrzeit;Sys;Dia;Puls;Gewicht;Notiz\n"
                      "01.03.2024;08:15;128;82;64;81,5;nach dem Frühstück\n"
                      "02.03.2024;08:15;131;85;66;;\n"
                      "03.03.2024;08:05;330;85;66;;Tippfehler\n"
                      "04.03.2024;07:55;125;80;;81,2;\n")
        .toUtf8();

} // namespace

class TestCsvDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::setTimeZone("Europe/Berlin"); }
    void init()
    {
        TestSupport::useLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        Dialogs::clearRecord();
    }

    void exportWritesTheChosenFile()
    {
        MyDocument document;
        document.setAllMeasurements({reading(1, 120, 80), reading(2, 125, 82)});
        QTemporaryDir dir;
        CsvExportDialog dialog(&document);
        QCOMPARE(dialog.separator(), u',');
        QVERIFY(!dialog.exportsAll());
        dialog.setSeparator(u'\t');
        auto *all = dialog.findChild<QCheckBox *>();
        QVERIFY(all && !all->accessibleName().isEmpty());
        all->setChecked(true);
        QVERIFY(dialog.exportsAll());
        QSignalSpy exported(&dialog, &CsvExportDialog::exported);
        QSignalSpy finished(&dialog, &QDialog::finished);
        dialog.open();
        Dialogs::setNextPath(dir.filePath(QStringLiteral("readings")));
        dialog.accept();
        QTRY_COMPARE(exported.size(), 1);
        QCOMPARE(exported.at(0).at(0).toString(), dir.filePath(QStringLiteral("readings.csv")));
        QCOMPARE(finished.size(), 1);
        QVERIFY(TestSupport::readFile(dir.filePath(QStringLiteral("readings.csv")))
                    .contains("\t120\t80\t"));

        // Cancelled file dialog: nothing written, the dialog stays.
        CsvExportDialog again(&document);
        QSignalSpy againFinished(&again, &QDialog::finished);
        again.open();
        Dialogs::setNextPath(QString());
        again.accept();
        QTest::qWait(0);
        QCoreApplication::processEvents();
        QCOMPARE(againFinished.size(), 0);
        QVERIFY(again.isVisible());

        // Where the decimal point is a comma, the separator is a semicolon.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(CsvExportDialog(&document).separator(), u';');
    }

    void importPreviewMappingAndUndo()
    {
        QTemporaryDir dir;
        const QString path = writeFile(dir, "german.csv", kGermanFile);
        MyDocument document;
        document.setAllMeasurements({reading(2, 131, 85)}); // the second row is already there
        CsvImportDialog dialog(&document, path);
        const CsvImporter::Result &result = dialog.result();
        QCOMPARE(result.separator, u';');
        QCOMPARE(result.readings.size(), 2);
        QCOMPARE(result.duplicateCount, 1);
        QCOMPARE(result.problemCount, 1);
        QCOMPARE(dialog.mappingTable()->rowCount(), 7);
        auto *notes = qobject_cast<QComboBox *>(dialog.mappingTable()->cellWidget(6, 2));
        QVERIFY(notes);
        QCOMPARE(CsvField(notes->currentData().toInt()), CsvField::Comments);
        QVERIFY(!notes->accessibleName().isEmpty());
        // Labelled by the file's column name, which is what names it for screen readers.
        auto *notesLabel = qobject_cast<QLabel *>(dialog.mappingTable()->cellWidget(6, 0));
        QVERIFY(notesLabel);
        QCOMPARE(notesLabel->buddy(), notes);
        QCOMPARE(dialog.previewTable()->rowCount(), 4);
        QVERIFY(dialog.previewTable()->item(2, 9)->text().contains(QStringLiteral("330")));

        // The user leaves the weight out: read again at once.
        auto *weight = qobject_cast<QComboBox *>(dialog.mappingTable()->cellWidget(5, 2));
        weight->setCurrentIndex(weight->findData(int(CsvField::Ignore)));
        QTRY_VERIFY(!dialog.result().readings.isEmpty() &&
                    !dialog.result().readings.first()->Weight().isValid());

        QSignalSpy imported(&dialog, &CsvImportDialog::imported);
        dialog.open();
        dialog.accept();
        QVERIFY(dialog.reviewDialog());
        QCOMPARE(dialog.reviewDialog()->documentDuplicateCount(), 1);
        QVERIFY(document.allItems().size() == 1 && imported.isEmpty());
        dialog.reviewDialog()->accept();
        QCOMPARE(imported.size(), 1);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(imported.at(0).at(0).value<qsizetype>(), 2);
        QCOMPARE(document.allItems().size(), 3);
        document.undoManager()->closeGroup();
        QCOMPARE(document.undoManager()->undoActionName(), QStringLiteral("Import Readings"));
        document.undoManager()->undo();
        QCOMPARE(document.allItems().size(), 1);
    }

    void importDialogIsWalkedWithTab()
    {
        QTemporaryDir dir;
        const QString path = writeFile(dir, "german.csv", kGermanFile);
        MyDocument document;
        CsvImportDialog dialog(&document, path);
        dialog.open();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.mappingTable()->setFocus();
        QSet<QWidget *> reached;
        for (int i = 0; i < 40; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached.insert(QApplication::focusWidget());
        }
        QVERIFY(reached.contains(dialog.previewTable()));
        QVERIFY(reached.contains(dialog.importButton()));
        dialog.reject();
    }

    // A column's name is shown and read out as it stands, "&" included (no mnemonic).
    void columnNamesAreShownAsTheyStand()
    {
        QTemporaryDir dir;
        const QString path =
            writeFile(dir, "amp.csv", "Date;Time;Sys & Dia;Notes\n01.03.2024;08:15;128;x\n");
        MyDocument document;
        CsvImportDialog dialog(&document, path);
        auto *label = qobject_cast<QLabel *>(dialog.mappingTable()->cellWidget(2, 0));
        QVERIFY(label);
        QAccessibleInterface *named = QAccessible::queryAccessibleInterface(label);
        QCOMPARE(named->text(QAccessible::Name), QStringLiteral("Sys & Dia"));
    }

    void importWaitsForTheDateOrder()
    {
        QTemporaryDir dir;
        const QString path =
            writeFile(dir, "us.csv", "Date,Time,SYS,DIA,HR\n03/04/2024,8:15 AM,120,80,60\n");
        MyDocument document;
        CsvImportDialog dialog(&document, path);
        QVERIFY(dialog.result().bDateOrderAmbiguous);
        QVERIFY(!dialog.canImport());
        QVERIFY(!dialog.importButton()->isEnabled());
        dialog.accept(); // nothing happens
        QVERIFY(!dialog.reviewDialog());
        dialog.setDateOrder(CsvImporter::DateOrder::MonthFirst);
        QVERIFY(dialog.importButton()->isEnabled());
        dialog.open();
        dialog.accept();
        QVERIFY(dialog.reviewDialog());
        dialog.reviewDialog()->accept();
        QCOMPARE(document.allItems().size(), 1);
        QCOMPARE(document.allItems().at(0)->theWholeDate().toDateTime().date(), QDate(2024, 3, 4));

        // A file that cannot be read: said, and nothing to import.
        CsvImportDialog missing(&document, QStringLiteral("/nonexistent/file.csv"));
        QVERIFY(!missing.result().error.isEmpty());
        QVERIFY(!missing.canImport());
    }
};

TENSILO_TEST_MAIN(TestCsvDialogs)
#include "tst_csvdialogs.moc"
