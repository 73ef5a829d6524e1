#include "CustomValuesTemplate.h"

#include "Preferences.h"

namespace {

const char *const kTitleKeys[] = {"customTitle1", "customTitle2", "customTitle3"};

QList<RowTemplate::LeftItem> customItems()
{
    QList<RowTemplate::LeftItem> items;
    for (int i = 0; i < 3; ++i) {
        items.append({QStringLiteral("customValue%1").arg(i + 1),
                      Preferences::shared().stringForKey(QLatin1String(kTitleKeys[i]))});
    }
    return items;
}

} // namespace

CustomValuesTemplate::CustomValuesTemplate(const QList<OperatorItem> &operators)
    : RowTemplate(customItems(), operators, RightKind::Number)
{
    connect(&Preferences::shared(), &Preferences::changed, this, [this](const QString &key) {
        for (const char *titleKey : kTitleKeys) {
            if (key == QLatin1String(titleKey)) {
                updateTitles();
                return;
            }
        }
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
