#!/usr/bin/env bash
# probe on a virtual X server, driven as a user drives it: its window found by title, the
# language switched through the Language menu with the keyboard, the new title, the choice
# in the copy of probe.ini beside it, a screenshot that is not blank, the next start in the
# stored language, and the end by the Exit shortcut. Fails, with the reason, when no X server
# can be started: it never passes by skipping.
set -euo pipefail

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

if [ "${1:-}" != --on-display ]; then
  [ "$#" -eq 3 ] || fail "usage: probe_e2e.sh PROBE LXPLD PROBE_JSON"
  for tool in xvfb-run Xvfb xdotool import convert; do
    command -v "$tool" >/dev/null ||
      fail "$tool is missing (packages xvfb, xdotool, imagemagick; make test installs them)"
  done
  root=$(mktemp -d)
  trap 'rm -rf "$root"' EXIT
  unset WAYLAND_DISPLAY
  status=0
  xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96 -nolisten tcp" \
    "$0" --on-display "$root" "$@" || status=$?
  [ -e "$root/display-reached" ] ||
    fail "no X server could be started (xvfb-run ended with $status): the test cannot run"
  exit "$status"
fi

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

# Waits up to ten seconds for the window's title to become $1.
expect_title() {
  local title=
  for _ in $(seq 50); do
    title=$(xdotool getwindowname "$window")
    [ "$title" = "$1" ] && return 0
    sleep 0.2
  done
  fail "title '$title', expected '$1'"
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
