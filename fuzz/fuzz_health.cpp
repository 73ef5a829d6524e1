// libFuzzer target: arbitrary bytes as an Apple Health export.xml; seed with
// tests/data/fuzz/health.

#include "exchange_fuzz_body.h"
#include "fuzz_target.h"

TENSILO_FUZZ_TARGET(fuzzing::healthOne)
