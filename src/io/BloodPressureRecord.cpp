#include "BloodPressureRecord.h"

#include "LocalTimeOffsets.h"
#include "MeasurementChecks.h"

#include <QDate>

#include <cmath>

namespace {

// A pressure in mmHg as the reading keeps it: whole when it has no fraction.
QVariant pressureOf(Sfloat value, bool kilopascal)
{
    if (kilopascal)
        return QVariant(
            qlonglong(std::llround(value.value() * BloodPressureRecord::kMmHgPerKilopascal)));
    if (value.isWhole())
        return QVariant(qlonglong(std::llround(value.value())));
    return QVariant(value.value());
}

QString wholePart(const QVariant &value)
{
    const double number = value.toDouble();
    return std::isfinite(number) ? QString::number(std::trunc(number), 'f', 0)
                                 : QString::number(number);
}

} // namespace

std::optional<BloodPressureRecord> BloodPressureRecord::decode(QByteArrayView bytes,
                                                               QString *problem)
{
    BloodPressureRecord record;
    if (bytes.isEmpty()) {
        if (problem)
            *problem = qtTrId("monitor.problem.empty_record");
        return std::nullopt;
    }
    record.flags = quint8(bytes[0]);
    const qsizetype needed =
        7 + (record.flags & HasTimeStamp ? 7 : 0) + (record.flags & HasPulseRate ? 2 : 0) +
        (record.flags & HasUserId ? 1 : 0) + (record.flags & HasStatus ? 2 : 0);
    if (bytes.size() < needed) {
        if (problem)
            *problem = qtTrId("monitor.problem.short_record").arg(bytes.size()).arg(needed);
        return std::nullopt;
    }
    const auto byte = [&bytes](qsizetype i) { return quint8(bytes[i]); };
    const auto sfloat = [&](qsizetype i) { return Sfloat::fromBytes(byte(i), byte(i + 1)); };
    record.systolic = sfloat(1);
    record.diastolic = sfloat(3);
    record.meanArterialPressure = sfloat(5);
    qsizetype at = 7;
    if (record.flags & HasTimeStamp) {
        record.timeStamp = TimeStamp{byte(at) | (byte(at + 1) << 8),
                                     byte(at + 2),
                                     byte(at + 3),
                                     byte(at + 4),
                                     byte(at + 5),
                                     byte(at + 6)};
        at += 7;
    }
    if (record.flags & HasPulseRate) {
        record.pulseRate = sfloat(at);
        at += 2;
    }
    if (record.flags & HasUserId)
        record.userId = byte(at++);
    if (record.flags & HasStatus)
        record.status = quint16(byte(at) | (byte(at + 1) << 8));
    return record;
}

MeasurementPtr BloodPressureRecord::toReading(Date fallback, LocalTimeOffsets &offsets,
                                              QString *problem) const
{
    const auto refuse = [problem](const QString &reason) {
        if (problem)
            *problem = reason;
        return MeasurementPtr();
    };
    if (!systolic.isNumber())
        return refuse(qtTrId("monitor.problem.failed_measurement")
                          .arg(qtTrId("monitor.value.systolic"), conditionText(systolic.kind())));
    if (!diastolic.isNumber())
        return refuse(qtTrId("monitor.problem.failed_measurement")
                          .arg(qtTrId("monitor.value.diastolic"), conditionText(diastolic.kind())));

    Date instant = fallback;
    if (timeStamp && timeStamp->year != 0) {
        const TimeStamp &t = *timeStamp;
        if (!QDate::isValid(t.year, t.month, t.day) || t.hours > 23 || t.minutes > 59 ||
            t.seconds > 59)
            return refuse(qtTrId("monitor.problem.bad_time_stamp")
                              .arg(QStringLiteral("%1-%2-%3 %4:%5:%6")
                                       .arg(t.year, 4, 10, QLatin1Char('0'))
                                       .arg(t.month, 2, 10, QLatin1Char('0'))
                                       .arg(t.day, 2, 10, QLatin1Char('0'))
                                       .arg(t.hours, 2, 10, QLatin1Char('0'))
                                       .arg(t.minutes, 2, 10, QLatin1Char('0'))
                                       .arg(t.seconds, 2, 10, QLatin1Char('0'))));
        const qint64 local = LocalTimeOffsets::daysFromCivil(t.year, t.month, t.day) * 86400 +
                             t.hours * 3600 + t.minutes * 60 + t.seconds;
        instant = Date::fromTimeIntervalSince1970(double(offsets.instantOfLocal(local)));
    }
    if (instant.isNull())
        return refuse(qtTrId("monitor.problem.no_time"));

    auto reading = std::make_shared<Measurement>();
    reading->setTheWholeDate(instant);
    reading->setSystolic(pressureOf(systolic, isKilopascal()));
    reading->setDiastolic(pressureOf(diastolic, isKilopascal()));
    if (pulseRate && pulseRate->isNumber())
        reading->setPulse(pulseRate->isWhole()
                              ? QVariant(qlonglong(std::llround(pulseRate->value())))
                              : QVariant(pulseRate->value()));
    const QString failure = MeasurementChecks::firstFailure(*reading);
    if (!failure.isEmpty())
        return refuse(checkFailureText(failure, *reading));
    if (status) {
        const QStringList tags = tagsOfStatus(*status);
        if (!tags.isEmpty())
            reading->setTags(tags);
    }
    return reading;
}

QStringList BloodPressureRecord::tagsOfStatus(quint16 status)
{
    QStringList tags;
    if (status & BodyMovement)
        tags.append(qtTrId("monitor.tag.body_movement"));
    if (status & CuffTooLoose)
        tags.append(qtTrId("monitor.tag.cuff_too_loose"));
    if (status & IrregularPulse)
        tags.append(qtTrId("monitor.tag.irregular_pulse"));
    switch ((status & PulseRangeMask) >> 3) {
    case 1:
        tags.append(qtTrId("monitor.tag.pulse_above_range"));
        break;
    case 2:
        tags.append(qtTrId("monitor.tag.pulse_below_range"));
        break;
    default:
        break;
    }
    if (status & ImproperPosition)
        tags.append(qtTrId("monitor.tag.improper_position"));
    return tags;
}

QString BloodPressureRecord::conditionText(Sfloat::Kind kind)
{
    switch (kind) {
    case Sfloat::Kind::Number:
        break;
    case Sfloat::Kind::NotANumber:
        return qtTrId("monitor.condition.nan");
    case Sfloat::Kind::NotAtThisResolution:
        return qtTrId("monitor.condition.nres");
    case Sfloat::Kind::PlusInfinity:
        return qtTrId("monitor.condition.too_high");
    case Sfloat::Kind::MinusInfinity:
        return qtTrId("monitor.condition.too_low");
    case Sfloat::Kind::Reserved:
        return qtTrId("monitor.condition.reserved");
    }
    return QString();
}

QString BloodPressureRecord::checkFailureText(const QString &stem, const Measurement &reading)
{
    // The same words as the CSV import's; every importer words its refusals with these.
    if (stem == QLatin1String("record_bad_systolic"))
        return qtTrId("csv.problem.bad_systolic").arg(wholePart(reading.Systolic()));
    if (stem == QLatin1String("record_bad_diastolic"))
        return qtTrId("csv.problem.bad_diastolic").arg(wholePart(reading.Diastolic()));
    if (stem == QLatin1String("record_bad_pressure"))
        return qtTrId("csv.problem.bad_pressure")
            .arg(wholePart(reading.Systolic()), wholePart(reading.Diastolic()));
    if (stem == QLatin1String("record_bad_pulse"))
        return qtTrId("csv.problem.bad_pulse").arg(wholePart(reading.Pulse()));
    if (stem == QLatin1String("record_bad_weight"))
        return qtTrId("csv.problem.bad_weight").arg(wholePart(reading.Weight()));
    return qtTrId("csv.problem.bad_custom");
}
