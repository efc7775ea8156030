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

"$dir/Bin/Probe" --version | grep -qE '^probe \(Lx\) [0-9]+\.[0-9]+$'

# Where it cannot make its folder beside itself (here a file stands in the way), it makes a
# private folder of its own in the runtime folder, and removes it at exit.
rm -rf "$dir/Bin/temp"
touch "$dir/Bin/temp"
mkdir -m 700 "$dir/run" "$dir/run/Probe"
out=$(XDG_RUNTIME_DIR="$dir/run" "$dir/Bin/Probe")
grep -qE "^  scratch:    $dir/run/Probe-[A-Za-z0-9]{6}/\$" <<<"$out"
[ "$(ls -A "$dir/run")" = Probe ]
