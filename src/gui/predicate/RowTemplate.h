#pragma once

#include "ComparisonPredicate.h"
#include "Date.h"
#include "Predicate.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class QComboBox;
class QDateEdit;
class QTimeEdit;
class QWidget;
class NumberField;

// One kind of row of the predicate editor: the controls that show one comparison (a menu of
// left-hand key paths, a menu of operators, a control for the right-hand value) and the four
// operations through which the editor uses them:
//   templateViews()                the controls of the row, left to right;
//   matchForPredicate()            how well the template shows a comparison (0: cannot);
//   setPredicate()                 sets the controls from a comparison;
//   predicateWithSubpredicates()   the comparison the controls show now.
// The plain template built here compares a key path with a number, a calendar date or a time of
// day; subclasses replace parts. Every row of the editor has a template of its own, made with
// copy() from the editor's prototypes; its controls are made on first use and go with it.
class RowTemplate : public QObject
{
    Q_OBJECT
public:
    enum class RightKind
    {
        None,   // no right-hand control of the base (a subclass brings its own)
        Number, // a number field, 60 wide
        Date,   // a date picker; the date at local midnight
        Time    // an hours:minutes picker on the base day Date::minimum()
    };
    struct LeftItem
    {
        QString keyPath;
        QString title;
    };
    struct OperatorItem
    {
        qint32 type;
        QString title;
    };

    RowTemplate(const QList<LeftItem> &left, const QList<OperatorItem> &operators, RightKind right,
                qint32 modifier = ComparisonPredicate::DirectPredicateModifier, qint32 options = 0);
    ~RowTemplate() override;

    // A new template of the same kind and configuration, with no controls made yet.
    virtual std::unique_ptr<RowTemplate> copy() const;

    virtual QList<QWidget *> templateViews();
    // The plain template scores 1.0 for a comparison whose modifier and options are its own,
    // whose left side is one of its key paths, whose operator is one of its operators and whose
    // right side is a constant of its kind; else 0.
    virtual double matchForPredicate(const PredicatePtr &predicate) const;
    virtual void setPredicate(const PredicatePtr &predicate);
    virtual PredicatePtr predicateWithSubpredicates(const QList<PredicatePtr> &subpredicates) const;

    // True when the controls, set from the comparison, give it back unchanged: the editor shows
    // a comparison as a row only then, so that rebuilding the predicate never rewrites a
    // comparison the row could not show in full.
    virtual bool showsPredicate(const PredicatePtr &predicate) const;
    // True when a control holds an edit not yet reported through changed() (a number still
    // being typed, a tag not yet ended); the edit counts as reported afterwards.
    virtual bool takePendingEdit();
    // True when the controls hold a value the row can build a comparison from.
    virtual bool hasAcceptableValue() const;

    const QList<LeftItem> &leftItems() const { return pLeftItems; }
    const QList<OperatorItem> &operatorItems() const { return pOperatorItems; }
    void setLeftTitle(int index, const QString &title);
    RightKind rightKind() const { return nRightKind; }
    qint32 modifier() const { return nModifier; }
    qint32 options() const { return nOptions; }

    QComboBox *leftMenu();
    QComboBox *operatorMenu();
    // The base right-hand control (nullptr for RightKind::None).
    QWidget *rightView();
    NumberField *numberField();
    QDateEdit *datePicker();
    QTimeEdit *timePicker();

    // The value of the base right-hand control as a constant.
    QVariant rightValue() const;
    void setRightValue(const QVariant &value);

signals:
    // The user changed one of the row's controls.
    void changed();
    // A title of the left menu changed (the custom values follow the preferences).
    void titlesChanged();

protected:
    // Takes a control made by this template (it goes when the template goes) and reports its
    // changes through changed().
    void adopt(QWidget *control);
    void connectCombo(QComboBox *combo);
    static const ComparisonPredicate *comparison(const PredicatePtr &predicate);
    // Sets the left and operator menus and the right control from a comparison.
    void setBaseControls(const ComparisonPredicate &comparison);

private:
    void ensureControls() const;

    QList<LeftItem> pLeftItems;
    QList<OperatorItem> pOperatorItems;
    RightKind nRightKind;
    qint32 nModifier;
    qint32 nOptions;

    mutable QPointer<QComboBox> pLeftMenu;
    mutable QPointer<QComboBox> pOperatorMenu;
    mutable QPointer<QWidget> pRightView;
    mutable QList<QPointer<QWidget>> pControls;
};
