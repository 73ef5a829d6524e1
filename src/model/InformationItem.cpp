#include "InformationItem.h"

const QString InformationItem::kName = QStringLiteral("name");
const QString InformationItem::kValue = QStringLiteral("value");
const QString InformationItem::kPrinted = QStringLiteral("printed");

InformationItem::InformationItem(const QString &name, const QString &value, bool printed)
{
    pValues.insert(kName, name);
    pValues.insert(kValue, value);
    pValues.insert(kPrinted, printed);
}

InformationItemPtr InformationItem::newItem()
{
    return create(qtTrId("doc.information.new_item.label"),
                  qtTrId("doc.information.new_item.descr"), true);
}

InformationItemPtr InformationItem::fromDictionary(const QVariantMap &values)
{
    auto item = std::make_shared<InformationItem>();
    item->pValues = values;
    return item;
}

void InformationItem::setValueForKey(const QVariant &value, const QString &key)
{
    const auto it = pValues.constFind(key);
    const bool present = it != pValues.constEnd();
    if (!value.isValid()) {
        if (!present)
            return;
        const QVariant oldValue = *it;
        pValues.remove(key);
        emit valueChanged(key, oldValue);
        return;
    }
    if (present && it->typeId() == value.typeId() && *it == value)
        return;
    const QVariant oldValue = present ? *it : QVariant();
    pValues.insert(key, value);
    emit valueChanged(key, oldValue);
}
