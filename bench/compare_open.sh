#!/usr/bin/env bash
# Opening the 100,000-reading document (bench_plist's) in a fresh process, as a user's first look
# at it costs: `tensilo-tool stats FILE` (read the file, build the document, compute the averages)
# and bench_plist --once open (read the file into a document, nothing else), against a fresh
# Python process parsing the same bytes with plistlib. Whole processes under /usr/bin/time: the
# best of several runs of wall time and of processor time (user + system, the steadier figure on
# a shared machine), and the peak resident memory against the file's size.
# Usage: bench/compare_open.sh [build-dir] [runs]   (a Release build with benchmarks)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
runs=${2:-5}
file=$(mktemp --suffix=.tensilo)
times=$(mktemp)
trap 'rm -f "$file" "$times"' EXIT
"$build/bench_plist" --write "$file"
size=$(stat -c %s "$file")
echo "document: 100000 readings, $size bytes"
python=$(command -v /usr/bin/python3 || command -v python3)

# Prints "wall cpu peakKB", each the best of the runs.
best() {
    for _ in $(seq "$runs"); do
        /usr/bin/time -f '%e %U %S %M' -o "$times" "$@" >/dev/null
        cat "$times"
    done | awk 'NR == 1 || $1 < w { w = $1 } NR == 1 || $2 + $3 < c { c = $2 + $3 }
                NR == 1 || $4 < m { m = $4 } END { print w, c, m }'
}

read -r pyWall pyCpu pyPeak < <(best "$python" -c '
import plistlib, sys
plistlib.loads(open(sys.argv[1], "rb").read())' "$file")
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", a / b }'; }
printf '%-26s %6.2f s wall %6.2f s cpu %7d KB peak (%sx the file)\n' "plistlib (whole process)" \
    "$pyWall" "$pyCpu" "$pyPeak" "$(ratio "$((pyPeak * 1024))" "$size")"
report() {
    local name=$1
    shift
    read -r wall cpu peak < <(best "$@")
    printf '%-26s %6.2f s wall %6.2f s cpu %7d KB peak (%sx the file); plistlib: %sx wall, %sx cpu\n' \
        "$name" "$wall" "$cpu" "$peak" "$(ratio "$((peak * 1024))" "$size")" \
        "$(ratio "$pyWall" "$wall")" "$(ratio "$pyCpu" "$cpu")"
}
report "tensilo-tool stats" "$build/tensilo-tool" stats "$file"
report "bench_plist --once open" "$build/bench_plist" --once open "$file"
