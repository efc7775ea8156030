#!/usr/bin/env bash
# lxpld as users run it: build, dump and check round trips, errors and exit codes.
set -euo pipefail
lxpld=$1
sample=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

fail() { echo "FAILED: $*" >&2; exit 1; }
# expect CODE COMMAND...: runs the command, which must exit with CODE.
expect() {
  local code=$1
  shift
  set +e
  "$@" >"$dir/out" 2>"$dir/err"
  local got=$?
  set -e
  [ "$got" = "$code" ] || { cat "$dir/out" "$dir/err" >&2; fail "exit $got, not $code: $*"; }
}

# Every layout survives build, dump and build again byte for byte, and checks clean.
for options in "" "--big-endian" "--utf16" "--utf16 --big-endian" "--image-version 1" \
               "--image-version 2 --utf16" "--image-version 0" "--image-version 7 --big-endian"; do
  # shellcheck disable=SC2086
  expect 0 "$lxpld" build "$sample" -o "$dir/a.pld" $options
  expect 0 "$lxpld" dump "$dir/a.pld"
  cp "$dir/out" "$dir/a.json"
  [ ! -s "$dir/err" ] || fail "dump of $options left a note: $(cat "$dir/err")"
  expect 0 "$lxpld" build "$dir/a.json" -o "$dir/b.pld"
  cmp -s "$dir/a.pld" "$dir/b.pld" || fail "build of the dump differs ($options)"
  expect 0 "$lxpld" check "$dir/a.pld"
  grep -q '^ok: .* 3 languages, 2 translations, 1 locale$' "$dir/out" || fail "check: $(cat "$dir/out")"
done

# Translations come out in key order: the sample lists "Open" before "Cancel".
expect 0 "$lxpld" build "$sample" -o "$dir/a.pld"
expect 0 "$lxpld" dump "$dir/a.pld"
first=$(grep -o '"Cancel"\|"Open"' "$dir/out" | head -1)
[ "$first" = '"Cancel"' ] || fail "translations not in key order: $first first"

# Help, and usage errors.
expect 0 "$lxpld" --help
grep -q '^Usage:' "$dir/out" || fail "no usage text"
expect 2 "$lxpld"
expect 2 "$lxpld" frobnicate
expect 2 "$lxpld" build "$sample"
grep -qF 'lxpld: build: no output file given (-o FILE.pld)' "$dir/err" || fail "$(cat "$dir/err")"
expect 2 "$lxpld" build "$sample" -o "$dir/x.pld" --image-version 300
expect 2 "$lxpld" build "$sample" -o
grep -qF 'lxpld: build: -o needs a file name' "$dir/err" || fail "$(cat "$dir/err")"
expect 0 "$lxpld" --version
grep -qE '^lxpld \(Lx\) [0-9]+\.[0-9]+$' "$dir/out" || fail "--version: $(cat "$dir/out")"
expect 2 "$lxpld" dump
expect 2 "$lxpld" check a.pld b.pld

# Bad input names the file and the record.
sed 's/"codePage": 1251/"codePage": 1361/' "$sample" >"$dir/bad.json"
expect 1 "$lxpld" build "$dir/bad.json" -o "$dir/x.pld"
grep -qF "lxpld: $dir/bad.json: languages[2]: code page 1361 is not installed" "$dir/err" ||
  fail "$(cat "$dir/err")"
sed 's/"Cancel", "Abbrechen", ""/"Cancel", "Abbrechen"/' "$sample" >"$dir/bad.json"
expect 1 "$lxpld" build "$dir/bad.json" -o "$dir/x.pld"
grep -qF "translations[1]: 2 texts for 3 languages" "$dir/err" || fail "$(cat "$dir/err")"
echo '{ "languages": [ 1, ' >"$dir/bad.json"
expect 1 "$lxpld" build "$dir/bad.json" -o "$dir/x.pld"
grep -qF "lxpld: $dir/bad.json: parse error" "$dir/err" || fail "$(cat "$dir/err")"
expect 1 "$lxpld" build "$dir/missing.json" -o "$dir/x.pld"
grep -qF "lxpld: $dir/missing.json: cannot be opened: No such file or directory" "$dir/err" ||
  fail "$(cat "$dir/err")"

# check reports what the engine raises, with the record it reads.
expect 0 "$lxpld" build "$sample" -o "$dir/a.pld"
head -c 100 "$dir/a.pld" >"$dir/cut.pld"
expect 1 "$lxpld" check "$dir/cut.pld"
grep -qE "^lxpld: $dir/cut.pld: (languages|translations)\[[0-9]+\]: Stream read error$" "$dir/err" ||
  fail "$(cat "$dir/err")"
printf 'pld' | cat - <(tail -c +4 "$dir/a.pld") >"$dir/lower.pld"
expect 1 "$lxpld" check "$dir/lower.pld"
grep -qF "lxpld: $dir/lower.pld: header: The stream is not a valid PLD stream" "$dir/err" ||
  fail "$(cat "$dir/err")"
expect 1 "$lxpld" dump "$dir/lower.pld"

# Every command words input errors alike, and neither folders nor pipes crash it.
for command in dump check; do
  expect 1 "$lxpld" "$command" "$dir/none.pld"
  grep -qxF "lxpld: $dir/none.pld: cannot be opened: No such file or directory" "$dir/err" ||
    fail "$command: $(cat "$dir/err")"
  expect 1 "$lxpld" "$command" "$dir"
  grep -qxF "lxpld: $dir: is a folder" "$dir/err" || fail "$command: $(cat "$dir/err")"
done
expect 1 "$lxpld" build "$dir" -o "$dir/x.pld"
grep -qxF "lxpld: $dir: is a folder" "$dir/err" || fail "build: $(cat "$dir/err")"
"$lxpld" build /dev/stdin -o "$dir/piped.pld" <"$sample" >/dev/null || fail "build from a pipe"
cmp -s "$dir/a.pld" "$dir/piped.pld" || fail "the image built from a pipe differs"
"$lxpld" check /dev/stdin <"$dir/a.pld" >/dev/null || fail "check from a pipe"

# The source is never written over, and a failed write leaves the old image whole.
cp "$sample" "$dir/same.json"
expect 2 "$lxpld" build "$dir/same.json" -o "$dir/same.json"
grep -qF "lxpld: build: the output file $dir/same.json is the source itself" "$dir/err" ||
  fail "$(cat "$dir/err")"
cmp -s "$sample" "$dir/same.json" || fail "the source was written over"
expect 1 "$lxpld" build "$sample" -o "$dir/missing/x.pld"
grep -qxF "lxpld: $dir/missing/x.pld: cannot be written: No such file or directory" "$dir/err" ||
  fail "$(cat "$dir/err")"
{
  echo '{ "languages": [ { "englishName": "English" } ], "translations": ['
  for i in $(seq 1 100); do echo "{ \"texts\": [\"a text long enough to grow the image $i\"] },"; done
  echo '{ "texts": ["last"] } ] }'
} >"$dir/big.json"
cp "$dir/a.pld" "$dir/kept.pld"
set +e
(ulimit -f 2; "$lxpld" build "$dir/big.json" -o "$dir/kept.pld") >/dev/null 2>"$dir/err"
got=$?
set -e
[ "$got" = 1 ] || fail "a write past the size limit gave exit $got"
grep -qxF "lxpld: $dir/kept.pld: cannot be written: File too large" "$dir/err" ||
  fail "$(cat "$dir/err")"
cmp -s "$dir/a.pld" "$dir/kept.pld" || fail "a failed write damaged the old image"
[ -z "$(find "$dir" -name '.kept.pld.*')" ] || fail "a temporary file was left behind"
set +e
"$lxpld" dump "$dir/a.pld" >/dev/full 2>"$dir/err"
got=$?
set -e
[ "$got" = 1 ] && grep -qxF "lxpld: standard output cannot be written" "$dir/err" ||
  fail "dump to a full device: exit $got, $(cat "$dir/err")"

# "-" is standard input and output; the summary then goes to standard error.
expect 0 "$lxpld" check - <"$dir/a.pld"
grep -q '^ok: ' "$dir/out" || fail "check -: $(cat "$dir/out")"
"$lxpld" build - -o - <"$sample" >"$dir/dash.pld" 2>"$dir/err" || fail "build - -o -"
cmp -s "$dir/a.pld" "$dir/dash.pld" || fail "the image on standard output differs"
grep -q '^-: [0-9]* bytes, 3 languages' "$dir/err" || fail "build -o - summary: $(cat "$dir/err")"

# Deep nesting, huge files, numbers out of range and control bytes: named, quoted, no crash.
{ printf '{"x": '; printf '[%.0s' $(seq 1 20000); printf ']%.0s' $(seq 1 20000); printf '}'; } >"$dir/deep.json"
expect 1 "$lxpld" build "$dir/deep.json" -o "$dir/x.pld"
grep -qxF "lxpld: $dir/deep.json: arrays and objects nested deeper than 100 levels" "$dir/err" ||
  fail "$(cat "$dir/err")"
truncate -s 3G "$dir/huge.pld"
expect 1 "$lxpld" check "$dir/huge.pld"
grep -qxF "lxpld: $dir/huge.pld: is larger than 1073741824 bytes" "$dir/err" || fail "$(cat "$dir/err")"
echo '{"version": 1e400}' >"$dir/number.json"
expect 1 "$lxpld" build "$dir/number.json" -o "$dir/x.pld"
grep -qxF "lxpld: $dir/number.json: number overflow parsing '1e400'" "$dir/err" || fail "$(cat "$dir/err")"
echo '{"\u001b]0;title\u0007": 1}' >"$dir/esc.json"
expect 1 "$lxpld" build "$dir/esc.json" -o "$dir/x.pld"
grep -qxF "lxpld: $dir/esc.json: image: unknown field \"?]0;title?\"" "$dir/err" || fail "$(cat "$dir/err")"

# A record whose length runs past the image is named, not the record after it.
cp "$dir/a.pld" "$dir/long.pld"
printf '\x10' | dd of="$dir/long.pld" bs=1 seek=43 conv=notrunc status=none
expect 1 "$lxpld" check "$dir/long.pld"
size=$(stat -c %s "$dir/long.pld")
grep -qxF "lxpld: $dir/long.pld: languages[0]: the record length runs past the end of the image (byte $size)" \
  "$dir/err" || fail "$(cat "$dir/err")"
expect 1 "$lxpld" dump "$dir/long.pld"
grep -qF "languages[0]: the image ends at byte $size" "$dir/err" || fail "$(cat "$dir/err")"
cp "$dir/a.pld" "$dir/longlocale.pld"
locales=$(od -An -tu4 -j26 -N4 "$dir/a.pld" | tr -d ' ')
printf '\x10' | dd of="$dir/longlocale.pld" bs=1 seek=$((locales + 1)) conv=notrunc status=none
expect 1 "$lxpld" check "$dir/longlocale.pld"
grep -qF "locales[0]: the record length runs past the end of the image" "$dir/err" ||
  fail "$(cat "$dir/err")"

# Counts agree with their nouns.
echo '{ "languages": [ {} ], "translations": [ { "texts": ["a", "b"] } ] }' >"$dir/one.json"
expect 1 "$lxpld" build "$dir/one.json" -o "$dir/x.pld"
grep -qF "translations[0]: 2 texts for 1 language" "$dir/err" || fail "$(cat "$dir/err")"
echo "lxpld: all command-line checks passed"

# A text with plural variants: every layout that has the variant section keeps it, a cut
# variant record is named, and version 1, which has no such section, refuses it.
cat >"$dir/plural.json" <<'JSON'
{ "languages": [ { "primaryLanguage": 0, "codePage": 1252 },
                 { "primaryLanguage": 25, "subLanguage": 1, "codePage": 1251 } ],
  "translations": [ { "texts": ["%d file", "%d файл"], "variantKind": "plural",
    "variants": [ { "keyword": "one", "texts": ["%d file", "%d файл"] },
                  { "keyword": "few", "texts": ["", "%d файла"] } ] } ] }
JSON
for options in "" "--utf16 --big-endian" "--image-version 2"; do
  # shellcheck disable=SC2086
  expect 0 "$lxpld" build "$dir/plural.json" -o "$dir/p.pld" $options
  expect 0 "$lxpld" dump "$dir/p.pld"
  grep -qF '"keyword": "few"' "$dir/out" || fail "dump without variants ($options)"
  cp "$dir/out" "$dir/p.json"
  expect 0 "$lxpld" build "$dir/p.json" -o "$dir/q.pld"
  cmp -s "$dir/p.pld" "$dir/q.pld" || fail "build of the dump differs ($options)"
  expect 0 "$lxpld" check "$dir/p.pld"
done
head -c -1 "$dir/p.pld" >"$dir/cut.pld"
expect 1 "$lxpld" check "$dir/cut.pld"
grep -qF "lxpld: $dir/cut.pld: variants[0]: Stream read error" "$dir/err" || fail "$(cat "$dir/err")"
expect 1 "$lxpld" build "$dir/plural.json" -o "$dir/x.pld" --image-version 1
grep -qF "version 1 images carry no variants" "$dir/err" || fail "$(cat "$dir/err")"
