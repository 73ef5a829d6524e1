#pragma once

#include "Formatter.h"

#include <memory>

// A time of day alone, in the short time form of the default locale (QLocale()), in the local
// time zone. Parses the same form (or the long form) back into a Date on 1 January 2001.
class TimeFormatter : public Formatter
{
public:
    static std::unique_ptr<TimeFormatter> formatter();

    // Takes a Date, a QDateTime or a QTime; anything else gives no text.
    QString stringForObjectValue(const QVariant &value) const override;
    // Stores a Date; refuses text that is not a time in the locale's form.
    bool getObjectValue(QVariant *out, const QString &text,
                        QString *errorDescription) const override;
};
