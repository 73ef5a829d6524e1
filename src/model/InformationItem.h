#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <memory>

class InformationItem;
using InformationItemPtr = std::shared_ptr<InformationItem>;
using InformationList = QList<InformationItemPtr>;

// One labelled note of a document's information list: a small dictionary with "name" (string),
// "value" (string) and "printed" (bool). An item has identity: lists hold it by shared pointer
// and find it by address, so two items with the same texts are still two items. Keys other than
// the three are kept as they were given (a file may carry them) but nobody observes them.
class InformationItem : public QObject
{
    Q_OBJECT
public:
    static const QString kName;
    static const QString kValue;
    static const QString kPrinted;

    InformationItem() = default;
    InformationItem(const QString &name, const QString &value, bool printed);

    static InformationItemPtr create(const QString &name, const QString &value, bool printed)
    {
        return std::make_shared<InformationItem>(name, value, printed);
    }
    // A new note as the information page makes it: printed, with the default label and text.
    static InformationItemPtr newItem();
    // An item holding exactly the given dictionary (absent keys stay absent).
    static InformationItemPtr fromDictionary(const QVariantMap &values);

    QVariantMap dictionary() const { return pValues; }

    QString name() const { return pValues.value(kName).toString(); }
    QString value() const { return pValues.value(kValue).toString(); }
    // An absent "printed" counts as false.
    bool isPrinted() const { return pValues.value(kPrinted).toBool(); }

    void setName(const QString &name) { setValueForKey(name, kName); }
    void setValue(const QString &value) { setValueForKey(value, kValue); }
    void setPrinted(bool printed) { setValueForKey(printed, kPrinted); }

    QVariant valueForKey(const QString &key) const { return pValues.value(key); }
    // Stores the value under the key; an invalid QVariant removes the key. Announces the change
    // with valueChanged() unless the key already held an equal value.
    void setValueForKey(const QVariant &value, const QString &key);

signals:
    // After a key's value changed; oldValue is invalid when the key was absent.
    void valueChanged(const QString &key, const QVariant &oldValue);

private:
    QVariantMap pValues;
};
