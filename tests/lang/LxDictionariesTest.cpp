#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lang/LxDictionaries.h"
#include "lang/LxDictionary.h"
#include "lang/LxRecords.h"
#include "platform/Exception.h"
#include "support/FixedSystem.h"
#include "support/Raised.h"
#include "support/lang/LxMemoryDictionary.h"
#include "support/lang/LxProcessState.h"

namespace lx::lang {
namespace {

using support::TLxMemoryDictionary;
using Texts = std::vector<std::string>;

// A dictionary with a native language and Spanish, opened on Spanish.
class SpanishDictionary : public TLxMemoryDictionary {
 public:
  SpanishDictionary() : TLxMemoryDictionary(nullptr) {
    AddLanguage(0, 0, 1252);
    AddLanguage(10, 1, 1252, "", "Spanish");
    SetBinding(lxbiNone);
    SetLanguage(1);
    SetLocale(0x0C0A);
    SetOptions({});
  }
};

class LxDictionariesTest : public ::testing::Test {
 protected:
  support::FixedSystem system_;
  support::TLxProcessState state_;
};

TEST_F(LxDictionariesTest, DictionariesAreNamedAfterTheFirstFreeNumber) {
  ASSERT_EQ(Dictionaries()->Count(), 0);
  TLxMemoryDictionary first(nullptr);
  TLxMemoryDictionary second(nullptr);
  EXPECT_EQ(first.DictionaryName(), "Dictionary1");
  EXPECT_EQ(second.DictionaryName(), "Dictionary2");

  first.SetDictionaryName("Dictionary3");
  TLxMemoryDictionary third(nullptr);
  EXPECT_EQ(third.DictionaryName(), "Dictionary4");
  ASSERT_EQ(Dictionaries()->Count(), 3);
  EXPECT_EQ(Dictionaries()->Items(0), &first);
  EXPECT_EQ(Dictionaries()->Items(2), &third);
  EXPECT_RAISES(Dictionaries()->Items(3), platform::EListError, "List index out of bounds (3)");

  // A name read later replaces the automatic one without a uniqueness check.
  third.SetDictionaryName("Dictionary2");
  EXPECT_EQ(Dictionaries()->Find("Dictionary2"), &second);
}

TEST_F(LxDictionariesTest, FindIsCaseSensitiveAndDestroyedDictionariesLeave) {
  auto* dictionary = new TLxMemoryDictionary(nullptr);
  dictionary->SetDictionaryName("Main");
  EXPECT_EQ(Dictionaries()->Find("Main"), dictionary);
  EXPECT_EQ(Dictionaries()->Find("main"), nullptr);
  EXPECT_EQ(Dictionaries()->Find(""), nullptr);
  delete dictionary;
  EXPECT_EQ(Dictionaries()->Count(), 0);
  EXPECT_EQ(Dictionaries()->Find("Main"), nullptr);
}

TEST_F(LxDictionariesTest, DefaultDictionaryIndexIsCheckedAgainstTheRegistry) {
  // Nothing registered: no default, and texts stay as they are whatever the index.
  SetDefaultDictionaryIndex(7);
  EXPECT_NO_THROW(CheckDefaultDictionaryIndex());
  EXPECT_EQ(DefaultDictionary(), nullptr);
  EXPECT_EQ(TranslateText("Open"), "Open");
  EXPECT_FALSE(DefaultDictionaryUsable());

  SpanishDictionary dictionary;
  SetDefaultDictionaryIndex(1);
  const std::string expected = "DefaultDictionaryIndex is out or range: 1";
  EXPECT_RAISES(CheckDefaultDictionaryIndex(), platform::ERangeError, expected);
  EXPECT_RAISES(DefaultDictionary(), platform::ERangeError, expected);
  EXPECT_RAISES(TranslateText("Open"), platform::ERangeError, expected);
  EXPECT_FALSE(DefaultDictionaryUsable());

  // The index is unsigned: a huge one is out of range too.
  SetDefaultDictionaryIndex(0xFFFFFFFFu);
  EXPECT_RAISES(CheckDefaultDictionaryIndex(), platform::ERangeError,
                "DefaultDictionaryIndex is out or range: 4294967295");

  SpanishDictionary second;
  SetDefaultDictionaryIndex(1);
  EXPECT_EQ(DefaultDictionary(), &second);
  EXPECT_FALSE(DefaultDictionaryUsable());
  second.Open();
  EXPECT_TRUE(DefaultDictionaryUsable());
}

TEST_F(LxDictionariesTest, TranslateTextAsksTheDefaultDictionaryOpenOrNot) {
  SpanishDictionary dictionary;
  dictionary.SetText("Open", 1, "Abrir");
  // Never opened: no active language, so nothing is found.
  EXPECT_EQ(TranslateText("Open"), "Open");
  dictionary.Open();
  EXPECT_EQ(TranslateText("Open"), "Abrir");
  dictionary.Close();
  EXPECT_EQ(TranslateText("Open"), "Abrir");
}

TEST_F(LxDictionariesTest, MissingTranslationsFollowTheDictionarysRule) {
  SpanishDictionary dictionary;
  dictionary.SetText("Open", 1, "Abrir");
  dictionary.SetText("Save", 1, "");
  dictionary.Open();

  EXPECT_EQ(TranslateWith(&dictionary, "Open"), "Abrir");
  EXPECT_EQ(TranslateWith(&dictionary, "Close"), "Close");
  EXPECT_EQ(TranslateWith(&dictionary, "Save"), "Save");
  EXPECT_EQ(TranslateWith(nullptr, "Close"), "Close");

  dictionary.SetMissingTranslation(lxmtTagNative);
  EXPECT_EQ(TranslateWith(&dictionary, "Close"), "@Close@");
  EXPECT_EQ(TranslateWith(&dictionary, "Save"), "@Save@");
  EXPECT_EQ(TranslateWith(&dictionary, "Open"), "Abrir");

  dictionary.SetMissingTranslation(lxmtUseNull);
  EXPECT_EQ(TranslateWith(&dictionary, "Close"), "");

  dictionary.SetMissingTranslation(lxmtRaiseException);
  EXPECT_RAISES(TranslateWith(&dictionary, "Close"), ELxPoly,
                "Dictionary does not contain a translation for the word \"Close\"");
  EXPECT_RAISES(TranslateWith(&dictionary, "Save"), ELxPoly,
                "Translation for the word \"Save\" is missing");
  EXPECT_EQ(TranslateWith(&dictionary, "Open"), "Abrir");

  // An empty word is never looked up, whatever the rule.
  dictionary.lookups.clear();
  EXPECT_EQ(TranslateWith(&dictionary, ""), "");
  EXPECT_TRUE(dictionary.lookups.empty());
}

TEST_F(LxDictionariesTest, ApplyMissingTranslationWorksOnAGivenAnswer) {
  SpanishDictionary dictionary;
  EXPECT_EQ(ApplyMissingTranslation(&dictionary, "Open", "Abrir", true), "Abrir");
  // A value without a found entry is not trusted.
  dictionary.SetMissingTranslation(lxmtTagNative);
  EXPECT_EQ(ApplyMissingTranslation(&dictionary, "Open", "", true), "@Open@");
  EXPECT_EQ(ApplyMissingTranslation(nullptr, "Open", "", false), "Open");
  dictionary.SetMissingTranslation(lxmtRaiseException);
  EXPECT_RAISES(ApplyMissingTranslation(&dictionary, "A \"b\"", "", false), ELxPoly,
                "Dictionary does not contain a translation for the word \"A \"b\"\"");
}

TEST_F(LxDictionariesTest, KeyedDictionariesAreAskedWithEmptyKeysFirst) {
  SpanishDictionary dictionary;
  dictionary.SetText("Open", 1, "Abrir");
  dictionary.Open();
  TranslateWith(&dictionary, "Open");
  EXPECT_EQ(dictionary.lookups, Texts{"Open"});

  dictionary.SetText("Open", 1, "Abrir fichero", "TMainForm", "OpenItem");
  ASSERT_TRUE(dictionary.HasContextKeys());
  dictionary.lookups.clear();
  EXPECT_EQ(TranslateWith(&dictionary, "Open"), "Abrir");
  EXPECT_EQ(dictionary.lookups, (Texts{"Open||"}));

  dictionary.lookups.clear();
  dictionary.SetText("Print", 1, "Imprimir", "TMainForm", "PrintItem");
  EXPECT_EQ(TranslateWith(&dictionary, "Print"), "Imprimir");
  EXPECT_EQ(dictionary.lookups, (Texts{"Print||", "Print"}));
}

TEST_F(LxDictionariesTest, TranslatedDisplayNamesGoThroughTheDefaultDictionary) {
  SpanishDictionary dictionary;
  dictionary.SetText("German", 1, "Alem\xE1n");
  dictionary.SetText("Austria", 1, "Austria (pa\xEDs)");
  dictionary.Open();

  const TLxLanguage german(7, 1, 1252, "", "German", "", "", 0, {});
  EXPECT_EQ(german.GetName(kLxTranslatedName), "Alem\xE1n");
  EXPECT_EQ(german.GetName(kLxEnglishName), "German");

  TLxLocale austria;
  ASSERT_TRUE(austria.LoadFromSystem(0x0C07));
  EXPECT_EQ(austria.GetName(kLxTranslatedName), "Alem\xE1n (Austria (pa\xEDs))");

  // A given dictionary is used instead of the default one.
  SpanishDictionary other;
  other.SetText("German", 1, "Tedesco");
  other.Open();
  EXPECT_EQ(german.GetName(kLxTranslatedName, &other), "Tedesco");
}

}  // namespace
}  // namespace lx::lang
