#pragma once

// The body of fuzz/fuzz_predicate.cpp, shared with tests/tst_fuzzreplay.cpp.

#include "Predicate.h"

#include <QByteArray>

#include <cstdlib>

namespace fuzzing {

// Text -> predicate. Whatever parses must print to text that parses back to an equal predicate,
// and must evaluate against a reading without crashing; whatever is refused says where.
inline void predicateOne(const QByteArray &bytes)
{
    const QString text = QString::fromUtf8(bytes);
    QString error;
    qsizetype position = -1;
    const PredicatePtr p = Predicate::predicateWithFormat(text, &error, &position);
    if (!p) {
        if (error.isEmpty() || position < 0 || position > text.size())
            std::abort();
        return;
    }
    const QString printed = p->predicateFormat();
    const PredicatePtr back = Predicate::predicateWithFormat(printed);
    if (!back || !Predicate::equal(p, back) || back->predicateFormat() != printed)
        std::abort();

    static const MeasurementPtr reading = [] {
        auto r = Measurement::create(Date(732202200.0), 130, 85);
        r->setTags({QStringLiteral("a"), QStringLiteral("b")});
        r->setComments(QStringLiteral("Café"));
        return r;
    }();
    try {
        p->evaluateWithObject(*reading, Date(732202200.0));
    } catch (const PredicateEvaluationError &) {
        if (p->canEvaluate())
            std::abort();
    }
}

} // namespace fuzzing
