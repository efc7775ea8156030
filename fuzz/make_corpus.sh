#!/usr/bin/env bash
# Makes the seed corpora of the fuzz targets from the test forms: the text forms as they are
# for text_form_fuzz, compiled by lxform for form_reader_fuzz, both for tolerant_form_fuzz.
# With lxpld, also the forms with embedded dictionary data for embedded_data_fuzz.
# Usage: fuzz/make_corpus.sh <lxform> [<lxpld>]
set -euo pipefail
lxform=$1
lxpld=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
forms=$here/../tests/framework/forms
rm -rf "$here/corpus/form_reader" "$here/corpus/text_form" "$here/corpus/tolerant_form"
mkdir -p "$here/corpus/form_reader" "$here/corpus/text_form" "$here/corpus/tolerant_form"
for form in "$forms"/*.lxfm; do
  name=$(basename "$form" .lxfm)
  cp "$form" "$here/corpus/text_form/$name.lxfm"
  "$lxform" --to-binary "$form" -o "$here/corpus/form_reader/$name.bin"
  cp "$form" "$here/corpus/form_reader/$name.bin" "$here/corpus/tolerant_form/"
done

if [[ -n $lxpld ]]; then
  seeds=$here/corpus/embedded_data
  rm -rf "$seeds"
  mkdir -p "$seeds"
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  "$lxpld" build "$here/../tests/dict/ResourceDictionary.json" -o "$work/d.pld" >/dev/null
  "$lxpld" build "$here/../tests/tools/sample.json" -o "$work/s.pld" >/dev/null
  (cd "$work" &&
    "$lxform" --embed d.pld --to-binary "$here/../tests/dict/CompiledModule.lxfm" \
      -o "$seeds/binary.bin" &&
    "$lxform" --embed s.pld --to-binary "$here/../tests/dict/CompiledModule.lxfm" \
      -o "$seeds/sample.bin")
  "$lxform" --to-binary "$here/embedded_lists.lxfm" -o "$seeds/lists.bin"
fi
