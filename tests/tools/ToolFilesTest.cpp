#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/Raised.h"
#include "support/TempFolder.h"
#include "toolfiles/ToolFiles.h"

namespace lx::tools {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class ToolFilesTest : public ::testing::Test {
 protected:
  void Write(const std::string& name, const std::string& text) {
    std::ofstream(root_ + name, std::ios::binary) << text;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(root_ + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(root_))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  support::TempFolder temp_;
  std::string root_ = temp_.Text();
};

TEST_F(ToolFilesTest, ReadsFilesAndPipesAndRefusesWhatIsNoFile) {
  Write("form.txt", "object");
  EXPECT_EQ(ReadInputFile(root_ + "form.txt"), Bytes({'o', 'b', 'j', 'e', 'c', 't'}));

  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  ASSERT_EQ(write(ends[1], "piped", 5), 5);
  close(ends[1]);
  EXPECT_EQ(ReadInputFile("/dev/fd/" + std::to_string(ends[0])), Bytes({'p', 'i', 'p', 'e', 'd'}));
  close(ends[0]);

  EXPECT_RAISES(ReadInputFile(root_), platform::Exception, root_ + ": is a folder");
  EXPECT_RAISES(ReadInputFile(root_ + "none"), platform::Exception,
                root_ + "none: cannot be opened: No such file or directory");
  EXPECT_RAISES(ReadInputFile(root_ + "form.txt", 5), platform::Exception,
                root_ + "form.txt: is larger than 5 bytes");
  EXPECT_EQ(ReadInputFile(root_ + "form.txt", 6).size(), 6u);
}

TEST_F(ToolFilesTest, OutputReplacesTheTargetWholeKeepingItsPermissions) {
  const Bytes bytes{'n', 'e', 'w'};
  WriteOutputFile(root_ + "fresh.bin", bytes);
  EXPECT_EQ(Read("fresh.bin"), "new");
  const mode_t mask = umask(0);
  umask(mask);
  EXPECT_EQ(fs::status(root_ + "fresh.bin").permissions(), fs::perms(0666 & ~mask));

  Write("old.bin", "old content");
  fs::permissions(root_ + "old.bin", fs::perms(0640));
  WriteOutputFile(root_ + "old.bin", bytes);
  EXPECT_EQ(Read("old.bin"), "new");
  EXPECT_EQ(fs::status(root_ + "old.bin").permissions(), fs::perms(0640));
  EXPECT_EQ(Names(), (std::vector<std::string>{"fresh.bin", "old.bin"}));  // no leftovers
}

TEST_F(ToolFilesTest, AFailedWriteLeavesTheTargetAndNoTemporaryFile) {
  fs::create_directory(root_ + "folder");
  Write("folder/inside", "kept");
  EXPECT_RAISES(WriteOutputFile(root_ + "folder", Bytes{1}), platform::Exception,
                root_ + "folder: cannot be written: Is a directory");
  EXPECT_EQ(Read("folder/inside"), "kept");
  EXPECT_RAISES(WriteOutputFile(root_ + "missing/out", Bytes{1}), platform::Exception,
                root_ + "missing/out: cannot be written: No such file or directory");
  EXPECT_RAISES(WriteOutputFile(root_, Bytes{1}), platform::Exception,
                root_ + ": cannot be written: Is a directory");
  EXPECT_RAISES(WriteOutputFile("", Bytes{1}), platform::Exception, "the output file has no name");
  EXPECT_EQ(Names(), (std::vector<std::string>{"folder"}));
}

TEST_F(ToolFilesTest, KnowsTheSameFileUnderAnotherName) {
  Write("a.json", "{}");
  Write("b.json", "{}");
  fs::create_symlink(root_ + "a.json", root_ + "link.json");
  EXPECT_TRUE(IsSameFile(root_ + "a.json", root_ + "link.json"));
  EXPECT_TRUE(IsSameFile(root_ + "a.json", root_ + "./a.json"));
  EXPECT_FALSE(IsSameFile(root_ + "a.json", root_ + "b.json"));
  EXPECT_FALSE(IsSameFile(root_ + "a.json", root_ + "none.json"));
}

TEST(ToolTextsTest, QuoteExcerptsAndCountNouns) {
  EXPECT_EQ(Excerpt("short"), "short");
  EXPECT_EQ(Excerpt(std::string(100, 'x'), 10), "xxxxxxxxxx...");
  EXPECT_EQ(Excerpt("abcd\xC3\xA9", 5), "abcd...");  // never half a character
  EXPECT_EQ(ShortenQuoted("last read: '" + std::string(70000, 'x') + "'", 3),
            "last read: 'xxx...'");
  EXPECT_EQ(ShortenQuoted("no quote"), "no quote");
  EXPECT_EQ(Counted(1, "language"), "1 language");
  EXPECT_EQ(Counted(2, "language"), "2 languages");
  EXPECT_EQ(Counted(0, "text"), "0 texts");
}

}  // namespace
}  // namespace lx::tools
