#include "ChartDataSource.h"

#include "ChartGeometry.h"
#include "Preferences.h"
#include "ReadingValues.h"

#include <algorithm>
#include <array>

namespace {

// The lines are the values with a chart colour, in the order of the table of values.
constexpr auto kLines = [] {
    std::array<const ReadingValue *, ChartDataSource::LineCount> lines{};
    std::size_t n = 0;
    for (const ReadingValue &value : ReadingValues::kAll) {
        if (!value.colorKey.isEmpty())
            lines[n++] = &value;
    }
    return n == lines.size() ? lines : throw "one line per value with a chart colour";
}();

const ReadingValue *lineValue(int line)
{
    return line >= 0 && line < ChartDataSource::LineCount ? kLines[std::size_t(line)] : nullptr;
}

} // namespace

ChartDataSource::ChartDataSource(QObject *parent) : QObject(parent)
{
    connect(&Preferences::shared(), &Preferences::changed, this,
            &ChartDataSource::onPreferenceChanged);
}

ChartDataSource::~ChartDataSource() = default;

void ChartDataSource::setObjects(const ConstMeasurementList &objects)
{
    // A list set again may still hold changed readings: always tell the chart.
    pObjects = objects;
    ++nDataRevision;
    notifyObservers();
}

void ChartDataSource::setSelection(const ConstMeasurementPtr &selection)
{
    if (selection == pSelection)
        return;
    pSelection = selection;
    notifyObservers();
}

QList<Date> ChartDataSource::arrayOfDates() const
{
    QList<Date> dates;
    fillDates(dates);
    return dates;
}

QList<double> ChartDataSource::arrayOfPointsForLine(int line) const
{
    QList<double> points;
    fillPointsForLine(line, points);
    return points;
}

void ChartDataSource::fillDates(QList<Date> &dates) const
{
    dates.resize(pObjects.size());
    Date *out = dates.data();
    for (const ConstMeasurementPtr &reading : pObjects)
        *out++ = reading->theWholeDate();
}

void ChartDataSource::fillPointsForLine(int line, QList<double> &points) const
{
    const ReadingValue *value = lineValue(line);
    points.resize(pObjects.size());
    double *out = points.data();
    if (!value || !ReadingValues::isShown(*value)) {
        std::fill(out, out + points.size(), ChartGeometry::kNoValue);
        return;
    }
    const Measurement::Key key = value->key;
    for (const ConstMeasurementPtr &reading : pObjects) {
        double v;
        *out++ = reading->numberForKey(key, &v) ? v : ChartGeometry::kNoValue;
    }
}

void ChartDataSource::fillDatesAndLines(QList<Date> &dates, QList<QList<double>> &lines) const
{
    const qsizetype count = pObjects.size();
    dates.resize(count);
    Date *days = dates.data();
    lines.resize(LineCount);
    std::array<Measurement::Key, LineCount> keys{};
    std::array<int, LineCount> places{};
    std::array<double *, LineCount> outs{};
    int shown = 0;
    bool stored = true; // every line shown is of a stored value
    for (int line = 0; line < LineCount; ++line) {
        QList<double> &points = lines[line];
        points.resize(count);
        const ReadingValue *value = lineValue(line);
        if (!ReadingValues::isShown(*value)) {
            std::fill(points.begin(), points.end(), ChartGeometry::kNoValue);
            continue;
        }
        keys[size_t(shown)] = value->key;
        places[size_t(shown)] = ReadingValues::slotOf(value->key);
        stored = stored && places[size_t(shown)] >= 0;
        outs[size_t(shown++)] = points.data();
    }
    // Reading by reading: each is fetched from memory once for all its values.
    for (qsizetype j = 0; j < count; ++j) {
        const Measurement &reading = *pObjects[j];
        days[j] = reading.theWholeDate();
        for (int k = 0; k < shown; ++k) {
            double v;
            const bool present = stored ? reading.storedNumber(places[size_t(k)], &v)
                                        : reading.numberForKey(keys[size_t(k)], &v);
            outs[size_t(k)][j] = present ? v : ChartGeometry::kNoValue;
        }
    }
}

QColor ChartDataSource::colorForLine(int line) const
{
    const QString key = colorKeyForLine(line);
    return key.isEmpty() ? QColor() : Preferences::shared().colorForKey(key);
}

Date ChartDataSource::selectedDate() const
{
    return pSelection ? pSelection->theWholeDate() : Date();
}

QStringList ChartDataSource::legendTitles() const
{
    const Preferences &prefs = Preferences::shared();
    if (!prefs.boolForKey(Preferences::chartShowLegend))
        return {};
    QStringList titles;
    for (int line = 0; line < LineCount; ++line) {
        const QString show = switchKeyForLine(line);
        if (!show.isEmpty() && !prefs.boolForKey(show)) {
            titles.append(QString());
            continue;
        }
        switch (line) {
        case Systolic:
            titles.append(qtTrId("chart.legend.systolic"));
            break;
        case Diastolic:
            titles.append(qtTrId("chart.legend.diastolic"));
            break;
        case Pulse:
            titles.append(qtTrId("chart.legend.pulse"));
            break;
        case Weight:
            titles.append(qtTrId("chart.legend.weight"));
            break;
        default:
            titles.append(
                prefs.stringForKey(QStringLiteral("customTitle%1").arg(line - Custom1 + 1)));
            break;
        }
    }
    return titles;
}

QString ChartDataSource::valueUnit() const
{
    return Preferences::shared().boolForKey(Preferences::chartShowLegend)
               ? qtTrId("chart.unit.pressure")
               : QString();
}

QList<double> ChartDataSource::thresholds() const
{
    const Preferences &prefs = Preferences::shared();
    if (!prefs.boolForKey(Preferences::chartShowThreshold))
        return {};
    QList<double> values(LineCount, ChartGeometry::kNoValue);
    values[Systolic] = prefs.integerForKey(Preferences::homeThresholdSystolic);
    values[Diastolic] = prefs.integerForKey(Preferences::homeThresholdDiastolic);
    return values;
}

QString ChartDataSource::switchKeyForLine(int line)
{
    const ReadingValue *value = lineValue(line);
    return value && !value->showKey.isEmpty() ? QString(value->showKey) : QString();
}

QString ChartDataSource::colorKeyForLine(int line)
{
    const ReadingValue *value = lineValue(line);
    return value ? QString(value->colorKey) : QString();
}

const QStringList &ChartDataSource::observedKeys()
{
    static const QStringList keys = [] {
        QStringList all;
        for (const ReadingValue *value : kLines) {
            if (!value->showKey.isEmpty())
                all.append(value->showKey);
        }
        for (const ReadingValue *value : kLines)
            all.append(value->colorKey);
        // The legend names custom lines by the user's titles.
        for (const ReadingValue *value : kLines) {
            if (!value->titleKey.isEmpty())
                all.append(value->titleKey);
        }
        all << Preferences::chartShowLegend << Preferences::chartShowThreshold
            << Preferences::homeThresholdSystolic << Preferences::homeThresholdDiastolic;
        return all;
    }();
    return keys;
}

void ChartDataSource::notifyObservers()
{
    emit chartDataChanged();
}

void ChartDataSource::onPreferenceChanged(const QString &key)
{
    if (observedKeys().contains(key)) {
        ++nDataRevision;
        notifyObservers();
    }
}
