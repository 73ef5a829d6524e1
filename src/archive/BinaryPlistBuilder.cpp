#include "BinaryPlistBuilder.h"

#include <QtEndian>

#include <cstring>
#include <limits>

namespace {

constexpr char kMagic[] = "bplist00";
constexpr size_t kHeaderSize = 8;
constexpr quint64 kTrailerSize = 32;

unsigned bytesFor(quint64 value)
{
    unsigned bytes = 1;
    while (bytes < 8 && (value >> (8 * bytes)) != 0)
        ++bytes;
    return bytes;
}

// A count of 15 or more follows the marker as an integer of 2^n bytes; this is n.
unsigned countExponent(quint64 count)
{
    const unsigned bytes = bytesFor(count);
    return bytes == 1 ? 0 : bytes == 2 ? 1 : bytes <= 4 ? 2 : 3;
}

// The bytes putMarker() writes for a count.
quint64 markerSize(quint64 count)
{
    return count < 15 ? 1 : 2 + (1u << countExponent(count));
}

quint64 bitsOf(double d)
{
    quint64 bits;
    std::memcpy(&bits, &d, sizeof bits);
    return bits;
}

} // namespace

BinaryPlistBuilder::BinaryPlistBuilder()
{
    reserve(kHeaderSize);
    std::memcpy(m_cursor, kMagic, kHeaderSize);
    m_cursor += kHeaderSize;
}

// The output grows by chunks that are never moved: nothing is copied until finish() puts the
// chunks into the result once.
void BinaryPlistBuilder::reserve(size_t bytes)
{
    if (size_t(m_chunkEnd - m_cursor) >= bytes)
        return;
    if (!m_chunks.empty()) {
        QByteArray &last = m_chunks.back();
        const qsizetype used = qsizetype(m_cursor - last.data());
        last.truncate(used);
        m_base += quint64(used);
    }
    const size_t size = std::max(kChunkSize, bytes);
    m_chunks.emplace_back(qsizetype(size), Qt::Uninitialized);
    m_cursor = m_chunks.back().data();
    m_chunkEnd = m_cursor + size;
}

quint64 BinaryPlistBuilder::position() const
{
    return m_chunks.empty() ? 0 : m_base + quint64(m_cursor - m_chunks.back().constData());
}

void BinaryPlistBuilder::putBigEndian(quint64 value, unsigned bytes)
{
    for (unsigned i = bytes; i-- > 0;)
        *m_cursor++ = char((value >> (8 * i)) & 0xFF);
}

void BinaryPlistBuilder::putMarker(uchar type, quint64 count)
{
    if (count < 15) {
        put(uchar(type | count));
        return;
    }
    put(type | 0x0F);
    const unsigned exponent = countExponent(count);
    put(uchar(0x10 | exponent));
    putBigEndian(count, 1u << exponent);
}

BinaryPlistBuilder::Ref BinaryPlistBuilder::beginScalar()
{
    m_offsets.push_back(position());
    return Ref(m_offsets.size() - 1);
}

BinaryPlistBuilder::Ref BinaryPlistBuilder::unique(FlatHash<Ref> &table, quint64 key, uchar marker,
                                                   quint64 payload, unsigned bytes)
{
    bool inserted = false;
    Ref &ref = table.findOrInsert(key, 0, &inserted);
    if (inserted) {
        reserve(1 + bytes);
        ref = beginScalar();
        put(marker);
        putBigEndian(payload, bytes);
    }
    return ref;
}

BinaryPlistBuilder::Ref BinaryPlistBuilder::addNull()
{
    if (m_null == kNone) {
        reserve(1);
        m_null = beginScalar();
        put(0x00);
    }
    return m_null;
}

BinaryPlistBuilder::Ref BinaryPlistBuilder::addBoolean(bool value)
{
    Ref &slot = value ? m_true : m_false;
    if (slot == kNone) {
        reserve(1);
        slot = beginScalar();
        put(value ? 0x09 : 0x08);
    }
    return slot;
}

BinaryPlistBuilder::Ref BinaryPlistBuilder::addInteger(qint64 value)
{
    if (value < 0 || value > 0xFFFFFFFFLL)
        return unique(m_integers, quint64(value), 0x13, quint64(value), 8);
    if (value > 0xFFFF)
        return unique(m_integers, quint64(value), 0x12, quint64(value), 4);
    if (value > 0xFF)
        return unique(m_integers, quint64(value), 0x11, quint64(value), 2);
    return unique(m_integers, quint64(value), 0x10, quint64(value), 1);
}

BinaryPlistBuilder::Ref BinaryPlistBuilder::addUnsigned(quint64 value)
{
    if (value <= quint64(std::numeric_limits<qint64>::max()))
        return addInteger(qint64(value));
    bool inserted = false;
    Ref &ref = m_bigUnsigned.findOrInsert(value, 0, &inserted);
    if (inserted) {
        reserve(17);
        ref = beginScalar();
        put(0x14);
        putBigEndian(0, 8);
        putBigEndian(value, 8);
    }
    return ref;
}

BinaryPlistBuilder::Ref BinaryPlistBuilder::addReal(double value)
{
    return unique(m_reals, bitsOf(value), 0x23, bitsOf(value), 8);
}

BinaryPlistBuilder::Ref BinaryPlistBuilder::addDate(double secondsSince2001)
{
    return unique(m_dates, bitsOf(secondsSince2001), 0x33, bitsOf(secondsSince2001), 8);
}

BinaryPlistBuilder::Ref BinaryPlistBuilder::addUid(quint64 value)
{
    const unsigned bytes = bytesFor(value);
    const uchar marker = uchar(0x80 | (bytes - 1));
    // Archives number their objects densely: index a table by UID. The table grows only with
    // the list itself, so a stray large UID cannot make it large; such UIDs are hashed.
    const quint64 dense = std::max<quint64>(4096, 2 * quint64(m_offsets.size()));
    if (value >= dense && value >= quint64(m_denseUids.size()))
        return unique(m_sparseUids, value, marker, value, bytes);
    if (value >= quint64(m_denseUids.size()))
        m_denseUids.resize(std::max<qsizetype>(qsizetype(value) + 1, m_denseUids.size() * 2),
                           kNone);
    Ref &slot = m_denseUids[qsizetype(value)];
    if (slot == kNone) {
        reserve(1 + bytes);
        slot = beginScalar();
        put(marker);
        putBigEndian(value, bytes);
    }
    return slot;
}

BinaryPlistBuilder::Ref BinaryPlistBuilder::addString(const QString &text)
{
    // Most strings are copies of a few (keys, class names): find them by the address of their
    // text first. Only addresses of texts that m_strings holds are remembered: those stay
    // allocated while the builder lives, so the address cannot come to hold another text.
    const quint64 address = quint64(quintptr(text.constData()));
    const auto *byAddress = m_stringsByAddress.find(address);
    if (byAddress && byAddress->first == text.size())
        return byAddress->second;
    auto known = m_strings.constFind(text);
    Ref ref = 0;
    if (known != m_strings.constEnd()) {
        ref = *known;
    } else {
        bool ascii = true;
        for (QChar c : text) {
            if (c.unicode() >= 0x80) {
                ascii = false;
                break;
            }
        }
        const size_t count = size_t(text.size());
        reserve(10 + count * 2);
        ref = beginScalar();
        if (ascii) {
            putMarker(0x50, count);
            const QChar *in = text.constData();
            for (size_t i = 0; i < count; ++i)
                m_cursor[i] = char(in[i].unicode());
            m_cursor += count;
        } else {
            putMarker(0x60, count);
            qToBigEndian<quint16>(text.constData(), text.size(), m_cursor);
            m_cursor += count * 2;
        }
        m_strings.insert(text, ref);
        bool inserted = false;
        m_stringsByAddress.findOrInsert(address, {}, &inserted) = {text.size(), ref};
    }
    return ref;
}

BinaryPlistBuilder::Ref BinaryPlistBuilder::addData(const QByteArray &bytes)
{
    auto known = m_datas.constFind(bytes);
    if (known != m_datas.constEnd())
        return *known;
    reserve(10 + size_t(bytes.size()));
    const Ref ref = beginScalar();
    putMarker(0x40, quint64(bytes.size()));
    if (!bytes.isEmpty())
        std::memcpy(m_cursor, bytes.constData(), size_t(bytes.size()));
    m_cursor += bytes.size();
    m_datas.insert(bytes, ref);
    return ref;
}

void BinaryPlistBuilder::appendRefs(const Ref *refs, size_t count)
{
    m_refs.insert(m_refs.end(), refs, refs + count);
}

BinaryPlistBuilder::Ref BinaryPlistBuilder::addArray(const Ref *items, size_t count)
{
    m_offsets.push_back(0); // set in finish()
    const Ref ref = Ref(m_offsets.size() - 1);
    m_containers.push_back({ref, m_refs.size(), count, false});
    appendRefs(items, count);
    return ref;
}

BinaryPlistBuilder::Ref BinaryPlistBuilder::addDictionary(const Ref *keys, const Ref *values,
                                                          size_t count)
{
    m_offsets.push_back(0);
    const Ref ref = Ref(m_offsets.size() - 1);
    m_containers.push_back({ref, m_refs.size(), count, true});
    appendRefs(keys, count);
    appendRefs(values, count);
    return ref;
}

// Adds a value and everything below it to the builder, children before their container,
// without recursion. Nodes that other values share are added once.
BinaryPlistBuilder::Ref BinaryPlistBuilder::addValue(const PlistValue &root)
{
    BinaryPlistBuilder &builder = *this;
    struct Frame
    {
        const PlistValue *value;
        size_t next;
        size_t firstRef;
    };
    std::unordered_map<const void *, Ref> shared;
    std::vector<Frame> stack;
    std::vector<Ref> refs;

    auto scalar = [&builder](const PlistValue &v) -> Ref {
        switch (v.type()) {
        case PlistValue::Type::Null:
            return builder.addNull();
        case PlistValue::Type::Boolean:
            return builder.addBoolean(v.toBool());
        case PlistValue::Type::Integer:
            return v.isBigUnsigned() ? builder.addUnsigned(v.toUnsigned())
                                     : builder.addInteger(v.toInteger());
        case PlistValue::Type::Real:
            return builder.addReal(v.toReal());
        case PlistValue::Type::Date:
            return builder.addDate(v.toDate());
        case PlistValue::Type::Uid:
            return builder.addUid(v.toUid());
        case PlistValue::Type::String:
            return builder.addString(v.toString());
        case PlistValue::Type::Data:
            return builder.addData(v.toData());
        default:
            return 0;
        }
    };
    // Pushes the ref of a value that needs no frame; false when it needs one.
    auto known = [&](const PlistValue &v) {
        if (!v.isArray() && !v.isDictionary()) {
            refs.push_back(scalar(v));
            return true;
        }
        if (v.isShared()) {
            auto it = shared.find(v.node());
            if (it != shared.end()) {
                refs.push_back(it->second);
                return true;
            }
        }
        return false;
    };

    if (known(root))
        return refs.back();
    stack.push_back({&root, 0, refs.size()});
    while (!stack.empty()) {
        Frame &frame = stack.back();
        const PlistValue &value = *frame.value;
        const bool dictionary = value.isDictionary();
        const size_t count =
            dictionary ? size_t(value.toDictionary().size()) : value.toArray().size();
        const size_t total = dictionary ? 2 * count : count;
        bool descended = false;
        while (frame.next < total) {
            const size_t i = frame.next++;
            if (dictionary && i < count) {
                refs.push_back(builder.addString(value.toDictionary().keyAt(qsizetype(i))));
                continue;
            }
            const PlistValue &child = dictionary
                                          ? value.toDictionary().valueAt(qsizetype(i - count))
                                          : value.toArray()[i];
            if (known(child))
                continue;
            stack.push_back({&child, 0, refs.size()});
            descended = true;
            break;
        }
        if (descended)
            continue;
        const Ref *first = refs.data() + frame.firstRef;
        const Ref ref = dictionary ? builder.addDictionary(first, first + count, count)
                                   : builder.addArray(first, count);
        if (value.isShared())
            shared.emplace(value.node(), ref);
        refs.resize(frame.firstRef);
        stack.pop_back();
        refs.push_back(ref);
    }
    return refs.back();
}

QByteArray BinaryPlistBuilder::finish(Ref top)
{
    // Everything still to come has a size known now: the containers, the offset table and the
    // trailer. The result is allocated once at its final size, the chunks of scalars are copied
    // in, and the rest is written straight into it.
    const quint64 count = m_offsets.size();
    const unsigned refSize = bytesFor(count == 0 ? 0 : count - 1);
    quint64 tableOffset = position();
    for (const Container &c : m_containers) {
        const quint64 refs = c.dictionary ? c.count * 2 : c.count;
        tableOffset += markerSize(c.count) + refs * refSize;
    }
    const unsigned offsetSize = bytesFor(tableOffset);
    const quint64 total = tableOffset + count * offsetSize + kTrailerSize;

    QByteArray result(qsizetype(total), Qt::Uninitialized);
    char *out = result.data();
    for (size_t i = 0; i < m_chunks.size(); ++i) {
        const QByteArray &chunk = m_chunks[i];
        const size_t used =
            i + 1 == m_chunks.size() ? size_t(m_cursor - chunk.constData()) : size_t(chunk.size());
        std::memcpy(out, chunk.constData(), used);
        out += used;
    }
    m_chunks.clear();
    m_cursor = out;
    m_chunkEnd = result.data() + result.size();
    const auto positionInResult = [&] { return quint64(m_cursor - result.constData()); };

    for (const Container &c : m_containers) {
        const size_t refs = c.dictionary ? c.count * 2 : c.count;
        m_offsets[c.object] = positionInResult();
        putMarker(c.dictionary ? 0xD0 : 0xA0, c.count);
        for (size_t i = 0; i < refs; ++i)
            putBigEndian(m_refs[c.firstRef + i], refSize);
    }
    Q_ASSERT(positionInResult() == tableOffset);
    for (quint64 offset : m_offsets)
        putBigEndian(offset, offsetSize);
    for (int i = 0; i < 6; ++i)
        put(0);
    put(uchar(offsetSize));
    put(uchar(refSize));
    putBigEndian(count, 8);
    putBigEndian(top, 8);
    putBigEndian(tableOffset, 8);
    Q_ASSERT(m_cursor == m_chunkEnd);

    *this = BinaryPlistBuilder();
    return result;
}
