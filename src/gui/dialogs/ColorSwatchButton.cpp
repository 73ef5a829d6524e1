#include "ColorSwatchButton.h"

#include <QColorDialog>
#include <QEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>

ColorSwatchButton::ColorSwatchButton(QWidget *parent) : QPushButton(parent)
{
    setAutoDefault(false);
    setIconSize(QSize(40, 14));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(this, &QPushButton::clicked, this, &ColorSwatchButton::chooseColor);
    updateSwatch();
}

void ColorSwatchButton::setColor(const QColor &color)
{
    if (!color.isValid() || color == pColor)
        return;
    pColor = color;
    updateSwatch();
    emit colorChanged(pColor);
}

void ColorSwatchButton::chooseColor()
{
    auto *dialog = new QColorDialog(pColor, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setWindowTitle(accessibleName());
    QPointer<ColorSwatchButton> guard(this);
    connect(dialog, &QColorDialog::colorSelected, this, [guard](const QColor &chosen) {
        if (guard)
            guard->setColor(chosen);
    });
    dialog->open();
}

void ColorSwatchButton::changeEvent(QEvent *event)
{
    QPushButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        updateSwatch();
}

void ColorSwatchButton::updateSwatch()
{
    QPixmap swatch(iconSize() * devicePixelRatioF());
    swatch.setDevicePixelRatio(devicePixelRatioF());
    swatch.fill(Qt::transparent);
    QPainter painter(&swatch);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::Mid), 1));
    painter.setBrush(pColor.isValid() ? pColor : QColor(Qt::transparent));
    painter.drawRoundedRect(QRectF(QPointF(0.5, 0.5), QSizeF(iconSize()) - QSizeF(1, 1)), 2, 2);
    painter.end();
    setIcon(QIcon(swatch));
    setAccessibleDescription(pColor.isValid() ? pColor.name() : QString());
}
