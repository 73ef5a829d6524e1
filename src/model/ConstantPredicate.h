#pragma once

#include "Predicate.h"

// TRUEPREDICATE and FALSEPREDICATE.
class ConstantPredicate final : public Predicate
{
public:
    static PredicatePtr truePredicate();
    static PredicatePtr falsePredicate();

    bool value() const { return kind() == Kind::True; }
    QString predicateFormat() const override;
    bool isEqual(const Predicate &other) const override { return other.kind() == kind(); }

protected:
    bool evaluate(const Measurement &, Date) const override { return value(); }

private:
    explicit ConstantPredicate(bool value) : Predicate(value ? Kind::True : Kind::False) {}
};
