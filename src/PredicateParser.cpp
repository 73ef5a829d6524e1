#include "PredicateParser.h"

#include "ComparisonPredicate.h"
#include "Number.h"

#include <charconv>
#include <cmath>

PredicatePtr PredicateParser::parse(const QString &text, QString *error, qsizetype *errorPosition)
{
    Q_UNUSED(text);
    if (error)
        *error = QStringLiteral("not yet implemented");
    if (errorPosition)
        *errorPosition = 0;
    return nullptr;
}

QString PredicateParser::formatKeyPath(const QString &keyPath)
{
    return keyPath;
}

QString PredicateParser::formatNumber(const QVariant &number)
{
    if (number.typeId() != QMetaType::Double)
        return QString::number(number.toLongLong());
    const double value = number.toDouble();
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("1e999") : QStringLiteral("-1e999");
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    QString text = QString::fromLatin1(buffer, result.ptr - buffer);
    if (!text.contains(QLatin1Char('.')) && !text.contains(QLatin1Char('e')) &&
        !text.contains(QLatin1Char('n')))
        text += QLatin1String(".0");
    return text;
}

QString PredicateParser::formatString(const QString &string)
{
    QString text = QStringLiteral("\"");
    for (const QChar c : string) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            text += QLatin1Char('\\') + c;
        else if (c == QLatin1Char('\n'))
            text += QLatin1String("\\n");
        else if (c == QLatin1Char('\t'))
            text += QLatin1String("\\t");
        else if (c == QLatin1Char('\r'))
            text += QLatin1String("\\r");
        else
            text += c;
    }
    return text + QLatin1Char('"');
}

QString PredicateParser::operatorText(qint32 type)
{
    switch (type) {
    case ComparisonPredicate::LessThanPredicateOperatorType:
        return QStringLiteral("<");
    case ComparisonPredicate::LessThanOrEqualToPredicateOperatorType:
        return QStringLiteral("<=");
    case ComparisonPredicate::GreaterThanPredicateOperatorType:
        return QStringLiteral(">");
    case ComparisonPredicate::GreaterThanOrEqualToPredicateOperatorType:
        return QStringLiteral(">=");
    case ComparisonPredicate::EqualToPredicateOperatorType:
        return QStringLiteral("==");
    case ComparisonPredicate::NotEqualToPredicateOperatorType:
        return QStringLiteral("!=");
    case ComparisonPredicate::MatchesPredicateOperatorType:
        return QStringLiteral("MATCHES");
    case ComparisonPredicate::LikePredicateOperatorType:
        return QStringLiteral("LIKE");
    case ComparisonPredicate::BeginsWithPredicateOperatorType:
        return QStringLiteral("BEGINSWITH");
    case ComparisonPredicate::EndsWithPredicateOperatorType:
        return QStringLiteral("ENDSWITH");
    case ComparisonPredicate::InPredicateOperatorType:
        return QStringLiteral("IN");
    case ComparisonPredicate::ContainsPredicateOperatorType:
        return QStringLiteral("CONTAINS");
    case ComparisonPredicate::BetweenPredicateOperatorType:
        return QStringLiteral("BETWEEN");
    default:
        return QString();
    }
}
