#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "platform/ProfileFile.h"
#include "support/TempFolder.h"

namespace lx::platform {
namespace {

TEST(ProfileFileTest, MatchesSectionsAndKeysWithoutRegardToCase) {
  const auto profile = ProfileFile::FromText(
      "; comment\nstray=1\n[LANGUAGE]\n  ACTIVENAME =  Spanish \r\nactiveId=0x1A\n[other]\nx=y\n");
  EXPECT_EQ(profile.ReadString("language", "activeName", "Native"), "Spanish");
  EXPECT_EQ(profile.ReadInteger("Language", "ActiveID", 0), 26);
  EXPECT_EQ(profile.ReadString("language", "stray", "-"), "-");
  EXPECT_EQ(profile.ReadString("missing", "x", "default"), "default");
  EXPECT_EQ(profile.ReadString("other", "x", ""), "y");
}

TEST(ProfileFileTest, FirstSectionAndFirstKeyWin) {
  const auto profile = ProfileFile::FromText("[s]\nk=first\nk=second\n[s]\nk=third\nonly=later\n");
  EXPECT_EQ(profile.ReadString("s", "k", ""), "first");
  EXPECT_EQ(profile.ReadString("s", "only", "absent"), "absent");
}

TEST(ProfileFileTest, ValuesLoseQuotesAndAreCutToTheBuffer) {
  const auto profile =
      ProfileFile::FromText("\xEF\xBB\xBF[s]\nq=\"a b\"\nh='x'\nodd=\"x\nempty=\n");
  EXPECT_EQ(profile.ReadString("s", "q", ""), "a b");
  EXPECT_EQ(profile.ReadString("s", "h", ""), "x");
  EXPECT_EQ(profile.ReadString("s", "odd", ""), "\"x");
  EXPECT_EQ(profile.ReadString("s", "empty", "default"), "");
  EXPECT_EQ(profile.ReadString("s", "q", "", 3), "a ");
  EXPECT_EQ(profile.ReadString("s", "q", "", 0), "");
  const std::string longValue(5000, 'v');
  const auto big = ProfileFile::FromText("[s]\nk=" + longValue + "\n");
  EXPECT_EQ(big.ReadString("s", "k", "").size(), 2047u);
}

TEST(ProfileFileTest, IntegersConvertOrFallBack) {
  const auto profile = ProfileFile::FromText("[s]\nhex=$10\nneg=-1\nbad=abc\nempty=\n");
  EXPECT_EQ(profile.ReadInteger("s", "hex", 0), 16);
  EXPECT_EQ(profile.ReadInteger("s", "neg", 0), -1);
  EXPECT_EQ(profile.ReadInteger("s", "bad", 7), 7);
  EXPECT_EQ(profile.ReadInteger("s", "empty", 7), 7);
  EXPECT_EQ(profile.ReadInteger("s", "absent", 7), 7);
}

TEST(ProfileFileTest, ReadsFilesAndTreatsMissingOnesAsEmpty) {
  support::TempFolder temp;
  const std::string name = temp.Text() + "probe.ini";
  std::ofstream(name) << "[language]\nactiveName=English\n";
  EXPECT_EQ(ProfileFile(name).ReadString("language", "activeName", ""), "English");
  EXPECT_EQ(ProfileFile(temp.Text() + "none.ini").ReadString("language", "activeName", "N"), "N");
  EXPECT_EQ(ProfileFile(temp.Text()).ReadString("language", "activeName", "N"), "N");
}

// A FIFO would hold the reader until someone writes, /dev/zero would never end.
TEST(ProfileFileTest, ReadsOnlyRegularFilesWithinTheLimit) {
  support::TempFolder temp;
  const std::string fifo = temp.Text() + "fifo.ini";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", temp.Text() + "zero.ini");
  const std::string large = temp.Text() + "large.ini";
  std::ofstream(large) << "[language]\nactiveName=English\n"
                       << std::string(ProfileFile::kMaxSettingsFileSize, ';');
  const std::string fits = temp.Text() + "fits.ini";
  std::ofstream(fits) << "[language]\nactiveName=English\n;"
                      << std::string(ProfileFile::kMaxSettingsFileSize - 31, ';');
  std::filesystem::create_symlink(fits, temp.Text() + "linked.ini");
  for (const char* name : {"fifo.ini", "zero.ini", "large.ini"})
    EXPECT_EQ(ProfileFile(temp.Text() + name).ReadString("language", "activeName", "N"), "N");
  for (const char* name : {"fits.ini", "linked.ini"})
    EXPECT_EQ(ProfileFile(temp.Text() + name).ReadString("language", "activeName", ""), "English");
}

}  // namespace
}  // namespace lx::platform
