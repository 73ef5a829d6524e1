#pragma once

#include "Formatter.h"

#include <memory>

class Measurement;

// A reading's blood pressure as one aligned text: "%3d / %3d" with the systolic and the diastolic
// value, each cut to a whole number. One-way.
class PressureFormatter : public Formatter
{
public:
    static std::unique_ptr<PressureFormatter> formatter();

    // Takes a MeasurementPtr, a ConstMeasurementPtr or a Measurement pointer; anything else gives
    // no text.
    QString stringForObjectValue(const QVariant &value) const override;
    bool getObjectValue(QVariant *out, const QString &text,
                        QString *errorDescription) const override;

    static QString stringForMeasurement(const Measurement &reading);
};
