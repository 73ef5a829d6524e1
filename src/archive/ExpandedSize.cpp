#include "ExpandedSize.h"

#include "ArchivedObject.h"

ExpandedSize::ExpandedSize(OtherFunction other) : m_other(std::move(other)) {}

// Lists can share data with a longer list (slices), so the length is part of what is remembered.
template <class F> quint64 ExpandedSize::remembered(const void *data, qsizetype length, F count)
{
    if (!data) // empty containers share no data
        return count();
    const Key key{data, length};
    const auto known = m_known.constFind(key);
    if (known != m_known.constEnd())
        return *known;
    const quint64 size = count();
    m_known.insert(key, size);
    return size;
}

quint64 ExpandedSize::of(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QVariantList: {
        const auto &list = *static_cast<const QVariantList *>(value.constData());
        return remembered(list.isEmpty() ? nullptr : list.constData(), list.size(), [&] {
            quint64 size = 1;
            for (const QVariant &item : list)
                size = add(size, of(item));
            return size;
        });
    }
    case QMetaType::QStringList: {
        const auto &list = *static_cast<const QStringList *>(value.constData());
        return add(1, quint64(list.size()));
    }
    case QMetaType::QVariantMap: {
        const auto &map = *static_cast<const QVariantMap *>(value.constData());
        // The first entry's place in the shared tree stands for the whole map.
        return remembered(map.isEmpty() ? nullptr : &*map.constBegin(), map.size(), [&] {
            quint64 size = 1;
            for (auto it = map.constBegin(); it != map.constEnd(); ++it)
                size = add(size, add(1, of(it.value())));
            return size;
        });
    }
    default:
        break;
    }
    if (value.metaType() == QMetaType::fromType<ArchivedObject>()) {
        const auto &object = *static_cast<const ArchivedObject *>(value.constData());
        return remembered(object.fields.isEmpty() ? nullptr : object.fields.constData(),
                          object.fields.size(), [&] {
                              quint64 size = 1;
                              for (const ArchivedObject::Field &field : object.fields) {
                                  switch (field.kind) {
                                  case ArchivedObject::Field::Kind::Object:
                                      size = add(size, of(field.object));
                                      break;
                                  case ArchivedObject::Field::Kind::Objects:
                                      for (const QVariant &item : field.objects)
                                          size = add(size, of(item));
                                      break;
                                  case ArchivedObject::Field::Kind::Value:
                                      size = add(size, of(field.value));
                                      break;
                                  }
                              }
                              return size;
                          });
    }
    if (m_other) {
        if (const quint64 size = m_other(value, *this))
            return size;
    }
    return 1;
}

quint64 ExpandedSize::of(const PlistValue &value)
{
    if (!value.isArray() && !value.isDictionary())
        return 1;
    return remembered(value.node(), 0, [&] {
        quint64 size = 1;
        for (const PlistValue &item : value.toArray())
            size = add(size, of(item));
        const PlistValue::Dictionary &entries = value.toDictionary();
        for (qsizetype i = 0; i < entries.size(); ++i)
            size = add(size, add(1, of(entries.valueAt(i))));
        return size;
    });
}
