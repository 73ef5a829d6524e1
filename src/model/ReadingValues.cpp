#include "ReadingValues.h"

namespace ReadingValues {

const ReadingValue *find(QStringView name)
{
    for (const ReadingValue &value : kAll) {
        if (value.name.size() == name.size() && value.name == name)
            return &value;
    }
    return nullptr;
}

bool isShown(const ReadingValue &value)
{
    return value.showKey.isEmpty() || Preferences::shared().boolForKey(value.showKey);
}

QString userTitle(const ReadingValue &value)
{
    return value.titleKey.isEmpty() ? QString()
                                    : Preferences::shared().stringForKey(value.titleKey);
}

} // namespace ReadingValues
