#pragma once

// The body of fuzz/fuzz_json.cpp, shared with tests/tst_fuzzreplay.cpp.

#include "DocumentJson.h"
#include "MyDocument.h"

#include <QByteArray>

#include <cstdio>
#include <cstdlib>

namespace fuzzing {

[[noreturn]] inline void jsonFailure(const char *what, const QString &detail = QString())
{
    std::fprintf(stderr, "fuzz invariant broken: %s %s\n", what, qPrintable(detail));
    std::abort();
}

// Bytes as the JSON a script hands the tool. Any JSON value written and read back is the same
// text. A refused document says why and leaves the document as it was; an accepted one writes
// to the same JSON text again, and survives the document file unchanged.
inline void jsonOne(const QByteArray &bytes)
{
    QString error;
    if (const std::optional<QVariant> value = DocumentJson::parseValue(bytes, &error)) {
        const QByteArray text = DocumentJson::formatValue(*value);
        const std::optional<QVariant> back = DocumentJson::parseValue(text, &error);
        if (!back || DocumentJson::formatValue(*back) != text)
            jsonFailure("a JSON value changed on its way through the writer:", error);
    } else if (error.isEmpty()) {
        jsonFailure("refused JSON has no explanation");
    }

    MyDocument document;
    const QByteArray before = DocumentJson::toJson(document);
    if (!DocumentJson::fromJson(bytes, &document, &error)) {
        if (error.isEmpty())
            jsonFailure("a refused document has no explanation");
        if (DocumentJson::toJson(document) != before)
            jsonFailure("a refused document changed the document");
        return;
    }
    const QByteArray json = DocumentJson::toJson(document);
    MyDocument again;
    if (!DocumentJson::fromJson(json, &again, &error) || DocumentJson::toJson(again) != json)
        jsonFailure("a document changed on its way through its JSON:", error);
    DocumentJson::statsJson(document);

    const QByteArray file = document.dataOfType(QString(), &error);
    if (file.isEmpty())
        jsonFailure("a document read from JSON cannot be written:", error);
    MyDocument reopened;
    if (!reopened.readFromData(file, QString(), &error))
        jsonFailure("a written document cannot be read back:", error);
    if (DocumentJson::toJson(reopened) != json)
        jsonFailure("a document read from JSON changed on its way through a file");
}

} // namespace fuzzing
