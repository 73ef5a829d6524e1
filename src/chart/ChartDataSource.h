#pragma once

#include "Date.h"
#include "Measurement.h"

#include <QColor>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

// Hands the chart what it draws: the dates of a window's filtered readings (in stored order,
// ascending by date and time), one series of values per chart line, one colour per line and the
// date of the selected reading. It tells its own chart page through chartDataChanged() whenever
// any of that may have changed: a new list, another selected reading, or a change to one of the
// twelve preferences the chart depends on. Nothing is cached: every answer is built afresh;
// dataRevision() tells those who keep what they drew whether anything but the selection changed.
class ChartDataSource : public QObject
{
    Q_OBJECT
public:
    // The lines, in drawing order: the values of the table of values that have a chart colour.
    enum Line
    {
        Systolic,
        Diastolic,
        Pulse,
        Weight,
        Custom1,
        Custom2,
        Custom3,
        LineCount
    };

    explicit ChartDataSource(QObject *parent = nullptr);
    ~ChartDataSource() override;

    // The readings to chart (the document's filtered readings, in stored order), and the
    // selected one; the window sets both whenever they change.
    const ConstMeasurementList &objects() const { return pObjects; }
    void setObjects(const ConstMeasurementList &objects);
    const ConstMeasurementPtr &selection() const { return pSelection; }
    void setSelection(const ConstMeasurementPtr &selection);

    // What the renderer asks for.
    int numberOfLines() const { return LineCount; }
    QList<Date> arrayOfDates() const;
    // One entry per reading: its value for the line, or ChartGeometry::kNoValue where it has
    // none, the line is switched off, or the line number is not one of the seven.
    QList<double> arrayOfPointsForLine(int line) const;
    // The same two into lists filled again in their own memory where they have enough.
    void fillDates(QList<Date> &dates) const;
    void fillPointsForLine(int line, QList<double> &points) const;
    // The dates and every line's points at once, in one pass over the readings.
    void fillDatesAndLines(QList<Date> &dates, QList<QList<double>> &lines) const;
    // The line's colour from its preference, read at each call; invalid when there is none.
    QColor colorForLine(int line) const;
    // The selected reading's date, or a null date when nothing is selected.
    Date selectedDate() const;
    // With "chartShowLegend": one title per line, the user's own for custom values, empty for
    // a line switched off; and the unit of the value axis. Nothing without it.
    QStringList legendTitles() const;
    QString valueUnit() const;
    // With "chartShowThreshold": the home threshold for the systolic and the diastolic line,
    // no value for the others; nothing without it.
    QList<double> thresholds() const;

    // Grows with every change of what the lines show (a list set, a line switched or recoloured),
    // but not with another selected reading.
    quint64 dataRevision() const { return nDataRevision; }

    // The preference keys a line depends on (the switch is empty for lines always shown).
    static QString switchKeyForLine(int line);
    static QString colorKeyForLine(int line);
    // The preferences whose change redraws the chart.
    static const QStringList &observedKeys();

    void notifyObservers();

signals:
    // "ChartDataChanged": what the chart shows may have changed.
    void chartDataChanged();

private:
    void onPreferenceChanged(const QString &key);

    ConstMeasurementList pObjects;
    ConstMeasurementPtr pSelection;
    quint64 nDataRevision = 0;
};
