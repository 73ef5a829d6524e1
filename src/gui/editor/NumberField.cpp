#include "NumberField.h"

#include <QLocale>

#include <cmath>

NumberField::NumberField(QWidget *parent) : QLineEdit(parent)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(this, &QLineEdit::textChanged, this, &NumberField::updateAppearance);
    setValue(QVariant(qlonglong(0)));
}

QString NumberField::format(const QVariant &number)
{
    const QLocale locale;
    if (number.typeId() == QMetaType::Double) {
        QString text = locale.toString(number.toDouble(), 'g', 17);
        // The shortest text that reads back as the same double.
        for (int precision = 1; precision <= 17; ++precision) {
            const QString shorter = locale.toString(number.toDouble(), 'g', precision);
            if (locale.toDouble(shorter) == number.toDouble()) {
                text = shorter;
                break;
            }
        }
        return text;
    }
    return locale.toString(number.toLongLong());
}

QVariant NumberField::parse(const QString &text, bool wholeOnly)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {};
    for (const QLocale &locale : {QLocale(), QLocale::c()}) {
        QLocale strict = locale;
        strict.setNumberOptions(QLocale::RejectGroupSeparator);
        bool ok = false;
        const qlonglong whole = strict.toLongLong(trimmed, &ok);
        if (ok)
            return QVariant(whole);
        if (wholeOnly)
            continue;
        const double fractional = strict.toDouble(trimmed, &ok);
        if (ok && std::isfinite(fractional))
            return QVariant(fractional);
    }
    return {};
}

void NumberField::setValue(const QVariant &number)
{
    vShown = number.typeId() == QMetaType::Double ? QVariant(number.toDouble())
                                                  : QVariant(number.toLongLong());
    strShownText = format(vShown);
    strTakenText = strShownText;
    setText(strShownText);
    updateAppearance();
}

QVariant NumberField::value() const
{
    if (text() == strShownText)
        return vShown;
    return parse(text(), bWholeOnly);
}

bool NumberField::takeEdit()
{
    if (text() == strTakenText)
        return false;
    strTakenText = text();
    return true;
}

void NumberField::updateAppearance()
{
    // A number that cannot be read is marked, and the row keeps its previous condition.
    // Said in words too, for the tooltip and for screen readers.
    const bool acceptable = hasAcceptableValue();
    const QString problem =
        acceptable ? QString() : qtTrId("predicate.error.bad_number").arg(text());
    setToolTip(problem);
    setAccessibleDescription(problem);
    if (acceptable == !property("invalid").toBool())
        return;
    setProperty("invalid", !acceptable);
    setStyleSheet(acceptable ? QString() : QStringLiteral("QLineEdit { color: #c01c28; }"));
}
