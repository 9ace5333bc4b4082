#!/usr/bin/env bash
# Brings the headless Windows environment for the tests up or down:
# an Xvfb display, a persistent wineserver and a Wine prefix with a virtual desktop and the
# fonts the program's windows are drawn with (scripts/wine-prefix.sh).
# It also brings up drive F: as a real FAT drive: a small FAT image mounted through FUSE
# (fusefat) for the files, with a loop device of the same image as the drive's device, from
# whose boot sector Wine reads the file-system name. This needs root, /dev/fuse, a free loop
# device, dosfstools and fusefat; when any is missing, the reason is written to the state file
# that the FAT tests read, so that they fail with it.
# Expects WINEPREFIX and DISPLAY in the environment (CTest sets them), and XDG_DATA_HOME where
# the tests keep their trash.
set -u
: "${WINEPREFIX:?}" "${DISPLAY:?}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
pidfile="$WINEPREFIX.xvfb.pid"

display_up() { xdpyinfo >/dev/null 2>&1; }

fat_dir="$WINEPREFIX.fat"                                # image, mount point, loop device name, log
fat_state="$WINEPREFIX/drive_c/quorrel-fat-drive.txt"   # "ready", or why the drive is missing

fat_missing() {
  [ "$(id -u)" -eq 0 ] || { echo "not running as root (mounting and loop devices need it)"; return; }
  [ -c /dev/fuse ] || { echo "no /dev/fuse"; return; }
  [ -e /dev/loop-control ] || { echo "no loop devices (/dev/loop-control is missing)"; return; }
  for tool in mkfs.vfat fusefat fusermount losetup; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed (run scripts/setup-debian.sh)"; return; }
  done
}

# Unmounts and detaches what an earlier run left, and removes the drive's links.
fat_down() {
  if [ -f "$fat_dir/loop" ]; then losetup -d "$(cat "$fat_dir/loop")" 2>/dev/null; rm -f "$fat_dir/loop"; fi
  fusermount -u -z "$fat_dir/mnt" 2>/dev/null
  rm -f "$WINEPREFIX/dosdevices/f:" "$WINEPREFIX/dosdevices/f::" "$fat_state"
}

# A FAT16 image of 16 MB with 2 KB clusters: small enough to fill in a moment, and every test
# folder fits in one cluster (fusefat loses long names of entries in a folder that spans
# clusters when files are deleted there). Must run before the wineserver starts: Wine's mount
# manager reads the drives' devices when it starts.
fat_up() {
  fat_down
  local reason loop
  reason=$(fat_missing)
  if [ -z "$reason" ]; then
    mkdir -p "$fat_dir/mnt" && rm -f "$fat_dir/fat.img" && truncate -s 16M "$fat_dir/fat.img" &&
      mkfs.vfat -F 16 -s 4 -n QFAT "$fat_dir/fat.img" >"$fat_dir/log" 2>&1 || reason="mkfs.vfat failed (see $fat_dir/log)"
  fi
  if [ -z "$reason" ]; then
    loop=$(losetup -f --show "$fat_dir/fat.img" 2>>"$fat_dir/log") && echo "$loop" >"$fat_dir/loop" ||
      reason="no free loop device (see $fat_dir/log)"
  fi
  if [ -z "$reason" ]; then
    # Detached from every pipe, like the wineserver: CTest would wait for the FUSE daemon.
    fusefat -o rw+ "$fat_dir/fat.img" "$fat_dir/mnt" </dev/null >>"$fat_dir/log" 2>&1 &&
      mountpoint -q "$fat_dir/mnt" || reason="fusefat could not mount the image (see $fat_dir/log)"
  fi
  if [ -n "$reason" ]; then
    fat_down
    echo "$reason" >"$fat_state"
    echo "wine-env.sh: no FAT drive: $reason" >&2
    return
  fi
  ln -sfn "$fat_dir/mnt" "$WINEPREFIX/dosdevices/f:"
  ln -sfn "$loop" "$WINEPREFIX/dosdevices/f::"
  echo ready >"$fat_state"
}

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
  # A server left from an earlier run would not see the FAT drive.
  wineserver -k >/dev/null 2>&1 && wineserver -w
  fat_up
  # A persistent server detached from every pipe, so CTest never waits for it, and Wine's
  # own services started here too: started by the first test, they would hold its pipes.
  wineserver -p </dev/null >/dev/null 2>&1 || true
  wineboot </dev/null >/dev/null 2>&1 || true
  exit 0
}

down() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1
  fat_down
  if [ -f "$pidfile" ]; then kill "$(cat "$pidfile")" 2>/dev/null || true; rm -f "$pidfile"; fi
  exit 0
}

case "${1:-}" in
  up) up ;;
  down) down ;;
  *) echo "usage: $0 up|down" >&2; exit 2 ;;
esac
