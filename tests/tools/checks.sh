# Shared by the tools' command-line tests: a private work folder removed on exit,
# `fail` to count a failed check, and `finish` to report and set the exit status.
# Usage: source "$(dirname "$0")/checks.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

# finish <what was checked>
finish() {
  if [[ $failures -ne 0 ]]; then
    echo "$1: $failures check(s) failed"
    exit 1
  fi
  echo "$1: all checks passed"
}
