#include <gtest/gtest.h>
#include <unistd.h>

#include "ScreenFixture.h"
#include "framework/runtime/MessageLoop.h"
#include "screen/internal/InputSources.h"

namespace lx::screen::test {
namespace {

using namespace framework;

using InputSourcesTest = ScreenTest;

TEST_F(InputSourcesTest, AWatchedDescriptorIsServedByTheGtkLoop) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  int runs = 0;
  WatchInput(fds[0], [&] {
    char byte;
    EXPECT_EQ(read(fds[0], &byte, 1), 1);
    ++runs;
  });
  ASSERT_EQ(write(fds[1], "x", 1), 1);
  for (int i = 0; i < 100 && runs == 0; ++i)
    g_main_context_iteration(nullptr, TRUE);
  UnwatchInput(fds[0]);
  close(fds[0]);
  close(fds[1]);
  EXPECT_EQ(runs, 1);
}

}  // namespace
}  // namespace lx::screen::test
