#include "TagsCountTemplate.h"

#include <QComboBox>

TagsCountTemplate::TagsCountTemplate(const QList<LeftItem> &left)
    : RowTemplate(left, {}, RightKind::None)
{}

TagsCountTemplate::~TagsCountTemplate() = default;

std::unique_ptr<RowTemplate> TagsCountTemplate::copy() const
{
    return std::make_unique<TagsCountTemplate>(leftItems());
}

QComboBox *TagsCountTemplate::popupButton()
{
    if (!pOptions) {
        pOptions = new QComboBox;
        pOptions->addItem(qtTrId("filters.row.tags_absent"));
        pOptions->addItem(qtTrId("filters.row.tags_preent"));
        pOptions->setAccessibleName(qtTrId("filters.row.tags_count_accessible"));
        connectCombo(pOptions);
        adopt(pOptions);
    }
    return pOptions;
}

QList<QWidget *> TagsCountTemplate::templateViews()
{
    return {RowTemplate::templateViews().value(0), popupButton()};
}

double TagsCountTemplate::matchForPredicate(const PredicatePtr &predicate) const
{
    const ComparisonPredicate *c = comparison(predicate);
    if (!c || c->comparisonPredicateModifier() != ComparisonPredicate::DirectPredicateModifier)
        return 0.0;
    const qint32 type = c->predicateOperatorType();
    if (type != ComparisonPredicate::GreaterThanPredicateOperatorType &&
        type != ComparisonPredicate::EqualToPredicateOperatorType)
        return 0.0;
    const Expression left = c->leftExpression();
    const Expression right = c->rightExpression();
    if (left.expressionType() != Expression::KeyPathExpressionType ||
        !left.keyPath().endsWith(QLatin1String(".@count")))
        return 0.0;
    if (right.expressionType() != Expression::ConstantValueExpressionType ||
        right.constantKind() != Expression::ConstantKind::Number)
        return 0.0;
    return right.constantValue().toLongLong() == 0 ? 2.0 : 0.0;
}

void TagsCountTemplate::setPredicate(const PredicatePtr &predicate)
{
    const ComparisonPredicate *c = comparison(predicate);
    if (!c)
        return;
    popupButton()->setCurrentIndex(
        c->predicateOperatorType() == ComparisonPredicate::EqualToPredicateOperatorType ? 0 : 1);
}

PredicatePtr TagsCountTemplate::predicateWithSubpredicates(const QList<PredicatePtr> &) const
{
    const QString keyPath = QStringLiteral("%1.@count").arg(leftItems().value(0).keyPath);
    const bool some = const_cast<TagsCountTemplate *>(this)->popupButton()->currentIndex() == 1;
    return ComparisonPredicate::predicateWithLeftExpression(
        Expression::expressionForKeyPath(keyPath),
        Expression::expressionForConstantValue(QVariant(qlonglong(0))),
        ComparisonPredicate::DirectPredicateModifier,
        some ? ComparisonPredicate::GreaterThanPredicateOperatorType
             : ComparisonPredicate::EqualToPredicateOperatorType,
        0);
}
