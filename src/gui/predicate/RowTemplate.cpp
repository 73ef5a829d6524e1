#include "RowTemplate.h"

#include "NumberField.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QTimeEdit>

namespace {

constexpr int kNumberFieldWidth = 60;

} // namespace

RowTemplate::RowTemplate(const QList<LeftItem> &left, const QList<OperatorItem> &operators,
                         RightKind right, qint32 modifier, qint32 options)
    : pLeftItems(left), pOperatorItems(operators), nRightKind(right), nModifier(modifier),
      nOptions(options)
{}

RowTemplate::~RowTemplate()
{
    // The controls may sit in a row widget by now; they go with their template all the same.
    for (const QPointer<QWidget> &control : std::as_const(pControls))
        delete control.data();
}

std::unique_ptr<RowTemplate> RowTemplate::copy() const
{
    return std::make_unique<RowTemplate>(pLeftItems, pOperatorItems, nRightKind, nModifier,
                                         nOptions);
}

void RowTemplate::adopt(QWidget *control)
{
    pControls.append(control);
}

void RowTemplate::connectCombo(QComboBox *combo)
{
    connect(combo, &QComboBox::activated, this, &RowTemplate::changed);
}

void RowTemplate::ensureControls() const
{
    if (pLeftMenu)
        return;
    auto *self = const_cast<RowTemplate *>(this);
    pLeftMenu = new QComboBox;
    pLeftMenu->setAccessibleName(qtTrId("filters.row.left_accessible"));
    for (const LeftItem &item : pLeftItems)
        pLeftMenu->addItem(item.title, item.keyPath);
    self->adopt(pLeftMenu);
    self->connectCombo(pLeftMenu);

    pOperatorMenu = new QComboBox;
    pOperatorMenu->setAccessibleName(qtTrId("filters.row.operator_accessible"));
    for (const OperatorItem &item : pOperatorItems)
        pOperatorMenu->addItem(item.title, item.type);
    self->adopt(pOperatorMenu);
    self->connectCombo(pOperatorMenu);

    switch (nRightKind) {
    case RightKind::None:
        break;
    case RightKind::Number: {
        auto *field = new NumberField;
        field->setFixedWidth(kNumberFieldWidth);
        field->setAccessibleName(qtTrId("filters.row.number_accessible"));
        // Every finished edit that changed the text is a change of the row. Text set while the
        // field has no focus (by assistive technology) is a finished edit of its own.
        connect(field, &QLineEdit::editingFinished, self, [self, field] {
            if (field->takeEdit())
                emit self->changed();
        });
        connect(field, &QLineEdit::textChanged, self, [self, field] {
            if (!field->hasFocus() && field->takeEdit())
                emit self->changed();
        });
        pRightView = field;
        break;
    }
    case RightKind::Date: {
        auto *picker = new QDateEdit;
        picker->setCalendarPopup(true);
        picker->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
        picker->setDate(Date::now().thisDay().toDateTime().date());
        picker->setAccessibleName(qtTrId("filters.row.date_accessible"));
        connect(picker, &QDateEdit::dateChanged, self, &RowTemplate::changed);
        pRightView = picker;
        break;
    }
    case RightKind::Time: {
        auto *picker = new QTimeEdit;
        picker->setDisplayFormat(QStringLiteral("HH:mm"));
        picker->setTime(QTime(0, 0));
        picker->setAccessibleName(qtTrId("filters.row.time_accessible"));
        connect(picker, &QTimeEdit::timeChanged, self, &RowTemplate::changed);
        pRightView = picker;
        break;
    }
    }
    if (pRightView)
        self->adopt(pRightView);
}

QComboBox *RowTemplate::leftMenu()
{
    ensureControls();
    return pLeftMenu;
}

QComboBox *RowTemplate::operatorMenu()
{
    ensureControls();
    return pOperatorMenu;
}

QWidget *RowTemplate::rightView()
{
    ensureControls();
    return pRightView;
}

NumberField *RowTemplate::numberField()
{
    return qobject_cast<NumberField *>(rightView());
}

QDateEdit *RowTemplate::datePicker()
{
    return nRightKind == RightKind::Date ? qobject_cast<QDateEdit *>(rightView()) : nullptr;
}

QTimeEdit *RowTemplate::timePicker()
{
    return qobject_cast<QTimeEdit *>(rightView());
}

void RowTemplate::setLeftTitle(int index, const QString &title)
{
    if (index < 0 || index >= pLeftItems.size())
        return;
    pLeftItems[index].title = title;
    if (pLeftMenu)
        pLeftMenu->setItemText(index, title);
    emit titlesChanged();
}

QList<QWidget *> RowTemplate::templateViews()
{
    ensureControls();
    QList<QWidget *> views{pLeftMenu, pOperatorMenu};
    if (pRightView)
        views.append(pRightView);
    return views;
}

const ComparisonPredicate *RowTemplate::comparison(const PredicatePtr &predicate)
{
    return predicate ? predicate->asComparison() : nullptr;
}

double RowTemplate::matchForPredicate(const PredicatePtr &predicate) const
{
    const ComparisonPredicate *c = comparison(predicate);
    if (!c || c->comparisonPredicateModifier() != nModifier || c->options() != nOptions)
        return 0.0;
    const Expression left = c->leftExpression();
    const Expression right = c->rightExpression();
    if (left.expressionType() != Expression::KeyPathExpressionType ||
        right.expressionType() != Expression::ConstantValueExpressionType)
        return 0.0;
    const bool knownKey =
        std::any_of(pLeftItems.cbegin(), pLeftItems.cend(),
                    [&](const auto &item) { return item.keyPath == left.keyPath(); });
    const bool knownOperator =
        std::any_of(pOperatorItems.cbegin(), pOperatorItems.cend(),
                    [&](const auto &item) { return item.type == c->predicateOperatorType(); });
    if (!knownKey || !knownOperator)
        return 0.0;
    switch (nRightKind) {
    case RightKind::None:
        return 0.0;
    case RightKind::Number:
        return right.constantKind() == Expression::ConstantKind::Number ? 1.0 : 0.0;
    case RightKind::Date:
    case RightKind::Time:
        return right.constantKind() == Expression::ConstantKind::Date ? 1.0 : 0.0;
    }
    return 0.0;
}

void RowTemplate::setBaseControls(const ComparisonPredicate &c)
{
    ensureControls();
    const int left = pLeftMenu->findData(c.leftExpression().keyPath());
    if (left >= 0)
        pLeftMenu->setCurrentIndex(left);
    const int op = pOperatorMenu->findData(c.predicateOperatorType());
    if (op >= 0)
        pOperatorMenu->setCurrentIndex(op);
    if (c.rightExpression().expressionType() == Expression::ConstantValueExpressionType)
        setRightValue(c.rightExpression().constantValue());
}

void RowTemplate::setPredicate(const PredicatePtr &predicate)
{
    if (const ComparisonPredicate *c = comparison(predicate)) {
        const QSignalBlocker blocker(this);
        setBaseControls(*c);
    }
}

QVariant RowTemplate::rightValue() const
{
    ensureControls();
    switch (nRightKind) {
    case RightKind::None:
        return {};
    case RightKind::Number:
        return static_cast<NumberField *>(pRightView.data())->value();
    case RightKind::Date: {
        const QDate day = static_cast<QDateEdit *>(pRightView.data())->date();
        return QVariant::fromValue(Date::fromComponents(day.year(), day.month(), day.day()));
    }
    case RightKind::Time: {
        const QTime time = static_cast<QTimeEdit *>(pRightView.data())->time();
        return QVariant::fromValue(Date::fromComponents(1, 1, 1, time.hour(), time.minute()));
    }
    }
    return {};
}

void RowTemplate::setRightValue(const QVariant &value)
{
    ensureControls();
    const QSignalBlocker blocker(pRightView.data());
    switch (nRightKind) {
    case RightKind::None:
        break;
    case RightKind::Number:
        static_cast<NumberField *>(pRightView.data())->setValue(value);
        break;
    case RightKind::Date:
        if (value.canConvert<Date>()) {
            const Date::Components c = value.value<Date>().components();
            static_cast<QDateEdit *>(pRightView.data())->setDate(QDate(c.year, c.month, c.day));
        }
        break;
    case RightKind::Time:
        if (value.canConvert<Date>()) {
            const Date::Components c = value.value<Date>().components();
            static_cast<QTimeEdit *>(pRightView.data())->setTime(QTime(c.hour, c.minute));
        }
        break;
    }
}

bool RowTemplate::takePendingEdit()
{
    if (nRightKind != RightKind::Number)
        return false;
    return numberField()->takeEdit();
}

bool RowTemplate::hasAcceptableValue() const
{
    ensureControls();
    if (nRightKind == RightKind::Number)
        return rightValue().isValid();
    return true;
}

PredicatePtr RowTemplate::predicateWithSubpredicates(const QList<PredicatePtr> &) const
{
    ensureControls();
    const QString keyPath = pLeftMenu->currentData().toString();
    const qint32 type = pOperatorMenu->currentData().isValid()
                            ? pOperatorMenu->currentData().toInt()
                            : ComparisonPredicate::EqualToPredicateOperatorType;
    QVariant value = rightValue();
    if (nRightKind == RightKind::Number && !value.isValid())
        value = QVariant(qlonglong(0));
    return ComparisonPredicate::predicateWithLeftExpression(
        Expression::expressionForKeyPath(keyPath), Expression::expressionForConstantValue(value),
        nModifier, type, nOptions);
}

bool RowTemplate::showsPredicate(const PredicatePtr &predicate) const
{
    return Predicate::equal(predicateWithSubpredicates({}), predicate);
}
