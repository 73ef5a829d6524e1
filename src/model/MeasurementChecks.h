#pragma once

#include <QLocale>
#include <QString>
#include <QVariant>

class Measurement;

// The checks a reading passes before the editor (or an import) hands it on, and the reading of
// typed numbers.
// Pure functions: values in, the stem of the failing alert's texts (or nothing) out.
class MeasurementChecks
{
public:
    // Which field a failed check is about, so that the editor can put the focus there.
    enum class Field
    {
        None,
        Systolic,
        Diastolic,
        Pulse,
        Weight,
        Custom1,
        Custom2,
        Custom3
    };

    // The values as entered: a number (qlonglong or double), an invalid QVariant for an empty
    // field, or the typed text (a QString) when it is not a number.
    struct Values
    {
        QVariant systolic, diastolic, pulse, weight;
        QVariant custom1, custom2, custom3;
    };

    // The checks in their order, each number taken as its integer part (towards zero), with the
    // bounds and alert stems of the table of values (ReadingValues):
    //   "record_bad_systolic"  50 <= systolic <= 300 (missing or not a number counts as 0)
    //   "record_bad_diastolic" 20 <= diastolic <= 200 (likewise)
    //   "record_bad_pressure"  systolic > diastolic
    //   "record_bad_pulse"     pulse missing, or 20 <= pulse <= 250
    //   "record_bad_weight"    weight missing, or 2 <= weight <= 400
    //   "record_bad_custom"    each custom value missing or a number
    // Text that is not a number fails the check of its field. A number that is not finite fails.
    // Answers the stem of the first failure and sets `field`, or answers an empty string (and
    // Field::None) when everything passes.
    static QString firstFailure(const Values &values, Field *field = nullptr);
    // The same checks for a reading's own values (an imported row).
    static QString firstFailure(const Measurement &reading, Field *field = nullptr);

    // A typed number: the locale's form ("72,5" in German) or the C form ("72.5"), without
    // group separators, surrounding spaces ignored. Whole numbers come as qlonglong, others as
    // double; an empty text as an invalid QVariant; text that is not a number as that QString.
    static QVariant parseNumber(const QString &text, const QLocale &locale = QLocale());
    // A number as the field shows it in the locale (empty for none), the inverse of
    // parseNumber(): no group separators, a fraction only when the value has one.
    static QString formatNumber(const QVariant &value, const QLocale &locale = QLocale());
};
