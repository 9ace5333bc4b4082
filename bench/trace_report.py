#!/usr/bin/env python3
"""Splits the trace of quorrel-trace.exe under bench-driver into the steps of the start-up and the phases of
each command and prints them as Markdown tables: milliseconds from one mark to the next, from the driver's click to the driver seeing
the box (or the rebuilt list). The commands come in the order bench-driver gives them.

usage: trace_report.py TRACE_FILE...    (one file per plugin count, named trace-N.txt)
"""
import os
import re
import statistics
import sys

COMMANDS = ["Sort", "Orig. Filenames", "Disable all", "Enable all", "Convert all", "Delete key"]
# (phase, the mark that ends it); a phase whose mark is missing is merged into the next one.
PHASES = [
    ("click or key to the interface thread", "click seen by the interface thread|key seen by the interface thread"),
    ("interface thread to the program thread woken", "program thread woken"),
    ("woken to the command started", "command started"),
    ("the command's own click or key consumed", "command's events flushed"),
    ("file work", "list refresh begun|box asked"),
    ("list: folder listed and plugin files read", "list files read"),
    ("list: rows set", "list rows set"),
    ("list: row selected, buttons followed", "list refreshed"),
    ("to the box request", "box asked"),
    ("request to the box on the interface thread", "box opening on the interface thread"),
    ("box made and found by the driver", "driver saw the box|driver saw the list rebuilt"),
]


def marks(path):
    for line in open(path, encoding="ascii", errors="replace"):
        parts = line.rstrip("\n").split(" ", 3)
        if len(parts) == 4:
            yield int(parts[0]) * 1000.0 / int(parts[1]), parts[3]


def commands(path):
    """Lists, for each command, its marks' times in ms after the driver's click (first of each name)."""
    found, current = [], None
    for ms, what in marks(path):
        if what == "driver clicks":
            current = {"start": ms}
            found.append(current)
        elif current is not None and what not in current:
            current[what] = ms - current["start"]
    return found


def start_up(path):
    """The start-up's marks in order, each with the ms since the one before, from the driver's start of the
    program until it saw the window on screen."""
    out, begin, last = [], None, None
    for ms, what in marks(path):
        if what == "driver starts the program":
            begin = last = ms
        elif begin is not None:
            out.append((what, ms - last))
            last = ms
            if what == "driver saw the window on screen":
                break
    return out


def phases(command):
    """The phases' lengths in ms; each phase ends at the first of its marks that came after the last end."""
    out, last = {}, 0.0
    for name, ends in PHASES:
        times = [command[m] for m in ends.split("|") if command.get(m, -1) >= last]
        if not times:
            continue
        end = min(times)
        out[name] = end - last
        last = end
    out["total"] = last
    return out


def main():
    if len(sys.argv) < 2:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    for path in sys.argv[1:]:
        size = re.sub(r"\D", "", os.path.basename(path))
        steps = start_up(path)
        if steps:
            print(f"\nTrace of the start-up at {int(size):,} plugins, ms since the mark before:\n")
            print("| From the program's start by the driver until | ms |\n|---|---:|")
            for what, ms in steps:
                print(f"| {what} | {ms:.1f} |")
        rows = [phases(c) for c in commands(path)]
        print(f"\nTrace of one command at {int(size):,} plugins, ms from the click:\n")
        print("| Phase | " + " | ".join(COMMANDS[:len(rows)]) + " |")
        print("|---|" + "---:|" * len(rows))
        for name in [p for p, _ in PHASES] + ["total"]:
            print(f"| {name} | " + " | ".join(f"{r[name]:.1f}" if name in r else "" for r in rows) + " |")
    return 0


if __name__ == "__main__":
    sys.exit(main())
