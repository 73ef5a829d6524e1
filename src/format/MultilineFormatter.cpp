#include "MultilineFormatter.h"

QString MultilineFormatter::singleLine(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    }
    return out;
}

QString MultilineFormatter::stringForObjectValue(const QVariant &value) const
{
    if (!value.isValid())
        return QString();
    return singleLine(value.toString());
}

bool MultilineFormatter::getObjectValue(QVariant *out, const QString &text, QString *) const
{
    if (out)
        *out = text;
    return true;
}
