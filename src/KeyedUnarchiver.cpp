#include "KeyedUnarchiver.h"

#include "Date.h"
#include "PropertyList.h"

#include <cmath>
#include <limits>

namespace {

struct UnusableObject
{
    QString reason;
};

const QString kClass = QStringLiteral("$class");
const QString kClassName = QStringLiteral("$classname");
const QString kObjects = QStringLiteral("$objects");
const QString kTop = QStringLiteral("$top");
const QString kArchiver = QStringLiteral("$archiver");
const QString kVersion = QStringLiteral("$version");
const QString kNSObjects = QStringLiteral("NS.objects");
const QString kNSKeys = QStringLiteral("NS.keys");
const QString kNSString = QStringLiteral("NS.string");
const QString kNSTime = QStringLiteral("NS.time");
const QString kNSData = QStringLiteral("NS.data");

constexpr quint64 kBaseBudget = 1000000;

} // namespace

Q_DECLARE_METATYPE(UnusableObject)

KeyedUnarchiver::KeyedUnarchiver()
{
    registerFoundationClasses();
}

KeyedUnarchiver::~KeyedUnarchiver() = default;

void KeyedUnarchiver::registerClass(const QString &className, DecodeFunction decode)
{
    m_classes.insert(className, std::move(decode));
}

// --- Opening -------------------------------------------------------------------------------------

bool KeyedUnarchiver::open(const QByteArray &data)
{
    PlistValue archive;
    QString error;
    if (!PropertyList::read(data, &archive, &error)) {
        m_error = error;
        return false;
    }
    if (!open(archive))
        return false;
    // Every object reference costs at least a byte of the file; allow a generous multiple of
    // the file's size in decoding work, which legitimate files never come near.
    m_budget = kBaseBudget + 16 * quint64(data.size());
    return true;
}

bool KeyedUnarchiver::open(const PlistValue &archive)
{
    m_error.clear();
    m_entries.clear();
    m_stack.clear();
    m_archive = archive;
    m_objects = nullptr;
    m_top = nullptr;
    const PlistValue::Dictionary &root = m_archive.toDictionary();
    const PlistValue *archiver = root.find(kArchiver);
    const PlistValue *version = root.find(kVersion);
    const PlistValue *objects = root.find(kObjects);
    const PlistValue *top = root.find(kTop);
    if (!m_archive.isDictionary() || !archiver || archiver->toString() != u"NSKeyedArchiver" ||
        !version || version->toInteger() != 100000 || !objects || !objects->isArray() ||
        objects->toArray().empty() || !top || !top->isDictionary())
        return fail(qtTrId("archive.error.not_archive"));
    m_objects = &objects->toArray();
    m_top = &top->toDictionary();
    m_entries.resize(m_objects->size());
    m_budget = kBaseBudget + 64 * quint64(m_objects->size());
    return true;
}

QVariant KeyedUnarchiver::decodeTopLevelObject(const QString &key)
{
    if (!m_top || hasError())
        return QVariant();
    const PlistValue *reference = m_top->find(key);
    if (!reference)
        return QVariant();
    if (!reference->isUid()) {
        fail(qtTrId("archive.error.not_archive"));
        return QVariant();
    }
    return decodeUid(reference->toUid());
}

// --- Errors and markers --------------------------------------------------------------------------

bool KeyedUnarchiver::fail(const QString &message)
{
    if (m_error.isEmpty())
        m_error = message;
    return false;
}

void KeyedUnarchiver::failWithReason(const QString &reason)
{
    fail(reason);
}

void KeyedUnarchiver::failMalformed()
{
    const Context *context = m_stack.empty() ? nullptr : &m_stack.back();
    //: %1 is the number of an object in the file, %2 its class name
    fail(qtTrId("archive.error.malformed")
             .arg(context ? context->uid : 0)
             .arg(context ? *context->className : QString()));
}

bool KeyedUnarchiver::spend(quint64 units)
{
    if (units > m_budget) {
        m_budget = 0;
        return fail(qtTrId("archive.error.budget"));
    }
    m_budget -= units;
    return true;
}

QVariant KeyedUnarchiver::unusable(const QString &reason)
{
    return QVariant::fromValue(UnusableObject{reason});
}

bool KeyedUnarchiver::isUnusable(const QVariant &value)
{
    return value.metaType() == QMetaType::fromType<UnusableObject>();
}

QString KeyedUnarchiver::unusableReason(const QVariant &value)
{
    return isUnusable(value) ? value.value<UnusableObject>().reason : QString();
}

QVariant KeyedUnarchiver::markUnusable(quint64 uid, const QString &reason)
{
    Entry &entry = m_entries[uid];
    entry.state = State::Unusable;
    entry.value = unusable(reason);
    if (m_tolerance == 0) {
        fail(reason);
        return QVariant();
    }
    return entry.value;
}

// --- Decoding ------------------------------------------------------------------------------------

QVariant KeyedUnarchiver::decodeObject(const PlistValue &reference)
{
    if (hasError() || !reference.isUid())
        return QVariant();
    return decodeUid(reference.toUid());
}

QVariant KeyedUnarchiver::decodeUid(quint64 uid)
{
    if (hasError() || !spend(1))
        return QVariant();
    if (uid == 0)
        return QVariant();
    if (!m_objects || uid >= m_objects->size()) {
        //: %1 and %2 are numbers of objects in the file
        fail(qtTrId("archive.error.reference")
                 .arg(m_stack.empty() ? 0 : m_stack.back().uid)
                 .arg(uid));
        return QVariant();
    }
    const PlistValue &object = (*m_objects)[uid];
    switch (object.type()) {
    case PlistValue::Type::String:
        return object.toString();
    case PlistValue::Type::Integer:
        if (object.isBigUnsigned())
            return QVariant(qulonglong(object.toUnsigned()));
        return QVariant(qlonglong(object.toInteger()));
    case PlistValue::Type::Real:
        return object.toReal();
    case PlistValue::Type::Boolean:
        return object.toBool();
    case PlistValue::Type::Data:
        return object.toData();
    case PlistValue::Type::Dictionary:
        return decodeClassObject(uid, object.toDictionary());
    default:
        //: %1 is the number of an object in the file, %2 its class name
        fail(qtTrId("archive.error.malformed").arg(uid).arg(PlistValue::typeName(object.type())));
        return QVariant();
    }
}

QVariant KeyedUnarchiver::decodeClassObject(quint64 uid, const PlistValue::Dictionary &object)
{
    Entry &entry = m_entries[uid];
    switch (entry.state) {
    case State::Done:
        return entry.value;
    case State::Active:
        //: %1 is the number of an object in the file
        fail(qtTrId("archive.error.cycle").arg(uid));
        return QVariant();
    case State::Unusable:
        if (m_tolerance == 0) {
            fail(unusableReason(entry.value));
            return QVariant();
        }
        return entry.value;
    case State::Unvisited:
        break;
    }

    // The class record, checked each time an object is decoded.
    const PlistValue *classReference = object.find(kClass);
    const PlistValue *record = nullptr;
    if (classReference && classReference->isUid() && classReference->toUid() != 0 &&
        classReference->toUid() < m_objects->size())
        record = &(*m_objects)[classReference->toUid()];
    const PlistValue *name = record ? record->toDictionary().find(kClassName) : nullptr;
    if (!name || !name->isString()) {
        //: %1 is the number of an object in the file
        fail(qtTrId("archive.error.class_record").arg(uid));
        return QVariant();
    }
    const QString classNameText = name->toString();
    auto decoder = m_classes.constFind(classNameText);
    if (decoder == m_classes.constEnd())
        //: %1 is a class name found in the file
        return markUnusable(uid, qtTrId("archive.error.unknown_class").arg(classNameText));

    if (m_stack.size() >= size_t(kMaxDepth)) {
        //: %1 is the greatest nesting depth allowed
        fail(qtTrId("archive.error.depth").arg(kMaxDepth));
        return QVariant();
    }
    entry.state = State::Active;
    m_stack.push_back({&object, &classNameText, uid});
    QVariant value = (*decoder)(*this);
    m_stack.pop_back();
    // m_entries never grows after open(), so the reference is still valid.
    if (hasError()) {
        entry.state = State::Unusable;
        entry.value = unusable(m_error);
        return QVariant();
    }
    if (isUnusable(value))
        return markUnusable(uid, unusableReason(value));
    entry.state = State::Done;
    entry.value = value;
    return value;
}

const PlistValue::Dictionary *KeyedUnarchiver::current() const
{
    return m_stack.empty() ? nullptr : m_stack.back().object;
}

QString KeyedUnarchiver::className() const
{
    return m_stack.empty() ? QString() : *m_stack.back().className;
}

bool KeyedUnarchiver::containsValueForKey(const QString &key) const
{
    return valueForKey(key) != nullptr;
}

const PlistValue *KeyedUnarchiver::valueForKey(const QString &key) const
{
    const PlistValue::Dictionary *object = current();
    return object ? object->find(key) : nullptr;
}

QVariant KeyedUnarchiver::decodeObjectForKey(const QString &key)
{
    const PlistValue *value = valueForKey(key);
    return value ? decodeObject(*value) : QVariant();
}

bool KeyedUnarchiver::decodeBoolForKey(const QString &key) const
{
    const PlistValue *value = valueForKey(key);
    if (!value)
        return false;
    switch (value->type()) {
    case PlistValue::Type::Boolean:
        return value->toBool();
    case PlistValue::Type::Integer:
        return value->toInteger() != 0;
    case PlistValue::Type::Real:
        return value->toReal() != 0;
    default:
        return false;
    }
}

qint64 KeyedUnarchiver::decodeInt64ForKey(const QString &key) const
{
    const PlistValue *value = valueForKey(key);
    if (!value)
        return 0;
    switch (value->type()) {
    case PlistValue::Type::Boolean:
        return value->toBool() ? 1 : 0;
    case PlistValue::Type::Integer:
        return value->isBigUnsigned() ? 0 : value->toInteger();
    case PlistValue::Type::Real: {
        const double d = value->toReal();
        // The open upper bound keeps the conversion defined: 2^63 itself does not fit.
        if (std::isfinite(d) && d >= -9223372036854775808.0 && d < 9223372036854775808.0)
            return qint64(d);
        return 0;
    }
    default:
        return 0;
    }
}

qint32 KeyedUnarchiver::decodeIntForKey(const QString &key) const
{
    const qint64 value = decodeInt64ForKey(key);
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return 0;
    return qint32(value);
}

double KeyedUnarchiver::decodeDoubleForKey(const QString &key) const
{
    const PlistValue *value = valueForKey(key);
    if (!value)
        return 0;
    switch (value->type()) {
    case PlistValue::Type::Real:
        return value->toReal();
    case PlistValue::Type::Integer:
        return value->isBigUnsigned() ? double(value->toUnsigned()) : double(value->toInteger());
    case PlistValue::Type::Boolean:
        return value->toBool() ? 1 : 0;
    default:
        return 0;
    }
}

// --- Foundation classes --------------------------------------------------------------------------

namespace {

QVariant decodeArray(KeyedUnarchiver &u)
{
    const PlistValue *objects = u.valueForKey(kNSObjects);
    if (!objects || !objects->isArray()) {
        u.failMalformed();
        return QVariant();
    }
    QVariantList items;
    items.reserve(qsizetype(objects->toArray().size()));
    for (const PlistValue &reference : objects->toArray()) {
        if (!reference.isUid()) {
            u.failMalformed();
            return QVariant();
        }
        QVariant item = u.decodeObject(reference);
        if (u.hasError())
            return QVariant();
        if (KeyedUnarchiver::isUnusable(item))
            return item;
        items.append(std::move(item));
    }
    return items;
}

QVariant decodeDictionary(KeyedUnarchiver &u)
{
    const PlistValue *keys = u.valueForKey(kNSKeys);
    const PlistValue *objects = u.valueForKey(kNSObjects);
    if (!keys || !objects || !keys->isArray() || !objects->isArray() ||
        keys->toArray().size() != objects->toArray().size()) {
        u.failMalformed();
        return QVariant();
    }
    QVariantMap entries;
    const PlistValue::Array &k = keys->toArray();
    const PlistValue::Array &o = objects->toArray();
    for (size_t i = 0; i < k.size(); ++i) {
        if (!k[i].isUid() || !o[i].isUid()) {
            u.failMalformed();
            return QVariant();
        }
        const QVariant key = u.decodeObject(k[i]);
        if (u.hasError())
            return QVariant();
        if (KeyedUnarchiver::isUnusable(key))
            return key;
        if (key.typeId() != QMetaType::QString) {
            u.failMalformed();
            return QVariant();
        }
        QVariant value = u.decodeObject(o[i]);
        if (u.hasError())
            return QVariant();
        if (KeyedUnarchiver::isUnusable(value))
            return value;
        entries.insert(key.toString(), std::move(value));
    }
    return entries;
}

QVariant decodeString(KeyedUnarchiver &u)
{
    const PlistValue *text = u.valueForKey(kNSString);
    if (!text || !text->isString()) {
        u.failMalformed();
        return QVariant();
    }
    return text->toString();
}

QVariant decodeDate(KeyedUnarchiver &u)
{
    const PlistValue *time = u.valueForKey(kNSTime);
    if (!time || !(time->isReal() || time->isInteger())) {
        u.failMalformed();
        return QVariant();
    }
    const double seconds = u.decodeDoubleForKey(kNSTime);
    if (!std::isfinite(seconds)) {
        u.failMalformed();
        return QVariant();
    }
    return QVariant::fromValue(Date(seconds));
}

QVariant decodeData(KeyedUnarchiver &u)
{
    const PlistValue *data = u.valueForKey(kNSData);
    if (!data || !data->isData()) {
        u.failMalformed();
        return QVariant();
    }
    return data->toData();
}

} // namespace

void KeyedUnarchiver::registerFoundationClasses()
{
    registerClass(QStringLiteral("NSArray"), decodeArray);
    registerClass(QStringLiteral("NSMutableArray"), decodeArray);
    registerClass(QStringLiteral("NSDictionary"), decodeDictionary);
    registerClass(QStringLiteral("NSMutableDictionary"), decodeDictionary);
    registerClass(QStringLiteral("NSString"), decodeString);
    registerClass(QStringLiteral("NSMutableString"), decodeString);
    registerClass(QStringLiteral("NSDate"), decodeDate);
    registerClass(QStringLiteral("NSData"), decodeData);
    registerClass(QStringLiteral("NSMutableData"), decodeData);
    registerClass(QStringLiteral("NSNull"),
                  [](KeyedUnarchiver &) { return QVariant::fromValue(nullptr); });
}
