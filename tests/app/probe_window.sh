#!/usr/bin/env bash
# probe's whole start-up, run on copies in temporary folders: the window's texts for each
# stored choice of language, the help file chosen for the language, the hand cursor in
# every case, and the scratch folder gone however the program ends.
set -euo pipefail
probe=$1 lxpld=$2 source=$3
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
"$lxpld" build "$source" -o "$root/probe.pld" >/dev/null
export LANG=C LC_ALL=
# The text rendering: no display, whatever the caller has.
unset DISPLAY WAYLAND_DISPLAY

fail() { echo "FAIL: $*" >&2; exit 1; }

# A fresh folder with probe and its dictionary and, if given, a settings file holding "$1".
setup() {
  dir=$(mktemp -d "$root/case.XXXXXX")
  cp "$probe" "$dir/probe"
  cp "$root/probe.pld" "$dir/probe.pld"
  if [ "$#" -gt 0 ]; then printf '[language]\n%b\n' "$1" >"$dir/probe.ini"; fi
}

# Runs probe in $dir; checks the window's caption, the hand cursor and the scratch folder.
expect_caption() {
  local caption=$1
  shift
  out=$("$dir/probe" "$@") || fail "probe $* ended with $?"
  grep -qxF "Window \"$caption\" (0,0 480x420)" <<<"$out" ||
    fail "expected \"$caption\" in $dir, got: $(head -1 <<<"$out")"
  grep -qxF "Hand cursor: MANO" <<<"$out" || fail "no hand cursor in $dir"
  [ ! -e "$dir/temp" ] || fail "scratch folder left in $dir: $(ls -A "$dir/temp")"
}

# Waits until probe, started with --wait in the background as $pid, shows its window.
wait_for_window() {
  for _ in $(seq 100); do
    grep -q "Hand cursor" "$dir/out" 2>/dev/null && return
    sleep 0.1
  done
  fail "probe did not come up in $dir"
}

english="Locale Probe"
german="Gebietsschema-Prüfer"
french="Sonde des paramètres régionaux"
russian="Проверка региональных параметров"
japanese="ロケール プローブ"
arabic="فاحص الإعدادات الإقليمية"
hebrew="בודק הגדרות אזוריות"

# The name wins over the id; matching ignores case; a name that matches nothing leaves the id.
setup 'activeName=German'
expect_caption "$german"
setup 'activeName=fReNcH\nactiveId=4'
expect_caption "$french"
setup 'activeName=Klingon\nactiveId=4'
expect_caption "$russian"
setup 'activeName=Native\nactiveId=0'
expect_caption "$english"
setup 'activeName=Native\nactiveId=0x5'
expect_caption "$japanese"
setup 'activeName=\nactiveId=7'
expect_caption "$hebrew"
setup 'activeName=Germ\nactiveId=0'
expect_caption "$english"
# -1 and -2 stand for the user's and the system's default language.
setup 'activeId=-1'
LANG=de_DE.UTF-8 expect_caption "$german"
setup 'activeId=-2'
LANG=ja_JP.UTF-8 expect_caption "$japanese"
# No settings file, no dictionary, a corrupt dictionary: English, the cursor all the same.
setup
expect_caption "$english"
setup 'activeName=German'
rm "$dir/probe.pld"
expect_caption "$english"
grep -qxF "Help file: (none)" <<<"$out" || fail "help file without dictionary"
setup 'activeName=German'
printf 'PLD\3not a dictionary' >"$dir/probe.pld"
expect_caption "$english"
# A dictionary damaged by one byte: the window comes up, translated or not, with no error
# and no control byte of the file on the terminal.
for offset in 92 154 $(seq 0 47 1200); do
  setup 'activeName=German'
  printf '\xff' | dd of="$dir/probe.pld" bs=1 seek="$offset" conv=notrunc status=none
  out=$("$dir/probe" 2>"$dir/err") || fail "damaged at $offset: probe ended with $?"
  [ ! -s "$dir/err" ] || fail "damaged at $offset: $(cat "$dir/err")"
  grep -q '^Window "' <<<"$out" || fail "damaged at $offset: no window"
  ! tr -d '\t\n' <<<"$out" | LC_ALL=C grep -q '[[:cntrl:]]' || fail "damaged at $offset: control bytes"
done
# Settings and dictionary files that are no regular files are passed over at once: a FIFO
# (which would wait for a writer), a device behind a link (which would never end).
setup 'activeName=German'
mkfifo "$dir/probe.ini.fifo" && mv "$dir/probe.ini.fifo" "$dir/probe.ini"
expect_caption "$english"
setup 'activeName=German'
ln -sf /dev/zero "$dir/probe.ini"
expect_caption "$english"
setup 'activeName=German'
rm "$dir/probe.pld" && mkfifo "$dir/probe.pld"
expect_caption "$english"
setup 'activeName=German'
rm "$dir/probe.pld" && ln -s /dev/zero "$dir/probe.pld"
expect_caption "$english"
# A window that cannot be written is a failure.
setup
status=0
"$dir/probe" >/dev/full 2>"$dir/err" || status=$?
[ "$status" -eq 1 ] || fail "probe > /dev/full: status $status"
grep -qxF "probe: standard output cannot be written" "$dir/err" || fail "/dev/full: $(cat "$dir/err")"
[ ! -e "$dir/temp" ] || fail "scratch folder left after /dev/full"
# A reader that goes away: SIGPIPE ends probe, the scratch folder goes all the same.
setup
status=$({ sleep 0.2; "$dir/probe"; echo $? >"$dir/status"; } | true; cat "$dir/status")
[ "$status" -eq 141 ] || fail "SIGPIPE: status $status"
[ ! -e "$dir/temp" ] || fail "scratch folder left after SIGPIPE"

grep -qF 'LanguageValue: TLabel (164,8 292x13)' <<<"$out" || fail "English window not in place"

# The command line overrides the settings file, by name or by position.
setup 'activeName=German'
expect_caption "$japanese" --language Japanese
setup 'activeName=German'
expect_caption "$arabic" --language 6
grep -qxF "Reading direction: right to left" <<<"$out" || fail "Arabic reads left to right"
# Right to left, every control is mirrored inside the window (480 - width - native left).
grep -qF 'LanguageValue: TLabel (24,8 292x13) "العربية"' <<<"$out" || fail "Arabic name"
grep -qF 'LanguageLabel: TLabel (322,8 150x13)' <<<"$out" || fail "Arabic label not mirrored"
grep -qF 'CloseButton: TButton (24,344 75x25)' <<<"$out" || fail "Arabic button not mirrored"
# A hot key of more than one byte is shown whole; the Japanese window lists every language in
# its own script.
grep -qF '"&ملف" hot key م' <<<"$out" || fail "Arabic hot key: $out"
setup 'activeName=German'
expect_caption "$japanese" --language Japanese
for name in '"Español"' '"العربية"' '"עברית"'; do
  grep -F 'LanguageList: TListBox' <<<"$out" | grep -qF "$name" || fail "Japanese list without $name"
done
setup
expect_caption "$english" --language 0
grep -qxF "Reading direction: left to right" <<<"$out" || fail "English reads right to left"
setup
out=$("$dir/probe" --list-languages)
grep -qxF "5  Japanese  日本語" <<<"$out" || fail "list of languages: $out"
setup
if "$dir/probe" --language 2>/dev/null; then fail "--language without a value"; fi
# The native language is English and can be chosen so; a language's own name chooses it too; a
# language the dictionary does not hold is an error that lists the choices.
grep -qE "^0  English  English(  \(active\))?$" <<<"$out" || fail "language 0 in the list: $out"
setup 'activeName=German'
expect_caption "$english" --language English
setup
expect_caption "$german" --language Deutsch
for unknown in Klingon 99 -3; do
  setup
  status=0
  err=$("$dir/probe" --language "$unknown" 2>&1 >/dev/null) || status=$?
  [ "$status" -eq 2 ] || fail "--language $unknown ended with $status"
  grep -qxF "probe: unknown language '$unknown'; the choices are:" <<<"$err" ||
    fail "--language $unknown: $err"
  grep -qxF "  1  German (Deutsch)" <<<"$err" || fail "--language $unknown lists no choices: $err"
done

# The German window: menu with hot keys, shortcuts and hints, system menu, list of languages.
setup 'activeName=German'
expect_caption "$german"
grep -qF '"&Beenden" hot key B  shortcut "Strg+Q"  hint "Programm beenden"' <<<"$out" ||
  fail "German menu: $out"
grep -qF 'System menu: "&Wiederherstellen" "&Verschieben"' <<<"$out" || fail "system menu"
grep -qF 'items "English" "Deutsch"* "Français"' <<<"$out" || fail "language list"
# The Language menu between File and Help, the active language checked.
grep -qF '"&Sprache" hot key S' <<<"$out" || fail "no Language menu: $out"
grep -qxF '    "Deutsch"  checked' <<<"$out" || fail "German not checked: $out"
[ "$(grep -c '  checked$' <<<"$out")" -eq 1 ] || fail "more than one language checked"
# Each language in its own script, whatever the German window's code page can hold.
for name in Русский 日本語 العربية עברית; do
  grep -qxF "    \"$name\"" <<<"$out" || fail "$name not in the Language menu: $out"
done
# --headless writes the same text whatever display there is; a display that cannot be opened
# gets the text too, and a word why.
DISPLAY=:99 expect_caption "$german" --headless
DISPLAY=:9876 expect_caption "$german" 2>"$dir/err"
grep -qxF "probe: cannot open the display; the window follows as text" "$dir/err" ||
  fail "no word about the display: $(cat "$dir/err")"

# The help file of the language comes first, then the general one; .chm before .hlp.
setup 'activeName=German'
touch "$dir/probe.hlp" "$dir/probe_German.hlp" "$dir/probe_French.chm"
expect_caption "$german"
grep -qxF "Help file: $dir/probe_German.hlp" <<<"$out" || fail "German help: $out"
setup 'activeName=Spanish'
touch "$dir/probe.hlp" "$dir/probe.chm"
expect_caption "Sonda de configuración regional"
grep -qxF "Help file: $dir/probe.chm" <<<"$out" || fail "general help"

# A signal while the window is up: the scratch folder goes, the signal ends probe.
for signal in TERM INT HUP QUIT; do
  setup
  mkfifo "$dir/input"
  exec 3<>"$dir/input"
  "$dir/probe" --wait <"$dir/input" >"$dir/out" &
  pid=$!
  wait_for_window
  compgen -G "$dir/temp/probe-??????" >/dev/null || fail "no scratch folder while running"
  kill -"$signal" "$pid"
  status=0
  { wait "$pid"; } 2>/dev/null || status=$?
  exec 3>&-
  [ "$status" -eq $((128 + $(kill -l "$signal"))) ] || fail "SIG$signal: status $status"
  [ ! -e "$dir/temp" ] || fail "scratch folder left after SIG$signal"
done
# Closing the window (its standard input) ends probe normally.
setup
"$dir/probe" --wait </dev/null >/dev/null
[ ! -e "$dir/temp" ] || fail "scratch folder left after closing"
# Two instances have a folder each: the one that ends first leaves the other's alone. A
# folder that a killed instance left goes at the next start; what others made stays.
setup
mkfifo "$dir/input"
"$dir/probe" --wait <"$dir/input" >"$dir/out" &
pid=$!
exec 3>"$dir/input"
wait_for_window
killed=$(compgen -G "$dir/temp/probe-??????")
touch "$killed/file"
kill -KILL "$pid"
{ wait "$pid"; } 2>/dev/null || true
exec 3>&-
mkdir -p "$dir/temp/probe-keep" "$dir/temp/probe-Hand01"
rm "$dir/out"
exec 3<>"$dir/input"
"$dir/probe" --wait <"$dir/input" >"$dir/out" 3>&- &
pid=$!
wait_for_window
[ ! -e "$killed" ] || fail "a killed instance's folder was left"
first=$(compgen -G "$dir/temp/probe-??????" | grep -v Hand01)
touch "$first/in-use"
"$dir/probe" >/dev/null || fail "second instance"
[ -e "$first/in-use" ] || fail "the second instance took the first one's folder"
exec 3>&-
wait "$pid" || fail "first instance ended with $?"
[ "$(ls -A "$dir/temp" | tr '\n' ' ')" = "probe-Hand01 probe-keep " ] ||
  fail "left in temp: $(ls -A "$dir/temp")"

# Where it cannot make its folder beside itself (here a file stands in the way), it makes a
# private folder of its own in the runtime folder and removes it at exit, leaving a folder of
# the same name that someone else made alone.
setup
touch "$dir/temp"
mkdir -m 700 "$dir/run" "$dir/run/probe"
XDG_RUNTIME_DIR="$dir/run" "$dir/probe" >/dev/null || fail "probe with a private scratch folder"
[ "$(ls -A "$dir/run")" = probe ] || fail "private scratch folder left: $(ls -A "$dir/run")"

"$probe" --version | grep -qE '^probe \(Lx\) [0-9]+\.[0-9]+$' || fail "probe --version"

echo "probe: all cases passed"
