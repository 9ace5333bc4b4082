#!/usr/bin/env bash
# Makes the Wine prefix that WINEPREFIX names ready for Quorrel; the tests, the demo and the
# benchmarks all use it. Usage: wine-prefix.sh [desktop name]
#  - A new prefix is created with wineboot; a crashing program then prints its backtrace and
#    ends instead of waiting for a click, and with a desktop name every program runs on one
#    virtual desktop of 1024x768 (Wine draws captions and frames, the focus is deterministic).
#  - Every prefix, new or old, gets Tahoma and Marlett in its Fonts folder: this Wine does not
#    look into /usr/share/wine/fonts, where Debian's fonts-wine puts them, and without them
#    "Tahoma" falls back to the wider DejaVu Sans (captions look cut) and the caption buttons
#    show letters instead of their glyphs.
# Expects WINEPREFIX and DISPLAY; leaves no wineserver of its own running.
set -u
: "${WINEPREFIX:?}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
desktop=${1:-}
font_source=/usr/share/wine/fonts
fonts=(tahoma.ttf tahomabd.ttf marlett.ttf)

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  wineboot -i </dev/null >/dev/null 2>&1
  if [ -n "$desktop" ]; then
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d "$desktop" /f </dev/null >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v "$desktop" /d 1024x768 /f </dev/null >/dev/null 2>&1
  fi
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
  wineserver -w
fi

target=$WINEPREFIX/drive_c/windows/Fonts
mkdir -p "$target"
for font in "${fonts[@]}"; do
  [ -f "$target/$font" ] && continue
  if ! cp "$font_source/$font" "$target/$font"; then
    echo "wine-prefix.sh: cannot copy $font_source/$font (is fonts-wine installed?)" >&2
    exit 1
  fi
done
exit 0
