#pragma once

#include "PlistValue.h"

#include <QByteArray>
#include <QString>

// Random access to the objects of a binary property list without decoding it into values.
// open() checks the header and trailer; every object access checks the object's offset, marker
// and count against the data before answering, so that no access ever reads outside it. A
// container's count is only answered when the data can hold that many references. Object
// references read from containers are checked against the number of objects by the caller
// through isValidRef().
class BinaryPlistView
{
public:
    static constexpr int kMaxDepth = 512;

    struct Object
    {
        PlistValue::Type type = PlistValue::Type::Null;
        quint64 index = 0;
        quint64 count = 0; // characters, bytes or entries
        quint64 start = 0; // first byte after the marker (and count)
        quint8 marker = 0;
        bool ascii = false; // a string of one byte per character
    };

    // Checks header and trailer. False, with error(), when they are not sound.
    bool open(const QByteArray &data);

    quint64 objectCount() const { return m_objectCount; }
    quint64 topObject() const { return m_top; }
    bool isValidRef(quint64 ref) const { return ref < m_objectCount; }

    // Parses the header of object index (which must be valid). False, with error(), when the
    // object is malformed or lies outside the data.
    bool object(quint64 index, Object *out);

    // The i-th reference of an array, or of a dictionary (keys first, then values).
    quint64 refAt(const Object &container, quint64 i) const
    {
        return readBigEndian(m_data + container.start + i * m_refSize, m_refSize);
    }

    // Scalars. Each expects an object of the matching type.
    bool boolean(const Object &o) const { return o.marker == 0x09; }
    // The integer; *bigUnsigned tells a value from 2^63 (stored as unsigned) apart.
    qint64 integer(const Object &o, bool *bigUnsigned = nullptr) const;
    double real(const Object &o) const;
    quint64 uid(const Object &o) const
    {
        return readBigEndian(m_data + o.start, unsigned(o.count));
    }
    QString string(const Object &o) const;
    QByteArray data(const Object &o) const;
    // Compares a string object with text without decoding it.
    bool stringEquals(const Object &o, QStringView text) const;

    // Decodes the object and everything below it into a value, each object once; refuses
    // cycles and nesting deeper than kMaxDepth. False, with error(), on any fault.
    bool materialize(quint64 index, PlistValue *out);

    QString error() const { return m_error; }
    bool fail(const QString &message);
    bool failObject(quint64 index);

    static quint64 readBigEndian(const uchar *p, unsigned bytes)
    {
        quint64 value = 0;
        for (unsigned i = 0; i < bytes; ++i)
            value = (value << 8) | p[i];
        return value;
    }

private:
    QByteArray m_bytes;
    const uchar *m_data = nullptr;
    quint64 m_size = 0;
    unsigned m_offsetSize = 0;
    unsigned m_refSize = 0;
    quint64 m_objectCount = 0;
    quint64 m_top = 0;
    quint64 m_tableOffset = 0; // also the end of the object area
    QString m_error;
};
