#!/usr/bin/env bash
# Runs the tools over real forms: converts each, extracts one template from all, builds a
# dictionary of a pseudo-language from it, and translates every form twice: in the native
# language (every copy must be the form itself, byte for byte) and in the pseudo-language
# (every copy must load again). Prints the counts; exits 1 when a tool crashed, a sanitizer
# reported, or a native copy differs.
# Usage: forms_check.sh BIN_DIR FORM_OR_FOLDER...   (BIN_DIR holds lxform/ and lxpo/)
set -uo pipefail
bin=$1
shift
lxform=$bin/lxform/lxform
lxpo=$bin/lxpo/lxpo
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The forms as "source<TAB>name", the name being what --output-dir writes them as.
: >"$work/forms"
for input in "$@"; do
  if [[ -d $input && ! -L $input ]]; then
    (cd "$input" && find . -type f \( -iname '*.lfm' -o -iname '*.dfm' -o -iname '*.lxfm' \
      -o -iname '*.xfm' -o -iname '*.fmx' \) | sed 's|^\./||' | LC_ALL=C sort) |
      while read -r name; do printf '%s\t%s\n' "$input/$name" "$name"; done >>"$work/forms"
  else
    printf '%s\t%s\n' "$input" "$(basename "$input")" >>"$work/forms"
  fi
done
total=$(wc -l <"$work/forms")

crashes=0
reports=0
# check <exit status> <stderr file>: counts crashes and sanitizer reports.
check() {
  [[ $1 -ge 128 ]] && crashes=$((crashes + 1))
  if grep -aqE 'ERROR: AddressSanitizer|ERROR: LeakSanitizer|runtime error:' "$2"; then
    reports=$((reports + 1))
  fi
}

converted=0
while IFS=$'\t' read -r source name; do
  "$lxform" "$source" -o "$work/converted" 2>"$work/err"
  status=$?
  check $status "$work/err"
  [[ $status -eq 0 ]] && converted=$((converted + 1))
done <"$work/forms"

sources=()
while IFS=$'\t' read -r source name; do sources+=("$source"); done <"$work/forms"
"$lxpo" extract --no-framework "$@" -o "$work/forms.pot" >"$work/extract.out" 2>"$work/extract.err"
check $? "$work/extract.err"
extractFailed=$(grep -ac '^lxpo: .*error' "$work/extract.err")
texts=$(grep -ao '[0-9]* texts' "$work/extract.out" | cut -d' ' -f1)

"$lxpo" pseudo "$work/forms.pot" -o "$work/qps.po" >/dev/null 2>"$work/err"
check $? "$work/err"
cat >"$work/forms.json" <<'JSON'
{ "languages": [
  { "primaryLanguage": 9, "subLanguage": 1, "codePage": 1252, "englishName": "English" },
  { "primaryLanguage": 7, "subLanguage": 1, "codePage": 1252, "englishName": "Pseudo",
    "po": "qps.po" } ] }
JSON
"$lxpo" build "$work/forms.json" -o "$work/forms.pld" >/dev/null 2>"$work/err"
check $? "$work/err"

for language in 0 1; do
  "$lxform" --translate "$work/forms.pld" --language $language --output-dir "$work/out$language" \
    "$@" >"$work/translate$language.out" 2>"$work/translate$language.err"
  check $? "$work/translate$language.err"
done

identical=0
written=0
reread=0
changed=0
while IFS=$'\t' read -r source name; do
  if [[ -f $work/out0/$name ]]; then
    written=$((written + 1))
    cmp -s "$source" "$work/out0/$name" && identical=$((identical + 1))
  fi
  copy=$work/out1/$name
  if [[ -f $copy ]]; then
    cmp -s "$source" "$copy" || changed=$((changed + 1))
    "$lxform" "$copy" -o "$work/reread" 2>"$work/err"
    status=$?
    check $status "$work/err"
    [[ $status -eq 0 ]] && reread=$((reread + 1))
  fi
done <"$work/forms"

percent() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f %%", b ? 100 * a / b : 0 }'; }
echo "forms:      $total"
echo "convert:    $converted ($(percent "$converted" "$total"))"
echo "extract:    $((total - extractFailed)) ($(percent $((total - extractFailed)) "$total")), ${texts:-0} texts"
echo "translate:  $(cat "$work/translate1.out")"
echo "unchanged:  $identical of $written native copies byte-identical"
echo "translated: $changed copies changed, $reread of them and the others load again"
echo "crashes:    $crashes, sanitizer reports: $reports"
echo "failures:"
grep -ahv ': note: ' "$work/translate1.err" | sed 's/^/  /'
[[ $crashes -eq 0 && $reports -eq 0 && $identical -eq $written ]]
