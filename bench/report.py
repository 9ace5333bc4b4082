#!/usr/bin/env python3
"""Turns the results.tsv of bench/run.sh into a Markdown table: the median of the runs of every size,
Quorrel's time beside its floor's and the ratio of the two.

usage: report.py RESULTS_TSV
"""
import statistics
import sys
from collections import defaultdict

WINDOW_FLOOR_ROW = "  same, window floor doing the same command"

# (what, Quorrel's key, floor's key, note)
COMPARISONS = [
    ("Start-up to a filled list", "app.startup_rows_ms", "floor.list_ms",
     "process start until the list has N rows / bare listing in one process"),
    ("  same, floor with its process start", "app.startup_rows_ms", "floor.process_list_ms",
     "/ a whole floor process that lists (wine start to exit)"),
    ("  same, floor filling two list boxes", "app.startup_rows_ms", "floor.listbox_ms",
     "/ bare listing plus LB_ADDSTRING on one thread, window hidden"),
    ("  same, floor filling a list box on screen", "app.startup_rows_ms", "floor.listbox-shown_ms",
     "/ the same with the window shown: the list box draws as rows come in"),
    ("  same, window floor (Quorrel's window built plainly)", "app.startup_rows_ms", "floorwin.startup_rows_ms",
     "/ the window floor's process start until its list has N rows"),
    ("  same, until the window is on screen", "app.startup_shown_ms", "floorwin.startup_shown_ms",
     "/ the window floor's process start until its window is on screen"),
    ("Save, rename mode (Sort)", "app.save_ms", "floor.save_ms",
     "click until the message box / bare MoveFileA loop"),
    (WINDOW_FLOOR_ROW, "app.save_ms", "floorwin.save_ms",
     "/ the same loop, the lists refilled from the folder and the same box, on one thread"),
    ("Restore (Orig. Filenames)", "app.restore_ms", "floor.restore_ms",
     "click until the list is rebuilt / bare MoveFileA loop"),
    (WINDOW_FLOOR_ROW, "app.restore_ms", "floorwin.restore_ms",
     "/ the same loop and the lists refilled from the folder, on one thread"),
    ("Disable update, all", "app.disable_all_ms", "floor.disable_ms",
     "menu id 93 until the message box / bare read-modify-write loop"),
    (WINDOW_FLOOR_ROW, "app.disable_all_ms", "floorwin.disable_all_ms",
     "/ the loop with rewrites made safe and a message box, on one thread"),
    ("  Disable all against rewrites made safe", "app.disable_all_ms", "floor.disable-durable_ms",
     "/ the same loop writing a flushed backup and flushing each plugin"),
    ("Enable update, all", "app.enable_all_ms", "floor.enable_ms",
     "menu id 96 until the message box / bare read-modify-write loop"),
    (WINDOW_FLOOR_ROW, "app.enable_all_ms", "floorwin.enable_all_ms",
     "/ the loop with rewrites made safe and a message box, on one thread"),
    ("  Enable all against rewrites made safe", "app.enable_all_ms", "floor.enable-durable_ms",
     "/ the same loop writing a flushed backup and flushing each plugin"),
    ("Convert, all", "app.convert_all_ms", "floor.convert_ms",
     "menu id 99 until the message box / bare read-check-write loop"),
    (WINDOW_FLOOR_ROW, "app.convert_all_ms", "floorwin.convert_all_ms",
     "/ the loop with rewrites made safe and a message box, on one thread"),
    ("  Convert all against rewrites made safe", "app.convert_all_ms", "floor.convert-durable_ms",
     "/ the same loop writing a flushed backup and flushing each converted plugin"),
    ("Delete key until its question box", "app.key_delete_box_ms", "floor.box_ms",
     "key down on the list until the box (median of 3) / a second thread's MessageBoxA until found"),
    ("Peak memory (KiB)", "app.peak_rss_kib", "floor.peak_rss_kib",
     "VmHWM of quorrel.exe / of the floor process"),
    ("Peak memory against the window floor (KiB)", "app.peak_rss_kib", "floorwin.peak_rss_kib",
     "VmHWM of quorrel.exe / of the window floor, each at its end, after the same commands"),
    ("  same, once the list is shown (KiB)", "app.startup_peak_rss_kib", "floorwin.startup_peak_rss_kib",
     "VmHWM of each half a second after its start-up, before any command"),
]


def load(path):
    values = defaultdict(lambda: defaultdict(list))
    for line in open(path, encoding="utf-8"):
        parts = line.rstrip("\n").split("\t")
        if len(parts) != 4:
            continue
        size, _run, key, value = parts
        try:
            values[size][key].append(float(value))
        except ValueError:
            pass
    return values


def median(values, size, key):
    found = values.get(size, {}).get(key)
    if not found:
        return None
    if any(v < 0 for v in found):  # a command that did not answer in time
        return -1.0
    return statistics.median(found)


def spread(values, size, key):
    found = values.get(size, {}).get(key)
    return f"{number(min(found))}-{number(max(found))}" if found and len(found) > 1 else ""


def number(value):
    if value is None:
        return "n/a"
    if value < 0:
        return "no answer"
    return f"{value:,.0f}" if value >= 100 else f"{value:.1f}"


def count(value):
    return "n/a" if value is None else str(int(value))


def main():
    if len(sys.argv) != 2:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    values = load(sys.argv[1])
    sizes = sorted((s for s in values if s != "all"), key=int)
    runs = {s: len(values[s].get("app.startup_rows_ms", [])) for s in sizes}
    header = "| Measure | " + " | ".join(f"N={int(s):,} Quorrel | floor | ratio" for s in sizes) + " |"
    print(f"Times in ms (median of {', '.join(str(runs[s]) for s in sizes)} runs), memory in KiB.\n")
    print(header)
    print("|---|" + "---:|---:|---:|" * len(sizes))
    spreads = []
    for title, app_key, floor_key, _note in COMPARISONS:
        cells = []
        for s in sizes:
            app, floor = median(values, s, app_key), median(values, s, floor_key)
            ratio = "n/a"
            if app is not None and floor is not None and app >= 0 and floor > 0:
                ratio = f"{app / floor:,.1f}x"
            cells += [number(app), number(floor), ratio]
        print(f"| {title} | " + " | ".join(cells) + " |")
        spreads.append(f"| {title} | " + " | ".join(
            f"{spread(values, s, app_key)} | {spread(values, s, floor_key)}" for s in sizes) + " |")
    print("\nSpread (lowest-highest of the runs):\n")
    print("| Measure | " + " | ".join(f"N={int(s):,} Quorrel | floor" for s in sizes) + " |")
    print("|---|" + "---:|---:|" * len(sizes))
    print("\n".join(spreads))

    print("\nIdle for the measured seconds (first run of each size): CPU time in ms, user + system; the"
          " share of one core counts quorrel.exe and what the wineserver spent above its own idle floor.\n")
    print("| Measure | " + " | ".join(f"N={int(s):,}" for s in sizes) + " | floor (25 ms sleep loop) |")
    print("|---|" + "---:|" * (len(sizes) + 1))
    floor_server = median(values, "all", "floor.idle_wineserver_cpu_ms")
    print(f"| floor process, wineserver meanwhile | {' | '.join('' for _ in sizes)} | "
          f"{number(median(values, 'all', 'floor.idle_cpu_ms'))}, {number(floor_server)} |")
    phases = [("in front, pointer over the list", "app.idle"), ("in front, pointer away", "app.idle_away"),
              ("behind another window", "app.idle_behind")]
    phases += [(title.replace("the list", "its list"), key.replace("app.", "floorwin.", 1)) for title, key in phases]
    for title, key in phases:
        def cell(size):
            cpu = median(values, size, key + "_cpu_ms")
            server = median(values, size, key + "_wineserver_cpu_ms")
            wall = median(values, size, key + "_wall_ms")
            if cpu is None or server is None or not wall:
                return number(cpu)
            above = max(0.0, server - (floor_server or 0.0))
            return f"{number(cpu)} + {number(server)}: {100.0 * (cpu + above) / wall:.2f} %"
        program = "window floor" if key.startswith("floorwin.") else "quorrel.exe"
        print(f"| {title}: {program} + wineserver | " + " | ".join(cell(s) for s in sizes) + " | |")

    print("\nChecks (files on disk after each command, first run):\n")
    commands = [("prefixed files after Sort (2N expected)", "save_prefixed_files"),
                ("prefixed files after Orig. Filenames (0 expected)", "restore_prefixed_files"),
                ("files with #update= after Disable all (N expected)", "disable_all_files_disabled"),
                ("files with #update= after Enable all (0 expected)", "enable_all_files_disabled"),
                ("files with a bare LF first line before Convert all", "convert_all_unix_before"),
                ("files with a bare LF first line after Convert all (0 expected)", "convert_all_unix_after")]
    checks = [(title, "app." + key) for title, key in commands]
    checks.append(("files left after Delete answered No (2N expected)", "app.key_delete_files_left"))
    checks += [("window floor: " + title, "floorwin." + key) for title, key in commands]
    for title, key in checks:
        print(f"- {title}: " + ", ".join(f"N={int(s):,}: {count(values[s].get(key, [None])[0])}"
                                         for s in sizes))
    return 0


if __name__ == "__main__":
    sys.exit(main())
