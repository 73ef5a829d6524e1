#pragma once

#include <QPageLayout>
#include <QString>
#include <QVariantMap>

// The print settings a document keeps: the dictionary of "NSAttributes" as its file carries it
// (paper size, margins, orientation and whatever else the file holds), and its page layout.
// pageLayout() reads the attributes it understands, falling back to A4 with 72/90 point margins
// where they are missing or unusable; setPageLayout() writes them back and keeps every attribute
// it does not understand, so that a file saved again loses nothing.
class PrintSettings
{
public:
    // The attributes understood here. The paper size is that of the page as it is turned (wider
    // than high in landscape); margins are in points on that page.
    static const QString kPaperSize;    // QSizeF, points
    static const QString kLeftMargin;   // double, points
    static const QString kRightMargin;  // double, points
    static const QString kTopMargin;    // double, points
    static const QString kBottomMargin; // double, points
    static const QString kOrientation;  // integer: 0 portrait, 1 landscape
    // The name of the paper; dropped when setPageLayout() changes the paper size, since it would
    // name the old paper.
    static const QString kPaperName;

    PrintSettings() = default;
    explicit PrintSettings(const QVariantMap &attributes) : pAttributes(attributes) {}

    const QVariantMap &attributes() const { return pAttributes; }

    // The layout, in points, that the attributes describe; always valid.
    QPageLayout pageLayout() const;
    // Takes over the paper, orientation and margins of the layout (in points); the attributes not
    // understood here stay as they were.
    void setPageLayout(const QPageLayout &layout);

    // A4 portrait with margins of 72 points at the sides and 90 at the top and the bottom.
    static QPageLayout defaultPageLayout();

    friend bool operator==(const PrintSettings &a, const PrintSettings &b)
    {
        return a.pAttributes == b.pAttributes;
    }
    friend bool operator!=(const PrintSettings &a, const PrintSettings &b) { return !(a == b); }

private:
    QVariantMap pAttributes;
};
