#!/usr/bin/env python3
"""Turns the benchmark results into one table, a ratio per row; exits 1 when a target is missed."""
import json
import statistics
import sys
from pathlib import Path

out = Path(sys.argv[1])
cores = sys.argv[2] if len(sys.argv) > 2 else "?"

runs = {}
counters = {}
for entry in json.loads((out / "bench.json").read_text())["benchmarks"]:
    if entry.get("run_type") != "iteration" or entry.get("error_occurred"):
        continue
    name = entry["run_name"].split("/iterations:")[0]
    scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[entry["time_unit"]]
    runs.setdefault(name, []).append(entry["real_time"] * scale)
    if "bytes_read_per_module" in entry:
        counters[name] = entry["bytes_read_per_module"]


def median(name):
    return statistics.median(runs[name])


def spread(name):
    values = runs[name]
    return (max(values) - min(values)) / 2


def show(seconds):
    if seconds >= 1:
        return f"{seconds:.2f} s"
    if seconds >= 1e-3:
        return f"{seconds * 1e3:.1f} ms"
    return f"{seconds * 1e6:.1f} us"


def timed(name):
    return f"{show(median(name))} ± {show(spread(name))}"


rows = []
missed = []


def row(what, ours, reference, ratio, target, ok):
    rows.append((what, ours, reference, f"{ratio:.2f}", target, "met" if ok else "MISSED"))
    if not ok:
        missed.append(what)


for size in (17, 100):
    ours, unzip, copy = (f"{name}/{size}" for name in ("BM_InstallPass", "BM_InstallUnzip", "BM_InstallCopy"))
    if ours not in runs:
        missed.append(f"install pass at {size} MB modules (not measured)")
        continue
    install = median(ours) / median(unzip)
    row(f"Install pass, {size} MB modules vs unzip -o -q", timed(ours), timed(unzip), install, "<= 0.5", install <= 0.5)
    row(f"Install pass, {size} MB modules vs cp -r (write limit)", timed(ours), timed(copy), median(ours) / median(copy),
        "(shown)", True)
    floor = f"BM_InflateOnly/{size}"
    row(f"Inflate and CRC-32 alone, {size} MB modules vs unzip -o -q", timed(floor), timed(unzip),
        median(floor) / median(unzip), "(shown)", True)

uninstall = median("BM_UninstallPass") / median("BM_UninstallRmRf")
row("Uninstall pass vs rm -rf", timed("BM_UninstallPass"), timed("BM_UninstallRmRf"), uninstall, "<= 1.0", uninstall <= 1.0)

small, mid, large = "BM_StatusRead/1", "BM_StatusRead/17", "BM_StatusRead/100"
flat = median(large) / median(small)
row("Status read x3, 100 MB vs 1 MB modules", timed(large), timed(small), flat, "<= 1.2", flat <= 1.2)
row("Status read x3, 17 MB vs 1 MB modules", timed(mid), timed(small), median(mid) / median(small), "(shown)", True)
most_bytes = max(counters.values()) if counters else 0
row("Bytes read per module (max over sizes)", f"{most_bytes:.0f} B", "65536 B", most_bytes / 65536, "<= 1.0", most_bytes <= 65536)

paint600, paint1200 = "BM_Paint/600", "BM_Paint/1200"
row("Paint 1200 x 1200 vs 600 x 600", timed(paint1200), timed(paint600), median(paint1200) / median(paint600), "(shown)", True)
row("Hover repaint of a tile vs full paint", timed("BM_PaintHoverTile"), timed(paint600),
    median("BM_PaintHoverTile") / median(paint600), "(shown)", True)
row("Status reads' share of a 600 paint", timed("BM_PaintStatusReads"), timed(paint600),
    median("BM_PaintStatusReads") / median(paint600), "(shown)", True)

memory = {}
for line in (out / "memory.txt").read_text().split("\n"):
    if line.strip():
        size, idle, peak, archive, entry = (int(v) for v in line.split())
        memory.setdefault(size, []).append((peak - idle, archive + entry + 16 * 2**20))
for size, passes in sorted(memory.items()):
    grown = statistics.median(g for g, _ in passes)
    budget = passes[0][1]
    row(f"Peak memory of an install pass above idle, {size} MB modules", f"{grown / 2**20:.1f} MiB",
        f"{budget / 2**20:.1f} MiB (archive + entry + 16)", grown / budget, "<= 1.0", grown <= budget)

startup = [float(v) for v in (out / "startup.txt").read_text().split()]
rows.append(("Start-up until the window is mapped", f"{statistics.median(startup) * 1e3:.0f} ms ± "
             f"{(max(startup) - min(startup)) * 500:.0f} ms", "", "", "(reported)", ""))

silent = [tuple(float(v) for v in line.split()) for line in (out / "silent.txt").read_text().splitlines() if line.strip()]
if silent:
    ours_runs, reference_runs = [s[0] for s in silent], [s[1] for s in silent]
    ours, reference = statistics.median(ours_runs), statistics.median(reference_runs)
    row("Unattended install process, start to exit, all formats vs unzip + sync",
        f"{show(ours)} ± {show((max(ours_runs) - min(ours_runs)) / 2)}",
        f"{show(reference)} ± {show((max(reference_runs) - min(reference_runs)) / 2)}", ours / reference, "<= 1.0",
        ours <= reference)

header = ("What", "Ours (median ± half range)", "Reference", "Ratio", "Target", "")
widths = [max(len(str(r[i])) for r in rows + [header]) for i in range(len(header))]
print(f"Machine: {cores} cores. Times are medians over interleaved repetitions.")
for r in [header, tuple("-" * w for w in widths)] + rows:
    print("| " + " | ".join(str(v).ljust(w) for v, w in zip(r, widths)) + " |")

if missed:
    print("Targets missed: " + ", ".join(missed))
    sys.exit(1)
