#pragma once

#include "RowTemplate.h"

class QComboBox;

// A row comparing a date of the reading with a date relative to the present: a count typed in
// the base's number field and a unit (days, weeks, months) chosen in a pop-up menu. Every build
// of the row's comparison makes a new relative date of that many units before that moment.
class RelativeDatesTemplate : public RowTemplate
{
    Q_OBJECT
public:
    RelativeDatesTemplate(const QList<LeftItem> &left, const QList<OperatorItem> &operators);
    ~RelativeDatesTemplate() override;

    std::unique_ptr<RowTemplate> copy() const override;

    // Made on first call; item index = unit code ("date.days", "date.weeks", "date.months").
    QComboBox *unitsPopup();

    // The base's controls, then the units menu.
    QList<QWidget *> templateViews() override;
    // 2.0 for a comparison whose right side is a constant relative date.
    double matchForPredicate(const PredicatePtr &predicate) const override;
    // Selects the relative date's unit and shows its count in whole units now.
    void setPredicate(const PredicatePtr &predicate) override;
    // The base's comparison with a new relative date of the count and unit.
    PredicatePtr
    predicateWithSubpredicates(const QList<PredicatePtr> &subpredicates) const override;
    // The interval is made anew at every build: the row shows a comparison when everything but
    // the interval comes back, and the count it shows makes a relative date of the same unit.
    bool showsPredicate(const PredicatePtr &predicate) const override;

private:
    QPointer<QComboBox> pUnitsPopup;
};
