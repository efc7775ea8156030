#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/FileSystem.h"
#include "support/ScopedEnvironment.h"
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

TEST(PrivateFolderTest, RootsComeFromTheRuntimeFolderThenTmpdirThenTmp) {
  support::ScopedEnvironment environment;
  environment.Set("XDG_RUNTIME_DIR", "/run/user/1000");
  environment.Set("TMPDIR", "/var/tmp");
  EXPECT_EQ(PrivateTemporaryRoots(),
            (std::vector<std::string>{"/run/user/1000", "/var/tmp", "/tmp"}));
  environment.Set("XDG_RUNTIME_DIR", nullptr);
  environment.Set("TMPDIR", "relative/tmp");
  EXPECT_EQ(PrivateTemporaryRoots(), (std::vector<std::string>{"/tmp"}));
}

class OwnFolderTest : public FileSystemTest {
 protected:
  void SetUp() override {
    FileSystemTest::SetUp();
    root_ = fs::canonical(temp_.Path()).string() + "/";
  }
  static unsigned ModeOf(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
  }
};

TEST_F(OwnFolderTest, PrivateFoldersAreNewEachTimeAndClosedToOthers) {
  fs::create_directory(root_ + "Probe");  // someone's folder of the bare name
  const std::string first = CreatePrivateFolder(root_, "Probe");
  const std::string second = CreatePrivateFolder(root_ + "link/..", "Probe");
  ASSERT_FALSE(first.empty());
  ASSERT_FALSE(second.empty());
  EXPECT_NE(first, second);
  EXPECT_TRUE(first.starts_with(root_ + "Probe-"));
  EXPECT_EQ(first.size(), root_.size() + 12);
  EXPECT_EQ(fs::canonical(second).string(), second);  // the parent's link is resolved
  EXPECT_EQ(ModeOf(first), 0700u);
  EXPECT_TRUE(fs::is_empty(root_ + "Probe"));
  EXPECT_EQ(CreatePrivateFolder(root_ + "missing", "Probe"), "");
  EXPECT_EQ(CreatePrivateFolder("", "Probe"), "");
}

TEST_F(OwnFolderTest, OwnFolderTreesAreCreatedPrivateAndNeverThroughALink) {
  EXPECT_TRUE(CreateOwnFolderTree(root_ + "temp/Probe/"));
  EXPECT_EQ(ModeOf(root_ + "temp"), 0700u);
  EXPECT_EQ(ModeOf(root_ + "temp/Probe"), 0700u);
  bool created = true;
  EXPECT_TRUE(CreateOwnFolderTree(root_ + "temp/Probe", &created));  // the user's own, again
  EXPECT_FALSE(created);
  EXPECT_TRUE(CreateOwnFolderTree(root_ + "temp/Probe/New", &created));
  EXPECT_TRUE(created);

  fs::create_directory(root_ + "outside");
  fs::create_directory_symlink(root_ + "outside", root_ + "temp/Linked");
  EXPECT_FALSE(CreateOwnFolderTree(root_ + "temp/Linked"));
  EXPECT_FALSE(CreateOwnFolderTree(root_ + "link/Below"));  // a link above
  EXPECT_FALSE(CreateOwnFolderTree(root_ + "a.txt/Below"));
  EXPECT_TRUE(fs::is_empty(root_ + "outside"));
  EXPECT_TRUE(fs::is_empty(root_ + "sub"));
  EXPECT_FALSE(CreateOwnFolderTree(""));
}

TEST_F(FileSystemTest, RegularFilesAreNeitherFoldersNorDevicesNorFifos) {
  ASSERT_EQ(mkfifo((root_ + "fifo").c_str(), 0600), 0);
  fs::create_symlink(root_ + "a.txt", root_ + "to-file");
  for (const char* name : {"a.txt", "to-file"})
    EXPECT_TRUE(RegularFileExists(root_ + name)) << name;
  for (const char* name : {"fifo", "sub", "link", "missing"})
    EXPECT_FALSE(RegularFileExists(root_ + name)) << name;
  EXPECT_FALSE(RegularFileExists("/dev/null"));
  EXPECT_FALSE(RegularFileExists(""));
}

// A folder held by a running process is never taken for a leftover; once let go it is one.
TEST_F(OwnFolderTest, HeldFoldersStayAndTheirLeftoversGo) {
  HeldFolder held = HeldFolder::Create(root_, "Probe");
  ASSERT_TRUE(held.Path().starts_with(root_ + "Probe-")) << held.Path();
  EXPECT_EQ(ModeOf(held.Path()), 0700u);
  std::ofstream(held.Path() + "/file") << "x";
  RemoveStaleFolders(root_, "Probe");
  EXPECT_TRUE(fs::exists(held.Path() + "/file"));
  const std::string path = held.Path();
  held.Release();
  EXPECT_TRUE(fs::exists(path + "/file"));
  RemoveStaleFolders(root_, "Other");
  EXPECT_TRUE(fs::exists(path));
  fs::create_directory(root_ + "Probe-hand01");  // the same pattern, made by someone else
  RemoveStaleFolders(root_, "Probe");
  EXPECT_FALSE(fs::exists(path));
  EXPECT_TRUE(fs::exists(root_ + "Probe-hand01"));
  EXPECT_TRUE(HeldFolder::Create(root_ + "missing", "Probe").Path().empty());
}

TEST_F(OwnFolderTest, AFolderOfAnotherUserIsNotTaken) {
  if (geteuid() != 0) {
    EXPECT_FALSE(CreateOwnFolderTree("/"));  // root's
    return;
  }
  fs::create_directory(root_ + "theirs");
  ASSERT_EQ(chown((root_ + "theirs").c_str(), 65534, 65534), 0);
  EXPECT_FALSE(CreateOwnFolderTree(root_ + "theirs"));
  EXPECT_FALSE(CreateOwnFolderTree(root_ + "theirs/"));
  // Nor is another user's folder named like a leftover removed.
  fs::create_directory(root_ + "Probe-abc123");
  ASSERT_EQ(chown((root_ + "Probe-abc123").c_str(), 65534, 65534), 0);
  RemoveStaleFolders(root_, "Probe");
  EXPECT_TRUE(fs::exists(root_ + "Probe-abc123"));
}

TEST_F(OwnFolderTest, RemovalFollowsNoLinkOnTheWayOrInside) {
  fs::create_directories(root_ + "sub/tree/deeper");
  std::ofstream(root_ + "sub/tree/deeper/file") << "x";
  fs::create_directory_symlink(root_ + "sub", root_ + "tree-link");
  fs::create_directory_symlink(root_ + "sub", root_ + "sub/tree/inner-link");
  EXPECT_FALSE(RemoveFolderTreeByDescriptor(root_ + "link/tree"));  // a link above
  EXPECT_FALSE(RemoveFolderTreeByDescriptor(root_ + "tree-link"));  // the folder is a link
  EXPECT_TRUE(fs::exists(root_ + "sub/tree/deeper/file"));
  EXPECT_TRUE(RemoveFolderTreeByDescriptor(root_ + "sub/tree"));
  EXPECT_FALSE(fs::exists(root_ + "sub/tree"));
  EXPECT_TRUE(fs::exists(root_ + "sub"));
  EXPECT_FALSE(RemoveFolderTreeByDescriptor("/"));
  EXPECT_FALSE(RemoveFolderTreeByDescriptor(root_ + ".."));
}

TEST_F(OwnFolderTest, AFolderSwappedForALinkDuringTheWalkIsNotEntered) {
  fs::create_directories(root_ + "outside");
  std::ofstream(root_ + "outside/precious") << "x";
  fs::create_directories(root_ + "scratch/work");
  std::ofstream(root_ + "scratch/work/tmp") << "x";
  std::ofstream(root_ + "scratch/file") << "x";
  SetRemovalWalkHook([&](int, const std::string& name) {
    if (name != "work") return;
    fs::rename(root_ + "scratch/work", root_ + "moved");
    fs::create_directory_symlink(root_ + "outside", root_ + "scratch/work");
  });
  const bool removed = RemoveFolderTreeByDescriptor(root_ + "scratch");
  SetRemovalWalkHook({});
  EXPECT_FALSE(removed);
  EXPECT_TRUE(fs::exists(root_ + "outside/precious"));
  EXPECT_FALSE(fs::exists(root_ + "scratch/file"));
  EXPECT_TRUE(fs::is_symlink(root_ + "scratch/work"));
}

TEST_F(OwnFolderTest, TheNamedFolderSwappedForALinkIsNotEntered) {
  fs::create_directories(root_ + "outside");
  std::ofstream(root_ + "outside/precious") << "x";
  fs::create_directories(root_ + "scratch");
  SetRemovalWalkHook([&](int, const std::string& name) {
    if (name != "scratch") return;
    fs::remove(root_ + "scratch");
    fs::create_directory_symlink(root_ + "outside", root_ + "scratch");
  });
  const bool removed = RemoveFolderTreeByDescriptor(root_ + "scratch");
  SetRemovalWalkHook({});
  EXPECT_FALSE(removed);
  EXPECT_TRUE(fs::exists(root_ + "outside/precious"));
}

TEST_F(OwnFolderTest, KeptNamesStayWithTheirFoldersAndLongNamesGoLikeShortOnes) {
  const std::string longName(200, 'n');
  fs::create_directories(root_ + "tree/" + longName + "/" + longName);
  std::ofstream(root_ + "tree/" + longName + "/" + longName + "/file") << "x";
  std::ofstream(root_ + "tree/" + longName + "/" + longName + "2") << "x";
  fs::create_directories(root_ + "tree/kept");
  std::ofstream(root_ + "tree/kept/.dot") << "x";
  const auto dotNames = [](std::string_view name) { return name.starts_with('.'); };
  EXPECT_FALSE(RemoveFolderTreeByDescriptor(root_ + "tree", dotNames));
  EXPECT_FALSE(fs::exists(root_ + "tree/" + longName));
  EXPECT_TRUE(fs::exists(root_ + "tree/kept/.dot"));
  EXPECT_TRUE(RemoveFolderTreeByDescriptor(root_ + "tree"));
}

}  // namespace
}  // namespace lx::platform
