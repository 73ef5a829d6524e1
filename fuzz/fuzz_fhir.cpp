// libFuzzer target: arbitrary bytes as a FHIR Bundle; seed with tests/data/fuzz/fhir.

#include "exchange_fuzz_body.h"
#include "fuzz_target.h"

TENSILO_FUZZ_TARGET(fuzzing::fhirOne)
