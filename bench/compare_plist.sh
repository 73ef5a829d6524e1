#!/usr/bin/env bash
# One run of each side, under /usr/bin/time for peak memory: our writer and reader, libplist's
# parser and writer on the same bytes, and Python's plistlib loading them.
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
measure "$python" -c '
import plistlib, sys, time
data = open(sys.argv[1], "rb").read()
w, c = time.perf_counter(), time.process_time()
value = plistlib.loads(data)
print("plistlib-read: %.1f ms wall, %.1f ms cpu" % ((time.perf_counter() - w) * 1e3, (time.process_time() - c) * 1e3))
w, c = time.perf_counter(), time.process_time()
plistlib.dumps(value, fmt=plistlib.FMT_BINARY)
print("plistlib-write: %.1f ms wall, %.1f ms cpu" % ((time.perf_counter() - w) * 1e3, (time.process_time() - c) * 1e3))
' "$file"
