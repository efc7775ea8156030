#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <span>
#include <tuple>

#include "EmbeddedForms.h"
#include "dict/LxBinDic.h"
#include "framework/controls/Dialogs.h"
#include "framework/rtti/ClassRegistry.h"
#include "framework/rtti/Published.h"
#include "framework/runtime/Application.h"
#include "framework/runtime/MessageLoop.h"
#include "framework/streaming/Filer.h"
#include "framework/streaming/Streams.h"
#include "framework/streaming/TextForm.h"
#include "lang/LxDictionaries.h"
#include "lang/LxParser.h"
#include "lang/LxPlurals.h"
#include "platform/Exception.h"
#include "platform/Resources.h"
#include "pldimage/PldImage.h"
#include "support/FixedSystem.h"
#include "support/PldImages.h"
#include "support/Raised.h"
#include "support/TempFolder.h"

namespace lx::dict {
namespace {

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
  EXPECT_RAISES(dictionary.GetLanguageCount(), platform::Exception, "No FileName property set");
  dictionary.SetStorage(lxsResource);
  EXPECT_TRUE(dictionary.CanOpen());
  EXPECT_RAISES(dictionary.GetLanguageCount(), platform::Exception, "No FileName property set");
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

TEST_F(LxBinDicTest, PluralVariantsFollowTheActiveLanguageAcrossASwitch) {
  auto& dictionary = FileDictionary(support::PluralImage());
  dictionary.SetCheckLevel(lang::lxclNone);
  const struct {
    int language;
    std::int64_t count;
    const char* expected;
  } cases[] = {
      {2, 1, "1 \xF4\xE0\xE9\xEB"},
      {2, 3, "3 \xF4\xE0\xE9\xEB\xE0"},
      {2, 11, "11 \xF4\xE0\xE9\xEB\xEE\xE2"},
      {2, 21, "21 \xF4\xE0\xE9\xEB"},
      {2, 1234,
       "1\xA0"
       "234 \xF4\xE0\xE9\xEB\xE0"},
      {1, 1, "1 Datei"},
      // German takes the user's country, Austria, which groups with a no-break space.
      {1, 1234,
       "1\xA0"
       "234 Dateien"},
      {0, 2, "2 files"},
  };
  for (const auto& c : cases) {
    dictionary.SetLanguage(c.language);
    dictionary.Open();
    EXPECT_EQ(lang::TranslatePluralWith(&dictionary, "%d file", "%d files", c.count, "TMainForm",
                                        "FilesLabel"),
              c.expected);
    // By the word alone the first record of the word answers.
    EXPECT_EQ(lang::TranslatePluralWith(&dictionary, "%d file", "%d files", c.count), c.expected);
  }
  dictionary.Close();
  std::string value;
  EXPECT_FALSE(dictionary.TranslateVariant("%d file", "", "", "one", value));
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

// A fallback language stored after the active one: a switch reads on to its texts.
TEST_F(LxBinDicTest, ASwitchFindsAFallbackStoredAfterTheActiveLanguage) {
  tools::PldImage image;
  image.languages = {Language(0, "English"), Language(10, "Spanish (Peru)"),
                     Language(10, "Spanish")};
  image.languages[1].subLanguages = "11";
  image.translations = {{{"Open", "Abrir (PE)", "Abrir"}, "", ""},
                        {{"Save", "", "Guardar"}, "", ""}};
  auto& dictionary = FileDictionary(image);
  dictionary.SetLanguage(2);
  dictionary.Open();
  dictionary.SetLanguage(1);
  ASSERT_EQ(dictionary.FallbackLanguageIndex(), 2);
  EXPECT_EQ(lang::TranslateWith(&dictionary, "Open"), "Abrir (PE)");
  EXPECT_EQ(lang::TranslateWith(&dictionary, "Save"), "Guardar");
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
  EXPECT_RAISES(dictionary.GetLanguage(3, german), platform::Exception,
                "Language index 3 is out of range");
  EXPECT_RAISES(dictionary.GetLocale(1, locale), platform::Exception,
                "Locale index 1 is out of range");

  // A language index stored while closed fails the open, which leaves the dictionary closed.
  dictionary.SetLanguage(7);
  EXPECT_RAISES(dictionary.Open(), platform::ERangeError, "Language index 7 is out of range");
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

// ---- Data embedded in the owner's stored form

void ExpectSameLanguage(const lang::TLxLanguage& a, const lang::TLxLanguage& b) {
  SCOPED_TRACE(a.EnglishName);
  EXPECT_EQ(a.PrimaryLanguage, b.PrimaryLanguage);
  EXPECT_EQ(a.SubLanguage, b.SubLanguage);
  EXPECT_EQ(a.LocaleSubLanguage, b.LocaleSubLanguage);
  EXPECT_EQ(a.GetSubLanguagesText(), b.GetSubLanguagesText());
  EXPECT_EQ(a.IsoLanguageName, b.IsoLanguageName);
  EXPECT_EQ(a.IsoCountryName, b.IsoCountryName);
  EXPECT_EQ(a.CodePage, b.CodePage);
  EXPECT_EQ(a.Charset, b.Charset);
  EXPECT_EQ(a.EnglishName, b.EnglishName);
  EXPECT_EQ(a.NativeName, b.NativeName);
  EXPECT_EQ(a.FontName, b.FontName);
  EXPECT_EQ(a.FontSize, b.FontSize);
  EXPECT_EQ(a.Flags, b.Flags);
}

template <std::size_t N>
void ExpectSameNames(const std::array<std::string, N>& a, const std::array<std::string, N>& b) {
  for (std::size_t i = 0; i < N; ++i)
    EXPECT_EQ(a[i], b[i]) << i;
}

void ExpectSameLocale(const lang::TLxLocale& a, const lang::TLxLocale& b) {
  EXPECT_EQ(a.LocaleId(), b.LocaleId());
  EXPECT_EQ(a.CodePage, b.CodePage);
  EXPECT_EQ(a.Custom, b.Custom);
  EXPECT_EQ(a.Charset, b.Charset);
  EXPECT_EQ(a.EnglishLanguageName, b.EnglishLanguageName);
  EXPECT_EQ(a.EnglishCountryName, b.EnglishCountryName);
  EXPECT_EQ(a.NativeLanguageName, b.NativeLanguageName);
  EXPECT_EQ(a.NativeCountryName, b.NativeCountryName);
  EXPECT_EQ(a.AbbrevLanguageName, b.AbbrevLanguageName);
  EXPECT_EQ(a.CountryName, b.CountryName);
  EXPECT_EQ(a.CurrencyString, b.CurrencyString);
  EXPECT_EQ(a.CurrencyFormat, b.CurrencyFormat);
  EXPECT_EQ(a.NegCurrFormat, b.NegCurrFormat);
  EXPECT_EQ(a.CurrencyDecimals, b.CurrencyDecimals);
  EXPECT_EQ(a.ThousandSeparator, b.ThousandSeparator);
  EXPECT_EQ(a.DecimalSeparator, b.DecimalSeparator);
  EXPECT_EQ(a.DateSeparator, b.DateSeparator);
  EXPECT_EQ(a.ShortDateFormat, b.ShortDateFormat);
  EXPECT_EQ(a.LongDateFormat, b.LongDateFormat);
  EXPECT_EQ(a.ListSeparator, b.ListSeparator);
  EXPECT_EQ(a.TimeSeparator, b.TimeSeparator);
  EXPECT_EQ(a.TimeAMString, b.TimeAMString);
  EXPECT_EQ(a.TimePMString, b.TimePMString);
  EXPECT_EQ(a.HourLeadingZero, b.HourLeadingZero);
  EXPECT_EQ(a.TimeFormat, b.TimeFormat);
  EXPECT_EQ(a.TimeMarkPosition, b.TimeMarkPosition);
  EXPECT_EQ(a.Measurement, b.Measurement);
  EXPECT_EQ(a.CalendarType, b.CalendarType);
  EXPECT_EQ(a.OptionalCalendar, b.OptionalCalendar);
  EXPECT_EQ(a.FirstDayOfWeek, b.FirstDayOfWeek);
  EXPECT_EQ(a.FirstWeekOfYear, b.FirstWeekOfYear);
  ExpectSameNames(a.ShortMonthNames, b.ShortMonthNames);
  ExpectSameNames(a.LongMonthNames, b.LongMonthNames);
  ExpectSameNames(a.ShortDayNames, b.ShortDayNames);
  ExpectSameNames(a.LongDayNames, b.LongDayNames);
}

void ExpectSameTables(const TLxTranslationList& a, const TLxTranslationList& b) {
  ASSERT_EQ(a.Count(), b.Count());
  for (int i = 0; i < a.Count(); ++i) {
    SCOPED_TRACE(a.Native(i));
    EXPECT_EQ(a.Native(i), b.Native(i));
    EXPECT_EQ(a.Context(i), b.Context(i));
    EXPECT_EQ(a.Id(i), b.Id(i));
    EXPECT_EQ(a.Translation(i), b.Translation(i));
    EXPECT_EQ(a.State(i), b.State(i));
  }
}

// Every query of `embedded` answers as the same query of `file` does.
void ExpectSameDictionary(TLxBinaryDictionary& file, TLxBinaryDictionary& embedded) {
  ASSERT_EQ(embedded.GetLanguageCount(), file.GetLanguageCount());
  EXPECT_EQ(embedded.GetTranslationCount(), file.GetTranslationCount());
  ASSERT_EQ(embedded.GetLocaleCount(), file.GetLocaleCount());
  std::vector<std::unique_ptr<lang::TLxLanguage>> fileLanguages;
  std::vector<std::unique_ptr<lang::TLxLanguage>> embeddedLanguages;
  file.GetLanguages(fileLanguages);
  embedded.GetLanguages(embeddedLanguages);
  ASSERT_EQ(embeddedLanguages.size(), fileLanguages.size());
  for (int i = 0; i < file.GetLanguageCount(); ++i) {
    lang::TLxLanguage a;
    lang::TLxLanguage b;
    file.GetLanguage(i, a);
    embedded.GetLanguage(i, b);
    ExpectSameLanguage(a, b);
    ExpectSameLanguage(*fileLanguages[i], *embeddedLanguages[i]);
  }
  std::vector<std::unique_ptr<lang::TLxLocale>> fileLocales;
  std::vector<std::unique_ptr<lang::TLxLocale>> embeddedLocales;
  file.GetLocales(fileLocales);
  embedded.GetLocales(embeddedLocales);
  ASSERT_EQ(embeddedLocales.size(), fileLocales.size());
  for (int i = 0; i < file.GetLocaleCount(); ++i) {
    lang::TLxLocale a;
    lang::TLxLocale b;
    file.GetLocale(i, a);
    embedded.GetLocale(i, b);
    ExpectSameLocale(a, b);
    ExpectSameLocale(*fileLocales[i], *embeddedLocales[i]);
  }
  for (TLxBinaryDictionary* dictionary : {&file, &embedded}) {
    dictionary->SetCheckLevel(lang::lxclNone);
    dictionary->Open();
  }
  for (int language = 0; language < file.GetLanguageCount(); ++language) {
    SCOPED_TRACE(language);
    file.SetLanguage(language);
    embedded.SetLanguage(language);
    EXPECT_EQ(embedded.ActiveLanguageIndex(), file.ActiveLanguageIndex());
    EXPECT_EQ(embedded.HasContextKeys(), file.HasContextKeys());
    ExpectSameTables(file.Translations(), embedded.Translations());
  }
}

class LxBinDicEmbeddedTest : public LxBinDicTest {
 protected:
  // Saves a module whose dictionary embeds `image` and links its form into the program.
  void SaveAndLink(const tools::PldImage& image) {
    pldFile_ = temp_.Text() + "embedded.pld";
    test::WriteImageFile(image, pldFile_);
    Link(test::SaveEmbeddedModule(pldFile_));
  }
  void Link(std::vector<std::uint8_t> bytes) {
    resource_.reset();
    resource_ = std::make_unique<test::TFormResource>("TEmbedModule", std::move(bytes));
  }
  TLxBinaryDictionary& Load() {
    module_ = test::LoadEmbedModule();
    TLxBinaryDictionary& dictionary = test::DictionaryOf(*module_);
    dictionary.SetBinding(lang::lxbiNone);
    return dictionary;
  }

  test::TDialogLog dialogs_;
  std::string pldFile_;
  std::unique_ptr<test::TFormResource> resource_;
  std::unique_ptr<test::TEmbedModule> module_;
};

TEST_F(LxBinDicEmbeddedTest, AnswersEveryQueryAsItsFileDoes) {
  const tools::PldImage image = tools::SamplePldImage();
  SaveAndLink(image);
  TLxBinaryDictionary& embedded = Load();
  // At run time the file is never read: it may as well be gone.
  std::filesystem::remove(pldFile_);
  EXPECT_FALSE(embedded.LegacyData());
  EXPECT_EQ(embedded.StoredLanguageCount(), 3);
  EXPECT_EQ(embedded.StoredTranslationCount(), 4);
  EXPECT_EQ(embedded.StoredLocaleCount(), 1);
  ExpectSameDictionary(FileDictionary(image), embedded);
  EXPECT_TRUE(embedded.HasContextKeys());
}

// tests/dict/CompiledModule.lxfm, given the data of tests/dict/ResourceDictionary.json by
// lxform --embed and compiled into this program by the build.
class TCompiledModule : public framework::TDataModule {
  LX_CLASS(TCompiledModule, framework::TDataModule)

 public:
  explicit TCompiledModule(framework::TComponent* owner) : TDataModule(owner) {}
};

LX_PUBLISHED(TCompiledModule)

TEST_F(LxBinDicEmbeddedTest, AFormCompiledWithItsDictionaryAnswersAsTheFileDoes) {
  const auto image = platform::FindResource(platform::MainModule(), "LXDICTIONARY", "PlDictionary");
  ASSERT_TRUE(image.has_value());
  framework::RegisterClass(TLxBinaryDictionary::StaticClassInfo());
  TCompiledModule module(nullptr);
  framework::LoadFormResource(module);
  auto& embedded = dynamic_cast<TLxBinaryDictionary&>(*module.FindComponent("Dictionary"));
  EXPECT_EQ(embedded.DictionaryName(), "Compiled");
  EXPECT_EQ(embedded.Storage(), lxsEmbedded);
  embedded.SetBinding(lang::lxbiNone);
  ExpectSameDictionary(FileDictionary(tools::ParsePldImage(*image)), embedded);
}

TEST_F(LxBinDicEmbeddedTest, DecodesEscapesOfEmbeddedTextsOnly) {
  tools::PldImage image = ThreeLanguages(3);
  image.translations = {{{"a#Lb", "c#Td", ""}, "TForm1", ""}, {{"Only", "", ""}, "TForm1", ""}};
  SaveAndLink(image);
  TLxBinaryDictionary& embedded = Load();
  TLxBinaryDictionary& file = FileDictionary(image);
  for (TLxBinaryDictionary* dictionary : {&embedded, &file}) {
    dictionary->SetLanguage(1);
    dictionary->Open();
  }
  ASSERT_EQ(embedded.Translations().Count(), 1);
  EXPECT_EQ(embedded.Translations().Native(0), "a\nb");
  EXPECT_EQ(embedded.Translations().Translation(0), "c\td");
  EXPECT_EQ(embedded.Translations().Context(0), "TForm1");
  EXPECT_EQ(file.Translations().Native(0), "a#Lb");
  std::string value;
  EXPECT_TRUE(embedded.Translate("a\nb", "TForm1", value, ""));
  EXPECT_EQ(value, "c\td");
}

TEST_F(LxBinDicEmbeddedTest, ReEncodesNativeTextsAsTheFileDoes) {
  // A native language in another code page than the system's (1252).
  tools::PldImage image = ThreeLanguages(3);
  image.languages[0].codePage = 1250;
  image.translations = {{{"\xC5\x81\xC3\xB3"
                          "d\xC5\xBA",
                          "Lodz", ""},
                         "TForm1",
                         ""}};
  SaveAndLink(image);
  TLxBinaryDictionary& embedded = Load();
  TLxBinaryDictionary& file = FileDictionary(image);
  for (TLxBinaryDictionary* dictionary : {&embedded, &file}) {
    dictionary->SetCheckLevel(lang::lxclNone);
    dictionary->SetLanguage(1);
    dictionary->Open();
  }
  ASSERT_EQ(embedded.Translations().Count(), 1);
  EXPECT_NE(file.Translations().Native(0),
            "\xA3\xF3"
            "d\x9F");
  EXPECT_EQ(embedded.Translations().Native(0), file.Translations().Native(0));
}

TEST_F(LxBinDicEmbeddedTest, ARenamedDictionaryFindsNoData) {
  SaveAndLink(tools::SamplePldImage());
  TLxBinaryDictionary& dictionary = Load();
  dictionary.SetName("Renamed");
  lang::TLxLanguage language;
  EXPECT_RAISES(dictionary.GetLanguage(1, language), platform::EResNotFound,
                "Could not find the property");
  lang::TLxLocale locale;
  EXPECT_RAISES(dictionary.GetLocale(0, locale), lang::ELxPoly,
                "No dictionary data! Set the FileName property.");
  EXPECT_RAISES(dictionary.GetLocale(5, locale), lang::ELxPoly,
                "No dictionary data! Set the FileName property.");
  dictionary.SetName("Dictionary");
  EXPECT_RAISES(dictionary.GetLanguage(3, language), platform::Exception,
                "Language index 3 is out of range");
}

TEST_F(LxBinDicEmbeddedTest, ADictionaryInsideAPanelIsNotFound) {
  SaveAndLink(tools::SamplePldImage());
  // The same component one level down, as in a form where it sits on a panel.
  std::string text = framework::FormBinaryToText(resource_->Bytes());
  text.insert(text.find("  object Dictionary"), "  object Panel1: TPanel\n");
  text.insert(text.rfind("end\n"), "  end\n");
  Link(test::CompileForm(text));
  test::TEmbedModule module(nullptr);
  auto* dictionary = new TLxBinaryDictionary(&module);
  dictionary->SetName("Dictionary");
  dictionary->SetStorage(lxsEmbedded);
  std::vector<std::unique_ptr<lang::TLxLanguage>> languages;
  EXPECT_RAISES(dictionary->GetLanguages(languages), platform::EResNotFound,
                "Could not find the property");
  EXPECT_TRUE(languages.empty());
}

TEST_F(LxBinDicEmbeddedTest, SavingTellsWhyNoDataWasStored) {
  const std::string missing = temp_.Text() + "missing.pld";
  auto saved = [&](const std::string& fileName) {
    dialogs_.requests.clear();
    return framework::FormBinaryToText(test::SaveEmbeddedModule(fileName));
  };
  // An empty name stores nothing and says nothing (but the reminder of the storage).
  std::string text = saved("");
  EXPECT_EQ(text.find("Data"), std::string::npos);
  ASSERT_EQ(dialogs_.requests.size(), 1u);
  EXPECT_EQ(dialogs_.requests[0].dlgType, framework::mtInformation);

  text = saved(missing);
  EXPECT_EQ(text.find("Data"), std::string::npos);
  ASSERT_EQ(dialogs_.requests.size(), 2u);
  EXPECT_EQ(dialogs_.requests[1].kind, framework::TDialogRequest::TKind::MessageBox);
  EXPECT_EQ(dialogs_.requests[1].text,
            "Can not find the file name " + missing + ". No dictionary data was stored!");
  EXPECT_EQ(dialogs_.requests[1].caption, "File not found");
  EXPECT_EQ(dialogs_.requests[1].flags, framework::MB_OK);

  tools::PldImage unicode = tools::SamplePldImage();
  unicode.utf16 = true;
  const std::string wide = temp_.Text() + "wide.pld";
  test::WriteImageFile(unicode, wide);
  text = saved(wide);
  EXPECT_EQ(text.find("Data"), std::string::npos);
  ASSERT_EQ(dialogs_.requests.size(), 2u);
  EXPECT_EQ(dialogs_.requests[1].text,
            "Can not use a Unicode PLD file " + wide + ". No dictionary data was stored!");
  EXPECT_EQ(dialogs_.requests[1].caption, "Unicode not supported");

  // With its file the data is stored in this order, and no message.
  const std::string good = temp_.Text() + "good.pld";
  test::WriteImageFile(tools::SamplePldImage(), good);
  text = saved(good);
  EXPECT_EQ(dialogs_.requests.size(), 1u);
  const auto languages = text.find("LanguageData = {");
  const auto translations = text.find("TranslationData = {");
  const auto locales = text.find("LocaleData = {");
  ASSERT_NE(locales, std::string::npos);
  EXPECT_LT(languages, translations);
  EXPECT_LT(translations, locales);
  // Only an embedded dictionary stores its data.
  for (TLxStorage storage : {lxsFile, lxsResource}) {
    EXPECT_EQ(framework::FormBinaryToText(test::SaveEmbeddedModule(good, storage)).find("Data"),
              std::string::npos);
  }
}

TEST_F(LxBinDicEmbeddedTest, AtDesignTimeAnExistingFileWins) {
  tools::PldImage image = ThreeLanguages(0);
  SaveAndLink(image);
  image.languages.push_back(Language(12, "French"));
  test::WriteImageFile(image, pldFile_);
  framework::RegisterClass(TLxBinaryDictionary::StaticClassInfo());
  test::TEmbedModule module(nullptr);
  module.SetDesigning(true);
  framework::LoadFormResource(module);
  TLxBinaryDictionary& dictionary = test::DictionaryOf(module);
  EXPECT_EQ(dictionary.StoredLanguageCount(), 3);
  EXPECT_EQ(dictionary.GetLanguageCount(), 4);
  std::filesystem::remove(pldFile_);
  EXPECT_EQ(dictionary.GetLanguageCount(), 3);
}

// An older form: the data as lists, version 1 (no character sets, no content flags).
constexpr std::string_view kLegacyForm = R"(object EmbedModule: TEmbedModule
  object Dictionary: TLxBinaryDictionary
    Storage = lxsEmbedded
    Languages = (1 2 (0 '' 0 1252 'English' 'Native' '' 0 False False) (10 '' 1 1252 'Spanish' 'Espa'#241'ol' '' 0 False False))
    Translations = (1 2 ('Open' 'Abrir') ('a#Lb' 'c#Ld'))
    Locales = (1 0)
    LanguageData = {
      01000000}
  end
end
)";

TEST_F(LxBinDicEmbeddedTest, ReadsTheListFormOfOlderForms) {
  Link(test::CompileForm(kLegacyForm));
  TLxBinaryDictionary& dictionary = Load();
  EXPECT_TRUE(dictionary.LegacyData());
  // The binary property that follows counted its own (empty) data...
  EXPECT_EQ(dictionary.StoredLanguageCount(), 0);
  EXPECT_EQ(dictionary.StoredTranslationCount(), 2);
  EXPECT_EQ(dictionary.StoredLocaleCount(), 0);
  // ...but the queries read the lists.
  std::vector<std::unique_ptr<lang::TLxLanguage>> languages;
  dictionary.GetLanguages(languages);
  ASSERT_EQ(languages.size(), 2u);
  EXPECT_EQ(languages[1]->NativeName, "Espa\xF1ol");
  std::vector<std::unique_ptr<lang::TLxLocale>> locales;
  dictionary.GetLocales(locales);
  EXPECT_TRUE(locales.empty());
}

TEST_F(LxBinDicEmbeddedTest, LoadsTranslationsFromTheListForm) {
  std::string form(kLegacyForm);
  form.erase(form.find("    LanguageData"),
             std::string_view("    LanguageData = {\n      01000000}\n").size());
  Link(test::CompileForm(form));
  TLxBinaryDictionary& dictionary = Load();
  EXPECT_EQ(dictionary.StoredLanguageCount(), 2);
  lang::TLxLanguage spanish;
  dictionary.GetLanguage(1, spanish);
  EXPECT_EQ(spanish.EnglishName, "Spanish");
  dictionary.SetLanguage(1);
  dictionary.Open();
  ASSERT_TRUE(dictionary.IsOpen());
  EXPECT_FALSE(dictionary.HasContextKeys());
  EXPECT_EQ(lang::TranslateWith(&dictionary, "Open"), "Abrir");
  EXPECT_EQ(lang::TranslateWith(&dictionary, "a\nb"), "c\nd");
}

TEST_F(LxBinDicEmbeddedTest, TranslationsInListFormAloneMakeLegacyData) {
  // Loading never looks for the file, so its absence goes unmentioned.
  Link(test::CompileForm(R"(object EmbedModule: TEmbedModule
  object Dictionary: TLxBinaryDictionary
    FileName = 'gone.pld'
    Storage = lxsEmbedded
    LanguageData = {
      01000000}
    Translations = (1 0)
  end
end
)"));
  TLxBinaryDictionary& dictionary = Load();
  EXPECT_TRUE(dictionary.LegacyData());
  EXPECT_TRUE(dialogs_.requests.empty());
  // No locales stored, none looked for.
  std::vector<std::unique_ptr<lang::TLxLocale>> locales;
  dictionary.GetLocales(locales);
  EXPECT_TRUE(locales.empty());
}

// The hex digits of a text form's binary value.
std::string Hex(const std::vector<std::uint8_t>& bytes) {
  std::string hex;
  for (std::uint8_t byte : bytes) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 15];
  }
  return hex;
}

TEST_F(LxBinDicEmbeddedTest, TranslationDataCutShortFailsTheLoad) {
  tools::PldImage image = ThreeLanguages(0);
  image.translations = {{{"Open", "Abrir", "Oeffnen"}, "", ""}};
  const std::string file = temp_.Text() + "cut.pld";
  test::WriteImageFile(image, file);
  TLxPLDFile reader;
  reader.OpenFile(file);
  framework::TMemoryStream languages;
  framework::TMemoryStream translations;
  TLxCustomFileDictionary::WriteLanguageData(languages, reader);
  TLxCustomFileDictionary::WriteTranslationData(translations, reader);
  std::vector<std::uint8_t> cut = translations.Bytes();
  cut.resize(cut.size() - std::string_view("\x07\x00Oeffnen", 9).size());
  auto form = [&](const std::vector<std::uint8_t>& data) {
    return "object EmbedModule: TEmbedModule\n  object Dictionary: TLxBinaryDictionary\n"
           "    Storage = lxsEmbedded\n    LanguageData = {" +
           Hex(languages.Bytes()) + "}\n    TranslationData = {" + Hex(data) + "}\n  end\nend\n";
  };
  Link(test::CompileForm(form(translations.Bytes())));
  EXPECT_EQ(Load().StoredTranslationCount(), 1);
  Link(test::CompileForm(form(cut)));
  EXPECT_RAISES(Load(), platform::EReadError,
                "Error reading Dictionary.TranslationData: Stream read error");
}

TEST_F(LxBinDicEmbeddedTest, ALaterDataVersionFailsTheLoad) {
  std::string form(kLegacyForm);
  form.replace(form.find("Languages = (1 "), 15, "Languages = (3 ");
  Link(test::CompileForm(form));
  EXPECT_RAISES(Load(), platform::Exception, "Unknown language data version: 3");
  std::string binary(kLegacyForm);
  binary.replace(binary.find("01000000"), 8, "02000000");
  Link(test::CompileForm(binary));
  EXPECT_RAISES(Load(), platform::Exception, "Unknown language data version: 2");
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
    EXPECT_RAISES(dictionary->GetLanguage(0, language), platform::Exception,
                  "Invalid language offset");
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

// ---- Language switches

using TableEntry = std::tuple<std::string, std::string, std::string, std::string, int>;

std::vector<TableEntry> TableOf(const TLxBinaryDictionary& dictionary) {
  std::vector<TableEntry> entries;
  lang::TLxTranslation entry;
  for (int i = 0; i < dictionary.Translations().Count(); ++i) {
    dictionary.TranslationAt(i, entry);
    entries.emplace_back(entry.Native, entry.Context, entry.Id, entry.Translation, entry.State);
  }
  return entries;
}

// Duplicates, separators inside native texts, and languages that lack some texts (so that
// some switches keep the records of the table and others change them): after every
// switch the table and its answers are those of a dictionary opened in that language.
TEST_F(LxBinDicTest, ASwitchLoadsWhatAFreshOpenLoads) {
  std::mt19937 random(5);
  for (const int contentFlags : {0, 1}) {
    tools::PldImage image;
    image.contentFlags = contentFlags;
    image.languages = {Language(0, "English"), Language(10, "Spanish"), Language(7, "German"),
                       Language(12, "French")};
    for (int i = 0; i < 400; ++i) {
      std::string word = "w" + std::to_string(random() % 150);
      if (random() % 5 == 0) word += "\x7F" + std::to_string(random() % 3);
      const std::string n = std::to_string(i);
      tools::PldTranslation& record = image.translations.emplace_back();
      record.texts = {word, "es" + n, "de " + n, random() % 3 == 0 ? "" : "fr " + n};
      if (contentFlags != 0) record.context = "TForm" + std::to_string(random() % 3);
    }
    auto& switching = FileDictionary(image);
    switching.SetLanguage(1);
    switching.Open();
    for (const int language : {2, 1, 3, 2, 3, 1}) {
      switching.SetLanguage(language);
      auto& fresh = FileDictionary(image);
      fresh.SetLanguage(language);
      fresh.Open();
      ASSERT_EQ(TableOf(switching), TableOf(fresh)) << "language " << language;
      for (int word = 0; word < 160; ++word) {
        const std::string native = "w" + std::to_string(word);
        std::string fromSwitched = "-";
        std::string fromFresh = "-";
        EXPECT_EQ(switching.Translate(native, "TForm1", fromSwitched, ""),
                  fresh.Translate(native, "TForm1", fromFresh, ""));
        EXPECT_EQ(fromSwitched, fromFresh);
        EXPECT_EQ(lang::TranslateWith(&switching, native), lang::TranslateWith(&fresh, native));
      }
    }
  }
}

// Records of every size, some longer than the reader's buffer, so that many of them lie
// across its end: an open and a switch read each one whole.
TEST_F(LxBinDicTest, RecordsAcrossTheReadBufferAreReadWhole) {
  std::mt19937 random(17);
  tools::PldImage image;
  image.contentFlags = 1;
  image.languages = {Language(0, "English"), Language(10, "Spanish"), Language(7, "German")};
  const auto text = [&](const std::string& start) {
    const std::size_t length = random() % 50 == 0 ? 20000 + random() % 45000 : random() % 300;
    return start + std::string(length, static_cast<char>('a' + random() % 26));
  };
  for (int i = 0; i < 1500; ++i) {
    const std::string n = std::to_string(i);
    tools::PldTranslation& record = image.translations.emplace_back();
    record.texts = {text("w" + n), random() % 4 == 0 ? "" : text("es" + n), text("de" + n)};
    record.context = text("TForm");
    record.id = n;
  }
  for (const int language : {1, 2}) {
    std::vector<TableEntry> expected;
    for (const tools::PldTranslation& record : image.translations) {
      const std::string& chosen = record.texts[static_cast<std::size_t>(language)];
      if (chosen.empty()) continue;
      expected.emplace_back(record.texts[0], record.context, record.id, chosen,
                            lang::TLxTranslation::kActiveText);
    }
    std::sort(expected.begin(), expected.end());
    auto& opened = FileDictionary(image);
    opened.SetLanguage(language);
    opened.Open();
    std::vector<TableEntry> table = TableOf(opened);
    std::sort(table.begin(), table.end());
    ASSERT_EQ(table, expected) << "language " << language;
    opened.SetLanguage(3 - language);
    opened.SetLanguage(language);
    table = TableOf(opened);
    std::sort(table.begin(), table.end());
    EXPECT_EQ(table, expected) << "language " << language << " after a switch";
  }
}

// Images written in key order are read with the answers of the same records in any other
// order, which the dictionary still sorts: older images and other writers' ones.
TEST_F(LxBinDicTest, RecordsInKeyOrderAnswerAsRecordsInAnyOrder) {
  std::mt19937 random(11);
  for (const int contentFlags : {0, 1, 2}) {
    tools::PldImage shuffled;
    shuffled.contentFlags = contentFlags;
    shuffled.languages = {Language(0, "English"), Language(10, "Spanish"), Language(7, "German")};
    for (int i = 0; i < 300; ++i) {
      const std::string n = std::to_string(i);
      // Natives repeat only where an id tells the records apart.
      std::string word = "w" + std::to_string(contentFlags == 0 ? (i * 7) % 300 : random() % 100);
      if (random() % 4 == 0) word += "\x7F~\u00E9";
      tools::PldTranslation& record = shuffled.translations.emplace_back();
      record.texts = {word, "es " + n, random() % 3 == 0 ? "" : "de " + n};
      if (contentFlags == 1) record.context = "TForm" + std::to_string(random() % 3);
      record.id = contentFlags == 0 ? "" : n;
    }
    tools::PldImage ordered = shuffled;
    tools::SortTranslationsByKey(ordered);
    ASSERT_NE(ordered, shuffled);
    for (const int language : {1, 2}) {
      auto& fromOrdered = FileDictionary(ordered);
      auto& fromShuffled = FileDictionary(shuffled);
      for (auto* dictionary : {&fromOrdered, &fromShuffled}) {
        dictionary->SetLanguage(language);
        dictionary->Open();
      }
      const std::vector<TableEntry> table = TableOf(fromOrdered);
      ASSERT_EQ(table, TableOf(fromShuffled)) << contentFlags;
      // The table holds the records of the image in the image's own order (the native
      // texts in code page 1252 there).
      std::vector<std::string> imageOrder, tableOrder;
      for (const tools::PldTranslation& record : ordered.translations) {
        if (record.texts[static_cast<std::size_t>(language)].empty()) continue;
        std::string native = record.texts[0];
        if (native.ends_with("\u00E9")) native.replace(native.size() - 2, 2, "\xE9");
        imageOrder.push_back(native + "|" + record.context + "|" + record.id);
      }
      for (const auto& [native, context, id, text, state] : table)
        tableOrder.push_back(native + "|" + context + "|" + id);
      EXPECT_EQ(tableOrder, imageOrder) << contentFlags;
      for (int word = 0; word < 300; ++word) {
        const std::string native = "w" + std::to_string(word);
        std::string fromOne = "-", fromOther = "-";
        EXPECT_EQ(fromOrdered.Translate(native, "TForm1", fromOne, "7"),
                  fromShuffled.Translate(native, "TForm1", fromOther, "7"));
        EXPECT_EQ(fromOne, fromOther);
        EXPECT_EQ(lang::TranslateWith(&fromOrdered, native),
                  lang::TranslateWith(&fromShuffled, native));
      }
    }
  }
}

// An image of the same size and header: only its time of writing tells it changed.
void ReplaceKeepingTheSize(const std::string& file, const tools::PldImage& image,
                           std::filesystem::file_time_type written) {
  const std::vector<std::uint8_t> bytes = tools::WritePldImage(image);
  ASSERT_EQ(std::filesystem::file_size(file), bytes.size());
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  std::filesystem::last_write_time(file, written);
}

TEST_F(LxBinDicTest, ASwitchReadsAChangedFileInFull) {
  tools::PldImage before = ThreeLanguages(0);
  before.translations = {{{"Open", "Abrir", "Offen"}, "", ""}};
  tools::PldImage after = ThreeLanguages(0);
  after.translations = {{{"Shut", "Cerra", "Zumac"}, "", ""}};
  auto& dictionary = FileDictionary(before);
  dictionary.SetLanguage(1);
  dictionary.Open();
  const std::string file = dictionary.FileName();
  const auto written = std::filesystem::last_write_time(file);
  ReplaceKeepingTheSize(file, after, written + std::chrono::seconds(1));
  dictionary.SetLanguage(2);
  EXPECT_EQ(lang::TranslateWith(&dictionary, "Shut"), "Zumac");
  EXPECT_EQ(lang::TranslateWith(&dictionary, "Open"), "Open");

  // Closed, the dictionary forgets the keys: the next open reads them even from a file
  // that looks the same.
  dictionary.Close();
  ReplaceKeepingTheSize(file, before, written + std::chrono::seconds(1));
  dictionary.SetLanguage(1);
  dictionary.Open();
  EXPECT_EQ(lang::TranslateWith(&dictionary, "Open"), "Abrir");
}

// While the image looks the same (size, header, time of writing), a switch trusts the keys
// it read and takes only the texts: here a file rewritten behind the dictionary's back
// shows it, its new keys unseen until the dictionary is closed.
TEST_F(LxBinDicTest, ASwitchReadsOnlyTheTextsOfAnUnchangedImage) {
  for (const int contentFlags : {0, 1, 2, 3}) {
    tools::PldImage before = ThreeLanguages(contentFlags);
    const bool context = contentFlags == 1 || contentFlags == 3;
    const bool id = contentFlags == 1 || contentFlags == 2;
    before.translations = {
        {{"Open", "Abrir", "Offen"}, context ? "TForm1" : "", id ? "7" : ""},
        {{"Save", "Guardar", "Sichern"}, context ? "TForm2" : "", id ? "8" : ""}};
    tools::PldImage after = before;
    after.translations[0].texts = {"Shut", "Cerra", "Zumac"};
    auto& dictionary = FileDictionary(before);
    dictionary.SetLanguage(2);
    dictionary.Open();
    const std::string file = dictionary.FileName();
    ReplaceKeepingTheSize(file, after, std::filesystem::last_write_time(file));
    dictionary.SetLanguage(1);
    EXPECT_EQ(lang::TranslateWith(&dictionary, "Open"), "Cerra") << contentFlags;
    dictionary.SetLanguage(2);
    EXPECT_EQ(lang::TranslateWith(&dictionary, "Open"), "Zumac") << contentFlags;
    EXPECT_EQ(lang::TranslateWith(&dictionary, "Save"), "Sichern") << contentFlags;
    EXPECT_EQ(lang::TranslateWith(&dictionary, "Shut"), "Shut") << contentFlags;
  }
}

// The switch goes straight to where each record's texts started at the last full load:
// here the first record's key is cut short behind the dictionary's back and its texts put
// where the old ones began, which only a jump to the remembered place reads.
TEST_F(LxBinDicTest, ASwitchGoesStraightToTheTextsItNotedAtTheLoad) {
  tools::PldImage image = ThreeLanguages(0);
  image.translations = {{{"Open", "Abrir", "Offen"}, "", ""},
                        {{"Save", "Guardar", "Sichern"}, "", ""}};
  auto& dictionary = FileDictionary(image);
  dictionary.SetLanguage(2);
  dictionary.Open();
  const std::string file = dictionary.FileName();
  std::vector<std::uint8_t> bytes = tools::WritePldImage(image);
  using namespace std::string_view_literals;
  const std::string_view record =
      "\x04\x00Open\x05\x00"
      "Abrir\x05\x00"
      "Offen"sv;
  const std::string_view moved =
      "\x02\x00Op\x0C\x00\x03\x00"
      "Cer\x05\x00"
      "Zumac\x00\x00"sv;
  ASSERT_EQ(record.size(), moved.size());
  const auto at = std::search(bytes.begin(), bytes.end(), record.begin(), record.end());
  ASSERT_NE(at, bytes.end());
  std::copy(moved.begin(), moved.end(), at);
  const auto written = std::filesystem::last_write_time(file);
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  std::filesystem::last_write_time(file, written);
  dictionary.SetLanguage(1);
  EXPECT_EQ(lang::TranslateWith(&dictionary, "Open"), "Cer");
  EXPECT_EQ(lang::TranslateWith(&dictionary, "Save"), "Guardar");
  dictionary.SetLanguage(2);
  EXPECT_EQ(lang::TranslateWith(&dictionary, "Open"), "Zumac");
  EXPECT_EQ(lang::TranslateWith(&dictionary, "Save"), "Sichern");
}

TEST_F(LxBinDicTest, ASwitchAfterTheTableWasEmptiedLoadsInFull) {
  tools::PldImage image = ThreeLanguages(0);
  image.translations = {{{"Open", "Abrir", "Offen"}, "", ""}};
  auto& dictionary = FileDictionary(image);
  dictionary.SetLanguage(1);
  dictionary.Open();
  dictionary.ClearTranslations();
  dictionary.SetLanguage(2);
  EXPECT_EQ(lang::TranslateWith(&dictionary, "Open"), "Offen");
}

// Records that only the new language translates, before, between and after those both
// translate, or none at all: each switch gives what an open in that language gives.
TEST_F(LxBinDicTest, ASwitchToTextsTheLoadDidNotHoldLoadsThemToo) {
  for (const std::vector<int>& only : {std::vector<int>{0}, {2}, {4}, {}}) {
    tools::PldImage image = ThreeLanguages(0);
    for (int i = 0; i < 5; ++i) {
      const std::string n = std::to_string(i);
      const bool onlyGerman = std::find(only.begin(), only.end(), i) != only.end();
      image.translations.push_back({{"w" + n, onlyGerman ? "" : "es" + n, "de" + n}, "", ""});
    }
    auto& switching = FileDictionary(image);
    switching.SetLanguage(1);
    switching.Open();
    switching.SetLanguage(2);
    auto& fresh = FileDictionary(image);
    fresh.SetLanguage(2);
    fresh.Open();
    EXPECT_EQ(TableOf(switching), TableOf(fresh));
    switching.SetLanguage(1);
    EXPECT_EQ(switching.Translations().Count(), 5 - static_cast<int>(only.size()));
  }
}

TEST_F(LxBinDicTest, ASwitchAfterTheNativeTextsConversionChangedReadsTheKeysAgain) {
  tools::PldImage image = ThreeLanguages(3);
  image.languages[0].codePage = 1251;  // the system's is 1252
  image.translations = {{{"5 \u20AC", "5 euros", "5 Euro"}, "TPriceForm", ""}};
  auto& dictionary = FileDictionary(image);
  dictionary.SetLanguage(2);
  dictionary.Open();
  std::string value;
  EXPECT_TRUE(dictionary.Translate("5 \x80", "TPriceForm", value, ""));
  dictionary.SetOptions(dictionary.Options() -
                        lang::TLxDictionaryOptions{lang::lxdoConvertNativeString});
  dictionary.SetLanguage(1);
  EXPECT_TRUE(dictionary.Translate("5 \x88", "TPriceForm", value, ""));
  EXPECT_EQ(value, "5 euros");
}

// ---- Following the file

// A followed dictionary in Spanish whose file the test replaces; what the loop then does is
// carried out as the application's message loop would.
class LxBinDicFollowTest : public LxBinDicTest {
 protected:
  LxBinDicFollowTest() : dictionary_(FileDictionary(Spanish("Abrir"))) {
    dictionary_.SetLanguage(1);
    dictionary_.SetFollow(true);
    dictionary_.OnReloadError = [this](framework::TObject*, const std::string& message) {
      reports.push_back(message);
    };
    dictionary_.OnLanguageChange = [this](framework::TObject*) { ++changes; };
    dictionary_.Open();
    changes = 0;
  }
  ~LxBinDicFollowTest() override { framework::DoneApplication(); }

  static tools::PldImage Spanish(const std::string& open) {
    tools::PldImage image = ThreeLanguages(0);
    image.translations = {{{"Open", open, "Oeffnen"}, "", ""}};
    return image;
  }
  static std::vector<std::uint8_t> Bytes(const std::string& open) {
    return tools::WritePldImage(Spanish(open));
  }
  // Replaced as the tools replace it: a temporary file renamed over it.
  void Replace(const std::vector<std::uint8_t>& bytes) {
    const std::string file = dictionary_.FileName();
    Write(file + ".tmp", bytes);
    std::filesystem::rename(file + ".tmp", file);
  }
  static void Write(const std::string& file, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  // One turn of the loop: the watch's input, then the posted reload.
  bool Turn() {
    const bool input = framework::DispatchInput(1000);
    framework::Application().ProcessMessages();
    return input;
  }
  std::string Open() { return lang::TranslateWith(&dictionary_, "Open"); }

  TLxBinaryDictionary& dictionary_;
  std::vector<std::string> reports;
  int changes = 0;
};

TEST_F(LxBinDicFollowTest, AReplacedOrRewrittenFileIsTakenInTheActiveLanguage) {
  ASSERT_TRUE(dictionary_.Following());
  Replace(Bytes("Abrir ya"));
  EXPECT_TRUE(Turn());
  EXPECT_EQ(Open(), "Abrir ya");
  EXPECT_EQ(dictionary_.Language(), 1);
  Write(dictionary_.FileName(), Bytes("Abre"));
  EXPECT_TRUE(Turn());
  EXPECT_EQ(Open(), "Abre");
  EXPECT_EQ(changes, 2);
  EXPECT_TRUE(reports.empty());
}

TEST_F(LxBinDicFollowTest, ABadFileKeepsTheTextsAndIsReportedOnce) {
  const std::vector<std::uint8_t> good = Bytes("Abrir ya");
  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
    std::string report;
  };
  std::vector<std::uint8_t> oneLanguage = [] {
    tools::PldImage image = ThreeLanguages(0);
    image.languages.resize(1);
    return tools::WritePldImage(image);
  }();
  const Case cases[] = {
      {"truncated",
       {good.begin(), good.begin() + static_cast<long>(good.size()) - 3},
       "Stream read error"},
      {"not a dictionary", std::vector<std::uint8_t>(64, 'x'),
       "The stream is not a valid PLD stream"},
      {"without the active language", oneLanguage, "Language index 1 is out of range"},
  };
  for (const Case& c : cases) {
    reports.clear();
    Replace(c.bytes);
    Turn();
    Replace(c.bytes);
    Turn();
    EXPECT_EQ(Open(), "Abrir") << c.what;
    EXPECT_EQ(reports, std::vector<std::string>{dictionary_.FileName() + ": " + c.report})
        << c.what;
    EXPECT_EQ(changes, 0) << c.what;
  }
  Replace(good);
  Turn();
  EXPECT_EQ(Open(), "Abrir ya");
  // After a good file, the failure reported last is news again.
  Replace(cases[2].bytes);
  Turn();
  EXPECT_EQ(reports.size(), 2u);
}

TEST_F(LxBinDicFollowTest, FollowingIsOffByDefaultAndEndsWithClosing) {
  auto& unfollowed = FileDictionary(Spanish("Abrir"));
  unfollowed.SetLanguage(1);
  unfollowed.Open();
  EXPECT_FALSE(unfollowed.Follow());
  EXPECT_FALSE(unfollowed.Following());
  dictionary_.Close();
  EXPECT_FALSE(dictionary_.Following());
  Replace(Bytes("Abrir ya"));
  EXPECT_FALSE(Turn());
  EXPECT_EQ(changes, 0);
}

TEST_F(LxBinDicFollowTest, ChangesBeforeTheReloadRunsReloadOnce) {
  Replace(Bytes("uno"));
  Replace(Bytes("dos"));
  framework::DispatchInput(1000);
  framework::DispatchInput(0);
  framework::Application().ProcessMessages();
  EXPECT_EQ(Open(), "dos");
  EXPECT_EQ(changes, 1);
}

TEST_F(LxBinDicFollowTest, APatchShowsAtOnceUntilTheFileIsReadAgain) {
  struct Case {
    const char* native;
    const char* patch;
  };
  const Case cases[] = {{"Open", "Abrir ahora"}, {"Close", "Cerrar"}};
  for (const Case& c : cases) {
    dictionary_.PatchTranslation(c.native, "", "", c.patch);
    EXPECT_EQ(lang::TranslateWith(&dictionary_, c.native), c.patch);
  }
  EXPECT_EQ(changes, 2);
  Replace(Bytes("Abrir"));
  Turn();
  EXPECT_EQ(Open(), "Abrir");
  EXPECT_EQ(lang::TranslateWith(&dictionary_, "Close"), "Close");
}

}  // namespace
}  // namespace lx::dict
