#include "ChartDataSource.h"

#include "ChartGeometry.h"
#include "Preferences.h"
#include "ReadingValues.h"

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
    dates.reserve(pObjects.size());
    for (const ConstMeasurementPtr &reading : pObjects)
        dates.append(reading->theWholeDate());
    return dates;
}

QList<double> ChartDataSource::arrayOfPointsForLine(int line) const
{
    const ReadingValue *value = lineValue(line);
    QList<double> points(pObjects.size(), ChartGeometry::kNoValue);
    if (!value || !ReadingValues::isShown(*value))
        return points;
    const Measurement::Key key = value->key;
    double *out = points.data();
    for (const ConstMeasurementPtr &reading : pObjects) {
        double v;
        if (reading->numberForKey(key, &v))
            *out = v;
        ++out;
    }
    return points;
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
