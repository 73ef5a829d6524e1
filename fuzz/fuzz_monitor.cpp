// libFuzzer target: arbitrary bytes as a monitor's measurement record and as a session log;
// seed with tests/data/fuzz/monitor.

#include "fuzz_target.h"
#include "monitor_fuzz_body.h"

TENSILO_FUZZ_TARGET(fuzzing::monitorOne)
