#!/usr/bin/env bash
# Runs a command with a small file system mounted at the given folder, so
# that writes there really fall short; its Windows path is passed on in
# TOLVA_SMALL_DISK. Exits 77 (skipped) where no file system can be mounted.
set -u
folder=$1; shift
mkdir -p "$folder"
if ! mountpoint -q "$folder"; then
  if ! mount -t tmpfs -o size=6m tolva-small-disk "$folder" 2>/dev/null; then
    echo "with-small-disk: cannot mount a small file system here; skipped"
    exit 77
  fi
fi
status=0
TOLVA_SMALL_DISK="Z:${folder//\//\\}" "$@" || status=$?
umount "$folder" 2>/dev/null || true
exit $status
