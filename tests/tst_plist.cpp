#include "BinaryPropertyList.h"
#include "MappedFile.h"
#include "PropertyList.h"
#include "TestMain.h"
#include "XmlPropertyList.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

namespace {

using V = PlistValue;

// --- Canonical text of a value; tests/plist_oracle.py prints the same for plistlib ------------

QString hexOf(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex());
}

QString canon(const V &v)
{
    switch (v.type()) {
    case V::Type::Null:
        return QStringLiteral("N");
    case V::Type::Boolean:
        return v.toBool() ? QStringLiteral("T") : QStringLiteral("F");
    case V::Type::Integer:
        return QLatin1Char('I') + (v.isBigUnsigned() ? QString::number(v.toUnsigned())
                                                     : QString::number(v.toInteger()));
    case V::Type::Real: {
        const double d = v.toReal();
        quint64 bits;
        std::memcpy(&bits, &d, 8);
        return QStringLiteral("R%1").arg(bits, 16, 16, QLatin1Char('0'));
    }
    case V::Type::Date:
        return QStringLiteral("D%1").arg(qint64(std::llround(v.toDate() * 1e6)));
    case V::Type::Data:
        return QLatin1Char('B') + hexOf(v.toData());
    case V::Type::String:
        return QLatin1Char('S') + hexOf(v.toString().toUtf8());
    case V::Type::Uid:
        return QLatin1Char('U') + QString::number(v.toUid());
    case V::Type::Array: {
        QStringList items;
        for (const V &item : v.toArray())
            items << canon(item);
        return QStringLiteral("A[") + items.join(QLatin1Char(',')) + QLatin1Char(']');
    }
    case V::Type::Dictionary: {
        QStringList items;
        const V::Dictionary &d = v.toDictionary();
        for (qsizetype i = 0; i < d.size(); ++i)
            items << hexOf(d.keyAt(i).toUtf8()) + QLatin1Char(':') + canon(d.valueAt(i));
        items.sort();
        return QLatin1Char('{') + items.join(QLatin1Char(',')) + QLatin1Char('}');
    }
    }
    return QString();
}

V str(const QString &s)
{
    return V::string(s);
}

V arrayOf(std::initializer_list<V> items)
{
    return V::array(V::Array(items));
}

V dictOf(std::initializer_list<std::pair<QString, V>> entries)
{
    V::Dictionary d;
    for (const auto &[key, value] : entries)
        d.insert(key, value);
    return V::dictionary(std::move(d));
}

double date2001(int days, double seconds = 0)
{
    return days * 86400.0 + seconds;
}

// The value tests/plist_oracle.py writes as its sample.
V oracleSample(bool withUids)
{
    V::Array integers;
    for (qint64 i : {qint64(0), qint64(1), qint64(255), qint64(256), qint64(65535), qint64(65536),
                     qint64(4294967295LL), qint64(4294967296LL), std::numeric_limits<qint64>::max(),
                     qint64(-1), std::numeric_limits<qint64>::min()})
        integers.push_back(V::integer(i));
    integers.push_back(V::unsignedInteger(9223372036854775808ULL));
    integers.push_back(V::unsignedInteger(18446744073709551615ULL));
    QByteArray allBytes;
    for (int i = 0; i < 256; ++i)
        allBytes.append(char(i));
    V::Array longArray;
    for (int i = 0; i < 40; ++i)
        longArray.push_back(V::integer(i));
    V::Dictionary d;
    d.insert(QStringLiteral("booleans"), arrayOf({V::boolean(true), V::boolean(false)}));
    d.insert(QStringLiteral("integers"), V::array(integers));
    d.insert(QStringLiteral("reals"), arrayOf({V::real(0.5), V::real(-2.25), V::real(1e-10),
                                               V::real(1.5e300), V::real(123456.789)}));
    d.insert(QStringLiteral("dates"), arrayOf({V::date(0), V::date(86401), V::date(-31536000)}));
    d.insert(QStringLiteral("data"),
             arrayOf({V::data(QByteArray()), V::data(QByteArray::fromHex("0001feff")),
                      V::data(allBytes.repeated(3))}));
    d.insert(QStringLiteral("strings"),
             arrayOf({str(QString()), str(QStringLiteral("plain")), str(QStringLiteral("Grüße")),
                      str(QStringLiteral("日本")), str(QStringLiteral("emoji 😀")),
                      str(QString(14, u'x')), str(QString(15, u'y')), str(QString(300, u'z'))}));
    d.insert(QStringLiteral("empty array"), V::array({}));
    d.insert(QStringLiteral("empty dict"), V::dictionary({}));
    d.insert(
        QStringLiteral("nested"),
        dictOf(
            {{QStringLiteral("a"),
              arrayOf({dictOf({{QStringLiteral("b"),
                                arrayOf({V::integer(1),
                                         arrayOf({V::integer(2), arrayOf({V::integer(3)})})})}})})},
             {QStringLiteral("été"), str(QStringLiteral("summer"))}}));
    d.insert(QStringLiteral("long array"), V::array(longArray));
    if (withUids)
        d.insert(QStringLiteral("uids"),
                 arrayOf({V::uid(0), V::uid(255), V::uid(256), V::uid(70000)}));
    return V::dictionary(std::move(d));
}

// --- Hand-made binary lists for hostile inputs
// ----------------------------------------------------

QByteArray be(quint64 value, int bytes)
{
    QByteArray out(bytes, '\0');
    for (int i = bytes - 1; i >= 0; --i, value >>= 8)
        out[i] = char(value & 0xFF);
    return out;
}

struct Bplist
{
    QList<QByteArray> objects; // raw bytes of each object, references already encoded
    int offsetSize = 1;
    int refSize = 1;
    quint64 top = 0;
    std::optional<quint64> count;
    std::optional<quint64> tableOffset;
    QMap<int, quint64> offsetOverride;
    int trailerOffsetSize = -1; // -1: same as offsetSize
    int trailerRefSize = -1;

    QByteArray build() const
    {
        QByteArray out("bplist00");
        QList<quint64> offsets;
        for (const QByteArray &o : objects) {
            offsets << quint64(out.size());
            out += o;
        }
        const quint64 table = quint64(out.size());
        for (int i = 0; i < offsets.size(); ++i)
            out += be(offsetOverride.value(i, offsets[i]), offsetSize);
        out += QByteArray(6, '\0');
        out += char(trailerOffsetSize < 0 ? offsetSize : trailerOffsetSize);
        out += char(trailerRefSize < 0 ? refSize : trailerRefSize);
        out += be(count.value_or(quint64(objects.size())), 8);
        out += be(top, 8);
        out += be(tableOffset.value_or(table), 8);
        return out;
    }
};

QByteArray ascii(const QByteArray &s)
{
    return char(0x50 | s.size()) + s;
}
QByteArray int8(quint8 v)
{
    return QByteArray(1, char(0x10)) + char(v);
}

QString readError(const QByteArray &data)
{
    V value = V::string(QStringLiteral("untouched"));
    QString error;
    if (BinaryPropertyList::read(data, &value, &error))
        return QString();
    if (!value.isNull())
        return QStringLiteral("result not cleared");
    return error.isEmpty() ? QStringLiteral("empty error") : error;
}

QString pythonCommand()
{
    // The system interpreter starts fastest; any python3 with plistlib will do.
    QString python =
        QStandardPaths::findExecutable(QStringLiteral("python3"), {QStringLiteral("/usr/bin")});
    if (python.isEmpty())
        python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        return QString();
    QProcess probe;
    probe.start(python, {QStringLiteral("-c"), QStringLiteral("import plistlib")});
    return probe.waitForFinished(30000) && probe.exitCode() == 0 ? python : QString();
}

QString oracleScript()
{
    return QStringLiteral(TENSILO_SOURCE_DIR "/tests/plist_oracle.py");
}

QByteArray run(const QString &program, const QStringList &arguments)
{
    const TestSupport::ProcessRun run = TestSupport::run(program, arguments);
    if (run.exitCode != 0)
        qWarning() << program << arguments << run.err;
    return run.exitCode == 0 ? run.out : QByteArray();
}

using TestSupport::readFile;

using TestSupport::writeFile;

V readOk(const QByteArray &data)
{
    V value;
    QString error;
    if (!PropertyList::read(data, &value, &error))
        qWarning() << "read failed:" << error;
    return value;
}

} // namespace

class TestPlist : public QObject
{
    Q_OBJECT

private slots:

    void roundTrip_data()
    {
        QTest::addColumn<V>("value");
        QTest::newRow("null") << V();
        QTest::newRow("true") << V::boolean(true);
        QTest::newRow("false") << V::boolean(false);
        for (qint64 i : {qint64(0), qint64(255), qint64(256), qint64(65535), qint64(65536),
                         qint64(0xFFFFFFFFLL), qint64(0x100000000LL), qint64(-1), qint64(-256),
                         std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::min()})
            QTest::newRow(qPrintable(QStringLiteral("integer %1").arg(i))) << V::integer(i);
        QTest::newRow("unsigned 2^63") << V::unsignedInteger(quint64(1) << 63);
        QTest::newRow("unsigned max") << V::unsignedInteger(std::numeric_limits<quint64>::max());
        QTest::newRow("real") << V::real(70.5);
        QTest::newRow("negative zero") << V::real(-0.0);
        QTest::newRow("nan") << V::real(std::numeric_limits<double>::quiet_NaN());
        QTest::newRow("infinity") << V::real(-std::numeric_limits<double>::infinity());
        QTest::newRow("tiny") << V::real(std::numeric_limits<double>::denorm_min());
        QTest::newRow("date fraction") << V::date(date2001(9000, 0.123456789));
        QTest::newRow("date before 2001") << V::date(-1e9);
        QTest::newRow("empty data") << V::data(QByteArray());
        QTest::newRow("data 1MB") << V::data(QByteArray(1 << 20, '\xA5'));
        QTest::newRow("empty string") << str(QString());
        for (int n : {14, 15, 16, 255, 256, 65536})
            QTest::newRow(qPrintable(QStringLiteral("ascii %1").arg(n))) << str(QString(n, u'a'));
        QTest::newRow("latin1 string") << str(QStringLiteral("Blutdruck – Grüße"));
        QTest::newRow("surrogate pair") << str(QStringLiteral("😀 and 𝄞"));
        QTest::newRow("lone surrogate") << str(QString(QChar(0xD800)));
        for (quint64 uid : {quint64(0), quint64(255), quint64(256), quint64(1) << 32,
                            std::numeric_limits<quint64>::max()})
            QTest::newRow(qPrintable(QStringLiteral("uid %1").arg(uid))) << V::uid(uid);
        QTest::newRow("empty array") << V::array({});
        // Containers whose counts need each width of count after the marker: the writer sizes
        // them before writing them.
        for (int n : {14, 15, 255, 256, 300, 65536}) {
            V::Array many;
            V::Dictionary keyed;
            for (int i = 0; i < n; ++i) {
                many.push_back(V::integer(i % 7));
                keyed.insert(QStringLiteral("k%1").arg(i), V::integer(i));
            }
            QTest::newRow(qPrintable(QStringLiteral("array %1").arg(n))) << V::array(many);
            QTest::newRow(qPrintable(QStringLiteral("dictionary %1").arg(n)))
                << V::dictionary(std::move(keyed));
        }
        QTest::newRow("dictionary")
            << dictOf({{QStringLiteral("b"), V::integer(1)},
                       {QStringLiteral("a"), V()},
                       {QStringLiteral("ü"), arrayOf({V::uid(3), str(QStringLiteral("x"))})}});
        QTest::newRow("sample") << oracleSample(true);
    }
    void roundTrip()
    {
        QFETCH(V, value);
        const QByteArray bytes = BinaryPropertyList::write(value);
        QVERIFY(BinaryPropertyList::isBinary(bytes));
        V back;
        QString error;
        QVERIFY2(BinaryPropertyList::read(bytes, &back, &error), qPrintable(error));
        QCOMPARE(canon(back), canon(value));
        QVERIFY(back == value);
        // Writing what was read gives the same bytes: nothing is reordered or re-encoded.
        QCOMPARE(BinaryPropertyList::write(back), bytes);
    }

    void wideReferencesAndOffsets()
    {
        // 70000 distinct numbers need 3-byte references; a large data object in front of them
        // pushes their offsets past 2^24 bytes.
        V::Array items;
        items.push_back(V::data(QByteArray((1 << 24) + 10, 'x')));
        for (int i = 0; i < 70000; ++i)
            items.push_back(V::integer(i * 1000));
        const V value = V::array(std::move(items));
        const QByteArray bytes = BinaryPropertyList::write(value);
        QVERIFY(bytes.size() > (1 << 24));
        QCOMPARE(int(bytes[bytes.size() - 25]), 3); // reference size in the trailer
        QCOMPARE(int(bytes[bytes.size() - 26]), 4); // offset size
        V back;
        QVERIFY(BinaryPropertyList::read(bytes, &back));
        QVERIFY(back == value);
    }

    void sharedObjectsAreDecodedOnce()
    {
        // Object i is an array holding object i+1 twice; fully expanded it would have 2^60 leaves.
        Bplist b;
        const int levels = 60;
        for (int i = 0; i < levels; ++i)
            b.objects << QByteArray::fromHex("a2") + char(i + 1) + char(i + 1);
        b.objects << ascii("leaf");
        const QByteArray bytes = b.build();
        V value;
        QString error;
        QVERIFY2(BinaryPropertyList::read(bytes, &value, &error), qPrintable(error));
        const V *level = &value;
        for (int i = 0; i < levels; ++i) {
            QCOMPARE(level->toArray().size(), size_t(2));
            QCOMPARE(level->toArray()[0].node(), level->toArray()[1].node());
            level = &level->toArray()[0];
        }
        QCOMPARE(level->toString(), QStringLiteral("leaf"));
        // Writing and comparing share the work as well.
        const QByteArray again = BinaryPropertyList::write(value);
        QVERIFY(again.size() < 1000);
        V back;
        QVERIFY(BinaryPropertyList::read(again, &back));
        QVERIFY(back == value);
    }

    void writerStoresSharedNodesOnce()
    {
        const V reading = dictOf({{QStringLiteral("systolic"), V::integer(120)}});
        const V list = V::array(V::Array(1000, reading));
        const QByteArray bytes = BinaryPropertyList::write(list);
        // One dictionary, one key, one number, the array and 1000 two-byte references.
        QVERIFY2(bytes.size() < 2200, QByteArray::number(bytes.size()));
        QVERIFY(readOk(bytes) == list);
    }

    void writerDeduplicatesStrings()
    {
        // Equal strings from different sources are stored once; different strings are not merged.
        V::Array items;
        for (int i = 0; i < 1000; ++i)
            items.push_back(str(QStringLiteral("tag-%1").arg(i % 3)));
        const QByteArray bytes = BinaryPropertyList::write(V::array(items));
        QCOMPARE(bytes.count("tag-"), 3);
        V back;
        QVERIFY(BinaryPropertyList::read(bytes, &back));
        QCOMPARE(back.toArray()[4].toString(), QStringLiteral("tag-1"));
    }

    void dictionaryLookupAndOrder()
    {
        V::Dictionary d;
        for (int i = 0; i < 100; ++i)
            QVERIFY(d.insert(QStringLiteral("k%1").arg(99 - i), V::integer(i)));
        QVERIFY(!d.insert(QStringLiteral("k5"), V::integer(-1))); // small and indexed alike
        QCOMPARE(d.keyAt(0), QStringLiteral("k99"));
        QCOMPARE(d.value(QStringLiteral("k5")).toInteger(), qint64(94));
        QVERIFY(!d.find(QStringLiteral("k100")));
        V::Dictionary copy = d;
        QVERIFY(copy == d);
        const V back = readOk(BinaryPropertyList::write(V::dictionary(d)));
        QCOMPARE(back.toDictionary().keyAt(0), QStringLiteral("k99")); // insertion order kept
        QCOMPARE(back.toDictionary().value(QStringLiteral("k0")).toInteger(), qint64(99));
    }

    void deepValuesAreFreedWithoutRecursion()
    {
        V value = V::integer(1);
        for (int i = 0; i < 1000000; ++i)
            value = V::array(V::Array{value});
        value = V(); // would overflow the stack if freed recursively
        QVERIFY(value.isNull());
    }

    void hostileBinary_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("message"); // part of the expected explanation

        const QString trailer = QStringLiteral("trailer");
        const QString malformed = QStringLiteral("malformed");
        const QString outside = QStringLiteral("outside");
        const QString missing = QStringLiteral("does not exist");
        const QString itself = QStringLiteral("contains itself");
        const QString key = QStringLiteral("key");

        Bplist ok;
        ok.objects << QByteArray::fromHex("a1") + char(1) << int8(7);
        QVERIFY(readError(ok.build()).isEmpty());

        QTest::newRow("empty") << QByteArray() << trailer;
        QTest::newRow("header only") << QByteArray("bplist00") << trailer;
        QTest::newRow("wrong version") << QByteArray("bplist01") + ok.build().mid(8) << trailer;
        for (int size : {0, 9}) {
            Bplist b = ok;
            b.trailerOffsetSize = size;
            QTest::newRow(qPrintable(QStringLiteral("offset size %1").arg(size)))
                << b.build() << trailer;
            b = ok;
            b.trailerRefSize = size;
            QTest::newRow(qPrintable(QStringLiteral("ref size %1").arg(size)))
                << b.build() << trailer;
        }
        for (quint64 count : {quint64(0), quint64(3), quint64(1) << 62, quint64(1) << 63,
                              std::numeric_limits<quint64>::max()}) {
            Bplist b = ok;
            b.count = count;
            QTest::newRow(qPrintable(QStringLiteral("object count %1").arg(count)))
                << b.build() << trailer;
        }
        {
            Bplist b = ok;
            b.offsetSize = 8;
            b.count = quint64(1) << 61; // times 8 wraps to 0 in 64 bits
            QTest::newRow("count times offset size wraps") << b.build() << trailer;
        }
        {
            Bplist b = ok;
            b.top = 2;
            QTest::newRow("top beyond count") << b.build() << trailer;
        }
        for (quint64 table : {quint64(0), quint64(7), quint64(8), quint64(1000),
                              std::numeric_limits<quint64>::max()}) {
            Bplist b = ok;
            b.tableOffset = table;
            QTest::newRow(qPrintable(QStringLiteral("table offset %1").arg(table)))
                << b.build() << trailer;
        }
        for (quint64 offset : {quint64(0), quint64(7), quint64(12), quint64(255)}) {
            Bplist b = ok;
            b.offsetOverride[1] = offset; // 12 is the offset table itself
            QTest::newRow(qPrintable(QStringLiteral("object offset %1").arg(offset)))
                << b.build() << outside;
        }
        {
            Bplist b;
            b.objects << QByteArray::fromHex("a2") + char(1) + char(5) << int8(1);
            QTest::newRow("reference out of range") << b.build() << missing;
        }
        {
            Bplist b;
            b.objects << QByteArray::fromHex("af13") + be(quint64(1) << 60, 8) + char(1) << int8(1);
            QTest::newRow("array count 2^60") << b.build() << malformed;
            b.objects[0] = QByteArray::fromHex("af13") + be(std::numeric_limits<quint64>::max(), 8);
            QTest::newRow("array count 2^64-1") << b.build() << malformed;
            b.objects[0] = QByteArray::fromHex("df13") + be(quint64(1) << 62, 8);
            QTest::newRow("dictionary count 2^62") << b.build() << malformed;
            b.objects[0] = QByteArray::fromHex("5f13") + be(1000000, 8);
            QTest::newRow("string longer than file") << b.build() << malformed;
            b.objects[0] = QByteArray::fromHex("6f10") + char(5) + QByteArray("abcd");
            QTest::newRow("utf16 longer than file") << b.build() << malformed;
            b.objects[0] = QByteArray::fromHex("4f12") + be(0x7FFFFFFF, 4);
            QTest::newRow("data longer than file") << b.build() << malformed;
            b.objects[0] = QByteArray::fromHex("4f23") + be(5, 8);
            QTest::newRow("count not an integer") << b.build() << malformed;
            b.objects[0] = QByteArray::fromHex("4f14") + be(0, 16);
            QTest::newRow("count as 128-bit integer") << b.build() << malformed;
            b.objects[0] = QByteArray::fromHex("4f");
            QTest::newRow("count missing") << b.build() << malformed;
        }
        for (const char *marker :
             {"01", "0f", "15", "20", "21", "30", "32", "70", "90", "b0", "c0", "e0", "f0", "88"}) {
            Bplist b;
            b.objects << QByteArray::fromHex(marker) + be(0, 9);
            QTest::newRow(qPrintable(QStringLiteral("marker %1").arg(QLatin1String(marker))))
                << b.build() << malformed;
        }
        {
            Bplist b;
            b.objects << QByteArray::fromHex("13") + be(1, 3);
            QTest::newRow("integer runs into table") << b.build() << malformed;
            b.objects[0] = QByteArray::fromHex("14") + be(1, 8) + be(0, 8);
            QTest::newRow("128-bit integer too big") << b.build() << malformed;
            b.objects[0] =
                QByteArray::fromHex("14") + be(std::numeric_limits<quint64>::max(), 8) + be(1, 8);
            QTest::newRow("128-bit integer too small") << b.build() << malformed;
        }
        {
            Bplist b;
            b.objects << QByteArray::fromHex("a1") + char(0);
            QTest::newRow("array holds itself") << b.build() << itself;
            b.objects = {QByteArray::fromHex("a1") + char(1),
                         QByteArray::fromHex("a2") + char(2) + char(0), int8(3)};
            QTest::newRow("two arrays hold each other") << b.build() << itself;
            b.objects = {QByteArray::fromHex("d1") + char(1) + char(0), ascii("k")};
            QTest::newRow("dictionary holds itself") << b.build() << itself;
            b.objects = {QByteArray::fromHex("d1") + char(1) + char(2), int8(5), int8(6)};
            QTest::newRow("key not a string") << b.build() << key;
            b.objects = {QByteArray::fromHex("d2") + char(1) + char(2) + char(3) + char(3),
                         ascii("k"), ascii("k"), int8(6)};
            QTest::newRow("same key twice") << b.build() << key;
            b.objects = {QByteArray::fromHex("d1") + char(0) + char(1), int8(5)};
            QTest::newRow("dictionary is its own key") << b.build() << itself;
        }
    }
    void hostileBinary()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, message);
        const QString error = readError(data);
        QVERIFY2(!error.isEmpty(), "hostile data was accepted");
        QVERIFY2(error.contains(message), qPrintable(error));
    }

    void everyPrefixFailsCleanly()
    {
        const QByteArray bytes = BinaryPropertyList::write(oracleSample(true));
        for (qsizetype n = 0; n < bytes.size(); ++n)
            QVERIFY2(!readError(bytes.left(n)).isEmpty(), qPrintable(QString::number(n)));
        // Flipping any single byte never crashes; it fails or decodes to something.
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            QByteArray damaged = bytes;
            damaged[i] = char(damaged[i] ^ 0x5A);
            V value;
            BinaryPropertyList::read(damaged, &value);
        }
    }

    void nestingLimit()
    {
        auto nested = [](int depth) {
            Bplist b;
            for (int i = 0; i < depth - 1; ++i)
                b.objects << QByteArray::fromHex("a1") + be(quint64(i + 1), 2);
            b.objects << QByteArray::fromHex("a0");
            b.refSize = 2;
            b.offsetSize = 2;
            return b.build();
        };
        QVERIFY(readError(nested(BinaryPropertyList::kMaxDepth)).isEmpty());
        QVERIFY(
            readError(nested(BinaryPropertyList::kMaxDepth + 1)).contains(QLatin1String("512")));
        QVERIFY(readError(nested(20000)).contains(QLatin1String("nested")));

        auto nestedXml = [](int depth) {
            return "<plist>" + QByteArray("<array>").repeated(depth) +
                   QByteArray("</array>").repeated(depth) + "</plist>";
        };
        V value;
        QVERIFY(XmlPropertyList::read(nestedXml(XmlPropertyList::kMaxDepth), &value));
        QString error;
        QVERIFY(!XmlPropertyList::read(nestedXml(XmlPropertyList::kMaxDepth + 1), &value, &error));
        QVERIFY2(error.contains(QLatin1String("nested")), qPrintable(error));
    }

    void xml_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<V>("expected");
        const QByteArray head =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist PUBLIC "
            "\"-//Apple//DTD PLIST 1.0//EN\" "
            "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
            "<plist version=\"1.0\">\n";
        auto doc = [&](const QByteArray &body) { return head + body + "\n</plist>\n"; };
        QTest::newRow("string") << doc("<string>a &amp; b</string>")
                                << str(QStringLiteral("a & b"));
        QTest::newRow("empty string") << doc("<string/>") << str(QString());
        QTest::newRow("integers")
            << doc("<array><integer>-9223372036854775808</integer><integer> 42 "
                   "</integer><integer>18446744073709551615</integer><integer>0x1F</integer>"
                   "</array>")
            << arrayOf({V::integer(std::numeric_limits<qint64>::min()), V::integer(42),
                        V::unsignedInteger(std::numeric_limits<quint64>::max()), V::integer(31)});
        QTest::newRow("reals") << doc("<array><real>70.5</real><real>-1e-3</real><real>nan</real>"
                                      "<real>-infinity</real><real>3</real></array>")
                               << arrayOf({V::real(70.5), V::real(-1e-3),
                                           V::real(std::numeric_limits<double>::quiet_NaN()),
                                           V::real(-std::numeric_limits<double>::infinity()),
                                           V::real(3)});
        QTest::newRow("date") << doc("<date>2001-01-02T00:00:01Z</date>") << V::date(86401);
        QTest::newRow("data") << doc("<data>\n\tAAH+\n\t/w==\n</data>")
                              << V::data(QByteArray::fromHex("0001feff"));
        QTest::newRow("booleans") << doc("<array><true/><false/></array>")
                                  << arrayOf({V::boolean(true), V::boolean(false)});
        QTest::newRow("uid") << doc("<dict><key>CF$UID</key><integer>7</integer></dict>")
                             << V::uid(7);
        QTest::newRow("not a uid: two keys")
            << doc("<dict><key>CF$UID</key><integer>7</integer><key>x</key><true/></dict>")
            << dictOf({{QStringLiteral("CF$UID"), V::integer(7)},
                       {QStringLiteral("x"), V::boolean(true)}});
        QTest::newRow("dictionary order")
            << doc("<dict><key>z</key><integer>1</integer><key>a</key>"
                   "<dict/></dict>")
            << dictOf({{QStringLiteral("z"), V::integer(1)},
                       {QStringLiteral("a"), V::dictionary({})}});
        QTest::newRow("comments and bom")
            << QByteArray("\xEF\xBB\xBF") + doc("<!-- note --><array/>") << V::array({});
    }
    void xml()
    {
        QFETCH(QByteArray, xml);
        QFETCH(V, expected);
        V value;
        QString error;
        PropertyList::Format format = PropertyList::Format::Binary;
        QVERIFY2(PropertyList::read(xml, &value, &error, &format), qPrintable(error));
        QCOMPARE(format, PropertyList::Format::Xml);
        QCOMPARE(canon(value), canon(expected));
        if (expected.isDictionary()) // order of keys as in the file
            QCOMPARE(value.toDictionary().keyAt(0), expected.toDictionary().keyAt(0));
    }

    void hostileXml_data()
    {
        QTest::addColumn<QByteArray>("xml");
        auto doc = [](const QByteArray &body) {
            return "<plist version=\"1.0\">" + body + "</plist>";
        };
        QTest::newRow("no plist element") << QByteArray("<array/>");
        QTest::newRow("empty plist") << doc("");
        QTest::newRow("two values") << doc("<true/><false/>");
        QTest::newRow("unclosed") << QByteArray("<plist><array><string>x</string>");
        QTest::newRow("mismatched tags") << doc("<array></dict>");
        QTest::newRow("unknown element") << doc("<set/>");
        QTest::newRow("key outside dict") << doc("<array><key>a</key></array>");
        QTest::newRow("value without key") << doc("<dict><string>a</string></dict>");
        QTest::newRow("key without value") << doc("<dict><key>a</key></dict>");
        QTest::newRow("two keys in a row") << doc("<dict><key>a</key><key>b</key><true/></dict>");
        QTest::newRow("duplicate key")
            << doc("<dict><key>a</key><true/><key>a</key><true/></dict>");
        QTest::newRow("element inside string") << doc("<string>a<b/></string>");
        QTest::newRow("text between values") << doc("<array>x<true/></array>");
        QTest::newRow("integer text") << doc("<integer>12a</integer>");
        QTest::newRow("integer too big") << doc("<integer>18446744073709551616</integer>");
        QTest::newRow("integer too small") << doc("<integer>-9223372036854775809</integer>");
        QTest::newRow("double sign") << doc("<integer>--1</integer>");
        QTest::newRow("real text") << doc("<real>seventy</real>");
        QTest::newRow("date text") << doc("<date>yesterday</date>");
        QTest::newRow("data not base64") << doc("<data>!!!</data>");
        QTest::newRow("entity declaration")
            << QByteArray(
                   "<!DOCTYPE plist [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;\">]>") +
                   doc("<string>&b;</string>");
        QTest::newRow("undeclared entity") << doc("<string>&zz;</string>");
        QTest::newRow("second plist") << doc("<true/>") + doc("<true/>");
        QTest::newRow("not xml") << QByteArray("<<<<");
    }
    void hostileXml()
    {
        QFETCH(QByteArray, xml);
        V value = str(QStringLiteral("untouched"));
        QString error;
        QVERIFY(!PropertyList::read(xml, &value, &error));
        QVERIFY(value.isNull());
        QVERIFY(!error.isEmpty());
    }

    void mappedFileCutShortWhileRead()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("cut.plist"));
        const QByteArray contents(3 * 65536, 'x');
        QFile writer(path);
        QVERIFY(writer.open(QIODevice::WriteOnly) && writer.write(contents) == contents.size());
        writer.close();

        QString error;
        MappedFile tooLarge;
        QVERIFY(!tooLarge.open(path, contents.size() - 1, &error));
        QVERIFY(!error.isEmpty());

        MappedFile file;
        QVERIFY(file.open(path, contents.size(), &error));
        QVERIFY(file.isMapped());
        QCOMPARE(file.bytes(), contents);
        // Pages given back are read in again, as they were.
        file.releasePages();
        QCOMPARE(file.bytes(), contents);
        {
            const MappedFile::Guard guard(file);
            QVERIFY(guard.isActive());
            {
                // One guarded mapping at a time: the second reader is told to read a copy.
                MappedFile other;
                QVERIFY(other.open(path, contents.size(), &error));
                const MappedFile::Guard second(other);
                QVERIFY(!second.isActive());
            }
            QVERIFY(!file.changed());
            // Another program cuts the file short: the pages past its end read as zeros instead of
            // stopping the process.
            QVERIFY(QFile(path).resize(100));
            file.releasePages();
            const QByteArray bytes = file.bytes();
            QCOMPARE(bytes.at(bytes.size() - 1), '\0');
            QCOMPARE(bytes.at(50), 'x');
        }
        QVERIFY(file.changed());
        QVERIFY(file.load(&error));
        QVERIFY(!file.isMapped());
        QCOMPARE(file.bytes(), contents.left(100));
    }

    void pythonReadsOurFiles()
    {
        const QString python = pythonCommand();
        if (python.isEmpty())
            QSKIP("python3 with plistlib is not available");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ours.bplist"));
        for (const V &value :
             {oracleSample(true), V::date(date2001(8000, 0.25)), str(QString(70000, u'é')),
              V::array(V::Array(70000, V::integer(-5)))}) {
            QVERIFY(writeFile(path, BinaryPropertyList::write(value)));
            const QByteArray printed = run(python, {oracleScript(), QStringLiteral("canon"), path});
            QCOMPARE(QString::fromUtf8(printed).trimmed(), canon(value));
        }
    }

    void libplistReadsOurFiles()
    {
        const QString plistutil = QStandardPaths::findExecutable(QStringLiteral("plistutil"));
        if (plistutil.isEmpty())
            QSKIP("plistutil (libplist) is not available");
        QTemporaryDir dir;
        const QString ours = dir.filePath(QStringLiteral("ours.bplist"));
        const QString xml = dir.filePath(QStringLiteral("libplist.xml"));
        const QString binary = dir.filePath(QStringLiteral("libplist.bplist"));
        const V value = oracleSample(true);
        QVERIFY(writeFile(ours, BinaryPropertyList::write(value)));
        // libplist parses our binary file and writes it as XML and as binary; we read both.
        run(plistutil, {QStringLiteral("-i"), ours, QStringLiteral("-o"), xml, QStringLiteral("-f"),
                        QStringLiteral("xml")});
        run(plistutil, {QStringLiteral("-i"), ours, QStringLiteral("-o"), binary,
                        QStringLiteral("-f"), QStringLiteral("bin")});
        QCOMPARE(canon(readOk(readFile(xml))), canon(value));
        QCOMPARE(canon(readOk(readFile(binary))), canon(value));
    }

    void storedOracleFiles()
    {
        // Files written once by plistlib and libplist, kept so these checks run without them.
        const QString dir = QStringLiteral(TENSILO_SOURCE_DIR "/tests/data/plist/");
        const QList<std::pair<QString, bool>> files = {
            {QStringLiteral("plistlib-sample.bplist"), true},
            {QStringLiteral("plistlib-sample.xml"), false},
            {QStringLiteral("libplist-sample.bplist"), true},
            {QStringLiteral("libplist-sample.xml"), true}};
        for (const auto &[name, withUids] : files) {
            const QByteArray bytes = readFile(dir + name);
            QVERIFY2(!bytes.isEmpty(), qPrintable(name));
            QCOMPARE(canon(readOk(bytes)), canon(oracleSample(withUids)));
        }
    }
};

TENSILO_TEST_MAIN(TestPlist)
#include "tst_plist.moc"
