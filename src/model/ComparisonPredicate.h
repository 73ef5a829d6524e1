#pragma once

#include "Expression.h"
#include "Predicate.h"

#include <QRegularExpression>

// A comparison of two expressions: left, modifier, operator, options, right. Operator, modifier
// and option codes are those the file format stores.
class ComparisonPredicate final : public Predicate
{
public:
    enum Operator : qint32
    {
        LessThanPredicateOperatorType = 0,
        LessThanOrEqualToPredicateOperatorType = 1,
        GreaterThanPredicateOperatorType = 2,
        GreaterThanOrEqualToPredicateOperatorType = 3,
        EqualToPredicateOperatorType = 4,
        NotEqualToPredicateOperatorType = 5,
        MatchesPredicateOperatorType = 6,
        LikePredicateOperatorType = 7,
        BeginsWithPredicateOperatorType = 8,
        EndsWithPredicateOperatorType = 9,
        InPredicateOperatorType = 10,
        ContainsPredicateOperatorType = 99,
        BetweenPredicateOperatorType = 100
    };
    enum Modifier : qint32
    {
        DirectPredicateModifier = 0,
        AllPredicateModifier = 1,
        AnyPredicateModifier = 2
    };
    enum Option : qint32
    {
        CaseInsensitivePredicateOption = 1,
        DiacriticInsensitivePredicateOption = 2
    };

    static bool isValidOperator(qint32 type);

    // nullptr for an operator or modifier code outside the tables above. Option bits other than
    // the two above are dropped.
    static PredicatePtr predicateWithLeftExpression(const Expression &left, const Expression &right,
                                                    qint32 modifier, qint32 type,
                                                    qint32 options = 0);

    Expression leftExpression() const { return pLeft; }
    Expression rightExpression() const { return pRight; }
    qint32 predicateOperatorType() const { return nOperator; }
    qint32 comparisonPredicateModifier() const { return nModifier; }
    qint32 options() const { return nOptions; }

    QString predicateFormat() const override;
    bool isEqual(const Predicate &other) const override;

protected:
    bool evaluate(const Measurement &reading, Date now) const override;
    void filterInto(const ConstMeasurementList &readings, Date now,
                    ConstMeasurementList &kept) const override;

private:
    ComparisonPredicate(const Expression &left, const Expression &right, qint32 modifier,
                        qint32 type, qint32 options);

    // How evaluate() proceeds, chosen once at construction.
    enum class Plan : quint8
    {
        NumberKeyVsNumber, // numeric key path, direct, ordering or equality with a number
        DateKeyVsDate,     // date key path, direct, ordering or equality with a date
        DateKeyVsRelative, // the same with a relative date
        TagsIn,            // ANY or ALL tags IN a constant list
        General
    };

    void prepare();
    bool compareScalars(const QVariant &left, const QVariant &right) const;
    bool compareNumbers(double left, double right) const;
    bool matchesPattern(const QString &subject, const QVariant &pattern) const;
    QVariant resolve(const Expression &expression, const Measurement &reading, Date now) const;

    Expression pLeft;
    Expression pRight;
    qint32 nModifier = DirectPredicateModifier;
    qint32 nOperator = EqualToPredicateOperatorType;
    qint32 nOptions = 0;

    Plan nPlan = Plan::General;
    double fConstant = 0;         // the number or instant of the fast plans
    double fRelativeInterval = 0; // the interval of DateKeyVsRelative
    QStringList pFoldedStrings;   // the strings of TagsIn's list, folded as the options say
    QRegularExpression pPattern;  // MATCHES or LIKE with a constant pattern
    bool bHasPattern = false;
};
