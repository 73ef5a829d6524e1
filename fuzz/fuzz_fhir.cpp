// libFuzzer target: arbitrary bytes as a FHIR Bundle.
// Build with clang-14 and -DTENSILO_FUZZ=ON; seed with tests/data/fuzz/fhir.

#include "Localization.h"
#include "exchange_fuzz_body.h"

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
    fuzzing::fhirOne(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
