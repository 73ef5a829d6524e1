#pragma once

#include <QColor>
#include <QPushButton>

// A button showing a colour swatch; pressing it opens a colour dialog (with open()), and the
// chosen colour becomes the button's colour.
class ColorSwatchButton : public QPushButton
{
    Q_OBJECT
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged USER true)
public:
    explicit ColorSwatchButton(QWidget *parent = nullptr);

    QColor color() const { return pColor; }
    void setColor(const QColor &color);

    void chooseColor();

signals:
    void colorChanged(const QColor &color);

protected:
    void changeEvent(QEvent *event) override;

private:
    void updateSwatch();

    QColor pColor;
};
