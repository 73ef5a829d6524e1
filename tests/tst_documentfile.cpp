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
    const QByteArray data = document.dataOfType(QStringLiteral("Tensilo"), &error);
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
    static const QRegularExpression format(
        QStringLiteral("\"format\": (\"([^\"\\\\]|\\\\.)*\"|null)"));
    return text.replace(format, QStringLiteral("\"format\": null"));
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
    quint64 keyPath(const QString &path, const QString &selector = QStringLiteral("valueForKey:"))
    {
        const quint64 self = b.addObject(QStringLiteral("NSSelfExpression"),
                                         {{QStringLiteral("NSExpressionType"), V::integer(1)}});
        const quint64 specifier =
            b.addObject(QStringLiteral("NSKeyPathSpecifierExpression"),
                        {{QStringLiteral("NSExpressionType"), V::integer(10)},
                         {QStringLiteral("NSKeyPath"), V::uid(b.string(path))}});
        return b.addObject(QStringLiteral("NSKeyPathExpression"),
                           {{QStringLiteral("NSExpressionType"), V::integer(3)},
                            {QStringLiteral("NSOperand"), V::uid(self)},
                            {QStringLiteral("NSSelectorName"), V::uid(b.string(selector))},
                            {QStringLiteral("NSArguments"), V::uid(b.array({specifier}))}});
    }
    quint64 constant(quint64 value)
    {
        return b.addObject(QStringLiteral("NSConstantValueExpression"),
                           {{QStringLiteral("NSExpressionType"), V::integer(0)},
                            {QStringLiteral("NSConstantValue"), V::uid(value)}});
    }
    quint64 greaterThan()
    {
        return b.addObject(QStringLiteral("NSComparisonPredicateOperator"),
                           {{QStringLiteral("NSOperatorType"), V::integer(2)},
                            {QStringLiteral("NSModifier"), V::integer(0)},
                            {QStringLiteral("NSVariant"), V::integer(2)}});
    }
    quint64 comparison(quint64 left, quint64 right, quint64 op)
    {
        return b.addObject(QStringLiteral("NSComparisonPredicate"),
                           {{QStringLiteral("NSLeftExpression"), V::uid(left)},
                            {QStringLiteral("NSRightExpression"), V::uid(right)},
                            {QStringLiteral("NSPredicateOperator"), V::uid(op)}});
    }
    // "Systolic > 0" under `levels` levels of AND, each of whose two sides is the one object of
    // the level below: a few objects that stand for 2^levels comparisons.
    quint64 sharedAnd(int levels)
    {
        quint64 p =
            comparison(keyPath(QStringLiteral("Systolic")), constant(number(0)), greaterThan());
        for (int i = 0; i < levels; ++i)
            p = b.addObject(QStringLiteral("NSCompoundPredicate"),
                            {{QStringLiteral("NSCompoundPredicateType"), V::integer(1)},
                             {QStringLiteral("NSSubpredicates"), V::uid(b.array({p, p}))}});
        return p;
    }
    quint64 filter(const QString &name, quint64 predicate)
    {
        const quint64 yes = b.add(V::boolean(true));
        return b.addObject(QStringLiteral("Filter"),
                           {{QStringLiteral("name"), V::uid(b.string(name))},
                            {QStringLiteral("predicate"), V::uid(predicate)},
                            {QStringLiteral("use-in-averages"), V::uid(yes)},
                            {QStringLiteral("use-in-filters"), V::uid(yes)}});
    }
    // A document with no readings and the given filters.
    QByteArray document(const QList<quint64> &filters)
    {
        const quint64 root = b.dictionary({{QStringLiteral("measurements"), b.array({})},
                                           {QStringLiteral("filters"), b.array(filters)}});
        return b.bytes(root);
    }
};

// An NSArray of ten references to one NSArray, and so on `levels` deep, around one string:
// levels + 1 objects that a writer unaware of sharing writes out as 10^levels strings.
quint64 sharedArrays(ArchiveBuilder &b, int levels)
{
    quint64 array = b.string(QStringLiteral("leaf"));
    for (int i = 0; i < levels; ++i)
        array = b.array(QList<quint64>(10, array));
    return array;
}

// A document of one reading in the older form (integers with presence flags).
QByteArray olderFormDocument()
{
    ArchiveBuilder b;
    const quint64 date =
        b.addObject(QStringLiteral("NSDate"), {{QStringLiteral("NS.time"), V::real(5000)}});
    const quint64 old = b.addObject(QStringLiteral("Measurement"),
                                    {{QStringLiteral("date"), V::uid(date)},
                                     {QStringLiteral("systolic"), V::integer(135)},
                                     {QStringLiteral("diastolic"), V::integer(85)},
                                     {QStringLiteral("has-weight"), V::boolean(true)},
                                     {QStringLiteral("weight"), V::integer(70)},
                                     {QStringLiteral("has-pulse"), V::boolean(false)},
                                     {QStringLiteral("pulse"), V::integer(60)}});
    const quint64 root = b.dictionary({{QStringLiteral("measurements"), b.array({old})}});
    return b.bytes(root);
}

struct DocumentState
{
    QString content;
    bool canUndo;
    bool clean;
    FilterPtr selected;
};

DocumentState stateOf(const MyDocument &document)
{
    return {contentOf(document), document.undoManager()->canUndo(),
            document.undoManager()->isClean(), document.filter()};
}

} // namespace

// The stored documents, one per feature, as JSON (readings and filters of kFullDocument).
QList<std::pair<QString, QByteArray>> storedDocumentSources()
{
    const QByteArray full(kFullDocument);
    const QVariantMap all = DocumentJson::parseValue(full).value_or(QVariant()).toMap();
    auto part = [&all](const QStringList &keys) {
        QVariantMap map{{QStringLiteral("readings"), QVariantList()}};
        for (const QString &key : keys)
            map.insert(key, all.value(key));
        return DocumentJson::formatValue(map);
    };
    return {{QStringLiteral("empty"), QByteArray(R"({"readings": []})")},
            {QStringLiteral("readings"), part({QStringLiteral("readings")})},
            {QStringLiteral("filters"),
             part({QStringLiteral("filters"), QStringLiteral("selectedFilter")})},
            {QStringLiteral("information"), part({QStringLiteral("information")})},
            {QStringLiteral("print-info"),
             part({QStringLiteral("printInfo"), QStringLiteral("sortAscending")})},
            {QStringLiteral("full"), full}};
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
        QString error;
        QVERIFY2(back.readFromData(dataOf(original), QString(), &error), qPrintable(error));
        QVERIFY(back.allItems().isEmpty());
        QCOMPARE(back.filters().size(), 3);
        QCOMPARE(back.filter(), back.filters().first());
        QVERIFY(back.information().isEmpty());
        QVERIFY(!back.sortItemsAscending());
        QCOMPARE(contentOf(back), contentOf(original));
    }

    void fullDocumentRoundTrip()
    {
        const auto original = documentFromJson(kFullDocument);
        QCOMPARE(original->allItems().size(), 3);
        QCOMPARE(original->filters().size(), 7);
        const QByteArray data = dataOf(*original);
        QVERIFY(!data.isEmpty());
        MyDocument back;
        QString error;
        QVERIFY2(back.readFromData(data, QString(), &error), qPrintable(error));
        QCOMPARE(contentOf(back), contentOf(*original));
        // The predicates come back equal in structure, and evaluate alike.
        for (qsizetype i = 0; i < back.filters().size(); ++i) {
            QVERIFY(Predicate::equal(back.filters()[i]->predicate(),
                                     original->filters()[i]->predicate()));
            QVERIFY(!back.filters()[i]->name().startsWith(QLatin1String("???")));
        }
        QCOMPARE(back.items().size(), original->items().size());
        // Writing what was read gives the same content again.
        MyDocument again;
        QVERIFY(again.readFromData(dataOf(back), QString()));
        QCOMPARE(contentOf(again), contentOf(*original));
    }

    void selectedFilterIsTheLoadedObject()
    {
        const auto original = documentFromJson(kFullDocument);
        MyDocument back;
        QVERIFY(back.readFromData(dataOf(*original), QString()));
        QCOMPARE(back.filter().get(), back.filters()[1].get()); // the very object of the list
        QCOMPARE(back.filter()->name(), QStringLiteral("High"));
        // The filtered list was rebuilt from it: Systolic >= 140.
        QCOMPARE(back.items().size(), 1);
        QCOMPARE(back.items().first()->Systolic(), QVariant(qlonglong(141)));
    }

    void emptyReadingsKeepLastEdited()
    {
        MyDocument document;
        const MeasurementPtr last = Measurement::create(Date(1), 110, 70);
        document.setLastEditedMeasurement(last);
        MyDocument empty;
        QVERIFY(document.readFromData(dataOf(empty), QString()));
        QVERIFY(document.lastEditedMeasurement());
        QCOMPARE(document.lastEditedMeasurement()->Systolic(), QVariant(qlonglong(110)));

        const auto full = documentFromJson(kFullDocument);
        QVERIFY(document.readFromData(dataOf(*full), QString()));
        QCOMPARE(document.lastEditedMeasurement()->theWholeDate(), Date(700172800.0)); // the latest
    }

    void filtersWithoutSettingsKeepTheSelection()
    {
        Forms f;
        const quint64 high = f.filter(QStringLiteral("High"),
                                      f.comparison(f.keyPath(QStringLiteral("Systolic")),
                                                   f.constant(f.number(140)), f.greaterThan()));
        MyDocument document;
        const FilterPtr before = document.filter();
        QString error;
        QVERIFY2(document.readFromData(f.document({high}), QString(), &error), qPrintable(error));
        QCOMPARE(document.filters().size(), 1);
        QCOMPARE(document.filters().first()->name(), QStringLiteral("High"));
        QCOMPARE(document.filter(), before); // the stock no-filter filter, no longer in the list
        QVERIFY(!document.filters().contains(before));
    }

    void sortOrderSetting_data()
    {
        QTest::addColumn<V>("stored");
        QTest::addColumn<bool>("expected");
        QTest::newRow("string ignored") << V::string(QStringLiteral("1")) << false;
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
        const quint64 settings = b.dictionary(
            {{QStringLiteral("sort-by-date"), b.add(stored)},
             {QStringLiteral("selected-filter"), b.string(QStringLiteral("not a filter"))},
             {QStringLiteral("print-info"), b.add(V::integer(3))}});
        const quint64 root = b.dictionary({{QStringLiteral("measurements"), b.array({})},
                                           {QStringLiteral("settings"), settings}});
        MyDocument document;
        const FilterPtr selected = document.filter();
        QString error;
        QVERIFY2(document.readFromData(b.bytes(root), QString(), &error), qPrintable(error));
        QCOMPARE(document.sortItemsAscending(), expected);
        QCOMPARE(document.filter(), selected); // wrong types are ignored one by one
        QVERIFY(document.printInfo().isEmpty());
    }

    void loadingIsNotAnEdit()
    {
        const auto full = documentFromJson(kFullDocument);
        const QByteArray data = dataOf(*full);
        MyDocument document;
        document.addMeasurements({Measurement::create(Date(5), 100, 60)});
        document.undoManager()->closeGroup();
        QVERIFY(document.undoManager()->canUndo());
        QVERIFY(!document.undoManager()->isClean());
        QVERIFY(document.readFromData(data, QString()));
        QVERIFY(document.readFromData(data, QString())); // twice: tags still counted once
        QVERIFY(!document.undoManager()->canUndo());
        QVERIFY(document.undoManager()->isClean());
        QCOMPARE(document.tagsCache().value(QStringLiteral("sport")).count(), 1);
        QCOMPARE(document.tags(),
                 QStringList({QStringLiteral("morning"), QStringLiteral("sport")}));
    }

    void olderFormReadingsInADocument()
    {
        MyDocument document;
        QString error;
        QVERIFY2(document.readFromData(olderFormDocument(), QString(), &error), qPrintable(error));
        QCOMPARE(document.allItems().size(), 1);
        const ConstMeasurementPtr m = document.allItems().first();
        QCOMPARE(m->Systolic(), QVariant(qlonglong(135)));
        QCOMPARE(m->Diastolic(), QVariant(qlonglong(85)));
        QCOMPARE(m->Weight(), QVariant(qlonglong(70)));
        QVERIFY(!m->Pulse().isValid());
        // Written back in the present form.
        MyDocument back;
        QVERIFY(back.readFromData(dataOf(document), QString()));
        QCOMPARE(contentOf(back), contentOf(document));
    }

    void printSettingsKeepUnknownKeys()
    {
        // Print settings as another program stores them: a printer object of a class this program
        // does not know, a range value, and keys it does not understand.
        ArchiveBuilder b;
        const quint64 printer = b.addObject(
            QStringLiteral("NSPrinter"),
            {{QStringLiteral("NSPrinterName"), V::uid(b.string(QStringLiteral("Office")))},
             {QStringLiteral("NSDeviceFlags"), V::integer(7)},
             {QStringLiteral("NSTray"),
              V::array({V::integer(1), V::string(QStringLiteral("top"))})}});
        const quint64 range = b.addObject(QStringLiteral("NSValue"),
                                          {{QStringLiteral("NS.special"), V::integer(4)},
                                           {QStringLiteral("NS.rangeval.location"), V::integer(2)},
                                           {QStringLiteral("NS.rangeval.length"), V::integer(3)}});
        const quint64 size = b.addObject(
            QStringLiteral("NSValue"),
            {{QStringLiteral("NS.special"), V::integer(2)},
             {QStringLiteral("NS.sizeval"), V::uid(b.string(QStringLiteral("{612, 792}")))}});
        const quint64 attributes = b.dictionary(
            {{QStringLiteral("NSPaperSize"), size},
             {QStringLiteral("NSLeftMargin"), b.add(V::real(18))},
             {QStringLiteral("NSOrientation"), b.add(V::integer(1))},
             {QStringLiteral("NSPrinter"), printer},
             {QStringLiteral("NSPageRange"), range},
             {QStringLiteral("NSJobDisposition"), b.string(QStringLiteral("NSPrintSpoolJob"))},
             {QStringLiteral("NSPrintAllPages"), b.add(V::boolean(true))}});
        const quint64 printInfo = b.addObject(
            QStringLiteral("NSPrintInfo"), {{QStringLiteral("NSAttributes"), V::uid(attributes)}});
        const quint64 settings = b.dictionary({{QStringLiteral("print-info"), printInfo}});
        const quint64 root = b.dictionary({{QStringLiteral("measurements"), b.array({})},
                                           {QStringLiteral("settings"), settings}});

        auto check = [](const QVariantMap &info) {
            QCOMPARE(info.value(QStringLiteral("NSPaperSize")).toSizeF(), QSizeF(612, 792));
            QCOMPARE(info.value(QStringLiteral("NSLeftMargin")).toDouble(), 18.0);
            QCOMPARE(info.value(QStringLiteral("NSJobDisposition")).toString(),
                     QStringLiteral("NSPrintSpoolJob"));
            QCOMPARE(info.value(QStringLiteral("NSPrintAllPages")), QVariant(true));
            const ArchivedObject printer =
                info.value(QStringLiteral("NSPrinter")).value<ArchivedObject>();
            QCOMPARE(printer.className(), QStringLiteral("NSPrinter"));
            QCOMPARE(printer.fields.size(), 3);
            QCOMPARE(printer.fields[0].object, QVariant(QStringLiteral("Office")));
            QCOMPARE(printer.fields[1].value, V::integer(7));
            QCOMPARE(printer.fields[2].value.toArray().size(), size_t(2));
            const ArchivedObject range =
                info.value(QStringLiteral("NSPageRange")).value<ArchivedObject>();
            QCOMPARE(range.className(), QStringLiteral("NSValue"));
            QCOMPARE(range.fields.size(), 3);
        };
        MyDocument document;
        QString error;
        QVERIFY2(document.readFromData(b.bytes(root), QString(), &error), qPrintable(error));
        check(document.printInfo());
        QCOMPARE(PrintSettings(document.printInfo()).pageLayout().orientation(),
                 QPageLayout::Landscape);
        QCOMPARE(document.printInfo().value(PrintSettings::kPaperSize).toSizeF().width(), 612.0);

        // Written and read back, everything is still there.
        MyDocument back;
        QVERIFY2(back.readFromData(dataOf(document), QString(), &error), qPrintable(error));
        check(back.printInfo());
    }

    void informationItemsKeepTheirKeys()
    {
        MyDocument document;
        document.undoManager()->disableUndoRegistration();
        document.setInformation({InformationItem::fromDictionary(
            {{QStringLiteral("name"), QStringLiteral("Doctor")},
             {QStringLiteral("value"), QStringLiteral("Dr. Grün")},
             {QStringLiteral("printed"), true},
             {QStringLiteral("colour"), QStringLiteral("blue")}})});
        document.undoManager()->enableUndoRegistration();
        MyDocument back;
        QVERIFY(back.readFromData(dataOf(document), QString()));
        QCOMPARE(back.information().size(), 1);
        QCOMPARE(back.information().first()->dictionary(),
                 document.information().first()->dictionary());
    }

    void valuesFarOutsideAnyPressureAverage()
    {
        // Whatever numbers a file holds, averaging its readings gives their mean: whole while it
        // fits a 64-bit integer, a real number beyond.
        auto reading = [](ArchiveBuilder &b, double time, const V &systolic, const V &diastolic) {
            const quint64 date =
                b.addObject(QStringLiteral("NSDate"), {{QStringLiteral("NS.time"), V::real(time)}});
            return b.addObject(QStringLiteral("Measurement"),
                               {{QStringLiteral("date"), V::uid(date)},
                                {QStringLiteral("systolic-obj"), V::uid(b.add(systolic))},
                                {QStringLiteral("diastolic-obj"), V::uid(b.add(diastolic))}});
        };
        ArchiveBuilder b;
        const quint64 first = reading(b, 1000, V::real(1e12), V::integer(-5000000000));
        const quint64 second = reading(b, 2000, V::integer(1000000000001), V::real(-1e300));
        MyDocument document;
        QString error;
        QVERIFY2(document.readFromData(b.bytes(b.dictionary({{QStringLiteral("measurements"),
                                                              b.array({first, second})}})),
                                       QString(), &error),
                 qPrintable(error));
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
        V plain = V::string(QStringLiteral("tray"));
        for (int i = 0; i < 30; ++i)
            plain = V::array(V::Array(10, plain));
        const quint64 printer = b.addObject(
            QStringLiteral("NSPrinter"), {{QStringLiteral("NSPrinterName"), V::uid(b.string("P"))},
                                          {QStringLiteral("NSTrays"), plain}});
        const quint64 size = b.addObject(
            QStringLiteral("NSValue"),
            {{QStringLiteral("NS.special"), V::integer(2)},
             {QStringLiteral("NS.sizeval"), V::uid(b.string(QStringLiteral("{595, 842}")))}});
        const quint64 attributes =
            b.dictionary({{QStringLiteral("NSPaperSize"), size},
                          {QStringLiteral("NSLeftMargin"), b.add(V::real(20))},
                          {QStringLiteral("NSOrientation"), b.add(V::integer(1))},
                          {QStringLiteral("NSAHugeAttribute"), huge},
                          {QStringLiteral("NSPrinter"), printer},
                          {QStringLiteral("NSJobDisposition"), b.string(QStringLiteral("spool"))}});
        const quint64 printInfo = b.addObject(
            QStringLiteral("NSPrintInfo"), {{QStringLiteral("NSAttributes"), V::uid(attributes)}});
        const quint64 doctor =
            b.dictionary({{QStringLiteral("name"), b.string(QStringLiteral("Doctor"))},
                          {QStringLiteral("value"), b.string(QStringLiteral("Dr. Grün"))},
                          {QStringLiteral("printed"), b.add(V::boolean(true))},
                          {QStringLiteral("extra"), huge}});
        const quint64 other =
            b.dictionary({{QStringLiteral("name"), b.string(QStringLiteral("B"))},
                          {QStringLiteral("colour"), b.string(QStringLiteral("red"))}});
        auto reading = [&b](double time, qint64 systolic) {
            const quint64 date =
                b.addObject(QStringLiteral("NSDate"), {{QStringLiteral("NS.time"), V::real(time)}});
            return b.addObject(
                QStringLiteral("Measurement"),
                {{QStringLiteral("date"), V::uid(date)},
                 {QStringLiteral("systolic-obj"), V::uid(b.add(V::integer(systolic)))},
                 {QStringLiteral("diastolic-obj"), V::uid(b.add(V::integer(80)))}});
        };
        const quint64 readings = b.array({reading(700000000, 120), reading(700086400, 135)});
        const quint64 root =
            b.dictionary({{QStringLiteral("measurements"), readings},
                          {QStringLiteral("settings"),
                           b.dictionary({{QStringLiteral("print-info"), printInfo}})},
                          {QStringLiteral("information"), b.array({doctor, other})}});
        const QByteArray file = b.bytes(root);
        QVERIFY(file.size() < 4096);

        QTest::ignoreMessage(
            QtWarningMsg, QRegularExpression(QStringLiteral("Dropped \"NSAHugeAttribute\" of the "
                                                            "print settings.*too many values")));
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("Dropped \"NSPrinter\" of the print "
                                                               "settings")));
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("Dropped \"extra\" of information "
                                                               "item 1")));
        MyDocument document;
        QString error;
        QVERIFY2(document.readFromData(file, QString(), &error), qPrintable(error));
        QCOMPARE(document.allItems().size(), 2);
        QCOMPARE(document.allItems()[1]->Systolic(), QVariant(qlonglong(135)));
        const QVariantMap info = document.printInfo();
        QCOMPARE(info.keys(),
                 QStringList({QStringLiteral("NSJobDisposition"), QStringLiteral("NSLeftMargin"),
                              QStringLiteral("NSOrientation"), QStringLiteral("NSPaperSize")}));
        QCOMPARE(info.value(QStringLiteral("NSPaperSize")).toSizeF(), QSizeF(595, 842));
        QCOMPARE(PrintSettings(info).pageLayout().orientation(), QPageLayout::Landscape);
        QCOMPARE(document.information().size(), 2);
        QCOMPARE(document.information()[0]->dictionary().keys(),
                 QStringList(
                     {QStringLiteral("name"), QStringLiteral("printed"), QStringLiteral("value")}));
        QCOMPARE(document.information()[0]->dictionary().value(QStringLiteral("value")),
                 QVariant(QStringLiteral("Dr. Grün")));
        QCOMPARE(document.information()[1]->dictionary().value(QStringLiteral("colour")),
                 QVariant(QStringLiteral("red")));

        // Saving writes what was kept, in proportion to the file read.
        const QByteArray written = dataOf(document);
        QVERIFY(!written.isEmpty());
        QVERIFY2(written.size() < 16 * 1024, qPrintable(QString::number(written.size())));
        MyDocument back;
        QVERIFY2(back.readFromData(written, QString(), &error), qPrintable(error));
        QCOMPARE(contentOf(back), contentOf(document));
        QCOMPARE(back.printInfo(), document.printInfo());
    }

    void keptValuesShareOneAllowance()
    {
        // One information item of 11,112 values, listed 100 times: each fits, all of them together
        // would not. The entries the program reads are kept for every item; the extra key for the
        // first items only, as far as the file's size allows.
        ArchiveBuilder b;
        const quint64 item = b.dictionary({{QStringLiteral("name"), b.string(QStringLiteral("N"))},
                                           {QStringLiteral("extra"), sharedArrays(b, 4)}});
        const quint64 root =
            b.dictionary({{QStringLiteral("measurements"), b.array({})},
                          {QStringLiteral("information"), b.array(QList<quint64>(100, item))}});
        for (int i = 10; i <= 100; ++i)
            QTest::ignoreMessage(
                QtWarningMsg,
                qPrintable(
                    QStringLiteral("Dropped \"extra\" of information item %1 from the file: "
                                   "written out it would make 11112 values, more than the file's "
                                   "size allows.")
                        .arg(i)));
        MyDocument document;
        QString error;
        QVERIFY2(document.readFromData(b.bytes(root), QString(), &error), qPrintable(error));
        QCOMPARE(document.information().size(), 100);
        for (int i = 0; i < 100; ++i) {
            const QVariantMap entries = document.information()[i]->dictionary();
            QCOMPARE(entries.value(QStringLiteral("name")), QVariant(QStringLiteral("N")));
            QCOMPARE(entries.contains(QStringLiteral("extra")), i < 9);
        }
    }

    void filterWithoutPredicate()
    {
        // A filter without a predicate lets every reading through; it keeps doing so, and keeps its
        // name, through a file (read back bare, it would be reset as unusable).
        MyDocument document;
        const FilterPtr filter = Filter::filterWithName(QStringLiteral("All"));
        filter->setPredicate(nullptr);
        document.setFilters({filter});
        document.setFilter(filter);
        document.addMeasurements({Measurement::create(Date(5), 100, 60)});
        MyDocument back;
        QVERIFY(back.readFromData(dataOf(document), QString()));
        QCOMPARE(back.filters().first()->name(), QStringLiteral("All"));
        QCOMPARE(back.filters().first()->predicate()->predicateFormat(),
                 QStringLiteral("TRUEPREDICATE"));
        QCOMPARE(back.items().size(), 1);
    }

    void whateverIsReadCanBeWritten()
    {
        // An information item of another program holding objects of every class the reader knows,
        // parts of predicates among them: the document saves, and they come back.
        Forms f;
        const quint64 self = f.b.addObject(QStringLiteral("NSSelfExpression"),
                                           {{QStringLiteral("NSExpressionType"), V::integer(1)}});
        const quint64 op = f.b.addObject(QStringLiteral("NSEqualityPredicateOperator"),
                                         {{QStringLiteral("NSOperatorType"), V::integer(5)}});
        const quint64 keyPath = f.keyPath(QStringLiteral("Pulse"));
        const quint64 relative =
            f.b.addObject(QStringLiteral("RelativeDate"),
                          {{QStringLiteral("time-interval-since-now"), V::real(-60)}});
        const quint64 reading = f.b.addObject(QStringLiteral("Measurement"), {});
        const quint64 comparison = f.comparison(keyPath, f.constant(f.number(3)), op);
        const quint64 item =
            f.b.dictionary({{QStringLiteral("name"), f.b.string(QStringLiteral("Odd"))},
                            {QStringLiteral("self"), self},
                            {QStringLiteral("operator"), op},
                            {QStringLiteral("keyPath"), keyPath},
                            {QStringLiteral("relative"), relative},
                            {QStringLiteral("reading"), reading},
                            {QStringLiteral("predicate"), comparison}});
        const quint64 root = f.b.dictionary({{QStringLiteral("measurements"), f.b.array({})},
                                             {QStringLiteral("information"), f.b.array({item})}});
        MyDocument document;
        QString error;
        QVERIFY2(document.readFromData(f.b.bytes(root), QString(), &error), qPrintable(error));
        const QByteArray data = document.dataOfType(QString(), &error);
        QVERIFY2(!data.isEmpty(), qPrintable(error));
        MyDocument back;
        QVERIFY2(back.readFromData(data, QString(), &error), qPrintable(error));
        const QVariantMap before = document.information().first()->dictionary();
        const QVariantMap after = back.information().first()->dictionary();
        QCOMPARE(after.keys(), before.keys());
        for (const QString &key : before.keys())
            QCOMPARE(after.value(key).metaType(), before.value(key).metaType());
        QCOMPARE(after.value(QStringLiteral("predicate")).value<PredicatePtr>()->predicateFormat(),
                 QStringLiteral("Pulse != 3"));
    }

    void unusablePredicatesResetOneFilter_data()
    {
        QTest::addColumn<QByteArray>("file");
        // Each file holds a usable filter "Good" and the filter "Probe" with the predicate below.
        auto make = [](const std::function<quint64(Forms &)> &probe) {
            Forms f;
            const quint64 good = f.filter(QStringLiteral("Good"),
                                          f.comparison(f.keyPath(QStringLiteral("Pulse")),
                                                       f.constant(f.number(50)), f.greaterThan()));
            const quint64 predicate = probe(f);
            return f.document({good, f.filter(QStringLiteral("Probe"), predicate)});
        };
        QTest::newRow("function expression") << make([](Forms &f) {
            const quint64 fn = f.b.addObject(QStringLiteral("NSFunctionExpression"),
                                             {{QStringLiteral("NSExpressionType"), V::integer(4)}});
            return f.comparison(fn, f.constant(f.number(1)), f.greaterThan());
        });
        QTest::newRow("variable") << make([](Forms &f) {
            const quint64 var = f.b.addObject(
                QStringLiteral("NSVariableExpression"),
                {{QStringLiteral("NSVariable"), V::uid(f.b.string(QStringLiteral("x")))}});
            return f.comparison(f.keyPath(QStringLiteral("Systolic")), var, f.greaterThan());
        });
        QTest::newRow("custom operator") << make([](Forms &f) {
            const quint64 op = f.b.addObject(QStringLiteral("NSCustomPredicateOperator"),
                                             {{QStringLiteral("NSOperatorType"), V::integer(11)}});
            return f.comparison(f.keyPath(QStringLiteral("Systolic")), f.constant(f.number(1)), op);
        });
        QTest::newRow("constant value class name") << make([](Forms &f) {
            const quint64 c =
                f.b.addObject(QStringLiteral("NSConstantValueExpression"),
                              {{QStringLiteral("NSExpressionType"), V::integer(0)},
                               {QStringLiteral("NSConstantValue"), V::uid(f.number(3))},
                               {QStringLiteral("NSConstantValueClassName"),
                                V::uid(f.b.string(QStringLiteral("NSNumber")))}});
            return f.comparison(f.keyPath(QStringLiteral("Systolic")), c, f.greaterThan());
        });
        QTest::newRow("key path readings lack") << make([](Forms &f) {
            return f.comparison(f.keyPath(QStringLiteral("Blood")), f.constant(f.number(1)),
                                f.greaterThan());
        });
        QTest::newRow("dotted path by valueForKey:") << make([](Forms &f) {
            return f.comparison(f.keyPath(QStringLiteral("Tags.@count")), f.constant(f.number(1)),
                                f.greaterThan());
        });
        QTest::newRow("operator class and type disagree") << make([](Forms &f) {
            const quint64 op = f.b.addObject(QStringLiteral("NSEqualityPredicateOperator"),
                                             {{QStringLiteral("NSOperatorType"), V::integer(2)}});
            return f.comparison(f.keyPath(QStringLiteral("Systolic")), f.constant(f.number(1)), op);
        });
        QTest::newRow("modifier out of range") << make([](Forms &f) {
            const quint64 op = f.b.addObject(QStringLiteral("NSComparisonPredicateOperator"),
                                             {{QStringLiteral("NSOperatorType"), V::integer(2)},
                                              {QStringLiteral("NSModifier"), V::integer(7)}});
            return f.comparison(f.keyPath(QStringLiteral("Systolic")), f.constant(f.number(1)), op);
        });
        QTest::newRow("compound type unknown") << make([](Forms &f) {
            return f.b.addObject(QStringLiteral("NSCompoundPredicate"),
                                 {{QStringLiteral("NSCompoundPredicateType"), V::integer(5)},
                                  {QStringLiteral("NSSubpredicates"), V::uid(f.b.array({}))}});
        });
        QTest::newRow("not of two") << make([](Forms &f) {
            const quint64 yes = f.b.addObject(QStringLiteral("NSTruePredicate"), {});
            return f.b.addObject(
                QStringLiteral("NSCompoundPredicate"),
                {{QStringLiteral("NSCompoundPredicateType"), V::integer(0)},
                 {QStringLiteral("NSSubpredicates"), V::uid(f.b.array({yes, yes}))}});
        });
        QTest::newRow("no predicate") << make([](Forms &) { return quint64(0); });
        QTest::newRow("predicate is a string")
            << make([](Forms &f) { return f.b.string(QStringLiteral("Systolic > 0")); });
        QTest::newRow("expression used as predicate")
            << make([](Forms &f) { return f.keyPath(QStringLiteral("Systolic")); });
        QTest::newRow("relative date of no finite length") << make([](Forms &f) {
            const quint64 relative = f.b.addObject(
                QStringLiteral("RelativeDate"), {{QStringLiteral("time-interval-since-now"),
                                                  V::real(std::numeric_limits<double>::infinity())},
                                                 {QStringLiteral("date-units"), V::integer(0)}});
            return f.comparison(f.keyPath(QStringLiteral("Date")), f.constant(relative),
                                f.greaterThan());
        });
        QTest::newRow("constant of a dictionary") << make([](Forms &f) {
            const quint64 dict = f.b.dictionary({{QStringLiteral("a"), f.number(1)}});
            return f.comparison(f.keyPath(QStringLiteral("Systolic")), f.constant(dict),
                                f.greaterThan());
        });
        // Evaluating, printing or comparing these would take 2^levels steps.
        QTest::newRow("one subpredicate shared through 40 levels")
            << make([](Forms &f) { return f.sharedAnd(40); });
        QTest::newRow("shared just past the bound")
            << make([](Forms &f) { return f.sharedAnd(13); });
        QTest::newRow("unknown class deep inside") << make([](Forms &f) {
            const quint64 alien = f.b.addObject(QStringLiteral("NSSubqueryExpression"), {});
            const quint64 inner =
                f.comparison(f.keyPath(QStringLiteral("Systolic")), alien, f.greaterThan());
            return f.b.addObject(QStringLiteral("NSCompoundPredicate"),
                                 {{QStringLiteral("NSCompoundPredicateType"), V::integer(1)},
                                  {QStringLiteral("NSSubpredicates"), V::uid(f.b.array({inner}))}});
        });
    }
    void unusablePredicatesResetOneFilter()
    {
        QFETCH(QByteArray, file);
        MyDocument document;
        QString error;
        QVERIFY2(document.readFromData(file, QString(), &error), qPrintable(error));
        QCOMPARE(document.filters().size(), 2);
        const FilterPtr good = document.filters()[0];
        const FilterPtr probe = document.filters()[1];
        QCOMPARE(good->name(), QStringLiteral("Good"));
        QCOMPARE(good->predicate()->predicateFormat(), QStringLiteral("Pulse > 50"));
        QCOMPARE(probe->name(), QStringLiteral("??? Probe"));
        QCOMPARE(probe->predicate()->predicateFormat(), QStringLiteral("Systolic > 0"));
        QCOMPARE(probe->useInFilters(), QVariant(true));
    }

    void sharedSubpredicatesWithinTheBound()
    {
        // Sharing itself is allowed: 12 levels stand for 4,096 comparisons, within the bound.
        Forms f;
        MyDocument document;
        QString error;
        QVERIFY2(
            document.readFromData(f.document({f.filter(QStringLiteral("Deep"), f.sharedAnd(12))}),
                                  QString(), &error),
            qPrintable(error));
        const FilterPtr deep = document.filters().first();
        QCOMPARE(deep->name(), QStringLiteral("Deep"));
        QCOMPARE(deep->predicate()->expandedSize(), quint64(8191));
        QVERIFY(deep->accepts(*Measurement::create(kNow, 120, 80)));
        MyDocument back;
        QVERIFY2(back.readFromData(dataOf(document), QString(), &error), qPrintable(error));
        QCOMPARE(back.filters().first()->name(), QStringLiteral("Deep"));
        QVERIFY(Predicate::equal(back.filters().first()->predicate(), deep->predicate()));
    }

    void filterPartsThatMayBeMissing()
    {
        // A relative date without its keys stands for the present; a filter without its flags has
        // both absent, so it is neither offered nor averaged.
        Forms f;
        const quint64 relative = f.b.addObject(QStringLiteral("RelativeDate"), {});
        const quint64 predicate =
            f.comparison(f.keyPath(QStringLiteral("Date")), f.constant(relative), f.greaterThan());
        const quint64 filter =
            f.b.addObject(QStringLiteral("Filter"),
                          {{QStringLiteral("name"), V::uid(f.b.string(QStringLiteral("Bare")))},
                           {QStringLiteral("predicate"), V::uid(predicate)}});
        MyDocument document;
        QString error;
        QVERIFY2(document.readFromData(f.document({filter}), QString(), &error), qPrintable(error));
        const FilterPtr bare = document.filters().first();
        QCOMPARE(bare->name(), QStringLiteral("Bare"));
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
        MyDocument back;
        QVERIFY(back.readFromData(dataOf(document), QString()));
        QVERIFY(!back.filters().first()->useInFilters().isValid());
        QCOMPARE(contentOf(back), contentOf(document));
    }

    void foundationFormsThatAreUsable_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("format");
        {
            // An aggregate of constants where an array constant is expected.
            Forms f;
            const quint64 a = f.constant(f.b.string(QStringLiteral("a")));
            const quint64 b = f.constant(f.b.string(QStringLiteral("b")));
            const quint64 aggregate =
                f.b.addObject(QStringLiteral("NSAggregateExpression"),
                              {{QStringLiteral("NSExpressionType"), V::integer(14)},
                               {QStringLiteral("NSCollection"), V::uid(f.b.array({a, b}))}});
            const quint64 op = f.b.addObject(QStringLiteral("NSInPredicateOperator"),
                                             {{QStringLiteral("NSOperatorType"), V::integer(10)},
                                              {QStringLiteral("NSModifier"), V::integer(2)},
                                              {QStringLiteral("NSFlags"), V::integer(0)}});
            const quint64 p = f.comparison(f.keyPath(QStringLiteral("Tags")), aggregate, op);
            QTest::newRow("aggregate") << f.document({f.filter(QStringLiteral("Probe"), p)})
                                       << QStringLiteral("ANY Tags IN {\"a\", \"b\"}");
        }
        {
            // NSNegate as an integer, no operator type.
            Forms f;
            const quint64 op = f.b.addObject(QStringLiteral("NSEqualityPredicateOperator"),
                                             {{QStringLiteral("NSNegate"), V::integer(1)},
                                              {QStringLiteral("NSModifier"), V::integer(0)}});
            const quint64 p =
                f.comparison(f.keyPath(QStringLiteral("Pulse")), f.constant(f.number(60)), op);
            QTest::newRow("negate as integer") << f.document({f.filter(QStringLiteral("Probe"), p)})
                                               << QStringLiteral("Pulse != 60");
        }
        {
            Forms f;
            const quint64 p = f.comparison(
                f.keyPath(QStringLiteral("Tags.@count"), QStringLiteral("valueForKeyPath:")),
                f.constant(f.number(2)), f.greaterThan());
            QTest::newRow("key path with @count")
                << f.document({f.filter(QStringLiteral("Probe"), p)})
                << QStringLiteral("Tags.@count > 2");
        }
        {
            Forms f;
            const quint64 op = f.b.addObject(QStringLiteral("NSSubstringPredicateOperator"),
                                             {{QStringLiteral("NSPosition"), V::integer(1)},
                                              {QStringLiteral("NSFlags"), V::integer(1)}});
            const quint64 p = f.comparison(f.keyPath(QStringLiteral("Comments")),
                                           f.constant(f.b.string(QStringLiteral("x"))), op);
            QTest::newRow("position gives ends-with")
                << f.document({f.filter(QStringLiteral("Probe"), p)})
                << QStringLiteral("Comments ENDSWITH[c] \"x\"");
        }
    }
    void foundationFormsThatAreUsable()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, format);
        MyDocument document;
        QString error;
        QVERIFY2(document.readFromData(file, QString(), &error), qPrintable(error));
        QCOMPARE(document.filters().first()->name(), QStringLiteral("Probe"));
        QCOMPARE(document.filters().first()->predicate()->predicateFormat(), format);
    }

    void refusedFilesChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("message");
        const QString corrupted = qtTrId("doc.file_corrupted");
        const QString incomplete = qtTrId("doc.file_incomplete");
        QTest::newRow("not a file")
            << QByteArray("just text") << QStringLiteral("not a property list");
        QTest::newRow("truncated")
            << dataOf(*documentFromJson(kFullDocument)).left(500) << QStringLiteral("truncated");
        {
            ArchiveBuilder b;
            QTest::newRow("root is an array") << b.bytes(b.array({})) << corrupted;
            QTest::newRow("root is nil") << b.bytes(0) << corrupted;
        }
        {
            ArchiveBuilder b;
            QTest::newRow("no readings")
                << b.bytes(b.dictionary({{QStringLiteral("filters"), b.array({})}})) << incomplete;
        }
        {
            ArchiveBuilder b;
            QTest::newRow("readings not a list")
                << b.bytes(b.dictionary(
                       {{QStringLiteral("measurements"), b.string(QStringLiteral("x"))}}))
                << corrupted;
        }
        {
            ArchiveBuilder b;
            QTest::newRow("a reading that is a string")
                << b.bytes(b.dictionary({{QStringLiteral("measurements"),
                                          b.array({b.string(QStringLiteral("x"))})}}))
                << corrupted;
        }
        {
            Forms f;
            const quint64 reading = f.b.addObject(QStringLiteral("Measurement"), {});
            const quint64 root =
                f.b.dictionary({{QStringLiteral("measurements"), f.b.array({})},
                                {QStringLiteral("filters"), f.b.array({reading})}});
            QTest::newRow("a filter that is a reading") << f.b.bytes(root) << corrupted;
        }
        {
            Forms f;
            const quint64 compound = f.b.add(V()); // filled in below, once its list exists
            const quint64 list = f.b.array({compound});
            f.b.objects[compound] =
                f.b.object(QStringLiteral("NSCompoundPredicate"),
                           {{QStringLiteral("NSCompoundPredicateType"), V::integer(1)},
                            {QStringLiteral("NSSubpredicates"), V::uid(list)}});
            QTest::newRow("predicate holding itself")
                << f.document({f.filter(QStringLiteral("Probe"), compound)})
                << QStringLiteral("contains itself");
        }
        {
            // Outside a filter there is nothing to reset: the file is refused, at once.
            Forms f;
            const quint64 item = f.b.dictionary({{QStringLiteral("value"), f.sharedAnd(40)}});
            const quint64 root =
                f.b.dictionary({{QStringLiteral("measurements"), f.b.array({})},
                                {QStringLiteral("information"), f.b.array({item})}});
            QTest::newRow("shared predicate in an information item")
                << f.b.bytes(root) << QStringLiteral("more than 10000 parts");
        }
        {
            ArchiveBuilder b;
            const quint64 date =
                b.addObject(QStringLiteral("NSDate"), {{QStringLiteral("NS.time"), V::real(1e17)}});
            const quint64 reading = b.addObject(QStringLiteral("Measurement"),
                                                {{QStringLiteral("date"), V::uid(date)}});
            QTest::newRow("date three billion years away")
                << b.bytes(b.dictionary({{QStringLiteral("measurements"), b.array({reading})}}))
                << QStringLiteral("100,000,000 days");
        }
        {
            ArchiveBuilder b;
            const quint64 date = b.addObject(QStringLiteral("NSDate"),
                                             {{QStringLiteral("NS.time"), V::real(std::nan(""))}});
            const quint64 reading = b.addObject(QStringLiteral("Measurement"),
                                                {{QStringLiteral("date"), V::uid(date)}});
            QTest::newRow("date that is no number")
                << b.bytes(b.dictionary({{QStringLiteral("measurements"), b.array({reading})}}))
                << QStringLiteral("malformed");
        }
        {
            ArchiveBuilder b;
            const quint64 alien = b.addObject(QStringLiteral("NSURL"), {});
            const quint64 reading = b.addObject(QStringLiteral("Measurement"),
                                                {{QStringLiteral("comments"), V::uid(alien)}});
            QTest::newRow("unknown class in a reading")
                << b.bytes(b.dictionary({{QStringLiteral("measurements"), b.array({reading})}}))
                << QStringLiteral("NSURL");
        }
        {
            ArchiveBuilder b;
            const quint64 key = b.string(QStringLiteral("k"));
            const quint64 bad = b.addObject(QStringLiteral("NSDictionary"),
                                            {{QStringLiteral("NS.keys"), b.uids({key, key})},
                                             {QStringLiteral("NS.objects"), b.uids({key})}});
            QTest::newRow("keys and objects disagree")
                << b.bytes(b.dictionary({{QStringLiteral("measurements"), b.array({})},
                                         {QStringLiteral("settings"), bad}}))
                << QStringLiteral("malformed");
        }
    }
    void refusedFilesChangeNothing()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, message);
        const auto document = documentFromJson(kFullDocument);
        document->addMeasurements({Measurement::create(Date(5), 100, 60)}); // an undoable edit
        document->undoManager()->closeGroup();
        const DocumentState before = stateOf(*document);
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
        const DocumentState after = stateOf(*document);
        QCOMPARE(after.content, before.content);
        QCOMPARE(after.canUndo, before.canUndo);
        QCOMPARE(after.clean, before.clean);
        QCOMPARE(after.selected, before.selected);
    }

    void savingMarksClean()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.tensilo"));
        MyDocument document;
        document.addMeasurements({Measurement::create(Date(5), 100, 60)});
        document.undoManager()->closeGroup();
        QVERIFY(!document.undoManager()->isClean());
        QString error;
        QVERIFY2(document.writeToFile(path, &error), qPrintable(error));
        QVERIFY(document.undoManager()->isClean());
        MyDocument back;
        QVERIFY2(back.readFromFile(path, &error), qPrintable(error));
        QCOMPARE(contentOf(back), contentOf(document));
        QVERIFY(!back.readFromFile(dir.filePath(QStringLiteral("missing.tensilo")), &error));
        QVERIFY(
            error.startsWith(qtTrId("error.file_open").section(QLatin1Char('%'), 0, 0).trimmed()));
    }

    void failedSavesKeepThePreviousFile_data()
    {
        QTest::addColumn<QString>("where");
        QTest::newRow("missing directory") << QStringLiteral("missing");
        QTest::newRow("read-only file system") << QStringLiteral("proc");
        QTest::newRow("read-only directory") << QStringLiteral("readonly");
        QTest::newRow("a directory in the way") << QStringLiteral("directory");
    }
    void failedSavesKeepThePreviousFile()
    {
        QFETCH(QString, where);
        QTemporaryDir dir;
        QString path;
        if (where == u"missing") {
            path = dir.filePath(QStringLiteral("nowhere/a.tensilo"));
        } else if (where == u"proc") {
            path = QStringLiteral("/proc/tensilo-test.tensilo");
        } else if (where == u"readonly") {
            if (geteuid() == 0)
                QSKIP("permissions do not bind the super-user");
            path = dir.filePath(QStringLiteral("ro/a.tensilo"));
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("ro")));
            QVERIFY(writeFile(path, "previous"));
            QVERIFY(QFile::setPermissions(dir.filePath(QStringLiteral("ro")),
                                          QFile::ReadOwner | QFile::ExeOwner));
        } else {
            path = dir.filePath(QStringLiteral("a.tensilo"));
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("a.tensilo")));
        }
        MyDocument document;
        document.addMeasurements({Measurement::create(Date(5), 100, 60)});
        document.undoManager()->closeGroup();
        QString error;
        QVERIFY(!document.writeToFile(path, &error));
        const QString prefix = qtTrId("error.file_save").section(QLatin1Char('%'), 0, 0).trimmed();
        QVERIFY2(error.startsWith(prefix) && error.size() > prefix.size() + 2, qPrintable(error));
        QVERIFY(!document.undoManager()->isClean()); // still edited
        if (where == u"readonly") {
            QCOMPARE(readFile(path), QByteArray("previous"));
            QFile::setPermissions(dir.filePath(QStringLiteral("ro")),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
    }

    void saveOnAFullDevice()
    {
        // A file size limit makes the device "full" part way through the new file.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.tensilo"));
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
                 QStringList{QStringLiteral("a.tensilo")});
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
                writeFile(dataDir() + name + QStringLiteral(".tensilo"), dataOf(*document));
                writeFile(dataDir() + name + QStringLiteral(".json"),
                          DocumentJson::toJson(*document));
            }
            writeFile(dataDir() + QStringLiteral("older-readings.tensilo"), olderFormDocument());
            MyDocument older;
            older.readFromData(olderFormDocument(), QString());
            writeFile(dataDir() + QStringLiteral("older-readings.json"),
                      DocumentJson::toJson(older));
            QProcess::execute(QStringLiteral("plistutil"),
                              {QStringLiteral("-i"), dataDir() + QStringLiteral("full.tensilo"),
                               QStringLiteral("-o"), dataDir() + QStringLiteral("full-xml.tensilo"),
                               QStringLiteral("-f"), QStringLiteral("xml")});
        }
        for (const auto &[name, json] : sources)
            QTest::newRow(qPrintable(name)) << name << json;
        QTest::newRow("full, as XML") << QStringLiteral("full-xml") << QByteArray(kFullDocument);
        QTest::newRow("older-form readings") << QStringLiteral("older-readings") << QByteArray();
    }
    void storedDocuments()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, json);
        MyDocument document;
        QString error;
        QVERIFY2(document.readFromFile(dataDir() + name + QStringLiteral(".tensilo"), &error),
                 qPrintable(error));
        if (!json.isEmpty())
            QCOMPARE(contentOf(document), normalizedJson(json));
        const QString base = name.endsWith(QLatin1String("-xml")) ? name.chopped(4) : name;
        const QByteArray stored = readFile(dataDir() + base + QStringLiteral(".json"));
        QVERIFY(!stored.isEmpty());
        QCOMPARE(QString::fromUtf8(DocumentJson::toJson(document)), QString::fromUtf8(stored));
    }
};

TENSILO_TEST_MAIN(TestDocumentFile)
#include "tst_documentfile.moc"
