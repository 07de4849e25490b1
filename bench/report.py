#!/usr/bin/env python3
"""Turns QuorvelBench's JSON output into the ratio tables of BENCHMARKS.md.

    report.py RESULTS.json

With --benchmark_repetitions the median of each figure is used, otherwise the single run.
"""
import json
import sys
from collections import defaultdict

STREAMS = ["notes", "controllers", "mix"]
PLUGINS = ["scalomir", "brenlit", "valdrin", "kelvost", "marquil", "tavrune", "lunfeth",
           "gavorn", "pellix"]
SCALOMIR_SETTINGS = ["scalomir", "scalomir_one_note_0", "scalomir_one_note_+5",
                     "scalomir_one_note_+39", "scalomir_one_note_-39"]


def load(path):
    with open(path) as file:
        data = json.load(file)
    runs = defaultdict(list)
    medians = {}
    for run in data["benchmarks"]:
        name = run["run_name"].removesuffix("/manual_time")
        if run.get("run_type") == "aggregate":
            if run.get("aggregate_name") == "median":
                medians[name] = run
        else:
            runs[name].append(run)
    figures = {name: runs[name][0] for name in runs}
    figures.update(medians)
    return data["context"], figures


def row(cells):
    return "| " + " | ".join(cells) + " |"


def table(header, rows):
    lines = [row(header), row(["---"] + ["---:"] * (len(header) - 1))]
    lines += [row(cells) for cells in rows]
    return "\n".join(lines)


def events(figures):
    def ns(stream, name):
        return figures[f"events/{stream}/{name}"]["ns_per_event"]

    rows = [["forwarder (ns per event)"] + [f"{ns(s, 'forwarder'):.2f}" for s in STREAMS]]
    for name in PLUGINS:
        rows.append([name] + [f"{ns(s, name) / ns(s, 'forwarder'):.2f}" for s in STREAMS])
    print("Time per event as a ratio to the forwarder (goal: 1.5 or less)\n")
    print(table(["plug-in"] + STREAMS, rows))

    rows = []
    for name in SCALOMIR_SETTINGS:
        cells = [name]
        for s in STREAMS:
            figure = figures[f"events/{s}/{name}"]
            cells.append(f"{figure['ns_per_event'] / ns(s, 'forwarder'):.2f} "
                         f"({figure['sent_per_event']:.2f} sent)")
        rows.append(cells)
    print("\nScalomir's settings: ratio to the forwarder (events sent per event received)\n")
    print(table(["settings"] + STREAMS, rows))


def envelope(figures):
    blocks = ["32", "256", "4096"]
    entries = ["accumulating", "overwriting"]

    def frame(kind, entry, block):
        return figures[f"{kind}/{entry}/{block}"]["frame_in_adds"]

    rows = []
    for entry in entries:
        rows.append([f"gain loop, {entry} (float-add latencies per frame)"] +
                    [f"{frame('gain', entry, b):.3f}" for b in blocks])
        for phase in ["sustain", "silence"]:
            rows.append([f"{phase}, {entry}"] +
                        [f"{frame('envelope/' + entry, phase, b) / frame('gain', entry, b):.2f}"
                         for b in blocks])
    print("\nSorvane on a held level: time per frame as a ratio to the plain stereo gain loop "
          "(goal at 256: 1.5 or less)\n")
    print(table(["case", "32", "256", "4096"], rows))

    rows = []
    for entry in entries:
        for phase in ["attack", "decay", "release"]:
            cells = [f"{phase}, {entry}"]
            for b in blocks:
                figure = figures[f"envelope/{entry}/{phase}/{b}"]
                cells.append(f"{figure['frame_in_adds']:.2f} ({figure['tsc_per_frame']:.2f} / "
                             f"{figure['tsc_per_add']:.2f})")
            rows.append(cells)
    print("\nSorvane on ramps: time per frame in float-add latencies "
          "(reference cycles per frame / per add; the floor is 1.00)\n")
    print(table(["case", "32", "256", "4096"], rows))

    rows = []
    for entry in entries:
        rows.append([f"gain loop, {entry}"] +
                    [f"{figures[f'gain/{entry}/{b}']['items_per_second'] / 1e6:.0f}"
                     for b in blocks])
        for phase in ["sustain", "silence", "attack", "decay", "release"]:
            rows.append([f"{phase}, {entry}"] +
                        [f"{figures[f'envelope/{entry}/{phase}/{b}']['items_per_second'] / 1e6:.0f}"
                         for b in blocks])
    print("\nStereo frames per second, millions (mean over the run, so lowered by waits for "
          "the shared processor)\n")
    print(table(["case", "32", "256", "4096"], rows))

    adds = figures["float_add"]
    print(f"\nOne float add on its own: {adds['ns_per_add']:.3f} ns, "
          f"{adds['tsc_per_add']:.2f} reference cycles")


def instances(figures):
    base = figures["instances/forwarder"]
    rows = []
    for name in ["forwarder"] + PLUGINS + ["sorvane"]:
        figure = figures[f"instances/{name}"]
        rows.append([name, f"{figure['bytes_per_instance']:.0f}",
                     f"{figure['bytes_per_instance'] / base['bytes_per_instance']:.1f}",
                     f"{figure['ns_per_instance'] / 1000:.2f}",
                     f"{figure['ns_per_instance'] / base['ns_per_instance']:.1f}"])
    print("\n1000 live instances of each plug-in\n")
    print(table(["plug-in", "heap bytes each", "x forwarder", "µs to construct", "x forwarder"],
                rows))


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    context, figures = load(sys.argv[1])
    print(f"{context.get('host_name', '?')}, {context.get('num_cpus', '?')} processors, "
          f"{context.get('date', '')}\n")
    for section in (events, envelope, instances):
        try:
            section(figures)
        except KeyError as missing:
            print(f"\n({section.__name__}: no figure {missing})")


if __name__ == "__main__":
    main()
