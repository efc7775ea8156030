#include <gtest/gtest.h>

#include <fstream>

#include "frame/dmLanguages.h"
#include "frame/lbHelp.h"
#include "frame/lbPaths.h"
#include "frame/lbSettings.h"
#include "framework/runtime/Application.h"
#include "framework/runtime/HelpIntfs.h"
#include "lang/LxDictionaries.h"
#include "platform/Resources.h"
#include "pldimage/PldImage.h"
#include "support/TempFolder.h"
#include "support/lang/LxProcessState.h"

namespace lx::frame {
namespace {

using lang::TLxDictionaryOptions;

// Native, English and Spanish, as the engine's own dictionary files have them.
std::vector<std::uint8_t> DictionaryBytes(const std::vector<std::string>& englishNames) {
  tools::PldImage image;
  int primary = 0;
  for (const std::string& name : englishNames) {
    tools::PldLanguage language;
    language.primaryLanguage = primary;
    language.subLanguage = primary == 0 ? 0 : 1;
    language.codePage = 1252;
    language.englishName = name;
    image.languages.push_back(language);
    primary = primary == 0 ? 9 : primary + 1;
  }
  tools::PldTranslation translation;
  translation.texts.assign(englishNames.size(), "Close");
  image.translations.push_back(translation);
  return tools::WritePldImage(image);
}

class dmLanguagesTest : public ::testing::Test {
 protected:
  dmLanguagesTest() {
    framework::Application().SetExeName(executable_);
    InitializeCompanionFiles(executable_);
    InitializeHelp();
    dmlg = nullptr;
    RegisterLanguageClasses();
  }
  ~dmLanguagesTest() override {
    framework::DoneApplication();
    FinalizeHelp();
    FinalizeCompanionFiles();
    framework::DoneHelpManager();
    OverrideStoredLanguage(std::nullopt);
  }

  void Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(temp_.Text() + name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  void WriteDictionary() { Write("probe.pld", DictionaryBytes({"English", "English", "Spanish"})); }
  void WriteSettings(const std::string& content) {
    std::ofstream(temp_.Text() + "probe.ini") << "[language]\n" << content;
  }
  void Touch(const std::string& name) { std::ofstream(temp_.Text() + name) << "help"; }

  // The language the set-up selects for a stored pair.
  int LanguageFor(const std::string& settings) {
    WriteSettings(settings);
    LanguageSetup("");
    EXPECT_NE(dmlg, nullptr);
    return dmlg == nullptr ? -99 : dmlg->Dictionary->Language();
  }

  support::TLxProcessState processState_;
  support::TempFolder temp_;
  std::string executable_ = temp_.Text() + "probe";
  std::string dictionary_ = temp_.Text() + "probe.pld";
};

TEST_F(dmLanguagesTest, BuildsTheDataModuleFromItsFormResource) {
  WriteDictionary();
  LanguageSetup("");
  ASSERT_NE(dmlg, nullptr);
  EXPECT_EQ(dmlg->Name(), "dmlg");
  EXPECT_EQ(dmlg->Owner(), &framework::Application());
  dict::TLxBinaryDictionary& dictionary = *dmlg->Dictionary;
  EXPECT_EQ(dictionary.Name(), "Dictionary");
  EXPECT_EQ(dictionary.DictionaryName(), "Dictionary1");
  EXPECT_EQ(lang::Dictionaries()->Find("Dictionary1"), &dictionary);
  EXPECT_EQ(dictionary.Binding(), lang::lxbiNone);
  EXPECT_EQ(dictionary.Options(),
            lang::kLxAllDictionaryOptions - TLxDictionaryOptions{lang::lxdoUpdateLocaleVariables});
  EXPECT_EQ(dictionary.CheckLevel(), lang::lxclNone);
  EXPECT_EQ(dictionary.Storage(), dict::lxsFile);
  EXPECT_EQ(dictionary.StoredFileName(), dictionary_);
  EXPECT_TRUE(dictionary.IsOpen());
  // The application owns it; freeing the application forgets it.
  framework::DoneApplication();
  EXPECT_EQ(dmlg, nullptr);
}

// A program built without lx_add_language_module_form runs untranslated; its test finds out.
TEST_F(dmLanguagesTest, AMissingDataModuleFormIsFoundOut) {
  EXPECT_TRUE(LanguageModuleFormLinked());
  const auto form = platform::FindResource(platform::MainModule(), platform::RT_RCDATA, "TDMLG");
  ASSERT_TRUE(form.has_value());
  platform::UnregisterResource(platform::RT_RCDATA, "TDMLG");
  WriteDictionary();
  LanguageSetup("");
  const bool linked = LanguageModuleFormLinked();
  platform::RegisterResource(platform::RT_RCDATA, "TDMLG", *form);
  EXPECT_FALSE(linked);
  EXPECT_EQ(dmlg, nullptr);
}

TEST_F(dmLanguagesTest, TheNativeNameWithIdZeroSelectsTheNativeLanguage) {
  WriteDictionary();
  EXPECT_EQ(LanguageFor("activeId=0\nactiveName=Native\n"), 0);
}

TEST_F(dmLanguagesTest, ANameWinsOverTheIdWithoutRegardToCase) {
  WriteDictionary();
  EXPECT_EQ(LanguageFor("activeId=0\nactiveName=spanish\n"), 2);
}

TEST_F(dmLanguagesTest, TheIdWinsWhenNoNameMatches) {
  WriteDictionary();
  EXPECT_EQ(LanguageFor("activeId=1\nactiveName=Klingon\n"), 1);
}

TEST_F(dmLanguagesTest, TheLowerPositionWinsForTwoEqualNames) {
  WriteDictionary();
  EXPECT_EQ(LanguageFor("activeId=2\nactiveName=English\n"), 1);
}

TEST_F(dmLanguagesTest, TheLowerOfTwoEqualNamesWins) {
  Write("probe.pld", DictionaryBytes({"English", "Spanish", "Spanish"}));
  EXPECT_EQ(LanguageFor("activeId=2\nactiveName=Spanish\n"), 1);
}

TEST_F(dmLanguagesTest, AnEmptyNameLeavesTheId) {
  WriteDictionary();
  EXPECT_EQ(LanguageFor("activeId=2\nactiveName=\n"), 2);
}

TEST_F(dmLanguagesTest, APartialNameMatchesNothing) {
  WriteDictionary();
  EXPECT_EQ(LanguageFor("activeName=Eng\n"), 0);
}

TEST_F(dmLanguagesTest, AnOverrideStandsInForTheSettingsFile) {
  WriteDictionary();
  OverrideStoredLanguage(StoredLanguage{0, "Spanish"});
  EXPECT_EQ(LanguageFor("activeName=English\n"), 2);
}

TEST_F(dmLanguagesTest, ChoosesTheHelpFileOfTheSelectedLanguage) {
  WriteDictionary();
  Touch("probe.chm");
  Touch("probe_Spanish.hlp");
  Touch("probe_English.hlp");
  EXPECT_EQ(LanguageFor("activeName=SPANISH\n"), 2);
  // As the dictionary spells the name, not as it was stored.
  EXPECT_EQ(framework::Application().HelpFile(), temp_.Text() + "probe_Spanish.hlp");
}

TEST_F(dmLanguagesTest, TheNativeLanguageTakesTheGeneralHelpFile) {
  WriteDictionary();
  Touch("probe.hlp");
  Touch("probe_English.hlp");
  EXPECT_EQ(LanguageFor("activeId=0\n"), 0);
  EXPECT_EQ(framework::Application().HelpFile(), temp_.Text() + "probe.hlp");
}

TEST_F(dmLanguagesTest, WithoutADictionaryFileNothingIsMadeAndALaterCallTriesAgain) {
  WriteSettings("activeName=Spanish\n");
  LanguageSetup("");
  EXPECT_EQ(dmlg, nullptr);
  EXPECT_EQ(lang::Dictionaries()->Find("Dictionary1"), nullptr);
  WriteDictionary();
  LanguageSetup("");
  ASSERT_NE(dmlg, nullptr);
  EXPECT_EQ(dmlg->Dictionary->Language(), 2);
}

TEST_F(dmLanguagesTest, RunsOnlyOnceTheModuleExists) {
  WriteDictionary();
  LanguageSetup("");
  Tdmlg* first = dmlg;
  Write("other.pld", DictionaryBytes({"English", "German"}));
  LanguageSetup(temp_.Text() + "other.pld");
  EXPECT_EQ(dmlg, first);
  EXPECT_EQ(dmlg->Dictionary->StoredFileName(), dictionary_);
}

TEST_F(dmLanguagesTest, TakesAnExistingPathAndFallsBackToTheDefaultFile) {
  WriteDictionary();
  Write("other.pld", DictionaryBytes({"English", "German"}));
  WriteSettings("activeName=German\n");
  LanguageSetup(temp_.Text() + "other.pld");
  ASSERT_NE(dmlg, nullptr);
  EXPECT_EQ(dmlg->Dictionary->StoredFileName(), temp_.Text() + "other.pld");
  EXPECT_EQ(dmlg->Dictionary->Language(), 1);
  framework::DoneApplication();
  LanguageSetup(temp_.Text() + "missing.pld");
  ASSERT_NE(dmlg, nullptr);
  EXPECT_EQ(dmlg->Dictionary->StoredFileName(), dictionary_);
}

TEST_F(dmLanguagesTest, ACorruptDictionaryStaysClosedAndSelectsNothing) {
  Write("probe.pld", {'P', 'L', 'D', 3, 0, 1, 2});
  Touch("probe.hlp");
  Touch("probe_Spanish.hlp");
  WriteSettings("activeName=Spanish\n");
  LanguageSetup("");
  ASSERT_NE(dmlg, nullptr);
  EXPECT_FALSE(dmlg->Dictionary->IsOpen());
  EXPECT_EQ(dmlg->Dictionary->Language(), 0);
  EXPECT_EQ(FindLanguageByName(dmlg, "Spanish"), 0);
  EXPECT_EQ(framework::Application().HelpFile(), temp_.Text() + "probe.hlp");
}

TEST_F(dmLanguagesTest, AnIdTheDictionaryRejectsKeepsTheStartUpHelpFile) {
  WriteDictionary();
  Touch("probe.hlp");
  InitializeHelp();
  EXPECT_EQ(LanguageFor("activeId=9\n"), 9);
  EXPECT_FALSE(dmlg->Dictionary->IsOpen());
  EXPECT_EQ(framework::Application().HelpFile(), temp_.Text() + "probe.hlp");
}

TEST_F(dmLanguagesTest, OpeningByIdChoosesTheHelpFileAndAnEmptyPathOnlyCloses) {
  WriteDictionary();
  Touch("probe_Spanish.chm");
  LanguageSetup("");
  ASSERT_TRUE(dmlg->Dictionary->IsOpen());
  OpenDictionaryByName(dmlg, "", "Spanish");
  EXPECT_FALSE(dmlg->Dictionary->IsOpen());
  OpenDictionaryById(dmlg, dictionary_, 2);
  EXPECT_TRUE(dmlg->Dictionary->IsOpen());
  EXPECT_EQ(dmlg->Dictionary->Language(), 2);
  EXPECT_EQ(framework::Application().HelpFile(), temp_.Text() + "probe_Spanish.chm");
  OpenDictionaryById(dmlg, "", 1);
  EXPECT_FALSE(dmlg->Dictionary->IsOpen());
  EXPECT_EQ(FindLanguageByName(dmlg, ""), 0);
}

TEST_F(dmLanguagesTest, ChangingTheLanguageChoosesItsHelpAndStoresTheChoice) {
  WriteDictionary();
  Touch("probe_Spanish.chm");
  Touch("probe.hlp");
  EXPECT_EQ(LanguageFor("activeName=Native\n; kept\n"), 0);
  ASSERT_TRUE(ChangeLanguage(2));
  EXPECT_EQ(dmlg->Dictionary->Language(), 2);
  EXPECT_EQ(framework::Application().HelpFile(), temp_.Text() + "probe_Spanish.chm");
  StoredLanguage stored = ReadStoredLanguageFrom(temp_.Text() + "probe.ini", 255);
  EXPECT_EQ(stored.name, "Spanish");
  EXPECT_EQ(stored.id, 2);
  std::ifstream file(temp_.Text() + "probe.ini");
  const std::string content{std::istreambuf_iterator<char>(file), {}};
  EXPECT_EQ(content, "[language]\nactiveName=Spanish\nactiveId=2\n; kept\n");

  ASSERT_TRUE(ChangeLanguage(0));
  EXPECT_EQ(framework::Application().HelpFile(), temp_.Text() + "probe.hlp");
  stored = ReadStoredLanguageFrom(temp_.Text() + "probe.ini", 255);
  EXPECT_EQ(stored.name, "Native");
  EXPECT_EQ(stored.id, 0);
}

TEST_F(dmLanguagesTest, TheSecondOfTwoEqualNamesIsStoredByItsPositionAlone) {
  Write("probe.pld", DictionaryBytes({"English", "Spanish", "Spanish"}));
  LanguageFor("activeName=Native\n");
  ASSERT_TRUE(ChangeLanguage(2));
  StoredLanguage stored = ReadStoredLanguageFrom(temp_.Text() + "probe.ini", 255);
  EXPECT_EQ(stored.name, "");
  EXPECT_EQ(stored.id, 2);
  ASSERT_TRUE(ChangeLanguage(1));
  stored = ReadStoredLanguageFrom(temp_.Text() + "probe.ini", 255);
  EXPECT_EQ(stored.name, "Spanish");
  EXPECT_EQ(stored.id, 1);
}

TEST_F(dmLanguagesTest, ChangingToNoLanguageOrWithoutADictionaryChangesNothing) {
  EXPECT_FALSE(ChangeLanguage(1));
  WriteDictionary();
  EXPECT_EQ(LanguageFor("activeName=Spanish\n"), 2);
  EXPECT_FALSE(ChangeLanguage(3));
  EXPECT_FALSE(ChangeLanguage(-1));
  EXPECT_EQ(dmlg->Dictionary->Language(), 2);
  EXPECT_EQ(ReadStoredLanguageFrom(temp_.Text() + "probe.ini", 255).name, "Spanish");
  dmlg->Dictionary->Close();
  EXPECT_FALSE(ChangeLanguage(0));
}

}  // namespace
}  // namespace lx::frame
