#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <atomic>
#include <memory>
#include <vector>

// One value of a property list: null, boolean, integer, real, date, data, string, array,
// dictionary or UID (the object reference of keyed archives).
//
// Values are immutable and cheap to copy: strings, data, arrays and dictionaries live in a
// reference-counted node that every copy shares. A reader that meets the same object many times
// in a file hands out the one decoded value each time, so heavily shared files stay small in
// memory, and a writer given a shared node writes it once.
//
// Integers are 64-bit signed; a value from 2^63 to 2^64-1 is kept as unsigned (isBigUnsigned()).
// Dates are seconds since 2001-01-01 00:00:00 UTC, as the binary format stores them.
class PlistValue
{
public:
    enum class Type : quint8
    {
        Null,
        Boolean,
        Integer,
        Real,
        Date,
        Data,
        String,
        Array,
        Dictionary,
        Uid
    };

    class Dictionary;
    using Array = std::vector<PlistValue>;

    PlistValue() noexcept { m_scalar.i = 0; }
    PlistValue(const PlistValue &other) noexcept;
    PlistValue(PlistValue &&other) noexcept;
    PlistValue &operator=(const PlistValue &other) noexcept;
    PlistValue &operator=(PlistValue &&other) noexcept;
    ~PlistValue();

    static PlistValue boolean(bool value);
    static PlistValue integer(qint64 value);
    static PlistValue unsignedInteger(quint64 value);
    static PlistValue real(double value);
    static PlistValue date(double secondsSince2001);
    static PlistValue uid(quint64 value);
    static PlistValue string(const QString &value);
    static PlistValue data(const QByteArray &value);
    static PlistValue array(Array items);
    static PlistValue dictionary(Dictionary entries);

    Type type() const { return m_type; }
    bool isNull() const { return m_type == Type::Null; }
    bool isBoolean() const { return m_type == Type::Boolean; }
    bool isInteger() const { return m_type == Type::Integer; }
    bool isReal() const { return m_type == Type::Real; }
    bool isDate() const { return m_type == Type::Date; }
    bool isData() const { return m_type == Type::Data; }
    bool isString() const { return m_type == Type::String; }
    bool isArray() const { return m_type == Type::Array; }
    bool isDictionary() const { return m_type == Type::Dictionary; }
    bool isUid() const { return m_type == Type::Uid; }

    // Accessors answer a neutral value (false, 0, empty) when the type does not match.
    bool toBool() const { return m_type == Type::Boolean && m_scalar.b; }
    // The integer; a big unsigned value comes out wrapped, check isBigUnsigned() first.
    qint64 toInteger() const { return m_type == Type::Integer ? m_scalar.i : 0; }
    quint64 toUnsigned() const { return m_type == Type::Integer ? quint64(m_scalar.i) : 0; }
    bool isBigUnsigned() const { return m_type == Type::Integer && m_bigUnsigned; }
    double toReal() const { return m_type == Type::Real ? m_scalar.d : 0.0; }
    double toDate() const { return m_type == Type::Date ? m_scalar.d : 0.0; }
    quint64 toUid() const { return m_type == Type::Uid ? quint64(m_scalar.i) : 0; }
    QString toString() const;
    QByteArray toData() const;
    const Array &toArray() const;
    const Dictionary &toDictionary() const;

    // The shared node of a string, data, array or dictionary; null for scalars. Two values with
    // the same node are copies of one another.
    const void *node() const { return hasNode() ? m_scalar.node : nullptr; }
    // True when other values share this one's node.
    bool isShared() const;

    // Deep comparison. Reals and dates compare by their bits (a NaN equals the same NaN);
    // dictionaries compare regardless of key order. Shared structure is compared once.
    bool operator==(const PlistValue &other) const;
    bool operator!=(const PlistValue &other) const { return !(*this == other); }

    // A short human-readable type name for messages ("dictionary", "UID", ...).
    static QString typeName(Type type);

private:
    struct Node;
    struct StringNode;
    struct DataNode;
    struct ArrayNode;
    struct DictionaryNode;

    bool hasNode() const { return m_type >= Type::Data && m_type <= Type::Dictionary; }
    void retain() const;
    void release();
    static void destroy(Type type, Node *node);

    union Scalar {
        bool b;
        qint64 i;
        double d;
        Node *node;
    } m_scalar;
    Type m_type = Type::Null;
    bool m_bigUnsigned = false;
};

// A dictionary with string keys that keeps the order in which keys were inserted. Small
// dictionaries search their keys in order; larger ones keep a hash index, so a lookup never
// costs more than a few comparisons whatever a file puts in a dictionary.
class PlistValue::Dictionary
{
public:
    Dictionary() = default;
    Dictionary(const Dictionary &other);
    Dictionary(Dictionary &&other) noexcept = default;
    Dictionary &operator=(const Dictionary &other);
    Dictionary &operator=(Dictionary &&other) noexcept = default;
    ~Dictionary();

    void reserve(qsizetype size);
    // Adds the key at the end; a key already present is left as it was and false is returned.
    bool insert(const QString &key, PlistValue value);
    // Adds a key the caller has made sure is not present yet, without looking (a reader that
    // has checked the keys of a dictionary another way). Checked only in debug builds.
    void insertNew(const QString &key, PlistValue value);

    qsizetype size() const { return qsizetype(m_entries.size()); }
    bool isEmpty() const { return m_entries.empty(); }
    const QString &keyAt(qsizetype i) const { return m_entries[size_t(i)].first; }
    const PlistValue &valueAt(qsizetype i) const { return m_entries[size_t(i)].second; }
    // The value under the key, or nullptr when the key is absent.
    const PlistValue *find(const QString &key) const;
    bool contains(const QString &key) const { return find(key) != nullptr; }
    // The value under the key; a null value when the key is absent.
    PlistValue value(const QString &key) const;

    // Same keys with equal values, in any order.
    bool operator==(const Dictionary &other) const;

private:
    friend class PlistValue;
    static constexpr size_t kIndexThreshold = 16;
    qsizetype indexOf(const QString &key) const;
    void buildIndex();

    std::vector<std::pair<QString, PlistValue>> m_entries;
    std::unique_ptr<QHash<QString, qsizetype>> m_index;
};
