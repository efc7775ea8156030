#!/usr/bin/env bash
# probe --follow on a virtual X server: probe.pld replaced by a rename while the window shows
# German changes its texts in German at once and keeps what the user did (a chosen line of the
# list, text typed into the memo); a truncated probe.pld leaves the window as it was and is
# reported once on standard error; the next good file is taken. Fails, with the reason, when
# no X server can be started.
set -euo pipefail

# shellcheck source=on_display.sh
source "$(dirname "$0")/on_display.sh"
restart_on_display "probe_follow.sh PROBE LXPLD PROBE_JSON" 3 "xdotool import compare" "$@"

root=$2 probe=$3 lxpld=$4 source=$5
# Scroll bars that stay: overlay ones fade, and would differ between two pictures.
export GTK_OVERLAY_SCROLLING=0
# A caret that does not blink, for the same reason.
mkdir -p "$root/config/gtk-3.0"
printf '[Settings]\ngtk-cursor-blink=false\n' >"$root/config/gtk-3.0/settings.ini"
export XDG_CONFIG_HOME=$root/config
touch "$root/display-reached"
[ -n "${DISPLAY:-}" ] || fail "xvfb-run gave no DISPLAY"

dir=$root/probe
mkdir "$dir"
cp "$probe" "$dir/probe"
"$lxpld" build "$source" -o "$dir/probe.pld" >/dev/null
cp "$dir/probe.pld" "$root/good.pld"
printf '[language]\nactiveName=German\nactiveId=1\n' >"$dir/probe.ini"

german="Gebietsschema-Prüfer"
changed="Gebietsschema-Prüfer (neu)"
# The same dictionary with the German title changed, built as a translator would build it.
sed "s/\"$german\"/\"$changed\"/" "$source" >"$root/changed.json"
"$lxpld" build "$root/changed.json" -o "$root/changed.pld" >/dev/null

"$dir/probe" --follow >"$root/out" 2>"$root/err" &
pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name "^$german\$" | head -1) ||
  fail "no window titled '$german' (probe said: $(cat "$root/err"))"
xdotool windowfocus --sync "$window"


# Replaces probe.pld as lxpld does: a whole file renamed over it.
replace() {
  cp "$1" "$dir/probe.pld.new"
  mv "$dir/probe.pld.new" "$dir/probe.pld"
}

# The window's list and memo (below the labels), as a picture.
shoot() {
  sleep 1
  import -window "$window" -crop "$CROP" +repage "png:$1"
}

# The user's state: the fourth language of the list chosen, and text typed into the memo.
eval "$(xdotool getwindowgeometry --shell "$window")"
menu=$((HEIGHT - 360))
[ "$menu" -ge 0 ] || menu=0
CROP="448x120+8+$((menu + 150))"
xdotool mousemove --window "$window" 40 $((menu + 150 + 3 * 16 + 6)) click 1
sleep 0.3
xdotool mousemove --window "$window" 300 $((menu + 200)) click 1
sleep 0.3
xdotool type --delay 50 "Eigene Notiz"
shoot "$root/before.png"

replace "$root/changed.pld"
expect_title "$changed"
shoot "$root/after.png"
compare -metric AE "$root/before.png" "$root/after.png" null: 2>"$root/diff" ||
  fail "the list or the memo changed with the dictionary: $(cat "$root/diff") pixels differ"

# A truncated file, twice: the window stays, one report.
head -c 2000 "$root/good.pld" >"$root/truncated.pld"
replace "$root/truncated.pld"
sleep 1
replace "$root/truncated.pld"
sleep 1
expect_title "$changed"
reports=$(grep -c 'probe.pld: .*; the window keeps its texts$' "$root/err" || true)
[ "$reports" -eq 1 ] || fail "$reports reports of the truncated file: $(cat "$root/err")"

# The next good file is taken.
replace "$root/good.pld"
expect_title "$german"
shoot "$root/again.png"
compare -metric AE "$root/before.png" "$root/again.png" null: 2>"$root/diff" ||
  fail "the list or the memo changed after the good file: $(cat "$root/diff") pixels differ"

xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+q
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "probe ended with $status: $(cat "$root/err")"
echo "probe --follow on screen: all steps passed"
