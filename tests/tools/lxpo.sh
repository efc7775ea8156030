#!/usr/bin/env bash
# lxpo as a process meets bad outputs and inputs: standard streams, devices, FIFOs, a file-size
# limit, unreadable and huge files, and control bytes in a form.
# Usage: lxpo.sh <lxpo>
set -uo pipefail
lxpo=$1
source "$(dirname "$0")/checks.sh"

# expect <status> <stderr wanted, exactly> <arguments...>
expect() {
  local status=$1 want=$2
  shift 2
  local got
  got=$("$lxpo" "$@" 2>&1 >/dev/null)
  local actual=$?
  if [[ $actual -ne $status || "$got" != "$want" ]]; then
    fail "lxpo $* gave [$got] (status $actual), wanted [$want] (status $status)"
  fi
}

cat > "$work/form.lxfm" <<'FORM'
object MainForm: TMainForm
  Caption = 'Main window'
end
FORM

# "-" is standard input and standard output; the summary then goes to standard error.
pot=$("$lxpo" extract --no-framework - -o - < "$work/form.lxfm" 2>"$work/err") || fail "extract - -o -"
grep -q '^msgid "Main window"$' <<<"$pot" || fail "extract to standard output gave [$pot]"
[[ $(cat "$work/err") == "lxpo: -: 1 texts" ]] || fail "the summary went [$(cat "$work/err")]"
"$lxpo" pseudo - -o - < <(echo "$pot") 2>/dev/null | grep -q '^msgstr "\[Måîñ' ||
  fail "pseudo - -o -"
got=$("$lxpo" pseudo - -o - < <(echo "$pot") 2>&1 >/dev/full)
[[ $? -eq 1 && "$got" == *$'\nlxpo: standard output cannot be written' ]] ||
  fail "a full standard output gave [$got]"

# A device is written to, never replaced (as root, /dev/null was).
"$lxpo" extract --no-framework "$work/form.lxfm" -o /dev/null >/dev/null || fail "-o /dev/null"
[[ -c /dev/null ]] || fail "/dev/null was replaced"
expect 1 "lxpo: /dev/full: cannot be written: No space left on device" \
  extract --no-framework "$work/form.lxfm" -o /dev/full

# Past a file-size limit: named, the old file whole, no temporary file left, exit 1.
{
  echo 'object Big: TBig'
  for i in $(seq 1 300); do echo "  object L$i: TLabel"; echo "    Caption = 'label text number $i'"; echo "  end"; done
  echo 'end'
} > "$work/big.lxfm"
echo old > "$work/lim.po"
got=$( (ulimit -f 4; "$lxpo" extract --no-framework "$work/big.lxfm" -o "$work/lim.po") 2>&1)
status=$?
[[ $status -eq 1 && "$got" == "lxpo: $work/lim.po: cannot be written: File too large" ]] ||
  fail "a write past the size limit gave [$got] (status $status)"
[[ $(cat "$work/lim.po") == old ]] || fail "a failed write damaged the old file"
[[ -z $(find "$work" -name '.lim.po.*') ]] || fail "a temporary file was left behind"

# Inputs: the system's reason, the size checked before reading, an unreadable table refused.
expect 1 "lxpo: $work/missing.lxfm: cannot be opened: No such file or directory" \
  extract "$work/missing.lxfm" -o "$work/x.pot"
truncate -s 3G "$work/huge.lxfm"
expect 1 "lxpo: $work/huge.lxfm: is larger than 67108864 bytes" extract "$work/huge.lxfm" -o "$work/x.pot"
expect 1 "lxpo: $work: is a folder" extract --strings "$work" "$work/form.lxfm" -o "$work/x.pot"
echo 'SHello 10 "Hello"' > "$work/t.strings"
chmod 000 "$work/t.strings"
chmod 777 "$work"
as_other=()
[[ $(id -u) -eq 0 ]] && as_other=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
got=$("${as_other[@]}" "$lxpo" extract --strings "$work/t.strings" "$work/form.lxfm" -o "$work/t.pot" 2>&1)
status=$?
[[ $status -eq 1 && "$got" == "lxpo: $work/t.strings: cannot be opened: Permission denied" ]] ||
  fail "an unreadable string table gave [$got] (status $status)"
[[ ! -e "$work/t.pot" ]] || fail "a template was written without the unreadable table"

# Control bytes of a form reach the terminal quoted.
printf 'TPF0\x05TForm\x05Form1\x0a\x1b]0;pwned\x07\x7f\x00\x00' > "$work/esc.bin"
expect 1 "lxpo: $work/esc.bin: Error reading Form1.?]0;pwned?: Unknown property value: 127" extract "$work/esc.bin" -o "$work/x.pot"

finish "lxpo"
