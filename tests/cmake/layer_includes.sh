#!/bin/bash
# The build refuses a layer that includes a header of a layer it does not depend on: three
# layers built with lx_add_layer, the top one including the bottom one through the middle
# one only, then depending on it as it should.
# Usage: layer_includes.sh <source dir>
set -euo pipefail
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

layer() {  # layer <name> <depends> <includes...>
  local name=$1 depends=$2
  shift 2
  mkdir -p "$work/$name"
  echo "lx_add_layer($name${depends:+ DEPENDS $depends})" >"$work/$name/CMakeLists.txt"
  {
    for header in "$@"; do echo "#include \"$header\""; done
    echo "int ${name}Value() { return 1; }"
  } >"$work/$name/${name^}.cpp"
  echo "int ${name}Value();" >"$work/$name/${name^}.h"
}

cat >"$work/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.25)
project(LayerIncludes CXX)
list(APPEND CMAKE_MODULE_PATH $source_dir/cmake)
include(LxLayer)
foreach(name low mid top)
  add_subdirectory(\${name})
endforeach()
CMAKE
layer low ""
layer mid low low/Low.h
layer top mid mid/Mid.h low/Low.h
# A header of the layer is checked too.
echo '#include "low/Low.h"' >>"$work/top/Top.h"

build() {
  cmake -S "$work" -B "$work/build" -G Ninja >/dev/null && cmake --build "$work/build" 2>&1
}

if output=$(build); then
  echo "FAIL: the build took an include of a layer not depended on"
  exit 1
fi
expected='  Layer top includes layers it does not depend on (DEPENDS mid):

    top/Top.cpp includes "low/Low.h" of layer low
    top/Top.h includes "low/Low.h" of layer low'
if [[ $output != *"$expected"* ]]; then
  printf 'FAIL: not the expected message; the build said:\n%s\n' "$output"
  exit 1
fi

echo "lx_add_layer(top DEPENDS mid low)" >"$work/top/CMakeLists.txt"
if ! output=$(build); then
  printf 'FAIL: the layer that depends on what it includes did not build:\n%s\n' "$output"
  exit 1
fi
echo "layer includes: ok"
