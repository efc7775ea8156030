#!/usr/bin/env bash
# Photographs probe's window in English, German, Japanese, Arabic and Hebrew on the X display
# in $DISPLAY (`make screenshots` runs it on a virtual one) as OUT/probe-<code>.png.
# probe runs from a folder of its own with its dictionary, so that no settings file changes;
# each picture is written to a temporary file beside its target and renamed into place whole.
set -euo pipefail
probe=$1 out=$2

fail() {
  echo "screenshots: $*" >&2
  exit 1
}

[ -n "${DISPLAY:-}" ] || fail "no X display (run it through xvfb-run, as make screenshots does)"
[ -f "$(dirname "$probe")/probe.pld" ] || fail "no probe.pld beside $probe"
mkdir -p "$out"
work=$(mktemp -d)
pid=
cleanup() {
  [ -z "$pid" ] || kill -TERM "$pid" 2>/dev/null || true
  rm -rf "$work"
  rm -f "$out"/.probe-*.png.*
}
trap cleanup EXIT
cp "$probe" "$(dirname "$probe")/probe.pld" "$work/"

for shot in en:Native de:German ja:Japanese ar:Arabic he:Hebrew; do
  code=${shot%%:*} language=${shot#*:}
  "$work/probe" --language "$language" >/dev/null &
  pid=$!
  window=$(timeout 30 xdotool search --sync --onlyvisible --pid "$pid" | head -1) ||
    fail "no window of probe --language $language"
  # The first frames may still be empty: wait for one with something on it.
  temporary=$(mktemp "$out/.probe-$code.png.XXXXXX")
  for _ in $(seq 20); do
    sleep 0.5
    import -window "$window" "png:$temporary"
    deviation=$(convert "$temporary" -format '%[fx:standard_deviation]' info:)
    awk -v d="$deviation" 'BEGIN { exit !(d > 0.05) }' && break
  done
  chmod 644 "$temporary"
  mv -f "$temporary" "$out/probe-$code.png"
  kill -TERM "$pid"
  wait "$pid" || true
  pid=
  echo "$out/probe-$code.png"
done
