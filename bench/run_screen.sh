#!/bin/bash
# Runs the two programs of the screen benchmark in fresh processes, interleaved (Lx, Qt, Lx,
# Qt, ...), ROUNDS times each, on the X server this script runs under (make bench-screen starts
# it under xvfb-run), and writes their JSON lines into OUT.
#   run_screen.sh LX_PROGRAM DICTIONARY.pld QT_PROGRAM QM_FOLDER OUT [ROUNDS]
set -euo pipefail
lx=$1 dictionary=$2 qt=$3 qm=$4 out=$5 rounds=${6:-7}
# The same toolkit settings for both: X11, no accessibility bus, no scaling.
export GDK_BACKEND=x11 QT_QPA_PLATFORM=xcb NO_AT_BRIDGE=1 GDK_SCALE=1 GDK_DPI_SCALE=1
export QT_ENABLE_HIGHDPI_SCALING=0 QT_SCALE_FACTOR=1 QT_ACCESSIBILITY=0
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
tmp=$(mktemp "$out.XXXXXX")
trap 'rm -f "$tmp"' EXIT
for ((i = 0; i < rounds; ++i)); do
  "$lx" "$dictionary" >>"$tmp"
  "$qt" "$qm" >>"$tmp"
done
mv "$tmp" "$out"
trap - EXIT
