#pragma once

// The libFuzzer entry points of every target: TENSILO_FUZZ_TARGET(fuzzing::csvOne) hands each
// input to that body. Build with clang-14 and -DTENSILO_FUZZ=ON; the seeds are named in each
// target's file.

#include "Date.h"
#include "Localization.h"
#include "Preferences.h"

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>
#include <ctime>

namespace fuzzing {

// The same world for every input: local times in a zone with clock changes, texts (reasons,
// error messages) from the translation tables as in the application, no user preferences and
// one present.
inline void setUp(int *argc, char ***argv)
{
    qputenv("TZ", "Europe/Berlin");
    tzset();
    static QCoreApplication app(*argc, *argv);
    Localization::install(QLocale(QStringLiteral("en")));
    Preferences::useTemporaryStore();
    Date::setClock([] { return Date(732000000.0); });
}

inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
}

} // namespace fuzzing

#define TENSILO_FUZZ_TARGET(body)                                                                  \
    extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)                                   \
    {                                                                                              \
        fuzzing::setUp(argc, argv);                                                                \
        return 0;                                                                                  \
    }                                                                                              \
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)                        \
    {                                                                                              \
        body(fuzzing::bytesOf(data, size));                                                        \
        return 0;                                                                                  \
    }
