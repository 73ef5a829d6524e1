#pragma once

#include "Measurement.h"

#include <QMetaType>
#include <QString>

#include <exception>
#include <memory>

class Predicate;
class ComparisonPredicate;
class CompoundPredicate;

// Predicates are immutable values, shared by pointer.
using PredicatePtr = std::shared_ptr<const Predicate>;

// Raised when a predicate cannot be evaluated against readings at all, for example because it
// names a key path that readings do not have. The message names the offending key path.
class PredicateEvaluationError : public std::exception
{
public:
    explicit PredicateEvaluationError(const QString &message)
        : strMessage(message), baWhat(message.toUtf8())
    {}
    const char *what() const noexcept override { return baWhat.constData(); }
    QString message() const { return strMessage; }

private:
    QString strMessage;
    QByteArray baWhat;
};

// A condition on a reading: a comparison, a compound (and, or, not) of predicates, or the
// constant true or false predicate. Whether a predicate can be evaluated at all (every key path
// known, every operator applicable) is decided when it is built; evaluating one that cannot be
// evaluated raises PredicateEvaluationError for every reading, whatever its values.
class Predicate
{
public:
    enum class Kind : quint8
    {
        Comparison,
        Compound,
        True,
        False
    };

    virtual ~Predicate();
    Predicate(const Predicate &) = delete;
    Predicate &operator=(const Predicate &) = delete;

    Kind kind() const { return nKind; }
    const ComparisonPredicate *asComparison() const;
    const CompoundPredicate *asCompound() const;

    // Parses the text form ("Systolic > 0", "ANY Tags IN {'a', 'b'} AND NOT Pulse < 60").
    // On a syntax error returns nullptr and, when asked, a message naming the position (and the
    // position itself, counted in characters from 0).
    static PredicatePtr predicateWithFormat(const QString &format, QString *error = nullptr,
                                            qsizetype *errorPosition = nullptr);
    // The text form; predicateWithFormat() of it gives an equal predicate.
    virtual QString predicateFormat() const = 0;

    // Evaluation against a reading. Relative dates stand for the present moment (Date::now())
    // plus their interval; the overload taking `now` uses the given moment instead. A comparison
    // with an absent value is false, whatever the operator (except "== nil", true for an absent
    // value, and "!= nil", true for a present one); absent tags count 0 and satisfy no ANY or
    // ALL. Values of kinds that cannot be ordered against each other compare false (and !=
    // true). Bulk filtering should use filteredArray(), which reads the clock once.
    // Throws PredicateEvaluationError when the predicate cannot be evaluated (see above).
    bool evaluateWithObject(const Measurement &reading) const;
    bool evaluateWithObject(const Measurement &reading, Date now) const;
    // The readings that satisfy the predicate, in order. Relative dates are taken at one moment
    // for the whole list. Throws as evaluateWithObject() does.
    ConstMeasurementList filteredArray(const ConstMeasurementList &readings) const;
    ConstMeasurementList filteredArray(const ConstMeasurementList &readings, Date now) const;

    // True when evaluation is possible; otherwise evaluationError() says why.
    bool canEvaluate() const { return strEvaluationError.isEmpty(); }
    QString evaluationError() const { return strEvaluationError; }
    // True when evaluation reads the present moment (the predicate holds a relative date).
    bool dependsOnNow() const { return bDependsOnNow; }

    // The number of predicates in this one, itself included, counting a subpredicate once for
    // every place it is used: what evaluating, printing or comparing it walks. Subpredicates can
    // be shared, so this may be far larger than the number of objects; it is worked out once,
    // when the predicate is built, and stops growing at kSizeLimit.
    quint64 expandedSize() const { return nExpandedSize; }
    static constexpr quint64 kSizeLimit = quint64(1) << 62;
    // The largest predicate the program accepts from a file or a text. Hand-made conditions have
    // a few dozen parts; a file that shares one subpredicate between the two sides of AND, level
    // after level, describes one of 2^levels parts in a few kilobytes.
    static constexpr quint64 kMaxExpandedSize = 10000;

    // Structural equality.
    virtual bool isEqual(const Predicate &other) const = 0;
    friend bool operator==(const Predicate &a, const Predicate &b) { return a.isEqual(b); }
    friend bool operator!=(const Predicate &a, const Predicate &b) { return !a.isEqual(b); }
    // Structural equality of two possibly null predicates.
    static bool equal(const PredicatePtr &a, const PredicatePtr &b);

protected:
    explicit Predicate(Kind kind) : nKind(kind) {}
    // Evaluation proper, called only for a predicate that can be evaluated.
    virtual bool evaluate(const Measurement &reading, Date now) const = 0;
    // Appends the readings that satisfy the predicate to `kept`; a subclass may do it faster
    // than one evaluate() per reading.
    virtual void filterInto(const ConstMeasurementList &readings, Date now,
                            ConstMeasurementList &kept) const;

    QString strEvaluationError;
    bool bDependsOnNow = false;
    quint64 nExpandedSize = 1;

private:
    friend class CompoundPredicate;
    Kind nKind;
};

Q_DECLARE_METATYPE(PredicatePtr)
