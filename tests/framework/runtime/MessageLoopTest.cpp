#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "framework/controls/Dialogs.h"
#include "framework/runtime/Application.h"
#include "framework/runtime/MessageLoop.h"

namespace lx::framework {
namespace {

// A loop that records what it is told to watch.
class TRecordingLoop : public TMessageLoop {
 public:
  void HandleMessage() override {}
  void Wake() override {}
  void InputWatched(int fd, bool watched) override {
    told.push_back(std::to_string(fd) + (watched ? "+" : "-"));
  }
  std::vector<std::string> told;
};

class InputWatchTest : public ::testing::Test {
 protected:
  InputWatchTest() {
    EXPECT_EQ(pipe(pipe_), 0);
    previousSink_ = SetDialogSink([this](const TDialogRequest& request) {
      shown.push_back(request.text);
      return request.defaultResult;
    });
  }
  ~InputWatchTest() override {
    UnwatchInput(pipe_[0]);
    close(pipe_[0]);
    close(pipe_[1]);
    SetDialogSink(previousSink_);
    DoneApplication();
  }
  void MakeReadable() { ASSERT_EQ(write(pipe_[1], "x", 1), 1); }
  void Drain() {
    char byte;
    ASSERT_EQ(read(pipe_[0], &byte, 1), 1);
  }

  int pipe_[2] = {-1, -1};
  TDialogSink previousSink_;
  std::vector<std::string> shown;
};

TEST_F(InputWatchTest, AWatchedDescriptorRunsItsHandlerWhenReadable) {
  int runs = 0;
  WatchInput(pipe_[0], [&] {
    Drain();
    ++runs;
  });
  EXPECT_FALSE(DispatchInput(0));
  MakeReadable();
  EXPECT_TRUE(DispatchInput(1000));
  EXPECT_EQ(runs, 1);
  UnwatchInput(pipe_[0]);
  MakeReadable();
  EXPECT_FALSE(DispatchInput(0));
  EXPECT_EQ(runs, 1);
}

TEST_F(InputWatchTest, AHandlersErrorGoesToTheApplication) {
  WatchInput(pipe_[0], [&] {
    Drain();
    throw EInvalidOperation("Cannot read");
  });
  MakeReadable();
  EXPECT_TRUE(DispatchInput(1000));
  EXPECT_EQ(shown, std::vector<std::string>{"Cannot read."});
}

TEST_F(InputWatchTest, TheWatchesMoveWithTheInstalledLoop) {
  TRecordingLoop loop;
  WatchInput(pipe_[0], [] {});
  TMessageLoop* previous = SetMessageLoop(&loop);
  WatchInput(pipe_[0], [] {});  // a new handler, no new watch
  UnwatchInput(pipe_[0]);
  WatchInput(pipe_[0], [] {});
  SetMessageLoop(previous);
  const std::string fd = std::to_string(pipe_[0]);
  EXPECT_EQ(loop.told, (std::vector<std::string>{fd + "+", fd + "-", fd + "+", fd + "-"}));
}

}  // namespace
}  // namespace lx::framework
