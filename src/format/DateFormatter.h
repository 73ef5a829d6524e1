#pragma once

#include "Formatter.h"

#include <memory>

// A date alone, in the short date form of the default locale (QLocale()), in the local time zone.
// Parses the same form back into a Date at local midnight; a two-digit year is taken within the
// 80 years before and the 20 years after the present.
class DateFormatter : public Formatter
{
public:
    static std::unique_ptr<DateFormatter> formatter();

    // Takes a Date, a QDateTime or a QDate; anything else gives no text.
    QString stringForObjectValue(const QVariant &value) const override;
    // Stores a Date; refuses text that is not a date in the locale's short form.
    bool getObjectValue(QVariant *out, const QString &text,
                        QString *errorDescription) const override;

    // The year of a two-digit year, within the 80 years before and 20 after the given year.
    static int yearForTwoDigitYear(int twoDigits, int currentYear);
};
