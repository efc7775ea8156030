#!/usr/bin/env python3
"""Prints the lookup benchmark as a table of mean times per engine, with each
engine's ratio to gettext and to Qt, from Google Benchmark's JSON output."""
import json
import sys
from collections import defaultdict


def main(path):
    with open(path) as f:
        runs = json.load(f)["benchmarks"]
    times = defaultdict(dict)
    memory = {}
    for run in runs:
        if run.get("aggregate_name", "mean") != "mean":
            continue
        kind, engine = run["run_name"].split("/")[:2]
        if kind == "Memory":
            memory[engine] = run.get("resident_kB", 0.0)
            continue
        times[kind][engine] = (run["real_time"], run["time_unit"])
    engines = sorted({e for row in times.values() for e in row}, key=lambda e: (e != "Lx", e))
    header = f"{'benchmark':<12}" + "".join(f"{e:>14}" for e in engines)
    header += "".join(f"{e + '/' + base:>16}" for e in engines for base in ("gettext", "Qt")
                      if e != base and base in engines)
    print(header)
    for kind, row in times.items():
        line = f"{kind:<12}"
        for engine in engines:
            value, unit = row.get(engine, (float("nan"), ""))
            line += f"{value:>11.1f} {unit:<2}"
        for engine in engines:
            for base in ("gettext", "Qt"):
                if engine != base and base in engines:
                    line += f"{row[engine][0] / row[base][0]:>16.2f}"
        print(line)
    line = f"{'memory':<12}"
    for engine in engines:
        line += f"{memory.get(engine, float('nan')) / 1024:>11.1f} MB"
    print(line)


if __name__ == "__main__":
    main(sys.argv[1])
