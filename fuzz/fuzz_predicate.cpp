// libFuzzer target: arbitrary text through the predicate parser, printer and evaluation; seed
// with tests/data/fuzz/predicate.

#include "fuzz_target.h"
#include "predicate_fuzz_body.h"

TENSILO_FUZZ_TARGET(fuzzing::predicateOne)
