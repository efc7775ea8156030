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
for options in "" "--big-endian" "--utf16" "--utf16 --big-endian" "--version 1" \
               "--version 2 --utf16" "--version 0" "--version 7 --big-endian"; do
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

# Help, and usage errors.
expect 0 "$lxpld" --help
grep -q '^Usage:' "$dir/out" || fail "no usage text"
expect 2 "$lxpld"
expect 2 "$lxpld" frobnicate
expect 2 "$lxpld" build "$sample"
grep -qF 'lxpld: build: no output file given (-o FILE.pld)' "$dir/err" || fail "$(cat "$dir/err")"
expect 2 "$lxpld" build "$sample" -o "$dir/x.pld" --version 300
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
expect 1 "$lxpld" check "$dir/none.pld"
grep -qF "Cannot open file \"$dir/none.pld\"" "$dir/err" || fail "$(cat "$dir/err")"
echo "lxpld: all command-line checks passed"
