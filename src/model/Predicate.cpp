#include "Predicate.h"

#include "ComparisonPredicate.h"
#include "CompoundPredicate.h"
#include "PredicateParser.h"

Predicate::~Predicate() = default;

const ComparisonPredicate *Predicate::asComparison() const
{
    return nKind == Kind::Comparison ? static_cast<const ComparisonPredicate *>(this) : nullptr;
}

const CompoundPredicate *Predicate::asCompound() const
{
    return nKind == Kind::Compound ? static_cast<const CompoundPredicate *>(this) : nullptr;
}

PredicatePtr Predicate::predicateWithFormat(const QString &format, QString *error,
                                            qsizetype *errorPosition)
{
    return PredicateParser::parse(format, error, errorPosition);
}

bool Predicate::evaluateWithObject(const Measurement &reading) const
{
    return evaluateWithObject(reading, bDependsOnNow ? Date::now() : Date());
}

bool Predicate::evaluateWithObject(const Measurement &reading, Date now) const
{
    if (!strEvaluationError.isEmpty())
        throw PredicateEvaluationError(strEvaluationError);
    return evaluate(reading, now);
}

ConstMeasurementList Predicate::filteredArray(const ConstMeasurementList &readings) const
{
    return filteredArray(readings, bDependsOnNow ? Date::now() : Date());
}

ConstMeasurementList Predicate::filteredArray(const ConstMeasurementList &readings, Date now) const
{
    if (!strEvaluationError.isEmpty())
        throw PredicateEvaluationError(strEvaluationError);
    ConstMeasurementList result;
    filterInto(readings, now, result);
    return result;
}

void Predicate::filterInto(const ConstMeasurementList &readings, Date now,
                           ConstMeasurementList &kept) const
{
    for (const ConstMeasurementPtr &reading : readings) {
        if (evaluate(*reading, now))
            kept.append(reading);
    }
}

bool Predicate::equal(const PredicatePtr &a, const PredicatePtr &b)
{
    if (a == b)
        return true;
    if (!a || !b)
        return false;
    return a->isEqual(*b);
}
