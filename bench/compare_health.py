#!/usr/bin/env python3
"""Apple Health import of a 200 MB export (10,000 blood-pressure correlations among 2,000,000 other
records, half of them heart rates): `tensilo-tool import` against Python's
xml.etree.ElementTree.iterparse making the same selection on the same file in the same run, each
timed as a whole process with its peak resident memory (os.wait4's rusage of that child alone).

Python's side streams the file with iterparse, clearing what it has seen, and does what the import
does: each blood-pressure correlation's start date and systolic and diastolic values, the start
dates and values of heart-rate and body-mass records outside correlations, the dates parsed with
their zone, and every heart rate or weight joined to the nearest reading within two minutes.

The export is generated once at /tmp/tensilo-health-export.xml (or the path given with --file) and
kept there for the next run; it is never committed.

Usage: bench/compare_health.py [--build build/release] [--file PATH] [--runs N]
"""
import argparse
import bisect
import datetime
import os
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ET

CORRELATIONS = 10_000
OTHER_RECORDS = 2_000_000
PRESSURE = "HKCorrelationTypeIdentifierBloodPressure"
SYSTOLIC = "HKQuantityTypeIdentifierBloodPressureSystolic"
DIASTOLIC = "HKQuantityTypeIdentifierBloodPressureDiastolic"
HEART_RATE = "HKQuantityTypeIdentifierHeartRate"
BODY_MASS = "HKQuantityTypeIdentifierBodyMass"
JOIN_SECONDS = 120


def generate(path):
    """The same export bench_exchange generates: 2,000,000 records, half heart rates, half step
    counts, three minutes apart, with a blood-pressure correlation after every 200th."""

    def stamp(minutes):
        day, in_day = divmod(minutes, 1440)
        return "%d-%02d-%02d %02d:%02d:00 +0100" % (
            2020 + day // 365, 1 + day % 365 // 31, 1 + day % 31 % 28, in_day // 60, in_day % 60)

    every = OTHER_RECORDS // CORRELATIONS
    with open(path + ".part", "w", encoding="utf-8") as out:
        out.write('<?xml version="1.0" encoding="UTF-8"?>\n<!DOCTYPE HealthData [\n'
                  "<!ELEMENT HealthData (ExportDate,Me,(Record|Correlation|Workout)*)>\n"
                  "<!ATTLIST HealthData locale CDATA #REQUIRED>\n]>\n"
                  '<HealthData locale="en_US">\n')
        chunk = []
        for i in range(OTHER_RECORDS):
            when = stamp(i * 3)
            if i % 2 == 0:
                chunk.append(' <Record type="HKQuantityTypeIdentifierHeartRate" sourceName="Watch" '
                             'unit="count/min" startDate="%s" value="%d"/>\n' % (when, 55 + i % 40))
            else:
                chunk.append(' <Record type="HKQuantityTypeIdentifierStepCount" sourceName="Phone" '
                             'unit="count" startDate="%s" value="%d"/>\n' % (when, i % 900))
            if i % every == every - 1:
                chunk.append(
                    ' <Correlation type="%s" sourceName="Health" startDate="%s">\n'
                    '  <Record type="%s" unit="mmHg" startDate="%s" value="%d"/>\n'
                    '  <Record type="%s" unit="mmHg" startDate="%s" value="%d"/>\n'
                    ' </Correlation>\n'
                    % (PRESSURE, when, SYSTOLIC, when, 110 + i % 50, DIASTOLIC, when, 70 + i % 20))
            if len(chunk) >= 10_000:
                out.write("".join(chunk))
                chunk.clear()
        out.write("".join(chunk))
        out.write("</HealthData>\n")
    os.replace(path + ".part", path)


def parse_date(text):
    """'2024-06-15 07:30:00 +0200' as seconds since 1970; None without a zone or when impossible."""
    if len(text) != 25 or text[19] != " " or text[20] not in "+-":
        return None
    try:
        zone = datetime.timedelta(hours=int(text[21:23]), minutes=int(text[23:25]))
        if text[20] == "-":
            zone = -zone
        when = datetime.datetime(int(text[0:4]), int(text[5:7]), int(text[8:10]),
                                 int(text[11:13]), int(text[14:16]), int(text[17:19]),
                                 tzinfo=datetime.timezone(zone))
    except ValueError:
        return None
    return when.timestamp()


def python_import(path):
    pressures, pulses, weights, other = [], [], [], {}
    in_correlation = False
    current = None
    root = None
    for event, element in ET.iterparse(path, events=("start", "end")):
        if root is None:
            root = element
        if event == "start":
            if element.tag == "Correlation" and element.get("type") == PRESSURE:
                in_correlation = True
                current = [element.get("startDate"), None, None]
            continue
        if element.tag == "Record":
            kind = element.get("type")
            if in_correlation:
                if kind == SYSTOLIC:
                    current[1] = float(element.get("value"))
                elif kind == DIASTOLIC:
                    current[2] = float(element.get("value"))
            elif kind == HEART_RATE or kind == BODY_MASS:
                when = parse_date(element.get("startDate", ""))
                value = float(element.get("value"))
                if kind == BODY_MASS and element.get("unit") == "lb":
                    value = round(value * 0.45359237, 3)
                if when is not None:
                    (pulses if kind == HEART_RATE else weights).append((when, value))
            elif kind not in (SYSTOLIC, DIASTOLIC):
                other[kind] = other.get(kind, 0) + 1
        elif element.tag == "Correlation":
            if in_correlation:
                when = parse_date(current[0] or "")
                if when is not None and current[1] is not None and current[2] is not None:
                    pressures.append([when, current[1], current[2], None, None])
            in_correlation = False
        if not in_correlation:
            root.clear()

    # Each sample joins the nearest reading within two minutes.
    pressures.sort(key=lambda p: p[0])
    times = [p[0] for p in pressures]
    for samples, slot in ((pulses, 3), (weights, 4)):
        for when, value in samples:
            i = bisect.bisect_left(times, when)
            best = None
            for j in (i - 1, i):
                if 0 <= j < len(times) and abs(times[j] - when) <= JOIN_SECONDS:
                    if best is None or abs(times[j] - when) < abs(times[best] - when):
                        best = j
            if best is not None:
                pressures[best][slot] = value
    return len(pressures)


def measure(command):
    """Runs the command as its own process: wall seconds, peak resident MB, its stdout+stderr,
    processor seconds (user and system)."""
    started = time.perf_counter()
    process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    output = process.stdout.read()
    _, status, usage = os.wait4(process.pid, 0)
    process.returncode = os.waitstatus_to_exitcode(status)
    elapsed = time.perf_counter() - started
    if process.returncode != 0:
        sys.exit("failed: %s\n%s" % (" ".join(command), output.decode(errors="replace")))
    return (elapsed, usage.ru_maxrss / 1024, output.decode(errors="replace"),
            usage.ru_utime + usage.ru_stime)


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "--python-import":
        print("readings: %d" % python_import(sys.argv[2]))
        return
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default="build/release")
    parser.add_argument("--file", default="/tmp/tensilo-health-export.xml")
    parser.add_argument("--runs", type=int, default=1)
    args = parser.parse_args()
    tool = os.path.join(args.build, "tensilo-tool")
    if not os.access(tool, os.X_OK):
        sys.exit("no %s: build the Release configuration first" % tool)
    if not os.path.exists(args.file):
        print("generating %s ..." % args.file, flush=True)
        generate(args.file)
    size = os.path.getsize(args.file) / (1 << 20)

    with tempfile.TemporaryDirectory() as tmp:
        ours, theirs = [], []
        for _ in range(args.runs):
            out = os.path.join(tmp, "imported.tensilo")
            ours.append(measure([tool, "import", args.file, out]))
            os.remove(out)
            theirs.append(measure([sys.executable, os.path.abspath(__file__), "--python-import",
                                   args.file]))
    best_ours = min(ours, key=lambda r: r[3])
    best_theirs = min(theirs, key=lambda r: r[3])
    print("file: %.0f MB, %d correlations among %d other records" %
          (size, CORRELATIONS, OTHER_RECORDS))
    print("tensilo-tool import: %.2f s (processor %.2f s), peak %.0f MB" %
          (best_ours[0], best_ours[3], best_ours[1]))
    print("  " + best_ours[2].strip().splitlines()[-1])
    print("Python iterparse:    %.2f s (processor %.2f s), peak %.0f MB, %s" %
          (best_theirs[0], best_theirs[3], best_theirs[1], best_theirs[2].strip()))
    # Processor time is the measure: on a busy machine the wall time also counts the waits.
    ratio = best_theirs[3] / best_ours[3]
    print("ratio %.1fx in processor time, %.1fx in wall time (goal >= 3x); "
          "our peak memory %.0f MB (goal <= 64 MB)" %
          (ratio, best_theirs[0] / best_ours[0], best_ours[1]))
    sys.exit(0 if ratio >= 3 and best_ours[1] <= 64 else 1)

if __name__ == "__main__":
    main()
