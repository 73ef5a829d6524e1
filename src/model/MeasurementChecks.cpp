#include "MeasurementChecks.h"

#include "Measurement.h"
#include "Number.h"

#include <climits>
#include <cmath>

int MeasurementChecks::intValue(const QVariant &value)
{
    if (!value.isValid())
        return 0;
    if (!Number::isReal(value)) {
        const qlonglong whole = value.toLongLong();
        return int(qBound(qlonglong(INT_MIN), whole, qlonglong(INT_MAX)));
    }
    const double number = std::trunc(value.toDouble());
    if (std::isnan(number))
        return 0;
    if (number <= double(INT_MIN))
        return INT_MIN;
    if (number >= double(INT_MAX))
        return INT_MAX;
    return int(number);
}

MeasurementChecks::Failure MeasurementChecks::check(const QVariant &systolic,
                                                    const QVariant &diastolic,
                                                    const QVariant &pulse, const QVariant &weight)
{
    const int sys = intValue(systolic);
    const int dia = intValue(diastolic);
    if (sys < 50 || sys > 300)
        return Failure::Systolic;
    if (dia < 20 || dia > 200)
        return Failure::Diastolic;
    if (sys <= dia)
        return Failure::Pressure;
    if (pulse.isValid()) {
        const int p = intValue(pulse);
        if (p < 20 || p > 250)
            return Failure::Pulse;
    }
    if (weight.isValid()) {
        const int w = intValue(weight);
        if (w < 2 || w > 400)
            return Failure::Weight;
    }
    return Failure::None;
}

MeasurementChecks::Failure MeasurementChecks::check(const Measurement &reading)
{
    return check(reading.Systolic(), reading.Diastolic(), reading.Pulse(), reading.Weight());
}

QLatin1String MeasurementChecks::alertKey(Failure failure)
{
    switch (failure) {
    case Failure::None:
        break;
    case Failure::Systolic:
        return QLatin1String("record_bad_systolic");
    case Failure::Diastolic:
        return QLatin1String("record_bad_diastolic");
    case Failure::Pressure:
        return QLatin1String("record_bad_pressure");
    case Failure::Pulse:
        return QLatin1String("record_bad_pulse");
    case Failure::Weight:
        return QLatin1String("record_bad_weight");
    }
    return QLatin1String();
}
