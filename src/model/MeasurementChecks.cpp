#include "MeasurementChecks.h"

#include "Measurement.h"

#include <cmath>
#include <optional>

namespace {

// The integer part of an entered value: none for text that is not a number or a number that is
// not finite; 0 for a missing value (the callers decide whether missing passes).
std::optional<double> integerPart(const QVariant &value)
{
    if (!value.isValid())
        return 0.0;
    switch (value.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float: {
        const double number = value.toDouble();
        if (!std::isfinite(number))
            return std::nullopt;
        return std::trunc(number);
    }
    default:
        return std::nullopt;
    }
}

bool within(const std::optional<double> &value, double low, double high)
{
    return value && *value >= low && *value <= high;
}

// An optional value passes when it is missing or lies within the bounds.
bool optionalWithin(const QVariant &value, double low, double high)
{
    return !value.isValid() || within(integerPart(value), low, high);
}

bool isNumberOrMissing(const QVariant &value)
{
    return !value.isValid() || integerPart(value).has_value();
}

QLocale withoutGroups(QLocale locale)
{
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return locale;
}

QVariant parseIn(const QString &text, const QLocale &locale)
{
    bool ok = false;
    const qlonglong whole = locale.toLongLong(text, &ok);
    if (ok)
        return whole;
    const double real = locale.toDouble(text, &ok);
    if (ok && std::isfinite(real))
        return real;
    return {};
}

} // namespace

QString MeasurementChecks::firstFailure(const Values &values, Field *field)
{
    auto fail = [field](Field which, const char *stem) {
        if (field)
            *field = which;
        return QString::fromLatin1(stem);
    };
    // Missing or unreadable pressures count as 0 and so fail their range.
    const std::optional<double> systolic = integerPart(values.systolic);
    const std::optional<double> diastolic = integerPart(values.diastolic);
    if (!within(systolic, 50, 300))
        return fail(Field::Systolic, "record_bad_systolic");
    if (!within(diastolic, 20, 200))
        return fail(Field::Diastolic, "record_bad_diastolic");
    if (!(*systolic > *diastolic))
        return fail(Field::Systolic, "record_bad_pressure");
    if (!optionalWithin(values.pulse, 20, 250))
        return fail(Field::Pulse, "record_bad_pulse");
    if (!optionalWithin(values.weight, 2, 400))
        return fail(Field::Weight, "record_bad_weight");
    if (!isNumberOrMissing(values.custom1))
        return fail(Field::Custom1, "record_bad_custom");
    if (!isNumberOrMissing(values.custom2))
        return fail(Field::Custom2, "record_bad_custom");
    if (!isNumberOrMissing(values.custom3))
        return fail(Field::Custom3, "record_bad_custom");
    if (field)
        *field = Field::None;
    return {};
}

QString MeasurementChecks::firstFailure(const Measurement &reading, Field *field)
{
    return firstFailure({reading.Systolic(), reading.Diastolic(), reading.Pulse(), reading.Weight(),
                         reading.customValue1(), reading.customValue2(), reading.customValue3()},
                        field);
}

QVariant MeasurementChecks::parseNumber(const QString &text, const QLocale &locale)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {};
    QVariant number = parseIn(trimmed, withoutGroups(locale));
    if (!number.isValid())
        number = parseIn(trimmed, withoutGroups(QLocale::c()));
    if (!number.isValid())
        return trimmed;
    return number;
}

QString MeasurementChecks::formatNumber(const QVariant &value, const QLocale &locale)
{
    if (!value.isValid())
        return {};
    const QLocale shown = withoutGroups(locale);
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
        return shown.toString(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    return shown.toString(value.toLongLong());
}
