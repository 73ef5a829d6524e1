#include "archive_builder.h"

#include "BinaryPropertyList.h"
#include "Date.h"
#include "DocumentArchive.h"
#include "ExpandedSize.h"
#include "KeyedArchiver.h"
#include "KeyedUnarchiver.h"
#include "Measurement.h"
#include "PropertyList.h"
#include "TestMain.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

using V = PlistValue;

QString hexOf(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex());
}

QString realCanon(double d)
{
    quint64 bits;
    std::memcpy(&bits, &d, 8);
    return QStringLiteral("R%1").arg(bits, 16, 16, QLatin1Char('0'));
}

QString canon(const QVariant &v);

QString canonMap(const QVariantMap &map)
{
    QStringList items;
    for (auto it = map.constBegin(); it != map.constEnd(); ++it)
        items << hexOf(it.key().toUtf8()) + QLatin1Char(':') + canon(it.value());
    items.sort();
    return QLatin1Char('{') + items.join(QLatin1Char(',')) + QLatin1Char('}');
}

// The archive keys of a reading, as the Python oracle shows an object of a class it does not
// know.
QVariantMap readingKeys(const Measurement &m)
{
    QVariantMap keys;
    keys[QStringLiteral("$class")] = QStringLiteral("Measurement");
    keys[QStringLiteral("date")] = m.theWholeDate().timeIntervalSinceReferenceDate();
    keys[QStringLiteral("systolic-obj")] = m.Systolic();
    keys[QStringLiteral("diastolic-obj")] = m.Diastolic();
    keys[QStringLiteral("weight-obj")] = m.Weight();
    keys[QStringLiteral("pulse-obj")] = m.Pulse();
    keys[QStringLiteral("comments")] = m.Comments().isNull() ? QVariant() : m.Comments();
    keys[QStringLiteral("tags")] = m.hasTags() ? QVariant(m.Tags()) : QVariant();
    keys[QStringLiteral("custom1")] = m.customValue1();
    keys[QStringLiteral("custom2")] = m.customValue2();
    keys[QStringLiteral("custom3")] = m.customValue3();
    return keys;
}

// The canonical text of tests/plist_oracle.py for unarchived values.
QString canon(const QVariant &v)
{
    if (!v.isValid())
        return QStringLiteral("N");
    if (v.metaType() == QMetaType::fromType<Date>())
        return realCanon(v.value<Date>().timeIntervalSinceReferenceDate());
    if (v.metaType() == QMetaType::fromType<MeasurementPtr>())
        return canonMap(readingKeys(*v.value<MeasurementPtr>()));
    switch (v.typeId()) {
    case QMetaType::Nullptr:
        return QStringLiteral("Z");
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("T") : QStringLiteral("F");
    case QMetaType::LongLong:
    case QMetaType::Int:
        return QLatin1Char('I') + QString::number(v.toLongLong());
    case QMetaType::ULongLong:
        return QLatin1Char('I') + QString::number(v.toULongLong());
    case QMetaType::Double:
        return realCanon(v.toDouble());
    case QMetaType::QByteArray:
        return QLatin1Char('B') + hexOf(v.toByteArray());
    case QMetaType::QString:
        return QLatin1Char('S') + hexOf(v.toString().toUtf8());
    case QMetaType::QStringList:
    case QMetaType::QVariantList: {
        QStringList items;
        for (const QVariant &item : v.toList())
            items << canon(item);
        return QStringLiteral("A[") + items.join(QLatin1Char(',')) + QLatin1Char(']');
    }
    case QMetaType::QVariantMap:
        return canonMap(v.toMap());
    default:
        if (v.metaType() == QMetaType::fromType<KeyedArchiver::MutableArray>())
            return canon(v.value<KeyedArchiver::MutableArray>().items);
        if (v.metaType() == QMetaType::fromType<KeyedArchiver::MutableDictionary>())
            return canon(v.value<KeyedArchiver::MutableDictionary>().entries);
        return QStringLiteral("?") + QLatin1String(v.typeName());
    }
}

struct Decoded
{
    QVariant value;
    QString error;
};

Decoded decode(const QByteArray &bytes)
{
    KeyedUnarchiver unarchiver;
    DocumentArchive::registerClasses(unarchiver);
    Decoded result;
    if (!unarchiver.open(bytes)) {
        result.error = unarchiver.errorString();
        return result;
    }
    result.value = unarchiver.decodeTopLevelObject();
    result.error = unarchiver.errorString();
    if (!result.error.isEmpty() && result.value.isValid())
        result.error += QStringLiteral(" (and a value was returned)");
    return result;
}

QByteArray archived(const QVariant &root)
{
    KeyedArchiver archiver;
    DocumentArchive::registerClasses(archiver);
    const QByteArray bytes = archiver.archivedData(root);
    if (archiver.hasError())
        qWarning() << archiver.errorString();
    return bytes;
}

// A class of the tests' own, archived by shared pointer.
struct Node
{
    QString name;
    std::shared_ptr<Node> next;
};
using NodePtr = std::shared_ptr<Node>;

} // namespace

// Declared before the first use below (a later declaration does not build in release mode).
Q_DECLARE_METATYPE(NodePtr)

namespace {

void registerNode(KeyedArchiver &archiver)
{
    archiver.registerClass<NodePtr>({QStringLiteral("Node"), QStringLiteral("NSObject")},
                                    [](KeyedArchiver &coder, const NodePtr &node) {
                                        coder.encodeObject(node->name, QStringLiteral("name"));
                                        coder.encodeObject(node->next, QStringLiteral("next"));
                                    });
}

void registerNode(KeyedUnarchiver &unarchiver)
{
    unarchiver.registerClass(QStringLiteral("Node"), [](KeyedUnarchiver &coder) {
        auto node = std::make_shared<Node>();
        node->name = coder.decodeObjectForKey(QStringLiteral("name")).toString();
        const QVariant next = coder.decodeObjectForKey(QStringLiteral("next"));
        if (next.metaType() == QMetaType::fromType<NodePtr>())
            node->next = next.value<NodePtr>();
        return QVariant::fromValue(node);
    });
}

QString python()
{
    QString path =
        QStandardPaths::findExecutable(QStringLiteral("python3"), {QStringLiteral("/usr/bin")});
    if (path.isEmpty())
        path = QStandardPaths::findExecutable(QStringLiteral("python3"));
    return path;
}

QByteArray runOracle(const QStringList &arguments)
{
    const TestSupport::ProcessRun run = TestSupport::run(
        python(),
        QStringList{QStringLiteral(TENSILO_SOURCE_DIR "/tests/plist_oracle.py")} + arguments);
    if (run.exitCode != 0)
        qWarning() << arguments << run.err;
    return run.exitCode == 0 ? run.out.trimmed() : QByteArray();
}

using TestSupport::readFile;

MeasurementPtr fullReading()
{
    auto m = Measurement::create(Date(700000000.25), 135, 85);
    m->setWeight(QVariant(70.5));
    m->setPulse(QVariant(qlonglong(64)));
    m->setComments(QStringLiteral("after a walk – ä"));
    m->setTags({QStringLiteral("morning"), QStringLiteral("sport")});
    m->setCustomValue1(QVariant(qlonglong(-3)));
    m->setCustomValue2(QVariant(2.0)); // fractional kind, whole value
    m->setCustomValue3(QVariant(qlonglong(1) << 40));
    return m;
}

void compareReadings(const Measurement &a, const Measurement &b)
{
    QCOMPARE(canon(readingKeys(a)), canon(readingKeys(b)));
    // The numeric kind survives: a whole number stays whole, a fractional one fractional.
    for (auto key : {Measurement::Key::Systolic, Measurement::Key::Weight,
                     Measurement::Key::CustomValue2, Measurement::Key::CustomValue3})
        QCOMPARE(a.valueForKey(key).typeId(), b.valueForKey(key).typeId());
}

} // namespace

class TestKeyedArchive : public QObject
{
    Q_OBJECT

private slots:

    void cleanup() { Date::setClock({}); }

    void foundationRoundTrip_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::newRow("nil") << QVariant();
        QTest::newRow("string") << QVariant(QStringLiteral("Grüße"));
        QTest::newRow("empty string") << QVariant(QStringLiteral(""));
        QTest::newRow("integer") << QVariant(qlonglong(-7));
        QTest::newRow("big unsigned") << QVariant(qulonglong(18446744073709551615ULL));
        QTest::newRow("double") << QVariant(70.25);
        QTest::newRow("whole double") << QVariant(2.0);
        QTest::newRow("bool") << QVariant(true);
        QTest::newRow("data") << QVariant(QByteArray("\x00\xff", 2));
        QTest::newRow("date") << QVariant::fromValue(Date(-12345.678));
        QTest::newRow("null") << QVariant::fromValue(nullptr);
        QTest::newRow("nested") << QVariant(
            QVariantList{QStringLiteral("a"), QVariant(), QVariantList{qlonglong(1), 2.5},
                         QVariantMap{{QStringLiteral("k"), QVariant::fromValue(Date(1))},
                                     {QStringLiteral("n"), QVariant()}}});
        QTest::newRow("string list")
            << QVariant(QStringList{QStringLiteral("x"), QStringLiteral("y")});
        QTest::newRow("mutable") << QVariant::fromValue(
            KeyedArchiver::MutableArray{{QVariant::fromValue(
                KeyedArchiver::MutableDictionary{{{QStringLiteral("a"), true}}})}});
    }
    void foundationRoundTrip()
    {
        QFETCH(QVariant, value);
        const QByteArray bytes = archived(value);
        QVERIFY(!bytes.isEmpty());
        const Decoded back = decode(bytes);
        QVERIFY2(back.error.isEmpty(), qPrintable(back.error));
        QCOMPARE(canon(back.value), canon(value));
        if (value.typeId() == QMetaType::QString)
            QVERIFY(!back.value.toString().isNull());
    }

    void envelopeLayout()
    {
        KeyedArchiver archiver;
        const QVariantMap root{
            {QStringLiteral("list"),
             QVariant::fromValue(KeyedArchiver::MutableArray{
                 {QStringLiteral("same"), QStringLiteral("same"), qlonglong(5)}})},
            {QStringLiteral("when"), QVariant::fromValue(Date(3.5))}};
        const V plist =
            archiver.archive(QVariant::fromValue(KeyedArchiver::MutableDictionary{root}));
        const V::Dictionary &envelope = plist.toDictionary();
        QCOMPARE(envelope.value(QStringLiteral("$archiver")).toString(),
                 QStringLiteral("NSKeyedArchiver"));
        QCOMPARE(envelope.value(QStringLiteral("$version")).toInteger(), qint64(100000));
        const V::Array &objects = envelope.value(QStringLiteral("$objects")).toArray();
        QCOMPARE(objects[0].toString(), QStringLiteral("$null"));
        const quint64 rootUid = envelope.value(QStringLiteral("$top"))
                                    .toDictionary()
                                    .value(QStringLiteral("root"))
                                    .toUid();
        const V::Dictionary &rootObject = objects[rootUid].toDictionary();
        auto classOf = [&](const V::Dictionary &object) {
            const V::Dictionary &record =
                objects[object.value(QStringLiteral("$class")).toUid()].toDictionary();
            QStringList chain;
            for (const V &name : record.value(QStringLiteral("$classes")).toArray())
                chain << name.toString();
            return record.value(QStringLiteral("$classname")).toString() + QLatin1Char(':') +
                   chain.join(QLatin1Char(','));
        };
        QCOMPARE(classOf(rootObject),
                 QStringLiteral("NSMutableDictionary:NSMutableDictionary,NSDictionary,NSObject"));
        QCOMPARE(rootObject.value(QStringLiteral("NS.keys")).toArray().size(),
                 rootObject.value(QStringLiteral("NS.objects")).toArray().size());
        // Strings and numbers stand bare; equal strings are stored once.
        int bareSame = 0, dates = 0;
        for (const V &object : objects) {
            if (object.toString() == u"same")
                ++bareSame;
            if (object.isDictionary() &&
                object.toDictionary().contains(QStringLiteral("NS.time"))) {
                ++dates;
                QCOMPARE(classOf(object.toDictionary()), QStringLiteral("NSDate:NSDate,NSObject"));
                QCOMPARE(object.toDictionary().value(QStringLiteral("NS.time")).toReal(), 3.5);
            }
        }
        QCOMPARE(bareSame, 1);
        QCOMPARE(dates, 1);
    }

    void sharedObjectsKeepTheirIdentity()
    {
        auto shared = std::make_shared<Node>(Node{QStringLiteral("shared"), nullptr});
        auto a = std::make_shared<Node>(Node{QStringLiteral("a"), shared});
        const QVariantList root{QVariant::fromValue(a), QVariant::fromValue(shared),
                                QVariant::fromValue(shared)};
        KeyedArchiver archiver;
        registerNode(archiver);
        const QByteArray bytes = archiver.archivedData(root);
        QVERIFY2(!archiver.hasError(), qPrintable(archiver.errorString()));
        QCOMPARE(bytes.count("shared"), 1);

        KeyedUnarchiver unarchiver;
        registerNode(unarchiver);
        QVERIFY(unarchiver.open(bytes));
        const QVariantList back = unarchiver.decodeTopLevelObject().toList();
        QCOMPARE(back.size(), 3);
        const NodePtr first = back[0].value<NodePtr>();
        QVERIFY(first && first->next);
        QCOMPARE(first->next.get(), back[1].value<NodePtr>().get());
        QCOMPARE(back[1].value<NodePtr>().get(), back[2].value<NodePtr>().get());
        QCOMPARE(first->next->name, QStringLiteral("shared"));
    }

    void temporariesAreNotConfused()
    {
        // Encode functions that archive objects and strings made on the spot: once freed, their
        // memory is reused for the next ones, which must still be archived as objects of their own.
        KeyedArchiver archiver;
        archiver.registerClass<NodePtr>(
            {QStringLiteral("Node"), QStringLiteral("NSObject")},
            [](KeyedArchiver &coder, const NodePtr &node) {
                coder.encodeObject(node->name, QStringLiteral("name"));
                if (node->name.startsWith(u'p'))
                    coder.encodeObject(std::make_shared<Node>(
                                           Node{QStringLiteral("child of ") + node->name, nullptr}),
                                       QStringLiteral("next"));
                coder.encodeObject(QString(node->name + QStringLiteral("-dynamic")),
                                   QString(QStringLiteral("key-") + node->name));
            });
        QVariantList roots;
        for (int i = 0; i < 200; ++i)
            roots << QVariant::fromValue(std::make_shared<Node>(
                Node{QStringLiteral("p%1").arg(i, 3, 10, QLatin1Char('0')), nullptr}));
        const QByteArray bytes = archiver.archivedData(roots);
        QVERIFY2(!archiver.hasError(), qPrintable(archiver.errorString()));

        KeyedUnarchiver unarchiver;
        QStringList problems;
        unarchiver.registerClass(QStringLiteral("Node"), [&](KeyedUnarchiver &coder) {
            auto node = std::make_shared<Node>();
            node->name = coder.decodeObjectForKey(QStringLiteral("name")).toString();
            const QString dynamic =
                coder.decodeObjectForKey(QStringLiteral("key-") + node->name).toString();
            if (dynamic != node->name + QStringLiteral("-dynamic"))
                problems << node->name + QStringLiteral(": ") + dynamic;
            const QVariant next = coder.decodeObjectForKey(QStringLiteral("next"));
            if (next.metaType() == QMetaType::fromType<NodePtr>())
                node->next = next.value<NodePtr>();
            return QVariant::fromValue(node);
        });
        QVERIFY(unarchiver.open(bytes));
        const QVariantList back = unarchiver.decodeTopLevelObject().toList();
        QCOMPARE(back.size(), 200);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
        for (const QVariant &v : back) {
            const NodePtr node = v.value<NodePtr>();
            QVERIFY(node && node->next);
            QCOMPARE(node->next->name, QStringLiteral("child of ") + node->name);
        }
    }

    void primitiveAccessors_data()
    {
        QTest::addColumn<V>("stored"); // null V: key absent
        QTest::addColumn<int>("asInt");
        QTest::addColumn<qint64>("asInt64");
        QTest::addColumn<bool>("asBool");
        QTest::addColumn<double>("asDouble");
        QTest::newRow("absent") << V() << 0 << qint64(0) << false << 0.0;
        QTest::newRow("integer") << V::integer(135) << 135 << qint64(135) << true << 135.0;
        QTest::newRow("zero") << V::integer(0) << 0 << qint64(0) << false << 0.0;
        QTest::newRow("beyond 32 bits") << V::integer(qint64(1) << 40) << 0 << (qint64(1) << 40)
                                        << true << double(qint64(1) << 40);
        QTest::newRow("negative") << V::integer(-5) << -5 << qint64(-5) << true << -5.0;
        QTest::newRow("true") << V::boolean(true) << 1 << qint64(1) << true << 1.0;
        QTest::newRow("real") << V::real(70.9) << 70 << qint64(70) << true << 70.9;
        QTest::newRow("real nan") << V::real(std::nan("")) << 0 << qint64(0) << true
                                  << std::nan("");
        QTest::newRow("real huge") << V::real(1e300) << 0 << qint64(0) << true << 1e300;
        QTest::newRow("big unsigned") << V::unsignedInteger(quint64(1) << 63) << 0 << qint64(0)
                                      << true << 9223372036854775808.0;
        QTest::newRow("string") << V::string(QStringLiteral("12")) << 0 << qint64(0) << false
                                << 0.0;
        QTest::newRow("uid") << V::uid(1) << 0 << qint64(0) << false << 0.0;
    }
    void primitiveAccessors()
    {
        QFETCH(V, stored);
        QFETCH(int, asInt);
        QFETCH(qint64, asInt64);
        QFETCH(bool, asBool);
        QFETCH(double, asDouble);
        ArchiveBuilder b;
        V::Dictionary d;
        d.insert(QStringLiteral("$class"), V::uid(b.classRecord(QStringLiteral("Probe"))));
        if (!stored.isNull())
            d.insert(QStringLiteral("v"), stored);
        const quint64 root = b.add(V::dictionary(d));
        KeyedUnarchiver u;
        int calls = 0;
        u.registerClass(QStringLiteral("Probe"), [&](KeyedUnarchiver &c) {
            ++calls;
            const QString key = QStringLiteral("v");
            [&] {
                QCOMPARE(c.decodeIntForKey(key), asInt);
                QCOMPARE(c.decodeInt64ForKey(key), asInt64);
                QCOMPARE(c.decodeBoolForKey(key), asBool);
                const double d = c.decodeDoubleForKey(key);
                QVERIFY(d == asDouble || (std::isnan(d) && std::isnan(asDouble)));
                QCOMPARE(c.containsValueForKey(key), !stored.isNull());
            }();
            return QVariant(true);
        });
        QVERIFY(u.open(b.archive(root)));
        QCOMPARE(u.decodeTopLevelObject(), QVariant(true));
        QCOMPARE(calls, 1);
    }

    void archiverFailures()
    {
        KeyedArchiver archiver;
        QVERIFY(archiver.archivedData(QVariant::fromValue(QPoint(1, 2))).isEmpty());
        QVERIFY(archiver.errorString().contains(QLatin1String("QPoint")));

        QVERIFY(archiver
                    .archivedData(QVariantList{
                        QVariant::fromValue(Date(std::numeric_limits<double>::infinity()))})
                    .isEmpty());
        QVERIFY(archiver.errorString().contains(QLatin1String("date")));
        // Nor one that a reader would refuse.
        QVERIFY(archiver.archivedData(QVariant::fromValue(Date(1e17))).isEmpty());
        QVERIFY(archiver.errorString().contains(QLatin1String("date")));
        // The ends of the range are dates like any other.
        for (double end : {Date::kMaxSecondsFrom1970, -Date::kMaxSecondsFrom1970}) {
            const Date date = Date::fromTimeIntervalSince1970(end);
            KeyedUnarchiver unarchiver;
            QVERIFY(unarchiver.open(archiver.archivedData(QVariant::fromValue(date))));
            QCOMPARE(unarchiver.decodeTopLevelObject().value<Date>(), date);
        }

        // A failure is not sticky: the next archive starts afresh.
        QVERIFY(!archiver.archivedData(QStringLiteral("fine")).isEmpty());
        QVERIFY(!archiver.hasError());

        QVariant deep = QVariantList{};
        for (int i = 0; i < KeyedArchiver::kMaxDepth + 1; ++i)
            deep = QVariantList{deep};
        QVERIFY(archiver.archivedData(deep).isEmpty());
        QVERIFY(archiver.errorString().contains(QLatin1String("nested")));

        // An encode function can refuse.
        archiver.registerClass<NodePtr>({QStringLiteral("Node"), QStringLiteral("NSObject")},
                                        [](KeyedArchiver &coder, const NodePtr &) {
                                            coder.failWithReason(QStringLiteral("disk on fire"));
                                        });
        QVERIFY(archiver.archivedData(QVariant::fromValue(std::make_shared<Node>())).isEmpty());
        QCOMPARE(archiver.errorString(), QStringLiteral("disk on fire"));
    }

    void hostile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");

        const QString notArchive = QStringLiteral("not a keyed archive");
        auto envelope = [](std::initializer_list<std::pair<QString, V>> entries) {
            V::Dictionary d;
            for (const auto &[k, v] : entries)
                d.insert(k, v);
            return BinaryPropertyList::write(V::dictionary(d));
        };
        const V archiverName = V::string(QStringLiteral("NSKeyedArchiver"));
        const V version = V::integer(100000);
        const V objects =
            V::array({V::string(QStringLiteral("$null")), V::string(QStringLiteral("x"))});
        const V top = V::dictionary([] {
            V::Dictionary d;
            d.insert(QStringLiteral("root"), V::uid(1));
            return d;
        }());
        QTest::newRow("not a plist")
            << QByteArray("garbage") << QStringLiteral("not a property list");
        QTest::newRow("root is an array") << BinaryPropertyList::write(V::array({})) << notArchive;
        QTest::newRow("no $objects") << envelope({{QStringLiteral("$archiver"), archiverName},
                                                  {QStringLiteral("$version"), version},
                                                  {QStringLiteral("$top"), top}})
                                     << notArchive;
        QTest::newRow("empty $objects") << envelope({{QStringLiteral("$archiver"), archiverName},
                                                     {QStringLiteral("$version"), version},
                                                     {QStringLiteral("$top"), top},
                                                     {QStringLiteral("$objects"), V::array({})}})
                                        << notArchive;
        QTest::newRow("other archiver")
            << envelope({{QStringLiteral("$archiver"), V::string(QStringLiteral("Other"))},
                         {QStringLiteral("$version"), version},
                         {QStringLiteral("$top"), top},
                         {QStringLiteral("$objects"), objects}})
            << notArchive;
        QTest::newRow("other version") << envelope({{QStringLiteral("$archiver"), archiverName},
                                                    {QStringLiteral("$version"), V::integer(2)},
                                                    {QStringLiteral("$top"), top},
                                                    {QStringLiteral("$objects"), objects}})
                                       << notArchive;
        QTest::newRow("root not a UID")
            << envelope({{QStringLiteral("$archiver"), archiverName},
                         {QStringLiteral("$version"), version},
                         {QStringLiteral("$top"), V::dictionary([] {
                              V::Dictionary d;
                              d.insert(QStringLiteral("root"), V::integer(1));
                              return d;
                          }())},
                         {QStringLiteral("$objects"), objects}})
            << notArchive;

        {
            ArchiveBuilder b;
            QTest::newRow("root UID out of range")
                << b.bytes(7) << QStringLiteral("does not exist");
            const quint64 text = b.add(V::string(QStringLiteral("fine")));
            const quint64 array = b.addObject(QStringLiteral("NSArray"),
                                              {{QStringLiteral("NS.objects"), b.uids({text, 99})}});
            QTest::newRow("element UID out of range")
                << b.bytes(array) << QStringLiteral("refers to object 99");
        }
        {
            ArchiveBuilder b;
            b.classRecord(QStringLiteral("NSArray"));
            const quint64 self = b.objects.size();
            b.addObject(QStringLiteral("NSArray"),
                        {{QStringLiteral("NS.objects"), b.uids({self})}});
            QTest::newRow("array holds itself")
                << b.bytes(self) << QStringLiteral("contains itself");
        }
        {
            ArchiveBuilder b;
            b.classRecord(QStringLiteral("NSArray"));
            const quint64 first = b.objects.size();
            b.addObject(QStringLiteral("NSArray"),
                        {{QStringLiteral("NS.objects"), b.uids({first + 1})}});
            b.addObject(QStringLiteral("NSArray"),
                        {{QStringLiteral("NS.objects"), b.uids({first})}});
            QTest::newRow("two arrays hold each other")
                << b.bytes(first) << QStringLiteral("contains itself");
        }
        {
            ArchiveBuilder b;
            const quint64 key = b.add(V::string(QStringLiteral("k")));
            const quint64 dict = b.addObject(QStringLiteral("NSDictionary"),
                                             {{QStringLiteral("NS.keys"), b.uids({key, key})},
                                              {QStringLiteral("NS.objects"), b.uids({key})}});
            QTest::newRow("keys and objects differ in number")
                << b.bytes(dict) << QStringLiteral("malformed");
            const quint64 number = b.add(V::integer(3));
            const quint64 dict2 = b.addObject(QStringLiteral("NSDictionary"),
                                              {{QStringLiteral("NS.keys"), b.uids({number})},
                                               {QStringLiteral("NS.objects"), b.uids({key})}});
            QTest::newRow("dictionary key not a string")
                << b.bytes(dict2) << QStringLiteral("malformed");
            const quint64 dict3 = b.addObject(
                QStringLiteral("NSDictionary"),
                {{QStringLiteral("NS.keys"), V::array({V::string(QStringLiteral("k"))})},
                 {QStringLiteral("NS.objects"), b.uids({key})}});
            QTest::newRow("dictionary key inline") << b.bytes(dict3) << QStringLiteral("malformed");
            const quint64 array = b.addObject(QStringLiteral("NSArray"),
                                              {{QStringLiteral("NS.objects"), V::integer(4)}});
            QTest::newRow("array without a list") << b.bytes(array) << QStringLiteral("malformed");
            const quint64 string = b.addObject(QStringLiteral("NSMutableString"),
                                               {{QStringLiteral("NS.string"), V::integer(4)}});
            QTest::newRow("string that is a number")
                << b.bytes(string) << QStringLiteral("malformed");
            const quint64 data = b.addObject(QStringLiteral("NSData"), {});
            QTest::newRow("data without bytes") << b.bytes(data) << QStringLiteral("malformed");
        }
        for (double t : {std::nan(""), std::numeric_limits<double>::infinity(),
                         -std::numeric_limits<double>::infinity()}) {
            ArchiveBuilder b;
            const quint64 date =
                b.addObject(QStringLiteral("NSDate"), {{QStringLiteral("NS.time"), V::real(t)}});
            QTest::newRow(qPrintable(QStringLiteral("date %1").arg(t)))
                << b.bytes(date) << QStringLiteral("malformed");
        }
        // Finite, but no calendar day: 1e17 seconds is some three billion years.
        for (double t : {1e17, -1e17, 8.7e12, std::numeric_limits<double>::max()}) {
            ArchiveBuilder b;
            const quint64 date =
                b.addObject(QStringLiteral("NSDate"), {{QStringLiteral("NS.time"), V::real(t)}});
            QTest::newRow(qPrintable(QStringLiteral("date %1").arg(t)))
                << b.bytes(date) << QStringLiteral("100,000,000 days");
        }
        {
            ArchiveBuilder b;
            const quint64 date =
                b.addObject(QStringLiteral("NSDate"),
                            {{QStringLiteral("NS.time"), V::string(QStringLiteral("now"))}});
            QTest::newRow("date as text") << b.bytes(date) << QStringLiteral("malformed");
        }
        {
            ArchiveBuilder b;
            const quint64 noClass = b.add(V::dictionary({}));
            QTest::newRow("object without class")
                << b.bytes(noClass) << QStringLiteral("class record");
            V::Dictionary d;
            d.insert(QStringLiteral("$class"), V::uid(noClass + 100));
            QTest::newRow("class UID out of range")
                << b.bytes(b.add(V::dictionary(d))) << QStringLiteral("class record");
            const quint64 text = b.add(V::string(QStringLiteral("NSArray")));
            d = {};
            d.insert(QStringLiteral("$class"), V::uid(text));
            QTest::newRow("class record is a string")
                << b.bytes(b.add(V::dictionary(d))) << QStringLiteral("class record");
            d = {};
            d.insert(QStringLiteral("$class"), V::integer(2));
            QTest::newRow("class not a UID")
                << b.bytes(b.add(V::dictionary(d))) << QStringLiteral("class record");
            const quint64 array = b.add(V::array({}));
            QTest::newRow("bare array in $objects")
                << b.bytes(array) << QStringLiteral("malformed");
            const quint64 uid = b.add(V::uid(1));
            QTest::newRow("bare UID in $objects") << b.bytes(uid) << QStringLiteral("malformed");
        }
        {
            ArchiveBuilder b;
            const quint64 evil = b.addObject(QStringLiteral("NSTask"), {});
            QTest::newRow("class not on the allow-list")
                << b.bytes(evil) << QStringLiteral("NSTask");
            const quint64 list = b.addObject(QStringLiteral("NSArray"),
                                             {{QStringLiteral("NS.objects"), b.uids({evil})}});
            QTest::newRow("unknown class inside an array")
                << b.bytes(list) << QStringLiteral("NSTask");
        }
        {
            // A class record used as an object, and an object used as a class record.
            ArchiveBuilder b;
            const quint64 string = b.add(V::string(QStringLiteral("x")));
            const quint64 array = b.addObject(QStringLiteral("NSArray"),
                                              {{QStringLiteral("NS.objects"), b.uids({string})}});
            QTest::newRow("class record used as an object")
                << b.bytes(b.classes[QStringLiteral("NSArray")]) << QStringLiteral("class record");
            V::Dictionary d;
            d.insert(QStringLiteral("$class"), V::uid(array));
            QTest::newRow("object used as a class record")
                << b.bytes(b.add(V::dictionary(d))) << QStringLiteral("class record");
        }
    }
    void hostile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const Decoded result = decode(bytes);
        QVERIFY2(!result.error.isEmpty(), "hostile archive accepted");
        QVERIFY2(result.error.contains(message), qPrintable(result.error));
        QVERIFY(!result.value.isValid());
    }

    void repeatedSharedWorkIsRefused()
    {
        // Thousands of UIDs share one array object of thousands of elements: a small file that
        // would cost millions of steps (and as many list entries) to decode.
        const int n = 4000;
        ArchiveBuilder b;
        const quint64 firstString = b.objects.size();
        const V x = V::string(QStringLiteral("x"));
        for (int i = 0; i < n; ++i)
            b.add(x);
        V::Array strings;
        for (int i = 0; i < n; ++i)
            strings.push_back(V::uid(firstString + quint64(i)));
        const V inner = b.object(QStringLiteral("NSArray"),
                                 {{QStringLiteral("NS.objects"), V::array(strings)}});
        const quint64 firstInner = b.objects.size();
        V::Array inners;
        for (int i = 0; i < n; ++i)
            inners.push_back(V::uid(b.add(inner)));
        const quint64 outer = b.addObject(QStringLiteral("NSArray"),
                                          {{QStringLiteral("NS.objects"), V::array(inners)}});
        Q_UNUSED(firstInner);
        const QByteArray bytes = b.bytes(outer);
        QVERIFY(bytes.size() < 200000);
        // The decoder counts its work and stops at the bound, whatever the machine's speed.
        const Decoded result = decode(bytes);
        QVERIFY2(result.error.contains(QLatin1String("too many times")), qPrintable(result.error));
    }

    void expandedSizeCountsEveryUse()
    {
        // Ten uses of one list, three levels: 1 + 10 * (1 + 10 * (1 + 10)) values, found by looking
        // at each list once.
        QVariant small = QStringLiteral("leaf");
        for (int i = 0; i < 3; ++i)
            small = QVariantList(10, small);
        QCOMPARE(ExpandedSize().of(small), quint64(1111));
        // A dictionary counts a key and its value per entry.
        const QVariantMap map{{QStringLiteral("a"), small}, {QStringLiteral("b"), small}};
        QCOMPARE(ExpandedSize().of(map), quint64(1 + 2 * (1 + 1111)));
        QCOMPARE(ExpandedSize().of(QVariantList{map, map}), quint64(1 + 2 * 2225));
        // Thirty levels: 10^30, far beyond what a count holds; the count stops at the limit.
        QVariant huge = small;
        for (int i = 3; i < 30; ++i)
            huge = QVariantList(10, huge);
        QCOMPARE(ExpandedSize().of(huge), ExpandedSize::kLimit);
        V plain = V::string(QStringLiteral("leaf"));
        for (int i = 0; i < 30; ++i)
            plain = V::array(V::Array(10, plain));
        QCOMPARE(ExpandedSize().of(plain), ExpandedSize::kLimit);
        ArchivedObject kept;
        kept.classes = QStringList{QStringLiteral("NSPrinter"), QStringLiteral("NSObject")};
        kept.fields.append({QStringLiteral("k"), ArchivedObject::Field::Kind::Objects, QVariant(),
                            QVariantList{small, small}, V()});
        QCOMPARE(ExpandedSize().of(QVariant::fromValue(kept)), quint64(1 + 2 * 1111));
        // A shorter list on the same data counts its own length.
        const QVariantList list(100, QVariant(1));
        const QVariantList head = list.first(10);
        ExpandedSize counter;
        QCOMPARE(counter.of(list), quint64(101));
        QCOMPARE(counter.of(head), quint64(11));
        // Values of other kinds count 1, unless the function given counts them.
        QCOMPARE(ExpandedSize().of(QVariant::fromValue(Date(5))), quint64(1));
        ExpandedSize dates([](const QVariant &v, ExpandedSize &) {
            return v.metaType() == QMetaType::fromType<Date>() ? quint64(7) : quint64(0);
        });
        QCOMPARE(dates.of(QVariantList{QVariant::fromValue(Date(5)), 3}), quint64(1 + 7 + 1));
    }

    void nestingLimit()
    {
        auto nested = [](int depth) {
            ArchiveBuilder b;
            quint64 inner = b.addObject(QStringLiteral("NSArray"),
                                        {{QStringLiteral("NS.objects"), V::array({})}});
            for (int i = 1; i < depth; ++i)
                inner = b.addObject(QStringLiteral("NSArray"),
                                    {{QStringLiteral("NS.objects"), b.uids({inner})}});
            return b.bytes(inner);
        };
        QVERIFY(decode(nested(KeyedUnarchiver::kMaxDepth)).error.isEmpty());
        QVERIFY(
            decode(nested(KeyedUnarchiver::kMaxDepth + 1)).error.contains(QLatin1String("nested")));
        QVERIFY(decode(nested(20000)).error.contains(QLatin1String("nested")));
    }

    void unknownClassesInsideTolerance()
    {
        ArchiveBuilder b;
        const quint64 alien = b.addObject(QStringLiteral("NSFunctionExpression"), {});
        const quint64 list = b.addObject(QStringLiteral("NSArray"),
                                         {{QStringLiteral("NS.objects"), b.uids({alien})}});
        const quint64 holder =
            b.addObject(QStringLiteral("Holder"), {{QStringLiteral("tolerant"), V::uid(list)},
                                                   {QStringLiteral("strict"), V::uid(alien)}});
        KeyedUnarchiver u;
        QVariant tolerant, again, strict;
        bool errorBeforeStrict = true;
        u.registerClass(QStringLiteral("Holder"), [&](KeyedUnarchiver &c) {
            {
                KeyedUnarchiver::Tolerance tolerance(c);
                tolerant = c.decodeObjectForKey(QStringLiteral("tolerant"));
                again = c.decodeObjectForKey(QStringLiteral("tolerant"));
            }
            errorBeforeStrict = c.hasError();
            strict = c.decodeObjectForKey(QStringLiteral("strict"));
            return QVariant(true);
        });
        QVERIFY(u.open(b.archive(holder)));
        u.decodeTopLevelObject();
        QVERIFY(KeyedUnarchiver::isUnusable(tolerant));
        QVERIFY(KeyedUnarchiver::isUnusable(again)); // asking again gives the same answer
        QVERIFY(!errorBeforeStrict);
        QVERIFY(KeyedUnarchiver::unusableReason(tolerant).contains(
            QLatin1String("NSFunctionExpression")));
        // The same object used again outside the tolerant part fails the archive.
        QVERIFY(!strict.isValid());
        QVERIFY(u.errorString().contains(QLatin1String("NSFunctionExpression")));
    }

    void readingRoundTrip()
    {
        const MeasurementPtr original = fullReading();
        const Decoded back = decode(archived(QVariantList{QVariant::fromValue(original)}));
        QVERIFY2(back.error.isEmpty(), qPrintable(back.error));
        const MeasurementPtr reading = back.value.toList().value(0).value<MeasurementPtr>();
        QVERIFY(reading);
        compareReadings(*reading, *original);
        QCOMPARE(reading->theWholeDate(), original->theWholeDate()); // to the fraction
    }

    void readingWithoutOptionalValues()
    {
        auto original = Measurement::create(Date(1000), 120, 80);
        const Decoded back = decode(archived(QVariant::fromValue(original)));
        const MeasurementPtr reading = back.value.value<MeasurementPtr>();
        QVERIFY2(reading, qPrintable(back.error));
        compareReadings(*reading, *original);
        QVERIFY(!reading->Weight().isValid());
        QVERIFY(!reading->Pulse().isValid());
        QVERIFY(reading->Comments().isNull());
        QVERIFY(!reading->hasTags());
        QVERIFY(!reading->customValue1().isValid());

        // An empty comment and an empty tag list are kept as such, not as "none".
        original->setComments(QStringLiteral(""));
        original->setTags({});
        const MeasurementPtr again =
            decode(archived(QVariant::fromValue(original))).value.value<MeasurementPtr>();
        QVERIFY(again);
        QVERIFY(!again->Comments().isNull());
        QVERIFY(again->hasTags());
    }

    void olderFormReadings_data()
    {
        QTest::addColumn<QVariantMap>("stored"); // inline values, or "obj:" prefixed objects
        QTest::addColumn<QString>("expected");   // systolic/diastolic/weight/pulse
        using M = QVariantMap;
        QTest::newRow("older form")
            << M{{QStringLiteral("systolic"), 135},    {QStringLiteral("diastolic"), 85},
                 {QStringLiteral("has-weight"), true}, {QStringLiteral("weight"), 70},
                 {QStringLiteral("has-pulse"), false}, {QStringLiteral("pulse"), 60}}
            << QStringLiteral("135/85/70/-");
        QTest::newRow("zeros give the defaults")
            << M{{QStringLiteral("systolic"), 0}} << QStringLiteral("120/80/-/-");
        QTest::newRow("nothing at all") << M{} << QStringLiteral("120/80/-/-");
        QTest::newRow("object systolic, older diastolic")
            << M{{QStringLiteral("obj:systolic-obj"), 140}, {QStringLiteral("diastolic"), 90}}
            << QStringLiteral("140/90/-/-");
        QTest::newRow("object systolic only")
            << M{{QStringLiteral("obj:systolic-obj"), 140}} << QStringLiteral("140/80/-/-");
        QTest::newRow("object keys win") << M{{QStringLiteral("obj:weight-obj"), 71.5},
                                              {QStringLiteral("has-weight"), true},
                                              {QStringLiteral("weight"), 60},
                                              {QStringLiteral("has-pulse"), 1},
                                              {QStringLiteral("pulse"), 66}}
                                         << QStringLiteral("120/80/71.5/66");
        QTest::newRow("systolic beyond 32 bits counts as absent")
            << M{{QStringLiteral("systolic"), qlonglong(1) << 33}} << QStringLiteral("120/80/-/-");
        QTest::newRow("booleans as integers and reals")
            << M{{QStringLiteral("has-weight"), 2}, {QStringLiteral("weight"), 80.7}}
            << QStringLiteral("120/80/80/-");
    }
    void olderFormReadings()
    {
        QFETCH(QVariantMap, stored);
        QFETCH(QString, expected);
        ArchiveBuilder b;
        V::Dictionary d;
        d.insert(QStringLiteral("$class"), V::uid(b.classRecord(QStringLiteral("Measurement"))));
        d.insert(QStringLiteral("date"),
                 V::uid(b.addObject(QStringLiteral("NSDate"),
                                    {{QStringLiteral("NS.time"), V::real(5)}})));
        for (auto it = stored.constBegin(); it != stored.constEnd(); ++it) {
            const QVariant &v = it.value();
            V value = v.typeId() == QMetaType::Bool     ? V::boolean(v.toBool())
                      : v.typeId() == QMetaType::Double ? V::real(v.toDouble())
                                                        : V::integer(v.toLongLong());
            if (it.key().startsWith(QLatin1String("obj:")))
                d.insert(it.key().mid(4), V::uid(b.add(value)));
            else
                d.insert(it.key(), value);
        }
        const Decoded back = decode(b.bytes(b.add(V::dictionary(d))));
        const MeasurementPtr m = back.value.value<MeasurementPtr>();
        QVERIFY2(m, qPrintable(back.error));
        auto text = [](const QVariant &v) {
            return v.isValid() ? v.toString() : QStringLiteral("-");
        };
        QCOMPARE(QStringLiteral("%1/%2/%3/%4")
                     .arg(text(m->Systolic()), text(m->Diastolic()), text(m->Weight()),
                          text(m->Pulse())),
                 expected);
        QCOMPARE(m->Systolic().typeId(), QMetaType::fromType<qlonglong>().id());
    }

    void readingValuesOfTheWrongKind()
    {
        Date::setClock([] { return Date(123456); });
        ArchiveBuilder b;
        const quint64 text = b.add(V::string(QStringLiteral("oops")));
        const quint64 number = b.add(V::integer(7));
        const quint64 dict = b.addObject(QStringLiteral("NSDictionary"),
                                         {{QStringLiteral("NS.keys"), V::array({})},
                                          {QStringLiteral("NS.objects"), V::array({})}});
        const quint64 mixedTags = b.addObject(
            QStringLiteral("NSArray"), {{QStringLiteral("NS.objects"), b.uids({text, number})}});
        const quint64 null = b.addObject(QStringLiteral("NSNull"), {});
        const quint64 reading = b.addObject(
            QStringLiteral("Measurement"),
            {{QStringLiteral("date"), V::uid(text)},
             {QStringLiteral("systolic-obj"), V::uid(text)},
             {QStringLiteral("diastolic-obj"), V::uid(dict)},
             {QStringLiteral("diastolic"), V::integer(77)},
             {QStringLiteral("weight-obj"), V::integer(70)}, // inline, not an object reference
             {QStringLiteral("pulse-obj"), V::uid(null)},
             {QStringLiteral("comments"), V::uid(number)},
             {QStringLiteral("tags"), V::uid(mixedTags)},
             {QStringLiteral("custom1"), V::uid(dict)},
             {QStringLiteral("custom2"), V::uid(number)}});
        const Decoded back = decode(b.bytes(reading));
        const MeasurementPtr m = back.value.value<MeasurementPtr>();
        QVERIFY2(m, qPrintable(back.error));
        QCOMPARE(m->theWholeDate(), Date(123456));
        QCOMPARE(m->Systolic(), QVariant(qlonglong(120)));
        QCOMPARE(m->Diastolic(), QVariant(qlonglong(77)));
        QVERIFY(!m->Weight().isValid());
        QVERIFY(!m->Pulse().isValid());
        QVERIFY(m->Comments().isNull());
        QVERIFY(!m->hasTags());
        QVERIFY(!m->customValue1().isValid());
        QCOMPARE(m->customValue2(), QVariant(qlonglong(7)));
    }

    void readingsSharingTheirTags()
    {
        // Two readings share one tags array, which the root also holds as a plain array; the
        // readings keep the tags as strings, the root still sees the array.
        Date::setClock([] { return Date(123456); });
        ArchiveBuilder b;
        const quint64 sport = b.add(V::string(QStringLiteral("sport")));
        const quint64 travel = b.add(V::string(QStringLiteral("travel")));
        const quint64 tags = b.addObject(QStringLiteral("NSArray"),
                                         {{QStringLiteral("NS.objects"), b.uids({sport, travel})}});
        const quint64 first =
            b.addObject(QStringLiteral("Measurement"), {{QStringLiteral("tags"), V::uid(tags)}});
        const quint64 second =
            b.addObject(QStringLiteral("Measurement"), {{QStringLiteral("tags"), V::uid(tags)}});
        const quint64 root =
            b.addObject(QStringLiteral("NSArray"),
                        {{QStringLiteral("NS.objects"), b.uids({first, second, tags})}});
        const Decoded back = decode(b.bytes(root));
        const QVariantList list = back.value.toList();
        QVERIFY2(list.size() == 3, qPrintable(back.error));
        const QStringList expected = {QStringLiteral("sport"), QStringLiteral("travel")};
        QCOMPARE(list[0].value<MeasurementPtr>()->Tags(), expected);
        QCOMPARE(list[1].value<MeasurementPtr>()->Tags(), expected);
        QCOMPARE(list[2], QVariant(QVariantList{expected[0], expected[1]}));
    }

    void pythonReadsOurArchives()
    {
        if (python().isEmpty())
            QSKIP("python3 is not available");
        const QVariantMap root{
            {QStringLiteral("measurements"),
             QVariant::fromValue(KeyedArchiver::MutableArray{
                 {QVariant::fromValue(fullReading()),
                  QVariant::fromValue(Measurement::create(Date(5), 120, 80))}})},
            {QStringLiteral("names"), QStringList{QStringLiteral("a"), QStringLiteral("ä")}},
            {QStringLiteral("numbers"),
             QVariantList{qlonglong(1), -2.5, true, qulonglong(18446744073709551615ULL)}},
            {QStringLiteral("blob"), QByteArray("\x00\x01", 2)},
            {QStringLiteral("null"), QVariant::fromValue(nullptr)},
            {QStringLiteral("nil"), QVariant()},
            {QStringLiteral("when"), QVariant::fromValue(Date(-1.5))}};
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ours.archive"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(archived(QVariant::fromValue(KeyedArchiver::MutableDictionary{root})));
        f.close();
        QCOMPARE(QString::fromUtf8(runOracle({QStringLiteral("unarchive"), path})), canon(root));
    }

    void weReadPythonArchives()
    {
        if (python().isEmpty())
            QSKIP("python3 is not available");
        QTemporaryDir dir;
        for (const QString &format : {QStringLiteral("binary"), QStringLiteral("xml")}) {
            const QString path = dir.filePath(format);
            runOracle({QStringLiteral("archive"), format, path});
            const Decoded ours = decode(readFile(path));
            QVERIFY2(ours.error.isEmpty(), qPrintable(ours.error));
            // Python shows readings by their stored keys; compare everything else, then readings.
            QVariantMap map = ours.value.toMap();
            const QVariantList readings = map.take(QStringLiteral("measurements")).toList();
            QString expected = QString::fromUtf8(runOracle({QStringLiteral("unarchive"), path}));
            QVERIFY(expected.contains(canon(map.value(QStringLiteral("names")))));
            QVERIFY(expected.contains(canon(map.value(QStringLiteral("numbers")))));
            QVERIFY(expected.contains(QStringLiteral("6e756c6c:Z")));
            QCOMPARE(readings.size(), 2);
            const MeasurementPtr current = readings[0].value<MeasurementPtr>();
            const MeasurementPtr old = readings[1].value<MeasurementPtr>();
            QVERIFY(current && old);
            QCOMPARE(current->theWholeDate(), Date(700000000));
            QCOMPARE(current->Systolic(), QVariant(qlonglong(135)));
            QCOMPARE(current->Weight(), QVariant(70.5));
            QVERIFY(!current->Pulse().isValid());
            QCOMPARE(current->Tags(),
                     QStringList({QStringLiteral("morning"), QStringLiteral("sport")}));
            QCOMPARE(current->customValue2(), QVariant(qlonglong(3)));
            QCOMPARE(old->Systolic(), QVariant(qlonglong(128)));
            QCOMPARE(old->Diastolic(), QVariant(qlonglong(82)));
            QCOMPARE(old->Weight(), QVariant(qlonglong(71)));
            QVERIFY(!old->Pulse().isValid());
        }
    }

    void storedArchives()
    {
        // Archives written once by the Python oracle and kept, so this runs without Python.
        for (const QString &name :
             {QStringLiteral("python-archive.bplist"), QStringLiteral("python-archive.xml")}) {
            const Decoded ours =
                decode(readFile(QStringLiteral(TENSILO_SOURCE_DIR "/tests/data/plist/") + name));
            QVERIFY2(ours.error.isEmpty(), qPrintable(name + ours.error));
            const QVariantList readings =
                ours.value.toMap().value(QStringLiteral("measurements")).toList();
            QCOMPARE(readings.size(), 2);
            QCOMPARE(readings[1].value<MeasurementPtr>()->Systolic(), QVariant(qlonglong(128)));
        }
    }
};

TENSILO_TEST_MAIN(TestKeyedArchive)
#include "tst_keyedarchive.moc"
