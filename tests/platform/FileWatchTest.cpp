#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "platform/FileWatch.h"
#include "support/Raised.h"
#include "support/TempFolder.h"

namespace lx::platform {
namespace {

void Write(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// Each action answers a descriptor it left open (-1 for none), closed once the changes
// were taken.
TEST(FileWatchTest, OnlyFinishedWritesOfTheFileCount) {
  struct Case {
    const char* what;
    std::function<int(const std::string& folder)> action;
    bool changed;
  };
  const Case cases[] = {
      {"written in place", [](const std::string& f) { return Write(f + "d.pld", "new"), -1; },
       true},
      {"renamed over it",
       [](const std::string& f) {
         Write(f + "d.tmp", "new");
         std::filesystem::rename(f + "d.tmp", f + "d.pld");
         return -1;
       },
       true},
      {"another file written", [](const std::string& f) { return Write(f + "e.pld", "x"), -1; },
       false},
      {"only read", [](const std::string& f) { return std::ifstream(f + "d.pld").get(), -1; },
       false},
      {"still being written",
       [](const std::string& f) {
         const int fd = open((f + "d.pld").c_str(), O_WRONLY | O_TRUNC);
         return write(fd, "half", 4) == 4 ? fd : -1;
       },
       false},
  };
  for (const Case& c : cases) {
    support::TempFolder temp;
    Write(temp.Text() + "d.pld", "old");
    TFileWatch watch(temp.Text() + "d.pld");
    const int left = c.action(temp.Text());
    EXPECT_EQ(watch.TakeChanges(), c.changed) << c.what;
    EXPECT_FALSE(watch.TakeChanges()) << c.what << ": taken once";
    if (left >= 0) {
      close(left);
      EXPECT_TRUE(watch.TakeChanges()) << c.what << ": closed at last";
    }
  }
}

TEST(FileWatchTest, AFolderThatCannotBeWatchedIsAnError) {
  EXPECT_RAISES(TFileWatch("/nonexistent-folder/d.pld"), Exception,
                "cannot follow /nonexistent-folder/d.pld: No such file or directory");
}

}  // namespace
}  // namespace lx::platform
