#!/usr/bin/env bash
# Feeds bad string tables to the string-table compiler and checks that each
# stops the build with its exact message, and that a good one compiles.
# Usage: compiler_errors.sh <lx_stringtable>
set -uo pipefail
compiler=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# expect_error <message after "table.strings:<line>: error: "> <line number> <table text>
expect_error() {
  local message=$1 line=$2 text=$3
  printf '%s' "$text" > "$work/table.strings"
  local got status
  got=$("$compiler" "$work/table.strings" "$work/out.h" "$work/out.cpp" T lx T.h 2>&1)
  status=$?
  local want="$work/table.strings:$line: error: $message"
  if [[ $status -ne 1 || "$got" != "$want" ]]; then
    echo "FAILED: wanted [$want] (status 1), got [$got] (status $status)"
    failures=$((failures + 1))
  fi
}

expect_error 'expected a name' 1 $'1abc 5 "x"\n'
expect_error 'expected an identifier' 2 $'# comment\nSName "x"\n'
expect_error 'identifier 65536 is out of range 0..65535' 1 $'SName 65536 "x"\n'
expect_error 'identifier 0000070000 is out of range 0..65535' 1 $'SName 0000070000 "x"\n'
expect_error 'expected a quoted text' 1 $'SName 5 x\n'
expect_error 'expected a quoted text' 1 $'SName 5\n'
expect_error 'unterminated text' 1 $'SName 5 "abc\n'
expect_error 'unterminated text' 1 $'SName 5 "abc\\'
expect_error 'unknown escape \q' 1 $'SName 5 "a\\q"\n'
expect_error '\x needs two hexadecimal digits' 1 $'SName 5 "\\x4"\n'
expect_error 'unexpected characters after the text' 1 $'SName 5 "a" b\n'
expect_error 'duplicate name SA' 3 $'SA 1 "a"\n\nSA 2 "b"\n'
expect_error 'duplicate identifier 5 (also used by SA)' 2 $'SA 5 "a"\r\nSB 5 "b"\r\n'
long=$(printf 'x%.0s' $(seq 1025))
expect_error 'the text of SLong is longer than 1024 characters' 1 "SLong 9 \"$long\""

# A table at the limits compiles, with its records in the header.
printf 'SA 0 ""\n  SB 65535 "%s" # the longest text\n' "${long:1}" > "$work/good.strings"
if ! "$compiler" "$work/good.strings" "$work/good.h" "$work/good.cpp" Good a::b Good.h; then
  echo "FAILED: the good table did not compile"
  failures=$((failures + 1))
elif ! grep -q 'inline constexpr ::lx::framework::TResStringRec SB{0, 65535};' "$work/good.h" ||
     ! grep -q 'void RegisterGood();' "$work/good.h"; then
  echo "FAILED: the header lacks the records"
  failures=$((failures + 1))
fi

if ! "$compiler" "$work/missing.strings" "$work/m.h" "$work/m.cpp" M lx M.h 2>/dev/null; then :; else
  echo "FAILED: a missing table compiled"
  failures=$((failures + 1))
fi

# A folder is no empty table.
got=$("$compiler" "$work" "$work/d.h" "$work/d.cpp" D lx D.h 2>&1)
if [[ $? -ne 1 || "$got" != "$work: error: is a folder, not a string table" ]]; then
  echo "FAILED: a folder as the table gave [$got]"
  failures=$((failures + 1))
fi

exit $((failures > 0))
