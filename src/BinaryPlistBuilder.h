#pragma once

#include "FlatHash.h"
#include "PlistValue.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <unordered_map>
#include <vector>

// Writes a binary property list object by object, without building a tree first. Each add...()
// answers the new object's reference, which containers added later refer to; equal strings,
// numbers, dates, data and UIDs are stored once (found through hash tables), so adding the same
// value twice answers the same reference. Scalars are encoded at once; containers are encoded by
// finish(), when the width of object references is known. Time and memory are linear in the
// size of the output.
class BinaryPlistBuilder
{
public:
    using Ref = quint32;

    BinaryPlistBuilder();

    Ref addNull();
    Ref addBoolean(bool value);
    Ref addInteger(qint64 value);
    Ref addUnsigned(quint64 value); // a value above 2^63-1 is written as a 128-bit integer
    Ref addReal(double value);
    Ref addDate(double secondsSince2001);
    Ref addUid(quint64 value);
    Ref addString(const QString &text);
    Ref addData(const QByteArray &bytes);
    Ref addArray(const Ref *items, size_t count);
    // keys[i] must refer to strings.
    Ref addDictionary(const Ref *keys, const Ref *values, size_t count);

    // Adds a value and everything below it, children first, without recursion; nodes that
    // several values share are added once.
    Ref addValue(const PlistValue &value);

    size_t objectCount() const { return m_offsets.size(); }

    // The finished list with the given top object. The builder is empty afterwards.
    QByteArray finish(Ref top);

private:
    struct Container
    {
        Ref object;
        size_t firstRef;
        size_t count; // entries (pairs for a dictionary)
        bool dictionary;
    };

    Ref beginScalar();
    void appendRefs(const Ref *refs, size_t count);
    void reserve(size_t bytes);
    void put(uchar byte) { m_out[m_pos++] = char(byte); }
    void putBigEndian(quint64 value, unsigned bytes);
    void putMarker(uchar type, quint64 count);
    Ref unique(FlatHash<Ref> &table, quint64 key, uchar marker, quint64 payload, unsigned bytes);

    QByteArray m_out;
    qsizetype m_pos = 0;
    // Qt lists grow in place where they can, sparing the copies of std::vector growth.
    QList<quint64> m_offsets; // per object; containers get theirs in finish()
    QList<Container> m_containers;
    QList<Ref> m_refs;

    static constexpr Ref kNone = ~Ref(0);
    Ref m_null = kNone, m_false = kNone, m_true = kNone;
    FlatHash<Ref> m_integers, m_bigUnsigned, m_reals, m_dates, m_sparseUids;
    QList<Ref> m_denseUids;
    FlatHash<std::pair<qsizetype, Ref>> m_stringsByAddress;
    QHash<QString, Ref> m_strings;
    QHash<QByteArray, Ref> m_datas;
};
