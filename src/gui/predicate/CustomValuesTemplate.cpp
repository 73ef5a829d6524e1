#include "CustomValuesTemplate.h"

#include "Preferences.h"
#include "ReadingValues.h"

#include <algorithm>

namespace {

// The values the user titles, in the table's order, under their titles.
QList<RowTemplate::LeftItem> customItems()
{
    QList<RowTemplate::LeftItem> items;
    for (const ReadingValue &value : ReadingValues::kAll) {
        if (!value.titleKey.isEmpty())
            items.append({value.name, ReadingValues::userTitle(value)});
    }
    return items;
}

} // namespace

CustomValuesTemplate::CustomValuesTemplate(const QList<OperatorItem> &operators)
    : RowTemplate(customItems(), operators, RightKind::Number)
{
    connect(&Preferences::shared(), &Preferences::changed, this, [this](const QString &key) {
        if (std::ranges::any_of(ReadingValues::kAll, [&key](const ReadingValue &value) {
                return !value.titleKey.isEmpty() && value.titleKey == key;
            }))
            updateTitles();
    });
}

std::unique_ptr<RowTemplate> CustomValuesTemplate::copy() const
{
    return std::make_unique<CustomValuesTemplate>(operatorItems());
}

void CustomValuesTemplate::updateTitles()
{
    const QList<LeftItem> items = customItems();
    for (int i = 0; i < items.size(); ++i) {
        if (items[i].title != leftItems().value(i).title)
            setLeftTitle(i, items[i].title);
    }
}
