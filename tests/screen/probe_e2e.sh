#!/usr/bin/env bash
# probe on a virtual X server, driven as a user drives it: its window found by title, the
# language switched through the Language menu with the keyboard, the new title, the choice
# in the copy of probe.ini beside it, a screenshot that is not blank, the next start in the
# stored language, and the end by the Exit shortcut. Fails, with the reason, when no X server
# can be started: it never passes by skipping.
set -euo pipefail

# shellcheck source=on_display.sh
source "$(dirname "$0")/on_display.sh"
restart_on_display "probe_e2e.sh PROBE LXPLD PROBE_JSON" 3 "xdotool import convert" "$@"

root=$2 probe=$3 lxpld=$4 source=$5
touch "$root/display-reached"
[ -n "${DISPLAY:-}" ] || fail "xvfb-run gave no DISPLAY"

# A copy of probe with its dictionary and a settings file of the test's own, never the user's.
dir=$root/probe
mkdir "$dir"
cp "$probe" "$dir/probe"
"$lxpld" build "$source" -o "$dir/probe.pld" >/dev/null
printf '; the user'"'"'s own note\n[language]\nactiveName=Native\nactiveId=0\n[window]\nleft=10\n' \
  >"$dir/probe.ini"

english="Locale Probe"
german="Gebietsschema-Prüfer"
arabic="فاحص الإعدادات الإقليمية"
pid=

# Starts probe and waits for its window, titled $1; sets $pid and $window.
start() {
  "$dir/probe" >"$root/out" 2>"$root/err" &
  pid=$!
  window=$(timeout 30 xdotool search --sync --onlyvisible --name "^$1\$" | head -1) ||
    fail "no window titled '$1' (probe said: $(cat "$root/err"))"
  [ -n "$window" ] || fail "no window titled '$1'"
  xdotool windowfocus --sync "$window"
}

# Sends keys one by one, each after the menu has had time to open.
keys() {
  for key in "$@"; do
    xdotool key --clearmodifiers "$key"
    sleep 0.3
  done
}

start "$english"
expect_title "$english"

# Alt+L opens the Language menu on English, the first item; Down and Return choose German.
keys alt+l Down Return
expect_title "$german"
grep -qxF 'activeName=German' "$dir/probe.ini" || fail "German not stored: $(cat "$dir/probe.ini")"
grep -qxF 'activeId=1' "$dir/probe.ini" || fail "German's position not stored"
grep -qxF "; the user's own note" "$dir/probe.ini" || fail "the note in probe.ini is lost"
grep -qxF 'left=10' "$dir/probe.ini" || fail "another section of probe.ini is lost"
leftovers=$(ls -A "$dir" | grep -vxE 'probe|probe.pld|probe.ini|temp' || true)
[ -z "$leftovers" ] || fail "left beside probe.ini: $leftovers"

# F10 opens the first menu (Datei); Right moves to Sprache; Arabic is the seventh language.
keys F10 Right Down Down Down Down Down Down Down Return
expect_title "$arabic"

import -window "$window" "png:$root/shot.png"
deviation=$(convert "$root/shot.png" -format '%[fx:standard_deviation]' info:)
awk -v d="$deviation" 'BEGIN { exit !(d > 0) }' || fail "the screenshot is blank"

# Ctrl+Q is Exit's shortcut: probe ends normally and takes its scratch folder with it.
keys ctrl+q
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "probe ended with $status after Exit: $(cat "$root/err")"
[ ! -e "$dir/temp/probe" ] || fail "scratch folder left after Exit"

# The next start comes up in the stored language; SIGTERM ends it.
start "$arabic"
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
[ "$status" -eq 143 ] || fail "probe ended with $status on SIGTERM"

echo "probe on screen: all steps passed"
