#!/usr/bin/env bash
# Runs lxform on good and bad forms and checks its output, messages and exit codes.
# Usage: lxform.sh <lxform>
set -uo pipefail
lxform=$1
source "$(dirname "$0")/checks.sh"

# expect <status> <stderr wanted, exactly> <arguments...>
expect() {
  local status=$1 want=$2
  shift 2
  local got
  got=$("$lxform" "$@" 2>&1 >/dev/null)
  local actual=$?
  if [[ $actual -ne $status || "$got" != "$want" ]]; then
    fail "lxform $* gave [$got] (status $actual), wanted [$want] (status $status)"
  fi
}

cat > "$work/form.lxfm" <<'FORM'
object Form1: TForm1
  Caption = 'Grüße'#13#10
  Color = clBtnFace
  Lines.Strings = (
    'a'
    'b')
  object Button1: TButton [2]
    Data = {
      00FF}
  end
end
FORM

# Both ways, by signature, and back to the same text.
"$lxform" "$work/form.lxfm" -o "$work/form.bin" || fail "text to binary"
[[ $(head -c 4 "$work/form.bin") == TPF0 ]] || fail "the binary form has no signature"
"$lxform" "$work/form.bin" -o "$work/back.lxfm" || fail "binary to text"
cmp -s "$work/form.lxfm" "$work/back.lxfm" || fail "the text did not come back the same"
"$lxform" --to-text "$work/form.bin" -o "$work/back2.lxfm" || fail "--to-text"
cmp -s "$work/form.lxfm" "$work/back2.lxfm" || fail "--to-text gave another text"
"$lxform" --to-binary "$work/back.lxfm" -o "$work/form2.bin" || fail "--to-binary"
cmp -s "$work/form.bin" "$work/form2.bin" || fail "the binary did not come back the same"

# Help and usage.
"$lxform" --help | grep -q '^Usage: lxform' || fail "--help shows no usage"
"$lxform" --help >/dev/null || fail "--help does not succeed"
usage=$'\nTry \'lxform --help\'.'
expect 2 "lxform: no input file$usage"
expect 2 "lxform: no output file (-o OUT)$usage" "$work/form.lxfm"
expect 2 "lxform: -o needs a file name$usage" "$work/form.lxfm" -o
expect 2 "lxform: unknown option --fast$usage" --fast "$work/form.lxfm" -o "$work/x"
expect 2 "lxform: more than one input file$usage" a b -o c
expect 2 "lxform: --to-binary and --to-text exclude each other$usage" --to-binary --to-text a -o b

# Bad input: line and column for text, the reader's message for binary; no output written.
printf 'object Form1: TForm1\n  Caption = \x27open\nend\n' > "$work/bad.lxfm"
expect 1 "$work/bad.lxfm:2:18: error: Unterminated string" "$work/bad.lxfm" -o "$work/bad.bin"
[[ -e "$work/bad.bin" ]] && fail "output written for a bad form"
printf 'object Form1: TForm1\n  Left = \n' > "$work/eof.lxfm"
expect 1 "$work/eof.lxfm:3:1: error: Invalid property value" "$work/eof.lxfm" -o "$work/x"
head -c 20 "$work/form.bin" > "$work/short.bin"
expect 1 "lxform: $work/short.bin: Stream read error" "$work/short.bin" -o "$work/x"
expect 1 "lxform: $work/form.lxfm: Invalid stream format" --to-text "$work/form.lxfm" -o "$work/x"
expect 1 "lxform: $work/none.lxfm: cannot be opened: No such file or directory" \
  "$work/none.lxfm" -o "$work/x"

# Neither a folder nor a pipe ends in a crash; a pipe is read to its end.
expect 1 "lxform: $work: is a folder" "$work" -o "$work/x"
"$lxform" /dev/stdin -o "$work/piped.bin" < "$work/form.lxfm" || fail "a form from a pipe"
cmp -s "$work/form.bin" "$work/piped.bin" || fail "the form from a pipe came out otherwise"

# Output errors name the output and say why; the input is never written over.
expect 1 "lxform: $work/missing/out.bin: cannot be written: No such file or directory" \
  "$work/form.lxfm" -o "$work/missing/out.bin"
cp "$work/form.lxfm" "$work/same.lxfm"
expect 2 "lxform: the output file $work/same.lxfm is the input file$usage" \
  "$work/same.lxfm" -o "$work/same.lxfm"
cmp -s "$work/form.lxfm" "$work/same.lxfm" || fail "the input was written over"

ln -s same.lxfm "$work/link.lxfm"
expect 2 "lxform: the output file $work/link.lxfm is the input file$usage" \
  "$work/same.lxfm" -o "$work/link.lxfm"
cmp -s "$work/form.lxfm" "$work/same.lxfm" || fail "the input was written over through a link"
expect 1 "lxform: the output file has no name" "$work/form.lxfm" -o ""

# "-" is standard input and output; a device is written to.
"$lxform" - -o - < "$work/form.lxfm" > "$work/dash.bin" || fail "- -o -"
cmp -s "$work/form.bin" "$work/dash.bin" || fail "the form through standard streams came out otherwise"
expect 1 "lxform: /dev/full: cannot be written: No space left on device" "$work/form.lxfm" -o /dev/full
got=$("$lxform" "$work/form.lxfm" -o - 2>&1 >/dev/full)
[[ $? -eq 1 && "$got" == "lxform: standard output cannot be written" ]] ||
  fail "a full standard output gave [$got]"

# The size is checked before anything is read.
truncate -s 3G "$work/huge.lxfm"
expect 1 "lxform: $work/huge.lxfm: is larger than 1073741824 bytes" "$work/huge.lxfm" -o "$work/x"

# A write that fails midway (here a file-size limit) leaves the old output whole.
{
  echo 'object Big: TForm'
  for i in $(seq 1 300); do echo "  Caption$i = 'a caption long enough to grow the form $i'"; done
  echo 'end'
} > "$work/big.lxfm"
cp "$work/form.bin" "$work/kept.bin"
got=$( (ulimit -f 4; "$lxform" "$work/big.lxfm" -o "$work/kept.bin") 2>&1)
status=$?
[[ $status -eq 1 && "$got" == "lxform: $work/kept.bin: cannot be written: File too large" ]] ||
  fail "a write past the size limit gave [$got] (status $status)"
cmp -s "$work/form.bin" "$work/kept.bin" || fail "a failed write damaged the old output"
leftovers=$(find "$work" -name '.kept.bin.*')
[[ -z $leftovers ]] || fail "temporary files left behind: $leftovers"

# A message quotes only an excerpt of raw input (here a 255-byte property name).
{
  printf 'TPF0\x05TForm\x05Form1\xff'
  printf 'x%.0s' $(seq 1 120)
  printf ' %.0s' $(seq 1 135)
  printf '\x02\x01\x00\x00'
} > "$work/longname.bin"
expect 1 "lxform: $work/longname.bin: Invalid name in form stream: '$(printf 'x%.0s' $(seq 1 40))...'" \
  "$work/longname.bin" -o "$work/x"

"$lxform" --version | grep -qE '^lxform \(Lx\) [0-9]+\.[0-9]+' || fail "--version"

# A form saved in a Windows code page: refused as UTF-8 with a hint, read with --codepage.
printf 'object Form1: TForm1\n  Caption = \x27\xCE\xC4\xBC\xFE\x27\nend\n' > "$work/gbk.lxfm"
expect 1 "$work/gbk.lxfm:2:14: error: Invalid UTF-8 text (a form saved in a Windows code page needs --codepage N, such as 936)" \
  "$work/gbk.lxfm" -o "$work/x"
"$lxform" --codepage 936 "$work/gbk.lxfm" -o "$work/gbk.bin" || fail "--codepage 936"
"$lxform" "$work/gbk.bin" -o "$work/gbk.txt" || fail "the code-page form back to text"
[[ $(cat "$work/gbk.txt") == $'object Form1: TForm1\n  Caption = \'文件\'\nend' ]] ||
  fail "the code-page form came back as [$(cat "$work/gbk.txt")]"
printf 'object Form1: TForm1\n  Caption = \x27\xCE\xC4\x81\x7F\x27\nend\n' > "$work/bad936.lxfm"
expect 1 "$work/bad936.lxfm:2:15: error: Invalid text in code page 936" \
  --codepage 936 "$work/bad936.lxfm" -o "$work/x"
expect 2 "lxform: --codepage needs a code page number$usage" a -o b --codepage
expect 2 "lxform: --codepage needs a code page number, not 'gbk'$usage" --codepage gbk a -o b
expect 2 "lxform: code page 12345 is not installed$usage" --codepage 12345 a -o b
printf 'object Form1: TForm1\n  Caption = \x27\xC3\x27\nend\n' > "$work/bad8.lxfm"
expect 1 "$work/bad8.lxfm:2:14: error: Invalid UTF-8 text" --codepage 65001 "$work/bad8.lxfm" -o "$work/x"
expect 2 "lxform: --codepage reads text forms, not binary ones$usage" --codepage 936 --to-text a -o b

# A name outside a string is refused by its character.
printf 'object Form1: TForm1\n  Left = \xD0\x9F\nend\n' > "$work/cyr.lxfm"
expect 1 "$work/cyr.lxfm:2:10: error: Invalid character 'П' (U+041F)" "$work/cyr.lxfm" -o "$work/x"

finish "lxform"
