#include "PreferenceBinding.h"

#include "Preferences.h"

#include <QMetaMethod>
#include <QMetaProperty>
#include <QWidget>

namespace {

QByteArray bindingName(const char *property)
{
    return QByteArrayLiteral("PreferenceBinding:") + property;
}

} // namespace

void PreferenceBinding::bind(QWidget *widget, const char *property, const QString &preferenceKey)
{
    Q_ASSERT_X(widget && property, "PreferenceBinding", "nothing to bind");
    if (!widget || !property)
        return;
    // A second binding of the same property replaces the first.
    delete bindingOf(widget, property);
    new PreferenceBinding(widget, property, preferenceKey);
}

PreferenceBinding *PreferenceBinding::bindingOf(QWidget *widget, const char *property)
{
    if (!widget)
        return nullptr;
    return widget->findChild<PreferenceBinding *>(QString::fromLatin1(bindingName(property)),
                                                  Qt::FindDirectChildrenOnly);
}

PreferenceBinding::PreferenceBinding(QWidget *widget, const char *property,
                                     const QString &preferenceKey)
    : QObject(widget), pWidget(widget), strProperty(property), strKey(preferenceKey)
{
    setObjectName(QString::fromLatin1(bindingName(property)));
    const QMetaObject *meta = widget->metaObject();
    const int index = meta->indexOfProperty(property);
    if (index < 0) {
        qWarning("PreferenceBinding: %s has no property %s", meta->className(), property);
        return;
    }
    const QMetaProperty metaProperty = meta->property(index);
    if (metaProperty.hasNotifySignal()) {
        const QMetaMethod slot =
            metaObject()->method(metaObject()->indexOfSlot("onWidgetChanged()"));
        connect(widget, metaProperty.notifySignal(), this, slot);
    } else {
        qWarning("PreferenceBinding: %s::%s has no notify signal; changes are not written",
                 meta->className(), property);
    }
    connect(&Preferences::shared(), &Preferences::changed, this,
            &PreferenceBinding::onPreferenceChanged);
    showPreference();
}

void PreferenceBinding::showPreference()
{
    const QVariant value = Preferences::shared().valueForKey(strKey);
    if (pWidget->property(strProperty.constData()) == value)
        return;
    bShowing = true;
    pWidget->setProperty(strProperty.constData(), value);
    bShowing = false;
}

void PreferenceBinding::onPreferenceChanged(const QString &key)
{
    if (key == strKey)
        showPreference();
}

void PreferenceBinding::onWidgetChanged()
{
    if (bShowing)
        return;
    const QVariant value = pWidget->property(strProperty.constData());
    Preferences &preferences = Preferences::shared();
    if (preferences.valueForKey(strKey) == value)
        return;
    // A value the key cannot take (a fourth row size) is refused: show what the key holds.
    if (!preferences.setValueForKey(value, strKey))
        showPreference();
}
