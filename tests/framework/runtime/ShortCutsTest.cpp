#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <utility>
#include <vector>

#include "framework/runtime/FrameworkStrings.h"
#include "framework/runtime/ShortCuts.h"
#include "platform/Keyboard.h"

namespace lx::framework {
namespace {

namespace vk = platform;

std::string Bracketed(TShortCut shortCut) {
  std::string text = "[";
  text += DefaultShortCutToText(shortCut);
  text += ']';
  return text;
}

std::string Lowered(const TResStringRec& record) {
  std::string text = DefaultLoadResString(record);
  for (char& c : text)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string NothingLoaded(const TResStringRec&) {
  return std::string();
}

TEST(ShortCutsTest, NamesEveryKeyTheFrameworkNames) {
  const std::vector<std::pair<unsigned, std::string>> named{
      {vk::VK_BACK, "BkSp"},    {vk::VK_TAB, "Tab"},     {vk::VK_ESCAPE, "Esc"},
      {vk::VK_RETURN, "Enter"}, {vk::VK_SPACE, "Space"}, {vk::VK_PRIOR, "PgUp"},
      {vk::VK_NEXT, "PgDn"},    {vk::VK_END, "End"},     {vk::VK_HOME, "Home"},
      {vk::VK_LEFT, "Left"},    {vk::VK_UP, "Up"},       {vk::VK_RIGHT, "Right"},
      {vk::VK_DOWN, "Down"},    {vk::VK_INSERT, "Ins"},  {vk::VK_DELETE, "Del"},
  };
  for (const auto& [key, name] : named)
    EXPECT_EQ(ShortCutToText(static_cast<TShortCut>(key)), name) << "key " << key;
  for (unsigned key = 'A'; key <= 'Z'; ++key)
    EXPECT_EQ(ShortCutToText(static_cast<TShortCut>(key)), std::string(1, static_cast<char>(key)));
  for (unsigned digit = 0; digit <= 9; ++digit) {
    const std::string text(1, static_cast<char>('0' + digit));
    EXPECT_EQ(ShortCutToText(static_cast<TShortCut>('0' + digit)), text);
    EXPECT_EQ(ShortCutToText(static_cast<TShortCut>(vk::VK_NUMPAD0 + digit)), text);
  }
  for (unsigned number = 1; number <= 24; ++number)
    EXPECT_EQ(ShortCutToText(static_cast<TShortCut>(vk::VK_F1 + number - 1)),
              std::string("F").append(std::to_string(number)));
}

TEST(ShortCutsTest, PrefixesModifiersInAFixedOrder) {
  EXPECT_EQ(ShortCutToText(ShortCut('S', ssCtrl)), "Ctrl+S");
  EXPECT_EQ(ShortCutToText(ShortCut(vk::VK_F10, ssShift)), "Shift+F10");
  EXPECT_EQ(ShortCutToText(ShortCut(vk::VK_F4, ssAlt)), "Alt+F4");
  EXPECT_EQ(ShortCutToText(ShortCut(vk::VK_DELETE, ssAlt | ssCtrl | ssShift)),
            "Shift+Ctrl+Alt+Del");
  EXPECT_EQ(ShortCutToText(scAlt | scShift | vk::VK_BACK), "Shift+Alt+BkSp");
}

TEST(ShortCutsTest, OtherKeysTakeTheSystemsNameAndUnknownKeysNone) {
  EXPECT_EQ(ShortCutToText(ShortCut(vk::VK_OEM_PLUS, ssCtrl)), "Ctrl+=");
  EXPECT_EQ(ShortCutToText(vk::VK_MULTIPLY), "Num *");
  EXPECT_EQ(ShortCutToText(vk::VK_CAPITAL), "Caps Lock");
  EXPECT_EQ(ShortCutToText(0), "");
  EXPECT_EQ(ShortCutToText(scCtrl | scShift | 0xE0), "") << "no prefixes without a key name";
  EXPECT_EQ(ShortCutToText(0x0100 | 'A'), "A") << "bits outside key and modifiers are ignored";
}

TEST(ShortCutsTest, PacksAndUnpacksKeysAndModifiers) {
  EXPECT_EQ(ShortCut('S', ssCtrl | ssShift), scCtrl | scShift | 'S');
  EXPECT_EQ(ShortCut('S', 0), 'S');
  EXPECT_EQ(ShortCut(0x100, ssCtrl), scNone) << "no such key";
  std::uint16_t key = 0;
  TShiftState shift = 0;
  ShortCutToKey(scAlt | scCtrl | vk::VK_F5, key, shift);
  EXPECT_EQ(key, vk::VK_F5);
  EXPECT_EQ(shift, ssAlt | ssCtrl);
}

TEST(ShortCutsTest, ComposesWithTheTextsTheCallerGives) {
  EXPECT_EQ(ShortCutToTextWith(ShortCut(vk::VK_PRIOR, ssShift | ssCtrl), Lowered),
            "shift+ctrl+pgup");
  EXPECT_EQ(ShortCutToTextWith(ShortCut('Q', ssAlt), Lowered), "alt+Q") << "letters are no texts";
  EXPECT_EQ(ShortCutToTextWith(ShortCut(vk::VK_OEM_1, ssAlt), Lowered), "alt+;");
  EXPECT_EQ(ShortCutToTextWith(vk::VK_F2, Lowered), "F2");
}

TEST(ShortCutsTest, DefaultTextsGoThroughTheResourceStringLoader) {
  const TLoadResStringFunc original = SetLoadResStringHook(Lowered);
  EXPECT_EQ(ShortCutToText(ShortCut(vk::VK_RETURN, ssCtrl)), "ctrl+enter");
  EXPECT_EQ(TextToShortCut("ctrl+enter"), scCtrl | vk::VK_RETURN);
  SetLoadResStringHook(original);
}

TEST(ShortCutsTest, HookReplacesTheTextRoutineUntilRestored) {
  const TShortCutToTextFunc original = SetShortCutToTextHook(Bracketed);
  EXPECT_EQ(ShortCutToText(ShortCut('S', ssCtrl)), "[Ctrl+S]");
  EXPECT_EQ(TextToShortCut("[S]"), 'S') << "the inverse follows the installed routine";
  EXPECT_EQ(SetShortCutToTextHook(original), Bracketed);
  EXPECT_EQ(ShortCutToText(ShortCut('S', ssCtrl)), "Ctrl+S");
  SetShortCutToTextHook(Bracketed);
  EXPECT_EQ(SetShortCutToTextHook(nullptr), Bracketed);
  EXPECT_EQ(SetShortCutToTextHook(nullptr), DefaultShortCutToText);
}

TEST(ShortCutsTest, TextToShortCutInvertsEveryNamedKey) {
  for (TShortCut modifiers :
       {scNone, scShift, scCtrl, scAlt, TShortCut(scShift | scCtrl | scAlt)}) {
    for (unsigned key = vk::VK_BACK; key <= 0xFF; ++key) {
      const auto shortCut = static_cast<TShortCut>(key | modifiers);
      const std::string text = ShortCutToText(shortCut);
      if (text.empty()) continue;
      const bool numericPadDigit = key >= vk::VK_NUMPAD0 && key <= vk::VK_NUMPAD9;
      const TShortCut expected =
          numericPadDigit ? static_cast<TShortCut>((key - vk::VK_NUMPAD0 + '0') | modifiers)
                          : shortCut;
      EXPECT_EQ(TextToShortCut(text), expected) << text;
    }
  }
}

TEST(ShortCutsTest, TextToShortCutAcceptsAnyCaseAndOrderOfPrefixes) {
  EXPECT_EQ(TextToShortCut("ALT+shift+pgdn"), scAlt | scShift | vk::VK_NEXT);
  EXPECT_EQ(TextToShortCut("^c"), scCtrl | 'C');
  EXPECT_EQ(TextToShortCut("Num +"), vk::VK_ADD);
  EXPECT_EQ(TextToShortCut("Ctrl+"), scNone);
  EXPECT_EQ(TextToShortCut(""), scNone);
  EXPECT_EQ(TextToShortCut("Ctrl+Nothing"), scNone);
  EXPECT_EQ(TextToShortCut("Ctrl+S+"), scNone);
  EXPECT_EQ(TextToShortCut(" Ctrl+S"), scNone);
}

TEST(ShortCutsTest, TextToShortCutEndsWhenPrefixesAreEmpty) {
  const TLoadResStringFunc original = SetLoadResStringHook(NothingLoaded);
  EXPECT_EQ(TextToShortCut("^A"), scCtrl | 'A');
  EXPECT_EQ(TextToShortCut("Shift+A"), scNone);
  SetLoadResStringHook(original);
}

}  // namespace
}  // namespace lx::framework
