// File › Import… and File › Export › FHIR Bundle… through the document window: the one review of
// an Apple Health export, a FHIR Bundle, a monitor's session log and a CSV file (through its
// column mapping), one undo step named for the source, Cancel while the file is read, the
// exported Bundle imported back, and the empty readings page that shows how to start (PNGs of
// both in English and German under the test output).

#include "CsvImportDialog.h"
#include "Dialogs.h"
#include "DocumentBuilder.h"
#include "EmptyReadingsHint.h"
#include "ImportDialog.h"
#include "Localization.h"
#include "MonitorImportDialog.h"
#include "MyWindowController.h"
#include "Preferences.h"
#include "TestMain.h"
#include "UndoManager.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kData = QStringLiteral(TENSILO_SOURCE_DIR "/tests/data/exchange/");

// Finds nothing and never will: Import from Monitor opens without reaching anything.
class NoMonitors : public MonitorDeviceSource
{
public:
    using MonitorDeviceSource::MonitorDeviceSource;
    void startSearch() override {}
    void stopSearch() override {}
    MonitorTransport *createTransport(const MonitorDevice &, QObject *) override { return nullptr; }
};

// A document window, shown and active, that keeps the dialogs it opens.
struct Window
{
    std::unique_ptr<MyDocument> document;
    std::unique_ptr<MyWindowController> window;
    QList<QPointer<QDialog>> dialogs;
    // What the reading editor seam enters; null: it is cancelled.
    MeasurementPtr entered;

    explicit Window(std::unique_ptr<MyDocument> doc = std::make_unique<MyDocument>())
        : document(std::move(doc)), window(std::make_unique<MyWindowController>(document.get()))
    {
        window->onDialogOpened = [this](QDialog *dialog) { dialogs.append(dialog); };
        window->pageGrid()->showEditor = [this](ConstMeasurementPtr, MyDocument *, bool, QWidget *,
                                                PageGrid::EditorCallback done) {
            if (entered)
                done(nullptr, entered);
        };
        window->resize(760, 520);
        window->show();
        window->activateWindow();
    }
    ~Window() { window.reset(); }

    template <typename T> T *lastDialog() const
    {
        return dialogs.isEmpty() ? nullptr : qobject_cast<T *>(dialogs.last().data());
    }
    // Import… by its key, answered with `path`; the review once the file is read.
    ImportDialog *importByKey(const QString &path)
    {
        Dialogs::setNextPath(path);
        const qsizetype before = dialogs.size();
        QTest::keyClick(window.get(), Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
        if (!QTest::qWaitFor([&] { return dialogs.size() > before; }))
            return nullptr;
        auto *review = lastDialog<ImportDialog>();
        if (review && !QTest::qWaitFor([review] { return !review->isReading(); }))
            return nullptr;
        return review;
    }
    void endTurn() const { document->undoManager()->closeGroup(); }
};

QStringList column(const QTableView *table, int column)
{
    QStringList texts;
    for (int row = 0; row < table->model()->rowCount(); ++row)
        texts.append(table->model()->index(row, column).data().toString());
    return texts;
}

void render(QWidget *widget, const QString &name)
{
    QCoreApplication::processEvents();
    QVERIFY(widget->grab().save(TestSupport::outputPath(name + QLatin1String(".png"))));
}

// The readings' values FHIR carries, one line each, in time order.
QStringList fhirFields(const ConstMeasurementList &readings)
{
    QStringList lines;
    for (const ConstMeasurementPtr &r : readings)
        lines.append(u"%1 %2/%3 p%4 w%5 \"%6\" [%7]"_s.arg(
            r->theWholeDate().toDateTime().toUTC().toString(Qt::ISODate), r->Systolic().toString(),
            r->Diastolic().toString(), r->Pulse().toString(), r->Weight().toString(), r->Comments(),
            r->Tags().join(u',')));
    lines.sort();
    return lines;
}

} // namespace

class TestImportDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TestSupport::setTimeZone("Europe/Berlin");
        MonitorImportDialog::Environment environment;
        environment.createSource = [](QObject *parent) { return new NoMonitors(parent); };
        environment.state = &pState;
        MonitorImportDialog::setEnvironment(environment);
    }
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        Localization::install(QLocale(QLocale::English, QLocale::UnitedStates));
        Dialogs::clearRecord();
    }
    void cleanup() { QVERIFY(!Dialogs::hasQueuedAnswers()); }

    void appleHealthIsReviewedAndImportedAsOneStep()
    {
        Window w;
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        ImportDialog *review = w.importByKey(kData + u"health_export.xml"_s);
        QVERIFY(review);
        QVERIFY(review->isVisible());
        QCOMPARE(review->progressBar()->value(), review->progressBar()->maximum());
        // Three readings, and the correlation whose date has no zone refused with its line.
        QCOMPARE(column(review->reviewTable(), 0),
                 (QStringList{"New", "New", "New", "Refused (line 47)"}));
        QCOMPARE(column(review->reviewTable(), 6).last(),
                 qtTrId("import.problem.bad_time").arg("2024-04-01 09:00:00"));
        QCOMPARE(column(review->reviewTable(), 4), (QStringList{"66", "", "71", ""}));
        QVERIFY2(review->summaryText().startsWith(u"3 new readings, 0 duplicates"_s),
                 qPrintable(review->summaryText()));
        QVERIFY(review->skippedText().contains(u"2 × HKQuantityTypeIdentifierStepCount"_s));
        QVERIFY(review->skippedText().contains(qtTrId("import.skipped.weight_unjoined")));
        QVERIFY(w.document->allItems().isEmpty());
        QTRY_VERIFY(review->importButton()->hasFocus());

        QTest::keyClick(review->importButton(), Qt::Key_Space);
        QTRY_VERIFY(w.dialogs.last().isNull());
        QCOMPARE(w.document->allItems().size(), 3);
        QVERIFY(!w.window->pageGrid()->isEmptyHintShown());
        w.endTurn();
        QCOMPARE(w.document->undoManager()->undoActionName(), qtTrId("doc.import_health"));
        w.document->undoManager()->undo();
        QVERIFY(w.document->allItems().isEmpty());
        QVERIFY(w.window->pageGrid()->isEmptyHintShown());
        w.document->undoManager()->redo();

        // The same file again: everything is there already, Import has nothing to add.
        review = w.importByKey(kData + u"health_export.xml"_s);
        QVERIFY(review);
        QCOMPARE(review->documentDuplicateCount(), 3);
        QCOMPARE(column(review->reviewTable(), 0).mid(0, 3),
                 QStringList(3, qtTrId("csv.import.duplicate")));
        QVERIFY(!review->importButton()->isEnabled());
        QTest::keyClick(review, Qt::Key_Escape);
        QTRY_VERIFY(w.dialogs.last().isNull());
        QCOMPARE(w.document->allItems().size(), 3);

        // A file of no kind the program reads is refused with its name.
        QTemporaryDir dir;
        const QString prose = dir.filePath(u"letter.txt"_s);
        QVERIFY(TestSupport::writeFile(prose, "Dear doctor,\nmy readings are fine.\n"));
        Dialogs::clearRecord();
        Dialogs::setNextAnswer(0);
        Dialogs::setNextPath(prose);
        QTest::keyClick(w.window.get(), Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_COMPARE(Dialogs::record().size(), 2);
        QCOMPARE(Dialogs::record().last().stem, u"window.import.unknown"_s);
        QVERIFY(Dialogs::record().last().message.contains(u"letter.txt"_s));
        QCOMPARE(w.document->allItems().size(), 3);
    }

    // A CSV file goes through its column mapping to the same review: the user corrects a column,
    // sees the new, duplicate and refused rows, and imports them as one undo step.
    void csvIsMappedThenReviewedAndImportedAsOneStep()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"readings.csv"_s);
        QVERIFY(TestSupport::writeFile(path, "Date;Time;Systolic;Diastolic;Value\n"
                                             "01.03.2024;08:15;128;82;64\n"
                                             "02.03.2024;08:15;131;85;66\n"
                                             "03.03.2024;08:05;330;85;66\n"
                                             "04.03.2024;07:55;125;80;61\n"));
        Window w(
            DocumentBuilder().reading(Date::fromComponents(2024, 3, 2, 8, 15), 131, 85).build());
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        Dialogs::setNextPath(path);
        QTest::keyClick(w.window.get(), Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_VERIFY(w.lastDialog<CsvImportDialog>());
        auto *csv = w.lastDialog<CsvImportDialog>();
        QVERIFY(QTest::qWaitForWindowActive(csv));
        QCOMPARE(csv->result().mapping.at(4), CsvField::Ignore);

        // The last column holds the pulse: chosen from the keyboard.
        auto *value = qobject_cast<QComboBox *>(csv->mappingTable()->cellWidget(4, 2));
        QVERIFY(value);
        value->setFocus();
        const int pulse = value->findData(int(CsvField::Pulse));
        for (int i = value->currentIndex(); i < pulse; ++i)
            QTest::keyClick(value, Qt::Key_Down);
        QTRY_COMPARE(csv->result().mapping.at(4), CsvField::Pulse);

        QTest::mouseClick(csv->importButton(), Qt::LeftButton);
        ImportDialog *review = csv->reviewDialog();
        QVERIFY(review);
        QVERIFY(QTest::qWaitForWindowActive(review));
        QCOMPARE(column(review->reviewTable(), 0),
                 (QStringList{"New", "Already in the document", "New", "Refused (line 4)"}));
        QCOMPARE(column(review->reviewTable(), 4), (QStringList{"64", "66", "61", ""}));
        QVERIFY2(review->summaryText().startsWith(u"2 new readings, 1 duplicates"_s),
                 qPrintable(review->summaryText()));

        // Cancel goes back to the mapping; Review… again, then Import.
        QTest::keyClick(review, Qt::Key_Escape);
        QTRY_VERIFY(!csv->reviewDialog());
        QVERIFY(csv->isVisible());
        QCOMPARE(w.document->allItems().size(), 1);
        QTest::mouseClick(csv->importButton(), Qt::LeftButton);
        review = csv->reviewDialog();
        QVERIFY(review);
        QTRY_VERIFY(review->importButton()->hasFocus());
        QTest::keyClick(review->importButton(), Qt::Key_Space);
        QTRY_VERIFY(w.dialogs.last().isNull());
        QCOMPARE(w.document->allItems().size(), 3);
        w.endTurn();
        QCOMPARE(w.document->undoManager()->undoActionName(), qtTrId("doc.import_records"));
        w.document->undoManager()->undo();
        QCOMPARE(w.document->allItems().size(), 1);
    }

    // A monitor's session log is told by its content and reviewed like any other file.
    void monitorLogIsReviewedAndImported()
    {
        Window w;
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        ImportDialog *review = w.importByKey(
            QStringLiteral(TENSILO_SOURCE_DIR "/tests/data/fuzz/monitor/log-session"));
        QVERIFY(review);
        QCOMPARE(column(review->reviewTable(), 0), (QStringList{"New", "New"}));
        QTest::keyClick(review->importButton(), Qt::Key_Space);
        QTRY_VERIFY(w.dialogs.last().isNull());
        QCOMPARE(w.document->allItems().size(), 2);
        w.endTurn();
        QCOMPARE(w.document->undoManager()->undoActionName(), qtTrId("doc.import_monitor"));
    }

    void cancelWhileReadingAddsNothing()
    {
        // A larger export, so that the worker is certainly still at it.
        QTemporaryDir dir;
        const QString path = dir.filePath(u"export.xml"_s);
        QByteArray xml = "<?xml version=\"1.0\"?>\n<HealthData locale=\"en\">\n";
        for (int i = 0; i < 20000; ++i)
            xml.append(
                QStringLiteral("<Correlation type=\"HKCorrelationTypeIdentifierBloodPressure\" "
                               "startDate=\"2024-01-01 %1:%2:00 +0100\"><Record "
                               "type=\"HKQuantityTypeIdentifierBloodPressureSystolic\" "
                               "unit=\"mmHg\" value=\"%3\"/><Record "
                               "type=\"HKQuantityTypeIdentifierBloodPressureDiastolic\" "
                               "unit=\"mmHg\" value=\"80\"/></Correlation>\n")
                    .arg(i / 60 % 24, 2, 10, QLatin1Char('0'))
                    .arg(i % 60, 2, 10, QLatin1Char('0'))
                    .arg(100 + i % 80)
                    .toUtf8());
        QVERIFY(TestSupport::writeFile(path, xml + "</HealthData>\n"));

        Window w;
        bool wasReading = false;
        w.window->onDialogOpened = [&](QDialog *dialog) {
            auto *review = qobject_cast<ImportDialog *>(dialog);
            QVERIFY(review);
            wasReading = review->isReading();
            QTest::mouseClick(review->cancelButton(), Qt::LeftButton);
            w.dialogs.append(dialog);
        };
        Dialogs::setNextPath(path);
        QTest::mouseClick(w.window->pageGrid()->emptyHint()->importButton(), Qt::LeftButton);
        QTRY_COMPARE(w.dialogs.size(), 1);
        QVERIFY(wasReading);
        QTRY_VERIFY(w.dialogs.last().isNull());
        QVERIFY(w.document->allItems().isEmpty());
        QVERIFY(!w.document->undoManager()->canUndo());
        QVERIFY(w.window->pageGrid()->isEmptyHintShown());
    }

    void exportedBundleImportsBack()
    {
        auto reading = [](int day, int systolic, QVariant pulse, QVariant weight,
                          const QString &comment, const QStringList &tags) {
            MeasurementPtr r = TestSupport::reading(Date::fromComponents(2026, 12, day, 8, 15),
                                                    systolic, 80 + day, tags);
            r->setPulse(pulse);
            r->setWeight(weight);
            if (!comment.isNull())
                r->setComments(comment);
            return r;
        };
        MeasurementPtr custom = reading(3, 150, 70, QVariant(), u"after a walk"_s, {u"Evening"_s});
        custom->setCustomValue1(5);
        Window source(
            DocumentBuilder()
                .reading(reading(1, 120, 64, 81.5, u"Müde, „früh“"_s, {u"Morning"_s, u"Home"_s}))
                .reading(reading(2, 135, QVariant(), QVariant(), QString(), {}))
                .reading(custom)
                .reading(reading(4, 118, 58, 80, QString(), {}))
                .filter(u"High"_s, u"Systolic >= 130"_s)
                .selectFilter(0)
                .build());
        QTemporaryDir dir;
        const QString bundle = dir.filePath(u"bundle.json"_s);
        QAction *exportFhir = source.window->findChild<QAction *>(u"actionExportFhir"_s);
        QVERIFY(exportFhir);

        // The filter hides two readings: the filtered ones are asked for.
        Dialogs::setNextAnswer(0);
        Dialogs::setNextPath(dir.filePath(u"bundle"_s));
        Dialogs::setNextAnswer(0); // the note on the custom value
        exportFhir->trigger();
        QTRY_VERIFY(!Dialogs::hasQueuedAnswers());
        QCOMPARE(Dialogs::record().at(0).stem, u"window.export_fhir.which"_s);
        QVERIFY(Dialogs::record().at(0).message.contains(u"2 of the 4"_s));
        QCOMPARE(Dialogs::record().last().stem, u"window.export_fhir.custom"_s);
        QVERIFY(QFile::exists(bundle));

        // All of them, over the same file: the file dialog's suffix makes it the one asked about.
        Dialogs::clearRecord();
        Dialogs::setNextAnswer(1);
        Dialogs::setNextPath(dir.filePath(u"bundle"_s));
        Dialogs::setNextAnswer(0); // replace
        Dialogs::setNextAnswer(0); // custom value
        exportFhir->trigger();
        QTRY_VERIFY(!Dialogs::hasQueuedAnswers());
        QCOMPARE(Dialogs::record().at(2).stem, u"file.replace"_s);

        Window target;
        QVERIFY(QTest::qWaitForWindowActive(target.window.get()));
        ImportDialog *review = target.importByKey(bundle);
        QVERIFY(review);
        QCOMPARE(column(review->reviewTable(), 0), QStringList(4, u"New"_s));
        QTest::keyClick(review, Qt::Key_Return);
        QTRY_VERIFY(target.dialogs.last().isNull());
        target.endTurn();
        QCOMPARE(target.document->undoManager()->undoActionName(), qtTrId("doc.import_fhir"));
        QCOMPARE(fhirFields(target.document->allItems()), fhirFields(source.document->allItems()));
    }

    void emptyPageShowsHowToStart()
    {
        Window w;
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        PageGrid *grid = w.window->pageGrid();
        EmptyReadingsHint *hint = grid->emptyHint();
        QVERIFY(grid->isEmptyHintShown());
        QVERIFY(hint->isVisible() && !grid->tableView()->isVisible());

        // The page passes the focus to its first button; Tab goes on through the others.
        w.window->selectPage(MyWindowController::ChartPage);
        w.window->selectPage(MyWindowController::ReadingsPage);
        QTRY_VERIFY(hint->addButton()->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(hint->importButton()->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(hint->monitorButton()->hasFocus());
        for (QPushButton *button : {hint->addButton(), hint->importButton(), hint->monitorButton()})
            QVERIFY(!button->accessibleName().isEmpty());

        // Add: the reading editor; the reading entered puts the table in the hint's place, and
        // deleting it brings the hint back.
        w.entered = TestSupport::reading(Date::fromComponents(2026, 12, 7, 8, 15), 120, 80);
        hint->addButton()->setFocus();
        QTest::keyClick(hint->addButton(), Qt::Key_Space);
        QTRY_COMPARE(w.document->allItems().size(), 1);
        QVERIFY(!grid->isEmptyHintShown());
        QVERIFY(grid->tableView()->isVisible());
        QVERIFY(grid->tableView()->hasFocus());
        w.endTurn();
        w.document->deleteMeasurements(w.document->allItems());
        QVERIFY(grid->isEmptyHintShown());
        w.document->undoManager()->undo();
        QVERIFY(!grid->isEmptyHintShown());
        w.document->undoManager()->redo();
        QVERIFY(grid->isEmptyHintShown());

        // Import from Monitor opens its window.
        QTest::keyClick(hint->monitorButton(), Qt::Key_Space);
        QVERIFY(w.lastDialog<MonitorImportDialog>());
        w.lastDialog<MonitorImportDialog>()->reject();
    }

    void looksRightInBothLanguages()
    {
        for (const char *language : {"en", "de"}) {
            const QLocale locale{QString::fromLatin1(language)};
            QLocale::setDefault(locale);
            Localization::install(locale);
            Window w;
            render(w.window.get(), u"empty_readings_%1"_s.arg(QLatin1String(language)));

            MyDocument document;
            ImportDialog review(&document, kData + u"health_export.xml"_s,
                                ImportDetector::Kind::AppleHealth);
            review.open();
            QTRY_VERIFY(!review.isReading());
            for (QWidget *widget : review.findChildren<QWidget *>()) {
                if (widget->focusPolicy() != Qt::NoFocus && widget->isVisible() &&
                    !widget->inherits("QScrollBar") && !widget->inherits("QHeaderView"))
                    QVERIFY2(!widget->accessibleName().isEmpty(),
                             widget->metaObject()->className());
            }
            render(&review, u"import_review_%1"_s.arg(QLatin1String(language)));
        }
    }

private:
    QSettings pState{QDir::temp().filePath(u"tst_importdialog.ini"_s), QSettings::IniFormat};
};

TENSILO_TEST_MAIN(TestImportDialog)
#include "tst_importdialog.moc"
