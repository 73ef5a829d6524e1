#pragma once

#include "Predicate.h"

#include <QObject>
#include <QString>
#include <QVariant>

#include <memory>

class Filter;
class KeyedArchiver;
class KeyedUnarchiver;
using FilterPtr = std::shared_ptr<Filter>;

// A named, saved condition on readings, with two optional flags: whether it is offered for
// filtering the readings list and whether the averages page shows statistics for it (absent
// reads as false). Filters have identity only: lists hold them by shared pointer and find them by
// address. Every actual change of one of the four keys "name", "predicate", "useInAverages" and
// "useInFilters" is announced afterwards by valueChanged() with the value the key held before.
class Filter : public QObject
{
    Q_OBJECT
public:
    // Named with the localised "filter.name_untitled"; both flags true; predicate "Systolic > 0".
    Filter();
    explicit Filter(const QString &name);
    ~Filter() override;

    static FilterPtr filterWithName(const QString &name);
    static FilterPtr filterNoFilter();
    static FilterPtr filterLastWeek();
    static FilterPtr filterLastMonth();

    // A filter from decoded values. A null name stands for none (the untitled name is used);
    // invalid flags stay absent. The predicate is tried on a test reading (now, 120/80); when
    // there is none, or it cannot be evaluated, it is replaced by "Systolic > 0" and the name
    // is prefixed with "??? " so the user sees which filter was reset.
    static FilterPtr filterFromDecoded(const QString &name, const PredicatePtr &predicate,
                                       const QVariant &useInAverages, const QVariant &useInFilters);

    // "Systolic > 0", the predicate of every new filter.
    static PredicatePtr defaultPredicate();

    QString name() const { return strName; }
    void setName(const QString &name);

    // None lets every reading through.
    PredicatePtr predicate() const { return pPredicate; }
    void setPredicate(const PredicatePtr &predicate);

    // Invalid when absent, else a bool.
    QVariant useInFilters() const { return bUseInFilters; }
    void setUseInFilters(const QVariant &use);
    QVariant useInAverages() const { return bUseInAverages; }
    void setUseInAverages(const QVariant &use);
    // The flags with absent read as false.
    bool isUsedInFilters() const { return bUseInFilters.toBool(); }
    bool isUsedInAverages() const { return bUseInAverages.toBool(); }

    // True when the reading passes: no predicate, or the predicate holds.
    bool accepts(const Measurement &reading) const;

    // The keyed archive form, under the class name "Filter": "name" (string), "predicate" (in
    // the archive form of Foundation's predicates), "use-in-averages" and "use-in-filters"
    // (boolean numbers, nil when absent). initWithCoder() resets an unusable predicate as
    // filterFromDecoded() does.
    void encodeWithCoder(KeyedArchiver &coder) const;
    static FilterPtr initWithCoder(KeyedUnarchiver &coder);

    // Key-value access to "name" (QString), "predicate" (PredicatePtr, invalid for none),
    // "useInAverages" and "useInFilters" (bool, invalid for absent). Unknown keys read invalid
    // and are ignored on setting.
    QVariant valueForKey(const QString &key) const;
    void setValueForKey(const QVariant &value, const QString &key);

signals:
    void valueChanged(const QString &key, const QVariant &oldValue);

private:
    static FilterPtr filterWithRelativeDate(const QString &name, qint32 units);
    static QVariant normalizedFlag(const QVariant &use);
    void setFlag(QVariant &flag, const QVariant &use, const QString &key);

    QString strName;
    PredicatePtr pPredicate;
    QVariant bUseInAverages;
    QVariant bUseInFilters;
};
