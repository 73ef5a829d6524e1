#pragma once

// Builds keyed archives by hand, for inputs the archiver would never write (older forms,
// Foundation's own forms, hostile files).

#include "BinaryPropertyList.h"
#include "PlistValue.h"

#include <QHash>
#include <QString>

struct ArchiveBuilder
{
    using V = PlistValue;

    V::Array objects{V::string(QStringLiteral("$null"))};
    QHash<QString, quint64> classes;

    quint64 add(const V &value)
    {
        objects.push_back(value);
        return objects.size() - 1;
    }
    quint64 classRecord(const QString &name)
    {
        if (!classes.contains(name)) {
            V::Dictionary record;
            record.insert(QStringLiteral("$classname"), V::string(name));
            record.insert(QStringLiteral("$classes"),
                          V::array({V::string(name), V::string(QStringLiteral("NSObject"))}));
            classes[name] = add(V::dictionary(record));
        }
        return classes[name];
    }
    V object(const QString &className, std::initializer_list<std::pair<QString, V>> entries)
    {
        V::Dictionary d;
        d.insert(QStringLiteral("$class"), V::uid(classRecord(className)));
        for (const auto &[key, value] : entries)
            d.insert(key, value);
        return V::dictionary(d);
    }
    quint64 addObject(const QString &className, std::initializer_list<std::pair<QString, V>> e)
    {
        return add(object(className, e));
    }
    quint64 string(const QString &text) { return add(V::string(text)); }
    // An NSArray of the objects.
    quint64 array(const QList<quint64> &items)
    {
        V::Array references;
        for (quint64 u : items)
            references.push_back(V::uid(u));
        return addObject(QStringLiteral("NSArray"),
                         {{QStringLiteral("NS.objects"), V::array(references)}});
    }
    // An NSDictionary with string keys.
    quint64 dictionary(const QList<std::pair<QString, quint64>> &entries)
    {
        V::Array keys, values;
        for (const auto &[key, value] : entries) {
            keys.push_back(V::uid(string(key)));
            values.push_back(V::uid(value));
        }
        return addObject(QStringLiteral("NSDictionary"),
                         {{QStringLiteral("NS.keys"), V::array(keys)},
                          {QStringLiteral("NS.objects"), V::array(values)}});
    }
    static V uids(std::initializer_list<quint64> list)
    {
        V::Array items;
        for (quint64 u : list)
            items.push_back(V::uid(u));
        return V::array(items);
    }
    V archive(quint64 root) const
    {
        V::Dictionary top;
        top.insert(QStringLiteral("root"), V::uid(root));
        V::Dictionary envelope;
        envelope.insert(QStringLiteral("$version"), V::integer(100000));
        envelope.insert(QStringLiteral("$archiver"), V::string(QStringLiteral("NSKeyedArchiver")));
        envelope.insert(QStringLiteral("$top"), V::dictionary(top));
        envelope.insert(QStringLiteral("$objects"), V::array(objects));
        return V::dictionary(envelope);
    }
    QByteArray bytes(quint64 root) const { return BinaryPropertyList::write(archive(root)); }
};
