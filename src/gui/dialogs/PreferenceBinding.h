#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QVariant>

class QWidget;

// Ties one property of a widget to one preference key, both ways: the widget shows what the key
// answers, the key is written the moment the user changes the property (through the property's
// notify signal), and the widget follows changes of the key made anywhere else. The binding lives
// as a child of the widget and ends with it. Works for any widget property with a notify signal
// whose type converts to and from the key's type ("checked", "text", "currentIndex", "value", a
// colour property).
class PreferenceBinding : public QObject
{
    Q_OBJECT
public:
    static void bind(QWidget *widget, const char *property, const QString &preferenceKey);

    // The binding of a widget's property, or null.
    static PreferenceBinding *bindingOf(QWidget *widget, const char *property);

    QString preferenceKey() const { return strKey; }

private slots:
    void onWidgetChanged();

private:
    PreferenceBinding(QWidget *widget, const char *property, const QString &preferenceKey);
    void showPreference();
    void onPreferenceChanged(const QString &key);

    QWidget *pWidget;
    QByteArray strProperty;
    QString strKey;
    bool bShowing = false;
};
