#include "PropertyList.h"

#include "BinaryPropertyList.h"
#include "XmlPropertyList.h"

bool PropertyList::read(const QByteArray &data, PlistValue *result, QString *error, Format *format)
{
    if (BinaryPropertyList::isBinary(data)) {
        if (format)
            *format = Format::Binary;
        return BinaryPropertyList::read(data, result, error);
    }
    if (XmlPropertyList::isXml(data)) {
        if (format)
            *format = Format::Xml;
        return XmlPropertyList::read(data, result, error);
    }
    *result = PlistValue();
    if (error)
        *error = qtTrId("plist.error.not_plist");
    return false;
}

QByteArray PropertyList::writeBinary(const PlistValue &root)
{
    return BinaryPropertyList::write(root);
}
