#pragma once

#include "PlistValue.h"

#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariant>

// An archived object of a class the program does not know, kept as it was read so that it can
// be written back unchanged: its class chain and its keys in order. Nothing is made from the
// class name; the object is only carried along (print settings of other programs hold such
// objects). A key holds an object (decoded as far as it can be, unknown classes again kept this
// way), an array of objects, or an inline property-list value without object references.
struct ArchivedObject
{
    struct Field
    {
        enum class Kind : quint8
        {
            Object,
            Objects,
            Value
        };
        QString key;
        Kind kind = Kind::Value;
        QVariant object;      // Kind::Object
        QVariantList objects; // Kind::Objects
        PlistValue value;     // Kind::Value
    };

    QStringList classes; // most derived first
    QList<Field> fields;

    QString className() const { return classes.value(0); }
};

Q_DECLARE_METATYPE(ArchivedObject)
