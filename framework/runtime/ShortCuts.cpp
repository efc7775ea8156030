#include "framework/runtime/ShortCuts.h"

#include "framework/runtime/FrameworkStrings.h"
#include "platform/Keyboard.h"
#include "platform/TextUtils.h"

namespace lx::framework {

namespace {

// The framework's names of the keys 0x20..0x28 (space to arrow down) and
// 0x2D..0x2E (insert, delete), in key code order.
constexpr const TResStringRec* kNavigationNames[] = {
    &SmkcSpace, &SmkcPgUp, &SmkcPgDn,  &SmkcEnd,  &SmkcHome,
    &SmkcLeft,  &SmkcUp,   &SmkcRight, &SmkcDown,
};

const TResStringRec* FrameworkKeyName(unsigned key) {
  switch (key) {
    case platform::VK_BACK:
      return &SmkcBkSp;
    case platform::VK_TAB:
      return &SmkcTab;
    case platform::VK_RETURN:
      return &SmkcEnter;
    case platform::VK_ESCAPE:
      return &SmkcEsc;
    case platform::VK_INSERT:
      return &SmkcIns;
    case platform::VK_DELETE:
      return &SmkcDel;
    default:
      break;
  }
  if (key >= platform::VK_SPACE && key <= platform::VK_DOWN)
    return kNavigationNames[key - platform::VK_SPACE];
  return nullptr;
}

std::string KeyName(unsigned key, const TResourceTextFunc& resourceText) {
  if (const TResStringRec* name = FrameworkKeyName(key)) return resourceText(*name);
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
    return std::string(1, static_cast<char>(key));
  if (key >= platform::VK_NUMPAD0 && key <= platform::VK_NUMPAD9)
    return std::string(1, static_cast<char>('0' + key - platform::VK_NUMPAD0));
  if (key >= platform::VK_F1 && key <= platform::VK_F24) {
    std::string name = "F";
    name += std::to_string(key - platform::VK_F1 + 1);
    return name;
  }
  return platform::GetKeyNameText(key);
}

TShortCutToTextFunc& InstalledRoutine() {
  static TShortCutToTextFunc routine = DefaultShortCutToText;
  return routine;
}

// Removes `prefix` from the front of `text` when it is there (ASCII case
// ignored). An empty prefix never matches, so that it cannot loop forever.
bool TakePrefix(std::string_view& text, std::string_view prefix) {
  if (prefix.empty() || text.size() < prefix.size()) return false;
  if (!platform::SameTextAscii(text.substr(0, prefix.size()), prefix)) return false;
  text.remove_prefix(prefix.size());
  return true;
}

TShortCut TakeModifiers(std::string_view& text) {
  const std::string shift = LoadResString(SmkcShift);
  const std::string ctrl = LoadResString(SmkcCtrl);
  const std::string alt = LoadResString(SmkcAlt);
  TShortCut modifiers = 0;
  for (;;) {
    if (TakePrefix(text, shift)) {
      modifiers |= scShift;
    } else if (TakePrefix(text, "^") || TakePrefix(text, ctrl)) {
      modifiers |= scCtrl;
    } else if (TakePrefix(text, alt)) {
      modifiers |= scAlt;
    } else {
      return modifiers;
    }
  }
}

}  // namespace

TShortCut ShortCut(std::uint16_t key, TShiftState shift) {
  if (key > 0xFF) return scNone;
  TShortCut result = key;
  if ((shift & ssShift) != 0) result |= scShift;
  if ((shift & ssCtrl) != 0) result |= scCtrl;
  if ((shift & ssAlt) != 0) result |= scAlt;
  return result;
}

void ShortCutToKey(TShortCut shortCut, std::uint16_t& key, TShiftState& shift) {
  key = shortCut & 0xFF;
  shift = 0;
  if ((shortCut & scShift) != 0) shift |= ssShift;
  if ((shortCut & scCtrl) != 0) shift |= ssCtrl;
  if ((shortCut & scAlt) != 0) shift |= ssAlt;
}

std::string ShortCutToTextWith(TShortCut shortCut, const TResourceTextFunc& resourceText) {
  const std::string name = KeyName(shortCut & 0xFF, resourceText);
  if (name.empty()) return std::string();
  std::string text;
  if ((shortCut & scShift) != 0) text += resourceText(SmkcShift);
  if ((shortCut & scCtrl) != 0) text += resourceText(SmkcCtrl);
  if ((shortCut & scAlt) != 0) text += resourceText(SmkcAlt);
  return text + name;
}

std::string DefaultShortCutToText(TShortCut shortCut) {
  return ShortCutToTextWith(shortCut, LoadResString);
}

TShortCutToTextFunc SetShortCutToTextHook(TShortCutToTextFunc routine) {
  const TShortCutToTextFunc previous = InstalledRoutine();
  InstalledRoutine() = routine == nullptr ? DefaultShortCutToText : routine;
  return previous;
}

std::string ShortCutToText(TShortCut shortCut) {
  return InstalledRoutine()(shortCut);
}

TShortCut TextToShortCut(std::string_view text) {
  const TShortCut modifiers = TakeModifiers(text);
  if (text.empty()) return scNone;
  for (unsigned key = platform::VK_BACK; key <= 0xFF; ++key) {
    if (platform::SameTextAscii(text, ShortCutToText(static_cast<TShortCut>(key))))
      return static_cast<TShortCut>(key | modifiers);
  }
  return scNone;
}

}  // namespace lx::framework
