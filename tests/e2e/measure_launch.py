"""Launch time against the document's own work, measured from outside.

Run through run_e2e.sh, like the walk:
    tests/e2e/run_e2e.sh BUILD_DIR tests/e2e/measure_launch.py [READINGS] [RUNS]
Builds a document of READINGS readings (100,000 unless given) with `tensilo-tool build`, then in
the same run times
  - `tensilo-tool stats FILE`: reading the file and computing what the averages page shows, and
  - `tensilo FILE` from its start until the window's readings table is in the accessibility tree
    with every reading in it,
each RUNS times (3 unless given), and prints the medians and their ratio. The window may add at
most 50 % (a ratio of 1.5); the exit status says whether it did.
"""

import json
import os
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from atspi_driver import App, find, main, step, wait_for  # noqa: E402

BINARY = os.environ["TENSILO_BINARY"]
TOOL = os.environ["TENSILO_TOOL"]
WORK = os.environ["TENSILO_E2E_WORK"]
READINGS = int(sys.argv[1]) if len(sys.argv) > 1 else 100_000
RUNS = int(sys.argv[2]) if len(sys.argv) > 2 else 3
LIMIT = 1.5


def make_document(path, count):
    """A document of `count` readings, one every six hours, with some tags and comments."""
    start = 700_000_000.0
    readings = []
    for i in range(count):
        readings.append({
            "date": start + i * 21600.0,
            "systolic": 110 + (i * 7) % 60,
            "diastolic": 70 + (i * 5) % 30,
            "pulse": 55 + (i * 3) % 40,
            "weight": 70 + (i % 100) / 10,
            "custom1": None, "custom2": None, "custom3": None,
            "comments": "after a walk" if i % 17 == 0 else "",
            "tags": ["morning"] if i % 2 == 0 else ["evening", "sport"],
        })
    document = {"readings": readings}
    with tempfile.NamedTemporaryFile("w", suffix=".json", dir=WORK, delete=False) as f:
        json.dump(document, f)
        source = f.name
    with open(source) as f:
        subprocess.run([TOOL, "build", path], stdin=f, check=True, timeout=300)
    os.unlink(source)


def time_stats(path):
    begin = time.monotonic()
    subprocess.run([TOOL, "stats", path], check=True, stdout=subprocess.DEVNULL, timeout=300)
    return time.monotonic() - begin


def time_launch(path):
    begin = time.monotonic()
    app = App(BINARY, [path])
    try:
        app.wait_ready(timeout=120)
        window = app.window(os.path.splitext(os.path.basename(path))[0], timeout=120)
        table = find(window, role="table", name="Readings", timeout=120)
        wait_for(f"{READINGS} rows in the readings table",
                 lambda: table.queryTable().nRows == READINGS, timeout=120)
        return time.monotonic() - begin
    finally:
        app.stop()


def measure():
    path = os.path.join(WORK, "home", f"Readings {READINGS}.tensilo")
    with step(f"build a document of {READINGS} readings"):
        make_document(path, READINGS)
    stats, launches = [], []
    with step("time tensilo-tool stats and the launch of the window, alternately"):
        for _ in range(RUNS):
            stats.append(time_stats(path))
            launches.append(time_launch(path))
    tool = statistics.median(stats)
    window = statistics.median(launches)
    ratio = window / tool
    print(f"readings: {READINGS}")
    print(f"tensilo-tool stats: median {tool:.3f} s of {[round(s, 3) for s in stats]}")
    print(f"launch until the table is in the tree: median {window:.3f} s of "
          f"{[round(s, 3) for s in launches]}")
    print(f"ratio: {ratio:.2f} (limit {LIMIT})")
    if ratio > LIMIT:
        print(f"the window adds {100 * (ratio - 1):.0f} %, more than {100 * (LIMIT - 1):.0f} %",
              file=sys.stderr)
        sys.exit(1)


if __name__ == "__main__":
    main(measure)
