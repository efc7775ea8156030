#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/runtime/FrameworkStrings.h"
#include "framework/runtime/ResourceStrings.h"
#include "framework/runtime/ShortCuts.h"
#include "lang/LxDictionaries.h"
#include "lang/LxDictionary.h"
#include "lang/LxRedirection.h"
#include "platform/Exception.h"
#include "platform/Keyboard.h"
#include "support/FixedSystem.h"
#include "support/Raised.h"
#include "support/lang/LxMemoryDictionary.h"
#include "support/lang/LxProcessState.h"

namespace lx::lang {
namespace {

using framework::LoadResString;
using framework::ShortCut;
using framework::ShortCutToText;
using Texts = std::vector<std::string>;

// A German dictionary for resource strings and key names.
class GermanDictionary : public support::TLxMemoryDictionary {
 public:
  GermanDictionary() : TLxMemoryDictionary(nullptr) {
    AddLanguage(0, 0, 1252);
    AddLanguage(7, 1, 1252, "", "German");
    SetBinding(lxbiNone);
    SetLanguage(1);
    SetLocale(0x0407);
    SetText("Enter", 1, "Eingabe", "", "65283");
    SetText("Esc", 1, "Abbr");
    SetText("Ctrl+", 1, "Strg+");
    SetText("Shift+", 1, "Umschalt+");
    SetText("Hello", 1, "Hallo");
  }
};

class LxRedirectionTest : public ::testing::Test {
 protected:
  support::FixedSystem system_;
  support::TLxProcessState state_;
};

TEST_F(LxRedirectionTest, ResourceStringsAreTranslatedWhileTheDictionaryIsOpen) {
  GermanDictionary dictionary;
  dictionary.Open();
  ASSERT_TRUE(ResourceStringRedirectionInstalled());

  dictionary.lookups.clear();
  EXPECT_EQ(LoadResString(framework::SmkcEnter), "Eingabe");
  EXPECT_EQ(dictionary.lookups, Texts{"Enter||65283"});

  // Not found by identifier: by the text alone, then by the word.
  dictionary.lookups.clear();
  EXPECT_EQ(LoadResString(framework::SmkcEsc), "Abbr");
  EXPECT_EQ(dictionary.lookups, (Texts{"Esc||65282", "Esc||"}));
  dictionary.lookups.clear();
  EXPECT_EQ(LoadResString(framework::SmkcTab), "Tab");
  EXPECT_EQ(dictionary.lookups, (Texts{"Tab||65281", "Tab||", "Tab"}));
  EXPECT_EQ(LoadResString(framework::DirectResString("Hello")), "Hallo");

  EXPECT_EQ(ShortCutToText(ShortCut(platform::VK_RETURN, framework::ssCtrl)), "Strg+Eingabe");
  EXPECT_EQ(ShortCutToText(ShortCut(platform::VK_ESCAPE, framework::ssShift | framework::ssAlt)),
            "Umschalt+Alt+Abbr");
  EXPECT_EQ(ShortCutToText(ShortCut('S', framework::ssCtrl)), "Strg+S");

  dictionary.Close();
  EXPECT_FALSE(ResourceStringRedirectionInstalled());
  EXPECT_EQ(LoadResString(framework::SmkcEnter), "Enter");
  EXPECT_EQ(LoadResString(framework::DirectResString("Hello")), "Hello");
  EXPECT_EQ(ShortCutToText(ShortCut(platform::VK_RETURN, framework::ssCtrl)), "Ctrl+Enter");
}

TEST_F(LxRedirectionTest, OnlyRunTimeDictionariesAskingForItRedirect) {
  GermanDictionary dictionary;
  dictionary.SetOptions(dictionary.Options() - TLxDictionaryOptions{lxdoTranslateResourceStrings});
  dictionary.Open();
  EXPECT_FALSE(ResourceStringRedirectionInstalled());
  EXPECT_EQ(LoadResString(framework::SmkcEnter), "Enter");
  dictionary.Close();

  dictionary.SetOptions(kLxAllDictionaryOptions);
  dictionary.SetDesigning(true);
  dictionary.Open();
  EXPECT_FALSE(ResourceStringRedirectionInstalled());
}

std::string Hooked(const framework::TResStringRec& record) {
  return "Hooked " + framework::DefaultLoadResString(record);
}

std::string HookedShortCut(framework::TShortCut) {
  return "hooked";
}

TEST_F(LxRedirectionTest, TheRoutinesInstalledBeforeComeBack) {
  const auto loader = framework::SetLoadResStringHook(Hooked);
  const auto shortCutText = framework::SetShortCutToTextHook(HookedShortCut);
  {
    GermanDictionary dictionary;
    dictionary.SetText("Hooked Tab", 1, "Tabulator");
    dictionary.Open();
    // The replaced loader still gives the text that is translated.
    EXPECT_EQ(LoadResString(framework::SmkcTab), "Tabulator");
    EXPECT_EQ(LoadResString(framework::SmkcEnter), "Hooked Enter");
    dictionary.Close();
    EXPECT_EQ(LoadResString(framework::SmkcEnter), "Hooked Enter");
    EXPECT_EQ(ShortCutToText(ShortCut('A', 0)), "hooked");
  }
  EXPECT_EQ(framework::SetLoadResStringHook(loader), &Hooked);
  EXPECT_EQ(framework::SetShortCutToTextHook(shortCutText), &HookedShortCut);
}

TEST_F(LxRedirectionTest, TheLoaderNeverRaises) {
  GermanDictionary dictionary;
  dictionary.SetMissingTranslation(lxmtRaiseException);
  dictionary.Open();
  EXPECT_EQ(LoadResString(framework::SmkcTab), "");
  EXPECT_EQ(LoadResString(framework::SmkcEnter), "Eingabe");

  // A default index out of range gives nothing either.
  SetDefaultDictionaryIndex(1);
  EXPECT_EQ(LoadResString(framework::SmkcEnter), "");
  EXPECT_EQ(ShortCutToText(ShortCut(platform::VK_RETURN, 0)), "Enter");
}

TEST_F(LxRedirectionTest, ResourceStringsFollowTheDefaultDictionary) {
  GermanDictionary first;
  GermanDictionary second;
  second.SetText("Enter", 1, "Eintrag", "", "65283");
  first.Open();
  SetDefaultDictionaryIndex(1);
  // The default dictionary is closed: nothing is translated.
  EXPECT_EQ(LoadResString(framework::SmkcEnter), "Enter");
  EXPECT_EQ(ShortCutToText(ShortCut(platform::VK_ESCAPE, 0)), "Esc");
  second.Open();
  EXPECT_EQ(LoadResString(framework::SmkcEnter), "Eintrag");
}

TEST_F(LxRedirectionTest, OnlyTheDictionaryThatInstalledItTakesItAway) {
  GermanDictionary holder;
  holder.Open();
  ASSERT_EQ(ResourceStringRedirectionHolder(), &holder);

  // Another one without the option opens and closes; one fails to open; one never opened
  // is closed; one that asks for it too opens and closes.
  GermanDictionary plain;
  plain.SetOptions(plain.Options() - TLxDictionaryOptions{lxdoTranslateResourceStrings});
  plain.Open();
  plain.Close();
  GermanDictionary failing;
  failing.SetLanguage(99);
  EXPECT_RAISES(failing.Open(), platform::EListError, "List index out of bounds (99)");
  GermanDictionary never;
  never.Close();
  GermanDictionary asking;
  asking.Open();
  asking.Close();
  EXPECT_EQ(ResourceStringRedirectionHolder(), &holder);
  EXPECT_EQ(LoadResString(framework::SmkcEnter), "Eingabe");
  EXPECT_EQ(ShortCutToText(ShortCut(platform::VK_RETURN, framework::ssCtrl)), "Strg+Eingabe");

  // The holder keeps it until it closes, even when it no longer asks for it.
  holder.SetOptions(plain.Options());
  plain.Open();
  plain.Close();
  EXPECT_TRUE(ResourceStringRedirectionInstalled());

  holder.Close();
  EXPECT_FALSE(ResourceStringRedirectionInstalled());
  EXPECT_EQ(ResourceStringRedirectionHolder(), nullptr);
  EXPECT_EQ(LoadResString(framework::SmkcEnter), "Enter");
}

TEST_F(LxRedirectionTest, AnotherOpenDictionaryAskingForItTakesItOver) {
  GermanDictionary first;
  GermanDictionary second;
  GermanDictionary third;
  second.SetText("Enter", 1, "Eintrag", "", "65283");
  third.SetOptions(third.Options() - TLxDictionaryOptions{lxdoTranslateResourceStrings});
  first.Open();
  third.Open();
  second.Open();
  SetDefaultDictionaryIndex(1);
  first.Close();
  EXPECT_EQ(ResourceStringRedirectionHolder(), &second);
  EXPECT_EQ(LoadResString(framework::SmkcEnter), "Eintrag");
  // The one left open does not ask for it.
  second.Close();
  EXPECT_FALSE(ResourceStringRedirectionInstalled());

  // A holder destroyed while open lets it go as well.
  {
    GermanDictionary destroyed;
    destroyed.Open();
    ASSERT_TRUE(ResourceStringRedirectionInstalled());
  }
  EXPECT_FALSE(ResourceStringRedirectionInstalled());
  EXPECT_EQ(LoadResString(framework::SmkcEnter), "Enter");
}

// Loads a resource string of its own while it looks one up.
class ReentrantDictionary : public GermanDictionary {
 public:
  bool Translate(const std::string& word, const std::string& context, std::string& value,
                 const std::string& id) override {
    nested.push_back(LoadResString(framework::SmkcEsc));
    return GermanDictionary::Translate(word, context, value, id);
  }
  Texts nested;
};

TEST_F(LxRedirectionTest, AResourceStringLoadedDuringATranslationIsNotTranslated) {
  ReentrantDictionary dictionary;
  dictionary.Open();
  EXPECT_EQ(LoadResString(framework::SmkcEnter), "Eingabe");
  EXPECT_EQ(dictionary.nested, Texts{"Esc"});
  // The guard is armed again afterwards, also after a failure.
  dictionary.SetMissingTranslation(lxmtRaiseException);
  EXPECT_EQ(LoadResString(framework::SmkcTab), "");
  dictionary.SetMissingTranslation(lxmtUseNative);
  dictionary.nested.clear();
  EXPECT_EQ(LoadResString(framework::SmkcEsc), "Abbr");
  EXPECT_EQ(dictionary.nested, (Texts{"Esc", "Esc"}));
}

}  // namespace
}  // namespace lx::lang
