#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "frame/lbPaths.h"
#include "framework/runtime/FormatSettings.h"
#include "support/ScopedEnvironment.h"
#include "support/TempFolder.h"

namespace lx::frame {
namespace {

namespace fs = std::filesystem;
constexpr PathStyle kWin = PathStyle::Windows;
constexpr PathStyle kPosix = PathStyle::Posix;

TEST(lbPathsTest, DerivesWindowsCompanionPathsInLowerCase) {
  EXPECT_EQ(PathWithoutExtension("C:\\Tools\\Probe.old.exe", kWin), "C:\\Tools\\Probe.old");
  EXPECT_EQ(PathWithoutExtension("C:\\a.exe\\Probe", kWin), "C:\\a.exe\\Probe");
  EXPECT_EQ(SettingsFileFor("C:\\Tools\\Probe.old.exe", kWin), "c:\\tools\\probe.old.ini");
  EXPECT_EQ(SettingsFileFor("C:\\a.exe\\Probe.exe", kWin), "c:\\a.exe\\probe.ini");
  EXPECT_EQ(DictionaryFileFor("C:\\Tools\\Probe\\Probe.exe", kWin), "c:\\tools\\probe\\probe.pld");
  EXPECT_EQ(SettingsFileFor("", kWin), "");
}

TEST(lbPathsTest, NormalizesWindowsFolders) {
  EXPECT_EQ(NormalizeFolder("c:\\data", kWin), "C:\\DATA\\");
  EXPECT_EQ(NormalizeFolder("C:\\DATA\\\\", kWin), "C:\\DATA\\");
  EXPECT_EQ(NormalizeFolder("\\\\server\\\\\\tools", kWin), "\\\\SERVER\\TOOLS\\");
  EXPECT_EQ(NormalizeFolder("", kWin), "");
  EXPECT_EQ(ForceFolder("C:\\Tools\\TEMP", kWin), "c:\\tools\\temp\\");
  EXPECT_EQ(WindowsFolder(kWin), "");  // this host has no Windows folder
}

TEST(lbPathsTest, PlacesTheScratchFolderBesideTheExecutableOrInTheFallback) {
  EXPECT_EQ(
      ScratchFolderCandidates("C:\\Tools\\Probe\\Probe.exe", kWin, "C:\\WINDOWS\\"),
      (std::vector<std::string>{"c:\\tools\\probe\\temp\\probe\\", "c:\\windows\\temp\\probe\\"}));
  EXPECT_EQ(ScratchFolderCandidates("\\\\server\\tools\\Probe.exe", kWin, ""),
            (std::vector<std::string>{"\\\\server\\tools\\temp\\probe\\"}));
  // The POSIX fallback is a private folder made at start-up, not a fixed one.
  EXPECT_EQ(ScratchFolderCandidates("/opt/Probe/bin/Probe", kPosix, "/tmp"),
            (std::vector<std::string>{"/opt/Probe/bin/temp/Probe/"}));
  EXPECT_TRUE(ScratchFolderCandidates("C:\\Tools\\", kWin, "C:\\WINDOWS\\").empty());
}

TEST(lbPathsTest, KeepsTheCaseOfPosixPaths) {
  EXPECT_EQ(SettingsFileFor("/opt/Probe/bin/probe", kPosix), "/opt/Probe/bin/probe.ini");
  EXPECT_EQ(SettingsFileFor("/opt/Probe/bin/Probe.old.bin", kPosix),
            "/opt/Probe/bin/Probe.old.ini");
  EXPECT_EQ(NormalizeFolder("/Data//Sub///", kPosix), "/Data/Sub/");
  EXPECT_EQ(NormalizeFolder("//net/share", kPosix), "//net/share/");
}

TEST(lbPathsTest, TreatsPathsLongerThanTheLimitAsUnavailable) {
  const std::string folder = "C:\\" + std::string(245, 'x') + "\\";
  EXPECT_EQ(SettingsFileFor(folder + "Pr.exe", kWin).size(), 255u);
  EXPECT_EQ(SettingsFileFor(folder + "Pro.exe", kWin), "");
  EXPECT_EQ(NormalizeFolder(std::string(255, 'a'), kPosix), "");
  EXPECT_EQ(NormalizeFolder(std::string(254, 'a'), kPosix).size(), 255u);
  EXPECT_TRUE(ScratchFolderCandidates("/" + std::string(250, 'a') + "/p", kPosix, "").empty());
}

class lbPathsFileTest : public ::testing::Test {
 protected:
  void Write(const std::string& relative) { std::ofstream(root_ + relative) << "x"; }
  bool Exists(const std::string& relative) const {
    return fs::exists(fs::symlink_status(root_ + relative));
  }

  support::TempFolder temp_;
  // Without links, as the walks that refuse links need it.
  std::string root_ = fs::canonical(temp_.Path()).string() + "/";
};

TEST_F(lbPathsFileTest, ForceFolderCreatesEveryMissingParentKeepingCase) {
  EXPECT_EQ(ForceFolder(root_ + "New//Tree/Leaf"), root_ + "New/Tree/Leaf/");
  EXPECT_TRUE(fs::is_directory(root_ + "New/Tree/Leaf"));
}

TEST_F(lbPathsFileTest, ForceFolderCreatesNothingForWindowsPathsOnThisHost) {
  // Run in the test's folder, where a Windows path would be taken as a relative name.
  struct InFolder {
    explicit InFolder(const std::string& folder) { fs::current_path(folder); }
    ~InFolder() { fs::current_path(previous); }
    fs::path previous = fs::current_path();
  };
  {
    const InFolder inRoot(root_);
    EXPECT_EQ(ForceFolder("C:\\Tools\\TEMP", kWin), "c:\\tools\\temp\\");
    EXPECT_EQ(ForceFolder("Temp\\Probe", kWin), "temp\\probe\\");
  }
  EXPECT_TRUE(fs::is_empty(root_));
}

TEST_F(lbPathsFileTest, ListFolderSkipsNamesBeginningWithADot) {
  Write("a");
  Write(".b");
  fs::create_directory(root_ + "c");
  framework::TStringList names;
  names.Add("stale");
  ListFolder(names, root_ + "*.*", platform::faAnyFile);
  names.Sort();
  EXPECT_EQ(names.CommaText(), "a,c");
}

TEST_F(lbPathsFileTest, RemoveFolderTreeDeletesAllButDotNamesAndNeverFollowsLinks) {
  fs::create_directories(root_ + "outside/keep");
  Write("outside/keep/file");
  fs::create_directories(root_ + "tree/sub/deeper");
  Write("tree/file");
  Write("tree/sub/deeper/file");
  fs::create_directories(root_ + "tree/dotted");
  Write("tree/dotted/.config");
  Write("tree/dotted/other");
  fs::create_directory_symlink(root_ + "outside", root_ + "tree/link");

  EXPECT_FALSE(RemoveFolderTree(root_ + "tree"));  // the dot file keeps its folder
  EXPECT_FALSE(Exists("tree/file"));
  EXPECT_FALSE(Exists("tree/sub"));
  EXPECT_FALSE(Exists("tree/link"));
  EXPECT_FALSE(Exists("tree/dotted/other"));
  EXPECT_TRUE(Exists("tree/dotted/.config"));
  EXPECT_TRUE(Exists("outside/keep/file"));

  fs::remove(root_ + "tree/dotted/.config");
  EXPECT_TRUE(RemoveFolderTree(root_ + "tree/"));
  EXPECT_FALSE(Exists("tree"));
  EXPECT_FALSE(RemoveFolderTree(""));
  EXPECT_FALSE(RemoveFolderTree(root_ + "missing"));
}

TEST_F(lbPathsFileTest, RemoveFolderTreeLeavesAFolderThatIsALinkOrLiesBehindOne) {
  fs::create_directories(root_ + "target/sub");
  Write("target/file");
  Write("target/sub/file");
  fs::create_directory_symlink(root_ + "target", root_ + "alias");
  EXPECT_FALSE(RemoveFolderTree(root_ + "alias"));
  EXPECT_FALSE(RemoveFolderTree(root_ + "alias/sub"));
  EXPECT_TRUE(Exists("target/file"));
  EXPECT_TRUE(Exists("target/sub/file"));
  EXPECT_TRUE(Exists("alias"));
}

TEST_F(lbPathsFileTest, RemoveFolderTreeTakesEntriesPastThePathLimitLikeOthers) {
  const std::string name(120, 'n');
  fs::create_directories(root_ + "tree/" + name + "/" + name + "/" + name);
  Write("tree/" + name + "/" + name + "/file");
  Write("tree/" + name + "/" + name + "2");
  EXPECT_TRUE(RemoveFolderTree(root_ + "tree"));
  EXPECT_FALSE(Exists("tree"));
}

class CompanionFilesTest : public lbPathsFileTest {
 protected:
  void TearDown() override {
    FinalizeCompanionFiles();
    framework::FormatSettings() = framework::TFormatSettings();
  }
};

TEST_F(CompanionFilesTest, StartUpCreatesTheScratchFolderAndExitRemovesIt) {
  const std::string executable = root_ + "Probe.bin";
  InitializeCompanionFiles(executable);
  EXPECT_EQ(ExecutableFileName(), executable);
  EXPECT_EQ(SettingsFileName(), root_ + "Probe.ini");
  const std::string scratch = ScratchFolder();
  EXPECT_TRUE(scratch.starts_with(root_ + "temp/Probe-")) << scratch;
  EXPECT_EQ(scratch.size(), root_.size() + 18);
  EXPECT_TRUE(fs::is_directory(scratch));
  EXPECT_EQ(framework::FormatSettings().LongTimeFormat, "hh:nn:ss");
  EXPECT_EQ(framework::FormatSettings().ShortDateFormat, "dd/mm/yyyy");

  EXPECT_EQ(DefaultDictionaryFile(), "");
  Write("Probe.pld");
  EXPECT_EQ(DefaultDictionaryFile(), root_ + "Probe.pld");

  Write(scratch.substr(root_.size()) + "scratch.tmp");
  FinalizeCompanionFiles();
  EXPECT_EQ(ScratchFolder(), "");
  EXPECT_FALSE(Exists("temp"));  // made at start-up, so gone with the scratch folder
}

TEST_F(CompanionFilesTest, ExitLeavesATempFolderItDidNotMakeOrThatHoldsMore) {
  fs::create_directories(root_ + "temp");
  InitializeCompanionFiles(root_ + "Probe");
  FinalizeCompanionFiles();
  EXPECT_TRUE(fs::is_empty(root_ + "temp"));
  fs::remove(root_ + "temp");
  InitializeCompanionFiles(root_ + "Probe");
  Write("temp/other.tmp");
  FinalizeCompanionFiles();
  EXPECT_TRUE(Exists("temp/other.tmp"));
}

// Every instance has a folder of its own; at start the user's folders that no running
// instance holds go, whatever they hold, and nothing else does.
TEST_F(CompanionFilesTest, EachInstanceHoldsItsOwnFolderAndStartUpRemovesLeftovers) {
  fs::create_directories(root_ + "temp");
  platform::HeldFolder killed = platform::HeldFolder::Create(root_ + "temp", "Probe");
  const std::string dead = killed.Path().substr(root_.size());
  fs::create_directories(root_ + dead + "/sub");
  Write(dead + "/sub/file");
  killed.Release();                                      // as when its process is killed
  fs::create_directories(root_ + "temp/Probe-hand01");   // made by someone else
  fs::create_directories(root_ + "temp/Probe-long123");  // not a name the program makes
  fs::create_directories(root_ + "temp/Other-dead02");
  Write("temp/Probe-file03");
  fs::create_directories(root_ + "outside");
  fs::create_directory_symlink(root_ + "outside", root_ + "temp/Probe-link04");
  const platform::HeldFolder running = platform::HeldFolder::Create(root_ + "temp", "Probe");
  ASSERT_FALSE(running.Path().empty());

  InitializeCompanionFiles(root_ + "Probe");
  EXPECT_FALSE(Exists(dead));
  for (const char* kept : {"temp/Probe-hand01", "temp/Probe-long123", "temp/Other-dead02",
                           "temp/Probe-file03", "temp/Probe-link04", "outside"}) {
    EXPECT_TRUE(Exists(kept)) << kept;
  }
  EXPECT_TRUE(fs::is_directory(running.Path()));
  EXPECT_NE(ScratchFolder(), running.Path() + "/");
  FinalizeCompanionFiles();
  EXPECT_TRUE(fs::is_directory(running.Path()));
}

class PrivateScratchTest : public CompanionFilesTest {
 protected:
  void SetUp() override {
    fs::create_directories(root_ + "runtime");
    fs::create_directories(root_ + "tmp");
    environment_.Set("XDG_RUNTIME_DIR", (root_ + "runtime").c_str());
    environment_.Set("TMPDIR", (root_ + "tmp").c_str());
    fs::create_directories(root_ + "opt");
    Write("opt/temp");  // a file where the folder beside the executable should go
  }
  static unsigned ModeOf(const std::string& path) {
    return static_cast<unsigned>(fs::status(path).permissions());
  }

  support::ScopedEnvironment environment_;
};

TEST_F(PrivateScratchTest, FallsBackToANewPrivateFolderPerProcess) {
  fs::create_directories(root_ + "runtime/Probe");  // someone's own folder of that name
  Write("runtime/Probe/important.txt");
  InitializeCompanionFiles(root_ + "opt/Probe");
  const std::string first = ScratchFolder();
  EXPECT_TRUE(first.starts_with(root_ + "runtime/Probe-")) << first;
  EXPECT_EQ(first.size(), root_.size() + 21);
  EXPECT_EQ(ModeOf(first), 0700u);
  Write(first.substr(root_.size()) + "mine.tmp");

  InitializeCompanionFiles(root_ + "opt/Probe");  // a second instance
  const std::string second = ScratchFolder();
  EXPECT_NE(second, first);
  FinalizeCompanionFiles();
  EXPECT_FALSE(fs::exists(second));
  EXPECT_TRUE(fs::exists(first + "mine.tmp"));
  EXPECT_TRUE(Exists("runtime/Probe/important.txt"));
}

TEST_F(PrivateScratchTest, TakesTmpdirWithoutARuntimeFolder) {
  environment_.Set("XDG_RUNTIME_DIR", nullptr);
  InitializeCompanionFiles(root_ + "opt/Probe.bin");
  EXPECT_TRUE(ScratchFolder().starts_with(root_ + "tmp/Probe-")) << ScratchFolder();
  environment_.Set("XDG_RUNTIME_DIR", (root_ + "missing").c_str());
  InitializeCompanionFiles(root_ + "opt/Probe.bin");
  EXPECT_TRUE(ScratchFolder().starts_with(root_ + "tmp/Probe-")) << ScratchFolder();
  FinalizeCompanionFiles();
}

TEST_F(PrivateScratchTest, RefusesALinkWhereTheFolderBesideTheExecutableGoes) {
  fs::create_directories(root_ + "outside");
  Write("outside/precious");
  fs::create_directories(root_ + "bin");
  fs::create_directory_symlink(root_ + "outside", root_ + "bin/temp");
  InitializeCompanionFiles(root_ + "bin/Probe");
  EXPECT_TRUE(ScratchFolder().starts_with(root_ + "runtime/Probe-")) << ScratchFolder();

  fs::create_directory_symlink(root_ + "outside", root_ + "linked");
  InitializeCompanionFiles(root_ + "linked/Probe");  // "temp" would land in the link's target
  EXPECT_TRUE(ScratchFolder().starts_with(root_ + "runtime/Probe-")) << ScratchFolder();
  FinalizeCompanionFiles();
  EXPECT_TRUE(fs::is_symlink(root_ + "bin/temp"));
  EXPECT_EQ(fs::directory_iterator(root_ + "outside")->path().filename(), "precious");
}

TEST_F(CompanionFilesTest, TakesARelativeExecutableFromTheCurrentFolder) {
  const fs::path previous = fs::current_path();
  fs::current_path(root_);
  InitializeCompanionFiles("./lxprobe");
  fs::current_path(previous);
  EXPECT_EQ(ExecutableFileName(), root_ + "lxprobe");
  EXPECT_EQ(SettingsFileName(), root_ + "lxprobe.ini");
  EXPECT_TRUE(ScratchFolder().starts_with(root_ + "temp/lxprobe-")) << ScratchFolder();
  EXPECT_TRUE(fs::is_directory(ScratchFolder()));
}

TEST_F(CompanionFilesTest, WithoutAnExecutablePathNothingIsMade) {
  InitializeCompanionFiles("");
  EXPECT_EQ(SettingsFileName(), "");
  EXPECT_EQ(ScratchFolder(), "");
  EXPECT_EQ(DefaultDictionaryFile(), "");
}

}  // namespace
}  // namespace lx::frame
