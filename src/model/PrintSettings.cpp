#include "PrintSettings.h"

#include "Number.h"

#include <QPageSize>
#include <QRectF>
#include <QSizeF>

#include <cmath>

const QString PrintSettings::kPaperSize = QStringLiteral("NSPaperSize");
const QString PrintSettings::kLeftMargin = QStringLiteral("NSLeftMargin");
const QString PrintSettings::kRightMargin = QStringLiteral("NSRightMargin");
const QString PrintSettings::kTopMargin = QStringLiteral("NSTopMargin");
const QString PrintSettings::kBottomMargin = QStringLiteral("NSBottomMargin");
const QString PrintSettings::kOrientation = QStringLiteral("NSOrientation");
const QString PrintSettings::kPaperName = QStringLiteral("NSPaperName");

namespace {

const QMarginsF kDefaultMargins(72, 90, 72, 90);

// Paper from one inch to two hundred inches a side.
bool usablePaper(const QSizeF &size)
{
    return std::isfinite(size.width()) && std::isfinite(size.height()) && size.width() >= 72 &&
           size.height() >= 72 && size.width() <= 14400 && size.height() <= 14400;
}

// Margins that leave at least an inch of room each way.
bool usableMargins(const QMarginsF &margins, const QSizeF &turned)
{
    return margins.left() + margins.right() <= turned.width() - 72 &&
           margins.top() + margins.bottom() <= turned.height() - 72;
}

} // namespace

QPageLayout PrintSettings::defaultPageLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, kDefaultMargins,
                       QPageLayout::Point);
}

QPageLayout PrintSettings::pageLayout() const
{
    QSizeF paper = QPageSize(QPageSize::A4).size(QPageSize::Point);
    const QVariant paperValue = pAttributes.value(kPaperSize);
    if (paperValue.typeId() == QMetaType::QSizeF && usablePaper(paperValue.toSizeF()))
        paper = paperValue.toSizeF();

    // Without an orientation, the paper's shape says which way it is turned.
    QPageLayout::Orientation orientation =
        paper.width() > paper.height() ? QPageLayout::Landscape : QPageLayout::Portrait;
    const QVariant orientationValue = pAttributes.value(kOrientation);
    if (Number::isNumber(orientationValue))
        orientation = Number::toDouble(orientationValue) == 1 ? QPageLayout::Landscape
                                                              : QPageLayout::Portrait;
    const QSizeF portrait(qMin(paper.width(), paper.height()), qMax(paper.width(), paper.height()));
    const QSizeF turned = orientation == QPageLayout::Landscape ? portrait.transposed() : portrait;

    const auto margin = [this](const QString &key, qreal fallback) {
        const QVariant value = pAttributes.value(key);
        if (!Number::isNumber(value))
            return fallback;
        const double d = Number::toDouble(value);
        return std::isfinite(d) && d >= 0 ? d : fallback;
    };
    QMarginsF margins(margin(kLeftMargin, kDefaultMargins.left()),
                      margin(kTopMargin, kDefaultMargins.top()),
                      margin(kRightMargin, kDefaultMargins.right()),
                      margin(kBottomMargin, kDefaultMargins.bottom()));
    if (!usableMargins(margins, turned))
        margins = kDefaultMargins;
    if (!usableMargins(margins, turned))
        margins = QMarginsF();

    QPageLayout layout(QPageSize(portrait, QPageSize::Point), orientation, QMarginsF(),
                       QPageLayout::Point);
    layout.setMargins(margins);
    return layout;
}

void PrintSettings::setPageLayout(const QPageLayout &layout)
{
    if (!layout.isValid())
        return;
    const QSizeF turned = layout.fullRect(QPageLayout::Point).size();
    const QMarginsF margins = layout.margins(QPageLayout::Point);
    // Turning the paper keeps its name; other paper does not.
    const auto upright = [](const QSizeF &size) {
        return QSizeF(qMin(size.width(), size.height()), qMax(size.width(), size.height()));
    };
    const QVariant previous = pAttributes.value(kPaperSize);
    if (previous.typeId() != QMetaType::QSizeF || upright(previous.toSizeF()) != upright(turned))
        pAttributes.remove(kPaperName);
    pAttributes.insert(kPaperSize, turned);
    pAttributes.insert(kLeftMargin, margins.left());
    pAttributes.insert(kRightMargin, margins.right());
    pAttributes.insert(kTopMargin, margins.top());
    pAttributes.insert(kBottomMargin, margins.bottom());
    pAttributes.insert(kOrientation,
                       qlonglong(layout.orientation() == QPageLayout::Landscape ? 1 : 0));
}
