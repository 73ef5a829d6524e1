// libFuzzer target: arbitrary bytes as the JSON form of a document, as scripts hand it to the
// tool. Build with clang-14 and -DTENSILO_FUZZ=ON; seed with tests/data/fuzz/json and the JSON
// files in tests/data/documents.

#include "Localization.h"
#include "json_fuzz_body.h"

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    Localization::install(QLocale(QStringLiteral("en")));
    Date::setClock([] { return Date(732000000.0); }); // the same present for every input
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzing::jsonOne(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
