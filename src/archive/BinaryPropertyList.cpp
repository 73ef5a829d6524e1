#include "BinaryPropertyList.h"

#include "BinaryPlistBuilder.h"
#include "BinaryPlistView.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <limits>
#include <unordered_map>

bool BinaryPropertyList::isBinary(const QByteArray &data)
{
    return data.startsWith("bplist00");
}

bool BinaryPropertyList::read(const QByteArray &data, PlistValue *result, QString *error)
{
    *result = PlistValue();
    BinaryPlistView view;
    PlistValue value;
    if (!view.open(data) || !view.materialize(view.topObject(), &value)) {
        if (error)
            *error = view.error();
        return false;
    }
    *result = std::move(value);
    if (error)
        error->clear();
    return true;
}

QByteArray BinaryPropertyList::write(const PlistValue &root)
{
    BinaryPlistBuilder builder;
    const BinaryPlistBuilder::Ref top = builder.addValue(root);
    return builder.finish(top);
}
