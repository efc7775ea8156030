#!/usr/bin/env python3
"""Prints the lookup benchmark as a table: each engine's mean time per case and
key kind, Lx's ratio to gettext and to Qt, and whether each goal is met.

Usage: ratios.py [--real] RESULT.json...   (Google Benchmark JSON, one file per
case or one for all; cases are named <case>/<keys>/<engine>).

Times are the means of the process's CPU time per iteration: on a machine shared
with other work, wall-clock time mostly measures waiting for a processor.
--real uses wall-clock time instead."""
import json
import math
import sys
from collections import defaultdict

# The most Lx may take, as a share of each peer's figure.
GOALS = {
    "Hit": {"Qt": 0.6, "gettext": 0.3},
    "Miss": {"Qt": 0.8, "gettext": 0.8},
    "HotSet": {"Qt": 0.6},
    "OpenPass": {"Qt": 0.8},
    "SwitchPass": {"Qt": 0.7},
    "Memory": {"Qt": 1.0},
}
ORDER = ["Hit", "Miss", "MissAfterPass", "HotSet", "OpenPass", "SwitchPass", "Memory"]
PEERS = ["gettext", "Qt"]


def load(paths, clock):
    """{(case, keys): {engine: (value, unit)}}; memory as heap + file pages."""
    rows = defaultdict(dict)
    memory = {}
    for path in paths:
        with open(path) as f:
            runs = json.load(f)["benchmarks"]
        for run in runs:
            if run.get("aggregate_name", "mean") != "mean" or run.get("error_occurred"):
                continue
            case, keys, engine = run["run_name"].split("/")[:3]
            if case == "Memory":
                heap, file = run.get("heap_kB", 0.0), run.get("file_kB", 0.0)
                memory[(keys, engine)] = (heap, file)
                rows[(case, keys)][engine] = ((heap + file) / 1024, "MB")
            else:
                rows[(case, keys)][engine] = (run[clock], run["time_unit"])
    return rows, memory


def verdict(case, peer, ratio):
    limit = GOALS.get(case, {}).get(peer)
    if limit is None or math.isnan(ratio):
        return ""
    return f"{'met' if ratio <= limit else 'MISSED'} (<= {limit})"


def main(arguments):
    clock = "cpu_time"
    if arguments and arguments[0] == "--real":
        clock = "real_time"
        arguments = arguments[1:]
    rows, memory = load(arguments, clock)
    print(f"mean {clock.replace('_', ' ')} per iteration\n")
    engines = ["Lx"] + PEERS
    print((f"{'case':<14}{'keys':<9}" + "".join(f"{e:>13}" for e in engines)
           + "".join(f"{'Lx/' + p:>13}  {'goal':<16}" for p in PEERS)).rstrip())
    met = missed = 0
    for case in ORDER:
        for keys in ("context", "word"):
            row = rows.get((case, keys))
            if not row:
                continue
            line = f"{case:<14}{keys:<9}"
            for engine in engines:
                value, unit = row.get(engine, (math.nan, ""))
                line += f"{value:>10.2f} {unit:<2}"
            for peer in PEERS:
                ratio = math.nan
                if "Lx" in row and peer in row and row[peer][0] > 0:
                    ratio = row["Lx"][0] / row[peer][0]
                mark = verdict(case, peer, ratio)
                met += mark.startswith("met")
                missed += mark.startswith("MISSED")
                line += f"{ratio:>13.2f}  {mark:<16}"
            print(line.rstrip())
    print()
    for (keys, engine), (heap, file) in sorted(memory.items()):
        print(f"memory {keys:<8}{engine:<9} heap {heap / 1024:7.2f} MB"
              f"  file pages {file / 1024:7.2f} MB")
    print(f"\ngoals met: {met}, missed: {missed}")


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    main(sys.argv[1:])
