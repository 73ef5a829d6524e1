// CSV export and import: the file a spreadsheet gets, the readings that come back, the rows that
// are refused and why, and files built to hurt.

#include "../fuzz/csv_fuzz_body.h"
#include "CsvExporter.h"
#include "CsvImporter.h"
#include "CsvReader.h"
#include "LocalTimeOffsets.h"
#include "Localization.h"
#include "MyDocument.h"
#include "Number.h"
#include "Preferences.h"
#include "TestMain.h"
#include "UndoManager.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

MeasurementPtr reading(const QDateTime &when, const QVariant &systolic, const QVariant &diastolic)
{
    return TestSupport::reading(Date::fromDateTime(when), systolic, diastolic);
}

QDateTime local(int y, int mo, int d, int h, int mi, int s = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::LocalTime);
}

QStringList lines(const QByteArray &csv)
{
    QString text = QString::fromUtf8(csv);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QStringList list = text.split(QLatin1String("\r\n"));
    if (!list.isEmpty() && list.last().isEmpty())
        list.removeLast();
    return list;
}

CsvImporter::Result importText(const QByteArray &text, const CsvImporter::Options &options = {},
                               const MyDocument *document = nullptr)
{
    return CsvImporter::read(text, options, document);
}

QList<qint64> problemLines(const CsvImporter::Result &result)
{
    QList<qint64> list;
    for (const auto &problem : result.problems)
        list.append(problem.line);
    return list;
}

} // namespace

class TestCsv : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::setTimeZone("Europe/Berlin"); }
    void init() { Preferences::useTemporaryStore(); }

    // --- Export ---------------------------------------------------------------------------------

    void exportWritesSpreadsheetText()
    {
        Preferences &preferences = Preferences::shared();
        preferences.setValueForKey(true, Preferences::customShow2);
        preferences.setValueForKey(QStringLiteral("Glucose, fasting"), Preferences::customTitle2);
        preferences.setValueForKey(false, Preferences::showWeight);

        MyDocument document;
        auto winter = reading(local(2024, 1, 15, 7, 5, 9), 121, 79);
        winter->setPulse(Number::real(64.0));  // whole: written without a fraction
        winter->setWeight(Number::real(80.5)); // weight not shown: not written
        winter->setCustomValue2(Number::real(5.25));
        winter->setComments(QStringLiteral("said \"fine\", then\nleft; ok"));
        winter->setTags({QStringLiteral("morning"), QStringLiteral("left arm")});
        auto summer = reading(local(2024, 7, 1, 22, 30), 135.5, 88);
        summer->setTheWholeDate(summer->theWholeDate().addingSeconds(0.25));
        document.setAllMeasurements({summer, winter});

        CsvExporter exporter({u',', false});
        const QByteArray csv = exporter.exportDocument(document);
        QVERIFY(csv.startsWith("\xEF\xBB\xBF"));
        // The header, winter (a line break inside its comment), summer.
        QCOMPARE(lines(csv),
                 (QStringList{"Date,Time,Date and time (ISO 8601),Systolic,Diastolic,Pulse,"
                              "\"Glucose, fasting\",Comment,Tags",
                              "2024-01-15,07:05:09,2024-01-15T07:05:09+01:00,121,79,64,5.25,"
                              "\"said \"\"fine\"\", then\nleft; ok\",morning; left arm",
                              "2024-07-01,22:30:00,2024-07-01T22:30:00.250+02:00,135.5,88,,,,"}));

        // --all: every value, whatever the preferences show.
        CsvExporter all({u';', true});
        QCOMPARE(all.columns().size(), 12);
        const QStringList allRows = lines(all.exportDocument(document));
        QVERIFY(allRows.at(0).startsWith(QStringLiteral("Date;Time;")));
        QVERIFY(allRows.at(1).contains(QStringLiteral(";64;80.5;;5.25;;")));
        // A semicolon separator leaves commas unquoted and quotes the semicolon.
        QVERIFY(allRows.at(1).contains(QStringLiteral(";\"said \"\"fine\"\", then")));
    }

    void exportFollowsFilterAndLanguage()
    {
        MyDocument document;
        document.setAllMeasurements(
            {reading(local(2024, 3, 1, 8, 0), 110, 70), reading(local(2024, 3, 2, 8, 0), 160, 95)});
        FilterPtr filter = document.filters().value(1); // a stock filter other than "all"
        QVERIFY(filter);
        document.setFilter(filter);
        const qsizetype shown = document.items().size();
        QCOMPARE(lines(CsvExporter({u',', false}).exportDocument(document)).size(), 1 + shown);
        QCOMPARE(lines(CsvExporter({u',', true}).exportDocument(document)).size(), 3);

        QCOMPARE(CsvExporter::defaultSeparator(QLocale(QLocale::German, QLocale::Germany)), u';');
        QCOMPARE(CsvExporter::defaultSeparator(QLocale(QLocale::English, QLocale::UnitedStates)),
                 u',');
        Localization::install(QLocale(QLocale::German, QLocale::Germany));
        const QString header = lines(CsvExporter({u';', false}).exportDocument(document)).at(0);
        Localization::install(QLocale(QLocale::English, QLocale::UnitedStates));
        QVERIFY2(header.startsWith(QStringLiteral("Datum;Uhrzeit;Zeitpunkt (ISO 8601);Systolisch")),
                 qPrintable(header));
    }

    void writeFailureLeavesNoFile()
    {
        MyDocument document;
        QString error;
        QVERIFY(!CsvExporter({u',', true})
                     .writeDocument(document, QStringLiteral("/nonexistent/dir/out.csv"), &error));
        QVERIFY(error.contains(QStringLiteral("/nonexistent/dir/out.csv")));
    }

    // --- Round trip -----------------------------------------------------------------------------

    void roundTrip_data()
    {
        QTest::addColumn<QString>("separator");
        QTest::newRow("comma") << QStringLiteral(",");
        QTest::newRow("semicolon") << QStringLiteral(";");
        QTest::newRow("tab") << QStringLiteral("\t");
    }
    void roundTrip()
    {
        QFETCH(QString, separator);
        MyDocument source;
        MeasurementList readings;
        QRandomGenerator random(7);
        for (int i = 0; i < 300; ++i) {
            // Across both clock changes of two years, to the millisecond.
            const double at =
                1700000000.0 + random.bounded(60000000) + random.bounded(1000) / 1000.0;
            auto r = std::make_shared<Measurement>();
            r->setTheWholeDate(Date::fromTimeIntervalSince1970(at));
            r->setSystolic(Number::integer(100 + random.bounded(100)));
            r->setDiastolic(i % 3 ? Number::integer(60 + random.bounded(30)) : Number::real(70.5));
            if (i % 2)
                r->setPulse(Number::integer(50 + random.bounded(50)));
            if (i % 5 == 0)
                r->setWeight(Number::real(70.3 + i));
            if (i % 7 == 0)
                r->setCustomValue3(Number::real(-1.125));
            if (i % 4 == 0)
                r->setComments(QStringLiteral("line %1,\r\nsecond \"line\"; é€😀\t").arg(i));
            if (i % 6 == 0)
                r->setTags({QStringLiteral("a b"), QStringLiteral("ü")});
            readings.append(r);
        }
        source.setAllMeasurements(readings);
        const QByteArray csv = CsvExporter({separator.at(0), true}).exportDocument(source);

        const CsvImporter::Result result = importText(csv);
        QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
        QCOMPARE(result.separator, separator.at(0));
        QCOMPARE(result.problemCount, 0);
        QCOMPARE(result.readings.size(), readings.size());
        MyDocument target;
        QCOMPARE(CsvImporter::apply(result, &target), readings.size());
        QCOMPARE(fuzzing::kept(target.allItems()), fuzzing::kept(source.allItems()));
        // The same file again: every row is a duplicate.
        const CsvImporter::Result again = importText(csv, {}, &target);
        QCOMPARE(again.readings.size(), 0);
        QCOMPARE(again.duplicateCount, readings.size());
    }

    // --- Import ---------------------------------------------------------------------------------

    void importGermanSpreadsheet()
    {
        // Latin-1, semicolons, decimal commas, German titles and abbreviations, 24-hour "Uhr".
        const QByteArray text =
            QString::fromUtf8("Datum;Uhrzeit;Sys.;Dia;Puls (1/min);Gewicht (kg);Bemerkung;"
                              "Schlagwörter;Unbekannt\n"
                              "05.03.2024;08:15 Uhr;128;82;64;81,5;nach dem Frühstück;"
                              "\"morgens; links\";x\n"
                              "6.3.24;19.40;131;85;;;;;\n")
                .toLatin1();
        const CsvImporter::Result result = importText(text);
        QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
        QCOMPARE(result.encoding, CsvReader::Encoding::Latin1);
        QCOMPARE(result.separator, u';');
        QVERIFY(result.bHeader);
        QCOMPARE(result.mapping,
                 (QList<CsvField>{CsvField::Date, CsvField::Time, CsvField::Systolic,
                                  CsvField::Diastolic, CsvField::Pulse, CsvField::Weight,
                                  CsvField::Comments, CsvField::Tags, CsvField::Ignore}));
        QCOMPARE(result.readings.size(), 2);
        const auto &first = result.readings.at(0);
        QCOMPARE(first->theWholeDate().toDateTime(), local(2024, 3, 5, 8, 15));
        QCOMPARE(first->Weight(), QVariant(81.5));
        QCOMPARE(first->Systolic(), QVariant(qlonglong(128)));
        QCOMPARE(first->Comments(), QString::fromUtf8("nach dem Frühstück"));
        QCOMPARE(first->Tags(), (QStringList{QStringLiteral("morgens"), QStringLiteral("links")}));
        QCOMPARE(result.readings.at(1)->theWholeDate().toDateTime(), local(2024, 3, 6, 19, 40));
        QVERIFY(!result.readings.at(1)->Pulse().isValid());
        QCOMPARE(result.preview.size(), 2);
        QCOMPARE(result.preview.at(0).line, 2);
    }

    void importDateAndTimeForms_data()
    {
        QTest::addColumn<QByteArray>("cell");
        QTest::addColumn<QDateTime>("expected");
        const QDateTime utc(QDate(2024, 7, 9), QTime(6, 30), Qt::UTC);
        QTest::newRow("iso offset") << QByteArray("2024-07-09T08:30:00+02:00") << utc;
        QTest::newRow("iso Z") << QByteArray("2024-07-09T06:30Z") << utc;
        QTest::newRow("iso compact offset") << QByteArray("2024-07-09 01:30:00-0500") << utc;
        QTest::newRow("iso local") << QByteArray("2024-07-09T08:30") << utc;
        QTest::newRow("german") << QByteArray("09.07.2024 08:30") << utc;
        QTest::newRow("12 hour am") << QByteArray("2024-07-09 8:30 AM") << utc;
        QTest::newRow("12 hour pm") << QByteArray("2024-07-09 12:05 pm")
                                    << QDateTime(QDate(2024, 7, 9), QTime(10, 5), Qt::UTC);
        QTest::newRow("12 midnight") << QByteArray("2024-07-09 12:00 a.m.")
                                     << QDateTime(QDate(2024, 7, 8), QTime(22, 0), Qt::UTC);
        QTest::newRow("unix seconds") << QByteArray::number(utc.toSecsSinceEpoch()) << utc;
        QTest::newRow("unix ms") << QByteArray::number(utc.toMSecsSinceEpoch()) << utc;
    }
    void importDateAndTimeForms()
    {
        QFETCH(QByteArray, cell);
        QFETCH(QDateTime, expected);
        const CsvImporter::Result result =
            importText("Timestamp,SYS,DIA,HR\n\"" + cell + "\",120,80,60\n");
        QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
        QCOMPARE(result.problemCount, 0);
        QCOMPARE(result.readings.size(), 1);
        QCOMPARE(result.readings.at(0)->theWholeDate().toDateTime().toUTC(), expected);
        QCOMPARE(result.readings.at(0)->Pulse(), QVariant(qlonglong(60)));
    }

    void timestampsEndInTheYear9999()
    {
        // Later moments would be written back as years of five digits, which no date form reads.
        const CsvImporter::Result result =
            importText("Timestamp,SYS,DIA\n253402214399999,120,80\n253402214400000,121,80\n");
        QCOMPARE(result.readings.size(), 1);
        QCOMPARE(result.readings.at(0)->theWholeDate().toDateTime().toUTC(),
                 QDateTime(QDate(9999, 12, 30), QTime(23, 59, 59, 999), Qt::UTC));
        QCOMPARE(problemLines(result), (QList<qint64>{3}));
    }

    void importSlashedDatesByColumn()
    {
        // One day above 12 decides the whole column.
        const CsvImporter::Result monthFirst =
            importText("date,time,systolic,diastolic\n03/04/2024,7:00,120,80\n"
                       "03/25/2024,7:00,121,80\n");
        QVERIFY(!monthFirst.bDateOrderAmbiguous);
        QCOMPARE(monthFirst.dateOrder, CsvImporter::DateOrder::MonthFirst);
        QCOMPARE(monthFirst.readings.at(0)->theWholeDate().toDateTime().date(), QDate(2024, 3, 4));

        const CsvImporter::Result dayFirst =
            importText("date,time,systolic,diastolic\n03/04/2024,7:00,120,80\n"
                       "25/03/2024,7:00,121,80\n");
        QCOMPARE(dayFirst.dateOrder, CsvImporter::DateOrder::DayFirst);
        QCOMPARE(dayFirst.readings.at(0)->theWholeDate().toDateTime().date(), QDate(2024, 4, 3));

        // Nothing tells: the caller must ask, then reads again with the answer.
        const QByteArray unclear =
            "date,systolic,diastolic\n03/04/2024,120,80\n05/06/2024,121,80\n";
        QVERIFY(importText(unclear).bDateOrderAmbiguous);
        CsvImporter::Options options;
        options.dateOrder = CsvImporter::DateOrder::MonthFirst;
        const CsvImporter::Result answered = importText(unclear, options);
        QVERIFY(!answered.bDateOrderAmbiguous);
        QCOMPARE(answered.readings.at(1)->theWholeDate().toDateTime().date(), QDate(2024, 5, 6));
    }

    void importRefusesBadRowsWithLines()
    {
        const QByteArray text = "Date,Systolic,Diastolic,Pulse,Weight,Comment\n"
                                "2024-01-01 08:00,120,80,60,70,fine\n"        // line 2
                                "2024-01-02 08:00,49,80,,,\n"                 // 3: systolic
                                "2024-01-03 08:00,120,120,,,\"two\nlines\"\n" // 4-5: pressure
                                "2024-01-04 08:00,120,80,0,,\n"               // 6: pulse 0
                                "\n"                                          // 7: blank
                                "2024-01-05 08:00,120,80,,401,\n"             // 8: weight
                                "2024-02-30 08:00,120,80,,,\n"                // 9: no such day
                                "2024-01-06 08:00,abc,80,,,\n"                // 10: not a number
                                "2024-01-07 08:00,,80,,,\n"                   // 11: no systolic
                                "2024-01-08 08:00,120,80,60,70,fine\n"        // 12
                                "2024-01-08 08:00,120,80,61,71,repeated\n";   // 13: duplicate
        const CsvImporter::Result result = importText(text);
        QCOMPARE(result.readings.size(), 2);
        QCOMPARE(result.rowCount, 10);
        QCOMPARE(result.duplicateCount, 1);
        QCOMPARE(problemLines(result), (QList<qint64>{3, 4, 6, 8, 9, 10, 11}));
        QCOMPARE(result.problems.at(0).reason, QStringLiteral("Systolic 49 is outside 50 to 300."));
        QCOMPARE(result.problems.at(1).reason,
                 QStringLiteral("Systolic 120 is not above diastolic 120."));
        QVERIFY(result.problems.at(4).reason.contains(QStringLiteral("2024-02-30")));
        QVERIFY(result.problems.at(5).reason.startsWith(QStringLiteral("Systolic: ")));
    }

    void duplicatesInAnyOrder()
    {
        // In time order, out of order, and against the document: the first occurrence wins.
        MyDocument document;
        document.setAllMeasurements({reading(local(2024, 1, 5, 8, 0), 130, 85)});
        const QByteArray text = "Date,Sys,Dia\n"
                                "2024-01-01 08:00,120,80\n"
                                "2024-01-01 08:00,120,80\n" // repeat, in order
                                "2024-01-01 08:00,121,80\n" // same instant, other pressure
                                "2024-01-03 08:00,120,80\n"
                                "2024-01-02 08:00,120,80\n" // out of order from here on
                                "2024-01-01 08:00,121,80\n" // repeat of line 4
                                "2024-01-05 08:00,130,85\n" // in the document
                                "2024-01-02 08:00,120,80\n" // repeat of line 6
                                "2024-01-04 08:00,120,80\n";
        const CsvImporter::Result result = importText(text, {}, &document);
        QCOMPARE(result.duplicateCount, 4);
        QCOMPARE(result.readings.size(), 5);
        QCOMPARE(result.problemCount, 0);
        QVERIFY(result.preview.at(1).bDuplicate);
        QVERIFY(!result.preview.at(2).bDuplicate);
        QVERIFY(result.preview.at(5).bDuplicate);
        QVERIFY(result.preview.at(6).bDuplicate);
        QCOMPARE(CsvImporter::apply(result, &document), 5);
        QCOMPARE(document.allItems().size(), 6);
    }

    void importWithoutUsableColumns()
    {
        const CsvImporter::Result noPressure = importText("Date,Weight\n2024-01-01,70\n");
        QVERIFY(noPressure.error.contains(QStringLiteral("Systolic")));
        QCOMPARE(noPressure.readings.size(), 0);
        // The user's mapping fixes it.
        CsvImporter::Options options;
        options.mapping = {CsvField::Date, CsvField::Ignore, CsvField::Systolic,
                           CsvField::Diastolic};
        const CsvImporter::Result mapped =
            importText("when,what,upper value,lower value\n2024-01-01,x,130,85\n", options);
        QVERIFY2(mapped.error.isEmpty(), qPrintable(mapped.error));
        QCOMPARE(mapped.readings.size(), 1);
        // No header at all: the columns are guessed from the first row.
        const CsvImporter::Result bare = importText("2024-01-01 07:00\t125\t81\t70\n");
        QVERIFY2(bare.error.isEmpty(), qPrintable(bare.error));
        QVERIFY(!bare.bHeader);
        QCOMPARE(bare.readings.size(), 1);
        QCOMPARE(bare.readings.at(0)->Pulse(), QVariant(qlonglong(70)));
        QVERIFY(!importText("").error.isEmpty());
        QVERIFY(!importText("\xEF\xBB\xBF\r\n\r\n").error.isEmpty());
    }

    void importEncodings()
    {
        const QString text = QString::fromUtf8("Date,Sys,Dia,Notes\n2024-01-01,120,80,Grüße €\n");
        const QString expected = QString::fromUtf8("Grüße €");
        QByteArray utf8Bom = "\xEF\xBB\xBF" + text.toUtf8();
        QCOMPARE(importText(utf8Bom).readings.at(0)->Comments(), expected);
        QCOMPARE(importText(text.toUtf8()).encoding, CsvReader::Encoding::Utf8);
        QByteArray utf16("\xFF\xFE", 2);
        utf16.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
        QCOMPARE(importText(utf16).readings.at(0)->Comments(), expected);
        // Invalid UTF-8 is read as Latin-1 (every byte a character), not refused.
        const CsvImporter::Result latin =
            importText("Date,Sys,Dia,Notes\n2024-01-01,120,80,a\xFF\xC3\n");
        QCOMPARE(latin.encoding, CsvReader::Encoding::Latin1);
        QCOMPARE(latin.readings.at(0)->Comments(), QString::fromUtf8("aÿÃ"));
    }

    void importIsOneNamedUndoStep()
    {
        MyDocument document;
        auto existing = reading(local(2024, 1, 1, 8, 0), 120, 80);
        document.setAllMeasurements({existing});
        const CsvImporter::Result result =
            importText("Date,Sys,Dia\n2024-01-01 08:00,120,80\n2024-01-02 08:00,121,80\n"
                       "2024-01-03 08:00,122,80\n",
                       {}, &document);
        QCOMPARE(result.duplicateCount, 1);
        QCOMPARE(CsvImporter::apply(result, &document), 2);
        UndoManager *undo = document.undoManager();
        undo->closeGroup();
        QCOMPARE(undo->undoActionName(), QStringLiteral("Import Readings"));
        QCOMPARE(document.allItems().size(), 3);
        undo->undo();
        QCOMPARE(document.allItems().size(), 1);
        QCOMPARE(undo->redoActionName(), QStringLiteral("Import Readings"));
        undo->redo();
        QCOMPARE(document.allItems().size(), 3);
        QCOMPARE(undo->undoActionName(), QStringLiteral("Import Readings"));
        QCOMPARE(document.items().size(), 3);
    }

    // --- Hostile files --------------------------------------------------------------------------

    void hostileFiles()
    {
        QTemporaryDir dir;
        // A sparse gigabyte of NULs, one line: refused before it is read.
        const QString huge = dir.filePath(QStringLiteral("huge.csv"));
        {
            QFile file(huge);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.resize(qint64(1) << 30));
        }
        QElapsedTimer timer;
        timer.start();
        const CsvImporter::Result tooLarge = CsvImporter::readFile(huge, {}, nullptr);
        QVERIFY(!tooLarge.error.isEmpty());
        QVERIFY(timer.elapsed() < 2000);

        // A line of 2 MiB among good ones: that line is refused, the others are read.
        QByteArray text = "Date,Sys,Dia,Notes\n2024-01-01,120,80,a\n2024-01-02,120,80,";
        text.append(QByteArray(2 << 20, 'x'));
        text.append("\n2024-01-03,120,80,c\n");
        CsvImporter::Result longLine = importText(text);
        QCOMPARE(longLine.readings.size(), 2);
        QCOMPARE(problemLines(longLine), QList<qint64>{3});

        // A million columns, in the header and in a row.
        const QByteArray wide(1000000, ',');
        QVERIFY(!importText(wide + "\n2024-01-01,120,80\n").error.isEmpty());
        CsvImporter::Result wideRow = importText("Date,Sys,Dia\n" + wide + "\n2024-01-01,120,80\n");
        QCOMPARE(wideRow.readings.size(), 1);
        QCOMPARE(problemLines(wideRow), QList<qint64>{2});

        // NUL bytes and an unclosed quote.
        const char nulText[] = "Date,Sys,Dia\n2024-01-01,12\0"
                               "0,80\n2024-01-02,120,80\n";
        const QByteArray nul(nulText, sizeof nulText - 1);
        CsvImporter::Result nuls = importText(nul);
        QCOMPARE(nuls.readings.size(), 1);
        QCOMPARE(problemLines(nuls), QList<qint64>{2});
        CsvImporter::Result unclosed =
            importText("Date,Sys,Dia\n2024-01-01,120,80\n\"2024-01-02,1");
        QCOMPARE(unclosed.readings.size(), 1);
        QCOMPARE(problemLines(unclosed), QList<qint64>{3});

        // Many bad rows: all counted, a bounded number kept.
        QByteArray bad = "Date,Sys,Dia\n";
        for (int i = 0; i < 5000; ++i)
            bad.append("x,1,1\n");
        CsvImporter::Result many = importText(bad);
        QCOMPARE(many.problemCount, 5000);
        QCOMPARE(many.problems.size(), CsvImporter::kMaxProblems);
    }

    // The fuzz target's checks over random bytes in a CSV file's alphabet.
    void randomBytesNeverCrash()
    {
        QRandomGenerator random(11);
        const char alphabet[] = "0123456789,;\t\"\r\n.:/-+ TZamp\xC3\xA4\xFF";
        for (int round = 0; round < 300; ++round) {
            QByteArray bytes = "Date,Time,Sys,Dia,Pulse,Weight,Tags\n";
            const int size = random.bounded(400);
            for (int i = 0; i < size; ++i)
                bytes.append(alphabet[random.bounded(int(sizeof alphabet) - 1)]);
            fuzzing::csvOne(bytes); // aborts when a reading fails the checks or a round trip
        }
    }

    // --- The tool -------------------------------------------------------------------------------

    void toolExportsAndImports()
    {
        QTemporaryDir dir;
        const auto path = [&dir](const char *name) { return dir.filePath(QLatin1String(name)); };
        const auto tool = [&dir](const QStringList &arguments) {
            return TestSupport::runTool(arguments, dir.path());
        };

        MyDocument document;
        auto a = reading(local(2024, 5, 1, 7, 0), 120, 80);
        a->setWeight(Number::real(72.5));
        document.setAllMeasurements({a, reading(local(2024, 5, 2, 7, 0), 125, 82)});
        QVERIFY(document.writeToFile(path("doc.tensilo")));

        QCOMPARE(tool({"export-csv", path("doc.tensilo"), path("out.csv"), "--all", "--separator",
                       "semicolon"})
                     .exitCode,
                 0);
        const QStringList rows = lines(TestSupport::readFile(path("out.csv")));
        QCOMPARE(rows.size(), 3);
        QVERIFY(rows.at(1).contains(QStringLiteral(";120;80;;72.5;")));

        // Into a new document, then into the old one: the readings it holds are skipped.
        QCOMPARE(tool({"import-csv", path("out.csv"), path("new.tensilo")}).exitCode, 0);
        MyDocument imported;
        QVERIFY(imported.readFromFile(path("new.tensilo")));
        QCOMPARE(imported.allItems().size(), 2);
        QVERIFY(TestSupport::writeFile(path("more.csv"),
                                       "Date;Sys;Dia\n2024-05-01 07:00;120;80\n"
                                       "2024-05-03 07:00;130;85\n2024-05-04 07:00;400;85\n"));
        const TestSupport::ProcessRun run =
            tool({"import-csv", path("more.csv"), path("merged.tensilo"), "--into",
                  path("doc.tensilo")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.contains("line 4: Systolic 400"), run.err.constData());
        MyDocument merged;
        QVERIFY(merged.readFromFile(path("merged.tensilo")));
        QCOMPARE(merged.allItems().size(), 3);

        // Nothing readable: exit 1, nothing written.
        QVERIFY(TestSupport::writeFile(path("bad.csv"), "Date,Sys,Dia\nyesterday,120,80\n"));
        QCOMPARE(tool({"import-csv", path("bad.csv"), path("none.tensilo")}).exitCode, 1);
        QVERIFY(!QFile::exists(path("none.tensilo")));
        QCOMPARE(tool({"import-csv", path("missing.csv"), path("none.tensilo")}).exitCode, 1);
        QVERIFY(!QFile::exists(path("none.tensilo")));

        // Slashed dates that cannot tell their order need --date-order.
        QVERIFY(TestSupport::writeFile(path("slashed.csv"), "Date,Sys,Dia\n03/04/2024,120,80\n"));
        QCOMPARE(tool({"import-csv", path("slashed.csv"), path("s.tensilo")}).exitCode, 1);
        QVERIFY(!QFile::exists(path("s.tensilo")));
        QCOMPARE(tool({"import-csv", path("slashed.csv"), path("s.tensilo"), "--date-order=mdy"})
                     .exitCode,
                 0);
        MyDocument s;
        QVERIFY(s.readFromFile(path("s.tensilo")));
        QCOMPARE(s.allItems().at(0)->theWholeDate().toDateTime().date(), QDate(2024, 3, 4));

        QCOMPARE(tool({"import-csv", path("slashed.csv"), path("s2.tensilo"), "--date-order=x"})
                     .exitCode,
                 2);
        QCOMPARE(tool({"export-csv", path("doc.tensilo")}).exitCode, 2);
        QCOMPARE(tool({"export-csv", path("doc.tensilo"), path("o.csv"), "--into", "x"}).exitCode,
                 2);
    }

    // --- Local time -----------------------------------------------------------------------------

    void localOffsetsAgreeWithQDateTime_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::newRow("Berlin") << QByteArray("Europe/Berlin");
        QTest::newRow("New York") << QByteArray("America/New_York");
        QTest::newRow("Lord Howe") << QByteArray("Australia/Lord_Howe");
        QTest::newRow("UTC") << QByteArray("UTC");
    }
    void localOffsetsAgreeWithQDateTime()
    {
        QFETCH(QByteArray, zone);
        TestSupport::setTimeZone(zone);
        LocalTimeOffsets offsets;
        QRandomGenerator random(3);
        qint64 t = 900000000;
        for (int i = 0; i < 4000; ++i) {
            t += random.bounded(200000);
            const QDateTime at = QDateTime::fromSecsSinceEpoch(t, Qt::LocalTime);
            QCOMPARE(offsets.offsetAt(t), at.offsetFromUtc());
            const qint64 wall = t + at.offsetFromUtc();
            const QDateTime back(at.date(), at.time(), Qt::LocalTime);
            QCOMPARE(offsets.instantOfLocal(wall), back.toSecsSinceEpoch());
        }
        TestSupport::setTimeZone("Europe/Berlin");
    }
};

TENSILO_TEST_MAIN(TestCsv)
#include "tst_csv.moc"
