#pragma once

#include <QLatin1String>
#include <QVariant>

class Measurement;

// The checks a reading must pass before it reaches a document, in the order the editor applies
// them: systolic 50 to 300, diastolic 20 to 200, systolic above diastolic, pulse absent or 20 to
// 250, weight absent or 2 to 400. Every value is taken as a whole number, its fraction dropped
// (120.9 counts as 120); a missing systolic or diastolic counts as 0. Dates, times, comments,
// tags and custom values are not checked. Shared by the editor and the CSV import.
class MeasurementChecks
{
public:
    enum class Failure
    {
        None,
        Systolic,
        Diastolic,
        Pressure,
        Pulse,
        Weight
    };

    // The first check the values fail, or Failure::None.
    static Failure check(const QVariant &systolic, const QVariant &diastolic, const QVariant &pulse,
                         const QVariant &weight);
    static Failure check(const Measurement &reading);

    // The stem of the alert keys for a failure ("record_bad_systolic", then ".title",
    // ".message", ".ok"); empty for Failure::None.
    static QLatin1String alertKey(Failure failure);

    // A number as the checks see it: the whole part, clamped to the int range; 0 for absent or
    // not-a-number values.
    static int intValue(const QVariant &value);
};
