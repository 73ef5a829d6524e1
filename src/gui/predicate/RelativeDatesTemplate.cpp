#include "RelativeDatesTemplate.h"

#include "NumberField.h"
#include "RelativeDate.h"

#include <QComboBox>

RelativeDatesTemplate::RelativeDatesTemplate(const QList<LeftItem> &left,
                                             const QList<OperatorItem> &operators)
    : RowTemplate(left, operators, RightKind::Number)
{}

RelativeDatesTemplate::~RelativeDatesTemplate() = default;

std::unique_ptr<RowTemplate> RelativeDatesTemplate::copy() const
{
    return std::make_unique<RelativeDatesTemplate>(leftItems(), operatorItems());
}

QComboBox *RelativeDatesTemplate::unitsPopup()
{
    if (!pUnitsPopup) {
        pUnitsPopup = new QComboBox;
        for (qint32 unit = RelativeDate::Days; unit <= RelativeDate::Months; ++unit) {
            const QByteArray key =
                QStringLiteral("date.%1").arg(RelativeDate::unitName(unit)).toLatin1();
            pUnitsPopup->addItem(qtTrId(key.constData()));
        }
        pUnitsPopup->setAccessibleName(qtTrId("filters.row.units_accessible"));
        connectCombo(pUnitsPopup);
        adopt(pUnitsPopup);
        numberField()->setWholeNumbersOnly(true);
    }
    return pUnitsPopup;
}

QList<QWidget *> RelativeDatesTemplate::templateViews()
{
    QList<QWidget *> views = RowTemplate::templateViews();
    views.append(unitsPopup());
    return views;
}

double RelativeDatesTemplate::matchForPredicate(const PredicatePtr &predicate) const
{
    const ComparisonPredicate *c = comparison(predicate);
    if (!c)
        return 0.0;
    const Expression right = c->rightExpression();
    return right.expressionType() == Expression::ConstantValueExpressionType &&
                   right.constantKind() == Expression::ConstantKind::RelativeDate
               ? 2.0
               : 0.0;
}

void RelativeDatesTemplate::setPredicate(const PredicatePtr &predicate)
{
    const ComparisonPredicate *c = comparison(predicate);
    if (!c || c->rightExpression().constantKind() != Expression::ConstantKind::RelativeDate)
        return;
    const QSignalBlocker blocker(this);
    const RelativeDate date = c->rightExpression().constantValue().value<RelativeDate>();
    unitsPopup()->setCurrentIndex(date.dateUnits());
    const PredicatePtr shown = ComparisonPredicate::predicateWithLeftExpression(
        c->leftExpression(),
        Expression::expressionForConstantValue(QVariant(date.valueOfTimeDifferenceInUnits())),
        c->comparisonPredicateModifier(), c->predicateOperatorType(), c->options());
    if (shown)
        RowTemplate::setPredicate(shown);
}

PredicatePtr
RelativeDatesTemplate::predicateWithSubpredicates(const QList<PredicatePtr> &subpredicates) const
{
    const PredicatePtr base = RowTemplate::predicateWithSubpredicates(subpredicates);
    const ComparisonPredicate *c = comparison(base);
    if (!c)
        return base;
    const qint64 count = c->rightExpression().constantValue().toLongLong();
    const qint32 unit = const_cast<RelativeDatesTemplate *>(this)->unitsPopup()->currentIndex();
    return ComparisonPredicate::predicateWithLeftExpression(
        c->leftExpression(),
        Expression::expressionForConstantValue(QVariant::fromValue(RelativeDate(count, unit))),
        c->comparisonPredicateModifier(), c->predicateOperatorType(), c->options());
}

bool RelativeDatesTemplate::showsPredicate(const PredicatePtr &predicate) const
{
    const ComparisonPredicate *original = comparison(predicate);
    const PredicatePtr rebuilt = predicateWithSubpredicates({});
    const ComparisonPredicate *shown = comparison(rebuilt);
    if (!original || !shown ||
        original->rightExpression().constantKind() != Expression::ConstantKind::RelativeDate)
        return false;
    const RelativeDate was = original->rightExpression().constantValue().value<RelativeDate>();
    const RelativeDate now = shown->rightExpression().constantValue().value<RelativeDate>();
    return original->leftExpression() == shown->leftExpression() &&
           original->predicateOperatorType() == shown->predicateOperatorType() &&
           original->comparisonPredicateModifier() == shown->comparisonPredicateModifier() &&
           original->options() == shown->options() && was.dateUnits() == now.dateUnits() &&
           was.valueOfTimeDifferenceInUnits() >= 0;
}
