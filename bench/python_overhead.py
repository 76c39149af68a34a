"""Times through the filum package the calls bench_python_overhead times in C++, in one run,
and prints each Python time with its ratio to the C++ time.

Usage: python3 bench/python_overhead.py BUILD_DIR  (PYTHONPATH must reach BUILD_DIR/python)
"""

import json
import subprocess
import sys
import time

import numpy as np

import filum

LIMITS = {"polyline_1e6_nodes": 1.2, "blob_network": 1.1}


def polyline_1e6_nodes():
    points = np.c_[np.linspace(0, 1, 11), np.zeros(11)]
    return lambda: filum.mesh_polyline(points, 1e-6)


def blob_network():
    blobs, count = 200, 5000
    b = np.repeat(np.arange(blobs), count)
    t = 2 * np.pi * np.tile(np.arange(count), blobs) / count
    r = 1 + 0.2 * np.sin(3 * t + b)
    points = np.c_[3.0 * (b % 20) + r * np.cos(t), 3.0 * (b // 20) + r * np.sin(t)]
    ids = np.arange(blobs * count)
    edges = np.c_[ids, b * count + (ids % count + 1) % count]
    return lambda: filum.remesh(points, edges, 0.01, chordal_tol=-0.01)


def mean_seconds(call, repeats):
    """The mean time of a call after one warm-up run, as Google Benchmark reports it."""
    call()
    start = time.perf_counter()
    for _ in range(repeats):
        call()
    return (time.perf_counter() - start) / repeats


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build/bench"
    report = subprocess.run([f"{build}/bench/bench_python_overhead", "--benchmark_format=json"],
                            check=True, capture_output=True, text=True)
    cpp = {}
    for run in json.loads(report.stdout)["benchmarks"]:
        cpp[run["name"].split("/")[0]] = run["real_time"] / 1e3  # milliseconds to seconds
    failed = False
    print(f"{'call':<20} {'C++ ms':>10} {'Python ms':>10} {'ratio':>7} {'limit':>6}")
    for name, make in (("polyline_1e6_nodes", polyline_1e6_nodes), ("blob_network", blob_network)):
        seconds = mean_seconds(make(), 10 if name.startswith("polyline") else 3)
        ratio = seconds / cpp[name]
        failed |= ratio > LIMITS[name]
        print(f"{name:<20} {1e3 * cpp[name]:>10.1f} {1e3 * seconds:>10.1f} {ratio:>7.2f} "
              f"{LIMITS[name]:>6.1f}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
