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
    return u"R%1"_s.arg(bits, 16, 16, QLatin1Char('0'));
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
    keys[u"$class"_s] = u"Measurement"_s;
    keys[u"date"_s] = m.theWholeDate().timeIntervalSinceReferenceDate();
    keys[u"systolic-obj"_s] = m.Systolic();
    keys[u"diastolic-obj"_s] = m.Diastolic();
    keys[u"weight-obj"_s] = m.Weight();
    keys[u"pulse-obj"_s] = m.Pulse();
    keys[u"comments"_s] = m.Comments().isNull() ? QVariant() : m.Comments();
    keys[u"tags"_s] = m.hasTags() ? QVariant(m.Tags()) : QVariant();
    keys[u"custom1"_s] = m.customValue1();
    keys[u"custom2"_s] = m.customValue2();
    keys[u"custom3"_s] = m.customValue3();
    return keys;
}

// The canonical text of tests/plist_oracle.py for unarchived values.
QString canon(const QVariant &v)
{
    if (!v.isValid())
        return u"N"_s;
    if (v.metaType() == QMetaType::fromType<Date>())
        return realCanon(v.value<Date>().timeIntervalSinceReferenceDate());
    if (v.metaType() == QMetaType::fromType<MeasurementPtr>())
        return canonMap(readingKeys(*v.value<MeasurementPtr>()));
    switch (v.typeId()) {
    case QMetaType::Nullptr:
        return u"Z"_s;
    case QMetaType::Bool:
        return v.toBool() ? u"T"_s : u"F"_s;
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
        return u"A["_s + items.join(QLatin1Char(',')) + QLatin1Char(']');
    }
    case QMetaType::QVariantMap:
        return canonMap(v.toMap());
    default:
        if (v.metaType() == QMetaType::fromType<KeyedArchiver::MutableArray>())
            return canon(v.value<KeyedArchiver::MutableArray>().items);
        if (v.metaType() == QMetaType::fromType<KeyedArchiver::MutableDictionary>())
            return canon(v.value<KeyedArchiver::MutableDictionary>().entries);
        return u"?"_s + QLatin1String(v.typeName());
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
        result.error += u" (and a value was returned)"_s;
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
    archiver.registerClass<NodePtr>({u"Node"_s, u"NSObject"_s},
                                    [](KeyedArchiver &coder, const NodePtr &node) {
                                        coder.encodeObject(node->name, u"name"_s);
                                        coder.encodeObject(node->next, u"next"_s);
                                    });
}

void registerNode(KeyedUnarchiver &unarchiver)
{
    unarchiver.registerClass(u"Node"_s, [](KeyedUnarchiver &coder) {
        auto node = std::make_shared<Node>();
        node->name = coder.decodeObjectForKey(u"name"_s).toString();
        const QVariant next = coder.decodeObjectForKey(u"next"_s);
        if (next.metaType() == QMetaType::fromType<NodePtr>())
            node->next = next.value<NodePtr>();
        return QVariant::fromValue(node);
    });
}

QString python()
{
    QString path = QStandardPaths::findExecutable(u"python3"_s, {u"/usr/bin"_s});
    if (path.isEmpty())
        path = QStandardPaths::findExecutable(u"python3"_s);
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
    m->setComments(u"after a walk – ä"_s);
    m->setTags({u"morning"_s, u"sport"_s});
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

// An object whose "$class" is the value.
quint64 classed(ArchiveBuilder &b, const V &value)
{
    return b.add(V::dictionary(ArchiveBuilder::entries({{u"$class"_s, value}})));
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
        QTest::newRow("string") << QVariant(u"Grüße"_s);
        QTest::newRow("empty string") << QVariant(u""_s);
        QTest::newRow("integer") << QVariant(qlonglong(-7));
        QTest::newRow("big unsigned") << QVariant(qulonglong(18446744073709551615ULL));
        QTest::newRow("double") << QVariant(70.25);
        QTest::newRow("whole double") << QVariant(2.0);
        QTest::newRow("bool") << QVariant(true);
        QTest::newRow("data") << QVariant(QByteArray("\x00\xff", 2));
        QTest::newRow("date") << QVariant::fromValue(Date(-12345.678));
        QTest::newRow("null") << QVariant::fromValue(nullptr);
        QTest::newRow("nested") << QVariant(QVariantList{
            u"a"_s, QVariant(), QVariantList{qlonglong(1), 2.5},
            QVariantMap{{u"k"_s, QVariant::fromValue(Date(1))}, {u"n"_s, QVariant()}}});
        QTest::newRow("string list") << QVariant(QStringList{u"x"_s, u"y"_s});
        QTest::newRow("mutable") << QVariant::fromValue(KeyedArchiver::MutableArray{
            {QVariant::fromValue(KeyedArchiver::MutableDictionary{{{u"a"_s, true}}})}});
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
        const QVariantMap root{{u"list"_s, QVariant::fromValue(KeyedArchiver::MutableArray{
                                               {u"same"_s, u"same"_s, qlonglong(5)}})},
                               {u"when"_s, QVariant::fromValue(Date(3.5))}};
        const V plist =
            archiver.archive(QVariant::fromValue(KeyedArchiver::MutableDictionary{root}));
        const V::Dictionary &envelope = plist.toDictionary();
        QCOMPARE(envelope.value(u"$archiver"_s).toString(), u"NSKeyedArchiver"_s);
        QCOMPARE(envelope.value(u"$version"_s).toInteger(), qint64(100000));
        const V::Array &objects = envelope.value(u"$objects"_s).toArray();
        QCOMPARE(objects[0].toString(), u"$null"_s);
        const quint64 rootUid = envelope.value(u"$top"_s).toDictionary().value(u"root"_s).toUid();
        const V::Dictionary &rootObject = objects[rootUid].toDictionary();
        auto classOf = [&](const V::Dictionary &object) {
            const V::Dictionary &record = objects[object.value(u"$class"_s).toUid()].toDictionary();
            QStringList chain;
            for (const V &name : record.value(u"$classes"_s).toArray())
                chain << name.toString();
            return record.value(u"$classname"_s).toString() + QLatin1Char(':') +
                   chain.join(QLatin1Char(','));
        };
        QCOMPARE(classOf(rootObject),
                 u"NSMutableDictionary:NSMutableDictionary,NSDictionary,NSObject"_s);
        QCOMPARE(rootObject.value(u"NS.keys"_s).toArray().size(),
                 rootObject.value(u"NS.objects"_s).toArray().size());
        // Strings and numbers stand bare; equal strings are stored once.
        int bareSame = 0, dates = 0;
        for (const V &object : objects) {
            if (object.toString() == u"same")
                ++bareSame;
            if (object.isDictionary() && object.toDictionary().contains(u"NS.time"_s)) {
                ++dates;
                QCOMPARE(classOf(object.toDictionary()), u"NSDate:NSDate,NSObject"_s);
                QCOMPARE(object.toDictionary().value(u"NS.time"_s).toReal(), 3.5);
            }
        }
        QCOMPARE(bareSame, 1);
        QCOMPARE(dates, 1);
    }

    void sharedObjectsKeepTheirIdentity()
    {
        auto shared = std::make_shared<Node>(Node{u"shared"_s, nullptr});
        auto a = std::make_shared<Node>(Node{u"a"_s, shared});
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
        QCOMPARE(first->next->name, u"shared"_s);
    }

    void temporariesAreNotConfused()
    {
        // Encode functions that archive objects and strings made on the spot: once freed, their
        // memory is reused for the next ones, which must still be archived as objects of their own.
        KeyedArchiver archiver;
        archiver.registerClass<NodePtr>({u"Node"_s, u"NSObject"_s}, [](KeyedArchiver &coder,
                                                                       const NodePtr &node) {
            coder.encodeObject(node->name, u"name"_s);
            if (node->name.startsWith(u'p'))
                coder.encodeObject(
                    std::make_shared<Node>(Node{u"child of "_s + node->name, nullptr}), u"next"_s);
            coder.encodeObject(QString(node->name + u"-dynamic"_s),
                               QString(u"key-"_s + node->name));
        });
        QVariantList roots;
        for (int i = 0; i < 200; ++i)
            roots << QVariant::fromValue(
                std::make_shared<Node>(Node{u"p%1"_s.arg(i, 3, 10, QLatin1Char('0')), nullptr}));
        const QByteArray bytes = archiver.archivedData(roots);
        QVERIFY2(!archiver.hasError(), qPrintable(archiver.errorString()));

        KeyedUnarchiver unarchiver;
        QStringList problems;
        unarchiver.registerClass(u"Node"_s, [&](KeyedUnarchiver &coder) {
            auto node = std::make_shared<Node>();
            node->name = coder.decodeObjectForKey(u"name"_s).toString();
            const QString dynamic = coder.decodeObjectForKey(u"key-"_s + node->name).toString();
            if (dynamic != node->name + u"-dynamic"_s)
                problems << node->name + u": "_s + dynamic;
            const QVariant next = coder.decodeObjectForKey(u"next"_s);
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
            QCOMPARE(node->next->name, u"child of "_s + node->name);
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
        QTest::newRow("string") << V::string(u"12"_s) << 0 << qint64(0) << false << 0.0;
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
        const quint64 root = stored.isNull() ? b.addObject(u"Probe"_s, {})
                                             : b.addObject(u"Probe"_s, {{u"v"_s, stored}});
        KeyedUnarchiver u;
        int calls = 0;
        u.registerClass(u"Probe"_s, [&](KeyedUnarchiver &c) {
            ++calls;
            const QString key = u"v"_s;
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
        QVERIFY(!archiver.archivedData(u"fine"_s).isEmpty());
        QVERIFY(!archiver.hasError());

        QVariant deep = QVariantList{};
        for (int i = 0; i < KeyedArchiver::kMaxDepth + 1; ++i)
            deep = QVariantList{deep};
        QVERIFY(archiver.archivedData(deep).isEmpty());
        QVERIFY(archiver.errorString().contains(QLatin1String("nested")));

        // An encode function can refuse.
        archiver.registerClass<NodePtr>(
            {u"Node"_s, u"NSObject"_s},
            [](KeyedArchiver &coder, const NodePtr &) { coder.failWithReason(u"disk on fire"_s); });
        QVERIFY(archiver.archivedData(QVariant::fromValue(std::make_shared<Node>())).isEmpty());
        QCOMPARE(archiver.errorString(), u"disk on fire"_s);
    }

    void hostile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");

        const QString notArchive = u"not a keyed archive"_s;
        // The archive of one string with an entry of its envelope replaced, or left out when
        // `value` is null.
        auto envelope = [](const QString &key, const V &value) {
            ArchiveBuilder b;
            const V valid = b.archive(b.string(u"x"_s));
            V::Dictionary d;
            for (qsizetype i = 0; i < valid.toDictionary().size(); ++i) {
                const QString &k = valid.toDictionary().keyAt(i);
                if (k != key || !value.isNull())
                    d.insert(k, k == key ? value : valid.toDictionary().valueAt(i));
            }
            return BinaryPropertyList::write(V::dictionary(d));
        };
        QTest::newRow("not a plist") << QByteArray("garbage") << u"not a property list"_s;
        QTest::newRow("root is an array") << BinaryPropertyList::write(V::array({})) << notArchive;
        QTest::newRow("no $objects") << envelope(u"$objects"_s, V()) << notArchive;
        QTest::newRow("empty $objects") << envelope(u"$objects"_s, V::array({})) << notArchive;
        QTest::newRow("other archiver")
            << envelope(u"$archiver"_s, V::string(u"Other"_s)) << notArchive;
        QTest::newRow("other version") << envelope(u"$version"_s, V::integer(2)) << notArchive;
        QTest::newRow("root not a UID")
            << envelope(u"$top"_s,
                        V::dictionary(ArchiveBuilder::entries({{u"root"_s, V::integer(1)}})))
            << notArchive;
        {
            ArchiveBuilder b;
            QTest::newRow("root UID out of range") << b.bytes(7) << u"does not exist"_s;
            const quint64 text = b.add(V::string(u"fine"_s));
            const quint64 array = b.array({text, 99});
            QTest::newRow("element UID out of range") << b.bytes(array) << u"refers to object 99"_s;
        }
        {
            ArchiveBuilder b;
            b.classRecord(u"NSArray"_s);
            const quint64 self = b.objects.size();
            b.array({self});
            QTest::newRow("array holds itself") << b.bytes(self) << u"contains itself"_s;
        }
        {
            ArchiveBuilder b;
            b.classRecord(u"NSArray"_s);
            const quint64 first = b.objects.size();
            b.array({first + 1});
            b.array({first});
            QTest::newRow("two arrays hold each other") << b.bytes(first) << u"contains itself"_s;
        }
        {
            ArchiveBuilder b;
            const quint64 key = b.add(V::string(u"k"_s));
            const quint64 dict = b.addObject(u"NSDictionary"_s, {{u"NS.keys"_s, b.uids({key, key})},
                                                                 {u"NS.objects"_s, b.uids({key})}});
            QTest::newRow("keys and objects differ in number") << b.bytes(dict) << u"malformed"_s;
            const quint64 number = b.add(V::integer(3));
            const quint64 dict2 =
                b.addObject(u"NSDictionary"_s,
                            {{u"NS.keys"_s, b.uids({number})}, {u"NS.objects"_s, b.uids({key})}});
            QTest::newRow("dictionary key not a string") << b.bytes(dict2) << u"malformed"_s;
            const quint64 dict3 =
                b.addObject(u"NSDictionary"_s, {{u"NS.keys"_s, V::array({V::string(u"k"_s)})},
                                                {u"NS.objects"_s, b.uids({key})}});
            QTest::newRow("dictionary key inline") << b.bytes(dict3) << u"malformed"_s;
            const quint64 array = b.addObject(u"NSArray"_s, {{u"NS.objects"_s, V::integer(4)}});
            QTest::newRow("array without a list") << b.bytes(array) << u"malformed"_s;
            const quint64 string =
                b.addObject(u"NSMutableString"_s, {{u"NS.string"_s, V::integer(4)}});
            QTest::newRow("string that is a number") << b.bytes(string) << u"malformed"_s;
            const quint64 data = b.addObject(u"NSData"_s, {});
            QTest::newRow("data without bytes") << b.bytes(data) << u"malformed"_s;
        }
        // Dates that are no number, and finite ones of no calendar day: 1e17 seconds is some
        // three billion years.
        const double infinity = std::numeric_limits<double>::infinity();
        for (const V &time : {V::real(std::nan("")), V::real(infinity), V::real(-infinity),
                              V::string(u"now"_s), V::real(1e17), V::real(-1e17), V::real(8.7e12),
                              V::real(std::numeric_limits<double>::max())}) {
            ArchiveBuilder b;
            const bool finite = time.isReal() && std::isfinite(time.toReal());
            QTest::addRow("date %s", qPrintable(time.isReal() ? QString::number(time.toReal())
                                                              : time.toString()))
                << b.bytes(b.date(time)) << (finite ? u"100,000,000 days"_s : u"malformed"_s);
        }
        {
            ArchiveBuilder b;
            const quint64 noClass = b.add(V::dictionary({}));
            QTest::newRow("object without class") << b.bytes(noClass) << u"class record"_s;
            QTest::newRow("class UID out of range")
                << b.bytes(classed(b, V::uid(noClass + 100))) << u"class record"_s;
            const quint64 text = b.add(V::string(u"NSArray"_s));
            QTest::newRow("class record is a string")
                << b.bytes(classed(b, V::uid(text))) << u"class record"_s;
            QTest::newRow("class not a UID")
                << b.bytes(classed(b, V::integer(2))) << u"class record"_s;
            const quint64 array = b.add(V::array({}));
            QTest::newRow("bare array in $objects") << b.bytes(array) << u"malformed"_s;
            const quint64 uid = b.add(V::uid(1));
            QTest::newRow("bare UID in $objects") << b.bytes(uid) << u"malformed"_s;
        }
        {
            ArchiveBuilder b;
            const quint64 evil = b.addObject(u"NSTask"_s, {});
            QTest::newRow("class not on the allow-list") << b.bytes(evil) << u"NSTask"_s;
            const quint64 list = b.array({evil});
            QTest::newRow("unknown class inside an array") << b.bytes(list) << u"NSTask"_s;
        }
        {
            // Two keys of one object with the same text: written as two names, then made equal.
            ArchiveBuilder b;
            QByteArray bytes = b.bytes(
                b.addObject(u"NSDate"_s, {{u"NS.time"_s, V::real(0)}, {u"NS.timf"_s, V::real(1)}}));
            QCOMPARE(bytes.count("NS.timf"), 1);
            bytes.replace("NS.timf", "NS.time");
            QTest::newRow("object has a key twice") << bytes << u"the same key twice"_s;
        }
        {
            // A class record used as an object, and an object used as a class record.
            ArchiveBuilder b;
            const quint64 string = b.add(V::string(u"x"_s));
            const quint64 array = b.array({string});
            QTest::newRow("class record used as an object")
                << b.bytes(b.classes[u"NSArray"_s]) << u"class record"_s;
            QTest::newRow("object used as a class record")
                << b.bytes(classed(b, V::uid(array))) << u"class record"_s;
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
        const V x = V::string(u"x"_s);
        for (int i = 0; i < n; ++i)
            b.add(x);
        V::Array strings;
        for (int i = 0; i < n; ++i)
            strings.push_back(V::uid(firstString + quint64(i)));
        const V inner = b.object(u"NSArray"_s, {{u"NS.objects"_s, V::array(strings)}});
        V::Array inners;
        for (int i = 0; i < n; ++i)
            inners.push_back(V::uid(b.add(inner)));
        const quint64 outer = b.addObject(u"NSArray"_s, {{u"NS.objects"_s, V::array(inners)}});
        const QByteArray bytes = b.bytes(outer);
        QVERIFY(bytes.size() < 200000);
        // The decoder counts its work and stops at the bound, whatever the machine's speed.
        const Decoded result = decode(bytes);
        QVERIFY2(result.error.contains(QLatin1String("too many times")), qPrintable(result.error));

        // A date is decoded afresh at each use, its keys checked again each time: one date of
        // thousands of keys, used thousands of times, is as much work.
        ArchiveBuilder d;
        V::Dictionary date;
        date.insert(u"$class"_s, V::uid(d.classRecord(u"NSDate"_s)));
        date.insert(u"NS.time"_s, V::real(0));
        for (int i = 0; i < n; ++i)
            date.insert(u"k%1"_s.arg(i), V::integer(i));
        const V::Array uses(n, V::uid(d.add(V::dictionary(date))));
        const QByteArray dates =
            d.bytes(d.addObject(u"NSArray"_s, {{u"NS.objects"_s, V::array(uses)}}));
        QVERIFY(dates.size() < 200000);
        const Decoded decoded = decode(dates);
        QVERIFY2(decoded.error.contains(QLatin1String("too many times")),
                 qPrintable(decoded.error));
    }

    void expandedSizeCountsEveryUse()
    {
        // Ten uses of one list, three levels: 1 + 10 * (1 + 10 * (1 + 10)) values, found by looking
        // at each list once.
        QVariant small = u"leaf"_s;
        for (int i = 0; i < 3; ++i)
            small = QVariantList(10, small);
        QCOMPARE(ExpandedSize().of(small), quint64(1111));
        // A dictionary counts a key and its value per entry.
        const QVariantMap map{{u"a"_s, small}, {u"b"_s, small}};
        QCOMPARE(ExpandedSize().of(map), quint64(1 + 2 * (1 + 1111)));
        QCOMPARE(ExpandedSize().of(QVariantList{map, map}), quint64(1 + 2 * 2225));
        // Thirty levels: 10^30, far beyond what a count holds; the count stops at the limit.
        QVariant huge = small;
        for (int i = 3; i < 30; ++i)
            huge = QVariantList(10, huge);
        QCOMPARE(ExpandedSize().of(huge), ExpandedSize::kLimit);
        V plain = V::string(u"leaf"_s);
        for (int i = 0; i < 30; ++i)
            plain = V::array(V::Array(10, plain));
        QCOMPARE(ExpandedSize().of(plain), ExpandedSize::kLimit);
        ArchivedObject kept;
        kept.classes = QStringList{u"NSPrinter"_s, u"NSObject"_s};
        kept.fields.append({u"k"_s, ArchivedObject::Field::Kind::Objects, QVariant(),
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
            quint64 inner = b.array({});
            for (int i = 1; i < depth; ++i)
                inner = b.array({inner});
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
        const quint64 alien = b.addObject(u"NSFunctionExpression"_s, {});
        const quint64 list = b.array({alien});
        const quint64 holder =
            b.addObject(u"Holder"_s, {{u"tolerant"_s, V::uid(list)}, {u"strict"_s, V::uid(alien)}});
        KeyedUnarchiver u;
        QVariant tolerant, again, strict;
        bool errorBeforeStrict = true;
        u.registerClass(u"Holder"_s, [&](KeyedUnarchiver &c) {
            {
                KeyedUnarchiver::Tolerance tolerance(c);
                tolerant = c.decodeObjectForKey(u"tolerant"_s);
                again = c.decodeObjectForKey(u"tolerant"_s);
            }
            errorBeforeStrict = c.hasError();
            strict = c.decodeObjectForKey(u"strict"_s);
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

    void readingRoundTrip_data()
    {
        QTest::addColumn<MeasurementPtr>("original");
        QTest::newRow("every value") << fullReading();
        QTest::newRow("no optional values") << Measurement::create(Date(1000), 120, 80);
        // An empty comment and an empty tag list are kept as such, not as "none".
        const MeasurementPtr empty = Measurement::create(Date(1000), 120, 80);
        empty->setComments(u""_s);
        empty->setTags({});
        QTest::newRow("empty comment and tags") << empty;
    }
    void readingRoundTrip()
    {
        QFETCH(MeasurementPtr, original);
        const Decoded back = decode(archived(QVariantList{QVariant::fromValue(original)}));
        QVERIFY2(back.error.isEmpty(), qPrintable(back.error));
        const MeasurementPtr reading = back.value.toList().value(0).value<MeasurementPtr>();
        QVERIFY(reading);
        compareReadings(*reading, *original);
        QCOMPARE(reading->theWholeDate(), original->theWholeDate()); // to the fraction
    }

    void olderFormReadings_data()
    {
        QTest::addColumn<QVariantMap>("stored"); // inline values, or "obj:" prefixed objects
        QTest::addColumn<QString>("expected");   // systolic/diastolic/weight/pulse
        using M = QVariantMap;
        QTest::newRow("older form")
            << M{{u"systolic"_s, 135}, {u"diastolic"_s, 85},    {u"has-weight"_s, true},
                 {u"weight"_s, 70},    {u"has-pulse"_s, false}, {u"pulse"_s, 60}}
            << u"135/85/70/-"_s;
        QTest::newRow("zeros give the defaults") << M{{u"systolic"_s, 0}} << u"120/80/-/-"_s;
        QTest::newRow("nothing at all") << M{} << u"120/80/-/-"_s;
        QTest::newRow("object systolic, older diastolic")
            << M{{u"obj:systolic-obj"_s, 140}, {u"diastolic"_s, 90}} << u"140/90/-/-"_s;
        QTest::newRow("object systolic only") << M{{u"obj:systolic-obj"_s, 140}} << u"140/80/-/-"_s;
        QTest::newRow("object keys win") << M{{u"obj:weight-obj"_s, 71.5},
                                              {u"has-weight"_s, true},
                                              {u"weight"_s, 60},
                                              {u"has-pulse"_s, 1},
                                              {u"pulse"_s, 66}}
                                         << u"120/80/71.5/66"_s;
        QTest::newRow("systolic beyond 32 bits counts as absent")
            << M{{u"systolic"_s, qlonglong(1) << 33}} << u"120/80/-/-"_s;
        QTest::newRow("booleans as integers and reals")
            << M{{u"has-weight"_s, 2}, {u"weight"_s, 80.7}} << u"120/80/80/-"_s;
    }
    void olderFormReadings()
    {
        QFETCH(QVariantMap, stored);
        QFETCH(QString, expected);
        ArchiveBuilder b;
        V::Dictionary d;
        d.insert(u"$class"_s, V::uid(b.classRecord(u"Measurement"_s)));
        d.insert(u"date"_s, V::uid(b.date(V::real(5))));
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
        auto text = [](const QVariant &v) { return v.isValid() ? v.toString() : u"-"_s; };
        QCOMPARE(u"%1/%2/%3/%4"_s.arg(text(m->Systolic()), text(m->Diastolic()), text(m->Weight()),
                                      text(m->Pulse())),
                 expected);
        QCOMPARE(m->Systolic().typeId(), QMetaType::fromType<qlonglong>().id());
    }

    void readingValuesOfTheWrongKind()
    {
        Date::setClock([] { return Date(123456); });
        ArchiveBuilder b;
        const quint64 text = b.add(V::string(u"oops"_s));
        const quint64 number = b.add(V::integer(7));
        const quint64 dict = b.dictionary({});
        const quint64 mixedTags = b.array({text, number});
        const quint64 null = b.addObject(u"NSNull"_s, {});
        const quint64 reading = b.addObject(
            u"Measurement"_s, {{u"date"_s, V::uid(text)},
                               {u"systolic-obj"_s, V::uid(text)},
                               {u"diastolic-obj"_s, V::uid(dict)},
                               {u"diastolic"_s, V::integer(77)},
                               {u"weight-obj"_s, V::integer(70)}, // inline, not an object reference
                               {u"pulse-obj"_s, V::uid(null)},
                               {u"comments"_s, V::uid(number)},
                               {u"tags"_s, V::uid(mixedTags)},
                               {u"custom1"_s, V::uid(dict)},
                               {u"custom2"_s, V::uid(number)}});
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
        const quint64 sport = b.add(V::string(u"sport"_s));
        const quint64 travel = b.add(V::string(u"travel"_s));
        const quint64 tags = b.array({sport, travel});
        const quint64 first = b.addObject(u"Measurement"_s, {{u"tags"_s, V::uid(tags)}});
        const quint64 second = b.addObject(u"Measurement"_s, {{u"tags"_s, V::uid(tags)}});
        const quint64 root = b.array({first, second, tags});
        const Decoded back = decode(b.bytes(root));
        const QVariantList list = back.value.toList();
        QVERIFY2(list.size() == 3, qPrintable(back.error));
        const QStringList expected = {u"sport"_s, u"travel"_s};
        QCOMPARE(list[0].value<MeasurementPtr>()->Tags(), expected);
        QCOMPARE(list[1].value<MeasurementPtr>()->Tags(), expected);
        QCOMPARE(list[2], QVariant(QVariantList{expected[0], expected[1]}));
    }

    void pythonReadsOurArchives()
    {
        if (python().isEmpty())
            QSKIP("python3 is not available");
        const QVariantMap root{
            {u"measurements"_s, QVariant::fromValue(KeyedArchiver::MutableArray{
                                    {QVariant::fromValue(fullReading()),
                                     QVariant::fromValue(Measurement::create(Date(5), 120, 80))}})},
            {u"names"_s, QStringList{u"a"_s, u"ä"_s}},
            {u"numbers"_s,
             QVariantList{qlonglong(1), -2.5, true, qulonglong(18446744073709551615ULL)}},
            {u"blob"_s, QByteArray("\x00\x01", 2)},
            {u"null"_s, QVariant::fromValue(nullptr)},
            {u"nil"_s, QVariant()},
            {u"when"_s, QVariant::fromValue(Date(-1.5))}};
        QTemporaryDir dir;
        const QString path = dir.filePath(u"ours.archive"_s);
        QVERIFY(TestSupport::writeFile(
            path, archived(QVariant::fromValue(KeyedArchiver::MutableDictionary{root}))));
        QCOMPARE(QString::fromUtf8(runOracle({u"unarchive"_s, path})), canon(root));
    }

    void weReadPythonArchives()
    {
        // Archives written once by the Python oracle and kept, so that this runs without Python.
        for (const QString &form : {u"bplist"_s, u"xml"_s}) {
            const QString path =
                QStringLiteral(TENSILO_SOURCE_DIR "/tests/data/plist/python-archive.") + form;
            const Decoded ours = decode(readFile(path));
            QVERIFY2(ours.error.isEmpty(), qPrintable(ours.error));
            // Python shows readings by their stored keys; compare everything else, then readings.
            QVariantMap map = ours.value.toMap();
            const QVariantList readings = map.take(u"measurements"_s).toList();
            if (!python().isEmpty()) {
                QString expected = QString::fromUtf8(runOracle({u"unarchive"_s, path}));
                QVERIFY(expected.contains(canon(map.value(u"names"_s))));
                QVERIFY(expected.contains(canon(map.value(u"numbers"_s))));
                QVERIFY(expected.contains(u"6e756c6c:Z"_s));
            }
            QCOMPARE(readings.size(), 2);
            const MeasurementPtr current = readings[0].value<MeasurementPtr>();
            const MeasurementPtr old = readings[1].value<MeasurementPtr>();
            QVERIFY(current && old);
            QCOMPARE(current->theWholeDate(), Date(700000000));
            QCOMPARE(current->Systolic(), QVariant(qlonglong(135)));
            QCOMPARE(current->Weight(), QVariant(70.5));
            QVERIFY(!current->Pulse().isValid());
            QCOMPARE(current->Tags(), QStringList({u"morning"_s, u"sport"_s}));
            QCOMPARE(current->customValue2(), QVariant(qlonglong(3)));
            QCOMPARE(old->Systolic(), QVariant(qlonglong(128)));
            QCOMPARE(old->Diastolic(), QVariant(qlonglong(82)));
            QCOMPARE(old->Weight(), QVariant(qlonglong(71)));
            QVERIFY(!old->Pulse().isValid());
        }
    }
};

TENSILO_TEST_MAIN(TestKeyedArchive)
#include "tst_keyedarchive.moc"
