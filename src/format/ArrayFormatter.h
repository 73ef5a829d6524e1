#pragma once

#include "Formatter.h"

#include <memory>

// A list (a reading's tags) as one line: the elements' texts joined by ", ". Anything but a list
// gives the empty string. One-way.
class ArrayFormatter : public Formatter
{
public:
    static std::unique_ptr<ArrayFormatter> formatter();

    // Takes a QStringList or a QVariantList.
    QString stringForObjectValue(const QVariant &value) const override;
    bool getObjectValue(QVariant *out, const QString &text,
                        QString *errorDescription) const override;
};
