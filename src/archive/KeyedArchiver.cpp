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
    m_classes.insert(type.id(), {classChain, std::move(encode), std::move(identity), {}});
}

void KeyedArchiver::reset()
{
    m_builder = BinaryPlistBuilder();
    m_objects.clear();
    m_frames.clear();
    m_fields.clear();
    m_scratch.clear();
    m_strings.clear();
    m_stringsByAddress.clear();
    m_integers.clear();
    m_bigUnsigned.clear();
    m_reals.clear();
    m_true = m_false = m_null = 0;
    m_classRecords.clear();
    m_classRecordsByAddress.clear();
    m_identities.clear();
    m_retained.clear();
    m_depth = 0;
    m_error.clear();
    m_objects.push_back(m_builder.addString(QStringLiteral("$null")));
}

QByteArray KeyedArchiver::archivedData(const QVariant &root)
{
    reset();
    const quint64 rootUid = encode(root);
    if (hasError()) {
        m_builder = BinaryPlistBuilder();
        m_retained.clear();
        return QByteArray();
    }
    const Ref objects = m_builder.addArray(m_objects.constData(), size_t(m_objects.size()));
    const Ref rootKey = m_builder.addString(QStringLiteral("root"));
    const Ref rootRef = m_builder.addUid(rootUid);
    const Ref top = m_builder.addDictionary(&rootKey, &rootRef, 1);
    const Ref keys[] = {m_builder.addString(QStringLiteral("$version")),
                        m_builder.addString(QStringLiteral("$archiver")),
                        m_builder.addString(QStringLiteral("$top")),
                        m_builder.addString(QStringLiteral("$objects"))};
    const Ref values[] = {m_builder.addInteger(100000),
                          m_builder.addString(QStringLiteral("NSKeyedArchiver")), top, objects};
    const Ref envelope = m_builder.addDictionary(keys, values, 4);
    m_objects.clear();
    m_retained.clear();
    return m_builder.finish(envelope);
}

PlistValue KeyedArchiver::archive(const QVariant &root)
{
    const QByteArray bytes = archivedData(root);
    PlistValue value;
    if (!bytes.isEmpty() && !BinaryPropertyList::read(bytes, &value))
        failWithReason(QStringLiteral("archive unreadable"));
    return value;
}

void KeyedArchiver::failWithReason(const QString &reason)
{
    if (m_error.isEmpty())
        m_error = reason.isEmpty() ? QStringLiteral("?") : reason;
}

// --- Objects -------------------------------------------------------------------------------------

quint64 KeyedArchiver::bare(Ref ref)
{
    m_objects.push_back(ref);
    return m_objects.size() - 1;
}

quint64 KeyedArchiver::encodeString(const QString &text)
{
    // Copies of one string (a tag on many readings) are found by the address of their text;
    // only addresses of texts that m_strings holds are remembered, so none can be reused.
    const quint64 address = quint64(quintptr(text.constData()));
    if (const auto *known = m_stringsByAddress.find(address); known && known->first == text.size())
        return known->second;
    auto it = m_strings.constFind(text);
    if (it != m_strings.constEnd())
        return *it;
    const quint64 uid = bare(m_builder.addString(text));
    m_strings.insert(text, uid);
    bool inserted = false;
    m_stringsByAddress.findOrInsert(address, {}, &inserted) = {text.size(), uid};
    return uid;
}

quint64 KeyedArchiver::encodeInteger(qint64 value, bool bigUnsigned)
{
    bool inserted = false;
    quint64 &uid =
        (bigUnsigned ? m_bigUnsigned : m_integers).findOrInsert(quint64(value), 0, &inserted);
    if (inserted)
        uid =
            bare(bigUnsigned ? m_builder.addUnsigned(quint64(value)) : m_builder.addInteger(value));
    return uid;
}

quint64 KeyedArchiver::encodeReal(double value)
{
    qint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    bool inserted = false;
    quint64 &uid = m_reals.findOrInsert(quint64(bits), 0, &inserted);
    if (inserted)
        uid = bare(m_builder.addReal(value));
    return uid;
}

quint64 KeyedArchiver::classRecord(const QStringList &chain)
{
    // Chains mostly live in the class table or in constants: find them by address first, and
    // confirm (cheaply, the texts are shared) that the address still holds the same chain.
    auto known = m_classRecordsByAddress.find(&chain);
    if (known != m_classRecordsByAddress.end() && known->second.first == chain)
        return known->second.second;
    const QString key = chain.join(QLatin1Char('\n'));
    auto it = m_classRecords.constFind(key);
    if (it != m_classRecords.constEnd()) {
        m_classRecordsByAddress[&chain] = {chain, *it};
        return *it;
    }
    std::vector<Ref> names;
    for (const QString &name : chain)
        names.push_back(m_builder.addString(name));
    const Ref keys[] = {m_builder.addString(kClasses), m_builder.addString(kClassName)};
    const Ref values[] = {m_builder.addArray(names.data(), names.size()),
                          m_builder.addString(chain.value(0))};
    const quint64 uid = bare(m_builder.addDictionary(keys, values, 2));
    m_classRecords.insert(key, uid);
    m_classRecordsByAddress[&chain] = {chain, uid};
    return uid;
}

bool KeyedArchiver::beginObject(const QStringList &chain, quint64 *uid)
{
    if (m_frames.size() >= size_t(kMaxDepth)) {
        //: %1 is the greatest nesting depth allowed
        failWithReason(qtTrId("archive.error.write_depth").arg(kMaxDepth));
        return false;
    }
    const quint64 record = classRecord(chain);
    *uid = bare(0); // the list object is added by endObject()
    m_frames.push_back({*uid, m_fields.size()});
    put(kClass, m_builder.addUid(record));
    return true;
}

void KeyedArchiver::endObject()
{
    const Frame frame = m_frames.back();
    m_frames.pop_back();
    m_keys.clear();
    m_values.clear();
    for (size_t i = frame.firstField; i < m_fields.size(); ++i) {
        m_keys.push_back(m_fields[i].first);
        m_values.push_back(m_fields[i].second);
    }
    m_fields.resize(frame.firstField);
    m_objects[qsizetype(frame.uid)] =
        m_builder.addDictionary(m_keys.data(), m_values.data(), m_keys.size());
}

quint64 KeyedArchiver::encodeArray(const QVariantList &items, bool isMutable)
{
    quint64 uid = 0;
    if (!beginObject(isMutable ? kMutableArrayChain : kArrayChain, &uid))
        return 0;
    const size_t first = m_scratch.size();
    for (const QVariant &item : items) {
        const quint64 element = encode(item); // leaves m_scratch as it found it
        m_scratch.push_back(m_builder.addUid(element));
    }
    put(kNSObjects, m_builder.addArray(m_scratch.data() + first, m_scratch.size() - first));
    m_scratch.resize(first);
    endObject();
    return uid;
}

quint64 KeyedArchiver::encodeStringList(const QStringList &items)
{
    quint64 uid = 0;
    if (!beginObject(kArrayChain, &uid))
        return 0;
    const size_t first = m_scratch.size();
    for (const QString &item : items)
        m_scratch.push_back(m_builder.addUid(encodeString(item)));
    put(kNSObjects, m_builder.addArray(m_scratch.data() + first, m_scratch.size() - first));
    m_scratch.resize(first);
    endObject();
    return uid;
}

quint64 KeyedArchiver::encodeDictionary(const QVariantMap &entries, bool isMutable)
{
    quint64 uid = 0;
    if (!beginObject(isMutable ? kMutableDictionaryChain : kDictionaryChain, &uid))
        return 0;
    const size_t first = m_scratch.size();
    for (auto it = entries.constBegin(); it != entries.constEnd(); ++it)
        m_scratch.push_back(m_builder.addUid(encodeString(it.key())));
    for (auto it = entries.constBegin(); it != entries.constEnd(); ++it) {
        const quint64 element = encode(it.value());
        m_scratch.push_back(m_builder.addUid(element));
    }
    const size_t count = size_t(entries.size());
    put(kNSKeys, m_builder.addArray(m_scratch.data() + first, count));
    put(kNSObjects, m_builder.addArray(m_scratch.data() + first + count, count));
    m_scratch.resize(first);
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
            slot = bare(m_builder.addBoolean(b));
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
        return bare(m_builder.addData(value.toByteArray()));
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
        if (!date.isInRange()) { // what the reader would refuse
            failWithReason(qtTrId("archive.error.write_date"));
            return 0;
        }
        quint64 uid = 0;
        if (!beginObject(kDateChain, &uid))
            return 0;
        put(kNSTime, m_builder.addReal(date.timeIntervalSinceReferenceDate()));
        endObject();
        return uid;
    }
    if (type == QMetaType::fromType<Reference>())
        return static_cast<const Reference *>(value.constData())->uid;
    if (type == QMetaType::fromType<ArchivedObject>())
        return encodeArchivedObject(*static_cast<const ArchivedObject *>(value.constData()));
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
        if (const quint64 *known = m_identities.find(quint64(quintptr(identity))))
            return *known;
    }
    if (entry->convert) {
        // Conversions may lead to further conversions: bound them like nesting.
        if (++m_depth > kMaxDepth) {
            --m_depth;
            //: %1 is the greatest nesting depth allowed
            failWithReason(qtTrId("archive.error.write_depth").arg(kMaxDepth));
            return 0;
        }
        const QVariant converted = entry->convert(*this, value);
        const quint64 uid = encode(converted);
        --m_depth;
        if (hasError())
            return 0;
        if (identity) {
            bool inserted = false;
            m_identities.findOrInsert(quint64(quintptr(identity)), uid, &inserted);
            m_retained.append(value);
        }
        return uid;
    }
    quint64 uid = 0;
    if (!beginObject(entry->chain, &uid))
        return 0;
    if (identity) {
        bool inserted = false;
        m_identities.findOrInsert(quint64(quintptr(identity)), uid, &inserted);
        // Kept alive until the archive is done, so that no other object can take its address.
        m_retained.append(value);
    }
    entry->encode(*this, value); // (classes are not registered while archiving)
    endObject();
    return hasError() ? 0 : uid;
}

// --- Keys ----------------------------------------------------------------------------------------

void KeyedArchiver::put(const QString &key, Ref value)
{
    if (m_frames.empty()) {
        failWithReason(QStringLiteral("encoding \"%1\" outside an object").arg(key));
        return;
    }
    const Ref name = m_builder.addString(key);
    for (size_t i = m_frames.back().firstField; i < m_fields.size(); ++i) {
        if (m_fields[i].first == name) {
            failWithReason(QStringLiteral("key \"%1\" encoded twice").arg(key));
            return;
        }
    }
    m_fields.emplace_back(name, value);
}

void KeyedArchiver::encodeObject(const QVariant &object, const QString &key)
{
    const quint64 uid = encode(object);
    if (!hasError())
        put(key, m_builder.addUid(uid));
}

void KeyedArchiver::encodeBool(bool value, const QString &key)
{
    put(key, m_builder.addBoolean(value));
}

void KeyedArchiver::encodeInt64(qint64 value, const QString &key)
{
    put(key, m_builder.addInteger(value));
}

void KeyedArchiver::encodeDouble(double value, const QString &key)
{
    put(key, m_builder.addReal(value));
}

void KeyedArchiver::encodeValue(const PlistValue &value, const QString &key)
{
    put(key, m_builder.addValue(value));
}

KeyedArchiver::Reference
KeyedArchiver::encodeNewObject(const QStringList &classChain,
                               const std::function<void(KeyedArchiver &)> &encodeKeys)
{
    quint64 uid = 0;
    if (hasError() || !beginObject(classChain, &uid))
        return {};
    encodeKeys(*this);
    endObject();
    return {hasError() ? 0 : uid};
}

quint64 KeyedArchiver::encodeArchivedObject(const ArchivedObject &object)
{
    quint64 uid = 0;
    if (!beginObject(object.classes, &uid))
        return 0;
    for (const ArchivedObject::Field &field : object.fields) {
        switch (field.kind) {
        case ArchivedObject::Field::Kind::Object: {
            const quint64 element = encode(field.object);
            put(field.key, m_builder.addUid(element));
            break;
        }
        case ArchivedObject::Field::Kind::Objects: {
            const size_t first = m_scratch.size();
            for (const QVariant &item : field.objects) {
                const quint64 element = encode(item);
                m_scratch.push_back(m_builder.addUid(element));
            }
            put(field.key, m_builder.addArray(m_scratch.data() + first, m_scratch.size() - first));
            m_scratch.resize(first);
            break;
        }
        case ArchivedObject::Field::Kind::Value:
            put(field.key, m_builder.addValue(field.value));
            break;
        }
    }
    endObject();
    return hasError() ? 0 : uid;
}

PlistValue KeyedArchiver::referenceTo(const QVariant &object)
{
    return PlistValue::uid(encode(object));
}
