#include "TagsTemplate.h"

#include "MyTokenField.h"

TagsTemplate::TagsTemplate(const QList<LeftItem> &left, const QList<OperatorItem> &operators)
    : RowTemplate(left, operators, RightKind::None, ComparisonPredicate::AnyPredicateModifier)
{}

TagsTemplate::~TagsTemplate() = default;

std::unique_ptr<RowTemplate> TagsTemplate::copy() const
{
    auto other = std::make_unique<TagsTemplate>(leftItems(), operatorItems());
    other->pCompletions = pCompletions;
    return other;
}

MyTokenField *TagsTemplate::tokensField()
{
    if (!pTagsField) {
        pTagsField = new MyTokenField;
        pTagsField->setMinimumWidth(300);
        pTagsField->setAccessibleName(qtTrId("filters.row.tags_accessible"));
        pTagsField->setCompletions(pCompletions);
        connect(pTagsField, &MyTokenField::tokensChanged, this, &RowTemplate::changed);
        adopt(pTagsField);
    }
    return pTagsField;
}

void TagsTemplate::setCompletions(const QStringList &completions)
{
    pCompletions = completions;
    if (pTagsField)
        pTagsField->setCompletions(completions);
}

QList<QWidget *> TagsTemplate::templateViews()
{
    const QList<QWidget *> base = RowTemplate::templateViews();
    return {base.value(0), base.value(1), tokensField()};
}

double TagsTemplate::matchForPredicate(const PredicatePtr &predicate) const
{
    const ComparisonPredicate *c = comparison(predicate);
    if (!c || c->comparisonPredicateModifier() != ComparisonPredicate::AnyPredicateModifier ||
        c->predicateOperatorType() != ComparisonPredicate::InPredicateOperatorType)
        return 0.0;
    const Expression right = c->rightExpression();
    const bool isArray = right.constantKind() == Expression::ConstantKind::StringList ||
                         right.constantKind() == Expression::ConstantKind::List;
    return right.expressionType() == Expression::ConstantValueExpressionType && isArray ? 2.0 : 0.0;
}

void TagsTemplate::setPredicate(const PredicatePtr &predicate)
{
    const ComparisonPredicate *c = comparison(predicate);
    if (!c)
        return;
    const QSignalBlocker blocker(this);
    QStringList tags;
    for (const QVariant &value : c->rightExpression().constantValue().toList())
        tags.append(value.toString());
    tokensField()->setTokens(tags);
}

bool TagsTemplate::takePendingEdit()
{
    return pTagsField && pTagsField->takeEdit();
}

PredicatePtr
TagsTemplate::predicateWithSubpredicates(const QList<PredicatePtr> &subpredicates) const
{
    const PredicatePtr base = RowTemplate::predicateWithSubpredicates(subpredicates);
    const ComparisonPredicate *c = comparison(base);
    if (!c)
        return base;
    const QStringList tags = const_cast<TagsTemplate *>(this)->tokensField()->tokens();
    return ComparisonPredicate::predicateWithLeftExpression(
        c->leftExpression(), Expression::expressionForConstantValue(tags),
        ComparisonPredicate::AnyPredicateModifier, c->predicateOperatorType(), c->options());
}
