#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lang/LxLanguageNames.h"

namespace lx::lang {
namespace {

std::string English(const std::string& name, int primary, int codePage) {
  return LanguageDisplayName(name, primary, codePage, nullptr, false);
}

std::string Locale(const std::string& language, const std::string& country, int primary, int sub,
                   int codePage) {
  return LocaleDisplayName(language, country, primary, sub, codePage, nullptr, false);
}

TEST(LxLanguageNamesTest, LanguageNamesTellScriptsApart) {
  EXPECT_EQ(English("Chinese (Taiwan)", 4, 950), "Chinese , Traditional");
  EXPECT_EQ(English("Chinese (PRC)", 4, 936), "Chinese , Simplified");
  EXPECT_EQ(English("Chinese (PRC)", 4, 1252), "Chinese ");
  EXPECT_EQ(English("Chinese", 4, 950), "Chinese, Traditional");
  EXPECT_EQ(English("Korean (Johab)", 18, 1361), "Korean , Johab");
  EXPECT_EQ(English("Korean", 18, 949), "Korean");
  EXPECT_EQ(English("Spanish - Modern Sort", 10, 950), "Spanish");
  EXPECT_EQ(English("Norwegian Bokmal", 20, 1252), "Norwegian");
  EXPECT_EQ(English("Serbian (Latin)", 26, 1250), "Serbian, Latin");
  EXPECT_EQ(English("Serbian (Cyrillic)", 26, 1251), "Serbian, Cyrillic");
  EXPECT_EQ(English("Serbian", 26, 1252), "Serbian");
  EXPECT_EQ(English("Azeri (Latin)", 44, 1254), "Azeri, Latin");
  EXPECT_EQ(English("Uzbek (Cyrillic)", 67, 1251), "Uzbek, Cyrillic");
  EXPECT_EQ(English("Uzbek", 67, 1250), "Uzbek");
  EXPECT_EQ(English("German (Standard)", 7, 1252), "German (Standard)");
  EXPECT_EQ(English("", 4, 950), ", Traditional");
}

TEST(LxLanguageNamesTest, LocaleNamesAddTheCountryUnlessNeutral) {
  EXPECT_EQ(Locale("Norwegian", "Norway", 20, 2, 1252), "Norwegian (Nynorsk)");
  EXPECT_EQ(Locale("Norwegian", "Norway", 20, 1, 1252), "Norwegian (Bokmal)");
  EXPECT_EQ(Locale("Norwegian", "Norway", 20, 3, 1252), "Norwegian (Norway)");
  EXPECT_EQ(Locale("Norwegian", "Norway", 20, 0, 1252), "Norwegian");
  EXPECT_EQ(Locale("German", "Austria", 7, 3, 1252), "German (Austria)");
  EXPECT_EQ(Locale("Spanish - Modern Sort", "Spain", 10, 3, 1252), "Spanish (Spain)");
  EXPECT_EQ(Locale("Chinese", "Taiwan", 4, 1, 950), "Chinese, Traditional (Taiwan)");
  EXPECT_EQ(Locale("Chinese", "Singapore", 4, 4, 1252), "Chinese, Simplified (Singapore)");
  EXPECT_EQ(Locale("Chinese", "Taiwan", 4, 1, 0), "Chinese (Taiwan)");
  EXPECT_EQ(Locale("Korean", "Korea", 18, 2, 949), "Korean (Johab)");
  EXPECT_EQ(Locale("Korean", "Korea", 18, 1, 1361), "Korean, Johab (Korea)");
}

TEST(LxLanguageNamesTest, SerbianAndCroatianLocalesNameTheirScript) {
  EXPECT_EQ(Locale("Croatian", "Croatia", 26, 1, 1251), "Croatian (Croatia)");
  EXPECT_EQ(Locale("Croatian", "Croatia", 26, 1, 1250), "Croatian (Croatia)");
  EXPECT_EQ(Locale("Serbian", "Serbia", 26, 2, 1250), "Serbian, Latin (Serbia)");
  EXPECT_EQ(Locale("Serbian", "Serbia", 26, 3, 1251), "Serbian, Cyrillic (Serbia)");
  EXPECT_EQ(Locale("Serbian", "Serbia", 26, 3, 0), "Serbian (Serbia)");
  EXPECT_EQ(Locale("Azeri", "Azerbaijan", 44, 2, 1251), "Azeri, Cyrillic (Azerbaijan)");
  EXPECT_EQ(Locale("Uzbek", "Uzbekistan", 67, 1, 1252), "Uzbek, Latin (Uzbekistan)");
}

// Translates into "[piece]" and records what it was asked.
struct Recorder {
  static inline std::vector<std::string> pieces;
  static inline std::vector<TLxDictionary*> dictionaries;
  static std::string Translate(TLxDictionary* dictionary, const std::string& piece) {
    pieces.push_back(piece);
    dictionaries.push_back(dictionary);
    return "[" + piece + "]";
  }
};

class LxTranslatedNamesTest : public testing::Test {
 protected:
  void SetUp() override {
    Recorder::pieces.clear();
    Recorder::dictionaries.clear();
    previous_ = SetTranslatePieceHook(Recorder::Translate);
  }
  void TearDown() override { SetTranslatePieceHook(previous_); }

  TLxTranslatePieceFunc previous_ = nullptr;
};

TEST_F(LxTranslatedNamesTest, EveryPieceIsTranslatedWithTheGivenDictionary) {
  int place = 0;
  auto* dictionary = reinterpret_cast<TLxDictionary*>(&place);
  EXPECT_EQ(LanguageDisplayName("Chinese (Taiwan)", 4, 950, dictionary, true),
            "[Chinese ], [Traditional]");
  EXPECT_EQ(Recorder::dictionaries, (std::vector<TLxDictionary*>{dictionary, dictionary}));
  EXPECT_EQ(LocaleDisplayName("Norwegian", "Norway", 20, 2, 1252, nullptr, true),
            "[Norwegian] ([Nynorsk])");
  EXPECT_EQ(LocaleDisplayName("Serbian", "Serbia", 26, 3, 1251, nullptr, true),
            "[Serbian], [Cyrillic] ([Serbia])");
  EXPECT_EQ(LocaleDisplayName("German", "Austria", 7, 0, 1252, nullptr, true), "[German]");
  EXPECT_EQ(Recorder::dictionaries.back(), nullptr);
}

TEST_F(LxTranslatedNamesTest, UntranslatedNamesLeaveTheHookAlone) {
  EXPECT_EQ(LanguageDisplayName("Serbian (Latin)", 26, 1250, nullptr, false), "Serbian, Latin");
  EXPECT_EQ(LocaleDisplayName("German", "Austria", 7, 3, 1252, nullptr, false), "German (Austria)");
  EXPECT_TRUE(Recorder::pieces.empty());
}

TEST_F(LxTranslatedNamesTest, TheDefaultHookKeepsEveryPiece) {
  EXPECT_EQ(SetTranslatePieceHook(nullptr), &Recorder::Translate);
  EXPECT_EQ(LanguageDisplayName("Korean (Johab)", 18, 1361, nullptr, true), "Korean , Johab");
  EXPECT_EQ(TranslatePiece(nullptr, "Latin"), "Latin");
  EXPECT_TRUE(Recorder::pieces.empty());
}

}  // namespace
}  // namespace lx::lang
