// The screen suite needs a display: `make test` runs it on a virtual X server (xvfb-run). Run
// by hand without one, it fails at once and says so; it never skips.
#include <gtest/gtest.h>

#include <cstdio>

#include "screen/Screen.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (!lx::screen::Install(argc, argv)) {
    std::fprintf(stderr,
                 "screen_tests: no display could be opened ($DISPLAY or $WAYLAND_DISPLAY); run "
                 "them on a virtual X server: xvfb-run -a %s\n",
                 argv[0]);
    return 1;
  }
  const int result = RUN_ALL_TESTS();
  lx::screen::Uninstall();
  return result;
}
