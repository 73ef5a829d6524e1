#include "MeasurementChecks.h"

#include "Measurement.h"
#include "ReadingValues.h"

#include <array>
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

// The stored values, in table order, each as entered.
using Entered = std::array<QVariant, ReadingValues::kStoredCount>;

// Field::None and then one field per stored value, in table order.
static_assert(int(MeasurementChecks::Field::Custom3) == ReadingValues::kStoredCount);

QString firstFailureOf(const Entered &entered, MeasurementChecks::Field *field)
{
    auto fail = [field](int slot, const char *stem) {
        if (field)
            *field = MeasurementChecks::Field(slot + 1);
        return QString::fromLatin1(stem);
    };
    // The values every reading has: missing or unreadable ones count as 0 and so fail their
    // range. Then systolic must lie above diastolic.
    for (int s = 0; s < ReadingValues::kStoredCount; ++s) {
        const ReadingValue &value = *ReadingValues::kStored[s];
        if (value.isRequired() && !within(integerPart(entered[s]), value.minimum, value.maximum))
            return fail(s, value.checkStem);
    }
    const int systolic = ReadingValues::slotOf(Measurement::Key::Systolic);
    const int diastolic = ReadingValues::slotOf(Measurement::Key::Diastolic);
    if (!(*integerPart(entered[systolic]) > *integerPart(entered[diastolic])))
        return fail(systolic, "record_bad_pressure");
    // The others pass when missing or within their bounds.
    for (int s = 0; s < ReadingValues::kStoredCount; ++s) {
        const ReadingValue &value = *ReadingValues::kStored[s];
        if (!value.isRequired() && entered[s].isValid() &&
            !within(integerPart(entered[s]), value.minimum, value.maximum))
            return fail(s, value.checkStem);
    }
    if (field)
        *field = MeasurementChecks::Field::None;
    return {};
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
    Entered entered;
    entered[ReadingValues::slotOf(Measurement::Key::Systolic)] = values.systolic;
    entered[ReadingValues::slotOf(Measurement::Key::Diastolic)] = values.diastolic;
    entered[ReadingValues::slotOf(Measurement::Key::Pulse)] = values.pulse;
    entered[ReadingValues::slotOf(Measurement::Key::Weight)] = values.weight;
    entered[ReadingValues::slotOf(Measurement::Key::CustomValue1)] = values.custom1;
    entered[ReadingValues::slotOf(Measurement::Key::CustomValue2)] = values.custom2;
    entered[ReadingValues::slotOf(Measurement::Key::CustomValue3)] = values.custom3;
    return firstFailureOf(entered, field);
}

QString MeasurementChecks::firstFailure(const Measurement &reading, Field *field)
{
    Entered entered;
    for (int s = 0; s < ReadingValues::kStoredCount; ++s)
        entered[s] = reading.valueForKey(ReadingValues::kStored[s]->key);
    return firstFailureOf(entered, field);
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
