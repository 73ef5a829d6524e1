#pragma once

#include "Measurement.h"

#include <vector>

// Finds the readings an import has seen before: the document's (sorted by instant, searched by
// halving) and the import's own. Imports are nearly always in time order, so a repeat stands
// right behind its first occurrence; only one out of order pays for a hash set. Two readings are
// the same when their instants agree to the resolution and their pressures are equal.
class DuplicateFinder
{
public:
    enum class Resolution
    {
        Millisecond, // instants rounded to the millisecond
        Second       // instants cut to the whole second
    };

    explicit DuplicateFinder(Resolution resolution) : nResolution(resolution) {}

    // The readings already there.
    void addDocument(const ConstMeasurementList &readings);
    // Room for this many readings of the import.
    void reserve(qsizetype count) { pImport.reserve(size_t(count)); }
    // False when the reading was seen before; else remembers it.
    bool insert(const Measurement &reading);

private:
    struct Key
    {
        qint64 instant;
        double systolic;
        double diastolic;
        friend bool operator==(const Key &, const Key &) = default;
    };
    // Open addressing in one block, since a node per reading makes the set the slowest part of
    // a large import.
    class KeySet
    {
    public:
        void reserve(size_t count);
        // False when the key was there already.
        bool insert(const Key &key);

    private:
        struct Slot
        {
            Key key{};
            bool used = false;
        };
        static size_t hashOf(const Key &key);
        void rehash(size_t capacity);

        std::vector<Slot> pSlots;
        size_t nSize = 0;
    };

    Key keyOf(const Measurement &reading) const;

    Resolution nResolution;
    std::vector<Key> pDocument;
    std::vector<Key> pImport;
    bool bSorted = true;
    KeySet pSet;
};
