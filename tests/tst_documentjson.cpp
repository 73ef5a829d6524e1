// The JSON form of documents, in process: numbers keep their kind, a document goes through the
// text and back unchanged, and text that is not a document is refused with its place named.

#include "DocumentBuilder.h"
#include "DocumentJson.h"
#include "Filter.h"
#include "InformationItem.h"
#include "MyDocument.h"
#include "Number.h"
#include "Predicate.h"
#include "PrintSettings.h"
#include "TestHelpers.h"
#include "TestMain.h"
#include "UndoManager.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSizeF>
#include <QtTest>

#include <cmath>

using TestSupport::row;

class TestDocumentJson : public QObject
{
    Q_OBJECT

private slots:
    // --- Numbers and values
    // ---------------------------------------------------------------------------

    void numbersKeepTheirKind_data()
    {
        QTest::addColumn<QVariant>("number");
        QTest::addColumn<QByteArray>("text");
        row("whole", Number::integer(70), QByteArray("70"));
        row("whole negative", Number::integer(-12), QByteArray("-12"));
        row("zero", Number::integer(0), QByteArray("0"));
        row("fraction whole", Number::real(70.0), QByteArray("70.0"));
        row("fraction zero", Number::real(0.0), QByteArray("0.0"));
        row("fraction", Number::real(36.6), QByteArray("36.6"));
        row("shortest", Number::real(0.1 + 0.2), QByteArray("0.30000000000000004"));
        row("tiny", Number::real(1e-7), QByteArray("1e-07"));
        row("huge", Number::real(1e300), QByteArray("1e+300"));
        row("int64 max", Number::integer(std::numeric_limits<qint64>::max()),
            QByteArray("9223372036854775807"));
        row("absent", QVariant(), QByteArray("null"));
        row("nan", Number::real(std::nan("")), QByteArray("null"));
    }
    void numbersKeepTheirKind()
    {
        QFETCH(QVariant, number);
        QFETCH(QByteArray, text);
        QCOMPARE(DocumentJson::formatNumber(number), text);
    }

    void documentRoundTrip()
    {
        MyDocument original;
        DocumentBuilder::everyKindOfValue().fill(original);
        const QByteArray json = DocumentJson::toJson(original);

        MyDocument copy;
        QString error;
        QVERIFY2(DocumentJson::fromJson(json, &copy, &error), qPrintable(error));
        QCOMPARE(DocumentJson::toJson(copy), json);
        QVERIFY(!copy.undoManager()->canUndo());
        QBuffer streamed;
        streamed.open(QIODevice::WriteOnly);
        QVERIFY(DocumentJson::writeJson(copy, &streamed));
        QCOMPARE(streamed.data(), json);

        // The values themselves, kinds included: absent and empty, whole and fractional.
        QCOMPARE(copy.allItems().size(), 3);
        for (qsizetype i = 0; i < copy.allItems().size(); ++i) {
            for (int k = 0; k <= int(Measurement::Key::TagsCount); ++k) {
                const QVariant mine = copy.allItems().at(i)->valueForKey(Measurement::Key(k));
                const QVariant theirs = original.allItems().at(i)->valueForKey(Measurement::Key(k));
                QVERIFY2(mine == theirs && mine.typeId() == theirs.typeId(),
                         qPrintable(QStringLiteral("reading %1, key %2").arg(i).arg(k)));
            }
        }
        QCOMPARE(copy.filters().size(), original.filters().size());
        for (qsizetype i = 0; i < copy.filters().size(); ++i) {
            const FilterPtr mine = copy.filters().at(i), theirs = original.filters().at(i);
            QCOMPARE(mine->name(), theirs->name());
            QVERIFY2(Predicate::equal(mine->predicate(), theirs->predicate()),
                     qPrintable(mine->predicate()->predicateFormat()));
            QCOMPARE(mine->useInFilters(), theirs->useInFilters());
            QCOMPARE(mine->useInAverages(), theirs->useInAverages());
        }
        QCOMPARE(copy.filter(), copy.filters().at(3));
        QVERIFY(copy.sortItemsAscending());
        QCOMPARE(copy.information().size(), 3);
        QCOMPARE(copy.information().at(1)->dictionary(),
                 original.information().at(1)->dictionary());
        QVERIFY(copy.information().at(2)->dictionary().isEmpty());
        const QVariantMap info = copy.printInfo();
        QCOMPARE(info.value(PrintSettings::kPaperSize).toSizeF(), QSizeF(612, 792));
        QCOMPARE(info.value(PrintSettings::kLeftMargin).toDouble(), 36.5);
        QCOMPARE(info.value(PrintSettings::kOrientation).toInt(), 1);
    }

    // The text itself: what a script relies on.
    void documentText()
    {
        MyDocument document;
        DocumentBuilder::everyKindOfValue().fill(document);
        const QByteArray json = DocumentJson::toJson(document);
        for (const char *expected : {"\"systolic\": 120,",
                                     "\"weight\": 70.0,",
                                     "\"pulse\": 0,",
                                     "\"custom1\": 36.6,",
                                     "\"diastolic\": null,",
                                     "\"comments\": \"\",",
                                     "\"tags\": []",
                                     "\"date\": 600000100.25,",
                                     "\"date\": -3600.0,",
                                     "\"selectedFilter\": 3,",
                                     "\"sortAscending\": true,",
                                     "\"orientation\": \"landscape\"",
                                     "\"paperWidth\": 612.0,",
                                     "\"leftMargin\": 36.5,",
                                     "\"useInAverages\": null",
                                     "\"relativeDate\": {\n",
                                     "\"interval\": -604800.0,",
                                     "\"units\": 1",
                                     "\"date\": 599999999.5",
                                     "\"compound\": \"not\"",
                                     "\"constant\": true",
                                     "\"keyPath\": \"Tags.@count\"",
                                     "\"options\": 3",
                                     "\"modifier\": 2",
                                     "\\\"walk\\\"\\n\\ttab \\\\"}) {
            QVERIFY2(json.contains(expected), expected);
        }
        // Standard JSON that any reader takes.
        QJsonParseError error;
        const QJsonDocument parsed = QJsonDocument::fromJson(json, &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        const QJsonObject root = parsed.object();
        QCOMPARE(root.keys().size(), 6);
        QCOMPARE(root["readings"][1]["comments"].toString(), document.allItems().at(1)->Comments());
        QCOMPARE(root["filters"][2]["format"].toString(),
                 document.filters().at(2)->predicate()->predicateFormat());
    }

    // Text written by hand reads back and is written out again exactly.
    void handWrittenText()
    {
        const QByteArray json = R"({
  "readings": [
    {
      "date": 0.0,
      "systolic": 130,
      "diastolic": 85.0,
      "pulse": null,
      "weight": 1e+20,
      "custom1": null,
      "custom2": null,
      "custom3": null,
      "comments": "\u00e9\ud83d\ude00",
      "tags": null
    }
  ],
  "filters": [
    {
      "name": "Empty or",
      "predicate": {
        "compound": "or",
        "subpredicates": []
      },
      "format": "FALSEPREDICATE",
      "useInFilters": false,
      "useInAverages": true
    },
    {
      "name": "Lists",
      "predicate": {
        "comparison": {
          "left": {
            "keyPath": "Systolic"
          },
          "right": {
            "constant": [
              1,
              2.5
            ]
          },
          "operator": 10,
          "modifier": 0,
          "options": 0
        }
      },
      "format": "anything",
      "useInFilters": null,
      "useInAverages": null
    }
  ],
  "selectedFilter": null,
  "sortAscending": false,
  "information": [],
  "printInfo": {
    "paperWidth": null,
    "paperHeight": null,
    "leftMargin": null,
    "rightMargin": null,
    "topMargin": null,
    "bottomMargin": null,
    "orientation": null
  }
}
)";
        MyDocument document;
        QString error;
        QVERIFY2(DocumentJson::fromJson(json, &document, &error), qPrintable(error));
        QVERIFY(document.printInfo().isEmpty());
        QVERIFY(!document.filter());
        QCOMPARE(document.allItems().at(0)->Diastolic().typeId(), QMetaType::Double);
        QCOMPARE(document.allItems().at(0)->Comments(), QString::fromUtf8("\u00e9\U0001F600"));
        // The format is written from the predicate, whatever the text said, and the comment
        // without escapes.
        const QList<QByteArray> format = {
            document.filters().at(0)->predicate()->predicateFormat().toUtf8(),
            document.filters().at(1)->predicate()->predicateFormat().toUtf8()};
        const QByteArray expected =
            QByteArray(json)
                .replace("\"format\": \"FALSEPREDICATE\"", "\"format\": \"" + format[0] + '"')
                .replace("\"format\": \"anything\"", "\"format\": \"" + format[1] + '"')
                .replace("\\u00e9\\ud83d\\ude00", "\u00e9\U0001F600");
        QCOMPARE(DocumentJson::toJson(document), expected);
    }

    void badJsonIsRefused_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("place"); // what the message must name

        // A document's text with every member empty, but for the one given.
        auto with = [](const char *key, const char *value) {
            QByteArrayList members;
            for (const auto &[name, empty] : {std::pair{"readings", "[]"},
                                              {"filters", "[]"},
                                              {"selectedFilter", "null"},
                                              {"sortAscending", "false"},
                                              {"information", "[]"},
                                              {"printInfo", "null"}})
                members << '"' + QByteArray(name) + "\": " + (qstrcmp(name, key) ? empty : value);
            return '{' + members.join(", ") + '}';
        };
        const QByteArray valid = with("", "");
        auto filter = [](const char *predicate) {
            return QByteArray(R"({"readings": [], "filters": [{"name": "f", "predicate": )") +
                   predicate + R"(}], "sortAscending": false})";
        };
        // Pulse compared with 1, the rest of the comparison given.
        auto pulse = [&](const char *rest) {
            return filter(QByteArray(R"({"comparison": {"left": {"keyPath": "Pulse"}, )"
                                     R"("right": {"constant": 1}, )") +
                          rest + "}}");
        };
        row("empty", QByteArray(), "0");
        row("syntax", QByteArray("{\"readings\": [}"), "14");
        row("trailing", valid + "x", QString());
        row("not an object", QByteArray("[]"), QString());
        row("duplicate key", QByteArray(R"({"readings": [], "readings": []})"), "");
        row("unknown key", QByteArray(valid).replace("printInfo", "printinfo"), "printinfo");
        row("date missing", with("readings", R"([{"systolic": 1}])"), "readings[0].date");
        row("date a string", with("readings", R"([{"date": "today"}])"), "readings[0].date");
        row("date infinite", with("readings", R"([{"date": 1e999}])"), "readings[0].date");
        row("number a string", with("readings", R"([{"date": 1}, {"date": 2, "pulse": "60"}])"),
            "readings[1].pulse");
        row("number a bool", with("readings", R"([{"date": 1, "weight": true}])"),
            "readings[0].weight");
        row("tag a number", with("readings", R"([{"date": 1, "tags": ["a", 2]}])"),
            "readings[0].tags[1]");
        // A key written with an escape is still the same key.
        row("duplicate reading key", with("readings", R"([{"date": 1, "d\u0061te": 2}])"), "37");
        // A fault in the syntax is reported before one in the meaning, wherever it stands.
        row("syntax after meaning", QByteArray(R"({"readings": [{"date": "x"}], "filters": [})"),
            "42");
        row("unknown reading keys, first in order",
            with("readings", R"([{"date": 1, "zz": 1, "aa": 2}])"), "readings[0].aa");
        row("readings an object", with("readings", R"({})"), "readings");
        row("unknown reading key", with("readings", R"([{"date": 1, "systolik": 2}])"),
            "readings[0].systolik");
        row("selected out of range", with("selectedFilter", "0"), "selectedFilter");
        row("selected negative",
            QByteArray(R"({"filters": [{"name": "f", "predicate": {"constant": true}}],
                              "selectedFilter": -1})"),
            "selectedFilter");
        row("selected beyond the document's own", QByteArray(R"({"selectedFilter": 99})"),
            "selectedFilter");
        row("selected fractional", with("selectedFilter", "0.0"), "selectedFilter");
        row("sort a number", with("sortAscending", "1"), "sortAscending");
        row("unknown operator", pulse(R"("operator": 11, "modifier": 0, "options": 0)"),
            "filters[0].predicate.comparison.operator");
        row("unknown modifier", pulse(R"("operator": 4, "modifier": 3, "options": 0)"),
            "filters[0].predicate.comparison.modifier");
        row("unknown option", pulse(R"("operator": 4, "modifier": 0, "options": 8)"),
            "filters[0].predicate.comparison.options");
        row("operator huge", pulse(R"("operator": 4294967300)"),
            "filters[0].predicate.comparison.operator");
        row("unknown key path",
            filter(R"({"comparison": {"left": {"keyPath": "Height"}, "right": {"constant": 1},
                          "operator": 4}})"),
            "filters[0].predicate");
        row("no predicate", filter("null"), "filters[0].predicate");
        row("unknown compound", filter(R"({"compound": "xor", "subpredicates": []})"),
            "filters[0].predicate.compound");
        row("not with two", filter(R"({"compound": "not", "subpredicates": [{"constant": true},
                          {"constant": false}]})"),
            "filters[0].predicate.subpredicates");
        row("bad subpredicate",
            filter(R"({"compound": "and", "subpredicates": [{"constant": true}, 5]})"),
            "filters[0].predicate.subpredicates[1]");
        row("two expression forms",
            filter(R"({"comparison": {"left": {"keyPath": "Pulse", "constant": 1},
                          "right": {"constant": 1}, "operator": 4}})"),
            "filters[0].predicate.comparison.left");
        row("bad relative date", filter(R"({"comparison": {"left": {"keyPath": "theWholeDate"},
                          "right": {"constant": {"relativeDate": {"interval": "1", "units": 0}}},
                          "operator": 2}})"),
            "filters[0].predicate.comparison.right.constant.relativeDate.interval");
        row("nested array", filter(R"({"comparison": {"left": {"keyPath": "Pulse"},
                          "right": {"constant": [[1]]}, "operator": 10}})"),
            "filters[0].predicate.comparison.right.constant[0]");
        row("deep",
            filter(QByteArray(R"({"compound": "not", "subpredicates": [)").repeated(100) +
                   R"({"constant": true})" + QByteArray("]}").repeated(100)),
            "filters[0].predicate");
        row("orientation", with("printInfo", R"({"orientation": "sideways"})"),
            "printInfo.orientation");
        row("paper half", with("printInfo", R"({"paperWidth": 100})"), "printInfo.paperHeight");
        row("information printed", with("information", R"([{"printed": "yes"}])"),
            "information[0].printed");
        row("bad utf-8", with("readings", "[{\"date\": 1, \"comments\": \"\xff\"}]"), QString());
        row("control char", with("readings", "[{\"date\": 1, \"comments\": \"\x01\"}]"), QString());
        row("nesting bomb", QByteArray(100000, '['), QString());
    }
    void badJsonIsRefused()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, place);
        MyDocument document;
        DocumentBuilder::everyKindOfValue().fill(document);
        const QByteArray before = DocumentJson::toJson(document);
        QString error;
        QVERIFY(!DocumentJson::fromJson(json, &document, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY2(error.contains(place), qPrintable(error));
        QVERIFY2(!error.startsWith(QLatin1String("tool.")), qPrintable(error)); // translated
        QCOMPARE(DocumentJson::toJson(document), before);
    }

    // Parts the text leaves out stay as the document has them.
    void partialText()
    {
        MyDocument document;
        DocumentBuilder::everyKindOfValue().fill(document);
        const FilterList filters = document.filters();
        const QVariantMap printInfo = document.printInfo();
        QString error;
        QVERIFY2(DocumentJson::fromJson(R"({"readings": [{"date": 5.0}], "selectedFilter": 1})",
                                        &document, &error),
                 qPrintable(error));
        QCOMPARE(document.allItems().size(), 1);
        QCOMPARE(document.filters(), filters);
        QCOMPARE(document.filter(), filters.at(1));
        QCOMPARE(document.printInfo(), printInfo);
        QCOMPARE(document.information().size(), 3);
        QVERIFY(document.sortItemsAscending());
    }

    void pageLayout_data()
    {
        QTest::addColumn<QVariantMap>("printInfo");
        QTest::addColumn<QSizeF>("page");      // as turned, points
        QTest::addColumn<QRectF>("paintRect"); // points
        const QSizeF a4 = QPageSize(QPageSize::A4).size(QPageSize::Point);
        row("none", QVariantMap(), a4, QRectF(72, 90, a4.width() - 144, a4.height() - 180));
        QVariantMap letter{{PrintSettings::kPaperSize, QSizeF(612, 792)},
                           {PrintSettings::kLeftMargin, 10.0},
                           {PrintSettings::kRightMargin, 20.0},
                           {PrintSettings::kTopMargin, 30.0},
                           {PrintSettings::kBottomMargin, 40.0}};
        row("letter", letter, QSizeF(612, 792), QRectF(10, 30, 582, 722));
        QVariantMap landscape = letter;
        landscape.insert(PrintSettings::kOrientation, 1);
        landscape.insert(PrintSettings::kPaperSize, QSizeF(792, 612));
        row("landscape", landscape, QSizeF(792, 612), QRectF(10, 30, 762, 542));
        QVariantMap turnedByFlag = letter;
        turnedByFlag.insert(PrintSettings::kOrientation, 1);
        row("turned by flag", turnedByFlag, QSizeF(792, 612), QRectF(10, 30, 762, 542));
        QVariantMap silly{{PrintSettings::kPaperSize, QSizeF(-1, 1e9)},
                          {PrintSettings::kLeftMargin, 1000.0},
                          {PrintSettings::kOrientation, QStringLiteral("x")}};
        row("unusable", silly, a4, QRectF(72, 90, a4.width() - 144, a4.height() - 180));
    }
    void pageLayout()
    {
        QFETCH(QVariantMap, printInfo);
        QFETCH(QSizeF, page);
        QFETCH(QRectF, paintRect);
        const QPageLayout layout = PrintSettings(printInfo).pageLayout();
        QVERIFY(layout.isValid());
        QCOMPARE(layout.fullRect(QPageLayout::Point).size(), page);
        QCOMPARE(layout.paintRect(QPageLayout::Point), paintRect);
    }

    void statsJson()
    {
        auto heavy = TestSupport::reading(Date(100), 120, 80);
        heavy->setWeight(Number::real(70.5));
        const auto document = DocumentBuilder()
                                  .reading(heavy)
                                  .reading(Date(200), 140, 90)
                                  .reading(Date(300), 160, QVariant())
                                  .filter("All", "TRUEPREDICATE")
                                  .filter("High", "Systolic >= 140")
                                  .filter("Hidden", "Systolic > 0", true, false)
                                  .selectFilter(1)
                                  .build();
        const QJsonObject stats =
            QJsonDocument::fromJson(DocumentJson::statsJson(*document)).object();
        QCOMPARE(stats.value("total").toInt(), 3);
        QCOMPARE(stats.value("filtered").toInt(), 2);
        const QJsonArray averages = stats.value("averages").toArray();
        QCOMPARE(averages.size(), 2);
        const QJsonObject all = averages.at(0).toObject();
        QCOMPARE(all.value("name").toString(), QStringLiteral("All"));
        QCOMPARE(all.value("count").toInt(), 3);
        const QJsonObject values = all.value("values").toObject();
        QCOMPARE(values.keys().size(), 8);
        QCOMPARE(values["Systolic"]["mean"].toDouble(), 140.0);
        QCOMPARE(values["Systolic"]["deviation"].toDouble(), std::sqrt(800.0 / 3));
        QCOMPARE(values["Diastolic"]["mean"].toDouble(), 85.0);
        QCOMPARE(values["Weight"]["valid"].toBool(), true);
        QCOMPARE(values["Weight"]["deviation"].toDouble(), 0.0);
        QCOMPARE(values["Pulse"]["valid"].toBool(), false);
        const QJsonObject high = averages.at(1).toObject();
        QCOMPARE(high.value("count").toInt(), 2);
        QCOMPARE(high["values"]["Systolic"]["mean"].toDouble(), 150.0);
    }
};

TENSILO_TEST_MAIN(TestDocumentJson)
#include "tst_documentjson.moc"
