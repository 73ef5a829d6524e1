#pragma once

#include "ArchivedObject.h"
#include "BinaryPlistBuilder.h"
#include "PlistValue.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

// Writes keyed archives in the layout of Foundation's NSKeyedArchiver (see KeyedUnarchiver for
// the layout), as binary property lists that Foundation's unarchiver reads.
//
// Values are given as QVariants. Foundation's own kinds are built in: QString (bare string),
// bool, integers and doubles (bare numbers), QByteArray (bare data), Date (NSDate),
// QVariantList and QStringList (NSArray), QVariantMap (NSDictionary), MutableArray and
// MutableDictionary (their mutable kinds), nullptr (NSNull); an invalid QVariant is nil. Other
// types are archived by the encode function registered for them, which writes the object's
// keys with the encode...() calls below. Values held by std::shared_ptr are archived once per
// object: every further reference to the same object refers to the one archived copy.
// Equal strings and numbers are stored once as well.
//
// Nothing here throws. A failure (an unregistered type, a date outside Date::isInRange(),
// nesting deeper than kMaxDepth, or failWithReason() from an encode function) stops the
// archiving; archivedData() then answers empty data and errorString() the reason.
class KeyedArchiver
{
public:
    static constexpr int kMaxDepth = 256;

    struct MutableArray
    {
        QVariantList items;
    };
    // An object already in the archive (see encodeNewObject()); it can stand wherever a value
    // can, and is archived as a reference to that object.
    struct Reference
    {
        quint64 uid = 0;
    };
    struct MutableDictionary
    {
        QVariantMap entries;
    };

    using EncodeFunction = std::function<void(KeyedArchiver &, const QVariant &)>;
    using IdentityFunction = std::function<const void *(const QVariant &)>;
    using ConvertFunction = std::function<QVariant(KeyedArchiver &, const QVariant &)>;

    KeyedArchiver();
    ~KeyedArchiver();
    KeyedArchiver(const KeyedArchiver &) = delete;
    KeyedArchiver &operator=(const KeyedArchiver &) = delete;

    // Registers how values of type T are archived: the class chain, most derived first and
    // ending in "NSObject", and the function that encodes one value's keys.
    template <class T>
    void registerClass(const QStringList &classChain,
                       std::function<void(KeyedArchiver &, const T &)> encode);
    void registerClass(QMetaType type, const QStringList &classChain, EncodeFunction encode,
                       IdentityFunction identity = {});
    // Registers a conversion: values of type T are archived as whatever the function answers,
    // typically a Reference from encodeNewObject() when the class depends on the value. Values
    // held by std::shared_ptr are still archived once per object.
    template <class T>
    void registerConverter(std::function<QVariant(KeyedArchiver &, const T &)> convert);

    // Archives the root object under "root" and answers the binary property list, or empty
    // data on failure.
    QByteArray archivedData(const QVariant &root);
    // The same archive as a property-list value.
    PlistValue archive(const QVariant &root);

    bool hasError() const { return !m_error.isEmpty(); }
    QString errorString() const { return m_error; }

    // --- Inside an encode function: keys of the object being archived ------------------------

    void encodeObject(const QVariant &object, const QString &key);
    template <class T> void encodeObject(const std::shared_ptr<T> &object, const QString &key)
    {
        encodeObject(object ? QVariant::fromValue(object) : QVariant(), key);
    }
    void encodeBool(bool value, const QString &key);
    void encodeInt(qint32 value, const QString &key) { encodeInt64(value, key); }
    void encodeInt64(qint64 value, const QString &key);
    void encodeDouble(double value, const QString &key);
    // A raw property-list value under the key (for forms that store arrays of references).
    void encodeValue(const PlistValue &value, const QString &key);

    // Archives the object (if not archived yet) and answers its UID, for building such arrays.
    PlistValue referenceTo(const QVariant &object);

    // Archives a new object of the class chain (most derived first, ending in "NSObject") whose
    // keys the function encodes, and answers a reference to it.
    Reference encodeNewObject(const QStringList &classChain,
                              const std::function<void(KeyedArchiver &)> &encodeKeys);

    // Stops the archiving with the reason. The first reason is kept.
    void failWithReason(const QString &reason);

private:
    struct ClassEntry
    {
        QStringList chain;
        EncodeFunction encode;
        IdentityFunction identity;
        ConvertFunction convert;
    };
    struct Frame
    {
        quint64 uid;
        size_t firstField;
    };
    using Ref = BinaryPlistBuilder::Ref;

    template <class T> struct IsSharedPointer : std::false_type
    {};
    template <class T> struct IsSharedPointer<std::shared_ptr<T>> : std::true_type
    {};

    void reset();
    quint64 encode(const QVariant &value);
    quint64 bare(Ref ref);
    quint64 encodeString(const QString &text);
    quint64 encodeInteger(qint64 value, bool bigUnsigned);
    quint64 encodeReal(double value);
    quint64 encodeArray(const QVariantList &items, bool isMutable);
    quint64 encodeStringList(const QStringList &items);
    quint64 encodeDictionary(const QVariantMap &entries, bool isMutable);
    quint64 encodeArchivedObject(const ArchivedObject &object);
    quint64 classRecord(const QStringList &chain);
    bool beginObject(const QStringList &chain, quint64 *uid);
    void endObject();
    void put(const QString &key, Ref value);

    QHash<int, ClassEntry> m_classes;
    BinaryPlistBuilder m_builder;
    QList<Ref> m_objects; // "$objects": the list object of each UID
    std::vector<Frame> m_frames;
    std::vector<std::pair<Ref, Ref>> m_fields; // keys and values of the open objects
    std::vector<Ref> m_scratch;                // references of the open arrays
    std::vector<Ref> m_keys, m_values;
    QHash<QString, quint64> m_strings;
    FlatHash<std::pair<qsizetype, quint64>> m_stringsByAddress;
    FlatHash<quint64> m_integers, m_bigUnsigned, m_reals;
    quint64 m_true = 0, m_false = 0, m_null = 0;
    QHash<QString, quint64> m_classRecords;
    // Chains found by address, with a copy to confirm that the address still holds that chain.
    std::unordered_map<const QStringList *, std::pair<QStringList, quint64>>
        m_classRecordsByAddress;
    int m_depth = 0;                // of encode() calls
    FlatHash<quint64> m_identities; // by address of the object
    QVariantList m_retained;        // the objects of m_identities
    QString m_error;
};

template <class T>
void KeyedArchiver::registerClass(const QStringList &classChain,
                                  std::function<void(KeyedArchiver &, const T &)> encode)
{
    IdentityFunction identity;
    if constexpr (IsSharedPointer<T>::value)
        identity = [](const QVariant &v) -> const void * {
            return static_cast<const T *>(v.constData())->get();
        };
    registerClass(
        QMetaType::fromType<T>(), classChain,
        [encode](KeyedArchiver &archiver, const QVariant &v) {
            encode(archiver, *static_cast<const T *>(v.constData()));
        },
        identity);
}

template <class T>
void KeyedArchiver::registerConverter(std::function<QVariant(KeyedArchiver &, const T &)> convert)
{
    ClassEntry entry;
    if constexpr (IsSharedPointer<T>::value)
        entry.identity = [](const QVariant &v) -> const void * {
            return static_cast<const T *>(v.constData())->get();
        };
    entry.convert = [convert](KeyedArchiver &archiver, const QVariant &v) {
        return convert(archiver, *static_cast<const T *>(v.constData()));
    };
    m_classes.insert(QMetaType::fromType<T>().id(), entry);
}

Q_DECLARE_METATYPE(KeyedArchiver::Reference)
Q_DECLARE_METATYPE(KeyedArchiver::MutableArray)
Q_DECLARE_METATYPE(KeyedArchiver::MutableDictionary)
