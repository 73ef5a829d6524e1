#!/usr/bin/env python3
"""CSV export and import of 100,000 readings: ours (bench_csv) against Python's csv module doing
the same work on the same rows in the same run.

Python's side reads the file bench_csv writes with csv.reader and turns every row into a reading
(the instant from its ISO 8601 text, the numbers, the comment, the tags), and writes those
readings back as rows with csv.writer (local date and time, the instant with its offset,
numbers, tags joined by "; "), as the export does.

Usage: bench/compare_csv.py [build-dir]   (a Release build with benchmarks, default build/release)
"""
import csv
import datetime
import io
import json
import os
import subprocess
import sys
import tempfile
import time

os.environ.setdefault("TZ", "Europe/Berlin")
time.tzset()

build = sys.argv[1] if len(sys.argv) > 1 else "build/release"
bench = os.path.join(build, "bench_csv")


def number(text):
    if not text:
        return None
    return float(text) if ("." in text or "e" in text) else int(text)


def read_rows(data):
    text = data.decode("utf-8-sig")
    rows = csv.reader(io.StringIO(text, newline=""))
    header = next(rows)
    readings = []
    for row in rows:
        instant = datetime.datetime.fromisoformat(row[2])
        readings.append((instant.timestamp(), number(row[3]), number(row[4]), number(row[5]),
                         number(row[6]), number(row[7]), number(row[8]), number(row[9]),
                         row[10] or None, [t.strip() for t in row[11].split(";")] if row[11] else []))
    return header, readings


def text_of(value):
    if value is None:
        return ""
    if isinstance(value, float) and value.is_integer():
        return str(int(value))
    return repr(value) if isinstance(value, float) else str(value)


def write_rows(header, readings):
    out = io.StringIO(newline="")
    writer = csv.writer(out, lineterminator="\r\n")
    writer.writerow(header)
    for r in readings:
        local = datetime.datetime.fromtimestamp(r[0]).astimezone()
        instant = local.isoformat(timespec="milliseconds" if local.microsecond else "seconds")
        writer.writerow([local.strftime("%Y-%m-%d"), local.strftime("%H:%M:%S"), instant,
                         text_of(r[1]), text_of(r[2]), text_of(r[3]), text_of(r[4]),
                         text_of(r[5]), text_of(r[6]), text_of(r[7]), r[8] or "",
                         "; ".join(r[9])])
    return ("\ufeff" + out.getvalue()).encode("utf-8")


# CPU time on both sides: the machine may be shared with other work.
def best(function, runs=3):
    times = []
    result = None
    for _ in range(runs):
        start = time.process_time()
        result = function()
        times.append(time.process_time() - start)
    return min(times) * 1e3, result


with tempfile.NamedTemporaryFile(suffix=".csv") as file:
    subprocess.run([bench, "--write", file.name], check=True)
    data = open(file.name, "rb").read()
    ours = json.loads(subprocess.run(
        [bench, "--benchmark_format=json", "--benchmark_filter=CsvExport|CsvImport$",
         "--benchmark_repetitions=3", "--benchmark_report_aggregates_only=true"],
        check=True, capture_output=True, text=True).stdout)

our = {}
for b in ours["benchmarks"]:
    if b.get("aggregate_name") == "median":
        our[b["run_name"]] = b["cpu_time"]  # milliseconds

read_ms, (header, readings) = best(lambda: read_rows(data))
write_ms, written = best(lambda: write_rows(header, readings))
assert len(readings) == 100000, len(readings)
if written != data:
    print("note: Python's rows differ from ours in", sum(a != b for a, b in zip(written.splitlines(), data.splitlines())), "lines")

print("file: %d bytes, %d readings" % (len(data), len(readings)))
print("export: ours %.1f ms, Python csv %.1f ms, ratio %.1fx" % (our["CsvExport"], write_ms, write_ms / our["CsvExport"]))
print("import: ours %.1f ms, Python csv %.1f ms, ratio %.1fx" % (our["CsvImport"], read_ms, read_ms / our["CsvImport"]))
