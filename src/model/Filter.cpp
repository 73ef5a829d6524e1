#include "Filter.h"

#include "ComparisonPredicate.h"
#include "ConstantPredicate.h"
#include "KeyedArchiver.h"
#include "KeyedUnarchiver.h"
#include "Number.h"
#include "PredicateArchive.h"
#include "RelativeDate.h"

namespace {

const QString kName = QStringLiteral("name");
const QString kPredicate = QStringLiteral("predicate");
const QString kUseInAverages = QStringLiteral("useInAverages");
const QString kUseInFilters = QStringLiteral("useInFilters");

QVariant predicateVariant(const PredicatePtr &predicate)
{
    return predicate ? QVariant::fromValue(predicate) : QVariant();
}

} // namespace

Filter::Filter() : Filter(qtTrId("filter.name_untitled")) {}

Filter::Filter(const QString &name)
    : strName(name), pPredicate(defaultPredicate()), bUseInAverages(true), bUseInFilters(true)
{}

Filter::~Filter() = default;

PredicatePtr Filter::defaultPredicate()
{
    // "Systolic > 0", built directly: it is what the parser makes of that text.
    static const PredicatePtr shared = ComparisonPredicate::predicateWithLeftExpression(
        Expression::expressionForKeyPath(QStringLiteral("Systolic")),
        Expression::expressionForConstantValue(Number::integer(0)),
        ComparisonPredicate::DirectPredicateModifier,
        ComparisonPredicate::GreaterThanPredicateOperatorType, 0);
    return shared;
}

FilterPtr Filter::filterWithName(const QString &name)
{
    return std::make_shared<Filter>(name);
}

FilterPtr Filter::filterNoFilter()
{
    return filterWithName(qtTrId("filter.name_no_filter"));
}

FilterPtr Filter::filterLastWeek()
{
    return filterWithRelativeDate(qtTrId("filter.name_last_week"), RelativeDate::Weeks);
}

FilterPtr Filter::filterLastMonth()
{
    return filterWithRelativeDate(qtTrId("filter.name_last_month"), RelativeDate::Months);
}

FilterPtr Filter::filterWithRelativeDate(const QString &name, qint32 units)
{
    FilterPtr filter = filterWithName(name);
    filter->pPredicate = ComparisonPredicate::predicateWithLeftExpression(
        Expression::expressionForKeyPath(QStringLiteral("Date")),
        Expression::expressionForConstantValue(QVariant::fromValue(RelativeDate(1, units))),
        ComparisonPredicate::DirectPredicateModifier,
        ComparisonPredicate::GreaterThanPredicateOperatorType, 0);
    return filter;
}

FilterPtr Filter::filterFromDecoded(const QString &name, const PredicatePtr &predicate,
                                    const QVariant &useInAverages, const QVariant &useInFilters)
{
    const QString decodedName = name.isNull() ? qtTrId("filter.name_untitled") : name;
    FilterPtr filter = filterWithName(decodedName);
    filter->bUseInAverages = normalizedFlag(useInAverages);
    filter->bUseInFilters = normalizedFlag(useInFilters);

    bool usable = false;
    if (predicate) {
        const auto test = Measurement::create(Date::now(), 120, 80);
        try {
            predicate->evaluateWithObject(*test);
            usable = true;
        } catch (const PredicateEvaluationError &) {
            usable = false;
        }
    }
    if (usable) {
        filter->pPredicate = predicate;
    } else {
        filter->pPredicate = defaultPredicate();
        filter->strName = QStringLiteral("??? %1").arg(decodedName);
    }
    return filter;
}

QVariant Filter::normalizedFlag(const QVariant &use)
{
    if (!Number::isNumber(use))
        return QVariant();
    return QVariant(Number::toDouble(use) != 0.0);
}

void Filter::setName(const QString &name)
{
    if (name == strName && name.isNull() == strName.isNull())
        return;
    const QString old = strName;
    strName = name;
    emit valueChanged(kName, QVariant(old));
}

void Filter::setPredicate(const PredicatePtr &predicate)
{
    if (Predicate::equal(predicate, pPredicate))
        return;
    const QVariant old = predicateVariant(pPredicate);
    pPredicate = predicate;
    emit valueChanged(kPredicate, old);
}

void Filter::setFlag(QVariant &flag, const QVariant &use, const QString &key)
{
    const QVariant value = normalizedFlag(use);
    if (value.isValid() == flag.isValid() && value.toBool() == flag.toBool())
        return;
    const QVariant old = flag;
    flag = value;
    emit valueChanged(key, old);
}

void Filter::setUseInFilters(const QVariant &use)
{
    setFlag(bUseInFilters, use, kUseInFilters);
}

void Filter::setUseInAverages(const QVariant &use)
{
    setFlag(bUseInAverages, use, kUseInAverages);
}

bool Filter::accepts(const Measurement &reading) const
{
    return !pPredicate || pPredicate->evaluateWithObject(reading);
}

QVariant Filter::valueForKey(const QString &key) const
{
    if (key == kName)
        return QVariant(strName);
    if (key == kPredicate)
        return predicateVariant(pPredicate);
    if (key == kUseInAverages)
        return bUseInAverages;
    if (key == kUseInFilters)
        return bUseInFilters;
    return QVariant();
}

void Filter::setValueForKey(const QVariant &value, const QString &key)
{
    if (key == kName)
        setName(value.toString());
    else if (key == kPredicate)
        setPredicate(value.canConvert<PredicatePtr>() ? value.value<PredicatePtr>() : nullptr);
    else if (key == kUseInAverages)
        setUseInAverages(value);
    else if (key == kUseInFilters)
        setUseInFilters(value);
}

// --- Keyed archive form -------------------------------------------------------------------------

void Filter::encodeWithCoder(KeyedArchiver &coder) const
{
    coder.encodeObject(strName, QStringLiteral("name"));
    // No predicate lets every reading through; it is written as the predicate that does so,
    // since a filter read back without one is reset as unusable.
    coder.encodeObject(
        QVariant::fromValue(pPredicate ? pPredicate : ConstantPredicate::truePredicate()),
        QStringLiteral("predicate"));
    coder.encodeObject(bUseInAverages, QStringLiteral("use-in-averages"));
    coder.encodeObject(bUseInFilters, QStringLiteral("use-in-filters"));
}

FilterPtr Filter::initWithCoder(KeyedUnarchiver &coder)
{
    const QVariant name = coder.decodeObjectForKey(QStringLiteral("name"));
    const PredicatePtr predicate =
        PredicateArchive::decodePredicateForKey(coder, QStringLiteral("predicate"));
    auto flag = [&coder](const QString &key) {
        const QVariant value = coder.decodeObjectForKey(key);
        return Number::isNumber(value) ? QVariant(Number::toDouble(value) != 0) : QVariant();
    };
    const QVariant useInAverages = flag(QStringLiteral("use-in-averages"));
    const QVariant useInFilters = flag(QStringLiteral("use-in-filters"));
    return filterFromDecoded(name.typeId() == QMetaType::QString ? name.toString() : QString(),
                             predicate, useInAverages, useInFilters);
}
