#pragma once

#include "FlatHash.h"
#include "PlistValue.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <deque>
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
    quint64 position() const;
    void put(uchar byte) { *m_cursor++ = char(byte); }
    void putBigEndian(quint64 value, unsigned bytes);
    void putMarker(uchar type, quint64 count);
    Ref unique(FlatHash<Ref> &table, quint64 key, uchar marker, quint64 payload, unsigned bytes);

    static constexpr size_t kChunkSize = size_t(1) << 20;
    std::vector<QByteArray> m_chunks; // the output so far
    char *m_cursor = nullptr;
    char *m_chunkEnd = nullptr;
    quint64 m_base = 0; // bytes in the chunks before the last

    // Growing lists that never move what they hold.
    std::deque<quint64> m_offsets; // per object; containers get theirs in finish()
    std::deque<Container> m_containers;
    std::deque<Ref> m_refs;

    static constexpr Ref kNone = ~Ref(0);
    Ref m_null = kNone, m_false = kNone, m_true = kNone;
    FlatHash<Ref> m_integers, m_bigUnsigned, m_reals, m_dates, m_sparseUids;
    QList<Ref> m_denseUids;
    FlatHash<std::pair<qsizetype, Ref>> m_stringsByAddress;
    QHash<QString, Ref> m_strings;
    QHash<QByteArray, Ref> m_datas;
};
