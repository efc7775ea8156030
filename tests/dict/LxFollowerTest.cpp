#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "dict/LxFollower.h"
#include "framework/runtime/Application.h"
#include "framework/runtime/MessageLoop.h"
#include "support/TempFolder.h"

namespace lx::dict {
namespace {

class LxFollowerTest : public ::testing::Test {
 protected:
  LxFollowerTest() : file_(temp_.Text() + "d.pld") { Replace(); }
  ~LxFollowerTest() override { framework::DoneApplication(); }
  void Replace() {
    std::ofstream(file_ + ".tmp") << "x";
    std::filesystem::rename(file_ + ".tmp", file_);
  }

  support::TempFolder temp_;
  std::string file_;
  int changes_ = 0;
};

// What the loop delivers reaches the follower's owner only as a posted action.
TEST_F(LxFollowerTest, AChangeIsPostedOnceAndDroppedWithTheFollower) {
  struct Case {
    const char* what;
    int replacements;
    bool destroyBeforeRun;
    int changes;
  };
  const Case cases[] = {
      {"one replacement", 1, false, 1},
      {"two before the action runs", 2, false, 1},
      {"the follower gone before it runs", 1, true, 0},
  };
  for (const Case& c : cases) {
    changes_ = 0;
    auto follower = std::make_unique<TLxFileFollower>(file_, [this] { ++changes_; });
    for (int i = 0; i < c.replacements; ++i) {
      Replace();
      EXPECT_TRUE(framework::DispatchInput(1000)) << c.what;
    }
    EXPECT_EQ(changes_, 0) << c.what << ": not before the posted action runs";
    if (c.destroyBeforeRun) follower.reset();
    framework::Application().ProcessMessages();
    EXPECT_EQ(changes_, c.changes) << c.what;
  }
}

}  // namespace
}  // namespace lx::dict
