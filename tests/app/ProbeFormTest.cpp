#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/ProbeForm.h"
#include "frame/dmLanguages.h"
#include "frame/lbHelp.h"
#include "frame/lbPaths.h"
#include "frame/lbSettings.h"
#include "framework/controls/StdCtrls.h"
#include "framework/runtime/Application.h"
#include "framework/runtime/FormatSettings.h"
#include "framework/runtime/HelpIntfs.h"
#include "lang/LxParser.h"
#include "pldimage/PldImage.h"
#include "support/FixedSystem.h"
#include "support/TempFolder.h"
#include "support/lang/LxProcessState.h"

namespace lx::app {
namespace {

using framework::TMenuItem;

constexpr int kUtf8 = 65001;
const std::vector<std::string> kTopMenus = {"File", "Language", "Help"};
const std::vector<std::string> kOwnNames = {"English", "Deutsch", "Français", "Español",
                                            "Русский", "日本語",  "العربية",  "עברית"};

// probe as it starts: its own dictionary and settings file beside it, in a folder of the test's.
class ProbeFormTest : public ::testing::Test {
 protected:
  ProbeFormTest() {
    std::filesystem::copy_file(LX_PROBE_DICTIONARY, temp_.Text() + "probe.pld");
    RegisterProbeClasses();
  }
  ~ProbeFormTest() override {
    Stop();
    framework::DoneHelpManager();
  }

  void WriteSettings(const std::string& content) { std::ofstream(settings_) << content; }
  std::string ReadSettings() const {
    std::ifstream file(settings_, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
  }

  // A start of the program: companion files, help, the main window and its start routine.
  TProbeForm& Start() {
    framework::Application().SetExeName(executable_);
    frame::InitializeCompanionFiles(executable_);
    frame::InitializeHelp();
    frame::dmlg = nullptr;
    form_ = nullptr;
    framework::Application().CreateForm(form_);
    form_->StartUp();
    return *form_;
  }
  // The end of the program, which frees the window and the data module.
  void Stop() {
    framework::DoneApplication();
    frame::FinalizeHelp();
    frame::FinalizeCompanionFiles();
    form_ = nullptr;
  }

  std::string Utf8(const std::string& text) const {
    return lang::WideToAnsi(lang::AnsiToWide(text, form_->TextCodePage()), kUtf8);
  }
  // A caption as read, in its own code page, without its hot-key mark.
  std::string Shown(const TMenuItem& item) const {
    std::string text =
        lang::WideToAnsi(lang::AnsiToWide(item.Caption(), form_->CaptionCodePage(item)), kUtf8);
    std::erase(text, '&');
    return text;
  }
  std::vector<std::string> Captions(const TMenuItem& parent) const {
    std::vector<std::string> captions;
    for (int i = 0; i < parent.Count(); ++i)
      captions.push_back(Shown(*parent.Items(i)));
    return captions;
  }
  std::vector<int> CheckedItems() const {
    std::vector<int> checked;
    for (int i = 0; i < form_->LanguageMenu()->Count(); ++i) {
      if (form_->LanguageMenu()->Items(i)->Checked()) checked.push_back(i);
    }
    return checked;
  }
  TMenuItem& LanguageItem(int position) const { return *form_->LanguageMenu()->Items(position); }
  framework::TControl& Control(const char* name) const {
    return *dynamic_cast<framework::TControl*>(form_->FindComponent(name));
  }
  std::string Text(const char* name) const {
    if (auto* memo = dynamic_cast<framework::TMemo*>(form_->FindComponent(name))) {
      std::string text = Utf8(memo->Text());
      while (text.ends_with('\n') || text.ends_with('\r'))
        text.pop_back();
      return text;
    }
    return Utf8(Control(name).Caption());
  }

  support::FixedSystem system_;
  support::TLxProcessState processState_;
  support::TempFolder temp_;
  std::string executable_ = temp_.Text() + "probe";
  std::string settings_ = temp_.Text() + "probe.ini";
  TProbeForm* form_ = nullptr;
};

TEST_F(ProbeFormTest, TheLanguageMenuListsEveryLanguageInItsOwnNameWithTheActiveOneChecked) {
  WriteSettings("[language]\nactiveName=German\n");
  TProbeForm& form = Start();
  ASSERT_NE(form.Menu(), nullptr);
  EXPECT_EQ(Captions(*form.Menu()->Items()),
            (std::vector<std::string>{"Datei", "Sprache", "Hilfe"}));
  ASSERT_NE(form.LanguageMenu(), nullptr);
  EXPECT_EQ(form.LanguageMenu()->MenuIndex(), 1);
  // Every name in its own script, though the German window's code page holds few of them.
  EXPECT_EQ(Captions(*form.LanguageMenu()), kOwnNames);
  EXPECT_EQ(form.CaptionCodePage(LanguageItem(5)), kUtf8);
  EXPECT_EQ(form.CaptionCodePage(LanguageItem(6)), kUtf8);
  EXPECT_EQ(form.CaptionCodePage(*form.LanguageMenu()), kUtf8);
  EXPECT_EQ(CheckedItems(), std::vector<int>{1});
  // As written, without hot keys: a mark put in by byte could split a double-byte character.
  for (int i = 0; i < form.LanguageMenu()->Count(); ++i) {
    EXPECT_TRUE(LanguageItem(i).RadioItem()) << i;
    EXPECT_EQ(LanguageItem(i).Caption().find('&'), std::string::npos) << i;
  }
  Stop();

  WriteSettings("[language]\nactiveName=Russian\n");
  Start();
  EXPECT_EQ(Captions(*form_->LanguageMenu()), kOwnNames);
  EXPECT_EQ(form_->CaptionCodePage(*form_->LanguageMenu()), kUtf8);
  EXPECT_EQ(CheckedItems(), std::vector<int>{4});
}

TEST_F(ProbeFormTest, NamesStayAsWrittenEvenWhereHotKeysWouldBreakThem) {
  tools::PldImage image;
  auto add = [&image](int primary, int codePage, const std::string& english,
                      const std::string& native) {
    tools::PldLanguage language;
    language.primaryLanguage = primary;
    language.subLanguage = primary == 0 ? 0 : 1;
    language.codePage = codePage;
    language.englishName = english;
    language.nativeName = native;
    image.languages.push_back(language);
  };
  add(0, 1252, "English", "English");
  add(17, 932, "Japanese", "アイ");  // in its code page the second bytes read "A" and "C"
  add(9, 1252, "Pidgin", "Tok & Talk");
  tools::PldTranslation translation;
  translation.texts = {"Locale Probe", "ロケール", "Talk Probe"};
  image.translations.push_back(translation);
  const std::vector<std::uint8_t> bytes = tools::WritePldImage(image);
  std::ofstream(temp_.Text() + "probe.pld", std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  WriteSettings("[language]\nactiveName=Pidgin\n");
  Start();
  EXPECT_EQ(LanguageItem(1).Caption(), "\x83\x41\x83\x43");
  EXPECT_EQ(LanguageItem(2).Caption(), "Tok && Talk");
  EXPECT_EQ(Captions(*form_->LanguageMenu())[1], "アイ");
  EXPECT_EQ(CheckedItems(), std::vector<int>{2});
}

TEST_F(ProbeFormTest, ChoosingALanguageSwitchesTheRunningWindow) {
  WriteSettings("[language]\nactiveName=Native\n");
  std::ofstream(temp_.Text() + "probe_Arabic.hlp") << "help";
  TProbeForm& form = Start();
  EXPECT_EQ(Utf8(form.Caption()), "Locale Probe");
  const std::string englishNotes = Text("Notes");

  LanguageItem(6).Click();
  EXPECT_EQ(Utf8(form.Caption()), "فاحص الإعدادات الإقليمية");
  EXPECT_TRUE(form.UseRightToLeftReading());
  // Mirrored inside the 480 pixels of the window: 480 - width - designed left.
  EXPECT_EQ(Control("LanguageLabel").Left(), 322);
  EXPECT_EQ(Control("CloseButton").Left(), 24);
  EXPECT_EQ(Text("LanguageLabel"), "اللغة:");
  EXPECT_EQ(Text("LanguageValue"), "العربية");
  EXPECT_EQ(Text("Notes"), "هذه هي اللغة والتنسيقات التي يستخدمها البرنامج.");
  EXPECT_EQ(Captions(*form.Menu()->Items()), (std::vector<std::string>{"ملف", "اللغة", "تعليمات"}));
  EXPECT_EQ(CheckedItems(), std::vector<int>{6});
  EXPECT_EQ(Captions(*form.LanguageMenu())[6], "العربية");
  EXPECT_EQ(framework::Application().HelpFile(), temp_.Text() + "probe_Arabic.hlp");

  // Back to the language the window was designed in: every place and text as designed.
  LanguageItem(0).Click();
  EXPECT_EQ(Utf8(form.Caption()), "Locale Probe");
  EXPECT_FALSE(form.UseRightToLeftReading());
  EXPECT_EQ(Control("LanguageLabel").Left(), 8);
  EXPECT_EQ(Control("CloseButton").Left(), 381);
  EXPECT_EQ(Text("Notes"), englishNotes);
  EXPECT_EQ(Captions(*form.Menu()->Items()), kTopMenus);
  EXPECT_EQ(CheckedItems(), std::vector<int>{0});

  // The note comes from the designed text each time, not from the last translation.
  LanguageItem(1).Click();
  LanguageItem(2).Click();
  EXPECT_EQ(Utf8(form.Caption()), "Sonde des paramètres régionaux");
  EXPECT_EQ(Text("Notes"), "Voici la langue et les formats qu'utilise le programme.");
  EXPECT_EQ(Text("LanguageValue"), "Français");

  // The languages' names are no texts of the window: its translator keeps none of them.
  const translator::TLxTranslatorTable& table = form.Translator()->Table();
  ASSERT_GT(table.Count(), 0);
  for (int i = 0; i < table.Count(); ++i) {
    if (const auto* item = dynamic_cast<const TMenuItem*>(table.Items(i).Control)) {
      EXPECT_NE(item->Parent(), form.LanguageMenu()) << Shown(*item);
    }
  }
}

TEST_F(ProbeFormTest, TheChoiceIsStoredAndTheNextStartComesUpInIt) {
  WriteSettings("; the user's note\n[language]\nactiveName=German\nactiveId=1\n[window]\nx=1\n");
  Start();
  LanguageItem(5).Click();
  EXPECT_EQ(ReadSettings(),
            "; the user's note\n[language]\nactiveName=Japanese\nactiveId=5\n[window]\nx=1\n");
  Stop();

  TProbeForm& form = Start();
  EXPECT_EQ(Utf8(form.Caption()), "ロケール プローブ");
  EXPECT_EQ(CheckedItems(), std::vector<int>{5});
  EXPECT_EQ(Captions(*form.LanguageMenu())[5], "日本語");
  LanguageItem(0).Click();
  Stop();
  EXPECT_EQ(Utf8(Start().Caption()), "Locale Probe");
  EXPECT_EQ(frame::ReadStoredLanguageFrom(settings_, 255).name, "Native");
}

// The formats' texts come in their locale's code page: the euro sign of 1252 is no
// character at all in the Russian window's UTF-8 unless it is converted.
TEST_F(ProbeFormTest, LocaleTextsAreShownInTheWindowsCodePage) {
  framework::FormatSettings() = framework::GetLocaleFormatSettings(0x0407);
  WriteSettings("[language]\nactiveName=Russian\n");
  Start();
  ASSERT_EQ(form_->TextCodePage(), kUtf8);
  EXPECT_EQ(Text("CurrencyValue"), "1.234,56 €");
  EXPECT_EQ(Text("NumberValue"), "1.234.567,89");
}

TEST_F(ProbeFormTest, WithoutADictionaryTheMenuOffersEnglishAlone) {
  std::filesystem::remove(temp_.Text() + "probe.pld");
  TProbeForm& form = Start();
  EXPECT_EQ(Captions(*form.LanguageMenu()), std::vector<std::string>{"English"});
  EXPECT_EQ(CheckedItems(), std::vector<int>{0});
  LanguageItem(0).Click();
  EXPECT_EQ(Utf8(form.Caption()), "Locale Probe");
  EXPECT_FALSE(std::filesystem::exists(settings_));
}

TEST_F(ProbeFormTest, ExitAndCloseEndTheProgram) {
  for (const char* command : {"ExitItem", "CloseButton"}) {
    TProbeForm& form = Start();
    if (auto* item = dynamic_cast<TMenuItem*>(form.FindComponent(command))) item->Click();
    if (auto* button = dynamic_cast<framework::TButton*>(form.FindComponent(command)))
      button->Click();
    EXPECT_TRUE(framework::Application().Terminated()) << command;
    Stop();
  }
}

}  // namespace
}  // namespace lx::app
