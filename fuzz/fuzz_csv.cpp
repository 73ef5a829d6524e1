// libFuzzer target: arbitrary bytes as a CSV file to import; seed with tests/data/fuzz/csv.

#include "csv_fuzz_body.h"
#include "fuzz_target.h"

TENSILO_FUZZ_TARGET(fuzzing::csvOne)
