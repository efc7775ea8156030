#!/bin/bash
# Installs the build into a temporary prefix, then builds and runs the example of examples/
# against it, once through the CMake package and once through pkg-config, as another project
# would. Usage: install_test.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build=$1
source=$2
version=$3
example=$source/examples/translate-form
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$work/prefix" > "$work/install.log" ||
  { cat "$work/install.log"; fail "cmake --install"; }
prefix=$work/prefix
for file in bin/lxform bin/lxpld bin/lxpo include/lx/dict/LxBinDic.h include/lx/framework/core/Object.h \
            include/lx/framework/runtime/FrameworkStrings.h include/lx/translator/LxPoly.h \
            lib/cmake/Lx/LxConfig.cmake lib/pkgconfig/lx.pc share/man/man1/lxpld.1; do
  [ -e "$prefix/$file" ] || fail "not installed: $file"
done
[ -z "$(find "$prefix/include/lx" -name '*.cpp')" ] || fail "sources installed as headers"

for tool in lxform lxpld lxpo; do
  [ "$("$prefix/bin/$tool" --version)" = "$tool (Lx) $version" ] || fail "$tool --version"
done

expected=$example/expected.txt

# Through the CMake package.
cmake -S "$example" -B "$work/cmake" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
  > "$work/configure.log" 2>&1 || { cat "$work/configure.log"; fail "find_package(Lx)"; }
cmake --build "$work/cmake" > "$work/build.log" 2>&1 ||
  { cat "$work/build.log"; fail "building the example with find_package"; }
(cd "$work/cmake" && ./translate-form .) > "$work/cmake.out" || fail "running the example"
diff -u "$expected" "$work/cmake.out" || fail "the example's output (find_package)"

# Through pkg-config.
mkdir "$work/pc"
export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
[ "$(pkg-config --modversion lx)" = "$version" ] || fail "pkg-config --modversion lx"
# shellcheck disable=SC2046
c++ -std=c++20 "$example/main.cpp" -o "$work/pc/translate-form" \
  $(pkg-config --cflags --libs lx) || fail "building the example with pkg-config"
"$prefix/bin/lxpld" build "$example/greeting.json" -o "$work/pc/greeting.pld"
cp "$example/Greeting.lxfm" "$work/pc/"
(cd "$work/pc" && ./translate-form .) > "$work/pc.out" || fail "running the example"
diff -u "$expected" "$work/pc.out" || fail "the example's output (pkg-config)"
echo "installed, built and ran the example both ways"
