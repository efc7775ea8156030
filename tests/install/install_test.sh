#!/bin/bash
# Installs the build into a temporary prefix, then builds and runs the examples of examples/
# against it, through the CMake package and through pkg-config, as another project would; then
# the same with shared libraries, from a build of the sources with LX_SHARED kept in
# BUILD_DIR/install-shared (built once, then brought up to date).
# Usage: install_test.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build=$1
source=$2
version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
# run LOG COMMAND...: the command's output goes to LOG, shown when it fails.
run() {
  local log=$1
  shift
  "$@" >"$log" 2>&1 || { cat "$log"; fail "$*"; }
}

# The files a program needs, and none of the layers' internal headers.
check_installed() {
  local prefix=$1
  for file in bin/lxform bin/lxpld bin/lxpo include/lx/dict/LxBinDic.h \
              include/lx/framework/core/Object.h include/lx/framework/runtime/FrameworkStrings.h \
              include/lx/translator/LxPoly.h include/lx/screen/Screen.h \
              lib/cmake/Lx/LxConfig.cmake lib/cmake/Lx/LxForms.cmake lib/cmake/Lx/Resource.cpp.in \
              lib/pkgconfig/lx.pc lib/pkgconfig/lx-screen.pc share/lx/forms/dmLanguages.lxfm \
              share/man/man1/lxform.1 share/man/man1/lxpld.1 share/man/man1/lxpo.1 \
              share/doc/lx/getting-started.md share/doc/lx/translators.md share/doc/lx/lxpld.md \
              libexec/lx/lx_stringtable; do
    [ -e "$prefix/$file" ] || fail "not installed: $file"
  done
  [ -z "$(find "$prefix/include/lx" -name '*.cpp')" ] || fail "sources installed as headers"
  [ -z "$(find "$prefix/include/lx" -name internal)" ] || fail "internal headers installed"
  ! grep -rlE '#include "[a-z]+/(.*/)?internal/|#include <(unicode|gtk)/' "$prefix/include/lx" ||
    fail "a public header includes an internal, ICU or GTK header"
}

# Every option of each tool's --help is in its man page.
check_man_pages() {
  local prefix=$1 tool options documented
  for tool in lxform lxpld lxpo; do
    options=$("$prefix/bin/$tool" --help | grep -oE '(^|[][ |(,])--?[a-z][a-z0-9-]*' |
              grep -oE -- '--?[a-z][a-z0-9-]*' | sort -u)
    documented=$(sed 's/\\-/-/g' "$prefix/share/man/man1/$tool.1" |
                 grep -oE -- '--?[a-z][a-z0-9-]*' | sort -u)
    missing=$(comm -23 <(echo "$options") <(echo "$documented") | tr '\n' ' ')
    [ -z "$missing" ] || fail "$tool.1 lacks $missing"
    [ "$("$prefix/bin/$tool" --version)" = "$tool (Lx) $version" ] || fail "$tool --version"
  done
  # The files the help texts point to are installed.
  for tool in lxform lxpld lxpo; do
    for doc in $("$prefix/bin/$tool" --help | grep -oE '[a-z-]+\.md' | sort -u); do
      [ -e "$prefix/share/doc/lx/$doc" ] || fail "$tool --help points to $doc, not installed"
    done
  done
}

# find_package(Lx) leaves the caller's variables alone (ICU_FOUND, ICU_LIBRARIES, ...).
check_no_leaks() {
  local prefix=$1 dir=$work/leaks
  mkdir -p "$dir"
  cat >"$dir/CMakeLists.txt" <<'EOF'
cmake_minimum_required(VERSION 3.25)
project(LeakCheck LANGUAGES CXX)
set(ICU_FOUND "the caller's")
get_cmake_property(check_before VARIABLES)
find_package(Lx CONFIG REQUIRED)
get_cmake_property(check_after VARIABLES)
list(REMOVE_ITEM check_after ${check_before})
# Lx's own names, find_package's, and the cache entries FindPkgConfig makes whoever calls it.
list(FILTER check_after EXCLUDE REGEX
     "^(Lx_|LX_|_lx_|PACKAGE_|PKG_CONFIG_|CMAKE_|_CMAKE_|__pkg_config|pkgcfg_lib_LX_|prefix_result$|check_before$)")
if(check_after OR NOT ICU_FOUND STREQUAL "the caller's")
  message(FATAL_ERROR "find_package(Lx) set: ${check_after} (ICU_FOUND: ${ICU_FOUND})")
endif()
EOF
  run "$work/leaks.log" cmake -S "$dir" -B "$dir/build" -G Ninja -DCMAKE_PREFIX_PATH="$prefix"
}

# Both examples through the CMake package, built without CMAKE_CXX_STANDARD (the targets bring
# C++20), run; translate-form through pkg-config as well; LABEL names the run.
check_examples() {
  local prefix=$1 label=$2 dir=$work/$2
  mkdir -p "$dir"
  for example in translate-form show-form; do
    run "$dir/$example-configure.log" cmake -S "$source/examples/$example" -B "$dir/$example" \
      -G Ninja -DCMAKE_PREFIX_PATH="$prefix"
    run "$dir/$example-build.log" cmake --build "$dir/$example"
  done
  (cd "$dir/translate-form" && ./translate-form .) >"$dir/translate.out" ||
    fail "running translate-form ($label)"
  diff -u "$source/examples/translate-form/expected.txt" "$dir/translate.out" ||
    fail "translate-form's output ($label)"
  for language in Arabic German; do
    env -u DISPLAY -u WAYLAND_DISPLAY "$dir/show-form/show-form" "$language" \
      >"$dir/show-$language.out" || fail "running show-form $language ($label)"
  done
  cat "$dir/show-Arabic.out" "$dir/show-German.out" >"$dir/show.out"
  diff -u "$source/examples/show-form/expected.txt" "$dir/show.out" ||
    fail "show-form's output ($label)"

  mkdir "$dir/pc"
  local rpath=""
  [ -e "$prefix/lib/liblx_platform.so" ] && rpath="-Wl,-rpath,$prefix/lib"
  # shellcheck disable=SC2046
  PKG_CONFIG_PATH=$prefix/lib/pkgconfig c++ -std=c++20 "$source/examples/translate-form/main.cpp" \
    -o "$dir/pc/translate-form" $(PKG_CONFIG_PATH=$prefix/lib/pkgconfig pkg-config --cflags \
    --libs lx) $rpath || fail "building translate-form with pkg-config ($label)"
  [ "$(PKG_CONFIG_PATH=$prefix/lib/pkgconfig pkg-config --modversion lx-screen)" = "$version" ] ||
    fail "pkg-config --modversion lx-screen"
  "$prefix/bin/lxpld" build "$source/examples/translate-form/greeting.json" \
    -o "$dir/pc/greeting.pld" 2>/dev/null
  cp "$source/examples/translate-form/Greeting.lxfm" "$dir/pc/"
  (cd "$dir/pc" && ./translate-form .) >"$dir/pc.out" || fail "running translate-form ($label)"
  diff -u "$source/examples/translate-form/expected.txt" "$dir/pc.out" ||
    fail "translate-form's output (pkg-config, $label)"
}

# Static libraries: the build under test.
static=$work/static
run "$work/install.log" cmake --install "$build" --prefix "$static"
check_installed "$static"
check_man_pages "$static"
check_no_leaks "$static"
check_examples "$static" static

# Shared libraries: versioned sonames, internals kept inside.
shared_build=$build/install-shared
launcher=$(sed -n 's/^CMAKE_CXX_COMPILER_LAUNCHER:[A-Z]*=//p' "$build/CMakeCache.txt")
run "$work/shared-configure.log" cmake -S "$source" -B "$shared_build" -G Ninja \
  -DCMAKE_BUILD_TYPE=None -DLX_SHARED=ON -DLX_TESTS=OFF -DCMAKE_CXX_COMPILER_LAUNCHER="$launcher"
run "$work/shared-build.log" cmake --build "$shared_build"
shared=$work/shared
run "$work/shared-install.log" cmake --install "$shared_build" --prefix "$shared"
check_installed "$shared"
for layer in platform framework lang dict translator frame screen; do
  library=$shared/lib/liblx_$layer.so
  [ -e "$library.$version" ] || fail "no liblx_$layer.so.$version"
  objdump -p "$library" | grep -qE "SONAME +liblx_$layer\.so\.$version$" ||
    fail "liblx_$layer.so has no versioned soname"
done
platform_symbols=$(nm -D --defined-only "$shared/lib/liblx_platform.so" | c++filt)
screen_symbols=$(nm -D --defined-only "$shared/lib/liblx_screen.so" | c++filt)
grep -qF 'lx::platform::GetLocaleInfo[' <<<"$platform_symbols" || fail "GetLocaleInfo hidden"
grep -qF 'lx::screen::Install(' <<<"$screen_symbols" || fail "screen::Install hidden"
! grep -qF 'lx::platform::IcuLocaleFor(' <<<"$platform_symbols" ||
  fail "an internal function of the platform layer is exported"
! grep -qF 'lx::screen::NewFixedBox(' <<<"$screen_symbols" ||
  fail "an internal function of the screen layer is exported"
[ "$("$shared/bin/lxpld" --version)" = "lxpld (Lx) $version" ] || fail "the shared lxpld"
check_examples "$shared" shared
echo "installed, built and ran the examples with static and with shared libraries"
