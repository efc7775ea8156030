#!/usr/bin/env bash
# Runs lxform --translate on the translator's test form with a dictionary built by lxpld.
# Usage: lxform_translate.sh <lxform> <lxpld> <tests folder>
set -uo pipefail
lxform=$1
lxpld=$2
tests=$3
source "$(dirname "$0")/checks.sh"

form=$tests/translator/forms/MainForm.lxfm
"$lxpld" build "$tests/translator/TranslatorDictionary.json" -o "$work/d.pld" >/dev/null ||
  fail "lxpld build"

# To standard output, from text and from binary alike.
out=$("$lxform" --translate "$work/d.pld" --language 2 "$form") || fail "--translate"
grep -q "Caption = 'Hauptfenster'" <<<"$out" || fail "the form caption is not German"
tr -d ' \n' <<<"$out" | grep -qF "Items.Strings=('Rot''Gruen''Blau')" || fail "the list is not German"
"$lxform" --to-binary "$form" -o "$work/form.bin" || fail "--to-binary"
"$lxform" --translate "$work/d.pld" --language 1 "$work/form.bin" -o "$work/es.lxfm" ||
  fail "--translate -o"
grep -q "Caption = 'Ventana principal'" "$work/es.lxfm" || fail "the written form is not Spanish"
# Language 0 is the native text.
"$lxform" --translate "$work/d.pld" --language 0 "$form" | grep -q "Caption = 'Main window'" ||
  fail "language 0 is not the native text"

# Texts in UTF-8 from each language's code page, or as the form stores them; a language read
# right to left is named on standard error.
cat >"$work/open.lxfm" <<'FORM'
object F: TForm
  Caption = 'Open'
  object T: TLxTranslator
    TargetsData = (1 1 ('*' 'Caption' 0))
  end
end
FORM
cat >"$work/open.json" <<'JSON'
{ "languages": [
    { "primaryLanguage": 0, "codePage": 1252, "englishName": "English" },
    { "primaryLanguage": 7, "subLanguage": 1, "codePage": 1252, "englishName": "German" },
    { "primaryLanguage": 1, "subLanguage": 1, "codePage": 1256, "englishName": "Arabic" } ],
  "translations": [ { "texts": ["Open", "Öffnen", "فتح"] } ] }
JSON
"$lxpld" build "$work/open.json" -o "$work/open.pld" 2>/dev/null || fail "lxpld build open.json"
declare -A shown=([1]="Caption = 'Öffnen'" [2]="Caption = 'فتح'"
                  ["1 --byte-codes"]="Caption = #214'ffnen'" ["2 --byte-codes"]="Caption = #221#202#205")
for choice in 1 2 "1 --byte-codes" "2 --byte-codes"; do
  # shellcheck disable=SC2086
  out=$("$lxform" --translate "$work/open.pld" --language $choice "$work/open.lxfm" 2>"$work/err")
  grep -qF "${shown[$choice]}" <<<"$out" || fail "--language $choice gave [$out]"
  note=$(cat "$work/err")
  if [[ $choice == 2* ]]; then
    [[ $note == "lxform: Arabic reads right to left" ]] || fail "no reading direction: [$note]"
  else
    [[ -z $note ]] || fail "--language $choice said [$note]"
  fi
done
err=$("$lxform" --byte-codes "$work/open.lxfm" -o "$work/x" 2>&1)
[[ $? -eq 2 && "$err" == $'lxform: --byte-codes needs --translate\nTry \'lxform --help\'.' ]] ||
  fail "--byte-codes alone gave [$err]"

# Errors: bad usage, a missing dictionary, a language out of range.
"$lxform" --translate "$work/d.pld" --language x "$form" 2>/dev/null
[[ $? -eq 2 ]] || fail "a language that is no number is not bad usage"
# A dictionary that cannot be used is blamed, not the form.
err=$("$lxform" --translate "$work/none.pld" --language 1 "$form" 2>&1 >/dev/null)
[[ $? -eq 1 && "$err" == "lxform: $work/none.pld: cannot be opened: No such file or directory" ]] ||
  fail "missing dictionary gave [$err]"
err=$("$lxform" --translate /dev/zero --language 1 "$form" 2>&1 >/dev/null)
[[ $? -eq 1 && "$err" == "lxform: /dev/zero: is not a regular file" ]] ||
  fail "/dev/zero as the dictionary gave [$err]"
head -c 100 "$work/d.pld" > "$work/cut.pld"
err=$("$lxform" --translate "$work/cut.pld" --language 1 "$form" 2>&1 >/dev/null)
[[ $? -eq 1 && "$err" == "lxform: $work/cut.pld: Stream read error" ]] ||
  fail "a cut dictionary gave [$err]"
"$lxform" --translate - --language 2 "$form" < "$work/d.pld" | grep -q "Caption = 'Hauptfenster'" ||
  fail "a dictionary from standard input"

# The output is never an input; a failed standard output is a failure.
cp "$work/d.pld" "$work/td.pld"
err=$("$lxform" --translate "$work/td.pld" --language 1 "$form" -o "$work/td.pld" 2>&1)
[[ $? -eq 2 && "$err" == "lxform: the output file $work/td.pld is the dictionary file"$'\n'"Try 'lxform --help'." ]] ||
  fail "the dictionary as output gave [$err]"
cmp -s "$work/d.pld" "$work/td.pld" || fail "the dictionary was written over"
err=$("$lxform" --translate "$work/d.pld" --language 1 "$form" 2>&1 >/dev/full)
[[ $? -eq 1 && "$err" == "lxform: standard output cannot be written" ]] ||
  fail "a full standard output gave [$err]"

# Control bytes of a form reach the terminal quoted.
printf 'TPF0\x05TForm\x05Form1\x0a\x1b]0;pwned\x07\x7f\x00\x00' > "$work/esc.bin"
err=$("$lxform" --translate "$work/d.pld" --language 1 "$work/esc.bin" 2>&1 >/dev/null)
[[ $? -eq 1 && "$err" == "lxform: $work/esc.bin: Error reading Form1.?]0;pwned?: Unknown property value: 127" ]] ||
  fail "a form with control bytes gave [$err]"
err=$("$lxform" --translate "$work/d.pld" --language 7 "$form" 2>&1 >/dev/null)
[[ $? -eq 1 && "$err" == "lxform: $work/d.pld: Language index 7 is out of range" ]] ||
  fail "language out of range gave [$err]"

finish "lxform --translate"
