#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <optional>
#include <span>

#include "dict/LxBinDic.h"
#include "framework/streaming/Streams.h"
#include "lang/LxDictionaries.h"
#include "lang/LxParser.h"
#include "platform/Exception.h"
#include "platform/Resources.h"
#include "pldimage/PldImage.h"
#include "support/FixedSystem.h"
#include "support/Raised.h"
#include "support/TempFolder.h"

namespace lx::dict {
namespace {

using support::MessageOf;

tools::PldLanguage Language(int primary, const std::string& name) {
  tools::PldLanguage language;
  language.primaryLanguage = primary;
  language.subLanguage = primary == 0 ? 0 : 1;
  language.codePage = 1252;
  language.englishName = name;
  return language;
}

// Puts other bytes in place of the linked dictionary image for its lifetime.
class LinkedImage {
 public:
  explicit LinkedImage(std::vector<std::uint8_t> bytes)
      : bytes_(std::move(bytes)),
        original_(platform::FindResource(platform::MainModule(), kType, kName)) {
    platform::RegisterResource(kType, kName, bytes_);
  }
  ~LinkedImage() {
    if (original_) {
      platform::RegisterResource(kType, kName, *original_);
    } else {
      platform::UnregisterResource(kType, kName);
    }
  }
  LinkedImage(const LinkedImage&) = delete;
  LinkedImage& operator=(const LinkedImage&) = delete;

 private:
  static constexpr std::string_view kType = "LXDICTIONARY";
  static constexpr std::string_view kName = "PlDictionary";
  std::vector<std::uint8_t> bytes_;
  std::optional<std::span<const std::uint8_t>> original_;
};

class LxBinDicTest : public ::testing::Test {
 protected:
  // Writes `image` to a file and points a fresh dictionary at it.
  TLxBinaryDictionary& FileDictionary(const tools::PldImage& image) {
    return FileDictionary(tools::WritePldImage(image));
  }
  TLxBinaryDictionary& FileDictionary(const std::vector<std::uint8_t>& bytes) {
    const std::string file = temp_.Text() + "d" + std::to_string(files_++) + ".pld";
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    auto& dictionary = *dictionaries_.emplace_back(std::make_unique<TLxBinaryDictionary>(nullptr));
    dictionary.SetFileName(file);
    dictionary.SetBinding(lang::lxbiNone);
    return dictionary;
  }

  static tools::PldImage ThreeLanguages(int contentFlags) {
    tools::PldImage image;
    image.contentFlags = contentFlags;
    image.languages = {Language(0, "English"), Language(10, "Spanish"), Language(7, "German")};
    return image;
  }

  support::FixedSystem system_;
  support::TempFolder temp_;
  int files_ = 0;
  std::vector<std::unique_ptr<TLxBinaryDictionary>> dictionaries_;
};

TEST_F(LxBinDicTest, AnEmptyFileNameStopsEveryQuery) {
  TLxBinaryDictionary dictionary(nullptr);
  EXPECT_FALSE(dictionary.CanOpen());
  EXPECT_EQ(MessageOf([&] { dictionary.GetLanguageCount(); }), "No FileName property set");
  dictionary.SetStorage(lxsResource);
  EXPECT_TRUE(dictionary.CanOpen());
  EXPECT_EQ(MessageOf([&] { dictionary.GetLanguageCount(); }), "No FileName property set");
}

TEST_F(LxBinDicTest, ContentFlagsDecideTheContextKeys) {
  auto& plain = FileDictionary(ThreeLanguages(0));
  plain.GetLanguageCount();
  EXPECT_FALSE(plain.HasContextKeys());
  auto& keyed = FileDictionary(ThreeLanguages(3));
  keyed.GetLanguageCount();
  EXPECT_TRUE(keyed.HasContextKeys());
}

TEST_F(LxBinDicTest, TheNativeLanguageLoadsNothing) {
  tools::PldImage image = ThreeLanguages(0);
  image.translations = {{{"Open", "Abrir", "Oeffnen"}, "", ""}};
  auto& dictionary = FileDictionary(image);
  dictionary.SetLanguage(0);
  dictionary.Open();
  ASSERT_TRUE(dictionary.IsOpen());
  EXPECT_EQ(dictionary.Translations().Count(), 0);
  EXPECT_EQ(lang::TranslateWith(&dictionary, "Open"), "Open");
}

TEST_F(LxBinDicTest, CountsTheImageNotTheLoadedTable) {
  tools::PldImage image = ThreeLanguages(0);
  for (int i = 0; i < 500; ++i) {
    const std::string word = "word " + std::to_string(i);
    image.translations.push_back(
        {{word, i < 20 ? "palabra " + std::to_string(i) : "", ""}, "", ""});
  }
  auto& dictionary = FileDictionary(image);
  dictionary.SetLanguage(1);
  dictionary.Open();
  EXPECT_EQ(dictionary.GetTranslationCount(), 500);
  EXPECT_EQ(dictionary.Translations().Count(), 20);
  EXPECT_EQ(lang::TranslateWith(&dictionary, "word 7"), "palabra 7");
  EXPECT_EQ(lang::TranslateWith(&dictionary, "word 70"), "word 70");
}

TEST_F(LxBinDicTest, FallsBackToTheLanguageWithoutSubLanguage) {
  tools::PldImage image;
  image.languages = {Language(0, "English"), Language(10, "Spanish"),
                     Language(10, "Spanish (Peru)")};
  image.languages[2].subLanguages = "11";
  image.translations = {{{"Open", "Abrir", "Abrir (PE)"}, "", ""},
                        {{"Save", "Guardar", ""}, "", ""}};
  auto& dictionary = FileDictionary(image);
  dictionary.SetLanguage(2);
  dictionary.Open();
  EXPECT_EQ(dictionary.FallbackLanguageIndex(), 1);
  EXPECT_EQ(lang::TranslateWith(&dictionary, "Open"), "Abrir (PE)");
  EXPECT_EQ(lang::TranslateWith(&dictionary, "Save"), "Guardar");
  lang::TLxTranslation entry;
  dictionary.TranslationAt(dictionary.FindWord("Save"), entry);
  EXPECT_EQ(entry.State, lang::TLxTranslation::kFallbackText);
}

TEST_F(LxBinDicTest, ReadsLanguagesAndLocalesAndRefusesIndexesItDoesNotHold) {
  tools::PldImage image = ThreeLanguages(0);
  tools::PldLocale peru;
  peru.primaryLanguage = 10;
  peru.subLanguage = 11;
  peru.codePage = 1252;
  peru.englishCountryName = "Peru";
  image.locales = {peru};
  auto& dictionary = FileDictionary(image);
  EXPECT_EQ(dictionary.GetLanguageCount(), 3);
  EXPECT_EQ(dictionary.GetLocaleCount(), 1);
  lang::TLxLanguage german;
  dictionary.GetLanguage(2, german);
  EXPECT_EQ(german.EnglishName, "German");
  std::vector<std::unique_ptr<lang::TLxLanguage>> languages;
  dictionary.GetLanguages(languages);
  ASSERT_EQ(languages.size(), 3u);
  EXPECT_EQ(languages[1]->EnglishName, "Spanish");
  lang::TLxLocale locale;
  dictionary.GetLocale(0, locale);
  EXPECT_EQ(locale.EnglishCountryName, "Peru");
  EXPECT_EQ(locale.LocaleId(), 0x2C0A);
  EXPECT_EQ(MessageOf([&] { dictionary.GetLanguage(3, german); }),
            "Language index 3 is out of range");
  EXPECT_EQ(MessageOf([&] { dictionary.GetLocale(1, locale); }), "Locale index 1 is out of range");

  // A language index stored while closed fails the open, which leaves the dictionary closed.
  dictionary.SetLanguage(7);
  EXPECT_THROW(dictionary.Open(), platform::ERangeError);
  EXPECT_FALSE(dictionary.IsOpen());
}

TEST_F(LxBinDicTest, ALocaleChangeKeepsTheTable) {
  tools::PldImage image = ThreeLanguages(0);
  image.translations = {{{"Open", "Abrir", "Oeffnen"}, "", ""}};
  auto& dictionary = FileDictionary(image);
  dictionary.SetLanguage(1);
  dictionary.Open();
  dictionary.SetLocale(0x0C0A);
  EXPECT_EQ(dictionary.Translations().Count(), 1);
  dictionary.SetLanguage(2);
  EXPECT_EQ(lang::TranslateWith(&dictionary, "Open"), "Oeffnen");
}

// The resource image is built from tests/dict/ResourceDictionary.json by lxpld.
TEST_F(LxBinDicTest, AResourceImageAnswersAsTheSameFileDoes) {
  const auto bytes = platform::FindResource(platform::MainModule(), "LXDICTIONARY", "PlDictionary");
  ASSERT_TRUE(bytes.has_value());
  auto& fromFile = FileDictionary(tools::ParsePldImage(*bytes));
  TLxBinaryDictionary fromResource(nullptr);
  fromResource.SetStorage(lxsResource);
  fromResource.SetFileName("ignored.pld");
  fromResource.SetBinding(lang::lxbiNone);
  for (TLxBinaryDictionary* dictionary : {&fromFile, &fromResource}) {
    dictionary->SetLanguage(1);
    dictionary->Open();
  }
  EXPECT_EQ(fromResource.GetLanguageCount(), fromFile.GetLanguageCount());
  EXPECT_EQ(fromResource.GetLocaleCount(), 1);
  EXPECT_TRUE(fromResource.HasContextKeys());
  for (int language : {1, 2}) {
    fromFile.SetLanguage(language);
    fromResource.SetLanguage(language);
    for (const char* context : {"TMainForm", "TFileForm", "TOther"}) {
      for (const char* word : {"Open", "Cancel", "OK", "Save"}) {
        std::string a = "-";
        std::string b = "-";
        EXPECT_EQ(fromFile.Translate(word, context, a, ""),
                  fromResource.Translate(word, context, b, ""));
        EXPECT_EQ(a, b) << word << " in " << context;
      }
    }
  }
  // German has no text of its own here and Spanish is no fallback of it: no entry at all.
  std::string value = "-";
  EXPECT_FALSE(fromResource.Translate("Open", "TFileForm", value, ""));
  EXPECT_TRUE(fromResource.Translate("Open", "TMainForm", value, ""));
  EXPECT_EQ(value,
            "\xD6"
            "ffnen");
}

TEST_F(LxBinDicTest, FileAndResourceOpenTheSameBytesAlike) {
  tools::PldImage image = ThreeLanguages(0);
  image.translations = {{{"Open", "Abrir", "Oeffnen"}, "", ""}};
  std::vector<std::uint8_t> bytes = tools::WritePldImage(image);
  tools::SetSectionOffset(bytes, tools::PldSection::Languages, 0);
  auto& fromFile = FileDictionary(bytes);
  const LinkedImage linked(bytes);
  TLxBinaryDictionary fromResource(nullptr);
  fromResource.SetStorage(lxsResource);
  fromResource.SetFileName("ignored.pld");
  for (TLxBinaryDictionary* dictionary : {&fromFile, &fromResource}) {
    EXPECT_EQ(dictionary->GetTranslationCount(), 1);
    EXPECT_EQ(dictionary->GetLanguageCount(), 3);
    // Only what needs the language section misses it.
    lang::TLxLanguage language;
    EXPECT_EQ(MessageOf([&] { dictionary->GetLanguage(0, language); }), "Invalid language offset");
  }
}

TEST_F(LxBinDicTest, TranslationsComeInTheActiveLanguagesCodePage) {
  tools::PldImage image;
  image.utf16 = true;
  image.languages = {Language(0, "English"), Language(25, "Russian"), Language(8, "Greek")};
  image.languages[1].codePage = 1251;
  image.languages[2].codePage = 1253;
  image.translations = {{{"Open", "\u041E\u0442\u043A\u0440\u044B\u0442\u044C",
                          "\u0386\u03BD\u03BF\u03B9\u03B3\u03BC\u03B1"},
                         "",
                         ""}};
  auto& dictionary = FileDictionary(image);
  dictionary.SetCheckLevel(lang::lxclNone);
  dictionary.SetLanguage(1);
  dictionary.Open();
  EXPECT_EQ(lang::TranslateWith(&dictionary, "Open"),
            lang::WideToAnsi(u"\u041E\u0442\u043A\u0440\u044B\u0442\u044C", 1251));
  dictionary.SetLanguage(2);
  EXPECT_EQ(lang::TranslateWith(&dictionary, "Open"),
            lang::WideToAnsi(u"\u0386\u03BD\u03BF\u03B9\u03B3\u03BC\u03B1", 1253));
}

TEST_F(LxBinDicTest, NativeTextsWithAContextAreReEncodedForTheSystem) {
  tools::PldImage image = ThreeLanguages(3);
  image.languages[0].codePage = 1251;  // the system's is 1252
  image.translations = {{{"5 \u20AC", "5 euros", "5 Euro"}, "TPriceForm", ""},
                        {{"7 \u20AC", "7 euros", "7 Euro"}, "", ""}};
  auto& dictionary = FileDictionary(image);
  dictionary.SetLanguage(2);
  dictionary.Open();
  ASSERT_EQ(dictionary.NativeCodePage(), 1251);
  std::string value;
  EXPECT_TRUE(dictionary.Translate("5 \x80", "TPriceForm", value, ""));
  EXPECT_EQ(value, "5 Euro");
  // Without a context the entry keeps the native code page.
  EXPECT_TRUE(dictionary.Translate("7 \x88", "", value, ""));
  EXPECT_EQ(value, "7 Euro");

  // Asked not to, the dictionary keeps every native text as stored.
  dictionary.Close();
  dictionary.SetOptions(dictionary.Options() -
                        lang::TLxDictionaryOptions{lang::lxdoConvertNativeString});
  dictionary.Open();
  EXPECT_TRUE(dictionary.Translate("5 \x88", "TPriceForm", value, ""));
}

}  // namespace
}  // namespace lx::dict
