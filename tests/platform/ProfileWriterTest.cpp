#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/ProfileFile.h"
#include "platform/ProfileWriter.h"
#include "support/Raised.h"
#include "support/TempFolder.h"

namespace lx::platform {
namespace {

const std::vector<ProfileValue> kChoice = {{"activeName", "Japanese"}, {"activeId", "5"}};

TEST(ProfileWriterTest, RewritesKeysInPlaceAndKeepsEverythingElse) {
  const std::string text =
      "; which language\r\n[Other]\r\nactiveName=keep\r\n\r\n[LANGUAGE]\r\n"
      "  ACTIVEID = 0 \r\n; a note\r\nactiveName=German\r\nextra=1\r\n[language]\r\n"
      "activeName=second\r\n";
  EXPECT_EQ(SetProfileValues(text, "language", kChoice),
            "; which language\r\n[Other]\r\nactiveName=keep\r\n\r\n[LANGUAGE]\r\n"
            "ACTIVEID=5\r\n; a note\r\nactiveName=Japanese\r\nextra=1\r\n[language]\r\n"
            "activeName=second\r\n");
}

TEST(ProfileWriterTest, AddsMissingKeysAfterTheSectionsLastKeyAndMissingSectionsAtTheEnd) {
  EXPECT_EQ(SetProfileValues("[language]\nactiveId=1\n\n; next\n[x]\n", "language", kChoice),
            "[language]\nactiveId=5\nactiveName=Japanese\n\n; next\n[x]\n");
  EXPECT_EQ(SetProfileValues("[language]", "language", kChoice),
            "[language]\nactiveName=Japanese\nactiveId=5\n");
  EXPECT_EQ(SetProfileValues("; only a comment", "language", kChoice),
            "; only a comment\n[language]\nactiveName=Japanese\nactiveId=5\n");
  EXPECT_EQ(SetProfileValues("", "language", kChoice),
            "[language]\nactiveName=Japanese\nactiveId=5\n");
  EXPECT_EQ(SetProfileValues("\xEF\xBB\xBF[language]\r\nactiveId=1", "language", kChoice),
            "\xEF\xBB\xBF[language]\r\nactiveId=5\r\nactiveName=Japanese\r\n");
}

TEST(ProfileWriterTest, TheReaderReadsBackExactlyWhatWasSet) {
  const std::vector<ProfileValue> values = {
      {"blank", " padded "}, {"quoted", "\"q\""}, {"single", "'s'"}, {"empty", ""}, {"eq", "a=b"}};
  const auto profile = ProfileFile::FromText(SetProfileValues("[s]\nempty=old\n", "s", values));
  for (const ProfileValue& value : values)
    EXPECT_EQ(profile.ReadString("s", value.key, "?"), value.value) << value.key;
}

TEST(ProfileWriterTest, RefusesTextsThatWouldBreakTheFile) {
  EXPECT_RAISES(SetProfileValues("", "s", {{"k", "a\nb"}}), platform::Exception,
                "A settings value cannot span lines");
  EXPECT_RAISES(SetProfileValues("", "s", {{"k\r", "v"}}), platform::Exception,
                "A settings value cannot span lines");
  EXPECT_RAISES(SetProfileValues("", "s", {{"a=b", "v"}}), platform::Exception,
                "Not a settings key: 'a=b'");
  EXPECT_RAISES(SetProfileValues("", "s", {{"", "v"}}), platform::Exception,
                "Not a settings key: ''");
  EXPECT_RAISES(SetProfileValues("", "s", {{";k", "v"}}), platform::Exception,
                "Not a settings key: ';k'");
  EXPECT_RAISES(SetProfileValues("", "a]b", kChoice), platform::Exception,
                "Not a settings section: 'a]b'");
}

class ProfileWriterFileTest : public ::testing::Test {
 protected:
  std::string Read(const std::string& name) {
    std::ifstream file(name, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
  }
  // Every entry of the folder, so that a temporary file left behind shows.
  std::vector<std::string> Entries() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(temp_.Path()))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  support::TempFolder temp_;
  std::string ini_ = temp_.Text() + "probe.ini";
};

TEST_F(ProfileWriterFileTest, ReplacesTheFileWholeKeepingItsModeAndLeavesNothingElse) {
  std::ofstream(ini_) << "; mine\n[language]\nactiveName=German\n";
  ASSERT_EQ(chmod(ini_.c_str(), 0640), 0);
  struct stat before {};
  ASSERT_EQ(stat(ini_.c_str(), &before), 0);
  ASSERT_TRUE(WriteProfileValues(ini_, "language", kChoice));
  EXPECT_EQ(Read(ini_), "; mine\n[language]\nactiveName=Japanese\nactiveId=5\n");
  struct stat after {};
  ASSERT_EQ(stat(ini_.c_str(), &after), 0);
  EXPECT_EQ(after.st_mode & 07777, 0640u);
  // A new file, not the old one written over: a reader never sees half of it.
  EXPECT_NE(after.st_ino, before.st_ino);
  EXPECT_EQ(Entries(), std::vector<std::string>{"probe.ini"});
}

TEST_F(ProfileWriterFileTest, CreatesAMissingFile) {
  ASSERT_TRUE(WriteProfileValues(ini_, "language", kChoice));
  EXPECT_EQ(Read(ini_), "[language]\nactiveName=Japanese\nactiveId=5\n");
}

TEST_F(ProfileWriterFileTest, LeavesLinksFoldersAndUnwritableFoldersAlone) {
  const std::string target = temp_.Text() + "elsewhere.ini";
  std::ofstream(target) << "[language]\nactiveName=German\n";
  ASSERT_EQ(symlink(target.c_str(), ini_.c_str()), 0);
  EXPECT_FALSE(WriteProfileValues(ini_, "language", kChoice));
  EXPECT_TRUE(std::filesystem::is_symlink(ini_));
  EXPECT_EQ(Read(target), "[language]\nactiveName=German\n");
  std::filesystem::remove(ini_);
  ASSERT_EQ(symlink((temp_.Text() + "missing").c_str(), ini_.c_str()), 0);
  EXPECT_FALSE(WriteProfileValues(ini_, "language", kChoice));
  EXPECT_FALSE(std::filesystem::exists(temp_.Text() + "missing"));

  std::filesystem::create_directory(temp_.Text() + "folder.ini");
  EXPECT_FALSE(WriteProfileValues(temp_.Text() + "folder.ini", "language", kChoice));
  EXPECT_FALSE(WriteProfileValues("", "language", kChoice));
  EXPECT_FALSE(WriteProfileValues(ini_, "language", {{"k", "a\nb"}}));

  if (geteuid() != 0) {  // root writes anywhere
    const std::string locked = temp_.Text() + "locked/";
    std::filesystem::create_directory(locked);
    std::ofstream(locked + "probe.ini") << "[language]\nactiveName=German\n";
    ASSERT_EQ(chmod(locked.c_str(), 0500), 0);
    EXPECT_FALSE(WriteProfileValues(locked + "probe.ini", "language", kChoice));
    ASSERT_EQ(chmod(locked.c_str(), 0700), 0);
    EXPECT_EQ(Read(locked + "probe.ini"), "[language]\nactiveName=German\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(locked), {}), 1);
  }
}

TEST_F(ProfileWriterFileTest, RefusesAFileTooLargeToBeSettings) {
  std::ofstream(ini_) << std::string((1 << 20) + 1, ';');
  EXPECT_FALSE(WriteProfileValues(ini_, "language", kChoice));
  EXPECT_EQ(std::filesystem::file_size(ini_), (1u << 20) + 1);
}

}  // namespace
}  // namespace lx::platform
