#include "archive_builder.h"

#include "ArchivedObject.h"
#include "BinaryPropertyList.h"
#include "ComparisonPredicate.h"
#include "DocumentArchive.h"
#include "DocumentJson.h"
#include "MyDocument.h"
#include "PrintSettings.h"
#include "RelativeDate.h"
#include "TestMain.h"
#include "UndoManager.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSizeF>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {

using V = PlistValue;

const Date kNow(732000000.0); // a fixed present for the stock filters' relative dates

QString dataDir()
{
    return QStringLiteral(TENSILO_SOURCE_DIR "/tests/data/documents/");
}

using TestSupport::readFile;
using TestSupport::writeFile;

QByteArray dataOf(const MyDocument &document)
{
    QString error;
    const QByteArray data = document.dataOfType(u"Tensilo"_s, &error);
    if (data.isEmpty())
        qWarning() << "saving failed:" << error;
    return data;
}

// Every kind of reading value, filters of every predicate form, a selection, information
// items, print settings and oldest-first order.
const char kFullDocument[] = R"({
  "readings": [
    {"date": 700000000.25, "systolic": 135, "diastolic": 85, "pulse": 64, "weight": 70.5,
     "custom1": -3, "custom2": 2.0, "custom3": 1099511627776, "comments": "after a walk – ä",
     "tags": ["morning", "sport"]},
    {"date": 700086400.0, "systolic": 120.5, "diastolic": 80, "pulse": null, "weight": null,
     "custom1": null, "custom2": null, "custom3": null, "comments": "", "tags": []},
    {"date": 700172800.0, "systolic": 141, "diastolic": 92, "pulse": 70, "weight": 71.0,
     "custom1": null, "custom2": null, "custom3": null, "comments": null, "tags": null}
  ],
  "filters": [
    {"name": "Everything", "predicate": {"constant": true}, "format": null, "useInFilters": true, "useInAverages": false},
    {"name": "High", "predicate": {"comparison": {"left": {"keyPath": "Systolic"}, "right": {"constant": 140},
      "operator": 3, "modifier": 0, "options": 0}}, "format": null, "useInFilters": true, "useInAverages": true},
    {"name": "Sport, not evening", "predicate": {"compound": "and", "subpredicates": [
      {"comparison": {"left": {"keyPath": "Tags"}, "right": {"constant": ["sport", "run"]}, "operator": 10, "modifier": 2, "options": 1}},
      {"compound": "not", "subpredicates": [{"comparison": {"left": {"keyPath": "Tags"}, "right": {"constant": ["evening"]}, "operator": 10, "modifier": 2, "options": 0}}]}]},
     "format": null, "useInFilters": null, "useInAverages": null},
    {"name": "Last three weeks", "predicate": {"comparison": {"left": {"keyPath": "Date"},
      "right": {"constant": {"relativeDate": {"interval": -1814400.0, "units": 1}}}, "operator": 2, "modifier": 0, "options": 0}},
     "format": null, "useInFilters": false, "useInAverages": true},
    {"name": "Strings", "predicate": {"compound": "or", "subpredicates": [
      {"comparison": {"left": {"keyPath": "Comments"}, "right": {"constant": "after"}, "operator": 8, "modifier": 0, "options": 3}},
      {"comparison": {"left": {"keyPath": "Comments"}, "right": {"constant": "walk"}, "operator": 9, "modifier": 0, "options": 0}},
      {"comparison": {"left": {"keyPath": "Comments"}, "right": {"constant": "a*k"}, "operator": 7, "modifier": 0, "options": 0}},
      {"comparison": {"left": {"keyPath": "Comments"}, "right": {"constant": "af.*"}, "operator": 6, "modifier": 0, "options": 0}},
      {"comparison": {"left": {"keyPath": "Comments"}, "right": {"constant": "walk"}, "operator": 99, "modifier": 0, "options": 2}},
      {"comparison": {"left": {"keyPath": "Comments"}, "right": {"constant": null}, "operator": 5, "modifier": 0, "options": 0}}]},
     "format": null, "useInFilters": true, "useInAverages": false},
    {"name": "Numbers", "predicate": {"compound": "and", "subpredicates": [
      {"comparison": {"left": {"keyPath": "Weight"}, "right": {"constant": [60, 80.5]}, "operator": 100, "modifier": 0, "options": 0}},
      {"comparison": {"left": {"keyPath": "Tags.@count"}, "right": {"constant": 0}, "operator": 1, "modifier": 0, "options": 0}},
      {"comparison": {"left": {"keyPath": "Pulse"}, "right": {"constant": 60}, "operator": 0, "modifier": 0, "options": 0}},
      {"comparison": {"left": {"keyPath": "Diastolic"}, "right": {"constant": 80}, "operator": 4, "modifier": 0, "options": 0}},
      {"comparison": {"left": {"keyPath": "theWholeDate"}, "right": {"constant": {"date": 700000000.5}}, "operator": 3, "modifier": 0, "options": 0}},
      {"comparison": {"left": {"keyPath": "Tags"}, "right": {"constant": "sport"}, "operator": 4, "modifier": 1, "options": 0}},
      {"constant": false}]},
     "format": null, "useInFilters": false, "useInAverages": false},
    {"name": "No condition", "predicate": {"constant": true}, "format": null, "useInFilters": true, "useInAverages": true}
  ],
  "selectedFilter": 1,
  "sortAscending": true,
  "information": [
    {"name": "Doctor", "value": "Dr. Grün, 0123 456", "printed": true},
    {"name": "Medication", "value": "none\nat all", "printed": false}
  ],
  "printInfo": {"paperWidth": 612.0, "paperHeight": 792.0, "leftMargin": 36.0, "rightMargin": 36.5,
                "topMargin": 50.0, "bottomMargin": 60.0, "orientation": "landscape"}
})";

std::unique_ptr<MyDocument> documentFromJson(const QByteArray &json)
{
    auto document = std::make_unique<MyDocument>();
    QString error;
    if (!DocumentJson::fromJson(json, document.get(), &error))
        qWarning() << error;
    return document;
}

// The JSON of the document with the "format" entries blanked, so the expected text can leave
// them out.
QString contentOf(const MyDocument &document)
{
    QString text = QString::fromUtf8(DocumentJson::toJson(document));
    static const QRegularExpression format(u"\"format\": (\"([^\"\\\\]|\\\\.)*\"|null)"_s);
    return text.replace(format, u"\"format\": null"_s);
}

QString normalizedJson(const QByteArray &json)
{
    return contentOf(*documentFromJson(json));
}

// --- Hand-made archives in Foundation's forms ------------------------------------------------

struct Forms
{
    ArchiveBuilder b;

    quint64 number(qint64 n) { return b.add(V::integer(n)); }
    quint64 keyPath(const QString &path, const QString &selector = u"valueForKey:"_s)
    {
        const quint64 self =
            b.addObject(u"NSSelfExpression"_s, {{u"NSExpressionType"_s, V::integer(1)}});
        const quint64 specifier = b.addObject(
            u"NSKeyPathSpecifierExpression"_s,
            {{u"NSExpressionType"_s, V::integer(10)}, {u"NSKeyPath"_s, V::uid(b.string(path))}});
        return b.addObject(u"NSKeyPathExpression"_s,
                           {{u"NSExpressionType"_s, V::integer(3)},
                            {u"NSOperand"_s, V::uid(self)},
                            {u"NSSelectorName"_s, V::uid(b.string(selector))},
                            {u"NSArguments"_s, V::uid(b.array({specifier}))}});
    }
    quint64 constant(quint64 value)
    {
        return b.addObject(u"NSConstantValueExpression"_s, {{u"NSExpressionType"_s, V::integer(0)},
                                                            {u"NSConstantValue"_s, V::uid(value)}});
    }
    quint64 greaterThan()
    {
        return b.addObject(u"NSComparisonPredicateOperator"_s,
                           {{u"NSOperatorType"_s, V::integer(2)},
                            {u"NSModifier"_s, V::integer(0)},
                            {u"NSVariant"_s, V::integer(2)}});
    }
    // `op` 0 stands for a new greater-than operator.
    quint64 comparison(quint64 left, quint64 right, quint64 op = 0)
    {
        if (op == 0)
            op = greaterThan();
        return b.addObject(u"NSComparisonPredicate"_s, {{u"NSLeftExpression"_s, V::uid(left)},
                                                        {u"NSRightExpression"_s, V::uid(right)},
                                                        {u"NSPredicateOperator"_s, V::uid(op)}});
    }
    // The value at the key path compared with `right`, greater-than when `op` is 0.
    quint64 compare(const QString &path, quint64 right, quint64 op = 0)
    {
        return comparison(keyPath(path), right, op);
    }
    quint64 constNumber(qint64 n) { return constant(number(n)); }
    // "Systolic > 0" under `levels` levels of AND, each of whose two sides is the one object of
    // the level below: a few objects that stand for 2^levels comparisons.
    quint64 sharedAnd(int levels)
    {
        quint64 p = compare(u"Systolic"_s, constNumber(0));
        for (int i = 0; i < levels; ++i)
            p = compound(1, {p, p});
        return p;
    }
    // A compound predicate of the type (0 not, 1 and, 2 or).
    quint64 compound(qint64 type, const QList<quint64> &subpredicates)
    {
        return b.addObject(u"NSCompoundPredicate"_s,
                           {{u"NSCompoundPredicateType"_s, V::integer(type)},
                            {u"NSSubpredicates"_s, V::uid(b.array(subpredicates))}});
    }
    quint64 filter(const QString &name, quint64 predicate)
    {
        const quint64 yes = b.add(V::boolean(true));
        return b.addObject(u"Filter"_s, {{u"name"_s, V::uid(b.string(name))},
                                         {u"predicate"_s, V::uid(predicate)},
                                         {u"use-in-averages"_s, V::uid(yes)},
                                         {u"use-in-filters"_s, V::uid(yes)}});
    }
    // A document with no readings and the given filters.
    QByteArray document(const QList<quint64> &filters)
    {
        return b.bytes(b.document({}, {{u"filters"_s, b.array(filters)}}));
    }
};

// A document of two filters: "Good", usable, and "Probe" with the predicate made by `probe`.
QByteArray probeDocument(const std::function<quint64(Forms &)> &probe)
{
    Forms f;
    const quint64 good = f.filter(u"Good"_s, f.compare(u"Pulse"_s, f.constNumber(50)));
    const quint64 predicate = probe(f);
    return f.document({good, f.filter(u"Probe"_s, predicate)});
}

// An NSArray of ten references to one NSArray, and so on `levels` deep, around one string:
// levels + 1 objects that a writer unaware of sharing writes out as 10^levels strings.
quint64 sharedArrays(ArchiveBuilder &b, int levels)
{
    quint64 array = b.string(u"leaf"_s);
    for (int i = 0; i < levels; ++i)
        array = b.array(QList<quint64>(10, array));
    return array;
}

// A document of one reading in the older form (integers with presence flags).
QByteArray olderFormDocument()
{
    ArchiveBuilder b;
    const quint64 old = b.addObject(u"Measurement"_s, {{u"date"_s, V::uid(b.date(V::real(5000)))},
                                                       {u"systolic"_s, V::integer(135)},
                                                       {u"diastolic"_s, V::integer(85)},
                                                       {u"has-weight"_s, V::boolean(true)},
                                                       {u"weight"_s, V::integer(70)},
                                                       {u"has-pulse"_s, V::boolean(false)},
                                                       {u"pulse"_s, V::integer(60)}});
    return b.bytes(b.document({old}));
}

// A reading whose date and pressures are objects of their own.
quint64 objectReading(ArchiveBuilder &b, double time, const V &systolic, const V &diastolic)
{
    return b.addObject(u"Measurement"_s, {{u"date"_s, V::uid(b.date(V::real(time)))},
                                          {u"systolic-obj"_s, V::uid(b.add(systolic))},
                                          {u"diastolic-obj"_s, V::uid(b.add(diastolic))}});
}

// Document settings holding print settings of these attributes, and an NSValue of a paper size.
quint64 printSettings(ArchiveBuilder &b, const QList<std::pair<QString, quint64>> &attributes)
{
    const quint64 printInfo =
        b.addObject(u"NSPrintInfo"_s, {{u"NSAttributes"_s, V::uid(b.dictionary(attributes))}});
    return b.dictionary({{u"print-info"_s, printInfo}});
}
quint64 paperSize(ArchiveBuilder &b, const QString &size)
{
    return b.addObject(u"NSValue"_s, {{u"NS.special"_s, V::integer(2)},
                                      {u"NS.sizeval"_s, V::uid(b.string(size))}});
}

// What reading the bytes into the document reports: empty when they were read.
QString readError(MyDocument &document, const QByteArray &data)
{
    QString error;
    if (document.readFromData(data, QString(), &error))
        return {};
    return error.isEmpty() ? u"refused without a reason"_s : error;
}

// Adds a reading to the document as one undoable step.
void edit(MyDocument &document)
{
    document.addMeasurements({Measurement::create(Date(5), 100, 60)});
    document.undoManager()->closeGroup();
}

// A new document read from what the document saves.
std::unique_ptr<MyDocument> readBack(const MyDocument &document)
{
    auto back = std::make_unique<MyDocument>();
    const QString error = readError(*back, dataOf(document));
    if (!error.isEmpty())
        qWarning() << "reading back failed:" << error;
    return back;
}

} // namespace

// The stored documents, one per feature, as JSON (readings and filters of kFullDocument).
QList<std::pair<QString, QByteArray>> storedDocumentSources()
{
    const QByteArray full(kFullDocument);
    const QVariantMap all = DocumentJson::parseValue(full).value_or(QVariant()).toMap();
    auto part = [&all](const QStringList &keys) {
        QVariantMap map{{u"readings"_s, QVariantList()}};
        for (const QString &key : keys)
            map.insert(key, all.value(key));
        return DocumentJson::formatValue(map);
    };
    return {{u"empty"_s, QByteArray(R"({"readings": []})")},
            {u"readings"_s, part({u"readings"_s})},
            {u"filters"_s, part({u"filters"_s, u"selectedFilter"_s})},
            {u"information"_s, part({u"information"_s})},
            {u"print-info"_s, part({u"printInfo"_s, u"sortAscending"_s})},
            {u"full"_s, full}};
}

class TestDocumentFile : public QObject
{
    Q_OBJECT

private slots:

    void initTestCase() { TestSupport::setTimeZone("Europe/Berlin"); }

    void init()
    {
        Date::setClock([] { return kNow; });
    }

    void cleanup() { Date::setClock({}); }

    void newDocumentRoundTrip()
    {
        MyDocument original;
        MyDocument back;
        back.setSortItemsAscending(true); // overwritten by the file
        QCOMPARE(readError(back, dataOf(original)), QString());
        QCOMPARE(back.filter(), back.filters().first());
        QCOMPARE(contentOf(back), contentOf(original));
    }

    void fullDocumentRoundTrip()
    {
        const auto original = documentFromJson(kFullDocument);
        QCOMPARE(original->allItems().size(), 3);
        QCOMPARE(original->filters().size(), 7);
        const auto back = readBack(*original);
        QCOMPARE(contentOf(*back), contentOf(*original));
        // The predicates come back equal in structure, and evaluate alike.
        for (qsizetype i = 0; i < back->filters().size(); ++i)
            QVERIFY(Predicate::equal(back->filters()[i]->predicate(),
                                     original->filters()[i]->predicate()));
        // The selection is the very object of the list, and the filtered list was rebuilt from
        // it: Systolic >= 140.
        QCOMPARE(back->filter().get(), back->filters()[1].get());
        QCOMPARE(back->filter()->name(), u"High"_s);
        QCOMPARE(back->items().size(), 1);
        QCOMPARE(back->items().first()->Systolic(), QVariant(qlonglong(141)));
        // Writing what was read gives the same content again.
        QCOMPARE(contentOf(*readBack(*back)), contentOf(*original));
    }

    void emptyReadingsKeepLastEdited()
    {
        MyDocument document;
        document.setLastEditedMeasurement(Measurement::create(Date(1), 110, 70));
        QCOMPARE(readError(document, dataOf(MyDocument())), QString());
        QVERIFY(document.lastEditedMeasurement());
        QCOMPARE(document.lastEditedMeasurement()->Systolic(), QVariant(qlonglong(110)));

        QCOMPARE(readError(document, dataOf(*documentFromJson(kFullDocument))), QString());
        QCOMPARE(document.lastEditedMeasurement()->theWholeDate(), Date(700172800.0)); // the latest
    }

    void filtersWithoutSettingsKeepTheSelection()
    {
        Forms f;
        const quint64 high = f.filter(u"High"_s, f.compare(u"Systolic"_s, f.constNumber(140)));
        MyDocument document;
        const FilterPtr before = document.filter();
        QCOMPARE(readError(document, f.document({high})), QString());
        QCOMPARE(document.filters().size(), 1);
        QCOMPARE(document.filters().first()->name(), u"High"_s);
        QCOMPARE(document.filter(), before); // the stock no-filter filter, no longer in the list
        QVERIFY(!document.filters().contains(before));
    }

    void sortOrderSetting_data()
    {
        QTest::addColumn<V>("stored");
        QTest::addColumn<bool>("expected");
        QTest::newRow("string ignored") << V::string(u"1"_s) << false;
        QTest::newRow("number 1") << V::integer(1) << true;
        QTest::newRow("number 0") << V::integer(0) << false;
        QTest::newRow("boolean") << V::boolean(true) << true;
        QTest::newRow("real") << V::real(0.5) << true;
    }
    void sortOrderSetting()
    {
        QFETCH(V, stored);
        QFETCH(bool, expected);
        ArchiveBuilder b;
        const quint64 settings = b.dictionary({{u"sort-by-date"_s, b.add(stored)},
                                               {u"selected-filter"_s, b.string(u"not a filter"_s)},
                                               {u"print-info"_s, b.add(V::integer(3))}});
        MyDocument document;
        const FilterPtr selected = document.filter();
        QCOMPARE(readError(document, b.bytes(b.document({}, {{u"settings"_s, settings}}))),
                 QString());
        QCOMPARE(document.sortItemsAscending(), expected);
        QCOMPARE(document.filter(), selected); // wrong types are ignored one by one
        QVERIFY(document.printInfo().isEmpty());
    }

    void loadingIsNotAnEdit()
    {
        const QByteArray data = dataOf(*documentFromJson(kFullDocument));
        MyDocument document;
        edit(document);
        QVERIFY(document.undoManager()->canUndo());
        QVERIFY(!document.undoManager()->isClean());
        QVERIFY(document.readFromData(data, QString()));
        QVERIFY(document.readFromData(data, QString())); // twice: tags still counted once
        QVERIFY(!document.undoManager()->canUndo());
        QVERIFY(document.undoManager()->isClean());
        QCOMPARE(document.tagsCache().value(u"sport"_s).count(), 1);
        QCOMPARE(document.tags(), QStringList({u"morning"_s, u"sport"_s}));
    }

    void printSettingsKeepUnknownKeys()
    {
        // Print settings as another program stores them: a printer object of a class this program
        // does not know, a range value, and keys it does not understand.
        ArchiveBuilder b;
        const quint64 printer = b.addObject(
            u"NSPrinter"_s, {{u"NSPrinterName"_s, V::uid(b.string(u"Office"_s))},
                             {u"NSDeviceFlags"_s, V::integer(7)},
                             {u"NSTray"_s, V::array({V::integer(1), V::string(u"top"_s)})}});
        const quint64 range = b.addObject(u"NSValue"_s, {{u"NS.special"_s, V::integer(4)},
                                                         {u"NS.rangeval.location"_s, V::integer(2)},
                                                         {u"NS.rangeval.length"_s, V::integer(3)}});
        const quint64 settings =
            printSettings(b, {{u"NSPaperSize"_s, paperSize(b, u"{612, 792}"_s)},
                              {u"NSLeftMargin"_s, b.add(V::real(18))},
                              {u"NSOrientation"_s, b.add(V::integer(1))},
                              {u"NSPrinter"_s, printer},
                              {u"NSPageRange"_s, range},
                              {u"NSJobDisposition"_s, b.string(u"NSPrintSpoolJob"_s)},
                              {u"NSPrintAllPages"_s, b.add(V::boolean(true))}});

        auto check = [](const QVariantMap &info) {
            QCOMPARE(info.value(u"NSPaperSize"_s).toSizeF(), QSizeF(612, 792));
            QCOMPARE(info.value(u"NSLeftMargin"_s).toDouble(), 18.0);
            QCOMPARE(info.value(u"NSJobDisposition"_s).toString(), u"NSPrintSpoolJob"_s);
            QCOMPARE(info.value(u"NSPrintAllPages"_s), QVariant(true));
            const ArchivedObject printer = info.value(u"NSPrinter"_s).value<ArchivedObject>();
            QCOMPARE(printer.className(), u"NSPrinter"_s);
            QCOMPARE(printer.fields.size(), 3);
            QCOMPARE(printer.fields[0].object, QVariant(u"Office"_s));
            QCOMPARE(printer.fields[1].value, V::integer(7));
            QCOMPARE(printer.fields[2].value.toArray().size(), size_t(2));
            const ArchivedObject range = info.value(u"NSPageRange"_s).value<ArchivedObject>();
            QCOMPARE(range.className(), u"NSValue"_s);
            QCOMPARE(range.fields.size(), 3);
        };
        MyDocument document;
        QCOMPARE(readError(document, b.bytes(b.document({}, {{u"settings"_s, settings}}))),
                 QString());
        check(document.printInfo());
        QCOMPARE(PrintSettings(document.printInfo()).pageLayout().orientation(),
                 QPageLayout::Landscape);
        QCOMPARE(document.printInfo().value(PrintSettings::kPaperSize).toSizeF().width(), 612.0);
        check(readBack(document)->printInfo()); // written and read back, everything is still there
    }

    void informationItemsKeepTheirKeys()
    {
        MyDocument document;
        document.undoManager()->disableUndoRegistration();
        document.setInformation({InformationItem::fromDictionary({{u"name"_s, u"Doctor"_s},
                                                                  {u"value"_s, u"Dr. Grün"_s},
                                                                  {u"printed"_s, true},
                                                                  {u"colour"_s, u"blue"_s}})});
        document.undoManager()->enableUndoRegistration();
        const auto back = readBack(document);
        QCOMPARE(back->information().size(), 1);
        QCOMPARE(back->information().first()->dictionary(),
                 document.information().first()->dictionary());
    }

    void valuesFarOutsideAnyPressureAverage()
    {
        // Whatever numbers a file holds, averaging its readings gives their mean: whole while it
        // fits a 64-bit integer, a real number beyond.
        ArchiveBuilder b;
        const quint64 first = objectReading(b, 1000, V::real(1e12), V::integer(-5000000000));
        const quint64 second = objectReading(b, 2000, V::integer(1000000000001), V::real(-1e300));
        MyDocument document;
        QCOMPARE(readError(document, b.bytes(b.document({first, second}))), QString());
        QCOMPARE(document.allItems().size(), 2);
        QCOMPARE(document.allItems().first()->Systolic(), QVariant(1e12));
        const MeasurementPtr mean = Measurement::averageOf(document.allItems());
        QCOMPARE(mean->Systolic(), QVariant(qlonglong(1000000000001))); // 1e12 + 0.5, away from 0
        QCOMPARE(mean->Diastolic(), QVariant(-5e299));
        QCOMPARE(mean->theWholeDate(), Date(1500));
    }

    void keptValuesAreBoundedAndTheDocumentSaves()
    {
        // Print settings and information items keep what the program does not understand, to write
        // it back. Here a print attribute and an information item's extra key refer to arrays of
        // ten references to one array, 30 levels deep (10^30 values written out), and an unknown
        // printer object holds the same shape as a plain property list value: those are dropped,
        // everything else loads, and the document saves and opens again.
        ArchiveBuilder b;
        const quint64 huge = sharedArrays(b, 30);
        V plain = V::string(u"tray"_s);
        for (int i = 0; i < 30; ++i)
            plain = V::array(V::Array(10, plain));
        const quint64 printer = b.addObject(
            u"NSPrinter"_s, {{u"NSPrinterName"_s, V::uid(b.string("P"))}, {u"NSTrays"_s, plain}});
        const quint64 settings =
            printSettings(b, {{u"NSPaperSize"_s, paperSize(b, u"{595, 842}"_s)},
                              {u"NSLeftMargin"_s, b.add(V::real(20))},
                              {u"NSOrientation"_s, b.add(V::integer(1))},
                              {u"NSAHugeAttribute"_s, huge},
                              {u"NSPrinter"_s, printer},
                              {u"NSJobDisposition"_s, b.string(u"spool"_s)}});
        const quint64 doctor = b.dictionary({{u"name"_s, b.string(u"Doctor"_s)},
                                             {u"value"_s, b.string(u"Dr. Grün"_s)},
                                             {u"printed"_s, b.add(V::boolean(true))},
                                             {u"extra"_s, huge}});
        const quint64 other =
            b.dictionary({{u"name"_s, b.string(u"B"_s)}, {u"colour"_s, b.string(u"red"_s)}});
        const QByteArray file = b.bytes(
            b.document({objectReading(b, 700000000, V::integer(120), V::integer(80)),
                        objectReading(b, 700086400, V::integer(135), V::integer(80))},
                       {{u"settings"_s, settings}, {u"information"_s, b.array({doctor, other})}}));
        QVERIFY(file.size() < 4096);

        for (const char *dropped :
             {"\"NSAHugeAttribute\" of the print settings.*too many values",
              "\"NSPrinter\" of the print settings", "\"extra\" of information item 1"})
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression(u"Dropped "_s + QLatin1String(dropped)));
        MyDocument document;
        QCOMPARE(readError(document, file), QString());
        QCOMPARE(document.allItems().size(), 2);
        QCOMPARE(document.allItems()[1]->Systolic(), QVariant(qlonglong(135)));
        const QVariantMap info = document.printInfo();
        QCOMPARE(info.keys(), QStringList({u"NSJobDisposition"_s, u"NSLeftMargin"_s,
                                           u"NSOrientation"_s, u"NSPaperSize"_s}));
        QCOMPARE(info.value(u"NSPaperSize"_s).toSizeF(), QSizeF(595, 842));
        QCOMPARE(PrintSettings(info).pageLayout().orientation(), QPageLayout::Landscape);
        QCOMPARE(document.information().size(), 2);
        QCOMPARE(document.information()[0]->dictionary().keys(),
                 QStringList({u"name"_s, u"printed"_s, u"value"_s}));
        QCOMPARE(document.information()[0]->dictionary().value(u"value"_s),
                 QVariant(u"Dr. Grün"_s));
        QCOMPARE(document.information()[1]->dictionary().value(u"colour"_s), QVariant(u"red"_s));

        // Saving writes what was kept, in proportion to the file read.
        const QByteArray written = dataOf(document);
        QVERIFY(!written.isEmpty());
        QVERIFY2(written.size() < 16 * 1024, qPrintable(QString::number(written.size())));
        MyDocument back;
        QCOMPARE(readError(back, written), QString());
        QCOMPARE(contentOf(back), contentOf(document));
        QCOMPARE(back.printInfo(), document.printInfo());
    }

    void keptValuesShareOneAllowance()
    {
        // One information item of 11,112 values, listed 100 times: each fits, all of them together
        // would not. The entries the program reads are kept for every item; the extra key for the
        // first items only, as far as the file's size allows.
        ArchiveBuilder b;
        const quint64 item =
            b.dictionary({{u"name"_s, b.string(u"N"_s)}, {u"extra"_s, sharedArrays(b, 4)}});
        const quint64 root =
            b.document({}, {{u"information"_s, b.array(QList<quint64>(100, item))}});
        for (int i = 10; i <= 100; ++i)
            QTest::ignoreMessage(
                QtWarningMsg,
                qPrintable(
                    QStringLiteral("Dropped \"extra\" of information item %1 from the file: "
                                   "written out it would make 11112 values, more than the file's "
                                   "size allows.")
                        .arg(i)));
        MyDocument document;
        QCOMPARE(readError(document, b.bytes(root)), QString());
        QCOMPARE(document.information().size(), 100);
        for (int i = 0; i < 100; ++i) {
            const QVariantMap entries = document.information()[i]->dictionary();
            QCOMPARE(entries.value(u"name"_s), QVariant(u"N"_s));
            QCOMPARE(entries.contains(u"extra"_s), i < 9);
        }
    }

    void filterWithoutPredicate()
    {
        // A filter without a predicate lets every reading through; it keeps doing so, and keeps its
        // name, through a file (read back bare, it would be reset as unusable).
        MyDocument document;
        const FilterPtr filter = Filter::filterWithName(u"All"_s);
        filter->setPredicate(nullptr);
        document.setFilters({filter});
        document.setFilter(filter);
        document.addMeasurements({Measurement::create(Date(5), 100, 60)});
        const auto back = readBack(document);
        QCOMPARE(back->filters().first()->name(), u"All"_s);
        QCOMPARE(back->filters().first()->predicate()->predicateFormat(), u"TRUEPREDICATE"_s);
        QCOMPARE(back->items().size(), 1);
    }

    void whateverIsReadCanBeWritten()
    {
        // An information item of another program holding objects of every class the reader knows,
        // parts of predicates among them: the document saves, and they come back.
        Forms f;
        const quint64 self =
            f.b.addObject(u"NSSelfExpression"_s, {{u"NSExpressionType"_s, V::integer(1)}});
        const quint64 op =
            f.b.addObject(u"NSEqualityPredicateOperator"_s, {{u"NSOperatorType"_s, V::integer(5)}});
        const quint64 keyPath = f.keyPath(u"Pulse"_s);
        const quint64 relative =
            f.b.addObject(u"RelativeDate"_s, {{u"time-interval-since-now"_s, V::real(-60)}});
        const quint64 reading = f.b.addObject(u"Measurement"_s, {});
        const quint64 comparison = f.comparison(keyPath, f.constNumber(3), op);
        const quint64 item = f.b.dictionary({{u"name"_s, f.b.string(u"Odd"_s)},
                                             {u"self"_s, self},
                                             {u"operator"_s, op},
                                             {u"keyPath"_s, keyPath},
                                             {u"relative"_s, relative},
                                             {u"reading"_s, reading},
                                             {u"predicate"_s, comparison}});
        MyDocument document;
        QCOMPARE(readError(document,
                           f.b.bytes(f.b.document({}, {{u"information"_s, f.b.array({item})}}))),
                 QString());
        const QVariantMap before = document.information().first()->dictionary();
        const auto back = readBack(document);
        QCOMPARE(back->information().size(), 1);
        const QVariantMap after = back->information().first()->dictionary();
        QCOMPARE(after.keys(), before.keys());
        for (const QString &key : before.keys())
            QCOMPARE(after.value(key).metaType(), before.value(key).metaType());
        QCOMPARE(after.value(u"predicate"_s).value<PredicatePtr>()->predicateFormat(),
                 u"Pulse != 3"_s);
    }

    void unusablePredicatesResetOneFilter_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("function expression") << probeDocument([](Forms &f) {
            return f.comparison(
                f.b.addObject(u"NSFunctionExpression"_s, {{u"NSExpressionType"_s, V::integer(4)}}),
                f.constNumber(1));
        });
        QTest::newRow("variable") << probeDocument([](Forms &f) {
            return f.compare(u"Systolic"_s,
                             f.b.addObject(u"NSVariableExpression"_s,
                                           {{u"NSVariable"_s, V::uid(f.b.string(u"x"_s))}}));
        });
        QTest::newRow("custom operator") << probeDocument([](Forms &f) {
            return f.compare(u"Systolic"_s, f.constNumber(1),
                             f.b.addObject(u"NSCustomPredicateOperator"_s,
                                           {{u"NSOperatorType"_s, V::integer(11)}}));
        });
        QTest::newRow("constant value class name") << probeDocument([](Forms &f) {
            return f.compare(u"Systolic"_s,
                             f.b.addObject(u"NSConstantValueExpression"_s,
                                           {{u"NSExpressionType"_s, V::integer(0)},
                                            {u"NSConstantValue"_s, V::uid(f.number(3))},
                                            {u"NSConstantValueClassName"_s,
                                             V::uid(f.b.string(u"NSNumber"_s))}}));
        });
        QTest::newRow("key path readings lack")
            << probeDocument([](Forms &f) { return f.compare(u"Blood"_s, f.constNumber(1)); });
        QTest::newRow("dotted path by valueForKey:") << probeDocument(
            [](Forms &f) { return f.compare(u"Tags.@count"_s, f.constNumber(1)); });
        QTest::newRow("operator class and type disagree") << probeDocument([](Forms &f) {
            return f.compare(u"Systolic"_s, f.constNumber(1),
                             f.b.addObject(u"NSEqualityPredicateOperator"_s,
                                           {{u"NSOperatorType"_s, V::integer(2)}}));
        });
        QTest::newRow("modifier out of range") << probeDocument([](Forms &f) {
            return f.compare(u"Systolic"_s, f.constNumber(1),
                             f.b.addObject(u"NSComparisonPredicateOperator"_s,
                                           {{u"NSOperatorType"_s, V::integer(2)},
                                            {u"NSModifier"_s, V::integer(7)}}));
        });
        QTest::newRow("compound type unknown")
            << probeDocument([](Forms &f) { return f.compound(5, {}); });
        QTest::newRow("not of two") << probeDocument([](Forms &f) {
            const quint64 yes = f.b.addObject(u"NSTruePredicate"_s, {});
            return f.compound(0, {yes, yes});
        });
        QTest::newRow("no predicate") << probeDocument([](Forms &) { return quint64(0); });
        QTest::newRow("predicate is a string")
            << probeDocument([](Forms &f) { return f.b.string(u"Systolic > 0"_s); });
        QTest::newRow("expression used as predicate")
            << probeDocument([](Forms &f) { return f.keyPath(u"Systolic"_s); });
        QTest::newRow("relative date of no finite length") << probeDocument([](Forms &f) {
            const quint64 relative = f.b.addObject(
                u"RelativeDate"_s,
                {{u"time-interval-since-now"_s, V::real(std::numeric_limits<double>::infinity())},
                 {u"date-units"_s, V::integer(0)}});
            return f.compare(u"Date"_s, f.constant(relative));
        });
        QTest::newRow("constant of a dictionary") << probeDocument([](Forms &f) {
            return f.compare(u"Systolic"_s, f.constant(f.b.dictionary({{u"a"_s, f.number(1)}})));
        });
        // Evaluating, printing or comparing these would take 2^levels steps.
        QTest::newRow("one subpredicate shared through 40 levels")
            << probeDocument([](Forms &f) { return f.sharedAnd(40); });
        QTest::newRow("shared just past the bound")
            << probeDocument([](Forms &f) { return f.sharedAnd(13); });
        QTest::newRow("unknown class deep inside") << probeDocument([](Forms &f) {
            const quint64 alien = f.b.addObject(u"NSSubqueryExpression"_s, {});
            return f.compound(1, {f.compare(u"Systolic"_s, alien)});
        });
    }
    void unusablePredicatesResetOneFilter()
    {
        QFETCH(QByteArray, file);
        MyDocument document;
        QCOMPARE(readError(document, file), QString());
        QCOMPARE(document.filters().size(), 2);
        const FilterPtr good = document.filters()[0];
        const FilterPtr probe = document.filters()[1];
        QCOMPARE(good->name(), u"Good"_s);
        QCOMPARE(good->predicate()->predicateFormat(), u"Pulse > 50"_s);
        QCOMPARE(probe->name(), u"??? Probe"_s);
        QCOMPARE(probe->predicate()->predicateFormat(), u"Systolic > 0"_s);
        QCOMPARE(probe->useInFilters(), QVariant(true));
    }

    void sharedSubpredicatesWithinTheBound()
    {
        // Sharing itself is allowed: 12 levels stand for 4,096 comparisons, within the bound.
        Forms f;
        MyDocument document;
        QCOMPARE(readError(document, f.document({f.filter(u"Deep"_s, f.sharedAnd(12))})),
                 QString());
        const FilterPtr deep = document.filters().first();
        QCOMPARE(deep->name(), u"Deep"_s);
        QCOMPARE(deep->predicate()->expandedSize(), quint64(8191));
        QVERIFY(deep->accepts(*Measurement::create(kNow, 120, 80)));
        const auto back = readBack(document);
        QCOMPARE(back->filters().first()->name(), u"Deep"_s);
        QVERIFY(Predicate::equal(back->filters().first()->predicate(), deep->predicate()));
    }

    void filterPartsThatMayBeMissing()
    {
        // A relative date without its keys stands for the present; a filter without its flags has
        // both absent, so it is neither offered nor averaged.
        Forms f;
        const quint64 predicate =
            f.compare(u"Date"_s, f.constant(f.b.addObject(u"RelativeDate"_s, {})));
        const quint64 filter =
            f.b.addObject(u"Filter"_s, {{u"name"_s, V::uid(f.b.string(u"Bare"_s))},
                                        {u"predicate"_s, V::uid(predicate)}});
        MyDocument document;
        QCOMPARE(readError(document, f.document({filter})), QString());
        const FilterPtr bare = document.filters().first();
        QCOMPARE(bare->name(), u"Bare"_s);
        QVERIFY(!bare->useInFilters().isValid());
        QVERIFY(!bare->useInAverages().isValid());
        QVERIFY(document.visibleFilters().isEmpty());
        QVERIFY(document.averages().isEmpty());
        const auto *comparison = bare->predicate()->asComparison();
        QVERIFY(comparison);
        const RelativeDate date =
            comparison->rightExpression().constantValue().value<RelativeDate>();
        QCOMPARE(date.timeIntervalSinceNow(), 0.0);
        QCOMPARE(date.dateUnits(), 0);
        // Absent flags stay absent through a file.
        const auto back = readBack(document);
        QVERIFY(!back->filters().first()->useInFilters().isValid());
        QCOMPARE(contentOf(*back), contentOf(document));
    }

    void foundationFormsThatAreUsable_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("format");
        // An aggregate of constants where an array constant is expected.
        QTest::newRow("aggregate") << probeDocument([](Forms &f) {
            const quint64 a = f.constant(f.b.string(u"a"_s));
            const quint64 b = f.constant(f.b.string(u"b"_s));
            const quint64 aggregate = f.b.addObject(
                u"NSAggregateExpression"_s, {{u"NSExpressionType"_s, V::integer(14)},
                                             {u"NSCollection"_s, V::uid(f.b.array({a, b}))}});
            return f.compare(
                u"Tags"_s, aggregate,
                f.b.addObject(u"NSInPredicateOperator"_s, {{u"NSOperatorType"_s, V::integer(10)},
                                                           {u"NSModifier"_s, V::integer(2)},
                                                           {u"NSFlags"_s, V::integer(0)}}));
        }) << u"ANY Tags IN {\"a\", \"b\"}"_s;
        // NSNegate as an integer, no operator type.
        QTest::newRow("negate as integer") << probeDocument([](Forms &f) {
            return f.compare(
                u"Pulse"_s, f.constNumber(60),
                f.b.addObject(u"NSEqualityPredicateOperator"_s,
                              {{u"NSNegate"_s, V::integer(1)}, {u"NSModifier"_s, V::integer(0)}}));
        }) << u"Pulse != 60"_s;
        QTest::newRow("key path with @count") << probeDocument([](Forms &f) {
            return f.comparison(f.keyPath(u"Tags.@count"_s, u"valueForKeyPath:"_s),
                                f.constNumber(2));
        }) << u"Tags.@count > 2"_s;
        QTest::newRow("position gives ends-with") << probeDocument([](Forms &f) {
            return f.compare(
                u"Comments"_s, f.constant(f.b.string(u"x"_s)),
                f.b.addObject(u"NSSubstringPredicateOperator"_s,
                              {{u"NSPosition"_s, V::integer(1)}, {u"NSFlags"_s, V::integer(1)}}));
        }) << u"Comments ENDSWITH[c] \"x\""_s;
    }
    void foundationFormsThatAreUsable()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, format);
        MyDocument document;
        QCOMPARE(readError(document, file), QString());
        QCOMPARE(document.filters().size(), 2);
        QCOMPARE(document.filters()[1]->name(), u"Probe"_s);
        QCOMPARE(document.filters()[1]->predicate()->predicateFormat(), format);
    }

    void refusedFilesChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("message");
        const QString corrupted = qtTrId("doc.file_corrupted");
        const QString incomplete = qtTrId("doc.file_incomplete");
        // The archive of the root that `root` makes.
        const auto archive = [](const std::function<quint64(Forms &)> &root) {
            Forms f;
            const quint64 uid = root(f);
            return f.b.bytes(uid);
        };
        // A document of one reading at the time.
        const auto dated = [&archive](double time) {
            return archive([time](Forms &f) {
                const quint64 date = f.b.date(V::real(time));
                return f.b.document({f.b.addObject(u"Measurement"_s, {{u"date"_s, V::uid(date)}})});
            });
        };
        QTest::newRow("not a file") << QByteArray("just text") << u"not a property list"_s;
        QTest::newRow("truncated")
            << dataOf(*documentFromJson(kFullDocument)).left(500) << u"truncated"_s;
        QTest::newRow("root is an array")
            << archive([](Forms &f) { return f.b.array({}); }) << corrupted;
        QTest::newRow("root is nil") << archive([](Forms &) { return quint64(0); }) << corrupted;
        QTest::newRow("no readings") << archive([](Forms &f) {
            return f.b.dictionary({{u"filters"_s, f.b.array({})}});
        }) << incomplete;
        QTest::newRow("readings not a list") << archive([](Forms &f) {
            return f.b.dictionary({{u"measurements"_s, f.b.string(u"x"_s)}});
        }) << corrupted;
        QTest::newRow("a reading that is a string")
            << archive([](Forms &f) { return f.b.document({f.b.string(u"x"_s)}); }) << corrupted;
        QTest::newRow("a filter that is a reading") << archive([](Forms &f) {
            const quint64 reading = f.b.addObject(u"Measurement"_s, {});
            return f.b.document({}, {{u"filters"_s, f.b.array({reading})}});
        }) << corrupted;
        QTest::newRow("predicate holding itself") << probeDocument([](Forms &f) {
            const quint64 compound = f.b.add(V()); // filled in below, once its list exists
            const quint64 list = f.b.array({compound});
            f.b.objects[compound] =
                f.b.object(u"NSCompoundPredicate"_s, {{u"NSCompoundPredicateType"_s, V::integer(1)},
                                                      {u"NSSubpredicates"_s, V::uid(list)}});
            return compound;
        }) << u"contains itself"_s;
        // Outside a filter there is nothing to reset: the file is refused, at once.
        QTest::newRow("shared predicate in an information item") << archive([](Forms &f) {
            const quint64 item = f.b.dictionary({{u"value"_s, f.sharedAnd(40)}});
            return f.b.document({}, {{u"information"_s, f.b.array({item})}});
        }) << u"more than 10000 parts"_s;
        QTest::newRow("date three billion years away") << dated(1e17) << u"100,000,000 days"_s;
        QTest::newRow("date that is no number") << dated(std::nan("")) << u"malformed"_s;
        QTest::newRow("unknown class in a reading") << archive([](Forms &f) {
            const quint64 alien = f.b.addObject(u"NSURL"_s, {});
            return f.b.document(
                {f.b.addObject(u"Measurement"_s, {{u"comments"_s, V::uid(alien)}})});
        }) << u"NSURL"_s;
        QTest::newRow("keys and objects disagree") << archive([](Forms &f) {
            const quint64 key = f.b.string(u"k"_s);
            const quint64 bad =
                f.b.addObject(u"NSDictionary"_s, {{u"NS.keys"_s, f.b.uids({key, key})},
                                                  {u"NS.objects"_s, f.b.uids({key})}});
            return f.b.document({}, {{u"settings"_s, bad}});
        }) << u"malformed"_s;
    }
    void refusedFilesChangeNothing()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, message);
        const auto document = documentFromJson(kFullDocument);
        edit(*document);
        const auto state = [&document] {
            return std::make_tuple(contentOf(*document), document->undoManager()->canUndo(),
                                   document->undoManager()->isClean(), document->filter().get());
        };
        const auto before = state();
        QString error;
        QVERIFY(!document->readFromData(file, QString(), &error));
        QVERIFY2(error.contains(message), qPrintable(error));
        // Asked for apart, the reader's technical reason is the detail of a plain sentence.
        QString plain;
        QString detail;
        QVERIFY(!document->readFromData(file, QString(), &plain, &detail));
        if (detail.isEmpty()) {
            QCOMPARE(plain, error);
        } else {
            QCOMPARE(plain, qtTrId("doc.file_not_document"));
            QVERIFY2(detail.contains(message), qPrintable(detail));
        }
        QCOMPARE(state(), before);
    }

    void savingMarksClean()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"a.tensilo"_s);
        MyDocument document;
        edit(document);
        QVERIFY(!document.undoManager()->isClean());
        QString error;
        QVERIFY2(document.writeToFile(path, &error), qPrintable(error));
        QVERIFY(document.undoManager()->isClean());
        MyDocument back;
        QVERIFY2(back.readFromFile(path, &error), qPrintable(error));
        QCOMPARE(contentOf(back), contentOf(document));
        QVERIFY(!back.readFromFile(dir.filePath(u"missing.tensilo"_s), &error));
        QVERIFY(
            error.startsWith(qtTrId("error.file_open").section(QLatin1Char('%'), 0, 0).trimmed()));
    }

    void failedSavesKeepThePreviousFile_data()
    {
        QTest::addColumn<QString>("where");
        QTest::newRow("missing directory") << u"missing"_s;
        QTest::newRow("read-only file system") << u"proc"_s;
        QTest::newRow("read-only directory") << u"readonly"_s;
        QTest::newRow("a directory in the way") << u"directory"_s;
    }
    void failedSavesKeepThePreviousFile()
    {
        QFETCH(QString, where);
        QTemporaryDir dir;
        QString path;
        if (where == u"missing") {
            path = dir.filePath(u"nowhere/a.tensilo"_s);
        } else if (where == u"proc") {
            path = u"/proc/tensilo-test.tensilo"_s;
        } else if (where == u"readonly") {
            if (geteuid() == 0)
                QSKIP("permissions do not bind the super-user");
            path = dir.filePath(u"ro/a.tensilo"_s);
            QVERIFY(QDir(dir.path()).mkdir(u"ro"_s));
            QVERIFY(writeFile(path, "previous"));
            QVERIFY(
                QFile::setPermissions(dir.filePath(u"ro"_s), QFile::ReadOwner | QFile::ExeOwner));
        } else {
            path = dir.filePath(u"a.tensilo"_s);
            QVERIFY(QDir(dir.path()).mkdir(u"a.tensilo"_s));
        }
        MyDocument document;
        edit(document);
        QString error;
        QVERIFY(!document.writeToFile(path, &error));
        const QString prefix = qtTrId("error.file_save").section(QLatin1Char('%'), 0, 0).trimmed();
        QVERIFY2(error.startsWith(prefix) && error.size() > prefix.size() + 2, qPrintable(error));
        QVERIFY(!document.undoManager()->isClean()); // still edited
        if (where == u"readonly") {
            QCOMPARE(readFile(path), QByteArray("previous"));
            QFile::setPermissions(dir.filePath(u"ro"_s),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
    }

    void saveOnAFullDevice()
    {
        // A file size limit makes the device "full" part way through the new file.
        QTemporaryDir dir;
        const QString path = dir.filePath(u"a.tensilo"_s);
        QVERIFY(writeFile(path, "previous contents"));
        const auto document = documentFromJson(kFullDocument);
        rlimit old{};
        QVERIFY(getrlimit(RLIMIT_FSIZE, &old) == 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old;
        small.rlim_cur = 512;
        QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
        QString error;
        const bool saved = document->writeToFile(path, &error);
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previousHandler);
        QVERIFY(!saved);
        QVERIFY(!error.isEmpty());
        QCOMPARE(readFile(path), QByteArray("previous contents"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{u"a.tensilo"_s});
    }

    void storedDocuments_data()
    {
        // Files this code wrote (and libplist converted to XML), one per feature, with the content
        // they hold as JSON beside them. TENSILO_WRITE_TEST_DATA=1 writes them anew.
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("json");
        const auto sources = storedDocumentSources();
        if (qEnvironmentVariableIntValue("TENSILO_WRITE_TEST_DATA") == 1) {
            Date::setClock([] { return kNow; }); // (data functions run before init())
            QDir().mkpath(dataDir());
            for (const auto &[name, json] : sources) {
                const auto document = documentFromJson(json);
                writeFile(dataDir() + name + u".tensilo"_s, dataOf(*document));
                writeFile(dataDir() + name + u".json"_s, DocumentJson::toJson(*document));
            }
            writeFile(dataDir() + u"older-readings.tensilo"_s, olderFormDocument());
            MyDocument older;
            older.readFromData(olderFormDocument(), QString());
            writeFile(dataDir() + u"older-readings.json"_s, DocumentJson::toJson(older));
            QProcess::execute(u"plistutil"_s,
                              {u"-i"_s, dataDir() + u"full.tensilo"_s, u"-o"_s,
                               dataDir() + u"full-xml.tensilo"_s, u"-f"_s, u"xml"_s});
        }
        for (const auto &[name, json] : sources)
            QTest::newRow(qPrintable(name)) << name << json;
        QTest::newRow("full, as XML") << u"full-xml"_s << QByteArray(kFullDocument);
        QTest::newRow("older-form readings") << u"older-readings"_s << QByteArray();
    }
    void storedDocuments()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, json);
        MyDocument document;
        QString error;
        QVERIFY2(document.readFromFile(dataDir() + name + u".tensilo"_s, &error),
                 qPrintable(error));
        if (!json.isEmpty())
            QCOMPARE(contentOf(document), normalizedJson(json));
        const QString base = name.endsWith(QLatin1String("-xml")) ? name.chopped(4) : name;
        const QByteArray stored = readFile(dataDir() + base + u".json"_s);
        QVERIFY(!stored.isEmpty());
        QCOMPARE(QString::fromUtf8(DocumentJson::toJson(document)), QString::fromUtf8(stored));
    }
};

TENSILO_TEST_MAIN(TestDocumentFile)
#include "tst_documentfile.moc"
