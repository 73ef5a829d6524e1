#pragma once

#include "PlistValue.h"

#include <QByteArray>
#include <QString>

// Reads XML property lists ("<plist version="1.0">…</plist>") into the same value model as the
// binary format. A dictionary whose only key is "CF$UID" with an integer value is a UID, as keyed
// archives write them in XML. Nesting is bounded by kMaxDepth, the reader never recurses, and a
// document type that declares entities is refused.
class XmlPropertyList
{
public:
    static constexpr int kMaxDepth = 512;

    // True when the data looks like XML (after an optional byte-order mark and white space).
    static bool isXml(const QByteArray &data);

    // Decodes the data into *result. On failure returns false, leaves *result null and puts a
    // localised explanation in *error (when given).
    static bool read(const QByteArray &data, PlistValue *result, QString *error = nullptr);
};
