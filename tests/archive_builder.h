#pragma once

// Builds keyed archives by hand, for inputs the archiver would never write (older forms,
// Foundation's own forms, hostile files).

#include "BinaryPropertyList.h"
#include "PlistValue.h"

#include <QHash>
#include <QString>

using namespace Qt::Literals::StringLiterals;

struct ArchiveBuilder
{
    using V = PlistValue;

    V::Array objects{V::string(u"$null"_s)};
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
            record.insert(u"$classname"_s, V::string(name));
            record.insert(u"$classes"_s, V::array({V::string(name), V::string(u"NSObject"_s)}));
            classes[name] = add(V::dictionary(record));
        }
        return classes[name];
    }
    V object(const QString &className, std::initializer_list<std::pair<QString, V>> entries)
    {
        V::Dictionary d;
        d.insert(u"$class"_s, V::uid(classRecord(className)));
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
        return addObject(u"NSArray"_s, {{u"NS.objects"_s, V::array(references)}});
    }
    // An NSDictionary with string keys.
    quint64 dictionary(const QList<std::pair<QString, quint64>> &entries)
    {
        V::Array keys, values;
        for (const auto &[key, value] : entries) {
            keys.push_back(V::uid(string(key)));
            values.push_back(V::uid(value));
        }
        return addObject(u"NSDictionary"_s,
                         {{u"NS.keys"_s, V::array(keys)}, {u"NS.objects"_s, V::array(values)}});
    }
    // An NSDate of the seconds since 2001 (a V, so that a test can give some other value).
    quint64 date(const V &time) { return addObject(u"NSDate"_s, {{u"NS.time"_s, time}}); }
    // A document's root dictionary: the readings, then any further entries.
    quint64 document(const QList<quint64> &readings,
                     QList<std::pair<QString, quint64>> entries = {})
    {
        entries.prepend({u"measurements"_s, array(readings)});
        return dictionary(entries);
    }
    // A dictionary of the entries, in their order.
    static V::Dictionary entries(std::initializer_list<std::pair<QString, V>> list)
    {
        V::Dictionary d;
        for (const auto &[key, value] : list)
            d.insert(key, value);
        return d;
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
        top.insert(u"root"_s, V::uid(root));
        V::Dictionary envelope;
        envelope.insert(u"$version"_s, V::integer(100000));
        envelope.insert(u"$archiver"_s, V::string(u"NSKeyedArchiver"_s));
        envelope.insert(u"$top"_s, V::dictionary(top));
        envelope.insert(u"$objects"_s, V::array(objects));
        return V::dictionary(envelope);
    }
    QByteArray bytes(quint64 root) const { return BinaryPropertyList::write(archive(root)); }
};
