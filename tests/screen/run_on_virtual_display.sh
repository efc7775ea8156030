#!/bin/bash
# Runs the screen suite on a virtual X server of its own. Fails, with the reason, when none
# can be started: the suite never passes by skipping.
set -u
suite=$1
if ! command -v xvfb-run >/dev/null; then
  echo "screen tests: xvfb-run is missing (Debian package xvfb); make test installs it" >&2
  exit 1
fi
# Whatever display the caller has, the suite gets a fresh one of a known size.
unset WAYLAND_DISPLAY
exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96 -nolisten tcp" "$suite"
