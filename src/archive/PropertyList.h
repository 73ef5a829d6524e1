#pragma once

#include "PlistValue.h"

#include <QByteArray>
#include <QString>

// Reads a property list in either format, telling them apart by their first bytes, and writes
// the binary format.
class PropertyList
{
public:
    enum class Format
    {
        Binary,
        Xml
    };

    // Decodes binary or XML data into *result. On failure returns false, leaves *result null and
    // puts a localised explanation in *error (when given). *format receives the format found.
    static bool read(const QByteArray &data, PlistValue *result, QString *error = nullptr,
                     Format *format = nullptr);

    static QByteArray writeBinary(const PlistValue &root);
};
