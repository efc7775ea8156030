#!/usr/bin/env bash
# Makes the seed corpora of the fuzz targets from the test forms: the text forms as they are
# for text_form_fuzz, compiled by lxform for form_reader_fuzz.
# Usage: fuzz/make_corpus.sh <lxform>
set -euo pipefail
lxform=$1
here=$(cd "$(dirname "$0")" && pwd)
forms=$here/../tests/framework/forms
rm -rf "$here/corpus/form_reader" "$here/corpus/text_form"
mkdir -p "$here/corpus/form_reader" "$here/corpus/text_form"
for form in "$forms"/*.lxfm; do
  name=$(basename "$form" .lxfm)
  cp "$form" "$here/corpus/text_form/$name.lxfm"
  "$lxform" --to-binary "$form" -o "$here/corpus/form_reader/$name.bin"
done
