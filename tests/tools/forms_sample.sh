#!/usr/bin/env bash
# make forms-check on a fixed sample of the real forms beside the checkout (../shared/data/forms):
# every form but the two broken ones loads, extracts and translates, nothing crashes or is
# reported by a sanitizer, and every native copy is the form itself.
# Usage: forms_sample.sh <tools build folder> <forms folder> <sample list>
set -uo pipefail
bin=$1
forms=$2
list=$3
source "$(dirname "$0")/checks.sh"
if [[ ! -d $forms ]]; then
  echo "SKIPPED: no real forms at $forms"
  exit 77
fi

# The tools walk a folder, so the sample is copied into one.
mkdir -p "$work/forms"
while read -r name; do
  cp "$forms/$name" "$work/forms/" || fail "the sample form $name is missing"
done <"$list"
total=$(wc -l <"$list")

report=$("$(dirname "$0")/../../tools/formtools/forms_check.sh" "$bin" "$work/forms")
status=$?
echo "$report"
[[ $status -eq 0 ]] || fail "crashes, sanitizer reports or native copies that differ"
grep -q "^forms:      $total$" <<<"$report" || fail "not every form was counted"
grep -q "^extract:    $((total - 2)) " <<<"$report" || fail "extract"
grep -q "^translate:  forms $total, .*failed 2$" <<<"$report" || fail "translate"
grep -q "lr_e_txt_params.lfm:93: error: End of file expected$" <<<"$report" ||
  fail "the reason of a form with two roots"
grep -q "TV_Add_Remove_U1.dfm: error: Error reading Form1\..*: Unknown property value: 110$" \
  <<<"$report" || fail "the reason of a broken binary form"
finish "forms-check on the sample"
