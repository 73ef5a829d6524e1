#pragma once

#include "Measurement.h"

#include <QMetaType>
#include <QString>
#include <QVariant>

// One side of a comparison: either a key path read from the reading ("Systolic", "Tags.@count")
// or a constant. Constants are nil (an invalid QVariant), numbers (qlonglong whole, double
// fractional), strings, dates (Date), arrays of strings (QStringList), arrays of numbers and
// strings (QVariantList, for BETWEEN and IN) and relative dates (RelativeDate). A small
// immutable value.
class Expression
{
public:
    // Type codes as the file format numbers them.
    enum Type : qint32
    {
        ConstantValueExpressionType = 0,
        KeyPathExpressionType = 3
    };

    // What a constant holds.
    enum class ConstantKind : quint8
    {
        Nil,
        Number,
        String,
        Date,
        StringList,
        List,
        RelativeDate,
        Unsupported // a value of another type: comparing with it is an evaluation error
    };

    // The constant nil.
    Expression() = default;

    static Expression expressionForKeyPath(const QString &keyPath);
    // Numbers are normalised to qlonglong or double; a QVariantList of strings only becomes a
    // QStringList; a QDateTime becomes a Date.
    static Expression expressionForConstantValue(const QVariant &value);

    Type expressionType() const { return nType; }
    // The key path of a key-path expression; empty for a constant.
    QString keyPath() const { return strKeyPath; }
    // The value of a constant; invalid for a key path (and for nil).
    QVariant constantValue() const { return vConstant; }
    ConstantKind constantKind() const { return nConstantKind; }
    // The reading property a key path names, resolved once; Key::Invalid for a key path readings
    // do not have, and for constants.
    Measurement::Key key() const { return nKey; }

    // The text form, as the predicate parser reads it.
    QString format() const;

    friend bool operator==(const Expression &a, const Expression &b);
    friend bool operator!=(const Expression &a, const Expression &b) { return !(a == b); }

private:
    Type nType = ConstantValueExpressionType;
    ConstantKind nConstantKind = ConstantKind::Nil;
    Measurement::Key nKey = Measurement::Key::Invalid;
    QString strKeyPath;
    QVariant vConstant;
};

Q_DECLARE_METATYPE(Expression)
