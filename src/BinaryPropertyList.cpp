#include "BinaryPropertyList.h"

#include <QtEndian>

#include <cstring>
#include <limits>
#include <unordered_map>

namespace {

constexpr char kMagic[] = "bplist00";
constexpr quint64 kHeaderSize = 8;
constexpr quint64 kTrailerSize = 32;

quint64 readBigEndian(const uchar *p, unsigned bytes)
{
    quint64 value = 0;
    for (unsigned i = 0; i < bytes; ++i)
        value = (value << 8) | p[i];
    return value;
}

// --- Reading -------------------------------------------------------------------------------------

class Reader
{
public:
    explicit Reader(const QByteArray &data)
        : m_data(reinterpret_cast<const uchar *>(data.constData())), m_size(quint64(data.size()))
    {}

    bool run(PlistValue *result);
    QString error;

private:
    struct Frame
    {
        quint64 object;
        quint64 refs;  // position of the first object reference
        quint64 count; // entries (pairs for a dictionary)
        quint64 next;  // next reference to visit
        bool dictionary;
    };

    enum State : quint8
    {
        Unvisited,
        Active,
        Done
    };

    bool fail(const QString &message)
    {
        if (error.isEmpty())
            error = message;
        return false;
    }
    bool failObject(quint64 object)
    {
        //: %1 is the number of an object inside the file
        return fail(qtTrId("plist.error.object").arg(object));
    }

    bool readTrailer();
    bool offsetOf(quint64 object, quint64 *offset);
    bool readCount(quint64 object, quint64 offset, quint64 *count, quint64 *start);
    quint64 refAt(quint64 position) const { return readBigEndian(m_data + position, m_refSize); }
    // Decodes a scalar object at once, or pushes a frame for a container.
    bool begin(quint64 object);
    bool finish(const Frame &frame);

    const uchar *m_data;
    quint64 m_size;
    unsigned m_offsetSize = 0;
    unsigned m_refSize = 0;
    quint64 m_objectCount = 0;
    quint64 m_top = 0;
    quint64 m_tableOffset = 0; // also the end of the object area
    std::vector<PlistValue> m_values;
    std::vector<quint8> m_state;
    std::vector<Frame> m_stack;
};

bool Reader::readTrailer()
{
    if (m_size < kHeaderSize + 1 + kTrailerSize || std::memcmp(m_data, kMagic, kHeaderSize) != 0)
        return fail(qtTrId("plist.error.trailer"));
    const uchar *t = m_data + m_size - kTrailerSize;
    m_offsetSize = t[6];
    m_refSize = t[7];
    m_objectCount = readBigEndian(t + 8, 8);
    m_top = readBigEndian(t + 16, 8);
    m_tableOffset = readBigEndian(t + 24, 8);
    const quint64 tableEnd = m_size - kTrailerSize;
    if (m_offsetSize < 1 || m_offsetSize > 8 || m_refSize < 1 || m_refSize > 8)
        return fail(qtTrId("plist.error.trailer"));
    // The offset table lies between the objects (at least one byte of them) and the trailer,
    // and must be large enough for the number of objects claimed.
    if (m_tableOffset <= kHeaderSize || m_tableOffset > tableEnd)
        return fail(qtTrId("plist.error.trailer"));
    if (m_objectCount == 0 || m_objectCount > (tableEnd - m_tableOffset) / m_offsetSize)
        return fail(qtTrId("plist.error.trailer"));
    if (m_top >= m_objectCount)
        return fail(qtTrId("plist.error.trailer"));
    return true;
}

bool Reader::offsetOf(quint64 object, quint64 *offset)
{
    *offset = readBigEndian(m_data + m_tableOffset + object * m_offsetSize, m_offsetSize);
    if (*offset < kHeaderSize || *offset >= m_tableOffset)
        //: %1 is the number of an object inside the file
        return fail(qtTrId("plist.error.offset").arg(object));
    return true;
}

// Reads the count of the object starting at offset (from its marker, or from the integer that
// follows the marker when the marker says 15) and where its contents start. The contents must
// fit before the offset table: the caller checks the count against the room left.
bool Reader::readCount(quint64 object, quint64 offset, quint64 *count, quint64 *start)
{
    const uchar marker = m_data[offset];
    if ((marker & 0x0F) != 0x0F) {
        *count = marker & 0x0F;
        *start = offset + 1;
        return true;
    }
    if (offset + 1 >= m_tableOffset)
        return failObject(object);
    const uchar intMarker = m_data[offset + 1];
    if ((intMarker & 0xF0) != 0x10 || (intMarker & 0x0F) > 3)
        return failObject(object);
    const unsigned bytes = 1u << (intMarker & 0x0F);
    if (bytes > m_tableOffset - (offset + 2))
        return failObject(object);
    *count = readBigEndian(m_data + offset + 2, bytes);
    *start = offset + 2 + bytes;
    return true;
}

bool Reader::begin(quint64 object)
{
    quint64 offset = 0;
    if (!offsetOf(object, &offset))
        return false;
    const uchar marker = m_data[offset];
    const quint64 room = m_tableOffset - offset - 1; // bytes after the marker
    const uchar *p = m_data + offset + 1;
    PlistValue &value = m_values[object];

    switch (marker >> 4) {
    case 0x0:
        if (marker == 0x00)
            value = PlistValue();
        else if (marker == 0x08 || marker == 0x09)
            value = PlistValue::boolean(marker == 0x09);
        else
            return failObject(object);
        break;
    case 0x1: {
        const unsigned size = marker & 0x0F;
        if (size > 4)
            return failObject(object);
        const unsigned bytes = 1u << size;
        if (bytes > room)
            return failObject(object);
        if (bytes < 8) {
            value = PlistValue::integer(qint64(readBigEndian(p, bytes)));
        } else if (bytes == 8) {
            value = PlistValue::integer(qint64(readBigEndian(p, 8)));
        } else {
            // 128-bit signed: kept when it fits in [-2^63, 2^64).
            const quint64 high = readBigEndian(p, 8);
            const quint64 low = readBigEndian(p + 8, 8);
            if (high == 0)
                value = PlistValue::unsignedInteger(low);
            else if (high == std::numeric_limits<quint64>::max() && (low >> 63) == 1)
                value = PlistValue::integer(qint64(low));
            else
                return failObject(object);
        }
        break;
    }
    case 0x2:
        if (marker == 0x22 && room >= 4) {
            const quint32 bits = quint32(readBigEndian(p, 4));
            float f;
            std::memcpy(&f, &bits, 4);
            value = PlistValue::real(double(f));
        } else if (marker == 0x23 && room >= 8) {
            const quint64 bits = readBigEndian(p, 8);
            double d;
            std::memcpy(&d, &bits, 8);
            value = PlistValue::real(d);
        } else {
            return failObject(object);
        }
        break;
    case 0x3: {
        if (marker != 0x33 || room < 8)
            return failObject(object);
        const quint64 bits = readBigEndian(p, 8);
        double d;
        std::memcpy(&d, &bits, 8);
        value = PlistValue::date(d);
        break;
    }
    case 0x4:
    case 0x5:
    case 0x6: {
        quint64 count = 0, start = 0;
        if (!readCount(object, offset, &count, &start))
            return false;
        const quint64 available = m_tableOffset - start;
        const auto *s = reinterpret_cast<const char *>(m_data + start);
        if ((marker >> 4) == 0x6) {
            if (count > available / 2)
                return failObject(object);
            QString text(qsizetype(count), Qt::Uninitialized);
            qFromBigEndian<quint16>(s, qsizetype(count), text.data());
            value = PlistValue::string(text);
        } else {
            if (count > available)
                return failObject(object);
            if ((marker >> 4) == 0x4)
                value = PlistValue::data(QByteArray(s, qsizetype(count)));
            else
                value = PlistValue::string(QString::fromLatin1(s, qsizetype(count)));
        }
        break;
    }
    case 0x8: {
        const unsigned bytes = (marker & 0x0F) + 1u;
        if (bytes > 8 || bytes > room)
            return failObject(object);
        value = PlistValue::uid(readBigEndian(p, bytes));
        break;
    }
    case 0xA:
    case 0xD: {
        quint64 count = 0, start = 0;
        if (!readCount(object, offset, &count, &start))
            return false;
        const bool dictionary = (marker >> 4) == 0xD;
        const quint64 perEntry = quint64(m_refSize) * (dictionary ? 2 : 1);
        if (count > (m_tableOffset - start) / perEntry)
            return failObject(object);
        if (m_stack.size() >= size_t(BinaryPropertyList::kMaxDepth))
            //: %1 is the greatest nesting depth allowed
            return fail(qtTrId("plist.error.depth").arg(BinaryPropertyList::kMaxDepth));
        m_state[object] = Active;
        m_stack.push_back({object, start, count, 0, dictionary});
        return true;
    }
    default:
        return failObject(object);
    }
    m_state[object] = Done;
    return true;
}

bool Reader::finish(const Frame &frame)
{
    if (frame.dictionary) {
        PlistValue::Dictionary entries;
        entries.reserve(qsizetype(frame.count));
        const quint64 values = frame.refs + frame.count * m_refSize;
        for (quint64 i = 0; i < frame.count; ++i) {
            const PlistValue &key = m_values[refAt(frame.refs + i * m_refSize)];
            if (!key.isString() ||
                !entries.insert(key.toString(), m_values[refAt(values + i * m_refSize)]))
                //: %1 is the number of an object inside the file
                return fail(qtTrId("plist.error.key").arg(frame.object));
        }
        m_values[frame.object] = PlistValue::dictionary(std::move(entries));
    } else {
        PlistValue::Array items;
        items.reserve(size_t(frame.count));
        for (quint64 i = 0; i < frame.count; ++i)
            items.push_back(m_values[refAt(frame.refs + i * m_refSize)]);
        m_values[frame.object] = PlistValue::array(std::move(items));
    }
    m_state[frame.object] = Done;
    return true;
}

bool Reader::run(PlistValue *result)
{
    if (!readTrailer())
        return false;
    m_values.resize(size_t(m_objectCount));
    m_state.assign(size_t(m_objectCount), Unvisited);
    if (!begin(m_top))
        return false;
    while (!m_stack.empty()) {
        Frame &frame = m_stack.back();
        const quint64 total = frame.dictionary ? frame.count * 2 : frame.count;
        bool descended = false;
        while (frame.next < total) {
            const quint64 child = refAt(frame.refs + frame.next * m_refSize);
            if (child >= m_objectCount)
                //: %1 is the number of an object inside the file
                return fail(qtTrId("plist.error.reference").arg(frame.object));
            if (m_state[child] == Done) {
                ++frame.next;
                continue;
            }
            if (m_state[child] == Active)
                //: %1 is the number of an object inside the file
                return fail(qtTrId("plist.error.cycle").arg(child));
            ++frame.next; // the child is complete before this frame resumes
            const size_t depth = m_stack.size();
            if (!begin(child))
                return false;
            if (m_stack.size() != depth) {
                descended = true; // frame may be invalid now
                break;
            }
        }
        if (descended)
            continue;
        const Frame done = frame;
        m_stack.pop_back();
        if (!finish(done))
            return false;
    }
    *result = m_values[m_top];
    return true;
}

// --- Writing -------------------------------------------------------------------------------------

class Writer
{
public:
    QByteArray run(const PlistValue &root);

private:
    struct Object
    {
        const PlistValue *value = nullptr;
        const QString *key = nullptr; // a dictionary key, written as a string
        quint64 firstRef = 0;
        quint64 refCount = 0;
    };

    quint64 add(const PlistValue *value, const QString *key);
    quint64 indexOf(const PlistValue &value);
    quint64 indexOfString(const QString &text, const PlistValue *value);
    void expand(quint64 object);

    void reserve(quint64 bytes);
    void put(uchar byte) { m_out[m_pos++] = char(byte); }
    void putBigEndian(quint64 value, unsigned bytes)
    {
        for (unsigned i = bytes; i-- > 0;)
            m_out[m_pos++] = char((value >> (8 * i)) & 0xFF);
    }
    void putMarker(uchar type, quint64 count);
    void putObject(const Object &object, unsigned refSize);

    std::vector<Object> m_objects;
    std::vector<quint64> m_refs;
    std::vector<quint64> m_pending; // containers whose children are not yet indexed

    qint64 m_null = -1, m_false = -1, m_true = -1;
    std::unordered_map<qint64, quint64> m_integers, m_bigUnsigned, m_reals, m_dates, m_uids;
    std::unordered_map<const void *, std::pair<qsizetype, quint64>> m_stringsByAddress;
    QHash<QString, quint64> m_strings;
    std::unordered_map<const void *, quint64> m_nodes; // data, arrays and dictionaries
    QHash<QByteArray, quint64> m_datas;

    QByteArray m_out;
    qsizetype m_pos = 0;
};

unsigned bytesFor(quint64 value)
{
    unsigned bytes = 1;
    while (bytes < 8 && (value >> (8 * bytes)) != 0)
        ++bytes;
    return bytes;
}

quint64 Writer::add(const PlistValue *value, const QString *key)
{
    m_objects.push_back({value, key, 0, 0});
    return m_objects.size() - 1;
}

quint64 Writer::indexOfString(const QString &text, const PlistValue *value)
{
    // Most keys are copies of a few strings: find them by address before hashing the text.
    const void *address = text.constData();
    auto byAddress = m_stringsByAddress.find(address);
    if (byAddress != m_stringsByAddress.end() && byAddress->second.first == text.size())
        return byAddress->second.second;
    auto it = m_strings.constFind(text);
    quint64 index = 0;
    if (it != m_strings.constEnd()) {
        index = *it;
    } else {
        index = add(value, value ? nullptr : &text);
        m_strings.insert(text, index);
    }
    m_stringsByAddress[address] = {text.size(), index};
    return index;
}

quint64 Writer::indexOf(const PlistValue &value)
{
    auto unique = [this, &value](std::unordered_map<qint64, quint64> &table, qint64 key) {
        auto [it, inserted] = table.try_emplace(key, 0);
        if (inserted)
            it->second = add(&value, nullptr);
        return it->second;
    };
    auto bits = [](double d) {
        qint64 b;
        std::memcpy(&b, &d, 8);
        return b;
    };
    switch (value.type()) {
    case PlistValue::Type::Null:
        if (m_null < 0)
            m_null = qint64(add(&value, nullptr));
        return quint64(m_null);
    case PlistValue::Type::Boolean: {
        qint64 &slot = value.toBool() ? m_true : m_false;
        if (slot < 0)
            slot = qint64(add(&value, nullptr));
        return quint64(slot);
    }
    case PlistValue::Type::Integer:
        return unique(value.isBigUnsigned() ? m_bigUnsigned : m_integers, value.toInteger());
    case PlistValue::Type::Real:
        return unique(m_reals, bits(value.toReal()));
    case PlistValue::Type::Date:
        return unique(m_dates, bits(value.toDate()));
    case PlistValue::Type::Uid:
        return unique(m_uids, qint64(value.toUid()));
    case PlistValue::Type::String: {
        auto it = m_nodes.find(value.node());
        if (it != m_nodes.end())
            return it->second;
        const quint64 index = indexOfString(value.toString(), &value);
        m_nodes.emplace(value.node(), index);
        return index;
    }
    case PlistValue::Type::Data: {
        auto it = m_nodes.find(value.node());
        if (it != m_nodes.end())
            return it->second;
        const QByteArray bytes = value.toData();
        auto same = m_datas.constFind(bytes);
        const quint64 index = same != m_datas.constEnd() ? *same : add(&value, nullptr);
        m_datas.insert(bytes, index);
        m_nodes.emplace(value.node(), index);
        return index;
    }
    case PlistValue::Type::Array:
    case PlistValue::Type::Dictionary: {
        auto [it, inserted] = m_nodes.try_emplace(value.node(), 0);
        if (inserted) {
            it->second = add(&value, nullptr);
            m_pending.push_back(it->second);
        }
        return it->second;
    }
    }
    return 0;
}

void Writer::expand(quint64 object)
{
    const PlistValue &value = *m_objects[object].value;
    const quint64 first = m_refs.size();
    if (value.isArray()) {
        for (const PlistValue &item : value.toArray())
            m_refs.push_back(indexOf(item));
    } else {
        const PlistValue::Dictionary &entries = value.toDictionary();
        for (qsizetype i = 0; i < entries.size(); ++i)
            m_refs.push_back(indexOfString(entries.keyAt(i), nullptr));
        for (qsizetype i = 0; i < entries.size(); ++i)
            m_refs.push_back(indexOf(entries.valueAt(i)));
    }
    m_objects[object].firstRef = first;
    m_objects[object].refCount = m_refs.size() - first;
}

void Writer::reserve(quint64 bytes)
{
    if (quint64(m_pos) + bytes <= quint64(m_out.size()))
        return;
    m_out.resize(qMax<qsizetype>(m_out.size() * 2, m_pos + qsizetype(bytes)));
}

void Writer::putMarker(uchar type, quint64 count)
{
    if (count < 15) {
        put(uchar(type | count));
        return;
    }
    put(type | 0x0F);
    const unsigned bytes = bytesFor(count);
    const unsigned size = bytes == 1 ? 0 : bytes == 2 ? 1 : bytes <= 4 ? 2 : 3;
    put(uchar(0x10 | size));
    putBigEndian(count, 1u << size);
}

void Writer::putObject(const Object &object, unsigned refSize)
{
    auto putString = [this](const QString &text) {
        bool ascii = true;
        for (QChar c : text) {
            if (c.unicode() >= 0x80) {
                ascii = false;
                break;
            }
        }
        const quint64 count = quint64(text.size());
        reserve(10 + count * 2);
        if (ascii) {
            putMarker(0x50, count);
            for (QChar c : text)
                put(uchar(c.unicode()));
        } else {
            putMarker(0x60, count);
            qToBigEndian<quint16>(text.constData(), text.size(), m_out.data() + m_pos);
            m_pos += text.size() * 2;
        }
    };

    if (object.key) {
        putString(*object.key);
        return;
    }
    const PlistValue &value = *object.value;
    reserve(17 + 10);
    switch (value.type()) {
    case PlistValue::Type::Null:
        put(0x00);
        break;
    case PlistValue::Type::Boolean:
        put(value.toBool() ? 0x09 : 0x08);
        break;
    case PlistValue::Type::Integer: {
        const qint64 i = value.toInteger();
        if (value.isBigUnsigned()) {
            put(0x14);
            putBigEndian(0, 8);
            putBigEndian(quint64(i), 8);
        } else if (i < 0 || i > 0xFFFFFFFFLL) {
            put(0x13);
            putBigEndian(quint64(i), 8);
        } else if (i > 0xFFFF) {
            put(0x12);
            putBigEndian(quint64(i), 4);
        } else if (i > 0xFF) {
            put(0x11);
            putBigEndian(quint64(i), 2);
        } else {
            put(0x10);
            put(uchar(i));
        }
        break;
    }
    case PlistValue::Type::Real:
    case PlistValue::Type::Date: {
        const double d = value.isReal() ? value.toReal() : value.toDate();
        quint64 b;
        std::memcpy(&b, &d, 8);
        put(value.isReal() ? 0x23 : 0x33);
        putBigEndian(b, 8);
        break;
    }
    case PlistValue::Type::Uid: {
        const unsigned bytes = bytesFor(value.toUid());
        put(uchar(0x80 | (bytes - 1)));
        putBigEndian(value.toUid(), bytes);
        break;
    }
    case PlistValue::Type::String:
        putString(value.toString());
        break;
    case PlistValue::Type::Data: {
        const QByteArray bytes = value.toData();
        reserve(10 + quint64(bytes.size()));
        putMarker(0x40, quint64(bytes.size()));
        std::memcpy(m_out.data() + m_pos, bytes.constData(), size_t(bytes.size()));
        m_pos += bytes.size();
        break;
    }
    case PlistValue::Type::Array:
    case PlistValue::Type::Dictionary: {
        const bool dictionary = value.isDictionary();
        reserve(10 + object.refCount * refSize);
        putMarker(dictionary ? 0xD0 : 0xA0, dictionary ? object.refCount / 2 : object.refCount);
        for (quint64 i = 0; i < object.refCount; ++i)
            putBigEndian(m_refs[object.firstRef + i], refSize);
        break;
    }
    }
}

QByteArray Writer::run(const PlistValue &root)
{
    indexOf(root);
    while (!m_pending.empty()) {
        const quint64 object = m_pending.back();
        m_pending.pop_back();
        expand(object);
    }

    const quint64 count = m_objects.size();
    const unsigned refSize = bytesFor(count - 1);
    std::vector<quint64> offsets(count);
    m_out.resize(qsizetype(kHeaderSize + count * 4 + 64));
    std::memcpy(m_out.data(), kMagic, kHeaderSize);
    m_pos = kHeaderSize;
    for (quint64 i = 0; i < count; ++i) {
        offsets[i] = quint64(m_pos);
        putObject(m_objects[i], refSize);
    }
    const quint64 tableOffset = quint64(m_pos);
    const unsigned offsetSize = bytesFor(offsets.empty() ? 0 : offsets.back());
    reserve(count * offsetSize + kTrailerSize);
    for (quint64 offset : offsets)
        putBigEndian(offset, offsetSize);
    for (int i = 0; i < 6; ++i)
        put(0);
    put(uchar(offsetSize));
    put(uchar(refSize));
    putBigEndian(count, 8);
    putBigEndian(0, 8); // the root is always the first object
    putBigEndian(tableOffset, 8);
    m_out.resize(m_pos);
    return m_out;
}

} // namespace

bool BinaryPropertyList::isBinary(const QByteArray &data)
{
    return data.startsWith(QByteArrayView(kMagic, qsizetype(kHeaderSize)));
}

bool BinaryPropertyList::read(const QByteArray &data, PlistValue *result, QString *error)
{
    *result = PlistValue();
    Reader reader(data);
    PlistValue value;
    if (!reader.run(&value)) {
        if (error)
            *error = reader.error;
        return false;
    }
    *result = std::move(value);
    if (error)
        error->clear();
    return true;
}

QByteArray BinaryPropertyList::write(const PlistValue &root)
{
    Writer writer;
    return writer.run(root);
}
