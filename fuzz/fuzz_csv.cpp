// libFuzzer target: arbitrary bytes as a CSV file to import. Build with clang-14 and
// -DTENSILO_FUZZ=ON; seed with tests/data/fuzz/csv.

#include "Localization.h"
#include "Preferences.h"
#include "csv_fuzz_body.h"

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>
#include <ctime>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // Local times in a zone with clock changes, texts from the tables, no user preferences.
    qputenv("TZ", "Europe/Berlin");
    tzset();
    static QCoreApplication app(*argc, *argv);
    Localization::install(QLocale(QStringLiteral("en")));
    Preferences::useTemporaryStore();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzing::csvOne(QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
