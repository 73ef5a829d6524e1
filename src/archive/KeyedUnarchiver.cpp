#include "KeyedUnarchiver.h"

#include "BinaryPropertyList.h"
#include "Date.h"
#include "PropertyList.h"

#include <cmath>
#include <limits>
#include <unordered_set>

namespace {

struct UnusableObject
{
    QString reason;
};

const QString kClass = QStringLiteral("$class");
const QString kClassName = QStringLiteral("$classname");
const QString kClasses = QStringLiteral("$classes");
const QString kNSObjects = QStringLiteral("NS.objects");
const QString kNSKeys = QStringLiteral("NS.keys");
const QString kNSString = QStringLiteral("NS.string");
const QString kNSTime = QStringLiteral("NS.time");
const QString kNSData = QStringLiteral("NS.data");

constexpr quint64 kBaseBudget = 1000000;
// Objects decoded between two calls of the page release: a few hundred kilobytes of a file.
constexpr quint32 kReleaseEvery = 1 << 15;

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
    m_records.clear(); // resolved class records may point into the table
}

// --- Opening -------------------------------------------------------------------------------------

bool KeyedUnarchiver::open(const QByteArray &data)
{
    m_error.clear();
    m_open = false;
    if (BinaryPropertyList::isBinary(data)) {
        if (!m_view.open(data))
            return failView();
    } else {
        // XML archives are rare: read them into values and look at them in binary form.
        PlistValue archive;
        QString error;
        if (!PropertyList::read(data, &archive, &error))
            return fail(error);
        if (!m_view.open(BinaryPropertyList::write(archive)))
            return failView();
    }
    if (!openView())
        return false;
    // Every object reference costs at least a byte of the file; allow a generous multiple of
    // the file's size in decoding work, which legitimate files never come near.
    m_budget = kBaseBudget + 16 * quint64(data.size());
    return true;
}

bool KeyedUnarchiver::open(const PlistValue &archive)
{
    m_error.clear();
    m_open = false;
    const QByteArray bytes = BinaryPropertyList::write(archive);
    if (!m_view.open(bytes))
        return failView();
    if (!openView())
        return false;
    m_budget = kBaseBudget + 16 * quint64(bytes.size());
    return true;
}

// Checks the envelope: {"$archiver": "NSKeyedArchiver", "$version": 100000, "$top": {...},
// "$objects": [...]}, each key once.
bool KeyedUnarchiver::openView()
{
    m_states.clear();
    m_kept.clear();
    std::vector<QVariant>().swap(m_values); // and its room, which open() sizes again
    m_records.clear();
    m_keyIds.clear();
    m_keyTexts.clear();
    m_idTexts.assign(1, QString());
    m_keySeenBy.clear();
    m_lookups.clear();
    m_stringLists.clear();
    m_fields.clear();
    m_stack.clear();
    m_tolerance = 0;

    Object top;
    if (!objectAt(m_view.topObject(), &top))
        return false;
    if (top.type != PlistValue::Type::Dictionary)
        return fail(qtTrId("archive.error.not_archive"));
    int archiver = 0, version = 0, objects = 0, topKeys = 0;
    for (quint64 i = 0; i < top.count; ++i) {
        Object key, value;
        if (!objectAt(m_view.refAt(top, i), &key) ||
            !objectAt(m_view.refAt(top, top.count + i), &value))
            return false;
        if (m_view.stringEquals(key, u"$archiver")) {
            ++archiver;
            if (!m_view.stringEquals(value, u"NSKeyedArchiver"))
                return fail(qtTrId("archive.error.not_archive"));
        } else if (m_view.stringEquals(key, u"$version")) {
            ++version;
            if (value.type != PlistValue::Type::Integer || m_view.integer(value) != 100000)
                return fail(qtTrId("archive.error.not_archive"));
        } else if (m_view.stringEquals(key, u"$objects")) {
            ++objects;
            m_objects = value;
        } else if (m_view.stringEquals(key, u"$top")) {
            ++topKeys;
            m_top = value;
        }
    }
    if (archiver != 1 || version != 1 || objects != 1 || topKeys != 1 ||
        m_objects.type != PlistValue::Type::Array || m_objects.count == 0 ||
        m_top.type != PlistValue::Type::Dictionary ||
        m_objects.count >= std::numeric_limits<quint32>::max())
        return fail(qtTrId("archive.error.not_archive"));
    m_states.assign(size_t(m_objects.count), State::Unvisited);
    m_kept.assign(size_t(m_objects.count), 0);
    m_values.reserve(size_t(m_objects.count));
    m_open = true;
    return true;
}

QVariant KeyedUnarchiver::decodeTopLevelObject(const QString &key)
{
    if (!m_open || hasError())
        return QVariant();
    for (quint64 i = 0; i < m_top.count; ++i) {
        Object name;
        if (!objectAt(m_view.refAt(m_top, i), &name))
            return QVariant();
        if (!m_view.stringEquals(name, key))
            continue;
        Object reference;
        if (!objectAt(m_view.refAt(m_top, m_top.count + i), &reference))
            return QVariant();
        if (reference.type != PlistValue::Type::Uid) {
            fail(qtTrId("archive.error.not_archive"));
            return QVariant();
        }
        return decodeUid(m_view.uid(reference));
    }
    return QVariant();
}

// --- Errors and markers --------------------------------------------------------------------------

bool KeyedUnarchiver::fail(const QString &message)
{
    if (m_error.isEmpty())
        m_error = message;
    return false;
}

bool KeyedUnarchiver::failView()
{
    return fail(m_view.error());
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
             .arg(context ? context->record->name : QString()));
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

bool KeyedUnarchiver::objectAt(quint64 ref, Object *out)
{
    if (!m_view.isValidRef(ref))
        //: %1 is the number of an object inside the file
        return fail(qtTrId("plist.error.reference").arg(ref));
    return m_view.object(ref, out) || failView();
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

// The place for the object's value, made on first use.
QVariant &KeyedUnarchiver::keptValue(quint64 uid)
{
    quint32 &place = m_kept[size_t(uid)];
    if (place == 0) {
        // At most one place per object, and open() takes fewer than 2^32 objects.
        m_values.emplace_back();
        place = quint32(m_values.size());
    }
    return m_values[place - 1];
}

QVariant KeyedUnarchiver::markUnusable(quint64 uid, const QString &reason)
{
    m_states[size_t(uid)] = State::Unusable;
    QVariant &value = keptValue(uid);
    value = unusable(reason);
    if (m_tolerance == 0) {
        fail(reason);
        return QVariant();
    }
    return value;
}

// --- Keys
// ------------------------------------------------------------------------------------------

// A number per distinct key text of the file: keys of an object are compared by number, and
// each key object of the file is decoded once however many objects use it.
quint32 KeyedUnarchiver::keyId(quint64 ref, quint64 dictionary)
{
    if (m_keyIds.empty())
        m_keyIds.resize((size_t(m_view.objectCount()) + kKeyPage - 1) / kKeyPage);
    std::unique_ptr<quint32[]> &page = m_keyIds[size_t(ref) / kKeyPage];
    if (!page)
        page = std::make_unique<quint32[]>(kKeyPage);
    quint32 &id = page[size_t(ref) % kKeyPage];
    if (id != 0)
        return id;
    Object key;
    if (!objectAt(ref, &key))
        return 0;
    if (key.type != PlistValue::Type::String) {
        //: %1 is the number of an object inside the file
        fail(qtTrId("plist.error.key").arg(dictionary));
        return 0;
    }
    const QString text = m_view.string(key);
    auto it = m_keyTexts.constFind(text);
    if (it != m_keyTexts.constEnd()) {
        id = *it;
    } else {
        id = quint32(m_idTexts.size());
        m_idTexts.push_back(text);
        m_keyTexts.insert(text, id);
    }
    return id;
}

// The id of a key a decode function asks for; 0 when no object of the file has that key.
quint32 KeyedUnarchiver::lookupId(const QString &key)
{
    // Decode functions pass the same few key strings again and again: remember them by the
    // address of their text. The table holds a copy of each key, so the text at a remembered
    // address stays what it was; a key the file lacks is remembered until the file's keys grow.
    // Keys made afresh for each call would fill the table: it starts again when it is full.
    constexpr size_t kMaxLookups = 256;
    const QChar *address = key.constData();
    if (const Lookup *known = m_lookups.find(quintptr(address))) {
        if (known->key.size() == key.size() && (known->id != 0 || known->known == m_idTexts.size()))
            return known->id;
    }
    const quint32 id = m_keyTexts.value(key, 0);
    if (m_lookups.size() >= kMaxLookups)
        m_lookups.clear();
    bool inserted = false;
    m_lookups.findOrInsert(quintptr(address), Lookup(), &inserted) = {key, id, m_idTexts.size()};
    return id;
}

bool KeyedUnarchiver::field(const QString &key, Object *value)
{
    if (m_stack.empty() || hasError())
        return false;
    const quint32 id = lookupId(key);
    if (id == 0)
        return false;
    const Context &context = m_stack.back();
    const Field *f = m_fields.data() + context.firstField;
    for (size_t i = 0; i < context.fieldCount; ++i) {
        if (f[i].key == id)
            return objectAt(f[i].value, value);
    }
    return false;
}

// --- Decoding ------------------------------------------------------------------------------------

QVariant KeyedUnarchiver::decodeUid(quint64 uid)
{
    if (hasError() || !spend(1))
        return QVariant();
    if (m_release && ++m_sinceRelease == kReleaseEvery) {
        m_sinceRelease = 0;
        m_release();
    }
    if (uid == 0)
        return QVariant();
    Object object;
    if (uid >= m_objects.count) {
        //: %1 and %2 are numbers of objects in the file
        fail(qtTrId("archive.error.reference")
                 .arg(m_stack.empty() ? 0 : m_stack.back().uid)
                 .arg(uid));
        return QVariant();
    }
    State &state = m_states[size_t(uid)];
    if (state == State::Done) // strings and data are kept too: repeated tags share text
        return keptValue(uid);
    if (!objectAt(m_view.refAt(m_objects, uid), &object))
        return QVariant();
    switch (object.type) {
    case PlistValue::Type::String:
        state = State::Done;
        return keptValue(uid) = m_view.string(object);
    case PlistValue::Type::Integer: {
        bool big = false;
        const qint64 i = m_view.integer(object, &big);
        return big ? QVariant(qulonglong(i)) : QVariant(qlonglong(i));
    }
    case PlistValue::Type::Real:
        return m_view.real(object);
    case PlistValue::Type::Boolean:
        return m_view.boolean(object);
    case PlistValue::Type::Data:
        state = State::Done;
        return keptValue(uid) = m_view.data(object);
    case PlistValue::Type::Dictionary:
        return decodeClassObject(uid, object);
    default:
        //: %1 is the number of an object in the file, %2 its class name
        fail(qtTrId("archive.error.malformed").arg(uid).arg(PlistValue::typeName(object.type)));
        return QVariant();
    }
}

// Resolves the class record named by the "$class" field of the object being set up, checking
// it each time (the result of looking up the name in the allow-list is remembered per record).
bool KeyedUnarchiver::classRecord(quint64 uid, size_t firstField, const ClassRecord **record)
{
    auto bad = [&] {
        //: %1 is the number of an object in the file
        return fail(qtTrId("archive.error.class_record").arg(uid));
    };
    const quint32 classKey = lookupId(kClass);
    quint64 recordUid = 0;
    for (size_t i = firstField; i < m_fields.size(); ++i) {
        if (classKey == 0 || m_fields[i].key != classKey)
            continue;
        Object reference;
        if (!objectAt(m_fields[i].value, &reference))
            return false;
        if (reference.type != PlistValue::Type::Uid)
            return bad();
        recordUid = m_view.uid(reference);
        if (recordUid == 0 || recordUid >= m_objects.count)
            return bad();
    }
    if (recordUid == 0)
        return bad();
    auto known = m_records.find(recordUid);
    if (known != m_records.end()) {
        *record = &known->second;
        return true;
    }
    Object recordObject;
    if (!objectAt(m_view.refAt(m_objects, recordUid), &recordObject))
        return false;
    if (recordObject.type != PlistValue::Type::Dictionary)
        return bad();
    ClassRecord resolved;
    bool named = false;
    for (quint64 i = 0; i < recordObject.count; ++i) {
        Object key, value;
        if (!objectAt(m_view.refAt(recordObject, i), &key) ||
            !objectAt(m_view.refAt(recordObject, recordObject.count + i), &value))
            return false;
        if (m_view.stringEquals(key, kClassName)) {
            if (value.type != PlistValue::Type::String || named)
                return bad();
            resolved.name = m_view.string(value);
            named = true;
        } else if (m_view.stringEquals(key, kClasses) && value.type == PlistValue::Type::Array) {
            // Kept only to write unknown objects back; nothing is looked up by these names.
            for (quint64 c = 0; c < value.count && c < 64; ++c) {
                Object name;
                if (!objectAt(m_view.refAt(value, c), &name))
                    return false;
                if (name.type == PlistValue::Type::String)
                    resolved.classes.append(m_view.string(name));
            }
        }
    }
    if (!named)
        return bad();
    if (resolved.classes.value(0) != resolved.name)
        resolved.classes = {resolved.name, QStringLiteral("NSObject")};
    auto decoder = m_classes.constFind(resolved.name);
    if (decoder != m_classes.constEnd()) {
        resolved.decode = &*decoder;
        const auto *function = decoder->target<QVariant (*)(KeyedUnarchiver &)>();
        resolved.keep = !function || *function != &decodeDate;
    }
    *record = &m_records.emplace(recordUid, resolved).first->second;
    return true;
}

QVariant KeyedUnarchiver::decodeClassObject(quint64 uid, const Object &object)
{
    switch (m_states[size_t(uid)]) {
    case State::Done:
        return keptValue(uid);
    case State::DoneStrings: {
        const QStringList strings = keptValue(uid).toStringList();
        return QVariantList(strings.cbegin(), strings.cend());
    }
    case State::Active:
        //: %1 is the number of an object in the file
        fail(qtTrId("archive.error.cycle").arg(uid));
        return QVariant();
    case State::Unusable:
        if (m_tolerance == 0) {
            fail(unusableReason(keptValue(uid)));
            return QVariant();
        }
        return keptValue(uid);
    case State::Unvisited:
        break;
    }

    // The object's keys, checked each time it is decoded (once, unless its class is decoded
    // afresh at every use): every key a string, no key twice. The check is work like any other,
    // and takes one step a key, however many keys there are.
    const size_t firstField = m_fields.size();
    auto abandon = [&] {
        m_fields.resize(firstField);
        return QVariant();
    };
    if (!spend(object.count))
        return QVariant();
    ++m_keysChecked;
    for (quint64 i = 0; i < object.count; ++i) {
        const quint64 keyRef = m_view.refAt(object, i);
        const quint64 valueRef = m_view.refAt(object, object.count + i);
        if (!m_view.isValidRef(keyRef) || !m_view.isValidRef(valueRef)) {
            //: %1 is the number of an object inside the file
            fail(qtTrId("plist.error.reference").arg(object.index));
            return abandon();
        }
        const quint32 id = keyId(keyRef, object.index);
        if (id == 0)
            return abandon();
        if (m_keySeenBy.size() <= id)
            m_keySeenBy.resize(m_idTexts.size());
        if (m_keySeenBy[id] == m_keysChecked) {
            //: %1 is the number of an object inside the file
            fail(qtTrId("plist.error.key").arg(object.index));
            return abandon();
        }
        m_keySeenBy[id] = m_keysChecked;
        m_fields.push_back({id, valueRef});
    }

    const ClassRecord *record = nullptr;
    if (!classRecord(uid, firstField, &record))
        return abandon();
    if (!record->decode && m_keepUnknown == 0) {
        m_fields.resize(firstField);
        //: %1 is a class name found in the file
        return markUnusable(uid, qtTrId("archive.error.unknown_class").arg(record->name));
    }
    if (m_stack.size() >= size_t(kMaxDepth)) {
        //: %1 is the greatest nesting depth allowed
        fail(qtTrId("archive.error.depth").arg(kMaxDepth));
        return abandon();
    }

    State &state = m_states[size_t(uid)]; // m_states never grows after open()
    state = State::Active;
    m_stack.push_back({uid, record, firstField, m_fields.size() - firstField});
    QVariant value = record->decode ? (*record->decode)(*this) : decodeUnknown(*record);
    m_stack.pop_back();
    m_fields.resize(firstField);
    if (hasError()) {
        state = State::Unusable;
        keptValue(uid) = unusable(m_error);
        return QVariant();
    }
    if (isUnusable(value))
        return markUnusable(uid, unusableReason(value));
    if (!record->keep) {
        state = State::Unvisited;
        return value;
    }
    state = State::Done;
    keptValue(uid) = value;
    return value;
}

// Keeps the current object, of a class not on the allow-list, as an ArchivedObject. An inline
// value that holds object references itself cannot be written back faithfully: the object is
// then unusable.
QVariant KeyedUnarchiver::keepCurrentObject()
{
    return m_stack.empty() || hasError() ? QVariant() : decodeUnknown(*m_stack.back().record);
}

QVariant KeyedUnarchiver::decodeUnknown(const ClassRecord &record)
{
    ArchivedObject kept;
    kept.classes = record.classes;
    const Context context = m_stack.back();
    const quint32 classKey = lookupId(kClass);
    for (size_t i = 0; i < context.fieldCount; ++i) {
        const Field field = m_fields[context.firstField + i];
        if (field.key == classKey)
            continue;
        if (!spend(1))
            return QVariant();
        ArchivedObject::Field keptField;
        keptField.key = m_idTexts[field.key];
        Object value;
        if (!objectAt(field.value, &value))
            return QVariant();
        bool references = value.type == PlistValue::Type::Array && value.count > 0;
        for (quint64 e = 0; references && e < value.count; ++e) {
            Object element;
            if (!objectAt(m_view.refAt(value, e), &element))
                return QVariant();
            references = element.type == PlistValue::Type::Uid;
        }
        if (value.type == PlistValue::Type::Uid) {
            keptField.kind = ArchivedObject::Field::Kind::Object;
            keptField.object = decodeUid(m_view.uid(value));
            if (isUnusable(keptField.object))
                return keptField.object;
        } else if (references) {
            keptField.kind = ArchivedObject::Field::Kind::Objects;
            for (quint64 e = 0; e < value.count; ++e) {
                Object element;
                if (!objectAt(m_view.refAt(value, e), &element))
                    return QVariant();
                QVariant item = decodeUid(m_view.uid(element));
                if (isUnusable(item))
                    return item;
                keptField.objects.append(item);
            }
        } else {
            keptField.kind = ArchivedObject::Field::Kind::Value;
            if (!m_view.materialize(value.index, &keptField.value)) {
                failView();
                return QVariant();
            }
            // Look for object references anywhere inside, without recursion, and once in each
            // array or dictionary however often the property list refers to it.
            std::vector<const PlistValue *> pending{&keptField.value};
            std::unordered_set<const void *> seen;
            while (!pending.empty()) {
                const PlistValue *v = pending.back();
                pending.pop_back();
                if (v->node() && !seen.insert(v->node()).second)
                    continue;
                if (v->isUid())
                    //: %1 is a class name found in the file
                    return unusable(qtTrId("archive.error.unknown_class").arg(record.name));
                if (!spend(1))
                    return QVariant();
                for (const PlistValue &item : v->toArray())
                    pending.push_back(&item);
                const PlistValue::Dictionary &d = v->toDictionary();
                for (qsizetype k = 0; k < d.size(); ++k)
                    pending.push_back(&d.valueAt(k));
            }
        }
        if (hasError())
            return QVariant();
        kept.fields.append(keptField);
    }
    return QVariant::fromValue(kept);
}

QString KeyedUnarchiver::className() const
{
    return m_stack.empty() ? QString() : m_stack.back().record->name;
}

bool KeyedUnarchiver::containsValueForKey(const QString &key)
{
    Object value;
    return field(key, &value);
}

PlistValue KeyedUnarchiver::valueForKey(const QString &key)
{
    Object value;
    PlistValue result;
    if (field(key, &value) && !m_view.materialize(value.index, &result))
        failView();
    return result;
}

QVariant KeyedUnarchiver::decodeObjectForKey(const QString &key)
{
    Object value;
    if (!field(key, &value) || value.type != PlistValue::Type::Uid)
        return QVariant();
    return decodeUid(m_view.uid(value));
}

QStringList KeyedUnarchiver::decodeStringsForKey(const QString &key, bool *isList)
{
    *isList = false;
    Object value;
    if (!field(key, &value) || value.type != PlistValue::Type::Uid)
        return QStringList();
    const quint64 uid = m_view.uid(value);
    State *state = uid != 0 && uid < m_objects.count ? &m_states[size_t(uid)] : nullptr;
    if (state && *state == State::DoneStrings) {
        // The work decodeUid() counts for an object decoded before.
        if (hasError() || !spend(1))
            return QStringList();
        *isList = true;
        return keptValue(uid).toStringList();
    }
    const QVariant decoded = decodeUid(uid);
    if (decoded.typeId() != QMetaType::QVariantList)
        return QStringList();
    const QVariantList items = decoded.toList();
    QStringList strings;
    strings.reserve(items.size());
    for (const QVariant &item : items) {
        if (item.typeId() != QMetaType::QString)
            return QStringList();
        strings.append(item.toString());
    }
    const auto known = m_stringLists.constFind(strings);
    if (known != m_stringLists.constEnd())
        strings = *known;
    else
        m_stringLists.insert(strings);
    *isList = true;
    if (state && *state == State::Done) {
        keptValue(uid) = QVariant(strings);
        *state = State::DoneStrings;
    }
    return strings;
}

QVariant KeyedUnarchiver::decodeArrayOfObjectsForKey(const QString &key)
{
    Object array;
    if (!field(key, &array) || array.type != PlistValue::Type::Array)
        return QVariant();
    QVariantList items;
    items.reserve(qsizetype(array.count));
    for (quint64 i = 0; i < array.count; ++i) {
        Object reference;
        if (!objectAt(m_view.refAt(array, i), &reference))
            return QVariant();
        if (reference.type != PlistValue::Type::Uid)
            return QVariant();
        QVariant item = decodeUid(m_view.uid(reference));
        if (hasError())
            return QVariant();
        if (isUnusable(item))
            return item;
        items.append(std::move(item));
    }
    return items;
}

bool KeyedUnarchiver::decodeBoolForKey(const QString &key)
{
    Object value;
    if (!field(key, &value))
        return false;
    switch (value.type) {
    case PlistValue::Type::Boolean:
        return m_view.boolean(value);
    case PlistValue::Type::Integer:
        return m_view.integer(value) != 0;
    case PlistValue::Type::Real:
        return m_view.real(value) != 0;
    default:
        return false;
    }
}

qint64 KeyedUnarchiver::decodeInt64ForKey(const QString &key)
{
    Object value;
    if (!field(key, &value))
        return 0;
    switch (value.type) {
    case PlistValue::Type::Boolean:
        return m_view.boolean(value) ? 1 : 0;
    case PlistValue::Type::Integer: {
        bool big = false;
        const qint64 i = m_view.integer(value, &big);
        return big ? 0 : i;
    }
    case PlistValue::Type::Real: {
        const double d = m_view.real(value);
        // The open upper bound keeps the conversion defined: 2^63 itself does not fit.
        if (std::isfinite(d) && d >= -9223372036854775808.0 && d < 9223372036854775808.0)
            return qint64(d);
        return 0;
    }
    default:
        return 0;
    }
}

qint32 KeyedUnarchiver::decodeIntForKey(const QString &key)
{
    const qint64 value = decodeInt64ForKey(key);
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return 0;
    return qint32(value);
}

double KeyedUnarchiver::decodeDoubleForKey(const QString &key)
{
    Object value;
    if (!field(key, &value))
        return 0;
    switch (value.type) {
    case PlistValue::Type::Real:
        return m_view.real(value);
    case PlistValue::Type::Integer: {
        bool big = false;
        const qint64 i = m_view.integer(value, &big);
        return big ? double(quint64(i)) : double(i);
    }
    case PlistValue::Type::Boolean:
        return m_view.boolean(value) ? 1 : 0;
    default:
        return 0;
    }
}

// --- Foundation classes --------------------------------------------------------------------------

QVariant KeyedUnarchiver::decodeArray(KeyedUnarchiver &u)
{
    QVariant items = u.decodeArrayOfObjectsForKey(kNSObjects);
    if (!items.isValid() && !u.hasError())
        u.failMalformed();
    return items;
}

QVariant KeyedUnarchiver::decodeDictionary(KeyedUnarchiver &u)
{
    Object keys, objects;
    if (!u.field(kNSKeys, &keys) || !u.field(kNSObjects, &objects) ||
        keys.type != PlistValue::Type::Array || objects.type != PlistValue::Type::Array ||
        keys.count != objects.count) {
        u.failMalformed();
        return QVariant();
    }
    QVariantMap entries;
    for (quint64 i = 0; i < keys.count; ++i) {
        Object keyReference, objectReference;
        if (!u.objectAt(u.m_view.refAt(keys, i), &keyReference) ||
            !u.objectAt(u.m_view.refAt(objects, i), &objectReference))
            return QVariant();
        if (keyReference.type != PlistValue::Type::Uid ||
            objectReference.type != PlistValue::Type::Uid) {
            u.failMalformed();
            return QVariant();
        }
        const QVariant key = u.decodeUid(u.m_view.uid(keyReference));
        if (u.hasError())
            return QVariant();
        if (isUnusable(key))
            return key;
        if (key.typeId() != QMetaType::QString) {
            u.failMalformed();
            return QVariant();
        }
        QVariant value = u.decodeUid(u.m_view.uid(objectReference));
        if (u.hasError())
            return QVariant();
        if (isUnusable(value))
            return value;
        entries.insert(key.toString(), std::move(value));
    }
    return entries;
}

QVariant KeyedUnarchiver::decodeString(KeyedUnarchiver &u)
{
    Object text;
    if (!u.field(kNSString, &text) || text.type != PlistValue::Type::String) {
        u.failMalformed();
        return QVariant();
    }
    return u.m_view.string(text);
}

QVariant KeyedUnarchiver::decodeDate(KeyedUnarchiver &u)
{
    Object time;
    if (!u.field(kNSTime, &time) ||
        (time.type != PlistValue::Type::Real && time.type != PlistValue::Type::Integer)) {
        u.failMalformed();
        return QVariant();
    }
    const double seconds = u.decodeDoubleForKey(kNSTime);
    if (!std::isfinite(seconds)) {
        u.failMalformed();
        return QVariant();
    }
    const Date date(seconds);
    if (!date.isInRange()) {
        // Finite, but no calendar day: everything that shows, charts or filters readings would
        // have to cope with instants millions of years away.
        //: %1 is the number of an object in the file
        u.failWithReason(qtTrId("archive.error.date_range").arg(u.m_stack.back().uid));
        return QVariant();
    }
    return QVariant::fromValue(date);
}

QVariant KeyedUnarchiver::decodeData(KeyedUnarchiver &u)
{
    Object data;
    if (!u.field(kNSData, &data) || data.type != PlistValue::Type::Data) {
        u.failMalformed();
        return QVariant();
    }
    return u.m_view.data(data);
}

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
