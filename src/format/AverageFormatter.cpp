#include "AverageFormatter.h"

#include "AverageItem.h"
#include "Preferences.h"

AverageFormatter::AverageFormatter() : AverageFormatter(true) {}

AverageFormatter::AverageFormatter(bool digitsAllowed)
{
    fmtNumbers.setNilSymbol(QLatin1String(""));
    if (digitsAllowed) {
        fmtNumbers.setNumberStyle(NumberFormatter::Style::Decimal);
        fmtNumbers.setMaximumFractionDigits(2);
        fmtNumbers.setMinimumFractionDigits(2);
    } else {
        fmtNumbers.setNumberStyle(NumberFormatter::Style::None);
        fmtNumbers.setMaximumFractionDigits(0);
        fmtNumbers.setMinimumFractionDigits(0);
    }
    fmtNumbers.setMinimumIntegerDigits(1);

    Preferences &preferences = Preferences::shared();
    bShowDeviation = preferences.boolForKey(Preferences::showDeviationsInAverages);
    pBinding = QObject::connect(&preferences, &Preferences::changed, [this](const QString &key) {
        if (key == Preferences::showDeviationsInAverages)
            setShowDeviation(
                Preferences::shared().boolForKey(Preferences::showDeviationsInAverages));
    });
}

AverageFormatter::~AverageFormatter()
{
    QObject::disconnect(pBinding);
}

std::unique_ptr<AverageFormatter> AverageFormatter::formatter()
{
    return std::make_unique<AverageFormatter>();
}

void AverageFormatter::setShowDeviation(bool show)
{
    if (show != bShowDeviation)
        bShowDeviation = show;
}

QString AverageFormatter::stringForAverageItem(const AverageItem &item) const
{
    if (!item.isValid())
        return qtTrId("not_available");
    const QString average = fmtNumbers.stringFromDouble(item.average());
    if (!bShowDeviation)
        return average;
    return average + QStringLiteral(" \u00B1 ") + fmtNumbers.stringFromDouble(item.deviation());
}

QString AverageFormatter::stringForObjectValue(const QVariant &value) const
{
    if (value.metaType() == QMetaType::fromType<AverageItemPtr>()) {
        if (const AverageItemPtr item = value.value<AverageItemPtr>())
            return stringForAverageItem(*item);
    } else if (value.metaType() == QMetaType::fromType<AverageItem *>()) {
        if (const AverageItem *item = value.value<AverageItem *>())
            return stringForAverageItem(*item);
    } else if (value.metaType() == QMetaType::fromType<const AverageItem *>()) {
        if (const AverageItem *item = value.value<const AverageItem *>())
            return stringForAverageItem(*item);
    }
    return QString();
}

bool AverageFormatter::getObjectValue(QVariant *, const QString &, QString *errorDescription) const
{
    return refuseOneWay(errorDescription);
}
