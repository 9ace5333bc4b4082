#!/usr/bin/env bash
# Measures Quorrel under Wine against the floors (bench-floor: the same file work with bare Win32 calls)
# on plugin folders of 100, 1,000 and 5,000 plugins, and prints one table with the times and the ratios.
# Builds what it needs first: quorrel.exe with the project's cross build (as scripts/test.sh does), the
# two benchmark programs, a Wine prefix with a virtual desktop on its own headless X display.
#
# Environment (all optional):
#   BENCH_BUILD_DIR    build and scratch folder            (default /tmp/build-bench)
#   BENCH_DISPLAY      X display for Xvfb                   (default :70)
#   BENCH_SIZES        plugin counts                        (default "100 1000 5000")
#   BENCH_REPEATS      runs per size; the median is shown   (default 3)
#   BENCH_QUORREL_EXE  a quorrel.exe to measure instead of the one built here (an older build, to compare)
#   BENCH_IDLE_SECONDS idle time whose CPU use is measured  (default 30; measured in the first run of a size,
#                      with Quorrel in front and then behind another window)
# The table goes to stdout and to $BENCH_BUILD_DIR/results.md, every measured value to results.tsv.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BENCH_BUILD_DIR:-/tmp/build-bench}
display=${BENCH_DISPLAY:-:70}
sizes=${BENCH_SIZES:-100 1000 5000}
repeats=${BENCH_REPEATS:-3}
idle=${BENCH_IDLE_SECONDS:-30}
scratch=$build/scratch

bash "$root/scripts/setup-debian.sh"

echo "== Building quorrel.exe and the benchmark programs in $build"
cmake -S "$root" -B "$build/win" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" -DQUORREL_TEST_DISPLAY="$display" >/dev/null
if grep -q 'add_subdirectory(bench)' "$root/CMakeLists.txt"; then
  cmake --build "$build/win" -j2 --target quorrel quorrel-trace bench-floor bench-driver >/dev/null
  bin=$build/win/bench
else
  cmake --build "$build/win" -j2 --target quorrel >/dev/null
  cmake -S "$root/bench" -B "$build/bench" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" >/dev/null
  cmake --build "$build/bench" -j2 >/dev/null
  bin=$build/bench
fi
quorrel=${BENCH_QUORREL_EXE:-$build/win/shell/quorrel.exe}

echo "== Wine on $display"
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=$display
xvfb_pid=
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT
if ! xdpyinfo >/dev/null 2>&1; then
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 200); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
fi
bash "$root/scripts/wine-prefix.sh" bench
# A persistent server detached from our pipes; its CPU time counts for the idle measurement.
wineserver -p </dev/null >/dev/null 2>&1 || true
wineboot </dev/null >/dev/null 2>&1 || true
for pid in $(pgrep -x wineserver64 || pgrep -x wineserver || true); do
  if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
    export BENCH_WINESERVER_PID=$pid
  fi
done
echo "wineserver pid ${BENCH_WINESERVER_PID:-unknown}"

rm -rf "$scratch"
mkdir -p "$scratch"
results=$build/results.tsv
: >"$results"

# Appends the "key value" lines of a measuring program, tagged with size and run, to results.tsv.
record() {  # size run < lines
  while read -r key value; do
    [ "$key" = "#" ] && { echo "   # $value"; continue; }
    printf '%s\t%s\t%s\t%s\n' "$1" "$2" "$key" "$value" >>"$results"
  done
}

for n in $sizes; do
  python3 "$root/bench/make_folder.py" "$scratch/source-$n" "$n"
  for run in $(seq "$repeats"); do
    echo "== $n plugins, run $run (load average $(cut -d' ' -f1-3 /proc/loadavg))"
    # Quorrel takes a folder as the plugin folder only when its path names searchplugins. Every program
    # that changes files gets a copy of its own: the floor loops, the converting floor, the window floor
    # and Quorrel.
    floor_dir=$scratch/$n-$run/floor/searchplugins
    convert_dir=$scratch/$n-$run/convert/searchplugins
    winfloor_dir=$scratch/$n-$run/winfloor/searchplugins
    app_dir=$scratch/$n-$run/app/searchplugins
    for dir in "$floor_dir" "$convert_dir" "$winfloor_dir" "$app_dir"; do
      mkdir -p "$(dirname "$dir")"
      cp -r "$scratch/source-$n" "$dir"
    done

    wine "$bin/bench-floor.exe" "$floor_dir" list listbox listbox-shown save restore disable enable disable-durable enable-durable convert </dev/null \
      | tr -d '\r' | record "$n" "$run"
    # The durable convert on untouched files (after the bare convert above there would be nothing to
    # convert), after the listing that gives it the plugins.
    wine "$bin/bench-floor.exe" "$convert_dir" list convert-durable </dev/null | tr -d '\r' | grep '^floor.convert-durable_' \
      | record "$n" "$run"
    # The box in a process of its own, so that the floor's peak memory stays that of the file work.
    wine "$bin/bench-floor.exe" "$floor_dir" box </dev/null | tr -d '\r' | grep '^floor.box_ms' | record "$n" "$run"

    seconds=0
    [ "$run" = 1 ] && seconds=$idle
    # The driver also times the floor process that lists the folder, started as it starts Quorrel, and
    # gives the window floor Quorrel's commands on its own copy.
    wine "$bin/bench-driver.exe" "$quorrel" "$scratch/$n-$run/work" "$app_dir" "$n" "$seconds" "$bin/bench-floor.exe" \
      "$winfloor_dir" </dev/null \
      | tr -d '\r' | record "$n" "$run"
    rm -rf "$scratch/$n-$run"
  done
done

# One more run of each size with the program's trace marks compiled in: the phases of each command.
if [ -f "$bin/quorrel-trace.exe" ]; then
  for n in $sizes; do
    echo "== Trace at $n plugins"
    app_dir=$scratch/trace-$n/app/searchplugins
    mkdir -p "$scratch/trace-$n/app"
    cp -r "$scratch/source-$n" "$app_dir"
    rm -f "$build/trace-$n.txt"
    QUORREL_TRACE_FILE=$(winepath -w "$build/trace-$n.txt") \
      wine "$bin/bench-driver.exe" "$bin/quorrel-trace.exe" "$scratch/trace-$n/work" "$app_dir" "$n" 0 </dev/null \
      >/dev/null
    rm -rf "$scratch/trace-$n"
  done
fi

echo "== Idle floor: a thread that sleeps 25 ms at a time for $idle s"
wine "$bin/bench-floor.exe" "$scratch" idle "$idle" </dev/null | tr -d '\r' | record all 1

{
  echo "Command: BENCH_SIZES=\"$sizes\" BENCH_REPEATS=$repeats BENCH_IDLE_SECONDS=$idle bash bench/run.sh"
  echo "Finished: $(date -u '+%Y-%m-%d %H:%M UTC'); $(nproc) cores ($(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs));" \
       "$(wine --version); load average at the end $(cut -d' ' -f1-3 /proc/loadavg)"
  if [ -n "${BENCH_QUORREL_EXE:-}" ]; then
    echo "quorrel.exe: $BENCH_QUORREL_EXE"
  else
    echo "quorrel.exe built from $(git -C "$root" rev-parse --short HEAD 2>/dev/null || echo '?')" \
         "$(git -C "$root" status --porcelain 2>/dev/null | grep -q . && echo 'with uncommitted changes')"
  fi
  echo
  python3 "$root/bench/report.py" "$results"
  if [ -f "$bin/quorrel-trace.exe" ]; then python3 "$root/bench/trace_report.py" "$build"/trace-*.txt; fi
} | tee "$build/results.md"
