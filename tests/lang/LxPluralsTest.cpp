#include <gtest/gtest.h>

#include <string>

#include "lang/LxDictionary.h"
#include "lang/LxParser.h"
#include "lang/LxPlurals.h"
#include "platform/Exception.h"
#include "platform/PluralRules.h"
#include "platform/Resources.h"
#include "support/FixedSystem.h"
#include "support/Raised.h"
#include "support/lang/LxMemoryDictionary.h"
#include "support/lang/LxProcessState.h"
#include "support/lang/LxRecordingTranslator.h"

namespace lx::lang {
namespace {

using support::TLxMemoryDictionary;

// The languages of the test dictionary after the native one, with their code pages.
const struct {
  int primary;
  int codePage;
} kLanguages[] = {{0x07, 1252}, {0x19, 1251}, {0x15, 1250},
                  {0x01, 1256}, {0x11, 932},  {0x0C, 1252}};

constexpr const char* kSingular = "%d file";
constexpr const char* kPlural = "%d files";

// Every language has a variant per category of whole counts: "<category> %d".
class LxPluralsTest : public ::testing::Test {
 protected:
  LxPluralsTest() {
    dictionary_.SetCheckLevel(lxclNone);
    dictionary_.AddLanguage(0, 0, 1252);
    for (const auto& language : kLanguages) {
      const int index = dictionary_.AddLanguage(language.primary, 1, language.codePage);
      const auto lcid = static_cast<platform::Lcid>(language.primary | 0x400);
      for (const std::string& category : platform::IntegerPluralCategories(lcid)) {
        dictionary_.SetVariant(kSingular, index, category, category + " %d");
      }
    }
    dictionary_.SetVariant("He is away", 2, "female",
                           "\xCE\xED\xE0 \xEE\xF2\xF1\xF3\xF2\xF1\xF2\xE2\xF3\xE5\xF2");
    dictionary_.SetVariant("He is away", 2, "other",
                           "\xCE\xED \xEE\xF2\xF1\xF3\xF2\xF1\xF2\xE2\xF3\xE5\xF2");
    dictionary_.SetText("Copy", 1, "Kopieren");
  }

  void Activate(int index) {
    dictionary_.SetLanguage(index);
    dictionary_.Open();
  }

  support::FixedSystem system_;
  support::TLxProcessState state_;
  TLxMemoryDictionary dictionary_{nullptr};
};

TEST_F(LxPluralsTest, EverySampleCountTakesItsCategoryThroughRoutineAndTranslator) {
  support::TLxRecordingTranslator translator(nullptr);
  translator.SetDictionary(&dictionary_);
  for (int index = 1; index <= static_cast<int>(std::size(kLanguages)); ++index) {
    Activate(index);
    const auto lcid = static_cast<platform::Lcid>(dictionary_.LanguageLocaleId());
    const int codePage = dictionary_.CurrentLanguage().CodePage;
    for (const std::string& category : platform::IntegerPluralCategories(lcid)) {
      for (const std::int64_t count : platform::PluralSamples(lcid, category)) {
        const std::string expected =
            category + " " + WideToAnsi(platform::FormatCount(lcid, count), codePage);
        EXPECT_EQ(TranslatePluralWith(&dictionary_, kSingular, kPlural, count), expected)
            << "language " << index << ", count " << count;
        EXPECT_EQ(translator.TranslatePlural(kSingular, kPlural, count), expected);
      }
    }
  }
}

TEST_F(LxPluralsTest, NativeFormsAndMissingVariantsFollowTheProgramsTexts) {
  const struct {
    int language;
    std::int64_t count;
    const char* singular;
    const char* expected;
  } cases[] = {
      {0, 1, kSingular, "1 file"},
      {0, 0, kSingular, "0 files"},
      // The user's locale is German (Austria), which groups with a no-break space.
      {0, 1234, kSingular,
       "1\xA0"
       "234 files"},
      {1, 1234, kSingular,
       "other 1\xA0"
       "234"},
      {1, 1, "%d folder", "1 folder"},
      {1, 2, "%d folder", "2 folders"},
  };
  for (const auto& c : cases) {
    Activate(c.language);
    EXPECT_EQ(TranslatePluralWith(&dictionary_, c.singular, std::string(c.singular) + "s", c.count),
              c.expected);
  }
  EXPECT_EQ(TranslatePluralWith(nullptr, kSingular, kPlural, 2), "2 files");
  dictionary_.SetMissingTranslation(lxmtRaiseException);
  EXPECT_RAISES(TranslatePluralWith(&dictionary_, "%d folder", "%d folders", 2), ELxPoly,
                "Dictionary does not contain a translation for the word \"%d folders\"");
}

TEST_F(LxPluralsTest, AChoiceTakesItsKeywordElseOtherElseThePlainText) {
  Activate(2);
  EXPECT_EQ(TranslateChoiceWith(&dictionary_, "He is away", "female"),
            "\xCE\xED\xE0 \xEE\xF2\xF1\xF3\xF2\xF1\xF2\xE2\xF3\xE5\xF2");
  EXPECT_EQ(TranslateChoiceWith(&dictionary_, "He is away", "male"),
            "\xCE\xED \xEE\xF2\xF1\xF3\xF2\xF1\xF2\xE2\xF3\xE5\xF2");
  Activate(1);
  EXPECT_EQ(TranslateChoiceWith(&dictionary_, "Copy", "male"), "Kopieren");
  EXPECT_EQ(TranslateChoiceWith(nullptr, "Copy", "male"), "Copy");
}

TEST_F(LxPluralsTest, AStringTablesPluralGoesThroughTheDefaultDictionary) {
  static constexpr char kSingularText[] = "%d file copied";
  static constexpr char kPluralText[] = "%d files copied";
  platform::RegisterResource(platform::RT_STRING, "4000",
                             std::span(reinterpret_cast<const std::uint8_t*>(kSingularText), 14));
  platform::RegisterResource(framework::RT_STRINGPLURAL, "4000",
                             std::span(reinterpret_cast<const std::uint8_t*>(kPluralText), 15));
  dictionary_.SetVariant(kSingularText, 1, "other", "%d Dateien kopiert", "", "4000");
  const framework::TResStringRec copied{0, 4000};
  EXPECT_EQ(LoadResPlural(copied, 7), "7 files copied") << "the native language";
  Activate(1);
  EXPECT_EQ(LoadResPlural(copied, 7), "7 Dateien kopiert");
  EXPECT_EQ(LoadResPlural(copied, 1), "1 file copied") << "no variant \"one\"";
  platform::UnregisterResource(platform::RT_STRING, "4000");
  platform::UnregisterResource(framework::RT_STRINGPLURAL, "4000");
}

}  // namespace
}  // namespace lx::lang
