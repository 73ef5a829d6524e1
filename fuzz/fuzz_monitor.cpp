// libFuzzer target: arbitrary bytes as a monitor's measurement record and as a session log.
// Build with clang-14 and -DTENSILO_FUZZ=ON; seed with tests/data/fuzz/monitor.

#include "Localization.h"
#include "monitor_fuzz_body.h"

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // Reasons come from the translation tables, as in the application.
    static QCoreApplication app(*argc, *argv);
    Localization::install(QLocale(QStringLiteral("en")));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzing::monitorOne(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
