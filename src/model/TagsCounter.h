#pragma once

#include <QtGlobal>

// The number of readings that carry one tag, as kept in the document's tag cache.
class TagsCounter
{
public:
    // A new counter stands for the tag's first reading.
    TagsCounter() = default;
    static TagsCounter counter() { return TagsCounter(); }

    void increment() { ++nCounter; }
    // Counts one reading less; true when no reading carries the tag any more.
    bool decrement() { return --nCounter == 0; }
    qint32 count() const { return nCounter; }

private:
    qint32 nCounter = 1;
};
