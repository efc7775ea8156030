#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/FileSystem.h"
#include "support/TempFolder.h"

namespace lx::platform {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Names(const std::vector<FoundEntry>& entries) {
  std::vector<std::string> names;
  for (const FoundEntry& entry : entries)
    names.push_back(entry.name);
  std::sort(names.begin(), names.end());
  return names;
}

class FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = temp_.Text();
    std::ofstream(root_ + "a.txt") << "a";
    std::ofstream(root_ + "b.pld") << "b";
    std::ofstream(root_ + ".hidden") << "h";
    fs::create_directory(root_ + "sub");
    fs::create_symlink(root_ + "sub", root_ + "link");
  }

  support::TempFolder temp_;
  std::string root_;
};

TEST_F(FileSystemTest, KnowsTheExecutableAndTheTemporaryFolder) {
  EXPECT_TRUE(FileExists(ExecutablePath()));
  EXPECT_EQ(ExecutablePath().front(), '/');
  EXPECT_TRUE(DirectoryExists(TemporaryFolder()));
  EXPECT_EQ(WindowsFolderOfSystem(), "");
}

TEST_F(FileSystemTest, ReportsAttributesOfTheEntryItself) {
  EXPECT_EQ(GetFileAttributes(root_ + "a.txt"), faArchive);
  EXPECT_EQ(GetFileAttributes(root_ + "sub"), faDirectory);
  EXPECT_EQ(GetFileAttributes(root_ + ".hidden"), faArchive | faHidden);
  EXPECT_EQ(GetFileAttributes(root_ + "link"), faSymLink);
  EXPECT_EQ(GetFileAttributes(root_ + "missing"), std::nullopt);
  EXPECT_EQ(GetFileAttributes(""), std::nullopt);
  // Existence follows links, as opening the path would.
  EXPECT_TRUE(DirectoryExists(root_ + "link"));
  EXPECT_FALSE(FileExists(root_ + "sub"));
  EXPECT_TRUE(FileExists(root_ + "a.txt"));
}

TEST_F(FileSystemTest, ListsByMaskAndAttributes) {
  EXPECT_EQ(Names(FindFiles(root_ + "*.*", faAnyFile)),
            (std::vector<std::string>{".", "..", ".hidden", "a.txt", "b.pld", "link", "sub"}));
  EXPECT_EQ(Names(FindFiles(root_ + "*.pld", faAnyFile)), (std::vector<std::string>{"b.pld"}));
  // Folders and hidden entries only when asked for.
  EXPECT_EQ(Names(FindFiles(root_ + "*", 0)), (std::vector<std::string>{"a.txt", "b.pld", "link"}));
  EXPECT_TRUE(FindFiles(root_ + "missing/*.*", faAnyFile).empty());
  EXPECT_TRUE(MatchesMask("probe", "*.*"));
  EXPECT_TRUE(MatchesMask("a.txt", "?.t*"));
  EXPECT_FALSE(MatchesMask("a.txt", "*.TXT"));
}

TEST_F(FileSystemTest, CreatesDeletesAndRemoves) {
  EXPECT_TRUE(CreateFolderTree(root_ + "x/y/z/"));
  EXPECT_TRUE(DirectoryExists(root_ + "x/y/z"));
  EXPECT_FALSE(CreateFolderTree(""));
  EXPECT_FALSE(RemoveFolder(root_ + "x"));  // not empty
  EXPECT_TRUE(RemoveFolder(root_ + "x/y/z"));
  EXPECT_FALSE(DeleteFile(root_ + "sub"));
  EXPECT_TRUE(DeleteFile(root_ + "link"));  // the link goes, its target stays
  EXPECT_TRUE(DirectoryExists(root_ + "sub"));
  EXPECT_TRUE(DeleteFile(root_ + "a.txt"));
  EXPECT_FALSE(DeleteFile(root_ + "a.txt"));
}

}  // namespace
}  // namespace lx::platform
