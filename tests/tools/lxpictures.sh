#!/usr/bin/env bash
# lxpictures on a virtual X server: probe's form in each of its languages, one picture each,
# named as the PO notes name them; bad usage and a missing display fail plainly.
# Usage: lxpictures.sh <lxpictures> <lxpld> <source folder>
set -uo pipefail
lxpictures=$1 lxpld=$2 source=$3
source "$(dirname "$0")/checks.sh"

"$lxpld" build "$source/app/probe.json" -o "$work/probe.pld" >/dev/null || fail "lxpld build"
mkdir "$work/pictures"
unset WAYLAND_DISPLAY
DISPLAY= "$lxpictures" "$work/probe.pld" "$source/app/forms/ProbeForm.lxfm" -d "$work/pictures" \
  >/dev/null 2>"$work/err"
[ $? = 1 ] && grep -qx 'lxpictures: no display (run it under xvfb-run)' "$work/err" ||
  fail "without a display: $(cat "$work/err")"
"$lxpictures" "$work/probe.pld" >/dev/null 2>"$work/err"
[ $? = 2 ] || fail "no forms is bad usage"
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96 -nolisten tcp" "$lxpictures" "$work/probe.pld" \
  "$source/app/forms/ProbeForm.lxfm" -d "$work/pictures" >"$work/out" 2>"$work/err" ||
  fail "lxpictures: $(cat "$work/err")"
expected="ProbeForm.ar_SA.png ProbeForm.de_DE.png ProbeForm.es_ES.png ProbeForm.fr_FR.png
ProbeForm.he_IL.png ProbeForm.ja_JP.png ProbeForm.native.png ProbeForm.ru_RU.png"
[ "$(cd "$work/pictures" && ls | tr '\n' ' ')" = "$(tr '\n' ' ' <<<"$expected")" ] ||
  fail "pictures: $(ls "$work/pictures")"
grep -q 'lxpictures: .*: 8 pictures, 0 forms failed' "$work/err" || fail "summary: $(cat "$work/err")"
for picture in "$work"/pictures/*.png; do
  # The form's 480 by 420 pixels and its menu bar, the bar's keys above, the drop-down menus'
  # legend below.
  size=$(identify -format '%w %h' "$picture") || fail "not a picture: $picture"
  read -r width height <<<"$size"
  [ "$width" = 480 ] && [ "$height" -gt 480 ] && [ "$height" -lt 600 ] ||
    fail "$picture is $size, not the window"
done
finish "lxpictures on probe's form"
