#pragma once

#include "Formatter.h"

#include <memory>

class FilteredCounter;

// "1 of 1 reading" / "1 of 10 readings": how many readings pass the filter, out of how many; the
// noun agrees with the total. One-way.
class FilteredCounterFormatter : public Formatter
{
public:
    static std::unique_ptr<FilteredCounterFormatter> formatter();

    // Takes a FilteredCounter; anything else gives no text.
    QString stringForObjectValue(const QVariant &value) const override;
    bool getObjectValue(QVariant *out, const QString &text,
                        QString *errorDescription) const override;

    static QString stringForCounter(const FilteredCounter &counter);
};
