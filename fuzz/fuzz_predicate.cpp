// libFuzzer target: arbitrary text through the predicate parser, printer and evaluation. Build
// with clang-14 and -DTENSILO_FUZZ=ON; seed with tests/data/fuzz/predicate.

#include "predicate_fuzz_body.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzing::predicateOne(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
