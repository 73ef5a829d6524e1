#!/usr/bin/env bash
# One run of each side, under /usr/bin/time for peak memory: our writer and reader, libplist's
# parser and writer on the same bytes, and Python's plistlib loading and writing them; then the
# repeated runs, which leave out the cost of a fresh process touching its memory the first time.
# Usage: bench/compare_plist.sh [build-dir]   (a Release build with benchmarks, default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
bench=$build/bench_plist
file=$(mktemp --suffix=.tensilo)
trap 'rm -f "$file"' EXIT
"$bench" --write "$file"
echo "archive: $(stat -c %s "$file") bytes"
measure() { /usr/bin/time -f "    peak %M KB" "$@"; }
measure "$bench" --once build
measure "$bench" --once write
measure "$bench" --once parse "$file"
measure "$bench" --once decode "$file"
measure "$bench" --once read "$file"
measure "$bench" --once libplist-read "$file"
if [ "${SKIP_LIBPLIST_WRITE:-0}" != 1 ]; then
    measure "$bench" --once libplist-write "$file"
fi
python=$(command -v /usr/bin/python3 || command -v python3)
# plistlib's first run, as cold as ours above, then its best of three more in the same process.
measure "$python" -c '
import plistlib, sys, time
data = open(sys.argv[1], "rb").read()
def timed(f):
    c = time.process_time()
    result = f()
    return result, (time.process_time() - c) * 1e3
value, read = timed(lambda: plistlib.loads(data))
_, write = timed(lambda: plistlib.dumps(value, fmt=plistlib.FMT_BINARY))
print("plistlib first run: read %.1f ms cpu, write %.1f ms cpu" % (read, write))
reads, writes = [], []
for _ in range(3):
    del value
    value, read = timed(lambda: plistlib.loads(data))
    _, write = timed(lambda: plistlib.dumps(value, fmt=plistlib.FMT_BINARY))
    reads.append(read)
    writes.append(write)
print("plistlib best of 3: read %.1f ms cpu, write %.1f ms cpu" % (min(reads), min(writes)))
' "$file"
# Ours and libplist's parse repeated in one process, for the figures without first-touch costs.
"$bench" --benchmark_filter='Tensilo|LibplistParse'
