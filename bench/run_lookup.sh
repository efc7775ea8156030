#!/usr/bin/env bash
# Runs every case of the lookup benchmark in a fresh process, so that no engine starts
# with what an earlier case left in its caches, then prints the table of ratios.
#
#   bench/run_lookup.sh BINARY OUT_FOLDER [benchmark flags...]
#
# The catalogs are built once into OUT_FOLDER/catalogs and shared by the cases; each case
# writes OUT_FOLDER/<case>.json. A --benchmark_filter among the flags narrows the cases.
set -euo pipefail
binary=$1
out=$2
shift 2
filter=()
flags=()
for flag in "$@"; do
  case $flag in
    --benchmark_filter=*) filter=("$flag") ;;
    *) flags+=("$flag") ;;
  esac
done
rm -rf "$out"
mkdir -p "$out/catalogs"
for name in $("$binary" --benchmark_list_tests "${filter[@]}"); do
  echo "== $name" >&2
  "$binary" --catalogs="$out/catalogs" "${flags[@]}" --benchmark_filter="^$name\$" \
    --benchmark_out_format=json --benchmark_out="$out/${name//\//_}.json" > /dev/null
done
python3 "$(dirname "$0")/ratios.py" "$out"/*.json
