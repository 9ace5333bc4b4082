#!/usr/bin/env bash
# Builds Quorrel and starts it under Wine on a copy of the bundled demo plugin folder.
# With a usable display it runs there until you close it; without one it runs on a
# headless Xvfb display, saves a screenshot, prints its path and closes the program.
# Environment: QUORREL_BUILD_DIR (default ./build), QUORREL_LANGUAGE (e.g. -d for German).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUORREL_BUILD_DIR:-$root/build}
language=${QUORREL_LANGUAGE:--e}

bash "$root/scripts/setup-debian.sh"

cmake -S "$root" -B "$build/win" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" >/dev/null
cmake --build "$build/win" -j "$(nproc)" --target quorrel quorrel-driver

# A fresh copy of the demo folder each time, so the demo never changes the repository.
demo=$build/demo
rm -rf "$demo/searchplugins" "$demo/quorrel.exe" "$demo/settings.ini"
mkdir -p "$demo"
cp -r "$root/demo/searchplugins" "$demo/searchplugins"
cp "$build/win/shell/quorrel.exe" "$demo/quorrel.exe"
winpath() { echo "Z:$1" | sed 's|/|\\|g'; }
printf '[Software\\Quorrel]\r\nfolder=%s\r\n' "$(winpath "$demo/searchplugins")" >"$demo/settings.ini"

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  export WINEPREFIX=$demo/wineprefix
  bash "$root/scripts/wine-prefix.sh"
  echo "Starting Quorrel on $DISPLAY (close its window to end)."
  wine "$demo/quorrel.exe" "$language"
  exit 0
fi

# Headless: Xvfb with Wine's virtual desktop, then a screenshot.
export WINEPREFIX=$demo/wineprefix-headless DISPLAY=:98
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k >/dev/null 2>&1 || true; kill $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 200); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
bash "$root/scripts/wine-prefix.sh" demo
wineserver -p </dev/null >/dev/null 2>&1 || true
driver="$build/win/tests/e2e/quorrel-driver.exe"
wine "$demo/quorrel.exe" "$language" </dev/null >/dev/null 2>&1 &
app=$!
wine "$driver" wait-window "Quorrel 1.03" >/dev/null 2>&1 || true
sleep 2
shot=$build/quorrel-demo.png
import -window root "$shot"
wine "$driver" close >/dev/null 2>&1 || true
for _ in $(seq 100); do kill -0 $app 2>/dev/null || break; sleep 0.05; done
echo "Screenshot: $shot"
