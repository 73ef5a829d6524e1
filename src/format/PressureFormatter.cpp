#include "PressureFormatter.h"

#include "Measurement.h"
#include "Number.h"

#include <cmath>
#include <limits>

namespace {

// The number cut towards zero to a whole number; absent counts as 0.
qlonglong wholePart(const QVariant &number)
{
    const QVariant value = Number::normalized(number);
    if (value.typeId() == QMetaType::LongLong)
        return value.toLongLong();
    const double d = Number::toDouble(value);
    if (!std::isfinite(d))
        return 0;
    constexpr double kLimit = 9.2e18; // inside the range of qlonglong
    return qlonglong(std::trunc(std::clamp(d, -kLimit, kLimit)));
}

} // namespace

std::unique_ptr<PressureFormatter> PressureFormatter::formatter()
{
    return std::make_unique<PressureFormatter>();
}

QString PressureFormatter::stringForMeasurement(const Measurement &reading)
{
    return QString::asprintf("%3lld / %3lld", wholePart(reading.Systolic()),
                             wholePart(reading.Diastolic()));
}

QString PressureFormatter::stringForObjectValue(const QVariant &value) const
{
    if (value.metaType() == QMetaType::fromType<MeasurementPtr>()) {
        if (const MeasurementPtr reading = value.value<MeasurementPtr>())
            return stringForMeasurement(*reading);
    } else if (value.metaType() == QMetaType::fromType<ConstMeasurementPtr>()) {
        if (const ConstMeasurementPtr reading = value.value<ConstMeasurementPtr>())
            return stringForMeasurement(*reading);
    } else if (value.metaType() == QMetaType::fromType<Measurement *>()) {
        if (const Measurement *reading = value.value<Measurement *>())
            return stringForMeasurement(*reading);
    } else if (value.metaType() == QMetaType::fromType<const Measurement *>()) {
        if (const Measurement *reading = value.value<const Measurement *>())
            return stringForMeasurement(*reading);
    }
    return QString();
}

bool PressureFormatter::getObjectValue(QVariant *, const QString &, QString *errorDescription) const
{
    return refuseOneWay(errorDescription);
}
