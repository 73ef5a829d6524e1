#pragma once

#include "RowTemplate.h"

class QComboBox;

// A row saying whether a reading has tags: the number of its tags is 0 (item 0, "no tags") or
// more than 0 (item 1, "some tags"). A pop-up menu takes the place of the base's operator menu
// and right-hand control.
class TagsCountTemplate : public RowTemplate
{
    Q_OBJECT
public:
    // Left menu: the given key paths; the first ("Tags") is the one counted.
    explicit TagsCountTemplate(const QList<LeftItem> &left);
    ~TagsCountTemplate() override;

    std::unique_ptr<RowTemplate> copy() const override;

    // Made on first call: "filters.row.tags_absent", "filters.row.tags_preent".
    QComboBox *popupButton();

    // The base's left menu, then the pop-up menu.
    QList<QWidget *> templateViews() override;
    // 2.0 for a direct comparison by greater than or equal to of a key path ending in ".@count"
    // with the constant number 0.
    double matchForPredicate(const PredicatePtr &predicate) const override;
    // Item 0 for equal to, else item 1; the left menu stays as it is.
    void setPredicate(const PredicatePtr &predicate) override;
    // "<first key path>.@count" equal to 0 (item 0) or greater than 0 (item 1).
    PredicatePtr
    predicateWithSubpredicates(const QList<PredicatePtr> &subpredicates) const override;

private:
    QPointer<QComboBox> pOptions;
};
