#include "Expression.h"

#include "Number.h"
#include "PredicateParser.h"
#include "RelativeDate.h"

#include <QDateTime>

#include <cmath>

namespace {

bool sameDouble(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

bool sameNumber(const QVariant &a, const QVariant &b)
{
    if (a.typeId() != b.typeId())
        return false;
    if (a.typeId() == QMetaType::Double)
        return sameDouble(a.toDouble(), b.toDouble());
    return a.toLongLong() == b.toLongLong();
}

bool sameScalar(const QVariant &a, const QVariant &b)
{
    if (Number::isNumber(a) || Number::isNumber(b))
        return sameNumber(a, b);
    return a.typeId() == b.typeId() && a.toString() == b.toString();
}

} // namespace

Expression Expression::expressionForKeyPath(const QString &keyPath)
{
    Expression e;
    e.nType = KeyPathExpressionType;
    e.strKeyPath = keyPath;
    e.nKey = Measurement::keyFromString(keyPath);
    return e;
}

Expression Expression::expressionForConstantValue(const QVariant &value)
{
    Expression e;
    const int type = value.typeId();
    if (!value.isValid()) {
        e.nConstantKind = ConstantKind::Nil;
    } else if (Number::isNumber(value)) {
        e.nConstantKind = ConstantKind::Number;
        e.vConstant = Number::normalized(value);
    } else if (type == QMetaType::QString) {
        e.nConstantKind = ConstantKind::String;
        e.vConstant = value;
    } else if (type == qMetaTypeId<Date>()) {
        e.nConstantKind = ConstantKind::Date;
        e.vConstant = value;
    } else if (type == QMetaType::QDateTime) {
        e.nConstantKind = ConstantKind::Date;
        e.vConstant = QVariant::fromValue(Date::fromDateTime(value.toDateTime()));
    } else if (type == QMetaType::QStringList) {
        e.nConstantKind = ConstantKind::StringList;
        e.vConstant = value;
    } else if (type == qMetaTypeId<RelativeDate>()) {
        e.nConstantKind = ConstantKind::RelativeDate;
        e.vConstant = value;
    } else if (type == QMetaType::QVariantList) {
        const QVariantList list = value.toList();
        bool allStrings = true;
        bool allScalars = true;
        QVariantList normalized;
        normalized.reserve(list.size());
        for (const QVariant &element : list) {
            if (element.typeId() == QMetaType::QString) {
                normalized.append(element);
            } else if (Number::isNumber(element)) {
                allStrings = false;
                normalized.append(Number::normalized(element));
            } else {
                allStrings = allScalars = false;
            }
        }
        if (allStrings) {
            QStringList strings;
            for (const QVariant &element : list)
                strings.append(element.toString());
            e.nConstantKind = ConstantKind::StringList;
            e.vConstant = strings;
        } else if (allScalars) {
            e.nConstantKind = ConstantKind::List;
            e.vConstant = normalized;
        } else {
            e.nConstantKind = ConstantKind::Unsupported;
            e.vConstant = value;
        }
    } else {
        e.nConstantKind = ConstantKind::Unsupported;
        e.vConstant = value;
    }
    return e;
}

QString Expression::format() const
{
    if (nType == KeyPathExpressionType)
        return PredicateParser::formatKeyPath(strKeyPath);
    switch (nConstantKind) {
    case ConstantKind::Nil:
        return QStringLiteral("nil");
    case ConstantKind::Number:
        return PredicateParser::formatNumber(vConstant);
    case ConstantKind::String:
        return PredicateParser::formatString(vConstant.toString());
    case ConstantKind::Date:
        return QStringLiteral("CAST(%1, \"NSDate\")")
            .arg(PredicateParser::formatNumber(
                QVariant(vConstant.value<Date>().timeIntervalSinceReferenceDate())));
    case ConstantKind::StringList: {
        QStringList parts;
        for (const QString &s : vConstant.toStringList())
            parts.append(PredicateParser::formatString(s));
        return QLatin1Char('{') + parts.join(QLatin1String(", ")) + QLatin1Char('}');
    }
    case ConstantKind::List: {
        QStringList parts;
        for (const QVariant &v : vConstant.toList())
            parts.append(Number::isNumber(v) ? PredicateParser::formatNumber(v)
                                             : PredicateParser::formatString(v.toString()));
        return QLatin1Char('{') + parts.join(QLatin1String(", ")) + QLatin1Char('}');
    }
    case ConstantKind::RelativeDate: {
        const RelativeDate r = vConstant.value<RelativeDate>();
        return QStringLiteral("RELATIVEDATE(%1, %2)")
            .arg(PredicateParser::formatNumber(QVariant(r.timeIntervalSinceNow())))
            .arg(r.dateUnits());
    }
    case ConstantKind::Unsupported:
        break;
    }
    // Not a value the parser can read back; shown for diagnostics only.
    return QStringLiteral("<%1>").arg(QString::fromLatin1(vConstant.typeName()));
}

bool operator==(const Expression &a, const Expression &b)
{
    if (a.nType != b.nType)
        return false;
    if (a.nType == Expression::KeyPathExpressionType)
        return a.strKeyPath == b.strKeyPath;
    if (a.nConstantKind != b.nConstantKind)
        return false;
    switch (a.nConstantKind) {
    case Expression::ConstantKind::Nil:
        return true;
    case Expression::ConstantKind::Number:
        return sameNumber(a.vConstant, b.vConstant);
    case Expression::ConstantKind::String:
        return a.vConstant.toString() == b.vConstant.toString();
    case Expression::ConstantKind::Date:
        return sameDouble(a.vConstant.value<Date>().timeIntervalSinceReferenceDate(),
                          b.vConstant.value<Date>().timeIntervalSinceReferenceDate());
    case Expression::ConstantKind::StringList:
        return a.vConstant.toStringList() == b.vConstant.toStringList();
    case Expression::ConstantKind::List: {
        const QVariantList x = a.vConstant.toList(), y = b.vConstant.toList();
        if (x.size() != y.size())
            return false;
        for (qsizetype i = 0; i < x.size(); ++i) {
            if (!sameScalar(x[i], y[i]))
                return false;
        }
        return true;
    }
    case Expression::ConstantKind::RelativeDate: {
        const RelativeDate x = a.vConstant.value<RelativeDate>();
        const RelativeDate y = b.vConstant.value<RelativeDate>();
        return x.dateUnits() == y.dateUnits() &&
               sameDouble(x.timeIntervalSinceNow(), y.timeIntervalSinceNow());
    }
    case Expression::ConstantKind::Unsupported:
        return a.vConstant == b.vConstant;
    }
    return false;
}
