#pragma once

#include <QVariant>

// Numbers travel as QVariant: a qlonglong for a whole number, a double for a fractional one,
// an invalid QVariant for "absent". The kind is kept because documents store it.
class Number
{
public:
    static QVariant integer(qint64 value) { return QVariant(qlonglong(value)); }
    static QVariant real(double value) { return QVariant(value); }
    static QVariant absent() { return QVariant(); }

    // True for any arithmetic QVariant (integers of every width, floats, doubles, bools).
    static bool isNumber(const QVariant &value);
    // True for a number held as a floating-point type.
    static bool isReal(const QVariant &value);
    // The number as a double; absent or non-numeric values give 0.
    static double toDouble(const QVariant &value);
    // Brings any arithmetic QVariant to the two canonical kinds; anything else becomes absent.
    static QVariant normalized(const QVariant &value);
};
