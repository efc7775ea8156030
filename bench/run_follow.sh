#!/bin/bash
# The live loop's wait (`make bench-follow`), on the X server this script runs under: probe's
# window and the 1,000-control window, each following a dictionary that is replaced ROUNDS
# times by a rename, alternating between the dictionary and a copy whose German title differs.
#   run_follow.sh FOLLOW_BENCH LXPLD PROBE_JSON SCREEN_JSON OUT [ROUNDS]
set -euo pipefail
bench=$1 lxpld=$2 probe_json=$3 screen_json=$4 out=$5 rounds=${6:-21}
export GDK_BACKEND=x11 NO_AT_BRIDGE=1 GDK_SCALE=1 GDK_DPI_SCALE=1
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Builds A.pld from the source and B.pld from it with the German title $3 changed to $4.
dictionaries() {
  local name=$1 source=$2 title=$3
  mkdir "$work/$name"
  "$lxpld" build "$source" -o "$work/$name/A.pld" >/dev/null
  sed "s/\"$title\"/\"$title (2)\"/" "$source" >"$work/$name/b.json"
  "$lxpld" build "$work/$name/b.json" -o "$work/$name/B.pld" >/dev/null
}

dictionaries probe "$probe_json" "Gebietsschema-Prüfer"
dictionaries screen "$screen_json" "Bildschirmtest"
: >"$out"
for name in probe screen; do
  title=$([ "$name" = probe ] && echo "Gebietsschema-Prüfer" || echo "Bildschirmtest")
  (cd "$work/$name" && "$bench" "$name" "$work/$name/live.pld" A.pld B.pld "$title" \
    "$title (2)" "$rounds") >>"$out"
done
cat "$out"
