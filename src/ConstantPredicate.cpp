#include "ConstantPredicate.h"

PredicatePtr ConstantPredicate::truePredicate()
{
    static const PredicatePtr shared = std::make_shared<const ConstantPredicate>(true);
    return shared;
}

PredicatePtr ConstantPredicate::falsePredicate()
{
    static const PredicatePtr shared = std::make_shared<const ConstantPredicate>(false);
    return shared;
}

QString ConstantPredicate::predicateFormat() const
{
    return value() ? QStringLiteral("TRUEPREDICATE") : QStringLiteral("FALSEPREDICATE");
}
