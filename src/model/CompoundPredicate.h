#pragma once

#include "Predicate.h"

#include <QList>

// NOT, AND or OR over subpredicates. AND of none is true, OR of none is false; NOT has exactly
// one subpredicate.
class CompoundPredicate final : public Predicate
{
public:
    // Type codes as the file format stores them.
    enum Type : qint32
    {
        NotPredicateType = 0,
        AndPredicateType = 1,
        OrPredicateType = 2
    };

    static PredicatePtr andPredicateWithSubpredicates(const QList<PredicatePtr> &subpredicates);
    static PredicatePtr orPredicateWithSubpredicates(const QList<PredicatePtr> &subpredicates);
    static PredicatePtr notPredicateWithSubpredicate(const PredicatePtr &subpredicate);
    // nullptr for an unknown type, a null subpredicate, or NOT without exactly one subpredicate.
    static PredicatePtr predicateWithType(qint32 type, const QList<PredicatePtr> &subpredicates);

    qint32 compoundPredicateType() const { return nType; }
    const QList<PredicatePtr> &subpredicates() const { return pSubpredicates; }

    QString predicateFormat() const override;
    bool isEqual(const Predicate &other) const override;

protected:
    bool evaluate(const Measurement &reading, Date now) const override;

private:
    CompoundPredicate(qint32 type, const QList<PredicatePtr> &subpredicates);

    qint32 nType;
    QList<PredicatePtr> pSubpredicates;
};
