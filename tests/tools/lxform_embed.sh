#!/usr/bin/env bash
# Runs lxform --embed as a user would: a form gets a dictionary file's data, and the
# files it cannot use are refused with the dictionary's own message.
# Usage: lxform_embed.sh <lxform> <lxpld> <sample.json>
set -uo pipefail
lxform=$1
lxpld=$2
source=$3
source "$(dirname "$0")/checks.sh"

# expect <status> <stderr wanted, exactly> <arguments...>: run in $work, no output written.
expect() {
  local status=$1 want=$2
  shift 2
  local got
  got=$(cd "$work" && "$lxform" "$@" -o refused.out 2>&1 >/dev/null)
  local actual=$?
  if [[ $actual -ne $status || "$got" != "$want" ]]; then
    fail "lxform $* gave [$got] (status $actual), wanted [$want] (status $status)"
  fi
  [[ ! -e "$work/refused.out" ]] || fail "lxform $* wrote its output"
  rm -f "$work/refused.out"
}

"$lxpld" build "$source" -o "$work/app.pld" >/dev/null || fail "building app.pld"
"$lxpld" build "$source" --utf16 -o "$work/wide.pld" >/dev/null || fail "building wide.pld"

cat > "$work/form.lxfm" <<'FORM'
object MainForm: TMainForm
  OnCreate = FormCreate
  object Button1: TButton [1]
    Caption = 'Open'
  end
  object Dictionary: TLxBinaryDictionary
    DictionaryName = 'Dictionary1'
    OnLanguageChange = DictionaryLanguageChange
  end
end
FORM

# The dictionary gets the data; everything else of the form stays.
(cd "$work" && "$lxform" --embed app.pld form.lxfm -o embedded.lxfm) || fail "--embed"
grep -q "^    Storage = lxsEmbedded$" "$work/embedded.lxfm" || fail "no embedded storage"
grep -q "^    FileName = 'app.pld'$" "$work/embedded.lxfm" || fail "no file name"
for property in LanguageData TranslationData LocaleData; do
  grep -q "^    $property = {$" "$work/embedded.lxfm" || fail "no $property"
done
grep -q "^    OnLanguageChange = DictionaryLanguageChange$" "$work/embedded.lxfm" ||
  fail "the dictionary lost its event"
grep -q "^  object Button1: TButton \[1\]$" "$work/embedded.lxfm" || fail "the button changed"

# Embedding again gives the same form; binary in, binary out, and as asked.
(cd "$work" && "$lxform" --embed app.pld embedded.lxfm -o again.lxfm) || fail "embedding again"
cmp -s "$work/embedded.lxfm" "$work/again.lxfm" || fail "embedding again changed the form"
(cd "$work" && "$lxform" --embed app.pld --to-binary form.lxfm -o embedded.bin) ||
  fail "--to-binary"
[[ $(head -c 4 "$work/embedded.bin") == TPF0 ]] || fail "--to-binary wrote no binary form"
(cd "$work" && "$lxform" --embed app.pld embedded.bin -o again.bin) || fail "binary in"
cmp -s "$work/embedded.bin" "$work/again.bin" || fail "binary in gave another form"
"$lxform" "$work/embedded.bin" -o "$work/back.lxfm" || fail "to text"
cmp -s "$work/embedded.lxfm" "$work/back.lxfm" || fail "text and binary differ"

# Files and forms it cannot use.
expect 1 "lxform: Can not use a Unicode PLD file wide.pld. No dictionary data was stored!" \
  --embed wide.pld form.lxfm
expect 1 "lxform: none.pld: cannot be opened: No such file or directory" \
  --embed none.pld form.lxfm
expect 1 "lxform: form.lxfm: Button1 is a TButton, not a TLxBinaryDictionary" \
  --embed app.pld --dictionary Button1 form.lxfm
expect 1 "lxform: form.lxfm: the form's root has no component Dictionary2" \
  --embed app.pld --dictionary Dictionary2 form.lxfm
sed 's/^end$/  object Second: TLxBinaryDictionary\n  end\nend/' "$work/form.lxfm" > "$work/two.lxfm"
expect 1 "lxform: two.lxfm: the form has 2 dictionaries; choose one with --dictionary" \
  --embed app.pld two.lxfm
(cd "$work" && "$lxform" --embed app.pld --dictionary Second two.lxfm -o second.lxfm) ||
  fail "--dictionary Second"
[[ $(grep -c "LanguageData" "$work/second.lxfm") -eq 1 ]] || fail "not only Second got data"
printf 'object F: TF\nend\n' > "$work/none.lxfm"
expect 1 "lxform: none.lxfm: the form has no TLxBinaryDictionary among the root's components" \
  --embed app.pld none.lxfm
usage=$'\nTry \'lxform --help\'.'
got=$("$lxform" "$work/form.lxfm" -o "$work/x" --embed 2>&1)
[[ $? -eq 2 && "$got" == "lxform: --embed needs a value$usage" ]] || fail "--embed without a value: [$got]"
expect 2 "lxform: --dictionary needs --embed$usage" --dictionary D form.lxfm
expect 1 "lxform: /dev/zero: is not a regular file" --embed /dev/zero form.lxfm
head -c 100 "$work/app.pld" > "$work/cut.pld"
expect 1 "lxform: cut.pld: Stream read error" --embed cut.pld form.lxfm
expect 2 "lxform: --embed needs a file name, not \"-\"$usage" --embed - form.lxfm
# The dictionary is never written over.
cp "$work/app.pld" "$work/d.pld"
got=$(cd "$work" && "$lxform" --embed d.pld form.lxfm -o d.pld 2>&1)
[[ $? -eq 2 && "$got" == "lxform: the output file d.pld is the dictionary file$usage" ]] ||
  fail "the dictionary as output gave [$got]"
cmp -s "$work/app.pld" "$work/d.pld" || fail "the dictionary was written over"

"$lxform" --help | grep -q -- "--embed PLD" || fail "--help does not tell of --embed"

finish "lxform --embed"
