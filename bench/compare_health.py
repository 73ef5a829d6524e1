#!/usr/bin/env python3
"""Apple Health import of a 200 MB export (10,000 blood-pressure correlations among 2,000,000 other
records): ours (bench_exchange) against Python's xml.etree.ElementTree.iterparse making the same
selection on the same file in the same run, and our peak memory.

Python's side streams the file with iterparse, clearing what it has seen, and keeps what the
import keeps: each blood-pressure correlation's start date and its systolic and diastolic values,
and the start dates and values of heart-rate and body-mass records outside correlations.

Usage: bench/compare_health.py [build-dir]   (a Release build with benchmarks, default build/release)
"""
import json
import os
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ET

build = sys.argv[1] if len(sys.argv) > 1 else "build/release"
bench = os.path.join(build, "bench_exchange")

PRESSURE = "HKCorrelationTypeIdentifierBloodPressure"
SYSTOLIC = "HKQuantityTypeIdentifierBloodPressureSystolic"
DIASTOLIC = "HKQuantityTypeIdentifierBloodPressureDiastolic"
SAMPLES = {"HKQuantityTypeIdentifierHeartRate", "HKQuantityTypeIdentifierBodyMass"}


def python_import(path):
    pressures, samples = [], []
    depth_in_correlation = False
    current = None
    root = None
    for event, element in ET.iterparse(path, events=("start", "end")):
        if root is None:
            root = element
        if event == "start":
            if element.tag == "Correlation" and element.get("type") == PRESSURE:
                depth_in_correlation = True
                current = [element.get("startDate"), None, None]
            continue
        if element.tag == "Record":
            kind = element.get("type")
            if depth_in_correlation:
                if kind == SYSTOLIC:
                    current[1] = float(element.get("value"))
                elif kind == DIASTOLIC:
                    current[2] = float(element.get("value"))
            elif kind in SAMPLES:
                samples.append((element.get("startDate"), float(element.get("value")),
                                element.get("unit")))
        elif element.tag == "Correlation":
            if depth_in_correlation:
                pressures.append(tuple(current))
            depth_in_correlation = False
        if not depth_in_correlation:
            root.clear()
    return pressures, samples


with tempfile.TemporaryDirectory() as tmp:
    path = os.path.join(tmp, "export.xml")
    env = dict(os.environ, TENSILO_HEALTH_EXPORT=path)
    out = subprocess.run([bench, "--benchmark_format=json"], env=env, check=True,
                         capture_output=True, text=True).stdout
    result = json.loads(out)["benchmarks"][0]
    ours = result["real_time"] / 1000.0
    started = time.perf_counter()
    pressures, samples = python_import(path)
    theirs = time.perf_counter() - started
    print(f"file: {result['file_mb']:.0f} MB, readings: {int(result['readings'])} "
          f"(Python: {len(pressures)} correlations, {len(samples)} samples)")
    print(f"ours: {ours:.2f} s, Python iterparse: {theirs:.2f} s, "
          f"ratio {theirs / ours:.1f}x (goal >= 3x)")
    print(f"peak memory: {result['peak_rss_mb']:.0f} MB (goal <= 64 MB)")
