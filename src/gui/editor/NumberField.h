#pragma once

#include <QLineEdit>
#include <QVariant>

// A text field for one number of a condition row. It keeps the number it was given exactly (whole
// or fractional) as long as its text is not edited, so that a number shown and read back is the
// same number; edited text is read in the user's locale (or the C locale), whole numbers as
// qlonglong and others as double.
class NumberField : public QLineEdit
{
    Q_OBJECT
public:
    explicit NumberField(QWidget *parent = nullptr);

    void setValue(const QVariant &number);
    // The number shown; invalid when the text is not a number.
    QVariant value() const;
    bool hasAcceptableValue() const { return value().isValid(); }

    // True once when the text differs from what was last set or taken: an edit to apply,
    // however the text came (typed, pasted, set by assistive technology).
    bool takeEdit();

    // Only whole numbers are accepted (the count of a relative date).
    void setWholeNumbersOnly(bool whole) { bWholeOnly = whole; }

    static QVariant parse(const QString &text, bool wholeOnly);
    static QString format(const QVariant &number);

private:
    void updateAppearance();

    QVariant vShown;
    QString strShownText;
    QString strTakenText;
    bool bWholeOnly = false;
};
