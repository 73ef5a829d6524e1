// libFuzzer target: arbitrary bytes as the JSON form of a document, as scripts hand it to the
// tool. Seed with tests/data/fuzz/json and the JSON files in tests/data/documents.

#include "fuzz_target.h"
#include "json_fuzz_body.h"

TENSILO_FUZZ_TARGET(fuzzing::jsonOne)
