#!/usr/bin/env bash
# probe --edit on a virtual X server, driven with the keyboard: Ctrl+Shift+E opens the edit
# dialog of the window's title, a new translation saved with Return changes exactly that msgstr
# of de_DE.po (nothing else in the file) and the title at once; a second edit in a row does the
# same; an outside change of another entry is kept under the next edit; an outside change of
# the same entry while the dialog is open is not overwritten (the dialog stays, Escape cancels).
# Fails, with the reason, when no X server can be started.
set -euo pipefail

# shellcheck source=on_display.sh
source "$(dirname "$0")/on_display.sh"
restart_on_display "probe_edit.sh PROBE LXPLD LXPO PROBE_JSON" 4 "xdotool" "$@"

root=$2 probe=$3 lxpld=$4 lxpo=$5 source=$6
touch "$root/display-reached"
[ -n "${DISPLAY:-}" ] || fail "xvfb-run gave no DISPLAY"

dir=$root/probe
mkdir -p "$dir/po"
cp "$probe" "$dir/probe"
"$lxpld" build "$source" -o "$dir/probe.pld" >/dev/null
"$lxpo" export "$dir/probe.pld" -d "$dir/po" 2>/dev/null
printf '[language]\nactiveName=German\nactiveId=1\n' >"$dir/probe.ini"
po=$dir/po/de_DE.po
cp "$po" "$root/original.po"

german="Gebietsschema-Prüfer"
"$dir/probe" --edit >"$root/out" 2>"$root/err" &
pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name "^$german\$" | head -1) ||
  fail "no window titled '$german' (probe said: $(cat "$root/err"))"

# Opens the edit dialog with the chord; sets $dialog.
open_dialog() {
  xdotool windowfocus --sync "$window"
  xdotool key --clearmodifiers ctrl+shift+e
  dialog=$(timeout 10 xdotool search --sync --onlyvisible --name "^Edit the translation\$" |
    head -1) || fail "no edit dialog (probe said: $(cat "$root/err"))"
  xdotool windowfocus --sync "$dialog"
  sleep 0.3
}

# Types $1 over the translation and saves it with Return.
edit() {
  open_dialog
  xdotool key --clearmodifiers ctrl+a
  xdotool type --delay 30 "$1"
  xdotool key --clearmodifiers Return
}

# The lines that differ between the original PO file and the present one, as "<" and ">".
changes() {
  diff "$root/original.po" "$po" | grep '^[<>]' || true
}

expected_change() {
  printf '< msgstr "%s"\n> msgstr "%s"\n' "$german" "$1"
}

edit "Prüfer eins"
expect_title "Prüfer eins"
[ "$(changes)" = "$(expected_change "Prüfer eins")" ] || fail "the PO file changed so: $(changes)"

edit "Prüfer zwei"
expect_title "Prüfer zwei"
[ "$(changes)" = "$(expected_change "Prüfer zwei")" ] || fail "second edit: $(changes)"

# Another program changes another entry: the next edit keeps that change.
sed -i 's/^msgstr "\&Schließen"$/msgstr "\&Zumachen"/' "$po"
cp "$po" "$root/outside.po"
edit "Prüfer drei"
expect_title "Prüfer drei"
{ diff "$root/outside.po" "$po" || true; } | grep -q '^> msgstr "Prüfer drei"$' || fail "third edit lost"
grep -qx 'msgstr "&Zumachen"' "$po" || fail "the other program's change is lost"

# Another program changes this entry while the dialog is open: nothing is written over it.
open_dialog
sed -i 's/^msgstr "Prüfer drei"$/msgstr "Fremd"/' "$po"
cp "$po" "$root/foreign.po"
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 30 "Prüfer vier"
xdotool key --clearmodifiers Return
sleep 1
xdotool search --onlyvisible --name "^Edit the translation\$" >/dev/null ||
  fail "the dialog closed over another program's change"
cmp -s "$po" "$root/foreign.po" || fail "the PO file was written over another program's change"
xdotool key --clearmodifiers Escape
sleep 0.5
expect_title "Prüfer drei"
cmp -s "$po" "$root/foreign.po" || fail "Cancel changed the PO file"

xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+q
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "probe ended with $status: $(cat "$root/err")"
leftovers=$(ls -A "$dir/po" | grep -v '\.po$\|\.pot$\|\.json$' || true)
[ -z "$leftovers" ] || fail "left in the PO folder: $leftovers"
echo "probe --edit on screen: all steps passed"
