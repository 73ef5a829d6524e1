#include "BinaryPlistView.h"

#include <QtEndian>

#include <cstring>
#include <limits>
#include <unordered_map>
#include <vector>

namespace {

constexpr char kMagic[] = "bplist00";
constexpr quint64 kHeaderSize = 8;
constexpr quint64 kTrailerSize = 32;

enum State : quint8
{
    Unvisited,
    Active,
    Done
};

// Decoded values and visiting states for every object of a list, for decoding all of it.
struct DenseStore
{
    explicit DenseStore(quint64 count) : values(size_t(count)), states(size_t(count), Unvisited) {}
    PlistValue &value(quint64 i) { return values[size_t(i)]; }
    quint8 &state(quint64 i) { return states[size_t(i)]; }
    std::vector<PlistValue> values;
    std::vector<quint8> states;
};

// The same for decoding a small part of a large list.
struct SparseStore
{
    explicit SparseStore(quint64) {}
    PlistValue &value(quint64 i) { return entries[i].first; }
    quint8 &state(quint64 i) { return entries[i].second; }
    std::unordered_map<quint64, std::pair<PlistValue, quint8>> entries;
};

} // namespace

bool BinaryPlistView::fail(const QString &message)
{
    if (m_error.isEmpty())
        m_error = message;
    return false;
}

bool BinaryPlistView::failObject(quint64 index)
{
    //: %1 is the number of an object inside the file
    return fail(qtTrId("plist.error.object").arg(index));
}

bool BinaryPlistView::open(const QByteArray &data)
{
    m_bytes = data;
    m_data = reinterpret_cast<const uchar *>(m_bytes.constData());
    m_size = quint64(m_bytes.size());
    m_error.clear();
    m_objectCount = 0;
    if (m_size < kHeaderSize + 1 + kTrailerSize || std::memcmp(m_data, kMagic, kHeaderSize) != 0)
        return fail(qtTrId("plist.error.trailer"));
    const uchar *t = m_data + m_size - kTrailerSize;
    m_offsetSize = t[6];
    m_refSize = t[7];
    const quint64 objectCount = readBigEndian(t + 8, 8);
    m_top = readBigEndian(t + 16, 8);
    m_tableOffset = readBigEndian(t + 24, 8);
    const quint64 tableEnd = m_size - kTrailerSize;
    if (m_offsetSize < 1 || m_offsetSize > 8 || m_refSize < 1 || m_refSize > 8)
        return fail(qtTrId("plist.error.trailer"));
    // The offset table lies between the objects (at least one byte of them) and the trailer,
    // and must be large enough for the number of objects claimed.
    if (m_tableOffset <= kHeaderSize || m_tableOffset > tableEnd)
        return fail(qtTrId("plist.error.trailer"));
    if (objectCount == 0 || objectCount > (tableEnd - m_tableOffset) / m_offsetSize)
        return fail(qtTrId("plist.error.trailer"));
    if (m_top >= objectCount)
        return fail(qtTrId("plist.error.trailer"));
    m_objectCount = objectCount;
    return true;
}

bool BinaryPlistView::object(quint64 index, Object *out)
{
    Q_ASSERT(index < m_objectCount);
    const quint64 offset =
        readBigEndian(m_data + m_tableOffset + index * m_offsetSize, m_offsetSize);
    if (offset < kHeaderSize || offset >= m_tableOffset)
        //: %1 is the number of an object inside the file
        return fail(qtTrId("plist.error.offset").arg(index));
    const uchar marker = m_data[offset];
    const quint64 room = m_tableOffset - offset - 1; // bytes after the marker
    Object &o = *out;
    o.index = index;
    o.marker = marker;
    o.start = offset + 1;
    o.count = 0;
    o.ascii = false;

    // Containers, strings and data carry a count: in the marker, or in an integer after it.
    auto readCount = [&]() {
        if ((marker & 0x0F) != 0x0F) {
            o.count = marker & 0x0F;
            return true;
        }
        if (room < 1)
            return false;
        const uchar intMarker = m_data[offset + 1];
        if ((intMarker & 0xF0) != 0x10 || (intMarker & 0x0F) > 3)
            return false;
        const unsigned bytes = 1u << (intMarker & 0x0F);
        if (bytes > room - 1)
            return false;
        o.count = readBigEndian(m_data + offset + 2, bytes);
        o.start = offset + 2 + bytes;
        return true;
    };

    switch (marker >> 4) {
    case 0x0:
        if (marker == 0x00)
            o.type = PlistValue::Type::Null;
        else if (marker == 0x08 || marker == 0x09)
            o.type = PlistValue::Type::Boolean;
        else
            return failObject(index);
        return true;
    case 0x1: {
        const unsigned size = marker & 0x0F;
        if (size > 4 || (1u << size) > room)
            return failObject(index);
        o.type = PlistValue::Type::Integer;
        o.count = 1u << size;
        if (o.count == 16) {
            // 128-bit signed: kept when it fits in [-2^63, 2^64).
            const quint64 high = readBigEndian(m_data + o.start, 8);
            const quint64 low = readBigEndian(m_data + o.start + 8, 8);
            if (!(high == 0 || (high == std::numeric_limits<quint64>::max() && (low >> 63) == 1)))
                return failObject(index);
        }
        return true;
    }
    case 0x2:
        if (!((marker == 0x22 && room >= 4) || (marker == 0x23 && room >= 8)))
            return failObject(index);
        o.type = PlistValue::Type::Real;
        o.count = marker == 0x22 ? 4 : 8;
        return true;
    case 0x3:
        if (marker != 0x33 || room < 8)
            return failObject(index);
        o.type = PlistValue::Type::Date;
        o.count = 8;
        return true;
    case 0x4:
    case 0x5:
    case 0x6: {
        if (!readCount())
            return failObject(index);
        const quint64 available = m_tableOffset - o.start;
        const bool utf16 = (marker >> 4) == 0x6;
        if (utf16 ? o.count > available / 2 : o.count > available)
            return failObject(index);
        o.type = (marker >> 4) == 0x4 ? PlistValue::Type::Data : PlistValue::Type::String;
        o.ascii = (marker >> 4) == 0x5;
        return true;
    }
    case 0x8: {
        const unsigned bytes = (marker & 0x0F) + 1u;
        if (bytes > 8 || bytes > room)
            return failObject(index);
        o.type = PlistValue::Type::Uid;
        o.count = bytes;
        return true;
    }
    case 0xA:
    case 0xD: {
        if (!readCount())
            return failObject(index);
        const bool dictionary = (marker >> 4) == 0xD;
        const quint64 perEntry = quint64(m_refSize) * (dictionary ? 2 : 1);
        if (o.count > (m_tableOffset - o.start) / perEntry)
            return failObject(index);
        o.type = dictionary ? PlistValue::Type::Dictionary : PlistValue::Type::Array;
        return true;
    }
    default:
        return failObject(index);
    }
}

qint64 BinaryPlistView::integer(const Object &o, bool *bigUnsigned) const
{
    if (bigUnsigned)
        *bigUnsigned = false;
    if (o.count < 16)
        return qint64(readBigEndian(m_data + o.start, unsigned(o.count)));
    const quint64 high = readBigEndian(m_data + o.start, 8);
    const quint64 low = readBigEndian(m_data + o.start + 8, 8);
    if (bigUnsigned)
        *bigUnsigned = high == 0 && (low >> 63) == 1;
    return qint64(low);
}

double BinaryPlistView::real(const Object &o) const
{
    if (o.count == 4) {
        const quint32 bits = quint32(readBigEndian(m_data + o.start, 4));
        float f;
        std::memcpy(&f, &bits, 4);
        return double(f);
    }
    const quint64 bits = readBigEndian(m_data + o.start, 8);
    double d;
    std::memcpy(&d, &bits, 8);
    return d;
}

QString BinaryPlistView::string(const Object &o) const
{
    const auto *s = reinterpret_cast<const char *>(m_data + o.start);
    if (o.ascii)
        return QString::fromLatin1(s, qsizetype(o.count));
    QString text(qsizetype(o.count), Qt::Uninitialized);
    qFromBigEndian<quint16>(s, qsizetype(o.count), text.data());
    return text;
}

QByteArray BinaryPlistView::data(const Object &o) const
{
    return QByteArray(reinterpret_cast<const char *>(m_data + o.start), qsizetype(o.count));
}

bool BinaryPlistView::stringEquals(const Object &o, QStringView text) const
{
    if (o.type != PlistValue::Type::String || o.count != quint64(text.size()))
        return false;
    const uchar *p = m_data + o.start;
    if (o.ascii) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i].unicode() != p[i])
                return false;
        }
        return true;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].unicode() != ((p[2 * i] << 8) | p[2 * i + 1]))
            return false;
    }
    return true;
}

namespace {

template <class Store> class Materializer
{
public:
    Materializer(BinaryPlistView &view) : m_view(view), m_store(view.objectCount()) {}

    bool run(quint64 top, PlistValue *result)
    {
        if (!begin(top))
            return false;
        while (!m_stack.empty()) {
            Frame &frame = m_stack.back();
            const quint64 total = frame.object.type == PlistValue::Type::Dictionary
                                      ? frame.object.count * 2
                                      : frame.object.count;
            bool descended = false;
            while (frame.next < total) {
                const quint64 child = m_view.refAt(frame.object, frame.next);
                if (!m_view.isValidRef(child))
                    //: %1 is the number of an object inside the file
                    return m_view.fail(qtTrId("plist.error.reference").arg(frame.object.index));
                const quint8 state = m_store.state(child);
                if (state == Done) {
                    ++frame.next;
                    continue;
                }
                if (state == Active)
                    //: %1 is the number of an object inside the file
                    return m_view.fail(qtTrId("plist.error.cycle").arg(child));
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
        *result = m_store.value(top);
        return true;
    }

private:
    struct Frame
    {
        BinaryPlistView::Object object;
        quint64 next;
    };

    bool begin(quint64 index)
    {
        BinaryPlistView::Object o;
        if (!m_view.object(index, &o))
            return false;
        PlistValue &value = m_store.value(index);
        switch (o.type) {
        case PlistValue::Type::Null:
            value = PlistValue();
            break;
        case PlistValue::Type::Boolean:
            value = PlistValue::boolean(m_view.boolean(o));
            break;
        case PlistValue::Type::Integer: {
            bool big = false;
            const qint64 i = m_view.integer(o, &big);
            value = big ? PlistValue::unsignedInteger(quint64(i)) : PlistValue::integer(i);
            break;
        }
        case PlistValue::Type::Real:
            value = PlistValue::real(m_view.real(o));
            break;
        case PlistValue::Type::Date:
            value = PlistValue::date(m_view.real(o));
            break;
        case PlistValue::Type::Uid:
            value = PlistValue::uid(m_view.uid(o));
            break;
        case PlistValue::Type::String:
            value = PlistValue::string(m_view.string(o));
            break;
        case PlistValue::Type::Data:
            value = PlistValue::data(m_view.data(o));
            break;
        case PlistValue::Type::Array:
        case PlistValue::Type::Dictionary:
            if (m_stack.size() >= size_t(BinaryPlistView::kMaxDepth))
                //: %1 is the greatest nesting depth allowed
                return m_view.fail(qtTrId("plist.error.depth").arg(BinaryPlistView::kMaxDepth));
            m_store.state(index) = Active;
            m_stack.push_back({o, 0});
            return true;
        }
        m_store.state(index) = Done;
        return true;
    }

    bool finish(const Frame &frame)
    {
        const BinaryPlistView::Object &o = frame.object;
        if (o.type == PlistValue::Type::Dictionary) {
            PlistValue::Dictionary entries;
            entries.reserve(qsizetype(o.count));
            for (quint64 i = 0; i < o.count; ++i) {
                const PlistValue &key = m_store.value(m_view.refAt(o, i));
                if (!key.isString() ||
                    !entries.insert(key.toString(), m_store.value(m_view.refAt(o, o.count + i))))
                    //: %1 is the number of an object inside the file
                    return m_view.fail(qtTrId("plist.error.key").arg(o.index));
            }
            m_store.value(o.index) = PlistValue::dictionary(std::move(entries));
        } else {
            PlistValue::Array items;
            items.reserve(size_t(o.count));
            for (quint64 i = 0; i < o.count; ++i)
                items.push_back(m_store.value(m_view.refAt(o, i)));
            m_store.value(o.index) = PlistValue::array(std::move(items));
        }
        m_store.state(o.index) = Done;
        return true;
    }

    BinaryPlistView &m_view;
    Store m_store;
    std::vector<Frame> m_stack;
};

} // namespace

bool BinaryPlistView::materialize(quint64 index, PlistValue *out)
{
    *out = PlistValue();
    if (!isValidRef(index))
        //: %1 is the number of an object inside the file
        return fail(qtTrId("plist.error.reference").arg(index));
    if (index == m_top) {
        Materializer<DenseStore> materializer(*this);
        return materializer.run(index, out);
    }
    Materializer<SparseStore> materializer(*this);
    return materializer.run(index, out);
}
