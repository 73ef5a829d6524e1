#include "ChartDataSource.h"

#include "ChartGeometry.h"
#include "Preferences.h"

#include <array>

namespace {

constexpr std::array<Measurement::Key, ChartDataSource::LineCount> kLineKeys = {
    Measurement::Key::Systolic,     Measurement::Key::Diastolic,    Measurement::Key::Pulse,
    Measurement::Key::Weight,       Measurement::Key::CustomValue1, Measurement::Key::CustomValue2,
    Measurement::Key::CustomValue3,
};

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
    bool shown = line >= 0 && line < LineCount;
    if (shown && line >= Pulse)
        shown = Preferences::shared().boolForKey(switchKeyForLine(line));
    QList<double> points(pObjects.size(), ChartGeometry::kNoValue);
    if (!shown)
        return points;
    const Measurement::Key key = kLineKeys[line];
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
    switch (line) {
    case Pulse:
        return Preferences::showPulse;
    case Weight:
        return Preferences::showWeight;
    case Custom1:
        return Preferences::customShow1;
    case Custom2:
        return Preferences::customShow2;
    case Custom3:
        return Preferences::customShow3;
    default:
        return QString();
    }
}

QString ChartDataSource::colorKeyForLine(int line)
{
    switch (line) {
    case Systolic:
        return Preferences::chartColorSystolic;
    case Diastolic:
        return Preferences::chartColorDiastolic;
    case Pulse:
        return Preferences::chartColorPulse;
    case Weight:
        return Preferences::chartColorWeight;
    case Custom1:
        return Preferences::chartColorCustom1;
    case Custom2:
        return Preferences::chartColorCustom2;
    case Custom3:
        return Preferences::chartColorCustom3;
    default:
        return QString();
    }
}

const QStringList &ChartDataSource::observedKeys()
{
    static const QStringList keys = {
        Preferences::showWeight,
        Preferences::showPulse,
        Preferences::customShow1,
        Preferences::customShow2,
        Preferences::customShow3,
        Preferences::chartColorSystolic,
        Preferences::chartColorDiastolic,
        Preferences::chartColorPulse,
        Preferences::chartColorWeight,
        Preferences::chartColorCustom1,
        Preferences::chartColorCustom2,
        Preferences::chartColorCustom3,
        Preferences::customTitle1,
        Preferences::customTitle2,
        Preferences::customTitle3,
        Preferences::chartShowLegend,
        Preferences::chartShowThreshold,
        Preferences::homeThresholdSystolic,
        Preferences::homeThresholdDiastolic,
    };
    return keys;
}

void ChartDataSource::notifyObservers()
{
    emit chartDataChanged();
}

void ChartDataSource::onPreferenceChanged(const QString &key)
{
    if (observedKeys().contains(key))
        notifyObservers();
}
