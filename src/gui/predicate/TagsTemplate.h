#pragma once

#include "RowTemplate.h"

class MyTokenField;

// A row comparing the reading's tags with a list: any of the tags is in the list. The list is
// edited as tokens in a tags field that replaces the base's right-hand control.
class TagsTemplate : public RowTemplate
{
    Q_OBJECT
public:
    // Left menu: the given tags key paths (the first is "Tags"); operators: the given ones (in).
    TagsTemplate(const QList<LeftItem> &left, const QList<OperatorItem> &operators);
    ~TagsTemplate() override;

    std::unique_ptr<RowTemplate> copy() const override;

    // Made on first call.
    MyTokenField *tokensField();
    // The tags the field offers while typing.
    void setCompletions(const QStringList &completions);

    // The base's left and operator menus, then the tags field.
    QList<QWidget *> templateViews() override;
    // 2.0 for a comparison with modifier any, operator in and a constant array on the right.
    double matchForPredicate(const PredicatePtr &predicate) const override;
    // Shows the constant's tags; the left and operator menus stay as they are.
    void setPredicate(const PredicatePtr &predicate) override;
    // Tags typed but not yet announced by the tags field.
    bool takePendingEdit() override;
    // The base's comparison with the tags as its constant and modifier any.
    PredicatePtr
    predicateWithSubpredicates(const QList<PredicatePtr> &subpredicates) const override;

private:
    QPointer<MyTokenField> pTagsField;
    QStringList pCompletions;
};
