// libFuzzer target: arbitrary bytes through the property-list readers, the keyed unarchiver
// and the document reader; seed with tests/data.

#include "fuzz_target.h"
#include "plist_fuzz_body.h"

TENSILO_FUZZ_TARGET(fuzzing::plistOne)
