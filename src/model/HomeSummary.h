#pragma once

#include "Measurement.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <array>

// The summary of home readings taken by the usual home protocol: on each of a run of days, readings
// in the morning and in the evening; the first of the measured days is left out; the mean of the
// rest is set against a home threshold. It reports what the readings say against that threshold
// and nothing more.
//
// The rules:
// - a reading belongs to the morning when its local time of day lies in [morningFrom, morningTo),
//   to the evening when it lies in [eveningFrom, eveningTo) (minutes since midnight); any other
//   reading is not counted;
// - the period is the last `days` calendar days ending with the day of the latest reading given;
// - the counted days are the days of the period with at least one morning or evening reading,
//   less the earliest of them when there are at least four; the counted readings are the morning
//   and evening readings of the counted days;
// - the summary is complete when at least three counted days each have a morning and an evening
//   reading; only a complete summary has a verdict: at or above the threshold when the mean
//   systolic pressure reaches the systolic threshold or the mean diastolic pressure the
//   diastolic one, else below.
class HomeSummary
{
public:
    struct Settings
    {
        int days = 7;
        int morningFrom = 4 * 60, morningTo = 12 * 60;
        int eveningFrom = 16 * 60, eveningTo = 24 * 60;
        int thresholdSystolic = 135, thresholdDiastolic = 85;

        // The settings the preferences hold ("homeSummaryDays", "homeMorningFrom", ...).
        static Settings fromPreferences();
    };

    // Mean and deviation of one value over the readings that have it; the deviation is the
    // averages' own (population deviation, tiny variances taken as 0).
    struct Statistic
    {
        int count = 0;
        double mean = 0;
        double deviation = 0;
        bool isValid() const { return count > 0; }
    };

    enum Part
    {
        AllParts,
        Morning,
        Evening,
        PartCount
    };
    enum Value
    {
        Systolic,
        Diastolic,
        Pulse,
        ValueCount
    };
    enum class Verdict
    {
        None, // incomplete
        Below,
        AtOrAbove
    };

    // Days with a morning and an evening reading that make a summary complete.
    static constexpr int kDaysNeeded = 3;

    static HomeSummary compute(const ConstMeasurementList &readings, const Settings &settings);
    static HomeSummary compute(const ConstMeasurementList &readings)
    {
        return compute(readings, Settings::fromPreferences());
    }

    const Settings &settings() const { return pSettings; }
    // False when no reading was given: there is no period then.
    bool hasPeriod() const { return pLastDay.isValid(); }
    QDate firstDay() const { return pFirstDay; }
    QDate lastDay() const { return pLastDay; }
    int countedDays() const { return nCountedDays; }
    int countedReadings() const { return nCountedReadings; }
    // Counted days with both a morning and an evening reading.
    int completeDays() const { return nCompleteDays; }
    const Statistic &statistic(Part part, Value value) const { return pStats[part][value]; }
    int readingsIn(Part part) const { return pStats[part][Systolic].count; }

    bool isComplete() const { return nCompleteDays >= kDaysNeeded; }
    // Counted days with morning and evening readings still wanted for a complete summary.
    int missingDays() const { return isComplete() ? 0 : kDaysNeeded - nCompleteDays; }
    Verdict verdict() const;

    // One line for a verdict or for what is missing, localised.
    QString verdictText() const;
    // "Period: first to last" in the locale's short date form; empty without a period.
    QString periodText() const;
    // The counted days and readings.
    QString countedText() const;
    // Titles of the columns of rowTexts(), and one row: the part of the day, its readings, and
    // mean ± deviation of systolic, diastolic and pulse ("-" where no reading has the value).
    static QStringList columnTitles();
    QStringList rowTexts(Part part) const;

private:
    Settings pSettings;
    QDate pFirstDay, pLastDay;
    int nCountedDays = 0;
    int nCountedReadings = 0;
    int nCompleteDays = 0;
    std::array<std::array<Statistic, ValueCount>, PartCount> pStats{};
};
