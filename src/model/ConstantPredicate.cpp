#include "ConstantPredicate.h"

PredicatePtr ConstantPredicate::truePredicate()
{
    static const PredicatePtr shared = PredicatePtr(new ConstantPredicate(true));
    return shared;
}

PredicatePtr ConstantPredicate::falsePredicate()
{
    static const PredicatePtr shared = PredicatePtr(new ConstantPredicate(false));
    return shared;
}

QString ConstantPredicate::predicateFormat() const
{
    return value() ? QStringLiteral("TRUEPREDICATE") : QStringLiteral("FALSEPREDICATE");
}
