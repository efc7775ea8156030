# Sourced by the screen scripts: fail(), and the restart of the calling script on a virtual X
# server of its own. The scripts fail, with the reason, when no X server can be started: they
# never pass by skipping.

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# restart_on_display USAGE COUNT "TOOLS" ARGS...: unless ARGS start with --on-display, checks
# that ARGS are COUNT and that TOOLS are installed, runs the calling script again under xvfb-run
# as `SCRIPT --on-display ROOT ARGS...` (ROOT a scratch folder, removed at the end) and exits
# with its status. On the display the script touches ROOT/display-reached first.
restart_on_display() {
  local usage=$1 count=$2 tools=$3
  shift 3
  [ "${1:-}" = --on-display ] && return 0
  [ "$#" -eq "$count" ] || fail "usage: $usage"
  local tool
  for tool in xvfb-run Xvfb $tools; do
    command -v "$tool" >/dev/null ||
      fail "$tool is missing (packages xvfb, xdotool, imagemagick; make test installs them)"
  done
  root=$(mktemp -d)
  trap 'rm -rf "$root"' EXIT
  unset WAYLAND_DISPLAY
  local status=0
  xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96 -nolisten tcp" \
    "$0" --on-display "$root" "$@" || status=$?
  [ -e "$root/display-reached" ] ||
    fail "no X server could be started (xvfb-run ended with $status): the test cannot run"
  exit "$status"
}

# Waits up to ten seconds for the title of $window to become $1; probe's standard error, if
# the script keeps it, is in $root/err.
expect_title() {
  local title=
  for _ in $(seq 50); do
    title=$(xdotool getwindowname "$window")
    [ "$title" = "$1" ] && return 0
    sleep 0.2
  done
  fail "title '$title', expected '$1' (probe said: $(cat "$root/err" 2>/dev/null))"
}
