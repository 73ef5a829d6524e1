#include "HomeSummary.h"

#include "LocalTimeOffsets.h"
#include "Preferences.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace {

constexpr qint64 kSecondsPerDay = 86400;
constexpr int kMaxDays = 14;

qint64 floorDiv(qint64 a, qint64 b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

struct Sums
{
    int count = 0;
    double sum = 0;
    double squares = 0;

    void add(double value)
    {
        ++count;
        sum += value;
        squares += value * value;
    }
    void add(const Sums &other)
    {
        count += other.count;
        sum += other.sum;
        squares += other.squares;
    }
    HomeSummary::Statistic statistic() const
    {
        HomeSummary::Statistic result;
        if (count == 0)
            return result;
        result.count = count;
        result.mean = sum / count;
        double variance = squares / count - result.mean * result.mean;
        if (variance < 0.00001)
            variance = 0;
        result.deviation = std::sqrt(variance);
        return result;
    }
};

// What one day of the period gathered, by part of the day (morning, evening) and value.
struct Day
{
    Sums sums[2][HomeSummary::ValueCount];
    bool has(int part) const { return sums[part][HomeSummary::Systolic].count > 0; }
};

std::optional<double> valueOf(const QVariant &value)
{
    if (!value.isValid())
        return std::nullopt;
    bool ok = false;
    const double d = value.toDouble(&ok);
    return ok && std::isfinite(d) ? std::optional<double>(d) : std::nullopt;
}

} // namespace

HomeSummary::Settings HomeSummary::Settings::fromPreferences()
{
    const Preferences &prefs = Preferences::shared();
    Settings settings;
    settings.days = prefs.integerForKey(Preferences::homeSummaryDays);
    settings.morningFrom = prefs.integerForKey(Preferences::homeMorningFrom) * 60;
    settings.morningTo = prefs.integerForKey(Preferences::homeMorningTo) * 60;
    settings.eveningFrom = prefs.integerForKey(Preferences::homeEveningFrom) * 60;
    settings.eveningTo = prefs.integerForKey(Preferences::homeEveningTo) * 60;
    settings.thresholdSystolic = prefs.integerForKey(Preferences::homeThresholdSystolic);
    settings.thresholdDiastolic = prefs.integerForKey(Preferences::homeThresholdDiastolic);
    return settings;
}

HomeSummary HomeSummary::compute(const ConstMeasurementList &readings, const Settings &settings)
{
    HomeSummary summary;
    summary.pSettings = settings;
    const int days = std::clamp(settings.days, 1, kMaxDays);

    // The latest reading decides the period.
    double latest = -std::numeric_limits<double>::infinity();
    for (const ConstMeasurementPtr &reading : readings) {
        const double seconds = reading->theWholeDate().timeIntervalSince1970();
        if (std::isfinite(seconds) && seconds > latest)
            latest = seconds;
    }
    if (!std::isfinite(latest))
        return summary;

    LocalTimeOffsets offsets;
    const auto localSeconds = [&offsets](double seconds) {
        const qint64 unix = qint64(std::floor(seconds));
        return unix + offsets.offsetAt(unix);
    };
    const qint64 lastDay = floorDiv(localSeconds(latest), kSecondsPerDay);
    const qint64 firstDay = lastDay - days + 1;
    const QDate epoch(1970, 1, 1);
    summary.pFirstDay = epoch.addDays(firstDay);
    summary.pLastDay = epoch.addDays(lastDay);

    // No zone is more than a day away from UTC: earlier readings need no look-up.
    const double earliestInstant = double((firstDay - 1) * kSecondsPerDay);
    const int morningFrom = settings.morningFrom * 60, morningTo = settings.morningTo * 60;
    const int eveningFrom = settings.eveningFrom * 60, eveningTo = settings.eveningTo * 60;
    Day period[kMaxDays];
    for (const ConstMeasurementPtr &reading : readings) {
        const double seconds = reading->theWholeDate().timeIntervalSince1970();
        if (!(seconds >= earliestInstant))
            continue;
        const qint64 local = localSeconds(seconds);
        const qint64 day = floorDiv(local, kSecondsPerDay);
        if (day < firstDay || day > lastDay)
            continue;
        const qint64 secondOfDay = local - day * kSecondsPerDay;
        int part;
        if (secondOfDay >= morningFrom && secondOfDay < morningTo)
            part = 0;
        else if (secondOfDay >= eveningFrom && secondOfDay < eveningTo)
            part = 1;
        else
            continue;
        const std::optional<double> systolic = valueOf(reading->Systolic());
        const std::optional<double> diastolic = valueOf(reading->Diastolic());
        if (!systolic || !diastolic)
            continue;
        Sums *sums = period[day - firstDay].sums[part];
        sums[Systolic].add(*systolic);
        sums[Diastolic].add(*diastolic);
        if (const std::optional<double> pulse = valueOf(reading->Pulse()))
            sums[Pulse].add(*pulse);
    }

    int measuredDays = 0;
    int first = -1;
    for (int d = 0; d < days; ++d) {
        if (period[d].has(0) || period[d].has(1)) {
            ++measuredDays;
            if (first < 0)
                first = d;
        }
    }
    const int skipUntil = measuredDays >= 4 ? first + 1 : 0;
    Sums totals[PartCount][ValueCount];
    for (int d = skipUntil; d < days; ++d) {
        const Day &day = period[d];
        if (!day.has(0) && !day.has(1))
            continue;
        ++summary.nCountedDays;
        if (day.has(0) && day.has(1))
            ++summary.nCompleteDays;
        for (int part = 0; part < 2; ++part) {
            for (int value = 0; value < ValueCount; ++value) {
                totals[part == 0 ? Morning : Evening][value].add(day.sums[part][value]);
                totals[AllParts][value].add(day.sums[part][value]);
            }
        }
    }
    for (int part = 0; part < PartCount; ++part) {
        for (int value = 0; value < ValueCount; ++value)
            summary.pStats[part][value] = totals[part][value].statistic();
    }
    summary.nCountedReadings = summary.pStats[AllParts][Systolic].count;
    return summary;
}

HomeSummary::Verdict HomeSummary::verdict() const
{
    if (!isComplete())
        return Verdict::None;
    const Statistic &systolic = pStats[AllParts][Systolic];
    const Statistic &diastolic = pStats[AllParts][Diastolic];
    if (systolic.mean >= pSettings.thresholdSystolic ||
        diastolic.mean >= pSettings.thresholdDiastolic)
        return Verdict::AtOrAbove;
    return Verdict::Below;
}

QString HomeSummary::verdictText() const
{
    switch (verdict()) {
    case Verdict::AtOrAbove:
        //: %1/%2 is the home threshold in mmHg
        return qtTrId("summary.verdict.at_or_above")
            .arg(pSettings.thresholdSystolic)
            .arg(pSettings.thresholdDiastolic);
    case Verdict::Below:
        return qtTrId("summary.verdict.below")
            .arg(pSettings.thresholdSystolic)
            .arg(pSettings.thresholdDiastolic);
    case Verdict::None:
        break;
    }
    if (!hasPeriod())
        return qtTrId("summary.no_readings");
    if (missingDays() == 1)
        return qtTrId("summary.missing_day");
    //: %1 is the number of days still wanted
    return qtTrId("summary.missing_days").arg(missingDays());
}

QString HomeSummary::periodText() const
{
    if (!hasPeriod())
        return QString();
    const QLocale locale;
    //: %1 and %2 are the first and last day of the period
    return qtTrId("summary.period")
        .arg(locale.toString(pFirstDay, QLocale::ShortFormat),
             locale.toString(pLastDay, QLocale::ShortFormat));
}

QString HomeSummary::countedText() const
{
    //: %1 days, %2 readings
    return qtTrId("summary.counted").arg(nCountedDays).arg(nCountedReadings);
}

QStringList HomeSummary::columnTitles()
{
    return {qtTrId("summary.columns.part"), qtTrId("summary.columns.readings"),
            qtTrId("summary.columns.systolic"), qtTrId("summary.columns.diastolic"),
            qtTrId("summary.columns.pulse")};
}

QStringList HomeSummary::rowTexts(Part part) const
{
    static const char *const titles[] = {QT_TRID_NOOP("summary.part.all"),
                                         QT_TRID_NOOP("summary.part.morning"),
                                         QT_TRID_NOOP("summary.part.evening")};
    const QLocale locale;
    QStringList row = {qtTrId(titles[part]), locale.toString(readingsIn(part))};
    for (int value = 0; value < ValueCount; ++value) {
        const Statistic &s = pStats[part][value];
        row.append(s.isValid() ? QStringLiteral("%1 \u00b1 %2")
                                     .arg(locale.toString(s.mean, 'f', 1),
                                          locale.toString(s.deviation, 'f', 1))
                               : QStringLiteral("-"));
    }
    return row;
}
