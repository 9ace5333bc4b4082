#!/usr/bin/env bash
# Mounts (up) or unmounts (down) the small tmpfs file system that the end-to-end tests fill to
# the last page, so that a write runs out of room exactly where a test wants it to.
# Usage: small-volume.sh up|down FOLDER. Mounting needs root; where it cannot be done, the reason
# goes to FOLDER.unavailable and the tests that need the volume fail with it.
set -u
action=${1:?up or down}
folder=${2:?folder}
reason="$folder.unavailable"

up() {
  rm -f "$reason"
  mkdir -p "$folder"
  mountpoint -q "$folder" && umount "$folder"
  if [ "$(id -u)" -ne 0 ]; then
    echo "mounting a tmpfs needs root" >"$reason"
  elif ! mount -t tmpfs -o size=64k,mode=0777 quorrel-small "$folder" 2>"$reason.err"; then
    echo "mount -t tmpfs failed: $(cat "$reason.err")" >"$reason"
  fi
  rm -f "$reason.err"
  exit 0
}

down() {
  mountpoint -q "$folder" && umount "$folder"
  exit 0
}

case "$action" in
  up) up ;;
  down) down ;;
  *) echo "usage: $0 up|down FOLDER" >&2; exit 2 ;;
esac
