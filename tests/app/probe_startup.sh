#!/usr/bin/env bash
# probe makes its scratch folder beside itself at start-up and removes it at exit.
set -euo pipefail
probe=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkdir "$dir/Bin"
cp "$probe" "$dir/Bin/Probe"

out=$("$dir/Bin/Probe")
echo "$out"
grep -qF "settings:   $dir/Bin/Probe.ini" <<<"$out"
grep -qF "dictionary: (none)" <<<"$out"
grep -qF "scratch:    $dir/Bin/temp/Probe/" <<<"$out"
[ -d "$dir/Bin/temp" ] && [ ! -e "$dir/Bin/temp/Probe" ]

touch "$dir/Bin/Probe.pld"
out=$("$dir/Bin/Probe")
grep -qF "dictionary: $dir/Bin/Probe.pld" <<<"$out"
