#include "ComparisonPredicate.h"

#include "Number.h"
#include "PredicateParser.h"
#include "ReadingValues.h"
#include "RelativeDate.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

using Key = Measurement::Key;

bool isNumericKey(Key key)
{
    return ReadingValues::find(key) || key == Key::TagsCount;
}

bool isDateKey(Key key)
{
    return key == Key::TheWholeDate || key == Key::Date || key == Key::Time;
}

bool isOrderingOrEquality(qint32 type)
{
    return type >= ComparisonPredicate::LessThanPredicateOperatorType &&
           type <= ComparisonPredicate::NotEqualToPredicateOperatorType;
}

// A day starts less than this many seconds before or after any instant in it, in any time zone:
// a day lasts about 24 hours, and clocks stand less than 26 hours from UTC.
constexpr double kDaySlack = 8 * 86400.0;
// The instants (seconds since 2001) for which the above is known to hold: years 1810 to 8970.
constexpr double kSlackFrom = -6.0e9;
constexpr double kSlackTo = 2.2e11;

// A reading's day (the Date key) compares with an instant as the reading's own instant does when
// the two lie far enough apart; then the instant stands in for the day, which costs a calendar
// computation. Filters such as "the last week" thus work out the days of a few readings only.
inline bool dayComparesAsInstant(double instant, double constant)
{
    return std::fabs(instant - constant) > kDaySlack && instant > kSlackFrom && instant < kSlackTo;
}

// The date of a reading under the key, or a value that compares with the constant as it does.
double readingDate(const Measurement &reading, Key key, double constant)
{
    switch (key) {
    case Key::TheWholeDate:
        return reading.theWholeDate().timeIntervalSinceReferenceDate();
    case Key::Date: {
        const double instant = reading.theWholeDate().timeIntervalSinceReferenceDate();
        return dayComparesAsInstant(instant, constant)
                   ? instant
                   : reading.Date().timeIntervalSinceReferenceDate();
    }
    default:
        return reading.Time().timeIntervalSinceReferenceDate();
    }
}

bool isDate(const QVariant &v)
{
    return v.typeId() == qMetaTypeId<Date>();
}
bool isString(const QVariant &v)
{
    return v.typeId() == QMetaType::QString;
}

// The elements of an array value; nullopt for anything that is not an array.
std::optional<QVariantList> elementsOf(const QVariant &v)
{
    if (v.typeId() == QMetaType::QStringList) {
        QVariantList list;
        for (const QString &s : v.toStringList())
            list.append(QVariant(s));
        return list;
    }
    if (v.typeId() == QMetaType::QVariantList)
        return v.toList();
    return std::nullopt;
}

QString withoutDiacritics(const QString &s)
{
    const QString decomposed = s.normalized(QString::NormalizationForm_D);
    QString result;
    result.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing)
            result.append(c);
    }
    return result.normalized(QString::NormalizationForm_C);
}

// The text as compared under the options (case and diacritic insensitivity).
QString foldText(const QString &s, qint32 options)
{
    const QString result = (options & ComparisonPredicate::DiacriticInsensitivePredicateOption)
                               ? withoutDiacritics(s)
                               : s;
    return (options & ComparisonPredicate::CaseInsensitivePredicateOption) ? result.toCaseFolded()
                                                                           : result;
}

QString likeToRegularExpression(const QString &like)
{
    QString pattern;
    for (qsizetype i = 0; i < like.size(); ++i) {
        const QChar c = like.at(i);
        if (c == QLatin1Char('*'))
            pattern += QLatin1String(".*");
        else if (c == QLatin1Char('?'))
            pattern += QLatin1Char('.');
        else if (c == QLatin1Char('\\') && i + 1 < like.size())
            pattern += QRegularExpression::escape(QString(like.at(++i)));
        else
            pattern += QRegularExpression::escape(QString(c));
    }
    return pattern;
}

} // namespace

bool ComparisonPredicate::isValidOperator(qint32 type)
{
    return (type >= LessThanPredicateOperatorType && type <= InPredicateOperatorType) ||
           type == ContainsPredicateOperatorType || type == BetweenPredicateOperatorType;
}

PredicatePtr ComparisonPredicate::predicateWithLeftExpression(const Expression &left,
                                                              const Expression &right,
                                                              qint32 modifier, qint32 type,
                                                              qint32 options)
{
    if (!isValidOperator(type))
        return nullptr;
    if (modifier != DirectPredicateModifier && modifier != AllPredicateModifier &&
        modifier != AnyPredicateModifier)
        return nullptr;
    return PredicatePtr(new ComparisonPredicate(left, right, modifier, type, options));
}

ComparisonPredicate::ComparisonPredicate(const Expression &left, const Expression &right,
                                         qint32 modifier, qint32 type, qint32 options)
    : Predicate(Kind::Comparison), pLeft(left), pRight(right), nModifier(modifier), nOperator(type),
      nOptions(options & (CaseInsensitivePredicateOption | DiacriticInsensitivePredicateOption))
{
    prepare();
}

void ComparisonPredicate::prepare()
{
    // Whether the predicate can be evaluated at all does not depend on the reading.
    for (const Expression *e : {&pLeft, &pRight}) {
        if (!strEvaluationError.isEmpty())
            break;
        if (e->expressionType() == Expression::KeyPathExpressionType && e->key() == Key::Invalid)
            strEvaluationError =
                QStringLiteral("readings have no value for the key path '%1'").arg(e->keyPath());
        else if (e->expressionType() == Expression::ConstantValueExpressionType &&
                 e->constantKind() == Expression::ConstantKind::Unsupported)
            strEvaluationError = QStringLiteral("a constant of type %1 cannot be compared")
                                     .arg(QString::fromLatin1(e->constantValue().typeName()));
    }
    if (strEvaluationError.isEmpty() && nModifier != DirectPredicateModifier) {
        const bool collection =
            pLeft.expressionType() == Expression::KeyPathExpressionType
                ? pLeft.key() == Key::Tags
                : (pLeft.constantKind() == Expression::ConstantKind::StringList ||
                   pLeft.constantKind() == Expression::ConstantKind::List);
        if (!collection)
            strEvaluationError =
                QStringLiteral("ANY and ALL need an array on the left, and '%1' is not one")
                    .arg(pLeft.format());
    }
    bDependsOnNow = pLeft.constantKind() == Expression::ConstantKind::RelativeDate ||
                    pRight.constantKind() == Expression::ConstantKind::RelativeDate;

    if ((nOperator == MatchesPredicateOperatorType || nOperator == LikePredicateOperatorType) &&
        pRight.constantKind() == Expression::ConstantKind::String) {
        QString text = pRight.constantValue().toString();
        if (nOptions & DiacriticInsensitivePredicateOption)
            text = withoutDiacritics(text);
        if (nOperator == LikePredicateOperatorType)
            text = likeToRegularExpression(text);
        QRegularExpression::PatternOptions patternOptions =
            QRegularExpression::DotMatchesEverythingOption;
        if (nOptions & CaseInsensitivePredicateOption)
            patternOptions |= QRegularExpression::CaseInsensitiveOption;
        pPattern = QRegularExpression(QRegularExpression::anchoredPattern(text), patternOptions);
        bHasPattern = true;
        if (!pPattern.isValid() && strEvaluationError.isEmpty())
            strEvaluationError =
                QStringLiteral("'%1' is not a valid regular expression: %2")
                    .arg(pRight.constantValue().toString(), pPattern.errorString());
    }

    // Tags against a constant list, the form of the filters by tag.
    const std::optional<QVariantList> listed =
        pRight.expressionType() == Expression::ConstantValueExpressionType
            ? elementsOf(pRight.constantValue())
            : std::nullopt;
    if (strEvaluationError.isEmpty() && nModifier != DirectPredicateModifier &&
        nOperator == InPredicateOperatorType &&
        pLeft.expressionType() == Expression::KeyPathExpressionType && pLeft.key() == Key::Tags &&
        listed) {
        for (const QVariant &element : *listed) {
            if (isString(element))
                pFoldedStrings.append(foldText(element.toString(), nOptions));
        }
        nPlan = Plan::TagsIn;
        return;
    }

    // The fast plans: a reading's number or date against a constant, directly.
    if (!strEvaluationError.isEmpty() || nModifier != DirectPredicateModifier ||
        !isOrderingOrEquality(nOperator) ||
        pLeft.expressionType() != Expression::KeyPathExpressionType ||
        pRight.expressionType() != Expression::ConstantValueExpressionType)
        return;
    if (isNumericKey(pLeft.key()) && pRight.constantKind() == Expression::ConstantKind::Number) {
        nPlan = Plan::NumberKeyVsNumber;
        fConstant = Number::toDouble(pRight.constantValue());
    } else if (isDateKey(pLeft.key()) && pRight.constantKind() == Expression::ConstantKind::Date) {
        nPlan = Plan::DateKeyVsDate;
        fConstant = pRight.constantValue().value<Date>().timeIntervalSinceReferenceDate();
    } else if (isDateKey(pLeft.key()) &&
               pRight.constantKind() == Expression::ConstantKind::RelativeDate) {
        nPlan = Plan::DateKeyVsRelative;
        fRelativeInterval = pRight.constantValue().value<RelativeDate>().timeIntervalSinceNow();
    }
}

QString ComparisonPredicate::predicateFormat() const
{
    QString text;
    if (nModifier == AnyPredicateModifier)
        text = QStringLiteral("ANY ");
    else if (nModifier == AllPredicateModifier)
        text = QStringLiteral("ALL ");
    text += pLeft.format() + QLatin1Char(' ') + PredicateParser::operatorText(nOperator);
    if (nOptions) {
        text += QLatin1Char('[');
        if (nOptions & CaseInsensitivePredicateOption)
            text += QLatin1Char('c');
        if (nOptions & DiacriticInsensitivePredicateOption)
            text += QLatin1Char('d');
        text += QLatin1Char(']');
    }
    return text + QLatin1Char(' ') + pRight.format();
}

bool ComparisonPredicate::isEqual(const Predicate &other) const
{
    const ComparisonPredicate *o = other.asComparison();
    return o && o->nModifier == nModifier && o->nOperator == nOperator && o->nOptions == nOptions &&
           o->pLeft == pLeft && o->pRight == pRight;
}

bool ComparisonPredicate::compareNumbers(double left, double right) const
{
    switch (nOperator) {
    case LessThanPredicateOperatorType:
        return left < right;
    case LessThanOrEqualToPredicateOperatorType:
        return left <= right;
    case GreaterThanPredicateOperatorType:
        return left > right;
    case GreaterThanOrEqualToPredicateOperatorType:
        return left >= right;
    case EqualToPredicateOperatorType:
        return left == right;
    case NotEqualToPredicateOperatorType:
        return left != right;
    default:
        return false;
    }
}

bool ComparisonPredicate::evaluate(const Measurement &reading, Date now) const
{
    switch (nPlan) {
    case Plan::NumberKeyVsNumber: {
        double value;
        return reading.numberForKey(pLeft.key(), &value) && compareNumbers(value, fConstant);
    }
    case Plan::DateKeyVsDate: {
        const double value = readingDate(reading, pLeft.key(), fConstant);
        return !std::isnan(value) && compareNumbers(value, fConstant);
    }
    case Plan::DateKeyVsRelative: {
        const double constant = now.timeIntervalSinceReferenceDate() + fRelativeInterval;
        const double value = readingDate(reading, pLeft.key(), constant);
        return !std::isnan(value) && compareNumbers(value, constant);
    }
    case Plan::TagsIn: {
        // As the general path, without making a value of each tag: absent tags satisfy
        // neither ANY nor ALL, and only the list's strings can equal a tag.
        if (!reading.hasTags())
            return false;
        const QStringList tags = reading.Tags();
        const auto among = [this](const QString &tag) {
            return pFoldedStrings.contains(nOptions ? foldText(tag, nOptions) : tag);
        };
        return nModifier == AnyPredicateModifier ? std::any_of(tags.cbegin(), tags.cend(), among)
                                                 : std::all_of(tags.cbegin(), tags.cend(), among);
    }
    case Plan::General:
        break;
    }

    const QVariant left = resolve(pLeft, reading, now);
    const QVariant right = resolve(pRight, reading, now);
    if (nModifier == DirectPredicateModifier)
        return compareScalars(left, right);
    // ANY and ALL: absent tags satisfy neither.
    const std::optional<QVariantList> elements = elementsOf(left);
    if (!elements)
        return false;
    if (nModifier == AnyPredicateModifier) {
        for (const QVariant &element : *elements) {
            if (compareScalars(element, right))
                return true;
        }
        return false;
    }
    for (const QVariant &element : *elements) {
        if (!compareScalars(element, right))
            return false;
    }
    return true;
}

namespace {

// One loop per operator, so that the comparison is inlined into it.
template <typename Read>
void keepWhere(const ConstMeasurementList &readings, qint32 type, double constant, Read read,
               ConstMeasurementList &kept)
{
    const auto loop = [&](auto compare) {
        double value;
        for (const ConstMeasurementPtr &reading : readings) {
            if (read(*reading, &value) && compare(value, constant))
                kept.append(reading);
        }
    };
    switch (type) {
    case ComparisonPredicate::LessThanPredicateOperatorType:
        return loop([](double a, double b) { return a < b; });
    case ComparisonPredicate::LessThanOrEqualToPredicateOperatorType:
        return loop([](double a, double b) { return a <= b; });
    case ComparisonPredicate::GreaterThanPredicateOperatorType:
        return loop([](double a, double b) { return a > b; });
    case ComparisonPredicate::GreaterThanOrEqualToPredicateOperatorType:
        return loop([](double a, double b) { return a >= b; });
    case ComparisonPredicate::EqualToPredicateOperatorType:
        return loop([](double a, double b) { return a == b; });
    case ComparisonPredicate::NotEqualToPredicateOperatorType:
        return loop([](double a, double b) { return a != b; });
    default:
        return;
    }
}

// A reading's date as seconds, or for the day a value that compares with the constant as the
// day does (readingDate()); false when it has none.
template <Key key> bool readDate(const Measurement &reading, double constant, double *value)
{
    if constexpr (key == Key::TheWholeDate)
        *value = reading.theWholeDate().timeIntervalSinceReferenceDate();
    else if constexpr (key == Key::Date)
        *value = readingDate(reading, key, constant);
    else
        *value = reading.Time().timeIntervalSinceReferenceDate();
    return !std::isnan(*value);
}

} // namespace

void ComparisonPredicate::filterInto(const ConstMeasurementList &readings, Date now,
                                     ConstMeasurementList &kept) const
{
    const Key key = pLeft.key();
    switch (nPlan) {
    case Plan::NumberKeyVsNumber:
        return keepWhere(
            readings, nOperator, fConstant,
            [key](const Measurement &r, double *value) { return r.numberForKey(key, value); },
            kept);
    case Plan::DateKeyVsDate:
    case Plan::DateKeyVsRelative: {
        const double constant = nPlan == Plan::DateKeyVsDate
                                    ? fConstant
                                    : now.timeIntervalSinceReferenceDate() + fRelativeInterval;
        if (key == Key::TheWholeDate)
            return keepWhere(
                readings, nOperator, constant,
                [constant](const Measurement &r, double *v) {
                    return readDate<Key::TheWholeDate>(r, constant, v);
                },
                kept);
        if (key == Key::Date)
            return keepWhere(
                readings, nOperator, constant,
                [constant](const Measurement &r, double *v) {
                    return readDate<Key::Date>(r, constant, v);
                },
                kept);
        return keepWhere(
            readings, nOperator, constant,
            [constant](const Measurement &r, double *v) {
                return readDate<Key::Time>(r, constant, v);
            },
            kept);
    }
    case Plan::TagsIn:
    case Plan::General:
        break;
    }
    Predicate::filterInto(readings, now, kept);
}

QVariant ComparisonPredicate::resolve(const Expression &expression, const Measurement &reading,
                                      Date now) const
{
    if (expression.expressionType() == Expression::KeyPathExpressionType)
        return reading.valueForKey(expression.key());
    if (expression.constantKind() == Expression::ConstantKind::RelativeDate) {
        const RelativeDate relative = expression.constantValue().value<RelativeDate>();
        return QVariant::fromValue(Date(relative.timeIntervalSinceReferenceDate(now)));
    }
    return expression.constantValue();
}

bool ComparisonPredicate::matchesPattern(const QString &subject, const QVariant &pattern) const
{
    const QString folded =
        (nOptions & DiacriticInsensitivePredicateOption) ? withoutDiacritics(subject) : subject;
    if (bHasPattern)
        return pPattern.match(folded).hasMatch();
    if (!isString(pattern))
        return false;
    QString text = pattern.toString();
    if (nOptions & DiacriticInsensitivePredicateOption)
        text = withoutDiacritics(text);
    if (nOperator == LikePredicateOperatorType)
        text = likeToRegularExpression(text);
    QRegularExpression::PatternOptions patternOptions =
        QRegularExpression::DotMatchesEverythingOption;
    if (nOptions & CaseInsensitivePredicateOption)
        patternOptions |= QRegularExpression::CaseInsensitiveOption;
    const QRegularExpression expression(QRegularExpression::anchoredPattern(text), patternOptions);
    return expression.isValid() && expression.match(folded).hasMatch();
}

bool ComparisonPredicate::compareScalars(const QVariant &left, const QVariant &right) const
{
    const qint32 options = nOptions;
    const auto fold = [options](const QString &s) { return foldText(s, options); };
    // The order of two values of one kind; nullopt when they cannot be ordered.
    const auto order = [&fold](const QVariant &a, const QVariant &b) -> std::optional<int> {
        if (Number::isNumber(a) && Number::isNumber(b)) {
            const double x = Number::toDouble(a), y = Number::toDouble(b);
            if (std::isnan(x) || std::isnan(y))
                return std::nullopt;
            return x < y ? -1 : (x > y ? 1 : 0);
        }
        if (isDate(a) && isDate(b)) {
            const double x = a.value<Date>().timeIntervalSinceReferenceDate();
            const double y = b.value<Date>().timeIntervalSinceReferenceDate();
            if (std::isnan(x) || std::isnan(y))
                return std::nullopt;
            return x < y ? -1 : (x > y ? 1 : 0);
        }
        if (isString(a) && isString(b)) {
            const int c = fold(a.toString()).compare(fold(b.toString()));
            return c < 0 ? -1 : (c > 0 ? 1 : 0);
        }
        return std::nullopt;
    };
    const auto equal = [&order](const QVariant &a, const QVariant &b) {
        const std::optional<QVariantList> x = elementsOf(a), y = elementsOf(b);
        if (x || y) {
            if (!x || !y || x->size() != y->size())
                return false;
            for (qsizetype i = 0; i < x->size(); ++i) {
                const std::optional<int> c = order(x->at(i), y->at(i));
                if (!c || *c != 0)
                    return false;
            }
            return true;
        }
        const std::optional<int> c = order(a, b);
        return c && *c == 0;
    };

    // nil on either side: == asks whether the other side is absent, != whether it is present.
    const bool leftNil = pLeft.expressionType() == Expression::ConstantValueExpressionType &&
                         pLeft.constantKind() == Expression::ConstantKind::Nil;
    const bool rightNil = pRight.expressionType() == Expression::ConstantValueExpressionType &&
                          pRight.constantKind() == Expression::ConstantKind::Nil;
    if (leftNil || rightNil) {
        const bool otherAbsent = leftNil ? !right.isValid() : !left.isValid();
        if (nOperator == EqualToPredicateOperatorType)
            return otherAbsent;
        if (nOperator == NotEqualToPredicateOperatorType)
            return !otherAbsent;
        return false;
    }
    // Any other comparison with an absent value is false, whatever the operator.
    if (!left.isValid() || !right.isValid())
        return false;

    switch (nOperator) {
    case LessThanPredicateOperatorType:
    case LessThanOrEqualToPredicateOperatorType:
    case GreaterThanPredicateOperatorType:
    case GreaterThanOrEqualToPredicateOperatorType: {
        const std::optional<int> c = order(left, right);
        if (!c)
            return false;
        switch (nOperator) {
        case LessThanPredicateOperatorType:
            return *c < 0;
        case LessThanOrEqualToPredicateOperatorType:
            return *c <= 0;
        case GreaterThanPredicateOperatorType:
            return *c > 0;
        default:
            return *c >= 0;
        }
    }
    case EqualToPredicateOperatorType:
        return equal(left, right);
    case NotEqualToPredicateOperatorType:
        return !equal(left, right);
    case MatchesPredicateOperatorType:
    case LikePredicateOperatorType:
        return isString(left) && matchesPattern(left.toString(), right);
    case BeginsWithPredicateOperatorType:
        return isString(left) && isString(right) &&
               fold(left.toString()).startsWith(fold(right.toString()));
    case EndsWithPredicateOperatorType:
        return isString(left) && isString(right) &&
               fold(left.toString()).endsWith(fold(right.toString()));
    case InPredicateOperatorType:
        if (const std::optional<QVariantList> elements = elementsOf(right)) {
            for (const QVariant &element : *elements) {
                if (equal(left, element))
                    return true;
            }
            return false;
        }
        return isString(left) && isString(right) &&
               fold(right.toString()).contains(fold(left.toString()));
    case ContainsPredicateOperatorType:
        if (const std::optional<QVariantList> elements = elementsOf(left)) {
            for (const QVariant &element : *elements) {
                if (equal(element, right))
                    return true;
            }
            return false;
        }
        return isString(left) && isString(right) &&
               fold(left.toString()).contains(fold(right.toString()));
    case BetweenPredicateOperatorType: {
        const std::optional<QVariantList> bounds = elementsOf(right);
        if (!bounds || bounds->size() != 2)
            return false;
        const std::optional<int> low = order(left, bounds->at(0));
        const std::optional<int> high = order(left, bounds->at(1));
        return low && high && *low >= 0 && *high <= 0;
    }
    default:
        return false;
    }
}
