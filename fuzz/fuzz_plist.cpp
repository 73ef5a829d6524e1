// libFuzzer target: arbitrary bytes through the property-list readers, the keyed unarchiver
// and the document reader. Build with clang-14 and -DTENSILO_FUZZ=ON; seed with tests/data.

#include "Localization.h"
#include "plist_fuzz_body.h"

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // Error texts come from the translation tables, as in the application.
    static QCoreApplication app(*argc, *argv);
    Localization::install(QLocale(QStringLiteral("en")));
    Date::setClock([] { return Date(732000000.0); }); // the same present for every input
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzing::plistOne(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
