#include "KeyedArchiver.h"

#include "BinaryPropertyList.h"
#include "Date.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace {

const QString kClass = QStringLiteral("$class");
const QString kClassName = QStringLiteral("$classname");
const QString kClasses = QStringLiteral("$classes");
const QString kNSObjects = QStringLiteral("NS.objects");
const QString kNSKeys = QStringLiteral("NS.keys");
const QString kNSTime = QStringLiteral("NS.time");

const QStringList kArrayChain = {QStringLiteral("NSArray"), QStringLiteral("NSObject")};
const QStringList kMutableArrayChain = {QStringLiteral("NSMutableArray"), QStringLiteral("NSArray"),
                                        QStringLiteral("NSObject")};
const QStringList kDictionaryChain = {QStringLiteral("NSDictionary"), QStringLiteral("NSObject")};
const QStringList kMutableDictionaryChain = {QStringLiteral("NSMutableDictionary"),
                                             QStringLiteral("NSDictionary"),
                                             QStringLiteral("NSObject")};
const QStringList kDateChain = {QStringLiteral("NSDate"), QStringLiteral("NSObject")};
const QStringList kNullChain = {QStringLiteral("NSNull"), QStringLiteral("NSObject")};

} // namespace

KeyedArchiver::KeyedArchiver() = default;

KeyedArchiver::~KeyedArchiver() = default;

void KeyedArchiver::registerClass(QMetaType type, const QStringList &classChain,
                                  EncodeFunction encode, IdentityFunction identity)
{
    m_classes.insert(type.id(), {classChain, std::move(encode), std::move(identity)});
}

void KeyedArchiver::reset()
{
    m_objects.clear();
    m_frames.clear();
    m_strings.clear();
    m_integers.clear();
    m_bigUnsigned.clear();
    m_reals.clear();
    m_true = m_false = m_null = 0;
    m_classRecords.clear();
    m_identities.clear();
    m_error.clear();
    m_objects.push_back(PlistValue::string(QStringLiteral("$null")));
}

PlistValue KeyedArchiver::archive(const QVariant &root)
{
    reset();
    const quint64 rootUid = encode(root);
    if (hasError())
        return PlistValue();
    PlistValue::Dictionary top;
    top.insert(QStringLiteral("root"), PlistValue::uid(rootUid));
    PlistValue::Dictionary envelope;
    envelope.insert(QStringLiteral("$version"), PlistValue::integer(100000));
    envelope.insert(QStringLiteral("$archiver"),
                    PlistValue::string(QStringLiteral("NSKeyedArchiver")));
    envelope.insert(QStringLiteral("$top"), PlistValue::dictionary(std::move(top)));
    envelope.insert(QStringLiteral("$objects"), PlistValue::array(std::move(m_objects)));
    m_objects.clear();
    return PlistValue::dictionary(std::move(envelope));
}

QByteArray KeyedArchiver::archivedData(const QVariant &root)
{
    const PlistValue plist = archive(root);
    if (hasError())
        return QByteArray();
    return BinaryPropertyList::write(plist);
}

void KeyedArchiver::failWithReason(const QString &reason)
{
    if (m_error.isEmpty())
        m_error = reason.isEmpty() ? QStringLiteral("?") : reason;
}

// --- Objects -------------------------------------------------------------------------------------

quint64 KeyedArchiver::bare(PlistValue value)
{
    m_objects.push_back(std::move(value));
    return m_objects.size() - 1;
}

quint64 KeyedArchiver::encodeString(const QString &text)
{
    auto it = m_strings.constFind(text);
    if (it != m_strings.constEnd())
        return *it;
    const quint64 uid = bare(PlistValue::string(text));
    m_strings.insert(text, uid);
    return uid;
}

quint64 KeyedArchiver::encodeInteger(qint64 value, bool bigUnsigned)
{
    auto [it, inserted] = (bigUnsigned ? m_bigUnsigned : m_integers).try_emplace(value, 0);
    if (inserted)
        it->second = bare(bigUnsigned ? PlistValue::unsignedInteger(quint64(value))
                                      : PlistValue::integer(value));
    return it->second;
}

quint64 KeyedArchiver::encodeReal(double value)
{
    qint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    auto [it, inserted] = m_reals.try_emplace(bits, 0);
    if (inserted)
        it->second = bare(PlistValue::real(value));
    return it->second;
}

quint64 KeyedArchiver::classRecord(const QStringList &chain)
{
    const QString key = chain.join(QLatin1Char('\n'));
    auto it = m_classRecords.constFind(key);
    if (it != m_classRecords.constEnd())
        return *it;
    PlistValue::Array classes;
    for (const QString &name : chain)
        classes.push_back(PlistValue::string(name));
    PlistValue::Dictionary record;
    record.insert(kClasses, PlistValue::array(std::move(classes)));
    record.insert(kClassName, PlistValue::string(chain.value(0)));
    const quint64 uid = bare(PlistValue::dictionary(std::move(record)));
    m_classRecords.insert(key, uid);
    return uid;
}

bool KeyedArchiver::beginObject(const QStringList &chain, quint64 *uid)
{
    if (m_frames.size() >= size_t(kMaxDepth)) {
        //: %1 is the greatest nesting depth allowed
        failWithReason(qtTrId("archive.error.write_depth").arg(kMaxDepth));
        return false;
    }
    *uid = bare(PlistValue()); // placeholder until endObject()
    m_frames.push_back({*uid, {}});
    const quint64 record = classRecord(chain);
    m_frames.back().entries.insert(kClass, PlistValue::uid(record));
    return true;
}

void KeyedArchiver::endObject()
{
    Frame frame = std::move(m_frames.back());
    m_frames.pop_back();
    m_objects[frame.uid] = PlistValue::dictionary(std::move(frame.entries));
}

quint64 KeyedArchiver::encodeArray(const QVariantList &items, bool isMutable)
{
    quint64 uid = 0;
    if (!beginObject(isMutable ? kMutableArrayChain : kArrayChain, &uid))
        return 0;
    PlistValue::Array references;
    references.reserve(size_t(items.size()));
    for (const QVariant &item : items)
        references.push_back(PlistValue::uid(encode(item)));
    put(kNSObjects, PlistValue::array(std::move(references)));
    endObject();
    return uid;
}

quint64 KeyedArchiver::encodeStringList(const QStringList &items)
{
    quint64 uid = 0;
    if (!beginObject(kArrayChain, &uid))
        return 0;
    PlistValue::Array references;
    references.reserve(size_t(items.size()));
    for (const QString &item : items)
        references.push_back(PlistValue::uid(encodeString(item)));
    put(kNSObjects, PlistValue::array(std::move(references)));
    endObject();
    return uid;
}

quint64 KeyedArchiver::encodeDictionary(const QVariantMap &entries, bool isMutable)
{
    quint64 uid = 0;
    if (!beginObject(isMutable ? kMutableDictionaryChain : kDictionaryChain, &uid))
        return 0;
    PlistValue::Array keys, objects;
    keys.reserve(size_t(entries.size()));
    objects.reserve(size_t(entries.size()));
    for (auto it = entries.constBegin(); it != entries.constEnd(); ++it) {
        keys.push_back(PlistValue::uid(encodeString(it.key())));
        objects.push_back(PlistValue::uid(encode(it.value())));
    }
    put(kNSKeys, PlistValue::array(std::move(keys)));
    put(kNSObjects, PlistValue::array(std::move(objects)));
    endObject();
    return uid;
}

quint64 KeyedArchiver::encode(const QVariant &value)
{
    if (hasError() || !value.isValid())
        return 0;
    switch (value.typeId()) {
    case QMetaType::QString:
        return encodeString(*static_cast<const QString *>(value.constData()));
    case QMetaType::Bool: {
        const bool b = value.toBool();
        quint64 &slot = b ? m_true : m_false;
        if (slot == 0)
            slot = bare(PlistValue::boolean(b));
        return slot;
    }
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::SChar:
    case QMetaType::Char:
        return encodeInteger(value.toLongLong(), false);
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
    case QMetaType::UChar: {
        const qulonglong u = value.toULongLong();
        return encodeInteger(qint64(u), u > qulonglong(std::numeric_limits<qint64>::max()));
    }
    case QMetaType::Double:
    case QMetaType::Float:
        return encodeReal(value.toDouble());
    case QMetaType::QByteArray:
        return bare(PlistValue::data(value.toByteArray()));
    case QMetaType::QVariantList:
        return encodeArray(*static_cast<const QVariantList *>(value.constData()), false);
    case QMetaType::QStringList:
        return encodeStringList(*static_cast<const QStringList *>(value.constData()));
    case QMetaType::QVariantMap:
        return encodeDictionary(*static_cast<const QVariantMap *>(value.constData()), false);
    case QMetaType::Nullptr: {
        if (m_null == 0) {
            if (!beginObject(kNullChain, &m_null))
                return 0;
            endObject();
        }
        return m_null;
    }
    default:
        break;
    }

    const QMetaType type = value.metaType();
    if (type == QMetaType::fromType<Date>()) {
        const Date date = value.value<Date>();
        if (!date.isFinite()) {
            failWithReason(qtTrId("archive.error.write_date"));
            return 0;
        }
        quint64 uid = 0;
        if (!beginObject(kDateChain, &uid))
            return 0;
        put(kNSTime, PlistValue::real(date.timeIntervalSinceReferenceDate()));
        endObject();
        return uid;
    }
    if (type == QMetaType::fromType<MutableArray>())
        return encodeArray(static_cast<const MutableArray *>(value.constData())->items, true);
    if (type == QMetaType::fromType<MutableDictionary>())
        return encodeDictionary(static_cast<const MutableDictionary *>(value.constData())->entries,
                                true);

    auto entry = m_classes.constFind(type.id());
    if (entry == m_classes.constEnd()) {
        //: %1 is the name of a data type inside the program
        failWithReason(qtTrId("archive.error.write_type").arg(QLatin1String(type.name())));
        return 0;
    }
    const void *identity = nullptr;
    if (entry->identity) {
        identity = entry->identity(value);
        if (!identity)
            return 0; // a null pointer is nil
        auto known = m_identities.find(identity);
        if (known != m_identities.end())
            return known->second;
    }
    quint64 uid = 0;
    if (!beginObject(entry->chain, &uid))
        return 0;
    if (identity)
        m_identities.emplace(identity, uid);
    entry->encode(*this, value); // (classes are not registered while archiving)
    endObject();
    return hasError() ? 0 : uid;
}

// --- Keys ----------------------------------------------------------------------------------------

void KeyedArchiver::put(const QString &key, PlistValue value)
{
    if (m_frames.empty()) {
        failWithReason(QStringLiteral("encoding \"%1\" outside an object").arg(key));
        return;
    }
    if (!m_frames.back().entries.insert(key, std::move(value)))
        failWithReason(QStringLiteral("key \"%1\" encoded twice").arg(key));
}

void KeyedArchiver::encodeObject(const QVariant &object, const QString &key)
{
    const quint64 uid = encode(object);
    if (!hasError())
        put(key, PlistValue::uid(uid));
}

void KeyedArchiver::encodeBool(bool value, const QString &key)
{
    put(key, PlistValue::boolean(value));
}

void KeyedArchiver::encodeInt64(qint64 value, const QString &key)
{
    put(key, PlistValue::integer(value));
}

void KeyedArchiver::encodeDouble(double value, const QString &key)
{
    put(key, PlistValue::real(value));
}

void KeyedArchiver::encodeValue(const PlistValue &value, const QString &key)
{
    put(key, value);
}

PlistValue KeyedArchiver::referenceTo(const QVariant &object)
{
    return PlistValue::uid(encode(object));
}
