#include "CompoundPredicate.h"

#include <algorithm>

CompoundPredicate::CompoundPredicate(qint32 type, const QList<PredicatePtr> &subpredicates)
    : Predicate(Kind::Compound), nType(type), pSubpredicates(subpredicates)
{
    for (const PredicatePtr &sub : pSubpredicates) {
        if (strEvaluationError.isEmpty() && !sub->canEvaluate())
            strEvaluationError = sub->evaluationError();
        bDependsOnNow = bDependsOnNow || sub->dependsOnNow();
        nExpandedSize = std::min(nExpandedSize + sub->expandedSize(), kSizeLimit);
    }
}

PredicatePtr
CompoundPredicate::andPredicateWithSubpredicates(const QList<PredicatePtr> &subpredicates)
{
    return predicateWithType(AndPredicateType, subpredicates);
}

PredicatePtr
CompoundPredicate::orPredicateWithSubpredicates(const QList<PredicatePtr> &subpredicates)
{
    return predicateWithType(OrPredicateType, subpredicates);
}

PredicatePtr CompoundPredicate::notPredicateWithSubpredicate(const PredicatePtr &subpredicate)
{
    return predicateWithType(NotPredicateType, {subpredicate});
}

PredicatePtr CompoundPredicate::predicateWithType(qint32 type,
                                                  const QList<PredicatePtr> &subpredicates)
{
    if (type != NotPredicateType && type != AndPredicateType && type != OrPredicateType)
        return nullptr;
    if (type == NotPredicateType && subpredicates.size() != 1)
        return nullptr;
    for (const PredicatePtr &sub : subpredicates) {
        if (!sub)
            return nullptr;
    }
    return PredicatePtr(new CompoundPredicate(type, subpredicates));
}

QString CompoundPredicate::predicateFormat() const
{
    // Nested AND and OR are bracketed so that the parser rebuilds the same tree; compounds of
    // fewer than two subpredicates have an explicit form of their own.
    const auto operand = [](const PredicatePtr &sub) {
        const QString text = sub->predicateFormat();
        const CompoundPredicate *compound = sub->asCompound();
        if (compound && compound->nType != NotPredicateType && compound->pSubpredicates.size() >= 2)
            return QLatin1Char('(') + text + QLatin1Char(')');
        return text;
    };
    if (nType == NotPredicateType)
        return QStringLiteral("NOT ") + operand(pSubpredicates.first());
    const QLatin1String word =
        nType == AndPredicateType ? QLatin1String("AND") : QLatin1String("OR");
    if (pSubpredicates.size() < 2) {
        return word + QLatin1Char('(') +
               (pSubpredicates.isEmpty() ? QString() : pSubpredicates.first()->predicateFormat()) +
               QLatin1Char(')');
    }
    QStringList parts;
    for (const PredicatePtr &sub : pSubpredicates)
        parts.append(operand(sub));
    return parts.join(QLatin1Char(' ') + word + QLatin1Char(' '));
}

bool CompoundPredicate::isEqual(const Predicate &other) const
{
    const CompoundPredicate *o = other.asCompound();
    if (!o || o->nType != nType || o->pSubpredicates.size() != pSubpredicates.size())
        return false;
    for (qsizetype i = 0; i < pSubpredicates.size(); ++i) {
        if (!pSubpredicates[i]->isEqual(*o->pSubpredicates[i]))
            return false;
    }
    return true;
}

bool CompoundPredicate::evaluate(const Measurement &reading, Date now) const
{
    switch (nType) {
    case NotPredicateType:
        return !pSubpredicates.first()->evaluate(reading, now);
    case AndPredicateType:
        for (const PredicatePtr &sub : pSubpredicates) {
            if (!sub->evaluate(reading, now))
                return false;
        }
        return true;
    default:
        for (const PredicatePtr &sub : pSubpredicates) {
            if (sub->evaluate(reading, now))
                return true;
        }
        return false;
    }
}
