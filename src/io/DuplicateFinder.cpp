#include "DuplicateFinder.h"

#include <algorithm>
#include <bit>
#include <cmath>

void DuplicateFinder::addDocument(const ConstMeasurementList &readings)
{
    pDocument.reserve(pDocument.size() + size_t(readings.size()));
    for (const ConstMeasurementPtr &reading : readings)
        pDocument.push_back(keyOf(*reading));
    std::stable_sort(pDocument.begin(), pDocument.end(),
                     [](const Key &a, const Key &b) { return a.instant < b.instant; });
}

DuplicateFinder::Key DuplicateFinder::keyOf(const Measurement &reading) const
{
    double systolic = 0, diastolic = 0;
    reading.numberForKey(Measurement::Key::Systolic, &systolic);
    reading.numberForKey(Measurement::Key::Diastolic, &diastolic);
    const double seconds = reading.theWholeDate().timeIntervalSince1970();
    const double instant =
        nResolution == Resolution::Millisecond ? std::round(seconds * 1000.0) : std::floor(seconds);
    // + 0.0 makes -0 and 0 one key.
    return {std::isfinite(instant) ? qint64(qBound(-9e18, instant, 9e18)) : 0, systolic + 0.0,
            diastolic + 0.0};
}

bool DuplicateFinder::insert(const Measurement &reading)
{
    const Key key = keyOf(reading);
    auto it = std::lower_bound(pDocument.begin(), pDocument.end(), key.instant,
                               [](const Key &a, qint64 instant) { return a.instant < instant; });
    for (; it != pDocument.end() && it->instant == key.instant; ++it) {
        if (*it == key)
            return false;
    }
    if (bSorted && !pImport.empty() && key.instant < pImport.back().instant) {
        bSorted = false;
        pSet.reserve(pImport.size() * 2);
        for (const Key &seen : pImport)
            pSet.insert(seen);
    }
    if (!bSorted)
        return pSet.insert(key);
    for (size_t j = pImport.size(); j > 0 && pImport[j - 1].instant == key.instant; --j) {
        if (pImport[j - 1] == key)
            return false;
    }
    pImport.push_back(key);
    return true;
}

void DuplicateFinder::KeySet::reserve(size_t count)
{
    size_t capacity = 16;
    while (capacity < count * 2)
        capacity *= 2;
    if (capacity > pSlots.size())
        rehash(capacity);
}

bool DuplicateFinder::KeySet::insert(const Key &key)
{
    if ((nSize + 1) * 2 > pSlots.size())
        rehash(qMax<size_t>(16, pSlots.size() * 2));
    const size_t mask = pSlots.size() - 1;
    for (size_t i = hashOf(key) & mask;; i = (i + 1) & mask) {
        if (!pSlots[i].used) {
            pSlots[i] = {key, true};
            ++nSize;
            return true;
        }
        if (pSlots[i].key == key)
            return false;
    }
}

size_t DuplicateFinder::KeySet::hashOf(const Key &key)
{
    quint64 h = quint64(key.instant) * 0x9E3779B97F4A7C15ull;
    h ^= std::bit_cast<quint64>(key.systolic) + 0x632BE59BD9B4E019ull + (h << 6) + (h >> 2);
    h ^= std::bit_cast<quint64>(key.diastolic) + 0x85157AF5ull + (h << 6) + (h >> 2);
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ull;
    return size_t(h ^ (h >> 32));
}

void DuplicateFinder::KeySet::rehash(size_t capacity)
{
    std::vector<Slot> old(capacity);
    old.swap(pSlots);
    nSize = 0;
    for (const Slot &slot : old) {
        if (slot.used)
            insert(slot.key);
    }
}
