#!/usr/bin/env python3
"""Ratios of the screen benchmark: Lx's medians over Qt's, each goal met or missed.

  screen_ratios.py RESULTS.jsonl

RESULTS.jsonl holds one JSON line per process (bench/run_screen.sh). The right-to-left switch
is the switch there and back, per round. Memory is the process's resident size; below it, the
pixmaps the X server holds for the program (shown, not counted: those in shared memory are in
the resident size already).
"""

import json
import statistics
import sys

# case, how its samples are read from a line, unit, goal (Lx / Qt at most)
CASES = [
    ("FirstShow", lambda r: [r["first_show"]], "ms", 0.8),
    ("SwitchLtr", lambda r: r["ltr"], "ms", 0.5),
    ("SwitchRtl", lambda r: [a + b for a, b in zip(r["rtl"], r["back"])], "ms", 0.7),
    ("  to right-to-left", lambda r: r["rtl"], "ms", None),
    ("  back", lambda r: r["back"], "ms", None),
    ("Memory", lambda r: [r["rss_mb"]], "MB", 1.0),
    ("  pixmaps in X", lambda r: [r.get("pixmap_mb", 0)], "MB", None),
]


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: screen_ratios.py RESULTS.jsonl")
    runs = {"lx": [], "qt": []}
    with open(sys.argv[1], encoding="utf-8") as results:
        for line in results:
            if line.strip():
                record = json.loads(line)
                runs[record["program"]].append(record)
    if not runs["lx"] or not runs["qt"]:
        sys.exit("screen_ratios.py: the results lack one of the programs")
    print(f"medians of {len(runs['lx'])} Lx and {len(runs['qt'])} Qt processes\n")
    print(f"{'case':<20}{'Lx':>12}{'Qt':>12}{'Lx/Qt':>8}  goal")
    met = missed = 0
    for name, samples, unit, goal in CASES:
        lx = statistics.median(v for r in runs["lx"] for v in samples(r))
        qt = statistics.median(v for r in runs["qt"] for v in samples(r))
        ratio = lx / qt
        verdict = ""
        if goal is not None:
            ok = ratio <= goal
            met, missed = met + ok, missed + (not ok)
            verdict = f"{'met' if ok else 'missed'} (<= {goal})"
        print(f"{name:<20}{lx:>9.1f} {unit}{qt:>9.1f} {unit}{ratio:>8.2f}  {verdict}".rstrip())
    print(f"\ngoals met: {met}, missed: {missed}")


if __name__ == "__main__":
    main()
