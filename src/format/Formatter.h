#pragma once

#include <QString>
#include <QVariant>

// A value-to-text converter used by tables and the printed report. stringForObjectValue() makes
// the display text of a value, or a null QString for "no text". getObjectValue() turns text back
// into a value where the formatter can; one-way formatters refuse with "One-way formatter".
class Formatter
{
public:
    Formatter() = default;
    virtual ~Formatter() = default;

    virtual QString stringForObjectValue(const QVariant &value) const = 0;
    // On success stores the value in *out (when given) and answers true; on failure leaves *out
    // alone, stores a description in *errorDescription (when given) and answers false.
    virtual bool getObjectValue(QVariant *out, const QString &text,
                                QString *errorDescription) const = 0;

    // The error description of formatters that never turn text into a value.
    static QString oneWayError() { return QStringLiteral("One-way formatter"); }

protected:
    Formatter(const Formatter &) = default;
    Formatter &operator=(const Formatter &) = default;

    static bool refuseOneWay(QString *errorDescription)
    {
        if (errorDescription)
            *errorDescription = oneWayError();
        return false;
    }
};
