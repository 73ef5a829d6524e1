#pragma once

// The body of fuzz/fuzz_plist.cpp, shared with tests/tst_fuzzreplay.cpp, which replays every
// input that once made it fail.

#include "BinaryPropertyList.h"
#include "DocumentArchive.h"
#include "DocumentJson.h"
#include "KeyedUnarchiver.h"
#include "MyDocument.h"
#include "PropertyList.h"

#include <QByteArray>

#include <cstdio>
#include <cstdlib>

namespace fuzzing {

[[noreturn]] inline void failure(const char *what, const QString &detail = QString())
{
    std::fprintf(stderr, "fuzz invariant broken: %s %s\n", what, qPrintable(detail));
    std::abort();
}

// Bytes -> property list (binary or XML) -> keyed archive -> document. Whatever the bytes,
// nothing may crash; a property list that was read must survive writing and reading back
// unchanged, and so must a document that was read.
inline void plistOne(const QByteArray &bytes)
{
    PlistValue value;
    QString error;
    if (PropertyList::read(bytes, &value, &error)) {
        const QByteArray written = BinaryPropertyList::write(value);
        PlistValue again;
        if (!BinaryPropertyList::read(written, &again, &error))
            failure("a written property list cannot be read back");
        if (!(again == value))
            failure("a property list changed on its way through the writer");
    } else if (error.isEmpty()) {
        failure("a refused property list has no explanation");
    }

    KeyedUnarchiver unarchiver;
    DocumentArchive::registerClasses(unarchiver);
    if (unarchiver.open(bytes)) {
        const QVariant root = unarchiver.decodeTopLevelObject();
        if (unarchiver.hasError() && root.isValid())
            failure("a failed archive produced a value");
    }

    MyDocument document;
    const QByteArray before = DocumentJson::toJson(document);
    if (!document.readFromData(bytes, QString(), &error)) {
        if (error.isEmpty())
            failure("a refused document has no explanation");
        if (DocumentJson::toJson(document) != before)
            failure("a refused document changed the document");
        return;
    }
    const QByteArray written = document.dataOfType(QString(), &error);
    if (written.isEmpty())
        failure("a document that was read cannot be written:", error);
    MyDocument again;
    if (!again.readFromData(written, QString(), &error))
        failure("a written document cannot be read back:", error);
    if (DocumentJson::toJson(again) != DocumentJson::toJson(document))
        failure("a document changed on its way through a file");
}

} // namespace fuzzing
