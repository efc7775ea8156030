#!/bin/bash
# The live loop's wait (`make bench-follow`), on the X server this script runs under: probe's
# window and the 1,000-control window, each following a dictionary that is replaced ROUNDS
# times by a rename, alternating between the dictionary and a copy with changed German texts
# (probe: the title and one label; the large window: the title and its 1,000 labels).
#   run_follow.sh FOLLOW_BENCH LXPLD PROBE_JSON SCREEN_JSON OUT [ROUNDS]
set -euo pipefail
bench=$(realpath "$1") lxpld=$2 probe_json=$3 screen_json=$4 out=$5 rounds=${6:-21}
export GDK_BACKEND=x11 NO_AT_BRIDGE=1 GDK_SCALE=1 GDK_DPI_SCALE=1
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Window $1: A.pld from the source $2, B.pld with the sed expression $3 applied to it.
dictionaries() {
  mkdir "$work/$1"
  "$lxpld" build "$2" -o "$work/$1/A.pld" >/dev/null
  sed "$3" "$2" >"$work/$1/b.json"
  "$lxpld" build "$work/$1/b.json" -o "$work/$1/B.pld" >/dev/null
}

dictionaries probe "$probe_json" 's/"Gebietsschema/"Gebietsschema (2)/g'
dictionaries screen "$screen_json" 's/"Bildschirmtest"/"Bildschirmtest (2)"/; s/"Beschriftung /"Beschriftung (2) /g'
: >"$out"
(cd "$work/probe" && "$bench" probe live.pld A.pld B.pld "Gebietsschema-Prüfer" \
  "Gebietsschema (2)-Prüfer" "$rounds") >>"$out"
(cd "$work/screen" && "$bench" screen live.pld A.pld B.pld "Bildschirmtest" \
  "Bildschirmtest (2)" "$rounds") >>"$out"
cat "$out"
