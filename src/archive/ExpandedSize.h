#pragma once

#include "PlistValue.h"

#include <QHash>
#include <QVariant>

#include <functional>
#include <utility>

// Counts the values inside decoded values the way a writer that knows nothing of sharing, or a
// deep comparison, meets them: a list, dictionary or kept object used in several places counts
// in full at every use. A file can describe 10^30 values in a few kilobytes that way (an array
// of ten references to one array, thirty levels deep) although decoding it makes only 31 lists.
//
// Each distinct list, dictionary or kept object is looked at once: decoded copies of one object
// share their data, and the size found for that data is remembered by its address. Counting is
// therefore linear in what was decoded however large the count, which stops growing at kLimit.
// Keep the values alive while the counter is in use.
//
// Built in: QVariantList, QStringList, QVariantMap, ArchivedObject (with its property-list
// values) and PlistValue; every other value counts 1 unless the function given counts it (it
// answers 0 for values it leaves to the default).
class ExpandedSize
{
public:
    static constexpr quint64 kLimit = quint64(1) << 62;

    using OtherFunction = std::function<quint64(const QVariant &value, ExpandedSize &counter)>;

    explicit ExpandedSize(OtherFunction other = {});

    quint64 of(const QVariant &value);
    quint64 of(const PlistValue &value);

    // a + b, no larger than kLimit.
    static quint64 add(quint64 a, quint64 b) { return a + b < kLimit ? a + b : kLimit; }

private:
    using Key = std::pair<const void *, qsizetype>;
    template <class F> quint64 remembered(const void *data, qsizetype length, F count);

    OtherFunction m_other;
    QHash<Key, quint64> m_known;
};
