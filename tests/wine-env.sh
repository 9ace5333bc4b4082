#!/usr/bin/env bash
# Brings the headless Windows environment for the tests up or down:
# an Xvfb display, a persistent wineserver and a Wine prefix with a virtual desktop and the
# fonts the program's windows are drawn with (scripts/wine-prefix.sh).
# Expects WINEPREFIX and DISPLAY in the environment (CTest sets them), and XDG_DATA_HOME where
# the tests keep their trash.
set -u
: "${WINEPREFIX:?}" "${DISPLAY:?}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
pidfile="$WINEPREFIX.xvfb.pid"

display_up() { xdpyinfo >/dev/null 2>&1; }

up() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  # Every plugin the previous run deleted went to the tests' own trash; a run starts with none.
  [ -n "${XDG_DATA_HOME:-}" ] && rm -rf "$XDG_DATA_HOME/Trash"
  if ! display_up; then
    Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    echo $! >"$pidfile"
    for _ in $(seq 200); do display_up && break; sleep 0.05; done
    display_up || { echo "Xvfb did not start on $DISPLAY" >&2; exit 1; }
  fi
  bash "$(dirname "$0")/../scripts/wine-prefix.sh" tests || exit 1
  # A persistent server detached from every pipe, so CTest never waits for it, and Wine's
  # own services started here too: started by the first test, they would hold its pipes.
  wineserver -p </dev/null >/dev/null 2>&1 || true
  wineboot </dev/null >/dev/null 2>&1 || true
  exit 0
}

down() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -f "$pidfile" ]; then kill "$(cat "$pidfile")" 2>/dev/null || true; rm -f "$pidfile"; fi
  exit 0
}

case "${1:-}" in
  up) up ;;
  down) down ;;
  *) echo "usage: $0 up|down" >&2; exit 2 ;;
esac
