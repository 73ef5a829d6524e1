#include "ArrayFormatter.h"

#include <QStringList>

std::unique_ptr<ArrayFormatter> ArrayFormatter::formatter()
{
    return std::make_unique<ArrayFormatter>();
}

QString ArrayFormatter::stringForObjectValue(const QVariant &value) const
{
    QStringList texts;
    if (value.typeId() == QMetaType::QStringList) {
        texts = value.toStringList();
    } else if (value.typeId() == QMetaType::QVariantList) {
        for (const QVariant &element : value.toList())
            texts.append(element.toString());
    }
    QString line = texts.join(QLatin1String(", "));
    if (line.isNull())
        line = QLatin1String(""); // the empty string, not "no text"
    return line;
}

bool ArrayFormatter::getObjectValue(QVariant *, const QString &, QString *errorDescription) const
{
    return refuseOneWay(errorDescription);
}
