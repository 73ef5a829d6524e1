#include "PlistValue.h"

#include <QSet>

#include <cstring>
#include <utility>

struct PlistValue::Node
{
    std::atomic<int> ref{1};
};

struct PlistValue::StringNode : PlistValue::Node
{
    explicit StringNode(const QString &s) : value(s) {}
    QString value;
};

struct PlistValue::DataNode : PlistValue::Node
{
    explicit DataNode(const QByteArray &d) : value(d) {}
    QByteArray value;
};

struct PlistValue::ArrayNode : PlistValue::Node
{
    explicit ArrayNode(Array &&a) : value(std::move(a)) {}
    Array value;
};

struct PlistValue::DictionaryNode : PlistValue::Node
{
    explicit DictionaryNode(Dictionary &&d) : value(std::move(d)) {}
    Dictionary value;
};

// --- Lifetime
// -------------------------------------------------------------------------------------

PlistValue::PlistValue(const PlistValue &other) noexcept
    : m_scalar(other.m_scalar), m_type(other.m_type), m_bigUnsigned(other.m_bigUnsigned)
{
    retain();
}

PlistValue::PlistValue(PlistValue &&other) noexcept
    : m_scalar(other.m_scalar), m_type(other.m_type), m_bigUnsigned(other.m_bigUnsigned)
{
    other.m_type = Type::Null;
    other.m_scalar.i = 0;
}

PlistValue &PlistValue::operator=(const PlistValue &other) noexcept
{
    if (this != &other) {
        other.retain();
        release();
        m_scalar = other.m_scalar;
        m_type = other.m_type;
        m_bigUnsigned = other.m_bigUnsigned;
    }
    return *this;
}

PlistValue &PlistValue::operator=(PlistValue &&other) noexcept
{
    if (this != &other) {
        release();
        m_scalar = other.m_scalar;
        m_type = other.m_type;
        m_bigUnsigned = other.m_bigUnsigned;
        other.m_type = Type::Null;
        other.m_scalar.i = 0;
    }
    return *this;
}

PlistValue::~PlistValue()
{
    release();
}

bool PlistValue::isShared() const
{
    return hasNode() && m_scalar.node->ref.load(std::memory_order_relaxed) > 1;
}

void PlistValue::retain() const
{
    if (hasNode())
        m_scalar.node->ref.fetch_add(1, std::memory_order_relaxed);
}

void PlistValue::release()
{
    if (!hasNode())
        return;
    Node *node = m_scalar.node;
    const Type type = m_type;
    m_type = Type::Null;
    m_scalar.i = 0;
    if (node->ref.fetch_sub(1, std::memory_order_acq_rel) == 1)
        destroy(type, node);
}

// Frees a node whose last reference went away. Children of containers are handed to a
// per-thread queue and freed in a loop instead of by recursion, so that freeing a deeply
// nested value never runs out of stack.
void PlistValue::destroy(Type type, Node *node)
{
    thread_local std::vector<PlistValue> pending;
    thread_local bool draining = false;

    switch (type) {
    case Type::String:
        delete static_cast<StringNode *>(node);
        break;
    case Type::Data:
        delete static_cast<DataNode *>(node);
        break;
    case Type::Array: {
        auto *array = static_cast<ArrayNode *>(node);
        for (PlistValue &child : array->value) {
            if (child.hasNode())
                pending.push_back(std::move(child));
        }
        delete array;
        break;
    }
    case Type::Dictionary: {
        auto *dictionary = static_cast<DictionaryNode *>(node);
        for (auto &entry : dictionary->value.m_entries) {
            if (entry.second.hasNode())
                pending.push_back(std::move(entry.second));
        }
        delete dictionary;
        break;
    }
    default:
        break;
    }

    if (draining)
        return;
    draining = true;
    while (!pending.empty()) {
        PlistValue child = std::move(pending.back());
        pending.pop_back();
        // child's destructor runs here and may queue further nodes.
    }
    draining = false;
}

// --- Construction --------------------------------------------------------------------------------

PlistValue PlistValue::boolean(bool value)
{
    PlistValue v;
    v.m_type = Type::Boolean;
    v.m_scalar.b = value;
    return v;
}

PlistValue PlistValue::integer(qint64 value)
{
    PlistValue v;
    v.m_type = Type::Integer;
    v.m_scalar.i = value;
    return v;
}

PlistValue PlistValue::unsignedInteger(quint64 value)
{
    PlistValue v;
    v.m_type = Type::Integer;
    v.m_scalar.i = qint64(value);
    v.m_bigUnsigned = value > quint64(std::numeric_limits<qint64>::max());
    return v;
}

PlistValue PlistValue::real(double value)
{
    PlistValue v;
    v.m_type = Type::Real;
    v.m_scalar.d = value;
    return v;
}

PlistValue PlistValue::date(double secondsSince2001)
{
    PlistValue v;
    v.m_type = Type::Date;
    v.m_scalar.d = secondsSince2001;
    return v;
}

PlistValue PlistValue::uid(quint64 value)
{
    PlistValue v;
    v.m_type = Type::Uid;
    v.m_scalar.i = qint64(value);
    return v;
}

PlistValue PlistValue::string(const QString &value)
{
    PlistValue v;
    // An empty string read from a file is a string, not "none": keep it distinct from null.
    v.m_scalar.node = new StringNode(value.isNull() ? QStringLiteral("") : value);
    v.m_type = Type::String;
    return v;
}

PlistValue PlistValue::data(const QByteArray &value)
{
    PlistValue v;
    v.m_scalar.node = new DataNode(value);
    v.m_type = Type::Data;
    return v;
}

PlistValue PlistValue::array(Array items)
{
    PlistValue v;
    v.m_scalar.node = new ArrayNode(std::move(items));
    v.m_type = Type::Array;
    return v;
}

PlistValue PlistValue::dictionary(Dictionary entries)
{
    PlistValue v;
    v.m_scalar.node = new DictionaryNode(std::move(entries));
    v.m_type = Type::Dictionary;
    return v;
}

// --- Access --------------------------------------------------------------------------------------

QString PlistValue::toString() const
{
    return m_type == Type::String ? static_cast<const StringNode *>(m_scalar.node)->value
                                  : QString();
}

QByteArray PlistValue::toData() const
{
    return m_type == Type::Data ? static_cast<const DataNode *>(m_scalar.node)->value
                                : QByteArray();
}

const PlistValue::Array &PlistValue::toArray() const
{
    static const Array empty;
    return m_type == Type::Array ? static_cast<const ArrayNode *>(m_scalar.node)->value : empty;
}

const PlistValue::Dictionary &PlistValue::toDictionary() const
{
    static const Dictionary empty;
    return m_type == Type::Dictionary ? static_cast<const DictionaryNode *>(m_scalar.node)->value
                                      : empty;
}

QString PlistValue::typeName(Type type)
{
    switch (type) {
    case Type::Null:
        return QStringLiteral("null");
    case Type::Boolean:
        return QStringLiteral("boolean");
    case Type::Integer:
        return QStringLiteral("integer");
    case Type::Real:
        return QStringLiteral("real");
    case Type::Date:
        return QStringLiteral("date");
    case Type::Data:
        return QStringLiteral("data");
    case Type::String:
        return QStringLiteral("string");
    case Type::Array:
        return QStringLiteral("array");
    case Type::Dictionary:
        return QStringLiteral("dictionary");
    case Type::Uid:
        return QStringLiteral("UID");
    }
    return QString();
}

// --- Comparison ----------------------------------------------------------------------------------

namespace {

using ValuePair = std::pair<const PlistValue *, const PlistValue *>;

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Compares pairs of values without recursion. Pairs of containers already queued once are not
// compared again, so values that share structure are compared in time linear in their size.
bool equalPairs(std::vector<ValuePair> pending)
{
    QSet<std::pair<const void *, const void *>> queued;
    while (!pending.empty()) {
        const auto [a, b] = pending.back();
        pending.pop_back();
        if (a->type() != b->type())
            return false;
        switch (a->type()) {
        case PlistValue::Type::Null:
            break;
        case PlistValue::Type::Boolean:
            if (a->toBool() != b->toBool())
                return false;
            break;
        case PlistValue::Type::Integer:
            if (a->toInteger() != b->toInteger() || a->isBigUnsigned() != b->isBigUnsigned())
                return false;
            break;
        case PlistValue::Type::Real:
            if (!sameBits(a->toReal(), b->toReal()))
                return false;
            break;
        case PlistValue::Type::Date:
            if (!sameBits(a->toDate(), b->toDate()))
                return false;
            break;
        case PlistValue::Type::Uid:
            if (a->toUid() != b->toUid())
                return false;
            break;
        case PlistValue::Type::String:
            if (a->node() != b->node() && a->toString() != b->toString())
                return false;
            break;
        case PlistValue::Type::Data:
            if (a->node() != b->node() && a->toData() != b->toData())
                return false;
            break;
        case PlistValue::Type::Array: {
            if (a->node() == b->node() || queued.contains({a->node(), b->node()}))
                break;
            queued.insert({a->node(), b->node()});
            const PlistValue::Array &x = a->toArray();
            const PlistValue::Array &y = b->toArray();
            if (x.size() != y.size())
                return false;
            for (size_t i = 0; i < x.size(); ++i)
                pending.emplace_back(&x[i], &y[i]);
            break;
        }
        case PlistValue::Type::Dictionary: {
            if (a->node() == b->node() || queued.contains({a->node(), b->node()}))
                break;
            queued.insert({a->node(), b->node()});
            const PlistValue::Dictionary &x = a->toDictionary();
            const PlistValue::Dictionary &y = b->toDictionary();
            if (x.size() != y.size())
                return false;
            for (qsizetype i = 0; i < x.size(); ++i) {
                const PlistValue *other = y.find(x.keyAt(i));
                if (!other)
                    return false;
                pending.emplace_back(&x.valueAt(i), other);
            }
            break;
        }
        }
    }
    return true;
}

} // namespace

bool PlistValue::operator==(const PlistValue &other) const
{
    return equalPairs({{this, &other}});
}

// --- Dictionary ----------------------------------------------------------------------------------

PlistValue::Dictionary::Dictionary(const Dictionary &other) : m_entries(other.m_entries)
{
    if (other.m_index)
        m_index = std::make_unique<QHash<QString, qsizetype>>(*other.m_index);
}

PlistValue::Dictionary &PlistValue::Dictionary::operator=(const Dictionary &other)
{
    if (this != &other) {
        Dictionary copy(other);
        *this = std::move(copy);
    }
    return *this;
}

PlistValue::Dictionary::~Dictionary() = default;

void PlistValue::Dictionary::reserve(qsizetype size)
{
    m_entries.reserve(size_t(size));
}

qsizetype PlistValue::Dictionary::indexOf(const QString &key) const
{
    if (m_index)
        return m_index->value(key, -1);
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].first == key)
            return qsizetype(i);
    }
    return -1;
}

void PlistValue::Dictionary::buildIndex()
{
    m_index = std::make_unique<QHash<QString, qsizetype>>();
    m_index->reserve(qsizetype(m_entries.size() * 2));
    for (size_t i = 0; i < m_entries.size(); ++i)
        m_index->insert(m_entries[i].first, qsizetype(i));
}

bool PlistValue::Dictionary::insert(const QString &key, PlistValue value)
{
    if (indexOf(key) >= 0)
        return false;
    insertNew(key, std::move(value));
    return true;
}

void PlistValue::Dictionary::insertNew(const QString &key, PlistValue value)
{
    Q_ASSERT(indexOf(key) < 0);
    m_entries.emplace_back(key, std::move(value));
    if (m_index)
        m_index->insert(key, qsizetype(m_entries.size() - 1));
    else if (m_entries.size() > kIndexThreshold)
        buildIndex();
}

const PlistValue *PlistValue::Dictionary::find(const QString &key) const
{
    const qsizetype i = indexOf(key);
    return i < 0 ? nullptr : &m_entries[size_t(i)].second;
}

PlistValue PlistValue::Dictionary::value(const QString &key) const
{
    const PlistValue *v = find(key);
    return v ? *v : PlistValue();
}

bool PlistValue::Dictionary::operator==(const Dictionary &other) const
{
    if (size() != other.size())
        return false;
    std::vector<ValuePair> pairs;
    pairs.reserve(m_entries.size());
    for (qsizetype i = 0; i < size(); ++i) {
        const PlistValue *v = other.find(keyAt(i));
        if (!v)
            return false;
        pairs.emplace_back(&valueAt(i), v);
    }
    return equalPairs(std::move(pairs));
}
