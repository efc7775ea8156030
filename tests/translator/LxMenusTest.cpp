#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "TranslatorTest.h"
#include "dict/LxAPoly.h"
#include "framework/controls/CheckLst.h"
#include "framework/controls/ComCtrls.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "framework/rtti/ClassRegistry.h"
#include "framework/rtti/Published.h"
#include "lang/LxDictionaries.h"
#include "platform/Menus.h"
#include "platform/Windows.h"
#include "samples/TranslatorForms.h"
#include "support/FixedSystem.h"
#include "support/Raised.h"
#include "support/lang/LxProcessState.h"
#include "translator/LxModules.h"
#include "translator/LxPoly.h"
#include "translator/LxTextLookup.h"

namespace lx::translator {
namespace {

using LxMenusTest = TranslatorTest;

TEST_F(LxMenusTest, EveryMenuOfTheFormHasManualHotKeysDuringThePass) {
  support::TLxMemoryDictionary& dictionary = OpenMemoryDictionary(1);
  auto form = support::LoadForm<TMainForm>();
  TLxTranslator& translator = TranslatorOf(*form);
  auto* popup = new framework::TPopupMenu(form.get());
  std::vector<framework::TMenuAutoFlag> seen;
  translator.OnTranslate = [&](TLxTranslator*, TComponent* component) {
    if (component == form.get()) seen.push_back(popup->AutoHotkeys());
  };
  dictionary.SetLanguage(2);
  delete popup;
  popup = new framework::TPopupMenu(form.get());
  dictionary.SetLanguage(1);
  delete popup;
  popup = new framework::TPopupMenu(nullptr);  // not the form's: left alone
  dictionary.SetLanguage(2);
  EXPECT_EQ(seen, (std::vector<framework::TMenuAutoFlag>{framework::maManual, framework::maManual,
                                                         framework::maAutomatic}));
  EXPECT_EQ(popup->AutoHotkeys(), framework::maAutomatic);
  delete popup;
}

// The menu's hot keys are worked out between the characters of the language's code page:
// "開" and "閉" share their first byte in UTF-8, and 0x83 0x41 and 0x83 0x42 theirs in 932.
TEST_F(LxMenusTest, HotKeysOfAMultiByteLanguageAreWholeCharacters) {
  const std::tuple<int, std::string, std::string> cases[] = {{65001, "&開く", "&閉じる"},
                                                             {932, "&\x83\x41", "&\x83\x42"}};
  for (const auto& [codePage, open, exit] : cases) {
    support::TLxMemoryDictionary& dictionary = OpenMemoryDictionary(1);
    const int language = dictionary.AddLanguage(17, 1, codePage, "", "Japanese");
    dictionary.SetCheckLevel(lang::lxclNone);
    dictionary.SetText("&Open", language, open, "TMainForm", "OpenItem");
    dictionary.SetText("E&xit", language, exit, "TMainForm", "ExitItem");
    auto form = support::LoadForm<TMainForm>();
    TranslatorOf(*form).Open();
    dictionary.SetLanguage(language);
    const auto& file = Find<framework::TMenuItem>(*form, "FileItem");
    EXPECT_EQ(file.Items(0)->Caption(), open) << codePage;
    EXPECT_EQ(file.Items(1)->Caption(), exit) << codePage;
  }
}

// The hot key of the native text decides whether the stripped text is looked up, whatever
// the caption shows now.
TEST_F(LxMenusTest, TheSystemMenuIsTranslatedWhole) {
  support::TLxMemoryDictionary& dictionary = OpenMemoryDictionary(1);
  const std::string longText = "&" + std::string(300, 'M');
  dictionary.SetText("&Move", 1, longText);
  auto form = support::LoadForm<TMainForm>();
  form->HandleNeeded();
  TranslatorOf(*form).Open();
  const platform::HMENU menu = platform::GetSystemMenu(form->Handle(), false);
  const auto text = [menu](platform::UINT id) {
    char buffer[512] = {};
    platform::GetMenuString(menu, id, buffer, platform::MF_BYCOMMAND);
    return std::string(buffer);
  };
  EXPECT_EQ(text(platform::SC_CLOSE), "&Cerrar\tAlt+F4");
  EXPECT_EQ(text(platform::SC_MOVE), longText);
  EXPECT_EQ(text(platform::SC_SIZE), "&Size");
}

}  // namespace
}  // namespace lx::translator
