#!/usr/bin/env python3
"""usage: bench_report.py RESULTS_DIR MARKDOWN PNG

Reads the Google Benchmark JSON files in RESULTS_DIR (one per benchmark program), takes the
(ours, peer) pairs and the peers' descriptions from each run's context ("pair:<ours>|<peer>",
"peer:<peer>"), and writes one Markdown table and a bar chart of the ratios."""
import glob
import json
import os
import platform
import sys

TO_NS = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}


def times_of(benchmarks):
    """Real time per iteration in ns by name; the median when the run has repetitions."""
    times = {}
    for b in benchmarks:
        if b.get("error_occurred"):
            continue
        name = b.get("run_name", b["name"])
        kind = b.get("run_type", "iteration")
        if kind == "aggregate" and b.get("aggregate_name") != "median":
            continue
        if kind == "iteration" and name in times and times[name][1] == "aggregate":
            continue
        times[name] = (b["real_time"] * TO_NS[b.get("time_unit", "ns")], kind)
    return {name: t for name, (t, _) in times.items()}


def cpu_model():
    try:
        with open("/proc/cpuinfo") as f:
            return next((l.split(":", 1)[1].strip() for l in f if l.startswith("model name")), "")
    except OSError:
        return ""


def machine(context):
    model = cpu_model()
    try:
        with open("/proc/loadavg") as f:
            load = ", load average " + f.read().split()[0] + " when the report was written"
    except OSError:
        load = ""
    cpus = context.get("num_cpus", "?")
    mhz = context.get("mhz_per_cpu", "?")
    return f"{model or platform.processor()}, {cpus} CPUs at {mhz} MHz, {platform.system()} {platform.release()}{load}"


def format_time(ns):
    if ns >= 1e6:
        return f"{ns / 1e6:.2f} ms"
    if ns >= 1e3:
        return f"{ns / 1e3:.2f} µs"
    return f"{ns:.1f} ns"


def main():
    results, markdown, png = sys.argv[1:4]
    rows = []
    context = {}
    for path in sorted(glob.glob(os.path.join(results, "*.json"))):
        with open(path) as f:
            run = json.load(f)
        context = run["context"]
        times = times_of(run["benchmarks"])
        program = os.path.splitext(os.path.basename(path))[0]
        for key in context:
            if not key.startswith("pair:"):
                continue
            ours, peer = key[len("pair:"):].split("|", 1)
            if ours not in times or peer not in times or times[peer] <= 0:
                print(f"bench_report: {program}: no times for {ours} / {peer}", file=sys.stderr)
                continue
            rows.append({
                "program": program,
                "ours": ours,
                "peer": peer,
                "ours_ns": times[ours],
                "peer_ns": times[peer],
                "ratio": times[ours] / times[peer],
                "peer_name": context.get("peer:" + peer, "?"),
            })
    if not rows:
        sys.exit("bench_report: no benchmark pairs found")

    def label(name):
        return name[3:] if name.startswith("BM_") else name

    lines = [
        "# Benchmarks",
        "",
        "Each benchmark program runs one of our functions and the peer a caller would otherwise "
        "pick, in the same binary and run (`tools/bench.sh`, preset `bench`, optimised, "
        "host compiler). Times are real time per call, the median of five runs; the ratio is ours / "
        "the peer's, so below 1 "
        "means ours is faster.",
        "",
        f"Machine: {machine(context)}.",
        "",
        "![Ratios ours / peer](images/benchmarks.png)",
        "",
        "| function | our time | peer's time | ratio | peer | peer name and version | machine |",
        "|---|---:|---:|---:|---|---|---|",
    ]
    for r in rows:
        lines.append(f"| {label(r['ours'])} | {format_time(r['ours_ns'])} | {format_time(r['peer_ns'])} | "
                     f"{r['ratio']:.2f} | {label(r['peer'])} | {r['peer_name']} | {cpu_model() or '?'} |")
    os.makedirs(os.path.dirname(markdown) or ".", exist_ok=True)
    with open(markdown, "w") as f:
        f.write("\n".join(lines) + "\n")

    import matplotlib
    matplotlib.use("Agg")
    import matplotlib.pyplot as plt

    names = [f"{label(r['ours'])} / {label(r['peer'])}" for r in rows]
    ratios = [r["ratio"] for r in rows]
    colours = ["#2e7d32" if x <= 1 else "#c62828" for x in ratios]
    fig, ax = plt.subplots(figsize=(9, 0.42 * len(rows) + 1.4))
    y = range(len(rows))
    ax.barh(y, ratios, color=colours)
    ax.set_yticks(list(y), names)
    ax.invert_yaxis()
    ax.set_xscale("log")
    ax.axvline(1.0, color="black", linewidth=0.8)
    for i, x in enumerate(ratios):
        ax.text(x, i, f" {x:.2f}", va="center", fontsize=8)
    ax.set_xlabel("time ours / time peer (log scale; below 1: ours faster)")
    ax.set_title("TAMBRE32 beside its peers")
    ax.set_xlim(min(ratios + [1.0]) / 2, max(ratios + [1.0]) * 3)
    fig.tight_layout()
    os.makedirs(os.path.dirname(png) or ".", exist_ok=True)
    fig.savefig(png, dpi=110)
    print(f"bench_report: {len(rows)} pairs -> {markdown}, {png}")


if __name__ == "__main__":
    main()
