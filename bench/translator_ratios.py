#!/usr/bin/env python3
"""Prints the translator benchmark's figures from Google Benchmark's JSON output: the
time of each pass by form size, the growth from 1,000 to 10,000 controls (goal: at most
12), and the switch of the largest form against the dictionary's own switch plus the
plain loop that sets the same texts (goal: at most 1.5)."""
import json
import sys


def times(runs, aggregate):
    """Milliseconds by benchmark name and size, of the given aggregate (or plain runs)."""
    table = {}
    for run in runs:
        if run.get("run_type") == "aggregate" and run.get("aggregate_name") != aggregate:
            continue
        if run.get("run_type") != "aggregate" and any(r.get("run_type") == "aggregate"
                                                      for r in runs):
            continue
        name = run["run_name"].split("/")
        size = int(name[1]) if len(name) > 1 else 0
        scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[run["time_unit"]]
        table[(name[0], size)] = (run["real_time"] * scale, run.get("texts", 0))
    return table


def main(path, aggregate="median"):
    with open(path) as f:
        runs = json.load(f)["benchmarks"]
    table = times(runs, aggregate)
    kinds = ["BM_OpenTranslator", "BM_SwitchLanguage", "BM_SwitchRightToLeft", "BM_PlainLoop",
             "BM_PlainLoopHotkeysOnce"]
    sizes = sorted({size for (_, size) in table if size})
    print(f"{aggregate} times in ms")
    print(f"{'benchmark':<22}" + "".join(f"{size:>10}" for size in sizes) + f"{'growth':>10}"
          + f"{'texts':>10}")
    for kind in kinds:
        row = [table.get((kind, size), (float("nan"), 0)) for size in sizes]
        growth = row[-1][0] / row[-2][0] if len(row) > 1 else float("nan")
        print(f"{kind:<22}" + "".join(f"{t:>10.3f}" for t, _ in row) + f"{growth:>10.2f}"
              + f"{row[-1][1]:>10.0f}")
    dictionary = table.get(("BM_DictionarySwitch", 0), (float("nan"), 0))[0]
    print(f"{'BM_DictionarySwitch':<22}{dictionary:>10.3f}")
    largest = sizes[-1]
    plain = table.get(("BM_PlainLoop", largest), (float("nan"), 0))[0]
    once = table.get(("BM_PlainLoopHotkeysOnce", largest), (float("nan"), 0))[0]
    for kind in ("BM_SwitchLanguage", "BM_SwitchRightToLeft"):
        switch = table.get((kind, largest), (float("nan"), 0))[0]
        print(f"{kind}/{largest} / (dictionary switch + plain loop) = "
              f"{switch / (dictionary + plain):.2f}")
    # The plain loop pays for the menu's automatic hot keys after each caption; the pass
    # switches them off for its walk. Against a loop that does the same:
    switch = table.get(("BM_SwitchLanguage", largest), (float("nan"), 0))[0]
    print(f"BM_SwitchLanguage/{largest} / (dictionary switch + plain loop, hot keys once) = "
          f"{switch / (dictionary + once):.2f}")


if __name__ == "__main__":
    main(*sys.argv[1:])
