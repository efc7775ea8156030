#include <gtest/gtest.h>

#include <fstream>

#include "frame/lbPaths.h"
#include "frame/lbSettings.h"
#include "support/TempFolder.h"

namespace lx::frame {
namespace {

class lbSettingsTest : public ::testing::Test {
 protected:
  StoredLanguage Read(const std::string& content, std::size_t maxLength = 255) {
    std::ofstream(file_) << content;
    return ReadStoredLanguageFrom(file_, maxLength);
  }

  support::TempFolder temp_;
  std::string file_ = temp_.Text() + "probe.ini";
};

TEST_F(lbSettingsTest, ReadsBothKeysWithTheirDefaults) {
  const StoredLanguage hex = Read("[language]\nactiveId=0x1A\n");
  EXPECT_EQ(hex.id, 26);
  EXPECT_EQ(hex.name, "Native");
  const StoredLanguage named = Read("[language]\nactiveName=Spanish\n");
  EXPECT_EQ(named.id, 0);
  EXPECT_EQ(named.name, "Spanish");
  EXPECT_EQ(Read("[LANGUAGE]\nACTIVENAME=English\n").name, "English");
  EXPECT_EQ(Read("[language]\nactiveName=\nactiveId=2\n").name, "");
}

TEST_F(lbSettingsTest, AStoredChoiceReadsBackAndTheFileKeepsItsOtherLines) {
  std::ofstream(file_) << "; the user's own note\n[language]\nactiveName=German\nactiveId=1\n"
                          "[window]\nleft=10\n";
  ASSERT_TRUE(StoreLanguageTo(file_, {5, "Japanese"}));
  const StoredLanguage stored = ReadStoredLanguageFrom(file_, 255);
  EXPECT_EQ(stored.id, 5);
  EXPECT_EQ(stored.name, "Japanese");
  std::ifstream file(file_);
  const std::string content{std::istreambuf_iterator<char>(file), {}};
  EXPECT_EQ(content,
            "; the user's own note\n[language]\nactiveName=Japanese\nactiveId=5\n"
            "[window]\nleft=10\n");
  // A name that would not survive the trip is refused as a whole: nothing changes.
  EXPECT_FALSE(StoreLanguageTo(file_, {1, "Two\nLines"}));
  EXPECT_EQ(ReadStoredLanguageFrom(file_, 255).name, "Japanese");
  EXPECT_FALSE(StoreLanguageTo("", {1, "German"}));
}

TEST_F(lbSettingsTest, ConvertsTheIdOrFallsBackToZero) {
  EXPECT_EQ(Read("[language]\nactiveId=abc\n").id, 0);
  EXPECT_EQ(Read("[language]\nactiveId=$10\n").id, 16);
  EXPECT_EQ(Read("[language]\nactiveId=-1\n").id, -1);
  EXPECT_EQ(Read("[other]\nactiveId=5\n").id, 0);
}

TEST_F(lbSettingsTest, CutsTheNameToTheGreatestLength) {
  const std::string longName(300, 'n');
  EXPECT_EQ(Read("[language]\nactiveName=" + longName + "\n").name, std::string(255, 'n'));
  EXPECT_EQ(Read("[language]\n", 3).name, "Nat");
}

TEST_F(lbSettingsTest, MissingFileGivesTheDefaults) {
  const StoredLanguage stored = ReadStoredLanguageFrom(temp_.Text() + "none.ini", 255);
  EXPECT_EQ(stored.id, 0);
  EXPECT_EQ(stored.name, "Native");
  EXPECT_EQ(ReadStoredLanguageFrom("", 255).name, "Native");
}

TEST_F(lbSettingsTest, ReadsTheSettingsFileBesideTheExecutable) {
  std::ofstream(temp_.Text() + "Probe.ini") << "[language]\nactiveId=2\nactiveName=English\n";
  InitializeCompanionFiles(temp_.Text() + "Probe.bin");
  const StoredLanguage stored = ReadStoredLanguage(255);
  FinalizeCompanionFiles();
  EXPECT_EQ(stored.id, 2);
  EXPECT_EQ(stored.name, "English");
}

}  // namespace
}  // namespace lx::frame
