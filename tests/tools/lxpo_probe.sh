#!/usr/bin/env bash
# probe's own dictionary passes the translators' checks: as exported, and merged with the
# template of its form (which brings the component paths for the hot-key clash check); no
# text of its form is cut in any of its languages, and the template gives the room of every
# text of a control.
# Usage: lxpo_probe.sh <lxpld> <lxpo> <source folder>
set -uo pipefail
lxpld=$1 lxpo=$2 source=$3
source "$(dirname "$0")/checks.sh"

"$lxpld" build "$source/app/probe.json" -o "$work/probe.pld" >/dev/null || fail "lxpld build"
mkdir "$work/po"
"$lxpo" export "$work/probe.pld" -d "$work/po" >/dev/null || fail "lxpo export"
"$lxpo" check --strict "$work/po/dictionary.json" >"$work/out" 2>&1 ||
  fail "the exported dictionary: $(cat "$work/out")"
"$lxpo" extract --size-flags "$source/app/forms/ProbeForm.lxfm" -o "$work/probe.pot" >/dev/null ||
  fail "lxpo extract"
"$lxpo" check --fit "$work/probe.pld" "$source/app/forms/ProbeForm.lxfm" >"$work/out" 2>&1 ||
  fail "texts cut in probe's form: $(cat "$work/out")"
grep -q 'error:' "$work/out" && fail "the fit check found: $(cat "$work/out")"
# Each caption of a label or a button of the form has its room, as a comment and a flag.
rooms=$(awk -v RS= '/#\. ProbeForm\.[A-Za-z]*(Label|Button)\.Caption/ {
  n++; if ($0 ~ /#\. room: [0-9]+ x [0-9]+ px, MS Sans Serif 8/ && $0 ~ /#, max-size:[0-9]+/) ok++ }
  END { print ok + 0 "/" n + 0 }' "$work/probe.pot")
[ "$rooms" = 9/9 ] || fail "rooms in the template: $rooms of the labels and buttons"
# Without --size-flags the template is in gettext's own layout (msgcat keeps it, below).
"$lxpo" extract "$source/app/forms/ProbeForm.lxfm" -o "$work/probe.pot" >/dev/null ||
  fail "lxpo extract"
for po in "$work"/po/*.po; do
  msgmerge --quiet --no-fuzzy-matching -o "$po" "$po" "$work/probe.pot" || fail "msgmerge $po"
done
grep -q '^#\. ProbeForm\.LanguageLabel\.Caption$' "$work/po/de_DE.po" || fail "no component path"
"$lxpo" check --strict "$work/po/dictionary.json" >"$work/out" 2>&1 ||
  fail "the merged dictionary: $(cat "$work/out")"
grep -q '^  .*/de_DE.po: 0 errors, 0 warnings$' "$work/out" || fail "summary [$(cat "$work/out")]"
# The same in the exchange formats, with the template's component paths; PO as msgcat keeps it.
for format in xliff12 xliff20 ts; do
  mkdir "$work/$format"
  "$lxpo" export "$work/probe.pld" -d "$work/$format" --format "$format" \
    --template "$work/probe.pot" >/dev/null || fail "lxpo export --format $format"
  "$lxpo" check --strict "$work/$format/dictionary.json" >"$work/out" 2>&1 ||
    fail "the $format dictionary: $(cat "$work/out")"
done
mkdir "$work/again"
"$lxpo" export "$work/probe.pld" -d "$work/again" --template "$work/probe.pot" >/dev/null ||
  fail "lxpo export --template"
for po in "$work"/again/*.po "$work"/again/*.pot "$work/probe.pot"; do
  msgcat "$po" | cmp -s - "$po" || fail "msgcat changes $po"
done
finish "probe's dictionary checked"
