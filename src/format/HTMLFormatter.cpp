#include "HTMLFormatter.h"

std::unique_ptr<HTMLFormatter> HTMLFormatter::formatter()
{
    return std::make_unique<HTMLFormatter>();
}

QString HTMLFormatter::htmlForText(const QString &text)
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&':
            out += QLatin1String("&amp;");
            break;
        case '<':
            out += QLatin1String("&lt;");
            break;
        case '>':
            out += QLatin1String("&gt;");
            break;
        case '\'':
            out += QLatin1String("&apos;");
            break;
        case '"':
            out += QLatin1String("&quot;");
            break;
        case '\n':
            out += QLatin1String("<br/>"); // after escaping, so the tag itself stays markup
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString HTMLFormatter::stringForObjectValue(const QVariant &value) const
{
    if (value.typeId() != QMetaType::QString)
        return QLatin1String("");
    return htmlForText(value.toString());
}

bool HTMLFormatter::getObjectValue(QVariant *, const QString &, QString *errorDescription) const
{
    return refuseOneWay(errorDescription);
}
